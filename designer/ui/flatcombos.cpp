#include "designer/ui/flatcombos.h"

#include "platform/canvas/colors.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/text/convert.h"

#include <QAbstractItemView>
#include <QEnterEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>

namespace designer
{

namespace flatcombo_detail
{

QColor sys(platform::TColor c)
{
    return platform::toQColor(c);
}

QRect screenOf(const QWidget *w)
{
    QRect area = platform::availableScreenArea(w->window());
    if (area.isEmpty() && w->screen())
        area = w->screen()->geometry();
    return area;
}

// The font list's items: the scalable mark, the name, and two lines under
// the last recent font.
class FontItemDelegate : public QStyledItemDelegate
{
public:
    explicit FontItemDelegate(TfrFontComboBox *box) : QStyledItemDelegate(box), m_box(box) {}

    void paint(QPainter *p, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(option.rect, sys(selected ? platform::clHighlight : platform::clWindow));
        const QImage mark = frScalableFontMark();
        int x = option.rect.left();
        if (m_box->fontType(index.row()) & kFontTypeScalable) {
            p->drawImage(x, option.rect.top() + (option.rect.height() - mark.height()) / 2, mark);
            x += mark.width() + 2;
        } else {
            x += 15;
        }
        p->setPen(sys(selected ? platform::clHighlightText : platform::clWindowText));
        p->setFont(option.font);
        p->drawText(QRect(x, option.rect.top(), option.rect.right() - x, option.rect.height()),
                    Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
        if (index.row() == m_box->recentCount()) {
            p->setPen(sys(platform::clBtnShadow));
            const int y = option.rect.bottom();
            p->drawLine(option.rect.left(), y - 1, option.rect.right(), y - 1);
            p->drawLine(option.rect.left(), y, option.rect.right(), y);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QSize base = QStyledItemDelegate::sizeHint(option, index);
        const int h = std::max(frScalableFontMark().height() + 1, option.fontMetrics.height());
        return {base.width() + 17, h};
    }

private:
    TfrFontComboBox *m_box;
};

} // namespace flatcombo_detail

QRect frDropListRect(const QRect &boxGlobal, int itemHeight, int dropDownCount, int itemCount,
                     const QRect &screen, bool &droppedUp)
{
    const int rows = std::min(dropDownCount, itemCount);
    const int height = rows > 0 ? itemHeight * rows + 4 : itemHeight + 4;
    QRect r(boxGlobal.left(), boxGlobal.top() + boxGlobal.height(), boxGlobal.width() - 1, height);
    droppedUp = !screen.isEmpty() && r.top() + r.height() > screen.top() + screen.height();
    if (droppedUp)
        r.moveTop(boxGlobal.top() - height - 2);
    return r;
}

QPoint frFontPreviewPos(const QRect &boxGlobal, const QSize &preview, const QRect &screen,
                        bool droppedUp)
{
    QPoint p(boxGlobal.left() + boxGlobal.width(), boxGlobal.top() + boxGlobal.height());
    if (!screen.isEmpty() && p.x() + preview.width() > screen.left() + screen.width())
        p.setX(boxGlobal.left() - 1 - preview.width());
    if (droppedUp)
        p.setY(boxGlobal.top() - preview.height());
    return p;
}

QImage frScalableFontMark()
{
    // Two overlapping letters T, the back one grey, the front one dark blue.
    QImage img(11, 9, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, 0, 6, 0);
    p.drawLine(3, 0, 3, 6);
    p.setPen(QColor(0, 0, 128));
    p.drawLine(4, 2, 10, 2);
    p.drawLine(7, 2, 7, 8);
    return img;
}

// --- flat look

TfrCustomComboBox::TfrCustomComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setFrame(false);
    lineEdit()->setFrame(false);
    lineEdit()->installEventFilter(this);
    resize(100, std::max(fontMetrics().height() + 8, 22));
    connect(this, qOverload<int>(&QComboBox::activated), this, platform::handler([this](int index) {
                if (!m_updating)
                    choiceMade(index);
            }));
}

void TfrCustomComboBox::SetReadOnly(bool value)
{
    m_readOnly = value;
    if (lineEdit())
        lineEdit()->setReadOnly(value);
}

void TfrCustomComboBox::SetTextIndent(int value)
{
    m_textIndent = value;
    placeEdit();
}

void TfrCustomComboBox::placeEdit()
{
    if (QLineEdit *edit = lineEdit())
        edit->setGeometry(m_textIndent + 3, 3,
                          std::max(1, width() - m_buttonWidth - 7 - m_textIndent),
                          std::max(1, height() - 6));
}

void TfrCustomComboBox::choiceMade(int)
{
    if (OnClick)
        OnClick();
}

bool TfrCustomComboBox::isActive() const
{
    return m_droppedDown || m_mouseIn || hasFocus() || (lineEdit() && lineEdit()->hasFocus());
}

int TfrCustomComboBox::buttonState() const
{
    if (m_droppedDown)
        return 2;
    return isActive() ? 1 : 0;
}

void TfrCustomComboBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int w = width(), h = height(), bw = m_buttonWidth;
    const QColor face = flatcombo_detail::sys(platform::clBtnFace),
                 window = flatcombo_detail::sys(platform::clWindow),
                 shadow = flatcombo_detail::sys(platform::clBtnShadow),
                 light = flatcombo_detail::sys(platform::clBtnHighlight),
                 dark = flatcombo_detail::sys(platform::systemColor(platform::COLOR_3DDKSHADOW));
    auto edge = [&](const QRect &r, const QColor &topLeft, const QColor &bottomRight) {
        p.setPen(topLeft);
        p.drawLine(r.left(), r.bottom(), r.left(), r.top());
        p.drawLine(r.left(), r.top(), r.right(), r.top());
        p.setPen(bottomRight);
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
    };
    const QRect button(QPoint(w - bw - 2, 2), QPoint(w - 3, h - 3));
    // Three black lines of 5, 3 and 1 pixels, one under the other.
    auto arrow = [&](int shift, const QColor &ink) {
        const int x = w + int(platform::roundHalfEven(bw / 2.0)) - bw - 4 + shift;
        const int y = int(platform::roundHalfEven((h - 4) / 2.0)) + 1 + shift;
        p.setPen(ink);
        p.drawLine(x, y, x + 4, y);
        p.drawLine(x + 1, y + 1, x + 3, y + 1);
        p.drawPoint(x + 2, y + 2);
    };
    if (!isEnabled()) {
        p.fillRect(rect(), face);
        p.setPen(window);
        p.drawRect(QRect(2, 2, w - 5, h - 5));
        arrow(0, shadow);
        return;
    }
    p.fillRect(rect().adjusted(1, 1, -1, -1), window);
    if (isActive()) {
        edge(rect().adjusted(0, 0, -1, -1), shadow, light);
        edge(rect().adjusted(1, 1, -2, -2), dark, face);
    } else {
        p.setPen(face);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.setPen(window);
        p.drawRect(QRect(1, 1, w - bw - 4, h - 3));
    }
    const int state = buttonState();
    if (state == 0) {
        p.fillRect(button, window);
        p.setPen(window);
        p.drawRect(button);
        arrow(0, Qt::black);
    } else {
        p.fillRect(button, face);
        if (state == 1)
            edge(button, light, shadow);
        else
            edge(button, shadow, light);
        p.setPen(face);
        p.drawLine(button.left() - 1, 2, button.left() - 1, h - 3);
        arrow(state == 2 ? 1 : 0, Qt::black);
    }
    paintIndent(p);
}

void TfrCustomComboBox::resizeEvent(QResizeEvent *event)
{
    QComboBox::resizeEvent(event);
    placeEdit();
}

void TfrCustomComboBox::showEvent(QShowEvent *event)
{
    QComboBox::showEvent(event);
    placeEdit();
}

void TfrCustomComboBox::enterEvent(QEnterEvent *event)
{
    m_mouseIn = true;
    QComboBox::enterEvent(event);
    update();
}

void TfrCustomComboBox::leaveEvent(QEvent *event)
{
    m_mouseIn = false;
    QComboBox::leaveEvent(event);
    update();
}

void TfrCustomComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    update();
}

void TfrCustomComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    update();
}

bool TfrCustomComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit()) {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::Enter:
        case QEvent::Leave:
            if (event->type() == QEvent::Enter)
                m_mouseIn = true;
            if (event->type() == QEvent::Leave)
                m_mouseIn = underMouse();
            update();
            break;
        case QEvent::MouseButtonDblClick:
            if (OnDblClick) {
                platform::guard([&] { OnDblClick(); });
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TfrCustomComboBox::showPopup()
{
    m_droppedDown = true;
    QComboBox::showPopup();
    QAbstractItemView *list = view();
    QWidget *container = list ? list->parentWidget() : nullptr;
    if (container) {
        const int itemHeight =
            count() > 0 ? std::max(1, list->sizeHintForRow(0)) : fontMetrics().height();
        const QRect box(mapToGlobal(QPoint(0, 0)), size());
        const QRect r = frDropListRect(box, itemHeight, maxVisibleItems(), count(),
                                       flatcombo_detail::screenOf(this), m_droppedUp);
        container->setGeometry(r);
        // A selection within the first page shows the list from its top.
        if (currentIndex() <= maxVisibleItems())
            list->scrollToTop();
    }
    afterDropDown();
    update();
}

void TfrCustomComboBox::hidePopup()
{
    beforeCloseUp();
    QComboBox::hidePopup();
    m_droppedDown = false;
    m_droppedUp = false;
    update();
}

TfrComboBox::TfrComboBox(QWidget *parent) : TfrCustomComboBox(parent) {}

// --- font sample

TfrFontPreview::TfrFontPreview(QWidget *owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FontPreview"));
    resize(200, 50);
    m_panel = new QLabel(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setGeometry(rect());
    m_panel->setFrameShape(QFrame::Box);
    m_panel->setAlignment(Qt::AlignCenter);
    m_panel->setAutoFillBackground(true);
    QPalette pal = m_panel->palette();
    pal.setColor(QPalette::Window, flatcombo_detail::sys(platform::clWindow));
    pal.setColor(QPalette::WindowText, flatcombo_detail::sys(platform::clWindowText));
    m_panel->setPalette(pal);
    hide();
}

void TfrFontPreview::showFont(const QString &name)
{
    QFont f(name);
    f.setPointSize(18);
    m_panel->setFont(f);
    m_panel->setText(name);
}

QString TfrFontPreview::sampleText() const
{
    return m_panel->text();
}

// --- font list

std::function<std::vector<FontEntry>()> &TfrFontComboBox::familySource()
{
    static std::function<std::vector<FontEntry>()> source = [] {
        std::vector<FontEntry> list;
        for (const QString &f : QFontDatabase::families()) {
            if (QFontDatabase::isPrivateFamily(f))
                continue;
            list.push_back(
                {f, QFontDatabase::isSmoothlyScalable(f) ? kFontTypeScalable : kFontTypeRaster});
        }
        return list;
    };
    return source;
}

TfrFontComboBox::TfrFontComboBox(QWidget *parent) : TfrCustomComboBox(parent)
{
    SetTextIndent(16);
    SetReadOnly(true);
    resize(150, height());
    setMaxVisibleItems(12);
    setItemDelegate(new flatcombo_detail::FontItemDelegate(this));
    Preview = new TfrFontPreview(this);
    connect(this, qOverload<int>(&QComboBox::highlighted), this,
            platform::handler([this](int index) {
                if (index >= 0 && index < count())
                    Preview->showFont(itemText(index));
            }));
    Reload();
}

void TfrFontComboBox::SetMRURegKey(const QString &key)
{
    m_recent.setKey(key);
}

void TfrFontComboBox::SetShowMRU(bool value)
{
    m_recent.ShowMRU = value;
}

int TfrFontComboBox::fontType(int index) const
{
    const auto &items = m_recent.items();
    return index >= 0 && index < int(items.size()) ? items[size_t(index)].type : 0;
}

void TfrFontComboBox::Reload()
{
    m_updating = true;
    const auto resolve = [](const QString &family) { return QFontInfo(QFont(family)).family(); };
    m_recent.fill(frSortedFontList(familySource()(), resolve));
    setItems();
    m_updating = false;
}

void TfrFontComboBox::setItems()
{
    const bool was = m_updating;
    m_updating = true;
    const QString text = currentText();
    {
        const QSignalBlocker block(this);
        clear();
        for (const FontEntry &e : m_recent.items())
            addItem(e.name, e.type);
        const int at = text.isEmpty() ? -1 : findText(text, Qt::MatchExactly);
        setCurrentIndex(at >= 0 ? at : (count() > 0 ? 0 : -1));
    }
    m_updating = was;
    update();
}

void TfrFontComboBox::choiceMade(int index)
{
    if (m_recent.choose(index)) {
        setItems();
        const QSignalBlocker block(this);
        setCurrentIndex(0);
    }
    TfrCustomComboBox::choiceMade(index);
}

void TfrFontComboBox::paintIndent(QPainter &painter)
{
    const int at = findText(currentText(), Qt::MatchExactly);
    if (at >= 0 && (fontType(at) & kFontTypeScalable)) {
        const QImage mark = frScalableFontMark();
        painter.drawImage(3, (height() - mark.height()) / 2, mark);
    }
}

void TfrFontComboBox::afterDropDown()
{
    if (currentIndex() < RecentFonts::kMaxRecent && count() > 0)
        view()->setCurrentIndex(model()->index(0, 0));
    const QRect box(mapToGlobal(QPoint(0, 0)), size());
    Preview->move(
        frFontPreviewPos(box, Preview->size(), flatcombo_detail::screenOf(this), DroppedUp()));
    Preview->show();
    Preview->raise();
}

void TfrFontComboBox::beforeCloseUp()
{
    Preview->hide();
}

} // namespace designer
