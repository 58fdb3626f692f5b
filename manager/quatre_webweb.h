#pragma once
// Entries lists, convocations and their e-mails; its mode is in its caption.
// Its tabs keep the reference lists of venues, referees and persons in
// charge that feed the convocation's header.
#include "platform/forms/form.h"

class PanneauListe;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

class TVornF_Quatre_Webweb : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVornF_Quatre_Webweb(QWidget *parent = nullptr);
    ~TVornF_Quatre_Webweb() override;

    QTabWidget *PageControl1;
    QWidget *TabPresentation;
    QComboBox *CB_Lieu;
    QComboBox *Cb_Arbitre;
    QComboBox *Cb_Responsable;

    // The three reference lists, in this order: venues, referees, persons
    // in charge.
    PanneauListe *ListeLieux;
    PanneauListe *ListeArbitres;
    PanneauListe *ListeResponsables;
    QTableWidget *StringGrid_L;
    QTableWidget *StringGrid_A;
    QTableWidget *StringGrid_R;
    QLineEdit *EdL_Lieu;
    QLineEdit *EdL_Informations;
    QLineEdit *EdA_Arbitre;
    QLineEdit *EdA_Information;
    QLineEdit *EdR_responsable;
    QLineEdit *EdR_Information;

    void FormCreate();

    void BtL_DebutClick();
    void BtL_PrecedantClick();
    void BtL_SuivantClick();
    void BtL_FinClick();
    void BtL_AjouterClick();
    void BtL_SupprimerClick();
    void BtL_ModifierClick();
    void BtA_DebutClick();
    void BtA_PrecedantClick();
    void BtA_SuivantClick();
    void BtA_FinClick();
    void BtA_AjouterClick();
    void BtA_SupprimerClick();
    void BtA_ModifierClick();
    void BtR_DebutClick();
    void BtR_PrecedantClick();
    void BtR_SuivantClick();
    void BtR_FinClick();
    void BtR_AjouterClick();
    void BtR_SupprimerClick();
    void BtR_ModifierClick();

    // The information printed for the venue, referee and person in charge
    // chosen on "Présentation".
    QString InformationLieu() const;
    QString InformationArbitre() const;
    QString InformationResponsable() const;

private:
    void relie(PanneauListe *panneau, void (TVornF_Quatre_Webweb::*const handlers[7])());
};
