#pragma once
// Teams-of-four results: groups and their teams, the group's cross table,
// the match sheets of the chosen pair of teams, their scoring and
// recording, and the homologation list of the match last recorded.
#include "manager/core/feuillematch.h"
#include "manager/core/fichierlu.h"
#include "manager/core/homologation.h"
#include "manager/core/impressionquatre.h"
#include "manager/core/tableaugroupe.h"
#include "manager/core/vorn_dec.h"
#include "manager/impression.h"
#include "platform/forms/form.h"

#include <QHash>
#include <QStringList>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTableWidget;
class QWidget;

class TVorn_FResultat_Quatre : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FResultat_Quatre(QWidget *parent = nullptr);
    ~TVorn_FResultat_Quatre() override;

    // Upper panel.
    QLabel *LabelGroupe;
    QComboBox *CB_Groupe;
    QPushButton *BtAjouGroupe;
    QPushButton *BtSuprGroupe;
    QLineEdit *EdAjoutGroupe;
    QLabel *LabelCompos;
    QComboBox *CB_Compos;
    QPushButton *BtAjoutCompos;
    QPushButton *BtSupprCompos;
    QLineEdit *Ed_Compo;
    QLabel *LabelAdversaire;
    QComboBox *CB_Adversaire;
    QLabel *LabelResultats;
    QTableWidget *StGrResultat;
    QLabel *LabelFeuille;
    QPushButton *BtCrerFMAtch;
    QLineEdit *Ed_FMatch;
    QLineEdit *Ed_IV;
    QPushButton *BtEditFMatch;
    QPushButton *BtEnregGroupe;
    QPushButton *BtEditionGroupe;
    QGroupBox *GroupeResultats;
    QPushButton *Bt_load_resultat;
    QPushButton *Bt_Edition_Resultat;
    QPushButton *BtQuitter;

    // The sheet: tabs over one panel of edits and commands.
    QWidget *PanneauFeuille;
    QTabBar *TabControl1;
    QLabel *Anum;
    QLabel *BNum;
    QLineEdit *Donnee;
    QPushButton *BtA1;
    QPushButton *BtA2;
    QPushButton *BtB1;
    QPushButton *BtB2;
    QPushButton *BtAi;
    QPushButton *BtNettoyage;
    QPushButton *BtEnregistreMatch;
    QPushButton *BtHandicap;
    QPushButton *Bt_Penalite;
    QPushButton *BtCalculMacth;

    // The 92 sheet edits by name (ANom10 ... Handicap_B).
    QLineEdit *edit(const QString &nom) const { return m_edits.value(nom); }

    // Lines of the current match file, plus sheets created and not yet
    // recorded; complete sheets first, then any incomplete tail.
    QStringList LignesMatch;
    ::ListeHomologation ListeHomologation;
    // Totals of the list, in hundredths, for its printout.
    qint64 &TotalPE = ListeHomologation.TotalPE;
    qint64 &TotalPC = ListeHomologation.TotalPC;
    // The cross table shown in StGrResultat.
    const TableauGroupe &tableau() const { return m_tableau; }

    // Handlers.
    void CB_GroupeChange();
    void CB_AdversaireChange();
    void BtAjouGroupeClick();
    void BtSuprGroupeClick();
    void BtAjoutComposClick();
    void BtSupprComposClick();
    void BtCrerFMAtchClick();
    void TabControl1Change();
    void BtQuitterClick();
    void BtHandicapClick();
    void Bt_PenaliteClick();
    void BtCalculMacthClick();
    void BtA1Click();
    void BtA2Click();
    void BtB1Click();
    void BtB2Click();
    void BtAiClick();
    void BtNettoyageClick();
    void BtEnregistreMatchClick();
    void Bt_load_resultatClick();
    void Bt_Edition_ResultatClick();
    void BtEditFMatchClick();
    void BtEditionGroupeClick();
    void frReport1GetValue(const QString &parName, report::FrVariant &parValue);

    // The report component of the three printouts and its record source.
    report::TfrReport *frReport1 = nullptr;
    report::TfrUserDataset *frUserDataset1 = nullptr;

    // Operations shared with the printouts and the result file.
    static QString DeuxChiffres(int n);
    QString NomFichierMatch(int sens) const;
    void ChargerTableauGroupe();
    void AfficherFeuille(int b);
    void EnregistrerFeuille(int b);
    void ChargerMatch();
    void RafraichirFormulaire();
    // Complete sheets of LignesMatch (one per tab).
    int nombreFeuilles() const { return m_feuilles; }

    // The sheets of the match shown changed and not recorded.
    std::optional<platform::TravailEnAttente> travailEnAttente() override;

protected:
    void FormActivate() override;
    bool CloseQuery() override;

private:
    void construirePanneauHaut(QWidget *haut);
    void construireFeuille();
    void afficherTableau();
    // Loads the teams of group g into both lists; a missing file empties
    // them and reports the error.
    void chargerEquipes(int groupe);
    // ChargerMatch; with garderSiRefus, a match file that does not read
    // whole leaves the match shown and the lists that name it.
    void chargerMatch(bool garderSiRefus);
    void viderMatch();
    void afficherGroupes(const QStringList &groupes);
    // Before a command that writes the groups file, or the team list and
    // table of the group shown: those that could not be read are read again
    // and shown; one that still cannot be read refuses the command
    // (EFileError naming it).
    void relireGroupes();
    void relireEquipesEtTableau();
    void relireTableau();
    FeuilleMatch feuilleAffichee() const;
    ImpressionQuatre impression() const;
    void afficherEdits(const FeuilleMatch &f);
    void SaisirJoueurs(int equipe, int miTemps);
    int baseFeuille() const;
    bool aDesResultats(int equipe) const;
    // Records the match shown as "Enregistrer" does; false when it is
    // refused (a sheet not calculated, told to the user).
    bool enregistrerMatch();
    // The sheets of the match shown that were changed since it was read or
    // recorded, with what the edits hold.
    QList<int> feuillesNonEnregistrees() const;
    // Before the match shown is left: asks whether to record a changed
    // sheet. False when the user stays on it (the lists then show its group
    // and teams again).
    bool quitterMatch();
    // The group, team and opponent chosen in the three lists.
    std::array<int, 3> listesChoisies() const;
    void choisirListes(const std::array<int, 3> &choix);
    // Stores the figures of the sheet the edits show into LignesMatch.
    void garderFeuilleMontree();

    QHash<QString, QLineEdit *> m_edits;
    manager::ComposantsImpression m_composants;
    TableauGroupe m_tableau;
    int m_feuilles = 0;
    // The sheet whose figures the edits show; -1 when none is.
    int m_feuilleMontree = -1;
    // The match shown as read or last recorded, and the group and teams
    // chosen for it.
    QStringList m_matchLu;
    // Per sheet, its figures when its results were last known to be its
    // own: as read, or as "Calculer" left them.
    QList<QStringList> m_chiffresCalcules;
    int m_groupeMontre = -1, m_composMontre = -1, m_adversaireMontre = -1;
    // The season whose files the lists were read from: every command reads
    // and writes that season's files, whatever season is open since.
    SaisonLue m_saisonMontree;
    // The result file the caption names, while the homologation list is the
    // one saved to it: saved again without a question.
    QString m_fichierResultat;
    // That file as last saved: saved again only while unchanged on disk.
    FichierLu m_resultatLu;
    // Files of the groups, teams, table and match shown that exist but
    // could not be read (empty when read or missing): the window shows none
    // of their lines, so it never writes them.
    QString m_groupesIllisibles, m_equipesIllisibles, m_tableauIllisible, m_matchIllisible;
    // The groups, teams, table and match files as read or last written: none
    // is written over once changed on disk.
    FichiersLus m_lus;
    // A write refused that way: said; the lists, or the table, are read
    // again, and what was typed (a name, the sheet) stays.
    void refusFichierChange(const EFichierChange &refus);
    // Each file a command rewrites is still the one the window read; when
    // one changed, the refusal is said (refusFichierChange) and false returned.
    bool fichiersInchanges(const QStringList &chemins);
};
