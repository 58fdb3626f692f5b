// The check box: its record, its value written to the prepared page, its
// export text and its drawing (display-list goldens at two scales).
#include "build_fixture.h"

#include "report/core/frlocale.h"
#include "report/objects/frcheckboxview.h"
#include "report/ui/frwindows.h"

namespace report::test
{
namespace
{

class CheckBoxTest : public BuildTest
{
protected:
    void SetUp() override
    {
        BuildTest::SetUp();
        frRegisterCheckBoxView();
    }
    TfrCheckBoxView *check(const QString &name, int x, int y, const QString &text,
                           quint8 style = csCross)
    {
        auto v = std::make_unique<TfrCheckBoxView>();
        v->Name = name;
        v->SetBounds(x, y, 40, 20);
        v->CheckStyle = style;
        v->Memo = text.isEmpty() ? QStringList() : QStringList{text};
        return static_cast<TfrCheckBoxView *>(page->Add(std::move(v)));
    }
    QString draw(TfrView &view, int docMode, double scale)
    {
        frObjects().frDocMode = docMode;
        view.ScaleX = view.ScaleY = scale;
        platform::RecordingCanvas canvas(measurer, QRect(0, 0, 800, 1100));
        view.Draw(canvas);
        frObjects().frDocMode = 0;
        return canvas.displayList().dump();
    }
};

TEST_F(CheckBoxTest, ConstructionDefinesTheStylesAndTheFrame)
{
    fr().frConsts->Clear();
    TfrCheckBoxView v;
    EXPECT_EQ(fr().frConsts->GetVariable(QStringLiteral("csCross")).toInt(), 0);
    EXPECT_EQ(fr().frConsts->GetVariable(QStringLiteral("csCheck")).toInt(), 1);
    EXPECT_EQ(std::tuple(v.FrameTyp, v.FrameWidth), std::tuple(15, 2.0f));
    v.CreateUniqueName();
    EXPECT_TRUE(v.Name.startsWith(QStringLiteral("Check"))) << v.Name.toStdString();
    v.SetPropertyValue(QStringLiteral("checkstyle"), 1);
    v.SetPropertyValue(QStringLiteral("CheckColor"), 0xFF);
    EXPECT_EQ(v.GetPropertyValue(QStringLiteral("CHECKSTYLE")).toInt(), 1);
    EXPECT_EQ(v.GetPropertyValue(QStringLiteral("CheckColor")).toInt(), 0xFF);
}

TEST_F(CheckBoxTest, RecordsOfVersions24And23)
{
    TfrCheckBoxView a;
    a.Name = QStringLiteral("Check1");
    a.SetBounds(5, 6, 30, 20);
    a.CheckStyle = csCheck;
    a.CheckColor = 0x00FF00;
    const QByteArray bytes = recordOf(a);
    expectGoldenBytes(QStringLiteral("checkbox_v24.bin"), bytes);
    FrMemoryStream in(bytes);
    TfrCheckBoxView b;
    b.LoadFromStream(in);
    EXPECT_EQ(in.position(), bytes.size());
    EXPECT_EQ(std::tuple(b.CheckStyle, b.CheckColor), std::tuple(csCheck, 0x00FF00));
    EXPECT_EQ(recordOf(b), bytes);

    // A version 23 view record has no stream version, no gaps and nothing
    // of the check box after it.
    FrMemoryStream old;
    frWriteString(old, QStringLiteral("Check1"));
    for (int v : {5, 6, 30, 20})
        frWriteInteger(old, v);
    frWriteWord(old, 0);
    frWriteWord(old, 15);
    frWriteInteger(old, frEncodeFrameWidth(2));
    frWriteInteger(old, 0);
    frWriteWord(old, 0);
    frWriteInteger(old, platform::clNone);
    frWriteInteger(old, 0);
    frWriteString(old, QString());
    frWriteMemo(old, {QStringLiteral("1")});
    frWriteMemo(old, {});
    frWriteWord(old, 0xFFFF);
    expectGoldenBytes(QStringLiteral("checkbox_v23.bin"), old.data());
    fr().frTemplateVersion = 23;
    FrMemoryStream in23(old.data());
    TfrCheckBoxView c;
    c.CheckStyle = csCheck;
    c.CheckColor = 0xFF;
    TfrCheckBoxView fresh;
    c.CheckStyle = fresh.CheckStyle;
    c.CheckColor = fresh.CheckColor;
    c.LoadFromStream(in23);
    fr().frTemplateVersion = 24;
    EXPECT_EQ(in23.position(), old.data().size());
    EXPECT_EQ(std::tuple(c.CheckStyle, c.CheckColor), std::tuple(csCross, platform::clBlack));
    EXPECT_EQ(c.Memo, QStringList{QStringLiteral("1")});
}

TEST_F(CheckBoxTest, PreparedValuesAndExport)
{
    band(btReportTitle, 0, 40, QStringLiteral("Titre"));
    check(QStringLiteral("Vrai"), 10, 10, QStringLiteral("[Actif]"));
    check(QStringLiteral("Egal"), 260, 10, QStringLiteral("1 = 1"));
    report->OnGetValue = [](const QString &name, FrVariant &value) {
        if (name == QLatin1String("Actif"))
            value = true;
    };
    check(QStringLiteral("Demi"), 60, 10, QStringLiteral("0.5"));
    check(QStringLiteral("Deux"), 110, 10, QStringLiteral("2.7"));
    check(QStringLiteral("Moins"), 160, 10, QStringLiteral("-2.7"));
    check(QStringLiteral("Vide"), 210, 10, QString());
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(placed(),
              QStringList({QStringLiteral("1:Vrai@10,28 -1"), QStringLiteral("1:Egal@260,28 1"),
                           QStringLiteral("1:Demi@60,28 0"), QStringLiteral("1:Deux@110,28 2"),
                           QStringLiteral("1:Moins@160,28 -2"), QStringLiteral("1:Vide@210,28 ")}));

    QStringList exported;
    frObjects().exportText = [&](const QRect &, int, TfrView *view, quint16, const QString &text,
                                 int) { exported << view->Name + QLatin1Char('=') + text; };
    TfrEMFPages &pages = report->EMFPages();
    pages.BuildPageObjects(0);
    for (const auto &v : pages.Entry(0)->Page->Objects)
        v->PassToExportFilter();
    EXPECT_EQ(exported, QStringList({QStringLiteral("Vrai=X"), QStringLiteral("Egal=X"),
                                     QStringLiteral("Demi="), QStringLiteral("Deux=X"),
                                     QStringLiteral("Moins=X"), QStringLiteral("Vide=")}));
}

TEST_F(CheckBoxTest, AValueThatIsNoNumberEndsTheBuildNamingTheObject)
{
    band(btReportTitle, 0, 40, QStringLiteral("Titre"));
    check(QStringLiteral("Reponse"), 10, 10, QStringLiteral("'Oui'"));
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Count(), 0);
    ASSERT_EQ(fakes->dialogs.messages.size(), 1u);
    EXPECT_TRUE(fakes->dialogs.messages[0].text.contains(QStringLiteral("Reponse")))
        << fakes->dialogs.messages[0].text.toStdString();
}

TEST_F(CheckBoxTest, MarksDrawnInTheirSquareAndClipped)
{
    QString out;
    const struct {
        const char *label;
        quint8 style;
        const char *memo;
        int docMode;
        int width;
    } cases[] = {{"cross", csCross, "-1", 1, 40},       {"check", csCheck, "1", 1, 40},
                 {"narrow-cross", csCross, "1", 1, 12}, {"unchecked", csCheck, "0", 1, 40},
                 {"empty-preview", csCross, "", 1, 40}, {"empty-design", csCheck, "", 0, 40}};
    for (double scale : {1.0, 1.5}) {
        for (const auto &c : cases) {
            TfrCheckBoxView v;
            v.SetBounds(20, 30, c.width, 20);
            v.CheckStyle = c.style;
            v.CheckColor = 0x0000FF;
            if (*c.memo)
                v.Memo = QStringList{QString::fromLatin1(c.memo)};
            out += QStringLiteral("== %1 x%2\n").arg(QLatin1String(c.label)).arg(scale) +
                   draw(v, c.docMode, scale);
        }
    }
    expectGolden(QStringLiteral("draw_checkbox.txt"), out);
}

TEST_F(CheckBoxTest, RegisteredWithItsImageAndHint)
{
    frInstallWindows();
    const auto &list = frObjects().frAddInList;
    const auto it = std::find_if(list.begin(), list.end(), [](const TfrAddInObjectInfo &i) {
        return i.ClassName == QLatin1String("TfrCheckBoxView");
    });
    ASSERT_NE(it, list.end());
    EXPECT_EQ(it->ButtonHint, QStringLiteral("55224"));
    EXPECT_FALSE(it->ButtonBmp.isNull());
    EXPECT_EQ(it->Flag, 0);
    auto made = frCreateObject(otAddIn, QStringLiteral("TfrCheckBoxView"));
    ASSERT_NE(dynamic_cast<TfrCheckBoxView *>(made.get()), nullptr);
    EXPECT_EQ(frLoadString(55224), QStringLiteral("Insérer un objet boite à cocher"));
}

} // namespace
} // namespace report::test
