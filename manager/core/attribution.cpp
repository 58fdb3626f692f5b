#include "manager/core/attribution.h"

#include "manager/core/genrefichier.h"
#include "manager/core/lecturesaison.h"
#include "manager/core/saisie.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QHash>

namespace manager
{

bool ClassementAccepte(const QStringList &lignes)
{
    return lignes.size() >= 2 && !platform::Champ(lignes[0], 3).isEmpty();
}

bool RepartitionAcceptee(const QStringList &lignes)
{
    return lignes.size() >= 2;
}

QStringList LireClassement(const QString &fichier)
{
    const QStringList lignes =
        LireFichierSaison(fichier, QStringLiteral("un fichier de classement"));
    if (!ClassementAccepte(lignes))
        return lignes;
    QHash<QString, qsizetype> licences;
    qint64 precedente = 0;
    for (qsizetype i = 0; i < lignes.size(); ++i)
        LireLigne(fichier, i, [&] {
            const QString &l = lignes[i];
            VerifierChamps(l, 4);
            const QString texte = platform::Champ(l, 0);
            const qint64 place = platform::StrToInt64(texte);
            if (place != i + 1 && (i == 0 || place != precedente))
                throw platform::EConvertError(
                    QStringLiteral("Place '%1' inattendue à ce rang du classement")
                        .arg(platform::excerpt(texte)));
            precedente = place;
            const QString licence = platform::Champ(l, 2);
            if (licence.isEmpty())
                throw platform::EConvertError(QStringLiteral("Licence manquante"));
            const auto deja = licences.constFind(licence);
            if (deja != licences.cend())
                LigneRepetee(*deja);
            licences.insert(licence, i);
        });
    return lignes;
}

QStringList LireRepartition(const QString &fichier)
{
    const QStringList lignes =
        LireFichierSaison(fichier, QStringLiteral("un fichier de répartition"));
    if (!RepartitionAcceptee(lignes))
        return lignes;
    for (qsizetype i = 0; i < lignes.size(); ++i)
        LireLigne(fichier, i, [&] {
            const QString &l = lignes[i];
            VerifierChamps(l, 2);
            const QString place = platform::Champ(l, 0);
            if (place != QString::number(i + 1))
                throw platform::EConvertError(
                    QStringLiteral("Place '%1' inattendue : la place %2 est attendue")
                        .arg(platform::excerpt(place))
                        .arg(i + 1));
            VerifierEntier(platform::Champ(l, 1));
        });
    return lignes;
}

Attribution Attribuer(const QStringList &classement, const QStringList &repartition,
                      const QString &fichierRepartition)
{
    Attribution a;
    QList<qint64> points;
    points.reserve(repartition.size());
    // The distribution's lines by place text, in file order: each ranked
    // player looks up his place's lines only.
    QHash<QString, QList<qsizetype>> parPlace;
    for (qsizetype j = 0; j < repartition.size(); ++j) {
        const QString texte = platform::Champ(repartition[j], 1);
        LireLigne(fichierRepartition, j, [&] {
            points.append(platform::StrToInt64(texte));
            a.reste = AjouteValeur(a.reste, points.last(), texte);
        });
        parPlace[platform::Champ(repartition[j], 0)].append(j);
    }
    for (const QString &c : classement) {
        const auto lignesPlace = parPlace.constFind(platform::Champ(c, 0));
        if (lignesPlace == parPlace.cend())
            continue;
        for (qsizetype j : *lignesPlace) {
            if (a.reste <= 0)
                break;
            const qint64 p = points[j] < a.reste ? points[j] : a.reste;
            a.lignes.append(c + QString::number(p) + QLatin1Char(';'));
            // A negative line gives back points: the remainder grows, and
            // must stay within 64 bits like the total.
            if (__builtin_sub_overflow(a.reste, p, &a.reste))
                throw platform::EConvertError(TexteLigneFichier(
                    QStringLiteral("'%1' n'est pas une valeur entière correcte")
                        .arg(platform::excerpt(platform::Champ(repartition[j], 1))),
                    fichierRepartition, j));
        }
    }
    return a;
}

qint64 TotalAttribue(const QStringList &attribuees)
{
    qint64 total = 0;
    for (const QString &l : attribuees)
        total = AjouteEntier(total, platform::Champ(l, 4));
    return total;
}

QStringList LignesEasi(const QStringList &attribuees, ColonneEasi colonne)
{
    QStringList lignes;
    for (const QString &l : attribuees) {
        const QString licence = platform::Champ(l, 2);
        const QString points = platform::Champ(l, 4);
        lignes.append(colonne == ColonneEasi::PE
                          ? licence + QLatin1Char(';') + points + QStringLiteral(";;")
                          : licence + QStringLiteral(";;") + points + QLatin1Char(';'));
    }
    return lignes;
}

bool ImpressionAttribution::valeur(const QString &nom, int recNo, QString &texte, qint64 &entier,
                                   bool &estEntier) const
{
    estEntier = false;
    if (nom == u"Titre") {
        texte = titre;
        return true;
    }
    if (nom == u"NbPts") {
        estEntier = true;
        entier = total;
        return true;
    }
    static const char16_t *const champs[] = {u"Classem", u"Nom", u"Num", u"Indice", u"Points"};
    for (int n = 0; n < 5; ++n)
        if (nom == champs[n]) {
            texte =
                recNo >= 0 && recNo < lignes.size() ? platform::Champ(lignes[recNo], n) : QString();
            return true;
        }
    return false;
}

QStringList ImpressionAttribution::noms()
{
    return {QStringLiteral("Titre"), QStringLiteral("NbPts"), QStringLiteral("Classem"),
            QStringLiteral("Nom"),   QStringLiteral("Num"),   QStringLiteral("Indice"),
            QStringLiteral("Points")};
}

} // namespace manager
