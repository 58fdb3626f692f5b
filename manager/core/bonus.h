#pragma once
// The bonus of a Patton suisse and whether the number of rounds suits the
// number of teams.
#include <QString>

enum CouleurBonus { BonusRouge, BonusOrange, BonusJaune, BonusVert };

struct ResultatBonus {
    int centiemes = 0; // the bonus in hundredths (18 is shown "0,18")
    QString texte;     // "0,18"
    CouleurBonus couleur = BonusRouge;
    unsigned rgb = 0xFF0000; // 0xRRGGBB of the colour
    QString information;     // " Interdit ", " Jouable  " or "Recommandé"
};

// Colour of the table for 5..8 rounds and 9..32 teams; red outside it.
CouleurBonus CouleurPatton(int tours, int equipes);
ResultatBonus CalculBonus(int tours, int equipes);
