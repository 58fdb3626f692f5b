#pragma once
// The state of one designer window that every rule of the designer reads:
// the report and its current page, the selection, the options of the grid
// and units, and the marks of a gesture in progress. It holds no widget: the
// window reaches it, and the rules reach the window through DesignerView.
#include "designer/core/designerview.h"
#include "designer/core/requestslots.h"

#include <QRect>
#include <QRegion>
#include <QString>
#include <optional>

namespace report
{
class TfrReport;
class TfrReportDesigner;
class TfrPage;
class TfrView;
class TfrBandView;
} // namespace report

namespace designer
{

// Designer restriction bits (frDesignerRestrictions).
enum TfrDesignerRestriction : int {
    drNoObjectEditors = 0,
    drNoAttributeChange = 1,
    drNoResize = 2,
    drNoMove = 3,
    drNoDeleteObject = 4,
    drNoInsertObject = 5,
    drNoDeletePage = 6,
    drNoAddPage = 7,
    drNoPageOptions = 8,
    drNoNewReport = 9,
    drNoOpenReport = 10,
    drNoSaveReport = 11,
    drNoPreview = 12,
    drNoDictionary = 13,
    drNoReportOptions = 14,
};

// Object restriction flags.
constexpr quint16 frrfDontEditMemo = 1;
constexpr quint16 frrfDontEditScript = 2;
constexpr quint16 frrfDontEditContents = 4;
constexpr quint16 frrfDontModify = 8;
constexpr quint16 frrfDontSize = 16;
constexpr quint16 frrfDontMove = 32;
constexpr quint16 frrfDontDelete = 64;

// Objects whose Flags carry this bit are never recorded for undo.
constexpr quint16 kFlagNoUndo = 0x4000;

// Selection state bits (which commands are active).
constexpr int ssOneBand = 1;
constexpr int ssOneMemo = 2;
constexpr int ssOneOther = 4;
constexpr int ssSeveral = 8;
constexpr int ssClipboard = 16;

struct DesignerSettings {
    int GridSize = 4; // 4, 8 or 18 (5 mm)
    bool GridShow = true;
    bool GridAlign = true;
    int Units = 0; // 0 pixels, 1 millimetres, 2 inches
    bool GrayButtons = false;
    bool EditAfterInsert = true;
    int Selection = 1;    // 1 objects redrawn while moved; 0 focus rectangles only
    int PagePosition = 5; // 3 left, 4 right, 5 centre
    bool UnlimitedHeight = false;
};

class DesignerState
{
public:
    DesignerState(report::TfrReportDesigner &designer, DesignerView &view);

    report::TfrReportDesigner &Designer;
    DesignerView &View;
    RequestSlots Requests;
    DesignerSettings Settings;

    // --- report and page
    // The report designed (fr().frCurrentReport when the window was made).
    report::TfrReport *Report = nullptr;
    int DesignMode() const;
    // The current page, or nullptr (the engine may free it under us: every
    // path checks).
    report::TfrPage *page() const;
    int CurPage = 0;
    bool isDialogPage() const;
    // Makes page n (brought within the report's pages) the current one and
    // shows it with the tabs redrawn; nothing when there is no page.
    void turnToPage(int n);
    // Designer restriction bit set (frDesignerRestrictions).
    static bool restricted(int bit);

    // --- modified flag: mode 1 the report's; mode 0 the window's own, so an
    // outer designer's flag is never touched.
    bool isModified() const;
    void storeModified(bool value); // what the window's SetModified stores
    void setModified(bool value);   // through the designer interface
    // Both: the flag stored and the window's buttons brought up to date.
    void markModified(bool value);
    bool OwnModified = false;

    // --- selection
    int SelectedCount = 0;
    // Held by ID so that a rebuilt page cannot leave it dangling.
    std::optional<qint32> LastSelectedID;
    report::TfrView *LastSelected() const;
    void setLastSelected(report::TfrView *view);
    void SelectAllObjects();
    void UnselectAll();
    // The last selected index scanning from the end, or the last index.
    int TopSelectedIndex() const;
    report::TfrBandView *FirstSelectedBand() const;
    // Counts the selected objects again.
    int countSelected() const;
    // The selection state bits (ss...).
    int selectionState() const;
    // Bounding box (x, y, x + dx, y + dy) and region of the selection.
    QRect selectionBox() const;
    QRegion selectionRegionOfKind(int kind) const;

    // --- bands
    bool BandTypeUsed(int type) const;
    int FirstFreeBandType() const;
    // Bands first (overlay first of all, cross bands last among them).
    void SortObjects();

    // --- units
    double PixelsToUnits(double x) const;
    double UnitsToPixels(double x) const;

    // --- marks of a gesture (surface coordinates)
    QRect RubberRect; // as (Left, Top, Right, Bottom) in x1,y1,x2,y2
    QRect OldRubberRect;
    bool GroupValid = false;
    int CornerIndex = -1;
    int GroupLeft = 10000, GroupTop = 10000;
    QRegion SelectionRegion;
    bool UndoPending = false;
    bool ShowRubberSize = false;
    bool KeepTool = false;
    // Computes CornerIndex, GroupLeft, GroupTop and RubberRect for a
    // multiple selection, saving each selected object's bounds.
    void computeGroupRect();
    // SelectionRegion := the selected objects' regions; clears UndoPending.
    void buildSelectionRegion();
};

// Rectangles held as four edges: QRect's right()/bottom() are the stored
// edges themselves (never x + width - 1 arithmetic).
inline QRect edges(int left, int top, int right, int bottom)
{
    QRect r;
    r.setCoords(left, top, right, bottom);
    return r;
}

} // namespace designer
