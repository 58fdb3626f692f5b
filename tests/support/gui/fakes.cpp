#include "tests/support/gui/fakes.h"

namespace vorn_test
{

int ScriptedDialogs::message(const platform::MessageRequest &request, QWidget *)
{
    messages.push_back(request);
    if (onMessage)
        onMessage(request);
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    if (request.buttons & platform::mbOK)
        return platform::mrOk;
    if (request.buttons & platform::mbNo)
        return platform::mrNo;
    return platform::mrCancel;
}

namespace
{
std::optional<platform::FileAnswer> takeFile(std::deque<std::optional<QString>> &files)
{
    if (files.empty())
        return std::nullopt;
    std::optional<QString> next = files.front();
    files.pop_front();
    if (!next)
        return std::nullopt;
    platform::FileAnswer answer;
    answer.files = QStringList{*next};
    return answer;
}
} // namespace

int ScriptedDialogs::takeFilterIndex(int opened)
{
    if (filterIndexes.empty())
        return opened;
    const int index = filterIndexes.front();
    filterIndexes.pop_front();
    return index;
}

std::optional<platform::FileAnswer> ScriptedDialogs::openFile(const platform::FileRequest &request,
                                                              QWidget *parent)
{
    openRequests.push_back(request);
    fileParents.push_back(parent);
    if (onFile)
        onFile(parent);
    auto answer = takeFile(files);
    if (answer)
        answer->filterIndex = takeFilterIndex(request.filterIndex);
    return answer;
}

std::optional<platform::FileAnswer> ScriptedDialogs::saveFile(const platform::FileRequest &request,
                                                              QWidget *parent)
{
    saveRequests.push_back(request);
    fileParents.push_back(parent);
    if (onFile)
        onFile(parent);
    auto answer = takeFile(files);
    if (answer)
        answer->filterIndex = takeFilterIndex(request.filterIndex);
    return answer;
}

std::optional<QString> ScriptedDialogs::selectDirectory(const QString &caption, const QString &root,
                                                        QWidget *)
{
    folderRequests.push_back({caption, root});
    if (folders.empty())
        return std::nullopt;
    std::optional<QString> next = folders.front();
    folders.pop_front();
    return next;
}

std::optional<QString> ScriptedDialogs::inputText(const QString &caption, const QString &prompt,
                                                  const QString &text, QWidget *)
{
    inputRequests.push_back({caption, prompt, text});
    if (inputs.empty())
        return std::nullopt;
    std::optional<QString> next = inputs.front();
    inputs.pop_front();
    return next;
}

platform::InputBoxAnswer ScriptedDialogs::inputBox(const platform::InputBoxRequest &request,
                                                   QWidget *parent)
{
    if (request.extraButton.isEmpty())
        return Dialogs::inputBox(request, parent);
    inputRequests.push_back({request.caption, request.prompt, request.text, request.extraButton});
    if (--extraOnInput == 0)
        return {std::nullopt, true};
    if (inputs.empty())
        return {std::nullopt, false};
    const std::optional<QString> next = inputs.front();
    inputs.pop_front();
    return {next, false};
}

std::optional<std::int32_t> ScriptedDialogs::chooseColor(std::int32_t start, QWidget *)
{
    colorRequests.push_back(start);
    if (colors.empty())
        return std::nullopt;
    std::optional<std::int32_t> next = colors.front();
    colors.pop_front();
    return next;
}

std::optional<platform::FontChoice> ScriptedDialogs::chooseFont(const platform::FontChoice &start,
                                                                QWidget *)
{
    fontRequests.push_back(start);
    if (fonts.empty())
        return std::nullopt;
    std::optional<platform::FontChoice> next = fonts.front();
    fonts.pop_front();
    return next;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList result;
    for (const auto &m : messages)
        result.append(m.text);
    return result;
}

int ScriptedDialogs::count(const QString &text) const
{
    return int(texts().count(text));
}

int RecordingShell::execute(const QString &verb, const QString &file, const QString &parameters,
                            const QString &directory, int showCommand)
{
    calls.push_back({verb, file, parameters, directory, showCommand});
    if (!results.empty()) {
        const int result = results.front();
        results.pop_front();
        return result;
    }
    return defaultResult;
}

void FakeClock::sleep(int milliseconds)
{
    current += milliseconds / 86400000.0;
    ticks += std::uint32_t(milliseconds);
}

SeamFakes::SeamFakes()
    : dialogs([] {
          auto fake = std::make_unique<ScriptedDialogs>();
          ScriptedDialogs *raw = fake.get();
          platform::setDialogs(std::move(fake));
          return std::ref(*raw);
      }()),
      shell([] {
          auto fake = std::make_unique<RecordingShell>();
          RecordingShell *raw = fake.get();
          platform::setShell(std::move(fake));
          return std::ref(*raw);
      }()),
      clock([] {
          auto fake = std::make_unique<FakeClock>();
          FakeClock *raw = fake.get();
          platform::setClock(std::move(fake));
          return std::ref(*raw);
      }())
{
}

SeamFakes::~SeamFakes()
{
    platform::setDialogs(nullptr);
    platform::setShell(nullptr);
    platform::setClock(nullptr);
}

} // namespace vorn_test
