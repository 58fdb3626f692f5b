#include "report/objects/frsubreportview.h"

#include "report/core/frstream.h"

namespace report
{

TfrSubReportView::TfrSubReportView()
{
    Typ = otSubReport;
    BaseName = QStringLiteral("SubReport");
}

void TfrSubReportView::Draw(platform::Canvas &canvas)
{
    PrepareCanvas(canvas);
    FrameWidth = 1;
    FrGeometryScope geometry(*this);
    FrFontProps font;
    font.Size = 8;
    font.Charset = fr().frCharset;
    canvas.setFont(font.canvasFont());
    canvas.setPen(platform::FrPen{platform::clBlack, 1, platform::PenStyle::Solid});
    canvas.setBrushColor(platform::clWhite);
    canvas.rectangle(x, y, x + dx + 1, y + dy + 1);
    canvas.setBrushClear();
    canvas.setBackgroundMode(platform::BackgroundMode::Transparent);
    canvas.textRect(DRect, x + 2, y + 2, Name);
}

void TfrSubReportView::LoadFromStream(FrStream &stream)
{
    TfrView::LoadFromStream(stream);
    SubPage = frReadInteger(stream);
}

void TfrSubReportView::SaveToStream(FrStream &stream)
{
    TfrView::SaveToStream(stream);
    frWriteInteger(stream, SubPage);
}

} // namespace report
