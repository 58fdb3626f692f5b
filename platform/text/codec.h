#pragma once
// The Windows-1252 code page, lossless: every byte maps to one character and
// back, the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to U+0081, U+008D, U+008F, U+0090, U+009D.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace platform
{

// Bytes of a data file to text, one character per byte.
QString fromAnsi(QByteArrayView bytes);
// Text to bytes; a character the code page cannot hold is written as '?',
// one for a character beyond the basic plane (a surrogate pair) too.
QByteArray toAnsi(const QString &text);
// The same bytes appended to out, for writers that build a whole file.
void appendAnsi(QByteArray &out, QStringView text);
// The same bytes into out, which has room for text.size() of them; returns
// how many were written (fewer when the text holds surrogate pairs).
qsizetype encodeAnsi(QStringView text, char *out);
// The character a byte stands for, and back (-1 when the code page lacks it).
QChar ansiChar(unsigned char byte);
int ansiByte(QChar ch);

// UTF-8 bytes (federation extracts, saved pages, iCalendar files) to text
// holding only characters the code page has: every accented letter of the
// code page survives, anything else becomes '?'. A leading byte-order mark is
// dropped; an invalid or truncated sequence gives '?' per bad byte.
QString utf8ToAnsiText(QByteArrayView bytes);
enum class Utf8Check { Valid, Invalid, CutAtEnd };
// Strict UTF-8 check: overlong forms, surrogates and code points beyond
// U+10FFFF are invalid. A sequence cut by the end of the data is told apart,
// since it means the file itself was cut.
Utf8Check checkUtf8(QByteArrayView bytes);
// The one decoding rule of text files that come from outside (players
// extracts, iCalendar files): a UTF-8 byte-order mark is skipped; valid
// UTF-8 goes through utf8ToAnsiText; anything else is Windows-1252 bytes.
// UTF-8 cut inside its last character decodes as UTF-8 (that character
// becomes '?') and sets *cutAtEnd, so that a caller can refuse it.
QString decodeOutsideText(QByteArrayView bytes, bool *cutAtEnd = nullptr);

// Replaces every character outside the code page by one '?' (a surrogate
// pair included).
QString ansiSafe(const QString &text);

// Compares two texts by their Windows-1252 codes, as the original byte
// comparisons did: <0, 0 or >0.
int ansiCompare(const QString &a, const QString &b);
// Raises a-z only; accented letters are kept as they are.
QString upperAZ(const QString &text);

} // namespace platform
