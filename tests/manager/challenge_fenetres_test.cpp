// The four challenge windows driven as a user would: pages imported and
// computed, results saved and reopened, the season ranking exported and
// printed, the distribution searched and saved, the attribution exported;
// what hostile files and failed steps leave behind.
#include "challenge_fenetre_support.h"

#include "manager/attrib.h"
#include "manager/challenge.h"
#include "manager/core/fichejoueur.h"
#include "manager/core/paires.h"
#include "manager/core/ventilation.h"
#include "manager/repart.h"
#include "manager/resultat_paires.h"
#include "platform/browser/browser.h"
#include "platform/forms/controls.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "tests/support/core/thrown.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <sys/stat.h>

using namespace manager;

namespace vorn_test
{
namespace
{

QStringList grille(const QTableWidget *g)
{
    QStringList rows;
    for (int r = 0; r < g->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < g->columnCount(); ++c)
            cells.append(g->item(r, c) ? g->item(r, c)->text() : QString());
        rows.append(cells.join(QLatin1Char('|')));
    }
    return rows;
}

// What the user sees of the pairs window: grid, results, extract, caption,
// tab, K, the page shown and which buttons are enabled.
std::string etat(const TVornF_Resultat_Paires &f)
{
    QStringList e = grille(f.Grille) + f.resultats();
    e << QStringLiteral("extrait: %1 lignes").arg(f.extrait().size()) << f.Caption()
      << QString::number(f.PageControl1->currentIndex()) << f.CoefK->text()
      << f.WebBrowser1->LocationName();
    for (const QPushButton *b : f.findChildren<QPushButton *>())
        e << b->objectName() + (b->isEnabled() ? u'+' : u'-');
    return e.join(QLatin1Char('\n')).toStdString();
}

class PairesFenetre : public ChallengeTest
{
protected:
    void SetUp() override
    {
        ChallengeTest::SetUp();
        ecrireFichierJoueurs(saison(QStringLiteral("Joueur.DBP")),
                             {joueur(QStringLiteral("0100001"), QStringLiteral("Anne"),
                                     QStringLiteral("NOMC"), QStringLiteral("30")),
                              joueur(QStringLiteral("0100002"), QStringLiteral("Loïc"),
                                     QStringLiteral("NOMB"), QStringLiteral("28")),
                              joueur(QStringLiteral("0100003"), QStringLiteral("Jérôme"),
                                     QStringLiteral("O'NEIL"), QStringLiteral("45"))});
        QList<PairePage> paires = {
            {QStringLiteral("1"), QStringLiteral("Anne de NOMC"), QStringLiteral("Loïc NOMB")},
            {QStringLiteral("2"), QStringLiteral("Jérôme O&#39;NEIL"),
             QStringLiteral("Jean Pierre NOMD")},
            {QStringLiteral("3"), QStringLiteral("Paul INCONNU"), QStringLiteral("Zoé INCONNUE")}};
        writeLines(SaisonEnCours + QStringLiteral("/classement.htm"), newLayoutPage(paires));
        w = std::make_unique<TVornF_Resultat_Paires>();
        w->activated();
    }
    // The page imported into f (the window under test when none), its
    // extract saved as extrait.
    void importer(TVornF_Resultat_Paires *f = nullptr, const char *extrait = "Open1.chi")
    {
        dialogs().files.push_back(saison(QStringLiteral("classement.htm")));
        dialogs().files.push_back(saison(QLatin1String(extrait)));
        (f ? f : w.get())->Bt_InternetClick();
    }
    QString valeur(const QString &nom)
    {
        report::FrVariant v;
        w->frReport1GetValue(nom, v);
        return v.isUnassigned() ? QStringLiteral("<rien>") : v.toString();
    }
    std::unique_ptr<TVornF_Resultat_Paires> w;
};

TEST_F(PairesFenetre, ImportComputeSaveReopenAndPrint)
{
    EXPECT_FALSE(w->Bt_Calcul_Groupe->isEnabled());
    EXPECT_EQ(w->CoefK->text(), QStringLiteral("100000"));
    importer();
    ASSERT_EQ(dialogs().openRequests.size(), 1u);
    EXPECT_EQ(dialogs().openRequests[0].title,
              QStringLiteral("Récupération page Internet Classement"));
    ASSERT_EQ(dialogs().saveRequests.size(), 1u);
    EXPECT_EQ(dialogs().saveRequests[0].title, QStringLiteral("Sauvegarde classement internet "));
    EXPECT_TRUE(exists(SaisonEnCours + QStringLiteral("/Open1.chi")));
    EXPECT_TRUE(w->Bt_Calcul_Groupe->isEnabled());
    EXPECT_FALSE(w->Bt_load_resultat->isEnabled());

    w->Bt_Calcul_GroupeClick();
    EXPECT_EQ(w->PageControl1->currentIndex(), 2);
    EXPECT_TRUE(w->Bt_load_resultat->isEnabled());
    const QStringList calcule = grille(w->Grille);
    EXPECT_EQ(calcule, (QStringList{QStringLiteral("Class.|Equipe1|Equipe2|Numéro1|Numéro2|P.C."),
                                    QStringLiteral("1|Anne de NOMC|Loïc NOMB|0100001|0100002|333"),
                                    QStringLiteral("2|Jérôme O'NEIL|Jean Pierre NOMD|0100003||108"),
                                    QStringLiteral("3|Paul INCONNU|Zoé INCONNUE|||33")}));
    // The total is right at once: 2 licences, 1, then none.
    EXPECT_EQ(valeur(QStringLiteral("Total_Pc")), QStringLiteral("7,74"));
    EXPECT_EQ(valeur(QStringLiteral("Epreuve1")), QStringLiteral("Challenge :"));

    dialogs().files.push_back(saison(QStringLiteral("Open1.chr")));
    w->Bt_load_resultatClick();
    expectChallengeGolden(QStringLiteral("Open1.chr"), lireSaison(QStringLiteral("Open1.chr")));
    EXPECT_EQ(valeur(QStringLiteral("Epreuve1")), QStringLiteral(" Open1.chr"));

    auto autre = std::make_unique<TVornF_Resultat_Paires>();
    autre->activated();
    dialogs().files.push_back(saison(QStringLiteral("Open1.chr")));
    autre->Bt_Ouvrie_ResultatClick();
    EXPECT_EQ(grille(autre->Grille), calcule);
    EXPECT_EQ(autre->totalPc(), 774);
    EXPECT_EQ(autre->Caption(),
              QStringLiteral("Gestion des résultats d'une épreuve du Challenge : Open1.chr"));

    w->ImpressionClick();
    ASSERT_EQ(preview->calls.size(), 1u);
    EXPECT_EQ(preview->calls[0].pages, 1);
    expectChallengeGolden(QStringLiteral("Homologation_paires.txt"),
                          w->composants.frReport1->EMFPages().Dump().toUtf8());
}

// The extract and the results the window has open are saved again without
// a question; another existing file is replaced only when the user says so.
TEST_F(PairesFenetre, SavingAsksExceptForTheOpenFile)
{
    importer();
    w->Bt_Calcul_GroupeClick();
    for (int fois = 0; fois < 2; ++fois) {
        dialogs().files.push_back(saison(QStringLiteral("Open1.chr")));
        w->Bt_load_resultatClick();
    }
    EXPECT_TRUE(dialogs().messages.empty()) << dialogs().texts().join('|').toStdString();
    expectChallengeGolden(QStringLiteral("Open1.chr"), lireSaison(QStringLiteral("Open1.chr")));

    ecrireSaison(QStringLiteral("Open2.chr"), {QStringLiteral("autre;")});
    dialogs().files.push_back(saison(QStringLiteral("Open2.chr")));
    dialogs().answers.push_back(platform::mrNo);
    w->Bt_load_resultatClick();
    EXPECT_EQ(dialogs().texts(), QStringList{ecraser("Open2.chr")});
    EXPECT_EQ(lireSaison(QStringLiteral("Open2.chr")), QByteArray("autre;\r\n"));

    // The file stops being the open one once the results shown are no
    // longer those read from it or saved to it: the caption no longer names
    // it and saving over it asks. So does saving a new page's extract over
    // the extract opened until then.
    const QString titre =
        QStringLiteral("Gestion des résultats d'une épreuve par paires du Challenge :");
    ecrireSaison(QStringLiteral("old.chr"), {QStringLiteral("1;Anne NOMA;;01;52;;;70;")});
    const QByteArray ancien = lireSaison(QStringLiteral("old.chr"));
    const struct {
        const char *cas;
        std::function<void(TVornF_Resultat_Paires &)> ensuite;
    } cas[] = {
        {"extract opened",
         [this](TVornF_Resultat_Paires &f) {
             dialogs().files.push_back(saison(QStringLiteral("Open1.chi")));
             f.Bt_Ouvrir_GroupeClick();
         }},
        {"page imported", [this](TVornF_Resultat_Paires &f) { importer(&f, "Open2.chi"); }},
    };
    for (const auto &c : cas) {
        auto autre = std::make_unique<TVornF_Resultat_Paires>();
        autre->activated();
        dialogs().files.push_back(saison(QStringLiteral("Open1.chi")));
        autre->Bt_Ouvrir_GroupeClick();
        dialogs().files.push_back(saison(QStringLiteral("old.chr")));
        autre->Bt_Ouvrie_ResultatClick();
        dialogs().messages.clear();
        c.ensuite(*autre);
        autre->Bt_Calcul_GroupeClick();
        EXPECT_EQ(autre->Caption(), titre) << c.cas;
        dialogs().files.push_back(saison(QStringLiteral("old.chr")));
        dialogs().answers.push_back(platform::mrNo);
        autre->Bt_load_resultatClick();
        EXPECT_EQ(dialogs().texts(), QStringList{ecraser("old.chr")}) << c.cas;
        EXPECT_EQ(lireSaison(QStringLiteral("old.chr")), ancien) << c.cas;
        dialogs().messages.clear();
        // The results calculated and not saved are given up first.
        dialogs().answers = {platform::mrYes, platform::mrNo};
        importer(autre.get());
        EXPECT_EQ(dialogs().texts().mid(1), QStringList{ecraser("Open1.chi")}) << c.cas;
        dialogs().messages.clear();
    }
}

TEST_F(PairesFenetre, HostileInputsLoseNothing)
{
    // Random bytes, an unrelated page, a web page named as a result file,
    // and dialogs cancelled leave the window as it was; the files that are
    // no web page, or no result file, at all are named.
    QByteArray bruit;
    for (int i = 0; i < 4000; ++i)
        bruit.append(char((i * 7919) % 251));
    writeBytes(SaisonEnCours + QStringLiteral("/bruit.htm"), bruit);
    writeLines(SaisonEnCours + QStringLiteral("/autre.htm"),
               {QStringLiteral("<html>"), QStringLiteral("<p>Open /2</p>")});
    ecrireSaison(QStringLiteral("texte.chr"),
                 {QStringLiteral("<!DOCTYPE html>"), QStringLiteral("<html><body>"),
                  QStringLiteral("<p>Classement</p>"), QStringLiteral("</body></html>")});
    // A saved page whose style lines hold eight ";" each.
    ecrireSaison(QStringLiteral("page.chr"),
                 platform::LineFile::read(QStringLiteral(VORN_TEST_DATA "/pages/Open1.htm")));
    importer();
    w->Bt_Calcul_GroupeClick();
    dialogs().files.push_back(saison(QStringLiteral("Open1.chr")));
    w->Bt_load_resultatClick();
    const QString pas = QStringLiteral("Ce fichier n'est pas ");
    const struct {
        std::deque<std::optional<QString>> fichiers; // none: the dialog is cancelled
        QPushButton *bouton;
        QString message;
    } refus[] = {
        {{saison(QStringLiteral("bruit.htm"))},
         w->Bt_Internet,
         pas + QStringLiteral("une page de classement : ") + saison(QStringLiteral("bruit.htm"))},
        {{saison(QStringLiteral("autre.htm"))}, w->Bt_Internet, {}},
        {{}, w->Bt_Internet, {}},
        {{saison(QStringLiteral("classement.htm"))}, w->Bt_Internet, {}},
        {{}, w->Bt_Ouvrir_Groupe, {}},
        {{saison(QStringLiteral("texte.chr"))},
         w->Bt_Ouvrie_Resultat,
         pas + QStringLiteral("un fichier de résultats : ") + saison(QStringLiteral("texte.chr")) +
             QLatin1Char('.')},
        {{saison(QStringLiteral("page.chr"))},
         w->Bt_Ouvrie_Resultat,
         pas + QStringLiteral("un fichier de résultats : ") + saison(QStringLiteral("page.chr")) +
             QLatin1Char('.')},
        {{}, w->Bt_Ouvrie_Resultat, {}},
    };
    const std::string fenetre = etat(*w);
    for (const auto &r : refus) {
        const std::string cas = (r.bouton->objectName() + u' ' +
                                 (r.fichiers.empty() ? QString() : r.fichiers.front().value()))
                                    .toStdString();
        dialogs().messages.clear();
        dialogs().files = r.fichiers;
        r.bouton->click();
        EXPECT_EQ(etat(*w), fenetre) << cas;
        EXPECT_EQ(dialogs().texts(), r.message.isEmpty() ? QStringList() : QStringList{r.message})
            << cas;
    }
    dialogs().messages.clear();

    const QStringList avant = grille(w->Grille);
    const QStringList resultats = w->resultats();
    w->CoefK->setText(QStringLiteral("x"));
    EXPECT_THROW(w->Bt_Calcul_GroupeClick(), platform::EConvertError);
    EXPECT_EQ(grille(w->Grille), avant);
    EXPECT_EQ(w->resultats(), resultats);

    // A value index that is no number in the players file: same.
    w->CoefK->setText(QStringLiteral("100000"));
    ecrireFichierJoueurs(saison(QStringLiteral("Joueur.DBP")),
                         {joueur(QStringLiteral("0100001"), QStringLiteral("Anne"),
                                 QStringLiteral("NOMC"), QStringLiteral("x"))});
    EXPECT_THROW(w->Bt_Calcul_GroupeClick(), platform::EConvertError);
    EXPECT_EQ(w->resultats(), resultats);

    // An extract without any pair: said, and the results stay.
    writeLines(SaisonEnCours + QStringLiteral("/vide.chi"),
               {QStringLiteral("ligne 0"),
                QStringLiteral("            <div class=\"container-table columns\">")});
    dialogs().files.push_back(saison(QStringLiteral("vide.chi")));
    w->Bt_Ouvrir_GroupeClick();
    dialogs().messages.clear();
    w->Bt_Calcul_GroupeClick();
    EXPECT_EQ(dialogs().texts(),
              QStringList{QStringLiteral("Aucune paire dans l'extrait de classement %1 : rien "
                                         "n'est calculé.")
                              .arg(saison(QStringLiteral("vide.chi")))});
    EXPECT_EQ(w->resultats(), resultats);
}

// The results are saved only when calculated for the extract shown (or
// read from a result file): an extract reopened or imported since, or an
// empty result file, leaves nothing to save, and no file is emptied.
TEST_F(PairesFenetre, ResultsAreSavedOnlyWhenCalculatedForTheExtractShown)
{
    importer();
    w->Bt_Calcul_GroupeClick();
    dialogs().files.push_back(saison(QStringLiteral("Open1.chr")));
    w->Bt_load_resultatClick();
    const QByteArray enregistre = lireSaison(QStringLiteral("Open1.chr"));
    ASSERT_FALSE(enregistre.isEmpty());
    ecrireSaison(QStringLiteral("vide.chr"), {});
    const QString refus = QStringLiteral("Aucun résultat calculé pour ce classement : les points "
                                         "doivent être calculés (Calculer) avant d'être "
                                         "enregistrés.");

    const struct {
        const char *cas;
        std::function<void(TVornF_Resultat_Paires &)> avant;
    } cas[] = {
        {"extract reopened in a fresh window",
         [this](TVornF_Resultat_Paires &f) {
             dialogs().files.push_back(saison(QStringLiteral("Open1.chi")));
             f.Bt_Ouvrir_GroupeClick();
         }},
        {"extract reopened after a calculation",
         [this](TVornF_Resultat_Paires &f) {
             importer();
             f.Bt_Calcul_GroupeClick();
             dialogs().files.push_back(saison(QStringLiteral("Open1.chi")));
             f.Bt_Ouvrir_GroupeClick();
             f.activated();
         }},
        {"page imported after a calculation",
         [this](TVornF_Resultat_Paires &f) {
             importer();
             f.Bt_Calcul_GroupeClick();
             importer();
         }},
        {"empty result file opened",
         [this](TVornF_Resultat_Paires &f) {
             dialogs().files.push_back(saison(QStringLiteral("vide.chr")));
             f.Bt_Ouvrie_ResultatClick();
         }},
    };
    for (const auto &c : cas) {
        w = std::make_unique<TVornF_Resultat_Paires>();
        w->activated();
        c.avant(*w);
        dialogs().messages.clear();
        dialogs().saveRequests.clear();
        EXPECT_FALSE(w->Bt_load_resultat->isEnabled()) << c.cas;
        dialogs().files.push_back(saison(QStringLiteral("Open1.chr")));
        dialogs().answers.push_back(platform::mrYes);
        w->Bt_load_resultatClick();
        EXPECT_EQ(dialogs().texts(), QStringList{refus}) << c.cas;
        EXPECT_TRUE(dialogs().saveRequests.empty()) << c.cas;
        EXPECT_EQ(lireSaison(QStringLiteral("Open1.chr")), enregistre) << c.cas;
        dialogs().files.clear();
        dialogs().answers.clear();
    }
}

// Back from another window, the window is as it was left: a result file
// reopened can still be saved, points calculated with another K stay
// beside it. A season changed meanwhile starts again at the page; results
// read from a file can then no longer be saved, and the caption no longer
// names it.
TEST_F(PairesFenetre, ComingBackKeepsTheWindow)
{
    ecrireSaison(QStringLiteral("Open1.chr"), {QStringLiteral("1;Anne NOMA;;01;52;;;70;")});
    const struct {
        const char *cas;
        std::function<void()> faire;
        bool enregistrableApresSaison;
    } cas[] = {
        {"result file opened",
         [this] {
             dialogs().files.push_back(saison(QStringLiteral("Open1.chr")));
             w->Bt_Ouvrie_ResultatClick();
         },
         false},
        {"calculated with another K",
         [this] {
             importer();
             w->CoefK->setText(QStringLiteral("50000"));
             w->Bt_Calcul_GroupeClick();
         },
         true},
    };
    TVornF_Resultat_Paires ailleurs;
    for (const auto &c : cas) {
        w = std::make_unique<TVornF_Resultat_Paires>();
        w->activated();
        c.faire();
        const std::string avant = etat(*w);
        ailleurs.activated();
        w->activated();
        EXPECT_EQ(etat(*w), avant) << c.cas;
        EXPECT_TRUE(w->Bt_load_resultat->isEnabled()) << c.cas;

        const QString saisonLue = std::exchange(SaisonEnCours, QStringLiteral("2024-2025"));
        ailleurs.activated();
        w->activated();
        SaisonEnCours = saisonLue;
        EXPECT_EQ(w->PageControl1->currentIndex(), 1) << c.cas;
        EXPECT_EQ(w->CoefK->text(), QStringLiteral("100000")) << c.cas;
        EXPECT_EQ(w->Bt_load_resultat->isEnabled(), c.enregistrableApresSaison) << c.cas;
        EXPECT_EQ(w->Caption(),
                  QStringLiteral("Gestion des résultats d'une épreuve par paires du Challenge :"))
            << c.cas;
    }
}

TEST_F(PairesFenetre, CutPageOrExtractIsRefusedAndNothingComputed)
{
    // The page saved while its third pair's row was still loading.
    QList<PairePage> paires = {
        {QStringLiteral("1"), QStringLiteral("Anne de NOMC"), QStringLiteral("Loïc NOMB")},
        {QStringLiteral("2"), QStringLiteral("Paul INCONNU"), QStringLiteral("Zoé INCONNUE")},
        {QStringLiteral("3"), QStringLiteral("Jérôme O&#39;NEIL"), QStringLiteral("Jean NOMD")}};
    const QStringList page = newLayoutPage(paires);
    const qsizetype troisieme = page.indexOf(QStringLiteral("                            3"));
    ASSERT_GT(troisieme, 0);
    writeLines(SaisonEnCours + QStringLiteral("/coupe.htm"), page.mid(0, troisieme + 12));
    dialogs().files.push_back(saison(QStringLiteral("coupe.htm")));
    const QString coupe = thrownMessage<EPageIncomplete>([&] { w->Bt_InternetClick(); });
    EXPECT_TRUE(coupe.contains(saison(QStringLiteral("coupe.htm"))));
    EXPECT_TRUE(coupe.contains(QStringLiteral("La paire 3 ")));
    EXPECT_TRUE(w->extrait().isEmpty());
    EXPECT_TRUE(dialogs().saveRequests.empty());
    EXPECT_FALSE(w->Bt_Calcul_Groupe->isEnabled());

    // An extract cut the same way, reopened: "Ouvrir" refuses it and the
    // extract and results of before stay as they were.
    importer();
    w->Bt_Calcul_GroupeClick();
    const QStringList avant = grille(w->Grille);
    const QStringList resultats = w->resultats();
    const QStringList extrait = ExtrairePaires(page);
    writeLines(
        SaisonEnCours + QStringLiteral("/coupe.chi"),
        extrait.mid(0, extrait.indexOf(QStringLiteral("                            3")) + 4));
    dialogs().files.push_back(saison(QStringLiteral("coupe.chi")));
    dialogs().answers = {platform::mrYes};
    const QStringList extraitAvant = w->extrait();
    EXPECT_TRUE(thrownMessage<EPageIncomplete>([&] {
                    w->Bt_Ouvrir_GroupeClick();
                }).contains(saison(QStringLiteral("coupe.chi"))));
    EXPECT_EQ(w->extrait(), extraitAvant);
    EXPECT_EQ(grille(w->Grille), avant);
    EXPECT_EQ(w->resultats(), resultats);
}

TEST_F(PairesFenetre, MissingTemplateIsToldAndNothingShows)
{
    QFile::remove(path(QStringLiteral("Homologation_paires.frf")));
    w->ImpressionClick();
    EXPECT_TRUE(preview->calls.empty());
    ASSERT_EQ(dialogs().texts(),
              QStringList{QStringLiteral(
                  "Modèle d'impression absent ou illisible : Homologation_paires.frf")});
}

// --- the season ranking

class ChallengeFenetre : public ChallengeTest
{
protected:
    void SetUp() override
    {
        ChallengeTest::SetUp();
        ecrireSaison(QStringLiteral("Open1.chr"),
                     {QStringLiteral("1;Anne NOMA;Bob NOMB;01;52;02;40;1000;"),
                      QStringLiteral("2;Cleo NOMC;Zoe NOMZ;03;38;09;60;0;")});
        ecrireSaison(QStringLiteral("QuatreA.chr"), {QStringLiteral("300;Cleo NOMC;;03;38;;;800;"),
                                                     QStringLiteral("200;Dan NOMD;;04;35;;;400;")});
        ecrireSaison(QStringLiteral("QuatreB.chr"), {QStringLiteral("300;Cleo NOMC;;03;38;;;400;"),
                                                     QStringLiteral("100;Anne NOMA;;01;52;;;500;"),
                                                     QStringLiteral("100;Dan NOMD;;04;35;;;300;")});
        ecrireSaison(QStringLiteral("Demi.chr"),
                     {QStringLiteral("1;Bob NOMB;Dan NOMD;02;40;04;35;400;")});
        ecrireSaison(QStringLiteral("Challenge.DBP"),
                     {QStringLiteral("1;10/01/2025;Open Janvier;P;1;100;;"),
                      QStringLiteral("2;12/01/2025;Open1;P;1;100;Open1.chr;"),
                      QStringLiteral("3;14/02/2025;Quatre A;Q;3;100;QuatreA.chr;"),
                      QStringLiteral("4;15/02/2025;Quatre B;Q;3;100;QuatreB.chr;"),
                      QStringLiteral("5;01/03/2025;Hors;P;0;100;;"),
                      QStringLiteral("6;20/03/2025;Demi;P;2;50;Demi.chr;")});
        w = std::make_unique<TVorn_FChallenge>();
    }
    std::unique_ptr<TVorn_FChallenge> w;
};

TEST_F(ChallengeFenetre, GridExportsAndPrintout)
{
    w->activated();
    EXPECT_EQ(w->Memo1->toPlainText().split(QLatin1Char('\n')).first(),
              QStringLiteral("Nombre de Journée du Challenge : 3"));
    EXPECT_EQ(grille(w->StringGrid1),
              (QStringList{QStringLiteral("P.C.|Nom|Licence|Ind.|Open Janvier|Demi|Quatre A"),
                           QStringLiteral("||||10/01/2025|20/03/2025|14/02/2025"),
                           QStringLiteral("1500|Anne NOMA|01|52|1000||500"),
                           QStringLiteral("1200|Bob NOMB|02|40|1000|200|"),
                           QStringLiteral("1200|Cleo NOMC|03|38|0||1200"),
                           QStringLiteral("900|Dan NOMD|04|35||200|700")}));

    w->Bt1_Class->click();
    ASSERT_EQ(dialogs().texts(), QStringList{QStringLiteral("Création du fichier \n\n") +
                                             saison(QStringLiteral("Classement_general.PPE"))});
    expectChallengeGolden(QStringLiteral("Classement_general.PPE"),
                          lireSaison(QStringLiteral("Classement_general.PPE")));
    ASSERT_EQ(preview->calls.size(), 1u);
    expectChallengeGolden(QStringLiteral("Classem_General.txt"),
                          w->composants.frReport1->EMFPages().Dump().toUtf8());
    const QString dump = w->composants.frReport1->EMFPages().Dump();
    EXPECT_FALSE(dump.contains(QStringLiteral("Symbole")));

    w->SpinEdit1->setValue(40);
    w->SpinEdit1->setValue(41);
    w->SpinEdit1->setValue(40);
    EXPECT_EQ(w->Bt_ClassPro->text(), QStringLiteral("Classement Joueurs <= 40"));
    w->Bt_ClassPro->click();
    expectChallengeGolden(QStringLiteral("Classement_IV_InferieurEgal40.PPE"),
                          lireSaison(QStringLiteral("Classement_IV_InferieurEgal40.PPE")));
    report::FrVariant titre;
    w->frReport1GetValue(QStringLiteral("Titre"), titre);
    EXPECT_EQ(titre.toString(), QStringLiteral("Classement du challenge des joueurs I.V. <= 40"));

    // "No": nothing written, the report still shows.
    QFile::remove(saison(QStringLiteral("Classement_general.PPE")));
    dialogs().answers.push_back(platform::mrNo);
    w->Bt1_Class->click();
    EXPECT_FALSE(exists(SaisonEnCours + QStringLiteral("/Classement_general.PPE")));
    EXPECT_EQ(preview->calls.size(), 3u);

    // A moved row takes the place of its new position.
    w->StringGrid1->verticalHeader()->moveSection(5, 2);
    w->Bt1_Class->click();
    EXPECT_EQ(
        platform::LineFile::read(saison(QStringLiteral("Classement_general.PPE"))),
        (QStringList{QStringLiteral("1;Dan NOMD;04;35;"), QStringLiteral("2;Anne NOMA;01;52;"),
                     QStringLiteral("3;Bob NOMB;02;40;"), QStringLiteral("3;Cleo NOMC;03;38;")}));
    report::FrVariant nom;
    w->composants.frUserDataset1->RecNo = 0;
    w->frReport1GetValue(QStringLiteral("ClGeNom"), nom);
    EXPECT_EQ(nom.toString(), QStringLiteral("Dan NOMD"));
}

TEST_F(ChallengeFenetre, FailedActivationLeavesNothingToExport)
{
    QFile::remove(saison(QStringLiteral("Demi.chr")));
    w->activated();
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].type, platform::mtError);
    EXPECT_TRUE(w->StringGrid1->isHidden());
    EXPECT_EQ(w->StringGrid1->rowCount(), 2);
    EXPECT_FALSE(w->Bt1_Class->isEnabled());
    EXPECT_FALSE(w->Bt_ClassPro->isEnabled());
    EXPECT_FALSE(exists(SaisonEnCours + QStringLiteral("/Classement_general.PPE")));

    // A value index that is no number stops the limited ranking, nothing written.
    ecrireSaison(QStringLiteral("Demi.chr"),
                 {QStringLiteral("1;Bob NOMB;Dan NOMD;02;x;04;35;400;")});
    platform::TForm::resetActivation();
    w->activated();
    ASSERT_TRUE(w->Bt_ClassPro->isEnabled());
    EXPECT_THROW(w->Bt1_ClassClick(w->Bt_ClassPro), platform::EConvertError);
    EXPECT_FALSE(exists(SaisonEnCours + QStringLiteral("/Classement_IV_InferieurEgal40.PPE")));
}

// --- the distribution table

class RepartFenetre : public ChallengeTest
{
protected:
    void SetUp() override
    {
        ChallengeTest::SetUp();
        w = std::make_unique<TVornF_repart>();
        w->activated();
    }
    std::unique_ptr<TVornF_repart> w;
};

TEST_F(RepartFenetre, SearchSaveAndPrint)
{
    EXPECT_EQ(w->Rg_Type->ItemIndex(), 1);
    EXPECT_EQ(w->E_Date->text(), QStringLiteral("Lundi 15 mars 2021"));
    EXPECT_FALSE(w->Bt_Memorisation->isEnabled());
    EXPECT_EQ(w->L_formule->text(), QStringLiteral("30 - [ (C-1) * (30 / K) ]"));
    w->Button1Click();
    EXPECT_EQ(w->E_Coef_K->text(), QStringLiteral("70,234375"));
    EXPECT_TRUE(w->Bt_Memorisation->isEnabled());
    dialogs().files.push_back(saison(QStringLiteral("Repart_1068.PPE")));
    w->Bt_MemorisationClick();
    EXPECT_EQ(dialogs().saveRequests.back().fileName,
              path(SaisonEnCours + QStringLiteral("/Repart_")));
    expectChallengeGolden(QStringLiteral("repart_type1.PPE"),
                          lireSaison(QStringLiteral("Repart_1068.PPE")));

    w->Rg_Type->setItemIndex(0);
    EXPECT_EQ(w->L_formule->text(), QStringLiteral("K - [ C * (K / 41) ]"));
    w->Rg_Formule->setItemIndex(0);
    EXPECT_EQ(w->L_formule->text(), QStringLiteral("(K + 0,51) - [ (C-1) * (K / 39) ]"));
    w->Button1Click();
    EXPECT_EQ(w->E_Coef_K->text(), QStringLiteral("52,34375"));

    w->E_Coef_K->setText(QStringLiteral("0"));
    EXPECT_FALSE(w->Bt_Memorisation->isEnabled());

    QStringList douze;
    int total = 0;
    for (int i = 1; i <= 12; ++i) {
        douze.append(QStringLiteral("%1;%2;").arg(i).arg(30 - i));
        total += 30 - i;
    }
    ecrireSaison(QStringLiteral("Repart_douze.PPE"), douze);
    for (int fois = 0; fois < 2; ++fois) {
        dialogs().files.push_back(saison(QStringLiteral("Repart_douze.PPE")));
        w->Bt_PPClick();
    }
    ASSERT_EQ(preview->calls.size(), 2u);
    EXPECT_EQ(w->composants.frUserDataset1->RangeEndCount, 3);
    EXPECT_EQ(w->composants.frReport1->Title, QStringLiteral("Balance de vérification"));
    const QString dump = w->composants.frReport1->EMFPages().Dump();
    EXPECT_TRUE(dump.contains(QStringLiteral("Total des points : %1").arg(total)));
    expectChallengeGolden(QStringLiteral("Repartition_theorique_PP.txt"), dump.toUtf8());
}

TEST_F(RepartFenetre, SettingsThatCannotEndAreRefused)
{
    const struct {
        int type;
        const char *points, *x, *y;
    } cas[] = {{1, "1068", "40", "0"}, {1, "0", "40", "30"}, {0, "1068", "1", "30"}};
    for (const auto &c : cas) {
        w->Rg_Type->setItemIndex(c.type);
        w->Rg_Formule->setItemIndex(0);
        w->E_Points->setText(QString::fromLatin1(c.points));
        w->E_LigX->setText(QString::fromLatin1(c.x));
        w->E_LigY->setText(QString::fromLatin1(c.y));
        w->E_Coef_K->setText(QStringLiteral("0.000000"));
        dialogs().messages.clear();
        w->Button1Click();
        ASSERT_EQ(dialogs().texts(),
                  QStringList{QStringLiteral("Paramètres de répartition incorrects")});
        EXPECT_EQ(w->E_Coef_K->text(), QStringLiteral("0.000000"));
    }
    w->E_LigY->setText(QStringLiteral("x"));
    EXPECT_THROW(w->Button1Click(), platform::EConvertError);
}

TEST_F(RepartFenetre, HugeTotalsGiveAnAnswerOrAMessage)
{
    for (const char *total : {"999999999", "2147483647"}) {
        // The first place at most 30: no table holds that many points.
        w->Rg_Type->setItemIndex(1);
        w->E_LigY->setText(QStringLiteral("30"));
        w->E_Points->setText(QString::fromLatin1(total));
        w->E_Coef_K->setText(QStringLiteral("0.000000"));
        dialogs().messages.clear();
        w->Button1->click();
        ASSERT_EQ(dialogs().messages.size(), 1u) << total;
        EXPECT_TRUE(dialogs().messages[0].text.startsWith(
            QStringLiteral("Nombre de points à répartir trop grand : ") +
            QString::fromLatin1(total)))
            << dialogs().messages[0].text.toStdString();
        EXPECT_EQ(w->E_Coef_K->text(), QStringLiteral("0.000000"));
        EXPECT_FALSE(w->Bt_Memorisation->isEnabled());

        // Forty players to endow: K is found.
        w->Rg_Type->setItemIndex(0);
        w->Rg_Formule->setItemIndex(1);
        w->E_LigX->setText(QStringLiteral("40"));
        dialogs().messages.clear();
        w->Button1->click();
        EXPECT_TRUE(dialogs().messages.empty()) << total;
        const ParametresRepartition p{0, 1, QString::fromLatin1(total).toLongLong(), 40, 30};
        const qint64 s = SommePoints(p, LireK(w->E_Coef_K->text()));
        EXPECT_LE(s, p.total);
        EXPECT_GE(s, p.total - 40) << w->E_Coef_K->text().toStdString();
    }
}

// --- the attribution

class AttribFenetre : public ChallengeTest
{
protected:
    void SetUp() override
    {
        ChallengeTest::SetUp();
        ecrireSaison(
            QStringLiteral("Classement_general.PPE"),
            {QStringLiteral("1;Anne NOMA;0123456;40;"), QStringLiteral("2;Bob NOMB;0200000;38;"),
             QStringLiteral("2;Cleo NOMC;0300000;35;"), QStringLiteral("4;Dan NOMD;0400000;30;")});
        ecrireSaison(QStringLiteral("Repart_test.PPE"),
                     {QStringLiteral("1;30;"), QStringLiteral("2;25;"), QStringLiteral("3;20;"),
                      QStringLiteral("4;15;")});
        w = std::make_unique<TVornF_Attrib>();
        w->activated();
    }
    void charger(const QString &classement, const QString &repartition)
    {
        dialogs().files.push_back(saison(classement));
        w->BtChargeClass->click();
        if (!w->BtChargeRepart->isEnabled())
            return;
        dialogs().files.push_back(saison(repartition));
        w->BtChargeRepart->click();
    }
    std::unique_ptr<TVornF_Attrib> w;
};

TEST_F(AttribFenetre, AttributePrintAndExport)
{
    EXPECT_FALSE(w->BtChargeRepart->isEnabled());
    charger(QStringLiteral("Classement_general.PPE"), QStringLiteral("Repart_test.PPE"));
    EXPECT_TRUE(w->BtEdition->isEnabled());
    EXPECT_EQ(w->attribuees().size(), 4);
    w->BtEdition->click();
    ASSERT_EQ(preview->calls.size(), 1u);
    report::FrVariant nb;
    w->frReport1GetValue(QStringLiteral("NbPts"), nb);
    EXPECT_EQ(nb.type(), report::FrVariant::Integer);
    EXPECT_EQ(nb.toInt(), 90);
    expectChallengeGolden(QStringLiteral("Attibution_PPE.txt"),
                          w->composants.frReport1->EMFPages().Dump().toUtf8());

    w->Rg_TypePts->setItemIndex(1);
    dialogs().files.push_back(saison(QStringLiteral("Fichier_P.csv")));
    w->BtExport->click();
    EXPECT_EQ(dialogs().saveRequests.back().fileName, QStringLiteral("Fichier_P.csv"));
    expectChallengeGolden(QStringLiteral("Fichier_P_PP.csv"),
                          lireSaison(QStringLiteral("Fichier_P.csv")));
}

TEST_F(AttribFenetre, WrongFilesDisableTheCommands)
{
    charger(QStringLiteral("Repart_test.PPE"), QStringLiteral("Repart_test.PPE"));
    EXPECT_FALSE(w->BtChargeRepart->isEnabled());
    EXPECT_FALSE(w->BtEdition->isEnabled());
    EXPECT_FALSE(w->BtExport->isEnabled());
    ecrireSaison(QStringLiteral("une.PPE"), {QStringLiteral("1;30;")});
    charger(QStringLiteral("Classement_general.PPE"), QStringLiteral("une.PPE"));
    EXPECT_FALSE(w->BtEdition->isEnabled());
    ecrireSaison(QStringLiteral("x.PPE"), {QStringLiteral("1;x;"), QStringLiteral("2;3;")});
    charger(QStringLiteral("Classement_general.PPE"), QStringLiteral("x.PPE"));
    EXPECT_EQ(dialogs().messages.size(), 1u);
    EXPECT_TRUE(w->attribuees().isEmpty());
    // With nothing attributed, the export asks nothing and writes nothing.
    const size_t demandes = dialogs().saveRequests.size();
    w->BtExportClick();
    EXPECT_EQ(dialogs().saveRequests.size(), demandes);
}

// A refused distribution never leaves the name of one file with the
// attribution of another: a points field that is no whole number keeps the
// previous file, its attribution and its commands; a file of one line
// empties the window and disables printing and export.
TEST_F(AttribFenetre, RefusedDistributionLeavesNoMixedWindow)
{
    charger(QStringLiteral("Classement_general.PPE"), QStringLiteral("Repart_test.PPE"));
    const QString bonne = saison(QStringLiteral("Repart_test.PPE"));
    ASSERT_EQ(w->EfChargeRepart->text(), bonne);
    const QStringList attribuees = w->attribuees();
    ASSERT_EQ(attribuees.size(), 4);

    ecrireSaison(QStringLiteral("trente.PPE"),
                 {QStringLiteral("1;trente;"), QStringLiteral("2;25;")});
    dialogs().files.push_back(saison(QStringLiteral("trente.PPE")));
    w->BtChargeRepart->click();
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_TRUE(dialogs().messages[0].text.startsWith(QStringLiteral("'trente'")));
    EXPECT_EQ(w->EfChargeRepart->text(), bonne);
    EXPECT_EQ(w->attribuees(), attribuees);
    EXPECT_TRUE(w->BtEdition->isEnabled());
    EXPECT_TRUE(w->BtExport->isEnabled());
    dialogs().files.push_back(saison(QStringLiteral("Fichier_P.csv")));
    w->BtExport->click();
    // The export is the attribution of the name shown.
    expectChallengeGolden(QStringLiteral("Fichier_P_PE.csv"),
                          lireSaison(QStringLiteral("Fichier_P.csv")));

    ecrireSaison(QStringLiteral("une.PPE"), {QStringLiteral("1;trente;")});
    dialogs().files.push_back(saison(QStringLiteral("une.PPE")));
    w->BtChargeRepart->click();
    EXPECT_TRUE(w->EfChargeRepart->text().isEmpty());
    EXPECT_TRUE(w->attribuees().isEmpty());
    EXPECT_FALSE(w->BtEdition->isEnabled());
    EXPECT_FALSE(w->BtExport->isEnabled());
    const size_t demandes = dialogs().saveRequests.size();
    w->BtExportClick();
    EXPECT_EQ(dialogs().saveRequests.size(), demandes);
}

// A picture picked in place of the file asked for is refused with its name,
// before the window takes it: no empty grid, no conversion error about
// nothing the user can see, no ranking silently without it.
TEST_F(AttribFenetre, FileOfAnotherKindIsRefusedNamingIt)
{
    const QByteArray image = QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10;1;", 23);
    charger(QStringLiteral("Classement_general.PPE"), QStringLiteral("Repart_test.PPE"));
    TVornF_Resultat_Paires paires;
    paires.activated();
    TVornF_repart repart;
    repart.activated();
    TVorn_FChallenge challenge;
    const struct {
        const char *fichier, *genre;
        std::function<void()> choisir;
    } cas[] = {
        {"image.chr", "un fichier de résultats", [&] { paires.Bt_Ouvrie_Resultat->click(); }},
        {"image.chi", "un extrait de classement", [&] { paires.Bt_Ouvrir_Groupe->click(); }},
        {"image.PPE", "un fichier de classement", [&] { w->BtChargeClass->click(); }},
        {"image.PPE", "un fichier de répartition", [&] { w->BtChargeRepart->click(); }},
        {"image.PPE", "un fichier de répartition", [&] { repart.Bt_PP->click(); }},
        {"Demi.chr", "un fichier de résultats", [&] { challenge.activated(); }},
    };
    ecrireSaison(QStringLiteral("Challenge.DBP"),
                 {QStringLiteral("6;20/03/2025;Demi;P;2;50;Demi.chr;")});
    for (const auto &c : cas) {
        const QString fichier = saison(QString::fromLatin1(c.fichier));
        writeBytes(SaisonEnCours + QLatin1Char('/') + QString::fromLatin1(c.fichier), image);
        dialogs().messages.clear();
        dialogs().files.push_back(fichier);
        c.choisir();
        EXPECT_EQ(dialogs().texts(),
                  QStringList{QStringLiteral("Ce fichier n'est pas ") + QString::fromUtf8(c.genre) +
                              QStringLiteral(" : ") + fichier + QStringLiteral(" (ligne 3)")})
            << c.fichier;
        dialogs().files.clear();
    }
    EXPECT_FALSE(paires.Bt_Calcul_Groupe->isEnabled());
    EXPECT_EQ(w->EdChargeClass->text(), saison(QStringLiteral("Classement_general.PPE")));
    EXPECT_EQ(w->attribuees().size(), 4);
    EXPECT_TRUE(preview->calls.empty());
    EXPECT_TRUE(challenge.StringGrid1->isHidden());
}

// Every reader's refusal names the file, the line where there is one, and
// why: a file of another kind (a saved web page for the extract), a damaged
// line, a pipe or a folder bearing the name. The window keeps what it had.
TEST_F(AttribFenetre, EveryRefusalNamesTheFileTheLineAndWhy)
{
    charger(QStringLiteral("Classement_general.PPE"), QStringLiteral("Repart_test.PPE"));
    TVornF_Resultat_Paires paires;
    paires.activated();
    TVorn_FChallenge challenge;
    const QString entier = QStringLiteral("'%1' n'est pas une valeur entière correcte (fichier "
                                          "%2, ligne %3)");
    // The file's name put in last, in place of %1.
    const QString ouvrir = QStringLiteral("Impossible d'ouvrir le fichier %1 : %2.");
    const QString tube = ouvrir.arg("%1", "c'est un tube, pas un fichier");
    const QString dossier = ouvrir.arg("%1", "c'est un dossier");
    const QString ligne2x8 = entier.arg("1x8", "%1", "2"), ligne2x5 = entier.arg("2x5", "%1", "2");
    const QString page = QStringLiteral(VORN_TEST_DATA "/pages/Open1.htm");
    const auto extrait = [&] { paires.Bt_Ouvrir_Groupe->click(); };
    const auto resultats = [&] { paires.Bt_Ouvrie_Resultat->click(); };
    const auto repartition = [&] { w->BtChargeRepart->click(); };
    const auto classement = [&] { challenge.activated(); };
    ecrireSaison(QStringLiteral("Challenge.DBP"),
                 {QStringLiteral("6;20/03/2025;Demi;P;2;50;Demi.chr;")});
    const QStringList abime = {QStringLiteral("1;A A;B B;0100001;30;0100002;28;1000;"),
                               QStringLiteral("2;C C;D D;0100003;40;;;1x8;")};
    const QStringList unTube, unDossier = {"<dossier>"}, abimePPE = {"1;30;", "2;2x5;"};
    const struct {
        const char *fichier;
        QStringList lignes; // a pipe when empty, a folder when "<dossier>"
        std::function<void()> choisir;
        QString message;
    } cas[] = {
        {"Open1.chi", platform::LineFile::read(page), extrait,
         QStringLiteral("Ce fichier n'est pas un extrait de classement : %1 (ligne 2)")},
        {"tube.chi", unTube, extrait, tube},
        {"dossier.chi", unDossier, extrait, dossier},
        {"abime.chr", abime, resultats, ligne2x8},
        {"tube.chr", unTube, resultats, tube},
        {"abime.PPE", abimePPE, repartition, ligne2x5},
        {"tube.PPE", unTube, repartition, tube},
        {"Demi.chr", abime, classement, ligne2x8},
    };
    for (const auto &c : cas) {
        const QString fichier = saison(QString::fromLatin1(c.fichier));
        QFile::remove(fichier);
        if (c.lignes.isEmpty()) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(fichier).constData(), 0600), 0);
        } else if (c.lignes.value(0) == QLatin1String("<dossier>"))
            ASSERT_TRUE(QDir().mkdir(fichier));
        else
            ecrireSaison(QString::fromLatin1(c.fichier), c.lignes);
        dialogs().messages.clear();
        dialogs().files.push_back(fichier);
        c.choisir();
        EXPECT_EQ(dialogs().texts().join('|').toStdString(), c.message.arg(fichier).toStdString())
            << c.fichier;
        dialogs().files.clear();
    }
    EXPECT_FALSE(paires.Bt_Calcul_Groupe->isEnabled());
    EXPECT_TRUE(paires.resultats().isEmpty());
    EXPECT_EQ(w->EfChargeRepart->text(), saison(QStringLiteral("Repart_test.PPE")));
    EXPECT_EQ(w->attribuees().size(), 4);
}

// The EASI file and the distribution table are saved over an existing file
// only when the user says so.
TEST_F(AttribFenetre, ExportAsksBeforeReplacingAFile)
{
    charger(QStringLiteral("Classement_general.PPE"), QStringLiteral("Repart_test.PPE"));
    ecrireSaison(QStringLiteral("Fichier_P.csv"), {QStringLiteral("autre;")});
    dialogs().files.push_back(saison(QStringLiteral("Fichier_P.csv")));
    dialogs().answers.push_back(platform::mrNo);
    w->BtExport->click();
    EXPECT_EQ(dialogs().texts(), QStringList{ecraser("Fichier_P.csv")});
    EXPECT_EQ(lireSaison(QStringLiteral("Fichier_P.csv")), QByteArray("autre;\r\n"));
    dialogs().files.push_back(saison(QStringLiteral("Fichier_P.csv")));
    dialogs().answers.push_back(platform::mrYes);
    w->BtExport->click();
    EXPECT_TRUE(lireSaison(QStringLiteral("Fichier_P.csv")).startsWith("0123456;30;;\r\n"));
}

TEST_F(RepartFenetre, SavingTheTableAsksBeforeReplacingAFile)
{
    w->Button1Click();
    ecrireSaison(QStringLiteral("Repart_1068.PPE"), {QStringLiteral("1;1;")});
    dialogs().files.push_back(saison(QStringLiteral("Repart_1068.PPE")));
    w->Bt_MemorisationClick();
    ASSERT_EQ(dialogs().texts(), QStringList{ecraser("Repart_1068.PPE")});
    EXPECT_EQ(lireSaison(QStringLiteral("Repart_1068.PPE")), QByteArray("1;1;\r\n"));
}

} // namespace
} // namespace vorn_test
