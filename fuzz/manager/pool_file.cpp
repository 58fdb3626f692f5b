// A pool file and a players file as found on disk, possibly damaged or
// hand-edited: every computation of the pools window runs over them and
// must either succeed with well-formed lines or stop with the conversion
// error, never read out of bounds or run away.
#include "manager/core/poule.h"
#include "platform/text/codec.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QByteArray>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace
{

QStringList lignes(const QString &text)
{
    QStringList out;
    qsizetype debut = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            out.append(text.mid(debut, i - debut));
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            debut = i + 1;
        }
    }
    if (debut < text.size())
        out.append(text.mid(debut));
    return out;
}

void verifie(bool condition)
{
    if (!condition)
        std::abort();
}

template <typename F> void sansConversion(F f)
{
    try {
        f();
    } catch (const platform::EConvertError &) {
    } catch (const EToursInvalides &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int n = data[0] % (kEquipesMax + 1);
    const QString texte = platform::fromAnsi(
        QByteArrayView(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)));
    QStringList poule = lignes(texte);
    if (poule.isEmpty())
        poule << QString();

    for (int t = 1; t < std::min<qsizetype>(poule.size(), n + 1); ++t) {
        sansConversion([&] { ValeurEquipe(poule.at(t)); });
        verifie(JoueursEquipe(poule.at(t)).size() <= kPlacesParEquipe);
        verifie(LicencesEquipe(poule.at(t)).size() <= kPlacesParEquipe);
        QString ligne = poule.at(t);
        sansConversion([&] {
            AjouteJoueur(ligne, poule.at(0).split(QLatin1Char(';')));
            verifie(ligne.count(QLatin1Char(';')) == kChampValeurEquipe + 1);
        });
    }

    QStringList rangee = poule;
    sansConversion([&] {
        RangeEquipes(rangee, n);
        QStringList a = rangee, b = poule;
        a.sort();
        b.sort();
        verifie(a == b);
    });

    sansConversion([&] {
        const QStringList fichier =
            FichierInscrits(poule, n, {QStringLiteral("1"), QStringLiteral("C"), {}});
        const int tours = platform::StrToInt(platform::Champ(poule.at(0), 7));
        verifie(fichier.size() == 7 + n + std::max(0, tours));
        verifie(tours <= kToursMax);
    });

    QStringList joueurs = poule;
    int courant = int(joueurs.size()) / 2;
    const QString ancien = joueurs.at(courant);
    TrieJoueursLicence(joueurs, courant);
    verifie(joueurs.at(courant) == ancien);
    sansConversion([&] {
        const int i = ChercheLicence(joueurs, platform::Champ(poule.at(0), 0));
        verifie(i >= 0 && i < joueurs.size());
    });
    TrieJoueursNom(joueurs, courant);
    verifie(joueurs.at(courant) == ancien);
    const int j = ChercheNom(joueurs, platform::Champ(poule.at(0), 2));
    verifie(j >= -1 && j < joueurs.size());
    AdressesCourriel(joueurs, LicencesEquipe(poule.at(0)));
    return 0;
}
