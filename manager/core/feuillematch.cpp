#include "manager/core/feuillematch.h"

#include "manager/core/saisie.h"
#include "platform/text/linefile.h"

namespace
{

struct Liaison {
    QString nom;
    PositionChamp position;
};

// Edit names of the four fields of a player line, per side, half and
// player: the names keep their historical capitals.
QList<Liaison> construireLiaisons()
{
    QList<Liaison> l;
    auto ajouter = [&l](const QString &nom, int ligne, int champ) {
        l.append({nom, {ligne, champ}});
    };
    auto joueurs = [&](int premiereLigne, const QStringList &nom, const QStringList &lic,
                       const QStringList &iv, const QStringList &club) {
        for (int k = 0; k < 4; ++k) {
            ajouter(nom[k], premiereLigne + k, 0);
            ajouter(lic[k], premiereLigne + k, 1);
            ajouter(iv[k], premiereLigne + k, 2);
            ajouter(club[k], premiereLigne + k, 3);
        }
    };
    auto serie = [](const QString &prefixe, int mi) {
        QStringList s;
        for (int k = 1; k <= 4; ++k)
            s << prefixe + QString::number(mi) + QString::number(k);
        return s;
    };
    auto ligne4 = [&](int ligne, const QStringList &noms) {
        for (int c = 0; c < 4; ++c)
            ajouter(noms[c], ligne, c);
    };

    ajouter(QStringLiteral("ANom10"), 1, 0);
    joueurs(2, serie(QStringLiteral("ANom"), 1), serie(QStringLiteral("ALic"), 1),
            serie(QStringLiteral("AIv"), 1), serie(QStringLiteral("AClub"), 1));
    ligne4(6, {QStringLiteral("ANbd15"), QStringLiteral("AIV15"), QStringLiteral("APe15"),
               QStringLiteral("APC15")});
    joueurs(7, serie(QStringLiteral("ANom"), 2), serie(QStringLiteral("Alic"), 2),
            serie(QStringLiteral("AIv"), 2), serie(QStringLiteral("AClub"), 2));
    ligne4(11, {QStringLiteral("ANbd25"), QStringLiteral("AIv25"), QStringLiteral("APe25"),
                QStringLiteral("APc25")});
    ligne4(12, {QStringLiteral("ANbd30"), QStringLiteral("AImp30"), QStringLiteral("AIv30"),
                QStringLiteral("APv30")});
    ajouter(QStringLiteral("BNom10"), 13, 0);
    joueurs(14, serie(QStringLiteral("BNom"), 1),
            {QStringLiteral("BLic11"), QStringLiteral("Blic12"), QStringLiteral("BLic13"),
             QStringLiteral("BLic14")},
            serie(QStringLiteral("BIv"), 1), serie(QStringLiteral("BClub"), 1));
    ligne4(18, {QStringLiteral("BNbd15"), QStringLiteral("BIV15"), QStringLiteral("BPe15"),
                QStringLiteral("BPc15")});
    joueurs(19, serie(QStringLiteral("BNom"), 2), serie(QStringLiteral("BLic"), 2),
            serie(QStringLiteral("BIV"), 2), serie(QStringLiteral("BClub"), 2));
    ligne4(23, {QStringLiteral("BNbd25"), QStringLiteral("BIv25"), QStringLiteral("BPe25"),
                QStringLiteral("BPc25")});
    ligne4(24, {QStringLiteral("Bnbd30"), QStringLiteral("BImp30"), QStringLiteral("BIv30"),
                QStringLiteral("BPv30")});
    ajouter(QStringLiteral("Handicap_A"), 25, 0);
    ajouter(QStringLiteral("Handicap_B"), 25, 1);
    return l;
}

const QList<Liaison> &liaisons()
{
    static const QList<Liaison> l = construireLiaisons();
    return l;
}

const QHash<QString, PositionChamp> &index()
{
    static const QHash<QString, PositionChamp> h = [] {
        QHash<QString, PositionChamp> m;
        for (const Liaison &l : liaisons())
            m.insert(l.nom, l.position);
        return m;
    }();
    return h;
}

} // namespace

const QStringList &FeuilleMatch::NomsEdits()
{
    static const QStringList noms = [] {
        QStringList n;
        for (const Liaison &l : liaisons())
            n << l.nom;
        return n;
    }();
    return noms;
}

PositionChamp FeuilleMatch::position(const QString &nomEdit)
{
    return index().value(nomEdit, PositionChamp{-1, -1});
}

bool FeuilleMatch::estEdit(const QString &nomEdit)
{
    return index().contains(nomEdit);
}

FeuilleMatch FeuilleMatch::depuisLignes(const QStringList &lignes, int base)
{
    FeuilleMatch f;
    for (int i = 0; i < Lignes; ++i) {
        const QString line = lignes.value(base + i);
        for (int c = 0; c < Champs; ++c)
            f.m_cases[i][c] = platform::Champ(line, c);
    }
    return f;
}

QStringList FeuilleMatch::nouvelleFeuille(const QString &nom, const QString &ivMax,
                                          const QString &groupe, const QString &equipeA, int indexA,
                                          const QString &equipeB, int indexB)
{
    QStringList l;
    l.reserve(Lignes);
    for (int i = 0; i < Lignes; ++i)
        l << QStringLiteral(";;;;");
    l[0] = champSaisi(nom) + QLatin1Char(';') + champSaisi(ivMax) + QStringLiteral(";;") +
           champSaisi(groupe) + QLatin1Char(';');
    l[1] = champSaisi(equipeA) + QLatin1Char(';') + QString::number(indexA) + QStringLiteral(";;;");
    l[13] =
        champSaisi(equipeB) + QLatin1Char(';') + QString::number(indexB) + QStringLiteral(";;;");
    return l;
}

QString FeuilleMatch::valeur(int ligne, int champ) const
{
    if (ligne < 0 || ligne >= Lignes || champ < 0 || champ >= Champs)
        return {};
    return m_cases[ligne][champ];
}

void FeuilleMatch::setValeur(int ligne, int champ, const QString &texte)
{
    if (ligne < 0 || ligne >= Lignes || champ < 0 || champ >= Champs)
        return;
    m_cases[ligne][champ] = texte;
}

QString FeuilleMatch::valeur(const QString &nomEdit) const
{
    const PositionChamp p = position(nomEdit);
    return valeur(p.ligne, p.champ);
}

void FeuilleMatch::setValeur(const QString &nomEdit, const QString &texte)
{
    const PositionChamp p = position(nomEdit);
    setValeur(p.ligne, p.champ, texte);
}

QString FeuilleMatch::ligne(int ligne) const
{
    QString out;
    for (int c = 0; c < Champs; ++c)
        out += champSaisi(valeur(ligne, c)) + QLatin1Char(';');
    return out;
}

void FeuilleMatch::enregistrer(QStringList &lignes, int base) const
{
    while (lignes.size() < base + Lignes)
        lignes << QStringLiteral(";;;;");
    for (int i = 1; i <= 25; ++i) {
        if (i == 1 || i == 13 || i == 25)
            // Only two values live on these lines.
            lignes[base + i] = champSaisi(valeur(i, 0)) + QLatin1Char(';') +
                               champSaisi(valeur(i, 1)) + QStringLiteral(";;;");
        else
            lignes[base + i] = ligne(i);
    }
}
