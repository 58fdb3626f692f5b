#include "manager/core/saisie.h"

#include "platform/text/convert.h"

#include <limits>

QString champSaisi(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c == QLatin1Char(';'))
            c = QLatin1Char(',');
        else if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0x2028) ||
                 c == QChar(0x2029))
            c = QLatin1Char(' ');
    }
    return out;
}

int EntierOuZero(const QString &text)
{
    if (text.isEmpty())
        return 0;
    return platform::StrToInt(text);
}

int ChiffresSeuls(const QString &text)
{
    qint64 value = 0;
    for (QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            value = value * 10 + (c.unicode() - '0');
            // Too many digits saturate instead of overflowing.
            if (value > std::numeric_limits<int>::max())
                value = std::numeric_limits<int>::max();
        }
    }
    return static_cast<int>(value);
}
