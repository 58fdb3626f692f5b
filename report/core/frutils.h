#pragma once
// Small text routines of the report library.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace report
{

// Upper case over the Windows-1252 letters, one character for one (unlike
// QString::toUpper, "ß" stays "ß"); characters outside the code page are kept.
QString frUpperCase(const QString &text);
QChar frUpperChar(QChar c);
// Lower case over the Windows-1252 letters, the converse of frUpperCase.
QString frLowerCase(const QString &text);
QChar frLowerChar(QChar c);
// Case-insensitive order of names: the upper-cased Windows-1252 codes.
int frCompareText(const QString &a, const QString &b);
bool frSameText(const QString &a, const QString &b);

// The font style set of the library's fonts.
struct TFontStyles {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const TFontStyles &) const = default;
};

// The stored style word: 1 italic, 2 bold, 4 underline, 8 strike-out.
TFontStyles frFontStyleFromWord(quint16 word);
quint16 frFontStyleToWord(const TFontStyles &styles);

// "," and "." both read as the decimal separator; blanks and control
// characters around are cut. Raises EConvertError on bad text.
double frStrToFloat(const QString &text);
// "x" between double quotes gives x; anything else comes back unchanged.
QString frRemoveQuotes(const QString &text);
// The item from pos (counted from 1) up to the next ";" or the end; pos moves
// past the ";".
QString frGetNextItem(const QString &text, int &pos);
// The items of a ";"-separated text; a trailing ";" adds no empty item.
void frSplitList(const QString &text, QStringList &list);
// The platform family the library runs on; always "NT" here.
QString frGetWindowsVersion();

} // namespace report
