#include "report/objects/frpage.h"

#include <algorithm>

#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report/objects/frband.h"
#include "report/objects/frglobals.h"
#include "report/objects/frseams.h"
#include "report/objects/frview.h"

#include <algorithm>
#include <cmath>

namespace report
{

namespace
{

bool isDefaultBin(int bin)
{
    return bin == kFrDefaultBin || bin == -1;
}

} // namespace

int TfrPage::pixelsToTenths(double pixels)
{
    return int(std::nearbyint(pixels * 10.0 * 5.0 / 18.0));
}

int TfrPage::tenthsToPixels(double tenths)
{
    return int(std::nearbyint(tenths / 10.0 * 18.0 / 5.0));
}

TfrPage::TfrPage(int size, int width, int height, int bin, int orientation)
{
    ChangePaper(size, width, height, bin, orientation);
}

TfrPage::~TfrPage()
{
    // The library must not keep pointing at a page or object that is gone.
    if (!fr().objectLayer)
        return;
    FrObjectGlobals &g = frObjects();
    if (g.frCurrentPage == this)
        g.frCurrentPage = nullptr;
    for (const auto &view : Objects)
        if (g.frCurrentView == view.get())
            g.frCurrentView = nullptr;
    if (g.frCurrentDesigner && g.frCurrentDesigner->Page == this)
        g.frCurrentDesigner->Page = nullptr;
}

void TfrPage::ChangePaper(int size, int width, int height, int bin, int orientation)
{
    FrPrinterInfo &printer = frObjects().frGlobalPrinter();
    const int askedBin = isDefaultBin(bin) ? kFrDefaultBin : bin;
    bool taken = printer.SetPrinterInfo(size, width, height, askedBin, orientation, false);
    if (!taken)
        taken = printer.SetPrinterInfo(kFrCustomPaper, width, height, askedBin, orientation, false);
    if (taken) {
        Size = printer.PaperSize();
        PaperWidth = printer.PaperWidth();
        PaperHeight = printer.PaperHeight();
        Orientation = quint8(printer.Orientation());
        Bin = isDefaultBin(bin) ? bin : printer.Bin();
    } else {
        // No printer took it: the page keeps the paper as asked.
        Size = size;
        PaperWidth = width;
        PaperHeight = height;
        Orientation = quint8(orientation);
        Bin = bin;
    }
    printer.FillPrnInfo(PrnInfo);
}

void TfrPage::Clear()
{
    if (fr().objectLayer && frObjects().frCurrentView)
        for (const auto &view : Objects)
            if (frObjects().frCurrentView == view.get())
                frObjects().frCurrentView = nullptr;
    Objects.clear();
}

void TfrPage::Delete(int index)
{
    if (index < 0 || index >= ObjectCount())
        return;
    if (fr().objectLayer && frObjects().frCurrentView == Objects[size_t(index)].get())
        frObjects().frCurrentView = nullptr;
    Objects.erase(Objects.begin() + index);
}

TfrView *TfrPage::Object(int index) const
{
    return index >= 0 && index < ObjectCount() ? Objects[size_t(index)].get() : nullptr;
}

TfrView *TfrPage::Add(std::unique_ptr<TfrView> view)
{
    Objects.push_back(std::move(view));
    return Objects.back().get();
}

TfrView *TfrPage::Insert(int index, std::unique_ptr<TfrView> view)
{
    index = std::clamp(index, 0, ObjectCount());
    return Objects.insert(Objects.begin() + index, std::move(view))->get();
}

std::unique_ptr<TfrView> TfrPage::Take(int index)
{
    if (index < 0 || index >= ObjectCount())
        return nullptr;
    std::unique_ptr<TfrView> view = std::move(Objects[size_t(index)]);
    Objects.erase(Objects.begin() + index);
    return view;
}

int TfrPage::IndexOfObjectID(qint32 id) const
{
    for (int i = 0; i < ObjectCount(); ++i)
        if (Objects[size_t(i)]->ID == id)
            return i;
    return -1;
}

TfrView *TfrPage::FindObject(const QString &name) const
{
    for (const auto &view : Objects)
        if (frSameText(view->Name, name))
            return view.get();
    return nullptr;
}

void TfrPage::CreateUniqueName()
{
    FrObjectGlobals &g = frObjects();
    const FrReportLink *report = g.frCurrentReport;
    if (g.frLoadNames && report && g.frLoadNames->report() == report) {
        const int n = g.frLoadNames->freePageNumber(QStringLiteral("Page"));
        Name = n > 0 ? QStringLiteral("Page") + QString::number(n) : QStringLiteral("Page");
        return;
    }
    auto used = [report, this](const QString &candidate) {
        if (!report)
            return false;
        for (int i = 0; i < report->PageCount(); ++i) {
            FrPageLink *page = report->Page(i);
            if (!page || page == this)
                continue;
            if (frSameText(page->GetPropertyValue(QStringLiteral("Name")).toString(), candidate))
                return true;
        }
        return false;
    };
    for (int n = 1; n <= kFrNameNumberLimit; ++n) {
        const QString candidate = QStringLiteral("Page") + QString::number(n);
        if (!used(candidate)) {
            Name = candidate;
            return;
        }
    }
    Name = QStringLiteral("Page");
}

void TfrPage::EditScript()
{
    // The text editor edits the current view: a memo holding the script.
    std::unique_ptr<TfrView> memo = frCreateObject(otMemo, QString());
    if (!memo)
        return;
    memo->Memo = Script;
    FrRestore<TfrView *> current(frObjects().frCurrentView, memo.get());
    if (frObjects().frPropEditors.Call(FrEditorKind::Memo))
        Script = memo->Memo;
}

int TfrPage::LeftMarginPos() const
{
    if (!UseMargins)
        return 0;
    return LeftMargin != 0 ? LeftMargin : PrnInfo.Ofx;
}

int TfrPage::TopMarginPos() const
{
    if (!UseMargins)
        return 0;
    return TopMargin != 0 ? TopMargin : PrnInfo.Ofy;
}

int TfrPage::RightMarginPos() const
{
    if (!UseMargins)
        return PrnInfo.Pgw;
    // Margins are kept as read from the file, whatever they hold.
    return frClampGeometry(RightMargin != 0 ? qint64(PrnInfo.Pgw) - RightMargin
                                            : qint64(PrnInfo.Ofx) + PrnInfo.Pw);
}

int TfrPage::BottomMarginPos() const
{
    if (!UseMargins)
        return PrnInfo.Pgh;
    return frClampGeometry(BottomMargin != 0 ? qint64(PrnInfo.Pgh) - BottomMargin
                                             : qint64(PrnInfo.Ofy) + PrnInfo.Ph);
}

void TfrPage::DefinePropertyList()
{
    TfrObject::DefinePropertyList();
    AddEnumProperty(QStringLiteral("Type"), QStringLiteral("ptReport;ptDialog"),
                    {FrVariant(0), FrVariant(1)});
    AddProperty(QStringLiteral("Visible"), 0);
    if (PageTypeValue == ptDialog) {
        AddEnumProperty(QStringLiteral("BorderStyle"), QStringLiteral("bsDialog;bsSizeable"),
                        {FrVariant(3), FrVariant(2)});
        AddProperty(QStringLiteral("Caption"), frptText);
        AddProperty(QStringLiteral("Color"), frptColor);
        AddProperty(QStringLiteral("Left"), frptSize);
        AddProperty(QStringLiteral("Top"), frptSize);
        AddProperty(QStringLiteral("Width"), frptInteger);
        AddProperty(QStringLiteral("Height"), frptInteger);
        AddEnumProperty(QStringLiteral("Position"), QStringLiteral("poDesigned;poScreenCenter"),
                        {FrVariant(0), FrVariant(4)});
        AddProperty(QStringLiteral("OnActivate"), frptEditor | frptSingle,
                    [this] { EditScript(); });
        return;
    }
    const FrPrinterInfo &printer = frObjects().frGlobalPrinter();
    QList<FrVariant> codes;
    for (int code : printer.PaperSizes())
        codes.append(FrVariant(code));
    AddEnumProperty(QStringLiteral("Size"), printer.PaperNames().join(QLatin1Char(';')), codes);
    AddProperty(QStringLiteral("Width"), frptSize);
    AddProperty(QStringLiteral("Height"), frptSize);
    AddProperty(QStringLiteral("LeftMargin"), frptSize);
    AddProperty(QStringLiteral("TopMargin"), frptSize);
    AddProperty(QStringLiteral("RightMargin"), frptSize);
    AddProperty(QStringLiteral("BottomMargin"), frptSize);
    AddEnumProperty(QStringLiteral("Orientation"), QStringLiteral("poPortrait;poLandscape"),
                    {FrVariant(0), FrVariant(1)});
    AddProperty(QStringLiteral("PrintToPrevPage"), frptBoolean);
    AddProperty(QStringLiteral("StretchToPrintable"), frptBoolean);
    AddProperty(QStringLiteral("Columns"), frptInteger);
    AddProperty(QStringLiteral("ColumnGap"), frptSize);
    AddProperty(QStringLiteral("OnBeforePrint"), frptEditor | frptSingle, [this] { EditScript(); });
}

void TfrPage::SetPropertyValue(const QString &name, const FrVariant &value)
{
    const QString n = frUpperCase(name);
    const bool dialog = PageTypeValue == ptDialog;
    if (n == QLatin1String("LEFT"))
        FormLeft = value.toInt();
    else if (n == QLatin1String("TOP"))
        FormTop = value.toInt();
    else if (n == QLatin1String("WIDTH")) {
        if (dialog)
            FormWidth = value.toInt();
        else
            PaperWidth = pixelsToTenths(value.toDouble());
    } else if (n == QLatin1String("HEIGHT")) {
        if (dialog)
            FormHeight = value.toInt();
        else
            PaperHeight = pixelsToTenths(value.toDouble());
    } else if (n == QLatin1String("TYPE"))
        PageTypeValue = quint8(value.toInt());
    else if (n == QLatin1String("BORDERSTYLE"))
        BorderStyle = quint8(value.toInt());
    else if (n == QLatin1String("POSITION"))
        Position = quint8(value.toInt());
    else if (n == QLatin1String("ORIENTATION"))
        Orientation = quint8(value.toInt());
    else if (n == QLatin1String("CAPTION"))
        Caption = value.toString();
    else if (n == QLatin1String("NAME"))
        Name = value.toString();
    else if (n == QLatin1String("COLOR"))
        Color = value.toInt();
    else if (n == QLatin1String("SIZE"))
        Size = value.toInt();
    else if (n == QLatin1String("LEFTMARGIN"))
        LeftMargin = value.toInt();
    else if (n == QLatin1String("TOPMARGIN"))
        TopMargin = value.toInt();
    else if (n == QLatin1String("RIGHTMARGIN"))
        RightMargin = value.toInt();
    else if (n == QLatin1String("BOTTOMMARGIN"))
        BottomMargin = value.toInt();
    else if (n == QLatin1String("COLUMNS"))
        Columns = value.toInt();
    else if (n == QLatin1String("COLUMNGAP"))
        ColumnGap = value.toInt();
    else if (n == QLatin1String("VISIBLE"))
        Visible = value.toBool();
    else if (n == QLatin1String("PRINTTOPREVPAGE"))
        PrintToPrevPage = value.toBool() ? 0xFFFF : 0;
    else if (n == QLatin1String("STRETCHTOPRINTABLE"))
        UseMargins = value.toBool() ? 0 : 0xFFFF;
}

FrVariant TfrPage::GetPropertyValue(const QString &name)
{
    const QString n = frUpperCase(name);
    const bool dialog = PageTypeValue == ptDialog;
    const bool designing = frObjects().frDocMode == 0;
    if (n == QLatin1String("LEFT"))
        return FormLeft;
    if (n == QLatin1String("TOP"))
        return FormTop;
    if (n == QLatin1String("WIDTH"))
        return dialog ? FormWidth : tenthsToPixels(PaperWidth);
    if (n == QLatin1String("HEIGHT"))
        return dialog ? FormHeight : tenthsToPixels(PaperHeight);
    if (n == QLatin1String("TYPE"))
        return int(PageTypeValue);
    if (n == QLatin1String("BORDERSTYLE"))
        return int(BorderStyle);
    if (n == QLatin1String("NAME"))
        return Name;
    if (n == QLatin1String("CAPTION"))
        return Caption;
    if (n == QLatin1String("COLOR"))
        return Color;
    if (n == QLatin1String("POSITION"))
        return int(Position);
    if (n == QLatin1String("SIZE"))
        return Size;
    if (n == QLatin1String("ORIENTATION"))
        return int(Orientation);
    if (n == QLatin1String("COLUMNS"))
        return Columns;
    if (n == QLatin1String("COLUMNGAP"))
        return ColumnGap;
    if (n == QLatin1String("VISIBLE"))
        return Visible;
    if (n == QLatin1String("PRINTTOPREVPAGE"))
        return PrintToPrevPage != 0;
    if (n == QLatin1String("STRETCHTOPRINTABLE"))
        return UseMargins == 0;
    if (n == QLatin1String("LEFTMARGIN"))
        return designing ? LeftMargin : LeftMarginPos();
    if (n == QLatin1String("TOPMARGIN"))
        return designing ? TopMargin : TopMarginPos();
    if (n == QLatin1String("RIGHTMARGIN"))
        return designing ? RightMargin : RightMarginPos();
    if (n == QLatin1String("BOTTOMMARGIN"))
        return designing ? BottomMargin : BottomMarginPos();
    return TfrObject::GetPropertyValue(name);
}

void TfrPage::LoadFromStream(FrStream &stream)
{
    const quint8 version = fr().frTemplateVersion;
    const qint32 first = frReadInteger(stream);
    const bool marked = first == -1;
    const qint32 size = marked ? frReadInteger(stream) : first;
    const qint32 width = frReadInteger(stream);
    const qint32 height = frReadInteger(stream);
    LeftMargin = frReadInteger(stream);
    TopMargin = frReadInteger(stream);
    RightMargin = frReadInteger(stream);
    BottomMargin = frReadInteger(stream);
    const quint8 orientation = frReadByte(stream);
    if (version < 23)
        stream.readBytes(6);
    const qint32 bin = version > 23 ? frReadInteger(stream) : -1;
    PrintToPrevPage = frReadWord(stream);
    UseMargins = frReadWord(stream);
    Columns = frReadInteger(stream);
    ColumnGap = frReadInteger(stream);
    if (version > 23) {
        PageTypeValue = frReadByte(stream);
        Name = frReadTemplateString(stream);
        const quint8 border = frReadByte(stream);
        BorderStyle = border == 0 ? 3 : border == 1 ? 2 : border;
        Caption = frReadTemplateString(stream);
        Color = frReadInteger(stream);
        FormLeft = frReadInteger(stream);
        FormTop = frReadInteger(stream);
        FormWidth = frReadInteger(stream);
        FormHeight = frReadInteger(stream);
        Position = frReadByte(stream) != 0 ? 4 : 0;
        if (marked)
            frReadTemplateMemo(stream, Script);
    } else {
        CreateUniqueName();
    }
    ChangePaper(size, width, height, bin, orientation);
}

void TfrPage::SaveToStream(FrStream &stream) const
{
    frWriteInteger(stream, -1);
    frWriteInteger(stream, Size);
    frWriteInteger(stream, PaperWidth);
    frWriteInteger(stream, PaperHeight);
    frWriteInteger(stream, LeftMargin);
    frWriteInteger(stream, TopMargin);
    frWriteInteger(stream, RightMargin);
    frWriteInteger(stream, BottomMargin);
    frWriteByte(stream, Orientation);
    frWriteInteger(stream, Bin);
    frWriteWord(stream, PrintToPrevPage);
    frWriteWord(stream, UseMargins);
    frWriteInteger(stream, Columns);
    frWriteInteger(stream, ColumnGap);
    frWriteByte(stream, PageTypeValue);
    frWriteString(stream, Name);
    frWriteByte(stream, BorderStyle);
    frWriteString(stream, Caption);
    frWriteInteger(stream, Color);
    frWriteInteger(stream, FormLeft);
    frWriteInteger(stream, FormTop);
    frWriteInteger(stream, FormWidth);
    frWriteInteger(stream, FormHeight);
    frWriteByte(stream, Position != 0 ? 4 : 0);
    frWriteMemo(stream, Script);
}

QObject *TfrPage::DialogForm() const
{
    return Form ? Form->Window() : nullptr;
}

} // namespace report
