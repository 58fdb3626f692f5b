#pragma once
// The rules of one designer window gathered: its state, page surface,
// undo, mouse and key engines, and the page and clipboard commands that use
// several of them. The window owns one and forwards its events to it.
#include "designer/core/designerstate.h"
#include "designer/core/gestureengine.h"
#include "designer/core/keycommands.h"
#include "designer/core/surfacerenderer.h"
#include "designer/core/undomanager.h"

#include <QString>
#include <optional>

namespace designer
{

// Which commands exist for a window: a pure function of the mode, the
// designer restriction word and whether the report is a composite one.
struct Availability {
    bool newReport = false;     // FileBtn1, N23
    bool preview = false;       // FileBtn4, N39
    bool bandTool = false;      // OB3
    bool subreportTool = false; // OB5
    bool open = false;          // FileBtn2, N19
    bool save = false;          // FileBtn3, N17, N20
    bool addPage = false;       // PgB1, N29, N41
    bool deletePage = false;    // PgB2, N30, N43
    bool pageOptions = false;   // PgB3, N25, N44
    bool addDialogPage = false; // PgB4, N15, N45
    bool dictionary = false;    // N42
    bool reportOptions = false; // N8
};
Availability computeAvailability(int designMode, quint16 restrictions, bool compositeReport);

class DesignerCore
{
public:
    DesignerCore(report::TfrReportDesigner &designer, DesignerView &view);
    ~DesignerCore();

    DesignerState state;
    SurfaceRenderer surface;
    UndoManager undo;
    GestureEngine gestures;
    KeyCommands keys;

    void CopySelection();
    void CutSelection();
    void Paste();
    void Undo();
    void Redo();

    // Removes page n (several pages) or clears the only one; subreports
    // showing it go, targets above it move down. Empties both buffers.
    void RemovePage(int n);
    // Selects the object of that name on the current page, or shows page N
    // for "PageN" (N within 1..page count; anything else does nothing).
    void SelectByName(const QString &name);
    // The expression builder's text as a field reference.
    static QString PickExpressionResult(const QString &text);
    // The field picker's choice as a field reference ("" when cancelled).
    static QString PickDataFieldResult(const std::optional<QString> &field);
    // The designer interface's pickers over their request slots.
    QString PickExpression();
    QString PickDataField();
    // Opens the DB fields window (designing a report page only).
    void ShowDBFieldsWindow();
    // The tab text of each page (subreport names, else "Page" + n).
    QStringList pageTabTexts() const;
    // The template is about to be rebuilt (preview, prepared page edited):
    // the objects' places are noted for templateRebuilt.
    void templateAboutToRebuild();
    // The template was rebuilt (preview, prepared page edited): undo entries
    // are mapped to the new objects, the selection is cleared.
    void templateRebuilt();
};

} // namespace designer
