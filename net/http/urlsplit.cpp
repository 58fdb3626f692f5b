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
