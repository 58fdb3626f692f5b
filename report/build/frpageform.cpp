// Page formation: a template page set up for a build (run-time bands with
// their objects and links), formed into prepared pages (opening bands, data
// loops, closing bands, new pages and columns, page footers), then released.
#include "report/build/frbuild.h"
#include "report/core/frexceptions.h"
#include "report/core/frutils.h"
#include "report/data/frdataset.h"
#include "report/data/frdb.h"
#include "report/data/frdictionary.h"
#include "report/expr/frinterpreter.h"
#include "report/expr/frparser.h"
#include "report/io/fremfpages.h"
#include "report/objects/frband.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frsubreportview.h"

#include <algorithm>
#include <set>

namespace report
{

namespace
{

constexpr int kDataTypes[4] = {0, btMasterData, btDetailData, btSubDetailData};
constexpr int kLevelTypes[3][3] = {{btMasterHeader, btMasterData, btMasterFooter},
                                   {btDetailHeader, btDetailData, btDetailFooter},
                                   {btSubDetailHeader, btSubDetailData, btSubDetailFooter}};

bool withinBand(const TfrView *v, const TfrBand *b)
{
    return qint64(v->y) >= b->y && qint64(v->y) <= qint64(b->y) + b->dy;
}

// Two group values are the same group.
bool sameGroup(const FrVariant &a, const FrVariant &b)
{
    if (a.isString() && b.isString())
        return a.stringValue() == b.stringValue();
    try {
        return frEquals(a, b);
    } catch (const std::exception &) {
        return false;
    }
}

void raiseEndPage(int pageNo)
{
    TfrReport *current = fr().frCurrentReport;
    if (current && current->OnEndPage)
        current->OnEndPage(pageNo);
    TfrReport *master = frBuildMaster();
    if (master && master != current && master->OnEndPage)
        master->OnEndPage(pageNo);
}

bool finalOfTwoPasses()
{
    TfrReport *master = frBuildMaster();
    return master && master->TwoPass && master->FinalPass;
}

bool firstOfTwoPasses()
{
    TfrReport *master = frBuildMaster();
    return master && master->TwoPass && !master->FinalPass;
}

} // namespace

TfrBand *TfrPage::BandOfType(int bandType) const
{
    return bandType >= 0 && bandType <= btNone ? Bands[size_t(bandType)] : nullptr;
}

int TfrPage::BottomLimit() const
{
    int bottom = BottomMarginPos();
    const TfrBand *footer = Bands[btPageFooter];
    if (frObjects().frDocMode == 1 && footer && footer->View)
        bottom = frClampGeometry(qint64(bottom) - footer->dy);
    return bottom;
}

int TfrPage::ColumnFooterHeight() const
{
    const TfrBand *footer = Bands[btColumnFooter];
    if (SummaryPrinting || !footer || !footer->View)
        return 0;
    return footer->dy;
}

void TfrPage::freeBands()
{
    FrObjectGlobals &g = frObjects();
    for (const auto &b : m_runBands)
        if (g.frCurrentBand == b.get())
            g.frCurrentBand = nullptr;
    for (const auto &v : Objects)
        v->Parent = nullptr;
    m_queue.clear();
    Bands.fill(nullptr);
    LastBand = nullptr;
    InterruptedBand = nullptr;
    m_runBands.clear();
}

void TfrPage::RunScript(const QStringList &script)
{
    if (script.isEmpty() || !fr().frInterpreter)
        return;
    QStringList coded, errors;
    fr().frInterpreter->PrepareScript(script, coded, errors);
    if (!errors.isEmpty()) {
        frNoteScriptErrors(Name, errors);
        return;
    }
    frObjects().frCurrentView = nullptr;
    fr().frInterpreter->DoScript(coded);
}

void TfrPage::initDialogPage()
{
    FrObjectGlobals &g = frObjects();
    g.frCurrentPage = this;
    Form = g.frDialogFormClass ? g.frDialogFormClass(*this) : nullptr;
    bool placed = false;
    if (Form)
        for (const auto &v : Objects)
            placed = Form->PlaceControl(*v) || placed;
    if (placed && Visible) {
        FrProgressWindow *progress = g.frProgressWindow();
        const bool shown = progress && progress->IsShown();
        if (progress)
            progress->SetShown(false);
        Form->SetFormProperties(BorderStyle, Caption, Color,
                                QRect(FormLeft, FormTop, FormWidth, FormHeight), Position);
        const int result = Form->ShowModal([this] { RunScript(Script); });
        if (result == platform::mrCancel)
            g.frDialogCancelled = true;
        if (progress)
            progress->SetShown(shown);
    } else {
        RunScript(Script);
    }
    Initialized = true;
}

void TfrPage::InitReport()
{
    if (Initialized && finalOfTwoPasses())
        return;
    if (PageTypeValue == ptDialog) {
        initDialogPage();
        return;
    }
    FrObjectGlobals &g = frObjects();
    g.frCurrentPage = this;
    freeBands();
    for (int t = 0; t <= btNone; ++t) {
        m_runBands.push_back(std::make_unique<TfrBand>(nullptr, this));
        TfrBand *b = m_runBands.back().get();
        b->Typ = t;
        b->Parent = this;
        Bands[size_t(t)] = b;
    }

    // Objects: prepared, conditions in postfix form, scripts translated.
    std::vector<TfrView *> unassigned;
    for (const auto &owned : Objects) {
        // Scripts and conditions are read here, however long: the build's
        // pace sees them, and once the build is cancelled the rest are left
        // unread (nothing runs them, and the template is put back after).
        frBuildWork(0);
        const bool stopped = frBuildTerminated();
        TfrView *v = owned.get();
        v->Prepared = true;
        v->Parent = nullptr;
        if (auto *memo = dynamic_cast<TfrMemoView *>(v);
            memo && !memo->HighlightCondition.isEmpty() && fr().frGlobalParser)
            memo->HighlightCondition =
                stopped ? QString()
                        : fr().frGlobalParser->ConvertToPostfix(memo->HighlightCondition);
        if (v->Flags & 0x8000)
            g.frMemoObservers.push_back(v);
        if (stopped) {
            v->Script.clear();
        } else if (!v->Script.isEmpty() && fr().frInterpreter) {
            QStringList coded, errors;
            fr().frInterpreter->PrepareScript(v->Script, coded, errors);
            v->Script = coded;
            if (!errors.isEmpty())
                frNoteScriptErrors(v->Name, errors);
        }
        if (v->Typ == otSubReport) {
            const int target = static_cast<TfrSubReportView *>(v)->SubPage;
            if (TfrReport *report = fr().frCurrentReport)
                if (TfrPage *p = report->Pages().GetPage(target); p && p != this)
                    p->IsSubReportPage = true;
        }
        if (v->Typ != otBand)
            unassigned.push_back(v);
    }

    auto bandViewsOf = [this](int type) {
        std::vector<TfrBandView *> views;
        for (const auto &v : Objects)
            if (v->Typ == otBand && frBandTypeOf(v.get()) == type)
                views.push_back(static_cast<TfrBandView *>(v.get()));
        return views;
    };

    // Cross bands first: they take the objects within their horizontal span.
    std::set<TfrView *> inCross;
    for (int t = btCrossHeader; t <= btCrossFooter; ++t) {
        const auto views = bandViewsOf(t);
        if (views.empty())
            continue;
        TfrBand *b = Bands[size_t(t)];
        b->TakeView(views.front(), IsSubReportPage);
        for (TfrView *v : unassigned)
            if (v->x >= b->x && qint64(v->x) + v->dx <= qint64(b->x) + b->dx) {
                v->x -= b->x;
                v->Parent = b;
                b->Objects.push_back(v);
                inCross.insert(v);
            }
    }

    // The other bands, in type order, each taking the objects whose top lies within it.
    std::set<TfrView *> taken;
    for (int t = 0; t < btNone; ++t) {
        if (t >= btCrossHeader && t <= btCrossFooter)
            continue;
        TfrBand *last = nullptr;
        for (TfrBandView *view : bandViewsOf(t)) {
            TfrBand *b = Bands[size_t(t)];
            if (b->View) {
                m_runBands.push_back(std::make_unique<TfrBand>(nullptr, this));
                b = m_runBands.back().get();
                b->Parent = this;
                last->Next = b;
                b->Prev = last;
            }
            b->TakeView(view, IsSubReportPage);
            b->ColumnNo = 1;
            last = b;
            for (TfrView *v : unassigned)
                if (!taken.count(v) && !inCross.count(v) && v->Typ != otSubReport &&
                    withinBand(v, b)) {
                    v->y -= b->y;
                    v->Parent = b;
                    b->Objects.push_back(v);
                    taken.insert(v);
                }
            for (TfrView *v : unassigned)
                if (inCross.count(v) && !taken.count(v) && withinBand(v, b)) {
                    v->y -= b->y;
                    b->Objects.push_back(v);
                    b->HasCrossObjects = true;
                    taken.insert(v);
                }
            for (TfrView *v : unassigned)
                if (!taken.count(v) && v->Typ == otSubReport && withinBand(v, b)) {
                    v->y -= b->y;
                    v->Parent = b;
                    b->Objects.push_back(v);
                    taken.insert(v);
                }
        }
    }

    // Chains sorted by Y; the first band knows the last.
    for (int t = 0; t < btNone; ++t) {
        std::vector<TfrBand *> chain;
        for (TfrBand *b = Bands[size_t(t)]; b; b = b->Next)
            chain.push_back(b);
        std::stable_sort(chain.begin(), chain.end(),
                         [](const TfrBand *a, const TfrBand *b) { return a->y < b->y; });
        for (size_t i = 0; i < chain.size(); ++i) {
            chain[i]->Prev = i > 0 ? chain[i - 1] : nullptr;
            chain[i]->Next = i + 1 < chain.size() ? chain[i + 1] : nullptr;
            chain[i]->LastInChain = nullptr;
        }
        Bands[size_t(t)] = chain.front();
        chain.front()->LastInChain = chain.back();
    }

    // What no band holds prints on every page at its place.
    TfrBand *none = Bands[btNone];
    for (TfrView *v : unassigned)
        if (!taken.count(v) && !inCross.count(v)) {
            v->Parent = none;
            none->Objects.push_back(v);
        }

    linkBands();

    // A page holds no more columns than its width can show, a pixel each at
    // least: a damaged count would split a band into columns that all lie
    // on top of each other, or run off the page to the left. The gap and the
    // margins are kept as read from the file: the sums are taken in 64 bits.
    const qint64 width = qint64(RightMarginPos()) - LeftMarginPos();
    const qint64 stride = 1 + std::max<qint64>(0, ColumnGap);
    Columns =
        int(std::clamp<qint64>(Columns, 1, std::max<qint64>(1, (width + stride - 1) / stride)));
    ColWidth = frClampGeometry((width - qint64(Columns - 1) * ColumnGap) / Columns);
    CrossColumn = 1;
    RecordCount = 1;
    Initialized = true;
}

void TfrPage::linkBands()
{
    // Headers and footers of each data level, by position.
    for (const auto &level : kLevelTypes) {
        for (TfrBand *h = Bands[size_t(level[0])]; h; h = h->Next) {
            if (!h->View)
                continue;
            for (TfrBand *d = Bands[size_t(level[1])]; d; d = d->Next)
                if (d->View && d->y > qint64(h->y) + h->dy && !d->HeaderBand) {
                    d->HeaderBand = h;
                    h->DataBand = d;
                    break;
                }
        }
        for (TfrBand *f = Bands[size_t(level[2])]; f; f = f->Next) {
            if (!f->View)
                continue;
            TfrBand *found = nullptr;
            for (TfrBand *d = Bands[size_t(level[1])]; d; d = d->Next)
                if (d->View && qint64(d->y) + d->dy <= f->y && !d->FooterBand)
                    found = d;
            if (found) {
                found->FooterBand = f;
                f->DataBand = found;
            }
        }
    }

    // Group headers and footers pair from the inside out.
    std::vector<TfrBand *> headers, footers;
    for (TfrBand *b = Bands[btGroupHeader]; b; b = b->Next)
        if (b->View)
            headers.push_back(b);
    for (TfrBand *b = Bands[btGroupFooter]; b; b = b->Next)
        if (b->View)
            footers.push_back(b);
    for (size_t i = 0; i < headers.size() && i < footers.size(); ++i)
        headers[headers.size() - 1 - i]->FooterBand = footers[i];

    // Group lists of the data bands.
    TfrBand *firstMaster =
        Bands[btMasterData] && Bands[btMasterData]->View ? Bands[btMasterData] : nullptr;
    if (firstMaster)
        for (TfrBand *g : headers) {
            TfrBand *target = firstMaster;
            if (!g->View->Master.isEmpty()) {
                target = nullptr;
                for (int t = 0; t < btNone && !target; ++t)
                    for (TfrBand *b = Bands[size_t(t)]; b; b = b->Next)
                        if (b->View && frSameText(b->Name, g->View->Master)) {
                            target = b;
                            break;
                        }
            }
            if (!target)
                continue;
            g->PrevGroup = target->LastGroup;
            g->NextGroup = nullptr;
            if (target->LastGroup)
                target->LastGroup->NextGroup = g;
            else
                target->FirstGroup = g;
            target->LastGroup = g;
        }

    // Child bands; a chain that would come back to a band is cut there.
    auto findBand = [this](const QString &name) -> TfrBand * {
        for (int t = 0; t < btNone; ++t)
            for (TfrBand *b = Bands[size_t(t)]; b; b = b->Next)
                if (b->View && frSameText(b->Name, name))
                    return b;
        return nullptr;
    };
    for (int t = 0; t < btNone; ++t)
        for (TfrBand *b = Bands[size_t(t)]; b; b = b->Next)
            if (b->View && !b->View->ChildBand.isEmpty()) {
                TfrBand *child = findBand(b->View->ChildBand);
                for (TfrBand *c = child; c; c = c->Child)
                    if (c == b) {
                        child = nullptr;
                        break;
                    }
                b->Child = child;
            }

    // Record sources and group conditions.
    for (int t = 0; t < btNone; ++t)
        for (TfrBand *b = Bands[size_t(t)]; b; b = b->Next)
            if (b->View) {
                frObjects().frCurrentBand = b;
                b->InitDataSet(b->View->FormatStr);
            }
    frObjects().frCurrentBand = nullptr;

    DeepestLevel = 0;
    for (int level = 1; level <= 3; ++level)
        if (Bands[size_t(kDataTypes[level])] && Bands[size_t(kDataTypes[level])]->View)
            DeepestLevel = level;
}

void TfrPage::DoneReport(bool force)
{
    if (!force && firstOfTwoPasses())
        return;
    if (Initialized) {
        if (PageTypeValue == ptDialog)
            Form.reset();
        else
            freeBands();
    }
    Initialized = false;
}

bool TfrPage::IsFresh() const
{
    return FreshY >= 0 && CurY == FreshY;
}

void TfrPage::ShowBand(TfrBand *band)
{
    if (!band)
        return;
    if (RecordMode) {
        AddRecord(band, 0);
        return;
    }
    if (!band->Exists()) {
        // The column start is noted even without a column header.
        if (band->Typ == btColumnHeader)
            ColumnStartY = CurY;
        return;
    }
    band->Draw();
}

void TfrPage::ShowBandByName(const QString &name)
{
    // A stopped build starts no more bands for its scripts.
    if (frBuildTerminated())
        return;
    for (int t = 0; t <= btNone; ++t)
        for (TfrBand *b = Bands[size_t(t)]; b; b = b->Next)
            if (b->View && frSameText(b->View->Name, name)) {
                FrObjectGlobals &g = frObjects();
                if (++g.frShownBands > g.frShownBandsLimit)
                    throw EFrLimitError(
                        QStringLiteral("Trop de bandes affichées par ShowBand (plus de %1)")
                            .arg(g.frShownBandsLimit));
                ShowBand(b);
                return;
            }
}

void TfrPage::AddRecord(TfrBand *band, int kind)
{
    RecordList.push_back({band, kind});
}

void TfrPage::ClearRecList()
{
    RecordList.clear();
    PlayPosition = 0;
}

void TfrPage::FormPage()
{
    FrObjectGlobals &g = frObjects();
    int &pageNo = fr().frPageNo;
    TfrReport *master = frBuildMaster();
    // A page that was not set up for this build (its type changed under a
    // script) has nothing to form.
    if (!master || !Initialized || !Bands[btNone])
        return;
    InFooter = false;
    m_queue.clear();
    if (!RecordMode) {
        RunScript(Script);
        if (g.frAppendPage && g.frPrevPageY == g.frPrevPageBottom) {
            g.frAppendPage = false;
            g.frAppendFooterPrinted = false;
            pageNo = master->EMFPages().Count();
        }
        CurBottomY = g.frAppendPage && g.frAppendFooterPrinted ? g.frPrevPageBottom : BottomLimit();
        CurColumn = 0;
        XAdjust = LeftMarginPos();
        FreshY = -1;
        if (g.frAppendPage) {
            CurY = g.frPrevPageY;
        } else {
            master->EMFPages().AddPage(*this);
            CurY = TopMarginPos();
            ShowBand(Bands[btOverlay]);
            ShowBand(Bands[btNone]);
        }
        const int before = pageNo;
        ShowBand(Bands[btReportTitle]);
        if (pageNo == before) {
            if (Bands[btPageHeader]->Flags & flBandOnFirstPage)
                ShowBand(Bands[btPageHeader]);
            ShowBand(Bands[btColumnHeader]);
        }
        if (!g.frAppendPage)
            FreshY = CurY;
    }

    DoLoop(1);

    if (!RecordMode) {
        InFooter = true;
        ShowBand(Bands[btColumnFooter]);
        SummaryPrinting = true;
        ShowBand(Bands[btReportSummary]);
        SummaryPrinting = false;
        InFooter = false;
        g.frPrevPageY = CurColumn > 0 ? CurBottomY : CurY;
        g.frPrevPageBottom = CurBottomY;
        CurColumn = 0;
        XAdjust = LeftMarginPos();
        g.frAppendFooterPrinted = false;
        const int before = pageNo;
        TfrBand *footer = Bands[btPageFooter];
        if ((footer->Flags & flBandOnLastPage) ||
            (pageNo == 0 && (footer->Flags & flBandOnFirstPage))) {
            const quint16 flags = footer->Flags;
            footer->Flags |= flBandOnFirstPage;
            g.frAppendFooterPrinted = footer->Exists();
            DrawPageFooters(footer->Exists());
            footer->Flags = flags;
        } else {
            DrawPageFooters(false);
        }
        pageNo = before + 1;
    }
    LastBand = nullptr;
}

void TfrPage::DrawPageFooters(bool withFooter)
{
    FrObjectGlobals &g = frObjects();
    int &pageNo = fr().frPageNo;
    TfrReport *master = frBuildMaster();
    CurColumn = 0;
    XAdjust = LeftMarginPos();
    TfrBand *footer = Bands[btPageFooter];
    const int count = master ? master->EMFPages().Count() : 0;
    withFooter = withFooter && footer;
    while (pageNo < count) {
        // A continued page whose footer is already there is left alone.
        if (!(g.frAppendPage && g.frAppendFooterPrinted)) {
            raiseEndPage(pageNo);
            if (withFooter && (pageNo > 0 || (footer->Flags & flBandOnFirstPage)))
                ShowBand(footer);
        }
        ++pageNo;
    }
    pageNo = count;
}

void TfrPage::NewPage()
{
    FrObjectGlobals &g = frObjects();
    TfrReport *master = frBuildMaster();
    if (!master)
        return;
    frBuildProgress(fr().frPageNo + 1);
    if (!InFooter)
        ShowBand(Bands[btColumnFooter]);
    DrawPageFooters(true);
    CurBottomY = BottomLimit();
    master->EMFPages().AddPage(*this);
    g.frAppendPage = false;
    FreshY = -1;
    ShowBand(Bands[btOverlay]);
    ShowBand(Bands[btNone]);
    CurY = TopMarginPos();
    ShowBand(Bands[btPageHeader]);
    ShowBand(Bands[btColumnHeader]);
    FreshY = CurY;
}

void TfrPage::NewColumn(TfrBand *band)
{
    if (CurColumn < Columns - 1) {
        // A column is work like a page: it is reported, so that the progress
        // window can stop a band split into columns for ever.
        frBuildProgress(fr().frPageNo + 1);
        ShowBand(Bands[btColumnFooter]);
        ++CurColumn;
        XAdjust = frClampGeometry(qint64(XAdjust) + ColWidth + ColumnGap);
        CurY = ColumnStartY;
        FreshY = -1;
        ShowBand(Bands[btColumnHeader]);
    } else {
        NewPage();
    }
    if (!InFooter)
        for (TfrBand *g = Bands[btGroupHeader]; g && g != band; g = g->Next)
            if (g->View && (g->Flags & flBandRepeatHeader)) {
                g->InFooterBand = true;
                ShowBand(g);
                g->InFooterBand = false;
            }
    if (band && band->HeaderBand &&
        (band->Typ == btMasterData || band->Typ == btDetailData || band->Typ == btSubDetailData) &&
        (band->HeaderBand->Flags & flBandRepeatHeader))
        ShowBand(band->HeaderBand);
    FreshY = CurY;
}

// --- data loops

void TfrPage::QueueAdd(TfrBand *band)
{
    if (band)
        m_queue.push_back(band);
}

void TfrPage::QueueFlush()
{
    std::vector<TfrBand *> bands;
    bands.swap(m_queue);
    for (TfrBand *b : bands)
        if (b->Exists())
            ShowBand(b);
}

void TfrPage::QueueGroups(TfrBand *group)
{
    for (TfrBand *g = group; g; g = g->NextGroup) {
        ++g->LineNo;
        ++g->LineThroughNo;
        QueueAdd(g);
    }
}

void TfrPage::DoLoop(int level)
{
    if (level < 1 || level > 3)
        return;
    for (TfrBand *b = Bands[size_t(kDataTypes[level])]; b; b = b->Next) {
        TfrDataset *ds = b->DataSet();
        if (!ds || !b->View)
            continue;
        const size_t queueStart = m_queue.size();
        ds->First();
        if (RecordMode) {
            AddRecord(b, 1);
        } else {
            b->ResetBand(1);
            b->LineThroughNo = 1;
        }
        for (TfrBand *g = b->FirstGroup; g; g = g->NextGroup) {
            g->ResetBand(0);
            g->LineThroughNo = 0;
        }
        if (ds->Eof())
            continue;
        QueueGroups(b->FirstGroup);
        QueueAdd(b->HeaderBand);
        if (b->FooterBand)
            b->FooterBand->InitValues();
        while (!ds->Eof() && !frBuildTerminated()) {
            // Records count toward the build's yields, printed or not.
            frBuildWork(kFrRecordUnits);
            QueueAdd(b);
            bool printed = true;
            if (DeepestLevel > level) {
                DoLoop(level + 1);
                if (!m_queue.empty()) {
                    if (b->PrintIfSubsetEmpty) {
                        QueueFlush();
                    } else {
                        m_queue.pop_back();
                        printed = false;
                    }
                }
            } else {
                QueueFlush();
            }
            ds->Next();

            TfrBand *broken = nullptr;
            TfrParser *parser = fr().frGlobalParser.get();
            for (TfrBand *g = b->FirstGroup; g; g = g->NextGroup)
                if (ds->Eof() || g->LastGroupValue.isUnassigned() ||
                    (parser &&
                     !sameGroup(parser->EvaluatePostfix(g->Condition), g->LastGroupValue))) {
                    broken = g;
                    break;
                }
            if (broken) {
                const bool atEnd = ds->Eof();
                if (!atEnd)
                    ds->Prior();
                for (TfrBand *g = b->LastGroup; g && g != broken; g = g->PrevGroup) {
                    QueueAdd(g->FooterBand);
                    g->ResetBand(0);
                }
                QueueAdd(broken->FooterBand);
                QueueFlush();
                if (!atEnd) {
                    ds->Next();
                    if (broken->FormNewPage && broken->Visible)
                        NewPage();
                    QueueGroups(broken);
                    b->ResetBand(0);
                }
            }

            if (RecordMode) {
                AddRecord(b, 2);
            } else if (printed) {
                ++RecordCount;
                ++b->LineThroughNo;
                ++b->LineNo;
                if (!ds->Eof() && b->FormNewPage && b->Visible)
                    NewPage();
            }
        }
        // Entries this loop left queued never print: headers must not leak
        // under another data band.
        if (m_queue.empty())
            ShowBand(b->FooterBand);
        else
            m_queue.resize(std::min(m_queue.size(), queueStart));
    }
}

// --- aggregates

void TfrPage::walkAggregates(TfrBand *band)
{
    if (!band || !band->Exists())
        return;
    FrObjectGlobals &g = frObjects();
    g.frCurrentView = band->View;
    g.frCurrentBand = band;
    QStringList calls;
    frCollectAggregateCalls(band->Memo, band->Script, calls);
    for (TfrView *v : band->Objects) {
        const QStringList noMemo;
        frCollectAggregateCalls(v->Typ == otMemo ? v->Memo : noMemo, v->Script, calls);
    }
    TfrParser *parser = fr().frGlobalParser.get();
    if (!parser)
        return;
    // The texts were read above: a cancel is seen between two bands at most.
    for (const QString &call : std::as_const(calls)) {
        frBuildWork(0);
        if (frBuildTerminated())
            return;
        parser->Calc(call);
    }
}

void TfrPage::PrepareAggregates()
{
    if (PageTypeValue == ptDialog || finalOfTwoPasses())
        return;
    FrObjectGlobals &g = frObjects();
    g.frCurrentPage = this;

    // Objects that show a field are bound to it: a text that is one bracketed
    // name, as the memo's own reading cuts it (quotes and nested brackets
    // kept inside), with nothing bracketed after it. Several expressions
    // ("[a] [b]") name no field, and are never read as one long name.
    TfrReport *report = fr().frCurrentReport;
    for (const auto &owned : Objects) {
        if (frBuildTerminated())
            break;
        frBuildWork(0);
        TfrView *v = owned.get();
        v->DataSet = nullptr;
        v->DataField.clear();
        if (v->Typ == otBand || (v->Typ == otMemo && (v->Flags & flTextOnly)))
            continue;
        if (v->Memo.isEmpty() || !v->Memo.first().startsWith(QLatin1Char('[')))
            continue;
        const QString text = v->Memo.join(QStringLiteral("\r\n"));
        if (text.size() <= 2)
            continue;
        int open = 1, close = 1;
        const QString name = frGetBracketedName(text, open, close);
        if (close > text.size() || text.indexOf(QLatin1Char(']'), close) >= 0)
            continue;
        frCountRead(text.size() - close);
        g.frCurrentBand = v->Parent;
        QString reference = name;
        if (report && report->Dictionary().IsVariable(name)) {
            const FrVariant *value = report->Dictionary().Variables.find(name);
            reference = value ? value->toString() : QString();
        }
        FrDataSet *dataSet = nullptr;
        QString field;
        try {
            frGetDataSetAndField(reference, dataSet, field);
        } catch (const std::exception &) {
            field.clear();
        }
        if (dataSet && !field.isEmpty()) {
            v->DataSet = dataSet;
            v->DataField = field;
        }
    }
    g.frCurrentBand = nullptr;
    if (frBuildTerminated())
        return;

    FrRestore<bool> preparing(g.frAggregatePrepare, true);
    static const std::vector<int> kShows[3] = {
        {btPageFooter, btMasterFooter, btGroupFooter, btReportSummary},
        {btPageFooter, btMasterFooter, btDetailFooter, btGroupFooter, btReportSummary},
        {btPageFooter, btMasterFooter, btDetailFooter, btSubDetailFooter, btGroupFooter,
         btReportSummary}};
    for (int level = 1; level <= 3; ++level) {
        TfrBand *b = Bands[size_t(kDataTypes[level])];
        while (b) {
            g.frAggregateBand = b;
            for (int type : kShows[level - 1]) {
                TfrBand *first = Bands[size_t(type)];
                int guard = 0;
                for (TfrBand *c = first; c && guard < 1000; c = c->Child, ++guard)
                    walkAggregates(c);
                for (TfrBand *n = first ? first->Next : nullptr; n; n = n->Next)
                    walkAggregates(n);
            }
            b = b->Next && b->Next->DataSet() ? b->Next : nullptr;
        }
    }
    if (Bands[btCrossData] && Bands[btCrossData]->View) {
        g.frAggregateBand = Bands[btCrossData];
        for (TfrBand *c = Bands[btCrossFooter]; c; c = c->Next)
            walkAggregates(c);
    }
    g.frAggregateBand = nullptr;
    g.frCurrentBand = nullptr;
    g.frCurrentView = nullptr;
}

} // namespace report
