#include "manager/core/repartition.h"
#include "manager/core/arrondi.h"

std::vector<RepartitionCentre> RepartitionCentres(int qualifiees, int horsQuota,
                                                  const std::vector<int> &entrees)
{
    std::vector<RepartitionCentre> centres(entrees.size());
    // Places given by right beyond the places to share leave nothing to share.
    const qint64 aPartager = qMax(0, qualifiees - horsQuota);
    qint64 total = 0;
    for (int e : entrees)
        total += qMax(0, e);
    if (total == 0 || centres.empty())
        return centres;

    qint64 reste = aPartager;
    std::vector<qint64> affiche(centres.size());
    for (std::size_t i = 0; i < centres.size(); ++i) {
        RepartitionCentre &c = centres[i];
        c.quota = DivisionArrondiePaire(aPartager * qMax(0, entrees[i]) * 10000, total);
        const qint64 fraction = c.quota % 10000;
        c.proche = fraction > 3400 && fraction < 6600;
        c.places = int(c.quota / 10000);
        reste -= c.places;
        affiche[i] = c.quota;
    }
    while (reste > 0) {
        std::size_t choisi = 0;
        for (std::size_t i = 1; i < centres.size(); ++i)
            if (affiche[i] % 10000 >= affiche[choisi] % 10000)
                choisi = i;
        ++centres[choisi].places;
        affiche[choisi] = 0;
        --reste;
    }
    return centres;
}

QString TexteQuota(qint64 dixMilliemes)
{
    return QString::number(dixMilliemes / 10000) + QLatin1Char(',') +
           QString::number(dixMilliemes % 10000).rightJustified(4, QLatin1Char('0')) +
           QStringLiteral("00");
}
