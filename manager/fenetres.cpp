#include "manager/fenetres.h"

#include "manager/apropos.h"
#include "manager/attrib.h"
#include "manager/calendar.h"
#include "manager/challenge.h"
#include "manager/core/vorn_dec.h"
#include "manager/edition_joueurs.h"
#include "manager/gestion.h"
#include "manager/mcf_poule.h"
#include "manager/quatre_webweb.h"
#include "manager/repart.h"
#include "manager/resultat_paires.h"
#include "manager/resultat_quatre.h"
#include "manager/vorn_edition.h"
#include "manager/vorn_fvorn.h"
#include "manager/vorn_imp.h"
#include "manager/vorn_pr.h"
#include "manager/vorn_saison.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/inifile/inifile.h"
#include "platform/text/folderlock.h"
#include "report/core/frlibrary.h"

#include "platform/text/linefile.h"

#include <QDir>
#include <QFile>

TVorn_FPr *Vorn_FPr = nullptr;
TApropos *Apropos = nullptr;
TVorn_Fimp *Vorn_Fimp = nullptr;
TVorn_FSaison *Vorn_FSaison = nullptr;
TVorn_FEdition *Vorn_FEdition = nullptr;
TVornF_Quatre_Webweb *VornF_Quatre_Webweb = nullptr;
TVornF_Resultat_Paires *VornF_Resultat_Paires = nullptr;
TVorn_FResultat_Quatre *Vorn_FResultat_Quatre = nullptr;
TVorn_FGestion *Vorn_FGestion = nullptr;
TVorn_FChallenge *Vorn_FChallenge = nullptr;
TVorn_FEdition_Joueurs *Vorn_FEdition_Joueurs = nullptr;
TVorn_FCalendar *Vorn_FCalendar = nullptr;
TVorn_FVorn *Vorn_FVorn = nullptr;
TVorn_Fmcf_Poule *Vorn_Fmcf_Poule = nullptr;
TVornF_repart *VornF_repart = nullptr;
TVornF_Attrib *VornF_Attrib = nullptr;

namespace
{

template <class W> void creer(std::vector<std::unique_ptr<platform::TForm>> &owned, W *&global)
{
    auto window = std::make_unique<W>();
    global = window.get();
    // The report library looks for the record sources of a report among the
    // program's windows: the designer lists a window's sources for its bands
    // only when the window is known to the library.
    report::fr().registerForm(window.get());
    owned.push_back(std::move(window));
}

} // namespace

Fenetres::Fenetres()
{
    try {
        creerToutes();
    } catch (...) {
        // No global pointer is left on a window that is gone.
        vider();
        throw;
    }
}

void Fenetres::creerToutes()
{
    // The first window created is the program's main window.
    platform::SetMainForm(nullptr);
    creer(m_fenetres, Vorn_FPr);
    platform::SetMainForm(m_fenetres.front().get());
    creer(m_fenetres, Apropos);
    creer(m_fenetres, Vorn_Fimp);
    creer(m_fenetres, Vorn_FSaison);
    creer(m_fenetres, Vorn_FEdition);
    creer(m_fenetres, VornF_Quatre_Webweb);
    creer(m_fenetres, VornF_Resultat_Paires);
    creer(m_fenetres, Vorn_FResultat_Quatre);
    creer(m_fenetres, Vorn_FGestion);
    creer(m_fenetres, Vorn_FChallenge);
    creer(m_fenetres, Vorn_FEdition_Joueurs);
    creer(m_fenetres, Vorn_FCalendar);
    creer(m_fenetres, Vorn_FVorn);
    creer(m_fenetres, Vorn_Fmcf_Poule);
    creer(m_fenetres, VornF_repart);
    creer(m_fenetres, VornF_Attrib);
}

Fenetres::~Fenetres()
{
    vider();
}

void Fenetres::vider()
{
    while (!m_fenetres.empty())
        m_fenetres.pop_back();
    Vorn_FPr = nullptr;
    Apropos = nullptr;
    Vorn_Fimp = nullptr;
    Vorn_FSaison = nullptr;
    Vorn_FEdition = nullptr;
    VornF_Quatre_Webweb = nullptr;
    VornF_Resultat_Paires = nullptr;
    Vorn_FResultat_Quatre = nullptr;
    Vorn_FGestion = nullptr;
    Vorn_FChallenge = nullptr;
    Vorn_FEdition_Joueurs = nullptr;
    Vorn_FCalendar = nullptr;
    Vorn_FVorn = nullptr;
    Vorn_Fmcf_Poule = nullptr;
    VornF_repart = nullptr;
    VornF_Attrib = nullptr;
}

std::vector<platform::TForm *> Fenetres::toutes() const
{
    std::vector<platform::TForm *> result;
    for (const auto &w : m_fenetres)
        result.push_back(w.get());
    return result;
}

std::unique_ptr<Fenetres> creerFenetres()
{
    return std::make_unique<Fenetres>();
}

QString titreApplication()
{
    return QStringLiteral("VORNisation en LUDmarre");
}

std::unique_ptr<platform::FolderLock> prendreDossierProgramme()
{
    // Two copies on one folder would each record over what the other has
    // recorded, from what each read before. A folder the system cannot lock
    // does not keep the program from starting.
    const QString dossier = dossierProgramme();
    auto verrou = std::make_unique<platform::FolderLock>(dossier);
    if (verrou->state() != platform::FolderLock::State::Busy)
        return verrou;
    platform::MessageDlg(
        QStringLiteral("Vorn_Lud est déjà ouvert sur le dossier %1 : cette deuxième copie "
                       "s'arrête.\n\n"
                       "Deux copies sur le même dossier effaceraient chacune ce que l'autre "
                       "enregistre. Travaillez dans la copie déjà ouverte.")
            .arg(QDir::toNativeSeparators(QDir::cleanPath(dossier))),
        platform::mtWarning, platform::mbOK);
    return nullptr;
}

std::unique_ptr<Fenetres> demarrerApplication()
{
    // An error here is shown as a command's error is: the program goes on
    // with its windows, or ends when they could not be made.
    std::unique_ptr<Fenetres> fenetres;
    if (!platform::guard([&] { fenetres = creerFenetres(); }))
        return nullptr;
    platform::guard([] { Vorn_FPr->Show(); });
    platform::guard([] { direParametresIllisibles(); });
    return fenetres;
}

QString ailleursQueSaisonOuverte(const SaisonLue &saison)
{
    if (SaisonEnCours == saison.nom())
        return QString();
    return QStringLiteral(" dans la saison %1 (saison ouverte maintenant : %2)")
        .arg(platform::excerpt(saison.nom()), saisonOuverteCitee());
}

void direFichierRelu(const EFichierChange &refus, const QString &suite)
{
    platform::MessageDlg(refus.Message() + QStringLiteral("\n\n") + suite, platform::mtWarning,
                         platform::mbOK);
}

void direListeRelue(const EFichierChange &refus)
{
    direFichierRelu(refus, QStringLiteral("La liste est relue ; ce que vous avez saisi reste "
                                          "affiché, à enregistrer de nouveau."));
}

bool relireFichierChange(const QString &chemin)
{
    return platform::MessageDlg(
               QStringLiteral("Le fichier %1 a été modifié sur le disque depuis que cette "
                              "fenêtre l'a lu, et ce que vous y avez saisi n'est pas "
                              "enregistré.\n\n"
                              "Relire le fichier ? (Non : la fenêtre garde ce qu'elle montre, "
                              "qui remplacera le fichier au prochain enregistrement.)")
                   .arg(QDir::toNativeSeparators(platform::LineFile::resolve(chemin))),
               platform::mtConfirmation, platform::mbYes | platform::mbNo) == platform::mrYes;
}

void direParametresIllisibles()
{
    // Settings that cannot be read are not replaced by the defaults the
    // program runs on (TIniFile refuses the file for the run): said once,
    // at start-up or when the file stops being readable.
    const QString ini = fichierIni();
    if (platform::TIniFile(ini).RefusalToTell())
        platform::MessageDlg(
            QStringLiteral("Le fichier de paramètres %1 ne peut pas être lu.\n\n"
                           "Le programme utilise les réglages par défaut et "
                           "n'enregistrera rien dans ce fichier avant d'être relancé.")
                .arg(QDir::toNativeSeparators(ini)),
            platform::mtWarning, platform::mbOK);
}

void direSaisonRefusee(const QString &nom)
{
    platform::MessageDlg(
        QStringLiteral("Le fichier de paramètres %1 donne la saison « %2 », qui n'est pas un "
                       "dossier de saison du dossier du programme (un dossier qui contient "
                       "Joueur.DBP).\n\n"
                       "Aucune saison n'est ouverte : ouvrez ou créez une saison (menu Saisons).")
            .arg(QDir::toNativeSeparators(fichierIni()), platform::excerpt(nom)),
        platform::mtWarning, platform::mbOK);
}
