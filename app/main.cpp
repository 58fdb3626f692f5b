// The main block: the application object, the French texts of the standard
// dialogs, the application title, the program folder taken for the run, the
// report library and the designer, the windows (the main one shown), then the
// message loop.
#include "designer/ui/designerregistration.h"
#include "manager/fenetres.h"
#include "platform/forms/application.h"
#include "platform/text/folderlock.h"
#include "report/core/frlibrary.h"
#include "report/ui/frwindows.h"

int main(int argc, char **argv)
{
    platform::TApplication app(argc, argv);
    platform::InstallFrenchTranslations();
    // The title comes first: it is the caption of the error box, and the
    // designer's registry key carries it.
    platform::SetApplicationTitle(titreApplication());
    // An error before the message loop runs is shown as a command's error
    // is; the run ends only when there is no window to go on with.
    std::unique_ptr<platform::FolderLock> dossier;
    std::unique_ptr<Fenetres> fenetres;
    platform::guard([&] {
        // One copy of the program per program folder: a second one says so
        // and ends before anything is read.
        dossier = prendreDossierProgramme();
        if (!dossier)
            return;
        // The report library's globals exist before any window can print;
        // its printer, progress window and dialogs are the real ones.
        report::frUseWindows();
        report::fr().start();
        designer::frRegisterDesigner();
        fenetres = demarrerApplication();
    });
    const int code = fenetres ? app.exec() : 1;
    platform::guard([&] {
        fenetres.reset();
        report::fr().end();
    });
    return code;
}
