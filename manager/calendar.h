#pragma once
// Calendars from iCalendar files: the events of the chosen ".ics" files
// within two dates, labels for their codes kept in "Vorn_Lud.ini", and the
// calendar printed through "calendrier.frf". The kind (by venue, event,
// referee, or everything) is the 26th character of the caption, set by the
// menu.
#include "manager/core/calendrier.h"
#include "platform/forms/form.h"

#include <array>
#include <optional>

class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
namespace report
{
class FrVariant;
class TfrReport;
class TfrUserDataset;
} // namespace report

class TVorn_FCalendar : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FCalendar(QWidget *parent = nullptr);
    ~TVorn_FCalendar() override;

    QDateEdit *DateDebut;
    QDateEdit *DateFin;
    QLabel *LRepertoire;
    QPushButton *BtRecherche;
    QListWidget *LBFichiers;
    QListWidget *LBTravail;
    QPushButton *BSelectionner;
    QPushButton *BDeselectionner;
    QListWidget *LBPhase;
    QListWidget *LbEpreuve;
    QListWidget *LbCategorie;
    QListWidget *LbLieu;
    QListWidget *LbArbitre;
    QLineEdit *EPhase;
    QLineEdit *EEpreuve;
    QLineEdit *ECategorie;
    QLineEdit *ELieu;
    QLineEdit *EArbitre;
    QPushButton *BtPhase;
    QPushButton *BtEpreuve;
    QPushButton *BtCategorie;
    QPushButton *BtLieu;
    QPushButton *BtArbitre;
    QPushButton *BtEdition;
    QPushButton *BtQuitter;
    report::TfrReport *frReport1;
    report::TfrUserDataset *frUserDataset1; // groups
    report::TfrUserDataset *frUserDataset2; // lines of the current group

    void BtQuitterClick();
    void BtRechercheClick();
    void DateDebutChange();
    void DateFinChange();
    void LBFichiersClick();
    void BSelectionnerClick();
    void BDeselectionnerClick();
    // Shared by the five code lines; sender is the list or the button.
    void LBPhaseClick(QObject *sender);
    void BtPhaseClick(QObject *sender);
    void BtEditionClick();
    void frReport1GetValue(const QString &parName, report::FrVariant &parValue);

    void ListerCalendriers();
    void TraiterCalendriers();
    void LireCalendrier(const QString &fichier);
    void ConstruireImpression();

    const manager::LectureCalendrier &lecture() const { return m_lecture; }
    const manager::Impression &impression() const { return m_impression; }

    // The labels typed for codes and not recorded by their "Valider".
    std::optional<platform::TravailEnAttente> travailEnAttente() override;

protected:
    void FormActivate() override;
    void FormDeactivate() override;

private:
    // The code line of a list, edit or button: its index among the five
    // (its name is "LB", "E" or "Bt" + the section, letter case ignored).
    int ligneDe(QObject *sender) const;
    QListWidget *liste(int code) const;
    QLineEdit *saisie(int code) const;
    QPushButton *valider(int code) const;
    // The folder of the pattern in LRepertoire (without "*.ics").
    QString dossier() const;
    void viderResultat();
    // The label typed for a code of column c and not recorded, said as a
    // sentence; empty when there is none.
    QString libelleNonValide(int c) const;

    manager::LectureCalendrier m_lecture;
    manager::Impression m_impression;
    // The kind of printout shown (the caption the menu gave): coming back
    // to it keeps the calendars chosen and what was typed.
    std::optional<QString> m_genreMontre;
};
