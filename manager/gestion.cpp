#include "manager/gestion.h"

#include "manager/core/vorn_dec.h"
#include "manager/fenetres.h"
#include "platform/forms/application.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

using namespace platform;

namespace
{

template <class T> T *nomme(T *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

QPushButton *bouton(QWidget *parent, const char *name, const QString &caption)
{
    return nomme(new QPushButton(caption, parent), name);
}

} // namespace

TVorn_FGestion::TVorn_FGestion(QWidget *parent)
    : platform::TForm(QStringLiteral("Vorn_FGestion"), parent),
      OpenDialog1(std::make_unique<TOpenDialog>(this))
{
    setCaption(QStringLiteral("Gestion des Tournois du Challenge"));
    resize(900, 560);

    StrGrd = nomme(new QTableWidget(1, 8, this), "StrGrd");
    StrGrd->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StrGrd->setSelectionMode(QAbstractItemView::NoSelection);
    StrGrd->setFocusPolicy(Qt::NoFocus);
    StrGrd->horizontalHeader()->hide();
    StrGrd->verticalHeader()->hide();
    StrGrd->verticalHeader()->setDefaultSectionSize(22);
    StrGrd->setColumnWidth(0, 22);
    StrGrd->setColumnWidth(1, 45);
    StrGrd->setColumnWidth(2, 90);
    StrGrd->setColumnWidth(3, 230);
    StrGrd->setColumnWidth(4, 45);
    StrGrd->setColumnWidth(5, 65);
    StrGrd->setColumnWidth(6, 55);
    StrGrd->horizontalHeader()->setStretchLastSection(true);

    Edit3 = nomme(new QLineEdit(this), "Edit3");
    Edit3->setEnabled(false);
    MaskEdit1 = nomme(new QLineEdit(this), "MaskEdit1");
    // Two-digit day and month, four-digit year; unfilled places stay blank.
    MaskEdit1->setInputMask(QStringLiteral("00/00/0000;_"));
    Edit1 = nomme(new QLineEdit(this), "Edit1");
    EdType = nomme(new QLineEdit(QStringLiteral("P"), this), "EdType");
    EdType->setReadOnly(true);
    Button1 = bouton(this, "Button1", QStringLiteral("X"));
    SpinEdit1 = nomme(new QSpinBox(this), "SpinEdit1");
    SpinEdit1->setRange(0, 16);
    SpinEdit1->setValue(1);
    Edit2 = nomme(new QLineEdit(QStringLiteral("100"), this), "Edit2");

    Bt_Debut = bouton(this, "Bt_Debut", QStringLiteral("Premier"));
    Bt_Precedant = bouton(this, "Bt_Precedant", QStringLiteral("Précédant"));
    Bt_Suivant = bouton(this, "Bt_Suivant", QStringLiteral("Suivant"));
    Bt_Fin = bouton(this, "Bt_Fin", QStringLiteral("Dernier"));
    Bt_Ajouter = bouton(this, "Bt_Ajouter", QStringLiteral("Ajouter"));
    Bt_Supprimer = bouton(this, "Bt_Supprimer", QStringLiteral("Supprimer"));
    Bt_Modifier = bouton(this, "Bt_Modifier", QStringLiteral("Modifier"));
    BtResultat = bouton(this, "BtResultat", QStringLiteral("Lier un Résultat"));
    BtQuitte = bouton(this, "BtQuitte", QStringLiteral("Quitter"));

    auto *edits = new QGridLayout;
    const struct {
        const char *titre;
        QWidget *w;
    } champs[] = {{"Num", Edit3},   {"Date", MaskEdit1},    {"Nom", Edit1},
                  {"Type", EdType}, {"Colonne", SpinEdit1}, {"Coéf.", Edit2}};
    int col = 0;
    for (const auto &c : champs) {
        edits->addWidget(new QLabel(QString::fromUtf8(c.titre), this), 0, col);
        edits->addWidget(c.w, 1, col);
        ++col;
        if (c.w == EdType) {
            edits->addWidget(Button1, 1, col++);
        }
    }
    edits->setColumnStretch(2, 1);
    Edit3->setFixedWidth(50);
    MaskEdit1->setFixedWidth(95);
    EdType->setFixedWidth(30);
    Button1->setFixedWidth(30);
    SpinEdit1->setFixedWidth(55);
    Edit2->setFixedWidth(60);

    auto *navigation = new QHBoxLayout;
    for (QPushButton *b : {Bt_Debut, Bt_Precedant, Bt_Suivant, Bt_Fin})
        navigation->addWidget(b);
    navigation->addSpacing(20);
    for (QPushButton *b : {Bt_Ajouter, Bt_Supprimer, Bt_Modifier, BtResultat})
        navigation->addWidget(b);
    navigation->addStretch(1);
    navigation->addWidget(BtQuitte);

    auto *main = new QVBoxLayout(this);
    main->addWidget(StrGrd, 1);
    main->addLayout(edits);
    main->addLayout(navigation);

    connect(Button1, &QPushButton::clicked, this, handler(this, &TVorn_FGestion::Button1Click));
    connect(Bt_Debut, &QPushButton::clicked, this, handler(this, &TVorn_FGestion::Bt_DebutClick));
    connect(Bt_Precedant, &QPushButton::clicked, this,
            handler(this, &TVorn_FGestion::Bt_PrecedantClick));
    connect(Bt_Suivant, &QPushButton::clicked, this,
            handler(this, &TVorn_FGestion::Bt_SuivantClick));
    connect(Bt_Fin, &QPushButton::clicked, this, handler(this, &TVorn_FGestion::Bt_FinClick));
    connect(Bt_Ajouter, &QPushButton::clicked, this,
            handler(this, &TVorn_FGestion::Bt_AjouterClick));
    connect(Bt_Supprimer, &QPushButton::clicked, this,
            handler(this, &TVorn_FGestion::Bt_SupprimerClick));
    connect(Bt_Modifier, &QPushButton::clicked, this,
            handler(this, &TVorn_FGestion::Bt_ModifierClick));
    connect(BtResultat, &QPushButton::clicked, this,
            handler(this, &TVorn_FGestion::BtResultatClick));
    connect(BtQuitte, &QPushButton::clicked, this, handler(this, &TVorn_FGestion::BtQuitteClick));

    AfficherTournois();
}

QString TVorn_FGestion::Champ(int i, int n) const
{
    return platform::Champ(m_liste.lignes(), i, n);
}

QStringList TVorn_FGestion::textesDesEdits() const
{
    return {dateSaisie(), Edit1->text(), EdType->text(), QString::number(SpinEdit1->value()),
            Edit2->text()};
}

std::optional<platform::TravailEnAttente> TVorn_FGestion::travailEnAttente()
{
    if (textesDesEdits() == m_editsMontres)
        return std::nullopt;
    platform::TravailEnAttente travail;
    // Another season opened meanwhile is named: the edits belong to the
    // list of their own.
    travail.question =
        QStringLiteral("Les modifications du tournoi ") + platform::excerpt(Edit1->text()) +
        QStringLiteral(" ne sont pas appliquées (Ajouter ou Modifier)") +
        ailleursQueSaisonOuverte(m_saison) + QStringLiteral(".\nVoulez-vous les abandonner ?");
    // Dropped: the edits show the list's line again.
    travail.abandon = [this] {
        m_editsMontres.clear();
        AfficherTournois();
    };
    return travail;
}

bool TVorn_FGestion::abandonAccepte()
{
    const std::optional<platform::TravailEnAttente> travail = travailEnAttente();
    return !travail || MessageDlg(travail->question, mtConfirmation, mbYes | mbNo) == mrYes;
}

bool TVorn_FGestion::abandonnerSaisie()
{
    return demanderTravail();
}

bool TVorn_FGestion::CloseQuery()
{
    return abandonnerSaisie();
}

void TVorn_FGestion::FormActivate()
{
    // Back with the same season: the list, its current line and what was
    // typed stay. A list that could not be read is tried again.
    const bool memeSaison = m_listeLue && SaisonEnCours == m_saison.nom();
    if (memeSaison && m_liste.ecritureAutorisee() && !m_liste.fichierChange())
        return;
    // The file changed on disk: read again, asking first when an edit is
    // not applied; it stays in the edits either way.
    if (memeSaison && m_liste.ecritureAutorisee()) {
        if (!travailEnAttente() || relireFichierChange(m_liste.chemin()))
            relireGardantSaisie();
        else
            m_liste.garderContreFichier();
        return;
    }
    // The season changed without the window being asked: typed edits are
    // asked about first, and kept on "Non" with the list they belong to.
    if (m_listeLue && SaisonEnCours != m_saison.nom() && !abandonnerSaisie())
        return;
    const int courant = SaisonEnCours == m_saison.nom() ? m_liste.courant() : 0;
    m_listeLue = true;
    m_saison.lire();
    if (!m_saison.ouverte()) {
        // No season: nothing of the program folder is shown as its list.
        m_liste = ListeTournois();
        AfficherTournois();
        return;
    }
    QString erreur;
    const ListeTournois::Chargement etat = m_liste.charger(&erreur);
    m_liste.setCourant(std::min(courant, m_liste.nombre()));
    AfficherTournois();
    if (etat != ListeTournois::Chargement::Lu)
        ShowException(std::make_exception_ptr(EFileError(erreur)));
}

bool TVorn_FGestion::relireGardantSaisie()
{
    const QStringList saisie = textesDesEdits();
    const bool enCours = saisie != m_editsMontres;
    const int courant = m_liste.courant();
    QString erreur;
    const ListeTournois::Chargement etat = m_liste.charger(&erreur);
    m_liste.setCourant(std::min(courant, m_liste.nombre()));
    AfficherTournois();
    if (enCours) {
        MaskEdit1->setText(saisie.at(0));
        Edit1->setText(saisie.at(1));
        EdType->setText(saisie.at(2));
        SpinEdit1->setValue(saisie.at(3).toInt());
        Edit2->setText(saisie.at(4));
    }
    if (etat != ListeTournois::Chargement::Illisible)
        return true;
    ShowException(std::make_exception_ptr(EFileError(erreur)));
    return false;
}

void TVorn_FGestion::enregistrer(const std::function<void()> &commande)
{
    try {
        commande();
    } catch (const EFichierChange &refus) {
        // A list refused on reading was said so instead.
        if (relireGardantSaisie())
            direListeRelue(refus);
    }
}

void TVorn_FGestion::FormDeactivate()
{
    // The list stays a member, shown again as it is when the window comes back.
}

QString TVorn_FGestion::dateSaisie() const
{
    // The mask's unfilled places are kept as blanks, as typed.
    QString t = MaskEdit1->displayText();
    t.replace(QLatin1Char('_'), QLatin1Char(' '));
    return t;
}

LigneChallenge TVorn_FGestion::ligneDesEdits() const
{
    LigneChallenge l;
    l.date = dateSaisie();
    l.nom = Edit1->text();
    l.type = EdType->text();
    l.colonne = QString::number(SpinEdit1->value());
    l.coefficient = Edit2->text();
    return l;
}

void TVorn_FGestion::AfficherTournois()
{
    m_liste.normaliser();
    const int n = m_liste.nombre();
    const int courant = m_liste.courant();
    const bool ecriture = m_liste.ecritureAutorisee();
    StrGrd->setRowCount(n + 1);
    Bt_Debut->setEnabled(m_liste.peutReculer());
    Bt_Precedant->setEnabled(m_liste.peutReculer());
    Bt_Suivant->setEnabled(m_liste.peutAvancer());
    Bt_Fin->setEnabled(m_liste.peutAvancer());
    Bt_Supprimer->setEnabled(m_liste.peutModifier() && ecriture);
    Bt_Modifier->setEnabled(m_liste.peutModifier() && ecriture);
    Bt_Ajouter->setEnabled(ecriture);
    BtResultat->setEnabled(ecriture);

    auto poser = [this](int r, int c, const QString &text) {
        QTableWidgetItem *item = StrGrd->item(r, c);
        if (!item) {
            item = new QTableWidgetItem;
            StrGrd->setItem(r, c, item);
        }
        item->setText(text);
        if (r == 0) {
            item->setBackground(palette().button());
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
        }
    };
    for (int r = 0; r <= n; ++r) {
        poser(r, 0, r == courant && r >= 1 ? QStringLiteral(">") : QString());
        for (int c = 1; c <= 7; ++c)
            poser(r, c, r == 0 ? TitresChallenge[c - 1] : Champ(r - 1, c - 1));
    }
    if (courant >= 1) {
        Edit3->setText(Champ(courant - 1, 0));
        MaskEdit1->setText(Champ(courant - 1, 1));
        Edit1->setText(Champ(courant - 1, 2));
        EdType->setText(Champ(courant - 1, 3).toUpper());
        SpinEdit1->setValue(Champ(courant - 1, 4).toInt());
        Edit2->setText(Champ(courant - 1, 5));
        StrGrd->scrollToItem(StrGrd->item(courant, 0));
    }
    m_editsMontres = textesDesEdits();
}

void TVorn_FGestion::Button1Click()
{
    EdType->setText(EdType->text() == QLatin1String("P") ? QStringLiteral("Q")
                                                         : QStringLiteral("P"));
}

void TVorn_FGestion::Bt_DebutClick()
{
    if (!abandonnerSaisie())
        return;
    m_liste.premier();
    AfficherTournois();
}

void TVorn_FGestion::Bt_PrecedantClick()
{
    if (!abandonnerSaisie())
        return;
    m_liste.precedent();
    AfficherTournois();
}

void TVorn_FGestion::Bt_SuivantClick()
{
    if (!abandonnerSaisie())
        return;
    m_liste.suivant();
    AfficherTournois();
}

void TVorn_FGestion::Bt_FinClick()
{
    if (!abandonnerSaisie())
        return;
    m_liste.dernier();
    AfficherTournois();
}

void TVorn_FGestion::Bt_AjouterClick()
{
    const EcritureSaison saison(m_saison);
    enregistrer([this] {
        m_liste.ajouter(ligneDesEdits());
        AfficherTournois();
    });
}

void TVorn_FGestion::Bt_SupprimerClick()
{
    const EcritureSaison saison(m_saison);
    // The edits typed would show the next line's once it is gone; a write
    // that fails leaves them as typed.
    if (!abandonAccepte())
        return;
    enregistrer([this] {
        m_liste.supprimer();
        AfficherTournois();
    });
}

void TVorn_FGestion::Bt_ModifierClick()
{
    const EcritureSaison saison(m_saison);
    enregistrer([this] {
        m_liste.modifier(ligneDesEdits());
        AfficherTournois();
    });
}

void TVorn_FGestion::BtResultatClick()
{
    // Without a current line there is nothing to link.
    if (m_liste.courant() < 1 || !m_liste.ecritureAutorisee())
        return;
    const EcritureSaison saison(m_saison);
    // The edits are written with the link: refused before the file is chosen.
    ligneDesEdits().verifier();
    OpenDialog1->InitialDir = m_saison.dossier();
    OpenDialog1->Title = QStringLiteral("Lier un résultat d'un tournoi");
    OpenDialog1->FileName.clear();
    OpenDialog1->DefaultExt = QStringLiteral("chr");
    OpenDialog1->Filter = QStringLiteral("au groupe (*.chr)|*.chr");
    const QString choisi = OpenDialog1->Execute() ? OpenDialog1->FileName : QString();
    enregistrer([this, &choisi] {
        m_liste.lierResultat(ligneDesEdits(), choisi);
        AfficherTournois();
    });
}

void TVorn_FGestion::BtQuitteClick()
{
    if (abandonnerSaisie())
        Hide();
}
