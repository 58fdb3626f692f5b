#pragma once
// Report templates beside the program ("Enveloppes.frf", "calendrier.frf"):
// loading one for printing, and opening the designer on one.
#include <QString>

namespace report
{
class TfrReport;
}

// Loads RepAppli + name into report. A missing file is told to the user
// ("Modèle d'impression absent ou illisible : " + name); an unreadable one
// has had the engine's own message. False in both cases: print nothing,
// rather than whatever template the report held before.
bool chargerModeleImpression(report::TfrReport &report, const QString &name);

// Opens the registered designer (if any) on RepAppli + name. When the file is
// missing the designer gets an empty report named after it, so that its save
// creates that template and never writes over another one; an unreadable
// file is left alone (the engine has said why).
void modifierModeleImpression(report::TfrReport &report, const QString &name);
