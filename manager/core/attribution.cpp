#include "manager/core/attribution.h"

#include "platform/text/convert.h"
#include "platform/text/linefile.h"

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

Attribution Attribuer(const QStringList &classement, const QStringList &repartition)
{
    Attribution a;
    QList<qint64> points;
    points.reserve(repartition.size());
    for (const QString &r : repartition) {
        points.append(platform::StrToInt64(platform::Champ(r, 1)));
        a.reste += points.last();
    }
    for (const QString &c : classement) {
        const QString place = platform::Champ(c, 0);
        for (qsizetype j = 0; j < repartition.size(); ++j) {
            if (a.reste <= 0)
                break;
            if (platform::Champ(repartition[j], 0) != place)
                continue;
            const qint64 p = points[j] < a.reste ? points[j] : a.reste;
            a.lignes.append(c + QString::number(p) + QLatin1Char(';'));
            a.reste -= p;
        }
    }
    return a;
}

qint64 TotalAttribue(const QStringList &attribuees)
{
    qint64 total = 0;
    for (const QString &l : attribuees)
        total += platform::StrToInt64(platform::Champ(l, 4));
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
