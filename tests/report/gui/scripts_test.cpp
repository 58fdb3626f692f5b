// Scripts of a running report: assignments follow the seven rules of the
// report's interpreter (variables, dictionary, MODALRESULT, CURY, PROGRESS,
// object properties, new variables); reads and calls go through the
// report's callbacks; the aggregate calls of memos and scripts are collected.
#include "objects_fixture.h"

#include "report/build/frinterpretator.h"
#include "report/core/frexceptions.h"
#include "report/core/frstream.h"
#include "report/data/frdictionary.h"
#include "report/expr/frvariables.h"
#include "report/objects/frband.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frseams.h"
#include "tests/support/gui/fakes.h"

using namespace report;
using namespace report::test;

namespace
{

class ScriptsTest : public ObjectsTest
{
protected:
    void SetUp() override
    {
        ObjectsTest::SetUp();
        report = std::make_unique<TfrReport>();
        report->makeCurrent();
        page = report->Pages().Add();
        auto memo = std::make_unique<TfrMemoView>();
        memo->Name = QStringLiteral("Memo1");
        memo->SetBounds(10, 10, 100, 20);
        page->Add(std::move(memo));
        bandView.Name = QStringLiteral("MasterData1");
        bandView.SetBandType(btMasterData);
        band = std::make_unique<TfrBand>(&bandView, page);
        frObjects().frCurrentPage = page;
        frObjects().frCurrentBand = band.get();
        auto progressWindow = std::make_unique<FrRecordingProgressWindow>();
        progress = progressWindow.get();
        frObjects().setProgressWindow(std::move(progressWindow));
        // Names: the variables, then the dictionary; as the report reads them.
        fr().frGlobalParser->OnGetValue = [this](const QString &name, FrVariant &value) {
            if (fr().frVariables->IndexOf(name) >= 0)
                value = fr().frVariables->GetVariable(name);
            else if (report->Dictionary().IsVariable(name))
                report->Dictionary().GetValue(name, value);
            else if (const FrVariant *c = fr().frConsts->find(name))
                value = *c;
        };
    }
    void TearDown() override
    {
        band.reset();
        frObjects().frCurrentBand = nullptr;
        frObjects().frCurrentPage = nullptr;
        report.reset();
        ObjectsTest::TearDown();
    }

    void run(const QString &script)
    {
        QStringList coded, errors;
        TfrInterpretator &interpreter = *fr().frInterpreter;
        interpreter.PrepareScript(script.split(QLatin1Char('\n')), coded, errors);
        ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
        interpreter.DoScript(coded);
    }
    FrVariant variable(const QString &name) { return fr().frVariables->GetVariable(name); }
    FrVariant dictionaryValue(const QString &name)
    {
        FrVariant v;
        report->Dictionary().GetValue(name, v);
        return v;
    }

    std::unique_ptr<TfrReport> report;
    TfrPage *page = nullptr;
    TfrBandView bandView;
    std::unique_ptr<TfrBand> band;
    FrRecordingProgressWindow *progress = nullptr;
};

TEST_F(ScriptsTest, TheReportInterpreterIsInstalledAtStart)
{
    EXPECT_NE(dynamic_cast<TInterpretator *>(fr().frInterpreter.get()), nullptr);
}

TEST_F(ScriptsTest, AssignmentsFollowTheRulesInOrder)
{
    TfrDataDictionary &dict = report->Dictionary();
    dict.Variables.SetVariable(QStringLiteral(" Clients"), FrVariant(QString()));
    dict.Variables.SetVariable(QStringLiteral("MyVar"), FrVariant(QStringLiteral("'Durand'")));
    dict.Variables.SetVariable(QStringLiteral("Total"), FrVariant(QStringLiteral("1 + 1")));
    fr().frVariables->SetVariable(QStringLiteral("Total"), FrVariant(0));
    TfrView *memo = page->FindObject(QStringLiteral("Memo1"));

    struct Row {
        const char *script;
        const char *name; // what to read back, and where
        enum Where { Variable, Dictionary, CurY, Width, Progress, None } where;
        FrVariant expected;
    };
    const Row cases[] = {
        // 1. a variable, even one the dictionary also holds
        {"Total := 7", "Total", Row::Variable, FrVariant(7)},
        // 2. a dictionary variable keeps the assigned value itself
        {"MyVar := 'Dupont'", "MyVar", Row::Dictionary, FrVariant(QStringLiteral("Dupont"))},
        {"myvar := MyVar + '-Martin'", "MyVar", Row::Dictionary,
         FrVariant(QStringLiteral("Dupont-Martin"))},
        // 4. CURY moves the page's position
        {"CurY := 120", "", Row::CurY, FrVariant(120)},
        // 5. PROGRESS shows the text in the progress window
        {"progress := 'Page ' + '3'", "", Row::Progress, FrVariant(QStringLiteral("Page 3"))},
        // 6. an object's property
        {"Memo1.Width := 250", "", Row::Width, FrVariant(250)},
        // 7. anything else becomes a variable, a missing property too
        {"Compteur := 3", "Compteur", Row::Variable, FrVariant(3)},
        {"Memo1.NoSuchProperty := 'x'", "Memo1.NoSuchProperty", Row::Variable,
         FrVariant(QStringLiteral("x"))},
    };
    for (const auto &c : cases) {
        run(QString::fromUtf8(c.script));
        const QString name = QString::fromLatin1(c.name);
        switch (c.where) {
        case Row::Variable:
            EXPECT_EQ(variable(name).toString(), c.expected.toString()) << c.script;
            break;
        case Row::Dictionary:
            EXPECT_EQ(dictionaryValue(name).toString(), c.expected.toString()) << c.script;
            EXPECT_EQ(fr().frVariables->IndexOf(name), -1) << c.script;
            break;
        case Row::CurY:
            EXPECT_EQ(page->CurY, c.expected.toInt()) << c.script;
            break;
        case Row::Width:
            EXPECT_EQ(memo->dx, c.expected.toInt()) << c.script;
            break;
        case Row::Progress:
            ASSERT_FALSE(progress->lines.isEmpty()) << c.script;
            EXPECT_EQ(progress->lines.back(), c.expected.toString()) << c.script;
            break;
        case Row::None:
            break;
        }
    }
    // The special names and the dictionary made no variables.
    for (const char *name : {"MyVar", "CURY", "PROGRESS", "Memo1.Width"})
        EXPECT_EQ(fr().frVariables->IndexOf(QString::fromLatin1(name)), -1) << name;
    // The variable took the assignment: the dictionary's entry is unchanged.
    EXPECT_EQ(dict.Variables.GetVariable(QStringLiteral("Total")).toString(),
              QStringLiteral("1 + 1"));
}

TEST_F(ScriptsTest, AssignedDictionaryValueLastsUntilTheTemplateIsRead)
{
    TfrDataDictionary &dict = report->Dictionary();
    dict.Variables.SetVariable(QStringLiteral(" Clients"), FrVariant(QString()));
    dict.Variables.SetVariable(QStringLiteral("MyVar"), FrVariant(QStringLiteral("'Durand'")));
    FrMemoryStream snapshot;
    dict.SaveToStream(snapshot);

    run(QStringLiteral("MyVar := 'Dupont'"));
    EXPECT_EQ(fr().frGlobalParser->Calc(QStringLiteral("[MyVar]")).toString(),
              QStringLiteral("Dupont"));
    snapshot.seek(0);
    dict.LoadFromStream(snapshot);
    EXPECT_EQ(fr().frGlobalParser->Calc(QStringLiteral("[MyVar]")).toString(),
              QStringLiteral("Durand"));
}

TEST_F(ScriptsTest, ModalResultClosesOnlyADialogPagesForm)
{
    run(QStringLiteral("ModalResult := mrOk"));
    EXPECT_EQ(fr().frVariables->IndexOf(QStringLiteral("MODALRESULT")), -1);

    page->PageTypeValue = ptDialog;
    auto form = std::make_unique<FrScriptedDialogForm>();
    FrScriptedDialogForm *raw = form.get();
    page->Form = std::move(form);
    run(QStringLiteral("MODALRESULT := mrOk"));
    EXPECT_EQ(raw->ModalResult(), 1);
    EXPECT_THROW(run(QStringLiteral("ModalResult := 'ok'")), EVariantError);
    EXPECT_EQ(raw->ModalResult(), 1);
}

TEST_F(ScriptsTest, CurYKeepsTheBandWhereAScriptMovedIt)
{
    run(QStringLiteral("CurY := 40"));
    EXPECT_FALSE(band->KeepY);
    band->NewPageCount = 1;
    run(QStringLiteral("CurY := 40 + 5"));
    EXPECT_TRUE(band->KeepY);
    EXPECT_EQ(page->CurY, 45);
    band->KeepY = false;
    band->NewPageCount = 0;
    band->NewColumnCount = 2;
    EXPECT_THROW(run(QStringLiteral("CurY := 'x'")), EVariantError);
    EXPECT_TRUE(band->KeepY);
    EXPECT_EQ(page->CurY, 45);
}

TEST_F(ScriptsTest, ReadsAndCallsGoThroughTheReportCallbacks)
{
    QStringList calls;
    fr().frGlobalParser->OnFunction = [&calls](const QString &name, const FrVariant &p1,
                                               const FrVariant &, const FrVariant &,
                                               FrVariant &value) {
        calls.append(name + QLatin1Char('(') + p1.toString() + QLatin1Char(')'));
        value = FrVariant(41);
    };
    run(QStringLiteral(
        "begin\n  Resultat := MaFonction(Total) + 1;\n  ShowBand(MasterData1)\nend"));
    EXPECT_EQ(calls, QStringList({"MAFONCTION(Total)", "SHOWBAND(MasterData1)"}));
    EXPECT_EQ(variable(QStringLiteral("Resultat")).toString(), QStringLiteral("42"));
}

TEST_F(ScriptsTest, AggregateSplitterReadsBracketsAndScripts)
{
    report->Dictionary().Variables.SetVariable(QStringLiteral(" Cat"), FrVariant(QString()));
    report->Dictionary().Variables.SetVariable(QStringLiteral("Moyenne"),
                                               FrVariant(QStringLiteral("AVG([Note])")));
    QStringList out;
    TAggregateFunctionsSplitter splitter(out);
    splitter.SplitMemo(QStringList{
        QStringLiteral("Total SUM([x]) : [SUM([Montant])] et [COUNT(MasterData1)]"),
        QStringLiteral("[Moyenne] [ IF([a] > 0, MAX([a]), MIN([a])) ] [non fermé"), QString()});
    EXPECT_EQ(out, QStringList({"SUM([Montant])", "COUNT(MasterData1)", "AVG([Note])", "MAX([a])",
                                "MIN([a])"}));

    out.clear();
    splitter.SplitScript(QStringList());
    EXPECT_TRUE(out.isEmpty());
    QStringList coded, errors;
    fr().frInterpreter->PrepareScript(
        QStringList{QStringLiteral("if SUM([a]) > 0 then x := COUNT(MasterData1)"),
                    QStringLiteral("y := 'SUM([b])'")},
        coded, errors);
    ASSERT_TRUE(errors.isEmpty());
    splitter.SplitScript(coded);
    EXPECT_EQ(out, QStringList({"SUM([a])", "COUNT(MasterData1)"}));
}

} // namespace
