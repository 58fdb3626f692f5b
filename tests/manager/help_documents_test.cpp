// The user guides the build made (help/<Name>.pdf) as poppler reads them:
// pages, fonts, the text of each guide against the captions of the real main
// window, leftovers of the Markdown source, footers; the help commands
// handing them to the shell; and the renderer's own refusals and picture
// sizes.
#include "manager/core/vorn_dec.h"
#include "manager/fenetres.h"
#include "manager/vorn_pr.h"
#include "tests/manager/window_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>

#ifndef VORN_HELP_DIR
#error "VORN_HELP_DIR must name the build's folder of user guides"
#endif

using namespace platform;

namespace help_documents_test
{

struct Guide {
    const char *name;
    int minPages;
    QStringList menus; // the main window's menus the guide walks through
    QStringList words; // besides the captions of those menus
};

const std::vector<Guide> &guides()
{
    static const std::vector<Guide> all = {
        {"Saison",
         3,
         {"Saisons", "Informations", "Calendriers"},
         {"Ouvrir un projet", "Joueur.DBP", "Challenge.DBP", "Vorn_Lud.ini", "Page_Htm", ".ics",
          "Ne pas vérifier automatiquement la mise à jour", "Prévisualiser",
          // Messages, as the program words them.
          "Aucune saison n'est ouverte : rien n'est enregistré.", "n'existe plus (saison ouverte :",
          "plus que les 100000 lignes qu'un calendrier peut donner",
          "n'est pas une valeur correcte pour la hauteur du papier : de 0,1 à 10 000 mm"}},
        {"Joueurs",
         3,
         {"Fichier Joueurs"},
         {"Importation des données de la base FFB", "Edition des joueurs licenciés", ".csv",
          "Enveloppes.frf", "Exportation", "Publipostage",
          "est trop volumineux pour une extraction de 65536 lignes"}},
        {"Mcf",
         1,
         {"MCF"},
         {"Poules", "Poule.txt", "ClubNumero", "ClubNom", "Epreuve",
          "Aucune saison n'est ouverte : rien n'est enregistré.",
          "n'existe plus (saison ouverte :", "Erreur d'écriture dans le fichier"}},
        {"Challenge",
         3,
         {"Challenge"},
         {"Challenge.DBP", ".Chr", ".cpo", "Challenge.htm", "ChallengeCat.htm", "Fichier_P.csv",
          // Names as the save dialogs complete them.
          "Open1.Chi", "Open1.Chr",
          "(saison ouverte maintenant :", "n'existe plus (saison ouverte :"}},
        {"Convocations",
         3,
         {"Convocations"},
         {"Présentation", ".qud", ".pad", "Lieu.DBP", "Arbitre.DBP", "Responsable.DBP",
          "convocation.frf", "Erreur d'écriture dans le fichier"}},
        {"Tarifs",
         1,
         {},
         {"prix", "engagement", ".qud", ".pad", "Erreur d'écriture dans le fichier"}},
        {"VRuser",
         3,
         {},
         {"Editeur", "Inspecteur d'objet", "Générateur d'expression", "Insérer un champ de données",
          "Modification", "Enveloppes.frf", ".frt"}},
    };
    return all;
}

QString pdfPath(const char *name)
{
    return QStringLiteral(VORN_HELP_DIR "/") + QLatin1String(name) + QStringLiteral(".pdf");
}

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Outcome r;
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit) {
        r.err = program + QStringLiteral(" did not run: ") + process.errorString();
        return r;
    }
    r.exitCode = process.exitCode();
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

// The output of a poppler tool that must succeed.
QString poppler(const char *tool, QStringList arguments)
{
    const Outcome r = run(QLatin1String(tool), arguments);
    EXPECT_EQ(r.exitCode, 0) << tool << " " << qPrintable(arguments.join(u' ')) << ": "
                             << qPrintable(r.err);
    return r.out;
}

// The text as a reader sees it: compatibility forms (ligatures, non-breaking
// spaces) folded, every run of white space one space, and a word cut at a
// hyphen at the end of a line joined again.
QString readable(const QString &text)
{
    QString flat = text.normalized(QString::NormalizationForm_KC).simplified();
    static const QRegularExpression cut(QStringLiteral("(\\w)- (?=\\w)"),
                                        QRegularExpression::UseUnicodePropertiesOption);
    return flat.replace(cut, QStringLiteral("\\1-"));
}

QString textOf(const char *name)
{
    return poppler("pdftotext", {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfPath(name),
                                 QStringLiteral("-")});
}

// Each page's text as laid out (pdftotext ends every page with a form feed).
QStringList pagesOf(const char *name)
{
    QStringList pages =
        poppler("pdftotext", {QStringLiteral("-layout"), QStringLiteral("-enc"),
                              QStringLiteral("UTF-8"), pdfPath(name), QStringLiteral("-")})
            .split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QString sourceOf(const char *name)
{
    QFile file(QStringLiteral(VORN_SOURCE_DIR "/resources/help/") + QLatin1String(name) +
               QStringLiteral(".md"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll());
}

// "Name: value" lines of pdfinfo.
QMap<QString, QString> infoOf(const QString &pdf, const QStringList &more = {})
{
    QMap<QString, QString> info;
    const QString out = poppler("pdfinfo", more + QStringList{pdf});
    for (const QString &line : out.split(u'\n')) {
        const int colon = line.indexOf(u':');
        if (colon > 0)
            info.insert(line.left(colon).simplified(), line.mid(colon + 1).trimmed());
    }
    return info;
}

// A caption as shown: "&&" is an ampersand, a single "&" marks the shortcut.
QString shown(QString caption)
{
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(u'&');
    return caption.replace(u'\x01', u'&');
}

void collect(const QMenu *menu, QStringList &captions)
{
    for (QAction *a : menu->actions()) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        captions.append(shown(a->text()));
        if (a->menu())
            collect(a->menu(), captions);
    }
}

class HelpDocuments : public vorn_test::ProgrammeTest
{
protected:
    // The captions of the main window's menu titled TITLE and of its items.
    QStringList menuCaptions(const QString &title)
    {
        QStringList captions;
        for (QAction *top : Vorn_FPr->MainMenu1->actions()) {
            if (shown(top->text()) != title || !top->menu())
                continue;
            captions.append(title);
            collect(top->menu(), captions);
        }
        EXPECT_FALSE(captions.isEmpty()) << "no menu " << qPrintable(title);
        return captions;
    }
};

TEST_F(HelpDocuments, EachOpensOnA4PagesTitledByItsFirstHeading)
{
    for (const Guide &g : guides()) {
        SCOPED_TRACE(g.name);
        const QMap<QString, QString> info = infoOf(pdfPath(g.name));
        const int pages = info.value(QStringLiteral("Pages")).toInt();
        EXPECT_GE(pages, g.minPages);
        EXPECT_EQ(info.value(QStringLiteral("Creator")), QStringLiteral("Vorn_Lud ") + NumVersion);
        const QString title = info.value(QStringLiteral("Title"));
        EXPECT_FALSE(title.isEmpty());
        EXPECT_TRUE(readable(textOf(g.name)).startsWith(title)) << qPrintable(title);
        // Every page, not only the first, is A4 portrait.
        const QMap<QString, QString> sizes =
            infoOf(pdfPath(g.name), {QStringLiteral("-f"), QStringLiteral("1"),
                                     QStringLiteral("-l"), QString::number(pages)});
        for (int n = 1; n <= pages; ++n) {
            const QString size = sizes.value(QStringLiteral("Page %1 size").arg(n));
            static const QRegularExpression a4(
                QStringLiteral("^(59[45](\\.\\d+)?) x (84[12](\\.\\d+)?) pts"));
            EXPECT_TRUE(a4.match(size).hasMatch()) << "page " << n << ": " << qPrintable(size);
        }
    }
}

TEST_F(HelpDocuments, OnlyEmbeddedLiberationFaces)
{
    for (const Guide &g : guides()) {
        SCOPED_TRACE(g.name);
        const QStringList lines = poppler("pdffonts", {pdfPath(g.name)}).split(u'\n');
        ASSERT_GE(lines.size(), 2);
        // The columns as the dashes under their titles mark them.
        QList<std::pair<int, int>> columns;
        static const QRegularExpression dashes(QStringLiteral("-+"));
        for (auto m = dashes.globalMatch(lines[1]); m.hasNext();) {
            const auto match = m.next();
            columns.append({int(match.capturedStart()), int(match.capturedLength())});
        }
        const int embedded = lines[0].indexOf(QStringLiteral("emb"));
        ASSERT_GE(columns.size(), 4);
        int faces = 0;
        for (int i = 2; i < lines.size(); ++i) {
            if (lines[i].trimmed().isEmpty())
                continue;
            ++faces;
            const QString face = lines[i].left(columns[0].second).trimmed();
            EXPECT_TRUE(face.section(u'+', -1).startsWith(QStringLiteral("Liberation")))
                << qPrintable(face);
            EXPECT_EQ(lines[i].mid(embedded, 3), QStringLiteral("yes")) << qPrintable(face);
        }
        EXPECT_GT(faces, 0);
    }
}

TEST_F(HelpDocuments, TextHoldsTheMenuCaptionsOfItsArea)
{
    demarrer();
    for (const Guide &g : guides()) {
        SCOPED_TRACE(g.name);
        const QString text = readable(textOf(g.name));
        for (const QString &menu : g.menus)
            for (const QString &caption : menuCaptions(menu))
                EXPECT_TRUE(text.contains(caption, Qt::CaseInsensitive))
                    << "menu " << qPrintable(menu) << ": " << qPrintable(caption);
    }
}

TEST_F(HelpDocuments, TextHoldsTheWordsOfItsSubject)
{
    for (const Guide &g : guides()) {
        SCOPED_TRACE(g.name);
        const QString text = readable(textOf(g.name));
        // Spelled as the program spells it: "Open1.Chr", not "open1.chr".
        for (const QString &word : g.words)
            EXPECT_TRUE(text.contains(word)) << qPrintable(word);
        // Near the start, the reader learns that captions keep the program's
        // own spelling.
        const qsizetype spelling = text.indexOf(
            QStringLiteral("tels que le programme les écrit, fautes d'orthographe comprises"));
        EXPECT_GE(spelling, 0);
        EXPECT_LT(spelling, 1500);
    }
}

// Every accented word of the source's text ("Créer", "Répartition",
// "Résultats"...; pictures' legends are not text of the document) is found,
// accents and all, in the PDF's.
TEST_F(HelpDocuments, AccentedWordsSurvive)
{
    static const QRegularExpression picture(QStringLiteral("!\\[[^\\]]*\\]\\([^)]*\\)"));
    static const QRegularExpression accented(QStringLiteral("\\w*[^\\x00-\\x7F\\W]\\w*"),
                                             QRegularExpression::UseUnicodePropertiesOption);
    for (const Guide &g : guides()) {
        SCOPED_TRACE(g.name);
        const QString text = readable(textOf(g.name));
        QString source = sourceOf(g.name);
        source.remove(picture);
        QSet<QString> words;
        for (auto m = accented.globalMatch(source); m.hasNext();)
            words.insert(m.next().captured());
        EXPECT_FALSE(words.isEmpty()) << "a French guide without one accent";
        for (const QString &word : words)
            EXPECT_TRUE(text.contains(word)) << qPrintable(word);
    }
}

// Nor, in French, a line starting with ":", ";", "?", "!" or "»", or ending
// with "«", apart from its word.
TEST_F(HelpDocuments, NoMarkdownLeftOverNorPunctuationApartFromItsWord)
{
    static const QRegularExpression loose(QStringLiteral("^[:;?!\\x{00BB}]|\\x{00AB}$"));
    for (const Guide &g : guides()) {
        SCOPED_TRACE(g.name);
        const QString raw = textOf(g.name);
        const QString text = readable(raw);
        for (const char *mark : {"**", "](", "|---", "|:--", "![", "```"})
            EXPECT_FALSE(text.contains(QLatin1String(mark))) << mark;
        for (const QString &line : raw.split(u'\n')) {
            EXPECT_FALSE(line.trimmed().startsWith(u'#')) << qPrintable(line);
            EXPECT_FALSE(loose.match(line.trimmed()).hasMatch()) << qPrintable(line);
        }
    }
}

// A picture pushed to the next page is not also drawn, out of sight, at the
// foot of the page before: each picture of the source is in the PDF once.
TEST_F(HelpDocuments, EachPictureIsDrawnOnce)
{
    static const QRegularExpression picture(QStringLiteral("!\\[[^\\]]*\\]\\([^)]*\\)"));
    for (const Guide &g : guides()) {
        SCOPED_TRACE(g.name);
        const qsizetype named = sourceOf(g.name).count(picture);
        const QStringList lines = poppler("pdfimages", {QStringLiteral("-list"), pdfPath(g.name)})
                                      .split(u'\n', Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines.size() - 2, named) << qPrintable(lines.join(u'\n'));
    }
}

// One word of a page as poppler places it, in points from the page's top.
struct Word {
    double top;
    double bottom;
    QString text;
};

// Each page's words ("pdftotext -bbox"), in reading order.
QList<QList<Word>> wordsOf(const char *name)
{
    const QString out =
        poppler("pdftotext", {QStringLiteral("-bbox"), QStringLiteral("-enc"),
                              QStringLiteral("UTF-8"), pdfPath(name), QStringLiteral("-")});
    static const QRegularExpression tag(
        QStringLiteral("<page |<word xMin=\"[\\d.]+\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<QList<Word>> pages;
    for (auto m = tag.globalMatch(out); m.hasNext();) {
        const auto match = m.next();
        if (match.captured(1).isEmpty()) {
            pages.append(QList<Word>());
            continue;
        }
        QString text = match.captured(3);
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&apos;"), QStringLiteral("'"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        if (!pages.isEmpty())
            pages.last().append({match.captured(1).toDouble(), match.captured(2).toDouble(), text});
    }
    return pages;
}

// No text is written, out of sight, on another page: the last line of a
// paragraph or the cells of a table row split between two pages would be
// drawn whole on both, so a search or a copy of the text would find them
// twice. Every word lies in the page's text area, or is the footer's; no
// page's last line is also the next page's first; and no page but the last
// is left almost empty by a heading kept with what follows it.
TEST_F(HelpDocuments, NoTextIsWrittenOutOfSightOrOnTwoPages)
{
    const double mm = 72 / 25.4;
    const double bodyTop = 20 * mm, bodyBottom = (297 - 20 - 9) * mm;
    for (const Guide &g : guides()) {
        SCOPED_TRACE(g.name);
        const QList<QList<Word>> pages = wordsOf(g.name);
        const QString title = infoOf(pdfPath(g.name)).value(QStringLiteral("Title"));
        for (int n = 0; n < pages.size(); ++n) {
            QStringList footer, outside;
            for (const Word &w : pages[n]) {
                if (w.top > bodyBottom + 1)
                    footer.append(w.text);
                else if (w.top < bodyTop - 1 || w.bottom > bodyBottom + 1)
                    outside.append(w.text);
            }
            EXPECT_TRUE(outside.isEmpty())
                << "page " << n + 1 << ": " << qPrintable(outside.join(u' '));
            EXPECT_EQ(
                readable(footer.join(u' ')),
                readable(
                    QStringLiteral("%1 - page %2 / %3").arg(title).arg(n + 1).arg(pages.size())))
                << "page " << n + 1;
        }
        // Text, pictures and tables as printed: the lowest ink above the
        // footer.
        QTemporaryDir shots;
        poppler("pdftoppm", {QStringLiteral("-r"), QStringLiteral("18"), QStringLiteral("-gray"),
                             pdfPath(g.name), shots.filePath(QStringLiteral("p"))});
        QStringList files = QDir(shots.path()).entryList(QDir::Files, QDir::Name);
        ASSERT_EQ(files.size(), pages.size());
        for (int n = 0; n + 1 < files.size(); ++n) {
            const QImage page(shots.filePath(files[n]));
            const double dots = page.height() / (297 * mm);
            int lowest = int(bodyTop * dots);
            for (int y = lowest; y < int(bodyBottom * dots); ++y)
                for (int x = 0; x < page.width(); ++x)
                    if (qGray(page.pixel(x, y)) < 160)
                        lowest = y;
            EXPECT_GT(lowest - bodyTop * dots, (bodyBottom - bodyTop) * dots / 4)
                << "page " << n + 1 << " is almost empty";
        }
        QStringList text = pagesOf(g.name);
        QList<QStringList> lines; // each page's lines, the footer left out
        for (const QString &page : std::as_const(text)) {
            QStringList pageLines = page.split(u'\n', Qt::SkipEmptyParts);
            for (QString &line : pageLines)
                line = readable(line);
            pageLines.removeAll(QString());
            if (!pageLines.isEmpty())
                pageLines.removeLast();
            lines.append(pageLines);
        }
        for (int n = 0; n + 1 < lines.size(); ++n) {
            if (lines[n].isEmpty() || lines[n + 1].isEmpty())
                continue;
            EXPECT_NE(lines[n].last(), lines[n + 1].first()) << "pages " << n + 1 << ", " << n + 2;
        }
    }
}

// The source's headings as the PDF's text gives them.
QSet<QString> headingsOf(const char *name)
{
    QSet<QString> headings;
    static const QRegularExpression heading(QStringLiteral("^#+\\s+(.*)$"));
    for (const QString &line : sourceOf(name).split(u'\n')) {
        const auto m = heading.match(line);
        if (m.hasMatch())
            headings.insert(readable(m.captured(1).remove(QStringLiteral("**")).remove(u'`')));
    }
    return headings;
}

// A page never ends on a heading, nor on a sentence that announces a list or
// a table with ":", nor with one of them followed by a single line: they go
// with what they introduce. And "->" is one sign, never cut by a line's end.
TEST_F(HelpDocuments, NoPageEndsOnWhatIntroducesTheNextNorInsideAnArrow)
{
    for (const Guide &g : guides()) {
        SCOPED_TRACE(g.name);
        const QSet<QString> headings = headingsOf(g.name);
        QStringList text = pagesOf(g.name);
        QString before; // the line read last
        for (int n = 0; n < text.size(); ++n) {
            QStringList lines = text[n].split(u'\n');
            lines.erase(std::remove_if(lines.begin(), lines.end(),
                                       [](const QString &l) { return readable(l).isEmpty(); }),
                        lines.end());
            if (!lines.isEmpty())
                lines.removeLast(); // the footer
            for (const QString &line : std::as_const(lines)) {
                EXPECT_FALSE(before.endsWith(u'-') && readable(line).startsWith(u'>'))
                    << "page " << n + 1 << ": " << qPrintable(before) << " / "
                    << qPrintable(readable(line));
                before = readable(line);
            }
            if (n + 1 == text.size())
                continue;
            for (qsizetype i = std::max<qsizetype>(0, lines.size() - 2); i < lines.size(); ++i) {
                const QString line = readable(lines[i]);
                // A heading starts at the margin; a table's cell may hold
                // the same words.
                EXPECT_FALSE(!lines[i].startsWith(u' ') && headings.contains(line))
                    << "page " << n + 1 << " ends on the heading " << qPrintable(line);
                EXPECT_FALSE(line.endsWith(u':'))
                    << "page " << n + 1 << " ends on " << qPrintable(line);
            }
        }
    }
}

// The blank fee form, printed to be filled in by hand, has its frame whole:
// the ends of its rules are joined by its left and right borders.
TEST_F(HelpDocuments, TheBlankFormHasItsWholeFrame)
{
    const QList<QList<Word>> pages = wordsOf("Tarifs");
    int form = -1;
    for (int n = 0; n < pages.size() && form < 0; ++n)
        for (const Word &w : pages[n])
            if (w.text == QStringLiteral("Barème"))
                form = n + 1;
    ASSERT_GT(form, 0);
    QTemporaryDir shots;
    poppler("pdftoppm", {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"),
                         QStringLiteral("-f"), QString::number(form), QStringLiteral("-l"),
                         QString::number(form), QStringLiteral("-singlefile"), pdfPath("Tarifs"),
                         shots.filePath(QStringLiteral("p"))});
    const QImage page(shots.filePath(QStringLiteral("p.pgm")));
    ASSERT_FALSE(page.isNull());
    const auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 128; };
    // The rules: rows dark over most of the page's width.
    QList<int> rules;
    int left = page.width(), right = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0, run = 0; x < page.width(); ++x) {
            run = dark(x, y) ? run + 1 : 0;
            if (run > page.width() / 2) {
                if (rules.isEmpty() || rules.last() != y)
                    rules.append(y);
                left = std::min(left, x + 1 - run);
                right = std::max(right, x);
            }
        }
    }
    ASSERT_GE(rules.size(), 10);
    int leftGaps = 0, rightGaps = 0;
    for (int y = rules.first(); y <= rules.last(); ++y) {
        leftGaps += !dark(left, y) && !dark(left + 1, y);
        rightGaps += !dark(right, y) && !dark(right - 1, y);
    }
    EXPECT_EQ(leftGaps, 0);
    EXPECT_EQ(rightGaps, 0) << "from " << rules.first() << " to " << rules.last() << " at "
                            << right;
}

TEST_F(HelpDocuments, FirstAndLastPagesCarryTheFooter)
{
    for (const Guide &g : guides()) {
        SCOPED_TRACE(g.name);
        const QMap<QString, QString> info = infoOf(pdfPath(g.name));
        const QString title = info.value(QStringLiteral("Title"));
        const QString pages = info.value(QStringLiteral("Pages"));
        for (const QString &page : {QStringLiteral("1"), pages}) {
            const QString text =
                readable(poppler("pdftotext", {QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                               QStringLiteral("-f"), page, QStringLiteral("-l"),
                                               page, pdfPath(g.name), QStringLiteral("-")}));
            EXPECT_TRUE(text.contains(
                readable(QStringLiteral("%1 - page %2 / %3").arg(title, page, pages))))
                << "page " << qPrintable(page) << ": " << qPrintable(text.right(120));
        }
    }
}

TEST_F(HelpDocuments, EachHelpCommandOpensAGuideThatExists)
{
    const std::pair<QAction * TVorn_FPr::*, const char *> aides[] = {
        {&TVorn_FPr::Aides1, "Saison"},       {&TVorn_FPr::Aides2, "Joueurs"},
        {&TVorn_FPr::Aides5, "Mcf"},          {&TVorn_FPr::Aides4, "Challenge"},
        {&TVorn_FPr::Aides3, "Convocations"}, {&TVorn_FPr::arifs1, "Tarifs"},
    };
    for (const auto &[item, name] : aides)
        ASSERT_TRUE(QFile::copy(pdfPath(name), path(QLatin1String(name) + QStringLiteral(".pdf"))))
            << name;
    demarrer();
    for (const auto &[item, name] : aides)
        (Vorn_FPr->*item)->trigger();
    ASSERT_EQ(shell().calls.size(), std::size(aides));
    for (size_t i = 0; i < std::size(aides); ++i) {
        const QString file = shell().calls[i].file;
        EXPECT_EQ(file, path(QLatin1String(aides[i].second) + QStringLiteral(".pdf")));
        EXPECT_TRUE(QFileInfo(file).isFile()) << qPrintable(file);
        EXPECT_EQ(QFileInfo(file).size(), QFileInfo(pdfPath(aides[i].second)).size());
    }
    EXPECT_TRUE(dialogs().messages.empty());
}

// The renderer on sources of its own.
class HelpRenderer : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void picture(const QString &name, QSize size, QColor colour)
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("images"));
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(file(QStringLiteral("images/") + name)));
    }
    Outcome render(const QString &source, const QString &output)
    {
        return run(QStringLiteral(VORN_HELP_TOOL),
                   {file(source), file(QStringLiteral("images")), file(output)});
    }

    QTemporaryDir m_dir;
};

TEST_F(HelpRenderer, RefusesWhatItCannotReadNamingTheFileAndKeepsTheOldOutput)
{
    picture(QStringLiteral("vue.png"), {40, 20}, Qt::red);
    write(QStringLiteral("vide.md"), "  \n\n");
    write(QStringLiteral("latin1.md"), "# Cr\xe9"
                                       "er\n");
    write(QStringLiteral("sans_image.md"), "# Guide\n\n![vue](images/vue.png)\n\n"
                                           "![absente](images/absente.png)\n");
    struct Case {
        const char *source;
        const char *named; // the file the message must name
    } cases[] = {
        {"introuvable.md", "introuvable.md"},
        {"vide.md", "vide.md"},
        {"latin1.md", "latin1.md"},
        {"sans_image.md", "absente.png"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.source);
        write(QStringLiteral("sortie.pdf"), "ancien");
        const Outcome r = render(QLatin1String(c.source), QStringLiteral("sortie.pdf"));
        EXPECT_NE(r.exitCode, 0);
        EXPECT_NE(r.exitCode, -1) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(QLatin1String(c.named))) << qPrintable(r.err);
        QFile out(file(QStringLiteral("sortie.pdf")));
        ASSERT_TRUE(out.open(QIODevice::ReadOnly));
        EXPECT_EQ(out.readAll(), QByteArray("ancien"));
    }
}

// A picture wider than the text shrinks to the text's width between the
// 20 mm margins; a small one keeps its size (96 pixels to the inch).
TEST_F(HelpRenderer, PicturesFitBetweenTheMarginsAndAreNeverEnlarged)
{
    picture(QStringLiteral("large.png"), {2400, 300}, Qt::red);
    picture(QStringLiteral("petite.png"), {96, 48}, Qt::blue);
    write(QStringLiteral("guide.md"),
          "# Guide\n\nTexte.\n\n![large](images/large.png)\n\n![petite](images/petite.png)\n");
    const Outcome r = render(QStringLiteral("guide.md"), QStringLiteral("guide.pdf"));
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    poppler("pdftoppm", {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                         QStringLiteral("-singlefile"), file(QStringLiteral("guide.pdf")),
                         file(QStringLiteral("page"))});
    const QImage page(file(QStringLiteral("page.png")));
    ASSERT_EQ(page.size(), QSize(595, 842));
    // The bounding box of the pixels close to one colour (the rasteriser
    // may shift a channel by a step).
    const auto box = [&](QColor colour) {
        QRect found;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor p = page.pixelColor(x, y);
                if (std::abs(p.red() - colour.red()) + std::abs(p.green() - colour.green()) +
                        std::abs(p.blue() - colour.blue()) <
                    24)
                    found |= QRect(x, y, 1, 1);
            }
        return found;
    };
    const double margin = 20 / 25.4 * 72;
    const QRect large = box(Qt::red);
    ASSERT_FALSE(large.isEmpty());
    EXPECT_NEAR(large.left(), margin, 2);
    EXPECT_NEAR(large.right() + 1, 595 - margin, 2);
    EXPECT_NEAR(double(large.height()) / large.width(), 300.0 / 2400, 0.01);
    const QRect small = box(Qt::blue);
    ASSERT_FALSE(small.isEmpty());
    EXPECT_NEAR(small.width(), 72, 2);
    EXPECT_NEAR(small.height(), 36, 2);
    EXPECT_GT(small.top(), large.bottom());
}

} // namespace help_documents_test
