// The build driver: passes, progress, cancelling, dialog pages, errors in a
// build (template restored, one box, clean globals), re-entry, one build per
// record of the report's own source, manual building, events; the value and
// function callbacks.
#include "build_fixture.h"
#include "io_support.h"

#include "report/build/frbuild.h"
#include "report/build/frinterpretator.h"
#include "report/core/frexceptions.h"
#include "report/core/frlocale.h"
#include "report/data/frdictionary.h"

#include <chrono>
#include <stdexcept>

namespace report::test
{
namespace
{

class DriverTest : public BuildTest
{
protected:
    // Records of a height under a 30 px header; by default 60 of 20 px: pages of 50 and 10.
    void twoPageReport(const char *records = "60", int height = 20)
    {
        bandWithMemo(btPageHeader, 0, 30, QStringLiteral("Entete"), QStringLiteral("Entete"),
                     flBandOnFirstPage);
        bandWithMemo(btMasterData, 40, height, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"),
                     0, QString::fromLatin1(records));
    }
    FrObjectGlobals &g() { return frObjects(); }
};

TEST_F(DriverTest, TotalPagesIsZeroInTheFirstPassAndTheCountInTheFinal)
{
    bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"), 0,
                 QStringLiteral("120"));
    report->TwoPass = 0xFFFF;
    QStringList seen;
    report->OnEndPage = [&](int pageNo) {
        seen.append(QStringLiteral("%1:%2:%3")
                        .arg(report->FinalPass ? QStringLiteral("final") : QStringLiteral("first"))
                        .arg(pageNo)
                        .arg(fr().frGlobalParser->Calc(QStringLiteral("TOTALPAGES")).toInt()));
    };
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Count(), 3);
    EXPECT_EQ(seen.join(QLatin1Char(' ')).toStdString(),
              "first:0:0 first:1:0 first:2:0 final:0:3 final:1:3 final:2:3");
    EXPECT_NE(report->TwoPass, 0);
}

TEST_F(DriverTest, ProgressWindowLinesAndCancel)
{
    auto window = std::make_unique<FrRecordingProgressWindow>();
    FrRecordingProgressWindow *progress = window.get();
    g().setProgressWindow(std::move(window));
    report->ShowProgress = true;
    report->Title = QStringLiteral("Classement");
    twoPageReport();
    report->TwoPass = 0xFFFF;
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(progress->shows, 1);
    EXPECT_EQ(progress->captions.value(0).toStdString(), "Préparation de l'état - Classement");
    ASSERT_FALSE(progress->lines.isEmpty());
    EXPECT_EQ(progress->lines.first().toStdString(), "Première passe en cours  1");
    EXPECT_TRUE(progress->lines.contains(QStringLiteral("Préparation de la Page :  2 sur 2")))
        << progress->lines.join(QLatin1Char('|')).toStdString();

    // The user cancels during the first pass: nothing is built.
    progress->lines.clear();
    progress->cancelAtLine = 2;
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Count(), 0);
}

// The report's own interpreter, counting its lines, so that a script that
// would not stop fails here instead of hanging.
struct CountingInterpreter : TInterpretator {
    int lines = 0;
    void BeforeLine(int) override
    {
        if (++lines > 1000000)
            throw std::runtime_error("script sans fin");
    }
};

// Work is counted over the whole build (script lines, band draws, records,
// the lines of a memo laid out),
// and a yield comes once the clock says so, whatever the unit: the user's
// cancel, seen at the third pump, stops any of these builds within two yields.
// Each reading of the clock here stands for a millisecond of work.
TEST_F(DriverTest, EveryKindOfWorkYieldsAndStopsWhenTheBuildIsCancelled)
{
    const QString endless[] = {
        QStringLiteral("while 1 do i := 1"), QStringLiteral("repeat i := 1 until 0"),
        QStringLiteral("begin 10: i := 1; goto 10 end"), QStringLiteral("while 1 do begin end"),
        QStringLiteral("begin s := ''; while 1 do s := s + '") + QString(49, QLatin1Char('x')) +
            QStringLiteral("' end")};
    struct Row {
        QString script;
        bool onBand;
        const char *records;
        int height;
        QString memo = QStringLiteral("[LINE#]");
        quint16 flags = 0; // of the band and its memo
    };
    std::vector<Row> rows;
    for (const bool onBand : {false, true})
        for (const QString &script : endless)
            rows.push_back({script, onBand, "60", 20});
    // Short runs on many records, records of no height without a script, and
    // a stretched memo of a megabyte of text wrapped on every record.
    rows.push_back(
        {QStringLiteral("begin j := 0; while j < 300 do j := j + 1 end"), true, "200", 20});
    rows.push_back({QString(), true, "5000", 0});
    QStringList megabyte(16, QString(65535, QLatin1Char('x')));
    rows.push_back({QString(), true, "60", 20, megabyte.join(QLatin1Char('\n')), flStretched});
    const int perYield = int(FrPace::kYieldMs) * FrPace::kCheckUnits;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.script.toStdString() + (row.onBand ? " (bande) " : " (texte) ") +
                     row.records);
        TearDown();
        SetUp();
        fakes->clock.tickStep = 1;
        TfrBandView *data = bandWithMemo(btMasterData, 40, row.height, QStringLiteral("Donnees"),
                                         row.memo, row.flags, QString::fromLatin1(row.records));
        page->Objects.back()->Flags |= row.flags;
        TfrView *holder = row.onBand ? static_cast<TfrView *>(data) : page->Objects.back().get();
        if (!row.script.isEmpty())
            holder->Script = QStringList{row.script};
        auto *interpreter = new CountingInterpreter;
        fr().frInterpreter.reset(interpreter);
        int pumps = 0, draws = 0;
        report->OnBeginBand = [&](TfrBand *) { ++draws; };
        g().messagePump = [&] {
            if (++pumps == 3)
                report->Cancelled = true; // the user presses "Annuler"
        };
        const QByteArray before = templateBytes();
        EXPECT_FALSE(report->PrepareReport());
        EXPECT_TRUE(fakes->dialogs.messages.empty());
        EXPECT_EQ(pumps, 3);
        EXPECT_LE(interpreter->lines + draws * kFrDrawUnits, 3 * perYield);
        EXPECT_EQ(templateBytes(), before);
        EXPECT_FALSE(g().frBuilding);
    }
}

// A script showing boxes in a loop: each box offers to stop the build, and
// the first answer that does stops it; the boxes' own answers, "Annuler"
// among them, are the script's. A stopped build shows no more boxes.
TEST_F(DriverTest, ScriptBoxesStopTheBuildOnTheFirstAnswerThatAsks)
{
    using namespace platform;
    const struct {
        const char *script;
        std::vector<int> answers;
        std::vector<std::optional<QString>> inputs;
        int extraOnInput;
        size_t boxes;
    } rows[] = {
        {"MessageBox('boucle', 'titre', 0)", {mrOk, mrOk, mrExtra}, {}, 0, 3},
        {"r := MessageBox('boucle', 'titre', 1)", {mrCancel, mrOk, mrCancel, mrExtra}, {}, 0, 4},
        {"r := MessageBox('a', '', 3) + MessageBox('b', '', 3)", {mrYes, mrNo, mrExtra}, {}, 0, 3},
        {"s := Input('Votre nom ?', 'x')", {}, {QStringLiteral("a"), std::nullopt}, 3, 3},
        {"s := Input('a', 'x') + Input('b', 'y')", {}, {}, 1, 1},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.script);
        TearDown();
        SetUp();
        bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("d"), 0,
                     QStringLiteral("1"));
        page->Objects.back()->Script =
            QStringList{QStringLiteral("while 1 do ") + QString::fromLatin1(row.script)};
        fakes->dialogs.answers.assign(row.answers.begin(), row.answers.end());
        fakes->dialogs.inputs.assign(row.inputs.begin(), row.inputs.end());
        fakes->dialogs.extraOnInput = row.extraOnInput;
        // Should the boxes not stop the build, the progress window's
        // "Annuler" does, at a yield after ten boxes.
        fakes->clock.tickStep = 1;
        g().messagePump = [&] {
            if (fakes->dialogs.messages.size() + fakes->dialogs.inputRequests.size() > 10)
                report->Cancelled = true;
        };
        EXPECT_FALSE(report->PrepareReport());
        std::vector<QString> offered;
        for (const MessageRequest &m : fakes->dialogs.messages)
            offered.push_back(m.extraButton);
        for (const auto &input : fakes->dialogs.inputRequests)
            offered.push_back(input.extraButton);
        EXPECT_EQ(offered.size(), row.boxes);
        EXPECT_EQ(
            std::count(offered.begin(), offered.end(), QStringLiteral("Arrêter la préparation")),
            qsizetype(offered.size()));
    }
}

// Every function of the scripts, on the longest arguments the bounds allow,
// in an endless loop: its work is counted by what it reads and writes, so the
// cancel seen at the third yield ends the build at once, no single call takes
// long, and what the scripts made is given back. A yield that does not come
// within seconds fails the row instead of hanging it.
TEST_F(DriverTest, EveryFunctionOnLongTextsYieldsStopsAndGivesBack)
{
    // s: 1,048,576 characters (the bound); h: half; f: a pattern of 32,768
    // "c" (some 600,000 characters once formatted); n: a needle that the
    // usual search compares in full at every place.
    const QString prelude = QStringLiteral(
        "s := 'cccccccccccccccc'; i := 0; while i < 16 do begin s := s + s; i := i + 1 end; "
        "h := Copy(s, 1, 524288); f := Copy(s, 1, 32768); n := 'x' + Copy(s, 1, 500000); ");
    // Conversions refuse a long text at once: their box ends the build.
    std::vector<std::pair<QString, const char *>> rows = {
        {QStringLiteral("StrToDate(s)"), "n'est pas une date correcte"},
        {QStringLiteral("StrToTime(s)"), "n'est pas une heure correcte"},
        {QStringLiteral("DayOf(s)"), "Conversion de type"},
        {QStringLiteral("MonthOf(s)"), "Conversion de type"},
        {QStringLiteral("YearOf(s)"), "Conversion de type"},
    };
    // The others run until the build is cancelled.
    const QStringList running =
        QStringLiteral(
            "FormatDateTime(f, 1.5)|FormatFloat(h, 1.5)|FormatText(h, h)|Pos(n, s)|Length(s)|"
            "LowerCase(s)|UpperCase(s)|NameCase(s)|Trim(s)|Copy(s, 2, 1048575)|Str(s)|"
            "If(1, s, h)|MaxNum(s, h)|MinNum(s, h)|Sum(s)|Count(s)|Avg(s)|Min(s)|Max(s)|"
            "h + h|s = h|s <> h")
            .split(QLatin1Char('|'));
    for (const QString &call : running)
        rows.emplace_back(call, "");
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    for (const auto &[call, refusal] : rows) {
        SCOPED_TRACE(call.toStdString());
        TearDown();
        SetUp();
        // Each reading of the clock finds a yield due: one comes every time
        // the pace reads it, after a fixed count of units of work.
        fakes->clock.tickStep = FrPace::kYieldMs;
        fr().frVariables->SetVariable(QStringLiteral("Avant"), FrVariant(1));
        bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("x"), 0,
                     QStringLiteral("60"));
        page->Objects.back()->Script =
            QStringList{QStringLiteral("begin ") + prelude +
                        QStringLiteral("while 1 do t := %1 end").arg(call)};
        // Real time: the longest line (one call), and since the last yield.
        struct TimedInterpreter : TInterpretator {
            Clock::time_point line = Clock::now(), yield = Clock::now();
            double longest = 0;
            void BeforeLine(int) override
            {
                const Clock::time_point now = Clock::now();
                longest = std::max(longest, std::chrono::duration<double>(now - line).count());
                line = now;
                if (now - yield > std::chrono::seconds(5))
                    throw std::runtime_error("pas de pause depuis 5 s");
            }
        };
        auto *interpreter = new TimedInterpreter;
        fr().frInterpreter.reset(interpreter);
        int pumps = 0;
        Clock::time_point cancelled;
        double gap = 0; // the longest time between two yields of the loop
        g().messagePump = [&] {
            const Clock::time_point now = Clock::now();
            // Counted once the loop runs (t set), not while the texts are made.
            if (fr().frVariables->IndexOf(QStringLiteral("t")) >= 0) {
                if (pumps > 0)
                    gap = std::max(gap, seconds(now - interpreter->yield));
                if (++pumps == 3) {
                    report->Cancelled = true; // the user presses "Annuler"
                    cancelled = now;
                }
            }
            interpreter->yield = now;
        };
        const QByteArray before = templateBytes();
        EXPECT_FALSE(report->PrepareReport());
        const double stopping = seconds(Clock::now() - cancelled);
        const QString boxes = fakes->dialogs.texts().join(QLatin1Char('|'));
        if (*refusal) {
            EXPECT_TRUE(boxes.contains(QString::fromUtf8(refusal))) << boxes.toStdString();
        } else {
            EXPECT_EQ(boxes.toStdString(), "");
            EXPECT_EQ(pumps, 3);
            EXPECT_LT(gap, 0.5);
            EXPECT_LT(stopping, 0.5);
        }
        EXPECT_LT(interpreter->longest, 0.5);
        EXPECT_EQ(templateBytes(), before);
        EXPECT_EQ(fr().frVariables->Count(), 1) << "the scripts' variables are given back";
    }
}

// Past a bound of what a template builds, the build stops with one box
// naming the object, and what its scripts made is given back.
TEST_F(DriverTest, BoundsStopTheBuildWithOneBoxNamingTheObject)
{
    const QString doubled = QStringLiteral("s := 'x'; i := 0; while i < %1 do begin s := s + s; "
                                           "i := i + 1 end");
    // A text of 524,288 characters put in %1 entries of an array.
    const QString filled =
        doubled.arg(19) +
        QStringLiteral("; i := 0; while i < %1 do begin a[i] := s; i := i + 1 end");
    const struct {
        const char *bound;
        QString script;
        QString text;
        const char *object;
    } rows[] = {
        {"Valeur trop longue", doubled.arg(22), QStringLiteral("x"), "Texte"},
        {"Valeur trop longue", doubled.arg(18), QStringLiteral("[s][s][s][s][s]"), "Texte"},
        {"Variables trop volumineuses", filled.arg(40), QStringLiteral("x"), "Texte"},
        // Function results, dictionary variables and objects' texts are values
        // like the others.
        {"Valeur trop longue",
         QStringLiteral("s := 'c'; i := 0; while i < 16 do begin s := s + s; i := i + 1 end; "
                        "t := FormatDateTime(s, 1.5)"),
         QStringLiteral("x"), "Texte"},
        {"Variables trop volumineuses", filled.arg(30) + QStringLiteral("; Texte.Memo := s"),
         QStringLiteral("x"), "Texte"},
        {"Variables trop volumineuses", filled.arg(30) + QStringLiteral("; Cumul := s"),
         QStringLiteral("x"), "Texte"},
        {"Imbrication des bandes trop profonde",
         QStringLiteral("ShowBand(Donnees); ShowBand(Donnees)"), QString(), "Donnees"},
        {"Trop de bandes affichées par ShowBand (plus de 1000)",
         QStringLiteral("ShowBand(C1); ShowBand(C1)"), QString(), "C"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.bound);
        TearDown();
        SetUp();
        fr().frInterpreter = std::make_unique<CountingInterpreter>();
        g().frShownBandsLimit = 1000;
        fr().frVariables->SetVariable(QStringLiteral("Avant"), FrVariant(1));
        // A dictionary variable, under its category.
        report->Dictionary().Variables.SetVariable(QStringLiteral(" Totaux"), FrVariant(QString()));
        report->Dictionary().Variables.SetVariable(QStringLiteral("Cumul"), FrVariant(QString()));
        TfrBandView *data = band(btMasterData, 40, row.text.isEmpty() ? 0 : 20,
                                 QStringLiteral("Donnees"), 0, QStringLiteral("1"));
        TfrView *holder = row.text.isEmpty()
                              ? static_cast<TfrView *>(data)
                              : memo(QStringLiteral("Texte"), 20, 40, 300, 20, row.text);
        holder->Script =
            QStringList{QStringLiteral("begin ") + row.script + QStringLiteral(" end")};
        // Bands shown only by scripts, each showing the next one twice.
        for (int i = 1; i <= 12; ++i)
            band(btChild, 100 + i, 0, QStringLiteral("C%1").arg(i))->Script =
                QStringList{QStringLiteral("begin ShowBand(C%1); ShowBand(C%1) end").arg(i + 1)};
        const QByteArray before = templateBytes();
        EXPECT_FALSE(report->PrepareReport());
        EXPECT_EQ(fakes->dialogs.messages.size(), 1u);
        const QString text = fakes->dialogs.texts().value(0);
        EXPECT_TRUE(text.contains(QString::fromUtf8(row.bound))) << text.toStdString();
        EXPECT_TRUE(
            text.contains(frLoadString(55202) + QLatin1Char(' ') + QString::fromLatin1(row.object)))
            << text.toStdString();
        EXPECT_EQ(templateBytes(), before);
        EXPECT_EQ(report->EMFPages().Count(), 0);
        EXPECT_EQ(fr().frVariables->Count(), 1) << "the scripts' variables are given back";
        EXPECT_EQ(fr().frVariables->GetVariable(QStringLiteral("Avant")).toInt(), 1);
    }
}

TEST_F(DriverTest, CancelledDialogPageBuildsNothing)
{
    twoPageReport();
    TfrPage *dialog = report->Pages().Add();
    dialog->PageTypeValue = ptDialog;
    memo(QStringLiteral("Champ"), 10, 10, 100, 20, QStringLiteral("x"), dialog);
    FrScriptedDialogForm *shown = nullptr;
    int result = platform::mrCancel;
    g().frDialogFormClass = [&](TfrPage &) {
        auto form = std::make_unique<FrScriptedDialogForm>();
        form->result = result;
        shown = form.get();
        return form;
    };
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Count(), 0);
    ASSERT_NE(shown, nullptr);
    result = platform::mrOk;
    EXPECT_TRUE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Count(), 2);
}

TEST_F(DriverTest, ModalResultFromTheScriptClosesTheDialogForm)
{
    twoPageReport();
    TfrPage *dialog = report->Pages().Add();
    dialog->PageTypeValue = ptDialog;
    dialog->Script = QStringList{QStringLiteral("MODALRESULT := mrOk")};
    memo(QStringLiteral("Champ"), 10, 10, 100, 20, QStringLiteral("x"), dialog);
    int closedWith = -1;
    g().frDialogFormClass = [&](TfrPage &) {
        struct Form : FrScriptedDialogForm {
            int *closed = nullptr;
            int ShowModal(const std::function<void()> &activate) override
            {
                const int r = FrScriptedDialogForm::ShowModal(activate);
                *closed = ModalResult();
                return r;
            }
        };
        auto form = std::make_unique<Form>();
        form->result = platform::mrCancel; // what the user would have pressed
        form->closed = &closedWith;
        return form;
    };
    EXPECT_TRUE(report->PrepareReport());
    EXPECT_EQ(closedWith, platform::mrOk);
    EXPECT_EQ(report->EMFPages().Count(), 2);
}

TEST_F(DriverTest, SetupScriptErrorShowsOneBoxNamingTheObject)
{
    twoPageReport();
    TfrMemoView *m = memo(QStringLiteral("Calcul"), 400, 40, 100, 20, QStringLiteral("x"));
    m->Script =
        QStringList{QStringLiteral("begin"), QStringLiteral("  x := ;"), QStringLiteral("end")};
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Count(), 0);
    ASSERT_EQ(fakes->dialogs.messages.size(), 1u);
    EXPECT_TRUE(fakes->dialogs.messages[0].text.startsWith(QStringLiteral("Calcul: ")))
        << fakes->dialogs.messages[0].text.toStdString();
}

TEST_F(DriverTest, ExceptionsInABuildRestoreTheTemplateAndTellOnce)
{
    twoPageReport();
    const QByteArray before = templateBytes();
    report->OnGetValue = [](const QString &name, FrVariant &value) {
        if (name == QLatin1String("LINE#") && frObjects().frCurrentBand &&
            frObjects().frCurrentBand->LineNo == 57)
            throw std::runtime_error("base fermée");
        (void)value;
    };
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_EQ(templateBytes(), before);
    EXPECT_EQ(report->EMFPages().Count(), 0);
    ASSERT_EQ(fakes->dialogs.messages.size(), 1u);
    const QString text = fakes->dialogs.messages[0].text;
    EXPECT_TRUE(text.startsWith(frLoadString(55200)));
    EXPECT_TRUE(text.contains(QStringLiteral("base fermée")));
    EXPECT_FALSE(g().frBuilding);
    EXPECT_EQ(g().frDocMode, 0);
    EXPECT_EQ(g().frCurrentPage, nullptr);
    EXPECT_EQ(g().frCurrentBand, nullptr);
    EXPECT_FALSE(g().frErrorOccurred);
    report->OnGetValue = nullptr;
    EXPECT_TRUE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Count(), 2);
    EXPECT_EQ(fakes->dialogs.messages.size(), 1u);
}

TEST_F(DriverTest, ReEntrantCallsAreRefused)
{
    twoPageReport();
    int inner = -1;
    bool exported = true;
    bool shown = true;
    report->OnBeginDoc = [&] {
        inner = report->PrepareReport() ? 1 : 0;
        shown = report->ShowReport();
        FrRecordingExportFilter filter;
        exported = report->ExportTo(filter);
    };
    EXPECT_TRUE(report->PrepareReport());
    EXPECT_EQ(inner, 0);
    EXPECT_FALSE(shown);
    EXPECT_FALSE(exported);
    EXPECT_EQ(report->EMFPages().Count(), 2);
}

TEST_F(DriverTest, MultipleReportFormsThePagesOncePerRecord)
{
    bandWithMemo(btMasterData, 40, 20, QStringLiteral("Donnees"), QStringLiteral("[LINE#]"), 0,
                 QStringLiteral("2"));
    TfrUserDataset own;
    own.RangeEnd = reCount;
    own.RangeEndCount = 3;
    report->setDataset(&own);
    report->ReportType = rtMultiple;
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(countsPerPage(QStringLiteral("DonneesMemo")), (std::vector<int>{2, 2, 2}));
}

TEST_F(DriverTest, ManualBuildReplacesFormation)
{
    twoPageReport();
    int calls = 0;
    report->OnManualBuild = [&](TfrPage *p) {
        ++calls;
        p->CurBottomY = p->BottomLimit();
        p->XAdjust = p->LeftMarginPos();
        report->EMFPages().AddPage(*p);
        p->CurY = 100;
        p->ShowBandByName(QStringLiteral("Entete"));
        p->NewPage();
        p->ShowBand(p->Bands[btPageHeader]);
    };
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(placed().join(QLatin1Char(';')).toStdString(),
              "1:EnteteMemo@20,100 Entete;2:EnteteMemo@20,18 Entete;2:EnteteMemo@20,48 Entete");
}

TEST_F(DriverTest, RecordModeRecordsInsteadOfPrinting)
{
    twoPageReport("2");
    QStringList recorded;
    report->OnManualBuild = [&](TfrPage *p) {
        p->RecordMode = true;
        p->FormPage();
        for (const FrBandRecord &r : p->RecordList)
            recorded.append(r.band->Name + QLatin1Char(':') + QString::number(r.kind));
        p->ClearRecList();
        p->RecordMode = false;
    };
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(recorded.join(QLatin1Char(' ')).toStdString(),
              "Donnees:1 Donnees:0 Donnees:2 Donnees:0 Donnees:2");
    EXPECT_EQ(report->EMFPages().Count(), 0);
}

TEST_F(DriverTest, EventsOfATwoPageReport)
{
    twoPageReport("3", 400);
    bandWithMemo(btReportSummary, 600, 30, QStringLiteral("Resume"), QStringLiteral("Fin"));
    bandWithMemo(btPageFooter, 700, 20, QStringLiteral("Pied"), QStringLiteral("Pied"),
                 flBandOnFirstPage | flBandOnLastPage);
    QStringList log;
    report->OnBeginDoc = [&] { log.append(QStringLiteral("begin doc")); };
    report->OnEndDoc = [&] { log.append(QStringLiteral("end doc")); };
    report->OnBeginPage = [&](int n) { log.append(QStringLiteral("begin page %1").arg(n)); };
    report->OnEndPage = [&](int n) { log.append(QStringLiteral("end page %1").arg(n)); };
    report->OnBeginBand = [&](TfrBand *b) { log.append(QStringLiteral("  begin ") + b->Name); };
    report->OnEndBand = [&](TfrBand *b) { log.append(QStringLiteral("  end ") + b->Name); };
    report->OnProgress = [&](int n) { log.append(QStringLiteral("progress %1").arg(n)); };
    prepareFixture(QStringLiteral("build_events"));
    EXPECT_EQ(report->EMFPages().Count(), 2);
    expectGolden(QStringLiteral("build_events.txt"), log.join(QLatin1Char('\n')) + '\n');
}

// --- the value callback, step by step

TEST_F(DriverTest, ValueCallbackSteps)
{
    memo(QStringLiteral("Memo1"), 10, 10, 123, 20, QStringLiteral("x"));
    report->Dictionary().Variables.SetVariable(QStringLiteral("Club"), QStringLiteral("'Nice'"));
    report->Dictionary().Variables.SetVariable(QStringLiteral("A"), QStringLiteral("[B]"));
    report->Dictionary().Variables.SetVariable(QStringLiteral("B"), QStringLiteral("[A]"));
    fr().frVariables->SetVariable(QStringLiteral("Compte"), 7);
    report->OnGetValue = [](const QString &name, FrVariant &value) {
        if (name == QLatin1String("PAGE#"))
            value = QStringLiteral("owner");
        else if (name == QLatin1String("Vide"))
            value = QString();
    };
    report->makeCurrent();
    report->InstallCallbacks();
    FrObjectGlobals &gl = g();
    gl.frMasterReport = report.get();
    gl.frReportDateTime = fakes->clock.current;
    auto value = [&](const QString &name) {
        FrVariant v;
        report->ResolveParserName(name, v);
        return v.isUnassigned() ? QStringLiteral("<unassigned>") : v.toString();
    };
    const struct {
        const char *name;
        const char *expected;
    } rows[] = {
        {"PAGE#", "owner"},     // the owner first, even over the built-in names
        {"Vide", ""},           // an empty answer is an answer
        {"Club", "Nice"},       // a dictionary variable, evaluated
        {"DATE", "16/03/2024"}, // the report date
        {"TOTALPAGES", "0"},    // a single pass
        {"Compte", "7"},        // a script variable
        {"Memo1.Width", "123"}, // an object's property
        {"mrOk", "1"},          // a constant
        {"1 + 2", "3"},         // anything else is an expression
    };
    for (const auto &row : rows)
        EXPECT_EQ(value(QString::fromUtf8(row.name)).toStdString(), row.expected) << row.name;

    // A bare unknown name and a cycle of two variables raise once.
    for (const char *name : {"Inconnu", "A"}) {
        QString raised; // nothing when it does not raise
        try {
            value(QString::fromUtf8(name));
        } catch (const EParserError &e) {
            raised = QString::fromUtf8(e.what());
        }
        EXPECT_TRUE(raised.startsWith(frLoadString(55439))) << name;
        EXPECT_EQ(fr().evalState.depth, 0) << name;
        EXPECT_TRUE(fr().evalState.names.isEmpty()) << name;
    }
    // While aggregates register, an unknown name is empty.
    gl.frAggregatePrepare = true;
    EXPECT_EQ(value(QStringLiteral("Inconnu")).toStdString(), "<unassigned>");
    gl.frAggregatePrepare = false;
}

TEST_F(DriverTest, OlderDictionaryInAVersion22TemplatePreparesWithItsValues)
{
    // A version-22 template: one page, one memo outside every band, then a
    // dictionary of the older layout (categories, variables and the nine
    // system values by number).
    Bytes t;
    t.byte(22).word(0).word(0).strz("Imprimante virtuelle");
    t.byte(255).int32(9).int32(2100).int32(2970).int32(10).int32(20).int32(30).int32(40).byte(0);
    t.raw(QByteArray(6, 'z')).word(0).word(0xFFFF).int32(1).int32(0);
    t.byte(0).byte(0).int32(40).int32(40).int32(400).int32(18).word(0).word(0).int32(1000);
    t.int32(0).word(0).int32(0x1FFFFFFF).int32(0).strz("").strz("[V0] [V1] [V2] [V8] [Ville]");
    t.strz("Arial").int32(10).word(0).int32(0).int32(0).word(204).word(2).int32(0);
    t.int32(0xFFFFFF).strz("");
    t.byte(254).int32(12);
    t.byte(1).int32(0).shortStr("Clients").shortStr("Nom").shortStr("NomClient");
    for (int index = 0; index <= 8; ++index)
        t.byte(2).int32(index).shortStr("").shortStr("2+3").shortStr("V" +
                                                                     QByteArray::number(index));
    t.byte(7).int32(0).shortStr("x").shortStr("y").shortStr("Autre");
    t.byte(2).int32(1).shortStr("").shortStr("'Nice'").shortStr("Ville");
    QList<QByteArray> order{"Clients", " NomClient", "Systeme"};
    for (int index = 0; index <= 8; ++index)
        order.append(" V" + QByteArray::number(index));
    order.append(" Autre");
    order.append(" Ville");
    t.memo(order);
    expectGoldenBytes(QStringLiteral("build_dictionary_v22.frf"), t.data);

    FrMemoryStream stream(t.data);
    report->LoadFromStream(stream);
    ASSERT_EQ(report->lastLoad(), TfrReport::LoadOutcome::Loaded);
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(placed().join(QLatin1Char(';')).toStdString(), "1:Memo1@40,40 1 5 16/03/2024 0 Nice");
}

TEST_F(DriverTest, FunctionCallbackProcedures)
{
    memo(QStringLiteral("Memo1"), 10, 10, 123, 20, QStringLiteral("x"));
    report->makeCurrent();
    QStringList user;
    report->OnUserFunction = [&](const QString &name, const FrVariant &, const FrVariant &,
                                 const FrVariant &, FrVariant &val) {
        user.append(name + QLatin1Char('=') + val.toString());
        if (name == QLatin1String("DOUBLE"))
            val = 42;
    };
    auto call = [&](const QString &name, const QString &p1 = QString(),
                    const QString &p2 = QString(), const QString &p3 = QString()) {
        FrVariant v;
        report->CallParserFunction(name, p1, p2, p3, v);
        return v.toString();
    };
    EXPECT_EQ(call(QStringLiteral("DOUBLE")).toStdString(), "42");
    EXPECT_EQ(call(QStringLiteral("INCONNUE")).toStdString(), "0");
    call(QStringLiteral("SETARRAY"), QStringLiteral("A"), QStringLiteral("2"),
         QStringLiteral("'deux'"));
    EXPECT_EQ(fr().frVariables->GetVariable(QStringLiteral("Arr_A_2")).toString().toStdString(),
              "deux");
    EXPECT_EQ(call(QStringLiteral("GETARRAY"), QStringLiteral("A"), QStringLiteral("1 + 1"))
                  .toStdString(),
              "deux");
    call(QStringLiteral("STOPREPORT"));
    EXPECT_TRUE(report->Cancelled);
    EXPECT_EQ(user.join(QLatin1Char(' ')).toStdString(),
              "DOUBLE=0 INCONNUE=0 SETARRAY=0 GETARRAY=deux STOPREPORT=0");
}

} // namespace
} // namespace report::test
