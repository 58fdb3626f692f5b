#include "manager/core/commandesfeuille.h"

#include "manager/core/calculquatre.h"
#include "manager/core/saisie.h"
#include "platform/text/convert.h"
#include "platform/text/linefile.h"

namespace
{

qint64 lire(const FeuilleMatch &f, const char *nom)
{
    return EntierOuZero(f.valeur(QLatin1String(nom)));
}

void remplir(FeuilleMatch &f, const char *nom, qint64 valeur)
{
    if (f.valeur(QLatin1String(nom)).isEmpty())
        f.setValeur(QLatin1String(nom), QString::number(valeur));
}

void ecrire(FeuilleMatch &f, const char *nom, qint64 valeur)
{
    f.setValeur(QLatin1String(nom), QString::number(valeur));
}

// First player line of a half: A 2 and 7, B 14 and 19.
int premiereLigne(Equipe equipe, int miTemps)
{
    const int base = equipe == Equipe::A ? 2 : 14;
    return base + (miTemps == 2 ? 5 : 0);
}

qint64 sommeIV(const FeuilleMatch &f, int ligne, int (*lecture)(const QString &))
{
    qint64 somme = 0;
    for (int k = 0; k < 4; ++k)
        somme += lecture(f.valeur(ligne + k, 2));
    return somme;
}

} // namespace

void handicapFeuille(FeuilleMatch &f)
{
    const qint64 sommeB = sommeIV(f, 14, EntierOuZero) + sommeIV(f, 19, EntierOuZero);
    const qint64 sommeA = sommeIV(f, 2, EntierOuZero) + sommeIV(f, 7, EntierOuZero);
    ecrire(f, "Handicap_A", BonusIV(sommeA, sommeB, lire(f, "ANbd30")));
    ecrire(f, "Handicap_B", BonusIV(sommeB, sommeA, lire(f, "Bnbd30")));
}

void penaliteFeuille(FeuilleMatch &f, const QString &legendePenalite)
{
    const int plafond = ChiffresSeuls(legendePenalite);
    const qint64 b1 = sommeIV(f, 14, ChiffresSeuls);
    const qint64 b2 = sommeIV(f, 19, ChiffresSeuls);
    const qint64 a1 = sommeIV(f, 2, ChiffresSeuls);
    const qint64 a2 = sommeIV(f, 7, ChiffresSeuls);
    ecrire(f, "Handicap_A", PenaliteIV(plafond, b1, b2));
    ecrire(f, "Handicap_B", PenaliteIV(plafond, a1, a2));
}

void calculerFeuille(FeuilleMatch &f)
{
    remplir(f, "ANbd15", lire(f, "ANbd30") / 2);
    remplir(f, "ANbd25", lire(f, "ANbd30") / 2);
    remplir(f, "BNbd15", lire(f, "Bnbd30") / 2);
    remplir(f, "BNbd25", lire(f, "Bnbd30") / 2);

    remplir(f, "AIV15", sommeIV(f, 2, EntierOuZero));
    remplir(f, "BIV15", sommeIV(f, 14, EntierOuZero));
    remplir(f, "AIv25", sommeIV(f, 7, EntierOuZero));
    remplir(f, "BIv25", sommeIV(f, 19, EntierOuZero));

    remplir(f, "AIv30", (lire(f, "AIV15") + lire(f, "AIv25")) / 8);
    remplir(f, "BIv30", (lire(f, "BIV15") + lire(f, "BIv25")) / 8);

    if (f.valeur(QStringLiteral("APv30")).isEmpty())
        ecrire(f, "APv30",
               CalculPV(lire(f, "ANbd30"), lire(f, "AImp30") + lire(f, "Handicap_A"),
                        lire(f, "BImp30") + lire(f, "Handicap_B")));
    if (f.valeur(QStringLiteral("BPv30")).isEmpty())
        ecrire(f, "BPv30",
               CalculPV(lire(f, "Bnbd30"), lire(f, "BImp30") + lire(f, "Handicap_B"),
                        lire(f, "AImp30") + lire(f, "Handicap_A")));

    const qint64 peA = CalculPE(lire(f, "ANbd30"), lire(f, "APv30"));
    ecrire(f, "APe15", peA);
    ecrire(f, "APe25", peA);
    const qint64 pcA = CalculPC(lire(f, "APv30"), lire(f, "AIv30"), lire(f, "BIv30"));
    ecrire(f, "APC15", pcA);
    ecrire(f, "APc25", pcA);
    const qint64 peB = CalculPE(lire(f, "Bnbd30"), lire(f, "BPv30"));
    ecrire(f, "BPe15", peB);
    ecrire(f, "BPe25", peB);
    const qint64 pcB = CalculPC(lire(f, "BPv30"), lire(f, "AIv30"), lire(f, "BIv30"));
    ecrire(f, "BPc15", pcB);
    ecrire(f, "BPc25", pcB);
}

void nettoyerFeuille(FeuilleMatch &f)
{
    for (const char *nom : {"ANbd15", "BNbd15", "ANbd25", "BNbd25", "AIV15", "BIV15", "AIv25",
                            "BIv25",  "AIv30",  "BIv30",  "APv30",  "BPv30", "APe15", "APe25",
                            "APC15",  "APc25",  "BPe15",  "BPe25",  "BPc15", "BPc25"})
        f.setValeur(QLatin1String(nom), QString());
}

QStringList ChiffresFeuille(const QStringList &lignesMatch, int base)
{
    const FeuilleMatch f = FeuilleMatch::depuisLignes(lignesMatch, base);
    QStringList chiffres;
    for (const char *nom :
         {"ANbd30", "Bnbd30", "AImp30", "BImp30", "Handicap_A", "Handicap_B", "ANbd15",
          "BNbd15", "ANbd25", "BNbd25", "AIV15",  "BIV15",      "AIv25",      "BIv25",
          "AIv30",  "BIv30",  "APv30",  "BPv30",  "APe15",      "APe25",      "APC15",
          "APc25",  "BPe15",  "BPe25",  "BPc15",  "BPc25"})
        chiffres << f.valeur(QLatin1String(nom));
    for (int premiere : {2, 7, 14, 19})
        for (int k = 0; k < 4; ++k)
            chiffres << f.valeur(premiere + k, 2);
    return chiffres;
}

int FeuilleNonCalculee(const QStringList &lignesMatch, int feuilles)
{
    for (int s = 0; s < feuilles; ++s) {
        const FeuilleMatch f = FeuilleMatch::depuisLignes(lignesMatch, FeuilleMatch::Lignes * s);
        for (const char *nom : {"APv30", "BPv30", "APe15", "APC15", "APe25", "APc25", "BPe15",
                                "BPc15", "BPe25", "BPc25"}) {
            qint64 valeur = 0;
            if (!platform::TryStrToInt64(f.valeur(QLatin1String(nom)), valeur))
                return s;
        }
    }
    return -1;
}

namespace
{

QStringList telleQuEnregistree(const QStringList &lignes, int base)
{
    QStringList feuille = lignes.mid(base, FeuilleMatch::Lignes);
    FeuilleMatch::depuisLignes(lignes, base).enregistrer(feuille, 0);
    return feuille;
}

} // namespace

QList<int> FeuillesModifiees(const QStringList &lues, const QStringList &actuelles, int feuilles)
{
    QList<int> modifiees;
    for (int s = 0; s < feuilles; ++s) {
        const int base = FeuilleMatch::Lignes * s;
        if (telleQuEnregistree(lues, base) != telleQuEnregistree(actuelles, base))
            modifiees << s;
    }
    return modifiees;
}

bool ControleNumero(QString &numero, bool *chiffreOk)
{
    if (chiffreOk)
        *chiffreOk = true;
    if (numero.isEmpty())
        return false;
    if (numero.size() == 1)
        return true;
    while (numero.size() < 8)
        numero.prepend(QLatin1Char('0'));
    int somme = 0;
    for (int i = 0; i < numero.size(); ++i) {
        const int chiffre = numero.at(numero.size() - 1 - i).digitValue();
        if (chiffre < 0)
            continue;
        somme += (i % 2 == 0) ? chiffre : 2 * chiffre;
    }
    if (chiffreOk)
        *chiffreOk = somme % 10 == 0;
    return true;
}

namespace
{

// Walks "text+" and hands each number (possibly empty) to `prendre` with its
// rank from 1.
template <typename Prendre> void parcourir(const QString &texte, Prendre prendre)
{
    int rang = 1;
    QString nombre;
    for (QChar c : texte) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            nombre += c;
            continue;
        }
        prendre(rang, nombre);
        ++rang;
        nombre.clear();
    }
}

} // namespace

void saisirJoueurs(FeuilleMatch &f, Equipe equipe, int miTemps, QString &donnee,
                   const QStringList &joueurs,
                   const std::function<void(const QString &numero)> &avertir)
{
    if (donnee.isEmpty())
        return;
    donnee += QLatin1Char('+');
    const int premiere = premiereLigne(equipe, miTemps);
    parcourir(donnee, [&](int rang, QString numero) {
        if (rang > 4)
            return;
        bool chiffreOk = true;
        if (!ControleNumero(numero, &chiffreOk))
            return;
        if (!chiffreOk && avertir)
            avertir(numero);
        const int ligne = premiere + rang - 1;
        f.setValeur(ligne, 1, numero);
        for (const QString &joueur : joueurs) {
            if (platform::Champ(joueur, 0) != numero)
                continue;
            QString titre = platform::Champ(joueur, 1);
            if (titre == QLatin1String("Mll"))
                titre = QStringLiteral("Mlle");
            f.setValeur(ligne, 0,
                        titre + QLatin1Char(' ') + platform::Champ(joueur, 2) + QLatin1Char(' ') +
                            platform::Champ(joueur, 3));
            f.setValeur(ligne, 2, platform::Champ(joueur, 4));
            f.setValeur(ligne, 3, platform::Champ(joueur, 5));
            return;
        }
        f.setValeur(ligne, 0, QString());
        f.setValeur(ligne, 2, QString());
        f.setValeur(ligne, 3, QString());
    });
}

void saisirResultat(FeuilleMatch &f, QString &donnee)
{
    if (donnee.isEmpty())
        return;
    donnee += QLatin1Char('+');
    parcourir(donnee, [&f](int rang, const QString &nombre) {
        if (rang == 1) {
            f.setValeur(QStringLiteral("AImp30"), nombre);
        } else if (rang == 2) {
            f.setValeur(QStringLiteral("ANbd30"), nombre);
            f.setValeur(QStringLiteral("Bnbd30"), nombre);
        } else if (rang == 3) {
            f.setValeur(QStringLiteral("BImp30"), nombre);
        }
    });
}
