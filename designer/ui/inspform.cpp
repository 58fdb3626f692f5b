#include "designer/ui/inspform.h"

#include "designer/ui/designerform.h"

#include "designer/core/designercore.h"
#include "designer/core/inspectorlink.h"

#include "platform/canvas/colors.h"
#include "platform/clock/clock.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frglobals.h"
#include "report/ui/frdock.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolButton>
#include <algorithm>
#include <memory>

namespace designer
{

// Named, not anonymous: the module builds as one unity source.
namespace inspform_detail
{

constexpr int kButtonSize = 14;
const QColor kValueColor(0, 0, 128); // navy

bool isChoiceKind(quint16 kind)
{
    return kind & (propBoolean | propColor | propEnum);
}

// The glyph of the editor button: three dots.
QIcon ellipsisIcon()
{
    QImage img(8, 8, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int x : {1, 4, 7})
        img.setPixel(x - 1, 6, 0xFF000000);
    return QIcon(QPixmap::fromImage(img));
}

// The glyph of the choice button: a small arrow down.
QIcon arrowIcon()
{
    QImage img(8, 8, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int row = 0; row < 4; ++row)
        for (int x = row; x < 7 - row; ++x)
            img.setPixel(x, 2 + row, 0xFF000000);
    return QIcon(QPixmap::fromImage(img));
}

} // namespace inspform_detail

using namespace inspform_detail;

// --- parts

TInspPanel::TInspPanel(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

TfrInspPaintBox::TfrInspPaintBox(TfrInspForm *form, QWidget *parent) : QWidget(parent), m_form(form)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void TfrInspPaintBox::paintEvent(QPaintEvent *)
{
    platform::guard([&] {
        if (m_form->Painting)
            return;
        m_form->PaintGrid();
        QPainter p(this);
        p.drawImage(0, 0, m_form->Buffer);
    });
}

void TfrInspPaintBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        platform::guard([&] { m_form->GridMouseDown(event->position().toPoint()); });
}

void TfrInspPaintBox::mouseMoveEvent(QMouseEvent *event)
{
    platform::guard([&] {
        m_form->GridMouseMove(event->position().toPoint(), event->buttons() & Qt::LeftButton);
    });
}

void TfrInspPaintBox::mouseReleaseEvent(QMouseEvent *)
{
    platform::guard([&] { m_form->GridMouseUp(); });
}

TfrInspEdit::TfrInspEdit(TfrInspForm *form, QWidget *parent) : QLineEdit(parent), m_form(form)
{
    setObjectName(QStringLiteral("Edit1"));
    setFrame(false);
}

void TfrInspEdit::keyPressEvent(QKeyEvent *event)
{
    bool swallowed = false;
    platform::guard([&] { swallowed = m_form->Edit1KeyDown(event->key()); });
    if (swallowed || m_form->Locked())
        return;
    QLineEdit::keyPressEvent(event);
}

void TfrInspEdit::mousePressEvent(QMouseEvent *event)
{
    if (m_form->Locked())
        return;
    // A press right after the one that chose the row completes a double
    // click begun on the grid.
    const quint32 now = platform::GetTickCount();
    if (event->button() == Qt::LeftButton && m_form->LastClickTick != 0 &&
        now - m_form->LastClickTick <= quint32(QApplication::doubleClickInterval())) {
        m_form->LastClickTick = 0;
        platform::guard([&] { m_form->Edit1DblClick(); });
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TfrInspEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_form->Locked())
        return;
    if (event->button() == Qt::LeftButton)
        platform::guard([&] { m_form->Edit1DblClick(); });
}

TfrPopupListbox::TfrPopupListbox(QWidget *parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("PopupList"));
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    // The press that closes the list (on the arrow button too) goes no
    // further: a second click on the button only closes it.
    setAttribute(Qt::WA_NoMouseReplay);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void TfrPopupListbox::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) && OnClick)
        platform::guard([&] { OnClick(); });
}

void TfrPopupListbox::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem() &&
        OnClick) {
        platform::guard([&] { OnClick(); });
        return;
    }
    QListWidget::keyPressEvent(event);
}

TfrInspCombo::TfrInspCombo(TfrInspForm *form, QWidget *parent) : QComboBox(parent), m_form(form)
{
    setObjectName(QStringLiteral("CB1"));
}

QString TfrInspCombo::closedText() const
{
    if (currentIndex() < 0)
        return QString();
    return m_form->inspectedClosedText();
}

void TfrInspCombo::showPopup()
{
    platform::guard([&] { m_form->CB1DropDown(); });
    QComboBox::showPopup();
}

void TfrInspCombo::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText = closedText();
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    p.drawControl(QStyle::CE_ComboBoxLabel, opt);
}

TfrInspTitle::TfrInspTitle(TfrInspForm *form, QWidget *parent) : QWidget(parent), m_form(form)
{
    setObjectName(QStringLiteral("TitleStrip"));
}

void TfrInspTitle::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Highlight));
    p.setPen(palette().color(QPalette::HighlightedText));
    QFont f = font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
               m_form->windowTitle());
}

void TfrInspTitle::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        platform::guard([&] { m_form->RollUp(); });
}

// --- the form

TfrInspForm::TfrInspForm(QWidget *owner) : QWidget(owner, Qt::Tool)
{
    setObjectName(QStringLiteral("frInspForm"));
    setWindowTitle(report::frLoadString(53059));
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(11);
    setFont(f);

    Title = new TfrInspTitle(this, this);
    CB1 = new TfrInspCombo(this, this);
    Box = new QScrollArea(this);
    Box->setObjectName(QStringLiteral("Box"));
    Box->setWidgetResizable(false);
    Box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Box->setFrameShape(QFrame::StyledPanel);
    Panel = new TInspPanel(Box);
    Panel->setObjectName(QStringLiteral("Panel"));
    Box->setWidget(Panel);
    Box->verticalScrollBar()->setSingleStep(RowHeight);
    PaintBox1 = new TfrInspPaintBox(this, Panel);
    Edit1 = new TfrInspEdit(this, Panel);
    EditPanel = new QWidget(Panel);
    EditPanel->setObjectName(QStringLiteral("EditPanel"));
    EditBtn = new QToolButton(EditPanel);
    EditBtn->setObjectName(QStringLiteral("EditBtn"));
    EditBtn->setIcon(ellipsisIcon());
    EditBtn->setFocusPolicy(Qt::NoFocus);
    ComboPanel = new QWidget(Panel);
    ComboPanel->setObjectName(QStringLiteral("ComboPanel"));
    ComboBtn = new QToolButton(ComboPanel);
    ComboBtn->setObjectName(QStringLiteral("ComboBtn"));
    ComboBtn->setIcon(arrowIcon());
    ComboBtn->setFocusPolicy(Qt::NoFocus);
    PopupList = new TfrPopupListbox(this);
    PopupList->OnClick = [this] { PopupListClick(); };
    PopupList->hide();
    Edit1->hide();
    EditPanel->hide();
    ComboPanel->hide();

    connect(EditBtn, &QToolButton::clicked, this,
            platform::handler(this, &TfrInspForm::EditBtnClick));
    connect(ComboBtn, &QToolButton::clicked, this,
            platform::handler(this, &TfrInspForm::ComboBtnClick));
    connect(CB1, &QComboBox::textActivated, this,
            platform::handler([this](const QString &name) { CB1Activated(name); }));

    LoadLocalizedNames();
    resize(185, 320);
    SavedHeight = height();
    layoutParts();
}

TfrInspForm::~TfrInspForm() = default;

void TfrInspForm::LoadLocalizedNames()
{
    // "Name=Display name" texts from 58001 up to the first empty one.
    for (int id = 58001;; ++id) {
        const QString text = report::frLoadString(id);
        if (text.isEmpty())
            break;
        const qsizetype eq = text.indexOf(QLatin1Char('='));
        if (eq > 0 && eq < text.size() - 1)
            LocalizedNames.insert(text.left(eq), text.mid(eq + 1, 255));
    }
}

QString TfrInspForm::displayName(const QString &name) const
{
    if (report::frLocale().LocalizedPropNames)
        return LocalizedNames.value(name, name);
    return name;
}

QFont TfrInspForm::gridFont() const
{
    // A 16-pixel row holds the 11-pixel face with a pixel above.
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(11);
    return f;
}

QString TfrInspForm::inspectedClosedText() const
{
    const QString name = CB1->currentText();
    if (!Props.InspectedObject || Props.InspectedClassName.isEmpty())
        return name;
    return name + QStringLiteral(": ") + Props.InspectedClassName;
}

void TfrInspForm::layoutParts()
{
    const int w = width();
    Title->setGeometry(0, 0, w, kTitleHeight);
    const int comboHeight = CB1->sizeHint().height();
    CB1->setGeometry(0, kTitleHeight, w, comboHeight);
    const int boxTop = kTitleHeight + comboHeight + 1;
    Box->setGeometry(0, boxTop, w, std::max(0, height() - boxTop));
    Panel->resize(Box->viewport()->width(), std::max(1, Props.count() * RowHeight));
    PaintBox1->setGeometry(0, 0, Panel->width(), Panel->height());
    GridWidth = PaintBox1->width();
}

void TfrInspForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    platform::guard([&] {
        layoutParts();
        if (ItemIndex >= 0 && ItemIndex < Props.count()) {
            const int keep = ItemIndex;
            const bool modified = Edit1->isModified();
            const QString text = Edit1->text();
            // Re-placing the row keeps what is being typed.
            Edit1->setModified(false);
            SelectRow(keep);
            if (modified) {
                Edit1->setText(text);
                Edit1->setModified(true);
            }
        }
        PaintBox1->update();
        if (OnResized)
            OnResized();
    });
}

void TfrInspForm::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
}

void TfrInspForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (rolledUp())
        CB1->hide();
}

bool TfrInspForm::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        if (Edit1->isEnabled() && Edit1->isVisible())
            Edit1->setFocus();
        break;
    case QEvent::WindowDeactivate:
        platform::guard([&] {
            PopupList->hide();
            // A plain row keeps what was typed; a choice row needs a choice.
            if (ItemIndex >= 0 && ItemIndex < Props.count() && Edit1->isModified() &&
                !(Props.Prop(ItemIndex).Kind & (propBoolean | propColor | propEnum | propEditor)))
                CommitText(Edit1->text());
        });
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void TfrInspForm::SetLocked(bool locked)
{
    m_locked = locked;
    if (locked)
        PopupList->hide();
    RefreshItems();
}

void TfrInspForm::RefreshItems()
{
    ItemIndex = -1;
    Painting = true;
    Panel->resize(Box->viewport()->width(), std::max(1, Props.count() * RowHeight));
    PaintBox1->setGeometry(0, 0, Panel->width(), Panel->height());
    GridWidth = PaintBox1->width();
    Painting = false;
    const int row = std::max(0, Props.indexOf(LastPropName));
    SelectRow(row);
    if (Props.count() == 0)
        PaintBox1->update();
    if (m_locked) {
        CB1->setCurrentIndex(-1);
        CB1->update();
        return;
    }
    if (CB1->currentIndex() >= 0 && CB1->currentText() == Props.InspectedObjectName &&
        !Props.InspectedObjectName.isEmpty()) {
        CB1->update();
        return;
    }
    CB1DropDown();
    CB1->setCurrentIndex(Props.InspectedObjectName.isEmpty()
                             ? -1
                             : CB1->findText(Props.InspectedObjectName, Qt::MatchExactly));
    CB1->update();
}

void TfrInspForm::CB1DropDown()
{
    const QString current = CB1->currentText();
    QStringList items;
    if (OnFillObjectList && !m_locked)
        OnFillObjectList(items);
    std::sort(items.begin(), items.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    const QSignalBlocker block(CB1);
    CB1->clear();
    CB1->addItems(items);
    CB1->setCurrentIndex(current.isEmpty() ? -1 : CB1->findText(current, Qt::MatchExactly));
}

void TfrInspForm::CB1Activated(const QString &name)
{
    if (m_locked)
        return;
    if (OnObjectSelected)
        OnObjectSelected(name);
    if (Edit1->isVisible())
        Edit1->setFocus();
}

void TfrInspForm::SelectRow(int index)
{
    if (Committing)
        return;
    const int count = Props.count();
    index = std::min(index, count - 1);
    Edit1->setVisible(count > 0 && !m_locked);
    if (count == 0 || index < 0) {
        ItemIndex = -1;
        EditPanel->hide();
        ComboPanel->hide();
        PopupList->hide();
        PaintBox1->update();
        return;
    }
    // What was typed in the row left is handed over first (the designer
    // may refill the rows meanwhile).
    if (ItemIndex >= 0 && ItemIndex < count && Edit1->isModified()) {
        CommitText(Edit1->text());
        if (Props.count() == 0)
            return;
        index = std::min(index, Props.count() - 1);
    }
    ItemIndex = index;
    const TProp &prop = Props.Prop(index);
    EditPanel->setVisible(bool(prop.EditorProc) && !m_locked);
    ComboPanel->setVisible(isChoiceKind(prop.Kind) && !m_locked);
    PopupList->hide();
    Edit1->setReadOnly((prop.Kind & propEditor) && !(prop.Kind & propString));
    const int y = index * RowHeight + 1;
    int w = GridWidth - SplitX - 2;
    if (EditPanel->isVisibleTo(Panel)) {
        EditPanel->setGeometry(GridWidth - kButtonSize, y, kButtonSize, RowHeight - 2);
        EditBtn->setGeometry(0, 0, kButtonSize, RowHeight - 2);
        w -= 15;
    }
    Edit1->setText(prop.ValueText);
    if (ComboPanel->isVisibleTo(Panel)) {
        ComboPanel->setGeometry(GridWidth - kButtonSize, y, kButtonSize, RowHeight - 2);
        ComboBtn->setGeometry(0, 0, kButtonSize, RowHeight - 2);
        w -= 15;
    }
    Edit1->setGeometry(SplitX + 2, y, std::max(0, w), RowHeight - 2);
    Edit1->raise();
    EditPanel->raise();
    ComboPanel->raise();
    Edit1->selectAll();
    Edit1->setModified(false);
    QScrollBar *bar = Box->verticalScrollBar();
    const int client = Box->viewport()->height();
    if (client + bar->value() < y + RowHeight)
        bar->setValue(y - client + RowHeight);
    if (y < bar->value())
        bar->setValue(y - 1);
    LastPropName = Props.Items(index);
    PaintBox1->update();
}

void TfrInspForm::CommitText(const QString &text)
{
    if (m_locked || ItemIndex < 0 || ItemIndex >= Props.count())
        return;
    Props.Prop(ItemIndex).ValueText = text;
    Edit1->setModified(false);
    int saved = ItemIndex;
    Committing = true;
    try {
        if (OnPropertyModified)
            OnPropertyModified(ItemIndex);
    } catch (...) {
        Committing = false;
        throw;
    }
    if (Props.count() <= saved)
        saved = 0;
    Committing = false;
    SelectRow(saved);
}

void TfrInspForm::RollUp()
{
    if (height() > kTitleHeight + 30) {
        SavedHeight = height();
        PopupList->hide();
        CB1->hide();
        resize(width(), kTitleHeight);
    } else {
        resize(width(), std::max(SavedHeight, kTitleHeight + 60));
        CB1->show();
        RefreshItems();
        if (ItemIndex >= 0)
            Edit1->setText(Props.Prop(ItemIndex).ValueText);
        Edit1->setModified(false);
    }
    if (OnRollUpChanged)
        OnRollUpChanged();
}

void TfrInspForm::ShowAndRestore()
{
    show();
    raise();
    if (rolledUp())
        RollUp();
}

void TfrInspForm::EditBtnClick()
{
    if (m_locked || ItemIndex < 0 || ItemIndex >= Props.count())
        return;
    // A copy: the editor may refill the rows, freeing the one it came from.
    const report::FrPropEditor editor = Props.Prop(ItemIndex).EditorProc;
    // The editor records its own change; a cancelled one records nothing.
    if (editor)
        report::frObjects().frPropEditors.Run(editor);
    Edit1->selectAll();
}

bool TfrInspForm::Edit1KeyDown(int key)
{
    if (m_locked)
        return true;
    switch (key) {
    case Qt::Key_Escape:
        if (ItemIndex >= 0 && ItemIndex < Props.count())
            Edit1->setText(Props.Prop(ItemIndex).ValueText);
        Edit1->setModified(false);
        Edit1->selectAll();
        return true;
    case Qt::Key_Up:
        if (ItemIndex > 0)
            SelectRow(ItemIndex - 1);
        return true;
    case Qt::Key_Down:
        if (ItemIndex < Props.count() - 1)
            SelectRow(ItemIndex + 1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ItemIndex >= 0 && ItemIndex < Props.count()) {
            if (Props.Prop(ItemIndex).Kind & propEditor)
                EditBtnClick();
            else if (Edit1->isModified())
                CommitText(Edit1->text());
        }
        Edit1->setModified(false);
        Edit1->selectAll();
        return true;
    default:
        return false;
    }
}

void TfrInspForm::Edit1DblClick()
{
    if (m_locked || ItemIndex < 0 || ItemIndex >= Props.count())
        return;
    TProp &prop = Props.Prop(ItemIndex);
    const quint16 kind = prop.Kind;
    auto commitValue = [&](const report::FrVariant &value) {
        prop.SetValue(value);
        CommitText(QString(prop.ValueText)); // a copy: the rows may be refilled
    };
    if (kind & propEditor) {
        EditBtnClick();
        return;
    }
    if (kind & propColor) {
        qint32 start = 0;
        try {
            start = qint32(prop.Value().toInt());
        } catch (const std::exception &) {
            start = 0;
        }
        const std::optional<std::int32_t> chosen = platform::dialogs().chooseColor(start, this);
        if (!chosen)
            return;
        commitValue(report::FrVariant(int(*chosen)));
    } else if (kind & propBoolean) {
        commitValue(report::FrVariant(!prop.Value().toBool()));
    } else if ((kind & propEnum) && prop.ChoiceValues.isEmpty()) {
        if (prop.ChoiceNames.isEmpty())
            return;
        const int i = prop.ChoiceNames.indexOf(prop.ValueText);
        commitValue(report::FrVariant(prop.ChoiceNames[(i + 1) % prop.ChoiceNames.size()]));
    } else if (kind & propEnum) {
        report::FrVariant current;
        try {
            current = prop.Value();
        } catch (const std::exception &) {
            current = report::FrVariant();
        }
        int next = 0;
        for (int i = 0; i < prop.ChoiceValues.size(); ++i)
            if (prop.ChoiceValues[i].identical(current)) {
                next = (i + 1) % prop.ChoiceValues.size();
                break;
            }
        commitValue(prop.ChoiceValues[next]);
    } else {
        return;
    }
    Edit1->setModified(false);
    Edit1->selectAll();
}

void TfrInspForm::ComboBtnClick()
{
    if (m_locked || ItemIndex < 0 || ItemIndex >= Props.count())
        return;
    if (PopupList->isVisible()) {
        PopupList->hide();
        Edit1->setFocus();
        return;
    }
    const TProp &prop = Props.Prop(ItemIndex);
    QStringList items;
    if (prop.Kind & propBoolean)
        items = {QStringLiteral("False"), QStringLiteral("True")};
    else if (prop.Kind & propColor)
        items = report::frColorNames();
    else if (prop.Kind & propEnum)
        items = prop.ChoiceNames;
    PopupList->clear();
    if (items.isEmpty())
        return;
    PopupList->setFont(gridFont());
    const int itemHeight = TfrPopupListbox::kItemHeight + 1;
    const QFontMetrics fm(PopupList->font());
    int w = 0;
    for (const QString &s : items) {
        auto *item = new QListWidgetItem(s, PopupList);
        item->setSizeHint(QSize(0, itemHeight));
        w = std::max(w, fm.horizontalAdvance(s));
        if (s == prop.ValueText)
            PopupList->setCurrentItem(item);
    }
    w += 8;
    const int n = std::min<int>(int(items.size()), 8);
    if (items.size() > 8)
        w += 16;
    const int h = n * itemHeight + 2;
    int left = 0, width = w;
    if (SplitX > w) {
        left = SplitX + 1;
        width = GridWidth - SplitX + 1;
    } else {
        left = GridWidth - w + 2;
    }
    QPoint at = Panel->mapToGlobal(QPoint(left, Edit1->geometry().bottom() + 1));
    if (at.x() < 0)
        at.setX(0);
    PopupList->setGeometry(at.x(), at.y(), width, h);
    PopupList->show();
    if (PopupList->currentItem())
        PopupList->scrollToItem(PopupList->currentItem());
    PopupList->setFocus();
}

void TfrInspForm::PopupListClick()
{
    QListWidgetItem *item = PopupList->currentItem();
    if (!item)
        return;
    const QString text = item->text();
    PopupList->hide();
    Edit1->setText(text);
    Edit1->setFocus();
    CommitText(text);
}

void TfrInspForm::GridMouseDown(const QPoint &p)
{
    if (m_locked)
        return;
    if (p.x() > SplitX - 2 && p.x() < SplitX + 2) {
        DraggingSplit = true;
        return;
    }
    if (Props.count() == 0)
        return;
    SelectRow(p.y() / RowHeight);
    if (Edit1->isVisible())
        Edit1->setFocus();
    LastClickTick = platform::GetTickCount();
    if (LastClickTick == 0)
        LastClickTick = 1;
}

void TfrInspForm::GridMouseMove(const QPoint &p, bool buttonDown)
{
    if (m_locked)
        return;
    const bool overBorder = p.x() > SplitX - 2 && p.x() < SplitX + 2;
    PaintBox1->setCursor(overBorder || DraggingSplit ? Qt::SplitHCursor : Qt::ArrowCursor);
    if (DraggingSplit && buttonDown && p.x() > 5) {
        SplitX = p.x();
        layoutParts();
        if (ItemIndex >= 0)
            SelectRow(ItemIndex);
        PaintBox1->update();
    }
}

void TfrInspForm::GridMouseUp()
{
    DraggingSplit = false;
}

void TfrInspForm::drawRow(QPainter &p, int row, bool current)
{
    const QPalette &pal = palette();
    const QColor shadow = pal.color(QPalette::Dark);
    const QColor light = pal.color(QPalette::Light);
    const int top = row * RowHeight;
    const int bottom = top + RowHeight - 1;
    if (!current) {
        p.setPen(shadow);
        p.drawLine(0, bottom, GridWidth - 1, bottom);
        p.drawLine(SplitX - 1, top, SplitX - 1, top + RowHeight - 1);
        p.setPen(light);
        p.drawLine(SplitX, top, SplitX, top + RowHeight - 1);
    } else {
        // Raised: dark above and left, light below and right.
        p.setPen(shadow);
        p.drawLine(0, top - 2, GridWidth - 1, top - 2);
        p.drawLine(SplitX - 1, top, SplitX - 1, top + RowHeight - 1);
        p.setPen(Qt::black);
        p.drawLine(0, top - 1, GridWidth - 1, top - 1);
        p.drawLine(0, top - 1, 0, top + RowHeight - 1);
        p.setPen(light);
        p.drawLine(1, bottom, GridWidth - 1, bottom);
        p.drawLine(SplitX + 2, top, SplitX + 2 + Edit1->width(), top);
        p.drawLine(SplitX, top, SplitX, top + RowHeight - 1);
        p.drawLine(SplitX + 1, top, SplitX + 1, top + RowHeight - 1);
    }
    p.setPen(Qt::black);
    const QRect nameRect(QPoint(5, top + 1), QPoint(SplitX - 3, top + RowHeight - 2));
    p.setClipRect(nameRect);
    p.drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter, displayName(Props.Items(row)));
    p.setClipping(false);
    if (!current) {
        p.setPen(kValueColor);
        const QRect valueRect(QPoint(SplitX + 2, top + 1),
                              QPoint(GridWidth - 1, top + RowHeight - 2));
        p.setClipRect(valueRect);
        p.drawText(valueRect, Qt::AlignLeft | Qt::AlignVCenter, Props.Prop(row).ValueText);
        p.setClipping(false);
    }
}

void TfrInspForm::PaintGrid()
{
    const QSize size = PaintBox1->size();
    if (Buffer.size() != size)
        Buffer = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    Buffer.fill(palette().color(QPalette::Button));
    if (m_locked)
        return;
    QPainter p(&Buffer);
    p.setFont(gridFont());
    for (int r = 0; r < Props.count(); ++r)
        if (r != ItemIndex)
            drawRow(p, r, false);
    if (ItemIndex >= 0 && ItemIndex < Props.count())
        drawRow(p, ItemIndex, true);
}

// --- the designer's side

namespace inspform_detail
{

// Owns the inspector of one designer window and follows that window.
class InspectorHost : public QObject
{
public:
    InspectorHost(DesignerCore &core, QWidget *window)
        : QObject(window), m_core(&core), m_window(window), m_link(core)
    {
        setObjectName(QStringLiteral("InspectorHost"));
        m_form = new TfrInspForm(window);
        m_form->hide();
        platform::guard([&] {
            if (!report::frRestoreFormPosition(m_form))
                m_form->setProperty(kPlaceBesideDesigner, true);
        });
        m_form->SavedHeight = std::max(m_form->height(), TfrInspForm::kTitleHeight + 60);
        m_form->OnPropertyModified = [this](int index) { propertyModified(index); };
        m_form->OnFillObjectList = [this](QStringList &items) {
            if (m_core)
                items = m_link.ObjectList();
        };
        m_form->OnObjectSelected = [this](const QString &name) {
            if (m_core)
                m_link.ObjectSelected(name);
        };
        m_form->OnRollUpChanged = [this] { toolWindowChanged(); };
        m_form->OnResized = [this] { toolWindowChanged(); };
        window->installEventFilter(this);
    }
    ~InspectorHost() override
    {
        if (m_form) {
            detach();
            platform::guard([&] { report::frSaveFormPosition(m_form); });
            delete m_form;
        }
    }

    // The designer's rules are gone (the window is being destroyed).
    void detach()
    {
        m_core = nullptr;
        if (m_form) {
            m_form->OnPropertyModified = nullptr;
            m_form->OnFillObjectList = nullptr;
            m_form->OnObjectSelected = nullptr;
            m_form->OnRollUpChanged = nullptr;
            m_form->OnResized = nullptr;
        }
    }

    void show()
    {
        m_wantVisible = true;
        if (m_form && m_window->isVisible()) {
            m_form->ShowAndRestore();
            frPlaceToolWindow(m_form);
            frKeepToolWindowsApart(m_window);
            refill();
        }
    }
    void refill()
    {
        if (!m_core || !m_form)
            return;
        m_link.Fill(m_form->Props);
        m_form->RefreshItems();
    }
    void lock(bool locked)
    {
        if (m_form)
            m_form->SetLocked(locked);
    }
    void restore(int splitPos, bool visible)
    {
        if (!m_form)
            return;
        m_form->SplitX = std::max(20, splitPos);
        m_wantVisible = visible;
        if (m_window->isVisible()) {
            m_form->setVisible(visible);
            frPlaceToolWindow(m_form);
            frKeepToolWindowsApart(m_window);
        }
        m_form->RefreshItems();
    }
    std::pair<int, bool> settings() const
    {
        const bool visible = m_form && m_window->isVisible() ? m_form->isVisible() : m_wantVisible;
        return {m_form ? m_form->SplitX : 75, visible};
    }
    QRect frame() const
    {
        // The frame as the window system tells it, else allowed for.
        return m_form && m_form->isVisible()
                   ? m_form->geometry().marginsAdded(platform::windowFrameMargins(m_form))
                   : QRect();
    }
    void setFrame(const QRect &frame)
    {
        if (!m_form || frame.isEmpty())
            return;
        m_placing = true;
        m_form->setGeometry(frame.marginsRemoved(platform::windowFrameMargins(m_form)));
        m_placing = false;
    }
    int clientHeight() const { return m_form ? m_form->clientHeight() : 0; }
    TfrInspForm *form() const { return m_form; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && m_form) {
            if (event->type() == QEvent::Show && m_wantVisible)
                platform::guard([&] {
                    m_form->show();
                    refill();
                });
            else if (event->type() == QEvent::Hide)
                m_form->hide();
        }
        return false;
    }

private:
    void propertyModified(int index)
    {
        if (!m_core || !m_form)
            return;
        // Applied: the designer refilled the rows already; refused: the row
        // shows the current value again.
        if (!m_link.PropertyModified(m_form->Props, index))
            refill();
    }
    void toolWindowChanged()
    {
        if (m_core && !m_placing && m_core->state.Requests.toolWindowChanged)
            m_core->state.Requests.toolWindowChanged();
    }

    DesignerCore *m_core;
    QWidget *m_window;
    InspectorLink m_link;
    QPointer<TfrInspForm> m_form;
    bool m_wantVisible = true;
    bool m_placing = false;
};

} // namespace inspform_detail

void installInspector(DesignerCore &core, QObject *window)
{
    auto *w = qobject_cast<QWidget *>(window);
    if (!w)
        return;
    auto *host = new InspectorHost(core, w);
    // The slots live as long as the designer's rules: when they go, the
    // inspector stops reaching them (the window's parts outlive its rules).
    std::shared_ptr<int> life(new int(0), [guard = QPointer<InspectorHost>(host)](int *p) {
        delete p;
        if (guard)
            guard->detach();
    });
    RequestSlots &req = core.state.Requests;
    req.inspectorShow = [host, life] { host->show(); };
    req.inspectorRefill = [host, life] { host->refill(); };
    req.inspectorLock = [host, life](bool locked) { host->lock(locked); };
    req.inspectorRestore = [host, life](int splitPos, bool visible) {
        host->restore(splitPos, visible);
    };
    req.inspectorSettings = [host, life] { return host->settings(); };
    req.inspectorFrame = [host, life] { return host->frame(); };
    req.setInspectorFrame = [host, life](const QRect &frame) { host->setFrame(frame); };
    req.inspectorClientHeight = [host, life] { return host->clientHeight(); };
}

} // namespace designer
