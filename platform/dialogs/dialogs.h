#pragma once
// The dialog seam: message boxes, open and save file dialogs, folder choice.
// The program calls the free functions and the dialog objects below; they go
// through the Dialogs in use: the Qt one, or a scripted fake in tests. Each
// dialog runs inside a ModalScope of its owner window, so that returning from
// it is not an activation of that window.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace platform
{

enum MsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message dialog, combined with |.
enum MsgDlgBtn : unsigned {
    mbYes = 0x1,
    mbNo = 0x2,
    mbOK = 0x4,
    mbCancel = 0x8,
    mbAbort = 0x10,
    mbRetry = 0x20,
    mbIgnore = 0x40,
    mbAll = 0x80,
    mbNoToAll = 0x100,
    mbYesToAll = 0x200,
    mbHelp = 0x400,
};
using MsgDlgButtons = unsigned;
constexpr MsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr MsgDlgButtons mbOKCancel = mbOK | mbCancel;
constexpr MsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;

// The answer of a dialog (the platform's modal results).
enum ModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
    // The caller's own button of a box (MessageRequest::extraButton).
    mrExtra = 100,
};

struct MessageRequest {
    QString text;
    MsgDlgType type = mtInformation;
    MsgDlgButtons buttons = mbOK;
    // Window caption; empty gives the type's French caption ("Avertissement",
    // "Erreur", "Information", "Confirmation") or the application title.
    QString caption;
    // The button Enter presses; 0: OK, else Yes, else Retry.
    MsgDlgButtons defaultButton = 0;
    // A button of the caller's own after the others, answered by mrExtra;
    // Escape and the box's close button press it too. Empty: none.
    QString extraButton = {};
};

// A one-line text entry, with a button of the caller's own as a message may
// have one (extraButton).
struct InputBoxRequest {
    QString caption;
    QString prompt;
    QString text;
    QString extraButton = {};
};

// The text typed, or nothing on "Annuler"; extra: the caller's own button,
// Escape or the close button ended the box.
struct InputBoxAnswer {
    std::optional<QString> text;
    bool extra = false;
};

// An open or save dialog. filter: "Description (*.ext)|*.ext|..." pairs;
// filterIndex counts from 1.
struct FileRequest {
    QString title;
    QString filter;
    int filterIndex = 1;
    QString fileName;   // proposed file name, may hold a folder
    QString initialDir; // starting folder
    QString defaultExt; // added (with a dot) to a name typed without one
    bool multiSelect = false;
    bool overwritePrompt = false; // save: ask before replacing a file
};

struct FileAnswer {
    QStringList files; // one unless multiSelect
    int filterIndex = 1;
};

// A font as the font dialog shows and returns it.
struct FontChoice {
    QString name;
    int size = 10; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const FontChoice &) const = default;
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    virtual int message(const MessageRequest &request, QWidget *parent) = 0;
    virtual std::optional<FileAnswer> openFile(const FileRequest &request, QWidget *parent) = 0;
    virtual std::optional<FileAnswer> saveFile(const FileRequest &request, QWidget *parent) = 0;
    // The chosen folder without a trailing separator, or nothing on cancel.
    virtual std::optional<QString> selectDirectory(const QString &caption, const QString &root,
                                                   QWidget *parent) = 0;
    // A one-line text entry: the text typed, or nothing on cancel.
    virtual std::optional<QString> inputText(const QString &caption, const QString &prompt,
                                             const QString &text, QWidget *parent) = 0;
    // The same with a button of the caller's own; without one, inputText.
    virtual InputBoxAnswer inputBox(const InputBoxRequest &request, QWidget *parent)
    {
        return {inputText(request.caption, request.prompt, request.text, parent), false};
    }
    // The colour dialog, opened in full, starting from a colour (0x00BBGGRR):
    // the chosen colour, or nothing when cancelled. Cancelled unless a
    // stand-in answers.
    virtual std::optional<std::int32_t> chooseColor(std::int32_t start, QWidget *parent)
    {
        (void)start;
        (void)parent;
        return std::nullopt;
    }
    // The font dialog starting from a font: the chosen font, or nothing.
    virtual std::optional<FontChoice> chooseFont(const FontChoice &start, QWidget *parent)
    {
        (void)start;
        (void)parent;
        return std::nullopt;
    }
};

// The dialogs in use (Qt's unless a test installed others).
Dialogs &dialogs();
// Installs dialogs; nullptr restores Qt's. Returns the previous ones.
std::unique_ptr<Dialogs> setDialogs(std::unique_ptr<Dialogs> dialogs);

// The French caption of a message type.
QString messageCaption(MsgDlgType type);

// A message dialog owned by the active window; returns the answer.
int MessageDlg(const QString &text, MsgDlgType type, MsgDlgButtons buttons, int helpContext = 0);
int MessageDlgWithCaption(const QString &caption, const QString &text, MsgDlgType type,
                          MsgDlgButtons buttons);
// A plain message with the application title and the one button OK.
void ShowMessage(const QString &text);

// The input box: the text typed, or defaultText when the user cancels.
QString InputBox(const QString &caption, const QString &prompt, const QString &defaultText);
// A message or an input box with a button of the caller's own, owned by the
// active window.
int MessageDlgWithExtra(const MessageRequest &request);
InputBoxAnswer InputBoxWithExtra(const InputBoxRequest &request);

// Folder choice rooted at root; on OK, directory receives the path without a
// trailing separator and the result is true.
bool SelectDirectory(const QString &caption, const QString &root, QString &directory);

// The open and save dialog components of a window: set the fields, call
// Execute(), read FileName (or Files) when it returns true.
class TOpenDialog
{
public:
    explicit TOpenDialog(QWidget *owner = nullptr) : m_owner(owner) {}
    virtual ~TOpenDialog() = default;

    QString Title;
    QString Filter;
    int FilterIndex = 1;
    QString FileName;
    QString InitialDir;
    QString DefaultExt;
    QStringList Files;
    bool MultiSelect = false;

    virtual bool Execute();

protected:
    FileRequest request() const;
    void take(const FileAnswer &answer);
    QWidget *m_owner;
};

class TSaveDialog : public TOpenDialog
{
public:
    using TOpenDialog::TOpenDialog;
    // Ask before replacing a file that exists (under any letter case, as the
    // file is written): "No" goes back to the dialog.
    bool OverwritePrompt = false;
    // The file the window has open: saving it again replaces it without
    // asking.
    QString CurrentFile;
    // The name the window will write for a chosen name and file type (from
    // 1), when it puts an extension of its own: the question is about that
    // file. Unset: the chosen name itself.
    std::function<QString(const QString &, int)> WrittenName;
    bool Execute() override;
};

// The question asked before a save replaces a file, as the platform's file
// dialogs word it.
QString overwriteQuestion(const QString &fileName);

// Splits a "Description|pattern|..." filter into Qt's name filters, one per
// file type: the text the dialog shows, then the type's patterns in brackets
// (";" becomes a blank), which the dialog hides and filters with. The text
// shown is the description as written when it has brackets of its own, else
// the description followed by its patterns: each type shows them once.
QStringList qtNameFilters(const QString &filter);
// The patterns of filter pair index (from 1), e.g. {"*.Qug", "*.Quc"}.
QStringList filterPatterns(const QString &filter, int index);

} // namespace platform
