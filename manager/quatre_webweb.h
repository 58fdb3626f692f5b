#pragma once
// Entries lists, convocations and their e-mails; its mode is in its caption.
// Its tabs keep the reference lists of venues, referees and persons in
// charge that feed the convocation's header.
#include "manager/core/fichierlu.h"
#include "manager/core/inscrits.h"
#include "manager/impression.h"
#include "platform/forms/form.h"
#include "report/core/frvariant.h"

#include <QStringList>
#include <optional>
#include <utility>

class PanneauListe;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace platform
{
class TWebBrowser;
}

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
    QLineEdit *Saison1;
    QLineEdit *Publication1;
    QLineEdit *Epreuve1;
    QLineEdit *Prix1;
    QLineEdit *Phase1;
    QLineEdit *Date1;
    QLineEdit *Modalites1;
    QLineEdit *Horaires1;
    QLineEdit *Horaires2;
    QLineEdit *Avertissement1;
    QComboBox *Cb_Divers;
    QLineEdit *Pied1;
    QCheckBox *ChBx_Trie;
    QSpinBox *Nbr_Courriel;
    QCheckBox *Cb_BCC;
    QPushButton *Convocation;
    QPushButton *Bt_Convoc;
    QPushButton *Impression;
    QPushButton *BtCourriel;
    QPushButton *Bt_Impress;
    QPushButton *DateDuJour;
    QGroupBox *GroupBoxEntete;
    QPushButton *Bt_load_donnes;
    QPushButton *Bt_Ouvrie_Donnes;
    QPushButton *BtQuitter;
    QGroupBox *GroupBox1;
    QPushButton *Bt_Internet;
    QPushButton *Bt_Load_Inscrits;
    QPushButton *Bt_Ouvrir_Groupe;

    // "Page Internet de la liste des inscrits".
    QWidget *TabInternet;
    platform::TWebBrowser *WebBrowser1;
    QSpinBox *Sp_Suppression;
    QPushButton *Bt_Suppression;

    report::TfrReport *frReport1;
    report::TfrUserDataset *frUserDataset1;

    bool ModeQuatre = true;
    // The season and the kind (pairs or teams) shown: coming back to them
    // keeps the page, the entries file and its commands.
    std::optional<std::pair<QString, bool>> m_montre;
    // The current entries page or file, as its bytes read.
    QStringList ListeInscrits;
    QString FichierInscrits;
    // The entries file as read or saved: not written over once changed on
    // disk.
    FichierLu m_inscritsLu;
    // The header data file last opened or saved.
    QString FichierDonnees;
    // The lists of the last extraction.
    manager::inscrits::ListesConvocation Listes;

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

    void Bt_InternetClick();
    void Bt_Load_InscritsClick();
    void Bt_Ouvrir_GroupeClick();
    void ConvocationClick();
    void Bt_ConvocClick();
    void ImpressionClick(QObject *Sender);
    void Bt_ImpressClick();
    void DateDuJourClick();
    void Bt_load_donnesClick();
    void Bt_Ouvrie_DonnesClick();
    void BtQuitterClick();
    void frReport1GetValue(const QString &ParName, report::FrVariant &ParValue);

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

    // The header typed and saved to no file, and the entries typed in the
    // lists and applied neither by "Ajouter" nor by "Modifier".
    std::optional<platform::TravailEnAttente> travailEnAttente() override;

protected:
    void FormActivate() override;

private:
    // The header controls in the order of the header file.
    QStringList entete() const;
    void montrerEntete(const QStringList &textes);
    static QString texteEnteteNonEnregistree();
    void videFichier();
    void prendFichier(const QString &nom, manager::inscrits::Bloc bloc);
    void montreFichier();
    manager::ComposantsImpression composants;
    // The header as last opened or saved (or as made): what differs was typed.
    QStringList m_enteteEnregistre;

    void relie(PanneauListe *panneau, void (TVornF_Quatre_Webweb::*const handlers[7])());
};
