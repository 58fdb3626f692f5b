#pragma once
// The program's sixteen windows: created at start-up in a fixed order, the
// first being the main window, and kept until exit. Each is reached through
// its global pointer, null outside a run.
#include "manager/core/fichierlu.h"

#include <QString>
#include <memory>
#include <vector>

namespace platform
{
class TForm;
class FolderLock;
} // namespace platform
class TVorn_FPr;
class TApropos;
class TVorn_Fimp;
class TVorn_FSaison;
class TVorn_FEdition;
class TVornF_Quatre_Webweb;
class TVornF_Resultat_Paires;
class TVorn_FResultat_Quatre;
class TVorn_FGestion;
class TVorn_FChallenge;
class TVorn_FEdition_Joueurs;
class TVorn_FCalendar;
class TVorn_FVorn;
class TVorn_Fmcf_Poule;
class TVornF_repart;
class TVornF_Attrib;

extern TVorn_FPr *Vorn_FPr;
extern TApropos *Apropos;
extern TVorn_Fimp *Vorn_Fimp;
extern TVorn_FSaison *Vorn_FSaison;
extern TVorn_FEdition *Vorn_FEdition;
extern TVornF_Quatre_Webweb *VornF_Quatre_Webweb;
extern TVornF_Resultat_Paires *VornF_Resultat_Paires;
extern TVorn_FResultat_Quatre *Vorn_FResultat_Quatre;
extern TVorn_FGestion *Vorn_FGestion;
extern TVorn_FChallenge *Vorn_FChallenge;
extern TVorn_FEdition_Joueurs *Vorn_FEdition_Joueurs;
extern TVorn_FCalendar *Vorn_FCalendar;
extern TVorn_FVorn *Vorn_FVorn;
extern TVorn_Fmcf_Poule *Vorn_Fmcf_Poule;
extern TVornF_repart *VornF_repart;
extern TVornF_Attrib *VornF_Attrib;

// Owns the windows of one run; destroying it destroys them (last created
// first) and clears the global pointers.
class Fenetres
{
public:
    Fenetres();
    ~Fenetres();
    Fenetres(const Fenetres &) = delete;
    Fenetres &operator=(const Fenetres &) = delete;

    // In creation order.
    std::vector<platform::TForm *> toutes() const;

private:
    void creerToutes();
    // Destroys the windows and clears the global pointers.
    void vider();

    std::vector<std::unique_ptr<platform::TForm>> m_fenetres;
};

// Creates the sixteen windows in order; the first is the main window.
std::unique_ptr<Fenetres> creerFenetres();

// The program's title (message box captions, the designer's registry key);
// the main block sets it before anything else needs it.
QString titreApplication();

// Takes the program folder for this run, before any window exists: held
// until the result is destroyed, dropped by the system if the run ends
// otherwise. When another copy of the program runs on the folder, says so
// and gives null: this start stops there and the other copy goes on.
std::unique_ptr<platform::FolderLock> prendreDossierProgramme();

// The start of a run after the application object exists and the title is
// set: the windows, the main window shown, and a word when the settings file
// cannot be read. The caller then runs the message loop; null when the
// windows could not be made (the error was shown).
std::unique_ptr<Fenetres> demarrerApplication();
class SaisonLue;
// For a question about work a window holds: nothing while its season is the
// open one, else " dans la saison S (saison ouverte maintenant : T)".
QString ailleursQueSaisonOuverte(const SaisonLue &saison);
// A write refused because its file changed on disk (EFichierChange): says
// so, then suite, what the window did about it.
void direFichierRelu(const EFichierChange &refus, const QString &suite);
// The same when the window read its list again and kept what was typed.
void direListeRelue(const EFichierChange &refus);
// Coming back to a window whose file changed on disk while it holds typed
// work not recorded: asks. True: the file is to be read again.
bool relireFichierChange(const QString &chemin);
// Tells once in the run that the settings file cannot be read (at start-up,
// or when it stops being readable while the program runs).
void direParametresIllisibles();
// Tells that the season setting nom names no season, which stays closed.
void direSaisonRefusee(const QString &nom);
