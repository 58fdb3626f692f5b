#include "designer/core/filecommands.h"

#include "designer/core/designercore.h"

#include "platform/dialogs/dialogs.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "report/build/frcompositereport.h"
#include "report/core/frlocale.h"
#include "report/data/frdictionary.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <QImage>
#include <QStringList>

namespace designer
{

using report::frLoadString;

namespace filecmd_detail
{

bool available(const DesignerState &st, bool Availability::*which)
{
    const bool composite = dynamic_cast<report::TfrCompositeReport *>(st.Report) != nullptr;
    const Availability a =
        computeAvailability(st.DesignMode(), report::frObjects().frDesignerRestrictions, composite);
    return st.Report && a.*which;
}

void showError(const QString &text)
{
    platform::MessageDlgWithCaption(frLoadString(55206), text, platform::mtError, platform::mbOK);
}

// Runs a restore step when it goes out of scope, also while an exception
// unwinds.
class Restore
{
public:
    explicit Restore(std::function<void()> f) : m_f(std::move(f)) {}
    ~Restore()
    {
        try {
            m_f();
        } catch (...) {
            // A restore step that fails must not hide the error being shown.
        }
    }
    Restore(const Restore &) = delete;
    Restore &operator=(const Restore &) = delete;

private:
    std::function<void()> m_f;
};

} // namespace filecmd_detail

QString frOpenFilter()
{
    return frLoadString(55213) + QStringLiteral(" (*.frf)|*.frf|") + frLoadString(55215) +
           QStringLiteral(" (*.frd)|*.frd");
}

QString frSaveFilter(bool templates)
{
    return frLoadString(55213) + QStringLiteral(" (*.frf)|*.frf|") +
           (templates ? frLoadString(55214) + QStringLiteral(" (*.frt)|*.frt|") : QString()) +
           frLoadString(55215) + QStringLiteral(" (*.frd)|*.frd");
}

QString frBaseName(const QString &fileName)
{
    const qsizetype slash =
        std::max(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    return fileName.mid(slash + 1);
}

QString frWithExtension(const QString &fileName, const QString &extension)
{
    const QString base = frBaseName(fileName);
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return fileName + extension;
    return fileName.left(fileName.size() - base.size() + dot) + extension;
}

FileCommands::FileCommands(DesignerCore &core) : m_core(core)
{
    const DesignerState &st = core.state;
    m_fileName = st.Report && st.DesignMode() == 1 && !st.Report->FileName.isEmpty()
                     ? st.Report->FileName
                     : frLoadString(55209);
}

QString FileCommands::fileName() const
{
    return readFileName ? readFileName() : m_fileName;
}

void FileCommands::setFileName(const QString &name)
{
    m_fileName = name;
    if (writeFileName)
        writeFileName(name);
}

bool FileCommands::untitled() const
{
    const QString name = fileName();
    return name.isEmpty() || name == frLoadString(55209);
}

void FileCommands::startAfresh(const QString &name)
{
    DesignerState &st = m_core.state;
    m_core.undo.ClearUndoBuffer();
    m_core.undo.ClearRedoBuffer();
    st.UnselectAll();
    st.setLastSelected(nullptr);
    setFileName(name);
    m_core.state.markModified(false);
    if (st.Report)
        st.Report->ChangedInDesign = true;
    m_core.state.turnToPage(0);
    st.View.undoStateChanged();
}

void FileCommands::saveFailed(const QString &name, const QString &reason)
{
    // The system's reason (a full disk) tells the user what to do before
    // saving again; the template stays as it is in the window.
    filecmd_detail::showError(frLoadString(55470) + name +
                              (reason.isEmpty() ? QString() : QStringLiteral("\n\n") + reason));
}

int FileCommands::saveQuestion() const
{
    const QString text = frLoadString(55306) + QLatin1Char(' ') + frLoadString(55336) +
                         QLatin1Char(' ') + frBaseName(fileName()) + QLatin1Char('?');
    return platform::MessageDlgWithCaption(frLoadString(55006), text, platform::mtConfirmation,
                                           platform::mbYesNoCancel);
}

bool FileCommands::askToSave()
{
    if (!m_core.state.isModified())
        return true;
    int answer = 0;
    return settleChanges(answer);
}

bool FileCommands::settleChanges(int &answer)
{
    answer = saveQuestion();
    if (answer == platform::mrYes) {
        Save();
        return SaveCompleted;
    }
    return answer == platform::mrNo;
}

void FileCommands::New()
{
    DesignerState &st = m_core.state;
    if (!filecmd_detail::available(st, &Availability::newReport) || !askToSave())
        return;
    // The pages go: nothing may point at them meanwhile.
    st.Designer.Page = nullptr;
    st.Report->Clear();
    report::TfrPage *page = st.Report->Pages().Add();
    page->CreateUniqueName();
    startAfresh(frLoadString(55209));
    if (st.Requests.dbFieldsRefresh)
        st.Requests.dbFieldsRefresh();
}

void FileCommands::NewFromTemplate()
{
    DesignerState &st = m_core.state;
    if (!filecmd_detail::available(st, &Availability::newReport) || !st.Requests.templates)
        return;
    // The template replaces the report: its changes are offered for saving
    // first, as for a new report.
    if (!askToSave())
        return;
    const std::optional<QString> chosen = st.Requests.templates();
    if (!chosen || !platform::LineFile::exists(*chosen))
        return;
    // The model is read aside: one that cannot be read leaves the report,
    // its name and its history as they were.
    QStringList description;
    QImage picture;
    st.Report->LoadTemplate(*chosen, description, picture, true);
    using Outcome = report::TfrReport::LoadOutcome;
    if (st.Report->lastLoad() != Outcome::Loaded &&
        st.Report->lastLoad() != Outcome::MissingClasses)
        return;
    m_core.undo.ClearUndoBuffer();
    m_core.undo.ClearRedoBuffer();
    st.UnselectAll();
    st.setLastSelected(nullptr);
    st.Designer.Page = nullptr;
    if (st.Report->Pages().Count() == 0)
        st.Report->Pages().Add();
    setFileName(frLoadString(55209));
    m_core.state.turnToPage(0);
    st.View.undoStateChanged();
}

void FileCommands::Open()
{
    DesignerState &st = m_core.state;
    // The prepared-page editor's page belongs to the engine: the command
    // refuses there, whatever its button shows.
    if (!filecmd_detail::available(st, &Availability::open) || !askToSave())
        return;
    platform::TOpenDialog dialog(dialogOwner);
    dialog.Filter = frOpenFilter();
    dialog.FilterIndex = 1;
    bool chosen = false;
    {
        if (lockPainting)
            lockPainting(true);
        filecmd_detail::Restore unlock([this] {
            if (lockPainting)
                lockPainting(false);
        });
        chosen = dialog.Execute();
    }
    if (!chosen)
        return;
    const QString name = dialog.FileName;

    if (dialog.FilterIndex == 2) {
        // A dictionary: read aside, taken whole or not at all.
        report::TfrDataDictionary read;
        try {
            read.LoadFromFile(name);
        } catch (const platform::Exception &e) {
            filecmd_detail::showError(e.Message());
            return;
        } catch (const std::exception &e) {
            filecmd_detail::showError(QString::fromUtf8(e.what()));
            return;
        }
        // The dictionary it replaces can be brought back.
        m_core.undo.RecordDictionary();
        report::TfrDataDictionary &dict = st.Report->Dictionary();
        dict.Variables.Assign(read.Variables);
        dict.FieldAliases.Assign(read.FieldAliases);
        dict.BandDataSources.Assign(read.BandDataSources);
        m_core.state.markModified(true);
        if (st.Requests.dbFieldsRefresh)
            st.Requests.dbFieldsRefresh();
        return;
    }

    // A missing file changes nothing; one that cannot be read says so.
    if (!platform::LineFile::present(name))
        return;
    if (!platform::LineFile::exists(name)) {
        // A folder or pipe of that name is not opened: it cannot be read.
        filecmd_detail::showError(QStringLiteral("Impossible d'ouvrir le fichier ") + name);
        return;
    }
    // The report reads the file aside and takes it only once read whole: a
    // file refused (its name and reason said) leaves the template, its
    // name and its history as they were.
    const bool loaded = st.Report->LoadFromFile(name);
    if (loaded && st.Report->lastLoad() == report::TfrReport::LoadOutcome::Empty) {
        filecmd_detail::showError(report::frFileNotReadText(name, frLoadString(55345)));
        return;
    }
    if (!loaded)
        return;
    // The pages shown have gone.
    st.Designer.Page = nullptr;
    if (st.Report->Pages().Count() == 0)
        st.Report->Pages().Add();
    startAfresh(name);
    if (st.Requests.dbFieldsRefresh)
        st.Requests.dbFieldsRefresh();
}

void FileCommands::Save()
{
    DesignerState &st = m_core.state;
    if (!filecmd_detail::available(st, &Availability::save))
        return;
    if (untitled()) {
        SaveAs();
        return;
    }
    SaveCompleted = false;
    const QString name = fileName();
    if (!st.Report->SaveToFile(name)) {
        saveFailed(name, st.Report->lastSaveError());
        return;
    }
    SaveCompleted = true;
    m_core.state.markModified(false);
}

void FileCommands::SaveAs()
{
    DesignerState &st = m_core.state;
    if (!filecmd_detail::available(st, &Availability::save))
        return;
    SaveCompleted = false;
    // Without the dialog that describes a template, the type is not offered.
    const bool templates = bool(st.Requests.newTemplate);
    QStringList types = {QStringLiteral(".frf"), QStringLiteral(".frt"), QStringLiteral(".frd")};
    if (!templates)
        types.removeAt(1);
    auto extensionOf = [types](int filterIndex) {
        return types[filterIndex >= 1 && filterIndex <= types.size() ? filterIndex - 1 : 0];
    };
    platform::TSaveDialog dialog(dialogOwner);
    dialog.Filter = frSaveFilter(templates);
    dialog.FileName = fileName();
    dialog.FilterIndex = 1;
    dialog.WrittenName = [extensionOf](const QString &chosen, int filterIndex) {
        return frWithExtension(chosen, extensionOf(filterIndex));
    };
    // Another report, template or dictionary is replaced only when the user
    // says so; the file being edited is saved again without a question.
    dialog.OverwritePrompt = true;
    if (!untitled())
        dialog.CurrentFile = fileName();
    if (!dialog.Execute())
        return;
    const QString extension = extensionOf(dialog.FilterIndex);
    const QString name = frWithExtension(dialog.FileName, extension);
    const int type = extension == QLatin1String(".frt")   ? 2
                     : extension == QLatin1String(".frd") ? 3
                                                          : 1;
    switch (type) {
    case 2: {
        const std::optional<NewTemplateChoice> choice = st.Requests.newTemplate();
        if (!choice)
            return;
        if (!st.Report->SaveTemplate(name, choice->description, choice->picture)) {
            saveFailed(name, st.Report->lastSaveError());
            return;
        }
        // The changes are in the template written, not in the report's own
        // file: the report stays under its own name (or untitled) and still
        // modified, so that closing asks before its changes are left behind.
        SaveCompleted = true;
        return;
    }
    case 3:
        try {
            st.Report->Dictionary().SaveToFile(name);
        } catch (const platform::Exception &e) {
            saveFailed(name, e.Message());
        } catch (const std::exception &) {
            saveFailed(name);
        }
        return;
    default:
        if (!st.Report->SaveToFile(name)) {
            saveFailed(name, st.Report->lastSaveError());
            return;
        }
        setFileName(name);
        SaveCompleted = true;
        break;
    }
    m_core.state.markModified(false);
}

void FileCommands::Preview()
{
    DesignerState &st = m_core.state;
    if (!filecmd_detail::available(st, &Availability::preview))
        return;
    report::TfrReport *rep = st.Report;
    const bool modalPreview = rep->ModalPreview;
    const bool modified = st.isModified();
    rep->ModalPreview = true;
    if (processEvents)
        processEvents();
    st.UnselectAll();
    st.setLastSelected(nullptr);
    if (st.page())
        m_core.surface.Draw(10000, std::nullopt);
    // The build takes the template apart and makes it anew: the designer
    // lets go of its page and finds its objects again afterwards.
    m_core.templateAboutToRebuild();
    st.Designer.Page = nullptr;
    if (lockPainting)
        lockPainting(true);
    if (st.Requests.inspectorLock)
        st.Requests.inspectorLock(true);

    filecmd_detail::Restore restore([&] {
        rep->ModalPreview = modalPreview;
        if (lockPainting)
            lockPainting(false);
        if (st.Requests.inspectorLock)
            st.Requests.inspectorLock(false);
        m_core.templateRebuilt();
        m_core.state.markModified(modified);
        m_core.state.turnToPage(st.CurPage);
        st.View.selectionChanged();
        st.View.undoStateChanged();
        if (restoreCursor)
            restoreCursor();
    });
    if (rep->PrepareReport())
        rep->ShowPreparedReport();
}

bool FileCommands::CloseQuery(int &modalResult)
{
    const DesignerState &st = m_core.state;
    if (!st.Report || !st.isModified() || st.DesignMode() == 0 ||
        DesignerState::restricted(drNoSaveReport))
        return true;
    int answer = 0;
    const bool goOn = settleChanges(answer);
    if (answer == platform::mrNo)
        modalResult = platform::mrCancel;
    return goOn;
}

std::shared_ptr<FileCommands> installFileCommands(DesignerCore &core)
{
    auto files = std::make_shared<FileCommands>(core);
    RequestSlots &req = core.state.Requests;
    req.commands[QStringLiteral("FileBtn1Click")] = [files] { files->New(); };
    req.commands[QStringLiteral("N23Click")] = [files] { files->NewFromTemplate(); };
    req.commands[QStringLiteral("FileBtn2Click")] = [files] { files->Open(); };
    req.commands[QStringLiteral("FileBtn3Click")] = [files] { files->Save(); };
    req.commands[QStringLiteral("N20Click")] = [files] { files->SaveAs(); };
    req.commands[QStringLiteral("FileBtn4Click")] = [files] { files->Preview(); };
    req.closeQuery = [files](int &modalResult) { return files->CloseQuery(modalResult); };
    return files;
}

} // namespace designer
