// Functions, display formats and scripts in a prepared report: the memo
// texts as they reach the prepared page, what the scripts change while the
// report builds and what the template keeps afterwards.
#include "build_fixture.h"

#include "report/build/frformat.h"
#include "report/data/frdictionary.h"

namespace report::test
{
namespace
{

class BuildFunctionsTest : public BuildTest
{
protected:
    TfrMemoView *titleMemo(const QString &name, const QString &text, int row)
    {
        return memo(name, 20, row * 20, 300, 20, text);
    }
};

TEST_F(BuildFunctionsTest, MemoTextsScriptsAndTheRestoredTemplate)
{
    TfrDataDictionary &dict = report->Dictionary();
    dict.Variables.SetVariable(QStringLiteral(" Clients"), FrVariant(QString()));
    dict.Variables.SetVariable(QStringLiteral("MyVar"), FrVariant(QStringLiteral("'Durand'")));
    report->OnGetValue = [](const QString &name, FrVariant &value) {
        if (name == QLatin1String("Montant"))
            value = 1234.5;
        else if (name == QLatin1String("Zero"))
            value = 0;
        else if (name == QLatin1String("Jour"))
            value = FrVariant::fromDate(platform::EncodeDate(2024, 3, 16));
    };
    QStringList user;
    report->OnUserFunction = [&user](const QString &name, const FrVariant &, const FrVariant &,
                                     const FrVariant &, FrVariant &val) {
        user.append(name);
        if (name == QLatin1String("MAFONCTION"))
            val = QStringLiteral("mienne");
    };
    auto window = std::make_unique<FrRecordingProgressWindow>();
    FrRecordingProgressWindow *progress = window.get();
    frObjects().setProgressWindow(std::move(window));
    report->ShowProgress = true;

    band(btReportTitle, 0, 400, QStringLiteral("Titre"));
    const struct {
        const char *text;
        const char *expected;
    } rows[] = {
        {"[NAMECASE('jEAN dupont')]", "Jean dupont"},
        {"[FORMATFLOAT('#,##0.00', 1234.5)]", "1 234,50"},
        {"[Montant #N2]", "1234,50"},
        {"Total : [Montant #N0] €", "Total : 1235 €"},
        {"[Montant]", "1 234,50"}, // the memo's own number format
        {"[Zero]", ""},            // hides zeros
        {"[Zero]", "0"},
        {"[Jour #Ddd mmmm yyyy]", "16 mars 2024"},
        {"[1 / 'x']|suite", "|suite"}, // an evaluation error leaves the value empty
        {"[MyVar]", "Dupont"},
        {"[MAFONCTION(2)] [lowercase('ABC')]", "mienne abc"},
        {"[Compteur]", "3"},
        {"avant", "ligne"},
    };
    int row = 0;
    std::vector<TfrMemoView *> memos;
    for (const auto &r : rows) {
        memos.push_back(titleMemo(QStringLiteral("M%1").arg(row + 1, 2, 10, QLatin1Char('0')),
                                  QString::fromUtf8(r.text), row));
        ++row;
    }
    memos[4]->Format = frMakeFormat(fcNumber, 3, 2, QLatin1Char(','));
    memos[5]->Flags |= 0x40;
    memos[9]->Script = QStringList{QStringLiteral("MyVar := 'Dupont'")};
    memos[11]->Script =
        QStringList{QStringLiteral("begin"),
                    QStringLiteral("  Compteur := 1; INC(Compteur); inc(Compteur); INC(Compteur); "
                                   "DEC(Compteur);"),
                    QStringLiteral("  SETARRAY(M13.Memo, 0, 'ligne');"),
                    QStringLiteral("  PROGRESS := 'Calcul ' + STR(Compteur);"),
                    QStringLiteral("  ShowBand(Pied)"),
                    QStringLiteral("end")};
    bandWithMemo(btMasterFooter, 420, 20, QStringLiteral("Pied"), QStringLiteral("Pied [PAGE#]"));

    ASSERT_TRUE(report->PrepareReport());
    ASSERT_EQ(fakes->dialogs.messages.size(), 0u);
    const QStringList out = placed();
    for (int i = 0; i < row; ++i) {
        const QString expected = QStringLiteral("1:M%1@20,%2 %3")
                                     .arg(i + 1, 2, 10, QLatin1Char('0'))
                                     .arg(18 + i * 20)
                                     .arg(QString::fromUtf8(rows[i].expected));
        EXPECT_TRUE(out.contains(expected)) << expected.toStdString() << "\n"
                                            << out.join(QLatin1Char('\n')).toStdString();
    }
    // SHOWBAND printed the footer, which no data band would have shown.
    EXPECT_EQ(out.filter(QStringLiteral("PiedMemo")).size(), 1);
    EXPECT_TRUE(
        out.filter(QStringLiteral("PiedMemo")).value(0).endsWith(QStringLiteral(" Pied 1")));
    // The owner hears of what no library handled, after the report's own procedures.
    EXPECT_EQ(user,
              QStringList({"MAFONCTION", "INC", "INC", "INC", "DEC", "SETARRAY", "SHOWBAND"}));
    EXPECT_TRUE(progress->lines.contains(QStringLiteral("Calcul 3")))
        << progress->lines.join(QLatin1Char('|')).toStdString();

    // The template is back as it was written.
    EXPECT_EQ(report->Dictionary().Variables.GetVariable(QStringLiteral("MyVar")).toString(),
              QStringLiteral("'Durand'"));
    TfrView *m13 = report->FindObject(QStringLiteral("M13"));
    ASSERT_NE(m13, nullptr);
    EXPECT_EQ(m13->Memo, QStringList{QStringLiteral("avant")});
}

TEST_F(BuildFunctionsTest, ModalResultOfADialogPageScriptClosesItsForm)
{
    bandWithMemo(btReportTitle, 0, 20, QStringLiteral("Titre"), QStringLiteral("Titre"));
    TfrPage *dialog = report->Pages().Add();
    dialog->PageTypeValue = ptDialog;
    dialog->Script = QStringList{QStringLiteral("ModalResult := mrOk")};
    // The form goes with the page: it tells what closed it.
    struct ClosingForm : FrScriptedDialogForm {
        std::vector<int> *closed = nullptr;
        void SetModalResult(int result) override
        {
            closed->push_back(result);
            FrScriptedDialogForm::SetModalResult(result);
        }
    };
    std::vector<int> closed;
    frObjects().frDialogFormClass = [&closed](TfrPage &) {
        auto form = std::make_unique<ClosingForm>();
        form->result = platform::mrCancel; // what the user would answer
        form->closed = &closed;
        return form;
    };
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(closed, std::vector<int>{platform::mrOk});
    EXPECT_EQ(report->EMFPages().Count(), 1);
}

} // namespace
} // namespace report::test
