#include "manager/core/liste_joueurs.h"

#include "manager/core/fichejoueur.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace manager
{

namespace
{

std::optional<int> entier(const QString &texte)
{
    try {
        return platform::StrToInt(texte);
    } catch (const platform::EConvertError &) {
        return std::nullopt;
    }
}

// a / b rounded to the nearest whole number, half to even, exactly.
qint64 diviserAuPair(qint64 a, qint64 b)
{
    if (b < 0) {
        a = -a;
        b = -b;
    }
    qint64 q = a / b;
    qint64 r = a % b;
    if (r < 0) {
        r += b;
        --q;
    }
    // Now a = q * b + r with 0 <= r < b.
    if (2 * r > b || (2 * r == b && (q % 2 != 0)))
        ++q;
    return q;
}

} // namespace

const std::array<QString, NombreBandes> NomsBandes = {
    QStringLiteral("Nons classés"),    QStringLiteral("Quatrième série"),
    QStringLiteral("Troisième série"), QStringLiteral("Deuxième série"),
    QStringLiteral("Première série"),
};

const QString EnteteExportation = QStringLiteral(
    "Numero;Titre;Nom;Prenon;Iv;Adres1;Adres2;Adress3;Code;Ville;Domicile;Bureau;Portable;"
    "Courriel;");

QChar initialeNom(const QString &nom)
{
    if (nom.isEmpty())
        return QChar();
    const QChar c = nom.front();
    if (c.unicode() < 0x80 || c.decompositionTag() != QChar::Canonical)
        return c;
    return c.decomposition().front().toUpper();
}

bool FiltreJoueur(const QString &ligne, const FiltresJoueurs &filtres)
{
    const FicheJoueur f = FicheJoueur::depuisLigne(ligne);
    if (filtres.nom) {
        const QChar initiale = initialeNom(f.Nom);
        if (initiale.isNull() || initiale < filtres.nomMin || initiale > filtres.nomMax)
            return false;
    }
    if (filtres.indice) {
        const std::optional<int> iv = entier(f.Indice);
        if (!iv || *iv < filtres.indiceMin || *iv > filtres.indiceMax)
            return false;
    }
    if (filtres.clubs && !filtres.clubsCoches.contains(f.Club))
        return false;
    if (filtres.cotisation && !filtres.cotisationsCochees.contains(f.TypeLicence))
        return false;
    return true;
}

QList<int> joueursFiltres(const QStringList &joueurs, const FiltresJoueurs &filtres)
{
    QList<int> listes;
    for (qsizetype i = 0; i < joueurs.size(); ++i)
        if (FiltreJoueur(joueurs[i], filtres))
            listes.append(int(i));
    return listes;
}

void trierListeFrancaise(QStringList &valeurs)
{
    QCollator collateur{QLocale(QLocale::French, QLocale::France)};
    collateur.setCaseSensitivity(Qt::CaseInsensitive);
    // Equal under the collator (letter case only): keep a fixed order.
    std::stable_sort(valeurs.begin(), valeurs.end(), [&](const QString &a, const QString &b) {
        const int c = collateur.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
}

QStringList valeursDistinctes(const QStringList &joueurs, int champ)
{
    QStringList valeurs;
    QSet<QString> vues;
    for (const QString &ligne : joueurs) {
        const QString v = platform::Champ(ligne, champ);
        if (v.isEmpty() || vues.contains(v))
            continue;
        vues.insert(v);
        valeurs.append(v);
    }
    trierListeFrancaise(valeurs);
    return valeurs;
}

int bandeIndice(const QString &indice)
{
    const std::optional<int> iv = entier(indice);
    if (!iv)
        return -1;
    if (*iv < 21)
        return 0;
    if (*iv <= 30)
        return 1;
    if (*iv <= 40)
        return 2;
    if (*iv <= 60)
        return 3;
    if (*iv <= 100)
        return 4;
    return -1;
}

std::optional<int> ageJoueur(platform::TDateTime maintenant, const QString &naissance)
{
    platform::TDateTime date = 0;
    try {
        date = platform::StrToDate(naissance);
    } catch (const platform::EConvertError &) {
        return std::nullopt;
    }
    return int(platform::roundHalfEven((maintenant - date) / 365.25));
}

int trancheAge(int age)
{
    if (age < 5 || age > 100)
        return -1;
    if (age <= 10)
        return 0;
    return (age - 6) / 5;
}

void StatistiquesJoueurs::ajouter(const QString &ligne, platform::TDateTime maintenant)
{
    ++trouves;
    const FicheJoueur f = FicheJoueur::depuisLigne(ligne);
    const int bande = bandeIndice(f.Indice);
    if (bande >= 0)
        ++bandes[size_t(bande)];
    const std::optional<int> age = ageJoueur(maintenant, f.DateNaissance);
    if (!age)
        return;
    sommeAges += *age;
    ++nombreAges;
    const int tranche = trancheAge(*age);
    if (tranche >= 0)
        ++tranches[size_t(tranche)];
}

QString StatistiquesJoueurs::titreAge() const
{
    if (nombreAges == 0)
        return QString();
    // Kept to four decimals, then shown with two, both half to even.
    const qint64 dixMilliemes = diviserAuPair(sommeAges * 10000, nombreAges);
    const qint64 centiemes = diviserAuPair(dixMilliemes, 100);
    const qint64 absolu = centiemes < 0 ? -centiemes : centiemes;
    const QString moyenne = QStringLiteral("%1%2,%3")
                                .arg(centiemes < 0 ? QStringLiteral("-") : QString())
                                .arg(absolu / 100)
                                .arg(absolu % 100, 2, 10, QChar(u'0'));
    return QStringLiteral("L'age moyen est de ") + moyenne + QStringLiteral(" Ans");
}

QList<QPair<QString, int>> StatistiquesJoueurs::barres() const
{
    int premiere = -1, derniere = -1;
    for (int t = 0; t < NombreTranches; ++t) {
        if (tranches[size_t(t)] == 0)
            continue;
        if (premiere < 0)
            premiere = t;
        derniere = t;
    }
    QList<QPair<QString, int>> r;
    if (premiere < 0) {
        r.append({QStringLiteral("8"), 0});
        return r;
    }
    for (int t = premiere; t <= derniere; ++t)
        r.append({QString::number(5 * t + 8), tranches[size_t(t)]});
    return r;
}

StatistiquesJoueurs statistiques(const QStringList &joueurs, const QList<int> &listes,
                                 platform::TDateTime maintenant)
{
    StatistiquesJoueurs s;
    for (int i : listes)
        s.ajouter(joueurs.value(i), maintenant);
    return s;
}

QString lienCourriel(const QStringList &adresses, bool copieCachee)
{
    if (adresses.isEmpty())
        return QString();
    QString liste;
    for (const QString &a : adresses) {
        liste += a;
        liste += u';';
    }
    return copieCachee ? QStringLiteral("mailto: ? &bcc=") + liste
                       : QStringLiteral("mailto:") + liste + QStringLiteral(" ?");
}

QList<QStringList> lotsCourriel(const QStringList &adresses, int parGroupe)
{
    parGroupe = std::max(1, parGroupe);
    QList<QStringList> lots;
    QStringList lot;
    int prises = 0;
    for (const QString &a : adresses) {
        lot.append(a);
        ++prises;
        if (prises % parGroupe == 0) {
            lots.append(lot);
            lot.clear();
        }
    }
    if (!lot.isEmpty())
        lots.append(lot);
    return lots;
}

QStringList liensCourriel(const QStringList &adresses, int parGroupe, bool copieCachee)
{
    QStringList liens;
    for (const QStringList &lot : lotsCourriel(adresses, parGroupe))
        liens.append(lienCourriel(lot, copieCachee));
    return liens;
}

QStringList lignesExportation(const QStringList &joueursListes)
{
    static constexpr int champs[] = {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    QStringList lignes{EnteteExportation};
    for (const QString &joueur : joueursListes) {
        const FicheJoueur f = FicheJoueur::depuisLigne(joueur);
        QString ligne;
        for (int c : champs) {
            ligne += f.champ(c);
            ligne += u';';
        }
        lignes.append(ligne);
    }
    return lignes;
}

QChar lettreAcceptee(const QString &texte, QChar bas, QChar haut, QChar precedente)
{
    if (texte.isEmpty())
        return precedente;
    const QChar c = texte.front().toUpper();
    if (c < bas || c > haut)
        return precedente;
    return c;
}

int indiceAccepte(const QString &texte, int bas, int haut, int precedent)
{
    const std::optional<int> v = entier(texte.trimmed());
    if (!v || *v < bas || *v > haut)
        return precedent;
    return *v;
}

} // namespace manager
