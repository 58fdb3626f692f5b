// The challenge's web pages of a whole season, made from the challenge
// window: a teams-of-four journée over groups of four, three and five teams,
// a pairs journée of two tournaments, a journée no tournament names, one
// without result, 120 ranked players and names that hold markup. The pages a
// browser opens are compared byte for byte with tests/data/pages
// (VORN_UPDATE_GOLDEN=1 writes them), and the group of four line for line
// with its layout.
#include "challenge_fenetre_support.h"
#include "tests/manager/core/pages_support.h"

#include "manager/challenge.h"
#include "platform/text/linefile.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

using namespace manager;

namespace vorn_test
{
namespace
{

const QString Dupont = QStringLiteral("Dupont & Fils <b>SA</b>");
const QString DupontHtml = QStringLiteral("Dupont &amp; Fils &lt;b&gt;SA&lt;/b&gt;");

// A match sheet of 50 lines: the teams, each half's four players with the
// half's deals, PE and PC, each side's match line and the handicaps.
struct Feuille {
    QString nom, groupe, a, b;
    QStringList joueursA1, joueursA2, joueursB1, joueursB2; // "name;licence;IV;club;"
    QString demiA1, demiA2, demiB1, demiB2;                 // "deals;IV sum;PE;PC;"
    QString matchA, matchB;                                 // "deals;IMP;IVm;PV;"
    QString handicaps;                                      // "A;B;;;"

    QStringList lignes() const
    {
        QStringList l;
        l << nom + QStringLiteral(";400;;") + groupe + u';' << a + QStringLiteral(";0;;;")
          << joueursA1 << demiA1 << joueursA2 << demiA2 << matchA << b + QStringLiteral(";1;;;")
          << joueursB1 << demiB1 << joueursB2 << demiB2 << matchB << handicaps;
        while (l.size() < 50)
            l << QStringLiteral(";;;;");
        return l;
    }
};

QStringList quatre(const QString &club, const QString &a, const QString &b, const QString &c,
                   const QString &d, int licence, int iv)
{
    QStringList l;
    int i = 0;
    for (const QString &nom : {a, b, c, d}) {
        const QString lic =
            nom.startsWith(u'*') ? QString() : QStringLiteral("0%1").arg(licence + i);
        l << QString(nom).remove(u'*') + u';' + lic + u';' +
                 (lic.isEmpty() ? QString() : QString::number(iv)) + u';' + club + u';';
        ++i;
    }
    return l;
}

class PagesSaison : public ChallengeTest
{
protected:
    void SetUp() override
    {
        ChallengeTest::SetUp();
        // The recorded session of the teams window, its first team renamed
        // so that its name holds markup, and team A given a handicap of 3.
        for (const char *f : {"Poule1.cpo", "PouleR0.cpo", "PouleM000001.cpo", "Match1.chr"}) {
            QStringList l = platform::LineFile::read(QStringLiteral(VORN_TEST_DATA "/quatre/") +
                                                     QLatin1String(f));
            l.replaceInStrings(QStringLiteral("Lyon"), Dupont);
            if (QByteArrayView(f) == "PouleM000001.cpo")
                l[25] = QStringLiteral("3;;;;");
            ecrireSaison(QLatin1String(f), l);
        }
        ecrireSaison(QStringLiteral("Poule.cpo"),
                     {QStringLiteral("Poule A"), QStringLiteral("Poule B"),
                      QStringLiteral("Poule C"), QStringLiteral("Poule D")});
        // Three teams.
        ecrireSaison(QStringLiteral("Poule2.cpo"),
                     {QStringLiteral("Nîmes"), QStringLiteral("Arles"), QStringLiteral("Alès")});
        ecrireSaison(QStringLiteral("PouleR1.cpo"),
                     {QStringLiteral(";Nîmes;Arles;Alès;;"), QStringLiteral("Nîmes;;1500;;1500;"),
                      QStringLiteral("Arles;500;;;500;"), QStringLiteral("Alès;;;;;")});
        Feuille f{QStringLiteral("Match 1"),
                  QStringLiteral("Poule B"),
                  QStringLiteral("Nîmes"),
                  QStringLiteral("Arles"),
                  quatre(QStringLiteral("NIMES BC"), QStringLiteral("M ABEL Noé"),
                         QStringLiteral("Mme BRUN Léa"), QStringLiteral("*M COSTE Jean"),
                         QStringLiteral("Mme DURAND Ève"), 1100001, 40),
                  quatre(QStringLiteral("NIMES BC"), QStringLiteral("M ABEL Noé"),
                         QStringLiteral("Mme BRUN Léa"), QStringLiteral("M FABRE Hugo"),
                         QStringLiteral("Mme DURAND Ève"), 1100001, 40),
                  quatre(QStringLiteral("ARLES BC"), QStringLiteral("M GIRAUD Paul"),
                         QStringLiteral("Mme HENRY Lou"), QStringLiteral("M IMBERT Yves"),
                         QStringLiteral("Mme JOLY Anne"), 1200001, 50),
                  quatre(QStringLiteral("ARLES BC"), QStringLiteral("M GIRAUD Paul"),
                         QStringLiteral("Mme HENRY Lou"), QStringLiteral("M IMBERT Yves"),
                         QStringLiteral("Mme JOLY Anne"), 1200001, 50),
                  QStringLiteral("16;120;9000;1500;"),
                  QStringLiteral("16;160;9100;1550;"),
                  QStringLiteral("16;200;5000;500;"),
                  QStringLiteral("16;200;5100;520;"),
                  QStringLiteral("32;25;45;1500;"),
                  QStringLiteral("32;20;50;500;"),
                  QStringLiteral("0;3;;;")};
        ecrireSaison(QStringLiteral("PouleM010001.cpo"), f.lignes());
        // Five teams: a PV of 2150, a match filed with its teams the other
        // way round, a result with no match file.
        ecrireSaison(QStringLiteral("Poule3.cpo"),
                     {QStringLiteral("Annecy"), QStringLiteral("Grenoble"),
                      QStringLiteral("Valence"), QStringLiteral("Vienne"),
                      QStringLiteral("Chambéry")});
        ecrireSaison(QStringLiteral("PouleR2.cpo"),
                     {QStringLiteral(";Annecy;Grenoble;Valence;Vienne;Chambéry;;"),
                      QStringLiteral("Annecy;;2150;;;850;3000;"),
                      QStringLiteral("Grenoble;350;;;1000;;1350;"),
                      QStringLiteral("Valence;;;;;;;"), QStringLiteral("Vienne;;1000;;;;1000;"),
                      QStringLiteral("Chambéry;1150;;;;;1150;")});
        f.groupe = QStringLiteral("Poule C");
        f.a = QStringLiteral("Annecy");
        f.b = QStringLiteral("Grenoble");
        f.matchA = QStringLiteral("32;38;45;2150;");
        f.matchB = QStringLiteral("32;2;50;350;");
        f.handicaps = QStringLiteral(";;;;");
        ecrireSaison(QStringLiteral("PouleM020001.cpo"), f.lignes());
        f.a = QStringLiteral("Chambéry");
        f.b = QStringLiteral("Annecy");
        f.matchA = QStringLiteral("32;20;45;1150;");
        f.matchB = QStringLiteral("32;12;50;850;");
        ecrireSaison(QStringLiteral("PouleM020400.cpo"), f.lignes());

        // The pairs: the top of the ranking made by hand, then pairs enough
        // for 120 ranked players with every band of value index.
        const int ivs[] = {20, 25, 30, 31, 35, 38, 40, 41, 45, 55, 60, 61, 70, 85, 100};
        auto paire = [&](int place, int i, int points) {
            return QStringLiteral("%1;M JOUEUR%2 Léon;Mme JOUEUSE%2 Zoé;02%3;%4;02%5;%6;%7;")
                .arg(place)
                .arg(i)
                .arg(10000 + 2 * i)
                .arg(ivs[(2 * i) % 15])
                .arg(10001 + 2 * i)
                .arg(ivs[(2 * i + 1) % 15])
                .arg(points);
        };
        QStringList open1{
            QStringLiteral(
                "1;M LEROUX & Fils <i>Jr</i>;Mme ALBERT Chloé;02000001;35;02000002;75;4000;"),
            QStringLiteral(
                "2;M BLANC Jean;M BRUN Paul;02000003;40;02000004;31;3500;Sans Deuxième série;"),
            QStringLiteral("3;Mme CHEVALIER Inès;M DUMAS René;02000005;30;02000006;100;3000;")};
        for (int i = 4; i <= 40; ++i)
            open1 << paire(i, i, 2900 - 40 * (i - 4));
        open1 << QStringLiteral("41;M SEUL Marc;Mme INCONNUE Sophie;02000099;41;;;900;");
        ecrireSaison(QStringLiteral("Open1.chr"), open1);
        QStringList open2{paire(1, 4, 1111)};
        for (int i = 41; i <= 55; ++i)
            open2 << paire(i - 39, i, 2013 - 100 * (i - 41));
        open2 << QStringLiteral("17;M NUL Pierre;Mme NULLE Anne;02000201;55;02000202;45;0;")
              << QStringLiteral("18;Mme UNIQUE Rose;M ABSENT Luc;02000203;33;;;1113;");
        ecrireSaison(QStringLiteral("Open2.chr"), open2);

        ecrireSaison(QStringLiteral("Challenge.DBP"),
                     {QStringLiteral("1;14/10/2023;Championnat par quatre;Q;1;100;Match1.chr;"),
                      QStringLiteral("2;21/10/2023;Open Lyon & Villeurbanne;P;2;100;Open1.chr;"),
                      QStringLiteral("3;21/10/2023;Open du soir;P;2;50;Open2.chr;"),
                      QStringLiteral("4;16/12/2023;Finale régionale;P;4;100;;")});
        w = std::make_unique<TVorn_FChallenge>();
    }
    QStringList page(const QString &nom) const
    {
        return platform::LineFile::read(path(QStringLiteral("Page_Htm/") + nom));
    }
    std::unique_ptr<TVorn_FChallenge> w;
};

const char *const Goldens[] = {"Challenge.htm", "ChallengeCat.htm", "Quatre1.htm",
                               "Match000001.htm", "Open1.htm"};

TEST_F(PagesSaison, GoldenPagesAndASecondRun)
{
    w->activated();
    ASSERT_EQ(w->StringGrid1->rowCount(), 2 + 120);
    // No folder: told, nothing written.
    w->BtPageWeb->click();
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_TRUE(dialogs().messages[0].text.startsWith(
        QStringLiteral("Le dossier des pages Internet est absent : ")));
    EXPECT_FALSE(exists(QStringLiteral("Page_Htm")));

    QDir().mkpath(path(QStringLiteral("Page_Htm")));
    w->BtPageWeb->click();
    EXPECT_EQ(dialogs().messages.size(), 1u) << dialogs().texts().join('|').toStdString();
    EXPECT_TRUE(preview->calls.empty());
    const QDir pages(path(QStringLiteral("Page_Htm")));
    EXPECT_EQ(
        pages.entryList(QDir::Files | QDir::Hidden, QDir::Name),
        (QStringList{"Challenge.htm", "ChallengeCat.htm", "Match000001.htm", "Match010001.htm",
                     "Match020001.htm", "Match020400.htm", "Open1.htm", "Quatre1.htm"}));
    std::map<std::string, QByteArray> premiers;
    for (const char *nom : Goldens) {
        const QByteArray octets = readBytes(QStringLiteral("Page_Htm/") + QLatin1String(nom));
        premiers[nom] = octets;
        QFile g(QStringLiteral(VORN_TEST_DATA "/pages/") + QLatin1String(nom));
        if (qEnvironmentVariableIntValue("VORN_UPDATE_GOLDEN") == 1) {
            QDir().mkpath(QStringLiteral(VORN_TEST_DATA "/pages"));
            ASSERT_TRUE(g.open(QIODevice::WriteOnly));
            g.write(octets);
            g.close();
        }
        ASSERT_TRUE(g.open(QIODevice::ReadOnly)) << nom;
        EXPECT_EQ(octets, g.readAll()) << nom;
        // What a browser is given: Windows-1252 and CR LF only.
        EXPECT_TRUE(octets.endsWith("</body></html>\r\n")) << nom;
        EXPECT_EQ(octets.count("\n"), octets.count("\r\n")) << nom;
    }
    for (const char *nom : {"Quatre1.htm", "Match000001.htm"})
        EXPECT_TRUE(premiers[nom].contains("\r\nDupont &amp; Fils &lt;b&gt;SA&lt;/b&gt;\r\n"))
            << nom;
    EXPECT_TRUE(
        premiers["Quatre1.htm"].contains("<title>Comp\xe9titions R\xe9sultats Quatre</title>"));
    EXPECT_TRUE(premiers["Open1.htm"].contains("M LEROUX &amp; Fils &lt;i&gt;Jr&lt;/i&gt;"));
    for (const auto &[nom, octets] : premiers)
        EXPECT_FALSE(octets.contains("<b>SA") || octets.contains("<i>Jr")) << nom;

    // A second run writes the same files, match pages included.
    std::map<QString, QByteArray> tous;
    for (const QString &f : pages.entryList(QDir::Files))
        tous[f] = readBytes(QStringLiteral("Page_Htm/") + f);
    w->BtPageWeb->click();
    EXPECT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(pages.entryList(QDir::Files | QDir::Hidden).size(), qsizetype(tous.size()));
    for (const auto &[f, octets] : tous)
        EXPECT_EQ(readBytes(QStringLiteral("Page_Htm/") + f), octets) << f.toStdString();
}

TEST_F(PagesSaison, RankingPagesShowTheRankingsEntries)
{
    QDir().mkpath(path(QStringLiteral("Page_Htm")));
    w->activated();
    // The ranking function's entries, as the window's grid shows them.
    const QList<EntreeClassement> ouvertes = ListeClassementGeneral(
        CalculerClassement(platform::LineFile::read(saison(QStringLiteral("Challenge.DBP"))),
                           saison(QString()))
            .joueurs);
    w->BtPageWeb->click();
    ASSERT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();

    // Journée titles: links to the pages made, plain otherwise, escaped.
    const QStringList open = page(QStringLiteral("Challenge.htm"));
    for (const char *titre :
         {"<b><a Class=\"LienCh\" href=\"Quatre1.htm\" target=principal>&nbsp;Championnat par "
          "quatre&nbsp;</a></b>",
          "<b><a Class=\"Lien\" href=\"Open1.htm\" target=principal>&nbsp;Open Lyon &amp; "
          "Villeurbanne&nbsp;</a></b>",
          "<b> </b>", "<b>Finale régionale</b>"})
        EXPECT_EQ(open.count(QString::fromUtf8(titre)), 3) << titre; // one per header block
    // The journée no tournament names: blue header cells.
    const qsizetype vide = open.indexOf(QStringLiteral("<b> </b>"));
    ASSERT_GT(vide, 2);
    EXPECT_EQ(open[vide - 2],
              QStringLiteral("<td bgcolor=\"#0000ff\" align=\"center\" height=\"20\">"));

    // Rows: the open ranking's entries; the limited page those FiltrerIV
    // keeps at the window's limit, placed 1, 2, 2, 4 at the top.
    const QList<RangLu> rangs = rangsLus(open, 4);
    ASSERT_EQ(rangs.size(), 120);
    ASSERT_EQ(ouvertes.size(), 120);
    QList<EntreeClassement> limitees = ouvertes;
    FiltrerIV(limitees, 40);
    const QList<RangLu> cat = rangsLus(page(QStringLiteral("ChallengeCat.htm")), 4);
    ASSERT_EQ(cat.size(), limitees.size());
    for (const auto &[lus, entrees] : {std::pair{rangs, ouvertes}, std::pair{cat, limitees}})
        for (qsizetype i = 0; i < lus.size(); ++i) {
            const RangLu &r = lus[i];
            const EntreeClassement &e = entrees[i];
            EXPECT_EQ(std::tuple(r.place, r.nom, r.total), std::tuple(e.place, e.nom, e.total));
            for (int j = 0; j < 4; ++j)
                EXPECT_EQ(r.points[j], e.points[size_t(j)]) << i << ' ' << j;
        }
    QStringList places, noms;
    for (int i = 0; i < 5; ++i) {
        places << cat[i].place;
        noms << cat[i].nom;
    }
    EXPECT_EQ(places, (QStringList{"1", "2", "2", "4", "5"}));
    EXPECT_EQ(noms.mid(0, 4), (QStringList{"M LEROUX & Fils <i>Jr</i>", "M BLANC Jean",
                                           "M BRUN Paul", QStringLiteral("Mme CHEVALIER Inès")}));
    // The window keeps the limited ranking, as the pages leave it.
    EXPECT_EQ(w->impression().entrees.size(), limitees.size());
    // A player counted in both tournaments of the pairs journée, the second
    // at coefficient 50 (1111 gives 556): one row, both in the journée's
    // cell and in the total.
    const auto joueur4 = std::find_if(rangs.begin(), rangs.end(), [](const RangLu &r) {
        return r.nom == QStringLiteral("M JOUEUR4 Léon");
    });
    ASSERT_NE(joueur4, rangs.end());
    EXPECT_EQ(joueur4->points, (QStringList{"", "34,56", "", ""}));
    EXPECT_EQ(joueur4->total, QStringLiteral("34,56"));
}

TEST_F(PagesSaison, ABadCellEndsTheRunAndKeepsThePagesOfTheLastOne)
{
    QDir().mkpath(path(QStringLiteral("Page_Htm")));
    w->activated();
    w->BtPageWeb->click();
    ASSERT_TRUE(dialogs().messages.empty());
    const QDir pages(path(QStringLiteral("Page_Htm")));
    const QStringList fichiers = pages.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    std::map<QString, QByteArray> avant;
    for (const QString &f : fichiers)
        avant[f] = readBytes(QStringLiteral("Page_Htm/") + f);

    // The group of five's table now holds a cell that is no number.
    QStringList tableau = platform::LineFile::read(saison(QStringLiteral("PouleR2.cpo")));
    tableau[4] = QStringLiteral("Vienne;;10x0;;;;1000;");
    ecrireSaison(QStringLiteral("PouleR2.cpo"), tableau);
    w->BtPageWeb->click();
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].text,
              QStringLiteral("Fichier abîmé, il n'est pas lu : '10x0' n'est pas une valeur "
                             "entière correcte (fichier %1, ligne 5)")
                  .arg(saison(QStringLiteral("PouleR2.cpo"))));
    // Nothing half written, no temporary file, every page as it was.
    EXPECT_EQ(pages.entryList(QDir::Files | QDir::Hidden, QDir::Name), fichiers);
    for (const QString &f : fichiers)
        EXPECT_EQ(readBytes(QStringLiteral("Page_Htm/") + f), avant[f]) << f.toStdString();
}

// The group of four of Quatre1.htm, line for line: its title and spacer,
// five rows of the two side cells around six cells opened by the rules of
// their column and row, and the closing spacer; the page's frame before it.
TEST_F(PagesSaison, GroupOfFourAsLaidOut)
{
    QDir().mkpath(path(QStringLiteral("Page_Htm")));
    w->activated();
    w->BtPageWeb->click();
    ASSERT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
    const QStringList l = page(QStringLiteral("Quatre1.htm"));

    auto regle = [](const char *classe, const char *etat, const char *b, const char *c) {
        return QStringLiteral("a.%1:%2 { text-decoration: none; background-color: %3; color: %4; "
                              "font-family: Arial; font-size: 16pt; font-style: none; font-weight: "
                              "bold }")
            .arg(QLatin1String(classe), QLatin1String(etat), QLatin1String(b), QLatin1String(c));
    };
    QStringList attendu{
        QStringLiteral("<html><head>"),
        QStringLiteral("<title>Compétitions Résultats Quatre</title>"),
        QStringLiteral("<style><!-- "), regle("Lien", "link", "#CCFFFF", "#0000FF"),
        regle("Lien", "visited", "#CCFFFF", "#0000FF"),
        regle("Lien", "active", "#0000FF", "#00FFFF"), regle("Lien", "hover", "#0000FF", "#FFFFFF"),
        regle("LienCh", "link", "#66FF99", "#0000FF"),
        regle("LienCh", "visited", "#66FF99", "#0000FF"),
        regle("LienCh", "active", "#0000FF", "#66FF99"),
        regle("LienCh", "hover", "#0000FF", "#FFFFFF"), QStringLiteral(" --></style>"),
        QStringLiteral("</head>"),
        QStringLiteral(
            "<body topmargin=\"0\" leftmargin=\"0\" bgcolor=\"#FFFFE6\" TEXT=\"#000000\" >"),
        QStringLiteral("<table cellspacing=\"0\" width=\"100%\">"), QStringLiteral("<tr>"),
        QStringLiteral("<td align=\"center\" bgcolor=\"#66ff99\" height=\"31\">"),
        QStringLiteral("<b><font color=\"#0000ff\" face=\"Arial\" size=\"5\">"),
        QStringLiteral("<a Class=\"LienCh\" href=\"Challenge.htm\" target=principal>"),
        QStringLiteral("&nbsp;2023-2024 Challenge de Ludmarre&nbsp;"),
        QStringLiteral("</a></font> </b> </td> </tr> "), QStringLiteral("</table>"),
        QStringLiteral("<table border=\"1\" cellspacing=\"0\" width=\"100%\">"),
        QStringLiteral(
            "<tr><td bgcolor=\"#0000ff\" height=\"31\" valign=\"middle\" align=\"center\" "
            "width=\"100%\">"),
        QStringLiteral("<b><font color=\"#ffffff\" size=\"5\" face=\"Arial\">"),
        QStringLiteral("Résultats &eacute;preuve par quatre du challenge"),
        QStringLiteral("</tr></td></font></b>"), QStringLiteral("<tr>"),
        QStringLiteral("<td width=\"100%\">"),
        QStringLiteral(
            "<table border=\"2\" BORDERCOLOR=\"#0000FF\" cellspacing=\"0\" width=\"100%\">"),
        // The group's title and spacer rows.
        QStringLiteral("<tr>"),
        QStringLiteral("<td colspan=\"8\" align=\"center\" height=\"37\" width=\"100%\">"),
        QStringLiteral("<b><font color=\"#1AAC30\" face=\"Arial\" size=\"6\">"),
        QStringLiteral("Poule A"), QStringLiteral("</font></b></td>"), QStringLiteral("</tr>"),
        QStringLiteral("<tr bgcolor=\"#0000ff\">"),
        QStringLiteral("<td colspan=\"8\" align=\"center\"  height=\"15\" width=\"100%\">&nbsp;"),
        QStringLiteral("</td>"), QStringLiteral("</tr>")};

    // The cell openings: by column, for row 0, the diagonal and other rows.
    const QString bleu = QStringLiteral("<td bgcolor=\"#0000ff\" width=\"15%\" align=\"center\">");
    const QString cyan = QStringLiteral("<td bgcolor=\"#00FFff\" width=\"15%\" align=\"center\">");
    const QString vert = QStringLiteral("<td bgcolor=\"#66ff99\" width=\"15%\" align=\"center\">");
    const QString simple = QStringLiteral("<td align=\"center\">");
    auto police = [](const char *couleur, int taille) {
        return QStringLiteral("<b><font color=\"%1\" face=\"Arial\" size=\"%2\">")
            .arg(QLatin1String(couleur))
            .arg(taille);
    };
    const struct {
        QString t0, f0, td, fd, to, fo;
    } colonnes[6] = {
        {bleu, police("#ffffff", 3), {}, {}, cyan, police("#0000ff", 3)},
        {cyan, police("#0000ff", 3), vert, police("#0000ff", 3), simple, police("#000000", 3)},
        {cyan, police("#0000FF", 3), vert, police("#0000ff", 3), simple, police("#000000", 3)},
        {cyan, police("#0000ff", 3), vert, police("#00ffff", 3), simple, police("#000000", 3)},
        {cyan, police("#0000ff", 3), QStringLiteral("<td bgcolor=\"#66ff99\" align=\"center\">"),
         police("#0000ff", 3), simple, police("#000000", 3)},
        {bleu, police("#ffffff", 3), {}, {}, simple, police("#000000", 5)}};
    // The texts: names as they stand (escaped), PVs in points, the match
    // cells linking to the match page from both sides, "&nbsp;" if empty.
    const QString lien12 =
        QStringLiteral("<a Class=\"Lien\" href=\"Match000001.htm\" target=principal>12,33</a>");
    const QString lien7 =
        QStringLiteral("<a Class=\"Lien\" href=\"Match000001.htm\" target=principal>7,67</a>");
    const QString v = QStringLiteral("&nbsp;");
    const QString textes[5][6] = {{v, DupontHtml, QStringLiteral("Sète"), QStringLiteral("Nice"),
                                   QStringLiteral("Pau"), QStringLiteral("Résultats")},
                                  {DupontHtml, v, lien12, v, v, QStringLiteral("12,33")},
                                  {QStringLiteral("Sète"), lien7, v, v, v, QStringLiteral("7,67")},
                                  {QStringLiteral("Nice"), v, v, v, v, v},
                                  {QStringLiteral("Pau"), v, v, v, v, v}};
    const QStringList cote{QStringLiteral("<TD bgColor=#0000ff width=\"5%\" align=middle>"),
                           QStringLiteral("<FONT color=#ffffff size=3 face=Arial>&nbsp;"),
                           QStringLiteral("</FONT></B></TD>")};
    for (int r = 0; r <= 4; ++r) {
        attendu << QStringLiteral("<tr>") << cote;
        for (int c = 1; c <= 6; ++c) {
            const auto &k = colonnes[c - 1];
            if (r == 0)
                attendu << k.t0 << k.f0;
            else if (r == c - 1)
                attendu << k.td << k.fd;
            else
                attendu << k.to << k.fo;
            attendu << textes[r][c - 1] << QStringLiteral("</font></b></td>");
        }
        attendu << cote << QStringLiteral("</tr>");
    }
    attendu << QStringLiteral("<tr bgcolor=\"#0000ff\">")
            << QStringLiteral("<td colspan=\"8\" align=\"center\"  height=\"15\" "
                              "width=\"100%\"><FONT size=0 face=Arial>&nbsp;")
            << QStringLiteral("</Font></td>") << QStringLiteral("</tr>");

    ASSERT_GE(l.size(), attendu.size());
    for (qsizetype i = 0; i < attendu.size(); ++i)
        EXPECT_EQ(l[i], attendu[i]) << "line " << i;
    // Then the group of three, the group of five and a group without cross
    // table (title and spacers only), then the tail.
    EXPECT_EQ(l[attendu.size() + 1],
              QStringLiteral("<td colspan=\"7\" align=\"center\" height=\"37\" width=\"100%\">"));
    EXPECT_TRUE(l.contains(
        QStringLiteral("<td colspan=\"9\" align=\"center\" height=\"37\" width=\"100%\">")));
    EXPECT_TRUE(l.contains(
        QStringLiteral("<a Class=\"Lien\" href=\"Match020001.htm\" target=principal>21,50</a>")));
    EXPECT_EQ(l.count(QStringLiteral(
                  "<a Class=\"Lien\" href=\"Match020400.htm\" target=principal>11,50</a>")) +
                  l.count(QStringLiteral(
                      "<a Class=\"Lien\" href=\"Match020400.htm\" target=principal>8,50</a>")),
              2);
    // No match file: the bare number (twice), and Vienne's total.
    EXPECT_EQ(l.count(QStringLiteral("10,00")), 3);
    const qsizetype d = l.indexOf(QStringLiteral("Poule D"));
    ASSERT_GT(d, 0);
    EXPECT_EQ(l.mid(d + 2),
              (QStringList{QStringLiteral("</tr>"), QStringLiteral("<tr bgcolor=\"#0000ff\">"),
                           QStringLiteral("<td colspan=\"8\" align=\"center\"  height=\"15\" "
                                          "width=\"100%\">&nbsp;"),
                           QStringLiteral("</td>"), QStringLiteral("</tr>"),
                           QStringLiteral("<tr bgcolor=\"#0000ff\">"),
                           QStringLiteral("<td colspan=\"8\" align=\"center\"  height=\"15\" "
                                          "width=\"100%\"><FONT size=0 face=Arial>&nbsp;"),
                           QStringLiteral("</Font></td>"), QStringLiteral("</tr>"),
                           QStringLiteral("</table>"), QStringLiteral("</td></tr>"),
                           QStringLiteral("</table>"), QStringLiteral("</body></html>")}));
}

} // namespace
} // namespace vorn_test
