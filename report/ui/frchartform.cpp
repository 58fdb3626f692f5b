#include "report/ui/frchartform.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "report/core/frlocale.h"
#include "report/objects/frchartview.h"
#include "report/objects/frglobals.h"
#include "report/ui/frctrls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <memory>

namespace report
{

namespace
{

// The icons of the six kinds, 16 x 16 on olive (drawn transparent).
QImage kindGlyph(int kind)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(QColor(128, 128, 0));
    QPainter p(&img);
    p.setPen(Qt::black);
    const QPolygon line({QPoint(1, 12), QPoint(5, 6), QPoint(9, 9), QPoint(14, 2)});
    switch (kind) {
    case 0:
        p.drawPolyline(line);
        break;
    case 1: {
        QPolygon area = line;
        area << QPoint(14, 14) << QPoint(1, 14);
        p.setBrush(QColor(0, 0, 255));
        p.drawPolygon(area);
        break;
    }
    case 2:
        for (const QPoint &pt : line)
            p.fillRect(QRect(pt - QPoint(1, 1), QSize(3, 3)), Qt::red);
        break;
    case 3:
        p.fillRect(QRect(2, 8, 3, 7), Qt::red);
        p.fillRect(QRect(6, 3, 3, 12), QColor(0, 128, 0));
        p.fillRect(QRect(10, 6, 3, 9), Qt::blue);
        break;
    case 4:
        p.fillRect(QRect(1, 2, 7, 3), Qt::red);
        p.fillRect(QRect(1, 6, 13, 3), QColor(0, 128, 0));
        p.fillRect(QRect(1, 10, 10, 3), Qt::blue);
        break;
    default:
        p.setBrush(Qt::yellow);
        p.drawEllipse(QRect(1, 1, 13, 13));
        p.setBrush(Qt::red);
        p.drawPie(QRect(1, 1, 13, 13), 0, 120 * 16);
        break;
    }
    return img;
}

} // namespace

TfrChartForm::TfrChartForm(QWidget *parent) : TfrObjEditorForm(parent)
{
    setObjectName(QStringLiteral("frChartForm"));
    auto *top = new QVBoxLayout(this);
    Pages = new QTabWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    top->addWidget(Pages);

    // Type
    auto *typePage = new QWidget;
    auto *typeLayout = new QHBoxLayout(typePage);
    GroupType = new QGroupBox(typePage);
    auto *typeGrid = new QGridLayout(GroupType);
    for (int i = 0; i < 6; ++i) {
        auto *b = new TfrSpeedButton(GroupType);
        b->setObjectName(QStringLiteral("SB%1").arg(i + 1));
        b->SetGroupIndex(1);
        b->SetGlyph(kindGlyph(i));
        b->setFixedSize(32, 32);
        typeGrid->addWidget(b, i / 3, i % 3);
        KindButtons[size_t(i)] = b;
    }
    GroupOptions = new QGroupBox(typePage);
    auto *optLayout = new QVBoxLayout(GroupOptions);
    QCheckBox **boxes[] = {&CB1, &CB2, &CB3, &CB4, &CB5, &CB6};
    for (int i = 0; i < 6; ++i) {
        *boxes[i] = new QCheckBox(GroupOptions);
        (*boxes[i])->setObjectName(QStringLiteral("CB%1").arg(i + 1));
        optLayout->addWidget(*boxes[i]);
    }
    typeLayout->addWidget(GroupType);
    typeLayout->addWidget(GroupOptions);
    Pages->addTab(typePage, QString());

    // Données
    auto *dataPage = new QWidget;
    auto *dataLayout = new QVBoxLayout(dataPage);
    GroupObjects = new QGroupBox(dataPage);
    auto *objGrid = new QGridLayout(GroupObjects);
    LabelLabels = new QLabel(GroupObjects);
    LabelValues = new QLabel(GroupObjects);
    E1 = new QLineEdit(GroupObjects);
    E1->setObjectName(QStringLiteral("E1"));
    E2 = new QLineEdit(GroupObjects);
    E2->setObjectName(QStringLiteral("E2"));
    LabelLabels->setBuddy(E1);
    LabelValues->setBuddy(E2);
    objGrid->addWidget(LabelLabels, 0, 0);
    objGrid->addWidget(E1, 0, 1);
    objGrid->addWidget(LabelValues, 1, 0);
    objGrid->addWidget(E2, 1, 1);
    GroupTop = new QGroupBox(dataPage);
    auto *topGrid = new QGridLayout(GroupTop);
    LabelTop = new QLabel(GroupTop);
    E3 = new QLineEdit(GroupTop);
    E3->setObjectName(QStringLiteral("E3"));
    LabelTop->setBuddy(E3);
    LabelTopUnit = new QLabel(GroupTop);
    LabelOthers = new QLabel(GroupTop);
    E4 = new QLineEdit(GroupTop);
    E4->setObjectName(QStringLiteral("E4"));
    LabelOthers->setBuddy(E4);
    topGrid->addWidget(LabelTop, 0, 0);
    topGrid->addWidget(E3, 0, 1);
    topGrid->addWidget(LabelTopUnit, 0, 2);
    topGrid->addWidget(LabelOthers, 1, 0);
    topGrid->addWidget(E4, 1, 1, 1, 2);
    dataLayout->addWidget(GroupObjects);
    dataLayout->addWidget(GroupTop);
    Pages->addTab(dataPage, QString());

    // Marques
    auto *marksPage = new QWidget;
    auto *marksLayout = new QVBoxLayout(marksPage);
    GroupStyle = new QGroupBox(marksPage);
    auto *styleLayout = new QVBoxLayout(GroupStyle);
    for (int i = 0; i < 5; ++i) {
        auto *r = new QRadioButton(GroupStyle);
        r->setObjectName(QStringLiteral("RB%1").arg(i + 1));
        styleLayout->addWidget(r);
        MarkButtons[size_t(i)] = r;
    }
    marksLayout->addWidget(GroupStyle);
    Pages->addTab(marksPage, QString());

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    OkBtn = new QPushButton(this);
    OkBtn->setObjectName(QStringLiteral("Button1"));
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(this);
    CancelBtn->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    top->addLayout(buttons);
    connect(OkBtn, &QPushButton::clicked, this, platform::handler([this] {
                if (!m_view || Apply(*m_view))
                    done(platform::mrOk);
            }));
    connect(CancelBtn, &QPushButton::clicked, this,
            platform::handler([this] { done(platform::mrCancel); }));
    setTexts();
}

void TfrChartForm::setTexts()
{
    setWindowTitle(frLoadString(53590));
    Pages->setTabText(0, frLoadString(53591));
    Pages->setTabText(1, frLoadString(53592));
    Pages->setTabText(2, frLoadString(53604));
    GroupType->setTitle(frLoadString(53593));
    GroupOptions->setTitle(frLoadString(53595));
    GroupObjects->setTitle(frLoadString(53594));
    GroupTop->setTitle(frLoadString(53611));
    GroupStyle->setTitle(frLoadString(53605));
    QCheckBox *boxes[] = {CB1, CB2, CB3, CB4, CB5, CB6};
    for (int i = 0; i < 6; ++i)
        boxes[i]->setText(frLoadString(53596 + i));
    LabelLabels->setText(frLoadString(53602));
    LabelValues->setText(frLoadString(53603));
    LabelTop->setText(frLoadString(53612));
    LabelTopUnit->setText(frLoadString(53614));
    LabelOthers->setText(frLoadString(53613));
    for (int i = 0; i < 5; ++i)
        MarkButtons[size_t(i)]->setText(frLoadString(53606 + i));
    OkBtn->setText(frLoadString(55000));
    CancelBtn->setText(frLoadString(55001));
}

void TfrChartForm::Load(const TfrChartView &view)
{
    const FrChartOptions &o = view.Chart.Options;
    for (int i = 0; i < 6; ++i)
        KindButtons[size_t(i)]->SetDown(i == o.Kind);
    CB1->setChecked(o.Is3D);
    CB2->setChecked(o.SingleSeries);
    CB3->setChecked(o.LegendVisible);
    CB4->setChecked(o.AxesVisible);
    CB5->setChecked(o.MarksVisible);
    CB6->setChecked(o.EachPointColored);
    E1->setText(view.Chart.LabelSource);
    E2->setText(view.Chart.ValueSource);
    E3->setText(QString::number(o.TopCount));
    E4->setText(view.Chart.OthersLabel);
    for (int i = 0; i < 5; ++i)
        MarkButtons[size_t(i)]->setChecked(i == o.MarksKind);
}

bool TfrChartForm::Apply(TfrChartView &view)
{
    // The number first: a wrong one shows its error and changes nothing.
    int topCount = 0;
    try {
        topCount = platform::StrToInt(E3->text());
    } catch (const platform::EConvertError &e) {
        platform::MessageDlg(e.Message(), platform::mtError, platform::mbOK);
        E3->setFocus();
        return false;
    }
    if (TfrReportDesigner *designer = frObjects().frCurrentDesigner)
        designer->NotifyBeforeChange();
    FrChartOptions &o = view.Chart.Options;
    for (int i = 0; i < 6; ++i)
        if (KindButtons[size_t(i)]->Down())
            o.Kind = quint8(i);
    o.Is3D = CB1->isChecked();
    o.SingleSeries = CB2->isChecked();
    o.LegendVisible = CB3->isChecked();
    o.AxesVisible = CB4->isChecked();
    o.MarksVisible = CB5->isChecked();
    o.EachPointColored = CB6->isChecked();
    view.Chart.LabelSource = E1->text();
    view.Chart.ValueSource = E2->text();
    o.TopCount = topCount;
    view.Chart.OthersLabel = E4->text();
    for (int i = 0; i < 5; ++i)
        if (MarkButtons[size_t(i)]->isChecked())
            o.MarksKind = quint8(i);
    return true;
}

int TfrChartForm::ShowEditor(TfrView &view)
{
    auto *chart = dynamic_cast<TfrChartView *>(&view);
    if (!chart)
        return platform::mrCancel;
    setTexts();
    Pages->setCurrentIndex(0);
    Load(*chart);
    m_view = chart;
    platform::ModalScope scope(parentWidget());
    const int result = exec();
    m_view = nullptr;
    return result;
}

void frInstallChartEditor()
{
    frObjects().chartEditor = [](TfrView &view) {
        FrObjectGlobals &g = frObjects();
        if (!g.chartForm)
            g.chartForm = std::make_unique<TfrChartForm>();
        return static_cast<TfrChartForm *>(g.chartForm.get())->ShowEditor(view) == platform::mrOk;
    };
}

} // namespace report
