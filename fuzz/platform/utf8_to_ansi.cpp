// Outside UTF-8 text (federation extracts, saved pages, iCalendar files) as
// the importers take it: converted to the code page, split into lines as a
// data file is read, then written back and read again.
#include "platform/text/codec.h"
#include "platform/text/linefile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

namespace
{

QStringList splitLikeLineFile(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = platform::utf8ToAnsiText(bytes);
    // Every character survives the trip to the code page and back.
    const QByteArray ansi = platform::toAnsi(text);
    check(ansi.size() == text.size());
    check(platform::fromAnsi(ansi) == text);
    check(platform::ansiSafe(text) == text);

    const QStringList lines = splitLikeLineFile(text);
    for (const QString &line : lines) {
        check(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
        for (int n = 0; n < 4; ++n)
            check(!platform::Champ(line, n).contains(QLatin1Char(';')));
        check(platform::upperAZ(line).size() == line.size());
        check(platform::ansiCompare(line, line) == 0);
    }
    // Written with CR LF and read back, the lines come back whole.
    QByteArray file;
    for (const QString &line : lines)
        file += platform::toAnsi(line) + "\r\n";
    check(splitLikeLineFile(platform::fromAnsi(file)) == lines);
    return 0;
}
