// The main block: the application object, the French texts of the standard
// dialogs, the report library, the windows (the main one shown), then the
// message loop.
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
    std::unique_ptr<Fenetres> fenetres = demarrerApplication();
    const int code = app.exec();
    fenetres.reset();
    report::fr().end();
    return code;
}
