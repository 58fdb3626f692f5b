#include "report/objects/frcheckboxview.h"

#include "platform/canvas/bitmaps.h"
#include "report/core/frstream.h"
#include "report/core/frutils.h"
#include "report/expr/frinterpreter.h"
#include "report/expr/frparser.h"
#include "report/expr/frvariables.h"
#include "report/objects/frpopupmenu.h"

#include <cmath>

namespace report
{

TfrCheckBoxView::TfrCheckBoxView()
{
    BaseName = QStringLiteral("Check");
    FrameTyp = frftLeft | frftTop | frftRight | frftBottom;
    FrameWidth = 2;
    if (TfrVariables *consts = fr().frConsts.get()) {
        consts->SetVariable(QStringLiteral("csCross"), int(csCross));
        consts->SetVariable(QStringLiteral("csCheck"), int(csCheck));
    }
}

bool TfrCheckBoxView::IsChecked(const QStringList &memo)
{
    return !memo.isEmpty() && !memo.first().isEmpty() && !memo.first().startsWith(QLatin1Char('0'));
}

void TfrCheckBoxView::SetPropertyValue(const QString &name, const FrVariant &value)
{
    TfrView::SetPropertyValue(name, value);
    const QString n = frUpperCase(name);
    if (n == QLatin1String("CHECKSTYLE"))
        CheckStyle = quint8(value.toInt());
    else if (n == QLatin1String("CHECKCOLOR"))
        CheckColor = value.toInt();
}

FrVariant TfrCheckBoxView::GetPropertyValue(const QString &name)
{
    FrVariant v = TfrView::GetPropertyValue(name);
    if (!frNoValue(v))
        return v;
    const QString n = frUpperCase(name);
    if (n == QLatin1String("CHECKSTYLE"))
        return int(CheckStyle);
    if (n == QLatin1String("CHECKCOLOR"))
        return int(CheckColor);
    return FrVariant::null();
}

void TfrCheckBoxView::DefinePropertyList()
{
    TfrView::DefinePropertyList();
    AddEnumProperty(QStringLiteral("CheckStyle"), QStringLiteral("csCross;csCheck"), {0, 1});
    AddProperty(QStringLiteral("CheckColor"), 16);
    AddProperty(QStringLiteral("DataField"), 321,
                frObjects().frPropEditors.Get(FrEditorKind::DataField));
}

void TfrCheckBoxView::drawMark(platform::Canvas &canvas)
{
    // No symbol font is at hand: the marks are strokes in a square as high
    // as the rectangle, where the glyph would stand, cut to the rectangle.
    const QRect r = DRect;
    const int side = r.height();
    if (side <= 0 || r.width() <= 0)
        return;
    const int left = r.left() + (r.width() - side) / 2;
    const int top = r.top();
    auto px = [&](double fx) { return left + int(std::lround(fx * side)); };
    auto py = [&](double fy) { return top + int(std::lround(fy * side)); };
    canvas.save();
    canvas.setClipRegion(canvas.hasClip() ? canvas.clipRegion().intersected(r) : QRegion(r));
    canvas.setPen({CheckColor, std::max(1, side / 8), platform::PenStyle::Solid});
    if (CheckStyle == csCheck) {
        canvas.polyline(
            {QPoint(px(0.2), py(0.5)), QPoint(px(0.42), py(0.75)), QPoint(px(0.82), py(0.22))});
    } else {
        canvas.moveTo(px(0.2), py(0.2));
        canvas.lineTo(px(0.8), py(0.8));
        canvas.moveTo(px(0.8), py(0.2));
        canvas.lineTo(px(0.2), py(0.8));
    }
    canvas.restore();
}

void TfrCheckBoxView::Draw(platform::Canvas &canvas)
{
    PrepareCanvas(canvas);
    Memo1 = Memo;
    FrGeometryScope geometry(*this);
    DrawBackground();
    const FrObjectGlobals &g = frObjects();
    if (!g.frFirstPass && (g.frDocMode == 0 || IsChecked(Memo1)))
        drawMark(canvas);
    DrawFrame();
}

void TfrCheckBoxView::WriteToPreparedPage(FrStream &stream)
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
    // A blank first line has no value to convert: it stays as it is.
    if (!Memo1.isEmpty() && !Memo1.first().trimmed().isEmpty() && fr().frGlobalParser) {
        // A value that is not a number throws: the build stops and names us.
        const FrVariant v = fr().frGlobalParser->Calc(Memo1.first());
        // True is the platform's -1, as the Boolean's numeric value there.
        const double d = v.type() == FrVariant::Boolean ? (v.toBool() ? -1.0 : 0.0) : v.toDouble();
        double t = std::trunc(d);
        if (t == 0)
            t = 0; // no "-0"
        Memo1[0] = QString::number(t, 'f', 0);
    }
    AlignToRunTimeBand();
    WriteTypeCode(stream);
    SaveToStream(stream);
}

void TfrCheckBoxView::PassToExportFilter()
{
    TfrView::PassToExportFilter();
    FrObjectGlobals &g = frObjects();
    if (g.exportText)
        g.exportText(QRect(x, y, dx + 1, dy + 1), x, this, FrameTyp,
                     IsChecked(Memo) ? QStringLiteral("X") : QString(), y);
}

void TfrCheckBoxView::LoadFromStream(FrStream &stream)
{
    TfrView::LoadFromStream(stream);
    if (fr().frTemplateVersion > 23) {
        CheckStyle = frReadByte(stream);
        CheckColor = frReadInteger(stream);
    }
}

void TfrCheckBoxView::SaveToStream(FrStream &stream)
{
    TfrView::SaveToStream(stream);
    frWriteByte(stream, CheckStyle);
    frWriteInteger(stream, CheckColor);
}

void frRegisterCheckBoxView()
{
    frRegisterObject(
        QStringLiteral("TfrCheckBoxView"), [] { return std::make_unique<TfrCheckBoxView>(); },
        platform::LoadBitmap(QStringLiteral("FR_CHECKBOXVIEW")), QString::number(55224));
}

} // namespace report
