// The main block: the application object, the French texts of the standard
// dialogs, the report library, the application title and the designer, the
// windows (the main one shown), then the message loop.
#include "designer/ui/designerregistration.h"
#include "manager/fenetres.h"
#include "platform/forms/application.h"
#include "report/core/frlibrary.h"
#include "report/ui/frwindows.h"

int main(int argc, char **argv)
{
    platform::TApplication app(argc, argv);
    platform::InstallFrenchTranslations();
    // The report library's globals exist before any window can print; its
    // printer, progress window and dialogs are the real ones.
    report::frUseWindows();
    report::fr().start();
    // The designer's registry key carries the title: the title comes first.
    platform::SetApplicationTitle(titreApplication());
    designer::frRegisterDesigner();
    std::unique_ptr<Fenetres> fenetres = demarrerApplication();
    const int code = app.exec();
    fenetres.reset();
    report::fr().end();
    return code;
}
