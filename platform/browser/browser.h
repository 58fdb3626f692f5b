#pragma once
// The embedded browser of a window: shows a local page or extract.
#include <QTextBrowser>

namespace platform
{

class TWebBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    explicit TWebBrowser(const QString &name, QWidget *parent = nullptr);

    // Shows the file; its bytes are UTF-8 when they decode as such, else
    // Windows-1252. A file that cannot be read shows nothing.
    void Navigate(const QString &path);
    QString LocationName() const { return m_location; }

private:
    QString m_location;
};

// The markup as web browsers read it, for the rich text reader: the end
// tags of cells, rows and tables that close nothing open in the innermost
// table are dropped (browsers ignore them; the reader would close the
// enclosing table's row at a stray "</tr>" and pour the rest of an inner
// table into the outer one), and align="middle" on a cell or row centres it
// as browsers do (the reader ignores that value); the comment marks "<!--"
// and "-->" around a style sheet's rules are blanked (browsers skip them;
// the style reader would drop the whole sheet). Nothing else changes.
QString asBrowsersRead(const QString &html);

} // namespace platform
