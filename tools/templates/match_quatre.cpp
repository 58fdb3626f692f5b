// The teams-of-four match sheet on screen: each team's four players of both
// halves with their half totals, then the match line of both teams.
#include "modeles.h"

using namespace report;

namespace modeles
{

void MatchQuatre(TfrReport &report)
{
    Modele m(report, false);
    const int l = m.largeur();
    const Police normale{9, false};
    const Police grasse{9, true};
    const int h = 18;

    TfrBandView *rang = m.bande(btReportTitle, 0, 76, QStringLiteral("Feuille"));
    m.texte(QStringLiteral("Saison"), 0, 4, l, 22, QStringLiteral("Saison [saison]"),
            Police{12, true}, frtaCenter);
    m.texte(QStringLiteral("Epreuve"), 0, 28, l, 20, QStringLiteral("[epreuve]"), Police{11, true},
            frtaCenter);
    m.texte(QStringLiteral("Titre"), 0, 50, l, 20, QStringLiteral("[titre]"), Police{10, false},
            frtaCenter);

    // Each line of the sheet is a band printed under the one before, that
    // grows when a long name needs a second line. A band may start lower
    // than its cells (avant): the space above them stays when it grows.
    int y = 80;
    int rangs = 0;
    const auto ligne = [&](int avant, int hauteur) {
        ++y; // an object on a band's bottom edge would belong to that band
        rang = m.rangee(rang, y, avant + hauteur, QStringLiteral("Ligne%1").arg(++rangs));
        y += avant;
    };

    // Joueur, Licence, I.V., P.E., P.C.
    const int largeurs[] = {240, 110, 70, 80, 80};
    for (const char *equipe : {"A", "B"}) {
        const QString e = QString::fromLatin1(equipe);
        ligne(e == u"A" ? 0 : 8, 24);
        m.texte(QStringLiteral("Equipe") + e, 0, y, l, 20, QStringLiteral("[%1nom10]").arg(e),
                Police{10, true});
        y += 24;
        for (int moitie = 1; moitie <= 2; ++moitie) {
            const QString id = e + QString::number(moitie);
            const char *titres[] = {"Joueur", "Licence", "I.V.", "P.E.", "P.C."};
            int x = 0;
            ligne(0, h);
            for (int c = 0; c < 5; ++c) {
                m.cellule(QStringLiteral("Titre%1_%2").arg(id).arg(c), x, y, largeurs[c], h,
                          QString::fromLatin1(titres[c]), grasse, frtaCenter);
                x += largeurs[c];
            }
            y += h;
            for (int k = 1; k <= 4; ++k) {
                ligne(0, h);
                const QString n = QString::number(moitie) + QString::number(k);
                m.cellule(QStringLiteral("Nom%1%2").arg(e, n), 0, y, largeurs[0], h,
                          QStringLiteral("[%1nom%2]").arg(e, n), normale, frtaLeft);
                m.cellule(QStringLiteral("Lic%1%2").arg(e, n), largeurs[0], y, largeurs[1], h,
                          QStringLiteral("[%1lic%2]").arg(e, n), normale, frtaCenter);
                m.cellule(QStringLiteral("Iv%1%2").arg(e, n), largeurs[0] + largeurs[1], y,
                          largeurs[2], h, QStringLiteral("[%1iv%2]").arg(e, n), normale, frtaRight);
                y += h;
            }
            const QString t = QString::number(moitie) + QStringLiteral("5");
            ligne(0, h + 8);
            int x2 = largeurs[0] + largeurs[1];
            m.cellule(QStringLiteral("Total%1").arg(id), 0, y, x2, h,
                      QStringLiteral("Mi-temps %1").arg(moitie), grasse, frtaRight);
            m.cellule(QStringLiteral("Iv%1%2").arg(e, t), x2, y, largeurs[2], h,
                      QStringLiteral("[%1iv%2]").arg(e, t), grasse, frtaRight);
            x2 += largeurs[2];
            m.cellule(QStringLiteral("Pe%1%2").arg(e, t), x2, y, largeurs[3], h,
                      QStringLiteral("[%1pe%2]").arg(e, t), grasse, frtaRight);
            x2 += largeurs[3];
            m.cellule(QStringLiteral("Pc%1%2").arg(e, t), x2, y, largeurs[4], h,
                      QStringLiteral("[%1pc%2]").arg(e, t), grasse, frtaRight);
            y += h + 8;
        }
    }

    // The match line of both teams: its heading, then a row a team.
    const struct {
        const char *titre;
        const char *variable;
        int largeur;
    } colonnes[] = {{"Equipe", "nom10", 200}, {"Donnes", "nbd30", 70},    {"IMP", "im30", 70},
                    {"Handicap", "ip30", 70}, {"IMP total", "imp30", 80}, {"IVm", "iv30", 70},
                    {"P.V.", "pv30", 80}};
    for (int e = -1; e < 2; ++e) {
        ligne(e < 0 ? 8 : 0, h);
        int x = 0, n = 0;
        for (const auto &c : colonnes) {
            ++n;
            if (e < 0) {
                m.cellule(QStringLiteral("TitreMatch%1").arg(n), x, y, c.largeur, h,
                          QString::fromLatin1(c.titre), grasse, frtaCenter);
            } else {
                const QString s = e == 0 ? QStringLiteral("A") : QStringLiteral("B");
                // "Anbd30" and "Bnbd30" keep their lower-case n like the others.
                m.cellule(QStringLiteral("Match%1%2").arg(s).arg(n), x, y, c.largeur, h,
                          QStringLiteral("[%1%2]").arg(s, QString::fromLatin1(c.variable)),
                          n == 1 ? grasse : normale, n == 1 ? frtaLeft : frtaRight);
            }
            x += c.largeur;
        }
        y += h;
    }
    m.piedDePage(y + 40);
}

} // namespace modeles
