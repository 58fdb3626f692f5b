#include "manager/quatre_webweb.h"
#include "manager/core/entete_convocation.h"
#include "manager/core/fichejoueur.h"
#include "manager/core/genrefichier.h"
#include "manager/core/lecturesaison.h"
#include "manager/core/liste_joueurs.h"
#include "manager/core/vorn_dec.h"
#include "manager/fenetres.h"
#include "manager/panneau_liste.h"
#include "platform/browser/browser.h"
#include "platform/clock/clock.h"
#include "platform/dialogs/dialogs.h"
#include "platform/format/format.h"
#include "platform/forms/application.h"
#include "platform/shell/shell.h"
#include "platform/text/linefile.h"
#include "report/data/frdataset.h"
#include "report/objects/frreport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace manager::inscrits;

namespace
{

QComboBox *combo(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->setGeometry(geometry);
    return c;
}

// The header rows of "Présentation": a label, then the field.
constexpr int LargeurLibelle = 150;
constexpr int LargeurChamp = 420;
QRect ligneEntete(int rang)
{
    return {8 + LargeurLibelle, 8 + 30 * rang, LargeurChamp, 26};
}

void libelle(QWidget *parent, const QString &texte, int rang)
{
    auto *l = new QLabel(texte, parent);
    l->setGeometry(8, 8 + 30 * rang, LargeurLibelle - 6, 26);
}

QLineEdit *edit(QWidget *parent, const QString &name, const QString &texte, int rang)
{
    libelle(parent, texte, rang);
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(ligneEntete(rang));
    return e;
}

QPushButton *bouton(QWidget *parent, const QString &name, const QString &texte,
                    const QRect &geometry)
{
    auto *b = new QPushButton(texte, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    return b;
}

const QString TitreGroupe = QStringLiteral("Liste des équipes du groupe");
const QString TitreCompetition = QStringLiteral("Liste des équipes de la compétition");

} // namespace

TVornF_Quatre_Webweb::TVornF_Quatre_Webweb(QWidget *parent)
    : platform::TForm(QStringLiteral("VornF_Quatre_Webweb"), parent)
{
    setCaption(QStringLiteral("Editions des inscriptions par quatre"));
    resize(1000, 640);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto *disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->addWidget(PageControl1);

    TabPresentation = new QWidget;
    TabPresentation->setObjectName(QStringLiteral("TabPresentation"));
    PageControl1->addTab(TabPresentation, QStringLiteral("Présentation"));
    QWidget *const p = TabPresentation;
    Saison1 = edit(p, QStringLiteral("Saison1"), QStringLiteral("Saison : "), 0);
    libelle(p, QStringLiteral("Responsable : "), 1);
    Cb_Responsable = combo(p, QStringLiteral("Cb_Responsable"), ligneEntete(1));
    Publication1 = edit(p, QStringLiteral("Publication1"), QStringLiteral("Publication : "), 2);
    Epreuve1 = edit(p, QStringLiteral("Epreuve1"), QStringLiteral("Epreuve : "), 3);
    Prix1 = edit(p, QStringLiteral("Prix1"), QStringLiteral("Droit d'engagement : "), 4);
    Phase1 = edit(p, QStringLiteral("Phase1"), QStringLiteral("Phase : "), 5);
    Date1 = edit(p, QStringLiteral("Date1"), QStringLiteral("Date : "), 6);
    libelle(p, QStringLiteral("Lieu : "), 7);
    CB_Lieu = combo(p, QStringLiteral("CB_Lieu"), ligneEntete(7));
    Modalites1 = edit(p, QStringLiteral("Modalites1"), QStringLiteral("Modalités : "), 8);
    Horaires1 = edit(p, QStringLiteral("Horaires1"), QStringLiteral("Horaires : "), 9);
    Horaires2 = edit(p, QStringLiteral("Horaires2"), QString(), 10);
    Avertissement1 =
        edit(p, QStringLiteral("Avertissement1"), QStringLiteral("Avertissement : "), 11);
    Avertissement1->setText(QStringLiteral("Vous trouverez, dans  votre espace licencié, la liste "
                                           "et composition des équipes à jour."));
    Avertissement1->setCursorPosition(0);
    libelle(p, QStringLiteral("Arbitre : "), 12);
    Cb_Arbitre = combo(p, QStringLiteral("Cb_Arbitre"), ligneEntete(12));
    libelle(p, QStringLiteral("Pause : "), 13);
    Cb_Divers = combo(p, QStringLiteral("Cb_Divers"), ligneEntete(13));
    Cb_Divers->addItems({QString(), QStringLiteral("Sandwitchs fournis pendant la pause"),
                         QStringLiteral("Club ouvert sans sandwitchs"),
                         QStringLiteral("Pas de pause")});
    Pied1 = edit(p, QStringLiteral("Pied1"), QStringLiteral("Pied de page : "), 14);

    // The right-hand column: entries, printing, e-mail, header file.
    const int x = 8 + LargeurLibelle + LargeurChamp + 16;
    GroupBox1 = new QGroupBox(QStringLiteral("Liste des inscrits"), p);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(x, 8, 380, 128);
    Bt_Internet = bouton(GroupBox1, QStringLiteral("Bt_Internet"),
                         QStringLiteral("Récupération du fichier htm de l'espace licencié"),
                         {10, 26, 360, 28});
    Bt_Load_Inscrits = bouton(GroupBox1, QStringLiteral("Bt_Load_Inscrits"),
                              QStringLiteral("Enregistrer"), {10, 60, 175, 28});
    Bt_Ouvrir_Groupe = bouton(GroupBox1, QStringLiteral("Bt_Ouvrir_Groupe"),
                              QStringLiteral("Ouvrir"), {195, 60, 175, 28});
    ChBx_Trie = new QCheckBox(QStringLiteral("Des  Licenciés"), GroupBox1);
    ChBx_Trie->setObjectName(QStringLiteral("ChBx_Trie"));
    ChBx_Trie->setGeometry(10, 94, 200, 26);

    Convocation = bouton(p, QStringLiteral("Convocation"), QStringLiteral("Convoc. simple"),
                         {x, 150, 120, 30});
    Bt_Convoc =
        bouton(p, QStringLiteral("Bt_Convoc"), QStringLiteral("Modification"), {x, 184, 120, 26});
    Impression = bouton(p, QStringLiteral("Impression"), QStringLiteral("Convoc. avec liste"),
                        {x + 130, 150, 120, 30});
    Bt_Impress = bouton(p, QStringLiteral("Bt_Impress"), QStringLiteral("Modification"),
                        {x + 130, 184, 120, 26});
    BtCourriel = bouton(p, QStringLiteral("BtCourriel"), QStringLiteral("Courriels ->"),
                        {x + 260, 150, 120, 30});
    auto *parGroupe = new QLabel(QStringLiteral("Par groupe de : "), p);
    parGroupe->setGeometry(x + 260, 214, 120, 22);
    Nbr_Courriel = new QSpinBox(p);
    Nbr_Courriel->setObjectName(QStringLiteral("Nbr_Courriel"));
    Nbr_Courriel->setRange(1, 50);
    Nbr_Courriel->setSingleStep(5);
    Nbr_Courriel->setValue(50);
    Nbr_Courriel->setGeometry(x + 260, 238, 120, 26);
    Cb_BCC = new QCheckBox(QStringLiteral("CopieCaché"), p);
    Cb_BCC->setObjectName(QStringLiteral("Cb_BCC"));
    Cb_BCC->setGeometry(x + 260, 184, 120, 26);
    DateDuJour =
        bouton(p, QStringLiteral("DateDuJour"), QStringLiteral("Date du jour"), {x, 238, 120, 26});
    GroupBoxEntete = new QGroupBox(QStringLiteral("En-tête "), p);
    GroupBoxEntete->setGeometry(x, 280, 250, 64);
    Bt_load_donnes = bouton(GroupBoxEntete, QStringLiteral("Bt_load_donnes"),
                            QStringLiteral("Enregistrer"), {10, 26, 110, 28});
    Bt_Ouvrie_Donnes = bouton(GroupBoxEntete, QStringLiteral("Bt_Ouvrie_Donnes"),
                              QStringLiteral("Ouvrir"), {130, 26, 110, 28});
    BtQuitter =
        bouton(p, QStringLiteral("BtQuitter"), QStringLiteral("Quitter"), {x + 260, 400, 120, 30});
    for (QPushButton *b : {Bt_Load_Inscrits, Impression, BtCourriel})
        b->setEnabled(false);

    TabInternet = new QWidget;
    TabInternet->setObjectName(QStringLiteral("TabInternet"));
    auto *internet = new QVBoxLayout(TabInternet);
    WebBrowser1 = new platform::TWebBrowser(QStringLiteral("WebBrowser1"), TabInternet);
    internet->addWidget(WebBrowser1, 1);
    auto *suppression = new QHBoxLayout;
    Sp_Suppression = new QSpinBox(TabInternet);
    Sp_Suppression->setObjectName(QStringLiteral("Sp_Suppression"));
    Sp_Suppression->setRange(-1, 100);
    Sp_Suppression->setValue(-1);
    Bt_Suppression = new QPushButton(
        QStringLiteral("Suppression d'une ligne sur la page Internet pour Finale de Ligue ou "
                       "Nationale"),
        TabInternet);
    Bt_Suppression->setObjectName(QStringLiteral("Bt_Suppression"));
    Bt_Suppression->setEnabled(false);
    suppression->addWidget(Sp_Suppression);
    suppression->addWidget(Bt_Suppression, 1);
    internet->addLayout(suppression);
    PageControl1->addTab(TabInternet, QStringLiteral("Page Internet de la liste des inscrits"));

    composants = manager::creerImpression(
        this,
        report::pbZoom | report::pbPrint | report::pbFind | report::pbExit | report::pbPageSetup,
        [this](const QString &n, report::FrVariant &v) { frReport1GetValue(n, v); });
    frReport1 = composants.frReport1;
    frUserDataset1 = composants.frUserDataset1;
    frUserDataset1->RangeEndCount = 14;

    ListeLieux = new PanneauListe(fichierProgramme(QStringLiteral("Lieu.DBP")),
                                  QStringLiteral("BtL_"), QStringLiteral("StringGrid_L"),
                                  QStringLiteral("EdL_Lieu"), QStringLiteral("EdL_Informations"),
                                  QStringLiteral("Nom du Club"), CB_Lieu);
    ListeLieux->setObjectName(QStringLiteral("TabLieux"));
    PageControl1->addTab(ListeLieux, QStringLiteral("Lieux"));
    ListeArbitres = new PanneauListe(
        fichierProgramme(QStringLiteral("Arbitre.DBP")), QStringLiteral("BtA_"),
        QStringLiteral("StringGrid_A"), QStringLiteral("EdA_Arbitre"),
        QStringLiteral("EdA_Information"), QStringLiteral("Prénon NOM de l'arbitre"), Cb_Arbitre);
    ListeArbitres->setObjectName(QStringLiteral("TabArbitres"));
    PageControl1->addTab(ListeArbitres, QStringLiteral("Arbitres"));
    ListeResponsables =
        new PanneauListe(fichierProgramme(QStringLiteral("Responsable.DBP")),
                         QStringLiteral("BtR_"), QStringLiteral("StringGrid_R"),
                         QStringLiteral("EdR_responsable"), QStringLiteral("EdR_Information"),
                         QStringLiteral("Prénon NOM du responsable"), Cb_Responsable);
    ListeResponsables->setObjectName(QStringLiteral("TabResponsables"));
    PageControl1->addTab(ListeResponsables, QStringLiteral("Responsables"));

    StringGrid_L = ListeLieux->grille();
    StringGrid_A = ListeArbitres->grille();
    StringGrid_R = ListeResponsables->grille();
    EdL_Lieu = ListeLieux->edNom();
    EdL_Informations = ListeLieux->edInformation();
    EdA_Arbitre = ListeArbitres->edNom();
    EdA_Information = ListeArbitres->edInformation();
    EdR_responsable = ListeResponsables->edNom();
    EdR_Information = ListeResponsables->edInformation();

    using W = TVornF_Quatre_Webweb;
    static void (W::*const lieux[7])() = {
        &W::BtL_DebutClick,   &W::BtL_PrecedantClick, &W::BtL_SuivantClick, &W::BtL_FinClick,
        &W::BtL_AjouterClick, &W::BtL_SupprimerClick, &W::BtL_ModifierClick};
    static void (W::*const arbitres[7])() = {
        &W::BtA_DebutClick,   &W::BtA_PrecedantClick, &W::BtA_SuivantClick, &W::BtA_FinClick,
        &W::BtA_AjouterClick, &W::BtA_SupprimerClick, &W::BtA_ModifierClick};
    static void (W::*const responsables[7])() = {
        &W::BtR_DebutClick,   &W::BtR_PrecedantClick, &W::BtR_SuivantClick, &W::BtR_FinClick,
        &W::BtR_AjouterClick, &W::BtR_SupprimerClick, &W::BtR_ModifierClick};
    relie(ListeLieux, lieux);
    relie(ListeArbitres, arbitres);
    relie(ListeResponsables, responsables);

    using platform::handler;
    connect(Bt_Internet, &QPushButton::clicked, this, handler(this, &W::Bt_InternetClick));
    connect(Bt_Load_Inscrits, &QPushButton::clicked, this,
            handler(this, &W::Bt_Load_InscritsClick));
    connect(Bt_Ouvrir_Groupe, &QPushButton::clicked, this,
            handler(this, &W::Bt_Ouvrir_GroupeClick));
    connect(Convocation, &QPushButton::clicked, this, handler(this, &W::ConvocationClick));
    connect(Bt_Convoc, &QPushButton::clicked, this, handler(this, &W::Bt_ConvocClick));
    connect(Impression, &QPushButton::clicked, this,
            handler([this] { ImpressionClick(Impression); }));
    connect(BtCourriel, &QPushButton::clicked, this,
            handler([this] { ImpressionClick(BtCourriel); }));
    connect(Bt_Impress, &QPushButton::clicked, this, handler(this, &W::Bt_ImpressClick));
    connect(DateDuJour, &QPushButton::clicked, this, handler(this, &W::DateDuJourClick));
    connect(Bt_load_donnes, &QPushButton::clicked, this, handler(this, &W::Bt_load_donnesClick));
    connect(Bt_Ouvrie_Donnes, &QPushButton::clicked, this,
            handler(this, &W::Bt_Ouvrie_DonnesClick));
    connect(BtQuitter, &QPushButton::clicked, this, handler(this, &W::BtQuitterClick));

    // A list that cannot be read or created is reported; the window still
    // comes up with the others.
    platform::guard([this] { FormCreate(); });
    m_enteteEnregistre = entete();
}

TVornF_Quatre_Webweb::~TVornF_Quatre_Webweb() = default;

void TVornF_Quatre_Webweb::relie(PanneauListe *panneau,
                                 void (TVornF_Quatre_Webweb::*const handlers[7])())
{
    for (int b = 0; b < 7; ++b)
        connect(panneau->bouton(PanneauListe::Bouton(b)), &QPushButton::clicked, this,
                platform::handler(this, handlers[b]));
}

void TVornF_Quatre_Webweb::FormCreate()
{
    // Loaded once, and again when a file changed on disk (see FormActivate).
    for (PanneauListe *p : {ListeLieux, ListeArbitres, ListeResponsables})
        platform::guard([p] { p->charge(); });
}

void TVornF_Quatre_Webweb::BtL_DebutClick()
{
    ListeLieux->premier();
}
void TVornF_Quatre_Webweb::BtL_PrecedantClick()
{
    ListeLieux->precedent();
}
void TVornF_Quatre_Webweb::BtL_SuivantClick()
{
    ListeLieux->suivant();
}
void TVornF_Quatre_Webweb::BtL_FinClick()
{
    ListeLieux->dernier();
}
void TVornF_Quatre_Webweb::BtL_AjouterClick()
{
    ListeLieux->ajoute();
}
void TVornF_Quatre_Webweb::BtL_SupprimerClick()
{
    ListeLieux->supprime();
}
void TVornF_Quatre_Webweb::BtL_ModifierClick()
{
    ListeLieux->modifie();
}
void TVornF_Quatre_Webweb::BtA_DebutClick()
{
    ListeArbitres->premier();
}
void TVornF_Quatre_Webweb::BtA_PrecedantClick()
{
    ListeArbitres->precedent();
}
void TVornF_Quatre_Webweb::BtA_SuivantClick()
{
    ListeArbitres->suivant();
}
void TVornF_Quatre_Webweb::BtA_FinClick()
{
    ListeArbitres->dernier();
}
void TVornF_Quatre_Webweb::BtA_AjouterClick()
{
    ListeArbitres->ajoute();
}
void TVornF_Quatre_Webweb::BtA_SupprimerClick()
{
    ListeArbitres->supprime();
}
void TVornF_Quatre_Webweb::BtA_ModifierClick()
{
    ListeArbitres->modifie();
}
void TVornF_Quatre_Webweb::BtR_DebutClick()
{
    ListeResponsables->premier();
}
void TVornF_Quatre_Webweb::BtR_PrecedantClick()
{
    ListeResponsables->precedent();
}
void TVornF_Quatre_Webweb::BtR_SuivantClick()
{
    ListeResponsables->suivant();
}
void TVornF_Quatre_Webweb::BtR_FinClick()
{
    ListeResponsables->dernier();
}
void TVornF_Quatre_Webweb::BtR_AjouterClick()
{
    ListeResponsables->ajoute();
}
void TVornF_Quatre_Webweb::BtR_SupprimerClick()
{
    ListeResponsables->supprime();
}
void TVornF_Quatre_Webweb::BtR_ModifierClick()
{
    ListeResponsables->modifie();
}

QString TVornF_Quatre_Webweb::InformationLieu() const
{
    return ListeLieux->informationChoisie();
}

QString TVornF_Quatre_Webweb::InformationArbitre() const
{
    return ListeArbitres->informationChoisie();
}

QString TVornF_Quatre_Webweb::InformationResponsable() const
{
    return ListeResponsables->informationChoisie();
}

// Entries pages and files.

void TVornF_Quatre_Webweb::FormActivate()
{
    ModeQuatre = Caption().mid(30, 6) == QLatin1String("quatre");
    for (PanneauListe *p : {ListeLieux, ListeArbitres, ListeResponsables})
        platform::guard([p] { p->revoitFichier(); });
    if (m_montre == std::pair(SaisonEnCours, ModeQuatre))
        return;
    m_montre = std::pair(SaisonEnCours, ModeQuatre);
    PageControl1->setCurrentIndex(0);
    Bt_Suppression->setEnabled(false);
    videFichier();
}

void TVornF_Quatre_Webweb::videFichier()
{
    // Without a file the list buttons would print or send an empty list.
    FichierInscrits.clear();
    for (QPushButton *b : {Bt_Load_Inscrits, Impression, BtCourriel})
        b->setEnabled(false);
}

void TVornF_Quatre_Webweb::montreFichier()
{
    PageControl1->setCurrentWidget(TabInternet);
    WebBrowser1->setVisible(true);
    WebBrowser1->Navigate(FichierInscrits);
    for (QPushButton *b : {Bt_Load_Inscrits, Impression, BtCourriel})
        b->setEnabled(true);
}

void TVornF_Quatre_Webweb::prendFichier(const QString &nom, Bloc bloc)
{
    FichierInscrits = nom;
    GroupBox1->setTitle(bloc == Bloc::Groupe ? TitreGroupe : TitreCompetition);
    montreFichier();
}

void TVornF_Quatre_Webweb::Bt_InternetClick()
{
    // The lists taken from the page are saved in the season.
    verifierSaisonOuverte();
    PageControl1->setCurrentWidget(TabInternet);
    WebBrowser1->setVisible(true);
    platform::TOpenDialog ouvrir(this);
    const QString documents = platform::DocumentsFolder();
    ouvrir.InitialDir = documents;
    ouvrir.Title = QStringLiteral("Récupération page Internet ");
    ouvrir.FileName = documents + QStringLiteral("/*.ht*");
    ouvrir.DefaultExt = QStringLiteral("htm");
    ouvrir.Filter = QStringLiteral("Enregister sous (FFB - Espace Licencié.htm)|*.htm;*.html");
    if (!ouvrir.Execute())
        return;
    const QStringList page = platform::LineFile::read(ouvrir.FileName);
    const QList<Bloc> blocs = BlocsDeLaPage(page);
    if (blocs.isEmpty()) {
        // Said, rather than an empty tab: the user picked another page than
        // the list of the entries.
        platform::MessageDlg(QStringLiteral("Aucune liste d'inscrits dans cette page : ") +
                                 ouvrir.FileName,
                             platform::mtWarning, platform::mbOK);
        return;
    }
    for (Bloc bloc : blocs) {
        const bool groupe = bloc == Bloc::Groupe;
        const QString ext = Extension(bloc, ModeQuatre);
        platform::TSaveDialog sauver(this);
        sauver.InitialDir = RepAppli + SaisonEnCours;
        sauver.FileName = fichierSaison(QStringLiteral("*.") + ext);
        sauver.DefaultExt = ext;
        if (ModeQuatre)
            sauver.Title = groupe ? QStringLiteral("Sauvegarde des équipes du groupe ")
                                  : QStringLiteral("Sauvegarde des équipe de la compétition ");
        else
            sauver.Title = groupe ? QStringLiteral("Sauvegarde des paires du groupe ")
                                  : QStringLiteral("Sauvegarde des paires de la compétition ");
        sauver.Filter = QStringLiteral("au groupe (*.%1)|*.%1").arg(ext);
        sauver.OverwritePrompt = true;
        if (!sauver.Execute())
            return;
        const QStringList garde = GarderBloc(page, bloc);
        platform::LineFile::write(sauver.FileName, garde);
        m_inscritsLu.noter(sauver.FileName);
        ListeInscrits = garde;
        prendFichier(sauver.FileName, bloc);
    }
}

void TVornF_Quatre_Webweb::Bt_Load_InscritsClick()
{
    verifierSaisonOuverte();
    const auto sauve = [this](const QString &titre, const QString &ext, const QString &filtre) {
        platform::TSaveDialog sauver(this);
        sauver.InitialDir = RepAppli + SaisonEnCours;
        sauver.FileName = FichierInscrits;
        sauver.Title = titre;
        sauver.DefaultExt = ext;
        sauver.Filter = filtre;
        sauver.OverwritePrompt = true;
        // The entries file open in the window is saved again without a question.
        sauver.CurrentFile = FichierInscrits;
        if (!sauver.Execute())
            return;
        try {
            m_inscritsLu.verifier(sauver.FileName);
        } catch (const EFichierChange &refus) {
            FichierLu lu;
            lu.noter(m_inscritsLu.chemin());
            ListeInscrits = manager::LireFichierSaison(m_inscritsLu.chemin(),
                                                       QStringLiteral("une liste d'inscrits"));
            m_inscritsLu = lu;
            montreFichier();
            direListeRelue(refus);
            return;
        }
        platform::LineFile::write(sauver.FileName, ListeInscrits);
        m_inscritsLu.noter(sauver.FileName);
        FichierInscrits = sauver.FileName;
    };
    const QString ext = QFileInfo(FichierInscrits).suffix();
    const QString groupe = ModeQuatre ? QStringLiteral("Qug") : QStringLiteral("Pag");
    const QString competition = ModeQuatre ? QStringLiteral("Quc") : QStringLiteral("Pac");
    if (ext == QLatin1String("Pag") || ext == QLatin1String("Qug"))
        sauve(QStringLiteral("Sauvegarde des inscrits du groupe"), QLatin1Char('.') + groupe,
              QStringLiteral("au groupe (*.%1)|*.%1").arg(groupe));
    const QString ensuite = QFileInfo(FichierInscrits).suffix();
    if (ensuite == QLatin1String("Pac") || ensuite == QLatin1String("Quc"))
        sauve(QStringLiteral("Sauvegarde des inscrits de la compétition"),
              QLatin1Char('.') + competition,
              QStringLiteral("à la compétition (*.%1)|*.%1").arg(competition));
}

void TVornF_Quatre_Webweb::Bt_Ouvrir_GroupeClick()
{
    platform::TOpenDialog ouvrir(this);
    ouvrir.InitialDir = RepAppli + SaisonEnCours;
    ouvrir.Title = QStringLiteral("Restauration des inscrits");
    ouvrir.Filter =
        ModeQuatre
            ? QStringLiteral("inscrit du groupe(*.Qug) ou de la compétition (*.Quc)|*.Qug;*.Quc")
            : QStringLiteral("inscrit du groupe(*.Pag) ou de la compétition (*.Pac)|*.Pag;*.Pac");
    if (!ouvrir.Execute())
        return;
    const Fichier genre = GenreFichier(ouvrir.FileName, ModeQuatre);
    if (genre == Fichier::Aucun)
        return;
    FichierLu lu;
    lu.noter(ouvrir.FileName);
    ListeInscrits =
        manager::LireFichierSaison(ouvrir.FileName, QStringLiteral("une liste d'inscrits"));
    m_inscritsLu = lu;
    prendFichier(ouvrir.FileName, genre == Fichier::Groupe ? Bloc::Groupe : Bloc::Competition);
}

// Convocations.

QStringList TVornF_Quatre_Webweb::entete() const
{
    return {Saison1->text(),
            Cb_Responsable->currentText(),
            Publication1->text(),
            Epreuve1->text(),
            Prix1->text(),
            Phase1->text(),
            Date1->text(),
            Modalites1->text(),
            Horaires1->text(),
            Horaires2->text(),
            Avertissement1->text(),
            Cb_Arbitre->currentText(),
            Cb_Divers->currentText(),
            Pied1->text(),
            CB_Lieu->currentText()};
}

void TVornF_Quatre_Webweb::Bt_load_donnesClick()
{
    verifierSaisonOuverte();
    platform::TSaveDialog sauver(this);
    sauver.InitialDir = RepAppli + SaisonEnCours;
    sauver.Title = QStringLiteral("Sauvegarde des données ");
    sauver.DefaultExt = ModeQuatre ? QStringLiteral("qud") : QStringLiteral("pad");
    sauver.Filter = QStringLiteral("au groupe (*.%1)|*.%1").arg(sauver.DefaultExt);
    sauver.OverwritePrompt = true;
    sauver.CurrentFile = FichierDonnees;
    if (!sauver.Execute())
        return;
    platform::LineFile::write(sauver.FileName, entete());
    FichierDonnees = sauver.FileName;
    m_enteteEnregistre = entete();
}

void TVornF_Quatre_Webweb::Bt_Ouvrie_DonnesClick()
{
    // A header typed and saved to no file is replaced only when the user
    // says so.
    if (entete() != m_enteteEnregistre) {
        platform::TravailEnAttente travail;
        travail.question =
            texteEnteteNonEnregistree() + QStringLiteral("\nVoulez-vous les abandonner ?");
        if (!demanderTravail(travail))
            return;
    }
    platform::TOpenDialog ouvrir(this);
    ouvrir.InitialDir = RepAppli + SaisonEnCours;
    ouvrir.Title = QStringLiteral("Restauration des données");
    ouvrir.DefaultExt = ModeQuatre ? QStringLiteral("qud") : QStringLiteral("pad");
    ouvrir.Filter = QStringLiteral("à la compétition (*.%1)|*.%1").arg(ouvrir.DefaultExt);
    if (!ouvrir.Execute())
        return;
    using manager::EnteteConvocation;
    // Checked before any control changes: a short file leaves the header as
    // it was.
    const std::optional<EnteteConvocation> e = manager::lireEnteteConvocation(ouvrir.FileName);
    if (!e) {
        platform::MessageDlg(QStringLiteral("Fichier d'en-tête incomplet : ") + ouvrir.FileName,
                             platform::mtWarning, platform::mbOK);
        return;
    }
    Saison1->setText(e->texte(EnteteConvocation::Saison));
    Cb_Responsable->setCurrentText(e->texte(EnteteConvocation::Responsable));
    Publication1->setText(e->texte(EnteteConvocation::Publication));
    Epreuve1->setText(e->texte(EnteteConvocation::Epreuve));
    Prix1->setText(e->texte(EnteteConvocation::Prix));
    Phase1->setText(e->texte(EnteteConvocation::Phase));
    Date1->setText(e->texte(EnteteConvocation::Date));
    Modalites1->setText(e->texte(EnteteConvocation::Modalites));
    Horaires1->setText(e->texte(EnteteConvocation::Horaires1));
    Horaires2->setText(e->texte(EnteteConvocation::Horaires2));
    Avertissement1->setText(e->texte(EnteteConvocation::Avertissement));
    Cb_Arbitre->setCurrentText(e->texte(EnteteConvocation::Arbitre));
    Cb_Divers->setCurrentText(e->texte(EnteteConvocation::Divers));
    Pied1->setText(e->texte(EnteteConvocation::Pied));
    CB_Lieu->setCurrentText(e->texte(EnteteConvocation::Lieu));
    FichierDonnees = ouvrir.FileName;
    m_enteteEnregistre = entete();
    PageControl1->setCurrentIndex(0);
}

QString TVornF_Quatre_Webweb::texteEnteteNonEnregistree()
{
    return QStringLiteral("Les données de l'en-tête ne sont pas enregistrées (Enregistrer).");
}

std::optional<platform::TravailEnAttente> TVornF_Quatre_Webweb::travailEnAttente()
{
    // The header and each list's entry typed, named together.
    QStringList dits;
    if (entete() != m_enteteEnregistre)
        dits << texteEnteteNonEnregistree();
    for (PanneauListe *p : {ListeLieux, ListeArbitres, ListeResponsables}) {
        QString saisie = p->texteSaisieNonAppliquee();
        if (saisie.isEmpty())
            continue;
        saisie[0] = saisie.at(0).toLower();
        dits << QStringLiteral("Onglet %1 : %2")
                    .arg(PageControl1->tabText(PageControl1->indexOf(p)), saisie);
    }
    if (dits.isEmpty())
        return std::nullopt;
    platform::TravailEnAttente travail;
    travail.question = dits.join(u'\n') + QStringLiteral("\nVoulez-vous les abandonner ?");
    travail.abandon = [this] {
        if (entete() != m_enteteEnregistre)
            montrerEntete(m_enteteEnregistre);
        for (PanneauListe *p : {ListeLieux, ListeArbitres, ListeResponsables})
            p->abandonneSaisieTapee();
    };
    // The header is no season's, and the lists are the program folder's.
    travail.gardeeAuChangementDeSaison = true;
    return travail;
}

void TVornF_Quatre_Webweb::montrerEntete(const QStringList &textes)
{
    Saison1->setText(textes.value(0));
    Cb_Responsable->setCurrentText(textes.value(1));
    Publication1->setText(textes.value(2));
    Epreuve1->setText(textes.value(3));
    Prix1->setText(textes.value(4));
    Phase1->setText(textes.value(5));
    Date1->setText(textes.value(6));
    Modalites1->setText(textes.value(7));
    Horaires1->setText(textes.value(8));
    Horaires2->setText(textes.value(9));
    Avertissement1->setText(textes.value(10));
    Cb_Arbitre->setCurrentText(textes.value(11));
    Cb_Divers->setCurrentText(textes.value(12));
    Pied1->setText(textes.value(13));
    CB_Lieu->setCurrentText(textes.value(14));
}

void TVornF_Quatre_Webweb::DateDuJourClick()
{
    Publication1->setText(QStringLiteral("Fait le ") + platform::DateToStr(platform::Date()));
}

void TVornF_Quatre_Webweb::ConvocationClick()
{
    manager::imprimerModele(composants, frUserDataset1->RangeEndCount,
                            QStringLiteral("convocation.frf"));
}

void TVornF_Quatre_Webweb::Bt_ConvocClick()
{
    manager::modifierModele(*frReport1, QStringLiteral("convocation.frf"));
}

void TVornF_Quatre_Webweb::Bt_ImpressClick()
{
    manager::modifierModele(*frReport1, ModeQuatre ? QStringLiteral("quatre.frf")
                                                   : QStringLiteral("paires.frf"));
}

void TVornF_Quatre_Webweb::ImpressionClick(QObject *Sender)
{
    Listes = ListesConvocation();
    // A missing players file stops here with its message: nothing is printed
    // or sent from lists that could not be checked.
    const QStringList joueurs =
        manager::LireLignesJoueurs(fichierSaison(QStringLiteral("Joueur.DBP")));
    if (ListeInscrits.size() < 20)
        return;
    Listes = Extraire(ListeInscrits, GenreFichier(FichierInscrits, ModeQuatre), ModeQuatre,
                      IndexJoueurs(joueurs), ChBx_Trie->isChecked(), FichierInscrits);
    if (Sender == Impression) {
        manager::imprimerModele(composants, Listes.nombre(),
                                ModeQuatre ? QStringLiteral("quatre.frf")
                                           : QStringLiteral("paires.frf"));
    } else if (Sender == BtCourriel) {
        if (Listes.courriels.isEmpty())
            return;
        platform::ShowMessage(QStringLiteral("Choisir son compte Courriel"));
        for (const QString &lien :
             manager::liensCourriel(Listes.courriels, Nbr_Courriel->value(), Cb_BCC->isChecked()))
            if (!platform::OpenMailLink(lien))
                break; // warned once; without a mail program no group goes
    }
}

void TVornF_Quatre_Webweb::BtQuitterClick()
{
    Hide();
}

void TVornF_Quatre_Webweb::frReport1GetValue(const QString &ParName, report::FrVariant &ParValue)
{
    const int r = frUserDataset1->RecNo;
    const auto item = [r](const QStringList &l) {
        return r >= 0 && r < l.size() ? l[r] : QString();
    };
    const QStringList e = entete();
    static const QHash<QString, int> champs = {
        {QStringLiteral("saison"), 0},         {QStringLiteral("responsable"), 1},
        {QStringLiteral("publication"), 2},    {QStringLiteral("epreuve"), 3},
        {QStringLiteral("prix"), 4},           {QStringLiteral("phase"), 5},
        {QStringLiteral("date"), 6},           {QStringLiteral("modalites"), 7},
        {QStringLiteral("horaires1"), 8},      {QStringLiteral("horaires2"), 9},
        {QStringLiteral("avertissement"), 10}, {QStringLiteral("arbitre"), 11},
        {QStringLiteral("divers"), 12},        {QStringLiteral("pied2"), 13},
        {QStringLiteral("lieu"), 14}};
    if (const auto it = champs.constFind(ParName); it != champs.cend())
        ParValue = e[*it];
    else if (ParName == QLatin1String("classement2"))
        ParValue = item(Listes.classement);
    else if (ParName == QLatin1String("club2"))
        ParValue = item(Listes.club);
    else if (ParName == QLatin1String("indice2"))
        ParValue = item(Listes.indice);
    else if (ParName == QLatin1String("nom2"))
        ParValue = DecouperLignes(item(Listes.joueurs)).first;
    else if (ParName == QLatin1String("joueur2"))
        ParValue = DecouperLignes(item(Listes.joueurs)).second;
    else if (ParName == QLatin1String("Informations_Lieu"))
        ParValue = InformationLieu();
    else if (ParName == QLatin1String("info_arbitre"))
        ParValue = InformationArbitre();
    else if (ParName == QLatin1String("info_responsable"))
        ParValue = InformationResponsable();
    else if (ParName == QLatin1String("pause"))
        ParValue = TextePause(Cb_Divers->currentText());
    else if (ParName == QLatin1String("caution"))
        ParValue = ModeQuatre ? QStringLiteral("80") : QStringLiteral("40");
}
