#pragma once
// What the designer's rules need of its window: the surface widget that shows
// the page image, the tool bars, the scroll box and the status bar. The
// window implements it; core tests use a fake that records the calls.
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>

namespace designer
{

// The surface cursor doubles as the mouse engine's mode.
enum class SurfaceCursor {
    Default,        // select and move
    Pencil,         // draw a line (cursor number 11)
    Cross,          // place a new object
    SizeNWSE,       // top-left / bottom-right handle
    SizeNESW,       // top-right / bottom-left handle
    SizeNS,         // top or bottom middle handle
    SizeWE,         // left or right middle handle
    HorizontalSplit // a border shared by two selected objects
};

// Object tools: the tag of the pressed button of the objects tool bar.
constexpr int kToolSelect = -1;
constexpr int kToolMemo = 0;
constexpr int kToolPicture = 1;
constexpr int kToolBand = 2;
constexpr int kToolSubReport = 3;
constexpr int kToolLine = 4;
constexpr int kToolAddInBase = 10; // 10 + index into frAddInList

class DesignerView
{
public:
    virtual ~DesignerView() = default;

    // --- surface widget
    // The page image changed inside region (surface coordinates): repaint it.
    virtual void surfaceChanged(const QRegion &region) = 0;
    virtual void setSurfaceCursor(SurfaceCursor cursor) = 0;
    virtual SurfaceCursor surfaceCursor() const = 0;
    // The part of the surface visible in the scroll box (surface coordinates:
    // left = horizontal scroll position, top = vertical one).
    virtual QRect visibleRect() const = 0;
    // Moves the scroll bars (clamped by the scroll box).
    virtual void scrollTo(int x, int y) = 0;
    // The surface was resized or moved (layout of the current page).
    virtual void surfaceLaidOut() {}

    // --- tool bars and status
    virtual int activeTool() const = 0;
    // Presses a tool button (kToolSelect: OB1).
    virtual void pressTool(int tag) = 0;
    // Tool bars, inspector and status bar follow the selection.
    virtual void selectionChanged() = 0;
    // The position box shows the selection (or the rubber rectangle).
    virtual void positionChanged() = 0;
    // Page tabs follow the page list (subreport names).
    virtual void pageTabsChanged() = 0;
    // Shows page n (the window's SetCurPage: page window, tool bar swap).
    virtual void showPage(int n) = 0;
    // Undo and Redo buttons and items follow the buffers' counts.
    virtual void undoStateChanged() {}
    // The object popup at a surface position (right button).
    virtual void openObjectPopup(const QPoint &surfacePos) = 0;
    // Which tool-bar combo box holds the keyboard focus.
    virtual bool fontSizeBoxHasFocus() const { return false; }
    virtual bool lineWidthBoxHasFocus() const { return false; }
    virtual bool fontNameBoxHasFocus() const { return false; }
    // GridShow or GridAlign changed: GB1 and GB2 follow.
    virtual void gridOptionsChanged() {}
    // The button state of FnB1..FnB3 (bold, italic, underline) is toggled.
    virtual void toggleStyleButton(int /*which 0..2*/) {}
    // Puts a text into the line width box C4.
    virtual void setLineWidthText(const QString & /*text*/) {}
};

} // namespace designer
