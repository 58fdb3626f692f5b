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
    // A tournament's name wraps at its blanks over its narrow column: the
    // smaller type keeps a long word (a town, "Championnat") whole.
    const Police tournois{6, false};

    m.bande(btReportTitle, 0, 56, QStringLiteral("Titre"));
    m.texte(QStringLiteral("TitreClassement"), 0, 2, l, 28, QStringLiteral("[Titre]"),
            Police{14, true}, frtaCenter);
    m.texte(QStringLiteral("Saison"), 0, 32, l, 18, QStringLiteral("Saison [Saison]"),
            Police{9, false}, frtaCenter);

    // The headings: the tournaments' names (a row that grows with the
    // longest), then their dates in a row of their own under them, so that
    // a name of several lines never runs into its date.
    const int y = 70, hTitre = 30, hDate = 12, hLigne = 14;
    const int yDate = y + hTitre + 10, yData = 140;
    TfrBandView *entete = m.bande(btPageHeader, y, hTitre, QStringLiteral("Entete"));
    m.rangee(entete, yDate, hDate, QStringLiteral("Dates"));
    m.bande(btMasterData, yData, hLigne, QStringLiteral("Joueurs"));
    const int journee = 48, total = 44;
    const struct {
        const char *titre;
        const char *valeur;
        int largeur;
        qint32 alignement;
    } tete[] = {{"Place", "[ClGeCl]", 30, frtaCenter},
                {"Nom", "[ClGeNom]", l - 30 - 50 - 22 - 16 * journee - total, frtaLeft},
                {"Licence", "[ClGeInd]", 50, frtaCenter},
                {"I.V.", "[ClGeIv]", 22, frtaCenter}};
    // A heading over both rows: its upper half open below, its lower half
    // (empty) open above, so that it reads as one cell.
    const auto colonne = [&](const QString &nom, int x, int largeur, const QString &titre) {
        m.cellule(QStringLiteral("Titre") + nom, x, y, largeur, hTitre, titre, titres, frtaCenter)
            ->FrameTyp = frftLeft | frftTop | frftRight;
        m.cellule(QStringLiteral("SousTitre") + nom, x, yDate, largeur, hDate, QString(), petite,
                  frtaCenter)
            ->FrameTyp = frftLeft | frftBottom | frftRight;
    };
    int x = 0, n = 0;
    for (const auto &c : tete) {
        ++n;
        colonne(QString::number(n), x, c.largeur, QString::fromUtf8(c.titre));
        m.cellule(QStringLiteral("Valeur%1").arg(n), x, yData, c.largeur, hLigne,
                  QString::fromUtf8(c.valeur), petite, c.alignement);
        x += c.largeur;
    }
    for (int k = 1; k <= 16; ++k) {
        const QString kk = QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
        TfrMemoView *t =
            m.cellule(QStringLiteral("Tournoi") + kk, x, y, journee, hTitre,
                      QStringLiteral("[ClT") + kk + QLatin1Char(']'), tournois, frtaCenter);
        t->GapX = 1;
        m.cellule(QStringLiteral("Date") + kk, x, yDate, journee, hDate,
                  QStringLiteral("[ClD") + kk + QLatin1Char(']'), petite, frtaCenter);
        m.cellule(QStringLiteral("Points") + kk, x, yData, journee, hLigne,
                  QStringLiteral("[Pc") + kk + QLatin1Char(']'), petite, frtaRight);
        x += journee;
    }
    colonne(QStringLiteral("Total"), x, total, QStringLiteral("Total"));
    m.cellule(QStringLiteral("Total"), x, yData, total, hLigne, QStringLiteral("[ClGePc]"),
              Police{7, true}, frtaRight);
    m.piedDePage(180);
}

} // namespace modeles
