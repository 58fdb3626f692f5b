#include "manager/resultat_quatre.h"

#include "manager/core/calculquatre.h"
#include "manager/core/commandesfeuille.h"
#include "manager/core/fichejoueur.h"
#include "manager/core/poulequatre.h"
#include "manager/core/saisie.h"
#include "manager/core/vorn_dec.h"
#include "manager/fenetres.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "report/data/frdataset.h"
#include "report/objects/frreport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace platform;

namespace
{

template <class T> T *nomme(T *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

QPushButton *bouton(QWidget *parent, const char *name, const QString &caption,
                    const QString &hint = QString())
{
    auto *b = nomme(new QPushButton(caption, parent), QLatin1String(name));
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}

QLabel *etiquette(QWidget *parent, const QString &text, const char *name = nullptr)
{
    auto *l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QLatin1String(name));
    return l;
}

const QString kConfirmer = QStringLiteral("Confirmer la suppression");
const QString kHintCalcul = QStringLiteral("Faire le calcul des PE et PP par mi-temps");
const QString kPenalite = QStringLiteral("Pénalité IVMax = ");
const QString kTitreFenetre =
    QStringLiteral("Gestion des résultats d'une épreuve par quatre du Challenge :");

// Fills a list without telling its change handler: only the user's choices
// load a match.
void remplir(QComboBox *cb, const QStringList &items)
{
    const QSignalBlocker bloque(cb);
    cb->clear();
    cb->addItems(items);
}

void choisir(QComboBox *cb, int index)
{
    const QSignalBlocker bloque(cb);
    cb->setCurrentIndex(index);
}

// The refusal of a command that would replace a file that exists but could
// not be read: what the window shows holds none of its lines.
platform::EFileError fichierIllisible(const QString &fichier)
{
    return platform::EFileError(
        QStringLiteral("Le fichier %1 n'a pas pu être lu : il n'est pas modifié.")
            .arg(QDir::toNativeSeparators(LineFile::resolve(fichier))));
}

// The lines of a file of the window, when it is there and reads whole; one
// that does not is refused here (EFichierGroupeAbime), before the window
// changes. One that cannot be read at all is left to the loaders, which
// show none of it and never write over it.
QStringList verifierCpo(const QString &fichier, GenreCpo genre)
{
    QStringList lignes;
    try {
        lireCpo(fichier, genre, lignes);
    } catch (const EFichierGroupeAbime &) {
        throw;
    } catch (const platform::Exception &) {
        lignes.clear();
    }
    return lignes;
}

// What the window shows of group g when it is chosen: its teams, its table
// and the match of its first team with itself.
void verifierGroupe(int g)
{
    const QStringList equipes = verifierCpo(fichierEquipes(g), GenreCpo::Noms);
    verifierCpo(fichierTableau(g), GenreCpo::Tableau);
    if (!equipes.isEmpty())
        verifierCpo(fichierMatch(g, 0, 0), GenreCpo::Match);
}

// A group's teams: the file-open error when the file is missing.
QStringList lireEquipes(const QString &fichier)
{
    QStringList equipes;
    if (!lireCpo(fichier, GenreCpo::Noms, equipes))
        return LineFile::read(fichier);
    return equipes;
}

QStringList elements(const QComboBox *cb)
{
    QStringList out;
    for (int i = 0; i < cb->count(); ++i)
        out << cb->itemText(i);
    return out;
}

// Two files that go together, both or neither: when the second cannot be
// written (a disk that fills up), the first is put back as it was.
void ecrireLesDeux(const QString &premier, const QStringList &lignesPremier, const QString &second,
                   const QStringList &lignesSecond)
{
    // Put back byte for byte, whatever its lines were.
    const bool existait = LineFile::exists(premier);
    const QByteArray avant = existait ? LineFile::readBytes(premier) : QByteArray();
    ecrireCpo(premier, lignesPremier);
    try {
        ecrireCpo(second, lignesSecond);
    } catch (...) {
        try {
            if (existait)
                LineFile::writeBytes(LineFile::resolve(premier), avant);
            else
                QFile::remove(LineFile::resolve(premier));
        } catch (...) {
            // The second file's error is the one to show.
        }
        throw;
    }
}

} // namespace

TVorn_FResultat_Quatre::TVorn_FResultat_Quatre(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_FResultat_Quatre"), parent)
{
    setCaption(kTitreFenetre);
    // As wide as designed where the screen has room; on a narrower one (1024
    // pixels) no wider than the screen beside the vertical scroll bar that
    // its height calls for, down to what the sheet needs: the sheet's
    // right-hand column is never left under the bar.
    int largeur = 1230;
    if (const QRect ecran = platform::availableScreenArea(this); !ecran.isEmpty()) {
        const QMargins cadre = platform::windowFrameMargins(this);
        largeur = std::clamp(ecran.width() - cadre.left() - cadre.right() -
                                 style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                             990, largeur);
    }
    resize(largeur, 830);

    auto *haut = new QWidget(this);
    haut->setObjectName(QStringLiteral("PanneauHaut"));
    construirePanneauHaut(haut);

    TabControl1 = nomme(new QTabBar(this), QStringLiteral("TabControl1"));
    TabControl1->setExpanding(false);
    PanneauFeuille = nomme(new QWidget(this), QStringLiteral("PanneauFeuille"));
    construireFeuille();

    auto *onglets = new QWidget(this);
    onglets->setObjectName(QStringLiteral("CadreFeuille"));
    auto *cadre = new QVBoxLayout(onglets);
    cadre->setContentsMargins(0, 0, 0, 0);
    cadre->setSpacing(0);
    cadre->addWidget(TabControl1);
    PanneauFeuille->setAutoFillBackground(true);
    cadre->addWidget(PanneauFeuille, 1);

    auto *main = new QVBoxLayout(this);
    main->setContentsMargins(6, 6, 6, 6);
    main->addWidget(haut);
    main->addWidget(onglets, 1);

    connect(CB_Groupe, &QComboBox::currentIndexChanged, this,
            handler(this, &TVorn_FResultat_Quatre::CB_GroupeChange));
    connect(CB_Compos, &QComboBox::currentIndexChanged, this,
            handler(this, &TVorn_FResultat_Quatre::CB_AdversaireChange));
    connect(CB_Adversaire, &QComboBox::currentIndexChanged, this,
            handler(this, &TVorn_FResultat_Quatre::CB_AdversaireChange));
    m_composants = manager::creerImpression(
        this,
        report::pbZoom | report::pbPrint | report::pbFind | report::pbExit | report::pbPageSetup,
        [this](const QString &n, report::FrVariant &v) { frReport1GetValue(n, v); });
    frReport1 = m_composants.frReport1;
    frUserDataset1 = m_composants.frUserDataset1;

    using W = TVorn_FResultat_Quatre;
    const std::pair<QPushButton *, void (W::*)()> commandes[] = {
        {BtAjouGroupe, &W::BtAjouGroupeClick},
        {BtSuprGroupe, &W::BtSuprGroupeClick},
        {BtAjoutCompos, &W::BtAjoutComposClick},
        {BtSupprCompos, &W::BtSupprComposClick},
        {BtCrerFMAtch, &W::BtCrerFMAtchClick},
        {BtQuitter, &W::BtQuitterClick},
        {BtHandicap, &W::BtHandicapClick},
        {Bt_Penalite, &W::Bt_PenaliteClick},
        {BtCalculMacth, &W::BtCalculMacthClick},
        {BtA1, &W::BtA1Click},
        {BtA2, &W::BtA2Click},
        {BtB1, &W::BtB1Click},
        {BtB2, &W::BtB2Click},
        {BtAi, &W::BtAiClick},
        {BtNettoyage, &W::BtNettoyageClick},
        {BtEnregistreMatch, &W::BtEnregistreMatchClick},
        {Bt_load_resultat, &W::Bt_load_resultatClick},
        {Bt_Edition_Resultat, &W::Bt_Edition_ResultatClick},
        {BtEditFMatch, &W::BtEditFMatchClick},
        {BtEditionGroupe, &W::BtEditionGroupeClick}};
    for (const auto &[b, m] : commandes)
        connect(b, &QPushButton::clicked, this, handler(this, m));
    connect(TabControl1, &QTabBar::currentChanged, this,
            handler(this, &TVorn_FResultat_Quatre::TabControl1Change));

    for (QWidget *w : {static_cast<QWidget *>(EdAjoutGroupe), static_cast<QWidget *>(Ed_Compo),
                       static_cast<QWidget *>(Ed_FMatch), static_cast<QWidget *>(Ed_IV)})
        w->hide();
    onglets->show();
    TabControl1->hide();
    PanneauFeuille->hide();
}

TVorn_FResultat_Quatre::~TVorn_FResultat_Quatre() = default;

void TVorn_FResultat_Quatre::construirePanneauHaut(QWidget *haut)
{
    LabelGroupe = etiquette(haut, QStringLiteral("Groupe ou Poule"), "LabelGroupe");
    CB_Groupe = nomme(new QComboBox(haut), QStringLiteral("CB_Groupe"));
    BtAjouGroupe = bouton(haut, "BtAjouGroupe", QStringLiteral("Ajouter"),
                          QStringLiteral("Attention d'Entrer ls groupe dans l'ordre"));
    BtSuprGroupe = bouton(haut, "BtSuprGroupe", QStringLiteral("Enlever"));
    EdAjoutGroupe = nomme(new QLineEdit(haut), QStringLiteral("EdAjoutGroupe"));

    LabelCompos = etiquette(haut, QStringLiteral("Composition"), "LabelCompos");
    CB_Compos = nomme(new QComboBox(haut), QStringLiteral("CB_Compos"));
    BtAjoutCompos = bouton(haut, "BtAjoutCompos", QStringLiteral("Ajouter"),
                           QStringLiteral("Arrention de rentrer toutes les villes"));
    BtSupprCompos = bouton(haut, "BtSupprCompos", QStringLiteral("Enlever"));
    Ed_Compo = nomme(new QLineEdit(haut), QStringLiteral("Ed_Compo"));

    LabelAdversaire = etiquette(haut, QStringLiteral("Adversaire (visiteur)"), "LabelAdversaire");
    CB_Adversaire = nomme(new QComboBox(haut), QStringLiteral("CB_Adversaire"));

    LabelFeuille = etiquette(haut, QStringLiteral("Feuille de Match"), "LabelFeuille");
    BtCrerFMAtch = bouton(
        haut, "BtCrerFMAtch", QStringLiteral("Créer "),
        QStringLiteral("Vréer les feuilles de matchs dans l'ordre d'apparition sur Internet"));
    Ed_FMatch = nomme(new QLineEdit(haut), QStringLiteral("Ed_FMatch"));
    Ed_IV = nomme(new QLineEdit(QStringLiteral("400"), haut), QStringLiteral("Ed_IV"));
    BtEditFMatch = bouton(haut, "BtEditFMatch", QStringLiteral("Edition"));

    BtEnregGroupe = bouton(haut, "BtEnregGroupe", QStringLiteral("Enregistrer Résultats Finaux"));
    BtEditionGroupe = bouton(haut, "BtEditionGroupe", QStringLiteral("Edition"));
    GroupeResultats = nomme(new QGroupBox(QStringLiteral("Résultats PC calculés "), haut),
                            QStringLiteral("GroupeResultats"));
    Bt_load_resultat = bouton(GroupeResultats, "Bt_load_resultat", QStringLiteral("Enregistrer"));
    Bt_Edition_Resultat = bouton(GroupeResultats, "Bt_Edition_Resultat", QStringLiteral("Edition"));
    auto *gr = new QHBoxLayout(GroupeResultats);
    gr->setContentsMargins(6, 2, 6, 4);
    gr->addWidget(Bt_load_resultat);
    gr->addWidget(Bt_Edition_Resultat);
    BtQuitter = bouton(haut, "BtQuitter", QStringLiteral("Quitter"));

    LabelResultats = etiquette(haut, QStringLiteral("Résultats du Groupe"), "LabelResultats");
    StGrResultat = nomme(new QTableWidget(1, 1, haut), QStringLiteral("StGrResultat"));
    StGrResultat->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StGrResultat->setSelectionMode(QAbstractItemView::NoSelection);
    StGrResultat->setFocusPolicy(Qt::NoFocus);
    StGrResultat->horizontalHeader()->hide();
    StGrResultat->verticalHeader()->hide();
    StGrResultat->verticalHeader()->setDefaultSectionSize(22);
    StGrResultat->horizontalHeader()->setDefaultSectionSize(78);
    StGrResultat->setMinimumWidth(340); // the cross table scrolls within itself

    for (QComboBox *cb : {CB_Groupe, CB_Compos, CB_Adversaire})
        cb->setMinimumWidth(190);
    // Names and the IV for the commands that add them, not work held.
    for (QLineEdit *e : {EdAjoutGroupe, Ed_Compo, Ed_FMatch}) {
        e->setMinimumWidth(150);
        champDeReglage(e);
    }
    Ed_IV->setFixedWidth(50);
    champDeReglage(Ed_IV);

    auto *g = new QGridLayout;
    g->setContentsMargins(0, 0, 0, 0);
    g->setVerticalSpacing(4);
    g->addWidget(LabelGroupe, 0, 0);
    g->addWidget(CB_Groupe, 0, 1);
    g->addWidget(BtAjouGroupe, 0, 2);
    g->addWidget(BtSuprGroupe, 0, 3);
    g->addWidget(EdAjoutGroupe, 0, 4, 1, 2);
    g->addWidget(LabelCompos, 1, 0);
    g->addWidget(CB_Compos, 1, 1);
    g->addWidget(BtAjoutCompos, 1, 2);
    g->addWidget(BtSupprCompos, 1, 3);
    g->addWidget(Ed_Compo, 1, 4, 1, 2);
    g->addWidget(LabelAdversaire, 2, 0);
    g->addWidget(CB_Adversaire, 2, 1);
    g->addWidget(LabelFeuille, 3, 0);
    g->addWidget(BtCrerFMAtch, 3, 1);
    g->addWidget(BtEditFMatch, 3, 2);
    g->addWidget(Ed_FMatch, 3, 3, 1, 2);
    g->addWidget(Ed_IV, 3, 5);
    g->addWidget(BtEnregGroupe, 4, 0, 1, 2);
    g->addWidget(BtEditionGroupe, 4, 2);
    g->addWidget(GroupeResultats, 5, 0, 1, 3);
    g->addWidget(BtQuitter, 5, 3);
    g->setColumnStretch(6, 1);

    auto *droite = new QVBoxLayout;
    droite->addWidget(LabelResultats);
    droite->addWidget(StGrResultat, 1);

    auto *h = new QHBoxLayout(haut);
    h->setContentsMargins(0, 0, 0, 0);
    h->addLayout(g, 0);
    h->addLayout(droite, 1);
    haut->setFixedHeight(210);
}

void TVorn_FResultat_Quatre::construireFeuille()
{
    QWidget *p = PanneauFeuille;
    auto *g = new QGridLayout;
    g->setHorizontalSpacing(4);
    g->setVerticalSpacing(2);

    auto creer = [this, p](const QString &nom) {
        auto *e = nomme(new QLineEdit(p), nom);
        e->setFixedHeight(22);
        m_edits.insert(nom, e);
        return e;
    };
    const QStringList &noms = FeuilleMatch::NomsEdits();
    for (const QString &nom : noms)
        creer(nom);

    Anum = etiquette(p, QString(), "Anum");
    BNum = etiquette(p, QString(), "BNum");
    BtA1 = bouton(p, "BtA1", QStringLiteral("1"), QStringLiteral("Entrer Première Mi-temps"));
    BtA2 = bouton(p, "BtA2", QStringLiteral("2"), QStringLiteral("Entrer deuxième Mi-temps"));
    BtB1 = bouton(p, "BtB1", QStringLiteral("1"), QStringLiteral("Entrer Première Mi-temps"));
    BtB2 = bouton(p, "BtB2", QStringLiteral("2"), QStringLiteral("Entrer deuxième Mi-temps"));

    // Edits of a sheet line, by line number.
    auto ligne = [this, &noms](int l) {
        QList<QLineEdit *> out(4, nullptr);
        for (const QString &nom : noms) {
            const PositionChamp pos = FeuilleMatch::position(nom);
            if (pos.ligne == l)
                out[pos.champ] = m_edits.value(nom);
        }
        return out;
    };

    auto bloc = [&](int r0, int lNom, QLabel *num, int lJoueurs1, int lResume1, int lJoueurs2,
                    int lResume2, int lMatch, int champHandicap, QPushButton *bt1,
                    QPushButton *bt2) {
        g->addWidget(ligne(lNom)[0], r0, 1, 1, 2);
        g->addWidget(num, r0, 3);
        g->addWidget(etiquette(p, QStringLiteral("Nb Donnes")), r0, 5);
        g->addWidget(etiquette(p, QStringLiteral("PE")), r0, 7);
        g->addWidget(etiquette(p, QStringLiteral("PC")), r0, 8);
        const struct {
            int joueurs, resume, ligneEcran;
            const char *titre;
            QPushButton *bt;
        } moities[] = {{lJoueurs1, lResume1, r0 + 1, "Mi-temps 1", bt1},
                       {lJoueurs2, lResume2, r0 + 5, "Mi-temps 2", bt2}};
        for (const auto &m : moities) {
            g->addWidget(etiquette(p, QString::fromUtf8(m.titre)), m.ligneEcran, 0);
            g->addWidget(m.bt, m.ligneEcran + 1, 0, Qt::AlignLeft);
            for (int k = 0; k < 4; ++k) {
                const QList<QLineEdit *> e = ligne(m.joueurs + k);
                for (int c = 0; c < 4; ++c)
                    g->addWidget(e[c], m.ligneEcran + k, 1 + c);
            }
            const QList<QLineEdit *> s = ligne(m.resume);
            for (int c = 0; c < 4; ++c)
                g->addWidget(s[c], m.ligneEcran, 5 + c);
        }
        const int rm = r0 + 9;
        g->addWidget(etiquette(p, QStringLiteral("Nb Donnes")), rm, 5);
        g->addWidget(etiquette(p, QStringLiteral("Imp")), rm, 6);
        g->addWidget(etiquette(p, QStringLiteral("IVm")), rm, 7);
        g->addWidget(etiquette(p, QStringLiteral("PV")), rm, 8);
        g->addWidget(etiquette(p, QStringLiteral("Bonus")), rm, 9);
        const QList<QLineEdit *> m = ligne(lMatch);
        for (int c = 0; c < 4; ++c)
            g->addWidget(m[c], rm + 1, 5 + c);
        g->addWidget(ligne(25)[champHandicap], rm + 1, 9);
    };
    bloc(0, 1, Anum, 2, 6, 7, 11, 12, 0, BtA1, BtA2);
    auto *separation = new QFrame(p);
    separation->setFrameShape(QFrame::HLine);
    separation->setFrameShadow(QFrame::Sunken);
    g->addWidget(separation, 11, 0, 1, 10);
    bloc(12, 13, BNum, 14, 18, 19, 23, 24, 1, BtB1, BtB2);

    // Extra height goes below the sheet, not between its rows.
    g->setRowStretch(23, 1);
    g->setColumnMinimumWidth(1, 140);
    g->setColumnStretch(1, 3);
    g->setColumnStretch(4, 2);
    for (const QString &nom : noms) {
        const PositionChamp pos = FeuilleMatch::position(nom);
        const bool joueur =
            (pos.ligne >= 2 && pos.ligne <= 5) || (pos.ligne >= 7 && pos.ligne <= 10) ||
            (pos.ligne >= 14 && pos.ligne <= 17) || (pos.ligne >= 19 && pos.ligne <= 22);
        QLineEdit *e = m_edits.value(nom);
        if (joueur && pos.champ == 1)
            e->setFixedWidth(80);
        else if (joueur && pos.champ == 2)
            e->setFixedWidth(42);
        else if (joueur && pos.champ == 3)
            e->setMinimumWidth(100);
        else if (!joueur && pos.ligne != 1 && pos.ligne != 13)
            e->setFixedWidth(62);
    }
    for (QPushButton *b : {BtA1, BtA2, BtB1, BtB2})
        b->setFixedWidth(34);

    Donnee = nomme(new QLineEdit(p), QStringLiteral("Donnee"));
    // The deal a command adds to the sheet, not the sheet itself.
    champDeReglage(Donnee);
    BtAi = bouton(p, "BtAi", QStringLiteral("ImpA+Nb donnes+ImpB"),
                  QStringLiteral("Entrer résultats et nombre de donne"));
    BtHandicap = bouton(p, "BtHandicap", QStringLiteral("Handicap"), kHintCalcul);
    Bt_Penalite = bouton(p, "Bt_Penalite", kPenalite, kHintCalcul);
    BtCalculMacth = bouton(p, "BtCalculMacth", QStringLiteral("Calculer"), kHintCalcul);
    BtNettoyage = bouton(p, "BtNettoyage", QStringLiteral("X"),
                         QStringLiteral("Effacer le calcul des PE et PP"));
    BtEnregistreMatch = bouton(p, "BtEnregistreMatch", QStringLiteral("Enregistrer"),
                               QStringLiteral("Enregistrer la feuille de Match"));
    auto *cmd = new QVBoxLayout;
    cmd->setSpacing(6);
    for (QWidget *w : {static_cast<QWidget *>(Donnee), static_cast<QWidget *>(BtAi),
                       static_cast<QWidget *>(BtHandicap), static_cast<QWidget *>(Bt_Penalite),
                       static_cast<QWidget *>(BtCalculMacth), static_cast<QWidget *>(BtNettoyage),
                       static_cast<QWidget *>(BtEnregistreMatch)})
        cmd->addWidget(w);
    cmd->addStretch(1);
    for (QWidget *w : {static_cast<QWidget *>(Donnee), static_cast<QWidget *>(BtAi),
                       static_cast<QWidget *>(Bt_Penalite)})
        w->setMinimumWidth(160);

    auto *h = new QHBoxLayout(p);
    h->setContentsMargins(6, 6, 6, 6);
    h->addLayout(g, 1);
    h->addSpacing(6);
    h->addLayout(cmd);
}

// --- Operations -------------------------------------------------------------

QString TVorn_FResultat_Quatre::DeuxChiffres(int n)
{
    return ::DeuxChiffres(n);
}

QString TVorn_FResultat_Quatre::NomFichierMatch(int sens) const
{
    QString nom = QStringLiteral("PouleM") + DeuxChiffresSelection(CB_Groupe->currentIndex());
    const QString a = DeuxChiffresSelection(CB_Compos->currentIndex());
    const QString b = DeuxChiffresSelection(CB_Adversaire->currentIndex());
    if (sens == 0)
        nom += a + b;
    else if (sens == 1)
        nom += b + a;
    return fichierSaison(nom + QStringLiteral(".cpo"));
}

void TVorn_FResultat_Quatre::afficherTableau()
{
    StGrResultat->setRowCount(m_tableau.lignes());
    StGrResultat->setColumnCount(m_tableau.colonnes());
    for (int r = 0; r < m_tableau.lignes(); ++r) {
        for (int c = 0; c < m_tableau.colonnes(); ++c) {
            QTableWidgetItem *item = StGrResultat->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                StGrResultat->setItem(r, c, item);
            }
            item->setText(m_tableau.cellule(r, c));
            const bool fixe = r == 0 || c == 0;
            item->setBackground(fixe ? palette().button() : palette().base());
            item->setTextAlignment(fixe ? Qt::AlignLeft | Qt::AlignVCenter
                                        : Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    StGrResultat->setColumnWidth(0, 110);
}

void TVorn_FResultat_Quatre::ChargerTableauGroupe()
{
    QStringList lignes;
    const int g = CB_Groupe->currentIndex();
    m_tableauIllisible.clear();
    bool lu = false;
    try {
        if (g >= 0)
            m_lus.noter(fichierTableau(g));
        lu = g >= 0 && lireCpo(fichierTableau(g), GenreCpo::Tableau, lignes) && !lignes.isEmpty();
        if (lu)
            m_tableau.charger(lignes, fichierTableau(g));
    } catch (const platform::Exception &) {
        // Unreadable or refused: no other group's table may stay shown in
        // its place, and the empty one shown must not replace the file.
        m_tableauIllisible = fichierTableau(g);
        lu = false;
        m_tableau.vider();
        afficherTableau();
        StGrResultat->hide();
        throw;
    }
    if (!lu) {
        // No table yet: nothing of another group's may stay behind it.
        m_tableau.vider();
        afficherTableau();
        StGrResultat->hide();
        return;
    }
    StGrResultat->show();
    afficherTableau();
}

FeuilleMatch TVorn_FResultat_Quatre::feuilleAffichee() const
{
    FeuilleMatch f;
    for (auto it = m_edits.cbegin(); it != m_edits.cend(); ++it)
        f.setValeur(it.key(), it.value()->text());
    f.setNumeroA(Anum->text());
    f.setNumeroB(BNum->text());
    return f;
}

void TVorn_FResultat_Quatre::afficherEdits(const FeuilleMatch &f)
{
    for (auto it = m_edits.cbegin(); it != m_edits.cend(); ++it)
        it.value()->setText(f.valeur(it.key()));
}

void TVorn_FResultat_Quatre::AfficherFeuille(int b)
{
    const FeuilleMatch f = FeuilleMatch::depuisLignes(LignesMatch, b);
    afficherEdits(f);
    Bt_Penalite->setText(kPenalite + f.ivMax());
    Anum->setText(f.numeroA());
    BNum->setText(f.numeroB());
    m_feuilleMontree = b / FeuilleMatch::Lignes;
}

void TVorn_FResultat_Quatre::EnregistrerFeuille(int b)
{
    feuilleAffichee().enregistrer(LignesMatch, b);
}

int TVorn_FResultat_Quatre::baseFeuille() const
{
    return 50 * TabControl1->currentIndex();
}

void TVorn_FResultat_Quatre::ChargerMatch()
{
    chargerMatch(false);
}

void TVorn_FResultat_Quatre::chargerMatch(bool garderSiRefus)
{
    // The file is read and checked whole before anything shown changes.
    QString charge;
    QStringList lues;
    bool inverse = false;
    QString empreinte;
    try {
        if (!m_saisonMontree.ouverte()) {
            // No season: nothing of the program folder is read as its files.
        } else if (LineFile::present(NomFichierMatch(0))) {
            charge = NomFichierMatch(0);
        } else if (LineFile::present(NomFichierMatch(1))) {
            charge = NomFichierMatch(1);
            inverse = true;
        }
        // Noted as it was before the read: a change made meanwhile shows.
        empreinte = empreinteFichier(charge.isEmpty() ? NomFichierMatch(0) : charge);
        if (!charge.isEmpty())
            lireCpo(charge, GenreCpo::Match, lues);
    } catch (const platform::Exception &e) {
        if (garderSiRefus && dynamic_cast<const EFichierGroupeAbime *>(&e)) {
            // Another match chosen: the one shown stays, with the lists
            // that name it.
            choisir(CB_Compos, m_composMontre);
            choisir(CB_Adversaire, m_adversaireMontre);
            throw;
        }
        viderMatch();
        if (m_saisonMontree.ouverte())
            m_lus.noter(NomFichierMatch(0));
        // No sheet is shown; one created now must not replace the file.
        TabControl1->hide();
        PanneauFeuille->hide();
        m_matchIllisible = charge;
        m_groupeMontre = CB_Groupe->currentIndex();
        m_composMontre = CB_Compos->currentIndex();
        m_adversaireMontre = CB_Adversaire->currentIndex();
        throw;
    }
    viderMatch();
    LignesMatch = lues;
    if (inverse) {
        // The file's team A becomes the home team.
        const int a = CB_Compos->currentIndex();
        choisir(CB_Compos, CB_Adversaire->currentIndex());
        choisir(CB_Adversaire, a);
    }
    // The file recording writes is the one read, named after the lists.
    if (m_saisonMontree.ouverte())
        m_lus.noter(NomFichierMatch(0), empreinte);
    m_feuilles = LignesMatch.size() / FeuilleMatch::Lignes;
    m_matchLu = LignesMatch;
    for (int s = 0; s < m_feuilles; ++s)
        m_chiffresCalcules.append(ChiffresFeuille(LignesMatch, FeuilleMatch::Lignes * s));
    m_groupeMontre = CB_Groupe->currentIndex();
    m_composMontre = CB_Compos->currentIndex();
    m_adversaireMontre = CB_Adversaire->currentIndex();
    if (m_feuilles > 0) {
        {
            const QSignalBlocker bloque(TabControl1);
            for (int s = 0; s < m_feuilles; ++s)
                TabControl1->addTab(Champ(LignesMatch, 50 * s, 0));
            TabControl1->setCurrentIndex(0);
        }
        TabControl1->show();
        PanneauFeuille->show();
        AfficherFeuille(0);
    } else {
        TabControl1->hide();
        PanneauFeuille->hide();
    }
    const int reste = LignesMatch.size() % FeuilleMatch::Lignes;
    if (reste > 0)
        // The tail is kept so that recording writes it back unchanged.
        MessageDlg(
            QStringLiteral("Fichier de match incomplet : ") +
                QFileInfo(LineFile::resolve(charge)).fileName() + QStringLiteral("\n\nLes ") +
                QString::number(reste) +
                QStringLiteral(" dernières lignes sont conservées mais ne sont pas affichées"),
            mtWarning, mbOK);
}

void TVorn_FResultat_Quatre::viderMatch()
{
    LignesMatch.clear();
    m_feuilles = 0;
    m_feuilleMontree = -1;
    {
        const QSignalBlocker bloque(TabControl1);
        while (TabControl1->count() > 0)
            TabControl1->removeTab(0);
    }
    m_matchIllisible.clear();
    m_matchLu.clear();
    m_chiffresCalcules.clear();
}

void TVorn_FResultat_Quatre::RafraichirFormulaire()
{
    ChargerMatch();
    const bool groupe = CB_Groupe->currentIndex() >= 0;
    for (QWidget *w : std::initializer_list<QWidget *>{
             CB_Compos, CB_Adversaire, StGrResultat, CB_Groupe, BtAjoutCompos, BtSupprCompos,
             LabelCompos, LabelAdversaire, LabelFeuille, LabelResultats, BtCrerFMAtch, BtEditFMatch,
             BtEditionGroupe, BtEnregGroupe})
        w->setVisible(groupe);
    if (groupe)
        ChargerTableauGroupe();
}

void TVorn_FResultat_Quatre::chargerEquipes(int groupe)
{
    QStringList equipes;
    std::exception_ptr erreur;
    m_equipesIllisibles.clear();
    try {
        m_lus.noter(fichierEquipes(groupe));
        equipes = lireEquipes(fichierEquipes(groupe));
    } catch (const platform::Exception &) {
        erreur = std::current_exception();
        // A missing file is an empty list; one that is there but could not
        // be read is not.
        if (LineFile::present(fichierEquipes(groupe)))
            m_equipesIllisibles = fichierEquipes(groupe);
    }
    remplir(CB_Compos, equipes);
    remplir(CB_Adversaire, equipes);
    choisir(CB_Compos, equipes.isEmpty() ? -1 : 0);
    choisir(CB_Adversaire, equipes.isEmpty() ? -1 : 0);
    if (erreur)
        ShowException(erreur);
}

// --- Activation and lists ---------------------------------------------------

void TVorn_FResultat_Quatre::FormActivate()
{
    // Back from another window: a sheet typed and not recorded stays as it
    // was, with the lists that name its match. Only the group's cross table,
    // which recording adds to, is read again. The season commands asked
    // about the sheet before they changed the season.
    const PorteeSaison saison(m_saisonMontree);
    if (SaisonEnCours == m_saisonMontree.nom() && !feuillesNonEnregistrees().isEmpty()) {
        if (CB_Groupe->currentIndex() >= 0) {
            verifierCpo(fichierTableau(CB_Groupe->currentIndex()), GenreCpo::Tableau);
            ChargerTableauGroupe();
        }
        return;
    }
    {
        // The files shown next are read whole before anything changes: a
        // file refused leaves the window as it was, its sheet included.
        SaisonLue suivante;
        suivante.lire();
        const PorteeSaison portee(suivante);
        if (suivante.ouverte() && !verifierCpo(fichierPoules(), GenreCpo::Noms).isEmpty())
            verifierGroupe(0);
    }
    // The season changed without the window being asked (the settings file
    // names another one, or cannot be read any more): the sheet is asked
    // about, and recorded, in its own season; "Annuler" keeps it shown.
    if (!quitterMatch())
        return;
    m_saisonMontree.lire();
    // What was typed for the sheets of another match is not added to.
    Donnee->clear();
    remplir(CB_Groupe, {});
    EdAjoutGroupe->hide();
    Ed_Compo->hide();
    Ed_FMatch->hide();
    Ed_IV->hide();
    QStringList groupes;
    m_groupesIllisibles.clear();
    m_lus.oublier();
    try {
        if (m_saisonMontree.ouverte()) {
            m_lus.noter(fichierPoules());
            lireCpo(fichierPoules(), GenreCpo::Noms, groupes);
        }
    } catch (const platform::Exception &) {
        // Nothing of the groups' files may stay shown, and a group added to
        // the empty list must not replace the file.
        m_groupesIllisibles = fichierPoules();
        afficherGroupes({});
        throw;
    }
    afficherGroupes(groupes);
}

void TVorn_FResultat_Quatre::relireGroupes()
{
    if (m_groupesIllisibles.isEmpty())
        return;
    QStringList groupes;
    try {
        m_lus.noter(fichierPoules());
        lireCpo(fichierPoules(), GenreCpo::Noms, groupes);
    } catch (const EFichierGroupeAbime &) {
        // Readable now, but damaged: said as such, with its line.
        throw;
    } catch (const platform::Exception &) {
        throw fichierIllisible(m_groupesIllisibles);
    }
    m_groupesIllisibles.clear();
    afficherGroupes(groupes);
}

void TVorn_FResultat_Quatre::relireEquipesEtTableau()
{
    if (!m_equipesIllisibles.isEmpty()) {
        QStringList equipes;
        try {
            m_lus.noter(m_equipesIllisibles);
            equipes = lireEquipes(m_equipesIllisibles);
        } catch (const EFichierGroupeAbime &) {
            // Readable now, but damaged: said as such, with its line.
            throw;
        } catch (const platform::Exception &) {
            throw fichierIllisible(m_equipesIllisibles);
        }
        m_equipesIllisibles.clear();
        remplir(CB_Compos, equipes);
        remplir(CB_Adversaire, equipes);
        choisir(CB_Compos, equipes.isEmpty() ? -1 : 0);
        choisir(CB_Adversaire, equipes.isEmpty() ? -1 : 0);
        RafraichirFormulaire();
    }
    relireTableau();
}

void TVorn_FResultat_Quatre::relireTableau()
{
    if (m_tableauIllisible.isEmpty())
        return;
    const QString fichier = m_tableauIllisible;
    try {
        ChargerTableauGroupe();
    } catch (const EFichierGroupeAbime &) {
        // Readable now, but damaged: said as such, with its line.
        throw;
    } catch (const platform::Exception &) {
        throw fichierIllisible(fichier);
    }
}

// Shows the groups and selects the first one with its teams, or empties the
// team lists when there is none.
void TVorn_FResultat_Quatre::afficherGroupes(const QStringList &groupes)
{
    remplir(CB_Groupe, groupes);
    if (!groupes.isEmpty()) {
        choisir(CB_Groupe, 0);
        chargerEquipes(0);
    } else {
        choisir(CB_Groupe, -1);
        remplir(CB_Compos, {});
        remplir(CB_Adversaire, {});
        m_equipesIllisibles.clear();
        m_tableauIllisible.clear();
    }
    RafraichirFormulaire();
}

void TVorn_FResultat_Quatre::CB_GroupeChange()
{
    const PorteeSaison saison(m_saisonMontree);
    if (CB_Groupe->currentIndex() >= 0) {
        try {
            verifierGroupe(CB_Groupe->currentIndex());
        } catch (const EFichierGroupeAbime &) {
            // The group shown stays chosen.
            choisir(CB_Groupe, m_groupeMontre);
            throw;
        }
    }
    if (!quitterMatch())
        return;
    if (CB_Groupe->count() > 0 && CB_Groupe->currentIndex() >= 0)
        chargerEquipes(CB_Groupe->currentIndex());
    RafraichirFormulaire();
}

void TVorn_FResultat_Quatre::CB_AdversaireChange()
{
    const PorteeSaison saison(m_saisonMontree);
    try {
        if (m_saisonMontree.ouverte())
            verifierCpo(LineFile::present(NomFichierMatch(0)) ? NomFichierMatch(0)
                                                              : NomFichierMatch(1),
                        GenreCpo::Match);
    } catch (const EFichierGroupeAbime &) {
        // The match shown stays, with the teams that name it.
        choisir(CB_Compos, m_composMontre);
        choisir(CB_Adversaire, m_adversaireMontre);
        throw;
    }
    if (!quitterMatch())
        return;
    chargerMatch(true);
}

void TVorn_FResultat_Quatre::BtAjouGroupeClick()
{
    if (!EdAjoutGroupe->isHidden() && !EdAjoutGroupe->text().isEmpty()) {
        const EcritureSaison saison(m_saisonMontree);
        if (!quitterMatch())
            return;
        relireGroupes();
        QStringList groupes = elements(CB_Groupe);
        groupes << champSaisi(EdAjoutGroupe->text());
        // The group's team file and the groups file, both or neither.
        LineFile::checkWritable(fichierEquipes(groupes.size() - 1));
        LineFile::checkWritable(fichierPoules());
        if (!fichiersInchanges({fichierEquipes(groupes.size() - 1), fichierPoules()}))
            return;
        // The lists change once the files hold the group; a write that
        // fails leaves them, and the name typed, as they were.
        ecrireLesDeux(fichierEquipes(groupes.size() - 1), {}, fichierPoules(), groupes);
        m_lus.noter(fichierEquipes(groupes.size() - 1));
        m_lus.noter(fichierPoules());
        remplir(CB_Compos, {});
        remplir(CB_Groupe, groupes);
        EdAjoutGroupe->clear();
        m_equipesIllisibles.clear();
        choisir(CB_Groupe, groupes.size() - 1);
        remplir(CB_Adversaire, {});
        choisir(CB_Compos, -1);
        choisir(CB_Adversaire, -1);
        EdAjoutGroupe->hide();
        RafraichirFormulaire();
        return;
    }
    // Only the name's field shows or hides: the sheet shown stays as typed.
    EdAjoutGroupe->setVisible(EdAjoutGroupe->isHidden());
}

void TVorn_FResultat_Quatre::BtSuprGroupeClick()
{
    const int g = CB_Groupe->currentIndex();
    if (g < 0)
        return;
    const EcritureSaison saison(m_saisonMontree);
    if (!quitterMatch())
        return;
    if (MessageDlg(kConfirmer, mtWarning, mbYes | mbNo) != mrYes)
        return;
    // What cannot be written at all is said as such first.
    LineFile::checkWritable(fichierPoules());
    if (!fichiersInchanges({fichierPoules()}))
        return;
    supprimerGroupe(g, elements(CB_Groupe));
    m_lus.noter(fichierPoules());
    QStringList groupes = elements(CB_Groupe);
    groupes.removeAt(g);
    afficherGroupes(groupes);
}

void TVorn_FResultat_Quatre::BtAjoutComposClick()
{
    const int g = CB_Groupe->currentIndex();
    if (g >= 0 && !Ed_Compo->isHidden() && !Ed_Compo->text().isEmpty()) {
        const EcritureSaison saison(m_saisonMontree);
        if (!quitterMatch())
            return;
        relireEquipesEtTableau();
        LineFile::checkWritable(fichierEquipes(g));
        LineFile::checkWritable(fichierTableau(g));
        if (!fichiersInchanges({fichierEquipes(g), fichierTableau(g)}))
            return;
        QStringList equipes = elements(CB_Compos);
        equipes << champSaisi(Ed_Compo->text());
        // The new table first: a total that cannot be worked out stops the
        // command before the team file changes.
        TableauGroupe nouveau = m_tableau;
        nouveau.ajouterEquipe(equipes);
        ecrireLesDeux(fichierEquipes(g), equipes, fichierTableau(g), nouveau.versLignes());
        m_lus.noter(fichierEquipes(g));
        m_lus.noter(fichierTableau(g));
        Ed_Compo->clear();
        remplir(CB_Compos, equipes);
        remplir(CB_Adversaire, equipes);
        choisir(CB_Compos, 0);
        choisir(CB_Adversaire, 0);
        m_tableau = nouveau;
        Ed_Compo->hide();
        RafraichirFormulaire();
        return;
    }
    // Only the name's field shows or hides: the sheet shown stays as typed.
    Ed_Compo->setVisible(Ed_Compo->isHidden());
}

bool TVorn_FResultat_Quatre::aDesResultats(int equipe) const
{
    if (m_tableau.ligneAResultat(equipe + 1) || m_tableau.colonneAResultat(equipe + 1))
        return true;
    for (const FichierMatchTrouve &f : fichiersMatchDuGroupe(CB_Groupe->currentIndex()))
        if (f.equipeA == equipe || f.equipeB == equipe)
            return true;
    return false;
}

void TVorn_FResultat_Quatre::BtSupprComposClick()
{
    const int g = CB_Groupe->currentIndex();
    const int t = CB_Compos->currentIndex();
    if (g < 0 || t < 0)
        return;
    const EcritureSaison saison(m_saisonMontree);
    if (!quitterMatch())
        return;
    if (MessageDlg(kConfirmer, mtWarning, mbYes | mbNo) != mrYes)
        return;
    relireEquipesEtTableau();
    // Teams are known by their position: removing one that has results, or
    // that precedes a team with results, would move those results onto
    // other teams.
    for (int k = t; k < CB_Compos->count(); ++k) {
        if (aDesResultats(k)) {
            MessageDlg(QStringLiteral("Suppression impossible : des résultats sont enregistrés "
                                      "pour cette équipe ou une équipe suivante"),
                       mtWarning, mbOK);
            return;
        }
    }
    QStringList equipes = elements(CB_Compos);
    equipes.removeAt(t);
    LineFile::checkWritable(fichierEquipes(g));
    if (!equipes.isEmpty())
        LineFile::checkWritable(fichierTableau(g));
    if (!fichiersInchanges({fichierEquipes(g), fichierTableau(g)}))
        return;
    TableauGroupe nouveau = m_tableau;
    nouveau.retirerEquipe(equipes);
    if (equipes.isEmpty())
        ecrireCpo(fichierEquipes(g), equipes);
    else
        ecrireLesDeux(fichierEquipes(g), equipes, fichierTableau(g), nouveau.versLignes());
    m_lus.noter(fichierEquipes(g));
    m_lus.noter(fichierTableau(g));
    remplir(CB_Compos, equipes);
    remplir(CB_Adversaire, equipes);
    m_tableau = nouveau;
    if (!equipes.isEmpty()) {
        choisir(CB_Compos, 0);
        choisir(CB_Adversaire, 0);
    } else {
        choisir(CB_Compos, -1);
        choisir(CB_Adversaire, -1);
    }
    RafraichirFormulaire();
}

void TVorn_FResultat_Quatre::BtCrerFMAtchClick()
{
    if (CB_Compos->count() == 0)
        return;
    if (Ed_FMatch->isHidden()) {
        Ed_FMatch->show();
        Ed_IV->show();
        return;
    }
    const int a = CB_Compos->currentIndex();
    const int b = CB_Adversaire->currentIndex();
    if (!Ed_FMatch->text().isEmpty() && a >= 0 && b >= 0 && CB_Groupe->currentIndex() >= 0) {
        const QString nom = champSaisi(Ed_FMatch->text());
        const QStringList feuille = FeuilleMatch::nouvelleFeuille(
            nom, Ed_IV->text(), CB_Groupe->currentText(), CB_Compos->currentText(), a,
            CB_Adversaire->currentText(), b);
        garderFeuilleMontree();
        // Before an incomplete tail, so that every sheet keeps its slot.
        const int base = 50 * m_feuilles;
        for (int i = 0; i < feuille.size(); ++i)
            LignesMatch.insert(base + i, feuille[i]);
        ++m_feuilles;
        m_chiffresCalcules.append(ChiffresFeuille(LignesMatch, base));
        {
            const QSignalBlocker bloque(TabControl1);
            TabControl1->addTab(nom);
            TabControl1->setCurrentIndex(TabControl1->count() - 1);
        }
        TabControl1->show();
        PanneauFeuille->show();
        AfficherFeuille(base);
        Ed_FMatch->clear();
        Ed_IV->setText(QStringLiteral("400"));
    }
    Ed_FMatch->hide();
    Ed_IV->hide();
}

void TVorn_FResultat_Quatre::garderFeuilleMontree()
{
    // What was typed on the sheet left stays with it, asked about and
    // recorded with the match.
    if (m_feuilleMontree >= 0 && m_feuilleMontree < m_feuilles)
        EnregistrerFeuille(FeuilleMatch::Lignes * m_feuilleMontree);
}

void TVorn_FResultat_Quatre::TabControl1Change()
{
    garderFeuilleMontree();
    if (TabControl1->currentIndex() >= 0)
        AfficherFeuille(baseFeuille());
}

void TVorn_FResultat_Quatre::BtQuitterClick()
{
    if (!quitterMatch())
        return;
    Hide();
}

bool TVorn_FResultat_Quatre::CloseQuery()
{
    // The close box, and the end of the run while the window holds the
    // sheet (switching to another window left it there). Recording may
    // fail: the window then stays, and the error is shown.
    return quitterMatch();
}

QList<int> TVorn_FResultat_Quatre::feuillesNonEnregistrees() const
{
    if (m_feuilles == 0)
        return {};
    QStringList maintenant = LignesMatch;
    if (TabControl1->currentIndex() >= 0)
        feuilleAffichee().enregistrer(maintenant, baseFeuille());
    return FeuillesModifiees(m_matchLu, maintenant, m_feuilles);
}

std::optional<platform::TravailEnAttente> TVorn_FResultat_Quatre::travailEnAttente()
{
    const QList<int> feuilles = feuillesNonEnregistrees();
    if (feuilles.isEmpty())
        return std::nullopt;
    // Every sheet changed is named: the answer is for all of them, the
    // match file holding them together.
    QStringList noms;
    for (int s : feuilles)
        noms << platform::excerpt(Champ(LignesMatch, FeuilleMatch::Lignes * s, 0));
    const bool une = noms.size() == 1;
    const QString dernier = noms.takeLast();
    const QString nommees =
        (une ? QStringLiteral("La feuille ") : QStringLiteral("Les feuilles ")) +
        (noms.isEmpty() ? dernier
                        : noms.join(QStringLiteral(", ")) + QStringLiteral(" et ") + dernier);
    platform::TravailEnAttente travail;
    if (!QFileInfo(m_saisonMontree.dossier()).isDir()) {
        // Recording would be refused: what is left is to drop the changes,
        // or to stay while the folder is put back.
        travail.question =
            nommees +
            (une ? QStringLiteral(" n'est pas enregistrée et ne peut plus l'être : ")
                 : QStringLiteral(" ne sont pas enregistrées et ne peuvent plus l'être : ")) +
            dossierSaisonDisparu(m_saisonMontree.nom()) +
            (une ? QStringLiteral(".\nVoulez-vous abandonner ses changements ?")
                 : QStringLiteral(".\nVoulez-vous abandonner leurs changements ?"));
        travail.avertissement = true;
    } else {
        // Another season opened meanwhile is named: the sheets go to their own.
        travail.question =
            nommees +
            (une ? QStringLiteral(" n'est pas enregistrée.\nVoulez-vous l'enregistrer")
                 : QStringLiteral(" ne sont pas enregistrées.\nVoulez-vous les enregistrer")) +
            ailleursQueSaisonOuverte(m_saisonMontree) + QStringLiteral(" ?");
        travail.enregistrer = [this] { return enregistrerMatch(); };
    }
    // Dropped: what the window holds is the file again. A file that cannot
    // be read was told so when it was shown; the window then holds no
    // sheet, which is what leaving needs.
    travail.abandon = [this] {
        const PorteeSaison portee(m_saisonMontree);
        const std::array<int, 3> alors = listesChoisies();
        choisirListes({m_groupeMontre, m_composMontre, m_adversaireMontre});
        try {
            ChargerMatch();
        } catch (const platform::Exception &) {
        }
        choisirListes(alors);
    };
    return travail;
}

bool TVorn_FResultat_Quatre::quitterMatch()
{
    if (feuillesNonEnregistrees().isEmpty())
        return true;
    const PorteeSaison saison(m_saisonMontree);
    const std::array<int, 3> choix = listesChoisies();
    // The lists show the match in question while it is asked about, and
    // the match file is named after them when it is recorded.
    choisirListes({m_groupeMontre, m_composMontre, m_adversaireMontre});
    if (!demanderTravail())
        return false;
    choisirListes(choix);
    return true;
}

std::array<int, 3> TVorn_FResultat_Quatre::listesChoisies() const
{
    return {CB_Groupe->currentIndex(), CB_Compos->currentIndex(), CB_Adversaire->currentIndex()};
}

void TVorn_FResultat_Quatre::choisirListes(const std::array<int, 3> &choix)
{
    choisir(CB_Groupe, choix[0]);
    choisir(CB_Compos, choix[1]);
    choisir(CB_Adversaire, choix[2]);
}

// --- Sheet commands ---------------------------------------------------------

void TVorn_FResultat_Quatre::BtHandicapClick()
{
    FeuilleMatch f = feuilleAffichee();
    try {
        handicapFeuille(f);
    } catch (...) {
        afficherEdits(f);
        throw;
    }
    afficherEdits(f);
}

void TVorn_FResultat_Quatre::Bt_PenaliteClick()
{
    FeuilleMatch f = feuilleAffichee();
    penaliteFeuille(f, Bt_Penalite->text());
    afficherEdits(f);
}

void TVorn_FResultat_Quatre::BtCalculMacthClick()
{
    if (TabControl1->currentIndex() < 0)
        return;
    FeuilleMatch f = feuilleAffichee();
    try {
        calculerFeuille(f);
    } catch (const ECalculPV &e) {
        afficherEdits(f);
        MessageDlg(e.Message(), mtWarning, mbOK);
        return;
    } catch (...) {
        afficherEdits(f);
        throw;
    }
    afficherEdits(f);
    EnregistrerFeuille(baseFeuille());
    const int s = TabControl1->currentIndex();
    while (m_chiffresCalcules.size() <= s)
        m_chiffresCalcules.append(QStringList());
    m_chiffresCalcules[s] = ChiffresFeuille(LignesMatch, baseFeuille());
    MessageDlg(messageCalculQuatre(), mtInformation, mbOK);
}

void TVorn_FResultat_Quatre::SaisirJoueurs(int equipe, int miTemps)
{
    if (Donnee->text().isEmpty())
        return;
    const PorteeSaison saison(m_saisonMontree);
    const QStringList joueurs =
        manager::LireLignesJoueurs(fichierSaison(QStringLiteral("Joueur.DBP")));
    FeuilleMatch f = feuilleAffichee();
    QString texte = Donnee->text();
    saisirJoueurs(f, equipe == 0 ? Equipe::A : Equipe::B, miTemps, texte, joueurs,
                  [](const QString &numero) {
                      ShowMessage(QStringLiteral("Erreur dans le numéro ") + numero);
                  });
    Donnee->setText(texte);
    afficherEdits(f);
}

void TVorn_FResultat_Quatre::BtA1Click()
{
    SaisirJoueurs(0, 1);
}

void TVorn_FResultat_Quatre::BtA2Click()
{
    SaisirJoueurs(0, 2);
}

void TVorn_FResultat_Quatre::BtB1Click()
{
    SaisirJoueurs(1, 1);
}

void TVorn_FResultat_Quatre::BtB2Click()
{
    SaisirJoueurs(1, 2);
}

void TVorn_FResultat_Quatre::BtAiClick()
{
    FeuilleMatch f = feuilleAffichee();
    QString texte = Donnee->text();
    saisirResultat(f, texte);
    Donnee->setText(texte);
    afficherEdits(f);
}

void TVorn_FResultat_Quatre::BtNettoyageClick()
{
    FeuilleMatch f = feuilleAffichee();
    nettoyerFeuille(f);
    afficherEdits(f);
}

void TVorn_FResultat_Quatre::BtEnregistreMatchClick()
{
    if (TabControl1->currentIndex() < 0)
        return;
    enregistrerMatch();
}

bool TVorn_FResultat_Quatre::fichiersInchanges(const QStringList &chemins)
{
    try {
        for (const QString &chemin : chemins)
            m_lus.verifier(chemin);
    } catch (const EFichierChange &refus) {
        refusFichierChange(refus);
        return false;
    }
    return true;
}

void TVorn_FResultat_Quatre::refusFichierChange(const EFichierChange &refus)
{
    const int g = CB_Groupe->currentIndex();
    const auto meme = [&refus](const QString &chemin) {
        return QFileInfo(LineFile::resolve(refus.chemin())).absoluteFilePath() ==
               QFileInfo(LineFile::resolve(chemin)).absoluteFilePath();
    };
    if (!feuillesNonEnregistrees().isEmpty()) {
        // The sheet typed is the work to keep: the table it adds to is read
        // again; a match file changed outside is replaced only when the
        // user records the sheet once more, told so.
        if (meme(NomFichierMatch(0))) {
            m_lus.noter(refus.chemin());
            direFichierRelu(refus, QStringLiteral("La feuille affichée est gardée : Enregistrer "
                                                  "de nouveau remplacera le fichier par elle."));
            return;
        }
        ChargerTableauGroupe();
        direFichierRelu(refus, QStringLiteral("Le tableau du groupe est relu ; la feuille "
                                              "affichée est gardée, à enregistrer de nouveau."));
        return;
    }
    // The names typed stay in their fields, the lists show the files.
    QStringList groupes;
    m_lus.noter(fichierPoules());
    lireCpo(fichierPoules(), GenreCpo::Noms, groupes);
    afficherGroupes(groupes);
    if (g > 0 && g < groupes.size()) {
        choisir(CB_Groupe, g);
        chargerEquipes(g);
        RafraichirFormulaire();
    }
    direListeRelue(refus);
}

bool TVorn_FResultat_Quatre::enregistrerMatch()
{
    const EcritureSaison saison(m_saisonMontree);
    // Checked on the sheets as they would be stored, before any file is
    // written: a match file recorded without its table would disagree with it.
    QStringList aEnregistrer = LignesMatch;
    feuilleAffichee().enregistrer(aEnregistrer, baseFeuille());
    const int nonCalculee = FeuilleNonCalculee(aEnregistrer, m_feuilles);
    if (nonCalculee >= 0) {
        MessageDlg(
            QStringLiteral("La feuille ") +
                platform::excerpt(Champ(aEnregistrer, FeuilleMatch::Lignes * nonCalculee, 0)) +
                QStringLiteral(" n'est pas calculée : le match doit être calculé "
                               "(Calculer) avant d'être enregistré."),
            mtWarning, mbOK);
        return false;
    }
    // A sheet changed since its calculation (IMPs, deals, a correction, an
    // IV) would be recorded beside the points of what it was.
    for (int s = 0; s < m_feuilles; ++s)
        if (ChiffresFeuille(aEnregistrer, FeuilleMatch::Lignes * s) !=
            m_chiffresCalcules.value(s)) {
            MessageDlg(QStringLiteral("La feuille ") +
                           platform::excerpt(Champ(aEnregistrer, FeuilleMatch::Lignes * s, 0)) +
                           QStringLiteral(" a changé depuis son calcul : le match doit être "
                                          "calculé de nouveau (Nettoyage, puis Calculer) avant "
                                          "d'être enregistré."),
                       mtWarning, mbOK);
            return false;
        }
    // What is recorded reads back whole: every field read as a number
    // holds one (a figure typed where the calculation does not look).
    const DefautCpo defaut = defautCpo(GenreCpo::Match, aEnregistrer);
    if (defaut.ligne >= 0) {
        MessageDlg(
            QStringLiteral("La feuille ") +
                platform::excerpt(
                    Champ(aEnregistrer,
                          FeuilleMatch::Lignes * int(defaut.ligne / FeuilleMatch::Lignes), 0)) +
                QStringLiteral(" ne peut pas être enregistrée : %1 (ligne %2 de la "
                               "feuille).")
                    .arg(defaut.raison, QString::number(defaut.ligne % FeuilleMatch::Lignes + 1)),
            mtWarning, mbOK);
        return false;
    }
    // Neither the match file nor the table is written over a file of them
    // that could not be read.
    if (!m_matchIllisible.isEmpty())
        throw fichierIllisible(m_matchIllisible);
    relireTableau();
    const int g = CB_Groupe->currentIndex();
    // The match file and the table, both or neither.
    LineFile::checkWritable(NomFichierMatch(0));
    if (g >= 0)
        LineFile::checkWritable(fichierTableau(g));
    if (!fichiersInchanges(g >= 0 ? QStringList{NomFichierMatch(0), fichierTableau(g)}
                                  : QStringList{NomFichierMatch(0)}))
        return false;
    EnregistrerFeuille(baseFeuille());
    ecrireCpo(NomFichierMatch(0), LignesMatch);
    m_lus.noter(NomFichierMatch(0));
    m_matchLu = LignesMatch;
    ReportTableau r = ReportTableau::HorsTableau;
    // The list is built anew: the result file named until now holds another
    // one, which saving replaces only when the user says so.
    m_fichierResultat.clear();
    setCaption(kTitreFenetre);
    try {
        r = enregistrerHomologation(ListeHomologation, m_tableau, LignesMatch, m_feuilles,
                                    [this, g](const TableauGroupe &t) {
                                        if (g >= 0) {
                                            ecrireCpo(fichierTableau(g), t.versLignes());
                                            m_lus.noter(fichierTableau(g));
                                        }
                                    });
    } catch (...) {
        afficherTableau();
        throw;
    }
    afficherTableau();
    if (r == ReportTableau::HorsTableau)
        MessageDlg(QStringLiteral("Equipe hors du tableau du groupe : résultats non reportés"),
                   mtWarning, mbOK);
    return true;
}

void TVorn_FResultat_Quatre::Bt_load_resultatClick()
{
    if (ListeHomologation.lignes().size() < 2) {
        MessageDlg(QStringLiteral("Aucune feuille de match enregistrée : il n'y a pas de "
                                  "résultat à enregistrer. Enregistrez d'abord la feuille de "
                                  "match calculée."),
                   mtWarning, mbOK);
        return;
    }
    m_saisonMontree.verifierEcriture();
    TSaveDialog d(this);
    d.InitialDir = m_saisonMontree.dossier();
    d.Title = QStringLiteral("Sauvegarde résultat d'une épreuve ");
    d.FileName.clear();
    d.DefaultExt = QStringLiteral("Chr");
    d.Filter = QStringLiteral("au groupe (*.chr)|*.chr");
    // Another competition's results may have that name.
    d.OverwritePrompt = true;
    d.CurrentFile = m_fichierResultat;
    if (!d.Execute())
        return;
    if (QFileInfo(d.FileName).absoluteFilePath() ==
        QFileInfo(m_fichierResultat).absoluteFilePath()) {
        try {
            m_resultatLu.verifier(d.FileName);
        } catch (const EFichierChange &refus) {
            // The list is the one built from the sheets recorded: kept, and
            // no longer saved over that file without a question.
            m_fichierResultat.clear();
            setCaption(kTitreFenetre);
            direFichierRelu(refus, QStringLiteral("La liste affichée est gardée : l'enregistrer "
                                                  "de nouveau sous ce nom demandera s'il faut "
                                                  "remplacer le fichier."));
            return;
        }
    }
    // Written through a temporary file: a failure leaves an old file whole.
    LineFile::write(d.FileName, ListeHomologation.lignes());
    m_resultatLu.noter(d.FileName);
    m_fichierResultat = d.FileName;
    setCaption(PrefixeResultatQuatre + QFileInfo(d.FileName).fileName());
}

void TVorn_FResultat_Quatre::BtEditFMatchClick()
{
    if (TabControl1->count() < 1)
        return;
    impression().verifierFeuille();
    if (manager::chargerModele(*frReport1, QStringLiteral("Match_Quatre.frf")))
        frReport1->ShowReport();
}

void TVorn_FResultat_Quatre::BtEditionGroupeClick()
{
    if (manager::chargerModele(*frReport1, QStringLiteral("Groupe4_Quatre.frf")))
        frReport1->ShowReport();
}

void TVorn_FResultat_Quatre::Bt_Edition_ResultatClick()
{
    if (ListeHomologation.lignes().isEmpty())
        return;
    manager::imprimerModele(m_composants, int(ListeHomologation.lignes().size()),
                            QStringLiteral("Homologation_quatre.frf"));
}

ImpressionQuatre TVorn_FResultat_Quatre::impression() const
{
    ImpressionQuatre i;
    i.saison = m_saisonMontree.nom();
    i.groupe = CB_Groupe->currentText();
    const int onglet = TabControl1->currentIndex();
    i.onglet = onglet >= 0 ? TabControl1->tabText(onglet) : QString();
    i.legende = Caption();
    i.feuille = feuilleAffichee();
    i.tableau = &m_tableau;
    i.homologation = &ListeHomologation.lignes();
    i.totalPE = TotalPE;
    i.totalPC = TotalPC;
    i.enregistrement = frUserDataset1->RecNo;
    return i;
}

void TVorn_FResultat_Quatre::frReport1GetValue(const QString &parName, report::FrVariant &parValue)
{
    QString texte;
    if (impression().valeur(parName, texte))
        parValue = texte;
}
