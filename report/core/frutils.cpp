#include "report/core/frutils.h"

#include "platform/text/codec.h"
#include "platform/text/convert.h"

namespace report
{

QChar frUpperChar(QChar c)
{
    char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= 'a' && u <= 'z') ? QChar(char16_t(u - 32)) : c;
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7)
        return QChar(char16_t(u - 32));
    switch (u) {
    case 0xFF:
        return QChar(char16_t(0x178));
    case 0x161:
        return QChar(char16_t(0x160));
    case 0x153:
        return QChar(char16_t(0x152));
    case 0x17E:
        return QChar(char16_t(0x17D));
    default:
        return c;
    }
}

QChar frLowerChar(QChar c)
{
    char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= 'A' && u <= 'Z') ? QChar(char16_t(u + 32)) : c;
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7)
        return QChar(char16_t(u + 32));
    switch (u) {
    case 0x178:
        return QChar(char16_t(0xFF));
    case 0x160:
        return QChar(char16_t(0x161));
    case 0x152:
        return QChar(char16_t(0x153));
    case 0x17D:
        return QChar(char16_t(0x17E));
    default:
        return c;
    }
}

QString frLowerCase(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        c = frLowerChar(c);
    return result;
}

QString frUpperCase(const QString &text)
{
    const QChar *p = text.constData();
    qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && frUpperChar(p[i]) == p[i])
        ++i;
    if (i == n)
        return text;
    QString result = text;
    QChar *out = result.data();
    for (; i < n; ++i)
        out[i] = frUpperChar(out[i]);
    return result;
}

int frCompareText(const QString &a, const QString &b)
{
    qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        QChar x = frUpperChar(a.at(i)), y = frUpperChar(b.at(i));
        if (x != y) {
            int cx = platform::ansiByte(x), cy = platform::ansiByte(y);
            if (cx < 0)
                cx = 0x100 + x.unicode();
            if (cy < 0)
                cy = 0x100 + y.unicode();
            return cx < cy ? -1 : 1;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool frSameText(const QString &a, const QString &b)
{
    return a.size() == b.size() && frCompareText(a, b) == 0;
}

TFontStyles frFontStyleFromWord(quint16 word)
{
    TFontStyles s;
    s.italic = word & 1;
    s.bold = word & 2;
    s.underline = word & 4;
    s.strikeOut = word & 8;
    return s;
}

quint16 frFontStyleToWord(const TFontStyles &styles)
{
    return quint16((styles.italic ? 1 : 0) | (styles.bold ? 2 : 0) | (styles.underline ? 4 : 0) |
                   (styles.strikeOut ? 8 : 0));
}

double frStrToFloat(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    qsizetype b = 0, e = t.size();
    while (b < e && t.at(b).unicode() <= 32)
        ++b;
    while (e > b && t.at(e - 1).unicode() <= 32)
        --e;
    return platform::StrToFloat(t.mid(b, e - b));
}

QString frRemoveQuotes(const QString &text)
{
    if (text.size() > 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        return text.mid(1, text.size() - 2);
    return text;
}

QString frGetNextItem(const QString &text, int &pos)
{
    int start = qMax(pos, 1);
    int semi = int(text.indexOf(QLatin1Char(';'), start - 1));
    if (semi < 0) {
        pos = int(text.size()) + 1;
        return text.mid(start - 1);
    }
    pos = semi + 2;
    return text.mid(start - 1, semi - (start - 1));
}

void frSplitList(const QString &text, QStringList &list)
{
    list.clear();
    int pos = 1;
    while (pos <= text.size())
        list.append(frGetNextItem(text, pos));
}

QString frGetWindowsVersion()
{
    return QStringLiteral("NT");
}

} // namespace report
