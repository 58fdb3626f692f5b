#include "manager/core/classement.h"

#include "manager/core/genrefichier.h"
#include "manager/core/ligneresultat.h"
#include "manager/core/saisie.h"
#include "platform/text/convert.h"
#include "platform/text/linefile.h"

#include <QHash>
#include <algorithm>

namespace manager
{

namespace
{

// num / 100 to the nearest whole number, halves to even, either sign.
qint64 centiemesArrondis(qint64 num)
{
    const bool negatif = num < 0;
    const qint64 a = negatif ? -num : num;
    qint64 q = a / 100;
    const qint64 r = a % 100;
    if (r > 50 || (r == 50 && (q & 1)))
        ++q;
    return negatif ? -q : q;
}

int colonne(const QString &ligne)
{
    const int c = platform::StrToInt(platform::Champ(ligne, 4));
    return c >= 1 && c <= MaxJournees ? c : 0;
}

QString deuxChiffres(int k)
{
    return QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

} // namespace

int NombreJournees(const QStringList &tournois)
{
    int n = 0;
    for (const QString &l : tournois)
        n = std::max(n, colonne(l));
    return n;
}

ClassementSaison CalculerClassement(const QStringList &tournois, const QString &dossierSaison)
{
    // The tournaments' journées and coefficients are read first, each said
    // with its line of the list when it is no number.
    const QString liste =
        platform::LineFile::resolve(dossierSaison + QStringLiteral("Challenge.DBP"));
    for (qsizetype i = 0; i < tournois.size(); ++i)
        LireLigne(liste, i, [&] {
            colonne(tournois[i]);
            return platform::StrToInt(platform::Champ(tournois[i], 5));
        });
    ClassementSaison c;
    c.nombreJournees = NombreJournees(tournois);
    const int n = c.nombreJournees;
    for (int j = 0; j < n; ++j) {
        c.typesJournee.append(QStringLiteral(" "));
        c.nomsJournee.append(QStringLiteral(" "));
        c.datesJournee.append(QStringLiteral(" "));
    }
    c.journal.append(QStringLiteral("Nombre de Journée du Challenge : ") + QString::number(n));
    if (n == 0)
        return c;

    struct Cumul {
        qint64 total = 0;
        std::array<qint64, MaxJournees> journees{};
        std::array<bool, MaxJournees> present{};
    };
    std::vector<Cumul> cumuls;
    QHash<QString, int> rangs;

    for (int j = 1; j <= n; ++j) {
        c.journal.append(QStringLiteral("Traitement de la journée ") + QString::number(j));
        for (const QString &t : tournois) {
            if (colonne(t) != j)
                continue;
            QStringList resultat;
            const QString fichier = platform::Champ(t, 6);
            if (!fichier.isEmpty())
                resultat = LireResultats(dossierSaison + fichier);
            if (c.titres[j - 1].isEmpty()) {
                c.titres[j - 1] = platform::Champ(t, 2);
                c.nomsJournee[j - 1] = platform::Champ(t, 2);
                c.typesJournee[j - 1] = platform::Champ(t, 3);
            }
            if (c.dates[j - 1].isEmpty()) {
                c.dates[j - 1] = platform::Champ(t, 1);
                c.datesJournee[j - 1] = platform::Champ(t, 1);
            }
            const qint64 coef = platform::StrToInt(platform::Champ(t, 5));
            // A damaged line is said with the result file and its line.
            for (qsizetype k = 0; k < resultat.size(); ++k)
                LireLigne(dossierSaison + fichier, k, [&] {
                    const LigneResultat lu = lireLigneResultat(resultat[k]);
                    for (const JoueurResultat &e : lu.joueurs) {
                        const qint64 pts = centiemesArrondis(platform::StrToInt(e.points) * coef);
                        auto it = rangs.find(e.licence);
                        int rang;
                        if (it == rangs.end()) {
                            rang = int(c.joueurs.size());
                            rangs.insert(e.licence, rang);
                            c.joueurs.push_back({});
                            cumuls.push_back({});
                        } else {
                            rang = it.value();
                        }
                        LigneJoueurClassement &ligne = c.joueurs[rang];
                        Cumul &cumul = cumuls[rang];
                        // A season of huge coefficients or points is refused
                        // rather than ranked on a sum that wrapped round.
                        cumul.total = AjouteValeur(cumul.total, pts, e.points);
                        ligne.nom = e.nom;
                        ligne.licence = e.licence;
                        ligne.iv = e.iv;
                        // Teams results come one file per match: a journée's cell
                        // adds like the total does.
                        cumul.journees[j - 1] = AjouteValeur(cumul.journees[j - 1], pts, e.points);
                        cumul.present[j - 1] = true;
                    }
                });
        }
    }
    for (size_t i = 0; i < c.joueurs.size(); ++i) {
        c.joueurs[i].total = QString::number(cumuls[i].total);
        for (int j = 0; j < MaxJournees; ++j)
            if (cumuls[i].present[j])
                c.joueurs[i].journees[j] = QString::number(cumuls[i].journees[j]);
    }

    c.journal.append(QStringLiteral("Classement"));
    std::vector<size_t> ordre(c.joueurs.size());
    for (size_t i = 0; i < ordre.size(); ++i)
        ordre[i] = i;
    std::stable_sort(ordre.begin(), ordre.end(),
                     [&](size_t a, size_t b) { return cumuls[a].total > cumuls[b].total; });
    std::vector<LigneJoueurClassement> tries;
    tries.reserve(ordre.size());
    c.journal.append(QStringLiteral("Nettoyage des Joueurs hors Challenge"));
    for (size_t i : ordre)
        if (cumuls[i].total != 0)
            tries.push_back(std::move(c.joueurs[i]));
    c.joueurs = std::move(tries);
    return c;
}

QString FormatPoints(qint64 centiemes)
{
    const bool negatif = centiemes < 0;
    const quint64 a = negatif ? quint64(0) - quint64(centiemes) : quint64(centiemes);
    return (negatif ? QStringLiteral("-") : QString()) + QString::number(a / 100) +
           QLatin1Char(',') + QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
}

QString FormatPoints(const QString &centiemes)
{
    if (centiemes.isEmpty())
        return QString();
    return FormatPoints(platform::StrToInt64(centiemes));
}

QList<EntreeClassement> ListeClassementGeneral(const std::vector<LigneJoueurClassement> &lignes)
{
    QList<EntreeClassement> entrees;
    entrees.reserve(qsizetype(lignes.size()));
    QString precedent;
    int place = 0;
    for (size_t r = 0; r < lignes.size(); ++r) {
        const LigneJoueurClassement &l = lignes[r];
        if (r == 0 || l.total != precedent)
            place = int(r) + 1;
        precedent = l.total;
        EntreeClassement e;
        e.place = QString::number(place);
        e.nom = l.nom;
        e.licence = l.licence;
        e.iv = l.iv;
        e.total = FormatPoints(l.total);
        for (int j = 0; j < MaxJournees; ++j)
            e.points[j] = FormatPoints(l.journees[j]);
        entrees.append(e);
    }
    return entrees;
}

void FiltrerIV(QList<EntreeClassement> &entrees, int limite)
{
    QList<EntreeClassement> gardees;
    // A player without a value index counts 0, as the pages colour him.
    for (const EntreeClassement &e : entrees)
        if ((e.iv.isEmpty() ? 0 : platform::StrToInt(e.iv)) <= limite)
            gardees.append(e);
    for (qsizetype i = 0; i < gardees.size(); ++i)
        if (i == 0 || gardees[i].total != gardees[i - 1].total)
            gardees[i].place = QString::number(i + 1);
        else
            gardees[i].place = gardees[i - 1].place;
    entrees = gardees;
}

QStringList LignesClassement(const QList<EntreeClassement> &entrees)
{
    QStringList lignes;
    lignes.reserve(entrees.size());
    for (const EntreeClassement &e : entrees)
        lignes.append(e.place + QLatin1Char(';') + e.nom + QLatin1Char(';') + e.licence +
                      QLatin1Char(';') + e.iv + QLatin1Char(';'));
    return lignes;
}

bool ImpressionClassement::valeur(const QString &nom, int recNo, QString &texte) const
{
    if (nom == u"Titre") {
        texte = titre;
        return true;
    }
    if (nom == u"Saison") {
        texte = saison;
        return true;
    }
    auto numero = [&nom](int prefixe) {
        if (nom.size() != prefixe + 2)
            return 0;
        bool ok = false;
        const int k = nom.mid(prefixe).toInt(&ok);
        return ok && k >= 1 && k <= MaxJournees && nom.mid(prefixe) == deuxChiffres(k) ? k : 0;
    };
    if (nom.startsWith(u"ClT")) {
        if (const int k = numero(3)) {
            texte = titres[k - 1];
            return true;
        }
    }
    if (nom.startsWith(u"ClD")) {
        if (const int k = numero(3)) {
            const QString &d = dates[k - 1];
            texte = d.size() > 5 ? d.left(d.size() - 5) : QString();
            return true;
        }
    }
    const EntreeClassement *e = recNo >= 0 && recNo < entrees.size() ? &entrees[recNo] : nullptr;
    if (nom.startsWith(u"Pc")) {
        if (const int k = numero(2)) {
            texte = e ? e->points[k - 1] : QString();
            return true;
        }
    }
    const struct {
        const char16_t *nom;
        QString EntreeClassement::*champ;
    } champs[] = {{u"ClGeCl", &EntreeClassement::place},
                  {u"ClGeNom", &EntreeClassement::nom},
                  {u"ClGeInd", &EntreeClassement::licence},
                  {u"ClGeIv", &EntreeClassement::iv},
                  {u"ClGePc", &EntreeClassement::total}};
    for (const auto &c : champs)
        if (nom == c.nom) {
            texte = e ? e->*c.champ : QString();
            return true;
        }
    return false;
}

QStringList ImpressionClassement::noms()
{
    QStringList n = {QStringLiteral("Titre"),   QStringLiteral("Saison"),  QStringLiteral("ClGeCl"),
                     QStringLiteral("ClGeNom"), QStringLiteral("ClGeInd"), QStringLiteral("ClGeIv"),
                     QStringLiteral("ClGePc")};
    for (int k = 1; k <= MaxJournees; ++k) {
        n.append(QStringLiteral("ClT") + deuxChiffres(k));
        n.append(QStringLiteral("ClD") + deuxChiffres(k));
        n.append(QStringLiteral("Pc") + deuxChiffres(k));
    }
    return n;
}

} // namespace manager
