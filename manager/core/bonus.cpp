#include "manager/core/bonus.h"
#include "manager/core/arrondi.h"

namespace
{

// Rows: 5 to 8 rounds; columns: 9 to 32 teams.
// R forbidden, O playable, Y and G recommended.
const char *const kTable[4] = {
    "RROGGYORRRRRRRRRRRRRRRRR", // 5
    "RRRRROYGGGYORRRRRRRRRRRR", // 6
    "RRRRRRRRRROYGGGGYORRRRRR", // 7
    "RRRRRRRRRRRRRRRROYYYYGGY", // 8
};

} // namespace

CouleurBonus CouleurPatton(int tours, int equipes)
{
    if (tours < 5 || tours > 8 || equipes < 9 || equipes > 32)
        return BonusRouge;
    switch (kTable[tours - 5][equipes - 9]) {
    case 'O':
        return BonusOrange;
    case 'Y':
        return BonusJaune;
    case 'G':
        return BonusVert;
    default:
        return BonusRouge;
    }
}

ResultatBonus CalculBonus(int tours, int equipes)
{
    ResultatBonus r;
    const int k = tours == 5 ? 3 : tours - 3;
    const long long num = 150LL * tours;
    const long long den = (long long)(equipes - 1) * k;
    if (den > 0 && num > 0) {
        // To four decimals first, then to a whole number, both on the exact
        // fraction: 12.5 must stay a half to go to 12.
        const long long dixMilliemes = DivisionArrondiePaire(num * 10000, den);
        r.centiemes = int(DivisionArrondiePaire(dixMilliemes, 10000));
    }
    r.texte = QString::number(r.centiemes / 100) + QLatin1Char(',') +
              QString::number(r.centiemes % 100).rightJustified(2, QLatin1Char('0'));
    r.couleur = CouleurPatton(tours, equipes);
    switch (r.couleur) {
    case BonusRouge:
        r.rgb = 0xFF0000;
        r.information = QStringLiteral(" Interdit ");
        break;
    case BonusOrange:
        r.rgb = 0xFF8000;
        r.information = QStringLiteral(" Jouable  ");
        break;
    case BonusJaune:
        r.rgb = 0xFFFF00;
        r.information = QStringLiteral("Recommandé");
        break;
    case BonusVert:
        r.rgb = 0x00FF00;
        r.information = QStringLiteral("Recommandé");
        break;
    }
    return r;
}
