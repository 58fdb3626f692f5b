// The main block: the application object, the French texts of the standard
// dialogs, the windows (the main one shown), then the message loop.
#include "manager/fenetres.h"
#include "platform/forms/application.h"

int main(int argc, char **argv)
{
    platform::TApplication app(argc, argv);
    platform::InstallFrenchTranslations();
    std::unique_ptr<Fenetres> fenetres = demarrerApplication();
    const int code = app.exec();
    fenetres.reset();
    return code;
}
