// The theoretical distribution table, five places to a line, with the
// check of the points handed out.
#include "modeles.h"

using namespace report;

namespace modeles
{

void RepartitionTheoriquePP(TfrReport &report)
{
    Modele m(report, false);
    const int l = m.largeur();
    const Police normale{9, false};

    m.bande(btReportTitle, 0, 84, QStringLiteral("Titre"));
    m.texte(QStringLiteral("Titre1"), 0, 2, l, 26, QStringLiteral("[Titre]"), Police{14, true},
            frtaCenter);
    m.texte(QStringLiteral("SousTitre"), 0, 32, l, 22, QStringLiteral("[SousTitre]"),
            Police{11, true}, frtaCenter);
    m.texte(QStringLiteral("Date"), 0, 58, l, 20, QStringLiteral("[date]"), normale, frtaCenter);

    const int y = 100, yData = 130, place = 56, points = 80;
    m.bande(btPageHeader, y, 20, QStringLiteral("Entete"));
    m.bande(btMasterData, yData, 18, QStringLiteral("Places"));
    int x = 0;
    for (int n = 1; n <= 5; ++n) {
        m.cellule(QStringLiteral("TitrePlace%1").arg(n), x, y, place, 20, QStringLiteral("Place"),
                  Police{9, true}, frtaCenter);
        m.cellule(QStringLiteral("TitrePoints%1").arg(n), x + place, y, points, 20,
                  QStringLiteral("Points"), Police{9, true}, frtaCenter);
        m.cellule(QStringLiteral("Class%1").arg(n), x, yData, place, 18,
                  QStringLiteral("[Class%1]").arg(n), normale, frtaCenter);
        m.cellule(QStringLiteral("Points%1").arg(n), x + place, yData, points, 18,
                  QStringLiteral("[aff_PP%1]").arg(n), normale, frtaRight);
        x += place + points + 8;
    }
    m.bande(btReportSummary, 170, 26, QStringLiteral("Total"));
    m.texte(QStringLiteral("TotalPoints"), 0, 176, x - 8, 18,
            QStringLiteral("Total des points : [Nbre_PP]"), Police{9, true}, frtaRight);
    m.piedDePage(220);
}

} // namespace modeles
