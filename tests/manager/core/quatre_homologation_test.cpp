// Recording a teams-of-four match: the homologation list, its merge and
// totals, the cross table, and the result-line reader the ranking uses.
#include "manager/core/commandesfeuille.h"
#include "manager/core/feuillematch.h"
#include "manager/core/homologation.h"
#include "manager/core/ligneresultat.h"
#include "manager/core/tableaugroupe.h"
#include "platform/text/exceptions.h"

#include <gtest/gtest.h>

namespace
{

// A computed sheet of teams 0 (A) and 1 (B): each side's four players in
// both halves, A's IVs 50, B's 60, 40 IMPs to 30 over 24 deals.
QStringList matchCalcule(int indexA = 0, int indexB = 1, int imA = 40, int imB = 30)
{
    QStringList lignes = FeuilleMatch::nouvelleFeuille(
        QStringLiteral("Match"), QStringLiteral("400"), QStringLiteral("Poule A"),
        QStringLiteral("Lyon"), indexA, QStringLiteral("Sète"), indexB);
    FeuilleMatch f = FeuilleMatch::depuisLignes(lignes, 0);
    for (int k = 0; k < 4; ++k) {
        for (int ligne : {2, 7}) {
            f.setValeur(ligne + k, 0, QStringLiteral("M A%1").arg(k));
            f.setValeur(ligne + k, 1, QStringLiteral("1000000%1").arg(k));
            f.setValeur(ligne + k, 2, QStringLiteral("50"));
        }
        for (int ligne : {14, 19}) {
            f.setValeur(ligne + k, 0, QStringLiteral("Mme B%1").arg(k));
            f.setValeur(ligne + k, 1, QStringLiteral("2000000%1").arg(k));
            f.setValeur(ligne + k, 2, QStringLiteral("60"));
        }
    }
    f.setValeur(QStringLiteral("AImp30"), QString::number(imA));
    f.setValeur(QStringLiteral("BImp30"), QString::number(imB));
    f.setValeur(QStringLiteral("ANbd30"), QStringLiteral("24"));
    f.setValeur(QStringLiteral("Bnbd30"), QStringLiteral("24"));
    calculerFeuille(f);
    f.enregistrer(lignes, 0);
    return lignes;
}

TableauGroupe tableauQuatre()
{
    TableauGroupe t;
    t.ajouterEquipe({QStringLiteral("Lyon")});
    t.ajouterEquipe({QStringLiteral("Lyon"), QStringLiteral("Sète")});
    t.ajouterEquipe({QStringLiteral("Lyon"), QStringLiteral("Sète"), QStringLiteral("Nice")});
    t.ajouterEquipe({QStringLiteral("Lyon"), QStringLiteral("Sète"), QStringLiteral("Nice"),
                     QStringLiteral("Pau")});
    return t;
}

TEST(QuatreHomologation, WorkedMatchMergesPerPlayer)
{
    ListeHomologation liste;
    TableauGroupe tableau = tableauQuatre();
    int sauvegardes = 0;
    const ReportTableau r = enregistrerHomologation(liste, tableau, matchCalcule(), 1,
                                                    [&](const TableauGroupe &) { ++sauvegardes; });
    EXPECT_EQ(r, ReportTableau::Reporte);
    EXPECT_EQ(sauvegardes, 1);
    ASSERT_EQ(liste.lignes().size(), 8);
    EXPECT_EQ(liste.lignes()[0], QStringLiteral("22194;M A0;;10000000;50;;;3262;"));
    EXPECT_EQ(liste.lignes()[3], QStringLiteral("22194;M A3;;10000003;50;;;3262;"));
    EXPECT_EQ(liste.lignes()[4], QStringLiteral("13806;Mme B0;;20000000;60;;;2200;"));
    EXPECT_EQ(std::tuple(liste.TotalPE, liste.TotalPC), std::tuple(144000, 21848));

    EXPECT_EQ(tableau.versLignes(),
              QStringList({QStringLiteral(";Lyon;Sète;Nice;Pau;;"),
                           QStringLiteral("Lyon;;1233;;;1233;"), QStringLiteral("Sète;767;;;;767;"),
                           QStringLiteral("Nice;;;;;;"), QStringLiteral("Pau;;;;;;")}));
}

TEST(QuatreHomologation, TwoSheetsPostTheirSums)
{
    QStringList lignes = matchCalcule(2, 0);
    const QStringList second = matchCalcule(2, 0, 30, 30);
    lignes += second;
    TableauGroupe tableau = tableauQuatre();
    tableau.setCellule(4, 2, QStringLiteral("1100")); // Pau - Sète, another match
    ListeHomologation liste;
    enregistrerHomologation(liste, tableau, lignes, 2, [](const TableauGroupe &) {});
    // Nice (2) against Lyon (0): 1233 + 1000 and 767 + 1000.
    EXPECT_EQ(tableau.cellule(3, 1), QStringLiteral("2233"));
    EXPECT_EQ(tableau.cellule(1, 3), QStringLiteral("1767"));
    EXPECT_EQ(tableau.cellule(3, 5), QStringLiteral("2233"));
    EXPECT_EQ(tableau.cellule(1, 5), QStringLiteral("1767"));
    // Rows of other teams are not totalled again.
    EXPECT_TRUE(tableau.cellule(4, 5).isEmpty());
    // The same eight players over two sheets, four half-games each.
    ASSERT_EQ(liste.lignes().size(), 8);
    // A draw gives 9000 PE and 1366 PC per half (1.7 x 1200 x 0.6694).
    EXPECT_EQ(liste.lignes()[0], QStringLiteral("40194;M A0;;10000000;50;;;5994;"));
}

TEST(QuatreHomologation, SameNameOtherLicenceAndEmptySlots)
{
    QStringList lignes = matchCalcule();
    // The second half of A: one player under another licence, one slot empty.
    lignes[7] = QStringLiteral("M A0;99999999;50;;");
    lignes[8] = QStringLiteral(";;;;");
    ListeHomologation liste;
    TableauGroupe tableau = tableauQuatre();
    enregistrerHomologation(liste, tableau, lignes, 1, [](const TableauGroupe &) {});
    QStringList noms;
    for (const QString &l : liste.lignes())
        noms << l.section(QLatin1Char(';'), 1, 1) + QLatin1Char('/') +
                    l.section(QLatin1Char(';'), 3, 3);
    EXPECT_EQ(noms, QStringList({"M A0/10000000", "M A1/10000001", "M A2/10000002", "M A3/10000003",
                                 "M A0/99999999", "/", "Mme B0/20000000", "Mme B1/20000001",
                                 "Mme B2/20000002", "Mme B3/20000003"}));
    EXPECT_EQ(liste.lignes()[1], QStringLiteral("11097;M A1;;10000001;50;;;1631;"));
    EXPECT_EQ(liste.lignes()[2], QStringLiteral("22194;M A2;;10000002;50;;;3262;"));
    EXPECT_EQ(liste.lignes()[5], QStringLiteral("11097;;;;;;;1631;"));
    // PE rounded per line: four half-games of A at 11100, two full at 22200,
    // B 13800 x 4; PC leaves the empty slot out.
    EXPECT_EQ(liste.TotalPE, 4 * 11100 + 2 * 22200 + 4 * 13800);
    EXPECT_EQ(liste.TotalPC, 3 * 1631 + 2 * 3262 + 4 * 2200);
}

TEST(QuatreHomologation, UncomputedSheetLeavesNothingBehind)
{
    QStringList lignes = matchCalcule();
    lignes[24] = QStringLiteral("24;30;60;;"); // B's PV never computed
    ListeHomologation liste;
    liste.lignes() << QStringLiteral("ancienne;ligne;");
    liste.TotalPE = 5;
    TableauGroupe tableau = tableauQuatre();
    const QStringList avant = tableau.versLignes();
    bool sauve = false;
    EXPECT_THROW(enregistrerHomologation(liste, tableau, lignes, 1,
                                         [&](const TableauGroupe &) { sauve = true; }),
                 platform::EConvertError);
    EXPECT_TRUE(liste.lignes().isEmpty());
    EXPECT_EQ(liste.TotalPE, 0);
    EXPECT_FALSE(sauve);
    EXPECT_EQ(tableau.versLignes(), avant);

    // A PE left empty (PV typed, never computed) fails in the merge: neither
    // the table nor the list is posted.
    lignes = matchCalcule();
    lignes[18] = QStringLiteral("12;240;;1100;");
    EXPECT_THROW(enregistrerHomologation(liste, tableau, lignes, 1,
                                         [&](const TableauGroupe &) { sauve = true; }),
                 platform::EConvertError);
    EXPECT_TRUE(liste.lignes().isEmpty());
    EXPECT_EQ(liste.TotalPC, 0);
    EXPECT_FALSE(sauve);
    EXPECT_EQ(tableau.versLignes(), avant);
}

TEST(QuatreHomologation, TeamsOutsideTheTable)
{
    for (const auto &[a, b] : {std::pair{QStringLiteral("4"), QStringLiteral("1")},
                               std::pair{QStringLiteral("0"), QStringLiteral("-1")},
                               std::pair{QStringLiteral("x"), QStringLiteral("1")},
                               std::pair{QStringLiteral("2147483647"), QStringLiteral("1")},
                               std::pair{QStringLiteral("0"), QStringLiteral("2147483647")},
                               std::pair{QStringLiteral(""), QStringLiteral("1")}}) {
        QStringList lignes = matchCalcule();
        lignes[1] = QStringLiteral("Lyon;") + a + QStringLiteral(";;;");
        lignes[13] = QStringLiteral("Sète;") + b + QStringLiteral(";;;");
        TableauGroupe tableau = tableauQuatre();
        const QStringList avant = tableau.versLignes();
        ListeHomologation liste;
        bool sauve = false;
        EXPECT_EQ(enregistrerHomologation(liste, tableau, lignes, 1,
                                          [&](const TableauGroupe &) { sauve = true; }),
                  ReportTableau::HorsTableau);
        EXPECT_FALSE(sauve);
        EXPECT_EQ(tableau.versLignes(), avant);
        EXPECT_EQ(liste.lignes().size(), 8);
        EXPECT_EQ(liste.TotalPC, 21848);
    }
}

TEST(QuatreTableau, LoadsCharacterByCharacter)
{
    TableauGroupe t;
    t.charger({QStringLiteral(";Lyon;Sète;Nice;;"), QStringLiteral("Lyon;;1233;;1233;"),
               QStringLiteral("Sète;767;;;767;"), QStringLiteral("Nice;;;")});
    // The last line's three ";" set the columns.
    EXPECT_EQ(t.lignes(), 4);
    EXPECT_EQ(t.colonnes(), 3);
    EXPECT_EQ(t.cellule(1, 2), QStringLiteral("1233"));
    EXPECT_TRUE(t.cellule(1, 4).isEmpty());
    EXPECT_EQ(t.versLignes()[0], QStringLiteral(";Lyon;Sète;"));

    TableauGroupe vide;
    vide.charger({});
    EXPECT_TRUE(vide.estVide());
    EXPECT_EQ(vide.colonnes(), 1);
    // A line without ";" holds its text in cell 0 but gives one column.
    vide.charger({QStringLiteral("sans separateur")});
    EXPECT_EQ(vide.colonnes(), 1);
    EXPECT_EQ(vide.cellule(0, 0), QStringLiteral("sans separateur"));
}

TEST(QuatreTableau, MoreTeamsThanAGroupHoldsAreRefused)
{
    // Seventeen teams: 18 rows and 19 columns, the largest group.
    QStringList plein{QString(QLatin1Char(';')).repeated(19)};
    for (int t = 1; t <= 17; ++t)
        plein << QStringLiteral("E%1;").arg(t) + QString(QLatin1Char(';')).repeated(18);
    TableauGroupe t;
    t.charger(plein, QStringLiteral("PouleR0.cpo"));
    EXPECT_EQ(t.lignes(), 18);
    EXPECT_EQ(t.colonnes(), 19);
    const QStringList avant = t.versLignes();

    // One row too many, a last line announcing 18 teams by its columns, and
    // a damaged file of 20,000 empty lines: refused with the file's name,
    // the table left empty.
    QStringList ligneDeTrop = plein;
    ligneDeTrop << QStringLiteral("E18;");
    QStringList colonnes = plein.mid(0, 3);
    colonnes << QString(QLatin1Char(';')).repeated(20);
    const QStringList vides(20000, QString());
    const struct {
        QStringList lignes;
        const char *equipes;
    } cas[] = {{ligneDeTrop, " annonce 18 équipes"},
               {colonnes, " annonce 18 équipes"},
               {vides, " annonce 19999 équipes"}};
    for (const auto &c : cas) {
        TableauGroupe refuse = t;
        try {
            refuse.charger(c.lignes, QStringLiteral("/saison/PouleR3.cpo"));
            ADD_FAILURE() << "a table of " << c.lignes.size() << " lines was built";
        } catch (const EGroupeTropGrand &e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("/saison/PouleR3.cpo")));
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.equipes)))
                << e.Message().toStdString();
        }
        EXPECT_TRUE(refuse.estVide());
    }

    // An eighteenth team cannot be added: the table stays as it was.
    QStringList equipes;
    for (int e = 1; e <= 18; ++e)
        equipes << QStringLiteral("E%1").arg(e);
    EXPECT_THROW(t.ajouterEquipe(equipes), EGroupeTropGrand);
    EXPECT_EQ(t.versLignes(), avant);
}

TEST(QuatreTableau, AddingATeamAfterResults)
{
    TableauGroupe t;
    t.charger({QStringLiteral(";Lyon;Sète;Nice;;"), QStringLiteral("Lyon;;1233;;1233;"),
               QStringLiteral("Sète;767;;;767;"), QStringLiteral("Nice;;;;;")});
    t.ajouterEquipe({QStringLiteral("Lyon"), QStringLiteral("Sète"), QStringLiteral("Nice"),
                     QStringLiteral("Pau")});
    EXPECT_EQ(t.lignes(), 5);
    EXPECT_EQ(t.colonnes(), 6);
    EXPECT_EQ(t.versLignes(),
              QStringList({QStringLiteral(";Lyon;Sète;Nice;Pau;;"),
                           QStringLiteral("Lyon;;1233;;;1233;"), QStringLiteral("Sète;767;;;;767;"),
                           QStringLiteral("Nice;;;;;;"), QStringLiteral("Pau;;;;;;")}));

    TableauGroupe mauvais;
    mauvais.charger({QStringLiteral(";Lyon;Sète;;"), QStringLiteral("Lyon;;abc;;"),
                     QStringLiteral("Sète;;;;")});
    EXPECT_THROW(mauvais.recalculerTotal(1), platform::EConvertError);
    // A total that cannot be worked out leaves the whole table as it was.
    const QStringList avant = mauvais.versLignes();
    EXPECT_THROW(mauvais.ajouterEquipe(
                     {QStringLiteral("Lyon"), QStringLiteral("Sète"), QStringLiteral("Pau")}),
                 platform::EConvertError);
    EXPECT_EQ(mauvais.versLignes(), avant);
    TableauGroupe trois;
    trois.charger({QStringLiteral(";A;B;C;;"), QStringLiteral("A;;x;;;"), QStringLiteral("B;;;;;"),
                   QStringLiteral("C;;;;;")});
    const QStringList trois_avant = trois.versLignes();
    EXPECT_THROW(trois.retirerEquipe({QStringLiteral("A"), QStringLiteral("B")}),
                 platform::EConvertError);
    EXPECT_EQ(trois.versLignes(), trois_avant);
}

TEST(QuatreTableau, NamesCannotSplitCells)
{
    TableauGroupe t;
    t.ajouterEquipe({QStringLiteral("Lyon;Est"), QStringLiteral("S\u00e8te\r\nOuest")});
    EXPECT_EQ(t.versLignes(), QStringList({QStringLiteral(";Lyon,Est;S\u00e8te  Ouest;;"),
                                           QStringLiteral("Lyon,Est;;;;"),
                                           QStringLiteral("S\u00e8te  Ouest;;;;")}));
}

TEST(QuatreTableau, RemovingTheLastTeams)
{
    TableauGroupe t = tableauQuatre();
    t.retirerEquipe({QStringLiteral("Lyon"), QStringLiteral("Sète"), QStringLiteral("Nice")});
    EXPECT_EQ(t.versLignes(),
              QStringList({QStringLiteral(";Lyon;Sète;Nice;;"), QStringLiteral("Lyon;;;;;"),
                           QStringLiteral("Sète;;;;;"), QStringLiteral("Nice;;;;;")}));
    t.retirerEquipe({});
    EXPECT_EQ(t.lignes(), 1);
    EXPECT_EQ(t.colonnes(), 2);
}

TEST(QuatreLigneResultat, OneReaderForBothKinds)
{
    LigneResultat paires =
        lireLigneResultat(QStringLiteral("3;Anne NOMA;Luc NOMB;;;0123456;45;856;"));
    ASSERT_TRUE(paires.complete);
    ASSERT_EQ(paires.joueurs.size(), 1);
    EXPECT_EQ(std::tuple(paires.joueurs[0].nom, paires.joueurs[0].licence, paires.joueurs[0].iv,
                         paires.joueurs[0].points),
              std::tuple(QStringLiteral("Luc NOMB"), QStringLiteral("0123456"),
                         QStringLiteral("45"), QStringLiteral("856")));

    LigneResultat equipe = lireLigneResultat(QStringLiteral("1200;Anne NOMA;;0123456;45;;;1530;"));
    ASSERT_EQ(equipe.joueurs.size(), 1);
    EXPECT_EQ(equipe.joueurs[0].nom, QStringLiteral("Anne NOMA"));
    EXPECT_EQ(equipe.joueurs[0].points, QStringLiteral("1530"));
    EXPECT_EQ(equipe.champs[0], QStringLiteral("1200"));

    EXPECT_FALSE(lireLigneResultat(QStringLiteral("1;A;B;1;2;3;4;")).complete);
    EXPECT_TRUE(lireLigneResultat(QStringLiteral("1;A;B;1;2;3;4;")).joueurs.isEmpty());
    EXPECT_TRUE(lireLigneResultat(QString()).joueurs.isEmpty());

    LigneResultat mention = lireLigneResultat(
        QStringLiteral("1;A B;C D;11;60;22;70;1111;Sans Deuxième série;Sans Troisième série;"));
    ASSERT_EQ(mention.joueurs.size(), 2);
    EXPECT_EQ(mention.joueurs[1].nom, QStringLiteral("C D"));
    EXPECT_EQ(mention.joueurs[1].points, QStringLiteral("1111"));
    // An unterminated eighth field is not a field.
    EXPECT_FALSE(lireLigneResultat(QStringLiteral("1;A;;11;60;;;1111")).complete);

    EXPECT_EQ(ligneResultatEquipe(QStringLiteral("22194"), QStringLiteral("M X"),
                                  QStringLiteral("01"), QStringLiteral("50"),
                                  QStringLiteral("3262")),
              QStringLiteral("22194;M X;;01;50;;;3262;"));
}

} // namespace

// Hand-edited files holding numbers near the 64-bit limit: sums that would
// go past it stop with the conversion error naming the offending text, and
// sums that fit are exact.
TEST(QuatreTableau, TotalsBeyondSixtyFourBitsAreRefused)
{
    const QString max = QStringLiteral("9223372036854775807");
    const QString min = QStringLiteral("-9223372036854775808");
    const struct {
        QString a, b;
        QString total; // empty: refused, naming b
    } cas[] = {
        {max, QStringLiteral("1"), QString()},
        {min, QStringLiteral("-1"), QString()},
        {max, QStringLiteral("-1"), QStringLiteral("9223372036854775806")},
        {max, min, QStringLiteral("-1")},
        {QStringLiteral("4611686018427387904"), QStringLiteral("4611686018427387903"), max},
    };
    for (const auto &c : cas) {
        TableauGroupe t;
        t.charger({QStringLiteral(";A;B;C;;"), QStringLiteral("A;;") + c.a + ";" + c.b + ";;",
                   QStringLiteral("B;;;;;"), QStringLiteral("C;;;;;")});
        if (c.total.isEmpty()) {
            try {
                t.recalculerTotal(1);
                ADD_FAILURE() << c.a.toStdString() << " + " << c.b.toStdString();
            } catch (const platform::EConvertError &e) {
                EXPECT_EQ(e.Message(),
                          QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(c.b));
            }
        } else {
            t.recalculerTotal(1);
            EXPECT_EQ(t.cellule(1, 4), c.total);
        }
    }
}

TEST(QuatreHomologation, TotalsBeyondSixtyFourBitsAreRefused)
{
    const QString max = QStringLiteral("9223372036854775807");
    const QString ligne = QStringLiteral("%1;M A0;;10000000;50;;;%2;");
    const struct {
        const char *nom;
        QStringList lignes;
    } cas[] = {
        // One player on two lines: PE, then PC, summed past the limit.
        {"merged PE", {ligne.arg(max, "1"), ligne.arg("100", "1")}},
        {"merged PC", {ligne.arg("1", max), ligne.arg("1", "100")}},
        // Different players: the totals go past it.
        {"total PE",
         {ligne.arg("9223372036854770000", "1"),
          QStringLiteral("9223372036854770000;M A1;;10000001;50;;;1;")}},
        {"total PC", {ligne.arg("1", max), QStringLiteral("1;M A1;;10000001;50;;;1;")}},
        // PE rounded to whole points goes past the limit on its own.
        {"rounded PE", {ligne.arg(max, "1")}},
    };
    for (const auto &c : cas) {
        ListeHomologation liste;
        liste.lignes() = c.lignes;
        EXPECT_THROW(liste.fusionner(), platform::EConvertError) << c.nom;
    }

    ListeHomologation juste;
    juste.lignes() = {ligne.arg("150", "4611686018427387903"),
                      ligne.arg("250", "4611686018427387904")};
    juste.fusionner();
    EXPECT_EQ(juste.lignes(), QStringList({ligne.arg("400", max)}));
    EXPECT_EQ(std::tuple(juste.TotalPE, juste.TotalPC), std::tuple(400, 9223372036854775807LL));

    // The PV of the sheets summed past the limit.
    QStringList lignes = matchCalcule();
    lignes += matchCalcule();
    lignes[12] = QStringLiteral(";;;") + max + QStringLiteral(";");
    qint64 pvA = 0, pvB = 0;
    EXPECT_THROW(juste.construire(lignes, 2, pvA, pvB), platform::EConvertError);
}
