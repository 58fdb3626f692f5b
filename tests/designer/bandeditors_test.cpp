// The band dialogs: record source texts read and written, the cross band's
// list of sources, which band types a new band may take, the group
// condition, their dispatch by band type; and the band tool of the real
// window asking the type of the band it inserts.
#include "tests/designer/designer_fixture.h"
#include "tests/designer/window_fixture.h"

#include "designer/core/bandsources.h"
#include "designer/ui/bandforms.h"
#include "designer/ui/designerform.h"
#include "designer/ui/designerregistration.h"
#include "designer/ui/dictparts.h"

#include "platform/forms/application.h"
#include "platform/registry/registry.h"
#include "report/core/frstream.h"
#include "report/data/frdataset.h"
#include "report/data/frdictionary.h"
#include "report/ui/frctrls.h"
#include "tests/support/gui/shots.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace designer::test
{
namespace
{

using namespace report;

QByteArray streamOf(TfrView *v)
{
    FrMemoryStream s;
    v->SaveToStream(s);
    return s.data();
}

// Record sources Source1 and Source2 on the report's form; Source2 is
// listed by its alias "Lignes".
class BandEditorTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        owner.setObjectName(QStringLiteral("Form1"));
        for (const char *name : {"Source1", "Source2"})
            (new TfrUserDataset(&owner))->setObjectName(QString::fromLatin1(name));
        fr().registerForm(&owner);
        rep->Dictionary().BandDataSources.SetVariable(QStringLiteral("Source1"),
                                                      FrVariant(QString()));
        rep->Dictionary().BandDataSources.SetVariable(QStringLiteral("Source2"),
                                                      FrVariant(QStringLiteral("Lignes")));
    }
    void TearDown() override
    {
        fr().unregisterComponent(&owner);
        DesignerFixture::TearDown();
    }
    TfrDataDictionary &dict() { return rep->Dictionary(); }
};

TEST_F(BandEditorTest, SourceTextsReadAndWritten)
{
    const QStringList items = bandSourceItems(dict());
    ASSERT_EQ(items, (QStringList{QStringLiteral("[Aucun]"), QStringLiteral("Source virtuelle"),
                                  QStringLiteral("Lignes"), QStringLiteral("Source1")}));
    struct Case {
        const char *text;
        int item;
        const char *count;
        const char *written; // what the same choice writes back
    } cases[] = {
        {"12", 1, "12", "12"},          {"", 0, "", "[Aucun]"},
        {"0", 0, "", "[Aucun]"}, // not a count: no such source
        {"Source2", 2, "", "Source2"},  {"Source1", 3, "", "Source1"},
        {"Inconnue", 0, "", "[Aucun]"},
    };
    for (const Case &c : cases) {
        const BandSourceChoice choice =
            classifyBandSource(QString::fromUtf8(c.text), items, dict());
        EXPECT_EQ(choice.item, c.item) << c.text;
        EXPECT_EQ(choice.count, QString::fromUtf8(c.count)) << c.text;
        EXPECT_EQ(bandSourceText(choice, items, dict()), QString::fromUtf8(c.written)) << c.text;
    }
}

TEST_F(BandEditorTest, CrossBandSourceLists)
{
    band(btMasterData, 40, 20, QStringLiteral("MasterData1"));
    band(btPageHeader, 0, 20, QStringLiteral("PageHeader1"));
    band(btCrossData, 0, 200, QStringLiteral("CrossData1"));
    band(btDetailData, 80, 20, QStringLiteral("DetailData1"));
    struct Case {
        const char *text;
        QStringList values;
        const char *built;
    } cases[] = {
        {"MasterData1=5;", {"5", "0"}, "MasterData1=5;DetailData1=0;"},
        {"7", {"7", "7"}, "MasterData1=7;DetailData1=7;"},
        {"", {"", ""}, "MasterData1=;DetailData1=;"},
        {"detaildata1=Source1;MASTERDATA1=3;",
         {"3", "Source1"},
         "MasterData1=3;DetailData1=Source1;"},
        // A name ending another's is not that one.
        {"XMasterData1=9;MasterData1=4;", {"4", "0"}, "MasterData1=4;DetailData1=0;"},
    };
    for (const Case &c : cases) {
        const std::vector<CrossSourceRow> rows = crossSourceRows(*page, QString::fromUtf8(c.text));
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].text(), QStringLiteral("MasterData1: Données maitre"));
        QStringList got;
        for (const CrossSourceRow &r : rows)
            got << r.value;
        EXPECT_EQ(got, c.values) << c.text;
        EXPECT_EQ(buildCrossSources(rows), QString::fromUtf8(c.built)) << c.text;
    }
}

TEST_F(BandEditorTest, BandTypeAvailability)
{
    struct Case {
        int type;
        bool used;
        bool target;
        bool available;
    } cases[] = {
        {btPageHeader, false, false, true},     {btPageHeader, true, false, false},
        {btGroupHeader, true, false, true},     {btMasterData, true, false, true},
        {btSubDetailFooter, true, false, true}, {btChild, true, false, true},
        {btOverlay, true, false, false},        {btCrossData, true, false, false},
        {btReportTitle, false, true, false},    {btPageFooter, false, true, false},
        {btColumnHeader, false, true, false},   {btGroupFooter, true, true, false},
        {btMasterHeader, true, true, true},     {btOverlay, false, true, true},
        {btCrossHeader, false, true, true},     {btChild, true, true, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(bandTypeAvailable(c.type, c.used, c.target), c.available)
            << c.type << " used " << c.used << " target " << c.target;
}

TEST_F(BandEditorTest, DataBandEditorOpensOnTheCountAndWritesOnce)
{
    TfrBandView *b = band(btMasterData, 40, 20, QStringLiteral("MasterData1"));
    b->FormatStr = QStringLiteral("12");
    TfrBandEditorForm f;
    f.Load(*b);
    EXPECT_EQ(f.LB1->currentRow(), 1);
    EXPECT_EQ(f.LB1->currentItem()->text(), QStringLiteral("Source virtuelle"));
    EXPECT_EQ(f.E1->text(), QStringLiteral("12"));
    EXPECT_TRUE(f.E1->isEnabled());
    EXPECT_EQ(f.LB1->item(0)->icon().pixmap(18, 16).toImage().pixelColor(9, 8).alpha(), 0);
    EXPECT_FALSE(f.LB1->item(1)->icon().isNull());
    f.LB1->setCurrentRow(2);
    EXPECT_FALSE(f.E1->isEnabled());
    EXPECT_FALSE(f.Label2->isEnabled());
    f.Apply(*b);
    EXPECT_EQ(b->FormatStr, QStringLiteral("Source2")); // the alias's real name
    EXPECT_EQ(designerWindow->beforeChanges, 1);
}

TEST_F(BandEditorTest, CrossBandEditor)
{
    TfrBandView *cross = band(btCrossData, 0, 200, QStringLiteral("CrossData1"));
    {
        // No band to cross: Cancel, nothing shown, nothing recorded.
        const QByteArray before = streamOf(cross);
        TfrVBandEditorForm f;
        EXPECT_EQ(f.ShowEditor(*cross), platform::mrCancel);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(streamOf(cross), before);
        EXPECT_EQ(designerWindow->beforeChanges, 0);
    }
    band(btMasterData, 40, 20, QStringLiteral("MasterData1"));
    band(btDetailData, 80, 20, QStringLiteral("DetailData1"));
    cross->FormatStr = QStringLiteral("MasterData1=5;");
    TfrVBandEditorForm f;
    ASSERT_TRUE(f.Load(*cross));
    ASSERT_EQ(f.LB1->count(), 2);
    EXPECT_EQ(f.CB1->currentIndex(), 1);
    EXPECT_EQ(f.E1->text(), QStringLiteral("5"));
    f.LB1->setCurrentRow(1);
    EXPECT_EQ(f.CB1->currentIndex(), 0);
    EXPECT_FALSE(f.E1->isEnabled());
    // The second band gets Source1; the first is shown again unchanged.
    f.CB1->setCurrentIndex(3);
    f.LB1->setCurrentRow(0);
    EXPECT_EQ(f.E1->text(), QStringLiteral("5"));
    f.E1->setText(QStringLiteral("8"));
    emit f.E1->textEdited(f.E1->text());
    f.Apply(*cross);
    EXPECT_EQ(cross->FormatStr, QStringLiteral("MasterData1=8;DetailData1=Source1;"));
    EXPECT_EQ(designerWindow->beforeChanges, 1);
}

// 5,000 items of a name no band has: read in one pass, and Cancel leaves
// the band as it was.
TEST_F(BandEditorTest, AHugeCrossSourceTextIsReadOnce)
{
    TfrBandView *cross = band(btCrossData, 0, 200, QStringLiteral("CrossData1"));
    band(btMasterData, 40, 20, QStringLiteral("MasterData1"));
    band(btDetailData, 80, 20, QStringLiteral("x"));
    QString text;
    for (int i = 0; i < 5000; ++i)
        text += QStringLiteral("x=1;");
    cross->FormatStr = text;
    const QByteArray before = streamOf(cross);
    const std::vector<CrossSourceRow> rows = crossSourceRows(*page, text);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].value, QStringLiteral("0"));
    EXPECT_EQ(rows[1].value, QStringLiteral("1"));
    TfrVBandEditorForm f;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(QApplication::activeModalWidget(), &f);
        f.Button2->click();
    });
    EXPECT_EQ(f.ShowEditor(*cross), platform::mrCancel);
    EXPECT_EQ(streamOf(cross), before);
    EXPECT_EQ(designerWindow->beforeChanges, 0);
}

TEST_F(BandEditorTest, BandTypesDialog)
{
    band(btPageHeader, 0, 20, QStringLiteral("PageHeader1"));
    auto used = [this](int type) { return core->state.BandTypeUsed(type); };
    TfrBandTypesForm f;
    f.Prepare(false, used);
    EXPECT_FALSE(f.Buttons[btPageHeader]->isEnabled());
    EXPECT_TRUE(f.Buttons[btGroupHeader]->isEnabled());
    EXPECT_TRUE(f.Buttons[btReportTitle]->isChecked());
    EXPECT_EQ(f.SelectedType, btReportTitle);
    // Two columns of 0..10 and 11..21, none clipped, inside the box.
    for (int t = 0; t < 22; ++t) {
        QRadioButton *b = f.Buttons[size_t(t)];
        EXPECT_EQ(b->x(), t <= 10 ? 12 : f.Buttons[11]->x()) << t;
        EXPECT_EQ(b->y(), 20 + 20 * (t <= 10 ? t : t - 11)) << t;
        EXPECT_GE(b->width(), b->sizeHint().width()) << t;
        EXPECT_TRUE(f.GB1->rect().contains(b->geometry())) << t;
    }
    EXPECT_GT(f.Buttons[11]->x(), f.Buttons[0]->x() + f.Buttons[0]->width());
    EXPECT_TRUE(f.rect().contains(f.Button2->geometry()));
    EXPECT_LT(f.Button1->x() + f.Button1->width(), f.Button2->x());

    // On a subreport's page: the first enabled is the master header.
    f.Prepare(true, used);
    for (int t : {0, 1, 2, 3, 14, 15, 16, 17})
        EXPECT_FALSE(f.Buttons[size_t(t)]->isEnabled()) << t;
    EXPECT_EQ(f.SelectedType, btMasterHeader);
    f.Buttons[btDetailData]->click();
    EXPECT_EQ(f.SelectedType, btDetailData);

    if (vorn_test::shotsRequested()) {
        f.Prepare(false, used);
        f.show();
        QApplication::processEvents();
        vorn_test::saveShot(&f, QStringLiteral("bandtypes.png"));
        f.hide();
    }

    // Shown modally: OK answers the chosen type, Cancel nothing.
    for (bool ok : {true, false}) {
        QTimer::singleShot(0, [&] {
            f.Buttons[btGroupHeader]->click();
            (ok ? f.Button1 : f.Button2)->click();
        });
        EXPECT_EQ(f.Choose(false, used), ok ? std::optional<int>(btGroupHeader) : std::nullopt);
    }
}

TEST_F(BandEditorTest, GroupEditorTakesTheDesignersExpression)
{
    TfrBandView *group = band(btGroupHeader, 40, 20, QStringLiteral("GroupHeader1"));
    group->FormatStr = QStringLiteral("[Clients.\"Ville\"]");
    TfrGroupEditorForm f;
    f.Load(*group);
    EXPECT_EQ(f.CB1->currentText(), QStringLiteral("[Clients.\"Ville\"]"));
    EXPECT_EQ(f.CB1->ButtonHint(), QStringLiteral("Insérer un champ de données"));
    designerWindow->expression = QString(); // cancelled: the text stays
    f.pickExpression();
    EXPECT_EQ(f.CB1->currentText(), QStringLiteral("[Clients.\"Ville\"]"));
    designerWindow->expression = QStringLiteral("[Clients.\"Nom\"]");
    f.pickExpression();
    EXPECT_EQ(f.CB1->currentText(), QStringLiteral("[Clients.\"Nom\"]"));
    f.Apply(*group);
    EXPECT_EQ(group->FormatStr, QStringLiteral("[Clients.\"Nom\"]"));
    EXPECT_EQ(designerWindow->beforeChanges, 1);
}

// Each band type reaches its dialog; OK records one entry, Cancel none.
TEST_F(BandEditorTest, DispatchByBandType)
{
    struct Case {
        int type;
        const char *dialog; // nullptr: none
    } cases[] = {
        {btMasterData, "frBandEditorForm"},
        {btDetailData, "frBandEditorForm"},
        {btSubDetailData, "frBandEditorForm"},
        {btGroupHeader, "frGroupEditorForm"},
        {btCrossData, "frVBandEditorForm"},
        {btPageHeader, nullptr},
        {btGroupFooter, nullptr},
    };
    band(btMasterData, 300, 20, QStringLiteral("Crossed"));
    for (const Case &c : cases) {
        for (bool ok : {true, false}) {
            TfrBandView *b = band(c.type, 40, 20, QStringLiteral("B%1").arg(c.type));
            const int before = designerWindow->beforeChanges;
            QString shown;
            QTimer::singleShot(0, [&] {
                QWidget *w = QApplication::activeModalWidget();
                if (!w)
                    return;
                shown = w->objectName();
                w->findChild<QPushButton *>(ok ? QStringLiteral("Button1")
                                               : QStringLiteral("Button2"))
                    ->click();
            });
            const bool result = frEditBand(b, nullptr);
            EXPECT_EQ(shown, QString::fromLatin1(c.dialog ? c.dialog : "")) << c.type;
            EXPECT_EQ(result, c.dialog && ok) << c.type;
            EXPECT_EQ(designerWindow->beforeChanges - before, c.dialog && ok ? 1 : 0) << c.type;
            QApplication::processEvents();
            page->Delete(page->IndexOfObjectID(b->ID));
        }
    }
}

// The install step fills the three slots; the type dialog hears the page's
// bands through the designer's state.
TEST_F(BandEditorTest, InstallFillsTheSlots)
{
    installDictionaryParts(*core, nullptr);
    RequestSlots &req = core->state.Requests;
    ASSERT_TRUE(req.dictionary && req.bandType && req.bandEditor);
    band(btReportTitle, 0, 20, QStringLiteral("ReportTitle1"));
    int offered = -1;
    QTimer::singleShot(0, [&] {
        auto *f = qobject_cast<TfrBandTypesForm *>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        offered = f->SelectedType;
        f->Button1->click();
    });
    EXPECT_EQ(req.bandType(false), std::optional<int>(btReportSummary));
    EXPECT_EQ(offered, btReportSummary);
    EXPECT_FALSE(req.bandEditor(band(btPageHeader, 30, 20, QStringLiteral("PageHeader1"))));
}

// --- the real window

class BandToolWindowTest : public DesignerWindowFixture
{
};

TEST_F(BandToolWindowTest, TheBandToolAsksTheTypeOfTheNewBand)
{
    design([&](TfrDesignerForm &form) {
        TfrDesignerForm *f = &form;
        QApplication::processEvents();
        // The band's own editor would open on the new band.
        f->state().Settings.EditAfterInsert = false;
        EXPECT_TRUE(f->button(QStringLiteral("OB3"))->isEnabled());
        QTest::mouseClick(f->button(QStringLiteral("OB3")), Qt::LeftButton);
        int offered = -1;
        QTimer::singleShot(0, [&] {
            auto *types = qobject_cast<TfrBandTypesForm *>(QApplication::activeModalWidget());
            ASSERT_NE(types, nullptr);
            offered = types->SelectedType;
            types->Buttons[btMasterData]->click();
            types->Button1->click();
        });
        auto send = [&](QEvent::Type type, Qt::MouseButton b, Qt::MouseButtons bs) {
            const QPoint p(40, 60);
            QMouseEvent e(type, p, f->PageView->mapToGlobal(p), b, bs, {});
            QApplication::sendEvent(f->PageView, &e);
        };
        send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
        send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(offered, btReportTitle);
        ASSERT_EQ(page->ObjectCount(), 1);
        auto *b = dynamic_cast<TfrBandView *>(page->Objects[0].get());
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->GetBandType(), btMasterData);
        EXPECT_EQ(b->Name, QStringLiteral("DonnéesMaitre1"));
        f->SetModified(false);
        f->ExitBClick();
    });
}

} // namespace
} // namespace designer::test
