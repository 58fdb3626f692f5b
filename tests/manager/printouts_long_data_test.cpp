// The twelve templates the builder made, prepared from a season whose data
// are as long as real ones get (names and clubs of 40 characters,
// tournaments of 45, teams of six players, 120 ranked players, 90 calendar
// lines) and read as paper: no text hidden under another, cut at its memo's
// edge or bottom, or outside the printable area. With VORN_SHOTS_DIR set,
// each printout is also printed there as a PDF to be looked at.
#include "manager/core/inscrits.h"
#include "manager/impression.h"
#include "platform/printer/printers.h"
#include "report/core/frlibrary.h"
#include "report/data/frdataset.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"
#include "report/print/frprinter.h"
#include "tests/manager/template_names.h"
#include "tests/support/gui/printout_check.h"
#include "tests/support/gui/program_folder.h"
#include "tests/support/gui/shots.h"

#include <QRegularExpression>
#include <QWidget>

namespace
{

// Texts of exactly n characters, cut at n or completed with the words that
// follow in the same vein.
QString sur(const QString &texte, int n)
{
    QString s = texte;
    while (s.size() < n)
        s += QStringLiteral(" et Associés");
    s = s.left(n);
    if (s.endsWith(QLatin1Char(' ')))
        s[n - 1] = QLatin1Char('.');
    return s;
}

QString nom(int i)
{
    static const char *const prenoms[] = {"Jean-Christophe", "Marie-Hélène", "Anne-Sophie",
                                          "Pierre-Emmanuel", "Marie-Françoise"};
    static const char *const noms[] = {"MONTFERRAND", "ROCHEMAURE", "VILLENEUVE", "BEAUREGARD",
                                       "CHATEAUBRIAND"};
    static const char *const suites[] = {"LAVALETTE", "DUPLESSIS", "CHÂTELAIN", "BELLEFONTAINE"};
    return sur(QStringLiteral("%1 DE %2 %3 DESCHAMPS")
                   .arg(QString::fromUtf8(prenoms[i % 5]), QString::fromUtf8(noms[(i / 5) % 5]),
                        QString::fromUtf8(suites[(i / 25) % 4])),
               40);
}

QString club(int i)
{
    static const char *const clubs[] = {"Bridge Club de Villefranche-sur-Saône et du Beaujolais",
                                        "Grenoble Dauphiné Bridge Association des Alpes",
                                        "Cercle de Bridge de Saint-Étienne Métropole Forez",
                                        "Bridge Club Annecy Haute-Savoie et Pays de Savoie"};
    return sur(QString::fromUtf8(clubs[i % 4]), 40);
}

QString tournoi(int i)
{
    static const char *const tournois[] = {
        "Open d'automne de Villeurbanne par paires mixtes de la Métropole",
        "Finale nationale Open mixte par paires du comité régional",
        "Championnat interclubs des Alpes Dauphiné Savoie par quatre",
        "Trophée de printemps de Grenoble Dauphiné Bridge en paires"};
    return sur(QString::fromUtf8(tournois[i % 4]), 45);
}

QString licence(int i)
{
    return QStringLiteral("0%1").arg(1000000 + i * 7919 % 9000000, 7, 10, QLatin1Char('0'));
}

QString points(int i)
{
    return QStringLiteral("%1,%2")
        .arg(1000 + (i * 37) % 9000)
        .arg(i % 100, 2, 10, QLatin1Char('0'));
}

QString date(int i)
{
    return QStringLiteral("%1/%2/2024")
        .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
        .arg(1 + (i / 28) % 12, 2, 10, QLatin1Char('0'));
}

// The players of a team or pair as the entries list gives them, each name
// followed by its value index.
QString joueurs(int equipe, int n)
{
    QStringList l;
    for (int k = 0; k < n; ++k)
        l << nom(equipe * 7 + k) + QStringLiteral(" %1").arg(20 + (equipe + k) % 60);
    return l.join(QLatin1Char(' '));
}

constexpr int Lignes1 = 60, Lignes2 = 30; // the calendar's two groups
// Players of team rec in "quatre.frf": six, or from 2 to 8 when 0.
int s_joueurs = 6;
// Length of the envelope's address lines.
int s_adresse = 40;
int joueursDe(int rec)
{
    return s_joueurs > 0 ? s_joueurs : 2 + rec % 7;
}

// What the window of each template answers for name at record rec (group
// groupe for the calendar's lines).
QString valeur(const QString &modele, const QString &n, int rec, int groupe)
{
    // Header data shared by several printouts.
    if (n.compare(u"saison", Qt::CaseInsensitive) == 0 || n == u"Saison1" || n == u"SAISON")
        return QStringLiteral("2023-2024");
    if (n.startsWith(QLatin1String("Epreuve"), Qt::CaseInsensitive) || n == u"Epreuves")
        return tournoi(rec + groupe);
    if (modele == u"calendrier.frf") {
        const int i = groupe * Lignes1 + rec;
        if (n == u"Titre")
            return club(groupe);
        if (n == u"Date")
            return QStringLiteral("16/03/2024");
        if (n == u"Dates")
            return date(i);
        if (n == u"Phases")
            return i % 2 ? QStringLiteral("Finale nationale")
                         : QStringLiteral("Demi-Finale de comité");
        if (n == u"Categories")
            return i % 2 ? QStringLiteral("Open mixte par paires")
                         : QStringLiteral("Dames par quatre");
        if (n == u"Lieux")
            return club(i + 1);
        if (n == u"Arbitres")
            return nom(i);
        if (n == u"Jour")
            return QStringLiteral("Dimanche");
    }
    if (modele == u"Classem_General.frf" || modele == u"Attibution_PPE.frf") {
        if (n == u"Titre")
            return QStringLiteral("Classement Open du challenge");
        if (n.startsWith(QLatin1String("ClT")))
            return tournoi(n.mid(3).toInt());
        if (n.startsWith(QLatin1String("ClD")))
            return date(n.mid(3).toInt()).left(5);
        if (n.startsWith(QLatin1String("Pc")) || n == u"ClGePc" || n == u"Points" || n == u"NbPts")
            return points(rec + n.size());
        if (n == u"ClGeCl" || n == u"Classem")
            return QString::number(rec + 1);
        if (n == u"ClGeNom" || n == u"Nom")
            return nom(rec);
        if (n == u"ClGeInd" || n == u"Num")
            return licence(rec);
        if (n == u"ClGeIv" || n == u"Indice")
            return QString::number(20 + rec % 60);
    }
    if (modele == u"Repartition_theorique_PP.frf") {
        if (n == u"Titre")
            return QStringLiteral("ANNEXE II");
        if (n == u"SousTitre")
            return QStringLiteral("Table de répartition théorique des PP");
        if (n == u"date")
            return QStringLiteral("16/03/2024");
        if (n.startsWith(QLatin1String("Class")))
            return QString::number(rec * 5 + n.right(1).toInt());
        return QString::number(100000 + rec * 13);
    }
    if (modele == u"Enveloppes.frf") {
        if (n == u"Nom")
            return QStringLiteral("M. ") + nom(3);
        if (n.startsWith(QLatin1String("Adresse")))
            return sur(QStringLiteral("Résidence des Jardins de l'Hôtel de Ville bâtiment C"),
                       s_adresse);
        if (n == u"Code")
            return QStringLiteral("69100");
        if (n == u"Ville")
            return QStringLiteral("VILLEFRANCHE-SUR-SAÔNE CEDEX");
    }
    if (modele == u"quatre.frf" || modele == u"paires.frf" || modele == u"convocation.frf") {
        const bool quatre = modele == u"quatre.frf";
        if (n == u"classement2")
            return QStringLiteral("%1. ").arg(rec + 1) +
                   (quatre ? QStringLiteral("EQUIPE ") + nom(rec).section(' ', 2) : nom(rec));
        if (n == u"club2")
            return club(rec);
        if (n == u"indice2")
            return QString::number(120 + rec);
        if (n == u"nom2" || n == u"joueur2") {
            const auto [premiere, seconde] =
                manager::inscrits::DecouperLignes(joueurs(rec, quatre ? joueursDe(rec) : 2));
            return n == u"nom2" ? premiere : seconde;
        }
        if (n == u"responsable" || n == u"arbitre")
            return nom(n.size());
        if (n == u"lieu")
            return club(2);
        if (n == u"Informations_Lieu" || n == u"info_arbitre" || n == u"info_responsable")
            return QStringLiteral("12 boulevard des Belges, 69006 Lyon, tél. 04 78 52 63 14");
        if (n == u"avertissement")
            return QStringLiteral(
                "Les équipes qui ne pourront se présenter sont priées de prévenir le responsable "
                "de l'épreuve au plus tard la veille, faute de quoi elles seront pénalisées.");
        if (n == u"pause")
            return QStringLiteral("Le Club fournira les sandwichs pendant la pause de midi.");
        if (n == u"caution")
            return quatre ? QStringLiteral("80") : QStringLiteral("40");
        if (n == u"publication")
            return QStringLiteral("Fait le 16/03/2024");
        if (n == u"pied2")
            return QStringLiteral(
                "Comité régional de bridge du Lyonnais - 12 boulevard des Belges");
        return sur(QStringLiteral("Samedi 16 mars 2024, accueil des joueurs"), 40);
    }
    if (modele == u"Match_Quatre.frf") {
        if (n == u"titre")
            return QStringLiteral("Match 1 : ") + tournoi(1).left(30);
        if (n.mid(1) == u"nom10")
            return QStringLiteral("EQUIPE ") + nom(n[0] == u'A' ? 1 : 2);
        if (n.mid(1, 3) == u"nom")
            return nom(n.mid(4).toInt() + (n[0] == u'A' ? 0 : 50));
        if (n.mid(1, 3) == u"lic")
            return licence(n.mid(4).toInt());
        return points(n.size() + rec);
    }
    if (modele == u"Groupe4_Quatre.frf") {
        const int c = n.mid(1, 1).toInt(), r = n.mid(3, 1).toInt();
        if (r == 0)
            return c == 5 ? QString()
                          : QStringLiteral("EQUIPE ") + nom(c); // the totals' head is empty
        if (c == 0)
            return QStringLiteral("EQUIPE ") + nom(r);
        return points(c * 5 + r);
    }
    if (modele == u"Homologation_paires.frf" || modele == u"Homologation_quatre.frf") {
        if (n == u"nom_fich")
            return QStringLiteral("Match1.chr");
        if (n == u"Classement1")
            return QString::number(rec + 1);
        if (n.startsWith(QLatin1String("Nom")))
            return nom(rec * 2 + n.right(1).toInt());
        if (n.startsWith(QLatin1String("Licence")))
            return licence(rec * 2 + n.right(1).toInt());
        return points(rec);
    }
    return QStringLiteral("?");
}

struct Imprime {
    QStringList textes; // everything the template and the data print
    std::unique_ptr<QWidget> fenetre;
    manager::ComposantsImpression composants;
    report::TfrUserDataset *lignes = nullptr; // the calendar's lines
};

class DonneesLongues : public vorn_test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        report::fr().resetForTests();
        report::fr().start();
        // Prepared as the program prepares them: the real text measurer,
        // the virtual PDF printer's paper.
        report::frObjects().setMeasurer(nullptr);
        platform::setCurrentPrinterName(platform::kVirtualPrinterName);
        auto imprimante = std::make_unique<report::TfrPrinter>();
        imprimante->SetPrinter();
        report::frObjects().setPrinter(std::move(imprimante));
    }
    void TearDown() override
    {
        platform::setVirtualPrinterOutput(QString());
        platform::setCurrentPrinterName(QString());
        report::fr().resetForTests();
        ProgramFolderTest::TearDown();
    }

    // The template prepared over the long season, as its window would.
    std::unique_ptr<Imprime> preparer(const QString &modele)
    {
        auto p = std::make_unique<Imprime>();
        p->fenetre = std::make_unique<QWidget>();
        Imprime *q = p.get();
        p->composants = manager::creerImpression(
            p->fenetre.get(), 0, [q, modele](const QString &n, report::FrVariant &v) {
                const int groupe = q->lignes ? q->composants.frUserDataset1->RecNo : 0;
                const int rec = q->lignes ? q->lignes->RecNo : q->composants.frUserDataset1->RecNo;
                // An expression is the engine's to work out, as with the
                // windows, which answer only their own names.
                if (n.contains(QLatin1Char('(')) || n == u"PAGE#")
                    return;
                const QString texte = valeur(modele, n, rec, groupe);
                q->textes.append(texte);
                v = texte;
            });
        int enregistrements = 1;
        if (modele == u"calendrier.frf") {
            p->lignes = new report::TfrUserDataset(p->fenetre.get());
            p->lignes->setObjectName(QStringLiteral("frUserDataset2"));
            p->lignes->RangeEnd = report::reCount;
            const auto groupe = [q](QObject *) {
                q->lignes->RangeEndCount =
                    q->composants.frUserDataset1->RecNo == 0 ? Lignes1 : Lignes2;
            };
            p->composants.frUserDataset1->OnFirst = groupe;
            p->composants.frUserDataset1->OnNext = groupe;
            enregistrements = 2;
        } else if (modele == u"Classem_General.frf" || modele == u"Attibution_PPE.frf") {
            enregistrements = 120;
        } else if (modele == u"Homologation_paires.frf" || modele == u"paires.frf") {
            enregistrements = 60;
        } else if (modele == u"quatre.frf") {
            enregistrements = 30;
        } else if (modele == u"Repartition_theorique_PP.frf") {
            enregistrements = 50;
        } else if (modele == u"Homologation_quatre.frf") {
            enregistrements = 12;
        }
        p->composants.frUserDataset1->RangeEnd = report::reCount;
        p->composants.frUserDataset1->RangeEndCount = enregistrements;
        report::TfrReport &r = *p->composants.frReport1;
        EXPECT_TRUE(r.LoadFromFile(QStringLiteral(VORN_TEMPLATES_DIR "/") + modele))
            << modele.toStdString();
        EXPECT_TRUE(r.PrepareReport()) << modele.toStdString();
        for (int i = 0; i < r.Pages().Count(); ++i)
            for (const auto &v : r.Pages().GetPage(i)->Objects)
                p->textes.append(v->Memo);
        return p;
    }
};

const char *const Modeles[] = {
    "Homologation_paires.frf", "Classem_General.frf", "Repartition_theorique_PP.frf",
    "Attibution_PPE.frf",      "Enveloppes.frf",      "calendrier.frf",
    "convocation.frf",         "quatre.frf",          "paires.frf",
    "Match_Quatre.frf",        "Groupe4_Quatre.frf",  "Homologation_quatre.frf"};

TEST_F(DonneesLongues, EveryPrintoutShowsEveryWordOfItsData)
{
    for (const char *m : Modeles) {
        const QString modele = QString::fromLatin1(m);
        const auto p = preparer(modele);
        report::TfrReport &r = *p->composants.frReport1;
        report::TfrEMFPages &pages = r.EMFPages();
        ASSERT_GT(pages.Count(), 0) << m;
        // Scripts and the designer find an object by its name: one per template.
        QSet<QString> noms;
        for (int i = 0; i < r.Pages().Count(); ++i)
            for (const auto &v : r.Pages().GetPage(i)->Objects) {
                EXPECT_FALSE(noms.contains(v->Name))
                    << m << ": two named " << v->Name.toStdString();
                noms.insert(v->Name);
            }
        // Every name the template asks for was answered: nothing prints "?".
        for (const QString &n :
             vorn_test::nomsDuModele(QStringLiteral(VORN_TEMPLATES_DIR "/") + modele))
            EXPECT_NE(valeur(modele, n, 0, 0), QStringLiteral("?")) << m << " " << n.toStdString();
        if (qEnvironmentVariable("VORN_DUMP") == modele)
            std::fprintf(stderr, "%s", pages.Dump().toUtf8().constData());
        const QStringList defauts =
            vorn_test::defautsImpression(pages, vorn_test::motsDe(p->textes));
        EXPECT_TRUE(defauts.isEmpty())
            << m << ", " << pages.Count() << " pages, " << defauts.size() << " faults:\n"
            << defauts.mid(0, 12).join(QLatin1Char('\n')).toStdString();
        // Printed beside the pictures, when they are asked for.
        if (const QString pdf = vorn_test::shotPath(modele.chopped(4) + QStringLiteral(".pdf"));
            !pdf.isEmpty()) {
            platform::setVirtualPrinterOutput(pdf);
            dialogs().files.push_back(pdf);
            EXPECT_TRUE(r.PrintPreparedPages(QString(), 1, true, 0)) << m;
        }
    }
}

// The texts of the objects of each prepared page whose name starts with
// prefix, page by page.
QList<QStringList> textesParPage(report::TfrEMFPages &pages, const QString &prefixe)
{
    QList<QStringList> out;
    for (int i = 0; i < pages.Count(); ++i) {
        pages.BuildPageObjects(i);
        QStringList textes;
        for (const auto &v : pages.Entry(i)->Page->Objects)
            if (v->Name.startsWith(prefixe))
                textes << v->Memo.join(QLatin1Char(' ')).remove(QChar(1));
        pages.Entry(i)->Page.reset();
        out << textes;
    }
    return out;
}

TEST_F(DonneesLongues, EveryPlayerOfTeamsOfTwoToEightAndTheHeadingsOfEveryPage)
{
    s_joueurs = 0;
    const auto p = preparer(QStringLiteral("quatre.frf"));
    report::TfrEMFPages &pages = p->composants.frReport1->EMFPages();
    ASSERT_GE(pages.Count(), 2);
    EXPECT_EQ(vorn_test::defautsImpression(pages, vorn_test::motsDe(p->textes)), QStringList());
    // Each player once, in the two columns of the team's row.
    QString imprime;
    for (const QStringList &t : textesParPage(pages, QStringLiteral("Inscrit")))
        imprime += t.join(QLatin1Char(' ')) + QLatin1Char(' ');
    imprime.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
    for (int e = 0; e < 30; ++e)
        for (int k = 0; k < joueursDe(e); ++k)
            EXPECT_TRUE(imprime.contains(nom(e * 7 + k))) << e << " " << k;
    // The column headings at the top of every page of the list.
    const QList<QStringList> entetes = textesParPage(pages, QStringLiteral("Colonne"));
    for (int i = 0; i < entetes.size(); ++i)
        EXPECT_EQ(entetes[i], (QStringList{"Equipe", "Club", "Joueurs", "Indice"})) << i;
    s_joueurs = 6;
}

TEST_F(DonneesLongues, EnvelopeAddressLongerThanItsLineWrapsOnTheEnvelope)
{
    s_adresse = 90;
    const auto p = preparer(QStringLiteral("Enveloppes.frf"));
    s_adresse = 40;
    report::TfrEMFPages &pages = p->composants.frReport1->EMFPages();
    ASSERT_EQ(pages.Count(), 1);
    EXPECT_EQ(vorn_test::defautsImpression(pages, vorn_test::motsDe(p->textes)), QStringList());
    pages.BuildPageObjects(0);
    ASSERT_EQ(pages.Entry(0)->Page->Objects.size(), 1u);
    // Three address lines of two lines each: eight lines of 22 px.
    EXPECT_EQ(pages.Entry(0)->Page->Objects.front()->dy, 8 * 22 + 2);
    pages.Entry(0)->Page.reset();
}

TEST_F(DonneesLongues, CalendarGroupGoesOnUnderItsHeadingsAndTheTotalsHaveTheirs)
{
    const auto calendrier = preparer(QStringLiteral("calendrier.frf"));
    report::TfrEMFPages &pages = calendrier->composants.frReport1->EMFPages();
    ASSERT_GE(pages.Count(), 3);
    const QList<QStringList> entetes = textesParPage(pages, QStringLiteral("Colonne"));
    const QList<QStringList> lignes = textesParPage(pages, QStringLiteral("Valeur1"));
    int continuees = 0;
    for (int i = 0; i < pages.Count(); ++i) {
        if (lignes[i].isEmpty())
            continue;
        // Every page with lines shows the headings above them.
        EXPECT_GE(entetes[i].size(), 7) << i;
        EXPECT_EQ(entetes[i].mid(0, 7),
                  (QStringList{"Date", "Phase", "Epreuve", "Catégorie", "Lieu", "Arbitre", "Jour"}))
            << i;
        continuees += i > 0 ? 1 : 0;
    }
    EXPECT_GE(continuees, 2);

    const auto groupe = preparer(QStringLiteral("Groupe4_Quatre.frf"));
    const QList<QStringList> tete =
        textesParPage(groupe->composants.frReport1->EMFPages(), QStringLiteral("Case_c5r0"));
    EXPECT_EQ(tete.value(0), QStringList{QStringLiteral("Total")});
}

} // namespace
