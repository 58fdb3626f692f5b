// The season ranking: place, player, licence, value index, the points of
// each of the sixteen journées under their tournament and date, and the total.
#include "modeles.h"

using namespace report;

namespace modeles
{

void ClassemGeneral(TfrReport &report)
{
    Modele m(report, true);
    const int l = m.largeur();
    const Police petite{7, false};
    const Police titres{7, true};

    m.bande(btReportTitle, 0, 56, QStringLiteral("Titre"));
    m.texte(QStringLiteral("TitreClassement"), 0, 2, l, 28, QStringLiteral("[Titre]"),
            Police{14, true}, frtaCenter);
    m.texte(QStringLiteral("Saison"), 0, 32, l, 18, QStringLiteral("Saison [Saison]"),
            Police{9, false}, frtaCenter);

    const int y = 70, hTitre = 30, hDate = 12, hLigne = 14;
    const int yData = 140;
    m.bande(btPageHeader, y, hTitre + hDate, QStringLiteral("Entete"));
    m.bande(btMasterData, yData, hLigne, QStringLiteral("Joueurs"));
    const struct {
        const char *titre;
        const char *valeur;
        int largeur;
        qint32 alignement;
    } tete[] = {{"Place", "[ClGeCl]", 30, frtaCenter},
                {"Nom", "[ClGeNom]", 128, frtaLeft},
                {"Licence", "[ClGeInd]", 58, frtaCenter},
                {"I.V.", "[ClGeIv]", 26, frtaCenter}};
    int x = 0, n = 0;
    for (const auto &c : tete) {
        ++n;
        m.cellule(QStringLiteral("Titre%1").arg(n), x, y, c.largeur, hTitre + hDate,
                  QString::fromUtf8(c.titre), titres, frtaCenter);
        m.cellule(QStringLiteral("Valeur%1").arg(n), x, yData, c.largeur, hLigne,
                  QString::fromUtf8(c.valeur), petite, c.alignement);
        x += c.largeur;
    }
    const int journee = 46;
    for (int k = 1; k <= 16; ++k) {
        const QString kk = QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
        m.cellule(QStringLiteral("Tournoi") + kk, x, y, journee, hTitre,
                  QStringLiteral("[ClT") + kk + QLatin1Char(']'), titres, frtaCenter);
        m.cellule(QStringLiteral("Date") + kk, x, y + hTitre, journee, hDate,
                  QStringLiteral("[ClD") + kk + QLatin1Char(']'), petite, frtaCenter);
        m.cellule(QStringLiteral("Points") + kk, x, yData, journee, hLigne,
                  QStringLiteral("[Pc") + kk + QLatin1Char(']'), petite, frtaRight);
        x += journee;
    }
    m.cellule(QStringLiteral("TitreTotal"), x, y, 52, hTitre + hDate, QStringLiteral("Total"),
              titres, frtaCenter);
    m.cellule(QStringLiteral("Total"), x, yData, 52, hLigne, QStringLiteral("[ClGePc]"),
              Police{7, true}, frtaRight);
    m.piedDePage(180);
}

} // namespace modeles
