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

// A 16 x 16 toolbar glyph on olive, the colour buttons draw as transparent.
QImage toolGlyph(const QString &name)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(QColor(128, 128, 0));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor ink(0, 0, 0);
    const QColor paper(255, 255, 255);
    const QColor blue(0, 0, 128);
    const QColor yellow(255, 255, 0);
    const QColor gray(128, 128, 128);
    p.setPen(ink);
    if (name == QLatin1String("FR_OPEN")) { // an open folder
        p.fillRect(QRect(1, 4, 12, 9), yellow);
        p.drawRect(QRect(1, 4, 12, 9));
        p.drawLine(1, 4, 3, 2);
        p.drawLine(3, 2, 6, 2);
        p.drawLine(6, 2, 7, 4);
    } else if (name == QLatin1String("FR_SAVE")) { // a disk
        p.fillRect(QRect(1, 1, 14, 14), blue);
        p.fillRect(QRect(4, 2, 8, 5), paper);
        p.fillRect(QRect(4, 10, 8, 5), gray);
        p.drawRect(QRect(1, 1, 13, 13));
    } else if (name == QLatin1String("FR_PRINT")) { // a printer
        p.fillRect(QRect(4, 1, 8, 5), paper);
        p.drawRect(QRect(4, 1, 7, 5));
        p.fillRect(QRect(1, 6, 14, 6), QColor(192, 192, 192));
        p.drawRect(QRect(1, 6, 13, 6));
        p.fillRect(QRect(4, 11, 8, 4), paper);
        p.drawRect(QRect(4, 11, 7, 3));
    } else if (name == QLatin1String("FR_FIND")) { // a magnifying glass
        p.setBrush(QColor(166, 202, 240));
        p.drawEllipse(QRect(1, 1, 8, 8));
        p.setPen(QPen(ink, 2));
        p.drawLine(9, 9, 14, 14);
    } else if (name == QLatin1String("FR_HELP")) { // a question mark with an arrow
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(13);
        f.setBold(true);
        p.setFont(f);
        p.setPen(blue);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    } else if (name == QLatin1String("FR_EXIT")) { // a door
        p.fillRect(QRect(3, 1, 9, 14), QColor(128, 64, 0));
        p.drawRect(QRect(3, 1, 8, 13));
        p.fillRect(QRect(9, 8, 2, 2), yellow);
    } else if (name == QLatin1String("FR_PAGESETUP")) { // a page with its margins
        p.fillRect(QRect(2, 1, 11, 14), paper);
        p.drawRect(QRect(2, 1, 10, 13));
        p.setPen(QPen(gray, 1, Qt::DotLine));
        p.drawRect(QRect(4, 3, 6, 9));
    } else if (name == QLatin1String("FR_PGUP") || name == QLatin1String("FR_PGDOWN")) {
        const bool up = name == QLatin1String("FR_PGUP");
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        const int y0 = up ? 5 : 10, y1 = up ? 10 : 5;
        p.drawPolygon(QPolygon({QPoint(3, y1), QPoint(12, y1), QPoint(8, y0)}));
    } else if (name == QLatin1String("FR_CHARTVIEW")) { // three bars
        p.fillRect(QRect(2, 8, 3, 6), QColor(255, 0, 0));
        p.fillRect(QRect(6, 3, 3, 11), QColor(0, 128, 0));
        p.fillRect(QRect(10, 6, 3, 8), blue);
        p.drawLine(1, 14, 14, 14);
        p.drawLine(1, 1, 1, 14);
    } else if (name == QLatin1String("FR_CHECKBOXVIEW")) { // a ticked box
        p.fillRect(QRect(2, 2, 12, 12), paper);
        p.drawRect(QRect(2, 2, 11, 11));
        p.setPen(QPen(ink, 2));
        p.drawLine(4, 8, 7, 11);
        p.drawLine(7, 11, 12, 4);
    } else if (name == QLatin1String("FR_PENCIL")) { // a pencil, tip at the bottom left
        p.setPen(Qt::NoPen);
        p.setBrush(yellow);
        p.drawPolygon(QPolygon({QPoint(3, 10), QPoint(11, 2), QPoint(14, 5), QPoint(6, 13)}));
        p.setBrush(QColor(255, 160, 160)); // the eraser
        p.drawPolygon(QPolygon({QPoint(11, 2), QPoint(13, 0), QPoint(16, 3), QPoint(14, 5)}));
        p.setPen(ink);
        p.setBrush(Qt::NoBrush);
        p.drawLine(3, 10, 11, 2);
        p.drawLine(6, 13, 14, 5);
        p.drawLine(0, 15, 3, 10);
        p.drawLine(0, 15, 6, 13);
        // the lead
        p.fillRect(QRect(0, 14, 2, 2), ink);
    } else if (name == QLatin1String("FR_CHECK")) { // a tick
        p.setPen(QPen(ink, 2));
        p.drawLine(3, 8, 6, 11);
        p.drawLine(6, 11, 12, 4);
    } else if (name == QLatin1String("FR_RADIO")) { // a round bullet
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QRect(5, 5, 6, 6));
    } else if (name == QLatin1String("FR_BOLD") || name == QLatin1String("FR_ITALIC") ||
               name == QLatin1String("FR_UNDRLINE")) { // a letter in that style
        QFont f(QStringLiteral("Times New Roman"));
        f.setPixelSize(14);
        f.setBold(name == QLatin1String("FR_BOLD"));
        f.setItalic(name == QLatin1String("FR_ITALIC"));
        p.setFont(f);
        p.drawText(QRect(0, -1, 16, 16), Qt::AlignCenter,
                   name == QLatin1String("FR_BOLD")     ? QStringLiteral("G")
                   : name == QLatin1String("FR_ITALIC") ? QStringLiteral("I")
                                                        : QStringLiteral("S"));
        if (name == QLatin1String("FR_UNDRLINE"))
            p.drawLine(3, 14, 12, 14);
    } else {
        return QImage();
    }
    return img;
}

// The small marks the designer puts in the top-left corner of an object:
// 8 x 8, drawn as they are (no transparent colour).
QImage objectMark(const QString &name)
{
    QImage img(8, 8, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (name == QLatin1String("FR_SCRIPT")) { // a sheet of program lines
        img.fill(QColor(255, 255, 255));
        p.setPen(QColor(0, 0, 128));
        p.drawRect(QRect(0, 0, 7, 7));
        p.drawLine(2, 2, 5, 2);
        p.drawLine(3, 4, 5, 4);
        p.drawLine(2, 6, 4, 6);
    } else { // FR_HIGHLIGHT: a marker's yellow stroke on a red frame
        img.fill(QColor(255, 255, 0));
        p.setPen(QColor(255, 0, 0));
        p.drawRect(QRect(0, 0, 7, 7));
        p.drawLine(2, 5, 5, 2);
        p.drawLine(2, 4, 4, 2);
    }
    return img;
}

// The 24 x 24 picture of a dialog component that shows no window: a grey
// box holding a cog-like wheel.
QImage nonVisualComponent()
{
    QImage img(24, 24, QImage::Format_RGB32);
    img.fill(QColor(192, 192, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0, 0, 0));
    p.setBrush(QColor(0, 0, 128));
    p.drawEllipse(QRect(5, 5, 13, 13));
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QRect(9, 9, 5, 5));
    for (const QRect &tooth :
         {QRect(10, 1, 3, 4), QRect(10, 19, 3, 4), QRect(1, 10, 4, 3), QRect(19, 10, 4, 3)})
        p.fillRect(tooth, QColor(0, 0, 128));
    return img;
}

} // namespace

QImage LoadBitmap(const QString &name)
{
    if (name.compare(QLatin1String("FR_EMPTY"), Qt::CaseInsensitive) == 0)
        return emptyPicture();
    if (name.compare(QLatin1String("FR_NONVISUALCOMPONENT"), Qt::CaseInsensitive) == 0)
        return nonVisualComponent();
    if (name.compare(QLatin1String("FR_SCRIPT"), Qt::CaseInsensitive) == 0 ||
        name.compare(QLatin1String("FR_HIGHLIGHT"), Qt::CaseInsensitive) == 0)
        return objectMark(name.toUpper());
    return toolGlyph(name.toUpper());
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
