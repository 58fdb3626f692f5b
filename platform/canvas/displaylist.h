#pragma once
// The recorded picture of a drawing: what a prepared page becomes so that it
// can be played again at any scale and offset, searched for its texts, and
// written out as text for comparison.
#include "platform/canvas/canvas.h"

#include <QImage>
#include <QList>
#include <QRegion>
#include <QString>
#include <optional>
#include <variant>
#include <vector>

namespace platform
{

struct DlFill {
    QRect rect;
    FrBrush brush;
};
struct DlRectangle {
    QRect rect;
    FrPen pen;
    FrBrush brush;
    std::optional<TColor> gap;
};
struct DlPolyline {
    QList<QPoint> points; // the last point is not drawn
    FrPen pen;
    std::optional<TColor> gap;
};
struct DlText {
    TextDraw draw;
    QRect bounds; // the character cells, turned with the text
};
struct DlImage {
    QRect rect;
    QImage image;
};
struct DlMetafile {
    QRect rect;
};
struct DlPicture {
    QRect rect;
    QPicture picture; // implicitly shared
};
struct DlClip {
    bool on = false;
    QRegion region;
};

using DisplayItem =
    std::variant<DlFill, DlRectangle, DlPolyline, DlText, DlImage, DlMetafile, DlPicture, DlClip>;

// A text output of a display list: its index among the items, its text and
// the rectangle of its cells.
struct TextRun {
    int item = 0;
    QString text;
    QRect rect;
};

class DisplayList
{
public:
    std::vector<DisplayItem> items;

    bool isEmpty() const { return items.empty(); }
    void clear() { items.clear(); }

    // Draws the list onto target: every coordinate c becomes
    // Round(c x scale) + offset, font heights and wide pens scale too, and
    // each character keeps its scaled place. Played larger, a one-pixel pen
    // covers the scaled place of its pixels (at least one device pixel), its
    // dashes scaled too. The target's own clip bounds the list's clips; its
    // state is left as it was.
    void replay(Canvas &target, double scaleX = 1.0, double scaleY = 1.0,
                QPoint offset = QPoint()) const;

    QList<TextRun> textRuns() const;

    // One line per item, for golden files.
    QString dump() const;
};

} // namespace platform
