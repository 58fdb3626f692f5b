// Any bytes as a URL and a base path (separated by the first byte 0): the
// splitter must neither crash nor loop, and what it returns must come from
// its input.
#include "net/http/urlsplit.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    qsizetype zero = bytes.indexOf('\0');
    QString url = QString::fromLatin1(zero >= 0 ? bytes.left(zero) : bytes);
    QString base = zero >= 0 ? QString::fromLatin1(bytes.mid(zero + 1)) : QString();
    QString proto, user, pass, host, port, path = base;
    net::SplitUrl(url, proto, user, pass, host, port, path);
    // Every part but the path is a piece of the URL; the path is at most
    // the base and the URL together.
    for (const QString *part : {&user, &pass, &host, &port})
        if (!url.contains(*part))
            std::abort();
    if (path.size() > url.size() + base.size() + 1)
        std::abort();
    net::NthPos(QStringLiteral("/"), url, -1);
    net::NthPos(base.left(2), url, 2);
    QString prefix = net::UrlPath(url);
    if (!url.startsWith(prefix))
        std::abort();
    for (QChar c : url)
        if (net::IsXDigit(c) && net::XDigit(c) > 15)
            std::abort();
    return 0;
}
