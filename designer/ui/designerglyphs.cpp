#include "designer/ui/designerglyphs.h"

#include <QPainter>
#include <QPolygon>
#include <functional>
#include <map>

namespace designer
{

namespace
{

const QColor kOlive(128, 128, 0);
const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kBlue(0, 0, 128);
const QColor kGray(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);

using Drawer = std::function<void(QPainter &)>;

void sheet(QPainter &p, const QRect &r)
{
    p.fillRect(r, kPaper);
    p.setPen(kInk);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void textLines(QPainter &p, int x, int y, int w, int n, int step = 2)
{
    p.setPen(kInk);
    for (int i = 0; i < n; ++i)
        p.drawLine(x, y + i * step, x + w - 1, y + i * step);
}

// Lines of a text block aligned left (0), right (1), centred (2) or justified (3).
void aligned(QPainter &p, int how)
{
    static const int widths[] = {12, 8, 12, 6, 10};
    p.setPen(kInk);
    for (int i = 0; i < 5; ++i) {
        const int w = how == 3 ? 12 : widths[i];
        const int x = how == 0 || how == 3 ? 2 : how == 1 ? 14 - w : 2 + (12 - w) / 2;
        p.drawLine(x, 3 + i * 2, x + w - 1, 3 + i * 2);
    }
}

void frameSide(QPainter &p, int side)
{
    // A dotted square with one side (0 top, 1 left, 2 bottom, 3 right), all
    // (4) or none (5) drawn solid.
    p.setPen(kGray);
    for (int i = 2; i <= 13; i += 2) {
        p.drawPoint(i, 2);
        p.drawPoint(i, 13);
        p.drawPoint(2, i);
        p.drawPoint(13, i);
    }
    p.setPen(QPen(kInk, 1));
    if (side == 0 || side == 4)
        p.drawLine(2, 2, 13, 2);
    if (side == 1 || side == 4)
        p.drawLine(2, 2, 2, 13);
    if (side == 2 || side == 4)
        p.drawLine(2, 13, 13, 13);
    if (side == 3 || side == 4)
        p.drawLine(13, 2, 13, 13);
}

void letter(QPainter &p, const QString &text, bool bold, bool italic, bool underline)
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(13);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, text);
}

// Two boxes lined up along an edge (the alignment palette).
void boxes(QPainter &p, const QRect &a, const QRect &b)
{
    p.setPen(kInk);
    p.fillRect(a, kBlue);
    p.fillRect(b, kSilver);
    p.drawRect(b.adjusted(0, 0, -1, -1));
}

const std::map<QString, Drawer> &drawers()
{
    static const std::map<QString, Drawer> table = {
        {QStringLiteral("FileBtn1"), [](QPainter &p) { sheet(p, QRect(3, 1, 10, 14)); }},
        {QStringLiteral("FileBtn2"),
         [](QPainter &p) {
             p.fillRect(QRect(1, 5, 12, 8), kYellow);
             p.setPen(kInk);
             p.drawRect(QRect(1, 5, 12, 8));
             p.drawLine(1, 5, 3, 3);
             p.drawLine(3, 3, 6, 3);
         }},
        {QStringLiteral("FileBtn3"),
         [](QPainter &p) {
             p.fillRect(QRect(1, 1, 14, 14), kBlue);
             p.fillRect(QRect(4, 2, 8, 5), kPaper);
             p.fillRect(QRect(4, 10, 8, 5), kSilver);
         }},
        {QStringLiteral("FileBtn4"),
         [](QPainter &p) {
             sheet(p, QRect(1, 1, 10, 13));
             p.setPen(QPen(kInk, 2));
             p.drawEllipse(QRect(7, 6, 5, 5));
             p.drawLine(12, 11, 14, 14);
         }},
        {QStringLiteral("CutB"),
         [](QPainter &p) {
             p.setPen(kInk);
             p.drawLine(5, 1, 9, 9);
             p.drawLine(10, 1, 6, 9);
             p.drawEllipse(QRect(3, 9, 4, 4));
             p.drawEllipse(QRect(8, 9, 4, 4));
         }},
        {QStringLiteral("CopyB"),
         [](QPainter &p) {
             sheet(p, QRect(1, 1, 8, 10));
             sheet(p, QRect(6, 5, 8, 10));
         }},
        {QStringLiteral("PstB"),
         [](QPainter &p) {
             p.fillRect(QRect(1, 2, 10, 12), QColor(128, 64, 0));
             p.fillRect(QRect(4, 1, 4, 3), kGray);
             sheet(p, QRect(6, 6, 9, 9));
         }},
        {QStringLiteral("UndoB"),
         [](QPainter &p) {
             p.setPen(QPen(kBlue, 2));
             p.drawArc(QRect(3, 4, 10, 9), 0, 180 * 16);
             p.drawLine(2, 8, 4, 11);
             p.drawLine(4, 11, 7, 9);
         }},
        {QStringLiteral("RedoB"),
         [](QPainter &p) {
             p.setPen(QPen(kBlue, 2));
             p.drawArc(QRect(3, 4, 10, 9), 0, 180 * 16);
             p.drawLine(13, 8, 11, 11);
             p.drawLine(11, 11, 8, 9);
         }},
        {QStringLiteral("ZB1"),
         [](QPainter &p) {
             p.fillRect(QRect(1, 1, 9, 9), kSilver);
             p.fillRect(QRect(6, 6, 9, 9), kBlue);
         }},
        {QStringLiteral("ZB2"),
         [](QPainter &p) {
             p.fillRect(QRect(6, 6, 9, 9), kBlue);
             p.fillRect(QRect(1, 1, 9, 9), kSilver);
         }},
        {QStringLiteral("SelAllB"),
         [](QPainter &p) {
             p.setPen(QPen(kInk, 1, Qt::DotLine));
             p.drawRect(QRect(1, 1, 13, 13));
             p.fillRect(QRect(4, 4, 4, 3), kBlue);
             p.fillRect(QRect(8, 9, 4, 3), kBlue);
         }},
        {QStringLiteral("PgB1"),
         [](QPainter &p) {
             sheet(p, QRect(2, 1, 10, 14));
             p.setPen(QPen(QColor(0, 128, 0), 2));
             p.drawLine(11, 5, 11, 13);
             p.drawLine(7, 9, 15, 9);
         }},
        {QStringLiteral("PgB2"),
         [](QPainter &p) {
             sheet(p, QRect(2, 1, 10, 14));
             p.setPen(QPen(kRed, 2));
             p.drawLine(8, 6, 14, 12);
             p.drawLine(14, 6, 8, 12);
         }},
        {QStringLiteral("PgB3"),
         [](QPainter &p) {
             sheet(p, QRect(2, 1, 12, 14));
             p.setPen(QPen(kGray, 1, Qt::DotLine));
             p.drawRect(QRect(4, 3, 7, 9));
         }},
        {QStringLiteral("PgB4"),
         [](QPainter &p) {
             p.fillRect(QRect(1, 2, 14, 12), kSilver);
             p.fillRect(QRect(1, 2, 14, 3), kBlue);
             p.setPen(kInk);
             p.drawRect(QRect(1, 2, 13, 11));
             p.fillRect(QRect(9, 10, 4, 2), kGray);
         }},
        {QStringLiteral("GB1"),
         [](QPainter &p) {
             p.setPen(kInk);
             for (int y = 1; y < 16; y += 3)
                 for (int x = 1; x < 16; x += 3)
                     p.drawPoint(x, y);
         }},
        {QStringLiteral("GB2"),
         [](QPainter &p) {
             p.setPen(kInk);
             for (int y = 1; y < 16; y += 3)
                 for (int x = 1; x < 16; x += 3)
                     p.drawPoint(x, y);
             p.fillRect(QRect(4, 4, 7, 7), kBlue);
         }},
        {QStringLiteral("GB3"),
         [](QPainter &p) {
             p.setPen(kInk);
             for (int y = 1; y < 16; y += 3)
                 for (int x = 1; x < 16; x += 3)
                     p.drawPoint(x, y);
             p.setPen(kBlue);
             p.drawRect(QRect(4, 4, 6, 6));
         }},
        {QStringLiteral("ExitB"),
         [](QPainter &p) {
             p.fillRect(QRect(3, 1, 9, 14), QColor(128, 64, 0));
             p.fillRect(QRect(9, 7, 2, 2), kYellow);
         }},
        {QStringLiteral("AlB1"), [](QPainter &p) { aligned(p, 0); }},
        {QStringLiteral("AlB2"), [](QPainter &p) { aligned(p, 1); }},
        {QStringLiteral("AlB3"), [](QPainter &p) { aligned(p, 2); }},
        {QStringLiteral("AlB8"), [](QPainter &p) { aligned(p, 3); }},
        {QStringLiteral("AlB4"),
         [](QPainter &p) {
             p.save();
             p.translate(16, 0);
             p.rotate(90);
             letter(p, QStringLiteral("ab"), true, false, false);
             p.restore();
         }},
        {QStringLiteral("AlB5"),
         [](QPainter &p) {
             p.setPen(kGray);
             p.drawRect(QRect(1, 1, 13, 13));
             textLines(p, 4, 6, 8, 3);
         }},
        {QStringLiteral("AlB6"),
         [](QPainter &p) {
             p.setPen(kGray);
             p.drawRect(QRect(1, 1, 13, 13));
             textLines(p, 4, 3, 8, 3);
         }},
        {QStringLiteral("AlB7"),
         [](QPainter &p) {
             p.setPen(kGray);
             p.drawRect(QRect(1, 1, 13, 13));
             textLines(p, 4, 8, 8, 3);
         }},
        {QStringLiteral("HlB1"),
         [](QPainter &p) {
             p.fillRect(QRect(1, 8, 14, 6), kYellow);
             letter(p, QStringLiteral("H"), true, false, false);
         }},
        {QStringLiteral("FrB1"), [](QPainter &p) { frameSide(p, 0); }},
        {QStringLiteral("FrB2"), [](QPainter &p) { frameSide(p, 1); }},
        {QStringLiteral("FrB3"), [](QPainter &p) { frameSide(p, 2); }},
        {QStringLiteral("FrB4"), [](QPainter &p) { frameSide(p, 3); }},
        {QStringLiteral("FrB5"), [](QPainter &p) { frameSide(p, 4); }},
        {QStringLiteral("FrB6"), [](QPainter &p) { frameSide(p, 5); }},
        {QStringLiteral("StB1"),
         [](QPainter &p) {
             p.setPen(QPen(kInk, 1, Qt::SolidLine));
             p.drawLine(1, 3, 14, 3);
             p.setPen(QPen(kInk, 1, Qt::DashLine));
             p.drawLine(1, 7, 14, 7);
             p.setPen(QPen(kInk, 1, Qt::DotLine));
             p.drawLine(1, 11, 14, 11);
         }},
        {QStringLiteral("OB1"),
         [](QPainter &p) {
             p.setPen(kInk);
             p.setBrush(kPaper);
             p.drawPolygon(QPolygon({QPoint(4, 1), QPoint(4, 13), QPoint(7, 10), QPoint(9, 15),
                                     QPoint(11, 14), QPoint(9, 9), QPoint(13, 9)}));
         }},
        {QStringLiteral("OB2"),
         [](QPainter &p) {
             sheet(p, QRect(1, 2, 14, 12));
             letter(p, QStringLiteral("A"), true, false, false);
         }},
        {QStringLiteral("OB3"),
         [](QPainter &p) {
             p.fillRect(QRect(1, 3, 14, 4), kSilver);
             p.fillRect(QRect(1, 9, 14, 4), kSilver);
             p.setPen(kInk);
             p.drawRect(QRect(1, 3, 13, 3));
             p.drawRect(QRect(1, 9, 13, 3));
         }},
        {QStringLiteral("OB4"),
         [](QPainter &p) {
             p.fillRect(QRect(1, 2, 14, 8), QColor(166, 202, 240));
             p.fillRect(QRect(1, 10, 14, 4), QColor(0, 128, 0));
             p.setPen(kInk);
             p.drawRect(QRect(1, 2, 13, 11));
         }},
        {QStringLiteral("OB5"),
         [](QPainter &p) {
             sheet(p, QRect(1, 1, 11, 13));
             sheet(p, QRect(5, 5, 10, 10));
             textLines(p, 7, 8, 6, 3);
         }},
        {QStringLiteral("OB6"),
         [](QPainter &p) {
             p.setPen(QPen(kInk, 2));
             p.drawLine(2, 13, 13, 2);
         }},
        {QStringLiteral("Align1"),
         [](QPainter &p) {
             p.setPen(kInk);
             p.drawLine(1, 0, 1, 15);
             boxes(p, QRect(2, 2, 8, 4), QRect(2, 9, 12, 4));
         }},
        {QStringLiteral("Align2"),
         [](QPainter &p) {
             p.setPen(kInk);
             p.drawLine(8, 0, 8, 15);
             boxes(p, QRect(4, 2, 8, 4), QRect(2, 9, 12, 4));
         }},
        {QStringLiteral("Align3"),
         [](QPainter &p) {
             p.setPen(kGray);
             p.drawRect(QRect(0, 3, 15, 9));
             p.fillRect(QRect(5, 5, 6, 5), kBlue);
         }},
        {QStringLiteral("Align4"),
         [](QPainter &p) {
             p.fillRect(QRect(1, 5, 3, 6), kBlue);
             p.fillRect(QRect(7, 5, 3, 6), kBlue);
             p.fillRect(QRect(13, 5, 3, 6), kBlue);
         }},
        {QStringLiteral("Align5"),
         [](QPainter &p) {
             p.setPen(kInk);
             p.drawLine(14, 0, 14, 15);
             boxes(p, QRect(6, 2, 8, 4), QRect(2, 9, 12, 4));
         }},
        {QStringLiteral("Align6"),
         [](QPainter &p) {
             p.setPen(kInk);
             p.drawLine(0, 1, 15, 1);
             boxes(p, QRect(2, 2, 4, 8), QRect(9, 2, 4, 12));
         }},
        {QStringLiteral("Align7"),
         [](QPainter &p) {
             p.setPen(kInk);
             p.drawLine(0, 8, 15, 8);
             boxes(p, QRect(2, 4, 4, 8), QRect(9, 2, 4, 12));
         }},
        {QStringLiteral("Align8"),
         [](QPainter &p) {
             p.setPen(kGray);
             p.drawRect(QRect(3, 0, 9, 15));
             p.fillRect(QRect(5, 5, 5, 6), kBlue);
         }},
        {QStringLiteral("Align9"),
         [](QPainter &p) {
             p.fillRect(QRect(5, 1, 6, 3), kBlue);
             p.fillRect(QRect(5, 7, 6, 3), kBlue);
             p.fillRect(QRect(5, 13, 6, 3), kBlue);
         }},
        {QStringLiteral("Align10"),
         [](QPainter &p) {
             p.setPen(kInk);
             p.drawLine(0, 14, 15, 14);
             boxes(p, QRect(2, 6, 4, 8), QRect(9, 2, 4, 12));
         }},
        {QStringLiteral("HelpBtn"),
         [](QPainter &p) {
             letter(p, QStringLiteral("?"), true, false, false);
             p.setPen(kInk);
             p.drawLine(1, 1, 1, 6);
             p.drawLine(1, 1, 6, 1);
         }},
    };
    return table;
}

QImage canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kOlive);
    return img;
}

} // namespace

QImage frDesignerGlyph(const QString &buttonName)
{
    const auto &table = drawers();
    const auto it = table.find(buttonName);
    if (it == table.end())
        return QImage();
    QImage img = canvas(16, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    it->second(p);
    return img;
}

QImage frColorStrip()
{
    QImage img = canvas(96, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int cell = 0; cell < 3; ++cell) {
        for (int half = 0; half < 2; ++half) {
            const int x0 = cell * 32 + half * 16;
            const QColor ink = half == 0 ? kInk : kGray;
            p.save();
            p.translate(x0, 0);
            p.setPen(ink);
            if (cell == 0) { // font colour: a letter A
                p.drawLine(3, 11, 7, 1);
                p.drawLine(7, 1, 11, 11);
                p.drawLine(5, 7, 9, 7);
            } else if (cell == 1) { // fill colour: a tilted bucket
                p.drawPolygon(QPolygon({QPoint(3, 5), QPoint(8, 1), QPoint(13, 6), QPoint(8, 11)}));
                p.drawLine(13, 6, 14, 9);
            } else { // line colour: a pencil
                p.drawLine(2, 11, 12, 1);
                p.drawLine(4, 11, 13, 2);
                p.drawLine(2, 11, 4, 11);
            }
            // The colour bar: pure red on the up glyph, grey when disabled.
            p.fillRect(QRect(1, 12, 14, 3), half == 0 ? kRed : kGray);
            p.restore();
        }
    }
    return img;
}

QImage frInsertFieldGlyph()
{
    QImage img = canvas(16, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(1, 1, 11, 13), kPaper);
    p.setPen(kInk);
    p.drawRect(QRect(1, 1, 10, 12));
    p.fillRect(QRect(3, 4, 7, 2), kBlue);
    p.fillRect(QRect(3, 8, 7, 2), kBlue);
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.drawLine(12, 9, 12, 15);
    p.drawLine(9, 12, 15, 12);
    return img;
}

} // namespace designer
