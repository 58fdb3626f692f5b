// The captions the user guides print in bold are captions the program shows.
// Every window of the program, the preview, the print dialog and the report
// designer with its dialogs are created offscreen on one season; every text
// they show a user (window captions, menu items, buttons, labels, group and
// tab titles, column titles, toolbar hints, inspector rows) is gathered, and
// each bold text of the guides in resources/help must be one of them.
// VORN_CAPTIONS_DUMP=<file> writes the gathered captions there, sorted, one
// a line: what a guide writer may print in bold.
#include "designer/ui/attrforms.h"
#include "designer/ui/bandforms.h"
#include "designer/ui/designerform.h"
#include "designer/ui/designerregistration.h"
#include "designer/ui/dictforms.h"
#include "designer/ui/editorform.h"
#include "designer/ui/exprforms.h"
#include "designer/ui/inspform.h"
#include "designer/ui/pgoptform.h"
#include "designer/ui/smalldialogs.h"
#include "manager/fenetres.h"
#include "manager/vorn_pr.h"
#include "report/core/frlibrary.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/ui/frchartform.h"
#include "report/ui/frdock.h"
#include "report/ui/frfmtform.h"
#include "report/ui/frpreview.h"
#include "report/ui/frprintform.h"
#include "report/ui/frprogressform.h"
#include "tests/manager/window_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

namespace help_captions_test
{

using namespace designer;

// A text as the user reads it: accelerator marks gone ("&&" is a lone "&"),
// blanks collapsed, trimmed; case and accents kept.
QString normalise(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&'))
                out += QLatin1Char('&'), ++i;
            continue;
        }
        out += text[i];
    }
    return out.simplified();
}

// A caption compared to a bold text: a closing ":" (with its blank) aside.
QString withoutColon(QString text)
{
    text = text.simplified();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

class Captions
{
public:
    void add(const QString &raw)
    {
        // A shortcut written after a tab is no part of the caption.
        const QString text = normalise(raw.section(QLatin1Char('\t'), 0, 0));
        if (!text.isEmpty())
            m_texts.insert(text);
    }
    // A text shown as it is, "&" included (a label without buddy).
    void addLiteral(const QString &raw)
    {
        const QString text = raw.simplified();
        if (!text.isEmpty())
            m_texts.insert(text);
    }
    // A label's text: plain, or its rich text read as plain; each of its
    // lines counts on its own too. Only a label with a buddy takes "&" as
    // an accelerator mark.
    void addLabel(const QLabel *label)
    {
        QString text = label->text();
        if (label->textFormat() == Qt::RichText ||
            (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
            text = QTextDocumentFragment::fromHtml(text).toPlainText();
        QStringList parts = text.split(QRegularExpression(QStringLiteral("[\\r\\n\\x{2029}]")));
        parts.append(text);
        for (const QString &part : parts) {
            if (label->buddy())
                add(part);
            else
                addLiteral(part);
        }
    }
    void addMenu(const QList<QAction *> &actions)
    {
        for (const QAction *a : actions) {
            if (a->isSeparator())
                continue;
            add(a->text());
            if (const QMenu *sub = a->menu())
                addMenu(sub->actions());
        }
    }
    void addTable(const QTableWidget *t)
    {
        if (t->horizontalHeader()->isHidden()) {
            // Titles in a fixed first row, as grids show them.
            for (int c = 0; c < t->columnCount(); ++c)
                if (const QTableWidgetItem *i = t->item(0, c))
                    add(i->text());
        } else {
            for (int c = 0; c < t->columnCount(); ++c)
                if (const QTableWidgetItem *i = t->horizontalHeaderItem(c))
                    add(i->text());
        }
    }
    void addHeader(const QHeaderView *h)
    {
        if (h->isHidden() || !h->model())
            return;
        for (int s = 0; s < h->count(); ++s)
            add(h->model()->headerData(s, h->orientation()).toString());
    }
    // The window and everything in it, shown or not yet.
    void addWindow(QWidget *window)
    {
        QList<QWidget *> widgets = window->findChildren<QWidget *>();
        widgets.prepend(window);
        for (QWidget *w : widgets) {
            add(w->windowTitle());
            if (auto *b = qobject_cast<QAbstractButton *>(w)) {
                add(b->text());
                add(b->toolTip());
            } else if (auto *l = qobject_cast<QLabel *>(w)) {
                addLabel(l);
            } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
                add(g->title());
            } else if (auto *bar = qobject_cast<QTabBar *>(w)) {
                for (int i = 0; i < bar->count(); ++i)
                    add(bar->tabText(i));
            } else if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
                for (int i = 0; i < tabs->count(); ++i)
                    add(tabs->tabText(i));
            } else if (auto *menu = qobject_cast<QMenu *>(w)) {
                add(menu->title());
                addMenu(menu->actions());
            } else if (auto *menuBar = qobject_cast<QMenuBar *>(w)) {
                addMenu(menuBar->actions());
            } else if (auto *table = qobject_cast<QTableWidget *>(w)) {
                addTable(table);
            } else if (auto *header = qobject_cast<QHeaderView *>(w)) {
                if (!qobject_cast<QTableWidget *>(w->parentWidget()))
                    addHeader(header);
            } else if (auto *bar = dynamic_cast<report::TfrToolBar *>(w)) {
                add(bar->Caption);
            } else if (auto *insp = dynamic_cast<TfrInspForm *>(w)) {
                for (int i = 0; i < insp->Props.count(); ++i)
                    add(insp->displayName(insp->Props.Items(i)));
            }
            if (auto *tree = qobject_cast<QTreeWidget *>(w)) {
                if (!tree->isHeaderHidden())
                    for (int c = 0; c < tree->columnCount(); ++c)
                        add(tree->headerItem()->text(c));
            }
        }
    }
    // Every window open now.
    void addTopLevels()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            addWindow(w);
    }

    bool contains(const QString &text) const { return m_texts.contains(text); }
    const QSet<QString> &texts() const { return m_texts; }
    QStringList sorted() const
    {
        QStringList out(m_texts.begin(), m_texts.end());
        out.sort();
        return out;
    }

private:
    QSet<QString> m_texts;
};

// The bold texts of a Markdown source, blanks collapsed: inside table rows
// and list items, across a line break; "\*" is a star, not a mark, and code
// spans are no bold.
QStringList boldTexts(QString markdown)
{
    markdown.replace(QStringLiteral("\\*"), QStringLiteral("\x01"));
    markdown.replace(QRegularExpression(QStringLiteral("`[^`]*`")), QStringLiteral(" "));
    static const QRegularExpression bold(QStringLiteral("\\*\\*(.+?)\\*\\*"),
                                         QRegularExpression::DotMatchesEverythingOption);
    QStringList out;
    for (auto it = bold.globalMatch(markdown); it.hasNext();) {
        QString text = it.next().captured(1);
        text.replace(QLatin1Char('\x01'), QLatin1Char('*'));
        out.append(text.simplified());
    }
    return out;
}

const QStringList &guideNames()
{
    static const QStringList names{QStringLiteral("Saison"),       QStringLiteral("Joueurs"),
                                   QStringLiteral("Mcf"),          QStringLiteral("Challenge"),
                                   QStringLiteral("Convocations"), QStringLiteral("Tarifs"),
                                   QStringLiteral("VRuser")};
    return names;
}

// One line per fault of the guides in folder: a missing or unreadable guide,
// a bold text that is no caption (naming the guide and the text).
QStringList guideFaults(const QString &folder, const Captions &captions)
{
    QSet<QString> known;
    for (const QString &c : captions.texts())
        known.insert(withoutColon(c));
    QStringList faults;
    for (const QString &name : guideNames()) {
        const QString file = name + QStringLiteral(".md");
        QFile f(QDir(folder).filePath(file));
        if (!f.open(QIODevice::ReadOnly)) {
            faults << file + QStringLiteral(": missing or unreadable");
            continue;
        }
        for (const QString &b : boldTexts(QString::fromUtf8(f.readAll())))
            if (!known.contains(withoutColon(b)))
                faults << file + QStringLiteral(": **") + b +
                              QStringLiteral("** is no caption the program shows");
    }
    return faults;
}

std::string lines(const QStringList &l)
{
    return l.join(QLatin1Char('\n')).toStdString();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

// --- the collection

class HelpCaptions : public vorn_test::ProgrammeTest
{
protected:
    void SetUp() override
    {
        ProgrammeTest::SetUp();
        report::fr().resetForTests();
        report::fr().start();
        report::frInstallPreview();
        designer::frRegisterDesigner();
        writeLines(
            QStringLiteral("2023-2024/Joueur.DBP"),
            {vorn_test::ligneJoueur({{0, "0123456"}, {1, "M."}, {2, "DUPONT"}, {3, "Jean"}})});
        // A ranking of one tournament, so that its grid shows its titles.
        writeLines(QStringLiteral("2023-2024/Open1.chr"),
                   {QStringLiteral("1;Anne NOMA;Bob NOMB;01;52;02;40;1000;")});
        writeLines(QStringLiteral("2023-2024/Challenge.DBP"),
                   {QStringLiteral("1;12/01/2024;Open1;P;1;100;Open1.chr;")});
        ASSERT_TRUE(QFile::copy(QStringLiteral(VORN_TEMPLATES_DIR "/Enveloppes.frf"),
                                path(QStringLiteral("Enveloppes.frf"))));
    }
    void TearDown() override
    {
        m_fenetres.reset();
        report::fr().resetForTests();
        ProgrammeTest::TearDown();
    }

    // Runs body on the window find gives once it is shown (by a modal call
    // made after this); gives up, closing the modal window, after a while.
    static void whenShown(std::function<QWidget *()> find, std::function<void(QWidget *)> body,
                          int tries = 200)
    {
        QTimer::singleShot(0, [find, body, tries] {
            if (QWidget *w = find()) {
                body(w);
                return;
            }
            if (tries > 0) {
                whenShown(find, body, tries - 1);
                return;
            }
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
    }

    // The sixteen windows, through every menu command that shows one or
    // changes what one shows.
    void collectWindows(Captions &out)
    {
        demarrer();
        out.addTopLevels(); // no season yet
        writeLines(QStringLiteral("Vorn_Lud.ini"),
                   {QStringLiteral("[Param]"), QStringLiteral("Saison=2023-2024")});
        Vorn_FPr->LireSaison();
        ASSERT_EQ(SaisonEnCours, QStringLiteral("2023-2024"));
        out.addTopLevels();
        const QSet<QString> skipped{QStringLiteral("Quiter"), QStringLiteral("Fermer1")};
        QList<QAction *> commands;
        for (QMenu *m : Vorn_FPr->findChildren<QMenu *>())
            for (QAction *a : m->actions())
                if (!a->menu() && !a->isSeparator() && a->isEnabled() &&
                    !skipped.contains(a->objectName()))
                    commands.append(a);
        for (QAction *a : commands) {
            a->trigger();
            vorn_test::settle(1);
            // Activated as a window system would (what the window fills
            // then shows too), then hidden so the next command shows it anew.
            std::vector<platform::TForm *> shown;
            for (platform::TForm *f : m_fenetres->toutes())
                if (f != Vorn_FPr && f->isVisible())
                    shown.push_back(f);
            for (platform::TForm *f : shown)
                f->activated();
            vorn_test::settle(1);
            out.addTopLevels();
            for (platform::TForm *f : shown)
                f->hide();
            vorn_test::settle(1);
        }
    }

    // The preview of a one-page report, its search dialog, the print dialog
    // and the progress window.
    void collectPreview(Captions &out)
    {
        QObject owner;
        report::TfrReport rep(&owner);
        rep.ShowProgress = false;
        report::TfrPage *page = rep.Pages().Add();
        auto memo = std::make_unique<report::TfrMemoView>();
        memo->Name = QStringLiteral("Memo1");
        memo->SetBounds(40, 40, 200, 20);
        memo->Memo = QStringList{QStringLiteral("Calendrier")};
        page->Add(std::move(memo));
        bool shown = false;
        whenShown(
            [] {
                for (QWidget *w : QApplication::topLevelWidgets())
                    if (auto *f = qobject_cast<report::TfrPreviewForm *>(w); f && f->isVisible())
                        return static_cast<QWidget *>(f);
                return static_cast<QWidget *>(nullptr);
            },
            [&](QWidget *w) {
                auto *p = static_cast<report::TfrPreviewForm *>(w);
                shown = true;
                out.addTopLevels();
                {
                    report::TfrPreviewSearchForm search(p);
                    out.addWindow(&search);
                    report::TfrPrintForm print(p);
                    out.addWindow(&print);
                    report::TfrProgressForm progress(p);
                    out.addWindow(&progress);
                }
                p->ExitBtnClick();
            });
        rep.ShowReport();
        EXPECT_TRUE(shown) << "the preview was not shown";
    }

    // The designer on "Enveloppes.frf", the inspector on each of its objects,
    // and every dialog of the designer.
    void collectDesigner(Captions &out)
    {
        QObject owner;
        report::TfrReport rep(&owner);
        rep.ShowProgress = false;
        ASSERT_TRUE(rep.LoadFromFile(path(QStringLiteral("Enveloppes.frf"))));
        bool shown = false;
        whenShown(
            [] {
                auto *f = dynamic_cast<TfrDesignerForm *>(report::frObjects().frCurrentDesigner);
                return f && f->isVisible() ? static_cast<QWidget *>(f) : nullptr;
            },
            [&](QWidget *w) {
                auto *f = static_cast<TfrDesignerForm *>(w);
                shown = true;
                out.addTopLevels();
                if (report::TfrPage *page = rep.Pages().GetPage(0)) {
                    QStringList names;
                    for (const auto &v : page->Objects)
                        names << v->Name;
                    for (const QString &n : names) {
                        f->SelectByName(n);
                        QApplication::processEvents();
                        // The context menu as a right click fills it.
                        Q_EMIT f->Popup1->aboutToShow();
                        out.addTopLevels();
                    }
                }
                collectDialogs(*f, rep, out);
                f->ExitBClick();
            });
        rep.DesignReport();
        EXPECT_TRUE(shown) << "the designer was not shown";
    }

    static void collectDialogs(TfrDesignerForm &f, report::TfrReport &rep, Captions &out)
    {
        std::vector<std::function<std::unique_ptr<QWidget>()>> makers{
            [&] { return std::make_unique<TfrEditorForm>(f.core(), &f); },
            [&] { return std::make_unique<TfrExprForm>(&f); },
            [&] { return std::make_unique<TfrFieldsForm>(&f); },
            [&] { return std::make_unique<TfrVarForm>(&f); },
            [&] { return std::make_unique<TfrFuncForm>(&f); },
            [&] { return std::make_unique<TfrFuncArgForm>(&f); },
            [&] { return std::make_unique<TfrDictForm>(rep, &f); },
            [&] { return std::make_unique<TfrVaredForm>(&f); },
            [&] { return std::make_unique<TfrPgoptForm>(&f); },
            [&] { return std::make_unique<TfrBandEditorForm>(&f); },
            [&] { return std::make_unique<TfrVBandEditorForm>(&f); },
            [&] { return std::make_unique<TfrBandTypesForm>(&f); },
            [&] { return std::make_unique<TfrGroupEditorForm>(&f); },
            [&] { return std::make_unique<TfrHilightForm>(&f); },
            [&] { return std::make_unique<TfrAttrEditorForm>(&f); },
            [&] { return std::make_unique<TfrDocOptForm>(&f); },
            [&] { return std::make_unique<TfrDesOptionsForm>(&f); },
            [&] { return std::make_unique<TfrInsertFieldsForm>(&rep, &f); },
            [&] { return std::make_unique<TfrTemplForm>(&rep, &f); },
            [&] { return std::make_unique<TfrTemplNewForm>(&f); },
            [&] { return std::make_unique<TfrGEditorForm>(&f); },
            [&] { return std::make_unique<TfrRestrictionsForm>(&f); },
            [&] { return std::make_unique<TfrAboutForm>(&f); },
            [&] { return std::make_unique<report::TfrFmtForm>(&f); },
            [&] { return std::make_unique<report::TfrChartForm>(&f); },
        };
        for (const auto &make : makers) {
            std::unique_ptr<QWidget> dialog = make();
            out.addWindow(dialog.get());
        }
    }
};

TEST_F(HelpCaptions, EveryBoldTextOfTheGuidesIsACaptionTheProgramShows)
{
    Captions captions;
    collectWindows(captions);
    collectPreview(captions);
    collectDesigner(captions);

    const QString dump = qEnvironmentVariable("VORN_CAPTIONS_DUMP");
    if (!dump.isEmpty())
        writeFile(dump, (captions.sorted().join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());

    // One caption of each kind and place, so that a collection that lost a
    // kind of control or a window fails here rather than lets guides fail.
    const struct {
        const char *text;
        const char *kind;
    } expected[] = {
        {"Fichier Joueurs", "menu item, its \"&\" dropped"},
        {"Poule ou Suise", "menu item"},
        {"Editions des inscriptions par quatre", "caption set by a menu command"},
        {"Editions des inscriptions par paires", "caption set by a menu command"},
        {"Editions des calendriers Clubs", "caption set by a menu command"},
        {"Courriel", "button text set by a menu command"},
        {"Editer", "button text set by a menu command"},
        {"Poules", "caption set by a menu command"},
        {"Présentation", "tab"},
        {"Edition classement général", "button"},
        {"Saison en cours", "panel caption"},
        {"Pas de Saison", "panel caption before a season is open"},
        {"Imprimer", "print dialog caption"},
        {"Propriétés", "print dialog button"},
        {"Editeur - Enveloppes.frf", "designer caption"},
        {"Inspecteur d'objet", "inspector caption"},
        {"Adresse courriel", "column title of a mode"},
        {"Ind.", "title row of a grid"},
        {"Mots entier", "item of an object's context menu"},
    };
    for (const auto &e : expected)
        EXPECT_TRUE(captions.contains(QString::fromUtf8(e.text)))
            << e.kind << ": \"" << e.text << "\" was not collected";

    // The checker over a sample: a caption that exists passes, one renamed
    // by a letter fails, named with its guide.
    QTemporaryDir sample;
    ASSERT_TRUE(sample.isValid());
    for (const QString &name : guideNames())
        writeFile(sample.filePath(name + QStringLiteral(".md")), "# Guide\n");
    writeFile(sample.filePath(QStringLiteral("Joueurs.md")),
              QStringLiteral("Cliquez sur **Courriel**, puis sur **Courriels**.\n").toUtf8());
    EXPECT_EQ(
        guideFaults(sample.path(), captions),
        QStringList{QStringLiteral("Joueurs.md: **Courriels** is no caption the program shows")});

    const QStringList faults =
        guideFaults(QStringLiteral(VORN_SOURCE_DIR "/resources/help"), captions);
    EXPECT_TRUE(faults.isEmpty()) << "bold texts of the guides that the program does not show "
                                     "(see VORN_CAPTIONS_DUMP):\n"
                                  << lines(faults);
}

// --- the checker's reading of the sources, over a set of captions

TEST(HelpCaptionsCheck, BoldTextsAreFoundWhereverMarkdownPutsThem)
{
    const struct {
        const char *source;
        QStringList bold;
    } cases[] = {
        {"Cliquez sur **Ouvrir**.", {"Ouvrir"}},
        {"**Nom :** puis **Prénom**", {"Nom :", "Prénom"}},
        {"Le bouton **Création des\npages** crée", {"Création des pages"}},
        {"| **Saison** | **Joueur.DBP** |\n|---|---|\n", {"Saison", "Joueur.DBP"}},
        {"1. Choisissez **Edition**\n- puis **Courriel**", {"Edition", "Courriel"}},
        {"Une étoile \\*\\*n'est pas\\*\\* du gras", {}},
        {"Le fichier `**x**` et **Quitter**", {"Quitter"}},
        {"rien en gras", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(boldTexts(QString::fromUtf8(c.source)), c.bold) << c.source;
}

TEST(HelpCaptionsCheck, FaultsNameTheGuideAndTheTextAndAMissingGuideFails)
{
    Captions captions;
    for (const char *c : {"&Ouvrir", "Nom :", "Date", "A && B", "Imprimer\tCtrl+P"})
        captions.add(QString::fromUtf8(c));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto guide = [&](const QString &name, const char *text) {
        writeFile(dir.filePath(name + QStringLiteral(".md")), QByteArray(text));
    };
    for (const QString &name : guideNames())
        guide(name, "# Titre\n");
    guide(QStringLiteral("Saison"), "**Ouvrir** puis **Nom** et **Date :** ou **A & B**, "
                                    "**Imprimer**");
    EXPECT_EQ(guideFaults(dir.path(), captions), QStringList());

    guide(QStringLiteral("Mcf"), "**Ouvrir** et **Ouvrir...** ou **&Ouvrir** ou **ouvrir**");
    QFile::remove(dir.filePath(QStringLiteral("VRuser.md")));
    EXPECT_EQ(guideFaults(dir.path(), captions),
              (QStringList{"Mcf.md: **Ouvrir...** is no caption the program shows",
                           "Mcf.md: **&Ouvrir** is no caption the program shows",
                           "Mcf.md: **ouvrir** is no caption the program shows",
                           "VRuser.md: missing or unreadable"}));
}

TEST(HelpCaptionsCheck, EachKindOfControlGivesItsTextAsShown)
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("Fenêtre"));
    auto *bar = new QMenuBar(&window);
    QMenu *file = bar->addMenu(QStringLiteral("&Fichier"));
    file->addAction(QStringLiteral("Dupont && Fils\tCtrl+D"));
    file->addMenu(QStringLiteral("Exporter"))->addAction(QStringLiteral("&Texte"));
    auto *button = new QPushButton(QStringLiteral("  &Valider   tout "), &window);
    button->setToolTip(QStringLiteral("Enregistrer"));
    new QLabel(QStringLiteral("<b>Nom</b> du club<br>Ville :"), &window);
    new QLabel(QStringLiteral("Prix & frais"), &window);
    new QGroupBox(QStringLiteral("Filtres"), &window);
    auto *tabs = new QTabWidget(&window);
    tabs->addTab(new QWidget, QStringLiteral("&Présentation"));
    auto *titled = new QTableWidget(1, 2, &window);
    titled->setHorizontalHeaderLabels({QStringLiteral("Licence"), QStringLiteral("Nom")});
    titled->setItem(0, 0, new QTableWidgetItem(QStringLiteral("0123456")));
    auto *grid = new QTableWidget(2, 1, &window);
    grid->horizontalHeader()->hide();
    grid->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Ind.")));
    grid->setItem(1, 0, new QTableWidgetItem(QStringLiteral("52")));
    auto *tree = new QTreeWidget(&window);
    tree->setHeaderLabels({QStringLiteral("Champ")});

    Captions captions;
    captions.addWindow(&window);
    QStringList expected{
        "Fenêtre",      "Fichier",     "Dupont & Fils", "Exporter", "Texte",
        "Valider tout", "Enregistrer", "Nom du club",   "Ville :",  "Nom du club Ville :",
        "Prix & frais", "Filtres",     "Présentation",  "Licence",  "Nom",
        "Ind.",         "Champ"};
    expected.sort();
    EXPECT_EQ(captions.sorted(), expected) << "no cell under a title row, no data row";
}

} // namespace help_captions_test
