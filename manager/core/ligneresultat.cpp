#include "manager/core/ligneresultat.h"

#include "manager/core/genrefichier.h"
#include "manager/core/lecturesaison.h"

#include <QHash>

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

QStringList LireResultats(const QString &fichier)
{
    const QString genre = QStringLiteral("un fichier de résultats");
    const QStringList lignes = manager::LireFichierSaison(fichier, genre);
    // A page or list saved under the name is of another kind from its first
    // line on; a result file with a later line short of its fields was cut
    // or damaged there.
    for (const QString &l : lignes) {
        if (l.trimmed().isEmpty())
            continue;
        if (!lireLigneResultat(l).complete)
            throw manager::EAutreGenre(genre, fichier);
        break;
    }
    QHash<QString, qsizetype> vues;
    for (qsizetype i = 0; i < lignes.size(); ++i)
        manager::LireLigne(fichier, i, [&] {
            const QString &l = lignes[i];
            if (l.trimmed().isEmpty())
                return;
            manager::VerifierChamps(l, 8, true);
            const LigneResultat r = lireLigneResultat(l);
            // The points count for the players the line gives.
            manager::VerifierEntier(r.champs[7], r.joueurs.isEmpty());
            if (r.joueurs.isEmpty())
                return;
            const auto deja = vues.constFind(l);
            if (deja != vues.cend())
                manager::LigneRepetee(*deja);
            vues.insert(l, i);
        });
    return lignes;
}
