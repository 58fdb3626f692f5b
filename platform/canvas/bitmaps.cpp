#include "platform/canvas/bitmaps.h"

#include <QPainter>

namespace platform
{

namespace
{

// The empty picture: a small framed landscape, 16 x 16.
QImage emptyPicture()
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(toQColor(clWhite));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(1, 1, 14, 9), QColor(166, 202, 240)); // sky
    p.fillRect(QRect(1, 10, 14, 5), QColor(0, 128, 0));    // field
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 96, 0));
    p.drawPolygon(QPolygon({QPoint(1, 10), QPoint(5, 5), QPoint(9, 10)})); // hill
    p.fillRect(QRect(10, 3, 3, 3), QColor(255, 255, 0));                   // sun
    p.setPen(QColor(128, 128, 128));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, 15, 15));
    return img;
}

} // namespace

QImage LoadBitmap(const QString &name)
{
    if (name.compare(QLatin1String("FR_EMPTY"), Qt::CaseInsensitive) == 0)
        return emptyPicture();
    return QImage();
}

QImage checkerPattern(TColor even, TColor odd)
{
    QImage img(8, 8, QImage::Format_RGB32);
    const QRgb e = toQColor(even).rgb();
    const QRgb o = toQColor(odd).rgb();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            img.setPixel(x, y, (x + y) % 2 == 0 ? e : o);
    return img;
}

} // namespace platform
