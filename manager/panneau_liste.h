#pragma once
// The tab of one reference list (venues, referees or persons in charge): a
// grid with an arrow on the current row, the name and information edits and
// the seven buttons. The convocations window holds three of them.
#include "manager/core/listereference.h"
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

class PanneauListe : public QWidget
{
    Q_OBJECT

public:
    enum Bouton { Debut, Precedant, Suivant, Fin, Ajouter, Supprimer, Modifier };

    // prefixe: "BtL_", "BtA_" or "BtR_"; the names of the grid and edits as
    // the window names them; entete: the header of the names' column.
    PanneauListe(const QString &fichier, const QString &prefixe, const QString &nomGrille,
                 const QString &nomEdNom, const QString &nomEdInfo, const QString &entete,
                 QComboBox *combo, QWidget *parent = nullptr);

    // Creates the file when missing, loads it, fills the combo box. A file
    // that cannot be read leaves the list empty and every change refused
    // until it can.
    void charge();
    void rafraichit();
    // Coming back to the window: a file changed on disk is read again, after
    // asking when the edits hold text not recorded; they keep it either way.
    void revoitFichier();

    void premier();
    void precedent();
    void suivant();
    void dernier();
    void ajoute();
    void supprime();
    void modifie();

    ListeReference &liste() { return m_liste; }
    const ListeReference &liste() const { return m_liste; }
    // The information of the entry the combo box names.
    QString informationChoisie() const;

    QTableWidget *grille() const { return m_grille; }
    QLineEdit *edNom() const { return m_edNom; }
    QLineEdit *edInformation() const { return m_edInfo; }
    QPushButton *bouton(Bouton b) const { return m_boutons[b]; }

    // The name or information typed and applied neither by "Ajouter" nor by
    // "Modifier", said as a sentence; empty when there is none.
    QString texteSaisieNonAppliquee() const;
    // Drops it: the edits show the entry as the list shows it.
    void abandonneSaisieTapee();

private:
    void rechargeCombo();
    // The edits differ from what the list last showed in them.
    bool saisieEnCours() const;
    // Reads the file again; the edits keep what they hold.
    void relitGardantSaisie();
    // Before a change: a list whose file could not be read is read again.
    // True when it was already read, false when it has just been; throws the
    // refusal (naming the file) when the file still cannot be read.
    bool relue();
    // Applies a change to the list and writes it; the list and the window
    // change only once it is written.
    void enregistre(const std::function<void()> &changement);
    // A name or information typed and applied neither by "Ajouter" nor by
    // "Modifier" is dropped only when the user says so; true when there is
    // none left, or the user said to drop it.
    bool abandonneSaisie();

    ListeReference m_liste;
    QString m_entete;
    QComboBox *m_combo;
    QTableWidget *m_grille;
    QLineEdit *m_edNom;
    QLineEdit *m_edInfo;
    std::array<QPushButton *, 7> m_boutons{};
    // What the edits held when the list last showed its current entry.
    QStringList m_editsMontres;
};
