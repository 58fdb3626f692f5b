#include "platform/shell/shell.h"

#include <QDir>
#include <QStandardPaths>

#include "platform/dialogs/dialogs.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace platform
{

const QString kMailMissing =
    QStringLiteral("Le courier électronique par défaut\r\rn'est pas installé correctement");
const QString kBrowserMissing =
    QStringLiteral("Le logiciel de surff par défaut\r\rn'est pas installé correctement");

namespace
{

bool looksLikeUrl(const QString &file)
{
    if (file.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return true;
    const qsizetype colon = file.indexOf(QLatin1String("://"));
    return colon > 1;
}

class DesktopShell : public Shell
{
public:
    int execute(const QString &, const QString &file, const QString &, const QString &,
                int) override
    {
        // Every verb the program uses ("open", "Open") opens with the default
        // program; the desktop has no other verbs to offer.
        if (file.isEmpty())
            return SE_ERR_FNF;
        QUrl url;
        if (looksLikeUrl(file)) {
            url = QUrl(file, QUrl::TolerantMode);
        } else {
            if (!QFileInfo::exists(file))
                return SE_ERR_FNF;
            url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
        }
        if (!url.isValid())
            return SE_ERR_FNF;
        return QDesktopServices::openUrl(url) ? SHELL_OK : SE_ERR_NOASSOC;
    }
};

std::unique_ptr<Shell> &current()
{
    static std::unique_ptr<Shell> shell = std::make_unique<DesktopShell>();
    return shell;
}

bool handOver(const QString &target, const QString &warning)
{
    if (ShellExecute(QStringLiteral("Open"), target, QString(), QString(), SW_SHOW) > 32)
        return true;
    MessageDlg(warning, mtWarning, mbYes);
    return false;
}

} // namespace

Shell &shell()
{
    return *current();
}

std::unique_ptr<Shell> setShell(std::unique_ptr<Shell> shell)
{
    if (!shell)
        shell = std::make_unique<DesktopShell>();
    current().swap(shell);
    return shell;
}

int ShellExecute(const QString &verb, const QString &file, const QString &parameters,
                 const QString &directory, int showCommand)
{
    return shell().execute(verb, file, parameters, directory, showCommand);
}

bool OpenMailLink(const QString &link)
{
    return handOver(link, kMailMissing);
}

bool OpenWebPage(const QString &address)
{
    return handOver(address, kBrowserMissing);
}

void OpenDocument(const QString &path)
{
    ShellExecute(QStringLiteral("open"), path, QString(), QString(), SW_SHOW);
}

namespace
{
QString &dossierDocuments()
{
    static QString dossier;
    return dossier;
}
} // namespace

QString DocumentsFolder()
{
    if (!dossierDocuments().isEmpty())
        return dossierDocuments();
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

void setDocumentsFolder(const QString &folder)
{
    dossierDocuments() = folder;
}

} // namespace platform
