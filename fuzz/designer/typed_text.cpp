// A text typed by the user into the designer, over arbitrary bytes: the
// first byte says where it goes, the second which row or field, the rest is
// the text (UTF-8).
//   0  the inspector: a row (second byte) of the page, of a dialog page or
//      of one or several objects (bands, one a child band, memo, line,
//      picture, subreport, check box, dialog control), in pixels,
//      millimetres or inches;
//   1  the page options: one field (width, height, margins, column gap) of
//      a custom or a standard paper;
//   2  the expression builder: a picked name, a function's syntax line,
//      description and argument boxes, a data set and its field;
//   3  the memo editor: its text and script panes (split at the first NUL),
//      checked and stored into a memo;
//   4  a field dropped from the DB fields window onto the page.
// Nothing typed lets an error out of the designer but the conversion error
// the inspector shows; what is taken leaves every object within the kept
// geometry, its name apart from the others and the template readable back
// to the same bytes; an object row changed is undone to the bytes it had.
#include "fuzz/report/report_files_support.h"

#include "designer/core/designercore.h"
#include "designer/core/exprhelpers.h"
#include "designer/core/inspectorlink.h"
#include "designer/core/inspectorprop.h"
#include "designer/core/memoeditrules.h"
#include "designer/core/pagecommands.h"
#include "fuzz/designer/designer_fuzz.h"
#include "platform/text/exceptions.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report/objects/frbandview.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frsubreportview.h"

#include <QSet>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{

using namespace report;

[[noreturn]] void failed(int line)
{
    fuzz::ruleBroken("typed_text.cpp", line);
}

// Message boxes answer Yes or No (the page type question), as chosen.
class AnsweringDialogs : public fuzz::SilentDialogs
{
public:
    int message(const platform::MessageRequest &request, QWidget *) override
    {
        if (request.buttons & platform::mbYes)
            return yes ? platform::mrYes : platform::mrNo;
        return platform::mrOk;
    }
    bool yes = false;
};

AnsweringDialogs *answering()
{
    static AnsweringDialogs *installed = [] {
        auto d = std::make_unique<AnsweringDialogs>();
        AnsweringDialogs *raw = d.get();
        platform::setDialogs(std::move(d));
        return raw;
    }();
    return installed;
}

TfrView *add(TfrPage &page, int typ, const QString &className, const char *name, int x, int y,
             int dx, int dy)
{
    std::unique_ptr<TfrView> view = frCreateObject(typ, className);
    if (!view)
        failed(__LINE__);
    view->ID = frObjects().frNextObjectID++;
    view->Name = QString::fromLatin1(name);
    view->SetBounds(x, y, dx, dy);
    return page.Add(std::move(view));
}

TfrBandView *addBand(TfrPage &page, int type, const char *name, int y)
{
    auto *band = static_cast<TfrBandView *>(add(page, otBand, QString(), name, 0, y, 700, 40));
    band->SetBandType(type);
    return band;
}

QByteArray saved(TfrReport &report)
{
    FrMemoryStream out;
    report.SaveToStream(out);
    return out.data();
}

// What is saved reads back and saves to the same bytes.
void checkReadsBack(TfrReport &report)
{
    const QByteArray bytes = saved(report);
    {
        TfrReport again;
        FrMemoryStream in(bytes);
        again.LoadFromStream(in);
        if (again.lastLoad() != TfrReport::LoadOutcome::Loaded || saved(again) != bytes)
            failed(__LINE__);
    }
    frSetCurrentReport(&report, &report, report.parent());
}

// Every object within the kept geometry; names apart over all pages.
void checkObjects(TfrReport &report)
{
    QSet<QString> names;
    for (int p = 0; p < report.PageCount(); ++p)
        for (const auto &v : report.Pages()[p]->Objects) {
            for (qint64 g : {qint64(v->x), qint64(v->y), qint64(v->dx), qint64(v->dy)})
                if (g < -kFrMaxGeometry || g > kFrMaxGeometry)
                    failed(__LINE__);
            const QString name = frUpperCase(v->Name);
            if (name.isEmpty() || names.contains(name))
                failed(__LINE__);
            names.insert(name);
        }
}

struct Fixture {
    TfrReport &report;
    TfrPage *page;
    TfrPage *dialog;
    // Report page objects, the dialog control, then the master's child band.
    std::vector<TfrView *> objects;
};

void selectOnly(designer::DesignerCore &core, std::initializer_list<TfrView *> views)
{
    core.state.UnselectAll();
    for (TfrView *v : views)
        v->Selected = true;
    core.state.SelectedCount = int(views.size());
    core.state.setLastSelected(views.size() == 1 ? *views.begin() : nullptr);
}

void typeIntoInspector(designer::DesignerCore &core, Fixture &f, quint8 what, quint8 row,
                       const QString &text)
{
    core.state.Settings.Units = (what / 60) % 3;
    answering()->yes = what & 0x80;
    // Who receives the text: the page shown (report page 0 or dialog page
    // 2) or objects of it, by their index in the fixture's list.
    static const struct {
        int page;
        std::vector<size_t> objects;
    } targets[] = {{0, {}},  {0, {0}}, {0, {1}},    {0, {2}},       {0, {4}}, {0, {5}}, {0, {6}},
                   {0, {7}}, {0, {9}}, {0, {2, 3}}, {0, {2, 4, 0}}, {2, {}},  {2, {8}}};
    const auto &target = targets[(what / 5) % std::size(targets)];
    core.state.turnToPage(target.page);
    core.state.UnselectAll();
    for (size_t i : target.objects)
        f.objects[i]->Selected = true;
    core.state.SelectedCount = int(target.objects.size());
    core.state.setLastSelected(target.objects.size() == 1 ? f.objects[target.objects[0]] : nullptr);
    // Shown once, as the window shows it: drawing fits the bands to the page.
    core.surface.Draw(10000, std::nullopt);
    designer::InspectorLink link(core);
    designer::TPropList rows;
    link.Fill(rows);
    if (rows.count() == 0)
        failed(__LINE__); // every object and page lists rows
    const int index = row % rows.count();
    const bool onObject = core.state.countSelected() > 0;
    const QByteArray before = saved(f.report);
    rows.Prop(index).ValueText = text;
    bool changed = false;
    try {
        changed = link.PropertyModified(rows, index);
    } catch (...) {
        failed(__LINE__); // only the conversion error is shown, and by the link
    }
    checkObjects(f.report);
    if (changed && onObject) {
        // One undo entry takes the change back.
        core.Undo();
        if (saved(f.report) != before)
            failed(__LINE__);
        core.Redo();
    }
    link.Fill(rows);
}

void typeIntoPageOptions(designer::DesignerCore &core, Fixture &f, quint8 which,
                         const QString &text)
{
    designer::PageCommands pages(core);
    designer::PageOptionsChoice c = pages.currentPageOptions();
    if (which & 8) {
        const auto custom = std::find(c.paperCodes.begin(), c.paperCodes.end(), kFrCustomPaper);
        if (custom != c.paperCodes.end())
            c.paperIndex = int(custom - c.paperCodes.begin());
        c.paperWidth = QStringLiteral("210");
        c.paperHeight = QStringLiteral("297");
    }
    c.landscape = which & 16;
    c.columns = which >> 5;
    QString *fields[] = {&c.paperWidth, &c.paperHeight, &c.margins[0], &c.margins[1],
                         &c.margins[2], &c.margins[3],  &c.columnGap};
    *fields[(which & 7) % 7] = text;
    std::optional<designer::PageOptionsProblem> problem;
    bool applied = false;
    try {
        problem = designer::frCheckPageOptions(c);
        applied = pages.applyPageOptions(c);
    } catch (...) {
        failed(__LINE__); // a wrong value is a problem named by its field
    }
    if (applied == bool(problem))
        failed(__LINE__);
    if (!applied)
        return;
    if (f.page->PaperWidth <= 0 || f.page->PaperHeight <= 0)
        failed(__LINE__);
    // What the dialog shows of the page it is also accepted again.
    if (designer::frCheckPageOptions(pages.currentPageOptions()))
        failed(__LINE__);
    checkReadsBack(f.report);
}

void typeIntoExpressionBuilder(quint8 which, const QString &text)
{
    using namespace designer;
    const QString wrapped = wrapExpressionName(text);
    if (wrapped != text && (!wrapped.startsWith(u'[') || !wrapped.endsWith(u']') ||
                            wrapped.mid(1, wrapped.size() - 2) != text))
        failed(__LINE__);
    const int boxes = argumentBoxCount(text);
    if (boxes < 1 || boxes > 3)
        failed(__LINE__);
    const FunctionDescriptionParts parts = splitFunctionDescription(text);
    if (parts.explanation.size() > 1000 || !text.startsWith(parts.syntax))
        failed(__LINE__);
    if (parts.syntax.contains(u'/'))
        failed(__LINE__);
    const QStringList pieces = text.split(u'\n');
    const QString box1 = pieces.value(1), box2 = pieces.value(2), box3 = pieces.value(3);
    const QString call = assembleFunctionCall(pieces.value(0), box1, box2, box3);
    if (!call.startsWith(pieces.value(0) + u'(' + box1) || !call.endsWith(u')'))
        failed(__LINE__);
    const QString field = dataFieldReference(pieces.value(0), pieces.value(1));
    if (field.size() != pieces.value(0).size() + pieces.value(1).size() + 3)
        failed(__LINE__);
    const QString variable = systemVariableName(int(which) - 4);
    if (variable.isEmpty() || systemVariableTexts().size() != kSystemVariableCount)
        failed(__LINE__);
}

void typeIntoMemoEditor(designer::DesignerCore &core, Fixture &f, quint8 which, const QString &text)
{
    using namespace designer;
    TfrView *view = which & 1 ? f.objects[2] : f.objects[1]; // a memo or a band
    const qsizetype nul = text.indexOf(QChar(0));
    const QString memoText = nul < 0 ? text : text.left(nul);
    const QString scriptText = nul < 0 ? QString() : text.mid(nul + 1);
    const MemoEditorOpening opening = memoEditorOpening(*view, EditorFonts());
    const QStringList memo = paneLines(memoText);
    const QStringList script = paneLines(scriptText);
    if (memo.join(u'\n').size() > memoText.size())
        failed(__LINE__);
    const QStringList errors = opening.scriptAllowed ? checkScript(script) : QStringList();
    for (const QString &e : errors)
        if (const std::optional<ScriptErrorPlace> place = scriptErrorPlace(e))
            if (place->line < 0 || place->column < 0)
                failed(__LINE__);
    if (const std::optional<ScriptErrorPlace> place = scriptErrorPlace(text))
        if (place->line < 0 || place->column < 0)
            failed(__LINE__);
    if (!errors.isEmpty())
        return; // OK is refused: the caret goes to the error
    selectOnly(core, {view});
    core.undo.RecordUndo(designer::ukEdited);
    storeMemoEditorResult(*view, memo, script, opening.scriptAllowed);
    if (view->Memo != memo)
        failed(__LINE__);
    if (opening.scriptAllowed && !isEmptyScript(script) && view->Script != script)
        failed(__LINE__);
    core.surface.Draw(10000, std::nullopt);
    checkReadsBack(f.report);
}

void dropField(designer::DesignerCore &core, Fixture &f, quint8 where, const QString &text)
{
    const int before = f.page->ObjectCount();
    const int x = 8 + (where & 15) * 40, y = 8 + (where >> 4) * 40;
    if (!core.gestures.dragOver(true, x, y) || !core.gestures.dragOver(true, x + 3, y + 5))
        failed(__LINE__);
    core.gestures.dragDrop(text);
    if (f.page->ObjectCount() != before + 1)
        failed(__LINE__);
    TfrView *dropped = f.page->Objects.back().get();
    if (!dropped->Selected || dropped->Memo != QStringList{u'[' + text + u']'})
        failed(__LINE__);
    checkObjects(f.report);
    checkReadsBack(f.report);
    core.Undo();
    if (f.page->ObjectCount() != before)
        failed(__LINE__);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    fuzz::freshLibrary();
    fuzz::registerAddIns();
    answering();
    const quint8 what = data[0], which = data[1];
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data) + 2, qsizetype(size - 2));
    {
        QObject owner;
        TfrReport report(&owner);
        TfrPage *page = report.Pages().Add();
        page->Name = QStringLiteral("Page1");
        TfrPage *target = report.Pages().Add();
        target->Name = QStringLiteral("Page2");
        TfrPage *dialog = report.Pages().Add();
        dialog->Name = QStringLiteral("Page3");
        dialog->PageTypeValue = ptDialog;
        Fixture f{report, page, dialog, {}};
        TfrBandView *master = addBand(*page, btMasterData, "MasterData1", 80);
        f.objects = {
            addBand(*page, btPageHeader, "PageHeader1", 0),
            master,
            add(*page, otMemo, QString(), "Memo1", 8, 84, 96, 18),
            add(*page, otMemo, QString(), "Memo2", 120, 84, 96, 18),
            add(*page, otLine, QString(), "Line1", 0, 110, 700, 0),
            add(*page, otPicture, QString(), "Picture1", 240, 84, 40, 30),
            add(*page, otSubReport, QString(), "SubReport1", 300, 84, 96, 18),
            add(*page, otAddIn, QStringLiteral("TfrCheckBoxView"), "CheckBox1", 420, 84, 16, 16),
            add(*dialog, otAddIn, QStringLiteral("TfrEditControl"), "Edit1", 20, 20, 120, 21),
        };
        f.objects.push_back(addBand(*page, btChild, "Child1", 130));
        master->ChildBand = f.objects.back()->Name;
        static_cast<TfrSubReportView *>(f.objects[6])->SubPage = 1;
        add(*target, otMemo, QString(), "Memo3", 8, 8, 96, 18);
        frSetCurrentReport(&report, &report, &owner);
        FrCountingDesigner window(1);
        window.Page = page;
        frObjects().frCurrentDesigner = &window;
        report::fuzz::QuietView view;
        {
            designer::DesignerCore core(window, view);
            core.state.Report = &report;
            core.state.Settings.GridSize = 8;
            switch (what % 5) {
            case 0:
                typeIntoInspector(core, f, what, which, text);
                break;
            case 1:
                typeIntoPageOptions(core, f, which, text);
                break;
            case 2:
                typeIntoExpressionBuilder(which, text);
                break;
            case 3:
                typeIntoMemoEditor(core, f, which, text);
                break;
            default:
                dropField(core, f, which, text);
                break;
            }
        }
        frObjects().frCurrentDesigner = nullptr;
        frSetCurrentReport(nullptr, nullptr, nullptr);
    }
    fr().resetForTests();
    return 0;
}
