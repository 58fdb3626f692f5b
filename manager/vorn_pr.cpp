#include "manager/vorn_pr.h"

#include "manager/core/site.h"
#include "manager/core/vorn_dec.h"
#include "manager/edition_joueurs.h"
#include "manager/fenetres.h"
#include "manager/vorn_fvorn.h"
#include "platform/clock/clock.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/controls.h"
#include "platform/inifile/inifile.h"
#include "platform/shell/shell.h"
#include "platform/text/linefile.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "manager/apropos.h"
#include "manager/attrib.h"
#include "manager/calendar.h"
#include "manager/challenge.h"
#include "manager/gestion.h"
#include "manager/mcf_poule.h"
#include "manager/quatre_webweb.h"
#include "manager/repart.h"
#include "manager/resultat_paires.h"
#include "manager/resultat_quatre.h"
#include "manager/vorn_edition.h"
#include "manager/vorn_imp.h"
#include "manager/vorn_saison.h"

using namespace platform;

namespace
{

const QString kParam = QStringLiteral("Param");
const QString kSaison = QStringLiteral("Saison");
const QString kMiseAjour = QStringLiteral("MiseAjour");

QAction *item(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu *submenu(QMenu *menu, const char *name, const QString &caption)
{
    QMenu *sub = menu->addMenu(caption);
    sub->setObjectName(QLatin1String(name));
    sub->menuAction()->setObjectName(QLatin1String(name) + QLatin1String("_Item"));
    return sub;
}

QMenu *topMenu(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name) + QLatin1String("_Item"));
    return menu;
}

TPanel *seasonPanel(QWidget *parent, const char *name)
{
    auto *panel = new TPanel(QLatin1String(name), parent);
    panel->setFixedHeight(145);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(0, 255, 0));
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    panel->setPalette(palette);
    panel->captionLabel()->setPalette(palette);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(67);
    font.setBold(true);
    panel->captionLabel()->setFont(font);
    return panel;
}

} // namespace

TVorn_FPr::TVorn_FPr(QWidget *parent) : TForm(QStringLiteral("Vorn_FPr"), parent)
{
    setCaption(QStringLiteral("(2019-2020) VORNisation en LUDmarre Version "));
    resize(631, 351);
    setPosition(Position::ScreenCenter);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0, 255, 0));
    setPalette(palette);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    // The menu bar keeps the desktop's colours, not the window's lime.
    MainMenu1->setAutoFillBackground(true);
    QPalette menuPalette = MainMenu1->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
        menuPalette.setColor(role, QApplication::palette().color(role));
    MainMenu1->setPalette(menuPalette);
    layout->setMenuBar(MainMenu1);
    P_Saison1 = seasonPanel(this, "P_Saison1");
    P_Saison2 = seasonPanel(this, "P_Saison2");
    layout->addWidget(P_Saison1);
    layout->addWidget(P_Saison2);
    layout->addStretch(1);

    buildMenu();

    // --- update check: the client and its design settings
    HttpCli1 = std::make_unique<net::THttpCli>();
    HttpCli1->SetName(QStringLiteral("HttpCli1"));
    HttpCli1->SetLocalAddr(QStringLiteral("0.0.0.0"));
    HttpCli1->SetProxyPort(QStringLiteral("80"));
    HttpCli1->SetAgent(QStringLiteral("Mozilla/3.0 (compatible)"));
    HttpCli1->SetAccept(QStringLiteral("image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*"));
    HttpCli1->SetNoCache(false);
    HttpCli1->SetContentTypePost(QStringLiteral("application/x-www-form-urlencoded"));
    HttpCli1->SetMultiThreaded(false);
    HttpCli1->SetRequestVer(QStringLiteral("1.0"));
    HttpCli1->SetFollowRelocation(true);
    HttpCli1->SetLocationChangeMaxCount(5);
    HttpCli1->SetBandwidthLimit(10000);
    HttpCli1->SetBandwidthSampling(1000);
    HttpCli1->SetOptions({});
    HttpCli1->SetSocksAuthentication(net::socksNoAuthentication);
    HttpCli1->OnRequestDone = [this](net::THttpCli *Sender, net::THttpRequest RqType,
                                     std::uint16_t ErrCode) {
        HttpCli1RequestDone(Sender, RqType, ErrCode);
    };
    // --- end of the update check

    // An error is shown; the window still comes up with the others.
    platform::guard([this] { FormCreate(); });
}

void TVorn_FPr::buildMenu()
{
    Quiter = MainMenu1->addAction(QStringLiteral("Quitter"));
    Quiter->setObjectName(QStringLiteral("Quiter"));

    Saison1 = topMenu(MainMenu1, "Saison1", QStringLiteral("Saisons"));
    Saison2 = item(Saison1, "Saison2", QStringLiteral("Ouvrir"));
    Fermer1 = item(Saison1, "Fermer1", QStringLiteral("Fermer"));
    Crer1 = item(Saison1, "Crer1", QStringLiteral("Créer"));
    Saison1->addSeparator();
    Aides1 = item(Saison1, "Aides1", QStringLiteral("Aides"));

    FichierJoueurs1 = topMenu(MainMenu1, "FichierJoueurs1", QStringLiteral("&Fichier Joueurs"));
    Edition1 = item(FichierJoueurs1, "Edition1", QStringLiteral("Consultation"));
    Edition2 = item(FichierJoueurs1, "Edition2", QStringLiteral("Edition"));
    Courriel1 = item(FichierJoueurs1, "Courriel1", QStringLiteral("Courriel"));
    ExtractiondelabaseFFB1 = item(FichierJoueurs1, "ExtractiondelabaseFFB1",
                                  QStringLiteral("&Extraction de la base FFB"));
    FichierJoueurs1->addSeparator();
    Aides2 = item(FichierJoueurs1, "Aides2", QStringLiteral("Aides"));

    MCF1 = topMenu(MainMenu1, "MCF1", QStringLiteral("MCF"));
    FichierPaires1 = item(MCF1, "FichierPaires1", QStringLiteral("Fichier Paires"));
    FichierPaires1->setEnabled(false);
    FichierQuatre1 = submenu(MCF1, "FichierQuatre1", QStringLiteral("Fichier Quatre"));
    Poule1 = item(FichierQuatre1, "Poule1", QStringLiteral("Poule ou Suise"));
    MCF1->addSeparator();
    Aides5 = item(MCF1, "Aides5", QStringLiteral("Aides"));

    Challenge1 = topMenu(MainMenu1, "Challenge1", QStringLiteral("Challenge"));
    RsultatsTournois1 =
        submenu(Challenge1, "RsultatsTournois1", QStringLiteral("Résultats Tournois"));
    RsultatsPaires1 =
        item(RsultatsTournois1, "RsultatsPaires1", QStringLiteral("Résultats Paires"));
    RsultatsQuatre1 =
        item(RsultatsTournois1, "RsultatsQuatre1", QStringLiteral("Résultats Quatre"));
    Gestion1 = item(Challenge1, "Gestion1", QStringLiteral("Gestion"));
    Classement1 = item(Challenge1, "Classement1", QStringLiteral("Classement"));
    RpartitionPPetPE1 =
        item(Challenge1, "RpartitionPPetPE1", QStringLiteral("Répartition PP et PE"));
    AttributionPPetPE1 =
        item(Challenge1, "AttributionPPetPE1", QStringLiteral("Attribution PP et PE"));
    Challenge1->addSeparator();
    Aides4 = item(Challenge1, "Aides4", QStringLiteral("Aides"));
    Challenge1->menuAction()->setEnabled(false);

    FichierJoueurs1->menuAction()->setEnabled(false);

    Calendriers1 = topMenu(MainMenu1, "Calendriers1", QStringLiteral("Calendriers"));
    Clubs1 = item(Calendriers1, "Clubs1", QStringLiteral("Clubs"));
    Epreuves1 = item(Calendriers1, "Epreuves1", QStringLiteral("Epreuves"));
    Arbitres1 = item(Calendriers1, "Arbitres1", QStringLiteral("Arbitres"));
    Total1 = item(Calendriers1, "Total1", QStringLiteral("Total"));
    for (QMenu *checked : {Challenge1, Calendriers1}) {
        checked->menuAction()->setCheckable(true);
        checked->menuAction()->setChecked(true);
    }

    Convocations1 = topMenu(MainMenu1, "Convocations1", QStringLiteral("Convocations"));
    ParEquipes1 = item(Convocations1, "ParEquipes1", QStringLiteral("Par Equipes"));
    HorairesBonus1 = item(Convocations1, "HorairesBonus1", QStringLiteral("Horaires"));
    Bonus1 = item(Convocations1, "Bonus1", QStringLiteral("Bonus"));
    Rpartition1 = item(Convocations1, "Rpartition1", QStringLiteral("Répartition"));
    Convocations1->addSeparator();
    ParPaires1 = item(Convocations1, "ParPaires1", QStringLiteral("Par Paires"));
    Horaires1 = item(Convocations1, "Horaires1", QStringLiteral("Horaires"));
    N7 = item(Convocations1, "N7", QStringLiteral("Répartition"));
    Convocations1->addSeparator();
    arifs1 = item(Convocations1, "arifs1", QStringLiteral("Tarifs"));
    Aides3 = item(Convocations1, "Aides3", QStringLiteral("Aides"));

    Informations1 = topMenu(MainMenu1, "Informations1", QStringLiteral("Informations"));
    Propos1 = item(Informations1, "Propos1", QStringLiteral("à Propos"));
    Mcrire1 = item(Informations1, "Mcrire1", QStringLiteral("M'écrire"));
    Nepasvrifierlamisejour1 =
        item(Informations1, "Nepasvrifierlamisejour1",
             QStringLiteral("Ne pas vérifier automatiquement la mise à jour"));
    Nepasvrifierlamisejour1->setCheckable(true);
    Sitepourchargerlamisejour1 = item(Informations1, "Sitepourchargerlamisejour1",
                                      QStringLiteral("Site des logiciels pour Vornisation"));

    auto on = [this](QAction *action, void (TVorn_FPr::*method)()) {
        connect(action, &QAction::triggered, this, handler(this, method));
    };
    auto onSender = [this](QAction *action, void (TVorn_FPr::*method)(QObject *)) {
        connect(action, &QAction::triggered, this,
                handler([this, action, method] { (this->*method)(action); }));
    };
    on(Quiter, &TVorn_FPr::QuiterClick);
    on(Saison2, &TVorn_FPr::Saison2Click);
    on(Fermer1, &TVorn_FPr::Fermer1Click);
    on(Crer1, &TVorn_FPr::Crer1Click);
    on(Aides1, &TVorn_FPr::Aides1Click);
    on(Edition1, &TVorn_FPr::Edition1Click);
    onSender(Edition2, &TVorn_FPr::Edition2Click);
    onSender(Courriel1, &TVorn_FPr::Edition2Click);
    on(ExtractiondelabaseFFB1, &TVorn_FPr::ExtractiondelabaseFFB1Click);
    on(Aides2, &TVorn_FPr::Aides2Click);
    on(Poule1, &TVorn_FPr::Poule1Click);
    on(Aides5, &TVorn_FPr::Aides5Click);
    on(RsultatsPaires1, &TVorn_FPr::RsultatsPaires1Click);
    on(RsultatsQuatre1, &TVorn_FPr::RsultatsQuatre1Click);
    on(Gestion1, &TVorn_FPr::Gestion1Click);
    on(Classement1, &TVorn_FPr::Classement1Click);
    on(RpartitionPPetPE1, &TVorn_FPr::RpartitionPPetPE1Click);
    on(AttributionPPetPE1, &TVorn_FPr::AttributionPPetPE1Click);
    on(Aides4, &TVorn_FPr::Aides4Click);
    for (QAction *calendar : {Clubs1, Epreuves1, Arbitres1, Total1})
        onSender(calendar, &TVorn_FPr::Clubs1Click);
    onSender(ParEquipes1, &TVorn_FPr::ParEquipes1Click);
    onSender(ParPaires1, &TVorn_FPr::ParEquipes1Click);
    on(HorairesBonus1, &TVorn_FPr::HorairesBonus1Click);
    on(Bonus1, &TVorn_FPr::Bonus1Click);
    on(Rpartition1, &TVorn_FPr::Rpartition1Click);
    on(Horaires1, &TVorn_FPr::Horaires1Click);
    on(N7, &TVorn_FPr::N7Click);
    on(arifs1, &TVorn_FPr::arifs1Click);
    on(Aides3, &TVorn_FPr::Aides3Click);
    on(Propos1, &TVorn_FPr::Propos1Click);
    on(Mcrire1, &TVorn_FPr::Mcrire1Click);
    // The item's check mark follows the handler, not the click itself.
    connect(Nepasvrifierlamisejour1, &QAction::triggered, this, handler([this] {
                Nepasvrifierlamisejour1->setChecked(!Nepasvrifierlamisejour1->isChecked());
                Nepasvrifierlamisejour1Click();
            }));
    on(Sitepourchargerlamisejour1, &TVorn_FPr::Sitepourchargerlamisejour1Click);
}

void TVorn_FPr::FormCreate()
{
    setCaption(Caption() + NumVersion);
    RepAppli = dossierProgramme();

    TIniFile ini(fichierIni());
    Nepasvrifierlamisejour1->setChecked(
        ini.ReadBool(kMiseAjour, QStringLiteral("NoValide"), false));
    DateMiseAjour = ini.ReadDate(kMiseAjour, QStringLiteral("Date"), 0);
    // The choice not to check lapses after 30 days (whole days, rounded).
    const qint64 days = roundHalfEven(Now() - DateMiseAjour);
    if (Nepasvrifierlamisejour1->isChecked() && days > 30) {
        Nepasvrifierlamisejour1->setChecked(false);
        ini.WriteBool(kMiseAjour, QStringLiteral("NoValide"), false);
    }
    m_verifierMiseAJour = !Nepasvrifierlamisejour1->isChecked();

    // --- update check
    // The site keeps a page for the current version only: when the index
    // answers and this version's page is reported missing, a newer version
    // exists. A version request that timed out, failed or answered anything
    // but a plain 404 proves nothing, and says nothing.
    if (m_verifierMiseAJour && AttendrePage(site::pageIndexMiseAJour())) {
        if (!AttendrePage(site::pageVersion(NumVersion)) && FinRequete &&
            HttpCli1->StatusCode() == 404 && ErreurRequete == 0)
            MessageDlg(QStringLiteral("Il éxiste une nouvelle version d'Vorn_Lud\n\n    qui peut "
                                      "être téléchargée sur :\n\n") +
                           site::pageIndexMiseAJour() +
                           QStringLiteral("\n\n  n'oubliez pas d'arrêter Vorn_Lud \n\n       "
                                          "     avant installation."),
                       mtInformation, mbOK);
    }
    // --- end of the update check
}

// --- update check
bool TVorn_FPr::AttendrePage(const QString &URL)
{
    FinRequete = false;
    ErreurRequete = 0;
    HttpCli1->SetURL(URL);
    try {
        HttpCli1->HeadAsync();
    } catch (const net::EHttpException &) {
        return false;
    }
    net::EventLoop *loop = net::EventLoop::current();
    const std::uint32_t debut = GetTickCount();
    for (;;) {
        if (FinRequete)
            return HttpCli1->StatusCode() == 200;
        // Waits for the socket's notifications instead of spinning; the
        // slices keep the deadline within 100 ms.
        const std::uint32_t ecoule = GetTickCount() - debut;
        if (ecoule > 10000) {
            HttpCli1->Abort();
            return false;
        }
        loop->waitAndProcess(static_cast<int>(std::min<std::uint32_t>(100, 10001 - ecoule)));
    }
}

void TVorn_FPr::HttpCli1RequestDone(net::THttpCli *, net::THttpRequest, std::uint16_t ErrCode)
{
    FinRequete = true;
    ErreurRequete = ErrCode;
}
// --- end of the update check

void TVorn_FPr::FormActivate()
{
    LireSaison();
}

void TVorn_FPr::LireSaison()
{
    RepAppli = dossierProgramme();
    const QString lue = TIniFile(fichierIni()).ReadString(kParam, kSaison, QString());
    // Anything but a season folder ("." or ".." among them) would have the
    // season's files written elsewhere: no season is opened, and the setting
    // is left for the user to see.
    const bool refusee = !lue.isEmpty() && !estSaison(lue);
    SaisonEnCours = refusee ? QString() : lue;
    const bool ouverte = !SaisonEnCours.isEmpty();
    for (QMenu *menu : {FichierJoueurs1, Challenge1, Calendriers1, Convocations1})
        menu->menuAction()->setEnabled(ouverte);
    if (ouverte) {
        P_Saison1->setCaption(QStringLiteral("Saison en cours"));
        P_Saison2->setCaption(SaisonEnCours);
    } else {
        P_Saison1->setCaption(QStringLiteral("Pas de Saison"));
        P_Saison2->setCaption(QStringLiteral("sélectionnée"));
    }
    // A settings file that stopped being readable closes the season: said,
    // not silently.
    direParametresIllisibles();
    if (!refusee)
        m_saisonRefusee.clear();
    else if (lue != m_saisonRefusee) {
        m_saisonRefusee = lue;
        direSaisonRefusee(lue);
    }
}

void TVorn_FPr::QuiterClick()
{
    // A window holding unsaved work may keep the program open.
    if (TForm::CloseQueryAll())
        Terminate();
}

void TVorn_FPr::Saison2Click()
{
    QString dossier;
    if (!SelectDirectory(QStringLiteral("Ouvrir un projet"), RepAppli, dossier))
        return;
    // Only a season folder right inside the program folder; anything else
    // is refused, saying so.
    const QString racine = QFileInfo(RepAppli).canonicalFilePath();
    const QString choisi = QFileInfo(dossier).canonicalFilePath();
    const QString nom = !racine.isEmpty() && !choisi.isEmpty() &&
                                choisi.startsWith(racine + QLatin1Char('/')) &&
                                choisi.size() > racine.size() + 1
                            ? choisi.mid(racine.size() + 1)
                            : QString();
    if (nom.isEmpty() || !estSaison(nom)) {
        MessageDlg(QStringLiteral("Le dossier %1 n'est pas une saison du dossier du programme (un "
                                  "dossier qui contient Joueur.DBP) : il n'est pas ouvert.")
                       .arg(QDir::toNativeSeparators(dossier)),
                   mtWarning, mbOK);
    } else {
        // A window holding unrecorded work is asked before its season
        // goes; "Annuler" keeps the season open.
        if (nom != SaisonEnCours && !TForm::CloseQueryAll(true))
            return;
        // Opened once the settings hold it: a write that fails (a full
        // disk) leaves the season open until then.
        TIniFile(fichierIni()).WriteString(kParam, kSaison, nom);
        SaisonEnCours = nom;
    }
    LireSaison();
}

void TVorn_FPr::Fermer1Click()
{
    if (!SaisonEnCours.isEmpty() && !TForm::CloseQueryAll(true))
        return;
    TIniFile(fichierIni()).WriteString(kParam, kSaison, QString());
    SaisonEnCours.clear();
    LireSaison();
}

void TVorn_FPr::Crer1Click()
{
    Vorn_FSaison->Show();
}

void TVorn_FPr::ouvrirAide(const QString &document)
{
    const QString chemin = RepAppli + document;
    const int resultat = OpenDocument(chemin);
    if (resultat <= 32)
        MessageDlg(DocumentNotOpened(chemin, resultat), mtWarning, mbYes);
}

void TVorn_FPr::Aides1Click()
{
    ouvrirAide(QStringLiteral("Saison.pdf"));
}

void TVorn_FPr::Edition1Click()
{
    Vorn_FEdition->Show();
}

void TVorn_FPr::Edition2Click(QObject *Sender)
{
    const bool courriel = Sender != Edition2;
    TVorn_FEdition_Joueurs *liste = Vorn_FEdition_Joueurs;
    liste->Bt_Action->setText(courriel ? QStringLiteral("Courriel") : QStringLiteral("Editer"));
    liste->Nbr_Courriel->setVisible(courriel);
    liste->CB_BCC->setVisible(courriel);
    liste->L_courriel->setVisible(courriel);
    liste->Show();
}

void TVorn_FPr::ExtractiondelabaseFFB1Click()
{
    Vorn_Fimp->Show();
}

void TVorn_FPr::Aides2Click()
{
    ouvrirAide(QStringLiteral("Joueurs.pdf"));
}

void TVorn_FPr::Poule1Click()
{
    Vorn_Fmcf_Poule->setCaption(QStringLiteral("Poules"));
    Vorn_Fmcf_Poule->Show();
}

void TVorn_FPr::Aides5Click()
{
    ouvrirAide(QStringLiteral("Mcf.pdf"));
}

void TVorn_FPr::RsultatsPaires1Click()
{
    VornF_Resultat_Paires->Show();
}

void TVorn_FPr::RsultatsQuatre1Click()
{
    Vorn_FResultat_Quatre->Show();
}

void TVorn_FPr::Gestion1Click()
{
    Vorn_FGestion->Show();
}

void TVorn_FPr::Classement1Click()
{
    Vorn_FChallenge->Show();
}

void TVorn_FPr::RpartitionPPetPE1Click()
{
    VornF_repart->Show();
}

void TVorn_FPr::AttributionPPetPE1Click()
{
    VornF_Attrib->Show();
}

void TVorn_FPr::Aides4Click()
{
    ouvrirAide(QStringLiteral("Challenge.pdf"));
}

void TVorn_FPr::Clubs1Click(QObject *Sender)
{
    QString genre = QStringLiteral("Clubs");
    if (Sender == Epreuves1)
        genre = QStringLiteral("Epreuves");
    else if (Sender == Arbitres1)
        genre = QStringLiteral("Arbitres");
    else if (Sender == Total1)
        genre = QStringLiteral("Totalitée");
    Vorn_FCalendar->setCaption(QStringLiteral("Editions des calendriers ") + genre);
    Vorn_FCalendar->Show();
}

void TVorn_FPr::ParEquipes1Click(QObject *Sender)
{
    VornF_Quatre_Webweb->setCaption(Sender == ParPaires1
                                        ? QStringLiteral("Editions des inscriptions par paires")
                                        : QStringLiteral("Editions des inscriptions par quatre"));
    VornF_Quatre_Webweb->Show();
}

void TVorn_FPr::HorairesBonus1Click()
{
    Vorn_FVorn->RgType->setItemIndex(1);
    Vorn_FVorn->Show();
}

void TVorn_FPr::Bonus1Click()
{
    Vorn_FVorn->Show();
}

void TVorn_FPr::Rpartition1Click()
{
    Vorn_FVorn->Ce1->setValue(20);
    Vorn_FVorn->Ce2->setValue(20);
    Vorn_FVorn->Qa->setValue(18);
    Vorn_FVorn->Show();
}

void TVorn_FPr::Horaires1Click()
{
    Vorn_FVorn->RgType->setItemIndex(0);
    Vorn_FVorn->Show();
}

void TVorn_FPr::N7Click()
{
    Vorn_FVorn->Ce1->setValue(50);
    Vorn_FVorn->Ce2->setValue(20);
    Vorn_FVorn->Qa->setValue(36);
    Vorn_FVorn->Show();
}

void TVorn_FPr::arifs1Click()
{
    ouvrirAide(QStringLiteral("Tarifs.pdf"));
}

void TVorn_FPr::Aides3Click()
{
    ouvrirAide(QStringLiteral("Convocations.pdf"));
}

void TVorn_FPr::Propos1Click()
{
    Apropos->Show();
}

void TVorn_FPr::Mcrire1Click()
{
    OpenMailLink(QStringLiteral("mailto:") + site::adresseContact() +
                 QStringLiteral("?subject=Vorn_Lud ") + NumVersion);
}

void TVorn_FPr::Nepasvrifierlamisejour1Click()
{
    TIniFile ini(fichierIni());
    const bool nePasVerifier = !Nepasvrifierlamisejour1->isChecked();
    if (nePasVerifier)
        ini.WriteDate(kMiseAjour, QStringLiteral("Date"), Now());
    ini.WriteBool(kMiseAjour, QStringLiteral("NoValide"), nePasVerifier);
    // The menu shows the choice once the settings hold it.
    Nepasvrifierlamisejour1->setChecked(nePasVerifier);
}

void TVorn_FPr::Sitepourchargerlamisejour1Click()
{
    OpenWebPage(site::pageIndexMiseAJour());
}
