#pragma once
// What the designer keeps between runs in the user's registry (its options,
// the inspector's split and visibility, whether the DB fields window is
// open), the designer options dialog's values, the pop-up help topics of the
// window's controls, and the rule that stacks the two tool windows.
#include "designer/core/designerstate.h"
#include "designer/core/requestslots.h"

#include <QList>
#include <QRect>
#include <QString>
#include <optional>

namespace designer
{

struct StoredDesignerSettings {
    DesignerSettings options;
    bool BandTitles = true;
    bool LocalizedPropNames = false;
    int SplitPos = 75;
    bool InspectorVisible = true;
    bool DBFieldsVisible = true;
};

// The registry keys (from the root) of the designer, the inspector and the
// DB fields window: frRegistryKey + "\Form\" + their class names.
QString designerSettingsKey();
QString inspectorSettingsKey();
QString dbFieldsSettingsKey();

// Reads every value with its default: a missing or unreadable value, a grid
// of 0 or less (4), units outside 0..2 (0), a page position other than 3, 4
// or 5 (5) and a split position below 20 (20) never reach the designer.
StoredDesignerSettings frReadDesignerSettings();
// Writes the options; the inspector's values only when known (inspector),
// the DB fields window's only when designing a report (dbFields).
void frWriteDesignerSettings(const StoredDesignerSettings &settings, bool inspector, bool dbFields);

// The designer options dialog's values from the settings, and the settings
// the dialog's answer gives (grid 4, 8 or else 18; units 1, 2 or else 0;
// page position 3, 4 or else 5).
DesignerOptionsChoice frDesignerOptionsOf(const StoredDesignerSettings &settings);
StoredDesignerSettings frApplyDesignerOptions(StoredDesignerSettings settings,
                                              const DesignerOptionsChoice &choice);

// The pop-up help topic of a control by its tag: 400 + tag, or on the
// objects tool bar 430 + tag with tags above 4 counting as 5.
int frHelpTopic(int tag, bool objectsToolBar);
// The document that stands for a help file: the same name with ".pdf" in
// the program's folder ("VRuser.pdf" when no help file is set).
QString frHelpDocument(const QString &helpFile);

// New frames of the inspector and the DB fields window stacked in the
// column beside the page area (columnTop and columnHeight on the screen).
// Nothing when one is closed (empty frame) or when the inspector's left or
// right edge lies outside the DB fields window's horizontal span.
struct ToolWindowFrames {
    QRect inspector;
    QRect dbFields;
};
std::optional<ToolWindowFrames> frStackToolWindows(const QRect &inspector,
                                                   int inspectorClientHeight, const QRect &dbFields,
                                                   int columnTop, int columnHeight);
// Where the DB fields window goes (frames) so that it lies beside the
// inspector or above or under it, never over it: where it is when they do
// not overlap, else the nearest such place whole within the screen area that
// holds the inspector; where it is when there is no such place.
QRect frSeparateToolWindows(const QRect &inspector, const QRect &dbFields,
                            const QList<QRect> &areas);

} // namespace designer
