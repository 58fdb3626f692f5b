#pragma once
// The players list: filters, statistics, export and e-mail. The main menu
// chooses its mode through the caption of Bt_Action ("Editer" or "Courriel")
// and the visibility of the mail controls.
#include "manager/core/liste_joueurs.h"
#include "manager/core/vorn_dec.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/form.h"

#include <QHash>
#include <QStringList>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QToolButton;

namespace platform
{
class TChart;
}

// An up-down control beside an edit: a position between Min and Max moved
// one step by its two arrows; clicked() after every move.
class TUpDown : public QWidget
{
    Q_OBJECT

public:
    TUpDown(const QString &name, int min, int max, int position, QWidget *parent);

    int Min() const { return m_min; }
    int Max() const { return m_max; }
    int Position() const { return m_position; }
    void setMin(int min);
    void setMax(int max);
    void setPosition(int position);
    // As a click on an arrow: one step up (true) or down, then clicked().
    void step(bool up);

signals:
    void clicked();

private:
    void refresh();

    QToolButton *m_up;
    QToolButton *m_down;
    int m_min;
    int m_max;
    int m_position;
};

class TVorn_FEdition_Joueurs : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FEdition_Joueurs(QWidget *parent = nullptr);
    ~TVorn_FEdition_Joueurs() override;

    QPushButton *Bt_Action;
    QSpinBox *Nbr_Courriel;
    QCheckBox *CB_BCC;
    QLabel *L_courriel;

    QTableWidget *StrGrd;
    QCheckBox *CheckBoxNom;
    QLineEdit *EditminNom;
    TUpDown *UpMinNom;
    QLineEdit *EditMaxNom;
    TUpDown *UpMaxNom;
    QCheckBox *CheckBoxIndice;
    QLineEdit *EditMinIndice;
    TUpDown *UpMinIndice;
    QLineEdit *EditMaxIndice;
    TUpDown *UpMaxIndice;
    QCheckBox *CheckCotisation;
    QListWidget *GroupCotis;
    QCheckBox *CheckClubs;
    QListWidget *GroupeClubs;
    QPushButton *Bt_Courriel;
    QTabWidget *PageControl1;
    platform::TChart *Chart1;
    platform::TChart *Chart2;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QPushButton *Bt_Impression;
    QPushButton *Bt_Quitter;
    QMenu *PopupMenu1;
    QAction *Exportation1;
    QAction *Publipostage1;
    std::unique_ptr<platform::TSaveDialog> SaveDialog1;

    void RemplirGrille();
    bool FiltreJoueur(int i) const;
    void CheckBoxNomClick();
    void UpMinNomClick();
    void UpMaxNomClick();
    void EditminNomExit();
    void EditMaxNomExit();
    void UpMinIndiceClick();
    void UpMaxIndiceClick();
    void EditMinIndiceExit();
    void EditMaxIndiceExit();
    void StrGrdSelectCell(int row, int column);
    void Bt_CourrielClick();
    void Bt_ActionClick();
    void Exportation1Click();
    void Publipostage1Click();
    void Bt_ImpressionClick();
    void Bt_QuitterClick();
    // False when no mail program took the link (the user was warned).
    bool EnvoyerCourriel(const QStringList &adresses);
    void ExporterJoueurs(const QString &nom);

    // The filters as the controls set them.
    manager::FiltresJoueurs filtres() const;
    bool modeCourriel() const;
    // Where the export menu pops up (screen coordinates), kept for tests.
    QPoint positionMenu() const { return m_positionMenu; }

protected:
    void FormActivate() override;
    void FormDeactivate() override;

private:
    void reglerColonnes();
    void remplirListes();
    void afficherCompteCourriel();
    void garderMarquesPresentes();

    // The players file, loaded when the window shows another season or file.
    QStringList m_joueurs;
    // The season the window's data were read from: written there only.
    SaisonLue m_saison;
    // The players file read and the kind of list shown (mail or not):
    // coming back to them keeps the criteria, the lists and the marks.
    QString m_empreinte;
    std::optional<bool> m_courrielMontre;
    // The players of the grid's rows, so that what the grid shows can be
    // exported even once the window has let go of the players file.
    QStringList m_listes;
    int m_courriels = 0;
    // Players marked or unmarked by hand since the header last marked them
    // all or none (m_marqueEntete), by licence: a filter changed, the players
    // file read again or the list shown in the other mode meanwhile keep the
    // user's choice; another season starts anew.
    QHash<QString, bool> m_marquesChoisies;
    QString m_marqueEntete = QStringLiteral("X");
    QPoint m_positionMenu;
};
