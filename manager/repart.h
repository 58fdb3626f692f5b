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
    void Rg_FormuleClick() { E_LigXChange(); }
    void E_LigXChange();
    void E_Coef_KChange();
    void AfficherFormule();
    void frReport1GetValue(const QString &parName, report::FrVariant &parValue);

    const manager::ImpressionRepartition &impression() const { return m_impression; }

    // K searched and not recorded by "Mémorisation".
    std::optional<platform::TravailEnAttente> travailEnAttente() override;

protected:
    void FormActivate() override;

private:
    manager::ParametresRepartition parametres() const;
    // The kind of calculation and the texts of the three settings shown.
    QStringList reglagesMontres() const;
    // "Mémorisation" is offered only for a K other than 0 and settings
    // that K was searched for.
    void permettreMemorisation();

    // What "Calcul de K" read: used until the next search.
    qint64 m_t = 1068, m_x = 40, m_m = 30;
    // The settings shown when K was searched (at first, the initial ones).
    QStringList m_reglagesK;
    bool m_dateMise = false;
    // K was searched and not recorded since.
    bool m_kAMemoriser = false;
    manager::ImpressionRepartition m_impression;
};
