#include "report/ui/frctrls.h"

#include "platform/forms/application.h"

#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace report
{

namespace
{

// The glyphs' own button face: pixels of that colour stay as they are.
constexpr QRgb kGlyphFace = 0xFFC0C0C0;

// Buttons alive; the glyph cache lives while it is not 0.
int g_liveButtons = 0;
std::unique_ptr<TGlyphCache> g_cache;

// The checker that fills a button that stays down.
QBrush downPattern(const QPalette &palette)
{
    QImage img(8, 8, QImage::Format_RGB32);
    const QRgb face = palette.color(QPalette::Button).rgb();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            img.setPixel(x, y, (x + y) % 2 ? face : qRgb(255, 255, 255));
    return QBrush(img);
}

} // namespace

// --- image lists

int TGlyphList::Add(const QPixmap &image)
{
    for (size_t i = 0; i < m_used.size(); ++i) {
        if (!m_used[i]) {
            m_used[i] = true;
            m_images[i] = image;
            ++m_count;
            return int(i);
        }
    }
    m_images.push_back(image);
    m_used.push_back(true);
    ++m_count;
    return int(m_images.size()) - 1;
}

void TGlyphList::Delete(int index)
{
    if (index < 0 || index >= Capacity() || !m_used[size_t(index)])
        return;
    m_used[size_t(index)] = false;
    m_images[size_t(index)] = QPixmap();
    --m_count;
}

TGlyphList *TGlyphCache::GetList(int width, int height)
{
    for (const auto &list : m_lists)
        if (list->Width() == width && list->Height() == height)
            return list.get();
    m_lists.push_back(std::make_unique<TGlyphList>(width, height));
    return m_lists.back().get();
}

void TGlyphCache::ReturnList(TGlyphList *list)
{
    if (!list || list->Count() != 0)
        return;
    for (auto it = m_lists.begin(); it != m_lists.end(); ++it) {
        if (it->get() == list) {
            m_lists.erase(it);
            return;
        }
    }
}

TGlyphCache *frGlyphCache()
{
    return g_cache.get();
}

// --- layout and looks

FrButtonPlaces frButtonLayout(const QRect &client, const QSize &glyphSize, const QSize &captionSize,
                              TfrButtonLayout layout, int margin, int spacing, bool shifted)
{
    // A missing part measures 0 (QSize() is -1 x -1).
    const QSize glyph = glyphSize.expandedTo(QSize(0, 0));
    const QSize caption = captionSize.expandedTo(QSize(0, 0));
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    const int clientAlong = horizontal ? client.width() : client.height();
    const int clientAcross = horizontal ? client.height() : client.width();
    const int glyphAlong = horizontal ? glyph.width() : glyph.height();
    const int glyphAcross = horizontal ? glyph.height() : glyph.width();
    const int textAlong = horizontal ? caption.width() : caption.height();
    const int textAcross = horizontal ? caption.height() : caption.width();
    const bool noGlyph = glyph.width() == 0 || glyph.height() == 0;
    const bool noText = caption.width() == 0 && caption.height() == 0;

    if (noText || noGlyph)
        spacing = 0;
    if (margin == -1) {
        if (spacing == -1) {
            const int total = glyphAlong + textAlong;
            margin = (clientAlong - total) / 3;
            spacing = margin;
        } else {
            margin = (clientAlong - (glyphAlong + spacing + textAlong) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (clientAlong - margin - glyphAlong - textAlong) / 2;
    }

    int glyphPos = 0, textPos = 0;
    if (layout == blGlyphLeft || layout == blGlyphTop) {
        glyphPos = margin;
        textPos = margin + glyphAlong + spacing;
    } else {
        glyphPos = clientAlong - margin - glyphAlong;
        textPos = glyphPos - spacing - textAlong;
    }
    const int glyphCross = (clientAcross - glyphAcross + 1) / 2;
    const int textCross = (clientAcross - textAcross + 1) / 2;

    FrButtonPlaces places;
    const QPoint origin = client.topLeft() + (shifted ? QPoint(1, 1) : QPoint());
    if (horizontal) {
        places.glyph = origin + QPoint(glyphPos, glyphCross);
        places.caption = QRect(origin + QPoint(textPos, textCross), caption);
    } else {
        places.glyph = origin + QPoint(glyphCross, glyphPos);
        places.caption = QRect(origin + QPoint(textCross, textPos), caption);
    }
    return places;
}

QImage frGrayedGlyph(const QImage &image, QRgb transparent)
{
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb c = line[x] | 0xFF000000;
            if (c == (transparent | 0xFF000000) || c == kGlyphFace)
                continue;
            const int g = (77 * qRed(c) + 150 * qGreen(c) + 29 * qBlue(c)) / 256;
            line[x] = qRgb(g, g, g);
        }
    }
    return out;
}

QImage frEmbossedGlyph(const QImage &image, QRgb transparent)
{
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    out.fill(kGlyphFace);
    const QRgb t = transparent | 0xFF000000;
    auto ink = [&](int x, int y) {
        const QRgb c = src.pixel(x, y) | 0xFF000000;
        return c != t && c != kGlyphFace && c != 0xFFFFFFFF;
    };
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (ink(x, y) && x + 1 < out.width() && y + 1 < out.height())
                out.setPixel(x + 1, y + 1, qRgb(255, 255, 255));
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (ink(x, y))
                out.setPixel(x, y, qRgb(128, 128, 128));
    return out;
}

// --- glyph holder

void TButtonGlyph::SetGlyph(const QImage &glyph)
{
    Invalidate();
    m_original = glyph;
    if (!glyph.isNull() && glyph.height() > 0 && glyph.width() % glyph.height() == 0) {
        const int n = glyph.width() / glyph.height();
        m_numGlyphs = n < 5 ? n : 1;
    } else {
        // A strip without height holds one glyph (a divisor of 0 would not).
        m_numGlyphs = 1;
    }
    if (m_numGlyphs < 1)
        m_numGlyphs = 1;
}

void TButtonGlyph::SetNumGlyphs(int n)
{
    n = std::clamp(n, 1, 4);
    if (n == m_numGlyphs)
        return;
    Invalidate();
    m_numGlyphs = n;
}

QSize TButtonGlyph::GlyphSize() const
{
    if (m_original.isNull())
        return {};
    return {m_original.width() / m_numGlyphs, m_original.height()};
}

void TButtonGlyph::Invalidate()
{
    if (m_list) {
        for (int &index : m_indexes) {
            if (index >= 0)
                m_list->Delete(index);
            index = -1;
        }
        if (g_cache)
            g_cache->ReturnList(m_list);
        m_list = nullptr;
    }
    m_indexes.fill(-1);
}

QPixmap TButtonGlyph::StateImage(TfrButtonState state)
{
    const QSize size = GlyphSize();
    if (size.isEmpty() || !g_cache)
        return {};
    int &index = m_indexes[size_t(state)];
    if (index >= 0 && m_list)
        return m_list->Image(index);
    if (!m_list)
        m_list = g_cache->GetList(size.width(), size.height());

    auto part = [&](int n) {
        return m_original.copy(n * size.width(), 0, size.width(), size.height());
    };
    QImage img;
    switch (state) {
    case bsUp:
        img = part(0);
        break;
    case bsDown:
    case bsExclusive: {
        const int n = state == bsDown ? 2 : 3;
        img = m_numGlyphs > n ? part(n) : part(0);
        break;
    }
    case bsDisabled:
        img = m_numGlyphs > 1 ? part(1) : frEmbossedGlyph(part(0), m_transparent);
        break;
    case bsGrayed:
        img = frGrayedGlyph(part(0), m_transparent);
        break;
    }
    // Drawn transparently: the olive pixels show what lies under the glyph.
    QImage argb = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if ((line[x] | 0xFF000000) == (m_transparent | 0xFF000000))
                line[x] = 0;
    }
    index = m_list->Add(QPixmap::fromImage(argb));
    return m_list->Image(index);
}

// --- button

TfrSpeedButton::TfrSpeedButton(QWidget *parent) : QAbstractButton(parent)
{
    if (g_liveButtons++ == 0)
        g_cache = std::make_unique<TGlyphCache>();
    resize(22, 22);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    connect(this, &QAbstractButton::clicked, this, platform::handler([this] {
                if (OnClick)
                    OnClick();
            }));
}

TfrSpeedButton::~TfrSpeedButton()
{
    m_glyph.Invalidate();
    if (--g_liveButtons == 0)
        g_cache.reset();
}

void TfrSpeedButton::SetAllowAllUp(bool value)
{
    if (m_allowAllUp == value)
        return;
    m_allowAllUp = value;
    notifyGroup();
}

void TfrSpeedButton::SetGroupIndex(int value)
{
    if (m_groupIndex == value)
        return;
    m_groupIndex = value;
    notifyGroup();
}

void TfrSpeedButton::SetDown(bool value)
{
    if (m_groupIndex == 0)
        value = false;
    if (value == m_down)
        return;
    if (m_down && !m_allowAllUp)
        return;
    m_down = value;
    if (value) {
        if (m_state == bsUp)
            update();
        m_state = bsExclusive;
    } else {
        m_state = bsUp;
        update();
    }
    if (value)
        notifyGroup();
    update();
}

void TfrSpeedButton::SetFlat(bool value)
{
    if (m_flat != value) {
        m_flat = value;
        update();
    }
}

void TfrSpeedButton::SetGlyph(const QImage &glyph)
{
    m_glyph.SetGlyph(glyph);
    update();
}

void TfrSpeedButton::SetGrayedInactive(bool value)
{
    if (m_grayedInactive != value) {
        m_grayedInactive = value;
        update();
    }
}

void TfrSpeedButton::SetLayout(TfrButtonLayout value)
{
    if (m_layout != value) {
        m_layout = value;
        update();
    }
}

void TfrSpeedButton::SetMargin(int value)
{
    if (value >= -1 && value != m_margin) {
        m_margin = value;
        update();
    }
}

void TfrSpeedButton::SetNumGlyphs(int value)
{
    m_glyph.SetNumGlyphs(value);
    update();
}

void TfrSpeedButton::SetSpacing(int value)
{
    if (value != m_spacing) {
        m_spacing = value;
        update();
    }
}

void TfrSpeedButton::SetCaption(const QString &caption)
{
    setText(caption);
    update();
}

void TfrSpeedButton::notifyGroup()
{
    if (m_groupIndex == 0 || !parentWidget())
        return;
    for (QObject *child : parentWidget()->children())
        if (auto *button = qobject_cast<TfrSpeedButton *>(child))
            button->buttonPressed(m_groupIndex, this);
}

void TfrSpeedButton::buttonPressed(int group, TfrSpeedButton *sender)
{
    if (group != m_groupIndex)
        return;
    if (sender != this && sender->m_down && m_down) {
        m_down = false;
        m_state = bsUp;
        update();
    }
    m_allowAllUp = sender->m_allowAllUp;
}

TfrButtonState TfrSpeedButton::DrawnState() const
{
    TfrButtonState state = m_state;
    if (m_grayedInactive && isEnabled() && m_flat && !m_mouseIn)
        state = bsGrayed;
    if (!isEnabled())
        state = bsDisabled;
    else if (state == bsDisabled)
        state = m_down && m_groupIndex != 0 ? bsExclusive : bsUp;
    return state;
}

void TfrSpeedButton::DrawGlyph(QPainter &painter, int x, int y, bool enabled)
{
    const QPixmap image = m_glyph.StateImage(enabled ? bsUp : bsDisabled);
    if (!image.isNull())
        painter.drawPixmap(x, y, image);
}

void TfrSpeedButton::paintEvent(QPaintEvent *)
{
    if (!isEnabled())
        m_dragging = false;
    const TfrButtonState state = DrawnState();
    QPainter p(this);
    const QPalette &pal = palette();
    const QRect r = rect();
    const QColor face = pal.color(QPalette::Button);
    p.fillRect(r, face);
    const bool sunken = state == bsDown || state == bsExclusive;
    if (!m_flat) {
        p.setPen(sunken ? pal.color(QPalette::Dark) : pal.color(QPalette::Light));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(sunken ? pal.color(QPalette::Light) : pal.color(QPalette::Shadow));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
    bool pattern = false;
    if (m_flat)
        pattern = isEnabled() &&
                  (state == bsExclusive || (state == bsGrayed && m_state == bsExclusive)) &&
                  !m_mouseIn;
    else
        pattern = state == bsExclusive;
    if (pattern)
        p.fillRect(r.adjusted(1, 1, -1, -1), downPattern(pal));

    const QRect client = m_flat ? r : r.adjusted(2, 2, -2, -2);
    const QSize textSize =
        text().isEmpty() ? QSize() : fontMetrics().size(Qt::TextShowMnemonic, text());
    const FrButtonPlaces places =
        frButtonLayout(client, m_glyph.GlyphSize(), textSize, m_layout, m_margin, m_spacing,
                       state == bsDown || (!m_flat && state == bsExclusive));
    const QPixmap image = m_glyph.StateImage(state);
    if (!image.isNull())
        p.drawPixmap(places.glyph, image);
    if (!text().isEmpty()) {
        if (state == bsDisabled) {
            p.setPen(Qt::white);
            p.drawText(places.caption.translated(1, 1), Qt::TextShowMnemonic, text());
            p.setPen(pal.color(QPalette::Dark));
        } else {
            p.setPen(pal.color(QPalette::ButtonText));
        }
        p.drawText(places.caption, Qt::TextShowMnemonic, text());
    }
    if (m_flat && isEnabled() && (m_mouseIn || m_state == bsExclusive)) {
        const bool raised = state == bsUp || state == bsGrayed;
        p.setPen(raised ? pal.color(QPalette::Light) : pal.color(QPalette::Dark));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(raised ? pal.color(QPalette::Dark) : pal.color(QPalette::Light));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
}

void TfrSpeedButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    if (!m_down) {
        m_state = bsDown;
        update();
    }
    m_dragging = true;
}

void TfrSpeedButton::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    TfrButtonState next = inside ? (m_down ? bsExclusive : bsDown) : (m_down ? bsExclusive : bsUp);
    if (next != m_state) {
        m_state = next;
        update();
    }
}

void TfrSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    const bool inside = rect().contains(event->position().toPoint());
    if (m_groupIndex == 0) {
        m_state = bsUp;
        m_mouseIn = false;
        update();
    } else if (inside) {
        const bool wasDown = m_down;
        SetDown(!m_down);
        if (wasDown == m_down) // a down button that may not go up
            m_state = m_down ? bsExclusive : bsUp;
        update();
    } else if (m_down) {
        m_state = bsExclusive;
        update();
    } else {
        m_state = bsUp;
        update();
    }
    if (inside)
        clickButton();
}

void TfrSpeedButton::clickButton()
{
    emit clicked(false);
}

void TfrSpeedButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_down && OnDblClick)
        OnDblClick();
    else
        mousePressEvent(event);
}

void TfrSpeedButton::enterEvent(QEnterEvent *)
{
    if (!m_flat || !isEnabled() || m_mouseIn)
        return;
    m_mouseIn = true;
    if (OnMouseEnter)
        OnMouseEnter();
    update();
}

void TfrSpeedButton::leaveEvent(QEvent *)
{
    if (!m_flat || !isEnabled() || !m_mouseIn)
        return;
    m_mouseIn = false;
    if (OnMouseLeave)
        OnMouseLeave();
    update();
}

void TfrSpeedButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        m_glyph.StateImage(isEnabled() ? bsUp : bsDisabled);
        if (!isEnabled())
            m_mouseIn = false;
        else
            m_mouseIn = underMouse();
    }
    QAbstractButton::changeEvent(event);
    update();
}

// --- combo edit

TfrComboEdit::TfrComboEdit(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    resize(width(), 21);
    m_panel = new QFrame(this);
    m_button = new TfrSpeedButton(m_panel);
    m_button->setObjectName(QStringLiteral("SB1"));
    m_button->SetCaption(QStringLiteral("..."));
    m_button->OnClick = platform::handler([this] {
        if (lineEdit())
            lineEdit()->setFocus();
        if (OnButtonClick)
            OnButtonClick();
    });
    if (lineEdit())
        lineEdit()->installEventFilter(this);
}

void TfrComboEdit::SetButtonEnabled(bool value)
{
    m_buttonEnabled = value;
    m_button->setEnabled(value && isEnabled());
}

void TfrComboEdit::resizeEvent(QResizeEvent *event)
{
    QComboBox::resizeEvent(event);
    const int h = height();
    m_panel->setGeometry(width() - h + 2, 2, h - 4, h - 4);
    m_button->setGeometry(0, 0, h - 4, h - 4);
    if (lineEdit())
        lineEdit()->setFixedWidth(std::max(0, width() - h - 4));
}

void TfrComboEdit::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        m_button->setEnabled(isEnabled() && m_buttonEnabled);
    QComboBox::changeEvent(event);
}

bool TfrComboEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
            key->key() == Qt::Key_Escape) {
            // The form's default and cancel buttons answer these keys.
            if (QWidget *form = window(); form && form != this) {
                QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
                QApplication::sendEvent(form, &copy);
            }
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

// --- control utilities

void frEnableControls(const QList<QWidget *> &controls, bool enabled)
{
    for (QWidget *w : controls) {
        if (!w)
            continue;
        w->setEnabled(enabled);
        if (qobject_cast<QLabel *>(w)) {
            QPalette pal = w->palette();
            pal.setColor(
                QPalette::WindowText,
                enabled ? QApplication::palette().color(QPalette::WindowText)
                        : QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
            w->setPalette(pal);
        } else if (!qobject_cast<TfrSpeedButton *>(w)) {
            QPalette pal = w->palette();
            pal.setColor(QPalette::Base, enabled ? QApplication::palette().color(QPalette::Base)
                                                 : QApplication::palette().color(QPalette::Button));
            w->setPalette(pal);
        }
    }
}

QWidget *frControlAtPos(QWidget *parent, const QPoint &point)
{
    if (!parent)
        return nullptr;
    const QObjectList &children = parent->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto *w = qobject_cast<QWidget *>(*it);
        if (!w || w->isWindow() || !w->isVisibleTo(parent))
            continue;
        if (!w->geometry().contains(point))
            continue;
        const bool holdsControls =
            std::any_of(w->children().begin(), w->children().end(), [](QObject *o) {
                // A window of its own (a tooltip, a popup) is not a control it holds.
                auto *child = qobject_cast<QWidget *>(o);
                return child && !child->isWindow();
            });
        if (!holdsControls)
            return w;
        if (QWidget *inner = frControlAtPos(w, point - w->pos()))
            return inner;
    }
    return nullptr;
}

} // namespace report
