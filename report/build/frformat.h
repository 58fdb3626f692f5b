#pragma once
// Display formats of report objects: the format code's fields and the
// inline formats of bracketed expressions ("[Montant #N0]").
#include "report/core/frvariant.h"

#include <QString>

namespace report
{

// Fields of a display format code.
enum TfrFormatCategory { fcText = 0, fcNumber = 1, fcDate = 2, fcTime = 3, fcBoolean = 4 };
constexpr int kFrCustomKind = 4;

inline int frFormatCategory(qint32 format)
{
    return (format >> 24) & 0x0F;
}
inline int frFormatKind(qint32 format)
{
    return (format >> 16) & 0xFF;
}
inline int frFormatDecimals(qint32 format)
{
    return (format >> 8) & 0xFF;
}
inline QChar frFormatSeparator(qint32 format)
{
    return QChar(char16_t(format & 0xFF));
}
inline qint32 frMakeFormat(int category, int kind, int decimals, QChar separator)
{
    return qint32((quint32(category & 0x0F) << 24) | (quint32(kind & 0xFF) << 16) |
                  (quint32(decimals & 0xFF) << 8) | quint32(separator.unicode() & 0xFF));
}

// Splits "expression #format" at the last " #" outside quotes. False when
// the text has none; expression and format are then untouched.
bool frSplitInlineFormat(const QString &text, QString &expression, QString &inlineFormat);
// The format code and text an inline format gives, starting from the
// object's own; false (nothing changed) when it names no known form.
bool frApplyInlineFormat(const QString &inlineFormat, qint32 &format, QString &formatStr);

} // namespace report
