#pragma once
// Pools of teams of four: players taken from the season's players file are
// put into up to 28 team slots, ranked by value, mailed, kept in
// "Poule.txt" and written to the entries file of the scoring software.
#include "manager/core/fichierlu.h"
#include "manager/core/vorn_dec.h"
#include "platform/forms/form.h"
#include <QStringList>
#include <array>

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
namespace platform
{
class TRadioGroup;
}

class TVorn_Fmcf_Poule : public platform::TForm
{
    Q_OBJECT

public:
    static constexpr int kSlots = 28;

    explicit TVorn_Fmcf_Poule(QWidget *parent = nullptr);
    ~TVorn_Fmcf_Poule() override;

    std::array<QRadioButton *, kSlots + 1> RB{}; // RB[1]..RB[28]
    std::array<QComboBox *, kSlots + 1> CB{};
    std::array<QLineEdit *, kSlots + 1> E{};
    QSpinBox *Spin_Equipe;
    QLineEdit *EdLicence;
    QLineEdit *EdTitre;
    QLineEdit *EdNom;
    QLineEdit *EdPrenom;
    QLineEdit *EdIv;
    platform::TRadioGroup *RadioGroup1;
    QLineEdit *ELicence;
    QLineEdit *ENom;
    QPushButton *Premier;
    QPushButton *Precedent;
    QPushButton *Suivant;
    QPushButton *Dernier;
    // Header of the pool, in the order of its fields.
    QLineEdit *EdNumero;
    QLineEdit *EdLieu;
    QLineEdit *EdType;
    QLineEdit *EdEntite;
    QLineEdit *EdDistrict;
    QLineEdit *EdPhase;
    QLineEdit *EdGroupe;
    QLineEdit *EdNbTour;
    QLineEdit *EdNbDonnes;
    QLineEdit *EdNbMiTemps;
    QDateEdit *DTP;
    QPushButton *Button4;
    QPushButton *Suppression;
    QPushButton *Ranger;
    QPushButton *Button1;
    QPushButton *BtCourriel;
    QPushButton *Quitter;

    void RadioGroup1Click();
    void ELicenceChange();
    void ENomChange();
    void PremierClick();
    void PrecedentClick();
    void SuivantClick();
    void DernierClick();
    void Button4Click();
    void SuppressionClick();
    void RangerClick();
    void Spin_EquipeChange();
    void RB1Click();
    void EdNumeroChange();
    void DTPChange();
    void Button1Click();
    void BtCourrielClick();
    void QuitterClick();

    // What the window holds in memory (tests).
    const QStringList &joueurs() const { return m_joueurs; }
    const QStringList &poule() const { return m_poule; }
    int courant() const { return m_courant; }

    // The pool changed and not written yet (its write refused, or the
    // window not left since).
    std::optional<platform::TravailEnAttente> travailEnAttente() override;

protected:
    void FormActivate() override;
    void FormDeactivate() override;

private:
    std::array<QLineEdit *, 10> entete() const;
    void afficheJoueur();
    void rafraichitEquipes();
    void ecritEntete();
    void sauvePoule();
    // The pool shown differs from the file as read or last written.
    bool pouleModifiee() const { return m_poule != m_pouleLue; }
    QString ligneEquipe(int t) const;

    QStringList m_joueurs;
    int m_courant = -1;
    QStringList m_poule;
    // The season the window's data were read from: written there only.
    SaisonLue m_saison;
    bool m_chargement = false;
    // "Poule.txt" is written back only when this activation loaded it, to
    // the path it was loaded from.
    bool m_pouleChargee = false;
    QString m_cheminPoule;
    // The pool is shown for the season read and the players file as it was:
    // coming back keeps the player shown and the pool as typed.
    bool m_affiche = false;
    QString m_empreinte;
    // "Poule.txt" as read or last written: a pool that did not change is not
    // written, and one changed on disk meanwhile is not written over.
    QStringList m_pouleLue;
    FichierLu m_fichierPoule;
    // Why the pool's last write was refused.
    QString m_refusPoule;
    QButtonGroup *m_equipes;
};
