#pragma once
// The theoretical table that shares a total of PP or PE points over the
// places of a ranking: each place C gets points from a linear formula in C
// with one constant K, and K is searched so that the endowed places add up
// to the total. Points are rounded on the exact value of the formula (K is a
// binary fraction during the search, the decimal text afterwards), so that
// halves go to the even neighbour whatever the binary representation.
#include <QString>
#include <QStringList>

#include <optional>

namespace manager
{

// The table never holds more places than this: a K typed by hand could
// otherwise endow millions of places.
constexpr qint64 MaxPlacesRepartition = 100000;

// K as an exact fraction num / den (den > 0).
struct ConstanteK {
    __int128 num = 0;
    __int128 den = 1;
    long double valeur() const { return (long double)num / (long double)den; }
    bool nulle() const { return num == 0; }
};

struct ParametresRepartition {
    int type = 1;     // 0: by the number of players X; 1: by the first place's maximum M
    int formule = 1;  // with type 0: 0 the last gets 1 point, 1 the last gets K / (X + 1)
    qint64 total = 0; // T
    qint64 x = 0;
    qint64 m = 0;

    // False for settings with which the search would never end or divide by 0.
    bool valides() const;
};

// Points of place c (from 1); 0 when K is 0 with type 1.
qint64 PointsPlace(const ParametresRepartition &p, const ConstanteK &k, qint64 c);
// The sum over the endowed places (from 1 while the points are at least 1).
qint64 SommePoints(const ParametresRepartition &p, const ConstanteK &k);
// The K that gives the total, or the one that gives the largest total below
// it that the bisection reaches; nothing when no table of at most
// MaxPlacesRepartition places reaches the total. The settings must be valid.
// The number of sums taken does not grow with the total.
std::optional<ConstanteK> ChercherK(const ParametresRepartition &p);

// K as the platform writes a real number: up to 15 significant digits, ",".
QString TexteK(const ConstanteK &k);
// K typed with "," or "."; EConvertError when it is not a number.
ConstanteK LireK(const QString &texte);

// The table lines "C;points;": the formula's places, then the remainder one
// point per further place.
QStringList TableRepartition(const ParametresRepartition &p, const ConstanteK &k);
// The formula as the window shows it (xTexte and mTexte as typed).
QString FormuleAffichee(int type, int formule, qint64 x, const QString &mTexte);

// What the distribution printout is given: five places per record.
struct ImpressionRepartition {
    QString titre, sousTitre, date;
    QStringList lignes;   // the loaded distribution file
    QList<qint64> cumuls; // sum of the points of lines 0..i

    // Reads every points field; EConvertError for one that is not a whole
    // number or that takes the running sum beyond 64 bits.
    void charger(const QStringList &fichier);
    int nombreEnregistrements() const { return int((lignes.size() + 4) / 5); }
    bool valeur(const QString &nom, int recNo, QString &texte, qint64 &entier,
                bool &estEntier) const;
    static QStringList noms();
};

} // namespace manager
