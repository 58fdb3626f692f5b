#pragma once
// A canvas that draws nothing and records everything into a display list.
// With no one reading its list it is also the cheapest measuring canvas.
#include "platform/canvas/displaylist.h"

namespace platform
{

class RecordingCanvas : public Canvas
{
public:
    // bounds: the device area (a page), empty for none.
    explicit RecordingCanvas(const TextMeasurer &measurer, const QRect &bounds = QRect());

    const DisplayList &displayList() const { return list_; }
    DisplayList takeDisplayList();
    QRect bounds() const override { return bounds_; }

protected:
    void paintFill(const QRect &rect, const FrBrush &brush) override;
    void paintRectangle(const QRect &rect, const FrPen &pen, const FrBrush &brush,
                        std::optional<TColor> gap) override;
    void paintPolyline(const QList<QPoint> &points, const FrPen &pen,
                       std::optional<TColor> gap) override;
    void paintText(const TextDraw &text) override;
    void paintImage(const QRect &rect, const QImage &image) override;
    void paintMetafilePlaceholder(const QRect &rect) override;
    void paintPicture(const QRect &rect, const QPicture &picture) override;
    void clipChanged() override;

private:
    QRect bounds_;
    DisplayList list_;
    bool recordedClipOn_ = false;
    QRegion recordedClip_;
};

} // namespace platform
