#include "designer/core/pagecommands.h"

#include "designer/core/designercore.h"

#include "platform/dialogs/dialogs.h"
#include "platform/format/format.h"
#include "platform/text/convert.h"
#include "report/build/frcompositereport.h"
#include "report/core/frlocale.h"
#include "report/core/frstream.h"
#include "report/data/frdictionary.h"
#include "report/objects/frbandview.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frpopupmenu.h"
#include "report/objects/frprinterinfo.h"
#include "report/objects/frreport.h"
#include "report/objects/frsubreportview.h"

#include <algorithm>
#include <cmath>

namespace designer
{

using report::frLoadString;
using report::TfrPage;
using report::TfrView;

namespace pagecmd_detail
{

bool available(const DesignerState &st, bool Availability::*which)
{
    const bool composite = dynamic_cast<report::TfrCompositeReport *>(st.Report) != nullptr;
    const Availability a = computeAvailability(
        st.DesignMode(), report::frObjects().frDesignerRestrictions, composite);
    return st.Report && a.*which;
}

bool movable(const TfrView &v)
{
    return !DesignerState::restricted(drNoMove) && !(v.Restrictions & frrfDontMove);
}

// A field's number; nothing when it is none.
std::optional<double> numberIn(const QString &text)
{
    double value = 0;
    if (!platform::TryStrToFloat(text.trimmed(), value) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double numberOf(const QString &text)
{
    return numberIn(text).value_or(0.0);
}

// A count with a blank between thousands, as the messages write it.
QString grouped(int n)
{
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return digits;
}

} // namespace pagecmd_detail

// --- page options values

bool PageOptionsChoice::customSize() const
{
    return paperIndex >= 0 && paperIndex < int(paperCodes.size()) &&
           paperCodes[size_t(paperIndex)] == report::kFrCustomPaper;
}

QString frMillimetreText(double millimetres)
{
    return platform::FloatToStrF(millimetres, platform::TFloatFormat::ffGeneral, 4, 2);
}

QString frPixelsToMillimetreText(int pixels)
{
    return frMillimetreText(pixels * 5.0 / 18.0);
}

int frMillimetresToPixels(double millimetres)
{
    return int(platform::roundHalfEven(millimetres * 18.0 / 5.0));
}

PageOptionsChoice frPageOptionsOf(const TfrPage &page, const DesignerSettings &settings,
                                  const report::FrPrinterInfo &printer)
{
    PageOptionsChoice c;
    c.printToPrevious = page.PrintToPrevPage != 0;
    c.stretch = page.UseMargins == 0;
    c.unlimitedHeight = settings.UnlimitedHeight;
    c.landscape = page.Orientation != 0;
    c.paperNames = printer.PaperNames();
    c.paperCodes = printer.PaperSizes();
    c.paperIndex = c.paperCodes.empty() ? -1 : printer.GetPaperIndex(page.Size);
    if (page.Size == report::kFrCustomPaper) {
        c.paperWidth = frMillimetreText(page.PaperWidth / 10.0);
        c.paperHeight = frMillimetreText(page.PaperHeight / 10.0);
    }
    c.binNames = printer.BinNames();
    c.binCodes = printer.Bins();
    c.binIndex = c.binCodes.empty() ? -1 : printer.GetBinIndex(page.Bin);
    c.margins = {frPixelsToMillimetreText(page.LeftMargin),
                 frPixelsToMillimetreText(page.TopMargin),
                 frPixelsToMillimetreText(page.RightMargin),
                 frPixelsToMillimetreText(page.BottomMargin)};
    c.columnGap = frPixelsToMillimetreText(page.ColumnGap);
    c.columns = page.Columns;
    return c;
}

bool frPageLengthFits(PageOptionsField field, double stored)
{
    // Rounded as stored; a NaN fails both comparisons.
    return report::frPageLengthWithin(field == PageOptionsField::Width ||
                                          field == PageOptionsField::Height,
                                      std::nearbyint(stored));
}

QString frPageLengthRefusal(PageOptionsField field, const QString &typed)
{
    const char *what = "";
    switch (field) {
    case PageOptionsField::Width:
        what = "la largeur du papier";
        break;
    case PageOptionsField::Height:
        what = "la hauteur du papier";
        break;
    case PageOptionsField::Left:
        what = "la marge gauche";
        break;
    case PageOptionsField::Top:
        what = "la marge du haut";
        break;
    case PageOptionsField::Right:
        what = "la marge droite";
        break;
    case PageOptionsField::Bottom:
        what = "la marge du bas";
        break;
    case PageOptionsField::Gap:
        what = "l'écart entre colonnes";
        break;
    }
    const bool paper = field == PageOptionsField::Width || field == PageOptionsField::Height;
    return QStringLiteral("'%1' n'est pas une valeur correcte pour %2 : de %3 à %4 mm")
        .arg(typed, QString::fromUtf8(what),
             pagecmd_detail::grouped(paper ? kFrMinPaperTenths / 10 : 0),
             pagecmd_detail::grouped(paper ? kFrMaxPaperTenths / 10
                                           : kFrMaxPageLengthPixels * 5 / 18));
}

QString frPageColumnsRefusal(const QString &typed)
{
    return QStringLiteral(
               "'%1' n'est pas une valeur correcte pour le nombre de colonnes : de 0 à %2")
        .arg(typed, QString::number(kFrMaxPageColumns));
}

std::optional<PageOptionsProblem> frCheckPageOptions(const PageOptionsChoice &choice)
{
    // Every field is read as the page stores it: a value that is no number,
    // or one beyond what a page can be, is refused naming its field, before
    // anything could wrap when stored.
    std::vector<std::pair<PageOptionsField, const QString *>> fields;
    if (choice.customSize())
        fields = {{PageOptionsField::Width, &choice.paperWidth},
                  {PageOptionsField::Height, &choice.paperHeight}};
    fields.insert(fields.end(), {{PageOptionsField::Left, &choice.margins[0]},
                                 {PageOptionsField::Top, &choice.margins[1]},
                                 {PageOptionsField::Right, &choice.margins[2]},
                                 {PageOptionsField::Bottom, &choice.margins[3]},
                                 {PageOptionsField::Gap, &choice.columnGap}});
    for (const auto &[field, text] : fields) {
        const bool paper = field == PageOptionsField::Width || field == PageOptionsField::Height;
        const std::optional<double> mm = pagecmd_detail::numberIn(*text);
        if (!mm || !frPageLengthFits(field, paper ? *mm * 10 : *mm * 18.0 / 5.0))
            return PageOptionsProblem{field, frPageLengthRefusal(field, *text)};
    }
    return std::nullopt;
}

void frApplyPageOptions(const PageOptionsChoice &choice, TfrPage &page, DesignerSettings &settings)
{
    page.PrintToPrevPage = choice.printToPrevious ? 0xFFFF : 0;
    page.UseMargins = choice.stretch ? 0 : 0xFFFF;
    settings.UnlimitedHeight = choice.unlimitedHeight;
    const int orientation = choice.landscape ? 1 : 0;
    const int size = choice.paperIndex >= 0 && choice.paperIndex < int(choice.paperCodes.size())
                         ? choice.paperCodes[size_t(choice.paperIndex)]
                         : page.Size;
    int width = 0, height = 0;
    if (size == report::kFrCustomPaper) {
        width = int(platform::roundHalfEven(pagecmd_detail::numberOf(choice.paperWidth) * 10));
        height = int(platform::roundHalfEven(pagecmd_detail::numberOf(choice.paperHeight) * 10));
    }
    qint32 *lengths[] = {&page.LeftMargin, &page.TopMargin, &page.RightMargin, &page.BottomMargin};
    for (size_t i = 0; i < 4; ++i)
        *lengths[i] = frMillimetresToPixels(pagecmd_detail::numberOf(choice.margins[i]));
    page.ColumnGap = frMillimetresToPixels(pagecmd_detail::numberOf(choice.columnGap));
    // A count of 0 is kept as typed (the page forms one column then).
    page.Columns = std::max(0, choice.columns);
    // A printer without bins leaves the page's bin as it is.
    const int bin = choice.binIndex >= 0 && choice.binIndex < int(choice.binCodes.size())
                        ? choice.binCodes[size_t(choice.binIndex)]
                        : page.Bin;
    page.ChangePaper(size, width, height, bin, orientation);
}

// --- commands

PageCommands::PageCommands(DesignerCore &core) : m_core(core) {}

void PageCommands::afterOrderChange()
{
    m_core.state.SortObjects();
    if (m_core.state.page())
        m_core.surface.Draw(10000, std::nullopt);
    m_core.state.View.selectionChanged();
    m_core.state.View.undoStateChanged();
}

void PageCommands::BringToFront()
{
    TfrPage *page = m_core.state.page();
    if (!page || m_core.state.countSelected() == 0)
        return;
    m_core.undo.RecordUndo(ukOrderChanged);
    auto &list = page->Objects;
    const size_t steps = list.size();
    size_t cursor = 0;
    for (size_t step = 0; step < steps && cursor < list.size(); ++step) {
        const TfrView &v = *list[cursor];
        if (v.Selected && pagecmd_detail::movable(v))
            std::rotate(list.begin() + std::ptrdiff_t(cursor),
                        list.begin() + std::ptrdiff_t(cursor) + 1, list.end());
        else
            ++cursor;
    }
    afterOrderChange();
}

void PageCommands::SendToBack()
{
    TfrPage *page = m_core.state.page();
    if (!page || m_core.state.countSelected() == 0)
        return;
    m_core.undo.RecordUndo(ukOrderChanged);
    auto &list = page->Objects;
    const std::ptrdiff_t steps = std::ptrdiff_t(list.size());
    std::ptrdiff_t cursor = steps - 1;
    for (std::ptrdiff_t step = 0; step < steps && cursor >= 0; ++step) {
        const TfrView &v = *list[size_t(cursor)];
        if (v.Selected && pagecmd_detail::movable(v))
            std::rotate(list.begin(), list.begin() + cursor, list.begin() + cursor + 1);
        else
            --cursor;
    }
    afterOrderChange();
}

void PageCommands::FitToGrid()
{
    DesignerState &st = m_core.state;
    TfrPage *page = st.page();
    if (!page || st.countSelected() == 0)
        return;
    m_core.undo.RecordUndo(ukEdited);
    const int grid = std::max(1, st.Settings.GridSize);
    auto snap = [grid](int value) {
        return int(platform::roundHalfEven(double(value) / grid) * grid);
    };
    for (const auto &v : page->Objects) {
        if (!v->Selected)
            continue;
        int dx = snap(v->dx), dy = snap(v->dy);
        v->SetBounds(snap(v->x), snap(v->y), dx == 0 ? grid : dx, dy == 0 ? grid : dy);
    }
    st.computeGroupRect();
    m_core.surface.Draw(10000, std::nullopt);
    st.View.selectionChanged();
    st.View.positionChanged();
    st.View.undoStateChanged();
}

bool PageCommands::AddReportPage()
{
    DesignerState &st = m_core.state;
    if (!pagecmd_detail::available(st, &Availability::addPage))
        return false;
    st.UnselectAll();
    st.View.selectionChanged();
    report::TfrPages &pages = st.Report->Pages();
    TfrPage *added = pages.Add();
    added->CreateUniqueName();
    const int index = pages.Count() - 1;
    report::FrPageLink *previous = st.Designer.Page;
    st.Designer.Page = added;
    const bool confirmed = st.Requests.pageOptions && st.Requests.pageOptions();
    if (confirmed) {
        m_core.state.markModified(true);
        m_core.state.turnToPage(index);
        return true;
    }
    st.Designer.Page = previous;
    pages.Delete(index);
    m_core.state.turnToPage(st.CurPage);
    return false;
}

void PageCommands::AddDialogPage()
{
    DesignerState &st = m_core.state;
    if (!pagecmd_detail::available(st, &Availability::addDialogPage))
        return;
    report::TfrPages &pages = st.Report->Pages();
    TfrPage *added = pages.Add();
    added->CreateUniqueName();
    added->PageTypeValue = report::ptDialog;
    m_core.state.markModified(true);
    m_core.state.turnToPage(pages.Count() - 1);
}

void PageCommands::DeletePage()
{
    DesignerState &st = m_core.state;
    if (!pagecmd_detail::available(st, &Availability::deletePage) ||
        st.Report->Pages().Count() < 2)
        return;
    if (platform::MessageDlgWithCaption(frLoadString(55006), frLoadString(55005),
                                        platform::mtConfirmation,
                                        platform::mbYes | platform::mbNo) != platform::mrYes)
        return;
    m_core.RemovePage(st.CurPage);
    m_core.state.markModified(true);
    st.View.undoStateChanged();
}

PageOptionsChoice PageCommands::currentPageOptions() const
{
    const TfrPage *page = m_core.state.page();
    if (!page)
        return {};
    return frPageOptionsOf(*page, m_core.state.Settings, report::frObjects().frGlobalPrinter());
}

bool PageCommands::applyPageOptions(const PageOptionsChoice &choice)
{
    DesignerState &st = m_core.state;
    TfrPage *page = st.page();
    if (!page || DesignerState::restricted(drNoPageOptions) || frCheckPageOptions(choice))
        return false;
    m_core.state.markModified(true);
    frApplyPageOptions(choice, *page, st.Settings);
    return true;
}

bool PageCommands::PageOptions()
{
    DesignerState &st = m_core.state;
    if (!pagecmd_detail::available(st, &Availability::pageOptions) || !st.page() ||
        !st.Requests.pageOptions)
        return false;
    const bool applied = st.Requests.pageOptions();
    m_core.state.turnToPage(st.CurPage);
    return applied;
}

void PageCommands::ReportOptions()
{
    DesignerState &st = m_core.state;
    if (!pagecmd_detail::available(st, &Availability::reportOptions) || !st.Requests.reportOptions)
        return;
    report::FrPrinterInfo &printer = report::frObjects().frGlobalPrinter();
    ReportOptionsChoice initial;
    initial.printers = printer.Printers();
    initial.printerIndex = printer.PrinterIndex();
    initial.selectAtLoad = st.Report->KeepPrinter == 0;
    initial.twoPass = st.Report->TwoPass != 0;
    const std::optional<ReportOptionsChoice> chosen = st.Requests.reportOptions(initial);
    if (chosen) {
        st.Report->KeepPrinter = chosen->selectAtLoad ? 0 : 0xFFFF;
        st.Report->TwoPass = chosen->twoPass ? 0xFFFF : 0;
        st.Report->ChangePrinter(printer.PrinterIndex(), chosen->printerIndex);
        m_core.state.markModified(true);
    }
    m_core.state.turnToPage(st.CurPage);
}

void PageCommands::Variables()
{
    DesignerState &st = m_core.state;
    if (!pagecmd_detail::available(st, &Availability::dictionary) || !st.Requests.dictionary)
        return;
    // The dialog answers nothing: what it confirmed is what changed.
    auto snapshot = [&st] {
        report::FrMemoryStream stream;
        st.Report->Dictionary().SaveToStream(stream);
        return stream.data();
    };
    const QByteArray before = snapshot();
    st.Requests.dictionary();
    if (snapshot() == before)
        return;
    if (st.Requests.dbFieldsRefresh)
        st.Requests.dbFieldsRefresh();
    m_core.state.markModified(true);
}

void PageCommands::MovePage(int from, int to)
{
    DesignerState &st = m_core.state;
    if (!st.Report || st.DesignMode() != 1)
        return;
    report::TfrPages &pages = st.Report->Pages();
    const int count = pages.Count();
    if (from < 0 || from >= count || to < 0 || to >= count || from == to)
        return;
    // Subreports follow the pages they show.
    for (int i = 0; i < count; ++i)
        for (const auto &v : pages[i]->Objects)
            if (auto *sub = dynamic_cast<report::TfrSubReportView *>(v.get())) {
                qint32 &target = sub->SubPage;
                if (target == from)
                    target = to;
                else if (to < from && target >= to && target < from)
                    ++target;
                else if (to > from && target > from && target <= to)
                    --target;
            }
    pages.Move(from, to);
    // Entries name pages by index.
    m_core.undo.ClearUndoBuffer();
    m_core.undo.ClearRedoBuffer();
    m_core.state.markModified(true);
    // The moved page stays the one shown, so the page commands act on it.
    m_core.state.turnToPage(to);
    st.View.undoStateChanged();
}

void PageCommands::fillObjectPopup(report::FrPopupMenu &popup)
{
    const DesignerState &st = m_core.state;
    const TfrPage *page = st.page();
    if (!page)
        return;
    std::vector<TfrView *> selected;
    for (const auto &v : page->Objects)
        if (v->Selected)
            selected.push_back(v.get());
    if (selected.empty())
        return;
    TfrView *top = selected.size() == 1 ? selected.front() : page->Object(st.TopSelectedIndex());
    if (!top)
        return;
    // A band alone offers its own options (new page, stretch...); a band
    // among several selected objects offers nothing, as their options differ.
    if (selected.size() > 1) {
        if (top->Typ == report::otBand)
            return;
        const bool allMemos = std::all_of(selected.begin(), selected.end(), [](TfrView *v) {
            return dynamic_cast<report::TfrMemoView *>(v) != nullptr;
        });
        const bool allAlike = std::all_of(selected.begin(), selected.end(), [top](TfrView *v) {
            return v->Typ == top->Typ &&
                   (top->Typ != report::otAddIn || v->ClassName() == top->ClassName());
        });
        if (!allMemos && !allAlike)
            return;
    }
    top->AddPopupItems(popup);
}

std::shared_ptr<PageCommands> installPageCommands(DesignerCore &core)
{
    auto pages = std::make_shared<PageCommands>(core);
    auto &cmds = core.state.Requests.commands;
    cmds[QStringLiteral("ZB1Click")] = [pages] { pages->BringToFront(); };
    cmds[QStringLiteral("ZB2Click")] = [pages] { pages->SendToBack(); };
    cmds[QStringLiteral("GB3Click")] = [pages] { pages->FitToGrid(); };
    cmds[QStringLiteral("PgB1Click")] = [pages] { pages->AddReportPage(); };
    cmds[QStringLiteral("PgB2Click")] = [pages] { pages->DeletePage(); };
    cmds[QStringLiteral("PgB3Click")] = [pages] { pages->PageOptions(); };
    cmds[QStringLiteral("PgB4Click")] = [pages] { pages->AddDialogPage(); };
    cmds[QStringLiteral("N8Click")] = [pages] { pages->ReportOptions(); };
    cmds[QStringLiteral("N42Click")] = [pages] { pages->Variables(); };
    return pages;
}

} // namespace designer
