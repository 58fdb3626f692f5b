#include "designer/ui/filepageparts.h"

#include "designer/core/filecommands.h"
#include "designer/core/pagecommands.h"
#include "designer/ui/designerform.h"
#include "designer/ui/pgoptform.h"

#include "platform/forms/application.h"
#include "report/objects/frpopupmenu.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>

namespace designer
{

TabDragFilter::TabDragFilter(QTabBar *tabs, std::shared_ptr<PageCommands> pages, QObject *parent)
    : QObject(parent), m_tabs(tabs), m_pages(std::move(pages))
{
    tabs->installEventFilter(this);
}

bool TabDragFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_tabs)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() == Qt::LeftButton) {
            m_armed = true;
            m_dragging = false;
            m_pressed = me->position().toPoint();
        }
        break;
    }
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (m_armed && (me->buttons() & Qt::LeftButton) &&
            (me->position().toPoint() - m_pressed).manhattanLength() >=
                QApplication::startDragDistance())
            m_dragging = true;
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::LeftButton)
            break;
        const bool drop = m_dragging;
        m_armed = m_dragging = false;
        if (!drop)
            break;
        // The press made the pressed tab the current page: it goes where
        // the mouse was released.
        const int from = m_tabs->currentIndex();
        const int to = m_tabs->tabAt(me->position().toPoint());
        if (to >= 0 && to != from)
            platform::guard([&] { m_pages->MovePage(from, to); });
        break;
    }
    default:
        break;
    }
    return false;
}

void installFilePageParts(DesignerCore &core, QObject *window)
{
    std::shared_ptr<FileCommands> files = installFileCommands(core);
    std::shared_ptr<PageCommands> pages = installPageCommands(core);
    installPageOptionsDialog(core, pages);
    auto *form = qobject_cast<TfrDesignerForm *>(window);
    if (!form)
        return;
    files->dialogOwner = form;
    files->readFileName = [form] { return form->fileName(); };
    files->writeFileName = [form](const QString &name) { form->SetWindowCaption(name); };
    files->lockPainting = [form](bool locked) {
        if (form->PageView)
            form->PageView->setUpdatesEnabled(!locked);
    };
    files->processEvents = [] { platform::ProcessMessages(); };
    files->restoreCursor = [] {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    };
    new TabDragFilter(form->Tab1, pages, form);
    // The popup keeps its seven fixed items; the selection adds its own.
    QMenu *popup = form->Popup1;
    QObject::connect(popup, &QMenu::aboutToShow, form, platform::handler([popup, pages] {
                         const QList<QAction *> actions = popup->actions();
                         for (qsizetype i = 7; i < actions.size(); ++i) {
                             popup->removeAction(actions[i]);
                             actions[i]->deleteLater();
                         }
                         report::FrQMenuPopup items(popup);
                         pages->fillObjectPopup(items);
                     }));
}

} // namespace designer
