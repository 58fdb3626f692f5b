#include "report/objects/frdialogcontrols.h"

#include "platform/canvas/bitmaps.h"
#include "report/core/frutils.h"
#include "report/expr/frvariables.h"
#include "report/objects/frglobals.h"

namespace report
{

namespace
{
constexpr platform::TColor clBtnFace = platform::TColor(0x8000000F);
constexpr platform::TColor clBtnShadow = platform::TColor(0x80000010);
constexpr platform::TColor clBtnHighlight = platform::TColor(0x80000014);
constexpr platform::TColor cl3DDkShadow = platform::TColor(0x80000015);
constexpr platform::TColor cl3DLight = platform::TColor(0x80000016);
} // namespace

// ---------------------------------------------------------------- TfrControl

TfrControl::TfrControl()
{
    Typ = otAddIn;
    FillColor = clBtnFace;
    FrameTyp = 0;
}

TfrControl::~TfrControl()
{
    delete Control.data();
}

void TfrControl::keepParented()
{
    if (Control && !Control->parentWidget())
        Control->setParent(frObjects().frDialogForm());
}

void TfrControl::SetPropertyValue(const QString &name, const FrVariant &value)
{
    TfrView::SetPropertyValue(name, value);
    if (Control && frUpperCase(name) == QLatin1String("VISIBLE")) {
        keepParented();
        Control->setVisible(value.toBool());
    }
}

void TfrControl::DefinePropertyList()
{
    AddProperty(QStringLiteral("Name"), 0x101);
    AddProperty(QStringLiteral("Left"), 0x80);
    AddProperty(QStringLiteral("Top"), 0x80);
    AddProperty(QStringLiteral("Width"), 0x80);
    AddProperty(QStringLiteral("Height"), 0x80);
    AddProperty(QStringLiteral("Visible"), 8);
    AddProperty(QStringLiteral("Restrictions"), 0x40,
                frObjects().frPropEditors.Get(FrEditorKind::Restrictions));
}

void TfrControl::PlaceControl(QWidget *parent)
{
    if (!Control)
        return;
    Control->setParent(parent);
    Control->setGeometry(x, y, dx, dy);
    // A new parent hides a widget: it shows again as the object says.
    Control->setVisible(IsVisible());
}

void TfrControl::Draw(platform::Canvas &canvas)
{
    PrepareCanvas(canvas);
    if (Control)
        Control->resize(std::max(0, int(dx)), std::max(0, int(dy)));
    FrGeometryScope geometry(*this);
    PaintControl();
}

void TfrControl::PaintControl()
{
    if (!Canvas || dx < 0 || dy < 0)
        return;
    // The widget is painted at most as large as a screen and stretched over
    // the object's box: a box of a damaged template can be millions of pixels
    // wide, far more than any picture can hold.
    constexpr qint64 kPlusGrande = 4096;
    QImage image(int(std::min<qint64>(qint64(dx) + 1, kPlusGrande)),
                 int(std::min<qint64>(qint64(dy) + 1, kPlusGrande)), QImage::Format_RGB32);
    image.fill(platform::toQColor(clBtnFace));
    if (Control) {
        keepParented();
        Control->move(0, 0);
        Control->render(&image, QPoint(), QRegion(),
                        QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    Canvas->drawImage(QRect(x, y, int(std::min<qint64>(qint64(dx) + 1, kFrMaxGeometry + 1)),
                            int(std::min<qint64>(qint64(dy) + 1, kFrMaxGeometry + 1))),
                      image);
}

// ------------------------------------------------------- TfrNonVisualControl

TfrNonVisualControl::TfrNonVisualControl() : Properties(std::make_unique<TfrVariables>())
{
    Icon = platform::LoadBitmap(QStringLiteral("FR_NONVISUALCOMPONENT"));
    dx = dy = 28;
}

TfrNonVisualControl::~TfrNonVisualControl() = default;

void TfrNonVisualControl::SetPropertyValue(const QString &name, const FrVariant &value)
{
    TfrControl::SetPropertyValue(name, value);
    if (Component && frUpperCase(name) == QLatin1String("NAME"))
        Component->setObjectName(value.toString());
}

void TfrNonVisualControl::DefinePropertyList()
{
    AddProperty(QStringLiteral("Name"), 0x101);
    AddProperty(QStringLiteral("Restrictions"), 0x40,
                frObjects().frPropEditors.Get(FrEditorKind::Restrictions));
}

void TfrNonVisualControl::Draw(platform::Canvas &canvas)
{
    // Whatever size a file holds, the icon's box is 28 x 28.
    dx = dy = 28;
    PrepareCanvas(canvas);
    FrGeometryScope geometry(*this);
    FillColor = clBtnFace;
    DrawBackground();
    PaintControl();
}

void TfrNonVisualControl::PaintControl()
{
    if (!Canvas)
        return;
    const int l = DRect.left(), t = DRect.top();
    const int r = l + DRect.width(), b = t + DRect.height();
    // A raised edge: light outer and white inner lines at the top and left,
    // dark outer and grey inner lines at the bottom and right.
    auto line = [this](platform::TColor color, const QList<QPoint> &points) {
        Canvas->setPen({color, 1, platform::PenStyle::Solid});
        Canvas->polyline(points);
    };
    line(cl3DLight, {QPoint(l, b - 2), QPoint(l, t), QPoint(r - 1, t)});
    line(cl3DDkShadow, {QPoint(l, b - 1), QPoint(r - 1, b - 1), QPoint(r - 1, t - 1)});
    line(clBtnHighlight, {QPoint(l + 1, b - 3), QPoint(l + 1, t + 1), QPoint(r - 2, t + 1)});
    line(clBtnShadow, {QPoint(l + 1, b - 2), QPoint(r - 2, b - 2), QPoint(r - 2, t)});
    if (!Icon.isNull())
        Canvas->drawImage(QRect(l + 2, t + 2, Icon.width(), Icon.height()), Icon);
}

} // namespace report
