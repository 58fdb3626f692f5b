#include "manager/core/inscrits.h"

#include "manager/core/paires.h"
#include "platform/text/codec.h"
#include "platform/text/linefile.h"

namespace manager::inscrits
{

namespace
{

QString ligne(const QStringList &lignes, qsizetype i)
{
    return i >= 0 && i < lignes.size() ? lignes[i] : QString();
}

QString compacte(const QString &l)
{
    const qsizetype parenthese = l.indexOf(QLatin1Char('('));
    QString c = parenthese < 0 ? l : l.left(parenthese);
    c.remove(QLatin1Char(' '));
    return c;
}

} // namespace

const QString LigneFin = QStringLiteral("</ui-view></div>");

const QString &Marqueur(Bloc bloc)
{
    // The page's UTF-8 bytes as the lossless code page reads them: "é" is
    // the two characters "Ã©".
    static const QString groupe = QStringLiteral("ListedesÃ©quipesdugroupe");
    static const QString competition = QStringLiteral("ListedesÃ©quipesdelacompÃ©tition");
    return bloc == Bloc::Groupe ? groupe : competition;
}

const QString &PremiereLigne(Bloc bloc)
{
    static const QString groupe = QStringLiteral(
        "    <!----><div class=\"large-12 medium-12 small-12 columns small-text-center\" "
        "ng-if=\"!stadeTeamsCtrl.publicationForbidden\">");
    static const QString competition =
        QString(16, QLatin1Char(' ')) + QStringLiteral("<div class=\"container-table\">");
    return bloc == Bloc::Groupe ? groupe : competition;
}

bool PageContient(const QStringList &page, const QString &marqueur)
{
    for (const QString &l : page)
        if (compacte(l).contains(marqueur))
            return true;
    return false;
}

QList<Bloc> BlocsDeLaPage(const QStringList &page)
{
    QList<Bloc> blocs;
    for (Bloc b : {Bloc::Groupe, Bloc::Competition})
        if (PageContient(page, Marqueur(b)))
            blocs.append(b);
    return blocs;
}

QStringList GarderBloc(const QStringList &page, Bloc bloc)
{
    QStringList garde;
    if (page.isEmpty())
        return garde;
    garde.append(page[0]);
    const QString &debut = PremiereLigne(bloc);
    bool garder = false;
    for (qsizetype i = 1; i < page.size(); ++i) {
        const QString &l = page[i];
        if (l == debut)
            garder = true;
        else if (l == LigneFin)
            garder = false;
        if (garder)
            garde.append(l);
    }
    return garde;
}

Fichier GenreFichier(const QString &nom, bool quatre)
{
    const qsizetype point = nom.lastIndexOf(QLatin1Char('.'));
    const qsizetype barre =
        std::max(nom.lastIndexOf(QLatin1Char('/')), nom.lastIndexOf(QLatin1Char('\\')));
    if (point < 0 || point < barre)
        return Fichier::Aucun;
    const QStringView ext = QStringView(nom).mid(point + 1);
    if (ext == Extension(Bloc::Groupe, quatre))
        return Fichier::Groupe;
    if (ext == Extension(Bloc::Competition, quatre))
        return Fichier::Competition;
    return Fichier::Aucun;
}

QString Extension(Bloc bloc, bool quatre)
{
    if (quatre)
        return bloc == Bloc::Groupe ? QStringLiteral("Qug") : QStringLiteral("Quc");
    return bloc == Bloc::Groupe ? QStringLiteral("Pag") : QStringLiteral("Pac");
}

QString TexteHtml(const QString &l, int mode)
{
    switch (mode) {
    case 0: {
        qsizetype debut = 0;
        while (debut < l.size() && l[debut] == QLatin1Char(' '))
            ++debut;
        const qsizetype point = l.indexOf(QLatin1Char('.'), debut);
        return point < 0 ? l.mid(debut) : l.mid(debut, point - debut + 1);
    }
    case 1: {
        QString texte;
        bool dehors = false;
        for (QChar c : l) {
            if (c == QLatin1Char('>'))
                dehors = true;
            else if (c == QLatin1Char('<'))
                dehors = false;
            else if (dehors)
                texte += c;
        }
        return texte;
    }
    case 2: {
        qsizetype point = l.indexOf(QLatin1Char('.'));
        if (point < 0)
            point = l.size();
        QString avant = l.left(point);
        avant.remove(QLatin1Char(' '));
        return avant + l.mid(point);
    }
    case 3: {
        const qsizetype m = l.indexOf(QLatin1Char('M'));
        if (m < 0)
            return QString();
        const qsizetype blanc = l.indexOf(QLatin1Char(' '), m);
        return blanc < 0 ? QString() : l.mid(blanc + 1);
    }
    default:
        return QString();
    }
}

QString TexteImprime(const QString &octets)
{
    return TexteDePage(octets);
}

IndexJoueurs::IndexJoueurs(const QStringList &joueurs) : lignes(joueurs)
{
    for (qsizetype i = 0; i < joueurs.size(); ++i) {
        const QString cle = platform::upperAZ(platform::Champ(joueurs[i], 3) + QLatin1Char(' ') +
                                              platform::Champ(joueurs[i], 2));
        // A line without any name would name every text holding a blank.
        if (cle.trimmed().isEmpty() || premiers.contains(cle))
            continue;
        premiers.insert(cle, int(i));
        longueurMin = longueurMin == 0 ? cle.size() : std::min(longueurMin, cle.size());
        longueurMax = std::max(longueurMax, cle.size());
    }
}

int IndexJoueurs::JoueurConnu(const QString &texte) const
{
    if (premiers.isEmpty())
        return -1;
    // Every piece of the text as long as a key is looked up: the first player
    // in file order among all the keys it contains.
    const QString t = platform::upperAZ(texte);
    int premier = -1;
    for (qsizetype debut = 0; debut + longueurMin <= t.size(); ++debut) {
        const qsizetype fin = std::min(t.size() - debut, longueurMax);
        for (qsizetype n = longueurMin; n <= fin; ++n) {
            const auto it = premiers.constFind(QStringView(t).mid(debut, n).toString());
            if (it != premiers.cend() && (premier < 0 || *it < premier))
                premier = *it;
        }
    }
    return premier;
}

QString IndexJoueurs::Courriel(int joueur) const
{
    return joueur < 0 ? QString() : platform::Champ(lignes.value(joueur), 14);
}

namespace
{

struct Lecture {
    const QStringList &l;
    QString operator()(qsizetype i, int mode) const { return TexteHtml(ligne(l, i), mode); }
};

// The players from line p on, one every `pas` lines, until the line two
// after a player reads "</div>" or the lines run out; the value index three
// lines after that one.
QPair<QString, QString> LireJoueurs(const QStringList &l, qsizetype p, int pas)
{
    const Lecture lire{l};
    QString joueurs;
    for (;;) {
        joueurs += TexteImprime(lire(p, 3));
        if (lire(p + 2, 0) == QLatin1String("</div>") || p + pas >= l.size())
            break;
        p += pas;
    }
    return {joueurs, lire(p + 5, 0)};
}

} // namespace

ListesConvocation Extraire(const QStringList &inscrits, Fichier genre, bool quatre,
                           const IndexJoueurs &joueurs, bool trie)
{
    ListesConvocation listes;
    if (inscrits.size() < 20 || genre == Fichier::Aucun)
        return listes;
    const Lecture lire{inscrits};
    const bool groupe = genre == Fichier::Groupe;
    int n = 1;
    for (qsizetype i = 0; i < inscrits.size(); ++i) {
        if (lire(i, 0) != QString::number(n) + QLatin1Char('.'))
            continue;
        ++n;
        QStringList candidates;
        for (int k = 0; k < 7; ++k)
            candidates.append(TexteImprime(groupe ? lire(i + 8 + 2 * k, 3) : lire(i + 16 + k, 1)));
        QList<int> connus;
        bool unConnu = false;
        for (const QString &c : candidates) {
            connus.append(joueurs.JoueurConnu(c));
            unConnu = unConnu || connus.back() >= 0;
        }
        if (trie && !unConnu)
            continue;
        for (int j : connus) {
            const QString adresse = joueurs.Courriel(j);
            if (!adresse.isEmpty())
                listes.courriels.append(adresse);
        }
        if (quatre)
            listes.classement.append(TexteImprime(lire(i, 2)));
        else
            listes.classement.append(TexteImprime(lire(i, 0)) + QStringLiteral(" - ") +
                                     TexteImprime(lire(i + (groupe ? 8 : 16), 3)));
        qsizetype premierJoueur = 0;
        int pas = 1;
        if (groupe) {
            if (quatre)
                listes.club.append(TexteImprime(lire(i + 3, 0)));
            premierJoueur = i + 8;
            pas = 2;
        } else if (quatre) {
            qsizetype j = i + 1;
            while (j < inscrits.size() && lire(j, 0) != QLatin1String("<td class=\"text-center\">"))
                ++j;
            const qsizetype d = 1 + (j - i);
            listes.club.append(TexteImprime(lire(i + d, 0)));
            premierJoueur = i + d + 4;
        } else {
            premierJoueur = i + 10;
        }
        const auto [texte, indice] = LireJoueurs(inscrits, premierJoueur, pas);
        listes.joueurs.append(texte);
        listes.indice.append(indice);
    }
    return listes;
}

QPair<QString, QString> DecouperLignes(const QString &texte)
{
    auto chiffre = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    int places = 0;
    for (qsizetype i = 1; i < texte.size(); ++i)
        if (chiffre(texte[i - 1]) && !chiffre(texte[i]))
            ++places;
    const int k = 1 + places;
    const int h = (k + 1) / 2;
    const QString finLigne = QStringLiteral("\r\n");
    QString premiere, seconde;
    int c = 0;
    for (qsizetype i = 0; i < texte.size(); ++i) {
        if (i > 0 && chiffre(texte[i - 1]) && !chiffre(texte[i])) {
            ++c;
            (c <= h ? premiere : seconde) += finLigne;
        }
        (c < h ? premiere : seconde) += texte[i];
    }
    return {premiere, seconde};
}

QString TextePause(const QString &divers)
{
    if (divers == QLatin1String("Sandwitchs fournis pendant la pause"))
        return QStringLiteral("Le Club fournira les sandwichs (qui auront été préalablement "
                              "commandés) pendant la pause.");
    if (divers == QLatin1String("Club ouvert sans sandwitchs"))
        return QStringLiteral("Le club sera ouvert mais il n'y aura pas de sandwitch fourni");
    if (divers == QLatin1String("Pas de pause"))
        return QStringLiteral("Pas de pause");
    return QString();
}

} // namespace manager::inscrits
