#include "report/objects/frlineview.h"

#include <cmath>

namespace report
{

TfrLineView::TfrLineView()
{
    Typ = otLine;
    BaseName = QStringLiteral("Line");
    FrameTyp = frftLeft;
}

void TfrLineView::DefinePropertyList()
{
    TfrView::DefinePropertyList();
    AddProperty(QStringLiteral("Stretched"), 8);
}

void TfrLineView::Orient()
{
    if (dx > dy) {
        dy = 0;
        FrameTyp = frftTop;
    } else {
        dx = 0;
        FrameTyp = frftLeft;
    }
}

void TfrLineView::Draw(platform::Canvas &canvas)
{
    PrepareCanvas(canvas);
    Orient();
    FrGeometryScope geometry(*this);
    DrawFrame();
}

void TfrLineView::WriteToPreparedPage(FrStream &stream)
{
    TfrView::WriteToPreparedPage(stream);
    if (DrawMode == 2)
        RemainingHeight -= dy;
}

int TfrLineView::ContentHeight()
{
    RemainingHeight = dy;
    return dy;
}

QRegion TfrLineView::GetClipRegion(bool inflate)
{
    const double w = DrawnFrameWidth();
    int a, b;
    if (FrameStyle != psDouble) {
        a = int(std::trunc(w / 2));
        b = int(std::trunc((w - 1) / 2));
    } else {
        a = int(std::trunc(w * 1.5));
        b = int(std::trunc(std::trunc((w - 1) / 2) + w));
    }
    qint64 left = x, top = y, right = qint64(x) + dx + 1, bottom = qint64(y) + dy + 1;
    if (FrameTyp == frftLeft) {
        left -= a;
        right += b;
    } else {
        top -= a;
        bottom += b;
    }
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

} // namespace report
