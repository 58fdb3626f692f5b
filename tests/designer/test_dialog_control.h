#pragma once
// A dialog control of the tests: a push button that registers itself as an
// add-in object for dialog pages only.
#include "report/objects/frdialogcontrols.h"
#include "report/objects/frglobals.h"
#include "report/objects/frview.h"

#include <QImage>
#include <QPushButton>

namespace designer::test
{

class TestButtonControl : public report::TfrControl
{
public:
    TestButtonControl()
    {
        BaseName = QStringLiteral("Bouton");
        auto *button =
            new QPushButton(QStringLiteral("Valider"), report::frObjects().frDialogForm());
        Control = button;
        dx = 75;
        dy = 25;
    }
    std::unique_ptr<report::TfrView> Create() const override
    {
        return std::make_unique<TestButtonControl>();
    }
    QString ClassName() const override { return QStringLiteral("TTestButtonControl"); }

    // Registered with a glyph of its own; hint is the button's tool tip.
    static void registerControl(const QString &hint = QStringLiteral("Insérer un bouton"))
    {
        QImage glyph(16, 16, QImage::Format_RGB32);
        glyph.fill(QColor(128, 128, 0));
        for (int y = 4; y < 12; ++y)
            for (int x = 2; x < 14; ++x)
                glyph.setPixel(x, y, qRgb(192, 192, 192));
        report::frRegisterObject(
            QStringLiteral("TTestButtonControl"),
            [] { return std::make_unique<TestButtonControl>(); }, glyph, hint, 1);
    }
};

} // namespace designer::test
