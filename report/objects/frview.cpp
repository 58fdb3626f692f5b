#include "report/objects/frview.h"

#include "platform/text/convert.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report/expr/frinterpreter.h"
#include "report/expr/frparser.h"
#include "report/objects/frband.h"
#include "report/objects/frbandview.h"
#include "report/objects/frlineview.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpictureview.h"
#include "report/objects/frpopupmenu.h"
#include "report/objects/frsubreportview.h"

#include <QObject>
#include <algorithm>
#include <cmath>
#include <limits>

namespace report
{

namespace
{

int rnd(double v)
{
    return platform::roundToPixel(v);
}

QString upper(const QString &s)
{
    return frUpperCase(s);
}

FrPageLink *marginPage()
{
    FrObjectGlobals &g = frObjects();
    if (g.frDocMode == 1)
        return g.frCurrentPage;
    if (g.frCurrentDesigner && g.frCurrentDesigner->Page)
        return g.frCurrentDesigner->Page;
    return g.frCurrentPage;
}

FrPageLink *designPage()
{
    FrObjectGlobals &g = frObjects();
    if (g.frCurrentDesigner && g.frCurrentDesigner->Page)
        return g.frCurrentDesigner->Page;
    return g.frCurrentPage;
}

// Text of a memo-like list as one value: the lines each followed by CR LF.
QString listText(const QStringList &lines)
{
    QString s;
    for (const QString &l : lines) {
        s += l;
        s += QLatin1String("\r\n");
    }
    return s;
}

FrVariant evaluated(const FrVariant &par)
{
    if (fr().frGlobalParser && par.isString())
        return fr().frGlobalParser->Calc(par.stringValue());
    return par;
}

} // namespace

// ---------------------------------------------------------------- helpers

QStringList frSplitLines(const QString &text)
{
    QStringList lines;
    const int n = int(text.size());
    const QChar *chars = text.constData();
    const auto isBreak = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    if (std::none_of(chars, chars + n, isBreak)) {
        // Most texts are one line.
        if (n > 0)
            lines.append(text);
        return lines;
    }
    int start = 0;
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (isBreak(c)) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

namespace
{

// An unmatched bracket and what follows it stay in the last literal, as
// written. An empty literal is a null text, to which a value is added
// without a copy: "[Field]" alone is by far the commonest memo.
QStringList cutAtBrackets(const QString &text)
{
    QStringList pieces;
    frCountRead(text.size());
    const auto literal = [&text](int from, int count) {
        return count > 0 ? text.mid(from, count) : QString();
    };
    int pos = 1, from = 0;
    while (pos <= text.size()) {
        const int open = int(text.indexOf(QLatin1Char('['), pos - 1)) + 1;
        if (open <= 0)
            break;
        int openPos = open, closePos = open;
        const QString expr = frGetBracketedName(text, openPos, closePos);
        if (closePos > text.size())
            break;
        pieces.append(literal(from, open - 1 - from));
        pieces.append(expr);
        from = closePos;
        pos = closePos + 1;
    }
    pieces.append(literal(from, int(text.size()) - from));
    return pieces;
}

} // namespace

void frExpandVariables(TfrView *view, QString &text)
{
    FrObjectGlobals &g = frObjects();
    // A copy (read through const: never detached): the values may expand
    // other texts, which changes the caches.
    QStringList pieces;
    if (view && !view->CutText.isNull() && text.constData() == view->CutText.constData() &&
        text.size() == view->CutText.size()) {
        // The template's own line again, for the next record.
        pieces = view->CutPieces;
    } else {
        if (!text.contains(QLatin1Char('[')))
            return;
        if (text.size() > 1024) {
            // Only template lines come back record after record; a long text
            // a script made would keep megabytes in the cache.
            pieces = cutAtBrackets(text);
        } else {
            auto cut = g.frBracketCuts.constFind(text);
            if (cut == g.frBracketCuts.constEnd()) {
                if (g.frBracketCuts.size() >= 4096)
                    g.frBracketCuts.clear();
                cut = g.frBracketCuts.insert(text, cutAtBrackets(text));
            }
            pieces = *cut;
        }
        // Only bytes the text owns: borrowed ones could change in place.
        if (view && text.data_ptr().d_ptr()) {
            view->CutText = text;
            view->CutPieces = pieces;
        }
    }
    QString result = pieces.constFirst();
    for (qsizetype i = 1; i + 1 < pieces.size(); i += 2) {
        if (g.memoFieldValue)
            result += g.memoFieldValue(pieces.at(i), view);
        else if (fr().frGlobalParser)
            result += fr().frGlobalParser->Calc(pieces.at(i)).toString();
        result += pieces.at(i + 1);
        // The text a memo shows is a value too: long values many times over
        // in one memo stop the build as one long value does.
        if (result.size() > kFrMaxTextLength)
            frCheckTextLength(result.size());
    }
    text = result;
}

qint32 frEncodeFrameWidth(float width)
{
    const double w = width;
    if (!std::isfinite(w))
        return 11;
    if (w == std::trunc(w) && w < 11)
        return static_cast<qint32>(std::max(w, -2147483.0));
    if (w < 0.011)
        return 11;
    const double t = std::nearbyint(w * 1000.0);
    return t >= 2147483647.0 ? std::numeric_limits<qint32>::max() : static_cast<qint32>(t);
}

float frDecodeFrameWidth(qint32 stored)
{
    double v = stored;
    if (v < 11)
        v *= 1000;
    return static_cast<float>(v / 1000.0);
}

platform::FrFont FrFontProps::canvasFont(double scale) const
{
    platform::FrFont f;
    f.name = Name;
    const double px = double(Size) * 96.0 / 72.0 * scale;
    long long h = scale == 1.0 ? std::llround(std::nearbyint(px)) : static_cast<long long>(px);
    if (!std::isfinite(px))
        h = 1;
    h = std::clamp<long long>(std::llabs(h), 1, platform::kMaxFontPixels);
    f.height = -static_cast<int>(h);
    f.style = Style;
    f.color = Color;
    f.charset = Charset & 0xFF;
    return f;
}

bool frSetFontProperty(FrFontProps &font, const QString &n, const FrVariant &value)
{
    if (n == QLatin1String("FONT.NAME"))
        font.Name = value.toString();
    else if (n == QLatin1String("FONT.SIZE"))
        font.Size = value.toInt();
    else if (n == QLatin1String("FONT.STYLE"))
        font.Style = quint16(value.toInt());
    else if (n == QLatin1String("FONT.COLOR"))
        font.Color = value.toInt();
    else
        return false;
    return true;
}

FrVariant frGetFontProperty(const FrFontProps &font, const QString &n)
{
    if (n == QLatin1String("FONT.NAME"))
        return font.Name;
    if (n == QLatin1String("FONT.SIZE"))
        return int(font.Size);
    if (n == QLatin1String("FONT.STYLE"))
        return int(font.Style);
    if (n == QLatin1String("FONT.COLOR"))
        return int(font.Color);
    return FrVariant::null();
}

// ---------------------------------------------------------------- factory

std::unique_ptr<TfrView> frCreateObject(int typ, const QString &className)
{
    FrObjectGlobals &g = frObjects();
    std::unique_ptr<TfrView> view;
    switch (typ) {
    case otMemo:
        view = std::make_unique<TfrMemoView>();
        break;
    case otPicture:
        view = std::make_unique<TfrPictureView>();
        break;
    case otBand:
        view = std::make_unique<TfrBandView>();
        break;
    case otSubReport:
        view = std::make_unique<TfrSubReportView>();
        break;
    case otLine:
        view = std::make_unique<TfrLineView>();
        break;
    case otAddIn: {
        for (const TfrAddInObjectInfo &info : g.frAddInList)
            if (info.ClassName == className && info.Create) {
                view = info.Create();
                break;
            }
        if (!view) {
            g.frErrorOccurred = true;
            g.frErrorText += platform::excerpt(className) + QChar(13);
            throw EClassNotFound(g.frErrorText);
        }
        view->Typ = otAddIn;
        break;
    }
    default:
        return nullptr;
    }
    view->ID = g.frNextObjectID++;
    return view;
}

void frRegisterObject(const QString &className, std::function<std::unique_ptr<TfrView>()> create,
                      const QImage &buttonBmp, const QString &buttonHint, quint8 flag)
{
    auto &list = frObjects().frAddInList;
    for (const TfrAddInObjectInfo &info : list)
        if (info.ClassName == className)
            return;
    TfrAddInObjectInfo info;
    info.ClassName = className;
    info.Create = std::move(create);
    // Kept as plain pixels: no device resources are held for idle buttons.
    info.ButtonBmp = buttonBmp.isNull() ? QImage() : buttonBmp.copy();
    info.ButtonHint = buttonHint;
    info.Flag = flag;
    list.push_back(std::move(info));
}

void frFindObjectProperty(const QString &fullName, TfrObject *&object, QString &property)
{
    FrObjectGlobals &g = frObjects();
    object = g.frCurrentView;
    property = fullName;
    frCountRead(fullName.size());
    const int dot = int(fullName.indexOf(QLatin1Char('.')));
    if (dot >= 0) {
        const QString objName = upper(fullName.left(dot));
        property = fullName.mid(dot + 1);
        object = nullptr;
        if (objName.startsWith(QLatin1String("PAGE")) && objName.size() > 4 &&
            objName.at(4).isDigit()) {
            bool ok = false;
            const int n = objName.mid(4).toInt(&ok);
            if (ok && g.frCurrentReport && n >= 1 && n <= g.frCurrentReport->PageCount())
                object = g.frCurrentReport->Page(n - 1);
        } else if (g.frCurrentReport) {
            object = g.frCurrentReport->FindObject(fullName.left(dot));
        }
        if (!object && g.frCurrentView && g.frCurrentView->FindProperty(fullName)) {
            object = g.frCurrentView;
            property = fullName;
        }
    }
    if (object)
        object->PropertyList();
}

void frNoteBuildError(const QString &message)
{
    FrObjectGlobals &g = frObjects();
    g.frErrorOccurred = true;
    const QChar cr(13);
    QString text = frLoadString(55200);
    if (g.frCurrentView)
        for (const QString &line : std::as_const(g.frCurrentView->Memo))
            text += cr + line;
    text += cr;
    text += cr;
    text += frLoadString(55201) + QLatin1Char(' ') +
            (g.frCurrentReport ? g.frCurrentReport->ReportName() : QString()) + cr;
    if (g.frCurrentView)
        text +=
            frLoadString(55202) + QLatin1Char(' ') + platform::excerpt(g.frCurrentView->Name) + cr;
    text += cr + message;
    g.frErrorText = text;
    if (g.frCurrentReport)
        g.frCurrentReport->Terminate();
}

// ---------------------------------------------------------------- TfrView

TfrView::TfrView()
{
    // Display format: category 0, type 0, 2 decimals, "," as separator.
    Format = 0x200 + ',';
}

TfrView::~TfrView()
{
    // No globals are made just to be cleared.
    if (FrLibraryExtension *layer = fr().objectLayer.get()) {
        auto &g = static_cast<FrObjectGlobals &>(*layer);
        if (g.frCurrentView == this)
            g.frCurrentView = nullptr;
    }
}

void TfrView::SetPropertyValue(const QString &name, const FrVariant &value)
{
    const QString n = upper(name);
    if (n == QLatin1String("NAME"))
        Name = value.toString();
    else if (n == QLatin1String("LEFT"))
        x = frClampGeometry(value.toInt());
    else if (n == QLatin1String("TOP"))
        y = frClampGeometry(value.toInt());
    else if (n == QLatin1String("WIDTH"))
        dx = frClampGeometry(value.toInt());
    else if (n == QLatin1String("HEIGHT"))
        dy = frClampGeometry(value.toInt());
    else if (n == QLatin1String("FLAGS"))
        Flags = quint16(value.toInt());
    else if (n == QLatin1String("FRAMETYP"))
        FrameTyp = quint16(value.toInt());
    else if (n == QLatin1String("FRAMESTYLE"))
        FrameStyle = quint16(value.toInt());
    else if (n == QLatin1String("FRAMEWIDTH"))
        FrameWidth = float(value.toDouble());
    else if (n == QLatin1String("FRAMECOLOR"))
        FrameColor = value.toInt();
    else if (n == QLatin1String("FILLCOLOR"))
        FillColor = value.toInt();
    else if (n == QLatin1String("GAPX"))
        GapX = frClampGeometry(value.toInt());
    else if (n == QLatin1String("GAPY"))
        GapY = frClampGeometry(value.toInt());
    else if (n == QLatin1String("VISIBLE"))
        Visible = value.toBool() ? 0xFFFF : 0;
    else if (n == QLatin1String("MEMO") || n == QLatin1String("DATAFIELD"))
        Memo = frSplitLines(value.toString());
    else if (n == QLatin1String("STRETCHED"))
        Flags = value.toBool() ? (Flags | flStretched) : (Flags & ~flStretched);
    else if (n == QLatin1String("BANDALIGN"))
        BandAlign = quint8(value.toInt());
    else if (n == QLatin1String("TAG"))
        Tag = value.toString();
}

FrVariant TfrView::GetPropertyValue(const QString &name)
{
    const QString n = upper(name);
    if (n == QLatin1String("NAME"))
        return Name;
    if (n == QLatin1String("LEFT"))
        return int(x);
    if (n == QLatin1String("TOP"))
        return int(y);
    if (n == QLatin1String("WIDTH"))
        return int(dx);
    if (n == QLatin1String("HEIGHT"))
        return int(dy);
    if (n == QLatin1String("FLAGS"))
        return int(Flags);
    if (n == QLatin1String("FRAMETYP"))
        return int(FrameTyp);
    if (n == QLatin1String("FRAMESTYLE"))
        return int(FrameStyle);
    if (n == QLatin1String("FRAMEWIDTH"))
        return double(FrameWidth);
    if (n == QLatin1String("FRAMECOLOR"))
        return int(FrameColor);
    if (n == QLatin1String("FILLCOLOR"))
        return int(FillColor);
    if (n == QLatin1String("GAPX"))
        return int(GapX);
    if (n == QLatin1String("GAPY"))
        return int(GapY);
    if (n == QLatin1String("VISIBLE"))
        return IsVisible();
    if (n == QLatin1String("MEMO"))
        return listText(Memo);
    if (n == QLatin1String("STRETCHED"))
        return (Flags & flStretched) != 0;
    if (n == QLatin1String("BANDALIGN"))
        return int(BandAlign);
    if (n == QLatin1String("DATAFIELD"))
        return Memo.isEmpty() ? QString() : Memo.first();
    if (n == QLatin1String("MEMO.COUNT"))
        return int(Memo.size());
    if (n == QLatin1String("TAG"))
        return Tag;
    return FrVariant::null();
}

bool TfrView::stringListMethod(QStringList &list, const QString &prefix, const QString &n,
                               const FrVariant &par1, const FrVariant &par2, const FrVariant &par3,
                               FrVariant &result)
{
    if (n == QLatin1String("SETINDEXPROPERTY")) {
        if (upper(par1.toString()) != prefix)
            return false;
        const int i = par2.toInt();
        if (i >= 0 && i < list.size())
            list[i] = par3.toString();
        result = 0;
        return true;
    }
    if (n == QLatin1String("GETINDEXPROPERTY")) {
        if (upper(par1.toString()) != prefix)
            return false;
        const int i = par2.toInt();
        result = (i >= 0 && i < list.size()) ? list.at(i) : QString();
        return true;
    }
    if (n == prefix + QLatin1String(".ADD")) {
        list.append(evaluated(par1).toString());
        result = 0;
        return true;
    }
    if (n == prefix + QLatin1String(".CLEAR")) {
        list.clear();
        result = 0;
        return true;
    }
    if (n == prefix + QLatin1String(".DELETE")) {
        const int i = evaluated(par1).toInt();
        if (i >= 0 && i < list.size())
            list.removeAt(i);
        result = 0;
        return true;
    }
    if (n == prefix + QLatin1String(".INDEXOF")) {
        result = int(list.indexOf(evaluated(par1).toString()));
        return true;
    }
    return false;
}

FrVariant TfrView::CallMethod(const QString &name, const FrVariant &par1, const FrVariant &par2,
                              const FrVariant &par3)
{
    FrVariant result = TfrObject::CallMethod(name, par1, par2, par3);
    if (!frNoValue(result))
        return result;
    const QString n = upper(name);
    if (stringListMethod(Memo, QStringLiteral("MEMO"), n, par1, par2, par3, result))
        return result;
    if (n == QLatin1String("HIDE")) {
        SetPropertyValue(QStringLiteral("Visible"), false);
        return 0;
    }
    if (n == QLatin1String("SHOW")) {
        SetPropertyValue(QStringLiteral("Visible"), true);
        return 0;
    }
    return FrVariant::null();
}

void TfrView::DefinePropertyList()
{
    FrObjectGlobals &g = frObjects();
    AddProperty(QStringLiteral("Name"), 0x101);
    AddProperty(QStringLiteral("Left"), 0x80);
    AddProperty(QStringLiteral("Top"), 0x80);
    AddProperty(QStringLiteral("Width"), 0x80);
    AddProperty(QStringLiteral("Height"), 0x80);
    AddProperty(QStringLiteral("Flags"), 0);
    const QString cls = ClassName();
    if (cls != QLatin1String("TfrBandView") && cls != QLatin1String("TfrSubReportView")) {
        AddProperty(QStringLiteral("FrameTyp"), 2);
        AddProperty(QStringLiteral("FrameWidth"), 0x84);
        AddProperty(QStringLiteral("FrameColor"), 0x10);
        AddEnumProperty(QStringLiteral("FrameStyle"),
                        QStringLiteral("psSolid;psDash;psDot;psDashDot;psDashDotDot;psDouble"),
                        {0, 1, 2, 3, 4, 5});
        AddProperty(QStringLiteral("FillColor"), 0x10);
        AddProperty(QStringLiteral("Tag"), 0x140, g.frPropEditors.Get(FrEditorKind::Tag));
        AddEnumProperty(QStringLiteral("BandAlign"),
                        QStringLiteral("baNone;baLeft;baRight;baCenter;baWidth;baBottom;baTop"),
                        {0, 1, 2, 3, 4, 5, 6});
    }
    AddProperty(QStringLiteral("Visible"), 8);
    AddProperty(QStringLiteral("Memo"), 0x140, g.frPropEditors.Get(FrEditorKind::Memo));
    AddProperty(QStringLiteral("Memo.Count"), 0);
    AddProperty(QStringLiteral("Restrictions"), 0x40,
                g.frPropEditors.Get(FrEditorKind::Restrictions));
}

int TfrView::scaledRight() const
{
    return frClampGeometry(rnd((double(saved.x) + saved.dx) * ScaleX + OffsX));
}

int TfrView::scaledBottom() const
{
    return frClampGeometry(rnd((double(saved.y) + saved.dy) * ScaleY + OffsY));
}

void TfrView::ScaleGeometry()
{
    saved = {x, y, dx, dy, GapX, GapY, FrameWidth};
    if (!std::isfinite(ScaleX) || !std::isfinite(ScaleY)) {
        ScaleX = ScaleY = 1.0;
    }
    if (frObjects().frDocMode == 0) {
        ScaleX = ScaleY = 1.0;
        OffsX = OffsY = 0;
    }
    // Geometry set in code or scaled far can reach any value: drawing works
    // within +/- kFrMaxGeometry so that its sums cannot overflow.
    x = frClampGeometry(qint64(rnd(saved.x * ScaleX)) + OffsX);
    y = frClampGeometry(qint64(rnd(saved.y * ScaleY)) + OffsY);
    dx = frClampGeometry(rnd(saved.dx * ScaleX));
    dy = frClampGeometry(rnd(saved.dy * ScaleY));
    const double w = DrawnFrameWidth();
    const int bx = rnd((w * ScaleX - 1) / 2);
    const int bx1 = rnd(w * ScaleX / 2);
    const int by = rnd((w * ScaleY - 1) / 2);
    const int by1 = rnd(w * ScaleY / 2);
    FrameWidth = float(w * ScaleX);
    GapX = frClampGeometry(qint64(rnd(saved.gapX * ScaleX)) + bx1);
    GapY = frClampGeometry(qint64(rnd(saved.gapY * ScaleY)) + by1 / 2);
    int right = scaledRight();
    int bottom = scaledBottom();
    int left = x, top = y;
    if (FrameTyp & frftRight)
        right -= bx1;
    if (FrameTyp & frftBottom)
        bottom -= by1;
    if (FrameTyp & frftLeft)
        left += bx;
    if (FrameTyp & frftTop)
        top += by;
    DRect = platform::rectLTRB(left, top, right + 1, bottom + 1);
}

void TfrView::RestoreGeometry()
{
    x = saved.x;
    y = saved.y;
    dx = saved.dx;
    dy = saved.dy;
    GapX = saved.gapX;
    GapY = saved.gapY;
    FrameWidth = saved.frameWidth;
}

void TfrView::DrawBackground()
{
    FrObjectGlobals &g = frObjects();
    if (g.frFirstPass || !Canvas)
        return;
    const bool printing = g.frDocMode == 1;
    platform::TColor color = FillColor;
    if (FillColor == platform::clNone) {
        if (printing)
            return;
        color = platform::clWhite;
    }
    Canvas->setBrushColor(color);
    Canvas->setBackgroundMode(platform::BackgroundMode::Opaque);
    if (printing)
        Canvas->fillRect(platform::rectLTRB(x, y, scaledRight(), scaledBottom()));
    else
        Canvas->fillRect(DRect);
}

void TfrView::DrawFrame()
{
    FrObjectGlobals &g = frObjects();
    if (g.frFirstPass || !Canvas)
        return;
    const bool printing = g.frDocMode == 1;
    if (printing && (FrameTyp & 0x0F) == 0)
        return;
    platform::Canvas &c = *Canvas;
    auto line = [&c](int x1, int y1, int x2, int y2) {
        c.moveTo(x1, y1);
        c.lineTo(x2, y2);
    };
    if (!printing && dx > 0 && dy > 0) {
        // Corner marks in 64 bits: fields set in code are not bounded.
        auto at = [](qint64 v) { return frClampGeometry(v); };
        const qint64 l = x, t = y, r = qint64(x) + dx, b = qint64(y) + dy;
        c.setPen(platform::FrPen{platform::clBlack, 1, platform::PenStyle::Solid});
        line(at(l), at(t + 3), at(l), at(t));
        line(at(l), at(t), at(l + 4), at(t));
        line(at(l), at(b - 3), at(l), at(b));
        line(at(l), at(b), at(l + 4), at(b));
        line(at(r - 3), at(t), at(r), at(t));
        line(at(r), at(t), at(r), at(t + 4));
        line(at(r - 3), at(b), at(r), at(b));
        line(at(r), at(b), at(r), at(b - 4));
    }
    if ((FrameTyp & 0x0F) == 0)
        return;
    // Wider frames only come from damaged files; they are drawn as 1000 px.
    const int w = std::clamp(rnd(FrameWidth), 0, 1000);
    const int right = scaledRight(), bottom = scaledBottom();
    const bool dbl = FrameStyle == psDouble;
    const platform::PenStyle style = dbl || FrameStyle > psDashDotDot
                                         ? platform::PenStyle::Solid
                                         : static_cast<platform::PenStyle>(FrameStyle);
    // One edge: vertical edges move across in x, horizontal ones in y.
    auto edge = [&](bool vertical, int pos, platform::TColor color, int width) {
        const int a = vertical ? y : x;
        const int b = vertical ? bottom + 1 : right + 1;
        auto stroke = [&](int p, int pw, platform::PenStyle ps) {
            c.setPen(platform::FrPen{color, pw, ps});
            if (vertical)
                line(p, a, p, b);
            else
                line(a, p, b, p);
        };
        if (style == platform::PenStyle::Solid || width <= 1)
            stroke(pos, std::max(1, width), style);
        else
            for (int k = 0; k < width; ++k)
                stroke(pos + k - (width - 1) / 2, 1, style);
    };
    auto drawEdge = [&](bool vertical, int pos) {
        if (!dbl) {
            edge(vertical, pos, FrameColor, w);
            return;
        }
        edge(vertical, pos - w, FrameColor, w);
        // The middle stroke is the fill showing between the two lines; with
        // no fill there is nothing to show on paper.
        if (FillColor != platform::clNone)
            edge(vertical, pos, FillColor, w);
        else if (!printing)
            edge(vertical, pos, platform::clWhite, w);
        edge(vertical, pos + w, FrameColor, w);
    };
    if (FrameTyp & frftRight)
        drawEdge(true, right);
    if (FrameTyp & frftLeft)
        drawEdge(true, x);
    if (FrameTyp & frftBottom)
        drawEdge(false, bottom);
    if (FrameTyp & frftTop)
        drawEdge(false, y);
}

void TfrView::LoadFromBlobField(const FrField *) {}

QRegion TfrView::GetClipRegion(bool inflate)
{
    const double w = DrawnFrameWidth();
    int a, b;
    if (FrameStyle == psDouble) {
        a = rnd(w * 1.5);
        b = rnd((w - 1) / 2 + w);
    } else {
        a = rnd(w / 2);
        b = rnd((w - 1) / 2);
    }
    qint64 left = x, top = y, right = qint64(x) + dx + 1, bottom = qint64(y) + dy + 1;
    if (FrameTyp & frftRight)
        right += b;
    if (FrameTyp & frftBottom)
        bottom += b;
    if (FrameTyp & frftLeft)
        left -= a;
    if (FrameTyp & frftTop)
        top -= a;
    if (inflate) {
        left -= 10;
        top -= 10;
        right += 10;
        bottom += 10;
    }
    if (right <= left || bottom <= top)
        return QRegion();
    return QRegion(platform::rectLTRB(frClampGeometry(left), frClampGeometry(top),
                                      frClampGeometry(right), frClampGeometry(bottom)));
}

static int bandTypeOf(const TfrView *band)
{
    const int t = band->FrameTyp & 0xFF;
    return t > 22 ? 22 : t;
}

TfrView *TfrView::FindParentBand() const
{
    FrPageLink *page = designPage();
    if (!page)
        return nullptr;
    TfrView *found = nullptr;
    for (int i = 0; i < page->ObjectCount(); ++i) {
        TfrView *v = page->Object(i);
        if (v && v != this && v->Typ == otBand && x >= v->x && x <= qint64(v->x) + v->dx &&
            y >= v->y && y <= qint64(v->y) + v->dy)
            found = v;
    }
    return found;
}

void TfrView::PrepareCanvas(platform::Canvas &canvas)
{
    FrObjectGlobals &g = frObjects();
    Canvas = &canvas;
    g.frCurrentView = this;
    if (BandAlign == baNone)
        return;
    FrPageLink *page = marginPage();
    const bool printing = g.frDocMode == 1;
    // Margins and geometry come from files: positions are summed in 64 bits.
    const qint64 left = page ? page->LeftMarginPos() : 0;
    const qint64 right = page ? page->RightMarginPos() : 0;
    switch (BandAlign) {
    case baLeft:
        if (page)
            x = frClampGeometry(left);
        break;
    case baRight:
        if (page)
            x = frClampGeometry(right - dx);
        break;
    case baCenter:
        if (page)
            x = frClampGeometry(left + (right - left - dx) / 2);
        break;
    case baWidth:
        if (printing) {
            if (page && !g.frCurrentBand) {
                x = frClampGeometry(left);
                dx = frClampGeometry(right - left - 1);
            }
        } else {
            TfrView *band = FindParentBand();
            if (band && bandTypeOf(band) >= 18 && bandTypeOf(band) <= 20) {
                x = band->x;
                dx = band->dx;
            } else if (page) {
                x = frClampGeometry(left);
                dx = frClampGeometry(right - left);
            }
        }
        break;
    case baBottom:
        if (!printing)
            if (TfrView *band = FindParentBand())
                y = frClampGeometry(qint64(band->y) + band->dy - dy);
        break;
    case baTop:
        if (!printing)
            if (TfrView *band = FindParentBand())
                y = band->y;
        break;
    default:
        break;
    }
}

bool TfrView::AlignToRunTimeBand()
{
    TfrBand *band = frObjects().frCurrentBand;
    if (!band)
        return false;
    switch (BandAlign) {
    case baBottom:
        y = frClampGeometry(qint64(band->y) + band->dy - dy);
        break;
    case baTop:
        y = band->y;
        break;
    case baWidth:
        if (band->Typ >= 18 && band->Typ <= 20) {
            dx = band->dx;
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

void TfrView::WriteTypeCode(FrStream &stream) const
{
    frWriteByte(stream, Typ);
    if (Typ == otAddIn)
        frWriteString(stream, ClassName());
}

void TfrView::ExpandTag()
{
    frExpandVariables(this, Tag);
}

void TfrView::WriteToPreparedPage(FrStream &stream)
{
    FrObjectGlobals &g = frObjects();
    PrepareCanvas(g.measuringCanvas());
    Memo1 = Memo;
    if (g.frCurrentReport)
        g.frCurrentReport->BeforePrintObject(Memo1, this);
    if (!Script.isEmpty() && fr().frInterpreter)
        fr().frInterpreter->DoScript(Script);
    if (!IsVisible())
        return;
    FrRestore<QString> tag(Tag);
    if (Tag.contains(QLatin1Char('[')))
        ExpandTag();
    AlignToRunTimeBand();
    WriteTypeCode(stream);
    SaveToStream(stream);
}

void TfrView::PassToExportFilter()
{
    FrObjectGlobals &g = frObjects();
    if (g.exportObject)
        g.exportObject(this, x, y);
}

void TfrView::LoadFromStream(FrStream &stream)
{
    const int version = fr().frTemplateVersion;
    if (version >= 24 || (version == 23 && !Prepared))
        Name = frReadTemplateString(stream);
    else
        CreateUniqueName();
    if (version >= 24) {
        StreamMajor = frReadByte(stream);
        StreamMinor = frReadByte(stream);
    } else {
        StreamMajor = 0;
        StreamMinor = 0;
    }
    x = frClampGeometry(frReadInteger(stream));
    y = frClampGeometry(frReadInteger(stream));
    dx = frClampGeometry(frReadInteger(stream));
    dy = frClampGeometry(frReadInteger(stream));
    Flags = frReadWord(stream);
    FrameTyp = frReadWord(stream);
    FrameWidth = frDecodeFrameWidth(frReadInteger(stream));
    FrameColor = frReadInteger(stream);
    FrameStyle = frReadWord(stream);
    FillColor = frReadInteger(stream);
    if (!Prepared) {
        Format = frReadInteger(stream);
        FormatStr = frReadTemplateString(stream);
    }
    frReadTemplateMemo(stream, Memo);
    if (version >= 23 && !Prepared) {
        frReadTemplateMemo(stream, Script);
        Visible = frReadWord(stream);
    }
    if (version >= 24) {
        Restrictions = frReadWord(stream);
        Tag = frReadTemplateString(stream);
        GapX = frClampGeometry(frReadInteger(stream));
        GapY = frClampGeometry(frReadInteger(stream));
    }
    if (StreamMajor > 1)
        BandAlign = frReadByte(stream);
}

void TfrView::SaveToStream(FrStream &stream)
{
    // Every object of every prepared page comes through here: the fixed
    // fields between the texts go out in one write each.
    FrFieldBytes fields;
    frWriteString(stream, Name);
    fields.byte(2).byte(StreamMinor).integer(x).integer(y).integer(dx).integer(dy);
    fields.word(Flags).word(FrameTyp).integer(frEncodeFrameWidth(FrameWidth));
    fields.integer(FrameColor).word(FrameStyle).integer(FillColor);
    if (!Prepared) {
        fields.integer(Format).writeTo(stream);
        frWriteString(stream, FormatStr);
        frWriteMemo(stream, Memo);
        frWriteMemo(stream, Script);
        fields.word(Visible);
    } else {
        fields.writeTo(stream);
        frWriteMemo(stream, Memo1);
    }
    fields.word(Restrictions).writeTo(stream);
    frWriteString(stream, Tag);
    fields.integer(GapX).integer(GapY).byte(BandAlign).writeTo(stream);
}

void TfrView::Assign(TfrView &source)
{
    Name = source.Name;
    Typ = source.Typ;
    Selected = source.Selected;
    FrRestore<quint8> version(fr().frTemplateVersion, quint8(24));
    FrMemoryStream stream;
    {
        FrRestore<bool> prepared(source.Prepared, false);
        source.SaveToStream(stream);
    }
    stream.seek(0);
    FrRestore<bool> prepared(Prepared, false);
    LoadFromStream(stream);
}

void TfrView::SetBounds(int left, int top, int width, int height)
{
    x = left;
    y = top;
    dx = width;
    dy = height;
}

void TfrView::CreateUniqueName()
{
    FrObjectGlobals &g = frObjects();
    Name.clear();
    QObject *form = nullptr;
    if (IsDialogControl())
        if (FrPageLink *page = designPage())
            form = page->DialogForm();
    if (g.frLoadNames && g.frCurrentReport && g.frLoadNames->report() == g.frCurrentReport) {
        const int n = g.frLoadNames->freeObjectNumber(BaseName, [form](const QString &name) {
            return form && form->findChild<QObject *>(name);
        });
        if (n > 0)
            SetPropertyValue(QStringLiteral("Name"), BaseName + QString::number(n));
        return;
    }
    for (int n = 1; n <= kFrNameNumberLimit; ++n) {
        const QString candidate = BaseName + QString::number(n);
        if (g.frCurrentReport && g.frCurrentReport->FindObject(candidate))
            continue;
        if (form && form->findChild<QObject *>(candidate))
            continue;
        SetPropertyValue(QStringLiteral("Name"), candidate);
        return;
    }
}

void TfrView::flagCommand(quint16 bit, bool on, const std::function<bool(TfrView *)> &accept)
{
    FrObjectGlobals &g = frObjects();
    TfrReportDesigner *designer = g.frCurrentDesigner;
    if (designer)
        designer->NotifyBeforeChange();
    FrPageLink *page = designer ? designer->Page : g.frCurrentPage;
    if (page) {
        for (int i = 0; i < page->ObjectCount(); ++i) {
            TfrView *v = page->Object(i);
            if (!v || !v->Selected || (v->Restrictions & 8) || !accept(v))
                continue;
            v->Flags = on ? (v->Flags | bit) : (v->Flags & ~bit);
        }
    } else if (!(Restrictions & 8)) {
        Flags = on ? (Flags | bit) : (Flags & ~bit);
    }
    if (designer)
        designer->NotifyAfterChange();
}

void TfrView::AddPopupItems(FrPopupMenu &popup)
{
    popup.addSeparator();
    const bool on = (Flags & flStretched) == 0;
    popup.addCheck(frLoadString(55190), !on,
                   [this, on] { flagCommand(flStretched, on, [](TfrView *) { return true; }); });
}

} // namespace report
