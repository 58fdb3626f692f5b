// Printing one run-time band: measuring, stretching, fitting, splitting over
// pages, outputting its objects into the current prepared page, band
// columns, and the accumulators of the aggregates it feeds or shows.
#include "report/build/frbuild.h"
#include "report/core/frexceptions.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report/data/frdataset.h"
#include "report/expr/frinterpreter.h"
#include "report/expr/frparser.h"
#include "report/io/fremfpages.h"
#include "report/objects/frband.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frlineview.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <algorithm>
#include <functional>

namespace report
{

namespace
{

// Bands that keep their own Y: they print at a fixed place of the sheet.
bool keepsOwnY(int t)
{
    return t == btPageFooter || t == btOverlay || t == btNone;
}

// Bands printed while a page or column changes: they never start another
// page or column themselves, which would start them again without end.
bool opensOrClosesPages(int t)
{
    return t == btPageHeader || t == btPageFooter || t == btColumnHeader || t == btColumnFooter ||
           t == btOverlay || t == btNone;
}

// Bands drawn inside other bands' prints (child bands, SHOWBAND, page
// changes), counted in the library's evaluation state: a chain of them that
// comes back to itself stops the build here.
constexpr int kMaxDrawDepth = 100;

TfrStretcheable *stretchable(TfrView *v)
{
    return dynamic_cast<TfrStretcheable *>(v);
}

// Moves a view by a band's offset for the time of its output.
class FrShift
{
public:
    FrShift(TfrView &v, int dx, int dy) : m_v(v), m_x(v.x), m_y(v.y)
    {
        v.x = frClampGeometry(qint64(v.x) + dx);
        v.y = frClampGeometry(qint64(v.y) + dy);
    }
    ~FrShift()
    {
        m_v.x = m_x;
        m_v.y = m_y;
    }
    FrShift(const FrShift &) = delete;
    FrShift &operator=(const FrShift &) = delete;

private:
    TfrView &m_v;
    int m_x, m_y;
};

} // namespace

int TfrBand::CalcHeight()
{
    int h = dy;
    for (TfrView *v : Objects)
        v->SavedHeight = v->dy;
    auto measure = [this, &h](bool all) {
        for (TfrView *v : Objects) {
            TfrStretcheable *s = stretchable(v);
            if (!s || (!all && v->Parent != this))
                continue;
            if (all)
                s->DrawMode = 0;
            h = int(std::max<qint64>(
                h, std::min<qint64>(qint64(v->y) + s->ContentHeight(), kFrMaxGeometry)));
        }
    };
    // A band with cross objects is as high as its highest cross column.
    TfrBand *crossData = Parent ? Parent->Bands[btCrossData] : nullptr;
    TfrDataset *columns = crossData && crossData->DataSet() ? crossData->DataSet() : CrossDataSet;
    if (HasCrossObjects && Typ != btPageFooter && Parent && columns) {
        FrReportLink *report = frObjects().frCurrentReport;
        Parent->CrossColumn = 1;
        if (report)
            report->BeginColumn(this);
        columns->First();
        while (!columns->Eof() && !frBuildTerminated()) {
            frBuildWork(kFrRecordUnits);
            int width = 0;
            if (report)
                report->PrintColumn(Parent->CrossColumn, width);
            measure(true);
            ++Parent->CrossColumn;
            columns->Next();
        }
    } else {
        measure(false);
    }
    CalculatedHeight = h;
    return h;
}

int TfrBand::TotalHeight()
{
    if (isDataBand() && Next && !Next->DataSet()) {
        qint64 sum = 0;
        for (TfrBand *b = this; b; b = b->Next) {
            if (b != this && b->DataSet())
                break;
            sum += b->Stretched ? b->CalcHeight() : (b->CalculatedHeight = b->dy);
        }
        return int(std::min<qint64>(sum, kFrMaxGeometry));
    }
    if (!Child) {
        CalculatedHeight = Stretched ? CalcHeight() : dy;
        return CalculatedHeight;
    }
    qint64 sum = 0;
    int guard = 0;
    for (TfrBand *b = this; b && guard < 1000; b = b->Child, ++guard)
        if (b->Visible)
            sum += b->Stretched ? b->CalcHeight() : (b->CalculatedHeight = b->dy);
    return int(std::min<qint64>(sum, kFrMaxGeometry));
}

bool TfrBand::CheckPageBreak(int atY, int height, bool onlyTest)
{
    // The opening bands of a page fit whatever their height: moving on would
    // print them again.
    if (Typ == btColumnFooter || Typ == btPageHeader || Typ == btColumnHeader || !Parent)
        return false;
    TfrPage &p = *Parent;
    if (qint64(atY) + height + p.ColumnFooterHeight() <= p.CurBottomY)
        return false;
    // Nothing but the opening bands on this page or column: moving on would
    // only leave it blank, so the band counts as fitting (a split band is
    // split instead).
    if (p.IsFresh() && !Breaked)
        return false;
    if (!onlyTest)
        p.NewColumn(this);
    return true;
}

void TfrBand::StretchObjects(int maxHeight)
{
    for (TfrView *v : Objects) {
        if (v->Parent != this || !(v->Flags & flStretched) || v->dy < 1 || !stretchable(v))
            continue;
        m_stretched.push_back({v, v->dy});
        v->dy = frClampGeometry(qint64(maxHeight) - v->y);
        if (auto *line = dynamic_cast<TfrLineView *>(v))
            line->ContentHeight();
    }
}

void TfrBand::UnStretchObjects()
{
    for (const auto &[view, height] : m_stretched)
        view->dy = height;
    m_stretched.clear();
}

void TfrBand::DrawObject(TfrView *view)
{
    if (view->Parent != this || !Parent)
        return;
    FrObjectGlobals &g = frObjects();
    g.frCurrentPage = Parent;
    g.frCurrentBand = this;
    if (g.frFirstPass && !Breaked) {
        g.frCurrentView = view;
        if (!view->Script.isEmpty() && fr().frInterpreter)
            fr().frInterpreter->DoScript(view->Script);
        return;
    }
    outputView(view, frClampGeometry(qint64(Parent->XAdjust) - Parent->LeftMarginPos()), y);
}

void TfrBand::outputView(TfrView *view, int dx, int dy)
{
    FrObjectGlobals &g = frObjects();
    TfrReport *master = frBuildMaster();
    TfrEMFPage *entry = master ? master->EMFPages().Entry(fr().frPageNo) : nullptr;
    if (!entry || !entry->Stream)
        return;
    const bool memo = view->Typ == otMemo;
    const int mode = memo ? static_cast<TfrMemoView *>(view)->DrawMode : 0;
    {
        FrShift shift(*view, dx, dy);
        FrStream &stream = *entry->Stream;
        stream.seek(stream.size());
        view->WriteToPreparedPage(stream);
        entry->Picture.reset();
    }
    if (memo && mode < 2)
        for (TfrView *observer : std::vector<TfrView *>(g.frMemoObservers)) {
            g.frCurrentView = view;
            observer->ExtraHook();
        }
}

bool TfrBand::DrawObjects()
{
    for (size_t i = 0; i < Objects.size(); ++i) {
        if (frBuildTerminated())
            break;
        TfrView *v = Objects[i];
        if (v->Typ == otSubReport) {
            // Subreport objects come last: the first visible one hands the
            // rest of the band, and its advance, to the subreports.
            if (!v->Visible)
                continue;
            SubIndex = int(i);
            PrepareSubReports();
            DoSubReports();
            return true;
        }
        DrawObject(v);
    }
    return false;
}

void TfrBand::DrawBreaked()
{
    TfrPage &p = *Parent;
    std::vector<TfrView *> own;
    for (TfrView *v : Objects)
        if (v->Parent == this && v->Typ != otSubReport) {
            v->SplitRect = QRect(v->x, v->y, v->dx, v->dy);
            v->Pending = true;
            own.push_back(v);
        }
    auto restore = [&own] {
        for (TfrView *v : own) {
            v->y = v->SplitRect.y();
            v->dy = v->SplitRect.height();
            v->Pending = false;
            if (TfrStretcheable *s = stretchable(v)) {
                s->DrawMode = 0;
                s->SplitAtPageTop = false;
            }
        }
    };
    struct Restorer {
        std::function<void()> f;
        ~Restorer() { f(); }
    } restorer{restore};

    if (!CheckPageBreak(y, PrintedHeight, true)) {
        DrawObjects();
        for (TfrView *v : own)
            v->Pending = false;
        p.CurY = frClampGeometry(qint64(p.CurY) + PrintedHeight);
        return;
    }
    std::vector<qint64> printed(own.size(), 0);
    for (TfrView *v : own)
        if (TfrStretcheable *s = stretchable(v))
            s->ContentHeight();
    int lowest = 0;
    bool pending = true;
    // Blank space of the band laid out so far in fresh columns, with the
    // lengths of lines laid out there alone. A band drawn on the page holds
    // less of both than the page is high: more comes from a damaged file,
    // and would fill column after column with nothing or a bit of rule.
    qint64 blank = 0;
    while (pending && !frBuildTerminated()) {
        const bool fresh = p.IsFresh();
        const qint64 free =
            std::max<qint64>(1, qint64(p.CurBottomY) - p.ColumnFooterHeight() - y - 2);
        if (fresh) {
            qint64 nearest = kFrMaxGeometry;
            bool shows = false;
            for (TfrView *v : own)
                if (v->Pending) {
                    shows = shows || v->y < free;
                    nearest = std::min<qint64>(nearest, v->y);
                }
            if (!shows) {
                if (blank + nearest > p.PageHeight()) {
                    // The rest starts at the top of this column instead.
                    for (TfrView *v : own)
                        if (v->Pending)
                            v->y = frClampGeometry(v->y - nearest);
                } else {
                    blank += free;
                }
            }
        }
        lowest = 0;
        bool content = false;
        qint64 lines = 0;
        auto laidOut = [&content, &lines](TfrView *v, qint64 height) {
            if (dynamic_cast<TfrLineView *>(v))
                lines = std::max(lines, height);
            else
                content = true;
        };
        for (size_t i = 0; i < own.size(); ++i) {
            TfrView *v = own[i];
            if (!v->Pending)
                continue;
            TfrStretcheable *s = stretchable(v);
            auto piece = [&](qint64 top, qint64 height) {
                laidOut(v, height);
                const int keepY = v->y, keepH = v->dy;
                v->y = int(top);
                v->dy = frClampGeometry(height);
                if (s) {
                    s->DrawMode = 2;
                    s->SplitAtPageTop = fresh;
                }
                DrawObject(v);
                if (s)
                    s->DrawMode = 0;
                v->y = keepY;
                v->dy = keepH;
                lowest = int(std::max<qint64>(lowest, top + height));
            };
            if (v->y >= free || v->y < 0) {
                if (!s || v->y >= 0 || qint64(v->y) + v->dy < 0)
                    continue;
                const qint64 rest = qint64(s->HeightLeftToPrint()) + 2 * qint64(v->GapY) + 1;
                if (rest < free) {
                    piece(0, rest);
                    printed[i] += rest - 1;
                    v->Pending = false;
                    const qint64 grow = printed[i] - v->SplitRect.height();
                    for (TfrView *o : own)
                        if (o != v && o->Pending && o->y > v->y && o->x >= v->x &&
                            o->x < qint64(v->x) + v->dx)
                            o->y = frClampGeometry(o->y + grow);
                } else {
                    piece(0, free);
                    printed[i] += free;
                    if (s->HeightLeftToPrint() <= 0)
                        v->Pending = false;
                }
                continue;
            }
            if (qint64(v->y) + v->dy <= free || (!s && fresh)) {
                // Whole; on a fresh page a rigid object taller than the page
                // prints clipped rather than moving on for ever.
                const int keepY = v->y;
                laidOut(v, v->dy);
                DrawObject(v);
                v->y = keepY;
                lowest = int(std::max<qint64>(lowest, qint64(v->y) + v->dy));
                v->Pending = false;
            } else if (!s) {
                v->y = int(free);
            } else {
                const qint64 height = free - v->y + 1;
                printed[i] += height;
                if (s->MinSplitHeight() < height || fresh) {
                    piece(v->y, height);
                    if (s->HeightLeftToPrint() <= 0)
                        v->Pending = false;
                } else {
                    // Nothing printed: the whole object starts on the next part.
                    printed[i] -= height;
                    v->y = int(free);
                }
            }
        }
        if (fresh && !content && lines > 0) {
            blank += lines;
            if (blank > p.PageHeight())
                for (TfrView *v : own)
                    if (v->y < free && dynamic_cast<TfrLineView *>(v))
                        v->Pending = false;
        }
        pending = false;
        for (TfrView *v : own) {
            v->y = frClampGeometry(qint64(v->y) - free);
            // A frame that ended in this part ends its object: text beyond
            // the frame of an object the band does not stretch is left out.
            if (v->y < 0 && qint64(v->y) + v->dy < 0)
                v->Pending = false;
            pending = pending || v->Pending;
        }
        if (pending && !frBuildTerminated()) {
            p.NewColumn(this);
            y = p.CurY;
        }
    }
    PrintedHeight = lowest;
    p.CurY = frClampGeometry(qint64(p.CurY) + PrintedHeight);
}

void TfrBand::DoDraw()
{
    if (!Exists() || !Parent)
        return;
    TfrPage &p = *Parent;
    const int savedY = y;
    const bool own = keepsOwnY(Typ);
    // A split band of the page's own edges would split itself again on
    // every new page.
    FrRestore<bool> breaked(Breaked, Breaked && !opensOrClosesPages(Typ));
    if (!own)
        y = p.CurY;
    bool subReports = false;
    if (!Stretched) {
        if (!own && !Breaked)
            CheckPageBreak(y, dy, false);
        if (!own)
            y = p.CurY;
        if (!Breaked) {
            subReports = DrawObjects();
            if (HasCrossObjects && !subReports)
                DrawCross();
            if (!own && !subReports)
                p.CurY = frClampGeometry(qint64(p.CurY) + dy);
        } else {
            PrintedHeight = CalculatedHeight < 0 ? dy : CalculatedHeight;
            DrawBreaked();
        }
    } else {
        int h = CalculatedHeight < 0 ? dy : CalculatedHeight;
        if (h > dy)
            StretchObjects(h);
        PrintedHeight = h;
        if (!Breaked && !own)
            CheckPageBreak(y, h, false);
        if (!own)
            y = p.CurY;
        if (!Breaked) {
            subReports = DrawObjects();
            if (HasCrossObjects && !subReports)
                DrawCross();
        } else {
            DrawBreaked();
            h = 0;
        }
        UnStretchObjects();
        if (!subReports && !own)
            p.CurY = frClampGeometry(qint64(p.CurY) + h);
    }

    if (p.LastBand != this)
        ColumnNo = 1;
    p.LastBand = this;
    if (View && View->Columns > 1 && View->NewColumnAfter == 1) {
        if (ColumnNo == 1)
            ColumnX = p.XAdjust;
        ++ColumnNo;
        if (ColumnNo > View->Columns) {
            p.XAdjust = ColumnX;
            ColumnNo = 1;
        } else {
            p.XAdjust = frClampGeometry(
                qint64(ColumnX) + (qint64(View->ColumnWidth) + View->ColumnGap) * (ColumnNo - 1));
            p.CurY = frClampGeometry(qint64(p.CurY) - CalculatedHeight);
        }
    }
    y = savedY;
    // A band with cross columns accumulated once per column while they printed.
    if (isDataBand() && !HasCrossObjects)
        DoAggregate();
}

bool TfrBand::Draw()
{
    if (!Parent)
        return false;
    // Every draw counts toward the build's yields, so that bands drawn by
    // the thousand (records of no height, bands shown by scripts) let
    // "Annuler" act.
    frBuildWork(kFrDrawUnits);
    int &drawDepth = fr().evalState.bandDepth;
    if (drawDepth >= kMaxDrawDepth)
        throw EFrLimitError(
            QStringLiteral("Imbrication des bandes trop profonde (plus de %1 niveaux)")
                .arg(kMaxDrawDepth));
    FrRestore<int> depth(drawDepth, drawDepth + 1);
    TfrPage &p = *Parent;
    FrObjectGlobals &g = frObjects();
    TfrReport *report = fr().frCurrentReport;
    g.frCurrentView = View;
    g.frCurrentBand = this;
    CalculatedHeight = -1;
    NewPageCount = NewColumnCount = 0;
    if (report && report->OnBeginBand)
        report->OnBeginBand(this);

    if (TfrBand *last = p.LastBand; last && last != this && last->Exists() && last->ColumnNo > 1) {
        p.XAdjust = last->ColumnX;
        p.CurY = frClampGeometry(qint64(p.CurY) + last->dy);
        last->ColumnNo = 1;
    }

    KeepY = false;
    g.frCurrentView = View;
    g.frCurrentBand = this;
    if (!Script.isEmpty() && fr().frInterpreter)
        fr().frInterpreter->DoScript(Script);
    const int noteY = p.CurY;
    if (frBuildTerminated())
        return false;
    if (opensOrClosesPages(Typ))
        NewPageCount = NewColumnCount = 0;
    // Counts a script ran up; a stopped build stops starting pages for them.
    for (int i = 0; i < NewPageCount && !frBuildTerminated(); ++i) {
        p.CurColumn = std::max(1, int(p.Columns)) - 1;
        p.NewColumn(this);
    }
    for (int i = 0; i < NewColumnCount && !frBuildTerminated(); ++i)
        p.NewColumn(this);
    if (KeepY)
        p.CurY = noteY;

    bool result = false;
    bool longChain = m_inLongChain;
    if (!Visible) {
        if (Child && PrintChildIfInvisible)
            Child->Draw();
        if (isDataBand())
            DoAggregate();
    } else {
        if (Typ == btColumnHeader)
            p.ColumnStartY = p.CurY;
        if (Typ == btPageFooter)
            y = p.CurBottomY;
        if (Exists()) {
            CalculatedHeight = dy;
            if (Typ != btPageFooter && Typ != btOverlay && Typ != btColumnFooter && Typ != btNone) {
                int total = TotalHeight();
                // A band is kept with its child bands when they fit on one
                // page. A chain taller than a page cannot be kept together:
                // moving on for it (or for the part of it still to come)
                // would leave pages nearly blank, so each of its bands only
                // has to fit itself, like rows of a table.
                const int top = p.FreshY >= 0 ? p.FreshY : p.TopMarginPos();
                if (Child && qint64(total) > qint64(p.CurBottomY) - top - p.ColumnFooterHeight())
                    longChain = true;
                if (longChain)
                    total = CalculatedHeight < 0 ? dy : CalculatedHeight;
                if (qint64(p.CurY) + total > p.CurBottomY && !Breaked) {
                    // A subreport page retries the band on the next page,
                    // unless it stands at the top of a page already: then
                    // the band prints there, clipped.
                    if (p.IsSubReportPage && p.RecordMode && !p.IsFresh())
                        return true;
                    CheckPageBreak(p.CurY, total, false);
                }
            }
            SubReportsDone = true;
            if (isDataBand() && DataSet() && Next && !Next->DataSet()) {
                for (TfrBand *b = this; b; b = b->Next) {
                    if (b != this && b->DataSet())
                        break;
                    g.frCurrentBand = b;
                    b->DoDraw();
                }
                g.frCurrentBand = this;
            } else {
                DoDraw();
                if (Child && Child != this) {
                    FrRestore<bool> inChain(Child->m_inLongChain, longChain);
                    Child->Draw();
                }
                if (!isDataBand() && Typ != btGroupHeader && FormNewPage && Visible &&
                    !opensOrClosesPages(Typ))
                    p.NewPage();
            }
        }
    }
    g.frCurrentBand = this;
    // Subreports left unfinished at the bottom of a subreport page: the
    // player goes on with them on the next page.
    if (!SubReportsDone)
        result = true;
    TfrReport *master = frBuildMaster();
    const bool notLastSheet =
        Typ == btPageFooter && master && fr().frPageNo < master->EMFPages().Count() - 1;
    if (!InFooterBand && !notLastSheet)
        InitValues();
    if (report && report->OnEndBand)
        report->OnEndBand(this);
    return result;
}

// --- aggregates

void TfrBand::ResetBand(int lineNo)
{
    LineNo = lineNo;
    for (TfrView *v : Objects)
        if (v->Typ == otMemo)
            static_cast<TfrMemoView *>(v)->LastValue.clear();
}

void TfrBand::accumulate(FrAccumulator &e, const FrVariant &x)
{
    switch (e.code) {
    case frAggCount:
        e.value = e.count + 1;
        break;
    case frAggMin:
    case frAggMax:
        if (x.isNull() || x.isUnassigned())
            return;
        if (!e.hasValue ||
            (e.code == frAggMin ? frCompare(x, e.value) < 0 : frCompare(x, e.value) > 0))
            e.value = x;
        break;
    default: // SUM, AVG
        if (x.isNull() || x.isUnassigned())
            return;
        e.value = frAdd(e.hasValue ? e.value : FrVariant(0), x);
        break;
    }
    e.hasValue = true;
    ++e.count;
}

void TfrBand::DoAggregate()
{
    TfrParser *parser = fr().frGlobalParser.get();
    if (HasCrossObjects && Parent) {
        // The template keys ("0" first) get a copy per cross column.
        const QString column = QString::number(Parent->CrossColumn);
        for (int i = 0; i < Values.Count(); ++i) {
            const FrAccumulator &t = Values.at(i);
            if (t.column != 0)
                continue;
            const int first = int(t.key.indexOf(kFrKeySeparator));
            Values.add(column + t.key.mid(first));
        }
    }
    QString previousExpression;
    FrVariant previous;
    bool havePrevious = false;
    for (int i = 0; i < Values.Count(); ++i) {
        FrAccumulator &e = Values.at(i);
        if (HasCrossObjects ? (!Parent || e.column != Parent->CrossColumn) : e.column >= 0)
            continue;
        FrVariant x;
        if (e.code != frAggCount && parser) {
            if (havePrevious && e.expression == previousExpression) {
                x = previous;
            } else {
                x = parser->Calc(e.expression);
                previousExpression = e.expression;
                previous = x;
                havePrevious = true;
            }
        }
        if (!Visible && !e.countInvisible)
            continue;
        accumulate(e, x);
    }
    ++AggregateCount;
}

void TfrBand::InitValues()
{
    if (Typ == btGroupHeader) {
        TfrParser *parser = fr().frGlobalParser.get();
        for (TfrBand *b = this; b && parser; b = b->Next)
            b->LastGroupValue = parser->EvaluatePostfix(b->Condition);
        return;
    }
    if (!AggregateBand)
        return;
    for (int i = 0; i < AggregateBand->Values.Count(); ++i) {
        FrAccumulator &e = AggregateBand->Values.at(i);
        if (frSameText(e.bandName, Name)) {
            e.value = 0;
            e.hasValue = false;
            e.count = 0;
        }
    }
    AggregateBand->AggregateCount = 0;
}

FrVariant TfrBand::GetAggregateValue(const QString &key)
{
    const int index = Values.IndexOf(key);
    if (index < 0)
        return 0;
    const FrAccumulator &e = Values.at(index);
    if (!e.hasValue)
        return 0;
    if (e.code == frAggAvg)
        return e.count > 0 ? frDivide(e.value, FrVariant(e.count)) : FrVariant(0);
    return e.value;
}

void TfrBand::SetAggregateValue(const QString &key, const FrVariant &value)
{
    FrAccumulator &e = Values.add(key);
    if (frObjects().frAggregatePrepare)
        return;
    e.value = value;
    e.hasValue = true;
}

} // namespace report
