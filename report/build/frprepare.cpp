// Preparing a report: the snapshot of its template, one or two passes under
// the progress window, the build driver over dialog and report pages, the
// value and function callbacks of its expressions; showing, designing,
// editing and exporting what was prepared.
#include "platform/clock/clock.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/text/convert.h"
#include "report/build/frbuild.h"
#include "report/build/frfunclib.h"
#include "report/build/frinterpretator.h"
#include "report/core/frexceptions.h"
#include "report/core/frlocale.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report/data/frdataset.h"
#include "report/data/frdictionary.h"
#include "report/expr/frinterpreter.h"
#include "report/expr/frparser.h"
#include "report/expr/frvariables.h"
#include "report/io/fremfpages.h"
#include "report/objects/frband.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <algorithm>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <cmath>
#include <memory>
#include <vector>

namespace report
{

// --- shared helpers

TfrReport *frBuildMaster()
{
    FrReportLink *master = frObjects().frMasterReport;
    return master ? master->AsReport() : nullptr;
}

bool frBuildTerminated()
{
    const TfrReport *master = frBuildMaster();
    return master && master->Cancelled;
}

void frBuildStop()
{
    if (TfrReport *report = fr().frCurrentReport)
        report->Cancelled = true;
    if (TfrReport *master = frBuildMaster())
        master->Cancelled = true;
}

void frBuildYield()
{
    if (!frBuildTerminated())
        frObjects().ProcessMessages();
}

void frBuildProgress(int n)
{
    if (TfrReport *master = frBuildMaster())
        master->Progress(n);
}

void frNoteScriptErrors(const QString &name, const QStringList &errors)
{
    FrObjectGlobals &g = frObjects();
    g.frErrorOccurred = true;
    for (const QString &error : errors) {
        if (!g.frErrorText.isEmpty())
            g.frErrorText += QLatin1Char('\n');
        g.frErrorText += platform::excerpt(name) + QStringLiteral(": ") + error;
    }
}

namespace
{

QString withTitle(const QString &text, const QString &title)
{
    return title.isEmpty() ? text : text + QStringLiteral(" - ") + title;
}

// Text of a procedure argument naming something: quotes of a string removed.
QString argumentName(const FrVariant &p)
{
    QString s = p.toString().trimmed();
    if (s.size() >= 2 && s.startsWith(QLatin1Char('\'')) && s.endsWith(QLatin1Char('\'')))
        s = s.mid(1, s.size() - 2);
    return s;
}

// The array element's variable name.
QString arrayVariable(const QString &name, const FrVariant &index)
{
    QString key;
    if (index.isString())
        key = index.stringValue();
    else
        key = QString::number(qint64(std::nearbyint(index.toDouble())));
    return QStringLiteral("Arr_") + name + QLatin1Char('_') + key;
}

} // namespace

// --- preparation

bool TfrReport::PrepareReport()
{
    FrObjectGlobals &g = frObjects();
    if (g.frBuilding)
        return false;
    g.frBuilding = true;
    g.frDocMode = 1;

    SelectReportPrinter(PrinterName);
    g.frReportDateTime = platform::Now();
    g.frCurrentPage = nullptr;
    g.frCurrentBand = nullptr;
    g.frMasterReport = this;
    makeCurrent();
    m_askedTwoPass = TwoPass != 0;
    m_twoPassValue = TwoPass;
    InstallCallbacks();
    g.frErrorOccurred = false;
    g.frErrorText.clear();
    m_stepResult = platform::mrNone;
    g.frShownBands = 0;
    fr().pace.yielded();
    // The scripts' variables as they were: a build stopped by an error gives
    // back what its scripts made (a long text among them).
    TfrVariables variablesBefore;
    if (fr().frVariables)
        variablesBefore.Assign(*fr().frVariables);

    bool failed = false;
    // This report first, then the reports built inside it.
    std::vector<TfrReport *> reports{this};
    for (TfrReport *member : BuildMembers())
        if (member && std::find(reports.begin(), reports.end(), member) == reports.end())
            reports.push_back(member);
    std::vector<std::unique_ptr<FrMemoryStream>> snapshots;
    for (size_t r = 0; r < reports.size(); ++r)
        snapshots.push_back(std::make_unique<FrMemoryStream>());
    try {
        if (OnBeginDoc)
            OnBeginDoc();
        // What the owner changed before the build is kept; what the build
        // changes is undone.
        for (size_t r = 0; r < reports.size(); ++r)
            reports[r]->SaveToStream(*snapshots[r]);
        // Objects aligned to the printable area take their place (undone
        // with the rest afterwards).
        for (TfrReport *report : reports)
            for (int i = 0; i < report->Pages().Count(); ++i) {
                TfrPage *page = report->Pages().GetPage(i);
                g.frCurrentPage = page;
                for (const auto &v : page->Objects)
                    if (v->BandAlign != baNone)
                        v->PrepareCanvas(g.measuringCanvas());
            }
        g.frCurrentPage = nullptr;
        RunPreparation();
    } catch (...) {
        // The build stops where it was: pages released, sources closed, the
        // progress window closed; the error is told once below.
        failed = true;
        frNoteBuildError(platform::ExceptionText(std::current_exception()));
        for (TfrReport *report : reports)
            for (int i = 0; i < report->Pages().Count(); ++i) {
                try {
                    report->Pages().GetPage(i)->DoneReport(true);
                } catch (...) {
                }
            }
        try {
            if (ReportType == rtMultiple && Dataset())
                Dataset()->Exit();
        } catch (...) {
        }
        if (FrProgressWindow *progress = g.frProgressWindow(); progress && progress->IsShown())
            progress->SetModalResult(platform::mrCancel);
    }

    const bool errorOccurred = g.frErrorOccurred;
    const QString errorText = g.frErrorText;
    const bool dialogCancelled = g.frDialogCancelled;
    g.frCurrentPage = nullptr;
    g.frCurrentBand = nullptr;
    g.frCurrentView = nullptr;
    g.frMemoObservers.clear();
    for (size_t r = reports.size(); r-- > 0;)
        if (snapshots[r]->size() > 0) {
            snapshots[r]->seek(0);
            reports[r]->LoadFromStream(*snapshots[r]);
        }
    makeCurrent();
    g.frErrorOccurred = false;
    g.frErrorText.clear();
    FinalPass = false;

    const bool cancelled = Cancelled || m_stepResult == platform::mrCancel;
    g.resetBuildState();
    g.frDialogCancelled = dialogCancelled;
    if (!failed && OnEndDoc)
        OnEndDoc();

    // A build stopped by an error or by the user gives back what its scripts
    // made, and the memory they took goes back to the system.
    if (errorOccurred || (cancelled && !dialogCancelled)) {
        if (fr().frVariables)
            fr().frVariables->Assign(variablesBefore);
        variablesBefore.Clear();
#if defined(__GLIBC__)
        malloc_trim(0);
#endif
    }
    if (errorOccurred) {
        m_emfPages->Clear();
        platform::MessageDlgWithCaption(frLoadString(55206), errorText, platform::mtError,
                                        platform::mbOK);
        return false;
    }
    if (dialogCancelled) {
        m_emfPages->Clear();
        return false;
    }
    return !cancelled && !failed;
}

void TfrReport::closeProgress(int result)
{
    m_stepResult = result;
    if (FrProgressWindow *progress = frObjects().frProgressWindow();
        progress && !OnProgress && ShowProgress)
        progress->SetModalResult(result);
}

int TfrReport::runStep(const QString &line)
{
    FrProgressWindow *progress = frObjects().frProgressWindow();
    m_stepResult = platform::mrNone;
    if (!OnProgress && ShowProgress && progress) {
        progress->SetCaption(m_progressCaption);
        m_progressLine = line;
        progress->SetLine(line + QStringLiteral("  1"));
        const int result = progress->ShowModal(*this, [this] { buildStep(); });
        if (result != platform::mrNone)
            m_stepResult = result;
        return m_stepResult;
    }
    m_progressLine = line;
    buildStep();
    return m_stepResult;
}

void TfrReport::RunPreparation()
{
    FrObjectGlobals &g = frObjects();
    Cancelled = false;
    g.frAppendPage = false;
    g.frFirstPass = false;
    FinalPass = true;
    fr().frPageNo = 0;
    m_emfPages->Clear();
    m_progressCaption = withTitle(frLoadString(55203), Title);
    if (TwoPass) {
        g.frFirstPass = true;
        FinalPass = false;
        runStep(frLoadString(55204));
    } else if (m_askedTwoPass) {
        // The final pass of two runs inside the window the first pass opened.
        TwoPass = m_twoPassValue;
        m_progressLine = frLoadString(55205);
        buildStep();
    } else {
        g.frTotalPages = 0;
        runStep(frLoadString(55205));
    }
}

void TfrReport::buildStep()
{
    FrObjectGlobals &g = frObjects();
    BuildPreparedPages();
    if (FinalPass) {
        closeProgress(Cancelled ? platform::mrCancel : platform::mrOk);
        return;
    }
    g.frTotalPages = m_emfPages->Count();
    TwoPass = 0;
    if (Cancelled) {
        m_emfPages->Clear();
        closeProgress(platform::mrCancel);
    } else {
        RunPreparation();
    }
    TwoPass = m_twoPassValue;
}

void TfrReport::Progress(int n)
{
    if (OnProgress) {
        OnProgress(n);
        return;
    }
    if (!ShowProgress)
        return;
    FrObjectGlobals &g = frObjects();
    if (FrProgressWindow *progress = g.frProgressWindow()) {
        QString line = m_progressLine + QStringLiteral("  ") + QString::number(n);
        const TfrReport *master = frBuildMaster();
        if ((master && master->TwoPass && master->FinalPass) || g.frCurrentFilter)
            line += QLatin1Char(' ') + frLoadString(55199) + QLatin1Char(' ') +
                    QString::number(g.frTotalPages);
        progress->SetLine(line);
    }
    g.ProcessMessages();
}

void TfrReport::BuildPreparedPages()
{
    FrObjectGlobals &g = frObjects();
    g.ProcessMessages();
    CanRebuild = true;
    makeCurrent();
    m_dictionary->ClearCache();
    InstallCallbacks();

    TfrDataset *source = Dataset();
    const bool multiple = source && ReportType == rtMultiple;
    if (multiple) {
        source->Init();
        source->First();
    }
    // Inside a composite report its passes govern.
    const TfrReport *passes = frBuildMaster() ? frBuildMaster() : this;
    const bool secondPass = passes->m_askedTwoPass && passes->FinalPass;
    if (!secondPass) {
        g.frMemoObservers.clear();
        for (int i = 0; i < m_pages->Count(); ++i)
            m_pages->GetPage(i)->IsSubReportPage = false;
        g.frDialogCancelled = false;
    }

    for (int i = 0; i < m_pages->Count() && !g.frDialogCancelled; ++i) {
        TfrPage *page = m_pages->GetPage(i);
        if (page->PageTypeValue == ptDialog)
            page->InitReport();
    }
    if (!g.frDialogCancelled) {
        for (int i = 0; i < m_pages->Count(); ++i)
            if (TfrPage *page = m_pages->GetPage(i); page->PageTypeValue == ptReport)
                page->InitReport();
        for (int i = 0; i < m_pages->Count(); ++i)
            if (TfrPage *page = m_pages->GetPage(i); page->PageTypeValue == ptReport)
                page->PrepareAggregates();
        TfrReport *master = frBuildMaster();
        if (!master)
            master = this;
        for (;;) {
            Progress(fr().frPageNo + 1);
            for (int i = 0; i < m_pages->Count(); ++i) {
                TfrPage *page = m_pages->GetPage(i);
                BuildPage = page;
                g.frCurrentPage = page;
                if (!page->Visible)
                    page->RunScript(page->Script);
                if (page->IsSubReportPage || page->PageTypeValue == ptDialog || !page->Visible)
                    continue;
                page->CurColumn = 0;
                if (OnManualBuild)
                    OnManualBuild(page);
                else
                    page->FormPage();
                const TfrPage *next = m_pages->GetPage(i + 1);
                bool carry = next ? next->PrintToPrevPage != 0 : ContinueLastPage;
                if (!next && multiple && !source->Eof())
                    carry = false;
                if (carry) {
                    --fr().frPageNo;
                    g.frAppendPage = true;
                } else {
                    fr().frPageNo = master->EMFPages().Count();
                    Progress(fr().frPageNo);
                }
                if (master->Cancelled)
                    break;
            }
            Progress(fr().frPageNo + 1);
            if (!multiple || Cancelled)
                break;
            source->Next();
            if (source->Eof())
                break;
        }
    }

    for (int i = 0; i < m_pages->Count(); ++i)
        if (TfrPage *page = m_pages->GetPage(i); page->PageTypeValue == ptReport)
            page->DoneReport();
    for (int i = 0; i < m_pages->Count(); ++i)
        if (TfrPage *page = m_pages->GetPage(i); page->PageTypeValue == ptDialog)
            page->DoneReport();
    if (multiple)
        source->Exit();
    BuildPage = nullptr;
}

// --- callbacks

void TfrReport::InstallCallbacks()
{
    installParserCallbacks(
        [this](const QString &name, FrVariant &value) { ResolveParserName(name, value); },
        [this](const QString &name, const FrVariant &p1, const FrVariant &p2, const FrVariant &p3,
               FrVariant &value) { CallParserFunction(name, p1, p2, p3, value); });
}

void TfrReport::ResolveParserName(const QString &name, FrVariant &value)
{
    FrObjectGlobals &g = frObjects();
    FrLibrary &lib = fr();
    if (OnGetValue) {
        FrVariant answer;
        OnGetValue(name, answer);
        if (!answer.isUnassigned()) {
            value = std::move(answer);
            return;
        }
    }
    if (m_dictionary->IsVariable(name)) {
        m_dictionary->GetValue(name, value);
        return;
    }
    const QString n = frUpperCase(name);
    TfrPage *page = dynamic_cast<TfrPage *>(g.frCurrentPage);
    if (n == QLatin1String("VALUE")) {
        value = g.frCurrentValue;
        return;
    }
    if (n == QLatin1String("PAGE#")) {
        value = lib.frPageNo + 1;
        return;
    }
    if (n == QLatin1String("DATE")) {
        value = FrVariant::fromDate(std::floor(g.frReportDateTime));
        return;
    }
    if (n == QLatin1String("TIME")) {
        value = FrVariant::fromDate(g.frReportDateTime - std::floor(g.frReportDateTime));
        return;
    }
    if (n == QLatin1String("LINE#") || n == QLatin1String("LINETHROUGH#")) {
        TfrBand *band = g.frCurrentBand;
        if (band && !band->DataSet() && page)
            band = page->BandOfType(band->Typ);
        const bool line = n == QLatin1String("LINE#");
        value = band ? (line ? band->LineNo : band->LineThroughNo) : 0;
        return;
    }
    if (n == QLatin1String("COLUMN#")) {
        value = page ? page->CrossColumn : 0;
        return;
    }
    if (n == QLatin1String("CURRENT#")) {
        value = page ? page->RecordCount : 0;
        return;
    }
    if (n == QLatin1String("TOTALPAGES")) {
        value = g.frTotalPages;
        return;
    }
    if (n == QLatin1String("CALCWIDTH")) {
        TfrView *view = g.frCurrentView;
        if (!view)
            value = 0;
        else if (auto *memo = dynamic_cast<TfrMemoView *>(view))
            value = memo->CalcWidth(memo->Memo);
        else
            value = int(view->dx);
        return;
    }
    if (const FrVariant *v = lib.frVariables ? lib.frVariables->find(name) : nullptr) {
        value = *v;
        return;
    }
    if (page) {
        if (n == QLatin1String("CURY")) {
            value = page->CurY;
            return;
        }
        if (n == QLatin1String("FREESPACE")) {
            // The top may be a margin as read from the file, whatever it holds.
            value = frClampGeometry(qint64(page->CurBottomY) - page->CurY);
            return;
        }
        if (n == QLatin1String("PAGEHEIGHT")) {
            value = page->CurBottomY;
            return;
        }
        if (n == QLatin1String("PAGEWIDTH")) {
            value = page->RightMarginPos();
            return;
        }
    }
    if (n == QLatin1String("FINALPASS")) {
        const TfrReport *master = frBuildMaster();
        value = master ? master->FinalPass : FinalPass;
        return;
    }
    if (name.contains(QLatin1Char('.'))) {
        TfrObject *object = nullptr;
        QString property;
        frFindObjectProperty(name, object, property);
        if (object && object->FindProperty(property)) {
            value = object->GetPropertyValue(property);
            return;
        }
    }
    if (lib.frConsts && lib.frConsts->IndexOf(name) >= 0) {
        value = lib.frConsts->GetVariable(name);
        return;
    }
    if (!lib.frGlobalParser)
        return;
    if (g.frAggregatePrepare) {
        // While aggregates register, an unknown name is simply empty.
        try {
            FrEvalGuard guard(name, true);
            value = lib.frGlobalParser->Calc(name);
        } catch (const EParserError &) {
            value = FrVariant();
        }
        return;
    }
    FrEvalGuard guard(name, true);
    value = lib.frGlobalParser->Calc(name);
}

void TfrReport::CallParserFunction(const QString &name, const FrVariant &p1, const FrVariant &p2,
                                   const FrVariant &p3, FrVariant &value)
{
    FrObjectGlobals &g = frObjects();
    FrLibrary &lib = fr();
    value = QStringLiteral("0");
    for (const auto &library : g.frFunctionLibraryList)
        if (library && library->OnFunction(name, p1, p2, p3, value))
            return;
    const QString n = frUpperCase(name);
    TfrPage *page = dynamic_cast<TfrPage *>(g.frCurrentPage);
    if (n == QLatin1String("STOPREPORT")) {
        Cancelled = true;
        if (TfrReport *master = frBuildMaster())
            master->Cancelled = true;
    } else if (n == QLatin1String("NEWPAGE")) {
        if (g.frCurrentBand)
            ++g.frCurrentBand->NewPageCount;
    } else if (n == QLatin1String("NEWCOLUMN")) {
        if (g.frCurrentBand)
            ++g.frCurrentBand->NewColumnCount;
    } else if (n == QLatin1String("SHOWBAND")) {
        if (page)
            page->ShowBandByName(argumentName(p1));
    } else if (n == QLatin1String("INC") || n == QLatin1String("DEC")) {
        const QString variable = argumentName(p1);
        FrVariant current;
        ResolveParserName(variable, current);
        const FrVariant one(1);
        const FrVariant next =
            n == QLatin1String("INC") ? frAdd(current, one) : frSubtract(current, one);
        if (lib.frInterpreter)
            lib.frInterpreter->SetValue(variable, next);
    } else if (n == QLatin1String("SETARRAY") || n == QLatin1String("GETARRAY")) {
        const QString array = argumentName(p1);
        const FrVariant index =
            lib.frGlobalParser ? lib.frGlobalParser->Calc(p2.toString()) : FrVariant(p2);
        const int dot = int(array.indexOf(QLatin1Char('.')));
        if (n == QLatin1String("SETARRAY")) {
            const FrVariant v =
                lib.frGlobalParser ? lib.frGlobalParser->Calc(p3.toString()) : FrVariant(p3);
            if (dot < 0) {
                frSetScriptVariable(arrayVariable(array, index), v);
            } else if (TfrView *object = FindObject(array.left(dot))) {
                frNoteScriptObjectElement(object, array.mid(dot + 1), index, v);
                object->CallMethod(QStringLiteral("SETINDEXPROPERTY"), array.mid(dot + 1), index,
                                   v);
            }
        } else if (dot < 0) {
            if (lib.frVariables)
                value = lib.frVariables->GetVariable(arrayVariable(array, index));
        } else if (TfrView *object = FindObject(array.left(dot))) {
            value = object->CallMethod(QStringLiteral("GETINDEXPROPERTY"), array.mid(dot + 1),
                                       index, FrVariant());
        }
    }
    if (OnUserFunction)
        OnUserFunction(name, p1, p2, p3, value);
}

// --- showing, designing, editing, exporting

bool TfrReport::ShowReport()
{
    // A build already running (started again from the message pump) is left alone.
    if (frObjects().frBuilding)
        return false;
    const bool prepared = PrepareReport();
    ShowPreparedReport();
    return prepared;
}

void TfrReport::ShowPreparedReport()
{
    FrObjectGlobals &g = frObjects();
    g.frMasterReport = this;
    g.frCurrentBand = nullptr;
    if (m_emfPages->Count() == 0)
        return;
    const QString caption = withTitle(frLoadString(55207), Title);
    FrPreviewSeam *preview = g.frPreview();
    if (!preview)
        return;
    const bool designing = g.frCurrentDesigner != nullptr;
    if (!designing && Preview()) {
        preview->ConnectPreview(Preview(), *this);
        return;
    }
    preview->ShowPreviewForm(*this, caption, ModalPreview, MDIPreview);
    platform::ProcessMessages();
}

int TfrReport::DesignReport()
{
    FrObjectGlobals &g = frObjects();
    SelectReportPrinter(PrinterName);
    if (m_pages->Count() == 0)
        m_pages->Add();
    makeCurrent();
    const QString helpFile = platform::ApplicationHelpFile();
    platform::SetApplicationHelpFile(QStringLiteral("VRuser.hlp"));
    int result = platform::mrCancel;
    if (g.frDesignerClass) {
        std::unique_ptr<TfrReportDesigner> designer = g.frDesignerClass(1);
        g.frCurrentDesigner = designer.get();
        try {
            result = designer->ShowModal();
        } catch (...) {
            g.frCurrentDesigner = nullptr;
            platform::SetApplicationHelpFile(helpFile);
            throw;
        }
        g.frCurrentDesigner = nullptr;
    }
    platform::SetApplicationHelpFile(helpFile);
    return result;
}

void TfrReport::EditPreparedPage(int pageIndex)
{
    FrObjectGlobals &g = frObjects();
    if (!g.frDesignerClass || !m_emfPages->Entry(pageIndex))
        return;
    // An outer designer (the preview was opened from it) loses its page while
    // the template is rebuilt; it gets the page of the same index back.
    TfrReportDesigner *kept = g.frCurrentDesigner;
    int keptIndex = 0;
    if (kept) {
        for (int i = 0; i < m_pages->Count(); ++i)
            if (m_pages->GetPage(i) == kept->Page)
                keptIndex = i;
        kept->TemplateAboutToRebuild();
        kept->Page = nullptr;
    }
    std::unique_ptr<TfrReportDesigner> designer = g.frDesignerClass(0);
    g.frCurrentDesigner = designer.get();

    FrMemoryStream snapshot;
    SaveToStream(snapshot);
    m_pages->Clear();
    m_emfPages->BuildPageObjects(pageIndex);
    TfrEMFPage *entry = m_emfPages->Entry(pageIndex);
    TfrPage *page = m_pages->Append(std::move(entry->Page));
    makeCurrent();
    designer->Page = page;

    // The prepared page keeps its objects; the template comes back.
    auto finish = [&] {
        if (!entry->Page)
            entry->Page = m_pages->Take(0);
        snapshot.seek(0);
        LoadFromStream(snapshot);
        designer.reset();
        g.frCurrentDesigner = kept;
        if (kept) {
            kept->Page =
                m_pages->GetPage(keptIndex) ? m_pages->GetPage(keptIndex) : m_pages->GetPage(0);
            // Every object was made anew, with new IDs.
            kept->TemplateRebuilt();
        }
    };
    try {
        designer->ShowModal();
        const bool keep =
            designer->IsModified() &&
            platform::MessageDlgWithCaption(
                frLoadString(55006), frLoadString(55306) + QLatin1Char('?'),
                platform::mtConfirmation, platform::mbYes | platform::mbNo) == platform::mrYes;
        entry->Page = m_pages->Take(0);
        if (keep)
            m_emfPages->StorePageObjects(pageIndex);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

bool TfrReport::ExportTo(TfrExportFilter &filter)
{
    FrObjectGlobals &g = frObjects();
    if (g.frBuilding)
        return false;
    FrRestore<bool> busy(g.frBuilding, true);
    FrRestore<TfrExportFilter *> inUse(g.frCurrentFilter, &filter);
    FrRestore<FrReportLink *> master(g.frMasterReport, this);
    FrRestore<int> total(g.frTotalPages, m_emfPages->Count());
    m_progressCaption = withTitle(frLoadString(55203), Title);
    m_progressLine = frLoadString(55205);
    FrProgressWindow *progress = g.frProgressWindow();
    if (progress && !OnProgress && ShowProgress) {
        progress->SetCaption(m_progressCaption);
        progress->SetLine(m_progressLine);
        progress->ShowModal(*this, [this] {
            ExportPages();
            closeProgress(platform::mrOk);
        });
    } else {
        ExportPages();
    }
    return true;
}

void TfrReport::ExportPages()
{
    FrObjectGlobals &g = frObjects();
    TfrExportFilter *filter = g.frCurrentFilter;
    if (!filter)
        return;
    // Objects and text pieces reach the filter for the time of the export.
    FrRestore<std::function<void(TfrView *, int, int)>> objects(g.exportObject);
    FrRestore<std::function<void(const QRect &, int, TfrView *, quint16, const QString &, int)>>
        texts(g.exportText);
    g.exportObject = [filter](TfrView *view, int x, int y) {
        if (view)
            filter->OnData(x, y, *view);
    };
    g.exportText = [filter](const QRect &rect, int x, TfrView *view, quint16 frameTyp,
                            const QString &text, int y) {
        if (view)
            filter->OnText(rect, x, *view, frameTyp, text, y);
    };
    platform::ProcessMessages();
    for (int i = 0; i < m_emfPages->Count(); ++i) {
        filter->OnBeginPage();
        m_emfPages->ExportPage(i);
        Progress(i + 1);
        platform::ProcessMessages();
        filter->OnEndPage();
    }
    filter->OnEndDoc();
}

} // namespace report
