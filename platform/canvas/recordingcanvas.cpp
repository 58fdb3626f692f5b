#include "platform/canvas/recordingcanvas.h"

#include <QTransform>

namespace platform
{

RecordingCanvas::RecordingCanvas(const TextMeasurer &measurer, const QRect &bounds)
    : Canvas(&measurer), bounds_(bounds)
{
}

DisplayList RecordingCanvas::takeDisplayList()
{
    DisplayList out = std::move(list_);
    list_.clear();
    recordedClipOn_ = false;
    recordedClip_ = QRegion();
    if (hasClip())
        clipChanged();
    return out;
}

void RecordingCanvas::paintFill(const QRect &rect, const FrBrush &brush)
{
    list_.items.emplace_back(DlFill{rect, brush});
}

void RecordingCanvas::paintRectangle(const QRect &rect, const FrPen &pen, const FrBrush &brush,
                                     std::optional<TColor> gap)
{
    list_.items.emplace_back(DlRectangle{rect, pen, brush, gap});
}

void RecordingCanvas::paintPolyline(const QList<QPoint> &points, const FrPen &pen,
                                    std::optional<TColor> gap)
{
    list_.items.emplace_back(DlPolyline{points, pen, gap});
}

void RecordingCanvas::paintText(const TextDraw &text)
{
    const int height = measurer().metrics(text.font).height;
    QTransform t;
    t.translate(text.origin.x(), text.origin.y());
    if (text.font.escapement != 0)
        t.rotate(-text.font.escapement / 10.0);
    const QRect cells = t.mapRect(QRect(0, 0, text.totalAdvance(), height));
    list_.items.emplace_back(DlText{text, cells});
}

void RecordingCanvas::paintImage(const QRect &rect, const QImage &image)
{
    list_.items.emplace_back(DlImage{rect, image});
}

void RecordingCanvas::paintPicture(const QRect &rect, const QPicture &picture)
{
    list_.items.emplace_back(DlPicture{rect, picture});
}

void RecordingCanvas::paintMetafilePlaceholder(const QRect &rect)
{
    list_.items.emplace_back(DlMetafile{rect});
}

void RecordingCanvas::clipChanged()
{
    const bool on = hasClip();
    const QRegion region = on ? clipRegion() : QRegion();
    if (on == recordedClipOn_ && region == recordedClip_)
        return;
    recordedClipOn_ = on;
    recordedClip_ = region;
    list_.items.emplace_back(DlClip{on, region});
}

} // namespace platform
