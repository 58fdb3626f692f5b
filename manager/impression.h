#pragma once
// What the print windows share: the report component and its record
// source, and showing a template of the program folder.
#include "report/core/frvariant.h"

#include <QString>
#include <functional>

class QWidget;

namespace report
{
class TfrReport;
class TfrUserDataset;
} // namespace report

namespace manager
{

// The report and record source of a print window, children of the window
// (bands find "frUserDataset1" among them).
struct ComposantsImpression {
    report::TfrReport *frReport1 = nullptr;
    report::TfrUserDataset *frUserDataset1 = nullptr;
};
ComposantsImpression
creerImpression(QWidget *fenetre, unsigned boutons,
                std::function<void(const QString &, report::FrVariant &)> valeur);

// Sets the record count, loads RepAppli + modele and shows the report. A
// missing, empty or unopenable template is told and nothing is prepared; one
// the engine cannot read was told by the engine. False when nothing was shown.
// titre, when given, becomes the report's title once the template is loaded.
bool imprimerModele(const ComposantsImpression &c, int enregistrements, const QString &modele,
                    const QString *titre = nullptr);

// The text every window gives a missing template.
QString texteModeleAbsent(const QString &modele);

// Loads RepAppli + modele into report. A missing, empty or unopenable file is
// told; one the engine cannot read was told by the engine. False in both cases: print
// nothing rather than whatever template the report held before.
bool chargerModele(report::TfrReport &report, const QString &modele);

// Opens the registered designer (if any) on RepAppli + modele. When the file
// is missing or empty the designer gets an empty report named after it, so that its
// save creates that template and never writes over another one; an
// unreadable file is left alone (the engine has said why).
void modifierModele(report::TfrReport &report, const QString &modele);

} // namespace manager
