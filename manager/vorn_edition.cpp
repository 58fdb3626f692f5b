#include "manager/vorn_edition.h"

#include "manager/core/fichejoueur.h"
#include "manager/core/poule.h"
#include "manager/core/vorn_dec.h"
#include "manager/fenetres.h"
#include "manager/impression.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/controls.h"
#include "platform/shell/shell.h"
#include "platform/text/linefile.h"
#include "report/objects/frreport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using platform::Champ;

namespace
{

QLineEdit *edit(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(geometry);
    return e;
}

QPushButton *bouton(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    return b;
}

// The hourglass for the life of a scope.
class Sablier
{
public:
    Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sablier() { QApplication::restoreOverrideCursor(); }
    Sablier(const Sablier &) = delete;
    Sablier &operator=(const Sablier &) = delete;
};

} // namespace

TVorn_FEdition::TVorn_FEdition(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_FEdition"), parent)
{
    setCaption(QStringLiteral("Consultattion des Joueurs du Comité"));
    // A search and the address of an envelope: nothing here is recorded.
    champDeReglage(this);
    setFixedSize(800, 520);

    // Each edit under its label; the field of the players file it shows is
    // given by its place in fiche().
    struct Zone {
        QLineEdit **edit;
        const char *nom;
        const char *libelle;
        QRect zone;
    };
    const Zone zones[] = {
        {&EdLicence, "EdLicence", "Licence", {12, 30, 100, 24}},
        {&EdTytre, "EdTytre", "Titre", {118, 30, 60, 24}},
        {&EdNom, "EdNom", "Nom", {184, 30, 200, 24}},
        {&EdPrenom, "EdPrenom", "Prénom", {390, 30, 160, 24}},
        {&EdAge, "EdAge", "Saison", {556, 30, 60, 24}},
        {&EdIv, "EdIv", "Indice", {12, 84, 60, 24}},
        {&EdClassement, "EdClassement", "Classement", {78, 84, 90, 24}},
        {&EdClub, "EdClub", "Club", {174, 84, 250, 24}},
        {&EdCompet, "EdCompet", "Type de licence", {430, 84, 186, 24}},
        {&EdAdress1, "EdAdress1", "Adresse", {12, 138, 404, 24}},
        {&EdAdress2, "EdAdress2", "", {12, 166, 404, 24}},
        {&EDAdress3, "EDAdress3", "", {12, 194, 404, 24}},
        {&AdCode, "AdCode", "Code postal", {12, 242, 90, 24}},
        {&EdVille, "EdVille", "Ville", {108, 242, 308, 24}},
        {&EdMail, "EdMail", "Courriel", {12, 296, 404, 24}},
        {&EdPhon1, "EdPhon1", "Téléphone domicile", {430, 138, 186, 24}},
        {&EdPhon2, "EdPhon2", "Téléphone bureau", {430, 192, 186, 24}},
        {&EdPhon3, "EdPhon3", "Téléphone portable", {430, 246, 186, 24}},
        {&EdNaissance, "EdNaissance", "Né(e) le", {430, 296, 186, 24}},
    };
    for (const Zone &z : zones) {
        *z.edit = edit(this, z.nom, z.zone);
        // The window only shows the players file: typing would be lost at
        // the next record without a word.
        (*z.edit)->setReadOnly(true);
        if (*z.libelle) {
            auto *l = new QLabel(QString::fromUtf8(z.libelle), this);
            l->setGeometry(z.zone.x(), z.zone.y() - 20, z.zone.width(), 18);
        }
    }

    Bt_Debut = bouton(this, "Bt_Debut", QStringLiteral("Premier"), {12, 342, 110, 30});
    Bt_Precedant = bouton(this, "Bt_Precedant", QStringLiteral("Précédant"), {128, 342, 110, 30});
    Bt_Suivant = bouton(this, "Bt_Suivant", QStringLiteral("Suivant"), {244, 342, 110, 30});
    Bt_Fin = bouton(this, "Bt_Fin", QStringLiteral("Dernier"), {360, 342, 110, 30});
    Bt_Quitter = bouton(this, "Bt_Quitter", QStringLiteral("Quitter"), {632, 476, 156, 32});

    RadioGroup1 = new platform::TRadioGroup(
        QStringLiteral("RadioGroup1"), QStringLiteral("Rechecher  par "),
        {QStringLiteral("Numéros de licences"), QStringLiteral("Nom")}, this);
    RadioGroup1->setGeometry(12, 392, 240, 78);
    RadioGroup1->setItemIndex(1);
    ELicence = edit(this, "ELicence", {262, 418, 208, 26});
    ENom = edit(this, "ENom", {262, 418, 208, 26});
    ELicence->setVisible(false);

    Button1 = bouton(this, "Button1", QStringLiteral("Impression Enveloppe"), {632, 28, 156, 32});
    Button2 = bouton(this, "Button2", QStringLiteral("Modification"), {632, 66, 156, 32});
    Button3 = bouton(this, "Button3", QStringLiteral("Courriel"), {632, 292, 156, 32});

    frReport1 = new report::TfrReport(this);
    frReport1->setObjectName(QStringLiteral("frReport1"));
    frReport1->OnGetValue = [this](const QString &name, report::FrVariant &value) {
        frReport1GetValue(name, value);
    };

    using platform::handler;
    using W = TVorn_FEdition;
    connect(RadioGroup1, &platform::TRadioGroup::clicked, this,
            handler(this, &W::RadioGroup1Click));
    connect(ELicence, &QLineEdit::textChanged, this, handler(this, &W::ELicenceChange));
    connect(ENom, &QLineEdit::textChanged, this, handler(this, &W::ENomChange));
    connect(Bt_Debut, &QPushButton::clicked, this, handler(this, &W::Bt_DebutClick));
    connect(Bt_Precedant, &QPushButton::clicked, this, handler(this, &W::Bt_PrecedantClick));
    connect(Bt_Suivant, &QPushButton::clicked, this, handler(this, &W::Bt_SuivantClick));
    connect(Bt_Fin, &QPushButton::clicked, this, handler(this, &W::Bt_FinClick));
    connect(Bt_Quitter, &QPushButton::clicked, this, handler(this, &W::Bt_QuitterClick));
    connect(Button1, &QPushButton::clicked, this, handler(this, &W::Button1Click));
    connect(Button2, &QPushButton::clicked, this, handler(this, &W::Button2Click));
    connect(Button3, &QPushButton::clicked, this, handler(this, &W::Button3Click));
}

TVorn_FEdition::~TVorn_FEdition() = default;

void TVorn_FEdition::FormActivate()
{
    const QString fichier = fichierSaison(QStringLiteral("Joueur.DBP"));
    const bool memeSaison = m_saisonMontree == SaisonEnCours;
    if (memeSaison && m_empreinte == empreinteFichier(fichier))
        return;
    // The players file changed in the same season (an import): the player
    // shown stays shown.
    const QString licence =
        memeSaison && m_courant >= 0 ? Champ(m_joueurs.value(m_courant), 0) : QString();
    m_saisonMontree = SaisonEnCours;
    m_empreinte = empreinteFichier(fichier);
    // A missing or damaged players file is told once. The records of the
    // same season stay shown as they were; another season's are let go.
    QStringList lues;
    if (!platform::guard([&lues, &fichier] { lues = manager::LireLignesJoueurs(fichier); })) {
        if (memeSaison)
            return;
        lues.clear();
    }
    m_joueurs = std::move(lues);
    m_courant = -1;
    if (RadioGroup1->ItemIndex() != 1)
        TrierFiches(0);
    for (int i = 0; !licence.isEmpty() && i < m_joueurs.size(); ++i)
        if (Champ(m_joueurs.at(i), 0) == licence)
            m_courant = i;
    AfficherFiche();
    (RadioGroup1->ItemIndex() == 1 ? ENom : ELicence)->setFocus();
}

void TVorn_FEdition::FormDeactivate()
{
    // The list stays: the next activation reloads it.
}

void TVorn_FEdition::AfficherFiche()
{
    if (m_courant == -1 && !m_joueurs.isEmpty())
        m_courant = 0;
    const int dernier = int(m_joueurs.size()) - 1;
    Bt_Debut->setEnabled(m_courant > 0);
    Bt_Precedant->setEnabled(m_courant > 0);
    Bt_Suivant->setEnabled(m_courant < dernier);
    Bt_Fin->setEnabled(m_courant < dernier);

    const std::pair<QLineEdit *, int> champs[] = {
        {EdLicence, 0},    {EdTytre, 1},   {EdNom, 2},         {EdPrenom, 3},  {EdIv, 4},
        {EdClub, 5},       {EdAdress1, 6}, {EdAdress2, 7},     {EDAdress3, 8}, {AdCode, 9},
        {EdVille, 10},     {EdPhon1, 11},  {EdPhon2, 12},      {EdPhon3, 13},  {EdMail, 14},
        {EdNaissance, 15}, {EdCompet, 16}, {EdClassement, 17}, {EdAge, 18}};
    if (m_courant < 0 || m_courant > dernier) {
        for (const auto &c : champs)
            c.first->clear();
        EdLicence->setText(QStringLiteral("000000"));
        return;
    }
    const QString &ligne = m_joueurs.at(m_courant);
    for (const auto &c : champs)
        c.first->setText(Champ(ligne, c.second));
}

void TVorn_FEdition::TrierFiches(int champ)
{
    // Licences sort by value (a shorter number is a smaller one), names by
    // code page order; equal keys keep their order.
    if (champ == 0)
        TrieJoueursLicence(m_joueurs, m_courant);
    else
        TrieJoueursNom(m_joueurs, m_courant);
}

void TVorn_FEdition::RadioGroup1Click()
{
    const Sablier sablier;
    const bool parLicence = RadioGroup1->ItemIndex() == 0;
    ELicence->setVisible(false);
    ENom->setVisible(false);
    TrierFiches(parLicence ? 0 : 2);
    AfficherFiche();
    QLineEdit *recherche = parLicence ? ELicence : ENom;
    recherche->setVisible(true);
    recherche->setFocus();
}

void TVorn_FEdition::ELicenceChange()
{
    const int i = ChercheLicenceAuPlus(m_joueurs, ELicence->text());
    if (i >= 0)
        m_courant = i;
    AfficherFiche();
}

void TVorn_FEdition::ENomChange()
{
    const int i = ChercheNom(m_joueurs, ENom->text());
    if (i >= 0)
        m_courant = i;
    AfficherFiche();
}

void TVorn_FEdition::Bt_DebutClick()
{
    m_courant = m_joueurs.isEmpty() ? -1 : 0;
    AfficherFiche();
}

void TVorn_FEdition::Bt_PrecedantClick()
{
    if (m_courant > 0)
        --m_courant;
    AfficherFiche();
}

void TVorn_FEdition::Bt_SuivantClick()
{
    if (m_courant < m_joueurs.size() - 1)
        ++m_courant;
    AfficherFiche();
}

void TVorn_FEdition::Bt_FinClick()
{
    m_courant = int(m_joueurs.size()) - 1;
    AfficherFiche();
}

void TVorn_FEdition::Bt_QuitterClick()
{
    Hide();
}

void TVorn_FEdition::Button1Click()
{
    m_nom =
        EdTytre->text() + QLatin1Char(' ') + EdNom->text() + QLatin1Char(' ') + EdPrenom->text();
    m_adresse1 = EdAdress1->text();
    m_adresse2 = EdAdress2->text();
    m_adresse3 = EDAdress3->text();
    m_code = AdCode->text();
    m_ville = EdVille->text();
    if (manager::chargerModele(*frReport1, QStringLiteral("Enveloppes.frf")))
        frReport1->ShowReport();
}

void TVorn_FEdition::Button2Click()
{
    manager::modifierModele(*frReport1, QStringLiteral("Enveloppes.frf"));
}

void TVorn_FEdition::Button3Click()
{
    if (EdMail->text().isEmpty())
        return;
    platform::ShowMessage(QStringLiteral("Choisir son compte Courriel"));
    platform::OpenMailLink(QStringLiteral("mailto:") + EdMail->text());
}

void TVorn_FEdition::frReport1GetValue(const QString &parName, report::FrVariant &parValue)
{
    const std::pair<const char *, const QString *> valeurs[] = {
        {"Nom", &m_nom},           {"Adresse1", &m_adresse1}, {"Adresse2", &m_adresse2},
        {"Adresse3", &m_adresse3}, {"Code", &m_code},         {"Ville", &m_ville}};
    for (const auto &v : valeurs)
        if (parName == QLatin1String(v.first)) {
            parValue = *v.second;
            return;
        }
}
