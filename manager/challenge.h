#pragma once
// The season ranking of the challenge, computed at every activation from the
// tournaments list and the linked result files; exported as ".PPE" and
// printed, open or limited by value index.
#include "manager/core/classement.h"
#include "manager/core/vorn_dec.h"
#include "manager/impression.h"
#include "platform/forms/form.h"

class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

class TVorn_FChallenge : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FChallenge(QWidget *parent = nullptr);

    QPlainTextEdit *Memo1;
    QTableWidget *StringGrid1;
    QPushButton *Bt1_Class;
    QPushButton *Bt_ClassPro;
    QSpinBox *SpinEdit1;
    QPushButton *BtPageWeb;
    QPushButton *Bt_Quitter;
    manager::ComposantsImpression composants;

    // The three command buttons share it; sender tells them apart.
    void Bt1_ClassClick(QPushButton *sender);
    void SpinEdit1Change();
    void Bt_QuitterClick() { Hide(); }
    void frReport1GetValue(const QString &parName, report::FrVariant &parValue);

    // The player rows in the order the grid shows them.
    std::vector<manager::LigneJoueurClassement> lignesAffichees() const;
    const manager::ClassementSaison &classement() const { return m_classement; }
    const manager::ImpressionClassement &impression() const { return m_impression; }
    // Per-journée lists read by the web pages.
    const QStringList &typesJournee() const { return m_classement.typesJournee; }
    const QStringList &nomsJournee() const { return m_classement.nomsJournee; }
    const QStringList &datesJournee() const { return m_classement.datesJournee; }

protected:
    void FormActivate() override;

private:
    void vider();
    void afficher();

    manager::ClassementSaison m_classement;
    // The season the window's data were read from: written there only.
    SaisonLue m_saison;
    manager::ImpressionClassement m_impression;
    // The tournaments list read at activation, for the web pages.
    QStringList m_tournois;
};
