// The homologation list of a pairs tournament: one row per pair with its
// players' licences and points, the total of the points counted per licence.
#include "modeles.h"

using namespace report;

namespace modeles
{

void HomologationPaires(TfrReport &report)
{
    Modele m(report, false);
    const int l = m.largeur();
    const Police normale{9, false};

    m.bande(btReportTitle, 0, 60, QStringLiteral("Titre"));
    m.texte(QStringLiteral("Saison"), 0, 4, l, 22, QStringLiteral("Saison [Saison1]"),
            Police{12, true}, frtaCenter);
    m.texte(QStringLiteral("Epreuve"), 0, 30, l, 22, QStringLiteral("[Epreuve1]"), Police{11, true},
            frtaCenter);

    const struct {
        const char *titre;
        const char *valeur;
        int largeur;
        qint32 alignement;
    } colonnes[] = {
        {"Place", "[Classement1]", 50, frtaCenter},  {"Joueur 1", "[Nom1]", 190, frtaLeft},
        {"Joueur 2", "[Nom2]", 190, frtaLeft},       {"Licence 1", "[Licence1]", 90, frtaCenter},
        {"Licence 2", "[Licence2]", 90, frtaCenter}, {"Points", "[Pc1]", 70, frtaRight}};
    m.bande(btPageHeader, 80, 20, QStringLiteral("Entete"));
    m.bande(btMasterData, 120, 18, QStringLiteral("Paires"));
    int x = 0, n = 0;
    for (const auto &c : colonnes) {
        ++n;
        m.cellule(QStringLiteral("Titre%1").arg(n), x, 80, c.largeur, 20,
                  QString::fromUtf8(c.titre), Police{9, true}, frtaCenter);
        m.cellule(QStringLiteral("Valeur%1").arg(n), x, 120, c.largeur, 18,
                  QString::fromUtf8(c.valeur), normale, c.alignement);
        x += c.largeur;
    }
    m.bande(btReportSummary, 160, 26, QStringLiteral("Total"));
    m.texte(QStringLiteral("TotalPoints"), 0, 166, x, 18,
            QStringLiteral("Total des points : [Total_Pc]"), Police{9, true}, frtaRight);
    m.piedDePage(220);
}

} // namespace modeles
