#pragma once
// The attribute tool bars' rules: one command per control tag that changes
// the selected objects of the current page (frame edges, widths, colours,
// line style, and for memos font, style and alignment), and the state the
// tool bars show for a selection (enabled groups, pressed buttons, texts of
// the combo boxes, colour glyphs, the status text).
#include "designer/core/requestslots.h"
#include "platform/canvas/colors.h"

#include <QString>
#include <map>
#include <optional>

namespace designer
{

class DesignerCore;
class DesignerState;

// The status bar's third panel for a selection: the name of the one object
// selected, then ": " and a band's type text or a memo's first line.
QString frSelectionStatusText(const DesignerState &state);

// Control tags of the attribute commands.
enum AttributeTag : int {
    atTopEdge = 1,
    atLeftEdge = 2,
    atBottomEdge = 3,
    atRightEdge = 4,
    atFillColor = 5,
    atFrameWidth = 6,
    atFontName = 7,
    atFontSize = 8,
    atBold = 9,
    atItalic = 10,
    atAlignLeft = 11,
    atAlignRight = 12,
    atAlignCenter = 13,
    atVerticalText = 14,
    atVerticalAlign = 15,
    atFontColor = 17,
    atUnderline = 18,
    atFrameColor = 19,
    atAllEdges = 20,
    atNoEdges = 21,
    atJustify = 22,
    atLineStyleFirst = 25, // 25..30: solid .. double
    atLineStyleLast = 30,
};

// What the sender control holds when its command runs.
struct AttributeValue {
    bool down = false;          // toggles: edges, bold, italic, underline, vertical text
    QString text;               // combo boxes: font name, font size, frame width
    platform::TColor color = 0; // colour buttons
    int verticalAlign = 0;      // tag 15: 0 top, 8 middle, 16 bottom

    static AttributeValue toggle(bool down)
    {
        AttributeValue v;
        v.down = down;
        return v;
    }
    static AttributeValue ofText(const QString &text)
    {
        AttributeValue v;
        v.text = text;
        return v;
    }
    static AttributeValue ofColor(platform::TColor color)
    {
        AttributeValue v;
        v.color = color;
        return v;
    }
    static AttributeValue ofVerticalAlign(int align)
    {
        AttributeValue v;
        v.verticalAlign = align;
        return v;
    }
};

// What a command did.
struct AttributeOutcome {
    // Objects were changed (and one undo entry recorded).
    bool applied = false;
    // A combo box text that does not read as a number: the text shown, and
    // the text the box takes back.
    QString error;
    // Text the sender box must show now (the previous text after an error,
    // or a number brought within its limits).
    std::optional<QString> boxText;
    // The controls are to be filled again from the selection (all edges on
    // or off: the edge buttons follow).
    bool refill = false;
};

// The state of the tool bars for the current selection.
struct ToolbarState {
    int selection = 0; // ss... bits
    // Groups of controls enabled.
    bool frame = false;
    bool text = false;
    bool order = false;
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool remove = false;
    bool edit = false;
    // Control values by control name; a control absent keeps what it shows.
    std::map<QString, bool> down;               // FrB1-4, FnB1-3, AlB1-8
    std::map<QString, QString> texts;           // C2, C3, C4
    std::map<QString, platform::TColor> glyphs; // ClB1, ClB2, ClB3
    // The status bar's third panel.
    QString status;
};

class AttributeCommands
{
public:
    explicit AttributeCommands(DesignerCore &core);

    // Runs the command of a control tag over the selected objects of the
    // current page (tags outside the table do nothing). A number box text
    // that does not convert shows the conversion error captioned "Erreur"
    // and changes nothing.
    AttributeOutcome applyAttribute(int tag, const AttributeValue &value);

    // Enabled groups, control values and status text for the selection.
    // Also remembers the texts shown, so that an unreadable number can give
    // the previous one back.
    ToolbarState computeUiState();

    // The highlight command: the highlight slot opened from the top-most
    // selected memo (an empty condition, black font and transparent fill
    // when that is no memo); on OK written into every selected memo. True
    // when something was written.
    bool applyHighlight();

    // The text of the status bar's third panel for the selection.
    QString statusText() const;

    // Set while the controls are filled by the program: commands then do
    // nothing, so boxes changed by the program do not re-enter.
    bool Synchronizing = false;

    // The starting values of the highlight dialog for the selection.
    HighlightChoice highlightStart() const;

    // A frame width text as a number (',' or '.' as decimal separator);
    // nothing when it does not read as one.
    static std::optional<double> readFrameWidth(const QString &text);
    // A frame width as the width box shows it (2 significant digits, ',').
    static QString frameWidthText(double width);

private:
    bool checkNumber(int tag, const QString &text, AttributeOutcome &outcome, double &number);

    DesignerCore &m_core;
    // The number box texts last shown (C3, C4).
    QString m_shownSize;
    QString m_shownWidth = QStringLiteral("1");
};

} // namespace designer
