#include "tests/support/gui/drawn_texts.h"

#include <QGraphicsView>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <climits>

namespace vorn_test
{

namespace
{

// A paint engine that keeps the text items and draws nothing. Every
// shape is overridden: the defaults fall back on one another.
class TextEngine : public QPaintEngine
{
public:
    TextEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    QStringList texts;

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & QPaintEngine::DirtyPen)
            m_pen = state.pen();
    }
    Type type() const override { return QPaintEngine::User; }
    // Text is drawn with the pen: one without colour shows nothing.
    void drawTextItem(const QPointF &, const QTextItem &item) override
    {
        if (m_pen.style() != Qt::NoPen && m_pen.brush().style() != Qt::NoBrush &&
            m_pen.color().alpha() > 0)
            texts << item.text();
    }

    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint *, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath &) override {}
    void drawRects(const QRectF *, int) override {}
    void drawRects(const QRect *, int) override {}
    void drawLines(const QLineF *, int) override {}
    void drawLines(const QLine *, int) override {}
    void drawEllipse(const QRectF &) override {}
    void drawEllipse(const QRect &) override {}
    void drawPoints(const QPointF *, int) override {}
    void drawPoints(const QPoint *, int) override {}
    void drawImage(const QRectF &, const QImage &, const QRectF &,
                   Qt::ImageConversionFlags) override
    {
    }
    void drawTiledPixmap(const QRectF &, const QPixmap &, const QPointF &) override {}

private:
    QPen m_pen;
};

class TextDevice : public QPaintDevice
{
public:
    explicit TextDevice(QSize size) : m_size(size) {}
    QPaintEngine *paintEngine() const override { return &m_engine; }
    QStringList texts() const { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    QSize m_size;
    mutable TextEngine m_engine;
};

} // namespace

QStringList drawnTexts(QGraphicsView *view)
{
    const QSize size = view->viewport()->size();
    TextDevice device(size);
    QPainter painter(&device);
    view->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)), view->viewport()->rect());
    painter.end();
    return device.texts();
}

bool isElided(const QString &text)
{
    return text.contains(QStringLiteral("...")) || text.contains(QChar(0x2026));
}

} // namespace vorn_test
