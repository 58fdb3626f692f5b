// The golden pages in the program's own browser: the challenge's pages
// (Windows-1252 without a charset) and the saved entries pages and extracts
// (UTF-8, their head cut off) are read by the web engine into the document
// their data calls for: every table row, every accented word, names holding
// "&" or markup shown as text, the pages' colours. With VORN_SHOTS_DIR set,
// each page's first screen is saved there as a PNG.
#include "platform/browser/browser.h"
#include "platform/text/codec.h"
#include "tests/support/gui/browser_page.h"
#include "tests/support/gui/shots.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QScreen>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include <algorithm>

namespace
{

using vorn_test::evaluate;
using vorn_test::waitForPage;

int compte(const QString &texte, const QString &motif)
{
    const QRegularExpression re(motif, QRegularExpression::CaseInsensitiveOption);
    int n = 0;
    for (auto it = re.globalMatch(texte); it.hasNext(); it.next())
        ++n;
    return n;
}

QString decode(const QByteArray &octets)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texte = utf8.decode(octets);
    return utf8.hasError() ? platform::fromAnsi(octets) : texte;
}

// The text the engine shows once entities are read.
QString sansEntites(QString s)
{
    s.replace(QLatin1String("&nbsp;"), QString(QChar(0xA0)));
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&#39;"), QLatin1String("'"));
    return s.replace(QLatin1String("&amp;"), QLatin1String("&"));
}

TEST(PagesRendu, GoldenPagesInTheBrowser)
{
    struct Dossier {
        const char *nom;
        QStringList filtres;
    };
    const Dossier dossiers[] = {
        {"pages", {"*.htm"}},
        {"convocations", {"*.htm", "*.Qug", "*.Quc", "*.Pag", "*.Pac"}},
    };
    static const QRegularExpression mot(QStringLiteral("\\w+"),
                                        QRegularExpression::UseUnicodePropertiesOption);

    platform::TWebBrowser b(QStringLiteral("WebBrowser1"));
    b.resize(1000, 700);
    b.show();
    int pages = 0, avecDupont = 0, avecEtienne = 0, motsAccentues = 0;
    for (const Dossier &dossier : dossiers) {
        const QDir d(QStringLiteral(VORN_TEST_DATA "/") + QLatin1String(dossier.nom));
        for (const QString &nom : d.entryList(dossier.filtres, QDir::Files)) {
            SCOPED_TRACE(nom.toStdString());
            ++pages;
            QFile f(d.filePath(nom));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QByteArray octets = f.readAll();
            const QString brut = decode(octets);
            b.Navigate(f.fileName());
            ASSERT_TRUE(waitForPage(b));
            const QString titre = evaluate(b, "document.title").toString();
            const QString texte = evaluate(b, "document.body.innerText").toString();

            // Every cell the page writes, none made up; the challenge's pages
            // write each row (the saved federation blocks start inside a
            // table, whose first cells get the row the reader makes up).
            EXPECT_EQ(evaluate(b, "document.querySelectorAll('td, th').length").toInt(),
                      compte(brut, QStringLiteral("<t[dh][\\s>]")));
            const int rangees = compte(brut, QStringLiteral("<tr[\\s>]"));
            if (QLatin1String(dossier.nom) == QLatin1String("pages"))
                EXPECT_EQ(evaluate(b, "document.querySelectorAll('tr').length").toInt(), rangees);
            else
                EXPECT_LE(evaluate(b, "document.querySelectorAll('tr').length").toInt(),
                          rangees + 1);
            // Every accented word of the text, read in the page's encoding.
            for (auto it = mot.globalMatch(sansEntites(brut)); it.hasNext();) {
                const QString m = it.next().captured(0);
                if (std::any_of(m.begin(), m.end(), [](QChar c) { return c.unicode() > 0x7F; }) &&
                    !titre.contains(m)) {
                    ++motsAccentues;
                    EXPECT_TRUE(texte.contains(m)) << m.toStdString();
                }
            }
            EXPECT_FALSE(texte.contains(QChar::ReplacementCharacter));
            // Names holding markup show it as text; no other markup shows.
            EXPECT_EQ(texte.count(QLatin1Char('<')), brut.count(QLatin1String("&lt;")));
            EXPECT_EQ(texte.count(QLatin1Char('>')), brut.count(QLatin1String("&gt;")));
            if (octets.contains("Dupont &")) {
                ++avecDupont;
                EXPECT_TRUE(texte.contains(QStringLiteral("Dupont & Fils <b>SA</b>")));
                EXPECT_EQ(evaluate(b, "[...document.querySelectorAll('b')]"
                                      ".filter(e => e.textContent == 'SA').length")
                              .toInt(),
                          0);
            }
            if (octets.contains("Saint-\xC3\x89tienne &amp; Co")) {
                ++avecEtienne;
                EXPECT_TRUE(texte.contains(QStringLiteral("Saint-Étienne & Co")));
            }

            if (QLatin1String(dossier.nom) == QLatin1String("pages")) {
                // The challenge's pages: their title and their colours (the
                // page's, the banner's: pale blue for the rankings, green for
                // the teams pages).
                EXPECT_TRUE(titre.startsWith(QStringLiteral("Compétitions Résultats ")))
                    << titre.toStdString();
                EXPECT_EQ(evaluate(b, "getComputedStyle(document.body).backgroundColor"),
                          "rgb(255, 255, 230)");
                const bool equipes = nom.startsWith(QLatin1String("Quatre")) ||
                                     nom.startsWith(QLatin1String("Match"));
                const QString banniere = equipes ? QStringLiteral("rgb(102, 255, 153)")
                                                 : QStringLiteral("rgb(204, 255, 255)");
                EXPECT_TRUE(evaluate(b, "[...document.querySelectorAll('td, a')].some(e => "
                                        "getComputedStyle(e).backgroundColor == '" +
                                            banniere + "')")
                                .toBool())
                    << banniere.toStdString();
            }

            if (vorn_test::shotsRequested()) {
                // The page's first screen, as drawn.
                ASSERT_TRUE(vorn_test::waitForPaint(b));
                const QString png = QFileInfo(nom).fileName() + QStringLiteral(".png");
                EXPECT_FALSE(vorn_test::saveShot(&b, png).isEmpty()) << png.toStdString();
            }
        }
    }
    EXPECT_EQ(pages, 5 + 10);
    EXPECT_GT(avecDupont, 0) << "no golden page holds the team whose name carries markup";
    EXPECT_GT(avecEtienne, 0);
    EXPECT_GT(motsAccentues, 100);
}

} // namespace
