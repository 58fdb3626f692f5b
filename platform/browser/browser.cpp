#include "platform/browser/browser.h"

#include "platform/text/codec.h"

#include <QFile>
#include <QStringDecoder>

namespace platform
{

TWebBrowser::TWebBrowser(const QString &name, QWidget *parent) : QTextBrowser(parent)
{
    setObjectName(name);
    setOpenLinks(false);
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
    setHtml(text);
}

} // namespace platform
