// The cross table of a group of up to four teams: the names on both edges,
// each PV where the table holds it, the row totals in the last column.
#include "modeles.h"

using namespace report;

namespace modeles
{

void Groupe4Quatre(TfrReport &report)
{
    Modele m(report, false);
    const int l = m.largeur();
    const Police normale{9, false};
    const Police grasse{9, true};
    const int h = 24;

    m.bande(btReportTitle, 0, 220, QStringLiteral("Tableau"));
    m.texte(QStringLiteral("Saison"), 0, 4, l, 22, QStringLiteral("Saison [saison]"),
            Police{12, true}, frtaCenter);
    m.texte(QStringLiteral("Epreuve"), 0, 30, l, 22, QStringLiteral("[epreuve]"), Police{11, true},
            frtaCenter);

    const int premiere = 170, autres = 100;
    const int y0 = 70;
    for (int r = 0; r <= 4; ++r) {
        for (int c = 0; c <= 5; ++c) {
            const int x = c == 0 ? 0 : premiere + autres * (c - 1);
            const int dx = c == 0 ? premiere : autres;
            const QString nom = QStringLiteral("c%1r%2").arg(c).arg(r);
            QString texte;
            if (r != c)
                texte = QLatin1Char('[') + nom + QLatin1Char(']');
            const bool entete = r == 0 || c == 0;
            TfrMemoView *v = m.cellule(QStringLiteral("Case_") + nom, x, y0 + h * r, dx, h, texte,
                                       entete ? grasse : normale,
                                       c == 0 ? frtaLeft : (r == 0 ? frtaCenter : frtaRight));
            if (r == c && r > 0)
                v->FillColor = platform::clSilver;
        }
    }
    m.piedDePage(260);
}

} // namespace modeles
