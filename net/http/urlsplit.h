#pragma once
// Splitting of the URLs the HTTP client meets (request, proxy, relocation
// targets), with the relative forms "./" and "../" resolved against a base
// path. Known departures from RFC 3986 kept on purpose, since callers rely on
// them: the last "@" ends the user information; "//host/x" without a scheme is
// a path; "//g", "?y", ";x" and "g#s" are not resolved against the base; an
// IPv6 literal splits at its last ":" (the client speaks IPv4 only). The
// targets of relocations are resolved by ResolvePath, as RFC 3986 says.
#include <QString>

namespace net
{

// Path holds the base path on entry; every output is cleared first.
void SplitUrl(const QString &url, QString &Proto, QString &User, QString &Pass, QString &Host,
              QString &Port, QString &Path);
// 1-based position of an occurrence of sub in s: n < 0 counts from the end
// (-1 is the last), n > 0 from the start; 0 when there is none or n is 0.
int NthPos(const QString &sub, const QString &s, int n);
// The URL cut after the last "/" or ":" before the first "?"; empty if none.
QString UrlPath(const QString &url);
// The path and query a relative reference names from a base path and query
// (RFC 3986, 5.2.2 and 5.2.4: "../ok2", "?y=1", "./c", "#s" ...). The
// reference has neither scheme nor authority; its fragment is dropped.
QString ResolvePath(const QString &basePathQuery, const QString &reference);
// The path with its "." and ".." segments worked out (RFC 3986, 5.2.4).
QString RemoveDotSegments(const QString &path);
// True when the text starts with a scheme followed by "://".
bool HasSchemeAndAuthority(const QString &url);
bool IsXDigit(QChar c);
// 0-15 for a hexadecimal digit of either case.
int XDigit(QChar c);

} // namespace net
