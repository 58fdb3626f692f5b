#include "manager/panneau_liste.h"

#include "manager/fenetres.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/form.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

PanneauListe::PanneauListe(const QString &fichier, const QString &prefixe, const QString &nomGrille,
                           const QString &nomEdNom, const QString &nomEdInfo, const QString &entete,
                           QComboBox *combo, QWidget *parent)
    : QWidget(parent), m_liste(fichier), m_entete(entete), m_combo(combo)
{
    m_grille = new QTableWidget(this);
    m_grille->setObjectName(nomGrille);
    m_grille->setColumnCount(3);
    m_grille->setColumnWidth(0, 32);
    m_grille->setColumnWidth(1, 267);
    m_grille->setColumnWidth(2, 625);
    m_grille->horizontalHeader()->setVisible(false);
    m_grille->verticalHeader()->setVisible(false);
    m_grille->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grille->setSelectionMode(QAbstractItemView::NoSelection);
    m_grille->setGeometry(8, 8, 950, 470);

    m_edNom = new QLineEdit(this);
    m_edNom->setObjectName(nomEdNom);
    m_edNom->setGeometry(8, 490, 300, 26);
    m_edInfo = new QLineEdit(this);
    m_edInfo->setObjectName(nomEdInfo);
    m_edInfo->setGeometry(316, 490, 642, 26);

    static const char *const noms[7] = {"Debut",   "Precedant", "Suivant", "Fin",
                                        "Ajouter", "Supprimer", "Modifier"};
    static const char *const textes[7] = {"Premier", "Précédant", "Suivant", "Dernier",
                                          "Ajouter", "Supprimer", "Modifier"};
    for (int b = 0; b < 7; ++b) {
        auto *bt = new QPushButton(QString::fromUtf8(textes[b]), this);
        bt->setObjectName(prefixe + QLatin1String(noms[b]));
        bt->setGeometry(8 + b * 136, 530, 130, 32);
        m_boutons[std::size_t(b)] = bt;
    }
}

void PanneauListe::charge()
{
    m_liste.charge();
    rechargeCombo();
    rafraichit();
}

bool PanneauListe::saisieEnCours() const
{
    return QStringList{m_edNom->text(), m_edInfo->text()} != m_editsMontres;
}

QString PanneauListe::texteSaisieNonAppliquee() const
{
    if (!saisieEnCours())
        return QString();
    const QString nom = m_edNom->text();
    return QStringLiteral("Le nom et les informations saisis") +
           (nom.isEmpty() ? QString()
                          : QStringLiteral(" (") + platform::excerpt(nom) + QLatin1Char(')')) +
           QStringLiteral(" ne sont pas appliqués (Ajouter ou Modifier).");
}

void PanneauListe::abandonneSaisieTapee()
{
    // The edits show again what the list showed.
    m_edNom->setText(m_editsMontres.value(0));
    m_edInfo->setText(m_editsMontres.value(1));
}

void PanneauListe::relitGardantSaisie()
{
    const QString nom = m_edNom->text();
    const QString information = m_edInfo->text();
    const int courant = m_liste.courant();
    m_liste.charge();
    // The same row as before, as far as the list read still has it.
    while (m_liste.courant() < courant && m_liste.peutAvancer())
        m_liste.suivant();
    rechargeCombo();
    rafraichit();
    m_edNom->setText(nom);
    m_edInfo->setText(information);
}

void PanneauListe::revoitFichier()
{
    if (!m_liste.fichierChange())
        return;
    if (!saisieEnCours() || relireFichierChange(m_liste.chemin()))
        relitGardantSaisie();
    else
        m_liste.garderContreFichier();
}

void PanneauListe::rechargeCombo()
{
    if (!m_combo)
        return;
    const QString texte = m_combo->currentText();
    m_combo->clear();
    m_combo->addItems(m_liste.noms());
    m_combo->setCurrentText(texte);
}

void PanneauListe::rafraichit()
{
    m_liste.normalise();
    const int n = m_liste.nombre();
    const int courant = m_liste.courant();
    m_grille->setRowCount(n + 1);

    m_boutons[Debut]->setEnabled(m_liste.peutReculer());
    m_boutons[Precedant]->setEnabled(m_liste.peutReculer());
    m_boutons[Suivant]->setEnabled(m_liste.peutAvancer());
    m_boutons[Fin]->setEnabled(m_liste.peutAvancer());
    m_boutons[Supprimer]->setEnabled(m_liste.nonVide());
    m_boutons[Modifier]->setEnabled(m_liste.nonVide());
    m_boutons[Ajouter]->setEnabled(true);

    auto cellule = [this](int r, int c, const QString &texte) {
        QTableWidgetItem *item = m_grille->item(r, c);
        if (!item) {
            item = new QTableWidgetItem;
            m_grille->setItem(r, c, item);
        }
        item->setText(texte);
        if (r == 0) {
            item->setBackground(m_grille->palette().button());
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
        } else {
            item->setBackground(QBrush());
            item->setFont(QFont());
        }
    };
    cellule(0, 0, QString());
    cellule(0, 1, m_entete);
    cellule(0, 2, QStringLiteral("Informations"));
    for (int r = 1; r <= n; ++r) {
        cellule(r, 0, r == courant ? QStringLiteral("->") : QString());
        cellule(r, 1, m_liste.nom(r - 1));
        cellule(r, 2, m_liste.information(r - 1));
    }
    if (courant >= 1) {
        m_edNom->setText(m_liste.nom(courant - 1));
        m_edInfo->setText(m_liste.information(courant - 1));
    }
    m_editsMontres = {m_edNom->text(), m_edInfo->text()};
}

bool PanneauListe::abandonneSaisie()
{
    // Asked as the window asks about all it holds, this entry alone.
    auto *fenetre = qobject_cast<platform::TForm *>(window());
    const QString saisie = texteSaisieNonAppliquee();
    if (saisie.isEmpty() || !fenetre)
        return true;
    platform::TravailEnAttente travail;
    travail.question = saisie + QStringLiteral("\nVoulez-vous les abandonner ?");
    return fenetre->demanderTravail(travail);
}

void PanneauListe::premier()
{
    if (!abandonneSaisie())
        return;
    m_liste.premier();
    rafraichit();
}

void PanneauListe::precedent()
{
    if (!abandonneSaisie())
        return;
    m_liste.precedent();
    rafraichit();
}

void PanneauListe::suivant()
{
    if (!abandonneSaisie())
        return;
    m_liste.suivant();
    rafraichit();
}

void PanneauListe::dernier()
{
    if (!abandonneSaisie())
        return;
    m_liste.dernier();
    rafraichit();
}

bool PanneauListe::relue()
{
    if (m_liste.lue())
        return true;
    // The file may have become readable since the window was created; while
    // it is not, the change is refused and the file stays as it is.
    try {
        charge();
    } catch (const platform::Exception &) {
        // A file that could not even be created has nothing to lose: its
        // own error says why.
        if (!platform::LineFile::present(m_liste.chemin()))
            throw;
    }
    m_liste.verifieLue();
    return false;
}

void PanneauListe::ajoute()
{
    // The entry typed is added to the list as read, even read just now.
    const QString nom = m_edNom->text();
    const QString information = m_edInfo->text();
    relue();
    enregistre([&] { m_liste.ajoute(nom, information); });
}

void PanneauListe::modifie()
{
    // A list read just now has no row chosen by the user yet.
    if (!relue())
        return;
    enregistre([&] { m_liste.modifie(m_edNom->text(), m_edInfo->text()); });
}

void PanneauListe::supprime()
{
    // The edits typed would show the next entry's once it is gone.
    if (!abandonneSaisie())
        return;
    if (!relue())
        return;
    enregistre([&] { m_liste.supprime(); });
}

void PanneauListe::enregistre(const std::function<void()> &changement)
{
    // The list shown changes only once the file holds the change: a write
    // that fails (a full disk) leaves the list as it was and the edits as
    // typed, to be recorded again.
    const ListeReference avant = m_liste;
    changement();
    try {
        m_liste.ecrit();
    } catch (const EFichierChange &refus) {
        // Changed on disk meanwhile: what it holds now is shown, and the
        // edits keep what was typed, to be recorded again.
        m_liste = avant;
        relitGardantSaisie();
        direListeRelue(refus);
        return;
    } catch (...) {
        m_liste = avant;
        throw;
    }
    rechargeCombo();
    rafraichit();
}

QString PanneauListe::informationChoisie() const
{
    return InformationDe(m_liste.lignes(), m_combo ? m_combo->currentText() : QString());
}
