#include "manager/modele_impression.h"

#include "manager/core/vorn_dec.h"
#include "platform/dialogs/dialogs.h"
#include "platform/text/linefile.h"
#include "report/objects/frreport.h"

bool chargerModeleImpression(report::TfrReport &report, const QString &name)
{
    const QString chemin = fichierProgramme(name);
    if (report.LoadFromFile(platform::LineFile::resolve(chemin)))
        return true;
    if (!platform::LineFile::exists(chemin))
        platform::MessageDlg(QStringLiteral("Modèle d'impression absent ou illisible : ") + name,
                             platform::mtWarning, platform::mbOK);
    return false;
}

void modifierModeleImpression(report::TfrReport &report, const QString &name)
{
    const QString chemin = fichierProgramme(name);
    if (!platform::LineFile::exists(chemin)) {
        report.Clear();
        report.FileName = chemin;
    } else if (!report.LoadFromFile(platform::LineFile::resolve(chemin))) {
        return;
    }
    report.DesignReport();
}
