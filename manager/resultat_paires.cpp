#include "manager/resultat_paires.h"

#include "manager/core/classement.h"
#include "manager/core/fichejoueur.h"
#include "manager/core/genrefichier.h"
#include "manager/core/lecturesaison.h"
#include "manager/core/ligneresultat.h"
#include "manager/core/paires.h"
#include "manager/core/vorn_dec.h"
#include "manager/fenetres.h"
#include "platform/browser/browser.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/controls.h"
#include "platform/text/convert.h"
#include "platform/text/linefile.h"
#include "report/data/frdataset.h"
#include "report/objects/frreport.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace platform;

namespace
{

const QString PrefixeResultat =
    QStringLiteral("Gestion des résultats d'une épreuve du Challenge : ");
const QString TitreFenetre =
    QStringLiteral("Gestion des résultats d'une épreuve par paires du Challenge :");

// Hundredths as points; a text that is no whole number is shown as it is.
QString points(const QString &centiemes)
{
    qint64 v = 0;
    return TryStrToInt64(centiemes, v) ? manager::FormatPoints(v) : centiemes;
}

} // namespace

TVornF_Resultat_Paires::TVornF_Resultat_Paires(QWidget *parent)
    : platform::TForm(QStringLiteral("VornF_Resultat_Paires"), parent)
{
    setCaption(TitreFenetre);
    resize(960, 640);

    GroupBox1 = new QGroupBox(
        QStringLiteral("Extraction résultat de tournois sur Internet par sauvegarde dans l'espace "
                       "licencié"),
        this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Bt_Internet =
        platform::newButton(GroupBox1, "Bt_Internet",
                            QStringLiteral("Récupération du fichier Open/2 de l'espace licencier"));
    Bt_Ouvrir_Groupe = platform::newButton(GroupBox1, "Bt_Ouvrir_Groupe", QStringLiteral("Ouvrir"));
    Bt_Load_Groupe =
        platform::newButton(GroupBox1, "Bt_Load_Groupe", QStringLiteral("Enregistrer"));
    Bt_Calcul_Groupe =
        platform::newButton(GroupBox1, "Bt_Calcul_Groupe", QStringLiteral("Calculer"));
    LabelK = new QLabel(QStringLiteral("K="), GroupBox1);
    LabelK->setObjectName(QStringLiteral("LabelK"));
    CoefK = new QLineEdit(QStringLiteral("100000"), GroupBox1);
    // A setting of the calculation; its results are the work held.
    champDeReglage(CoefK);
    CoefK->setObjectName(QStringLiteral("CoefK"));
    CoefK->setFixedWidth(80);
    auto *g1 = new QHBoxLayout(GroupBox1);
    for (QWidget *w :
         {static_cast<QWidget *>(Bt_Internet), static_cast<QWidget *>(Bt_Ouvrir_Groupe),
          static_cast<QWidget *>(Bt_Load_Groupe), static_cast<QWidget *>(Bt_Calcul_Groupe),
          static_cast<QWidget *>(LabelK), static_cast<QWidget *>(CoefK)})
        g1->addWidget(w);
    g1->addStretch(1);

    GroupBox2 = new QGroupBox(QStringLiteral("Fichiers des résultats calculés "), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Bt_load_resultat =
        platform::newButton(GroupBox2, "Bt_load_resultat", QStringLiteral("Enregistrer"));
    Bt_Ouvrie_Resultat =
        platform::newButton(GroupBox2, "Bt_Ouvrie_Resultat", QStringLiteral("Ouvrir"));
    Impression = platform::newButton(GroupBox2, "Impression", QStringLiteral("Edition"));
    auto *g2 = new QHBoxLayout(GroupBox2);
    g2->addWidget(Bt_load_resultat);
    g2->addWidget(Bt_Ouvrie_Resultat);
    g2->addWidget(Impression);
    g2->addStretch(1);

    BtQuitter = platform::newButton(this, "BtQuitter", QStringLiteral("Quitter"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(new QWidget(PageControl1), QStringLiteral("**"));
    auto *ongletInternet = new QWidget(PageControl1);
    WebBrowser1 = new platform::TWebBrowser(QStringLiteral("WebBrowser1"), ongletInternet);
    auto *li = new QVBoxLayout(ongletInternet);
    li->setContentsMargins(0, 0, 0, 0);
    li->addWidget(WebBrowser1);
    PageControl1->addTab(ongletInternet, QStringLiteral("Extraction du résultat d'Internet"));
    auto *ongletCalcul = new QWidget(PageControl1);
    Grille = new QTableWidget(1, 6, ongletCalcul);
    Grille->setObjectName(QStringLiteral("Grille"));
    Grille->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grille->horizontalHeader()->hide();
    Grille->verticalHeader()->hide();
    Grille->verticalHeader()->setDefaultSectionSize(22);
    Grille->setColumnWidth(0, 50);
    Grille->setColumnWidth(1, 220);
    Grille->setColumnWidth(2, 220);
    Grille->setColumnWidth(3, 90);
    Grille->setColumnWidth(4, 90);
    Grille->horizontalHeader()->setStretchLastSection(true);
    auto *lc = new QVBoxLayout(ongletCalcul);
    lc->setContentsMargins(0, 0, 0, 0);
    lc->addWidget(Grille);
    PageControl1->addTab(ongletCalcul,
                         QStringLiteral("Calcul des Points Challenges pour cette épreuve"));

    auto *haut = new QHBoxLayout;
    haut->addWidget(GroupBox1, 3);
    haut->addWidget(GroupBox2, 2);
    auto *bas = new QHBoxLayout;
    bas->addStretch(1);
    bas->addWidget(BtQuitter);
    auto *main = new QVBoxLayout(this);
    main->addLayout(haut);
    main->addWidget(PageControl1, 1);
    main->addLayout(bas);

    composants = manager::creerImpression(
        this,
        report::pbZoom | report::pbPrint | report::pbFind | report::pbExit | report::pbPageSetup,
        [this](const QString &n, report::FrVariant &v) { frReport1GetValue(n, v); });

    using T = TVornF_Resultat_Paires;
    connect(Bt_Internet, &QPushButton::clicked, this, handler(this, &T::Bt_InternetClick));
    connect(Bt_Ouvrir_Groupe, &QPushButton::clicked, this,
            handler(this, &T::Bt_Ouvrir_GroupeClick));
    connect(Bt_Calcul_Groupe, &QPushButton::clicked, this,
            handler(this, &T::Bt_Calcul_GroupeClick));
    connect(Bt_load_resultat, &QPushButton::clicked, this,
            handler(this, &T::Bt_load_resultatClick));
    connect(Bt_Ouvrie_Resultat, &QPushButton::clicked, this,
            handler(this, &T::Bt_Ouvrie_ResultatClick));
    connect(Impression, &QPushButton::clicked, this, handler(this, &T::ImpressionClick));
    connect(BtQuitter, &QPushButton::clicked, this, handler(this, &T::BtQuitterClick));
    titresGrille();
}

QString TVornF_Resultat_Paires::dossierSaison() const
{
    return RepAppli + SaisonEnCours;
}

void TVornF_Resultat_Paires::titresGrille()
{
    const char *titres[] = {"Class.", "Equipe1", "Equipe2", "Numéro1", "Numéro2", "P.C."};
    for (int c = 0; c < 6; ++c)
        platform::setCellText(Grille, 0, c, QString::fromUtf8(titres[c]));
}

void TVornF_Resultat_Paires::FormActivate()
{
    // Back from another window, the window is as the user left it: a result
    // file reopened can still be saved, K and the tab shown stay. Only a
    // season changed meanwhile starts it again at the page.
    if (m_saisonMontree && *m_saisonMontree == SaisonEnCours)
        return;
    m_saisonMontree = SaisonEnCours;
    PageControl1->setCurrentIndex(1);
    CoefK->setText(QStringLiteral("100000"));
    const bool extrait = !m_extrait.isEmpty();
    Bt_Load_Groupe->setEnabled(extrait);
    Bt_Calcul_Groupe->setEnabled(extrait);
    const bool enregistrable = extrait && m_resultatsAJour && !m_resultats.isEmpty();
    Bt_load_resultat->setEnabled(enregistrable);
    if (!enregistrable) {
        // Results read from a file of the other season are no longer saved
        // from here: the caption stops naming that file.
        m_resultatsAJour = false;
        oublierFichierResultat();
    }
    titresGrille();
}

std::optional<platform::TravailEnAttente> TVornF_Resultat_Paires::travailEnAttente()
{
    // Calculated and saved to no file: another extract or result file
    // would leave them unsaved for good.
    if (!m_resultatsAJour || m_resultats.isEmpty() || !m_fichierResultat.isEmpty())
        return std::nullopt;
    platform::TravailEnAttente travail;
    travail.question = QStringLiteral("Les résultats calculés ne sont pas enregistrés "
                                      "(Enregistrer).\nVoulez-vous les abandonner ?");
    travail.abandon = [this] {
        m_resultatsAJour = false;
        Bt_load_resultat->setEnabled(false);
    };
    // Kept with their season's extract, and saved there.
    travail.gardeeAuChangementDeSaison = true;
    return travail;
}

bool TVornF_Resultat_Paires::abandonnerResultats()
{
    // The command that asks replaces them itself once it goes ahead.
    std::optional<platform::TravailEnAttente> travail = travailEnAttente();
    if (!travail)
        return true;
    travail->abandon = nullptr;
    return demanderTravail(*travail);
}

void TVornF_Resultat_Paires::Bt_InternetClick()
{
    if (!abandonnerResultats())
        return;
    // Nothing the window shows changes before the new extract is saved: a
    // page refused, or a dialog cancelled, leaves the extract, the results
    // and the buttons as they were.
    TOpenDialog page(this);
    page.Title = QStringLiteral("Récupération page Internet Classement");
    page.DefaultExt = QStringLiteral("htm");
    page.Filter = QStringLiteral("au groupe (*.htm)|*.htm");
    page.InitialDir = dossierSaison();
    page.FileName.clear();
    if (!page.Execute())
        return;
    const QStringList lignes = LineFile::read(page.FileName);
    if (!manager::PagePaires(lignes)) {
        // Another page of the site is passed over as before; a file that is
        // no web page at all was surely picked by mistake: say so.
        if (!manager::PageHtml(lignes))
            MessageDlg(
                manager::TexteAutreGenre(QStringLiteral("une page de classement"), page.FileName),
                mtWarning, mbOK);
        return;
    }
    // A page saved before it was whole is refused here, before any extract
    // is kept or saved.
    QList<qsizetype> origines;
    const QStringList extrait = manager::ExtrairePaires(lignes, &origines);
    manager::LirePaires(extrait, page.FileName, &origines);

    verifierSaisonOuverte();
    TSaveDialog sauve(this);
    sauve.Title = QStringLiteral("Sauvegarde classement internet ");
    sauve.DefaultExt = QStringLiteral("Chi");
    sauve.Filter = QStringLiteral("au groupe (*.chi)|*.chi");
    sauve.InitialDir = dossierSaison();
    // A new extract: the one open until now is replaced only when the user
    // says so, as any other file.
    sauve.OverwritePrompt = true;
    sauve.FileName.clear();
    if (!sauve.Execute())
        return;
    LineFile::write(sauve.FileName, extrait);
    m_extrait = extrait;
    m_saisonExtrait.lire();
    m_fichierExtrait = sauve.FileName;
    // Results calculated until now belong to another extract.
    m_resultatsAJour = false;
    Bt_load_resultat->setEnabled(false);
    oublierFichierResultat();
    Bt_Load_Groupe->setEnabled(true);
    Bt_Calcul_Groupe->setEnabled(true);
    PageControl1->setCurrentIndex(1);
    WebBrowser1->setVisible(true);
    WebBrowser1->Navigate(sauve.FileName);
}

void TVornF_Resultat_Paires::Bt_Ouvrir_GroupeClick()
{
    if (!abandonnerResultats())
        return;
    TOpenDialog d(this);
    d.Title = QStringLiteral("Restauration page Internet Classement");
    d.DefaultExt = QStringLiteral("chi");
    d.Filter = QStringLiteral("au groupe (*.chi)|*.chi");
    d.InitialDir = dossierSaison();
    d.FileName.clear();
    if (!d.Execute())
        return;
    const QString genre = QStringLiteral("un extrait de classement");
    const QStringList extrait = manager::LireFichierSaison(d.FileName, genre);
    // A page saved under the extract's name (or any other text) would give
    // no pair, and "Calculer" an empty grid without a word.
    if (const qsizetype hors = manager::LigneHorsExtrait(extrait); hors >= 0)
        throw manager::EAutreGenre(genre, d.FileName, hors);
    // Its pairs read whole before the window takes it: a cut or damaged
    // extract is refused here, the extract and results shown stay.
    manager::LirePaires(extrait, d.FileName);
    m_extrait = extrait;
    m_saisonExtrait.lire();
    m_fichierExtrait = d.FileName;
    // Nothing is calculated for this extract yet: saving the results now
    // would write those of another extract, or an empty file.
    m_resultatsAJour = false;
    oublierFichierResultat();
    Bt_Load_Groupe->setEnabled(true);
    Bt_Calcul_Groupe->setEnabled(true);
    Bt_load_resultat->setEnabled(false);
    Impression->setEnabled(true);
    PageControl1->setCurrentIndex(1);
    WebBrowser1->Navigate(d.FileName);
}

void TVornF_Resultat_Paires::remplirGrille()
{
    Grille->clearContents();
    Grille->setRowCount(int(m_resultats.size()) + 1);
    titresGrille();
    const int champs[] = {0, 1, 2, 3, 5, 7};
    for (int r = 0; r < m_resultats.size(); ++r)
        for (int c = 0; c < 6; ++c)
            platform::setCellText(Grille, r + 1, c, Champ(m_resultats[r], champs[c]));
}

void TVornF_Resultat_Paires::Bt_Calcul_GroupeClick()
{
    // Everything is computed before anything is shown: a conversion error
    // leaves the list, the grid and the buttons as they were.
    const QStringList paires = manager::LirePaires(m_extrait, m_fichierExtrait);
    if (paires.isEmpty()) {
        MessageDlg(QStringLiteral("Aucune paire dans l'extrait de classement %1 : rien n'est "
                                  "calculé.")
                       .arg(m_fichierExtrait),
                   mtWarning, mbOK);
        return;
    }
    const PorteeSaison saison(m_saisonExtrait);
    const QString fichierJoueurs = fichierSaison(QStringLiteral("Joueur.DBP"));
    const QList<manager::FicheJoueur> joueurs = manager::lireFichierJoueurs(fichierJoueurs);
    const QStringList lignes =
        manager::CalculPointsPaires(paires, joueurs, CoefK->text(), fichierJoueurs);
    const qint64 total = manager::TotalPoints(lignes);
    m_resultats = lignes;
    m_saisonResultats = m_saisonExtrait.nom();
    Total_Pc = total;
    m_resultatsAJour = true;
    oublierFichierResultat();
    remplirGrille();
    Bt_load_resultat->setEnabled(!m_resultats.isEmpty());
    PageControl1->setCurrentIndex(2);
}

void TVornF_Resultat_Paires::oublierFichierResultat()
{
    // The results shown are no longer those of the file: saving them over
    // it asks, and neither the caption nor the printout names it.
    m_fichierResultat.clear();
    m_resultatLu.oublier();
    setCaption(TitreFenetre);
}

void TVornF_Resultat_Paires::Bt_load_resultatClick()
{
    // An empty list would empty the result file chosen, and the tournament
    // linked to it would lose its points at the next ranking.
    if (!m_resultatsAJour || m_resultats.isEmpty()) {
        MessageDlg(QStringLiteral("Aucun résultat calculé pour ce classement : les points "
                                  "doivent être calculés (Calculer) avant d'être enregistrés."),
                   mtWarning, mbOK);
        return;
    }
    verifierSaisonOuverte();
    TSaveDialog d(this);
    d.Title = QStringLiteral("Sauvegarde résultat d'un tournoi ");
    d.DefaultExt = QStringLiteral("Chr");
    d.Filter = QStringLiteral("au groupe (*.chr)|*.chr");
    d.InitialDir = RepAppli + m_saisonResultats;
    d.OverwritePrompt = true;
    d.CurrentFile = m_fichierResultat;
    d.FileName.clear();
    if (!d.Execute())
        return;
    try {
        m_resultatLu.verifier(d.FileName);
    } catch (const EFichierChange &refus) {
        // Read again as the season they belong to, whatever season is open.
        const QString saison = m_saisonResultats;
        lireResultats(m_resultatLu.chemin());
        m_saisonResultats = saison;
        direFichierRelu(refus, QStringLiteral("Les résultats affichés sont relus depuis le "
                                              "fichier."));
        return;
    }
    LineFile::write(d.FileName, m_resultats);
    m_resultatLu.noter(d.FileName);
    m_fichierResultat = d.FileName;
    Total_Pc = manager::TotalPoints(m_resultats);
    setCaption(PrefixeResultat + QFileInfo(d.FileName).fileName());
}

void TVornF_Resultat_Paires::Bt_Ouvrie_ResultatClick()
{
    if (!abandonnerResultats())
        return;
    TOpenDialog d(this);
    d.Title = QStringLiteral("Restauration résultat d'un tournoi");
    d.DefaultExt = QStringLiteral("chr");
    d.Filter = QStringLiteral("au groupe (*.chr)|*.chr");
    d.InitialDir = dossierSaison();
    d.FileName.clear();
    if (!d.Execute())
        return;
    lireResultats(d.FileName);
}

void TVornF_Resultat_Paires::lireResultats(const QString &fichier)
{
    FichierLu lu;
    lu.noter(fichier);
    // Read whole as the ranking reads it; an empty file only empties the grid.
    const QStringList lignes = LireResultats(fichier);
    const qint64 total = manager::TotalPoints(lignes, fichier);
    m_resultats = lignes;
    m_saisonResultats = SaisonEnCours;
    Total_Pc = total;
    m_resultatsAJour = true;
    m_fichierResultat = fichier;
    m_resultatLu = lu;
    setCaption(PrefixeResultat + QFileInfo(fichier).fileName());
    remplirGrille();
    Bt_load_resultat->setEnabled(!m_resultats.isEmpty());
    PageControl1->setCurrentIndex(2);
}

void TVornF_Resultat_Paires::ImpressionClick()
{
    for (QStringList *l : {&m_places, &m_noms1, &m_noms2, &m_licences1, &m_licences2, &m_points})
        l->clear();
    for (const QString &l : m_resultats) {
        m_places.append(Champ(l, 0));
        m_noms1.append(Champ(l, 1));
        m_noms2.append(Champ(l, 2));
        m_licences1.append(Champ(l, 3));
        m_licences2.append(Champ(l, 5));
        m_points.append(Champ(l, 7));
    }
    manager::imprimerModele(composants, int(m_resultats.size()),
                            QStringLiteral("Homologation_paires.frf"));
}

void TVornF_Resultat_Paires::frReport1GetValue(const QString &parName, report::FrVariant &parValue)
{
    const int r = composants.frUserDataset1->RecNo;
    auto liste = [r](const QStringList &l) { return l.value(r); };
    if (parName == u"Saison1")
        parValue = m_resultats.isEmpty() ? SaisonEnCours : m_saisonResultats;
    else if (parName == u"Epreuve1")
        parValue = Caption().mid(50, 40);
    else if (parName == u"Classement1")
        parValue = liste(m_places);
    else if (parName == u"Nom1")
        parValue = liste(m_noms1);
    else if (parName == u"Nom2")
        parValue = liste(m_noms2);
    else if (parName == u"Licence1")
        parValue = liste(m_licences1);
    else if (parName == u"Licence2")
        parValue = liste(m_licences2);
    else if (parName == u"Pc1")
        parValue = points(liste(m_points));
    else if (parName == u"Total_Pc")
        parValue = manager::FormatPoints(Total_Pc);
}
