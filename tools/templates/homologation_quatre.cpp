// The homologation list of the match last recorded: one row per player in
// list order, the PE and PC totals under it.
#include "modeles.h"

using namespace report;

namespace modeles
{

void HomologationQuatre(TfrReport &report)
{
    Modele m(report, false);
    const int l = m.largeur();
    const Police normale{9, false};

    m.bande(btReportTitle, 0, 80, QStringLiteral("Titre"));
    m.texte(QStringLiteral("Saison"), 0, 4, l, 22, QStringLiteral("Saison [saison]"),
            Police{12, true}, frtaCenter);
    m.texte(QStringLiteral("Epreuve"), 0, 30, l, 22, QStringLiteral("[epreuve]"), Police{11, true},
            frtaCenter);
    m.texte(QStringLiteral("Fichier"), 0, 54, l, 20, QStringLiteral("[nom_fich]"),
            Police{10, false}, frtaCenter);

    const struct {
        const char *titre;
        const char *valeur;
        int largeur;
        qint32 alignement;
    } colonnes[] = {{"P.E.", "[Pe1]", 70, frtaRight},
                    {"Nom", "[Nom1]", 260, frtaLeft},
                    {"Licence", "[Licence1]", 110, frtaCenter},
                    {"P.C.", "[Pc1]", 80, frtaRight}};
    m.bande(btPageHeader, 100, 20, QStringLiteral("Entete"));
    m.bande(btMasterData, 140, 18, QStringLiteral("Joueurs"));
    int x = 0, n = 0;
    for (const auto &c : colonnes) {
        ++n;
        m.cellule(QStringLiteral("Titre%1").arg(n), x, 100, c.largeur, 20,
                  QString::fromLatin1(c.titre), Police{9, true}, frtaCenter);
        m.cellule(QStringLiteral("Valeur%1").arg(n), x, 140, c.largeur, 18,
                  QString::fromLatin1(c.valeur), normale, c.alignement);
        x += c.largeur;
    }
    m.bande(btReportSummary, 180, 46, QStringLiteral("Total"));
    m.texte(QStringLiteral("TotalPe"), 0, 184, x, 18, QStringLiteral("Total P.E. : [Total_Pe]"),
            Police{9, true}, frtaRight);
    m.texte(QStringLiteral("TotalPc"), 0, 204, x, 18, QStringLiteral("Total P.C. : [Total_Pc]"),
            Police{9, true}, frtaRight);
    m.piedDePage(260);
}

} // namespace modeles
