#pragma once
// The theoretical PP/PE distribution table: K searched for a total, the
// table saved as a ".PPE" file and printed five places to a line.
#include "manager/core/ventilation.h"
#include "manager/impression.h"
#include "platform/forms/form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace platform
{
class TRadioGroup;
}

class TVornF_repart : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVornF_repart(QWidget *parent = nullptr);

    QLineEdit *E_Points;
    QLineEdit *E_LigX;
    QLineEdit *E_LigY;
    QLineEdit *E_Coef_K;
    platform::TRadioGroup *Rg_Type;
    platform::TRadioGroup *Rg_Formule;
    QLabel *L_formule;
    QLineEdit *E_Titre;
    QLineEdit *E_sTitre;
    QLineEdit *E_Date;
    QPushButton *Button1;
    QPushButton *Bt_Memorisation;
    QPushButton *Bt_PP;
    QPushButton *Bt_Quitter;
    manager::ComposantsImpression composants;

    void Button1Click();
    void Bt_MemorisationClick();
    void Bt_PPClick();
    void Bt_QuitterClick() { Hide(); }
    void Rg_TypeClick();
    void Rg_FormuleClick() { AfficherFormule(); }
    void E_LigXChange() { AfficherFormule(); }
    void E_Coef_KChange();
    void AfficherFormule();
    void frReport1GetValue(const QString &parName, report::FrVariant &parValue);

    const manager::ImpressionRepartition &impression() const { return m_impression; }

protected:
    void FormActivate() override;

private:
    manager::ParametresRepartition parametres() const;

    // What "Calcul de K" read: used until the next search.
    qint64 m_t = 1068, m_x = 40, m_m = 30;
    manager::ImpressionRepartition m_impression;
};
