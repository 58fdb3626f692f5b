#pragma once
// The history of versions that the about box scrolls.
#include <QStringList>

QStringList HistoriqueVersions();
// Steps of the scroll: the text rises one pixel a step from the bottom edge
// until it has left the top, and never fewer steps than the area is high.
int PasDefilement(int hauteurLigne, int nombreLignes, int hauteurZone);
