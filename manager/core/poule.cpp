#include "manager/core/poule.h"
#include "manager/core/lecturesaison.h"
#include "manager/core/majuscules.h"
#include "manager/core/saisie.h"
#include "platform/inifile/inifile.h"
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

using platform::Champ;

namespace
{

QString champ(const QStringList &lines, int i, int n)
{
    return i >= 0 && i < lines.size() ? Champ(lines.at(i), n) : QString();
}

// Stable reordering of lines by a precomputed key; courant follows its line.
template <typename Less> void trieStable(QStringList &lines, int &courant, Less less)
{
    std::vector<int> ordre(std::size_t(lines.size()));
    std::iota(ordre.begin(), ordre.end(), 0);
    std::stable_sort(ordre.begin(), ordre.end(), less);
    QStringList out;
    out.reserve(lines.size());
    int nouveau = courant;
    for (std::size_t k = 0; k < ordre.size(); ++k) {
        out.append(lines.at(ordre[k]));
        if (ordre[k] == courant)
            nouveau = int(k);
    }
    lines = out;
    courant = nouveau;
}

std::optional<qint64> licenceNumerique(const QString &text)
{
    try {
        return platform::StrToInt64(text);
    } catch (const platform::EConvertError &) {
        return std::nullopt;
    }
}

} // namespace

ReglagesPoule LireReglagesPoule(const QString &iniPath)
{
    const platform::TIniFile ini(iniPath);
    ReglagesPoule r;
    r.clubNumero = ini.ReadString(QStringLiteral("Param"), QStringLiteral("ClubNumero"), QString());
    r.clubNom = ini.ReadString(QStringLiteral("Param"), QStringLiteral("ClubNom"), QString());
    r.epreuve = ini.ReadString(QStringLiteral("Param"), QStringLiteral("Epreuve"), QString());
    return r;
}

QStringList LirePoule(const QString &fichier)
{
    bool existe = false;
    return manager::LireFichierSaison(
        fichier, QStringLiteral("un fichier de poule"),
        [](qsizetype i, const QString &l) {
            if (i == 0) {
                manager::VerifierChamps(l, 11);
                return;
            }
            manager::VerifierChamps(l, kChampValeurEquipe + 1);
            for (int p = 0; p < kPlacesParEquipe; ++p)
                manager::VerifierEntier(Champ(l, p * kChampsParPlace + 4), true);
            manager::VerifierEntier(Champ(l, kChampValeurEquipe));
        },
        &existe);
}

QString LigneEquipeVide()
{
    return QString(kChampValeurEquipe, QLatin1Char(';')) + QStringLiteral("0;");
}

QString LigneEnteteDefaut(const ReglagesPoule &r)
{
    return QStringLiteral("20140901;") + champSaisi(r.epreuve) + QStringLiteral(";Quadrette;") +
           champSaisi(r.clubNumero + QLatin1Char(' ') + r.clubNom) +
           QStringLiteral(";01;septenbre;2014;1;12;2;01/09/2014;");
}

QString LigneEntete(const QStringList &dixChamps, const QString &date)
{
    QString ligne;
    for (int i = 0; i < 10; ++i)
        ligne += champSaisi(dixChamps.value(i)) + QLatin1Char(';');
    return ligne + champSaisi(date) + QLatin1Char(';');
}

QString NomMois(int mois)
{
    static const char *const noms[12] = {"janvier",   "février", "mars",     "avril",
                                         "mai",       "juin",    "juillet",  "août",
                                         "septembre", "octobre", "novembre", "décembre"};
    return mois >= 1 && mois <= 12 ? QString::fromUtf8(noms[mois - 1]) : QString();
}

EnteteDate EnteteDepuisDate(const QDate &date)
{
    EnteteDate e;
    QString annee = QString::number(date.year());
    if (annee.length() < 4)
        annee = QStringLiteral("20") + annee;
    const QString mois = QString::number(date.month()).rightJustified(2, QLatin1Char('0'));
    const QString jour = QString::number(date.day()).rightJustified(2, QLatin1Char('0'));
    e.reference = annee + mois + jour;
    e.district = jour;
    e.phase = NomMois(date.month());
    e.groupe = annee;
    return e;
}

qint64 ValeurEquipe(const QString &ligne)
{
    // Indexes are read as the platform's 32-bit integers; their sum is kept
    // in 64 bits, so that a hand-edited file cannot overflow it.
    std::vector<qint64> valeurs;
    for (int p = 0; p < kPlacesParEquipe; ++p) {
        const QString iv = Champ(ligne, p * kChampsParPlace + 4);
        valeurs.push_back(iv.isEmpty() ? 0 : platform::StrToInt(iv));
    }
    std::sort(valeurs.begin(), valeurs.end(), std::greater<qint64>());
    return valeurs[0] + valeurs[1] + valeurs[2] + valeurs[3];
}

bool AjouteJoueur(QString &ligne, const QStringList &joueur)
{
    const QString iv = champSaisi(joueur.value(4));
    if (!iv.isEmpty())
        platform::StrToInt(iv);

    QString nouvelle;
    bool place = false;
    for (int p = 0; p < kPlacesParEquipe; ++p) {
        if (!place && Champ(ligne, p * kChampsParPlace).isEmpty()) {
            for (int f = 0; f < kChampsParPlace; ++f)
                nouvelle += champSaisi(joueur.value(f)) + QLatin1Char(';');
            place = true;
        } else {
            for (int f = 0; f < kChampsParPlace; ++f)
                nouvelle += Champ(ligne, p * kChampsParPlace + f) + QLatin1Char(';');
        }
    }
    const qint64 valeur = ValeurEquipe(nouvelle);
    ligne = nouvelle + QString::number(valeur) + QLatin1Char(';');
    return place;
}

QStringList JoueursEquipe(const QString &ligne)
{
    QStringList out;
    for (int p = 0; p < kPlacesParEquipe; ++p) {
        const int b = p * kChampsParPlace;
        if (!Champ(ligne, b).isEmpty())
            out << Champ(ligne, b + 1) + QLatin1Char(' ') + Champ(ligne, b + 2) + QLatin1Char(' ') +
                       Champ(ligne, b + 3);
    }
    return out;
}

QStringList LicencesEquipe(const QString &ligne)
{
    QStringList out;
    for (int p = 0; p < kPlacesParEquipe; ++p)
        if (!Champ(ligne, p * kChampsParPlace).isEmpty())
            out << Champ(ligne, p * kChampsParPlace);
    return out;
}

void RangeEquipes(QStringList &poule, int n)
{
    const int dernier = std::min<qsizetype>(n, poule.size() - 1);
    if (dernier < 2)
        return;
    // A team's value is a sum of four indexes: it may exceed 32 bits.
    std::vector<std::pair<qint64, QString>> equipes;
    for (int t = 1; t <= dernier; ++t)
        equipes.emplace_back(platform::StrToInt64(Champ(poule.at(t), kChampValeurEquipe)),
                             poule.at(t));
    std::stable_sort(equipes.begin(), equipes.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    for (int t = 1; t <= dernier; ++t)
        poule[t] = equipes[std::size_t(t - 1)].second;
}

QStringList FichierInscrits(const QStringList &poule, int n, const ReglagesPoule &r)
{
    auto h = [&](int f) { return champ(poule, 0, f); };
    const int tours = platform::StrToInt(h(7));
    if (tours > kToursMax)
        throw EToursInvalides();
    // Whole numbers of the usual size: their product always fits in 64 bits.
    const qint64 donnes = platform::StrToInt(h(8));
    const qint64 miTemps = platform::StrToInt(h(9));

    QStringList out;
    out << QStringLiteral("#INTITULE");
    out << QStringLiteral("PAS;") + h(0) + QLatin1Char(';') + h(0) + QStringLiteral(";;") + h(1) +
               QLatin1Char(';') + h(2) + QLatin1Char(';') + h(3) + QLatin1Char(';') + h(4) +
               QLatin1Char(';') + h(5) + QLatin1Char(';') + h(6) + QStringLiteral(";O101;8");
    out << QStringLiteral("#INSCRITS_GROUPE");
    const QString club = champSaisi(r.clubNumero) + QLatin1Char(';') + champSaisi(r.clubNom);
    for (int t = 1; t <= n; ++t) {
        QString ligne = QString::number(t) + QLatin1Char(';') +
                        champ(poule, t, kChampValeurEquipe) + QStringLiteral(";0;0;") + club +
                        QLatin1Char(';');
        for (int p = 0; p < kPlacesParEquipe; ++p) {
            for (int f = 0; f < kChampsParPlace; ++f)
                ligne += champ(poule, t, p * kChampsParPlace + f) + QLatin1Char(';');
            ligne += QStringLiteral("0;0;OF;");
        }
        out << ligne;
    }
    out << QStringLiteral("#PARAMETRES");
    out << QString::number(n) + QLatin1Char(';') + h(7) + QLatin1Char(';') + h(8) +
               QLatin1Char(';') + h(9) + QLatin1Char(';') + QString::number(donnes * miTemps) +
               QStringLiteral(";0;0;1;1");
    out << QStringLiteral("#SEANCE");
    for (int t = 1; t <= tours; ++t)
        out << QString::number(t) + QLatin1Char(';') + h(10) + QStringLiteral(";;");
    out << QStringLiteral("#INSCRITS_COMPETITION");
    return out;
}

void TrieJoueursLicence(QStringList &joueurs, int &courant)
{
    struct Cle {
        std::optional<qint64> nombre;
        QString texte;
        QString prenom;
    };
    std::vector<Cle> cles;
    cles.reserve(std::size_t(joueurs.size()));
    for (const QString &j : joueurs)
        cles.push_back({licenceNumerique(Champ(j, 0)), Champ(j, 0), Champ(j, 3)});
    trieStable(joueurs, courant, [&](int a, int b) {
        const Cle &x = cles[std::size_t(a)];
        const Cle &y = cles[std::size_t(b)];
        if (x.nombre.has_value() != y.nombre.has_value())
            return x.nombre.has_value();
        if (x.nombre && *x.nombre != *y.nombre)
            return *x.nombre < *y.nombre;
        if (const int c = platform::ansiCompare(x.texte, y.texte))
            return c < 0;
        return platform::ansiCompare(x.prenom, y.prenom) < 0;
    });
}

void TrieJoueursNom(QStringList &joueurs, int &courant)
{
    std::vector<std::pair<QString, QString>> cles;
    cles.reserve(std::size_t(joueurs.size()));
    for (const QString &j : joueurs)
        cles.emplace_back(Champ(j, 2), Champ(j, 3));
    trieStable(joueurs, courant, [&](int a, int b) {
        const auto &x = cles[std::size_t(a)];
        const auto &y = cles[std::size_t(b)];
        if (const int c = platform::ansiCompare(x.first, y.first))
            return c < 0;
        return platform::ansiCompare(x.second, y.second) < 0;
    });
}

int ChercheLicence(const QStringList &joueurs, const QString &saisie)
{
    const qint64 cherche = platform::StrToInt64(saisie);
    if (joueurs.isEmpty())
        return -1;
    int trouve = 0;
    for (int i = 0; i < joueurs.size(); ++i) {
        const auto n = licenceNumerique(Champ(joueurs.at(i), 0));
        if (n && *n <= cherche)
            trouve = i;
    }
    return trouve;
}

int ChercheLicenceAuPlus(const QStringList &joueurs, const QString &saisie)
{
    const qint64 cherche = platform::StrToInt64(saisie);
    for (int i = int(joueurs.size()) - 1; i >= 0; --i) {
        const auto n = licenceNumerique(Champ(joueurs.at(i), 0));
        if (n && *n <= cherche)
            return i;
    }
    return -1;
}

int ChercheNom(const QStringList &joueurs, const QString &saisie)
{
    const QString cherche = Majuscules1252(saisie);
    for (int i = 0; i < joueurs.size(); ++i)
        if (Majuscules1252(Champ(joueurs.at(i), 2)).startsWith(cherche))
            return i;
    return -1;
}

QStringList AdressesCourriel(const QStringList &joueurs, const QStringList &licences)
{
    QStringList out;
    for (const QString &licence : licences)
        for (int i = joueurs.size() - 1; i >= 0; --i)
            if (Champ(joueurs.at(i), 0) == licence && !Champ(joueurs.at(i), 14).isEmpty())
                out << Champ(joueurs.at(i), 14);
    return out;
}
