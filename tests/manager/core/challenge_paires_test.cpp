// Pairs results: acceptance and extraction of a saved ranking page, the two
// layouts, names decoded and matched, points and category mentions.
#include "manager/core/paires.h"
#include "platform/text/exceptions.h"
#include "tests/manager/core/challenge_support.h"

#include <QRegularExpression>

using namespace manager;
using vorn_test::blanks;
using vorn_test::joueur;
using vorn_test::PairePage;

namespace
{

TEST(PairesTexteHtml, Modes)
{
    const struct {
        QString line;
        int mode;
        QString expected;
    } cases[] = {
        {QStringLiteral("   12 ex "), 0, QStringLiteral("12 ex ")},
        {QStringLiteral("<td class=\"p\">3</td>"), 1, QStringLiteral("3")},
        {QStringLiteral("<td>a>b<c"), 1, QStringLiteral("a>")},
        {QStringLiteral("<a><b>"), 1, QString()},
        {QStringLiteral("<a>fin"), 1, QStringLiteral("fin")},
        {QStringLiteral("sans chevron"), 1, QString()},
        {QStringLiteral("<1><2><3><4>Anne NOMA</b>"), 4, QStringLiteral("Anne NOMA")},
        {QStringLiteral("<1><2><3>"), 4, QString()},
        {QStringLiteral("    Mme Anne  NOMA "), 3, QStringLiteral("Anne  NOMA ")},
        {QStringLiteral("Seul"), 3, QString()},
        {QStringLiteral("<a>b"), 2, QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TexteHtml(c.line, c.mode), c.expected)
            << c.line.toStdString() << " mode " << c.mode;
}

TEST(PairesPage, AcceptedByEachKnownLineInAnyAsciiCase)
{
    const QStringList known = {
        blanks(12) + QStringLiteral("OPEN /2 "),
        blanks(16) + vorn_test::pageText(QStringLiteral("TéLéCHARGER LE LIVRET")),
        blanks(12) + vorn_test::pageText(QStringLiteral("rÉsultats")),
    };
    // "TéL" keeps the small é: only ASCII letters are folded, so the second
    // line must keep the page's accented bytes as they are.
    const QStringList page2 = {blanks(16) +
                               vorn_test::pageText(QStringLiteral("TéléCHARGER le livret"))};
    EXPECT_TRUE(PagePaires({QStringLiteral("x"), known[0]}));
    EXPECT_TRUE(PagePaires(page2));
    EXPECT_TRUE(PagePaires({blanks(12) + vorn_test::pageText(QStringLiteral("Résultats"))}));
    EXPECT_FALSE(PagePaires({blanks(12) + vorn_test::pageText(QStringLiteral("RÉsultats"))}));
    EXPECT_FALSE(PagePaires({blanks(11) + QStringLiteral("Open /2 ")}));
    EXPECT_FALSE(PagePaires({blanks(12) + QStringLiteral("Open /2")}));
    EXPECT_FALSE(PagePaires({QStringLiteral("<html>"), QStringLiteral("Résultats")}));
    EXPECT_FALSE(PagePaires({}));
}

TEST(PairesPage, ExtractKeepsEveryBlockWithItsOpeningLine)
{
    const QString ouvre = blanks(12) + QStringLiteral("<div class=\"container-table columns\">");
    const QStringList page = {
        QStringLiteral("ligne 0"),
        QStringLiteral("hors bloc"),
        ouvre,
        QStringLiteral("a"),
        blanks(8) + QStringLiteral("<div class=\"container-table\">"),
        QStringLiteral("b"),
        blanks(4) + QStringLiteral("</section>"),
        QStringLiteral("entre"),
        blanks(8) + QStringLiteral("<div class=\"container-table columns\" id=\"contenu\">"),
        QStringLiteral("c"),
        blanks(8) + QStringLiteral("<!-- Simultanee only -->"),
        QStringLiteral("apres"),
    };
    EXPECT_EQ(ExtrairePaires(page),
              (QStringList{QStringLiteral("ligne 0"), ouvre, QStringLiteral("a"),
                           QStringLiteral("b"), page[8], QStringLiteral("c")}));
    EXPECT_TRUE(ExtrairePaires({}).isEmpty());
}

QList<PairePage> troisPaires()
{
    return {{QStringLiteral("1"), QStringLiteral("Anne de NOMC"), QStringLiteral("Loïc NOMB")},
            {QStringLiteral("2"), QStringLiteral("Jérôme O&#39;NEIL"),
             QStringLiteral("Jean Pierre NOMD")},
            {QStringLiteral("2"), QStringLiteral("hélène NOME"), QStringLiteral("Léa &amp; Co")}};
}

TEST(PairesLecture, BothLayoutsGiveTheSamePairs)
{
    const QStringList expected = {QStringLiteral("1;Anne de NOMC;Loïc NOMB;"),
                                  QStringLiteral("2;Jérôme O'NEIL;Jean Pierre NOMD;"),
                                  QStringLiteral("2;hélène NOME;Léa & Co;")};
    for (const QStringList &page :
         {vorn_test::newLayoutPage(troisPaires()), vorn_test::oldLayoutPage(troisPaires())}) {
        ASSERT_TRUE(PagePaires(page));
        EXPECT_EQ(LirePaires(ExtrairePaires(page)), expected);
    }
}

TEST(PairesLecture, CutPagesAreRefusedWhole)
{
    // A ranking of six pairs saved before the page was whole: wherever the
    // cut falls inside the sixth pair's row, nothing is read and the message
    // names the page and the pair.
    QList<PairePage> six = troisPaires();
    six += troisPaires();
    const QStringList nouvelle = ExtrairePaires(vorn_test::newLayoutPage(six));
    const QStringList ancienne = ExtrairePaires(vorn_test::oldLayoutPage(six));
    ASSERT_EQ(LirePaires(nouvelle).size(), 6);
    ASSERT_EQ(LirePaires(ancienne).size(), 6);
    const qsizetype sixieme = nouvelle.lastIndexOf(QRegularExpression(QStringLiteral("^ +2$")));
    const qsizetype sixiemeAncienne =
        ancienne.lastIndexOf(QRegularExpression(QStringLiteral("^<td class=\"place\">2</td>$")));
    ASSERT_GT(sixieme, 0);
    ASSERT_GT(sixiemeAncienne, 0);
    const QStringList coupes[] = {
        nouvelle.mid(0, sixieme + 1),         nouvelle.mid(0, sixieme + 5),
        nouvelle.mid(0, sixieme + 19),        nouvelle.mid(0, sixieme + 22),
        ancienne.mid(0, sixiemeAncienne + 9), ancienne.mid(0, sixiemeAncienne + 10)};
    for (const QStringList &coupe : coupes) {
        SCOPED_TRACE(coupe.size());
        try {
            const QStringList lues = LirePaires(coupe, QStringLiteral("/saison/Open1.htm"));
            ADD_FAILURE() << "read " << lues.size() << " pairs from a cut page";
        } catch (const EPageIncomplete &e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("/saison/Open1.htm")));
            EXPECT_TRUE(e.Message().contains(QStringLiteral("La paire 6 ")));
        }
    }
    // Cut inside the opening pair.
    EXPECT_THROW(LirePaires(nouvelle.mid(
                     0, nouvelle.indexOf(QRegularExpression(QStringLiteral("^ +1$"))) + 10)),
                 EPageIncomplete);
}

TEST(PairesLecture, PagesWithoutTableAndBrokenRecords)
{
    EXPECT_TRUE(LirePaires({QStringLiteral("rien")}).isEmpty());
    // A reference to a line break or a ";" cannot split the record.
    const QStringList casse = LirePaires(ExtrairePaires(vorn_test::newLayoutPage(
        {{QStringLiteral("1"), QStringLiteral("A&#10;B"), QStringLiteral("C&#59;D")}})));
    EXPECT_EQ(casse, QStringList{QStringLiteral("1;A B;C D;")});
    EXPECT_TRUE(LirePaires({}).isEmpty());
}

TEST(PairesPoints, ExactFormula)
{
    const qint64 dix[] = {1111, 901, 716, 556, 420, 309, 222, 160, 123, 111};
    for (int r = 1; r <= 10; ++r)
        EXPECT_EQ(PointsPaire(10, r, 100000), dix[r - 1]) << r;
    // Exactly 188.5: binary floating point would round it up.
    EXPECT_EQ(PointsPaire(13, 3, 18000), 188);
    EXPECT_EQ(PointsPaire(1, 1, 100000), 111);
    EXPECT_EQ(PointsPaire(2, 2, 100000), 22);
}

TEST(PairesCalcul, PlayersFoundByCompactNameAndMentions)
{
    const QList<FicheJoueur> joueurs = {
        joueur(QStringLiteral("01"), QStringLiteral("Anne"), QStringLiteral("NOMC"),
               QStringLiteral("30")),
        joueur(QStringLiteral("02"), QStringLiteral("Loïc"), QStringLiteral("NOMB"),
               QStringLiteral("28")),
        joueur(QStringLiteral("03"), QStringLiteral("Jérôme"), QStringLiteral("O'NEIL"),
               QStringLiteral("25")),
        joueur(QStringLiteral("04"), QStringLiteral("Jean-Pierre"), QStringLiteral("NOMD"),
               QStringLiteral("20")),
        joueur(QStringLiteral("05"), QStringLiteral("HÉLÈNE"), QStringLiteral("NOME"),
               QStringLiteral("30")),
        joueur(QStringLiteral("06"), QStringLiteral("Jérôme"), QStringLiteral("O'NEIL"),
               QStringLiteral("99")),
    };
    const QStringList paires = {QStringLiteral("1;Anne de NOMC;Loïc NOMB;"),
                                QStringLiteral("2;jérôme o'neil;Jean Pierre NOMD;"),
                                QStringLiteral("2;hélène NOME;anne  nomc;")};
    const QStringList lignes = CalculPointsPaires(paires, joueurs, QStringLiteral("100000"));
    EXPECT_EQ(lignes, (QStringList{
                          QStringLiteral("1;Anne de NOMC;Loïc NOMB;01;30;02;28;333;"
                                         "Sans Deuxième série;Sans Troisième série;"),
                          QStringLiteral("2;jérôme o'neil;Jean Pierre NOMD;03;25;;;108;"),
                          QStringLiteral("2;hélène NOME;anne  nomc;;;01;30;33;"),
                      }));
    EXPECT_EQ(TotalPoints(lignes), 2 * 333 + 108 + 33);
}

TEST(PairesCalcul, MentionsGoToTheFirstQualifyingLineEach)
{
    const QList<FicheJoueur> joueurs = {
        joueur(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("40")),
        joueur(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("B"), QStringLiteral("30")),
        joueur(QStringLiteral("3"), QStringLiteral("C"), QStringLiteral("C"), QStringLiteral("41")),
    };
    const QStringList lignes =
        CalculPointsPaires({QStringLiteral("1;C C;B B;"), QStringLiteral("2;A A;B B;"),
                            QStringLiteral("3;B B;B B;"), QStringLiteral("4;A A;A A;")},
                           joueurs, QStringLiteral("100000"));
    EXPECT_FALSE(lignes[0].contains(QStringLiteral("Sans")));
    EXPECT_TRUE(lignes[1].endsWith(QStringLiteral(";Sans Deuxième série;")));
    EXPECT_TRUE(lignes[2].endsWith(QStringLiteral(";Sans Troisième série;")));
    EXPECT_FALSE(lignes[3].contains(QStringLiteral("Sans")));
}

TEST(PairesCalcul, ConversionErrorsReturnNothing)
{
    const QList<FicheJoueur> joueurs = {
        joueur(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("x"))};
    const QStringList paires = {QStringLiteral("1;A A;Z Z;"), QStringLiteral("2;Y Y;Z Z;")};
    EXPECT_THROW(CalculPointsPaires(paires, joueurs, QStringLiteral("x")), platform::EConvertError);
    EXPECT_THROW(CalculPointsPaires(paires, joueurs, QStringLiteral("100000")),
                 platform::EConvertError);
    EXPECT_TRUE(CalculPointsPaires({}, joueurs, QStringLiteral("100000")).isEmpty());
}

TEST(PairesTotal, CountsEachLicenceFound)
{
    EXPECT_EQ(TotalPoints({QStringLiteral("1;a;b;1;;2;;100;"), QStringLiteral("2;a;b;;;2;;10;"),
                           QStringLiteral("3;a;b;;;;;x;")}),
              210);
    EXPECT_THROW(TotalPoints({QStringLiteral("1;a;b;1;;;;x;")}), platform::EConvertError);
}

} // namespace
