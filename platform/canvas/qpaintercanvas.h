#pragma once
// A canvas on any Qt paint device (a window, an image, a printer, a PDF
// writer), or on a painter that a caller already holds. Each character is put
// at the measurer's advance (a text goes out as one run of glyphs so placed),
// so what is drawn is as wide as what was measured; lines and rectangle
// outlines of one pixel are set pixel by pixel.
#include "platform/canvas/canvas.h"

#include <QPainter>
#include <QRawFont>
#include <memory>
#include <vector>

class QPaintDevice;

namespace platform
{

class QtTextMeasurer;

class QPainterCanvas : public Canvas
{
public:
    // Paints on device; measures with measurer, or with a measurer of its own.
    explicit QPainterCanvas(QPaintDevice *device, const TextMeasurer *measurer = nullptr);
    // Paints through painter (not owned); its clip, if any, bounds every drawing
    // and its transform applies.
    explicit QPainterCanvas(QPainter *painter, const TextMeasurer *measurer = nullptr);
    ~QPainterCanvas() override;

    QPainter &painter()
    {
        flushBatch();
        return *p_;
    }
    QRect bounds() const override;
    bool rectVisible(const QRect &rect) const override;
    void beginBatch() override { ++batchDepth_; }
    void endBatch() override;

protected:
    void paintFill(const QRect &rect, const FrBrush &brush) override;
    void paintRectangle(const QRect &rect, const FrPen &pen, const FrBrush &brush,
                        std::optional<TColor> gap) override;
    void paintPolyline(const QList<QPoint> &points, const FrPen &pen,
                       std::optional<TColor> gap) override;
    void paintText(const TextDraw &text) override;
    void paintImage(const QRect &rect, const QImage &image) override;
    void paintPicture(const QRect &rect, const QPicture &picture) override;
    void clipChanged() override;

private:
    void init(const TextMeasurer *measurer);
    QBrush qbrush(const FrBrush &brush) const;
    // Where pixels can show; none when the device does not say.
    std::optional<QRect> visibleArea() const;
    void cosmeticPolyline(const QList<QPoint> &points, const FrPen &pen, std::optional<TColor> gap);
    void widePolyline(const QList<QPoint> &points, const FrPen &pen);
    // The faces drawn with, by font: a text is set as one run of glyphs
    // rather than one call per character.
    struct DrawFace {
        QString name;
        int height = 0;
        int style = 0;
        QFont font;
        QRawFont raw;
        FontMetrics metrics;
    };
    const DrawFace &drawFace(const FrFont &font);
    void paintTurnedText(const TextDraw &text);
    // Solid fills, batched while a batch is open.
    void fillSolid(const QRect &rect, const QColor &colour);
    // Draws what a batch holds back.
    void flushBatch();

    std::unique_ptr<QtTextMeasurer> ownMeasurer_;
    std::unique_ptr<QPainter> ownPainter_;
    QPainter *p_ = nullptr;
    QRect deviceRect_;
    bool baseHasClip_ = false;
    QRegion baseClip_;
    QPen basePen_;
    QFont baseFont_;
    std::vector<std::unique_ptr<DrawFace>> faces_;
    DrawFace *lastFace_ = nullptr;

    // Held back while a batch is open: glyphs of one face and colour, or
    // fills of one colour; never both.
    int batchDepth_ = 0;
    const DrawFace *heldFace_ = nullptr;
    QColor heldColour_;
    QList<quint32> heldGlyphs_;
    QList<QPointF> heldPositions_;
    QList<QRect> heldFills_;
};

} // namespace platform
