#include "platform/shell/shell.h"

#include <QDir>
#include <QStandardPaths>

#include "platform/dialogs/dialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>
#include <optional>

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

// How long the opener may take to say that nothing could open a link. One
// still running then runs the program it started (openers that wait for
// their program) and has succeeded.
constexpr int kOpenerAnswerMs = 2000;
constexpr int kQueryAnswerMs = 5000;

// The program the desktop names for a scheme's links ("" when none); empty
// optional when the desktop could not be asked.
std::optional<QString> schemeHandler(const QString &scheme)
{
    QProcess query;
    query.setStandardInputFile(QProcess::nullDevice());
    query.setStandardErrorFile(QProcess::nullDevice());
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("x-scheme-handler/") + scheme});
    if (!query.waitForStarted())
        return std::nullopt;
    if (!query.waitForFinished(kQueryAnswerMs)) {
        query.kill();
        query.waitForFinished();
        return std::nullopt;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

// Links go to the desktop's opener, whose exit status tells whether a
// program took them (the desktop's own services report success as soon as
// they have started something, which hid a missing mail program).
int openLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    // With no mail program the opener would fall back to a web browser,
    // which sends no mail.
    if (scheme == QLatin1String("mailto")) {
        const std::optional<QString> handler = schemeHandler(scheme);
        if (handler && handler->isEmpty())
            return SE_ERR_NOASSOC;
    }
    auto opener = std::make_unique<QProcess>();
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    // One argument, never a command line: nothing in the link is run.
    opener->start(QStringLiteral("xdg-open"), {QString::fromLatin1(url.toEncoded())});
    if (!opener->waitForStarted())
        return SE_ERR_NOASSOC;
    if (opener->waitForFinished(kOpenerAnswerMs))
        return opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0
                   ? SHELL_OK
                   : SE_ERR_NOASSOC;
    // Handed to the application, so that it finishes on its own instead of
    // being stopped here.
    QProcess *running = opener.release();
    running->setParent(QCoreApplication::instance());
    QObject::connect(running, &QProcess::finished, running, &QObject::deleteLater);
    return SHELL_OK;
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
        if (looksLikeUrl(file)) {
            const QUrl url(file, QUrl::TolerantMode);
            return url.isValid() ? openLink(url) : SE_ERR_FNF;
        }
        if (!QFileInfo::exists(file))
            return SE_ERR_FNF;
        const QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
        if (!url.isValid())
            return SE_ERR_FNF;
        // As for links: the desktop's services report success once they have
        // started the opener, even when no program takes the file.
        return openLink(url);
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

int OpenDocument(const QString &path)
{
    return ShellExecute(QStringLiteral("open"), path, QString(), QString(), SW_SHOW);
}

QString DocumentNotOpened(const QString &path, int result)
{
    if (result == SE_ERR_FNF)
        return QStringLiteral("Le document d'aide\r\r%1\r\rest introuvable").arg(path);
    return QStringLiteral("Aucun logiciel n'a pu ouvrir le document d'aide\r\r%1\r\rLe lecteur "
                          "de documents PDF par défaut n'est pas installé correctement")
        .arg(path);
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
