#include "report/objects/frpopupmenu.h"

#include "platform/forms/application.h"

#include <QAction>
#include <QMenu>
#include <QStringList>

namespace report
{

void FrPopupMenu::addCommand(const QString &text, std::function<void()> command, bool enabled)
{
    FrPopupItem item;
    item.text = text;
    item.enabled = enabled;
    item.command = std::move(command);
    addItem(item);
}

void FrPopupMenu::addCheck(const QString &text, bool checked, std::function<void()> command,
                           bool enabled)
{
    FrPopupItem item;
    item.text = text;
    item.checkable = true;
    item.checked = checked;
    item.enabled = enabled;
    item.command = std::move(command);
    addItem(item);
}

void FrQMenuPopup::addSeparator()
{
    m_menu->addSeparator();
}

void FrQMenuPopup::addItem(const FrPopupItem &item)
{
    if (item.separator) {
        addSeparator();
        return;
    }
    QAction *action = m_menu->addAction(item.text);
    action->setCheckable(item.checkable);
    action->setChecked(item.checked);
    action->setEnabled(item.enabled);
    if (item.command) {
        auto command = item.command;
        QObject::connect(action, &QAction::triggered, action,
                         platform::handler([command] { command(); }));
    }
}

void FrRecordingPopup::addSeparator()
{
    FrPopupItem item;
    item.separator = true;
    item.text = QStringLiteral("-");
    items.push_back(item);
}

const FrPopupItem *FrRecordingPopup::find(const QString &text) const
{
    for (const FrPopupItem &item : items)
        if (!item.separator && item.text == text)
            return &item;
    return nullptr;
}

bool FrRecordingPopup::choose(const QString &text) const
{
    const FrPopupItem *item = find(text);
    if (!item || !item->command)
        return false;
    item->command();
    return true;
}

QStringList FrRecordingPopup::texts() const
{
    QStringList out;
    for (const FrPopupItem &item : items)
        out << item.text;
    return out;
}

} // namespace report
