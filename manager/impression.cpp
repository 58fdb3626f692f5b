#include "manager/impression.h"

#include "manager/core/vorn_dec.h"
#include "platform/dialogs/dialogs.h"
#include "platform/text/linefile.h"
#include "report/data/frdataset.h"
#include "report/objects/frreport.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

namespace manager
{

ComposantsImpression
creerImpression(QWidget *fenetre, unsigned boutons,
                std::function<void(const QString &, report::FrVariant &)> valeur)
{
    ComposantsImpression c;
    c.frUserDataset1 = new report::TfrUserDataset;
    c.frUserDataset1->setParent(fenetre);
    c.frUserDataset1->setObjectName(QStringLiteral("frUserDataset1"));
    c.frUserDataset1->RangeEnd = report::reCount;
    c.frReport1 = new report::TfrReport(fenetre);
    c.frReport1->setObjectName(QStringLiteral("frReport1"));
    c.frReport1->setDataset(c.frUserDataset1);
    c.frReport1->PreviewButtons = boutons;
    c.frReport1->OnGetValue = std::move(valeur);
    return c;
}

QString texteModeleAbsent(const QString &modele)
{
    return QStringLiteral("Modèle d'impression absent ou illisible : ") + modele;
}

bool chargerModele(report::TfrReport &report, const QString &modele)
{
    const QString chemin = fichierProgramme(modele);
    // A template left over from the last print must not be shown in place of
    // one that has gone or cannot be opened (the engine fails that silently).
    QFile fichier(platform::LineFile::resolve(chemin));
    if (!platform::LineFile::exists(chemin) || !fichier.open(QIODevice::ReadOnly)) {
        platform::MessageDlg(texteModeleAbsent(modele), platform::mtWarning, platform::mbOK);
        return false;
    }
    if (!report.LoadFromFile(platform::LineFile::resolve(chemin)))
        return false;
    // An empty file loads nothing: the report still holds the last template.
    if (report.lastLoad() == report::TfrReport::LoadOutcome::Empty) {
        platform::MessageDlg(texteModeleAbsent(modele), platform::mtWarning, platform::mbOK);
        return false;
    }
    return true;
}

void modifierModele(report::TfrReport &report, const QString &modele)
{
    const QString chemin = fichierProgramme(modele);
    // An empty file would load nothing and leave the last template, which
    // the designer's save would then write under this name.
    if (!platform::LineFile::exists(chemin) ||
        QFileInfo(platform::LineFile::resolve(chemin)).size() == 0) {
        report.Clear();
        report.FileName = chemin;
    } else if (!report.LoadFromFile(platform::LineFile::resolve(chemin))) {
        return;
    }
    report.DesignReport();
}

bool imprimerModele(const ComposantsImpression &c, int enregistrements, const QString &modele,
                    const QString *titre)
{
    c.frUserDataset1->RangeEnd = report::reCount;
    c.frUserDataset1->RangeEndCount = enregistrements;
    if (!chargerModele(*c.frReport1, modele))
        return false;
    if (titre)
        c.frReport1->Title = *titre;
    return c.frReport1->ShowReport();
}

} // namespace manager
