#include "platform/browser/browser.h"

#include "platform/text/codec.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <vector>

namespace platform
{

TWebBrowser::TWebBrowser(const QString &name, QWidget *parent) : QTextBrowser(parent)
{
    setObjectName(name);
    setOpenLinks(false);
    // Web browsers centre a cell's content vertically unless the page says
    // otherwise; the rich text reader puts it at the top.
    document()->setDefaultStyleSheet(QStringLiteral("td, th { vertical-align: middle; }"));
}

void TWebBrowser::Navigate(const QString &path)
{
    m_location = path;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        clear();
        return;
    }
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = fromAnsi(bytes);
    setHtml(asBrowsersRead(text));
}

QString asBrowsersRead(const QString &html)
{
    // Tags, comments and the raw bodies of style and script, which hold no
    // tags however they look.
    static const QRegularExpression token(
        QStringLiteral(
            "<!--.*?-->|<(style|script)\\b.*?</\\1\\s*>|<(/?)([A-Za-z][A-Za-z0-9]*)[^>]*>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    enum Kind { Table, Row, Cell };
    // The open tables, rows and cells, innermost last.
    std::vector<Kind> open;
    auto inTableScope = [&](Kind k) {
        for (auto it = open.rbegin(); it != open.rend(); ++it) {
            if (*it == k)
                return true;
            if (*it == Table)
                return false;
        }
        return false;
    };
    auto closeTo = [&](Kind k) {
        while (!open.empty() && open.back() != k)
            open.pop_back();
        if (!open.empty())
            open.pop_back();
    };
    QString out;
    out.reserve(html.size());
    qsizetype copied = 0;
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1).compare(QLatin1String("style"), Qt::CaseInsensitive) == 0) {
            // Old pages hide their rules from old browsers in a comment; the
            // style reader drops the whole sheet at those marks.
            QString style = m.captured(0);
            if (style.contains(QLatin1String("<!--")) || style.contains(QLatin1String("-->"))) {
                out += QStringView(html).mid(copied, m.capturedStart() - copied);
                out += style.replace(QLatin1String("<!--"), QLatin1String("    "))
                           .replace(QLatin1String("-->"), QLatin1String("   "));
                copied = m.capturedEnd();
            }
            continue;
        }
        const QString name = m.captured(3).toLower();
        Kind k;
        if (name == QLatin1String("table"))
            k = Table;
        else if (name == QLatin1String("tr"))
            k = Row;
        else if (name == QLatin1String("td") || name == QLatin1String("th"))
            k = Cell;
        else
            continue;
        if (m.captured(2).isEmpty()) {
            if (k != Table) {
                static const QRegularExpression middle(
                    QStringLiteral("(\\salign\\s*=\\s*)(\"middle\"|'middle'|middle\\b)"),
                    QRegularExpression::CaseInsensitiveOption);
                QString tag = m.captured(0);
                if (tag.contains(middle)) {
                    tag.replace(middle, QStringLiteral("\\1\"center\""));
                    out += QStringView(html).mid(copied, m.capturedStart() - copied);
                    out += tag;
                    copied = m.capturedEnd();
                }
            }
            // A new row or cell ends the one open in the same table.
            if (k == Row && inTableScope(Row))
                closeTo(Row);
            else if (k == Cell && inTableScope(Cell))
                closeTo(Cell);
            open.push_back(k);
        } else if (k == Table ? std::find(open.begin(), open.end(), Table) != open.end()
                              : inTableScope(k)) {
            closeTo(k);
        } else {
            out += QStringView(html).mid(copied, m.capturedStart() - copied);
            copied = m.capturedEnd();
        }
    }
    out += QStringView(html).mid(copied);
    return out;
}

} // namespace platform
