// The chart object: the values a build gathers, the chart description it
// draws (through a renderer that records it), its record, the picture item
// and an offscreen render by Qt Charts.
#include "build_fixture.h"

#include "platform/canvas/qpaintercanvas.h"
#include "report/objects/frchartview.h"
#include "report/ui/frchartform.h"
#include "report/ui/frctrls.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace report::test
{
namespace
{

class ChartViewTest : public BuildTest
{
protected:
    void SetUp() override
    {
        BuildTest::SetUp();
        frRegisterChartView();
        platform::setChartRenderer([this](const platform::ChartDescription &d, const QSize &size) {
            rendered += d.dump();
            QPicture picture;
            QPainter p(&picture);
            p.fillRect(QRect(QPoint(0, 0), size), Qt::red);
            p.end();
            picture.setBoundingRect(QRect(QPoint(0, 0), size));
            return picture;
        });
    }
    void TearDown() override
    {
        platform::setChartRenderer({});
        BuildTest::TearDown();
    }
    TfrChartView *chart(TfrPage *on, int y)
    {
        auto v = std::make_unique<TfrChartView>();
        v->Name = QStringLiteral("Chart1");
        v->SetBounds(20, y, 300, 200);
        v->Chart.LabelSource = QStringLiteral("Nom");
        v->Chart.ValueSource = QStringLiteral("Score");
        return static_cast<TfrChartView *>(on->Add(std::move(v)));
    }
    QString rendered;
};

TEST_F(ChartViewTest, BuildGathersTheNamedMemosPerGroup)
{
    band(btMasterData, 40, 20, QStringLiteral("Donnees"), 0, QStringLiteral("5"));
    memo(QStringLiteral("Nom"), 20, 40, 100, 20, QStringLiteral("P[LINE#]"));
    memo(QStringLiteral("Score"), 200, 40, 100, 20, QStringLiteral("[LINE# * 10]"));
    band(btReportSummary, 100, 210, QStringLiteral("Resume"));
    chart(page, 100);
    ASSERT_TRUE(report->PrepareReport());
    TfrEMFPages &pages = report->EMFPages();
    pages.BuildPageObjects(0);
    TfrView *prepared = nullptr;
    for (const auto &v : pages.Entry(0)->Page->Objects)
        if (v->Name == QLatin1String("Chart1"))
            prepared = v.get();
    ASSERT_NE(prepared, nullptr);
    EXPECT_EQ(prepared->Memo,
              QStringList({QStringLiteral("P1;P2;P3;P4;P5;"), QStringLiteral("10;20;30;40;50;")}));
}

TEST_F(ChartViewTest, AChartInAGroupFooterShowsItsGroupOnly)
{
    band(btGroupHeader, 20, 10, QStringLiteral("Groupe"), 0, QStringLiteral("[LINE# > 2]"));
    band(btMasterData, 40, 20, QStringLiteral("Donnees"), 0, QStringLiteral("5"));
    memo(QStringLiteral("Nom"), 20, 40, 100, 20, QStringLiteral("P[LINE#]"));
    memo(QStringLiteral("Score"), 200, 40, 100, 20, QStringLiteral("[LINE#]"));
    band(btGroupFooter, 100, 210, QStringLiteral("PiedGroupe"));
    chart(page, 100);
    ASSERT_TRUE(report->PrepareReport());
    QStringList charts;
    TfrEMFPages &pages = report->EMFPages();
    for (int i = 0; i < pages.Count(); ++i) {
        pages.BuildPageObjects(i);
        for (const auto &v : pages.Entry(i)->Page->Objects)
            if (v->Name == QLatin1String("Chart1"))
                charts << v->Memo.join(QLatin1Char('|'));
    }
    // LINE# counts within the group, so each footer's chart starts at P1.
    EXPECT_EQ(charts,
              QStringList({QStringLiteral("P1;P2;P3;|1;2;3;"), QStringLiteral("P1;P2;|1;2;")}));
}

TEST_F(ChartViewTest, DescriptionsOfEveryKindAndMark)
{
    const QStringList single = {QStringLiteral("Nord;Sud;Est;"),
                                QStringLiteral("1 234,50 €;-12,5;40;")};
    const QStringList multi = {QStringLiteral("2023;2024;"), QStringLiteral("3;4;"),
                               QStringLiteral("5;6;")};
    QString out;
    TfrChartView v;
    for (int kind = 0; kind <= 5; ++kind) {
        v.Chart.Options.Kind = quint8(kind);
        v.Chart.Options.MarksKind = quint8(kind % 5);
        v.Chart.Options.SingleSeries = 1;
        v.Chart.Options.EachPointColored = quint8(kind % 2);
        v.Chart.Options.AxesVisible = quint8(kind == 3);
        out += v.Describe(single).dump();
        v.Chart.Options.SingleSeries = 0;
        out += v.Describe(multi).dump();
    }
    v.Chart.Options.SingleSeries = 1;
    v.Chart.Options.TopCount = 2;
    v.Chart.OthersLabel = QStringLiteral("Autres");
    v.FillColor = 0x00C0FFFF;
    out += v.Describe(single).dump();
    expectGolden(QStringLiteral("chart_descriptions.txt"), out);
}

TEST_F(ChartViewTest, DrawingAndRecords)
{
    TfrChartView v;
    v.SetBounds(10, 20, 100, 60);
    v.FrameTyp = 15;
    frObjects().frDocMode = 1;
    auto dump = [&](TfrChartView &view, double scale = 1.0) {
        view.ScaleX = view.ScaleY = scale;
        platform::RecordingCanvas canvas(measurer, QRect(0, 0, 800, 1100));
        view.Draw(canvas);
        return canvas.displayList().dump();
    };
    // No point: background and frame only, nothing rendered.
    QString out = QStringLiteral("== empty\n") + dump(v);
    EXPECT_TRUE(rendered.isEmpty());
    v.Memo = QStringList{QStringLiteral("a;b;"), QStringLiteral("1;2;")};
    out += QStringLiteral("== points\n") + dump(v);
    out += QStringLiteral("== points x1.5\n") + dump(v, 1.5);
    EXPECT_FALSE(rendered.isEmpty());

    // A new chart with empty sources writes options; a picture record is
    // written back as read and draws its placeholder.
    TfrChartView fresh;
    FrMemoryStream s;
    fresh.SaveToStream(s);
    FrMemoryStream in(s.data());
    TfrChartView back;
    back.LoadFromStream(in);
    EXPECT_FALSE(back.Chart.HasPicture);
    EXPECT_EQ(in.position(), s.data().size());
    v.Chart.HasPicture = true;
    v.Chart.Picture = QByteArray("\x01\x02\x03", 3);
    const QByteArray withPicture = recordOf(v);
    FrMemoryStream in2(withPicture);
    TfrChartView back2;
    back2.LoadFromStream(in2);
    EXPECT_EQ(recordOf(back2), withPicture);
    back2.SetBounds(10, 20, 100, 60);
    out += QStringLiteral("== picture record\n") + dump(back2);
    frObjects().frDocMode = 0;
    expectGolden(QStringLiteral("draw_chart.txt"), out);
    expectGoldenBytes(QStringLiteral("chart_kind1.bin"), withPicture);
}

TEST_F(ChartViewTest, PictureItemReplaysAtAnyScale)
{
    TfrChartView v;
    v.SetBounds(10, 10, 80, 40);
    v.Memo = QStringList{QStringLiteral("a;"), QStringLiteral("1;")};
    frObjects().frDocMode = 1;
    platform::RecordingCanvas rec(measurer, QRect(0, 0, 200, 200));
    v.Draw(rec);
    frObjects().frDocMode = 0;
    for (double scale : {1.0, 1.5}) {
        QImage image(200, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            platform::QPainterCanvas canvas(&image, &measurer);
            rec.displayList().replay(canvas, scale, scale);
        }
        // The recorded rectangle (10, 10)-(91, 51), scaled.
        auto r = [scale](int c) { return int(std::nearbyint(c * scale)); };
        const QRect expected(QPoint(r(10), r(10)), QPoint(r(91) - 1, r(51) - 1));
        int redInside = 0, redOutside = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == qRgb(255, 0, 0))
                    (expected.adjusted(-1, -1, 1, 1).contains(x, y) ? redInside : redOutside)++;
        EXPECT_GT(redInside, expected.width() * expected.height() / 2) << scale;
        EXPECT_EQ(redOutside, 0) << scale;
    }
}

TEST_F(ChartViewTest, QtChartsRenderStaysInsideItsRectangle)
{
    platform::setChartRenderer({});
    TfrChartView v;
    v.SetBounds(50, 50, 240, 160);
    v.FillColor = 0x00E0E0E0;
    v.Memo = QStringList{QStringLiteral("Nord;Sud;Est;"), QStringLiteral("10;25;7;")};
    for (int kind = 0; kind <= 5; ++kind) {
        v.Chart.Options.Kind = quint8(kind);
        QImage image(340, 260, QImage::Format_RGB32);
        image.fill(Qt::white);
        frObjects().frDocMode = 1;
        {
            platform::QPainterCanvas canvas(&image, &measurer);
            v.Draw(canvas);
        }
        frObjects().frDocMode = 0;
        int inside = 0, outside = 0;
        const QRect rect(50, 50, 241, 161);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (rect.contains(x, y))
                    inside += p != qRgb(255, 255, 255) && p != qRgb(0xE0, 0xE0, 0xE0) ? 1 : 0;
                else
                    outside += p != qRgb(255, 255, 255) ? 1 : 0;
            }
        EXPECT_GT(inside, 200) << kind;
        EXPECT_EQ(outside, 0) << kind;
    }
}

TEST_F(ChartViewTest, EditorShowsItsTextsAndWritesOnOk)
{
    frInstallChartEditor();
    FrCountingDesigner designer;
    frObjects().frCurrentDesigner = &designer;
    TfrChartView v;
    v.Chart.Options.Kind = 5;
    v.Chart.Options.Reserved[3] = 9;
    v.Chart.LabelSource = QStringLiteral("Nom");
    TfrChartForm *shown = nullptr;
    QStringList texts;
    auto press = [&](const std::function<void(TfrChartForm &)> &edit, const char *button) {
        QTimer::singleShot(0, [&, edit, button] {
            shown = qobject_cast<TfrChartForm *>(QApplication::activeModalWidget());
            ASSERT_NE(shown, nullptr);
            texts = {shown->windowTitle(),     shown->Pages->tabText(0),
                     shown->Pages->tabText(1), shown->Pages->tabText(2),
                     shown->CB3->text(),       shown->MarkButtons[3]->text(),
                     shown->OkBtn->text(),     shown->CancelBtn->text()};
            edit(*shown);
            QTest::mouseClick(shown->findChild<QPushButton *>(QLatin1String(button)),
                              Qt::LeftButton);
            // A refused OK leaves the editor open: cancel it.
            if (shown->isVisible())
                QTest::mouseClick(shown->CancelBtn, Qt::LeftButton);
        });
        v.ShowObjectEditor();
    };
    press(
        [](TfrChartForm &f) {
            EXPECT_TRUE(f.KindButtons[5]->Down());
            EXPECT_EQ(f.E1->text(), QStringLiteral("Nom"));
            QTest::mouseClick(f.KindButtons[3], Qt::LeftButton);
            f.E2->setText(QStringLiteral("Score"));
            f.E3->setText(QStringLiteral("4"));
            f.MarkButtons[2]->setChecked(true);
            f.CB1->setChecked(false);
        },
        "Button1");
    EXPECT_EQ(texts, QStringList({QStringLiteral("Objet Graphique"), QStringLiteral("Type"),
                                  QStringLiteral("Données"), QStringLiteral("Marques"),
                                  QStringLiteral("Voir la &légende"),
                                  QStringLiteral("Libellé et pourcentage"), QStringLiteral("OK"),
                                  QStringLiteral("Annuler")}));
    EXPECT_EQ(v.Chart.Options.Kind, 3);
    EXPECT_EQ(v.Chart.ValueSource, QStringLiteral("Score"));
    EXPECT_EQ(std::tuple(v.Chart.Options.TopCount, v.Chart.Options.MarksKind, v.Chart.Options.Is3D,
                         v.Chart.Options.Reserved[3]),
              std::tuple(4, 2, 0, 9));
    EXPECT_EQ(designer.beforeChanges, 1);

    const FrChartRecord before = v.Chart;
    press(
        [](TfrChartForm &f) {
            f.E1->setText(QStringLiteral("Autre"));
            f.E3->setText(QStringLiteral("x"));
        },
        "Button1");
    EXPECT_EQ(v.Chart.LabelSource, before.LabelSource);
    EXPECT_EQ(v.Chart.Options.TopCount, 4);
    EXPECT_EQ(designer.beforeChanges, 1);
    ASSERT_EQ(fakes->dialogs.messages.size(), 1u);
    EXPECT_EQ(fakes->dialogs.messages[0].text,
              QStringLiteral("'x' n'est pas une valeur entière correcte"));
    frObjects().frCurrentDesigner = nullptr;
}

} // namespace
} // namespace report::test
