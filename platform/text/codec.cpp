#include "platform/text/codec.h"

#include <array>
#include <cstring>

namespace platform
{

namespace
{

// 0x80..0x9F; the five undefined bytes keep their C1 control character so
// that every byte comes back as itself.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int byteOf(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return 0x80 + i;
    return -1;
}

// Whether text[i] starts a surrogate pair: one character beyond the basic
// plane, which the code page lacks and writes as one '?', not two.
bool pairedSurrogate(const QString &text, qsizetype i)
{
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
}

// One code point from UTF-8 at s[i]; returns its length, 0 when the bytes
// there do not start a valid, complete, shortest-form sequence.
int decodeUtf8(const unsigned char *s, qsizetype n, qsizetype i, char32_t &cp)
{
    const unsigned char b = s[i];
    int len;
    char32_t min;
    if (b < 0x80) {
        cp = b;
        return 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        cp = b & 0x1F;
        min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        cp = b & 0x0F;
        min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        cp = b & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (n - i < len)
        return 0;
    for (int k = 1; k < len; ++k) {
        const unsigned char c = s[i + k];
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

} // namespace

QString fromAnsi(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = ansiChar(static_cast<unsigned char>(bytes[i]));
    return out;
}

QByteArray toAnsi(const QString &text)
{
    QByteArray out;
    appendAnsi(out, text);
    return out;
}

void appendAnsi(QByteArray &out, QStringView text)
{
    const qsizetype start = out.size();
    out.resize(start + text.size());
    out.truncate(start + encodeAnsi(text, out.data() + start));
}

qsizetype encodeAnsi(QStringView text, char *d)
{
    const qsizetype n = text.size();
    const char16_t *s = text.utf16();
    qsizetype i = 0;
    // Plain ASCII four characters at a time while it lasts: one byte each,
    // so the bytes keep the characters' places.
    for (; i + 4 <= n; i += 4) {
        quint64 four;
        std::memcpy(&four, s + i, sizeof four);
        if (four & 0xFF80FF80FF80FF80ull)
            break;
        for (qsizetype k = i; k < i + 4; ++k)
            d[k] = static_cast<char>(s[k]);
    }
    qsizetype o = i;
    for (; i < n; ++i) {
        const char16_t u = s[i];
        // Plain ASCII, the bulk of every file, maps to itself.
        if (u < 0x80) {
            d[o++] = static_cast<char>(u);
            continue;
        }
        const int b = byteOf(u);
        d[o++] = static_cast<char>(b < 0 ? '?' : b);
        // A character beyond the basic plane is one '?', not two.
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(s[i + 1]))
            ++i;
    }
    return o;
}

QChar ansiChar(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(kHigh[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

int ansiByte(QChar ch)
{
    return byteOf(ch.unicode());
}

QString utf8ToAnsiText(QByteArrayView bytes)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    if (n >= 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF)
        i = 3;
    // Every sequence gives at most one UTF-16 unit, so the text never holds
    // more characters than there are bytes left.
    QString decoded(n - i, Qt::Uninitialized);
    char16_t *d = reinterpret_cast<char16_t *>(decoded.data());
    qsizetype o = 0;
    // Whether every character is one of the code page's: such a text is
    // already composed (none of them is a combining mark or changes under
    // composition) and needs no replacement, which spares both passes below.
    bool ansiOnly = true;
    while (i < n) {
        // Runs of plain ASCII, the bulk of any extract.
        while (i < n && s[i] < 0x80)
            d[o++] = s[i++];
        if (i >= n)
            break;
        char32_t cp = 0;
        const int len = decodeUtf8(s, n, i, cp);
        if (len == 0) {
            d[o++] = u'?';
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            // Nothing beyond the basic plane exists in the code page.
            d[o++] = u'?';
        } else {
            const auto u = static_cast<char16_t>(cp);
            d[o++] = u;
            if (ansiOnly && u >= 0x80 && byteOf(u) < 0)
                ansiOnly = false;
        }
        i += len;
    }
    decoded.truncate(o);
    if (ansiOnly)
        return decoded;
    // Decode first, then compose: letters written as a base letter and a
    // combining accent become the single accented letter the code page has.
    return ansiSafe(decoded.normalized(QString::NormalizationForm_C));
}

QString ansiSafe(const QString &text)
{
    QString out = text;
    qsizetype o = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        out[o++] = byteOf(text[i].unicode()) < 0 ? QLatin1Char('?') : text[i];
        if (pairedSurrogate(text, i))
            ++i;
    }
    out.truncate(o);
    return out;
}

int ansiCompare(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        // A character the code page lacks is written as '?', so it orders as one.
        int ca = byteOf(a[i].unicode());
        int cb = byteOf(b[i].unicode());
        if (ca < 0)
            ca = '?';
        if (cb < 0)
            cb = '?';
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

QString upperAZ(const QString &text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t c = out[i].unicode();
        if (c >= u'a' && c <= u'z')
            out[i] = QChar(static_cast<char16_t>(c - 32));
    }
    return out;
}

Utf8Check checkUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int follow;
        unsigned char min2 = 0x80, max2 = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            follow = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2;
            if (c == 0xE0)
                min2 = 0xA0;
            else if (c == 0xED)
                max2 = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3;
            if (c == 0xF0)
                min2 = 0x90;
            else if (c == 0xF4)
                max2 = 0x8F;
        } else {
            return Utf8Check::Invalid;
        }
        for (int k = 1; k <= follow; ++k) {
            if (i + k >= n)
                return Utf8Check::CutAtEnd;
            const unsigned char d = p[i + k];
            const unsigned char lo = k == 1 ? min2 : 0x80;
            const unsigned char hi = k == 1 ? max2 : 0xBF;
            if (d < lo || d > hi)
                return Utf8Check::Invalid;
        }
        i += follow + 1;
    }
    return Utf8Check::Valid;
}

QString decodeOutsideText(QByteArrayView bytes, bool *cutAtEnd)
{
    QByteArrayView body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body = body.sliced(3);
    const Utf8Check check = checkUtf8(body);
    if (cutAtEnd)
        *cutAtEnd = check == Utf8Check::CutAtEnd;
    // A text cut inside its last character is UTF-8 all the same: the cut
    // character becomes '?' and every accented letter before it survives.
    if (check == Utf8Check::Invalid)
        return fromAnsi(body);
    return utf8ToAnsiText(body);
}

} // namespace platform
