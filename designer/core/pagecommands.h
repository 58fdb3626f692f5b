#pragma once
// The designer's page, order and report commands: bring to front, send to
// back, fit to the grid, add, delete and move pages, the page options'
// values and their application, report options, variables, and the object
// part of the surface's popup menu.
#include "report/objects/frpagelimits.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace report
{
class FrPopupMenu;
class FrPrinterInfo;
class TfrPage;
} // namespace report

namespace designer
{

class DesignerCore;
struct DesignerSettings;

// The page options dialog's values: lengths as the fields show them
// (millimetres), lists as the printer gives them.
struct PageOptionsChoice {
    bool landscape = false;
    QStringList paperNames;
    std::vector<int> paperCodes;
    int paperIndex = -1;
    QString paperWidth; // custom size only
    QString paperHeight;
    bool unlimitedHeight = false;
    QStringList binNames;
    std::vector<int> binCodes;
    int binIndex = -1;
    std::array<QString, 4> margins; // left, top, right, bottom
    bool stretch = false;           // to the printable area
    bool printToPrevious = false;
    int columns = 1;
    QString columnGap;
    // The chosen paper is the custom size (width and height are asked).
    bool customSize() const;
};

// The fields of the page options dialog, for a value that refuses OK.
enum class PageOptionsField { Width, Height, Left, Top, Right, Bottom, Gap };

struct PageOptionsProblem {
    PageOptionsField field;
    QString message;
};

// What a page can be (the engine's bounds, which prepared reports are read with).
using report::kFrMaxPageColumns;
using report::kFrMaxPageLengthPixels;
using report::kFrMaxPaperTenths;
using report::kFrMinPaperTenths;

// Whether a stored value lies within those bounds: tenths of a millimetre
// for the paper's width and height, pixels for the margins and the gap.
bool frPageLengthFits(PageOptionsField field, double stored);
// The message refusing a text typed for a field, naming the field and its
// bounds.
QString frPageLengthRefusal(PageOptionsField field, const QString &typed);
QString frPageColumnsRefusal(const QString &typed);

// Millimetres as the fields show them (up to four significant digits).
QString frMillimetreText(double millimetres);
// Pixels to the millimetre text (18 pixels make 5 mm) and back (half to even).
QString frPixelsToMillimetreText(int pixels);
int frMillimetresToPixels(double millimetres);

// The dialog's values for a page.
PageOptionsChoice frPageOptionsOf(const report::TfrPage &page, const DesignerSettings &settings,
                                  const report::FrPrinterInfo &printer);
// The first value that is no number or lies outside what a page can be.
std::optional<PageOptionsProblem> frCheckPageOptions(const PageOptionsChoice &choice);
// Puts checked values into the page (its paper through the printer).
void frApplyPageOptions(const PageOptionsChoice &choice, report::TfrPage &page,
                        DesignerSettings &settings);

class PageCommands
{
public:
    explicit PageCommands(DesignerCore &core);

    void BringToFront(); // ZB1Click
    void SendToBack();   // ZB2Click
    void FitToGrid();    // GB3Click
    // Appends a report page and opens its options: the page stays only when
    // they were confirmed. True when it stayed.
    bool AddReportPage(); // PgB1Click
    void AddDialogPage(); // PgB4Click
    void DeletePage();    // PgB2Click
    // The options of the current page; true when applied.
    bool PageOptions();   // PgB3Click
    void ReportOptions(); // N8Click
    void Variables();     // N42Click
    // The page at from moves to to (a tab dropped on another); it stays the
    // page shown.
    void MovePage(int from, int to);

    // The dialog's values for the current page, and their application
    // (refused when the page options are restricted or a value is wrong).
    PageOptionsChoice currentPageOptions() const;
    bool applyPageOptions(const PageOptionsChoice &choice);

    // The object items of the surface's popup, after its fixed ones.
    void fillObjectPopup(report::FrPopupMenu &popup);

private:
    void afterOrderChange();

    DesignerCore &m_core;
};

// Fills the page commands of a designer ("ZB1Click", "PgB3Click", ...).
std::shared_ptr<PageCommands> installPageCommands(DesignerCore &core);

} // namespace designer
