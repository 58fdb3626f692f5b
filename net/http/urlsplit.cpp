#include "net/http/urlsplit.h"

namespace net
{

namespace
{

// Cut after the last "/", or "/" when there is none.
QString directoryOf(const QString &path)
{
    int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash >= 0 ? path.left(slash + 1) : QStringLiteral("/");
}

bool isSchemeChar(QChar c)
{
    ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '+' || u == '-' || u == '.';
}

} // namespace

void SplitUrl(const QString &url, QString &Proto, QString &User, QString &Pass, QString &Host,
              QString &Port, QString &Path)
{
    QString base = Path;
    Proto.clear();
    User.clear();
    Pass.clear();
    Host.clear();
    Port.clear();
    Path.clear();
    if (url.isEmpty())
        return;

    if (url.startsWith(QLatin1String("./"))) {
        Path = directoryOf(base) + url.mid(2);
        return;
    }
    if (url.startsWith(QLatin1String("../"))) {
        QString dir = directoryOf(base);
        QString rest = url;
        while (rest.startsWith(QLatin1String("../"))) {
            rest = rest.mid(3);
            if (dir.endsWith(QLatin1Char('/')))
                dir.chop(1);
            dir = directoryOf(dir);
        }
        Path = dir + rest;
        return;
    }

    int start = 0;
    int scheme = url.indexOf(QLatin1String("://"));
    if (scheme >= 0) {
        QString name = url.left(scheme).toLower();
        bool valid = true;
        for (QChar c : name)
            if (!isSchemeChar(c)) {
                valid = false;
                break;
            }
        if (valid) {
            Proto = name;
            start = scheme + 3;
        } else {
            Proto = QStringLiteral("http");
            scheme = -1;
        }
    }
    if (scheme < 0) {
        if (url.startsWith(QLatin1Char('/'))) {
            Proto = QStringLiteral("http");
            if (url.size() == 1 || url.at(1) != QLatin1Char('/')) {
                Path = url;
                return;
            }
            start = 1;
        } else if (url.left(5).toLower() == QLatin1String("http:")) {
            Proto = QStringLiteral("http");
            if (url.size() >= 7 && url.at(6) != QLatin1Char('/')) {
                Path = url.mid(5);
                return;
            }
            start = 6;
        } else if (url.left(7).toLower() == QLatin1String("mailto:")) {
            Proto = QStringLiteral("mailto");
            start = url.indexOf(QLatin1Char(':')) + 1;
        } else if (Proto.isEmpty()) {
            start = 0;
        }
    }

    QString rest = url.mid(start);
    int slash = rest.indexOf(QLatin1Char('/'));
    int query = rest.indexOf(QLatin1Char('?'));
    int pathStart = -1;
    if (query >= 0 && (slash < 0 || query < slash))
        pathStart = query;
    else
        pathStart = slash;
    QString authority = rest;
    if (pathStart >= 0) {
        Path = rest.mid(pathStart);
        authority = rest.left(pathStart);
    }

    int colon = authority.lastIndexOf(QLatin1Char(':'));
    int at = authority.lastIndexOf(QLatin1Char('@'));
    if (colon < 0 && at < 0) {
        Host = authority;
        return;
    }
    if (colon > at) {
        Port = authority.mid(colon + 1);
        Host = authority.mid(at + 1, colon - at - 1);
        if (at < 0)
            return;
    } else {
        Host = authority.mid(at + 1);
    }
    QString userInfo = authority.left(at);
    int sep = userInfo.indexOf(QLatin1Char(':'));
    if (sep >= 0) {
        User = userInfo.left(sep);
        Pass = userInfo.mid(sep + 1);
    } else {
        User = userInfo;
    }
}

int NthPos(const QString &sub, const QString &s, int n)
{
    if (n == 0 || sub.isEmpty())
        return 0;
    if (n < 0) {
        int from = s.size();
        int found = -1;
        for (int i = 0; i < -n; ++i) {
            if (from < 0)
                return 0;
            found = s.lastIndexOf(sub, from);
            if (found < 0)
                return 0;
            from = found - 1;
        }
        return found + 1;
    }
    int from = 0;
    int found = -1;
    for (int i = 0; i < n; ++i) {
        found = s.indexOf(sub, from);
        if (found < 0)
            return 0;
        from = found + 1;
    }
    return found + 1;
}

QString UrlPath(const QString &url)
{
    int query = url.indexOf(QLatin1Char('?'));
    QString head = query >= 0 ? url.left(query) : url;
    int cut = qMax(head.lastIndexOf(QLatin1Char('/')), head.lastIndexOf(QLatin1Char(':')));
    if (cut < 0)
        return QString();
    return url.left(cut + 1);
}

QString RemoveDotSegments(const QString &path)
{
    QString input = path;
    QString output;
    auto dropLastSegment = [&output] {
        const qsizetype slash = output.lastIndexOf(QLatin1Char('/'));
        output.truncate(slash < 0 ? 0 : slash);
    };
    while (!input.isEmpty()) {
        if (input.startsWith(QLatin1String("../"))) {
            input.remove(0, 3);
        } else if (input.startsWith(QLatin1String("./"))) {
            input.remove(0, 2);
        } else if (input.startsWith(QLatin1String("/./"))) {
            input.remove(0, 2);
        } else if (input == QLatin1String("/.")) {
            input = QStringLiteral("/");
        } else if (input.startsWith(QLatin1String("/../"))) {
            input.remove(0, 3);
            dropLastSegment();
        } else if (input == QLatin1String("/..")) {
            input = QStringLiteral("/");
            dropLastSegment();
        } else if (input == QLatin1String(".") || input == QLatin1String("..")) {
            input.clear();
        } else {
            qsizetype next = input.indexOf(QLatin1Char('/'), 1);
            if (next < 0)
                next = input.size();
            output += input.left(next);
            input.remove(0, next);
        }
    }
    return output;
}

QString ResolvePath(const QString &basePathQuery, const QString &reference)
{
    QString ref = reference;
    const qsizetype hash = ref.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        ref.truncate(hash);
    const qsizetype baseQuery = basePathQuery.indexOf(QLatin1Char('?'));
    const QString basePath = baseQuery >= 0 ? basePathQuery.left(baseQuery) : basePathQuery;
    if (ref.isEmpty())
        return basePathQuery;
    if (ref.startsWith(QLatin1Char('?')))
        return basePath + ref;
    const qsizetype query = ref.indexOf(QLatin1Char('?'));
    const QString refPath = query >= 0 ? ref.left(query) : ref;
    const QString refQuery = query >= 0 ? ref.mid(query) : QString();
    if (refPath.startsWith(QLatin1Char('/')))
        return RemoveDotSegments(refPath) + refQuery;
    const qsizetype slash = basePath.lastIndexOf(QLatin1Char('/'));
    const QString merged = (slash < 0 ? QStringLiteral("/") : basePath.left(slash + 1)) + refPath;
    return RemoveDotSegments(merged) + refQuery;
}

bool HasSchemeAndAuthority(const QString &url)
{
    const qsizetype end = url.indexOf(QLatin1String("://"));
    if (end <= 0)
        return false;
    for (qsizetype i = 0; i < end; ++i) {
        const ushort u = url.at(i).toLower().unicode();
        const bool letter = u >= 'a' && u <= 'z';
        if (i == 0 ? !letter
                   : !(letter || (u >= '0' && u <= '9') || u == '+' || u == '-' || u == '.'))
            return false;
    }
    return true;
}

bool IsXDigit(QChar c)
{
    ushort u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

int XDigit(QChar c)
{
    ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return 0;
}

} // namespace net
