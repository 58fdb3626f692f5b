#pragma once
// The main window: the menu that reaches every other window, the season
// panels, opening and closing a season, help documents, links to the author
// and the update site, and the choice not to check for updates.
#include "net/http/httpprot.h"
#include "platform/forms/form.h"

#include <cstdint>
#include <memory>

class QAction;
class QMenu;
class QMenuBar;
namespace platform
{
class TPanel;
}

class TVorn_FPr : public platform::TForm
{
    Q_OBJECT

public:
    explicit TVorn_FPr(QWidget *parent = nullptr);

    QMenuBar *MainMenu1;
    QAction *Quiter;
    QMenu *Saison1;
    QAction *Saison2, *Fermer1, *Crer1, *Aides1;
    QMenu *FichierJoueurs1;
    QAction *Edition1, *Edition2, *Courriel1, *ExtractiondelabaseFFB1, *Aides2;
    QMenu *MCF1, *FichierQuatre1;
    QAction *FichierPaires1, *Poule1, *Aides5;
    QMenu *Challenge1, *RsultatsTournois1;
    QAction *RsultatsPaires1, *RsultatsQuatre1, *Gestion1, *Classement1, *RpartitionPPetPE1,
        *AttributionPPetPE1, *Aides4;
    QMenu *Calendriers1;
    QAction *Clubs1, *Epreuves1, *Arbitres1, *Total1;
    QMenu *Convocations1;
    QAction *ParEquipes1, *HorairesBonus1, *Bonus1, *Rpartition1, *ParPaires1, *Horaires1, *N7,
        *arifs1, *Aides3;
    QMenu *Informations1;
    QAction *Propos1, *Mcrire1, *Nepasvrifierlamisejour1, *Sitepourchargerlamisejour1;

    platform::TPanel *P_Saison1;
    platform::TPanel *P_Saison2;

    // --- update check
    // The client that asks the update site for its pages at start-up.
    std::unique_ptr<net::THttpCli> HttpCli1;
    // One HEAD request for URL, waiting at most 10 s for its end; true when
    // it ended with status 200.
    bool AttendrePage(const QString &URL);
    void HttpCli1RequestDone(net::THttpCli *Sender, net::THttpRequest RqType,
                             std::uint16_t ErrCode);
    // --- end of the update check

    // Re-reads the current season and shows it; enables the season menus
    // only when one is open. A setting that names no season opens none.
    void LireSaison();

    // The update check runs at this start (the user's choice not to check is
    // off or has lapsed).
    bool verificationMiseAJour() const { return m_verifierMiseAJour; }

    void QuiterClick();
    void Saison2Click();
    void Fermer1Click();
    void Crer1Click();
    void Aides1Click();
    void Edition1Click();
    void Edition2Click(QObject *Sender);
    void ExtractiondelabaseFFB1Click();
    void Aides2Click();
    void Poule1Click();
    void Aides5Click();
    void RsultatsPaires1Click();
    void RsultatsQuatre1Click();
    void Gestion1Click();
    void Classement1Click();
    void RpartitionPPetPE1Click();
    void AttributionPPetPE1Click();
    void Aides4Click();
    void Clubs1Click(QObject *Sender);
    void ParEquipes1Click(QObject *Sender);
    void HorairesBonus1Click();
    void Bonus1Click();
    void Rpartition1Click();
    void Horaires1Click();
    void N7Click();
    void arifs1Click();
    void Aides3Click();
    void Propos1Click();
    void Mcrire1Click();
    void Nepasvrifierlamisejour1Click();
    void Sitepourchargerlamisejour1Click();

protected:
    void FormActivate() override;

private:
    void buildMenu();
    void FormCreate();
    void ouvrirAide(const QString &document);

    bool m_verifierMiseAJour = true;
    // The season setting last said to name no season: said once, not at
    // every activation.
    QString m_saisonRefusee;
    // Set when the client reports the end of a request, with its error code.
    bool FinRequete = false;
    std::uint16_t ErreurRequete = 0;
};
