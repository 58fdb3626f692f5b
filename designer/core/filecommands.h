#pragma once
// The designer's file commands: a new report (empty or from a template),
// open, save, save as, preview, and the question asked before closing. They
// keep the window's file name and whether the last save wrote its file; the
// window lends its caption, painting and cursor through the hooks below.
#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace designer
{

class DesignerCore;

// The open dialog's types: reports and dictionaries.
QString frOpenFilter();
// The save dialog's types: reports, templates (while a template can be
// described) and dictionaries.
QString frSaveFilter(bool templates = true);
// The name with its extension (".frf"...) in place of the one it had, or
// added when it had none; folders keep their dots.
QString frWithExtension(const QString &fileName, const QString &extension);
// The file name without its folder.
QString frBaseName(const QString &fileName);

class FileCommands
{
public:
    explicit FileCommands(DesignerCore &core);

    // --- what the window lends (all optional)
    // The file name: the window keeps it in its caption. Unset, the commands
    // keep it themselves.
    std::function<QString()> readFileName;
    std::function<void(const QString &)> writeFileName;
    // The page surface stops (true) and resumes (false) painting.
    std::function<void(bool locked)> lockPainting;
    // Lets pending window events run.
    std::function<void()> processEvents;
    // The screen cursor back to the arrow.
    std::function<void()> restoreCursor;
    // The owner of the file dialogs.
    QWidget *dialogOwner = nullptr;

    QString fileName() const;
    void setFileName(const QString &name);
    // The untitled name, or no name at all: Save asks for one.
    bool untitled() const;
    // The last Save or Save as wrote a report or a template.
    bool SaveCompleted = false;

    void New();             // FileBtn1Click
    void NewFromTemplate(); // N23Click
    void Open();            // FileBtn2Click
    void Save();            // FileBtn3Click
    void SaveAs();          // N20Click
    void Preview();         // FileBtn4Click
    // Whether the window may close now; on "No" modalResult becomes 2.
    bool CloseQuery(int &modalResult);

private:
    // "Save the changes to <name>?" with Yes, No and Cancel: the answer.
    int saveQuestion() const;
    // The save question when the report is modified: true to go on (the
    // report saved, or its changes given up).
    bool askToSave();
    // The save question asked and acted on (saved on Yes): true to go on.
    // answer is the button pressed.
    bool settleChanges(int &answer);
    // Empty history, the given name, unmodified but changed, page 0.
    void startAfresh(const QString &name);
    void saveFailed(const QString &name, const QString &reason = {});

    DesignerCore &m_core;
    QString m_fileName;
};

// Fills the file commands of a designer ("FileBtn1Click", ...) and its
// close question; the object lives as long as those entries.
std::shared_ptr<FileCommands> installFileCommands(DesignerCore &core);

} // namespace designer
