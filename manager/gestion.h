#pragma once
// The challenge's tournaments list: "Challenge.DBP" of the open season, one
// tournament per line, browsed and edited one line at a time.
#include "manager/core/lignechallenge.h"
#include "manager/core/vorn_dec.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/form.h"

#include <functional>
#include <memory>

class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

class TVorn_FGestion : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FGestion(QWidget *parent = nullptr);

    QTableWidget *StrGrd;
    QLineEdit *Edit3;
    QLineEdit *MaskEdit1;
    QLineEdit *Edit1;
    QLineEdit *EdType;
    QPushButton *Button1;
    QSpinBox *SpinEdit1;
    QLineEdit *Edit2;
    QPushButton *Bt_Debut;
    QPushButton *Bt_Precedant;
    QPushButton *Bt_Suivant;
    QPushButton *Bt_Fin;
    QPushButton *Bt_Ajouter;
    QPushButton *Bt_Supprimer;
    QPushButton *Bt_Modifier;
    QPushButton *BtResultat;
    QPushButton *BtQuitte;
    std::unique_ptr<platform::TOpenDialog> OpenDialog1;

    void Button1Click();
    void Bt_DebutClick();
    void Bt_PrecedantClick();
    void Bt_SuivantClick();
    void Bt_FinClick();
    void Bt_AjouterClick();
    void Bt_SupprimerClick();
    void Bt_ModifierClick();
    void BtResultatClick();
    void BtQuitteClick();
    void AfficherTournois();

    const ListeTournois &tournois() const { return m_liste; }
    // Field n (from 0) of line i of the list.
    QString Champ(int i, int n) const;

protected:
    void FormActivate() override;
    void FormDeactivate() override;
    // The close box asks as "Quitter" does.
    bool CloseQuery() override;

public:
    // Edits typed and applied neither by "Ajouter" nor by "Modifier".
    std::optional<platform::TravailEnAttente> travailEnAttente() override;

private:
    // The tournament the edits describe (number and link set by the command).
    LigneChallenge ligneDesEdits() const;
    QString dateSaisie() const;
    // What the edits hold, as the list last showed it or as typed since.
    QStringList textesDesEdits() const;
    // Edits typed and applied neither by "Ajouter" nor by "Modifier" are
    // dropped only when the user says so; true when there are none left.
    bool abandonnerSaisie();
    // The same question, the edits left as they are.
    bool abandonAccepte();
    // Reads the list again at the same line; what was typed stays in the
    // edits, still to be applied.
    // False when the file is refused: the list shown stays, read only.
    bool relireGardantSaisie();
    // Runs a command that rewrites the file; refused when the file changed
    // on disk since it was read, which is then said and read again.
    void enregistrer(const std::function<void()> &commande);

    ListeTournois m_liste;
    // The season the window's data were read from: written there only.
    SaisonLue m_saison;
    bool m_listeLue = false;
    QStringList m_editsMontres;
};
