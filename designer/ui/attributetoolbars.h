#pragma once
// The designer window's attribute tool bars at work: each control runs the
// attribute command of its tag over the selection, the colour buttons open
// the colour selector, the line style button its panel, and the controls
// follow the selection.
#include "designer/core/attributecommands.h"

#include <QObject>
#include <QPointer>

namespace report
{
class TfrSpeedButton;
}

namespace designer
{

class DesignerCore;
class TfrDesignerForm;
class TColorSelector;

class TfrAttributeToolbars : public QObject
{
    Q_OBJECT
public:
    TfrAttributeToolbars(DesignerCore &core, TfrDesignerForm *form);

    AttributeCommands Commands;
    TColorSelector *ColorSelector = nullptr;

    // The command of a control: its tag and what it shows.
    void DoClick(QObject *sender);
    // The command of a tag, from the control that carries it.
    void runTag(int tag);
    // Fills the controls from the selection.
    void fillControls();

    void ClB1Click(report::TfrSpeedButton *sender);
    void StB1Click();
    void frSpeedButton1Click(report::TfrSpeedButton *sender);
    void HlB1Click();
    void C2DblClick();

    // The colour a colour button's glyph shows (its bar's pixel (2, 14)
    // when it equals (1, 13); else no fill).
    static platform::TColor glyphColor(const report::TfrSpeedButton *button);
    // The glyph kind of a colour button: fill 1, frame 2, font 0.
    static int glyphKind(const QString &buttonName);

private:
    QObject *controlOfTag(int tag) const;
    void colorSelected();
    void afterCommand(const AttributeOutcome &outcome, QObject *sender);

    DesignerCore &m_core;
    TfrDesignerForm *m_form;
    QPointer<report::TfrSpeedButton> m_colorButton;
};

// Fills the window's attribute command and its colour, line style and
// highlight commands (window: the designer window).
void installAttributeCommands(DesignerCore &core, QObject *window);

} // namespace designer
