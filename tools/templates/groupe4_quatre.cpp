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

    TfrBandView *rang = m.bande(btReportTitle, 0, 60, QStringLiteral("Tableau"));
    m.texte(QStringLiteral("Saison"), 0, 4, l, 22, QStringLiteral("Saison [saison]"),
            Police{12, true}, frtaCenter);
    m.texte(QStringLiteral("Epreuve"), 0, 30, l, 22, QStringLiteral("[epreuve]"), Police{11, true},
            frtaCenter);

    // One row of the table a band, each printed under the one before and
    // growing with the longest team name of the row; as designed the rows
    // lie 1 pixel apart, since an object on a band's bottom edge would
    // belong to that band.
    // The columns share the width; a team's name heads its column in a
    // smaller type, so that a long first name ("Pierre-Emmanuel") holds on
    // one line.
    const int premiere = 170, autres = (l - premiere) / 5;
    const Police tete{8, true};
    const int y0 = 70;
    for (int r = 0; r <= 4; ++r) {
        rang = m.rangee(rang, y0 + (h + 1) * r, h, QStringLiteral("Ligne%1").arg(r));
        for (int c = 0; c <= 5; ++c) {
            const int x = c == 0 ? 0 : premiere + autres * (c - 1);
            const int dx = c == 0 ? premiere : autres;
            const QString nom = QStringLiteral("c%1r%2").arg(c).arg(r);
            QString texte;
            if (r != c)
                texte = QLatin1Char('[') + nom + QLatin1Char(']');
            // The totals are the column after the last team's, whose head
            // the table leaves empty: it is named here.
            if (r == 0 && c == 5)
                texte = QStringLiteral("[IF([c0r4] <> '', 'Total', [c5r0])]");
            else if (r == 0 && c >= 2)
                texte = QStringLiteral("[IF(([c0r%1] <> '') and ([c0r%2] = ''), 'Total', [%3])]")
                            .arg(c - 1)
                            .arg(c)
                            .arg(nom);
            TfrMemoView *v = m.cellule(QStringLiteral("Case_") + nom, x, y0 + (h + 1) * r, dx, h,
                                       texte, r == 0 ? tete : (c == 0 ? grasse : normale),
                                       c == 0 ? frtaLeft : (r == 0 ? frtaCenter : frtaRight));
            if (r == c && r > 0)
                v->FillColor = platform::clSilver;
        }
    }
    m.piedDePage(260);
}

} // namespace modeles
