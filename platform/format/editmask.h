#pragma once
// Edit masks in the class library's notation, "mask;save;blank" as in
// "!99/99/9999;1;_": the masked edits of the windows and the report
// engine's text formatting share them.
//   0 digit, required        9 digit, optional        # digit or sign, optional
//   L letter, required       l letter, optional
//   A letter or digit, req.  a letter or digit, opt.
//   C any character, req.    c any character, optional
//   > upper case after it    < lower case after it    <> no case change
//   \x the character x       : and / the time and date separators
//   _ a blank                !  fill from the right when formatting
// Any other character is a literal. The second field, "0", leaves the
// literals out of the text; the third is the character shown in an empty
// position ("_" by default).
#include <QString>
#include <vector>

namespace platform
{

class EditMask
{
public:
    enum class Kind { Literal, Digit, DigitOrSign, Letter, LetterOrDigit, Any };
    enum class Case { Keep, Upper, Lower };
    struct Position {
        Kind kind = Kind::Literal;
        bool required = false;
        QChar literal;
        Case letterCase = Case::Keep;
    };

    explicit EditMask(const QString &mask = QString());

    bool isEmpty() const { return m_positions.empty(); }
    int size() const { return static_cast<int>(m_positions.size()); }
    const Position &at(int i) const { return m_positions[static_cast<size_t>(i)]; }
    bool saveLiterals() const { return m_saveLiterals; }
    QChar blank() const { return m_blank; }
    bool fromRight() const { return m_fromRight; }

    // Whether c may stand at position i, and c as it is shown there (case).
    bool accepts(int i, QChar c) const;
    QChar shown(int i, QChar c) const;

    // What the edit shows for a text: literals in place, the blank character
    // where nothing fits. With literals saved the text is read position by
    // position; otherwise its characters fill the input positions in order.
    QString editTextFor(const QString &text) const;
    // The text of what the edit shows: blanks as spaces, literals kept or
    // left out as the mask says.
    QString textOf(const QString &editText) const;
    // Every required position filled, every filled one fitting. The first
    // position at fault in firstBad (-1 when none).
    bool isComplete(const QString &editText, int *firstBad = nullptr) const;
    // The same mask in QLineEdit::setInputMask notation.
    QString toQtInputMask() const;

private:
    std::vector<Position> m_positions;
    bool m_saveLiterals = true;
    QChar m_blank = QLatin1Char('_');
    bool m_fromRight = false;
};

// The text formatted by the mask with blanks for missing characters, as the
// class library's mask formatter did: with literals saved, a text that holds
// them is padded; otherwise the literals are inserted between the
// characters, from the right when the mask holds "!".
QString FormatMaskText(const QString &editMask, const QString &value);

// Shown when a masked edit is left incomplete.
QString maskEditErrorText();

} // namespace platform
