#pragma once
// Scripted stand-ins for the dialog, shell and clock seams. Each records what
// the program asked for; dialogs answer from script queues.
#include "platform/clock/clock.h"
#include "platform/dialogs/dialogs.h"
#include "platform/shell/shell.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace vorn_test
{

class ScriptedDialogs : public platform::Dialogs
{
public:
    struct FolderRequest {
        QString caption;
        QString root;
    };
    struct InputRequest {
        QString caption;
        QString prompt;
        QString text;
        QString extraButton = {};
    };

    // What was shown, in order.
    std::vector<platform::MessageRequest> messages;
    std::vector<platform::FileRequest> openRequests;
    std::vector<platform::FileRequest> saveRequests;
    // The window each open or save dialog was given, in order.
    std::vector<QWidget *> fileParents;
    std::vector<FolderRequest> folderRequests;
    std::vector<InputRequest> inputRequests;

    // Answers, consumed in order. A message without a scripted answer gets
    // mrOk when it has OK, else mrNo when it has No, else mrCancel; a file
    // or folder dialog without one is cancelled. std::nullopt: cancel.
    std::deque<int> answers;
    std::deque<std::optional<QString>> files;
    std::deque<std::optional<QString>> folders;
    // Texts typed in input boxes; none scripted (or std::nullopt): cancel.
    std::deque<std::optional<QString>> inputs;
    // The input box, counted from 1 over those with a button of the caller's
    // own, that is ended by that button (0: none).
    int extraOnInput = 0;
    // The file type chosen in a file dialog that is not cancelled; none
    // scripted: the one the dialog opened with.
    std::deque<int> filterIndexes;
    // Colour and font dialogs: what they started from, and the answers
    // (none scripted, or std::nullopt: cancel).
    std::vector<std::int32_t> colorRequests;
    std::vector<platform::FontChoice> fontRequests;
    std::deque<std::optional<std::int32_t>> colors;
    std::deque<std::optional<platform::FontChoice>> fonts;

    // Called when a message is shown, before it answers (to look at the
    // program's state while the box is up).
    std::function<void(const platform::MessageRequest &)> onMessage;
    // The same for an open or save dialog, given the window it belongs to.
    std::function<void(QWidget *parent)> onFile;

    int message(const platform::MessageRequest &request, QWidget *parent) override;
    std::optional<platform::FileAnswer> openFile(const platform::FileRequest &request,
                                                 QWidget *parent) override;
    std::optional<platform::FileAnswer> saveFile(const platform::FileRequest &request,
                                                 QWidget *parent) override;
    std::optional<QString> selectDirectory(const QString &caption, const QString &root,
                                           QWidget *parent) override;
    std::optional<QString> inputText(const QString &caption, const QString &prompt,
                                     const QString &text, QWidget *parent) override;
    platform::InputBoxAnswer inputBox(const platform::InputBoxRequest &request,
                                      QWidget *parent) override;
    std::optional<std::int32_t> chooseColor(std::int32_t start, QWidget *parent) override;
    std::optional<platform::FontChoice> chooseFont(const platform::FontChoice &start,
                                                   QWidget *parent) override;

    // The texts of every message shown.
    QStringList texts() const;
    int count(const QString &text) const;

private:
    int takeFilterIndex(int opened);
};

class RecordingShell : public platform::Shell
{
public:
    struct Call {
        QString verb;
        QString file;
        QString parameters;
        QString directory;
        int showCommand;
    };
    std::vector<Call> calls;
    // Results, consumed in order; then defaultResult.
    std::deque<int> results;
    int defaultResult = platform::SHELL_OK;

    int execute(const QString &verb, const QString &file, const QString &parameters,
                const QString &directory, int showCommand) override;
};

class FakeClock : public platform::Clock
{
public:
    platform::TDateTime current = 0;
    mutable std::uint32_t ticks = 0;
    // Each reading of the tick count moves it on by this much (work takes time).
    std::uint32_t tickStep = 0;
    // Sleeping moves the clock forward by that much.
    platform::TDateTime now() const override { return current; }
    std::uint32_t tickCount() const override { return ticks += tickStep; }
    void sleep(int milliseconds) override;
};

// Installs fresh fakes of the three seams; the destructor puts the real ones
// back. The fakes belong to the seams; the references stay valid meanwhile.
class SeamFakes
{
public:
    SeamFakes();
    ~SeamFakes();
    SeamFakes(const SeamFakes &) = delete;
    SeamFakes &operator=(const SeamFakes &) = delete;

    ScriptedDialogs &dialogs;
    RecordingShell &shell;
    FakeClock &clock;
};

} // namespace vorn_test
