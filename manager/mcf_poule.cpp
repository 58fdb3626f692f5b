#include "manager/mcf_poule.h"
#include "manager/core/fichejoueur.h"
#include "manager/core/poule.h"
#include "manager/core/vorn_dec.h"
#include "manager/fenetres.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/controls.h"
#include "platform/shell/shell.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

using platform::Champ;

namespace
{

// Sets a flag for the life of a scope, so that change handlers know the
// window is filling its own controls.
class Drapeau
{
public:
    explicit Drapeau(bool &flag) : m_flag(flag), m_ancien(flag) { m_flag = true; }
    ~Drapeau() { m_flag = m_ancien; }

private:
    bool &m_flag;
    bool m_ancien;
};

QLineEdit *edit(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(geometry);
    return e;
}

QPushButton *bouton(QWidget *parent, const QString &name, const QString &text,
                    const QRect &geometry)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    return b;
}

QLabel *label(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

} // namespace

TVorn_Fmcf_Poule::TVorn_Fmcf_Poule(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_Fmcf_Poule"), parent), m_equipes(new QButtonGroup(this))
{
    setCaption(QStringLiteral("Poules"));
    // Whole, frame included, on a 1024x600 screen.
    setFixedSize(1012, 556);

    // Header of the pool: label above its edit.
    struct Champ_ {
        QLineEdit **edit;
        const char *nom;
        const char *libelle;
        QRect zone;
    };
    const Champ_ champs[] = {
        {&EdNumero, "EdNumero", "Référence", {8, 26, 96, 26}},
        {&EdLieu, "EdLieu", "Epreuve", {110, 26, 140, 26}},
        {&EdType, "EdType", "Catégorie", {256, 26, 100, 26}},
        {&EdEntite, "EdEntite", "Entité", {362, 26, 230, 26}},
        {&EdDistrict, "EdDistrict", "District", {598, 26, 64, 26}},
        {&EdPhase, "EdPhase", "Phase", {8, 80, 110, 26}},
        {&EdGroupe, "EdGroupe", "Groupe", {124, 80, 64, 26}},
        {&EdNbTour, "EdNbTour", "NbTour", {194, 80, 60, 26}},
        {&EdNbDonnes, "EdNbDonnes", "NbDonnes", {260, 80, 76, 26}},
        {&EdNbMiTemps, "EdNbMiTemps", "Nb Mi Temps", {342, 80, 90, 26}},
    };
    for (const Champ_ &c : champs) {
        *c.edit = edit(this, QString::fromLatin1(c.nom), c.zone);
        label(this, QString::fromUtf8(c.libelle), c.zone.translated(0, -20).adjusted(0, 0, 20, -6));
        connect(*c.edit, &QLineEdit::textChanged, this,
                platform::handler(this, &TVorn_Fmcf_Poule::EdNumeroChange));
    }
    label(this, QStringLiteral("Date"), {438, 60, 120, 20});
    DTP = new QDateEdit(this);
    DTP->setObjectName(QStringLiteral("DTP"));
    DTP->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    DTP->setCalendarPopup(true);
    DTP->setDate(QDate(2014, 9, 1));
    DTP->setGeometry(438, 80, 124, 26);

    label(this, QStringLiteral("Nombre d'équipes :"), {8, 126, 140, 20});
    Spin_Equipe = new QSpinBox(this);
    Spin_Equipe->setObjectName(QStringLiteral("Spin_Equipe"));
    Spin_Equipe->setRange(0, kSlots);
    Spin_Equipe->setGeometry(150, 122, 60, 26);

    // Team slots, two columns of fourteen.
    m_equipes->setExclusive(true);
    for (int i = 1; i <= kSlots; ++i) {
        const int x = i <= 14 ? 8 : 332;
        const int y = 156 + ((i - 1) % 14) * 28;
        RB[i] = new QRadioButton(QString::number(i), this);
        RB[i]->setObjectName(QStringLiteral("RB%1").arg(i));
        RB[i]->setGeometry(x, y, 44, 26);
        m_equipes->addButton(RB[i], i);
        CB[i] = new QComboBox(this);
        CB[i]->setObjectName(QStringLiteral("CB%1").arg(i));
        CB[i]->setGeometry(x + 46, y, 240, 26);
        E[i] = edit(this, QStringLiteral("E%1").arg(i), {x + 290, y, 36, 26});
        E[i]->setReadOnly(true);
        RB[i]->setVisible(false);
        CB[i]->setVisible(false);
        E[i]->setVisible(false);
    }

    // The current player and its search.
    const int x = 670;
    const int w = 334;
    RadioGroup1 = new platform::TRadioGroup(
        QStringLiteral("RadioGroup1"), QStringLiteral("Rechecher  par "),
        {QStringLiteral("Numéros de licences"), QStringLiteral("Nom")}, this);
    RadioGroup1->setGeometry(x, 8, w, 78);
    RadioGroup1->setItemIndex(1);
    ELicence = edit(this, QStringLiteral("ELicence"), {x, 92, w, 26});
    ENom = edit(this, QStringLiteral("ENom"), {x, 92, w, 26});
    ELicence->setVisible(false);
    EdLicence = edit(this, QStringLiteral("EdLicence"), {x, 130, 110, 26});
    EdTitre = edit(this, QStringLiteral("EdTitre"), {x + 116, 130, 80, 26});
    EdIv = edit(this, QStringLiteral("EdIv"), {x + 202, 130, w - 202, 26});
    EdNom = edit(this, QStringLiteral("EdNom"), {x, 162, 150, 26});
    EdPrenom = edit(this, QStringLiteral("EdPrenom"), {x + 156, 162, w - 156, 26});
    // The search and the player it finds: what the pool holds is elsewhere.
    for (QLineEdit *e : {ELicence, ENom, EdLicence, EdTitre, EdNom, EdPrenom, EdIv})
        champDeReglage(e);
    Premier = bouton(this, QStringLiteral("Premier"), QStringLiteral("Premier"), {x, 198, 82, 30});
    Precedent = bouton(this, QStringLiteral("Precedent"), QStringLiteral("Précédant"),
                       {x + 84, 198, 82, 30});
    Suivant =
        bouton(this, QStringLiteral("Suivant"), QStringLiteral("Suivant"), {x + 168, 198, 82, 30});
    Dernier =
        bouton(this, QStringLiteral("Dernier"), QStringLiteral("Dernier"), {x + 252, 198, 82, 30});
    Button4 = bouton(this, QStringLiteral("Button4"),
                     QStringLiteral("Valide le nom pour une Equipe"), {x, 248, w, 32});
    Suppression = bouton(this, QStringLiteral("Suppression"),
                         QStringLiteral("Enlève les joueurs d'une Equipe"), {x, 286, w, 32});
    Ranger = bouton(this, QStringLiteral("Ranger"),
                    QStringLiteral("Rangement des Equipes par ordre d'Indice de Valeur"),
                    {x, 334, w, 32});
    Button1 =
        bouton(this, QStringLiteral("Button1"), QStringLiteral("Créer Fichier"), {x, 382, w, 32});
    BtCourriel = bouton(this, QStringLiteral("BtCourriel"), QStringLiteral("Courriel aux joueurs"),
                        {x, 420, w, 32});
    Quitter = bouton(this, QStringLiteral("Quitter"), QStringLiteral("Quitter"), {x, 514, w, 32});
    Button4->setEnabled(false);
    Suppression->setEnabled(false);

    using platform::handler;
    using W = TVorn_Fmcf_Poule;
    connect(RadioGroup1, &platform::TRadioGroup::clicked, this,
            handler(this, &W::RadioGroup1Click));
    connect(ELicence, &QLineEdit::textChanged, this, handler(this, &W::ELicenceChange));
    connect(ENom, &QLineEdit::textChanged, this, handler(this, &W::ENomChange));
    connect(Premier, &QPushButton::clicked, this, handler(this, &W::PremierClick));
    connect(Precedent, &QPushButton::clicked, this, handler(this, &W::PrecedentClick));
    connect(Suivant, &QPushButton::clicked, this, handler(this, &W::SuivantClick));
    connect(Dernier, &QPushButton::clicked, this, handler(this, &W::DernierClick));
    connect(Button4, &QPushButton::clicked, this, handler(this, &W::Button4Click));
    connect(Suppression, &QPushButton::clicked, this, handler(this, &W::SuppressionClick));
    connect(Ranger, &QPushButton::clicked, this, handler(this, &W::RangerClick));
    connect(Spin_Equipe, &QSpinBox::valueChanged, this, handler(this, &W::Spin_EquipeChange));
    connect(m_equipes, &QButtonGroup::idClicked, this, handler(this, &W::RB1Click));
    connect(DTP, &QDateEdit::dateChanged, this, handler(this, &W::DTPChange));
    connect(Button1, &QPushButton::clicked, this, handler(this, &W::Button1Click));
    connect(BtCourriel, &QPushButton::clicked, this, handler(this, &W::BtCourrielClick));
    connect(Quitter, &QPushButton::clicked, this, handler(this, &W::QuitterClick));
}

// The end of the run asks first (see travailEnAttente): nothing is written
// once the windows go.
TVorn_Fmcf_Poule::~TVorn_Fmcf_Poule() = default;

std::optional<platform::TravailEnAttente> TVorn_Fmcf_Poule::travailEnAttente()
{
    if (!m_affiche || !pouleModifiee())
        return std::nullopt;
    platform::TravailEnAttente travail;
    travail.question =
        QStringLiteral("La poule affichée n'est pas enregistrée dans %1")
            .arg(QDir::toNativeSeparators(platform::LineFile::resolve(m_cheminPoule))) +
        (m_refusPoule.isEmpty() ? QStringLiteral(".") : QStringLiteral(" :\n") + m_refusPoule) +
        QStringLiteral("\nVoulez-vous l'abandonner ?");
    // Written as leaving the window writes it; the window stays as it is.
    travail.enregistrer = [this] {
        const bool chargee = m_pouleChargee;
        m_pouleChargee = true;
        try {
            sauvePoule();
        } catch (const platform::Exception &refus) {
            m_refusPoule = refus.Message();
            m_pouleChargee = chargee;
            return false;
        }
        m_refusPoule.clear();
        m_pouleChargee = chargee;
        return true;
    };
    travail.enregistreeEnPartant = true;
    // Dropped: the next activation shows the file again.
    travail.abandon = [this] {
        m_poule = m_pouleLue;
        m_refusPoule.clear();
        m_affiche = false;
    };
    return travail;
}

std::array<QLineEdit *, 10> TVorn_Fmcf_Poule::entete() const
{
    return {EdNumero, EdLieu,   EdType,   EdEntite,   EdDistrict,
            EdPhase,  EdGroupe, EdNbTour, EdNbDonnes, EdNbMiTemps};
}

QString TVorn_Fmcf_Poule::ligneEquipe(int t) const
{
    return t >= 0 && t < m_poule.size() ? m_poule.at(t) : QString();
}

void TVorn_Fmcf_Poule::FormActivate()
{
    const bool memes = m_affiche && m_saison.nom() == SaisonEnCours &&
                       m_empreinte == empreinteFichier(fichierSaison(QStringLiteral("Joueur.DBP")));
    // "Poule.txt" changed on disk while the pool shown holds changes not
    // written: the user chooses; kept, it is written over the file.
    bool garder = true;
    if (m_affiche && m_fichierPoule.change() && pouleModifiee()) {
        garder = !relireFichierChange(m_cheminPoule);
        if (garder)
            m_fichierPoule.noter(m_cheminPoule);
    }
    if (memes && garder && !m_fichierPoule.change()) {
        // Written back when the window is left, if changed.
        m_pouleChargee = true;
        return;
    }
    if (garder)
        sauvePoule();
    // The pool is written back when the window is left: with no season,
    // nothing of the program folder is read or written as its files.
    SaisonLue saison;
    saison.lire();
    saison.verifierEcriture();
    // Both files read whole before the window lets go of what it shows: a
    // damaged one is refused, and no pool is written back over it.
    const QString cheminPoule = fichierSaison(QStringLiteral("Poule.txt"));
    FichierLu fichierPoule;
    fichierPoule.noter(cheminPoule);
    QStringList joueurs = manager::LireLignesJoueurs(fichierSaison(QStringLiteral("Joueur.DBP")));
    const QStringList pouleLue = LirePoule(cheminPoule);
    m_affiche = false;
    Drapeau chargement(m_chargement);
    m_saison = saison;
    m_joueurs = std::move(joueurs);
    m_empreinte = empreinteFichier(fichierSaison(QStringLiteral("Joueur.DBP")));
    m_courant = -1;
    if (RadioGroup1->ItemIndex() == 1) {
        afficheJoueur();
        ENom->setFocus();
    } else {
        TrieJoueursLicence(m_joueurs, m_courant);
        afficheJoueur();
        ELicence->setFocus();
    }

    m_cheminPoule = cheminPoule;
    m_fichierPoule = fichierPoule;
    m_pouleLue = pouleLue;
    m_poule = m_pouleLue;
    if (m_poule.isEmpty())
        m_poule = QStringList{LigneEnteteDefaut(LireReglagesPoule(fichierIni()))};
    m_pouleChargee = true;

    for (int i = 1; i <= kSlots; ++i) {
        RB[i]->setVisible(false);
        CB[i]->setVisible(false);
        E[i]->setVisible(false);
    }
    // With 0 teams too, so that the count never stays from the last pool.
    Spin_Equipe->setValue(int(qMin<qsizetype>(m_poule.size() - 1, kSlots)));
    Spin_EquipeChange();

    const auto edits = entete();
    for (int f = 0; f < 10; ++f)
        edits[std::size_t(f)]->setText(Champ(m_poule.at(0), f));
    platform::TDateTime date = 0;
    if (platform::TryStrToDate(Champ(m_poule.at(0), 10), date)) {
        const QSignalBlocker bloque(DTP);
        DTP->setDate(platform::dateOf(date));
    }
    m_affiche = true;
}

void TVorn_Fmcf_Poule::FormDeactivate()
{
    // What the window shows stays for its return.
    try {
        sauvePoule();
    } catch (const EFichierChange &refus) {
        m_refusPoule = refus.Message();
        direFichierRelu(refus, QStringLiteral("La poule affichée reste dans la fenêtre : en y "
                                              "revenant, vous choisirez entre elle et le "
                                              "fichier."));
    }
}

void TVorn_Fmcf_Poule::sauvePoule()
{
    if (!m_pouleChargee)
        return;
    // Still to be written while the write fails (a full disk): the pool
    // typed stays, and the next switch or close tries again.
    if (pouleModifiee()) {
        m_saison.verifierEcriture();
        m_fichierPoule.verifier(m_cheminPoule);
        platform::LineFile::write(m_cheminPoule, m_poule);
        m_fichierPoule.noter(m_cheminPoule);
        m_pouleLue = m_poule;
    }
    m_pouleChargee = false;
}

void TVorn_Fmcf_Poule::afficheJoueur()
{
    if (m_courant == -1 && !m_joueurs.isEmpty())
        m_courant = 0;
    if (m_courant < 0 || m_courant >= m_joueurs.size()) {
        EdLicence->setText(QStringLiteral("000000"));
        EdTitre->clear();
        EdNom->clear();
        EdPrenom->clear();
        EdIv->clear();
        return;
    }
    const QString &l = m_joueurs.at(m_courant);
    EdLicence->setText(Champ(l, 0));
    EdTitre->setText(Champ(l, 1));
    EdNom->setText(Champ(l, 2));
    EdPrenom->setText(Champ(l, 3));
    EdIv->setText(Champ(l, 4));
}

void TVorn_Fmcf_Poule::RadioGroup1Click()
{
    const bool parLicence = RadioGroup1->ItemIndex() == 0;
    if (parLicence)
        TrieJoueursLicence(m_joueurs, m_courant);
    else
        TrieJoueursNom(m_joueurs, m_courant);
    ELicence->setVisible(parLicence);
    ENom->setVisible(!parLicence);
    afficheJoueur();
    (parLicence ? ELicence : ENom)->setFocus();
}

void TVorn_Fmcf_Poule::ELicenceChange()
{
    if (ELicence->text().isEmpty())
        return;
    const int i = ChercheLicence(m_joueurs, ELicence->text());
    if (i >= 0) {
        m_courant = i;
        afficheJoueur();
    }
}

void TVorn_Fmcf_Poule::ENomChange()
{
    const int i = ChercheNom(m_joueurs, ENom->text());
    if (i >= 0) {
        m_courant = i;
        afficheJoueur();
    }
}

void TVorn_Fmcf_Poule::PremierClick()
{
    if (!m_joueurs.isEmpty())
        m_courant = 0;
    afficheJoueur();
}

void TVorn_Fmcf_Poule::PrecedentClick()
{
    if (m_courant > 0)
        --m_courant;
    afficheJoueur();
}

void TVorn_Fmcf_Poule::SuivantClick()
{
    if (m_courant < m_joueurs.size() - 1)
        ++m_courant;
    afficheJoueur();
}

void TVorn_Fmcf_Poule::DernierClick()
{
    m_courant = int(m_joueurs.size()) - 1;
    afficheJoueur();
}

void TVorn_Fmcf_Poule::Spin_EquipeChange()
{
    const int n = Spin_Equipe->value();
    if (!m_chargement && m_pouleChargee && m_poule.size() - 1 > n) {
        // Teams that the smaller count leaves out lose their players: only
        // when the user says so.
        QStringList pleines;
        for (int i = n + 1; i < m_poule.size(); ++i)
            if (!JoueursEquipe(ligneEquipe(i)).isEmpty())
                pleines << QString::number(i);
        if (!pleines.isEmpty() &&
            platform::MessageDlg(
                QStringLiteral("Réduire le nombre d'équipes à ") + QString::number(n) +
                    QStringLiteral(" retire de la poule des équipes qui ont "
                                   "des joueurs (n° ") +
                    pleines.join(QStringLiteral(", ")) +
                    QStringLiteral(").\nVoulez-vous les retirer ?"),
                platform::mtConfirmation, platform::mbYes | platform::mbNo) != platform::mrYes) {
            const QSignalBlocker bloque(Spin_Equipe);
            Spin_Equipe->setValue(int(m_poule.size() - 1));
            return;
        }
    }
    for (int i = 1; i <= kSlots; ++i) {
        const bool visible = i <= n;
        if (!visible && RB[i]->isChecked()) {
            m_equipes->setExclusive(false);
            RB[i]->setChecked(false);
            m_equipes->setExclusive(true);
        }
        RB[i]->setVisible(visible);
        CB[i]->setVisible(visible);
        E[i]->setVisible(visible);
    }
    if (!m_chargement && m_pouleChargee && !m_poule.isEmpty()) {
        // The list follows the count whatever the step the user took.
        while (m_poule.size() - 1 < n) {
            m_poule.append(LigneEquipeVide());
            CB[m_poule.size() - 1]->setCurrentText(QString());
        }
        while (m_poule.size() - 1 > n)
            m_poule.removeLast();
    }
    rafraichitEquipes();
}

void TVorn_Fmcf_Poule::RB1Click()
{
    rafraichitEquipes();
}

void TVorn_Fmcf_Poule::rafraichitEquipes()
{
    const int n = Spin_Equipe->value();
    bool choisie = false;
    for (int i = 1; i <= n; ++i) {
        const QStringList joueurs = JoueursEquipe(ligneEquipe(i));
        CB[i]->clear();
        CB[i]->addItems(joueurs);
        CB[i]->setCurrentIndex(joueurs.isEmpty() ? -1 : 0);
        E[i]->setText(QString::number(joueurs.size()));
        choisie = choisie || RB[i]->isChecked();
    }
    Button4->setEnabled(choisie);
    Suppression->setEnabled(choisie);
}

void TVorn_Fmcf_Poule::Button4Click()
{
    const QStringList joueur = {EdLicence->text(), EdTitre->text(), EdNom->text(), EdPrenom->text(),
                                EdIv->text()};
    const int n = Spin_Equipe->value();
    for (int i = 1; i <= n; ++i)
        if (RB[i]->isChecked() && i < m_poule.size())
            AjouteJoueur(m_poule[i], joueur);
    rafraichitEquipes();
}

void TVorn_Fmcf_Poule::SuppressionClick()
{
    const int n = Spin_Equipe->value();
    for (int i = 1; i <= n; ++i)
        if (RB[i]->isChecked() && i < m_poule.size())
            m_poule[i] = LigneEquipeVide();
    rafraichitEquipes();
}

void TVorn_Fmcf_Poule::RangerClick()
{
    RangeEquipes(m_poule, Spin_Equipe->value());
    rafraichitEquipes();
}

void TVorn_Fmcf_Poule::ecritEntete()
{
    if (m_poule.isEmpty())
        return;
    QStringList champs;
    for (QLineEdit *e : entete())
        champs << e->text();
    m_poule[0] = LigneEntete(champs, DTP->date().toString(QStringLiteral("dd/MM/yyyy")));
}

void TVorn_Fmcf_Poule::EdNumeroChange()
{
    if (!m_chargement)
        ecritEntete();
}

void TVorn_Fmcf_Poule::DTPChange()
{
    {
        Drapeau chargement(m_chargement);
        const EnteteDate e = EnteteDepuisDate(DTP->date());
        EdNumero->setText(e.reference);
        EdDistrict->setText(e.district);
        EdPhase->setText(e.phase);
        EdGroupe->setText(e.groupe);
    }
    if (!m_chargement)
        ecritEntete();
}

void TVorn_Fmcf_Poule::Button1Click()
{
    QStringList lignes;
    try {
        lignes = FichierInscrits(m_poule, Spin_Equipe->value(), LireReglagesPoule(fichierIni()));
    } catch (const EToursInvalides &e) {
        platform::MessageDlg(e.Message(), platform::mtError, platform::mbOK);
        return;
    }
    // The scoring software looks for a ".txt" file: a name typed without
    // an extension gets it, and the question before replacing a file is
    // about that name.
    const auto avecExtension = [](const QString &nom, int) {
        return QFileInfo(nom).suffix().isEmpty() ? nom + QStringLiteral(".txt") : nom;
    };
    m_saison.verifierEcriture();
    platform::TSaveDialog dialogue(this);
    dialogue.FileName = Champ(m_poule.value(0), 0) + QStringLiteral(".txt");
    dialogue.InitialDir = m_saison.dossier();
    dialogue.Filter = QStringLiteral("Fichier texte (*.txt)|*.txt");
    dialogue.DefaultExt = QStringLiteral("txt");
    dialogue.OverwritePrompt = true;
    dialogue.WrittenName = avecExtension;
    if (dialogue.Execute())
        platform::LineFile::write(avecExtension(dialogue.FileName, 1), lignes);
}

void TVorn_Fmcf_Poule::BtCourrielClick()
{
    QStringList licences;
    const int n = Spin_Equipe->value();
    for (int i = 1; i <= n; ++i)
        licences += LicencesEquipe(ligneEquipe(i));
    const QStringList adresses = AdressesCourriel(m_joueurs, licences);
    if (adresses.isEmpty()) {
        platform::ShowMessage(QStringLiteral("Pas d'adresse de courriel valide"));
        return;
    }
    platform::ShowMessage(QStringLiteral("Choisir son compte Courriel"));
    platform::OpenMailLink(QStringLiteral("mailto:") + adresses.join(QLatin1Char(';')));
}

void TVorn_Fmcf_Poule::QuitterClick()
{
    Hide();
}
