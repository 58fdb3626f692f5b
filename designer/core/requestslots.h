#pragma once
// The dialogs and editors that the designer opens, one slot each. A slot
// that no one filled answers "cancelled" (or does nothing), and the command
// that needs it is disabled: the window asks isSet() before enabling it.
#include "platform/canvas/colors.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>

namespace report
{
class TfrView;
class FrDataSet;
} // namespace report

namespace designer
{

// The conditional highlight of memos, as the highlight dialog edits it.
struct HighlightChoice {
    QString condition;
    platform::TColor fontColor = 0;
    platform::TColor fillColor = 0x1FFFFFFF; // transparent
    int fontStyle = 0;                        // italic 1, bold 2, underline 4
};

// The report options dialog's values.
struct ReportOptionsChoice {
    QStringList printers;
    int printerIndex = 0;
    bool selectAtLoad = true; // first option word 0
    bool twoPass = false;     // second option word not 0
};

// The designer options dialog's values (its editor fonts it stores itself).
struct DesignerOptionsChoice {
    bool showGrid = true;
    bool alignToGrid = true;
    int gridSize = 4; // 4, 8 or 18
    bool showContents = true;
    int units = 0; // 0 pixels, 1 millimetres, 2 inches
    bool coloredButtons = true;
    bool editAfterInsert = true;
    bool bandTitles = true;
    int pagePosition = 5; // 5 centre, 3 left, 4 right
    bool localizedNames = false;
};

// A report saved as a template: its description and picture.
struct NewTemplateChoice {
    QStringList description;
    QImage picture;
};

// The insert-fields dialog's values.
struct InsertFieldsChoice {
    report::FrDataSet *dataSet = nullptr;
    QString dataSetName; // as listed
    QStringList fields;  // the selected list texts, in list order
    bool horizontal = true;
    bool headers = true;
    bool bands = false;
};

struct RequestSlots {
    // Page options of the current page; true when confirmed.
    std::function<bool()> pageOptions;
    // Band type dialog; argument: the current page is a subreport's target.
    // The chosen band type, or nothing on Cancel.
    std::function<std::optional<int>(bool subreportTarget)> bandType;
    // The editor of an object (dispatch by kind: band editors, the object's
    // own editor); ctrlText: Ctrl held, the memo text editor instead.
    std::function<void(report::TfrView *view, bool ctrlText)> objectEditor;
    // The editor of a data, cross data or group band (types 5, 8, 11, 16,
    // 19); true on OK.
    std::function<bool(report::TfrView *band)> bandEditor;
    // The memo text editor on a view (an object of the page or a temporary
    // one holding a page script); true on OK, after it stored the texts.
    std::function<bool(report::TfrView *view)> memoEditor;
    std::function<void(report::TfrView *view)> tagEditor;
    std::function<void(report::TfrView *view)> restrictionsEditor;
    std::function<void(report::TfrView *view)> pictureEditor;
    // Expression builder: the text of its editor on OK.
    std::function<std::optional<QString>()> expressionBuilder;
    // Expression builder opened on a text (the expression buttons of other
    // dialogs): its text on OK.
    std::function<std::optional<QString>(const QString &initial)> expressionEditor;
    // DB field picker: the chosen field on OK.
    std::function<std::optional<QString>()> fieldPicker;
    // Highlight dialog from the values of the top memo; the values on OK.
    std::function<std::optional<HighlightChoice>(const HighlightChoice &initial)> highlight;
    // New report from a template: the chosen template's full file name.
    std::function<std::optional<QString>()> templates;
    // Save as template: the description and picture to write.
    std::function<std::optional<NewTemplateChoice>()> newTemplate;
    std::function<std::optional<DesignerOptionsChoice>(const DesignerOptionsChoice &initial)>
        designerOptions;
    std::function<std::optional<ReportOptionsChoice>(const ReportOptionsChoice &initial)>
        reportOptions;
    std::function<std::optional<InsertFieldsChoice>()> insertFields;
    // The DB fields tool window.
    std::function<void()> dbFieldsShow;
    std::function<void()> dbFieldsHide;
    std::function<void()> dbFieldsRefresh;
    std::function<void()> dbFieldsExpand;
    // Whether the DB fields window is open (saved with the settings).
    std::function<bool()> dbFieldsVisible;
    // The field chosen in the DB fields window (for a drop on the surface).
    std::function<QString()> dbFieldsChosen;
    std::function<void()> dictionary;
    // The object inspector.
    std::function<void()> inspectorShow;
    std::function<void()> inspectorRefill;
    std::function<void(bool locked)> inspectorLock;
    // The inspector's settings kept with the designer's: its split position,
    // visibility (and, inside the inspector, its placement).
    std::function<void(int splitPos, bool visible)> inspectorRestore;
    std::function<std::pair<int, bool>()> inspectorSettings;
    // Frames of the two tool windows on the screen (empty when closed), for
    // stacking them; set moves and sizes one. clientHeight < 20 counts as
    // rolled up.
    std::function<QRect()> inspectorFrame;
    std::function<void(const QRect &frame)> setInspectorFrame;
    std::function<int()> inspectorClientHeight;
    std::function<QRect()> dbFieldsFrame;
    std::function<void(const QRect &frame)> setDbFieldsFrame;
    // Called by the tool windows when rolled up or down, or resized.
    std::function<void()> toolWindowChanged;
    std::function<void()> about;
    std::function<void()> help;
    // Pop-up help of a control: its topic (400 + tag, 430 + tag on the
    // objects tool bar).
    std::function<void(int topic)> helpTopic;
    // Attribute command of the tool bars by tag (DoClick).
    std::function<void(int tag)> attributeCommand;
    // The attribute tool bars take the values of the selection.
    std::function<void()> fillToolbars;
    // The page's script editor (double click on an empty dialog page).
    std::function<void()> pageScript;
    // Asked before the window closes: false keeps it open; may turn the
    // modal result (platform values, 1 OK) into another one.
    std::function<bool(int &modalResult)> closeQuery;
    // The window's commands that later parts build, by handler name
    // ("FileBtn1Click", "ZB1Click", "Align3Click", "ClB1Click", ...): a name
    // without a function leaves its buttons and menu items disabled.
    std::map<QString, std::function<void()>> commands;
};

} // namespace designer
