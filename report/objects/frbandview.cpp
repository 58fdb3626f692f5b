#include "report/objects/frbandview.h"

#include "report/core/frlocale.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report/data/frdataset.h"
#include "report/expr/frparser.h"
#include "report/objects/frband.h"
#include "report/objects/frpopupmenu.h"

namespace report
{

namespace
{

const struct {
    const char *name;
    quint16 bit;
} kBandOptions[] = {
    {"FORMNEWPAGE", flBandNewPageAfter},
    {"PRINTIFSUBSETEMPTY", flBandPrintifSubsetEmpty},
    {"BREAKED", flBandPageBreak},
    {"ONFIRSTPAGE", flBandOnFirstPage},
    {"ONLASTPAGE", flBandOnLastPage},
    {"REPEATHEADER", flBandRepeatHeader},
    {"PRINTCHILDIFINVISIBLE", flBandPrintChildIfInvisible},
};

bool in(int t, std::initializer_list<int> set)
{
    for (int v : set)
        if (v == t)
            return true;
    return false;
}

FrPageLink *designerPage()
{
    FrObjectGlobals &g = frObjects();
    if (g.frCurrentDesigner && g.frCurrentDesigner->Page)
        return g.frCurrentDesigner->Page;
    return g.frCurrentPage;
}

// Types offered each option, in the order of the options above.
bool offers(quint16 bit, int t)
{
    switch (bit) {
    case flBandNewPageAfter:
        return in(t, {0, 1, 5, 6, 8, 9, 11, 12, 16});
    case flBandPrintifSubsetEmpty:
        return in(t, {5, 8});
    case flBandPageBreak:
        return in(t, {0, 1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 17, 21});
    case flBandOnFirstPage:
        return in(t, {2, 3});
    case flBandOnLastPage:
        return t == 3;
    case flBandRepeatHeader:
        return in(t, {4, 7, 10, 16, 18});
    case flBandPrintChildIfInvisible:
        return t != 3;
    default:
        return false;
    }
}

bool offersStretched(int t)
{
    return in(t, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 17, 18, 21});
}

} // namespace

int frBandTypeOf(const TfrView *band)
{
    const int t = band->FrameTyp & 0xFF;
    return t > btNone ? btNone : t;
}

TfrBandView::TfrBandView()
{
    Typ = otBand;
    BaseName = QStringLiteral("Band");
    Format = 0;
    Flags = 0x30;
}

int TfrBandView::GetBandType() const
{
    return frBandTypeOf(this);
}

void TfrBandView::SetBandType(int type)
{
    FrameTyp = quint16(type & 0x7F);
}

void TfrBandView::SetPropertyValue(const QString &name, const FrVariant &value)
{
    TfrView::SetPropertyValue(name, value);
    FrObjectGlobals &g = frObjects();
    const bool printing = g.frDocMode == 1;
    const QString n = frUpperCase(name);
    if (n == QLatin1String("CHILDBAND")) {
        ChildBand = value.toString();
        if (printing && Parent) {
            Parent->Child = nullptr;
            if (g.frCurrentPage)
                if (auto *child =
                        dynamic_cast<TfrBandView *>(g.frCurrentPage->FindObject(ChildBand)))
                    Parent->Child = child->Parent;
        }
        return;
    }
    if (n == QLatin1String("MASTER")) {
        Master = value.toString();
        return;
    }
    for (const auto &o : kBandOptions)
        if (n == QLatin1String(o.name)) {
            Flags = value.toBool() ? (Flags | o.bit) : (Flags & ~o.bit);
            return;
        }
    if (n == QLatin1String("CONDITION")) {
        FormatStr = value.toString();
        if (printing && Parent)
            Parent->Condition =
                fr().frGlobalParser ? fr().frGlobalParser->ConvertToPostfix(FormatStr) : FormatStr;
        return;
    }
    if (n == QLatin1String("COLUMNS"))
        Columns = value.toInt();
    else if (n == QLatin1String("COLUMNGAP"))
        ColumnGap = value.toInt();
    else if (n == QLatin1String("COLUMNWIDTH"))
        ColumnWidth = value.toInt();
    else if (n == QLatin1String("NEWCOLUMNAFTER"))
        NewColumnAfter = value.toInt();
    else if (printing && Parent) {
        if (n == QLatin1String("LEFT"))
            Parent->x = value.toInt();
        else if (n == QLatin1String("TOP"))
            Parent->y = value.toInt();
        else if (n == QLatin1String("WIDTH"))
            Parent->dx = value.toInt();
        else if (n == QLatin1String("HEIGHT"))
            Parent->dy = value.toInt();
        else if (n == QLatin1String("VISIBLE"))
            Parent->Visible = value.toBool();
        else if (n == QLatin1String("DATASOURCE"))
            Parent->ChangeDataSource(value.toString());
    }
}

FrVariant TfrBandView::GetPropertyValue(const QString &name)
{
    FrVariant v = TfrView::GetPropertyValue(name);
    const QString n = frUpperCase(name);
    if (frObjects().frDocMode == 1 && Parent) {
        if (n == QLatin1String("LEFT"))
            v = Parent->x;
        else if (n == QLatin1String("TOP"))
            v = Parent->y;
        else if (n == QLatin1String("WIDTH"))
            v = Parent->dx;
        else if (n == QLatin1String("HEIGHT"))
            v = Parent->dy;
        else if (n == QLatin1String("VISIBLE"))
            v = Parent->Visible;
    }
    if (!frNoValue(v))
        return v;
    if (n == QLatin1String("CHILDBAND"))
        return ChildBand;
    if (n == QLatin1String("MASTER"))
        return Master;
    if (n == QLatin1String("EOF")) {
        TfrDataset *ds = Parent ? Parent->DataSet() : nullptr;
        return ds ? ds->Eof() : true;
    }
    for (const auto &o : kBandOptions)
        if (n == QLatin1String(o.name))
            return (Flags & o.bit) != 0;
    if (n == QLatin1String("CONDITION"))
        return FormatStr;
    if (n == QLatin1String("COLUMNS"))
        return int(Columns);
    if (n == QLatin1String("COLUMNGAP"))
        return int(ColumnGap);
    if (n == QLatin1String("NEWCOLUMNAFTER"))
        return int(NewColumnAfter);
    if (n == QLatin1String("COLUMNWIDTH"))
        return int(ColumnWidth);
    return FrVariant::null();
}

FrVariant TfrBandView::CallMethod(const QString &name, const FrVariant &par1, const FrVariant &par2,
                                  const FrVariant &par3)
{
    FrVariant result = TfrView::CallMethod(name, par1, par2, par3);
    if (!frNoValue(result))
        return result;
    TfrDataset *ds = Parent ? Parent->DataSet() : nullptr;
    if (!ds)
        return FrVariant::null();
    const QString n = frUpperCase(name);
    if (n == QLatin1String("NEXT"))
        ds->Next();
    else if (n == QLatin1String("PRIOR"))
        ds->Prior();
    else if (n == QLatin1String("FIRST"))
        ds->First();
    else
        return FrVariant::null();
    return 0;
}

void TfrBandView::DefinePropertyList()
{
    TfrView::DefinePropertyList();
    const int t = GetBandType();
    FrObjectGlobals &g = frObjects();
    FrPageLink *page = g.frDocMode == 0 ? designerPage() : nullptr;
    auto bandNames = [&](auto accept) {
        QString names;
        QList<FrVariant> values;
        if (page)
            for (int i = 0; i < page->ObjectCount(); ++i) {
                TfrView *v = page->Object(i);
                if (v && v != this && v->Typ == otBand && accept(frBandTypeOf(v))) {
                    names += v->Name + QLatin1Char(';');
                    values.append(int(values.size()));
                }
            }
        return std::make_pair(names, values);
    };
    if (t != btPageFooter) {
        auto [names, values] = bandNames([](int bt) { return bt == btChild; });
        AddEnumProperty(QStringLiteral("ChildBand"), names, values);
        AddProperty(QStringLiteral("PrintChildIfInvisible"), 8);
    }
    if (offersStretched(t))
        AddProperty(QStringLiteral("Stretched"), 8);
    if (offers(flBandNewPageAfter, t))
        AddProperty(QStringLiteral("FormNewPage"), 8);
    if (offers(flBandPrintifSubsetEmpty, t))
        AddProperty(QStringLiteral("PrintIfSubsetEmpty"), 8);
    if (offers(flBandPageBreak, t))
        AddProperty(QStringLiteral("Breaked"), 8);
    if (offers(flBandOnFirstPage, t))
        AddProperty(QStringLiteral("OnFirstPage"), 8);
    if (offers(flBandOnLastPage, t))
        AddProperty(QStringLiteral("OnLastPage"), 8);
    if (offers(flBandRepeatHeader, t))
        AddProperty(QStringLiteral("RepeatHeader"), 8);
    if (t == btCrossData)
        AddProperty(QStringLiteral("DataSource"), 64,
                    g.frPropEditors.Get(FrEditorKind::VBandDataSource));
    if (in(t, {btMasterData, btDetailData, btSubDetailData})) {
        AddProperty(QStringLiteral("Columns"), 2);
        AddProperty(QStringLiteral("ColumnWidth"), 128);
        AddProperty(QStringLiteral("ColumnGap"), 128);
        AddProperty(QStringLiteral("DataSource"), 64,
                    g.frPropEditors.Get(FrEditorKind::BandDataSource));
    }
    if (t == btGroupHeader) {
        AddProperty(QStringLiteral("Condition"), 1);
        auto [names, values] = bandNames([](int bt) {
            return bt == btMasterData || bt == btDetailData || bt == btSubDetailData;
        });
        AddEnumProperty(QStringLiteral("Master"), names, values);
    }
    AddProperty(QStringLiteral("EOF"), 0);
    if (TfrPropRec *memo = FindProperty(QStringLiteral("Memo")))
        memo->Name = QStringLiteral("OnBeforePrint");
}

void TfrBandView::LoadFromStream(FrStream &stream)
{
    TfrView::LoadFromStream(stream);
    if (fr().frTemplateVersion < 24)
        return;
    ChildBand = frReadTemplateString(stream);
    Columns = frReadInteger(stream);
    ColumnWidth = frClampGeometry(frReadInteger(stream));
    ColumnGap = frClampGeometry(frReadInteger(stream));
    NewColumnAfter = frReadInteger(stream);
    if (StreamMajor * 10 + StreamMinor > 20)
        Master = frReadTemplateString(stream);
}

void TfrBandView::SaveToStream(FrStream &stream)
{
    StreamMinor = 1;
    TfrView::SaveToStream(stream);
    frWriteString(stream, ChildBand);
    frWriteInteger(stream, Columns);
    frWriteInteger(stream, ColumnWidth);
    frWriteInteger(stream, ColumnGap);
    frWriteInteger(stream, NewColumnAfter);
    frWriteString(stream, Master);
}

void TfrBandView::AddPopupItems(FrPopupMenu &popup)
{
    const int t = GetBandType();
    if (t == btPageFooter)
        popup.addSeparator();
    else if (offersStretched(t))
        TfrView::AddPopupItems(popup);
    const struct {
        int id;
        quint16 bit;
    } items[] = {
        {55194, flBandNewPageAfter},
        {55195, flBandPrintifSubsetEmpty},
        {55196, flBandPageBreak},
        {55231, flBandOnFirstPage},
        {55232, flBandOnLastPage},
        {55233, flBandRepeatHeader},
        {55440, flBandPrintChildIfInvisible},
    };
    for (const auto &item : items) {
        if (!offers(item.bit, t))
            continue;
        const bool set = (Flags & item.bit) != 0;
        const quint16 bit = item.bit;
        if (bit <= flBandPageBreak) {
            popup.addCheck(frLoadString(item.id), set, [this, bit, set] {
                flagCommand(bit, !set,
                            [](TfrView *v) { return dynamic_cast<TfrBandView *>(v) != nullptr; });
            });
        } else {
            popup.addCheck(frLoadString(item.id), set, [this, bit, set] {
                TfrReportDesigner *designer = frObjects().frCurrentDesigner;
                if (designer)
                    designer->NotifyBeforeChange();
                if (!(Restrictions & 8))
                    Flags = !set ? (Flags | bit) : (Flags & ~bit);
                if (designer)
                    designer->NotifyAfterChange();
            });
        }
    }
}

int TfrBandView::TitleWidth() const
{
    const QStringList &names = fr().frBandNames;
    const int t = GetBandType();
    const QString title = t < names.size() ? names.at(t) : QString();
    FrFontProps font;
    font.Size = 8;
    const int w = frObjects().measurer().width(font.canvasFont(), title);
    return std::max(100, w + 8);
}

void TfrBandView::Draw(platform::Canvas &canvas)
{
    FrObjectGlobals &g = frObjects();
    FrPageLink *page = designerPage();
    FrameWidth = 1;
    if (IsCrossBand()) {
        y = 0;
        if (page)
            dy = frClampGeometry(page->PageHeight());
    } else {
        x = 0;
        if (page)
            dx = frClampGeometry(page->PageWidth());
    }
    PrepareCanvas(canvas);
    FrGeometryScope geometry(*this);
    FrFontProps fontProps;
    fontProps.Size = 8;
    fontProps.Charset = fr().frCharset;
    const platform::FrFont font = fontProps.canvasFont();
    canvas.setFont(font);
    canvas.setPen(platform::FrPen{platform::clBtnFace, 1, platform::PenStyle::Solid});
    canvas.setBrushClear();
    canvas.rectangle(x, y, x + dx + 1, y + dy + 1);
    if (Columns > 1) {
        canvas.setPen(platform::FrPen{platform::clBlack, 1, platform::PenStyle::Dot});
        const int left = page ? page->LeftMarginPos() : 0;
        for (int k = 1; k <= std::min(Columns, 1000); ++k) {
            const qint64 cx = left + qint64(k - 1) * (qint64(ColumnWidth) + ColumnGap);
            if (cx > platform::kMaxCoordinate || cx < -platform::kMaxCoordinate)
                break; // damaged column sizes: nothing more can show
            canvas.rectangle(int(cx), y, frClampGeometry(cx + ColumnWidth), y + dy);
        }
    }
    const int t = GetBandType();
    const QString title = t < fr().frBandNames.size() ? fr().frBandNames.at(t) : QString();
    const int tw = TitleWidth();
    canvas.setBackgroundMode(platform::BackgroundMode::Transparent);
    if (!g.frBandTitles) {
        if (IsCrossBand()) {
            canvas.setFont(platform::frRotatedFont(font));
            canvas.textOut(x + 2, y + 94, title);
        } else
            canvas.textOut(x + 4, y + 2, title);
        return;
    }
    canvas.setBrushColor(platform::clBtnFace);
    canvas.setPen(platform::FrPen{platform::clBtnFace, 1, platform::PenStyle::Clear});
    if (IsCrossBand()) {
        canvas.fillRect(platform::rectLTRB(x - 18, y, x, y + tw));
        canvas.setPen(platform::FrPen{platform::clBtnHighlight, 1, platform::PenStyle::Solid});
        canvas.moveTo(x - 18, y + tw);
        canvas.lineTo(x - 18, y);
        canvas.lineTo(x, y);
        canvas.setPen(platform::FrPen{platform::clBtnShadow, 1, platform::PenStyle::Solid});
        canvas.moveTo(x - 18, y + tw);
        canvas.lineTo(x, y + tw);
        canvas.setFont(platform::frRotatedFont(font));
        canvas.textOut(x - 15, y + tw + 4, title);
    } else {
        canvas.fillRect(platform::rectLTRB(x, y - 18, x + tw, y));
        canvas.setPen(platform::FrPen{platform::clBtnHighlight, 1, platform::PenStyle::Solid});
        canvas.moveTo(x, y);
        canvas.lineTo(x, y - 18);
        canvas.lineTo(x + tw, y - 18);
        canvas.setPen(platform::FrPen{platform::clBtnShadow, 1, platform::PenStyle::Solid});
        canvas.moveTo(x + tw, y - 18);
        canvas.lineTo(x + tw, y);
        canvas.textOut(x + 4, y - 17, title);
    }
}

QRegion TfrBandView::GetClipRegion(bool inflate)
{
    if (!frObjects().frBandTitles)
        return TfrView::GetClipRegion(inflate);
    const int grow = inflate ? 10 : 0;
    // Fields set in code are not bounded: edges summed in 64 bits.
    auto at = [](qint64 v) { return frClampGeometry(v); };
    const qint64 l = x, t = y, tw = TitleWidth();
    QRegion r(platform::rectLTRB(at(l - grow), at(t - grow), at(l + dx + 1 + grow),
                                 at(t + dy + 1 + grow)));
    if (IsCrossBand())
        r += QRegion(platform::rectLTRB(at(l - 18), at(t), at(l), at(t + tw)));
    else
        r += QRegion(platform::rectLTRB(at(l), at(t - 18), at(l + tw), at(t)));
    return r;
}

} // namespace report
