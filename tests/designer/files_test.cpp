// The designer's file commands over scripted dialogs and a temporary folder:
// new, open, save and save as with their question, damaged and foreign files,
// failed writes, the question before closing, and the preview.
#include "tests/designer/designer_fixture.h"
#include "tests/report/gui/io_support.h"
#include "tests/report/gui/io_template_builder.h"

#include "designer/core/filecommands.h"
#include "platform/dialogs/dialogs.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "report/core/frlocale.h"
#include "report/core/frstream.h"
#include "report/data/frdictionary.h"
#include "report/objects/frseams.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <tuple>

#include <sys/stat.h>

namespace designer::test
{

using namespace report;
using report::test::readFileBytes;
using report::test::writeFileBytes;

// Bytes this process has read from files so far.
qint64 bytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : io.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return 0;
}

class FilesTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        files = installFileCommands(*core);
        rep->ShowProgress = false;
    }
    void TearDown() override
    {
        platform::LineFile::setWriteHook({});
        files.reset();
        DesignerFixture::TearDown();
    }
    vorn_test::ScriptedDialogs &dialogs() { return fakes->dialogs; }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    // A memo inserted as the user would: recorded for undo, report modified.
    TfrMemoView *insertMemo()
    {
        TfrMemoView *m = memo(QStringLiteral("Memo1"), 16, 16, 96, 18);
        select({m});
        core->undo.RecordUndo(ukInserted);
        core->state.storeModified(true);
        return m;
    }
    void command(const char *handler)
    {
        core->state.Requests.commands.at(QString::fromLatin1(handler))();
    }
    static QString untitled() { return frLoadString(55209); }
    static QString frfError() { return QStringLiteral("Format FRF non supporté"); }

    QTemporaryDir dir;
    std::shared_ptr<FileCommands> files;
};

TEST(FileNames, TheChosenTypesExtensionReplacesTheTypedOne)
{
    for (const auto &[in, out] : {std::pair{"x.txt", "x.frf"}, std::pair{"x", "x.frf"},
                                  std::pair{"/tmp/a.b/x", "/tmp/a.b/x.frf"},
                                  std::pair{"C:\\e.v2\\x.frt", "C:\\e.v2\\x.frf"}})
        EXPECT_EQ(frWithExtension(QString::fromLatin1(in), QStringLiteral(".frf")),
                  QString::fromLatin1(out));
}

TEST_F(FilesTest, UntitledSaveAsksForANameAndTheChosenTypeDecides)
{
    struct Case {
        int filter;
        const char *typed, *written;
        bool named, modified; // afterwards
    };
    core->state.Requests.newTemplate = [] {
        return std::optional<NewTemplateChoice>({{QStringLiteral("Classement")}, QImage()});
    };
    for (const Case &c :
         {Case{1, "x.txt", "x.frf", true, false}, Case{2, "modele.frf", "modele.frt", false, true},
          Case{3, "dico", "dico.frd", false, true}}) {
        SCOPED_TRACE(c.typed);
        files->setFileName(untitled());
        core->state.storeModified(true);
        dialogs().files.push_back(path(c.typed));
        dialogs().filterIndexes.push_back(c.filter);
        command("FileBtn3Click");
        ASSERT_FALSE(dialogs().saveRequests.empty());
        EXPECT_EQ(dialogs().saveRequests.back().filter,
                  QStringLiteral("Etat VornReport (*.frf)|*.frf|Modèle VornReport (*.frt)|*.frt|"
                                 "Dictionnaire VornReport (*.frd)|*.frd"));
        EXPECT_TRUE(QFile::exists(path(c.written)));
        EXPECT_EQ(files->fileName(), c.named ? path(c.written) : untitled());
        EXPECT_EQ(rep->Modified, c.modified);
    }
    EXPECT_FALSE(QFile::exists(path("x.txt")));
    TfrReport back;
    EXPECT_TRUE(back.LoadFromFile(path("x.frf")));
}

// Another file of any of the three types is replaced only after "Oui" to the
// replace question ("Non" by default); "Non" writes nothing and leaves the
// report's name and changes; the open file itself is saved again unasked.
TEST_F(FilesTest, SaveAsAsksBeforeReplacingAnotherFile)
{
    core->state.Requests.newTemplate = [] {
        return std::optional<NewTemplateChoice>({{QStringLiteral("Enveloppes")}, QImage()});
    };
    insertMemo();
    const QString open = path("Enveloppes.frf");
    files->setFileName(open);
    struct Case {
        int filter;
        const char *typed, *replaced;
    };
    for (const Case &c : {Case{1, "calendrier.txt", "calendrier.frf"},
                          Case{2, "modele.frt", "modele.frt"}, Case{3, "dico", "dico.frd"}}) {
        SCOPED_TRACE(c.typed);
        const QString replaced = path(c.replaced);
        writeFileBytes(replaced, "autre");
        // Kept read-only by its owner: it stays so once replaced.
        ASSERT_EQ(::chmod(QFile::encodeName(replaced).constData(), 0444), 0);
        for (const int answer : {platform::mrNo, platform::mrYes}) {
            dialogs().messages.clear();
            core->state.storeModified(true);
            dialogs().files.push_back(path(c.typed));
            dialogs().filterIndexes.push_back(c.filter);
            dialogs().answers.push_back(answer); // "Non": the dialog again, then cancelled
            files->SaveAs();
            ASSERT_EQ(dialogs().messages.size(), 1u);
            const platform::MessageRequest &m = dialogs().messages[0];
            EXPECT_EQ(m.text, QStringLiteral("Le fichier %1 existe déjà\nVoulez-vous l'écraser ?")
                                  .arg(QString::fromLatin1(c.replaced)));
            EXPECT_EQ(m.defaultButton, platform::MsgDlgButtons(platform::mbNo));
            EXPECT_EQ(readFileBytes(replaced) == "autre", answer == platform::mrNo);
            struct stat st;
            ASSERT_EQ(::stat(QFile::encodeName(replaced).constData(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0444u);
            EXPECT_EQ(files->SaveCompleted, answer == platform::mrYes && c.filter != 3);
            EXPECT_EQ(files->fileName(),
                      answer == platform::mrYes && c.filter == 1 ? replaced : open);
            EXPECT_EQ(rep->Modified, answer == platform::mrNo || c.filter != 1);
            files->setFileName(open);
        }
    }
    writeFileBytes(open, "ancien");
    dialogs().messages.clear();
    dialogs().files.push_back(open);
    files->SaveAs();
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_TRUE(files->SaveCompleted);
    EXPECT_NE(readFileBytes(open), "ancien");
}

TEST_F(FilesTest, AFailedWriteSaysSoAndKeepsTheChangesAndTheWindow)
{
    insertMemo();
    const QString name = path("Classement.frf");
    files->setFileName(name);
    files->Save();
    ASSERT_TRUE(files->SaveCompleted);
    const QByteArray saved = readFileBytes(name);

    core->state.storeModified(true);
    platform::LineFile::setWriteHook([](const QString &) { return ENOSPC; });
    files->Save();
    EXPECT_FALSE(files->SaveCompleted);
    EXPECT_TRUE(rep->Modified);
    ASSERT_EQ(dialogs().messages.size(), 1u);
    const auto failure = [](const QString &file) {
        return QStringLiteral("Impossible d'enregistrer le fichier %1\n\n"
                              "Erreur d'écriture dans le fichier %1 : disque plein")
            .arg(file);
    };
    EXPECT_EQ(dialogs().messages[0].text, failure(name));
    EXPECT_EQ(dialogs().messages[0].caption, QStringLiteral("Erreur"));
    EXPECT_EQ(readFileBytes(name), saved);

    // Closing and New answered Yes try to save, fail and stop (each failure's
    // box takes its OK in between).
    dialogs().answers = {platform::mrYes, platform::mrOk, platform::mrYes, platform::mrOk};
    int result = platform::mrOk;
    EXPECT_FALSE(files->CloseQuery(result));
    files->New();
    EXPECT_EQ(rep->Pages()[0], page);
    EXPECT_EQ(page->ObjectCount(), 1);
    // A dictionary that cannot be written says the same; without the
    // template dialog dictionaries are the second type.
    dialogs().files.push_back(path("dico.frd"));
    dialogs().filterIndexes.push_back(2);
    files->SaveAs();
    EXPECT_EQ(
        dialogs().saveRequests.back().filter,
        QStringLiteral("Etat VornReport (*.frf)|*.frf|Dictionnaire VornReport (*.frd)|*.frd"));
    EXPECT_EQ(dialogs().texts().last(), failure(path("dico.frd")));
    EXPECT_TRUE(rep->Modified);
}

TEST_F(FilesTest, TheQuestionBeforeClosing)
{
    struct Case {
        const char *what;
        bool modified;
        int mode;
        quint16 restrictions;
        std::optional<int> answer; // asked when set
        bool closes;
        int result;
    };
    const Case cases[] = {
        {"unmodified", false, 1, 0, std::nullopt, true, platform::mrOk},
        {"answered No", true, 1, 0, platform::mrNo, true, platform::mrCancel},
        {"answered Cancel", true, 1, 0, platform::mrCancel, false, platform::mrOk},
        {"saving forbidden", true, 1, 1 << drNoSaveReport, std::nullopt, true, platform::mrOk},
        {"prepared page", true, 0, 0, std::nullopt, true, platform::mrOk},
    };
    files->setFileName(QStringLiteral("/donnees/etats/Classement.frf"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        dialogs().messages.clear();
        designerWindow->DesignMode = c.mode;
        frObjects().frDesignerRestrictions = c.restrictions;
        core->state.storeModified(c.modified);
        if (c.answer)
            dialogs().answers.push_back(*c.answer);
        int result = platform::mrOk;
        EXPECT_EQ(core->state.Requests.closeQuery(result), c.closes);
        EXPECT_EQ(result, c.result);
        ASSERT_EQ(dialogs().messages.size(), c.answer ? 1u : 0u);
        if (c.answer) {
            const platform::MessageRequest &m = dialogs().messages[0];
            EXPECT_EQ(std::tuple(m.text, m.caption, m.buttons, m.type),
                      std::tuple(QStringLiteral("Enregistrer les changements sur Classement.frf?"),
                                 QStringLiteral("Confirmation"), platform::mbYesNoCancel,
                                 platform::mtConfirmation));
        }
    }
}

TEST_F(FilesTest, NewAndNewFromATemplateAskFirstThenStartUntitled)
{
    TfrReport source;
    source.Pages().Add();
    source.Pages().Add();
    const QString model = path("modele.frt");
    ASSERT_TRUE(source.SaveTemplate(model, {QStringLiteral("Deux pages")}, QImage()));
    rep->makeCurrent();
    int chosen = 0;
    core->state.Requests.templates = [&] {
        ++chosen;
        return std::optional<QString>(model);
    };
    int refreshed = 0;
    core->state.Requests.dbFieldsRefresh = [&] { ++refreshed; };
    const QString name = path("Classement.frf");
    for (const char *handler : {"FileBtn1Click", "N23Click"}) {
        SCOPED_TRACE(handler);
        insertMemo();
        files->setFileName(name);
        dialogs().answers.push_back(platform::mrCancel);
        command(handler);
        EXPECT_EQ(rep->Pages().Count(), 1);
        EXPECT_EQ(undoCount(), 1);
        EXPECT_EQ(chosen, 0);
        // Yes saves first.
        QFile::remove(name);
        dialogs().answers.push_back(platform::mrYes);
        rep->ChangedInDesign = false;
        command(handler);
        EXPECT_TRUE(QFile::exists(name));
        EXPECT_EQ(files->fileName(), untitled());
        EXPECT_FALSE(rep->Modified);
        EXPECT_EQ(undoCount(), 0);
        EXPECT_EQ(core->state.page(), rep->Pages()[0]);
        EXPECT_EQ(view.shownPages.back(), 0);
        page = rep->Pages()[0];
    }
    // New gave one empty page, then the template its two.
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(rep->Pages().Count(), 2);
}

TEST_F(FilesTest, ADictionaryIsTakenWholeOrNotAtAll)
{
    TfrReport other;
    report::test::buildTemplate(other);
    const QString whole = path("dico.frd"), cut = path("coupe.frd");
    other.Dictionary().SaveToFile(whole);
    writeFileBytes(cut, readFileBytes(whole).left(readFileBytes(whole).size() / 2));
    rep->makeCurrent();
    rep->Dictionary().Variables.SetVariable(QStringLiteral("Ancienne"), FrVariant("1"));
    auto dictionary = [this] {
        FrMemoryStream s;
        rep->Dictionary().SaveToStream(s);
        return s.data();
    };
    const QByteArray before = dictionary();
    insertMemo();
    const QString name = path("Classement.frf");
    files->setFileName(name);
    files->Save();

    // Cut, a folder, a pipe (never waited on), zeros (a 250 MB file not read
    // whole), a template, a dictionary with bytes after it: nothing is
    // taken, and the message names the file.
    const QString dossier = path("dossier.frd"), tube = path("tube.frd");
    ASSERT_TRUE(QDir().mkdir(dossier));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tube).constData(), 0600), 0);
    writeFileBytes(path("zeros.frd"), QByteArray(1024, '\0'));
    writeFileBytes(path("enorme.frd"), {}, qint64(250) << 20);
    writeFileBytes(path("modele.frd"), readFileBytes(name));
    writeFileBytes(path("suivi.frd"), readFileBytes(whole) + "reste");
    const QString notOne = QStringLiteral("Le fichier %1 n'est pas un dictionnaire de données.");
    const struct {
        QString file, message; // empty message: only its caption is checked
    } refused[] = {
        {cut, QString()},
        {dossier, QStringLiteral("Impossible d'ouvrir le fichier ") + dossier +
                      QStringLiteral(" : c'est un dossier")},
        {tube, QStringLiteral("Impossible d'ouvrir le fichier ") + tube +
                   QStringLiteral(" : c'est un tube, pas un fichier")},
        {path("zeros.frd"), notOne.arg(path("zeros.frd"))},
        {path("enorme.frd"), notOne.arg(path("enorme.frd"))},
        {path("modele.frd"), notOne.arg(path("modele.frd"))},
        {path("suivi.frd"), notOne.arg(path("suivi.frd"))},
    };
    for (const auto &r : refused) {
        SCOPED_TRACE(r.file.toStdString());
        dialogs().messages.clear();
        dialogs().files = {r.file};
        dialogs().filterIndexes = {2};
        const qint64 read = bytesRead();
        files->Open();
        EXPECT_LT(bytesRead() - read, qint64(16) << 20);
        EXPECT_EQ(dictionary(), before);
        ASSERT_EQ(dialogs().messages.size(), 1u);
        EXPECT_EQ(dialogs().messages.back().caption, QStringLiteral("Erreur"));
        if (!r.message.isEmpty()) {
            EXPECT_EQ(dialogs().messages.back().text, r.message);
        }
    }
    EXPECT_FALSE(rep->Modified);
    EXPECT_EQ(undoCount(), 1);

    dialogs().files = {whole};
    dialogs().filterIndexes = {2};
    command("FileBtn2Click");
    EXPECT_EQ(
        dialogs().openRequests.back().filter,
        QStringLiteral("Etat VornReport (*.frf)|*.frf|Dictionnaire VornReport (*.frd)|*.frd"));
    const QByteArray taken = dictionary();
    EXPECT_EQ(rep->Dictionary().Variables.Count(), other.Dictionary().Variables.Count());
    EXPECT_EQ(rep->Dictionary().FieldAliases.Count(), other.Dictionary().FieldAliases.Count());
    // The report, its name and its history stay; the change is to be saved,
    // and Undo gives the dictionary it replaced back, Redo the one read.
    EXPECT_EQ(files->fileName(), name);
    EXPECT_TRUE(rep->Modified);
    EXPECT_EQ(undoCount(), 2);
    core->Undo();
    EXPECT_EQ(dictionary(), before);
    EXPECT_EQ(page->ObjectCount(), 1);
    core->Redo();
    EXPECT_EQ(dictionary(), taken);
}

TEST_F(FilesTest, OpeningAReportTakesItOnlyWhenItWasRead)
{
    TfrReport other;
    report::test::buildTemplate(other);
    QByteArray good = report::test::save(other), newer = good;
    newer[0] = char(25);
    writeFileBytes(path("bon.frf"), good);
    writeFileBytes(path("recent.frf"), newer);
    writeFileBytes(path("vide.frf"), QByteArray());
    rep->makeCurrent();
    struct Case {
        const char *file;
        int mode;
        int errors; // "Format FRF non supporté" shown, the file named
        bool taken;
        bool unreadable = false; // "Impossible d'ouvrir le fichier" shown
        bool tooLarge = false;   // "... est trop volumineux pour être lu." shown
    };
    QDir().mkdir(path("dossier.frf"));
    // Zeros are refused from their first bytes: 250 MB are not read whole.
    writeFileBytes(path("zeros.frf"), QByteArray(1024, '\0'));
    writeFileBytes(path("zeros250.frf"), {}, qint64(250) << 20);
    writeFileBytes(path("enorme.frf"), {}, qint64(300) << 20);
    // A dictionary chosen as a template.
    other.Dictionary().SaveToFile(path("dico.frd"));
    const Case cases[] = {
        {"recent.frf", 1, 1, false},        {"dico.frd", 1, 1, false},
        {"vide.frf", 1, 1, false},          {"absent.frf", 1, 0, false},
        {"dossier.frf", 1, 0, false, true}, {"zeros.frf", 1, 1, false},
        {"zeros250.frf", 1, 1, false},      {"enorme.frf", 1, 0, false, false, true},
        {"bon.frf", 0, 0, false},           {"bon.frf", 1, 0, true}};
    const QString name = path("Classement.frf");
    files->setFileName(name);
    rep->FileName = name;
    insertMemo();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        dialogs().messages.clear();
        dialogs().files.push_back(path(c.file));
        dialogs().answers.push_back(platform::mrNo); // the changes stay unsaved
        designerWindow->DesignMode = c.mode;
        const qint64 read = bytesRead();
        files->Open();
        EXPECT_LT(bytesRead() - read, qint64(16) << 20);
        EXPECT_EQ(dialogs().count(frFileNotReadText(path(c.file), frfError())), c.errors);
        EXPECT_EQ(dialogs().count(QStringLiteral("Impossible d'ouvrir le fichier ") + path(c.file)),
                  c.unreadable ? 1 : 0);
        EXPECT_EQ(dialogs().count(QStringLiteral("Le fichier %1 est trop volumineux pour être lu.")
                                      .arg(path(c.file))),
                  c.tooLarge ? 1 : 0);
        EXPECT_EQ(files->fileName(), c.taken ? path(c.file) : name);
        EXPECT_EQ(undoCount(), c.taken ? 0 : 1);
        EXPECT_EQ(rep->Modified, !c.taken);
        EXPECT_EQ(rep->Pages().Count(), c.taken ? other.Pages().Count() : 1);
        if (!c.taken) {
            EXPECT_EQ(rep->FileName, name);
            EXPECT_EQ(core->state.page(), page);
            EXPECT_EQ(page->ObjectCount(), 1);
        }
    }
    // The prepared-page editor asked nothing at all.
    EXPECT_EQ(dialogs().openRequests.size(), 9u);
}

// A real template and its model, cut at every 64th byte and with a byte
// flipped every 64 bytes, opened over a changed template: each one refused
// names its file, and the open template keeps its name, pages, history and
// changes (saved again, byte for byte). One that reads whole is taken.
TEST_F(FilesTest, AFileThatCannotBeReadLeavesTheOpenTemplateAsItWas)
{
    const QByteArray real = readFileBytes(QStringLiteral(VORN_TEST_DATA "/report/template.frf"));
    ASSERT_GT(real.size(), 1024);
    const QString model = path("modele.frt"), fromModel = path("source.frf");
    writeFileBytes(fromModel, real);
    {
        TfrReport source;
        ASSERT_TRUE(source.LoadFromFile(fromModel));
        ASSERT_TRUE(source.SaveTemplate(model, {QStringLiteral("Enveloppes")}, QImage()));
    }
    const QByteArray realModel = readFileBytes(model);
    rep->makeCurrent();
    core->state.Requests.templates = [&] { return std::optional<QString>(model); };

    const QString name = path("Enveloppes.frf");
    files->setFileName(name);
    rep->FileName = name;
    insertMemo();
    files->Save();
    const QByteArray open = readFileBytes(name);
    const QString damaged = path("abime.frf");
    int refused = 0, taken = 0;
    for (const bool asModel : {false, true}) {
        const QByteArray &whole = asModel ? realModel : real;
        QList<QByteArray> variants{QByteArray()};
        for (qsizetype at = 64; at < whole.size(); at += 64)
            variants.append(whole.left(at));
        for (qsizetype at = 0; at < whole.size(); at += 64) {
            QByteArray flipped = whole;
            flipped[at] = char(~quint8(flipped[at]));
            variants.append(flipped);
        }
        for (const QByteArray &bytes : variants) {
            SCOPED_TRACE(testing::Message() << (asModel ? "model " : "") << bytes.size());
            writeFileBytes(asModel ? model : damaged, bytes);
            core->state.storeModified(true);
            const int history = undoCount();
            TfrPage *shown = core->state.page();
            dialogs().messages.clear();
            dialogs().answers.push_back(platform::mrNo); // the changes stay unsaved
            if (asModel) {
                command("N23Click");
            } else {
                dialogs().files.push_back(damaged);
                files->Open();
            }
            if (files->fileName() != name) {
                // Read whole: taken; the open template comes back.
                ++taken;
                dialogs().files.push_back(name);
                files->Open();
                ASSERT_EQ(files->fileName(), name);
                page = rep->Pages()[0];
                continue;
            }
            ++refused;
            ASSERT_EQ(dialogs().messages.size(), 2u);
            EXPECT_EQ(dialogs().messages[1].caption, QStringLiteral("Erreur"));
            EXPECT_TRUE(dialogs().messages[1].text.contains(asModel ? model : damaged))
                << dialogs().messages[1].text.toStdString();
            EXPECT_EQ(std::tuple(files->fileName(), rep->FileName, undoCount(), core->state.page()),
                      std::tuple(name, name, history, shown));
            files->Save();
            ASSERT_EQ(readFileBytes(name), open);
        }
    }
    // Nearly every cut is refused (one at a record's end reads as a shorter
    // template); most flips change a value that still reads.
    EXPECT_GT(refused, 160);
    EXPECT_GT(taken, 0);
    // The history still works on the template kept.
    dialogs().answers.push_back(platform::mrNo);
    dialogs().files.push_back(damaged);
    writeFileBytes(damaged, real.left(4096));
    insertMemo();
    files->Open();
    const int objects = core->state.page()->ObjectCount();
    core->Undo();
    EXPECT_EQ(core->state.page()->ObjectCount(), objects - 1);
}

// A preview that fails while it shows.
class FailingPreview : public FrRecordingPreview
{
public:
    void ShowPreviewForm(TfrReport &, const QString &, bool, bool) override
    {
        throw platform::Exception(QStringLiteral("panne"));
    }
};

TEST_F(FilesTest, PreviewKeepsTheHistoryTheFlagAndThePage)
{
    // Designing the second page.
    page = rep->Pages().Add();
    designerWindow->Page = page;
    core->state.CurPage = 1;
    for (bool failing : {false, true}) {
        SCOPED_TRACE(failing ? "preview fails" : "preview shown");
        auto recording = std::make_unique<FrRecordingPreview>();
        const FrRecordingPreview *shown = recording.get();
        if (failing)
            frObjects().setPreview(std::make_unique<FailingPreview>());
        else
            frObjects().setPreview(std::move(recording));
        band(btReportTitle, 0, 40, QStringLiteral("Titre"));
        insertMemo()->Memo = {QStringLiteral("Bonjour")};
        core->state.storeModified(false);
        rep->ModalPreview = false;
        std::vector<bool> locks, paints;
        core->state.Requests.inspectorLock = [&](bool l) { locks.push_back(l); };
        files->lockPainting = [&](bool l) { paints.push_back(l); };

        if (failing) {
            EXPECT_THROW(files->Preview(), platform::Exception);
        } else {
            command("FileBtn4Click");
            ASSERT_EQ(shown->calls.size(), 1u);
            EXPECT_TRUE(shown->calls[0].modal);
        }
        EXPECT_FALSE(rep->ModalPreview);
        EXPECT_FALSE(rep->Modified);
        EXPECT_EQ(locks, (std::vector<bool>{true, false}));
        EXPECT_EQ(paints, locks);
        EXPECT_EQ(view.shownPages.back(), 1);
        // The page was made anew; the history finds its objects there.
        page = rep->Pages()[1];
        ASSERT_EQ(core->state.page(), page);
        ASSERT_EQ(page->ObjectCount(), 2);
        core->Undo();
        EXPECT_EQ(page->ObjectCount(), 1);
        core->Redo();
        ASSERT_EQ(page->ObjectCount(), 2);
        EXPECT_EQ(page->Object(1)->Memo, QStringList{QStringLiteral("Bonjour")});
        page->Clear();
        core->undo.ClearUndoBuffer();
        core->undo.ClearRedoBuffer();
    }
}

} // namespace designer::test
