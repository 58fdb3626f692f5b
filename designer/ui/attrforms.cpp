#include "designer/ui/attrforms.h"

#include "designer/core/designercore.h"
#include "designer/ui/dialogrows.h"
#include "designer/ui/exprforms.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "report/core/frlocale.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frview.h"
#include "report/ui/frctrls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace designer
{

namespace attrforms_detail
{

constexpr platform::TColor kTransparent = 0x1FFFFFFF;
constexpr int kItalic = 1, kBold = 2, kUnderline = 4;

QCheckBox *checkBox(QWidget *parent, int textId, const char *name)
{
    auto *box = new QCheckBox(report::frLoadString(textId), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// The colour dialog opens on a colour it can show: "no fill" starts white.
std::optional<platform::TColor> askColor(platform::TColor current, QWidget *parent)
{
    const platform::TColor start = current == kTransparent ? platform::TColor(0xFFFFFF) : current;
    const std::optional<std::int32_t> chosen = platform::dialogs().chooseColor(start, parent);
    if (!chosen)
        return std::nullopt;
    return platform::TColor(*chosen);
}

} // namespace attrforms_detail

using namespace attrforms_detail;

QIcon colorSwatch(platform::TColor color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    if (color == kTransparent) {
        p.setPen(QColor(128, 128, 128));
        for (int x = -12; x < 16; x += 4)
            p.drawLine(x, 12, x + 12, 0);
    } else {
        p.fillRect(pixmap.rect(), platform::toQColor(color));
    }
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, 15, 11);
    return QIcon(pixmap);
}

// --- highlight

TfrHilightForm::TfrHilightForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frHilightForm"));
    setWindowTitle(report::frLoadString(53520));
    Label1 = new QLabel(report::frLoadString(53521), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = newExpressionBox(this, QStringLiteral("Edit1"));
    Edit1->OnButtonClick = [this] { ExprButtonClick(); };
    Label1->setBuddy(Edit1);

    GroupBox1 = new QGroupBox(report::frLoadString(53522), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    SpeedButton1 = new QPushButton(report::frLoadString(53523), GroupBox1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    CB1 = checkBox(GroupBox1, 53524, "CB1");
    CB2 = checkBox(GroupBox1, 53525, "CB2");
    CB3 = checkBox(GroupBox1, 53526, "CB3");
    auto *fontLayout = columnOf(GroupBox1, {SpeedButton1, CB1, CB2, CB3});
    fontLayout->addStretch();

    GroupBox2 = new QGroupBox(report::frLoadString(53527), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    RB1 = new QRadioButton(report::frLoadString(53529), GroupBox2);
    RB1->setObjectName(QStringLiteral("RB1"));
    RB2 = new QRadioButton(report::frLoadString(53530), GroupBox2);
    RB2->setObjectName(QStringLiteral("RB2"));
    SpeedButton2 = new QPushButton(report::frLoadString(53528), GroupBox2);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    auto *fillLayout = columnOf(GroupBox2, {RB1, RB2, SpeedButton2});
    fillLayout->addStretch();

    auto *condition = new QHBoxLayout;
    condition->addWidget(Label1);
    condition->addWidget(Edit1, 1);
    auto *groups = new QHBoxLayout;
    groups->addWidget(GroupBox1);
    groups->addWidget(GroupBox2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(condition);
    layout->addLayout(groups, 1);
    layout->addLayout(okCancelRow(this, OkB, CancelB));
    resize(380, 250);

    connect(SpeedButton1, &QPushButton::clicked, this,
            platform::handler(this, &TfrHilightForm::SpeedButton1Click));
    connect(SpeedButton2, &QPushButton::clicked, this,
            platform::handler(this, &TfrHilightForm::SpeedButton2Click));
    connect(RB1, &QRadioButton::clicked, this, platform::handler(this, &TfrHilightForm::RB1Click));
    connect(RB2, &QRadioButton::clicked, this, platform::handler(this, &TfrHilightForm::RB2Click));
}

TfrHilightForm::~TfrHilightForm() = default;

void TfrHilightForm::SetChoice(const HighlightChoice &choice)
{
    Edit1->setEditText(choice.condition);
    FontColor = choice.fontColor;
    FillColor = choice.fillColor;
    CB1->setChecked(choice.fontStyle & kBold);
    CB2->setChecked(choice.fontStyle & kItalic);
    CB3->setChecked(choice.fontStyle & kUnderline);
    m_otherStyleBits = choice.fontStyle & ~(kBold | kItalic | kUnderline);
    FormActivate();
}

HighlightChoice TfrHilightForm::Choice() const
{
    HighlightChoice c;
    c.condition = Edit1->currentText();
    c.fontColor = FontColor;
    c.fillColor = FillColor;
    c.fontStyle = m_otherStyleBits | (CB1->isChecked() ? kBold : 0) |
                  (CB2->isChecked() ? kItalic : 0) | (CB3->isChecked() ? kUnderline : 0);
    return c;
}

void TfrHilightForm::FormActivate()
{
    const bool transparent = FillColor == kTransparent;
    RB1->setChecked(transparent);
    RB2->setChecked(!transparent);
    showColors();
}

void TfrHilightForm::showColors()
{
    SpeedButton1->setIcon(colorSwatch(FontColor));
    SpeedButton2->setIcon(colorSwatch(FillColor));
    SpeedButton2->setEnabled(RB2->isChecked());
}

void TfrHilightForm::SpeedButton1Click()
{
    if (const std::optional<platform::TColor> c = askColor(FontColor, this))
        FontColor = *c;
    showColors();
}

void TfrHilightForm::SpeedButton2Click()
{
    if (const std::optional<platform::TColor> c = askColor(FillColor, this))
        FillColor = *c;
    showColors();
}

void TfrHilightForm::RB1Click()
{
    FillColor = kTransparent;
    showColors();
}

void TfrHilightForm::RB2Click()
{
    // The colour stays what it was until one is picked.
    showColors();
}

void TfrHilightForm::ExprButtonClick()
{
    if (const std::optional<QString> text = frEditExpression(Edit1->currentText(), this))
        Edit1->setEditText(*text);
}

void TfrHilightForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        showColors();
}

// --- tag

TfrAttrEditorForm::TfrAttrEditorForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frAttrEditorForm"));
    setWindowTitle(report::frLoadString(53740));
    Edit1 = newExpressionBox(this, QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(300);
    Edit1->OnButtonClick = [this] { ExprButtonClick(); };
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    layout->addStretch();
    layout->addLayout(okCancelRow(this, OkB, CancelB));
    resize(340, 100);
}

TfrAttrEditorForm::~TfrAttrEditorForm() = default;

QString TfrAttrEditorForm::Text() const
{
    return Edit1->currentText();
}

void TfrAttrEditorForm::SetText(const QString &text)
{
    Edit1->setEditText(text);
}

void TfrAttrEditorForm::ExprButtonClick()
{
    if (const std::optional<QString> text = frEditExpression(Text(), this))
        SetText(*text);
}

// --- report options

TfrDocOptForm::TfrDocOptForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frDocOptForm"));
    setWindowTitle(report::frLoadString(53370));
    GroupBox1 = new QGroupBox(report::frLoadString(53371), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    CB1 = checkBox(GroupBox1, 53372, "CB1");
    LB1 = new QListWidget(GroupBox1);
    LB1->setObjectName(QStringLiteral("LB1"));
    LB1->setItemDelegate(new FrGlyphRowDelegate(LB1));
    LB1->setUniformItemSizes(true);
    columnOf(GroupBox1, {CB1, LB1});
    GroupBox2 = new QGroupBox(report::frLoadString(53373), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    CB2 = checkBox(GroupBox2, 53374, "CB2");
    auto *otherLayout = new QVBoxLayout(GroupBox2);
    otherLayout->addWidget(CB2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1, 1);
    layout->addWidget(GroupBox2);
    layout->addLayout(okCancelRow(this, OkB, CancelB));
    resize(320, 280);
}

TfrDocOptForm::~TfrDocOptForm() = default;

void TfrDocOptForm::SetChoice(const ReportOptionsChoice &choice)
{
    m_choice = choice;
    CB1->setChecked(choice.selectAtLoad);
    CB2->setChecked(choice.twoPass);
    FormActivate();
}

ReportOptionsChoice TfrDocOptForm::Choice() const
{
    ReportOptionsChoice c = m_choice;
    c.selectAtLoad = CB1->isChecked();
    c.twoPass = CB2->isChecked();
    if (LB1->currentRow() >= 0)
        c.printerIndex = LB1->currentRow();
    return c;
}

void TfrDocOptForm::FormActivate()
{
    LB1->clear();
    for (const QString &name : std::as_const(m_choice.printers)) {
        auto *item = new QListWidgetItem(name, LB1);
        item->setData(FrGlyphRowDelegate::kGlyphRole, int(ExprGlyph::Printer));
    }
    if (m_choice.printerIndex >= 0 && m_choice.printerIndex < LB1->count())
        LB1->setCurrentRow(m_choice.printerIndex);
}

void TfrDocOptForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

// --- the designer's slots

void installExpressionDialogs(DesignerCore &core, QObject *window)
{
    QWidget *owner = qobject_cast<QWidget *>(window);
    RequestSlots &req = core.state.Requests;
    req.expressionBuilder = [owner] { return frEditExpression(QString(), owner); };
    req.expressionEditor = [owner](const QString &initial) {
        return frEditExpression(initial, owner);
    };
    req.fieldPicker = [owner] { return frPickField(owner); };
    req.highlight = [owner](const HighlightChoice &initial) -> std::optional<HighlightChoice> {
        platform::ModalScope scope(owner);
        TfrHilightForm form(scope.parentWidget());
        form.SetChoice(initial);
        if (form.exec() != QDialog::Accepted)
            return std::nullopt;
        return form.Choice();
    };
    req.reportOptions =
        [owner](const ReportOptionsChoice &initial) -> std::optional<ReportOptionsChoice> {
        platform::ModalScope scope(owner);
        TfrDocOptForm form(scope.parentWidget());
        form.SetChoice(initial);
        if (form.exec() != QDialog::Accepted)
            return std::nullopt;
        return form.Choice();
    };
    DesignerCore *c = &core;
    req.tagEditor = [c, owner](report::TfrView *view) {
        if (!view || DesignerState::restricted(drNoObjectEditors) ||
            (view->Restrictions & frrfDontModify))
            return;
        platform::ModalScope scope(owner);
        TfrAttrEditorForm form(scope.parentWidget());
        form.SetText(view->Tag);
        if (form.exec() != QDialog::Accepted)
            return;
        c->state.Designer.NotifyBeforeChange();
        view->Tag = form.Text();
    };
}

} // namespace designer
