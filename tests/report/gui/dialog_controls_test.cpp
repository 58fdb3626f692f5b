// Dialog-page objects and the dialog page's form: a test edit control and a
// test component stand for the concrete controls, which register themselves.
#include "build_fixture.h"

#include "platform/canvas/qpaintercanvas.h"
#include "platform/forms/form.h"
#include "report/objects/frdialogcontrols.h"
#include "report/ui/frdialogform.h"

#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace report::test
{
namespace
{

class TestEditControl : public TfrControl
{
public:
    TestEditControl()
    {
        BaseName = QStringLiteral("Edit");
        auto *edit = new QLineEdit(frObjects().frDialogForm());
        edit->setText(QStringLiteral("Bonjour"));
        Control = edit;
    }
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<TestEditControl>(); }
    QString ClassName() const override { return QStringLiteral("TTestEditControl"); }
};

class TestComponent : public TfrNonVisualControl
{
public:
    TestComponent()
    {
        BaseName = QStringLiteral("Composant");
        m_component.setObjectName(QStringLiteral("Composant1"));
        Component = &m_component;
    }
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<TestComponent>(); }
    QString ClassName() const override { return QStringLiteral("TTestComponent"); }

private:
    QObject m_component;
};

class DialogControlsTest : public BuildTest
{
};

TEST_F(DialogControlsTest, NonVisualObjectKeepsItsIconBox)
{
    TestComponent c;
    c.SetBounds(40, 50, 120, 70);
    platform::RecordingCanvas canvas(measurer, QRect(0, 0, 800, 1100));
    c.Draw(canvas);
    EXPECT_EQ(std::tuple(c.dx, c.dy), std::tuple(28, 28));
    const QString dump = canvas.displayList().dump();
    EXPECT_TRUE(dump.contains(QStringLiteral("fill 40,50 29x29"))) << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral("image 42,52 24x24"))) << dump.toStdString();

    c.SetPropertyValue(QStringLiteral("Name"), QStringLiteral("Requete"));
    EXPECT_EQ(c.Component->objectName(), QStringLiteral("Requete"));
    EXPECT_EQ(c.Name, QStringLiteral("Requete"));
    const auto &props = c.PropertyList();
    ASSERT_EQ(props.size(), 2u);
    EXPECT_EQ(props[0].Name, QStringLiteral("Name"));
    EXPECT_EQ(props[1].Name, QStringLiteral("Restrictions"));
}

TEST_F(DialogControlsTest, VisibleNameAndPlacement)
{
    TestEditControl e;
    e.SetBounds(12, 24, 150, 22);
    e.SetPropertyValue(QStringLiteral("Visible"), false);
    EXPECT_TRUE(e.Control->isHidden());
    e.SetPropertyValue(QStringLiteral("VISIBLE"), true);
    EXPECT_FALSE(e.Control->isHidden());
    EXPECT_FALSE(e.Control->isWindow()); // never a window of its own
    EXPECT_TRUE(e.IsDialogControl());

    TfrDialogPageForm form;
    EXPECT_TRUE(form.PlaceControl(e));
    EXPECT_EQ(e.Control->parentWidget(), &form);
    EXPECT_EQ(e.Control->geometry(), QRect(12, 24, 150, 22));
    EXPECT_FALSE(e.Control->isHidden());
    TestComponent c;
    EXPECT_FALSE(form.PlaceControl(c));
    TfrMemoView memo;
    EXPECT_FALSE(form.PlaceControl(memo));
}

TEST_F(DialogControlsTest, HugeControlOfADamagedTemplateDrawsOverItsBox)
{
    // A box as large as a template may hold: drawn over the whole box
    // without a picture of that size.
    TestEditControl e;
    e.SetBounds(5, 6, kFrMaxGeometry, kFrMaxGeometry);
    platform::RecordingCanvas canvas(measurer, QRect(0, 0, 800, 1100));
    e.Draw(canvas);
    const QString dump = canvas.displayList().dump();
    EXPECT_TRUE(
        dump.contains(QStringLiteral("image 5,6 %1x%1 source=4096x4096").arg(kFrMaxGeometry + 1)))
        << dump.left(300).toStdString();
}

TEST_F(DialogControlsTest, DesignPictureShowsTheControl)
{
    TestEditControl e;
    e.SetBounds(10, 10, 120, 24);
    QImage page(200, 60, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        platform::QPainterCanvas canvas(&page, &measurer);
        e.Draw(canvas);
    }
    const QRgb face = platform::toQColor(platform::TColor(0x8000000F)).rgb();
    int other = 0, outside = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const bool inside = x >= 10 && x <= 130 && y >= 10 && y <= 34;
            const QRgb p = page.pixel(x, y);
            if (inside && p != face && p != qRgb(255, 255, 255))
                ++other;
            if (!inside && p != qRgb(255, 255, 255))
                ++outside;
        }
    EXPECT_GT(other, 20); // the text's pixels
    EXPECT_EQ(outside, 0);
}

TEST_F(DialogControlsTest, AssignInsideAnOldLoadKeepsTheFileVersion)
{
    fr().frTemplateVersion = 22;
    TestEditControl a, b;
    b.SetBounds(1, 2, 3, 4);
    a.Assign(b);
    EXPECT_EQ(fr().frTemplateVersion, 22);
    EXPECT_EQ(a.dx, 3);
}

class DialogPageTest : public BuildTest
{
protected:
    void SetUp() override
    {
        BuildTest::SetUp();
        platform::setAvailableScreenArea(QRect(0, 0, 1000, 800));
        page->PageTypeValue = ptDialog;
        page->Caption = QStringLiteral("Choix du tournoi");
        page->Color = 0x00FFEEDD;
        page->FormWidth = 300;
        page->FormHeight = 200;
        page->Position = 4;
        auto edit = std::make_unique<TestEditControl>();
        edit->Name = QStringLiteral("Edit1");
        edit->SetBounds(10, 10, 120, 22);
        page->Add(std::move(edit));
        TfrPage *body = report->Pages().Add();
        body->Name = QStringLiteral("Page2");
        band(btReportTitle, 0, 40, QStringLiteral("Titre"), 0, QString(), body);
        auto progressOwned = std::make_unique<FrRecordingProgressWindow>();
        progress = progressOwned.get();
        frObjects().setProgressWindow(std::move(progressOwned));
        report->ShowProgress = true;
        frObjects().frDialogFormClass = [this](TfrPage &) {
            auto form = std::make_unique<Form>();
            form->test = this;
            return form;
        };
    }
    void TearDown() override
    {
        platform::setAvailableScreenArea(QRect());
        BuildTest::TearDown();
    }

    struct Form : TfrDialogPageForm {
        DialogPageTest *test = nullptr;
        int ShowModal(const std::function<void()> &activate) override
        {
            return TfrDialogPageForm::ShowModal([this, activate] {
                test->seen.caption = windowTitle();
                test->seen.color = palette().color(QPalette::Window);
                test->seen.geometry = geometry();
                test->seen.visible = isVisible();
                test->seen.progressShown = test->progress->IsShown();
                if (test->pressEscape)
                    QTimer::singleShot(0, this, [this] { QTest::keyClick(this, Qt::Key_Escape); });
                activate();
            });
        }
    };
    struct Seen {
        QString caption;
        QColor color;
        QRect geometry;
        bool visible = false;
        bool progressShown = true;
    } seen;
    FrRecordingProgressWindow *progress = nullptr;
    bool pressEscape = false;
};

TEST_F(DialogPageTest, ScriptModalResultClosesTheFormAndTheBuildGoesOn)
{
    page->Script = QStringList{QStringLiteral("MODALRESULT := mrOk")};
    EXPECT_TRUE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Count(), 1);
    EXPECT_EQ(seen.caption, QStringLiteral("Choix du tournoi"));
    EXPECT_EQ(seen.color, QColor(0xDD, 0xEE, 0xFF));
    EXPECT_EQ(seen.geometry.size(), QSize(300, 200));
    // Centred on the screen area (the frame may shift it by a pixel).
    EXPECT_LE((seen.geometry.center() - QPoint(499, 399)).manhattanLength(), 2)
        << seen.geometry.x() << "," << seen.geometry.y();
    EXPECT_TRUE(seen.visible);
    EXPECT_FALSE(seen.progressShown);
    EXPECT_GE(progress->hides, 1);
}

TEST_F(DialogPageTest, EscapeCancelsTheBuild)
{
    pressEscape = true;
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_EQ(report->EMFPages().Count(), 0);
    EXPECT_TRUE(seen.visible);
}

} // namespace
} // namespace report::test
