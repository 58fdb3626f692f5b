#pragma once
// Dock areas along a window's edges, toolbars that move within them, across
// them or out into a small floating window, and the routines that remember
// where toolbars and windows were (in the library's registry key).
#include "report/ui/frctrls.h"

#include <QFrame>
#include <QPointer>
#include <QWidget>
#include <optional>
#include <vector>

class QRubberBand;

namespace report
{

enum TfrDockAlign { daTop, daBottom, daLeft, daRight };
enum TfrOrientation { toAny, toVertOnly, toHorzOnly };

// --- the rules, over rectangles

// Packs the rows of a dock: bars are the visible toolbars (dock
// coordinates), moved in place; returns the dock's new thickness.
int frArrangeDockRows(TfrDockAlign align, int thickness, int rowSize, bool hasChildren,
                      std::vector<QRect> &bars);

struct FrDockMove {
    bool settled = false;     // false: four passes did not find a place
    bool markedFloat = false; // dragged past the start: float at the mouse
    int x = 0;
    int y = 0;
};
// Where a toolbar of bar's size tried at (x, y) may go in a dock of that
// size among the other visible toolbars.
FrDockMove frMoveInDock(bool horizontal, const QSize &dock, const QSize &bar,
                        const std::vector<QRect> &others, int x, int y, bool canFloat);

struct FrDockCandidate {
    QRect rect; // the dock in form coordinates, borders included
    TfrDockAlign align;
};
struct FrDockAt {
    int dock = -1; // index in the candidates
    QPoint pos;    // the toolbar's place in that dock
};
// The dock under point and where a toolbar of that size (as it stands in a
// horizontal dock) docks in it; nothing when no dock takes it.
std::optional<FrDockAt> frDockAtPoint(const std::vector<FrDockCandidate> &docks,
                                      const QPoint &point, const QSize &horizontalSize,
                                      TfrOrientation orientation);

// Items of a toolbar laid out one after the other along its direction
// (grip first) from 1, in the order of their positions; returns the length
// the toolbar takes (sum of the sizes + 4).
int frArrangeItems(std::vector<QRect> &items, bool vertical);

// --- the classes

class TfrDock;
class TfrToolBar;

class TfrTBButton : public TfrSpeedButton
{
    Q_OBJECT
public:
    explicit TfrTBButton(QWidget *parent = nullptr);
};

class TfrTBSeparator : public QWidget
{
    Q_OBJECT
public:
    explicit TfrTBSeparator(QWidget *parent = nullptr);
    bool DrawBevel = true;

protected:
    void paintEvent(QPaintEvent *event) override;
};

class TfrTBPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TfrTBPanel(QWidget *parent = nullptr);
};

class TfrDragBox : public QWidget
{
    Q_OBJECT
public:
    explicit TfrDragBox(TfrToolBar *bar);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TfrToolBar *m_bar;
};

class TfrDock : public QWidget
{
    Q_OBJECT
public:
    TfrDock(TfrDockAlign align, QWidget *parent = nullptr);
    int RowSize = 26;
    TfrDockAlign Align() const { return m_align; }
    bool Horizontal() const { return m_align == daTop || m_align == daBottom; }
    int Thickness() const { return Horizontal() ? height() : width(); }
    void AdjustBounds();
    std::vector<TfrToolBar *> ToolBars(bool visibleOnly) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TfrDockAlign m_align;
};

class TfrFloatWindow : public QWidget
{
    Q_OBJECT
public:
    TfrFloatWindow(TfrToolBar *bar, QWidget *owner);
    ~TfrFloatWindow() override;
    TfrToolBar *ToolBar() const { return m_bar; }
    void forgetToolBar() { m_bar = nullptr; }
    static constexpr int kCaption = 12;
    // The drag frame while the window is moved (tests read it).
    QRubberBand *DragFrame() const { return m_frame; }
    // Starts moving with the mouse at global (as when its caption is pressed).
    void beginDrag(const QPoint &global);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TfrToolBar *m_bar;
    QRubberBand *m_frame = nullptr;
    bool m_dragging = false;
    QPoint m_grab;
};

class TfrToolBar : public QFrame
{
    Q_OBJECT
public:
    explicit TfrToolBar(QWidget *parent = nullptr);
    ~TfrToolBar() override;

    bool CanFloat = true;
    TfrOrientation Orientation = toAny;
    QString Caption;

    bool IsFloat() const { return m_float != nullptr; }
    TfrFloatWindow *FloatWindow() const { return m_float; }
    TfrDock *Dock() const;
    TfrDragBox *Grip() const { return m_grip; }
    bool IsVisible() const;
    void SetIsVisible(bool visible);

    void AppendToDock(TfrDock *dock);
    void DockTo(TfrDock *dock, int x, int y);
    void FloatTo(int x, int y);
    void AdjustBounds();
    // Tries to move within the dock; false when no place was found.
    bool MoveTo(int x, int y);

    // --- drag, fed by the grip or the background (toolbar coordinates)
    void DragPress(const QPoint &global);
    void DragMove(const QPoint &global);
    void DragRelease();
    bool Dragging() const { return m_dragging; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TfrFloatWindow;
    void arrange(bool vertical);
    std::vector<QWidget *> items(bool visibleOnly) const;

    TfrDragBox *m_grip;
    TfrFloatWindow *m_float = nullptr;
    bool m_dragging = false;
    QPoint m_start;
};

// The library's key under the current user ("Software\VornReport" until
// the designer appends the application title).
QString &frRegistryKey();

void frSaveToolbarPosition(TfrToolBar *toolBar);
void frRestoreToolbarPosition(TfrToolBar *toolBar);
void frSaveFormPosition(QWidget *form);
// True when a placement was stored (and taken).
bool frRestoreFormPosition(QWidget *form);
// A window's rectangle (frame included) made to lie whole on the screen
// that holds most of it, or on the nearest when it lies off every screen:
// moved in, and made no larger than that screen.
QRect frOnScreen(const QRect &bounds, const QList<QRect> &screens);

} // namespace report
