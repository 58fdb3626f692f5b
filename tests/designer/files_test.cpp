// The designer's file commands over scripted dialogs and a temporary folder:
// new, open, save and save as with their question, damaged and foreign files,
// failed writes, the question before closing, and the preview.
#include "tests/designer/designer_fixture.h"
#include "tests/report/gui/io_template_builder.h"

#include "designer/core/filecommands.h"
#include "platform/dialogs/dialogs.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "report/core/frlocale.h"
#include "report/core/frstream.h"
#include "report/data/frdictionary.h"
#include "report/objects/frseams.h"

#include <QFile>
#include <QTemporaryDir>

namespace designer::test
{

using namespace report;

class FilesTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        files = installFileCommands(*core);
        rep->ShowProgress = false;
    }
    void TearDown() override
    {
        platform::LineFile::setWriteHook({});
        files.reset();
        DesignerFixture::TearDown();
    }
    vorn_test::ScriptedDialogs &dialogs() { return fakes->dialogs; }
    QString path(const QString &name) const { return dir.filePath(name); }
    static QByteArray bytesOf(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void writeBytes(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // A memo inserted as the user would: recorded for undo, report modified.
    TfrMemoView *insertMemo(const QString &name)
    {
        TfrMemoView *m = memo(name, 16, 16, 96, 18);
        select({m});
        core->undo.RecordUndo(ukInserted);
        core->state.storeModified(true);
        return m;
    }
    int undoCount() const { return core->undo.count(UndoManager::UndoBuffer); }
    // What the window would show: the caption's name.
    QString untitled() const { return frLoadString(55209); }

    QTemporaryDir dir;
    std::shared_ptr<FileCommands> files;
};

TEST(FileNames, ExtensionsOfTheChosenTypeAndTheFilters)
{
    const std::pair<const char *, const char *> cases[] = {
        {"x.txt", "x.frf"},
        {"x", "x.frf"},
        {"/tmp/a.b/x", "/tmp/a.b/x.frf"},
        {"/tmp/a.b/x.frt", "/tmp/a.b/x.frf"},
        {"C:\\etats.v2\\x", "C:\\etats.v2\\x.frf"},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(frWithExtension(QString::fromLatin1(in), QStringLiteral(".frf")),
                  QString::fromLatin1(out))
            << in;
    EXPECT_EQ(frBaseName(QStringLiteral("/donnees/etats/Classement.frf")),
              QStringLiteral("Classement.frf"));
}

TEST_F(FilesTest, UntitledSaveAsksForANameAndTheChosenTypeDecides)
{
    struct Case {
        int filter;
        const char *typed;
        const char *written;
        bool named;    // the designer takes the name
        bool modified; // afterwards
    };
    const Case cases[] = {
        {1, "x.txt", "x.frf", true, false},
        {2, "modele.frf", "modele.frt", false, false},
        {3, "dico", "dico.frd", false, true},
    };
    int templates = 0;
    core->state.Requests.newTemplate = [&] {
        ++templates;
        return std::optional<NewTemplateChoice>(
            NewTemplateChoice{{QStringLiteral("Classement")}, QImage()});
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        files->setFileName(untitled());
        core->state.storeModified(true);
        dialogs().files.push_back(path(QString::fromLatin1(c.typed)));
        dialogs().filterIndexes.push_back(c.filter);
        core->state.Requests.commands.at(QStringLiteral("FileBtn3Click"))();
        ASSERT_FALSE(dialogs().saveRequests.empty());
        const platform::FileRequest &asked = dialogs().saveRequests.back();
        EXPECT_EQ(asked.filter, QStringLiteral("Etat VornReport (*.frf)|*.frf|Modèle VornReport "
                                               "(*.frt)|*.frt|Dictionnaire VornReport (*.frd)|*.frd"));
        EXPECT_EQ(asked.filterIndex, 1);
        EXPECT_TRUE(QFile::exists(path(QString::fromLatin1(c.written))));
        EXPECT_FALSE(QFile::exists(path(QString::fromLatin1(c.typed))) &&
                     QString::fromLatin1(c.typed) != QString::fromLatin1(c.written));
        EXPECT_EQ(files->fileName(),
                  c.named ? path(QString::fromLatin1(c.written)) : untitled());
        EXPECT_EQ(rep->Modified, c.modified);
    }
    EXPECT_EQ(templates, 1);
    // The template left the report untitled: the next Save asks again.
    const size_t asked = dialogs().saveRequests.size();
    files->setFileName(untitled());
    files->Save();
    EXPECT_EQ(dialogs().saveRequests.size(), asked + 1);
    // The report written reads back.
    TfrReport back;
    EXPECT_TRUE(back.LoadFromFile(path(QStringLiteral("x.frf"))));
}

TEST_F(FilesTest, AFailedWriteSaysSoAndKeepsTheChangesAndTheWindow)
{
    insertMemo(QStringLiteral("Memo1"));
    const QString name = path(QStringLiteral("Classement.frf"));
    files->setFileName(name);
    files->Save();
    ASSERT_TRUE(files->SaveCompleted);
    EXPECT_FALSE(rep->Modified);
    const QByteArray saved = bytesOf(name);
    ASSERT_FALSE(saved.isEmpty());

    memo(QStringLiteral("Memo2"), 16, 48, 96, 18);
    core->state.storeModified(true);
    platform::LineFile::setWriteHook([](const QString &) { return false; });
    files->Save();
    EXPECT_FALSE(files->SaveCompleted);
    EXPECT_TRUE(rep->Modified);
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].text, QStringLiteral("Impossible d'enregistrer le fichier ") + name);
    EXPECT_EQ(dialogs().messages[0].caption, QStringLiteral("Erreur"));
    EXPECT_EQ(bytesOf(name), saved);

    // Closing answered Yes tries to save, fails, and stays open; New stops too.
    // (each failure's box takes its OK in between)
    dialogs().answers = {platform::mrYes, platform::mrOk, platform::mrYes, platform::mrOk};
    int result = platform::mrOk;
    EXPECT_FALSE(files->CloseQuery(result));
    files->New();
    EXPECT_EQ(page->ObjectCount(), 2);
    EXPECT_EQ(rep->Pages()[0], page);
    // A dictionary that cannot be written says the same.
    dialogs().files.push_back(path(QStringLiteral("dico.frd")));
    dialogs().filterIndexes.push_back(3);
    files->SaveAs();
    EXPECT_EQ(dialogs().texts().last(),
              QStringLiteral("Impossible d'enregistrer le fichier ") + path(QStringLiteral("dico.frd")));
    EXPECT_TRUE(rep->Modified);
}

TEST_F(FilesTest, TheQuestionBeforeClosing)
{
    struct Case {
        const char *what;
        bool modified;
        int mode;
        bool noSave; // restriction bit 11
        std::optional<int> answer;
        bool asked;
        bool closes;
        int result;
    };
    const Case cases[] = {
        {"unmodified", false, 1, false, std::nullopt, false, true, platform::mrOk},
        {"answered No", true, 1, false, platform::mrNo, true, true, platform::mrCancel},
        {"answered Cancel", true, 1, false, platform::mrCancel, true, false, platform::mrOk},
        {"saving forbidden", true, 1, true, std::nullopt, false, true, platform::mrOk},
        {"prepared page", true, 0, false, std::nullopt, false, true, platform::mrOk},
    };
    files->setFileName(QStringLiteral("/donnees/etats/Classement.frf"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        dialogs().messages.clear();
        designerWindow->DesignMode = c.mode;
        frObjects().frDesignerRestrictions = c.noSave ? quint16(1 << drNoSaveReport) : 0;
        core->state.storeModified(c.modified);
        if (c.answer)
            dialogs().answers.push_back(*c.answer);
        int result = platform::mrOk;
        EXPECT_EQ(core->state.Requests.closeQuery(result), c.closes);
        EXPECT_EQ(result, c.result);
        ASSERT_EQ(dialogs().messages.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            const platform::MessageRequest &m = dialogs().messages[0];
            EXPECT_EQ(m.text, QStringLiteral("Enregistrer les changements sur Classement.frf?"));
            EXPECT_EQ(m.caption, QStringLiteral("Confirmation"));
            EXPECT_EQ(m.buttons, platform::mbYesNoCancel);
            EXPECT_EQ(m.type, platform::mtConfirmation);
        }
    }
}

TEST_F(FilesTest, NewAsksFirstThenStartsAnUntitledReport)
{
    insertMemo(QStringLiteral("Memo1"));
    files->setFileName(QStringLiteral("/donnees/etats/Classement.frf"));
    int refreshed = 0;
    core->state.Requests.dbFieldsRefresh = [&] { ++refreshed; };
    dialogs().answers.push_back(platform::mrCancel);
    files->New();
    EXPECT_EQ(page->ObjectCount(), 1);
    EXPECT_EQ(undoCount(), 1);

    dialogs().answers.push_back(platform::mrNo);
    rep->ChangedInDesign = false;
    files->New();
    ASSERT_EQ(rep->Pages().Count(), 1);
    EXPECT_EQ(rep->Pages()[0]->ObjectCount(), 0);
    EXPECT_EQ(rep->Pages()[0]->Name, QStringLiteral("Page1"));
    EXPECT_EQ(files->fileName(), untitled());
    EXPECT_FALSE(rep->Modified);
    EXPECT_TRUE(rep->ChangedInDesign);
    EXPECT_EQ(undoCount(), 0);
    EXPECT_EQ(core->state.page(), rep->Pages()[0]);
    EXPECT_EQ(view.shownPages.back(), 0);
    EXPECT_EQ(refreshed, 1);
}

TEST_F(FilesTest, NewFromATemplateAsksFirstAsNewDoes)
{
    // A template of two pages.
    TfrReport source;
    source.Pages().Add()->Name = QStringLiteral("Page1");
    source.Pages().Add()->Name = QStringLiteral("Page2");
    const QString model = path(QStringLiteral("modele.frt"));
    ASSERT_TRUE(source.SaveTemplate(model, {QStringLiteral("Deux pages")}, QImage()));
    rep->makeCurrent();

    int chosen = 0;
    core->state.Requests.templates = [&] {
        ++chosen;
        return std::optional<QString>(model);
    };
    insertMemo(QStringLiteral("Memo1"));
    files->setFileName(path(QStringLiteral("Classement.frf")));
    dialogs().answers.push_back(platform::mrCancel);
    core->state.Requests.commands.at(QStringLiteral("N23Click"))();
    EXPECT_EQ(chosen, 0);
    EXPECT_EQ(rep->Pages().Count(), 1);

    // Yes saves first, then the template comes in untitled.
    dialogs().answers.push_back(platform::mrYes);
    core->state.Requests.commands.at(QStringLiteral("N23Click"))();
    EXPECT_EQ(chosen, 1);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("Classement.frf"))));
    EXPECT_EQ(rep->Pages().Count(), 2);
    EXPECT_EQ(files->fileName(), untitled());
    EXPECT_EQ(undoCount(), 0);
}

TEST_F(FilesTest, OpeningADictionaryKeepsTheNameAndHistoryAndMarksTheChange)
{
    TfrReport other;
    other.Dictionary().Variables.SetVariable(QStringLiteral("Total"), FrVariant("[Points] * 2"));
    other.Dictionary().FieldAliases.SetVariable(QStringLiteral("Clients"), FrVariant("Membres"));
    const QString dico = path(QStringLiteral("dico.frd"));
    other.Dictionary().SaveToFile(dico);
    rep->makeCurrent();

    insertMemo(QStringLiteral("Memo1"));
    const QString name = path(QStringLiteral("Classement.frf"));
    files->setFileName(name);
    files->Save();
    ASSERT_FALSE(rep->Modified);
    dialogs().files.push_back(dico);
    dialogs().filterIndexes.push_back(2);
    core->state.Requests.commands.at(QStringLiteral("FileBtn2Click"))();
    ASSERT_EQ(dialogs().openRequests.size(), 1u);
    EXPECT_EQ(dialogs().openRequests[0].filter,
              QStringLiteral("Etat VornReport (*.frf)|*.frf|Dictionnaire VornReport (*.frd)|*.frd"));
    EXPECT_EQ(rep->Dictionary().Variables.Count(), 1);
    EXPECT_EQ(rep->Dictionary().FieldAliases.Count(), 1);
    EXPECT_EQ(files->fileName(), name);
    EXPECT_EQ(undoCount(), 1);
    EXPECT_EQ(page->ObjectCount(), 1);
    EXPECT_TRUE(rep->Modified);
}

TEST_F(FilesTest, OpeningAReportReplacesItAndStartsAFreshHistory)
{
    TfrReport other;
    report::test::buildTemplate(other);
    const QString name = path(QStringLiteral("Autre.frf"));
    ASSERT_TRUE(other.SaveToFile(name));
    rep->makeCurrent();
    insertMemo(QStringLiteral("Memo1"));
    core->state.storeModified(false);
    dialogs().files.push_back(name);
    files->Open();
    EXPECT_EQ(rep->Pages().Count(), other.Pages().Count());
    EXPECT_EQ(files->fileName(), name);
    EXPECT_EQ(undoCount(), 0);
    EXPECT_FALSE(rep->Modified);
    EXPECT_EQ(core->state.page(), rep->Pages()[0]);
}

TEST_F(FilesTest, OpenRefusesInThePreparedPageEditorAndWhenForbidden)
{
    designerWindow->DesignMode = 0;
    files->Open();
    designerWindow->DesignMode = 1;
    frObjects().frDesignerRestrictions = quint16(1 << drNoOpenReport);
    core->state.Requests.commands.at(QStringLiteral("FileBtn2Click"))();
    EXPECT_TRUE(dialogs().openRequests.empty());
    // A missing file changes nothing either.
    frObjects().frDesignerRestrictions = 0;
    insertMemo(QStringLiteral("Memo1"));
    core->state.storeModified(false);
    dialogs().files.push_back(path(QStringLiteral("absent.frf")));
    files->Open();
    EXPECT_EQ(page->ObjectCount(), 1);
    EXPECT_EQ(undoCount(), 1);
    EXPECT_TRUE(dialogs().messages.empty());
}

TEST_F(FilesTest, ADamagedReportLeavesTheDesignerUntitledSoItIsNeverSavedOver)
{
    const report::test::TemplateRecords records = report::test::builtTemplateRecords();
    rep->makeCurrent();
    const QString damaged = path(QStringLiteral("abime.frf"));
    int cuts = 0;
    for (qint64 boundary : records.boundaries) {
        if (boundary + 3 >= records.dictionaryStart)
            break;
        SCOPED_TRACE(boundary);
        const QByteArray cut = records.bytes.left(boundary + 3);
        writeBytes(damaged, cut);
        files->setFileName(path(QStringLiteral("Classement.frf")));
        insertMemo(QStringLiteral("Memo1"));
        core->state.storeModified(false);
        dialogs().files.push_back(damaged);
        files->Open();
        EXPECT_EQ(rep->lastLoad(), TfrReport::LoadOutcome::FormatError);
        EXPECT_EQ(files->fileName(), untitled());
        EXPECT_FALSE(rep->Modified);
        EXPECT_EQ(undoCount(), 0);
        EXPECT_EQ(core->state.CurPage, 0);
        // Save asks for a name (cancelled here): the damaged file stays.
        core->state.storeModified(true);
        files->Save();
        EXPECT_EQ(bytesOf(damaged), cut);
        page = rep->Pages()[0];
        ++cuts;
    }
    EXPECT_GT(cuts, 10);
    EXPECT_EQ(dialogs().count(QStringLiteral("Format FRF non supporté")), cuts);
}

TEST_F(FilesTest, ANewerOrEmptyReportChangesNothing)
{
    TfrReport other;
    report::test::buildTemplate(other);
    QByteArray newer = report::test::save(other);
    newer[0] = char(25);
    rep->makeCurrent();
    const std::pair<const char *, QByteArray> cases[] = {{"newer.frf", newer},
                                                         {"vide.frf", QByteArray()}};
    const QString name = path(QStringLiteral("Classement.frf"));
    files->setFileName(name);
    rep->FileName = name;
    insertMemo(QStringLiteral("Memo1"));
    for (const auto &[file, bytes] : cases) {
        SCOPED_TRACE(file);
        dialogs().messages.clear();
        writeBytes(path(QString::fromLatin1(file)), bytes);
        dialogs().files.push_back(path(QString::fromLatin1(file)));
        dialogs().answers.push_back(platform::mrNo); // keep the changes unsaved
        files->Open();
        EXPECT_EQ(files->fileName(), name);
        EXPECT_EQ(rep->FileName, name);
        EXPECT_EQ(undoCount(), 1);
        EXPECT_TRUE(rep->Modified);
        EXPECT_EQ(rep->Pages()[0], page);
        EXPECT_EQ(page->ObjectCount(), 1);
        EXPECT_EQ(core->state.page(), page);
        EXPECT_EQ(dialogs().count(QStringLiteral("Format FRF non supporté")), 1);
    }
}

TEST_F(FilesTest, ATruncatedDictionaryIsRefusedWhole)
{
    TfrReport other;
    report::test::buildTemplate(other);
    const QString dico = path(QStringLiteral("dico.frd"));
    other.Dictionary().SaveToFile(dico);
    const QByteArray whole = bytesOf(dico);
    writeBytes(dico, whole.left(whole.size() / 2));
    rep->makeCurrent();
    rep->Dictionary().Variables.SetVariable(QStringLiteral("Ancienne"), FrVariant("1"));
    auto dictionaryBytes = [this] {
        FrMemoryStream s;
        rep->Dictionary().SaveToStream(s);
        return s.data();
    };
    const QByteArray before = dictionaryBytes();
    dialogs().files.push_back(dico);
    dialogs().filterIndexes.push_back(2);
    files->Open();
    EXPECT_EQ(dictionaryBytes(), before);
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].caption, QStringLiteral("Erreur"));
    EXPECT_FALSE(dialogs().messages[0].text.isEmpty());
    EXPECT_FALSE(rep->Modified);
}

// A preview that fails while it shows.
class FailingPreview : public FrRecordingPreview
{
public:
    void ShowPreviewForm(TfrReport &, const QString &, bool, bool) override
    {
        throw platform::Exception(QStringLiteral("panne"));
    }
};

TEST_F(FilesTest, PreviewKeepsTheHistoryTheFlagAndThePage)
{
    for (bool failing : {false, true}) {
        SCOPED_TRACE(failing ? "preview fails" : "preview shown");
        FrRecordingPreview *recording = nullptr;
        if (failing) {
            frObjects().setPreview(std::make_unique<FailingPreview>());
        } else {
            auto p = std::make_unique<FrRecordingPreview>();
            recording = p.get();
            frObjects().setPreview(std::move(p));
        }
        band(btReportTitle, 0, 40, QStringLiteral("Titre"));
        insertMemo(QStringLiteral("Memo1"))->Memo = {QStringLiteral("Bonjour")};
        core->state.storeModified(false);
        rep->ModalPreview = false;
        std::vector<bool> locks, paints;
        core->state.Requests.inspectorLock = [&](bool l) { locks.push_back(l); };
        files->lockPainting = [&](bool l) { paints.push_back(l); };
        view.shownPages.clear();

        if (failing)
            EXPECT_THROW(files->Preview(), platform::Exception);
        else
            core->state.Requests.commands.at(QStringLiteral("FileBtn4Click"))();
        if (recording) {
            ASSERT_EQ(recording->calls.size(), 1u);
            EXPECT_TRUE(recording->calls[0].modal);
        }
        EXPECT_FALSE(rep->ModalPreview);
        EXPECT_FALSE(rep->Modified);
        EXPECT_EQ(locks, (std::vector<bool>{true, false}));
        EXPECT_EQ(paints, (std::vector<bool>{true, false}));
        ASSERT_FALSE(view.shownPages.empty());
        EXPECT_EQ(view.shownPages.back(), 0);
        // The page was made anew; the history finds its objects there.
        page = rep->Pages()[0];
        ASSERT_EQ(core->state.page(), page);
        ASSERT_EQ(page->ObjectCount(), 2);
        core->Undo();
        EXPECT_EQ(page->ObjectCount(), 1);
        core->Redo();
        ASSERT_EQ(page->ObjectCount(), 2);
        EXPECT_EQ(page->Object(1)->Memo, QStringList{QStringLiteral("Bonjour")});
        page->Clear();
        core->undo.ClearUndoBuffer();
        core->undo.ClearRedoBuffer();
    }
}

TEST_F(FilesTest, PreviewRefusesInThePreparedPageEditorAndWhenForbidden)
{
    auto p = std::make_unique<FrRecordingPreview>();
    FrRecordingPreview *recording = p.get();
    frObjects().setPreview(std::move(p));
    band(btReportTitle, 0, 40, QStringLiteral("Titre"));
    designerWindow->DesignMode = 0;
    files->Preview();
    frObjects().frDesignerRestrictions = quint16(1 << drNoPreview);
    designerWindow->DesignMode = 1;
    files->Preview();
    EXPECT_TRUE(recording->calls.empty());
}

} // namespace designer::test
