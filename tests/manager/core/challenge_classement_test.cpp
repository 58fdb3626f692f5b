// The season ranking: journées, coefficients, teams matches adding up in a
// cell, equal totals in first-appearance order, shared places, the limited
// ranking, and a property test against an independent sum.
#include "manager/core/classement.h"
#include "manager/core/ligneresultat.h"
#include "manager/core/pageschallenge.h"
#include "platform/text/exceptions.h"
#include "tests/manager/core/challenge_support.h"
#include "tests/manager/core/pages_support.h"
#include "tests/support/core/thrown.h"

#include <QTemporaryDir>
#include <map>
#include <random>

using namespace manager;

namespace
{

class Saison
{
public:
    Saison() { EXPECT_TRUE(m_dir.isValid()); }
    QString dossier() const { return m_dir.path() + QLatin1Char('/'); }
    void ecrire(const QString &nom, const QStringList &lignes)
    {
        QFile f(dossier() + nom);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(vorn_test::ansiLines(lignes));
    }

private:
    QTemporaryDir m_dir;
};

// Journées 1 to 3: an unlinked first tournament in 1, two teams matches in 3,
// coefficient 50 in 2, a column-0 tournament, a player with nothing but 0.
QStringList saisonType(Saison &s)
{
    s.ecrire(QStringLiteral("Open1.chr"),
             {QStringLiteral("1;Anne NOMA;Bob NOMB;01;52;02;40;1000;Sans Deuxième série;"),
              QStringLiteral("2;Cleo NOMC;Zoe NOMZ;03;38;09;60;0;")});
    s.ecrire(QStringLiteral("QuatreA.chr"), {QStringLiteral("300;Cleo NOMC;;03;38;;;800;"),
                                             QStringLiteral("200;Dan NOMD;;04;35;;;400;")});
    s.ecrire(QStringLiteral("QuatreB.chr"), {QStringLiteral("300;Cleo NOMC;;03;38;;;400;"),
                                             QStringLiteral("100;Anne NOMA;;01;52;;;500;"),
                                             QStringLiteral("100;Dan NOMD;;04;35;;;300;")});
    s.ecrire(QStringLiteral("Demi.chr"), {QStringLiteral("1;Bob NOMB;Dan NOMD;02;40;04;35;400;"),
                                          QStringLiteral("2;Eve NOME;Inconnu;05;45;;;1111;")});
    s.ecrire(QStringLiteral("Hors.chr"),
             {QStringLiteral("1;Anne NOMA;Bob NOMB;01;52;02;40;9999;")});
    return {QStringLiteral("1;10/01/2025;Open Janvier;P;1;100;;"),
            QStringLiteral("2;12/01/2025;Open1;P;1;100;Open1.chr;"),
            QStringLiteral("3;14/02/2025;Quatre A;Q;3;100;QuatreA.chr;"),
            QStringLiteral("4;15/02/2025;Quatre B;Q;3;100;QuatreB.chr;"),
            QStringLiteral("5;01/03/2025;Hors;P;0;100;Hors.chr;"),
            QStringLiteral("6;20/03/2025;Demi;P;2;50;Demi.chr;")};
}

QString rangee(const LigneJoueurClassement &l, int n)
{
    QString r =
        l.total + QLatin1Char('|') + l.nom + QLatin1Char('|') + l.licence + QLatin1Char('|') + l.iv;
    for (int j = 0; j < n; ++j)
        r += QLatin1Char('|') + l.journees[j];
    return r;
}

TEST(Classement, SeasonFixture)
{
    Saison s;
    const ClassementSaison c = CalculerClassement(saisonType(s), s.dossier());
    EXPECT_EQ(c.nombreJournees, 3);
    EXPECT_EQ(c.journal, (QStringList{QStringLiteral("Nombre de Journée du Challenge : 3"),
                                      QStringLiteral("Traitement de la journée 1"),
                                      QStringLiteral("Traitement de la journée 2"),
                                      QStringLiteral("Traitement de la journée 3"),
                                      QStringLiteral("Classement"),
                                      QStringLiteral("Nettoyage des Joueurs hors Challenge")}));
    QStringList rangees;
    for (const auto &l : c.joueurs)
        rangees.append(rangee(l, 3));
    EXPECT_EQ(rangees, (QStringList{QStringLiteral("1500|Anne NOMA|01|52|1000||500"),
                                    QStringLiteral("1200|Bob NOMB|02|40|1000|200|"),
                                    QStringLiteral("1200|Cleo NOMC|03|38|0||1200"),
                                    QStringLiteral("900|Dan NOMD|04|35||200|700"),
                                    QStringLiteral("556|Eve NOME|05|45||556|")}));
    EXPECT_EQ(c.titres[0], QStringLiteral("Open Janvier"));
    EXPECT_EQ(c.dates[0], QStringLiteral("10/01/2025"));
    EXPECT_EQ(c.titres[2], QStringLiteral("Quatre A"));
    EXPECT_EQ(c.typesJournee,
              (QStringList{QStringLiteral("P"), QStringLiteral("P"), QStringLiteral("Q")}));

    ImpressionClassement imp;
    imp.titres = c.titres;
    imp.dates = c.dates;
    imp.entrees = ListeClassementGeneral(c.joueurs);
    QString v;
    ASSERT_TRUE(imp.valeur(QStringLiteral("ClD03"), 0, v));
    EXPECT_EQ(v, QStringLiteral("14/02"));
    ASSERT_TRUE(imp.valeur(QStringLiteral("ClT05"), 0, v));
    EXPECT_EQ(v, QString());
    EXPECT_FALSE(imp.valeur(QStringLiteral("clt01"), 0, v));
    EXPECT_FALSE(imp.valeur(QStringLiteral("ClT17"), 0, v));
    EXPECT_FALSE(imp.valeur(QStringLiteral("ClT1"), 0, v));
    ASSERT_TRUE(imp.valeur(QStringLiteral("Pc02"), 4, v));
    EXPECT_EQ(v, QStringLiteral("5,56"));
    ASSERT_TRUE(imp.valeur(QStringLiteral("Pc03"), 4, v));
    EXPECT_EQ(v, QString());

    QStringList places;
    for (const auto &e : imp.entrees)
        places.append(e.place + QLatin1Char(':') + e.total);
    EXPECT_EQ(places, (QStringList{QStringLiteral("1:15,00"), QStringLiteral("2:12,00"),
                                   QStringLiteral("2:12,00"), QStringLiteral("4:9,00"),
                                   QStringLiteral("5:5,56")}));
    QList<EntreeClassement> limitee = imp.entrees;
    FiltrerIV(limitee, 40);
    EXPECT_EQ(LignesClassement(limitee), (QStringList{QStringLiteral("1;Bob NOMB;02;40;"),
                                                      QStringLiteral("1;Cleo NOMC;03;38;"),
                                                      QStringLiteral("3;Dan NOMD;04;35;")}));
}

TEST(Classement, RoundingOfCoefficientsAndFormatting)
{
    Saison s;
    s.ecrire(QStringLiteral("a.chr"),
             {QStringLiteral("1;A;;1;20;;;1111;"), QStringLiteral("2;B;;2;20;;;1113;"),
              QStringLiteral("3;C;;3;20;;;-7;")});
    const ClassementSaison c =
        CalculerClassement({QStringLiteral("1;d;T;P;1;50;a.chr;")}, s.dossier());
    ASSERT_EQ(c.joueurs.size(), 3u);
    EXPECT_EQ(c.joueurs[0].total, QStringLiteral("556"));
    EXPECT_EQ(c.joueurs[1].total, QStringLiteral("556"));
    EXPECT_EQ(c.joueurs[2].total, QStringLiteral("-4"));
    const struct {
        QString in, out;
    } formats[] = {{QString(), QString()},
                   {QStringLiteral("0"), QStringLiteral("0,00")},
                   {QStringLiteral("5"), QStringLiteral("0,05")},
                   {QStringLiteral("123456"), QStringLiteral("1234,56")},
                   {QStringLiteral("-4"), QStringLiteral("-0,04")}};
    for (const auto &f : formats)
        EXPECT_EQ(FormatPoints(f.in), f.out) << f.in.toStdString();
}

TEST(Classement, ErrorsStopTheComputation)
{
    Saison s;
    EXPECT_THROW(CalculerClassement({QStringLiteral("1;d;T;P;1;100;absent.chr;")}, s.dossier()),
                 platform::EFileError);
    // A value that is no number is said with its file and line: the list's
    // journée or coefficient, a result file's points.
    s.ecrire(QStringLiteral("abime.chr"),
             {QStringLiteral("1;A;B;01;30;02;28;100;"), QStringLiteral("2;C;D;03;30;;;1x8;")});
    const QString entier = QStringLiteral("'%1' n'est pas une valeur entière correcte (fichier "
                                          "%2, ligne %3)");
    const struct {
        QStringList tournois;
        QString message;
    } abimes[] = {
        {{QStringLiteral("1;d;T;P;1;100;;"), QStringLiteral("1;d;T;P;x;100;;")},
         entier.arg("x", s.dossier() + QStringLiteral("Challenge.DBP"), "2")},
        {{QStringLiteral("1;d;T;P;1;cent;;")},
         entier.arg("cent", s.dossier() + QStringLiteral("Challenge.DBP"), "1")},
        {{QStringLiteral("1;d;T;P;1;100;abime.chr;")},
         entier.arg("1x8", s.dossier() + QStringLiteral("abime.chr"), "2")},
    };
    for (const auto &a : abimes)
        EXPECT_EQ(vorn_test::thrownMessage<platform::EConvertError>([&] {
                      CalculerClassement(a.tournois, s.dossier());
                  }).toStdString(),
                  a.message.toStdString());
    // A player's total beyond 64 bits, over one journée or over two.
    const QString ligne = QStringLiteral("1;A;B;01;30;02;28;2147483647;");
    s.ecrire(QStringLiteral("gros.chr"), QStringList(250, ligne));
    s.ecrire(QStringLiteral("moitie.chr"), QStringList(126, ligne));
    for (const QStringList &tournois :
         {QStringList{QStringLiteral("1;d;T;P;1;2147483647;gros.chr;")},
          QStringList{QStringLiteral("1;d;T;P;1;2147483647;moitie.chr;"),
                      QStringLiteral("2;d;U;P;2;2147483647;moitie.chr;")}})
        EXPECT_THROW(CalculerClassement(tournois, s.dossier()), platform::EConvertError);
    // Outside 1 to 16 a column is never counted, like column 0.
    const ClassementSaison c = CalculerClassement(
        {QStringLiteral("1;d;T;P;17;100;absent.chr;"), QStringLiteral("1;d;T;P;-1;100;;")},
        s.dossier());
    EXPECT_EQ(c.nombreJournees, 0);
    EXPECT_TRUE(c.joueurs.empty());

    QList<EntreeClassement> e(2);
    e[0].iv = QStringLiteral("20");
    e[1].iv = QStringLiteral("x");
    const QList<EntreeClassement> avant = e;
    EXPECT_THROW(FiltrerIV(e, 40), platform::EConvertError);
    EXPECT_EQ(e.size(), avant.size());
}

// --- property test: random seasons against an independent sum

struct Oracle {
    std::map<QString, qint64> totaux;
    QStringList ordre; // licences in first-appearance order
};

qint64 demiPair(qint64 num)
{
    const qint64 a = num < 0 ? -num : num;
    qint64 q = a / 100;
    if (a % 100 > 50 || (a % 100 == 50 && q % 2 == 1))
        ++q;
    return num < 0 ? -q : q;
}

TEST(ClassementPropriete, FiveHundredRandomSeasons)
{
    std::mt19937 rng(19);
    auto tirage = [&rng](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    // Names sometimes hold what the pages must escape, an entity's start
    // too (no ";": it ends a field).
    const char *const suffixes[] = {"", "", "", " & Fils", " <b>x</b>", " a>b", " &lt"};
    auto nom = [&](const QString &licence) {
        return QStringLiteral("N") + licence + QLatin1String(suffixes[tirage(0, 6)]);
    };
    for (int essai = 0; essai < 500; ++essai) {
        Saison s;
        const int journees = tirage(0, 16);
        const int nbTournois = journees == 0 ? tirage(0, 2) : tirage(1, journees + 3);
        QStringList tournois;
        Oracle oracle;
        struct Lu {
            int colonne;
            int coef;
            QStringList lignes;
        };
        std::vector<Lu> lus;
        for (int t = 0; t < nbTournois; ++t) {
            const int colonne = journees == 0 ? 0 : tirage(0, journees);
            const int coef = tirage(0, 3) == 0 ? 50 : 100;
            const bool lie = tirage(0, 4) != 0;
            QStringList lignes;
            const bool equipes = tirage(0, 1) == 1;
            for (int k = tirage(0, 12); k > 0; --k) {
                const QString lic1 = QStringLiteral("L%1").arg(tirage(1, 15));
                const QString lic2 =
                    tirage(0, 3) == 0 ? QString() : QStringLiteral("L%1").arg(tirage(1, 15));
                const int pts = tirage(0, 3) == 0 ? 0 : 100 * tirage(0, 12) + tirage(0, 1) * 11;
                // Each line its own place or PE, as a results window writes
                // them: a line twice is a damaged file.
                if (equipes)
                    lignes.append(ligneResultatEquipe(QString::number(k), nom(lic1), lic1,
                                                      QString::number(tirage(20, 60)),
                                                      QString::number(pts)));
                else
                    lignes.append(QString::number(k) + QStringLiteral(";%1;%2;%3;%4;%5;%6;%7;")
                                                           .arg(nom(lic1), nom(lic2), lic1)
                                                           .arg(tirage(20, 60))
                                                           .arg(lic2)
                                                           .arg(tirage(20, 60))
                                                           .arg(pts));
            }
            const QString fichier = lie ? QStringLiteral("t%1.chr").arg(t) : QString();
            if (lie)
                s.ecrire(fichier, lignes);
            tournois.append(QStringLiteral("%1;01/01/2025;T%1;P;%2;%3;%4;")
                                .arg(t + 1)
                                .arg(colonne)
                                .arg(coef)
                                .arg(fichier));
            lus.push_back({colonne, coef, lie ? lignes : QStringList()});
        }
        for (int j = 1; j <= journees; ++j)
            for (const Lu &l : lus) {
                if (l.colonne != j)
                    continue;
                for (const QString &ligne : l.lignes)
                    for (const JoueurResultat &e : lireLigneResultat(ligne).joueurs) {
                        if (!oracle.totaux.count(e.licence))
                            oracle.ordre.append(e.licence);
                        oracle.totaux[e.licence] += demiPair(e.points.toLongLong() * l.coef);
                    }
            }

        const ClassementSaison c = CalculerClassement(tournois, s.dossier());
        QStringList attendu;
        for (const QString &lic : oracle.ordre)
            if (oracle.totaux[lic] != 0)
                attendu.append(lic);
        std::stable_sort(attendu.begin(), attendu.end(), [&](const QString &a, const QString &b) {
            return oracle.totaux[a] > oracle.totaux[b];
        });
        QStringList obtenu;
        for (const auto &l : c.joueurs) {
            obtenu.append(l.licence);
            EXPECT_EQ(l.total.toLongLong(), oracle.totaux[l.licence]);
        }
        ASSERT_EQ(obtenu, attendu) << "essai " << essai;

        // The rows as a user might have moved them: the last one first.
        std::vector<LigneJoueurClassement> affichees = c.joueurs;
        if (affichees.size() > 1 && essai % 2 == 1)
            std::rotate(affichees.rbegin(), affichees.rbegin() + 1, affichees.rend());
        const QList<EntreeClassement> ouvertes = ListeClassementGeneral(affichees);
        QList<EntreeClassement> entrees = ouvertes;
        const int limite = tirage(20, 60);
        if (essai % 3 == 0)
            FiltrerIV(entrees, limite);
        ImpressionClassement imp;
        imp.entrees = entrees;
        const QStringList ppe = LignesClassement(entrees);
        ASSERT_EQ(ppe.size(), entrees.size());
        for (qsizetype i = 0; i < entrees.size(); ++i) {
            const EntreeClassement &e = entrees[i];
            // Places: 1 for the first, the position for a new total, else the same.
            const QString place = i == 0 || e.total != entrees[i - 1].total ? QString::number(i + 1)
                                                                            : entrees[i - 1].place;
            EXPECT_EQ(e.place, place);
            if (essai % 3 == 0) {
                EXPECT_LE(e.iv.toInt(), limite);
            }
            QString v;
            ASSERT_TRUE(imp.valeur(QStringLiteral("ClGeCl"), int(i), v));
            EXPECT_EQ(v, e.place);
            ASSERT_TRUE(imp.valeur(QStringLiteral("ClGeInd"), int(i), v));
            EXPECT_EQ(v, e.licence);
            ASSERT_TRUE(imp.valeur(QStringLiteral("ClGePc"), int(i), v));
            EXPECT_EQ(v, e.total);
            EXPECT_EQ(ppe[i], e.place + QLatin1Char(';') + e.nom + QLatin1Char(';') + e.licence +
                                  QLatin1Char(';') + e.iv + QLatin1Char(';'));
        }
        if (essai % 3 != 0) {
            ASSERT_EQ(entrees.size(), qsizetype(affichees.size()));
            for (qsizetype i = 0; i < entrees.size(); ++i)
                EXPECT_EQ(entrees[i].licence, affichees[size_t(i)].licence);
        }

        // Both ranking pages read back: every row is an entry of the
        // ranking, in order, with its place, name, journée points and total.
        const int n = c.nombreJournees;
        QList<JourneeWeb> journeesWeb;
        for (int j = 0; j < n; ++j)
            journeesWeb.append({c.typesJournee.value(j),
                                TitreJournee(c.typesJournee.value(j), c.nomsJournee.value(j), {}),
                                c.datesJournee.value(j)});
        QList<EntreeClassement> limitees = ouvertes;
        FiltrerIV(limitees, limite);
        const std::pair<QStringList, QList<EntreeClassement>> pages[] = {
            {PageClassement(QStringLiteral("2023-2024"), journeesWeb, ouvertes, 0), ouvertes},
            {PageClassement(QStringLiteral("2023-2024"), journeesWeb, limitees, limite), limitees}};
        for (const auto &[page, attendues] : pages) {
            const QList<vorn_test::RangLu> lus = vorn_test::rangsLus(page, n);
            ASSERT_EQ(lus.size(), attendues.size()) << "essai " << essai;
            for (qsizetype i = 0; i < lus.size(); ++i) {
                const EntreeClassement &e = attendues[i];
                EXPECT_EQ(std::tuple(lus[i].place, lus[i].nom, lus[i].total),
                          std::tuple(e.place, e.nom, e.total));
                ASSERT_EQ(lus[i].points.size(), n);
                for (int j = 0; j < n; ++j)
                    EXPECT_EQ(lus[i].points[j], e.points[size_t(j)]) << "essai " << essai;
            }
        }
    }
}

} // namespace
