#pragma once
// The small colour palette shown under the designer's colour buttons:
// sixteen colours, "Transparent" and "Autre..." (any colour, through the
// colour dialog). A pick hides it and reports the colour.
#include "platform/canvas/colors.h"

#include <QFrame>
#include <functional>

namespace report
{
class TfrSpeedButton;
}

namespace designer
{

class TColorSelector : public QFrame
{
    Q_OBJECT
public:
    // The owner becomes the parent.
    explicit TColorSelector(QWidget *owner);

    // The colour picked last; clNone is no fill.
    platform::TColor SelectedColor = 0;
    // Fired after a pick (not when the colour dialog is cancelled).
    std::function<void()> OnColorSelected;

    // Presses the button of that colour; a colour outside the palette is
    // painted on "Autre..." instead.
    void SelectColor(platform::TColor color);

    // The button of a tag (0..15 palette, 16 "Transparent", 17 "Autre...").
    report::TfrSpeedButton *buttonOfTag(int tag) const;
    report::TfrSpeedButton *otherColorButton() const { return m_other; }

private:
    void ButtonClick(int tag);

    report::TfrSpeedButton *m_other = nullptr;
};

// The picture of a palette button: a 16 x 17 button-face cell with a square
// of that colour outlined in the button-shadow colour.
QImage frColorSwatch(platform::TColor color);

} // namespace designer
