// The tournaments list ("Challenge.DBP") from any bytes, as the management
// window loads and edits it: refused when it does not read whole (and then
// never written), otherwise each line's seven fields taken and
// written back so that typed text never breaks a record, moved through, and
// the edited current line stored, checked and read back; the list's
// journées are those the ranking takes.
#include "manager/core/classement.h"
#include "manager/core/lignechallenge.h"
#include "manager/core/vorn_dec.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dossier;
    if (!dossier.isValid())
        return 0;
    RepAppli = dossier.path() + QLatin1Char('/');
    SaisonEnCours = QStringLiteral("2024-2025");
    QDir(RepAppli + SaisonEnCours).removeRecursively();
    QDir().mkpath(RepAppli + SaisonEnCours);
    {
        QFile f(fichierSaison(QStringLiteral("Challenge.DBP")));
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    ListeTournois liste;
    // A file that does not read whole (lecteurs_saison checks when) is
    // refused, and the list then refuses every writing command.
    if (liste.charger() != ListeTournois::Chargement::Lu) {
        if (liste.nombre() != 0 || liste.ecritureAutorisee() ||
            liste.ajouter(LigneChallenge::depuisLigne(QStringLiteral("1;01/01/2025;T;P;1;100;;"))))
            std::abort();
        return 0;
    }
    const int n = liste.nombre();
    try {
        if (manager::NombreJournees(liste.lignes()) > manager::MaxJournees)
            std::abort();
    } catch (const platform::EConvertError &) {
        // A column that is not a whole number: the ranking says so.
    }
    for (int i = 0; i < n; ++i) {
        const LigneChallenge l = liste.ligne(i);
        const QString ecrite = l.versLigne();
        if (ecrite.count(u';') != 7 || ecrite.contains(u'\n') || ecrite.contains(u'\r'))
            std::abort();
        const LigneChallenge relue = LigneChallenge::depuisLigne(ecrite);
        if (relue.versLigne() != ecrite)
            std::abort();
        try {
            l.verifier();
        } catch (const platform::EConvertError &) {
        }
    }
    liste.normaliser();
    if ((n == 0) != (liste.courant() == 0))
        std::abort();
    liste.dernier();
    liste.suivant();
    if (liste.courant() != n)
        std::abort();
    liste.premier();
    liste.precedent();
    if (n > 0 && liste.courant() != 1)
        std::abort();
    if (n == 0)
        return 0;
    // The first line edited: stored only when its date and coefficient are
    // sound, and then read back as written.
    LigneChallenge premiere = liste.ligne(0);
    bool stockee = false;
    try {
        stockee = liste.modifier(premiere);
    } catch (const platform::EConvertError &) {
    }
    ListeTournois relue;
    relue.charger();
    if (relue.nombre() != n)
        std::abort();
    if (stockee) {
        premiere.numero = QStringLiteral("1");
        premiere.fichierResultat.clear();
        if (relue.lignes().value(0) != premiere.versLigne())
            std::abort();
    } else if (relue.lignes() != liste.lignes()) {
        std::abort();
    }
    return 0;
}
