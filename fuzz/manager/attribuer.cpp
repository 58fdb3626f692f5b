// A ranking file and a distribution file from any bytes (cut at the first
// form feed), attributed as the attribution window does: the points handed
// out and the remainder make the distribution's total, every attributed line
// is a ranking line with its points, and the EASI lines follow them one for
// one. Only the conversion error may stop it.
#include "fuzz/manager/fuzz_lignes.h"
#include "manager/core/attribution.h"
#include "platform/text/codec.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texte =
        platform::fromAnsi(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const qsizetype coupe = texte.indexOf(u'\f');
    const QStringList classement = fuzz::lignesDe(coupe < 0 ? texte : texte.left(coupe));
    const QStringList repartition = fuzz::lignesDe(coupe < 0 ? QString() : texte.mid(coupe + 1));
    manager::ClassementAccepte(classement);
    manager::RepartitionAcceptee(repartition);
    // A player gets a line for every distribution line of his place: the
    // list is as long as the matches, which a few kilobytes can make
    // enormous; such inputs say nothing more.
    QHash<QString, qint64> parPlace;
    for (const QString &r : repartition)
        ++parPlace[platform::Champ(r, 0)];
    qint64 possibles = 0;
    for (const QString &c : classement)
        possibles += parPlace.value(platform::Champ(c, 0));
    if (possibles > 100000)
        return 0;

    manager::Attribution a;
    try {
        a = manager::Attribuer(classement, repartition);
    } catch (const platform::EConvertError &) {
        return 0;
    }
    __int128 total = 0;
    for (const QString &r : repartition)
        total += platform::StrToInt64(platform::Champ(r, 1));
    const QSet<QString> lignesClassement(classement.cbegin(), classement.cend());
    // Where the ranking's lines end with ";" (as files written by the
    // ranking do), the points are the last field.
    bool separees = true;
    for (const QString &c : classement)
        separees = separees && (c.isEmpty() || c.endsWith(u';'));
    __int128 donnes = 0;
    for (const QString &l : a.lignes) {
        // A ranking line followed by its points and ";".
        if (!l.endsWith(u';'))
            std::abort();
        const qsizetype debut = l.lastIndexOf(u';', l.size() - 2) + 1;
        bool ok = false;
        donnes += l.mid(debut, l.size() - 1 - debut).toLongLong(&ok);
        if (separees && (!ok || !lignesClassement.contains(l.left(debut))))
            std::abort();
    }
    if (separees && donnes + a.reste != total)
        std::abort();
    try {
        manager::TotalAttribue(a.lignes);
    } catch (const platform::EConvertError &) {
    }
    for (manager::ColonneEasi k : {manager::ColonneEasi::PE, manager::ColonneEasi::PP}) {
        const QStringList easi = manager::LignesEasi(a.lignes, k);
        if (easi.size() != a.lignes.size())
            std::abort();
        for (const QString &e : easi)
            if (e.count(u';') < 3)
                std::abort();
    }
    manager::ImpressionAttribution imp{QStringLiteral("T"), a.lignes, 0};
    for (const QString &nom : manager::ImpressionAttribution::noms()) {
        QString t;
        qint64 entier = 0;
        bool estEntier = false;
        for (int r : {-1, 0, int(a.lignes.size()) - 1, int(a.lignes.size())})
            if (!imp.valeur(nom, r, t, entier, estEntier))
                std::abort();
    }
    return 0;
}
