#pragma once
// What the designer keeps for the whole program run, beside the engine's
// globals: its clipboard (outlives every designer window) and the attributes
// last chosen on the tool bars, which new objects take. Held in the library
// context, so fr().resetForTests() forgets them.
#include "designer/core/exprhelpers.h"
#include "platform/canvas/colors.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

class QObject;

namespace report
{
class TfrReportDesigner;
}

namespace designer
{

class DesignerCore;

struct LastUsedAttributes {
    quint16 FrameTyp = 0;
    float FrameWidth = 1.0f;
    float LineWidth = 2.0f;
    platform::TColor FillColor = platform::clNone;
    platform::TColor FrameColor = 0;
    platform::TColor FontColor = 0;
    quint16 FontStyle = 0;
    qint32 Alignment = 0;
    qint32 Charset = 1;
    // Start as the window's default font (never "" and 0).
    QString FontName = QStringLiteral("Arial");
    int FontSize = 10;
};

// A step run when a designer window is made, after its own parts: the
// commands, editors and dialogs built beside the window fill their request
// slots there (window: the designer window, a parent for their own windows).
using DesignerExtension = std::function<void(DesignerCore &core, QObject *window)>;

class DesignerGlobals
{
public:
    // One record per copied object: type byte, class name, view record.
    std::vector<QByteArray> clipboard;
    LastUsedAttributes lastUsed;
    // Run in registration order by every new designer window.
    std::vector<DesignerExtension> extensions;
    // The data set (or category) the DB fields window showed when it was
    // last hidden or refreshed: shown again when it opens.
    QString lastFieldsDataSet;
    // The rules of each open designer window by its engine interface, so
    // that what the engine calls through frCurrentDesigner finds them.
    std::vector<std::pair<const report::TfrReportDesigner *, DesignerCore *>> openCores;
    // What the expression builder's pickers reopen on.
    PickerMemory pickers;
};

// The rules of an open designer window, or nullptr (none open, or closed).
DesignerCore *designerCoreOf(const report::TfrReportDesigner *designer);

// Created on first use in the library context.
DesignerGlobals &designerGlobals();

} // namespace designer
