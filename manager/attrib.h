#pragma once
// A distribution table applied to a challenge ranking: the attributed list
// is printed and exported as the federation's EASI import file.
#include "manager/core/attribution.h"
#include "manager/impression.h"
#include "platform/forms/form.h"

class QLineEdit;
class QPushButton;

namespace platform
{
class TOpenDialog;
class TRadioGroup;
class TSaveDialog;
} // namespace platform

class TVornF_Attrib : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVornF_Attrib(QWidget *parent = nullptr);
    ~TVornF_Attrib() override;

    QPushButton *BtChargeClass;
    QLineEdit *EdChargeClass;
    QPushButton *BtChargeRepart;
    QLineEdit *EfChargeRepart;
    QPushButton *BtEdition;
    QPushButton *BtExport;
    QLineEdit *EdTitre;
    platform::TRadioGroup *Rg_TypePts;
    QPushButton *BtQuitte;
    std::unique_ptr<platform::TOpenDialog> OpenDialog1;
    std::unique_ptr<platform::TSaveDialog> SaveDialog1;
    manager::ComposantsImpression composants;

    void BtChargeClassClick();
    void BtChargeRepartClick();
    void BtEditionClick();
    void BtExportClick();
    void BtQuitteClick() { Hide(); }
    // fichierRepartition: the distribution's file, named by its errors.
    void Attribuer(const QString &fichierRepartition);
    void frReport1GetValue(const QString &parName, report::FrVariant &parValue);

    const QStringList &attribuees() const { return m_attribuees; }
    qint64 reste() const { return Reste; }

private:
    void commandes(bool repartition, bool edition);

    // The files are chosen anywhere, whatever season is open: the ranking,
    // the distribution and the attribution stay until others are chosen.

    QStringList m_classement;
    QStringList m_repartition;
    QStringList m_attribuees;
    qint64 Reste = 0;
};
