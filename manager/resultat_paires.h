#pragma once
// A pairs tournament's results: the ranking page saved from the licensee
// area becomes an extract (".chi"), the pairs' challenge points and a result
// file (".chr"); the homologation list is printed.
#include "manager/core/fichierlu.h"
#include "manager/core/vorn_dec.h"
#include "manager/impression.h"
#include "platform/forms/form.h"

#include <QStringList>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace platform
{
class TWebBrowser;
}

class TVornF_Resultat_Paires : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVornF_Resultat_Paires(QWidget *parent = nullptr);

    QGroupBox *GroupBox1;
    QGroupBox *GroupBox2;
    QPushButton *Bt_Internet;
    QPushButton *Bt_Ouvrir_Groupe;
    QPushButton *Bt_Load_Groupe;
    QPushButton *Bt_Calcul_Groupe;
    QLabel *LabelK;
    QLineEdit *CoefK;
    QPushButton *Bt_load_resultat;
    QPushButton *Bt_Ouvrie_Resultat;
    QPushButton *Impression;
    QPushButton *BtQuitter;
    QTabWidget *PageControl1;
    platform::TWebBrowser *WebBrowser1;
    QTableWidget *Grille;
    manager::ComposantsImpression composants;

    void Bt_InternetClick();
    void Bt_Ouvrir_GroupeClick();
    void Bt_Calcul_GroupeClick();
    void Bt_load_resultatClick();
    void Bt_Ouvrie_ResultatClick();
    void ImpressionClick();
    void BtQuitterClick() { Hide(); }
    void frReport1GetValue(const QString &parName, report::FrVariant &parValue);

    const QStringList &extrait() const { return m_extrait; }
    const QStringList &resultats() const { return m_resultats; }
    qint64 totalPc() const { return Total_Pc; }

    // Results calculated and saved to no file.
    std::optional<platform::TravailEnAttente> travailEnAttente() override;

protected:
    void FormActivate() override;

private:
    void remplirGrille();
    // Results calculated and not saved are replaced only when the user says
    // so; true when there are none, or the user said to drop them.
    bool abandonnerResultats();
    void oublierFichierResultat();
    void titresGrille();
    QString dossierSaison() const;

    // The season shown at the last activation: coming back to the same one
    // keeps the window as it was.
    std::optional<QString> m_saisonMontree;
    QStringList m_extrait;
    QStringList m_resultats;
    // The season open when the extract was read, whose players file its
    // points are calculated with; and the season of the results shown,
    // which their printout names and where they are proposed for saving.
    SaisonLue m_saisonExtrait;
    QString m_saisonResultats;
    // The page or ".chi" the extract came from (named when it is refused).
    QString m_fichierExtrait;
    // The result file the results shown were read from or last saved to:
    // saving them again asks no question. Empty once a new extract or a new
    // calculation replaces them.
    QString m_fichierResultat;
    // That file as read or saved: not written over once changed on disk.
    FichierLu m_resultatLu;
    // Reads the result file chosen into the results shown.
    void lireResultats(const QString &fichier);
    // The result list was calculated from the extract shown, or read from
    // the result file named in the caption: only then may it be saved.
    bool m_resultatsAJour = false;
    QStringList m_places, m_noms1, m_noms2, m_licences1, m_licences2, m_points;
    qint64 Total_Pc = 0;
};
