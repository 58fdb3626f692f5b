#pragma once
// The designer's context menu as the report objects fill it: separators and
// items with a text, a check mark, an enabled state and a command. The
// designer shows it through the QMenu adapter; tests read it from the
// recording one.
#include <QString>
#include <functional>
#include <vector>

class QMenu;

namespace report
{

struct FrPopupItem {
    bool separator = false;
    QString text;
    bool checkable = false;
    bool checked = false;
    bool enabled = true;
    std::function<void()> command;
};

class FrPopupMenu
{
public:
    virtual ~FrPopupMenu() = default;
    virtual void addSeparator() = 0;
    virtual void addItem(const FrPopupItem &item) = 0;

    void addCommand(const QString &text, std::function<void()> command, bool enabled = true);
    void addCheck(const QString &text, bool checked, std::function<void()> command,
                  bool enabled = true);
};

// Puts the items into a QMenu (not owned); choosing an action runs its command.
class FrQMenuPopup : public FrPopupMenu
{
public:
    explicit FrQMenuPopup(QMenu *menu) : m_menu(menu) {}
    void addSeparator() override;
    void addItem(const FrPopupItem &item) override;

private:
    QMenu *m_menu;
};

// Keeps the items in order; tests look them up and choose them.
class FrRecordingPopup : public FrPopupMenu
{
public:
    void addSeparator() override;
    void addItem(const FrPopupItem &item) override { items.push_back(item); }

    // The first item with that text, nullptr when none.
    const FrPopupItem *find(const QString &text) const;
    // Runs the command of the item with that text; false when there is none.
    bool choose(const QString &text) const;
    // The texts in order, "-" for separators.
    QStringList texts() const;

    std::vector<FrPopupItem> items;
};

} // namespace report
