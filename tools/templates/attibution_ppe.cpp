// The attribution of a distribution to a ranking: one row per player who
// received points, the total attributed.
#include "modeles.h"

using namespace report;

namespace modeles
{

void AttibutionPPE(TfrReport &report)
{
    Modele m(report, false);
    const int l = m.largeur();

    m.bande(btReportTitle, 0, 40, QStringLiteral("Titre"));
    m.texte(QStringLiteral("TitreAttribution"), 0, 4, l, 28, QStringLiteral("[Titre]"),
            Police{14, true}, frtaCenter);

    const struct {
        const char *titre;
        const char *valeur;
        int largeur;
        qint32 alignement;
    } colonnes[] = {{"Place", "[Classem]", 60, frtaCenter},
                    {"Nom", "[Nom]", 260, frtaLeft},
                    {"Licence", "[Num]", 110, frtaCenter},
                    {"I.V.", "[Indice]", 60, frtaCenter},
                    {"Points", "[Points]", 80, frtaRight}};
    m.bande(btPageHeader, 60, 20, QStringLiteral("Entete"));
    m.bande(btMasterData, 100, 18, QStringLiteral("Joueurs"));
    int x = 0, n = 0;
    for (const auto &c : colonnes) {
        ++n;
        m.cellule(QStringLiteral("Titre%1").arg(n), x, 60, c.largeur, 20,
                  QString::fromUtf8(c.titre), Police{9, true}, frtaCenter);
        m.cellule(QStringLiteral("Valeur%1").arg(n), x, 100, c.largeur, 18,
                  QString::fromUtf8(c.valeur), Police{9, false}, c.alignement);
        x += c.largeur;
    }
    m.bande(btReportSummary, 140, 26, QStringLiteral("Total"));
    m.texte(QStringLiteral("TotalAttribue"), 0, 146, x, 18,
            QStringLiteral("Total attribué : [NbPts]"), Police{9, true}, frtaRight);
    m.piedDePage(200);
}

} // namespace modeles
