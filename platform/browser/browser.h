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

} // namespace platform
