#pragma once
// The shell seam: documents, web pages and "mailto:" links handed to the
// desktop's default programs. Results follow the platform's convention: a
// value greater than 32 is a success.
#include <QString>
#include <memory>

namespace platform
{

constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
// Failure results.
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_NOASSOC = 31;
constexpr int SHELL_OK = 42;

class Shell
{
public:
    virtual ~Shell() = default;
    virtual int execute(const QString &verb, const QString &file, const QString &parameters,
                        const QString &directory, int showCommand) = 0;
};

// The shell in use (the desktop's unless a test installed another).
Shell &shell();
// Installs a shell; nullptr restores the desktop's. Returns the previous one.
std::unique_ptr<Shell> setShell(std::unique_ptr<Shell> shell);

int ShellExecute(const QString &verb, const QString &file, const QString &parameters = QString(),
                 const QString &directory = QString(), int showCommand = SW_SHOW);

// The program's hand-off convention: a "mailto:" link or a web page goes to
// the shell with the verb "Open"; when the shell reports failure the user is
// warned (button Yes) that the default mail program or web browser is not
// installed correctly. Returns true when the shell reported success.
extern const QString kMailMissing; // "Le courier électronique par défaut\r\rn'est pas ..."
extern const QString kBrowserMissing;
bool OpenMailLink(const QString &link);
bool OpenWebPage(const QString &address);
// A document beside the program (help files): verb "open"; returns the
// shell's result (greater than 32: opened).
int OpenDocument(const QString &path);
// What the caller tells the user when OpenDocument gave RESULT for PATH: the
// guide is missing, or no program could open it.
QString DocumentNotOpened(const QString &path, int result);

// The user's documents folder (the home folder when the desktop has none),
// without a trailing separator. Tests point it at a folder of their own.
QString DocumentsFolder();
// Sets the folder DocumentsFolder() gives; an empty one restores the
// desktop's.
void setDocumentsFolder(const QString &folder);

} // namespace platform
