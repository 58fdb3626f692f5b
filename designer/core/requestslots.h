#pragma once
// The dialogs and editors that the designer opens, one slot each. A slot
// that no one filled answers "cancelled" (or does nothing), and the command
// that needs it is disabled: the window asks isSet() before enabling it.
#include <QString>
#include <functional>
#include <map>
#include <optional>

namespace report
{
class TfrView;
}

namespace designer
{

struct RequestSlots {
    // Page options of the current page; true when confirmed.
    std::function<bool()> pageOptions;
    // Band type dialog; argument: the current page is a subreport's target.
    // The chosen band type, or nothing on Cancel.
    std::function<std::optional<int>(bool subreportTarget)> bandType;
    // The editor of an object (dispatch by kind: band editors, the object's
    // own editor); ctrlText: Ctrl held, the memo text editor instead.
    std::function<void(report::TfrView *view, bool ctrlText)> objectEditor;
    std::function<void(report::TfrView *view)> tagEditor;
    std::function<void(report::TfrView *view)> restrictionsEditor;
    std::function<void(report::TfrView *view)> pictureEditor;
    // Expression builder: the text of its editor on OK.
    std::function<std::optional<QString>()> expressionBuilder;
    // DB field picker: the chosen field on OK.
    std::function<std::optional<QString>()> fieldPicker;
    std::function<void()> highlight;
    std::function<void()> templates;
    std::function<void()> designerOptions;
    std::function<void()> reportOptions;
    std::function<void()> insertFields;
    // The DB fields tool window.
    std::function<void()> dbFieldsShow;
    std::function<void()> dbFieldsHide;
    std::function<void()> dbFieldsRefresh;
    std::function<void()> dbFieldsExpand;
    // The field chosen in the DB fields window (for a drop on the surface).
    std::function<QString()> dbFieldsChosen;
    std::function<void()> dictionary;
    // The object inspector.
    std::function<void()> inspectorShow;
    std::function<void()> inspectorRefill;
    std::function<void(bool locked)> inspectorLock;
    std::function<void()> about;
    std::function<void()> help;
    // Attribute command of the tool bars by tag (DoClick).
    std::function<void(int tag)> attributeCommand;
    // The page's script editor (double click on an empty dialog page).
    std::function<void()> pageScript;
    // The window's commands that later parts build, by handler name
    // ("FileBtn1Click", "ZB1Click", "Align3Click", "ClB1Click", ...): a name
    // without a function leaves its buttons and menu items disabled.
    std::map<QString, std::function<void()>> commands;
};

} // namespace designer
