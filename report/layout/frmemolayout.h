#pragma once
// The memo's text engine: output lines that fit the object's width (word
// wrap, syllable breaks), their height, their drawing with alignment,
// justification, rotation, spacing and underlines, export of the lines and
// the width a text needs. Widths come from the text measurer as running sums
// of per-character advances; heights only from the font size and spacing.
#include <QList>
#include <QString>
#include <QStringList>

namespace platform
{
class Canvas;
}

namespace report
{

class TfrMemoView;

// Breaks the memo's working text (Memo1) into frOutputLines; sets
// frTextHeight and the memo's LineHeight.
void frFormatMemoLines(TfrMemoView &memo);
// Laying out a memo during a build is work of the build like any other: its
// characters count with the build's pace, as a function's do, and the build
// yields when the pace says so, so that a memo of a megabyte of text neither
// holds the build nor "Annuler" for the time its lines take.
class FrLayoutPace
{
public:
    // Characters measured or stepped over since the last call.
    void count(qint64 characters)
    {
        m_pending += characters;
        if (m_pending >= kBatch)
            flush();
    }
    bool yielded() const { return m_yielded; }

private:
    static constexpr qint64 kBatch = 1024;
    void flush();
    qint64 m_pending = 0;
    bool m_yielded = false;
};
// Wraps one working line into output lines at width maxWidth.
struct FrWrapSettings {
    bool wordBreak = false;
    QList<int> advances; // per character of the line, character extra included
    int hyphenAdvance = 0;
    FrLayoutPace *pace = nullptr; // during a build
};
void frWrapLine(const QString &line, int maxWidth, const FrWrapSettings &settings,
                QStringList &out);
// Syllable-break positions of a word (1-based, after that letter), ascending.
QList<int> frSyllableBreaks(const QString &word);
// Draws the memo (its draw operation).
void frDrawMemo(TfrMemoView &memo, platform::Canvas &canvas);
// Shows the working text as output lines on the memo's canvas; counts
// CurrentLine.
void frShowMemoLines(TfrMemoView &memo);
// Draws the underlines under every line position.
void frDrawMemoUnderlines(TfrMemoView &memo);
// Width the lines need, frame and gaps included.
int frMemoTextWidth(TfrMemoView &memo, const QStringList &lines);

} // namespace report
