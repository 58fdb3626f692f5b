#include "report/ui/frdock.h"

#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/registry/registry.h"
#include "report/objects/frglobals.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <algorithm>

namespace report
{

namespace
{

constexpr int kGrip = 11;

void raisedFrame(QPainter &p, const QRect &r, const QPalette &pal)
{
    p.setPen(pal.color(QPalette::Light));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(pal.color(QPalette::Dark));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

// --- rules

int frArrangeDockRows(TfrDockAlign align, int thickness, int rowSize, bool hasChildren,
                      std::vector<QRect> &bars)
{
    if (!hasChildren)
        return 1;
    if (rowSize <= 0)
        return thickness;
    const bool horizontal = align == daTop || align == daBottom;
    const bool leading = align == daTop || align == daLeft;
    auto start = [&](const QRect &r) { return horizontal ? r.top() : r.left(); };
    auto extent = [&](const QRect &r) { return horizontal ? r.height() : r.width(); };
    auto shift = [&](QRect &r, int d) {
        if (horizontal)
            r.translate(0, d);
        else
            r.translate(d, 0);
    };

    int n = thickness / rowSize;
    int size = rowSize * n + 1;
    int pos = leading ? 0 : thickness;
    const int step = leading ? rowSize : -rowSize;
    for (int i = 0; i < n; ++i, pos += step) {
        int count = 0;
        for (const QRect &r : bars) {
            const int a = start(r), e = extent(r);
            const bool edge = leading ? a == pos : a + e == pos;
            if (edge || (a < pos && pos < a + e))
                ++count;
        }
        if (count != 0)
            continue;
        for (QRect &r : bars) {
            const int a = start(r), e = extent(r);
            if (leading ? a > pos : a + e > pos)
                shift(r, -rowSize);
        }
        size -= rowSize;
        --n;
        --i;
        if (leading)
            pos -= step; // the next row now sits on the same line
    }
    for (QRect &r : bars) {
        const int a = start(r), e = extent(r);
        if (!leading && a < 0) {
            const int d = 1 - a;
            size += d;
            for (QRect &other : bars)
                shift(other, d);
            break;
        }
        if (leading && a + e > size) {
            size = a + e + 1;
            break;
        }
    }
    if (!leading)
        for (const QRect &r : bars)
            size = std::max(size, start(r) + extent(r));
    return size;
}

FrDockMove frMoveInDock(bool horizontal, const QSize &dock, const QSize &bar,
                        const std::vector<QRect> &others, int x, int y, bool canFloat)
{
    FrDockMove out;
    // Work along the dock's direction: a vertical dock swaps the axes.
    int along = horizontal ? x : y;
    const int across = horizontal ? y : x;
    const int length = horizontal ? bar.width() : bar.height();
    const int thickness = horizontal ? bar.height() : bar.width();
    const int dockLength = horizontal ? dock.width() : dock.height();
    // A pass that moved the toolbar at all asks for another one.
    bool changed = true;
    int passes = 0;
    auto set = [&](int value) {
        if (value != along) {
            along = value;
            changed = true;
        }
    };
    while (changed && passes < 4) {
        changed = false;
        ++passes;
        if (along < -20 && canFloat)
            out.markedFloat = true;
        if (along < 0)
            set(0);
        if (along + length > dockLength)
            set(dockLength - length);
        for (const QRect &o : others) {
            const int oa = horizontal ? o.left() : o.top();
            const int ol = horizontal ? o.width() : o.height();
            const int oc = horizontal ? o.top() : o.left();
            const int ot = horizontal ? o.height() : o.width();
            const bool sameRow =
                (oc <= across && across < oc + ot) || (across <= oc && oc < across + thickness);
            if (!sameRow)
                continue;
            if (oa <= along && along < oa + ol)
                set(oa + ol);
            else if (along < oa && oa < along + length)
                set(oa - length);
        }
    }
    if (changed)
        return out; // four passes did not settle
    out.settled = true;
    out.x = horizontal ? along : across;
    out.y = horizontal ? across : along;
    return out;
}

std::optional<FrDockAt> frDockAtPoint(const std::vector<FrDockCandidate> &docks,
                                      const QPoint &point, const QSize &horizontalSize,
                                      TfrOrientation orientation)
{
    for (size_t i = 0; i < docks.size(); ++i) {
        const FrDockCandidate &d = docks[i];
        if (!d.rect.contains(point))
            continue;
        const bool horizontal = d.align == daTop || d.align == daBottom;
        if (horizontal && orientation == toVertOnly)
            continue;
        if (!horizontal && orientation == toHorzOnly)
            continue;
        QSize size = horizontalSize;
        if (!horizontal && size.width() > size.height())
            size.transpose();
        FrDockAt at;
        at.dock = int(i);
        if (horizontal) {
            int x = point.x() - d.rect.left();
            if (x + size.width() > d.rect.width())
                x = d.rect.width() - size.width();
            if (x < 0)
                x = 0;
            at.pos = QPoint(x, d.align == daTop ? d.rect.height() - 1 : 1 - size.height());
        } else {
            int y = point.y() - d.rect.top();
            if (y + size.height() > d.rect.height())
                y = d.rect.height() - size.height();
            if (y < 0)
                y = 0;
            at.pos = QPoint(d.align == daLeft ? d.rect.width() - 1 : 1 - size.width(), y);
        }
        return at;
    }
    return std::nullopt;
}

int frArrangeItems(std::vector<QRect> &items, bool vertical)
{
    std::vector<size_t> order(items.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return vertical ? items[a].top() < items[b].top() : items[a].left() < items[b].left();
    });
    int pos = 1;
    int total = 0;
    for (size_t i : order) {
        QRect &r = items[i];
        if (vertical)
            r.moveTo(1, pos);
        else
            r.moveTo(pos, 1);
        const int len = vertical ? r.height() : r.width();
        pos += len;
        total += len;
    }
    return total + 4;
}

// --- items

TfrTBButton::TfrTBButton(QWidget *parent) : TfrSpeedButton(parent)
{
    SetFlat(true);
}

TfrTBSeparator::TfrTBSeparator(QWidget *parent) : QWidget(parent)
{
    resize(8, 8);
}

void TfrTBSeparator::paintEvent(QPaintEvent *)
{
    if (!DrawBevel)
        return;
    QPainter p(this);
    const bool vertical = height() > width() || !parentWidget() ||
                          parentWidget()->width() >= parentWidget()->height();
    if (vertical) {
        const int x = width() / 2 - 1;
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(x, 1, x, height() - 2);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(x + 1, 1, x + 1, height() - 2);
    } else {
        const int y = height() / 2 - 1;
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(1, y, width() - 2, y);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(1, y + 1, width() - 2, y + 1);
    }
}

TfrTBPanel::TfrTBPanel(QWidget *parent) : QFrame(parent)
{
    resize(8, 8);
}

// --- grip

TfrDragBox::TfrDragBox(TfrToolBar *bar) : QWidget(bar), m_bar(bar)
{
    setObjectName(QStringLiteral("DragBox"));
    setGeometry(0, 0, kGrip, kGrip);
    setCursor(Qt::SizeAllCursor);
}

void TfrDragBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const bool inHorizontal = !m_bar->Dock() || m_bar->Dock()->Horizontal();
    for (int a : {2, 5}) {
        const QRect r = inHorizontal ? QRect(a, 2, 3, height() - 4) : QRect(2, a, width() - 4, 3);
        raisedFrame(p, r.adjusted(0, 0, -1, -1), palette());
    }
}

void TfrDragBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        platform::guard([&] { m_bar->DragPress(event->globalPosition().toPoint()); });
}

void TfrDragBox::mouseMoveEvent(QMouseEvent *event)
{
    platform::guard([&] { m_bar->DragMove(event->globalPosition().toPoint()); });
}

void TfrDragBox::mouseReleaseEvent(QMouseEvent *)
{
    m_bar->DragRelease();
}

// --- dock

TfrDock::TfrDock(TfrDockAlign align, QWidget *parent) : QWidget(parent), m_align(align)
{
    if (Horizontal())
        resize(parent ? parent->width() : 100, 1);
    else
        resize(1, parent ? parent->height() : 100);
}

std::vector<TfrToolBar *> TfrDock::ToolBars(bool visibleOnly) const
{
    std::vector<TfrToolBar *> out;
    for (QObject *o : children())
        if (auto *bar = qobject_cast<TfrToolBar *>(o))
            if (!visibleOnly || bar->isVisibleTo(const_cast<TfrDock *>(this)))
                out.push_back(bar);
    return out;
}

void TfrDock::AdjustBounds()
{
    const std::vector<TfrToolBar *> all = ToolBars(false);
    const std::vector<TfrToolBar *> bars = ToolBars(true);
    std::vector<QRect> rects;
    for (TfrToolBar *b : bars)
        rects.push_back(b->geometry());
    const int size = frArrangeDockRows(m_align, Thickness(), RowSize, !all.empty(), rects);
    for (size_t i = 0; i < bars.size(); ++i)
        bars[i]->setGeometry(rects[i]);
    switch (m_align) {
    case daTop:
        resize(width(), size);
        break;
    case daLeft:
        resize(size, height());
        break;
    case daBottom:
        if (size > height())
            setGeometry(x(), y() - (size - height()), width(), size);
        else
            resize(width(), size);
        break;
    case daRight:
        if (size > width())
            setGeometry(x() - (size - width()), y(), size, height());
        else
            resize(size, height());
        break;
    }
}

void TfrDock::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
}

// --- float window

TfrFloatWindow::TfrFloatWindow(TfrToolBar *bar, QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), m_bar(bar)
{
    setObjectName(QStringLiteral("frFloatWindow"));
    setWindowTitle(bar->Caption);
    frObjects().frFloatWindows.push_back(this);
}

TfrFloatWindow::~TfrFloatWindow()
{
    delete m_frame;
    auto &list = frObjects().frFloatWindows;
    list.erase(std::remove(list.begin(), list.end(), QPointer<QWidget>(this)), list.end());
    list.erase(std::remove(list.begin(), list.end(), QPointer<QWidget>()), list.end());
    if (m_bar && m_bar->m_float == this)
        m_bar->m_float = nullptr;
}

void TfrFloatWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    p.fillRect(QRect(0, 0, width(), kCaption), palette().color(QPalette::Highlight));
    p.setPen(palette().color(QPalette::HighlightedText));
    QFont f = font();
    f.setPixelSize(9);
    p.setFont(f);
    p.drawText(QRect(2, 0, width() - 4, kCaption), Qt::AlignVCenter, windowTitle());
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TfrFloatWindow::beginDrag(const QPoint &global)
{
    m_dragging = true;
    m_grab = global;
    if (!m_frame)
        m_frame = new QRubberBand(QRubberBand::Rectangle, nullptr);
    m_frame->setGeometry(QRect(global, size()));
    m_frame->show();
    grabMouse();
}

void TfrFloatWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        beginDrag(event->globalPosition().toPoint());
}

void TfrFloatWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const QPoint global = event->globalPosition().toPoint();
    platform::guard([&] {
        TfrToolBar *bar = m_bar;
        QWidget *form = bar ? bar->window() : nullptr;
        if (bar && parentWidget()) {
            form = parentWidget()->window();
            std::vector<FrDockCandidate> candidates;
            std::vector<TfrDock *> docks;
            for (QObject *o : form->children())
                if (auto *d = qobject_cast<TfrDock *>(o)) {
                    candidates.push_back({d->geometry(), d->Align()});
                    docks.push_back(d);
                }
            QSize size = bar->size();
            if (size.height() > size.width())
                size.transpose();
            if (const auto at = frDockAtPoint(candidates, form->mapFromGlobal(global), size,
                                              bar->Orientation)) {
                m_dragging = false;
                releaseMouse();
                if (m_frame)
                    m_frame->hide();
                bar->DockTo(docks[size_t(at->dock)], at->pos.x(), at->pos.y());
                bar->DragPress(global);
                bar->grabMouse();
                return;
            }
        }
        if (m_frame)
            m_frame->setGeometry(QRect(global, size()));
    });
}

void TfrFloatWindow::mouseReleaseEvent(QMouseEvent *)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    releaseMouse();
    if (m_frame) {
        m_frame->hide();
        move(m_frame->geometry().topLeft());
        delete m_frame;
        m_frame = nullptr;
    }
}

// --- toolbar

TfrToolBar::TfrToolBar(QWidget *parent) : QFrame(parent)
{
    resize(100, 26);
    m_grip = new TfrDragBox(this);
}

TfrToolBar::~TfrToolBar()
{
    if (m_float) {
        TfrFloatWindow *w = m_float;
        m_float = nullptr;
        w->forgetToolBar();
        setParent(nullptr);
        w->deleteLater();
    }
}

TfrDock *TfrToolBar::Dock() const
{
    return qobject_cast<TfrDock *>(parentWidget());
}

bool TfrToolBar::IsVisible() const
{
    return m_float ? m_float->isVisible() || !m_float->isHidden() : !isHidden();
}

void TfrToolBar::SetIsVisible(bool visible)
{
    if (m_float)
        m_float->setVisible(visible);
    else
        setVisible(visible);
    if (TfrDock *d = Dock())
        d->AdjustBounds();
}

std::vector<QWidget *> TfrToolBar::items(bool visibleOnly) const
{
    std::vector<QWidget *> out;
    for (QObject *o : children())
        if (auto *w = qobject_cast<QWidget *>(o))
            if (!w->isWindow() && (!visibleOnly || w->isVisibleTo(const_cast<TfrToolBar *>(this))))
                out.push_back(w);
    return out;
}

void TfrToolBar::arrange(bool vertical)
{
    // A toolbar turned across swaps its size; its items follow its direction.
    if ((vertical && width() > height()) || (!vertical && height() > width()))
        resize(height(), width());
    std::vector<QWidget *> list = items(true);
    std::vector<QRect> rects;
    for (QWidget *w : list) {
        QRect r = w->geometry();
        const bool across = vertical ? r.left() > r.top() : r.top() > r.left();
        if (w != m_grip && across)
            r = QRect(r.top(), r.left(), r.width(), r.height()); // Top takes the former Left
        rects.push_back(r);
    }
    // The grip leads.
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == m_grip)
            rects[i].moveTo(-1000, -1000);
    const int length = frArrangeItems(rects, vertical);
    for (size_t i = 0; i < list.size(); ++i)
        list[i]->setGeometry(rects[i]);
    if (vertical)
        resize(width(), length);
    else
        resize(length, height());
    // The grip keeps its corner place even when the size did not change.
    m_grip->setGeometry(0, 0, vertical ? width() : kGrip, vertical ? kGrip : height());
}

void TfrToolBar::AdjustBounds()
{
    const TfrDock *d = Dock();
    arrange(d && !d->Horizontal());
}

void TfrToolBar::AppendToDock(TfrDock *dock)
{
    switch (dock->Align()) {
    case daTop:
        DockTo(dock, 0, dock->height() - 1);
        break;
    case daBottom:
        DockTo(dock, 0, 1 - height());
        break;
    case daLeft:
        DockTo(dock, dock->width() - 1, 0);
        break;
    case daRight:
        DockTo(dock, 1 - width(), 0);
        break;
    }
}

void TfrToolBar::DockTo(TfrDock *dock, int x, int y)
{
    TfrDock *old = Dock();
    if (m_float) {
        TfrFloatWindow *w = m_float;
        m_float = nullptr;
        w->forgetToolBar();
        setParent(dock);
        w->hide();
        w->deleteLater(); // it may be handling the mouse event that docks us
    } else {
        setParent(dock);
    }
    arrange(!dock->Horizontal());
    move(x, y);
    show();
    if (old && old != dock)
        old->AdjustBounds();
    dock->AdjustBounds();
}

void TfrToolBar::FloatTo(int x, int y)
{
    if (m_float) {
        m_float->move(x, y);
        return;
    }
    TfrDock *old = Dock();
    QWidget *owner = window();
    m_float = new TfrFloatWindow(this, owner);
    m_float->move(x, y);
    setParent(m_float);
    arrange(false);
    move(0, TfrFloatWindow::kCaption);
    show();
    if (old)
        old->AdjustBounds();
    m_float->resize(width() - kGrip, height() + TfrFloatWindow::kCaption);
    // The grip has no use in a float window: the caption moves it.
    move(-kGrip, TfrFloatWindow::kCaption);
    m_float->show();
}

bool TfrToolBar::MoveTo(int x, int y)
{
    TfrDock *dock = Dock();
    if (!dock)
        return false;
    std::vector<QRect> others;
    for (TfrToolBar *b : dock->ToolBars(true))
        if (b != this)
            others.push_back(b->geometry());
    const FrDockMove move =
        frMoveInDock(dock->Horizontal(), dock->size(), size(), others, x, y, CanFloat);
    if (move.markedFloat) {
        const QPoint at = QCursor::pos();
        FloatTo(at.x(), at.y());
        m_dragging = false;
        if (m_float)
            m_float->beginDrag(at);
        return true;
    }
    if (!move.settled)
        return false;
    const bool horizontal = dock->Horizontal();
    const bool leaves = horizontal ? (move.y < 0 || move.y + height() > dock->height())
                                   : (move.x < 0 || move.x + width() > dock->width());
    const int thickness = dock->Thickness();
    QFrame::move(move.x, move.y);
    dock->AdjustBounds();
    if (CanFloat && leaves && dock->Thickness() == thickness) {
        const QPoint at = mapToGlobal(QPoint(0, 0));
        FloatTo(at.x(), at.y());
        m_dragging = false;
    }
    return true;
}

void TfrToolBar::DragPress(const QPoint &global)
{
    m_dragging = true;
    m_start = global;
}

void TfrToolBar::DragMove(const QPoint &global)
{
    if (!m_dragging)
        return;
    TfrDock *dock = Dock();
    if (!dock) {
        unsetCursor();
        m_dragging = false;
        return;
    }
    const int row = dock->RowSize;
    int dx = global.x() - m_start.x();
    int dy = global.y() - m_start.y();
    auto down = [row](int v) { return v >= 0 ? v / row * row : -((-v + row - 1) / row) * row; };
    if (!dock->Horizontal())
        dx = down(dx);
    else
        dy = down(dy);
    if (dx == 0 && dy == 0)
        return;
    const QPoint before = pos();
    if (MoveTo(x() + dx, y() + dy) && Dock()) {
        if (pos().x() != before.x())
            m_start.setX(m_start.x() + dx);
        if (pos().y() != before.y())
            m_start.setY(m_start.y() + dy);
    }
}

void TfrToolBar::DragRelease()
{
    m_dragging = false;
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

void TfrToolBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        DragPress(event->globalPosition().toPoint());
}

void TfrToolBar::mouseMoveEvent(QMouseEvent *event)
{
    platform::guard([&] { DragMove(event->globalPosition().toPoint()); });
}

void TfrToolBar::mouseReleaseEvent(QMouseEvent *)
{
    DragRelease();
}

void TfrToolBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    if (!m_float)
        raisedFrame(p, rect().adjusted(0, 0, -1, -1), palette());
}

void TfrToolBar::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    m_grip->setGeometry(0, 0, kGrip, kGrip);
    const TfrDock *d = Dock();
    if (d && !d->Horizontal())
        m_grip->resize(width(), kGrip);
    else
        m_grip->resize(kGrip, height());
}

// --- placement

QString &frRegistryKey()
{
    return frObjects().frRegistryKey;
}

namespace
{

bool openSection(platform::TRegistry &reg, const QString &section, bool create)
{
    return reg.OpenKey(QLatin1Char('\\') + frRegistryKey() + QLatin1Char('\\') + section, create);
}

int readInt(platform::TRegistry &reg, const QString &name, int fallback)
{
    if (!reg.ValueExists(name))
        return fallback;
    try {
        return reg.ReadInteger(name);
    } catch (const std::exception &) {
        return fallback;
    }
}

bool readBool(platform::TRegistry &reg, const QString &name, bool fallback)
{
    if (!reg.ValueExists(name))
        return fallback;
    try {
        return reg.ReadBool(name);
    } catch (const std::exception &) {
        return fallback;
    }
}

} // namespace

void frSaveToolbarPosition(TfrToolBar *toolBar)
{
    platform::TRegistry reg;
    if (!openSection(reg, QStringLiteral("ToolBar\\") + toolBar->objectName(), true))
        return;
    const bool floating = toolBar->IsFloat();
    reg.WriteBool(QStringLiteral("isFloat"), floating);
    reg.WriteBool(QStringLiteral("isVisible"), toolBar->IsVisible());
    const QPoint pos = floating ? toolBar->FloatWindow()->pos() : toolBar->pos();
    reg.WriteInteger(QStringLiteral("XPosition"), pos.x());
    reg.WriteInteger(QStringLiteral("YPosition"), pos.y());
    reg.WriteInteger(QStringLiteral("Width"), toolBar->width());
    reg.WriteInteger(QStringLiteral("Height"), toolBar->height());
    if (!floating && toolBar->Dock())
        reg.WriteString(QStringLiteral("DockName"), toolBar->Dock()->objectName());
}

void frRestoreToolbarPosition(TfrToolBar *toolBar)
{
    platform::TRegistry reg;
    toolBar->SetIsVisible(false);
    const bool open = openSection(reg, QStringLiteral("ToolBar\\") + toolBar->objectName(), false);
    const QPoint cur = toolBar->IsFloat() ? toolBar->FloatWindow()->pos() : toolBar->pos();
    const int x = open ? readInt(reg, QStringLiteral("XPosition"), cur.x()) : cur.x();
    const int y = open ? readInt(reg, QStringLiteral("YPosition"), cur.y()) : cur.y();
    const int w = open ? readInt(reg, QStringLiteral("Width"), toolBar->width()) : toolBar->width();
    const int h =
        open ? readInt(reg, QStringLiteral("Height"), toolBar->height()) : toolBar->height();
    toolBar->resize(w, h);
    const bool floating = open && readBool(reg, QStringLiteral("isFloat"), false);
    if (!floating) {
        TfrDock *current = toolBar->Dock();
        const QString dockName = open && reg.ValueExists(QStringLiteral("DockName"))
                                     ? reg.ReadString(QStringLiteral("DockName"))
                                     : (current ? current->objectName() : QString());
        QWidget *form = current ? current->window() : toolBar->window();
        TfrDock *target = form ? form->findChild<TfrDock *>(dockName) : nullptr;
        if (target && target != current) {
            toolBar->DockTo(target, x, y);
        } else {
            toolBar->move(x, y);
        }
        toolBar->AdjustBounds();
    } else {
        toolBar->FloatTo(x, y);
    }
    toolBar->SetIsVisible(open ? readBool(reg, QStringLiteral("isVisible"), true) : true);
}

void frSaveFormPosition(QWidget *form)
{
    platform::TRegistry reg;
    if (!openSection(reg,
                     QStringLiteral("Form\\") + QString::fromLatin1(form->metaObject()->className())
                                                    .section(QLatin1String("::"), -1),
                     true))
        return;
    const QRect r = form->isMaximized() ? form->normalGeometry() : form->geometry();
    reg.WriteInteger(QStringLiteral("XPosition"), r.x());
    reg.WriteInteger(QStringLiteral("YPosition"), r.y());
    reg.WriteInteger(QStringLiteral("Width"), r.width());
    reg.WriteInteger(QStringLiteral("Height"), r.height());
    reg.WriteBool(QStringLiteral("Maximized"), form->isMaximized());
}

QRect frOnScreen(const QRect &bounds, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return bounds;
    // The screen holding most of it, else the nearest.
    const QRect *best = nullptr;
    qint64 bestArea = 0;
    for (const QRect &s : screens) {
        const QRect common = s.intersected(bounds);
        const qint64 area = qint64(common.width()) * common.height();
        if (!common.isEmpty() && area > bestArea) {
            bestArea = area;
            best = &s;
        }
    }
    if (!best) {
        qint64 bestDist = -1;
        for (const QRect &s : screens) {
            const qint64 dx = std::max({s.left() - bounds.right(), bounds.left() - s.right(), 0});
            const qint64 dy = std::max({s.top() - bounds.bottom(), bounds.top() - s.bottom(), 0});
            const qint64 d = dx * dx + dy * dy;
            if (bestDist < 0 || d < bestDist) {
                bestDist = d;
                best = &s;
            }
        }
    }
    // Whole on it: no larger than it, moved in as little as it takes.
    QRect r(bounds.topLeft(), bounds.size().boundedTo(best->size()));
    r.moveLeft(std::clamp(r.left(), best->left(), best->right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), best->top(), best->bottom() + 1 - r.height()));
    return r;
}

bool frRestoreFormPosition(QWidget *form)
{
    platform::TRegistry reg;
    if (!openSection(reg,
                     QStringLiteral("Form\\") + QString::fromLatin1(form->metaObject()->className())
                                                    .section(QLatin1String("::"), -1),
                     false))
        return false;
    if (!readBool(reg, QStringLiteral("Maximized"), true))
        form->setWindowState(form->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    const QRect cur = form->geometry();
    const QRect stored(readInt(reg, QStringLiteral("XPosition"), cur.x()),
                       readInt(reg, QStringLiteral("YPosition"), cur.y()),
                       readInt(reg, QStringLiteral("Width"), cur.width()),
                       readInt(reg, QStringLiteral("Height"), cur.height()));
    // Stored on another screen, perhaps a larger one: the window and its
    // frame (known or allowed for) come back whole on the current screens.
    const QMargins frame = platform::windowFrameMargins(form);
    form->setGeometry(frOnScreen(stored.marginsAdded(frame), platform::availableScreenAreas())
                          .marginsRemoved(frame));
    return reg.ValueExists(QStringLiteral("XPosition"));
}

} // namespace report
