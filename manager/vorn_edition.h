#pragma once
// One player of the season at a time: navigation, search by licence or
// name, the player's envelope printed through "Enveloppes.frf" and a mail
// link to the player's address.
#include "platform/forms/form.h"
#include <QStringList>
#include <optional>

class QLineEdit;
class QPushButton;
namespace platform
{
class TRadioGroup;
}
namespace report
{
class FrVariant;
class TfrReport;
} // namespace report

class TVorn_FEdition : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FEdition(QWidget *parent = nullptr);
    ~TVorn_FEdition() override;

    // The record, one edit per field of the players file.
    QLineEdit *EdLicence;
    QLineEdit *EdTytre;
    QLineEdit *EdNom;
    QLineEdit *EdPrenom;
    QLineEdit *EdAge;
    QLineEdit *EdIv;
    QLineEdit *EdClassement;
    QLineEdit *EdClub;
    QLineEdit *EdCompet;
    QLineEdit *EdAdress1;
    QLineEdit *EdAdress2;
    QLineEdit *EDAdress3;
    QLineEdit *AdCode;
    QLineEdit *EdVille;
    QLineEdit *EdMail;
    QLineEdit *EdPhon1;
    QLineEdit *EdPhon2;
    QLineEdit *EdPhon3;
    QLineEdit *EdNaissance;
    QPushButton *Bt_Debut;
    QPushButton *Bt_Precedant;
    QPushButton *Bt_Suivant;
    QPushButton *Bt_Fin;
    QPushButton *Bt_Quitter;
    platform::TRadioGroup *RadioGroup1;
    QLineEdit *ELicence;
    QLineEdit *ENom;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;
    report::TfrReport *frReport1;

    void AfficherFiche();
    // Sorts the players by licence (field 0) or by name (any other field).
    void TrierFiches(int champ);
    void RadioGroup1Click();
    void ELicenceChange();
    void ENomChange();
    void Bt_DebutClick();
    void Bt_PrecedantClick();
    void Bt_SuivantClick();
    void Bt_FinClick();
    void Bt_QuitterClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void frReport1GetValue(const QString &parName, report::FrVariant &parValue);

    const QStringList &joueurs() const { return m_joueurs; }
    int courant() const { return m_courant; }

protected:
    void FormActivate() override;
    void FormDeactivate() override;

private:
    // RepAppli + "Enveloppes.frf" into frReport1; false (the user told)
    // when it is missing or unreadable.
    bool chargerModele();

    QStringList m_joueurs;
    int m_courant = -1;
    // The season and players file shown: coming back to them keeps the
    // player shown and what was typed over the record.
    std::optional<QString> m_saisonMontree;
    QString m_empreinte;
    // The envelope's values, kept from the print command to the report's requests.
    QString m_nom, m_adresse1, m_adresse2, m_adresse3, m_code, m_ville;
};
