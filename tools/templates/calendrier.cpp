// The calendar of the calendars window: one group a venue, event or referee
// (or one for everything), its title once, then its lines, one a day.
#include "modeles.h"

using namespace report;

namespace modeles
{

void Calendrier(TfrReport &report)
{
    Modele m(report, false);
    const int l = m.largeur();

    m.bande(btPageHeader, 0, 50, QStringLiteral("Entete"));
    m.texte(QStringLiteral("Saison"), 0, 2, l, 26,
            QStringLiteral("Calendrier de la saison [SAISON]"), Police{14, true}, frtaCenter);
    m.texte(QStringLiteral("Edite"), 0, 30, l, 16, QStringLiteral("Edité le [Date]"),
            Police{9, false}, frtaRight);

    // A group: its title, underlined.
    m.bande(btMasterData, 70, 30, QStringLiteral("Groupe"));
    TfrMemoView *titre =
        m.texte(QStringLiteral("Titre"), 0, 76, l, 22, QStringLiteral("[Titre]"), Police{12, true});
    titre->FrameTyp = frftBottom;

    // Its lines, the day's name last so that it matches the date.
    const struct {
        const char *titre;
        const char *valeur;
        int largeur;
        qint32 alignement;
    } colonnes[] = {{"Date", "[Dates]", 80, frtaCenter},
                    {"Phase", "[Phases]", 90, frtaLeft},
                    {"Epreuve", "[Epreuves]", 120, frtaLeft},
                    {"Catégorie", "[Categories]", 100, frtaLeft},
                    {"Lieu", "[Lieux]", 140, frtaLeft},
                    {"Arbitre", "[Arbitres]", 0, frtaLeft}, // the rest, less the day
                    {"Jour", "[Jour]", 80, frtaCenter}};
    int reste = l;
    for (const auto &c : colonnes)
        reste -= c.largeur;
    m.bande(btDetailHeader, 110, 18, QStringLiteral("Colonnes"));
    TfrBandView *lignes = m.bande(btDetailData, 140, 18, QStringLiteral("Lignes"));
    lignes->FormatStr = QStringLiteral("frUserDataset2");
    int x = 0, n = 0;
    for (const auto &c : colonnes) {
        ++n;
        const int largeur = c.largeur ? c.largeur : reste;
        TfrMemoView *entete = m.cellule(QStringLiteral("Colonne%1").arg(n), x, 110, largeur, 18,
                                        QString::fromUtf8(c.titre), Police{9, true}, frtaCenter);
        entete->FillColor = 0x00C0C0C0; // grey
        TfrMemoView *valeur =
            m.cellule(QStringLiteral("Valeur%1").arg(n), x, 140, largeur, 18,
                      QString::fromLatin1(c.valeur), Police{9, false}, c.alignement);
        valeur->Flags = flWordWrap | flStretched;
        x += largeur;
    }
    m.piedDePage(200);
}

} // namespace modeles
