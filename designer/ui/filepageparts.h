#pragma once
// The file and page commands of a designer window, with what the window
// lends them: its caption, painting and cursor, the page options dialog, the
// dragging of page tabs and the object items of the surface's popup.
#include <QObject>
#include <QPoint>
#include <memory>

class QTabBar;

namespace designer
{

class DesignerCore;
class PageCommands;

// Moves the current page onto the tab it is dragged to: press, move, then
// release over another tab.
class TabDragFilter : public QObject
{
    Q_OBJECT
public:
    TabDragFilter(QTabBar *tabs, std::shared_ptr<PageCommands> pages, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTabBar *m_tabs;
    std::shared_ptr<PageCommands> m_pages;
    bool m_armed = false;
    bool m_dragging = false;
    QPoint m_pressed;
};

// The install step of these commands (window: the designer window).
void installFilePageParts(DesignerCore &core, QObject *window);

} // namespace designer
