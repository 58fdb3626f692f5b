#include "manager/core/ligneresultat.h"

LigneResultat lireLigneResultat(const QString &line)
{
    LigneResultat r;
    int start = 0;
    int n = 0;
    for (int i = 0; i < line.size() && n < 8; ++i) {
        if (line.at(i) == QLatin1Char(';')) {
            r.champs[n++] = line.mid(start, i - start);
            start = i + 1;
        }
    }
    if (n < 8) {
        for (QString &c : r.champs)
            c.clear();
        return r;
    }
    r.complete = true;
    auto prendre = [&r](int nom, int licence, int iv) {
        if (!r.champs[nom].isEmpty() && !r.champs[licence].isEmpty())
            r.joueurs.append({r.champs[nom], r.champs[licence], r.champs[iv], r.champs[7]});
    };
    prendre(1, 3, 4);
    prendre(2, 5, 6);
    return r;
}

bool contientLigneResultat(const QStringList &lignes)
{
    bool une = false;
    for (const QString &l : lignes) {
        if (l.trimmed().isEmpty())
            continue;
        if (!lireLigneResultat(l).complete)
            return false;
        une = true;
    }
    return une;
}

QString ligneResultatEquipe(const QString &pe, const QString &nom, const QString &licence,
                            const QString &iv, const QString &pc)
{
    return pe + QLatin1Char(';') + nom + QStringLiteral(";;") + licence + QLatin1Char(';') + iv +
           QStringLiteral(";;;") + pc + QLatin1Char(';');
}
