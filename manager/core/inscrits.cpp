#include "manager/core/inscrits.h"

#include "manager/core/paires.h"
#include "platform/text/codec.h"
#include "platform/text/linefile.h"

namespace manager::inscrits
{

namespace
{

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

EInscritsIncomplets::EInscritsIncomplets(const QString &fichier, int entree)
    : platform::Exception(QStringLiteral("Fichier des inscrits incomplet : %1\n"
                                         "L'inscription %2 s'arrête avant sa fin : la page a "
                                         "été enregistrée avant d'être entièrement chargée ou "
                                         "le fichier a été coupé.")
                              .arg(fichier)
                              .arg(entree))
{
}

namespace
{

// The lines of an entries file with their mode 0 readings worked out once:
// every look-up below is then a constant-time step, so a file is read in
// time proportional to its size.
class Lecture
{
public:
    explicit Lecture(const QStringList &lignes) : l(lignes)
    {
        debuts.reserve(l.size());
        for (const QString &x : l)
            debuts.append(TexteHtml(x, 0));
    }
    qsizetype taille() const { return l.size(); }
    QString operator()(qsizetype i, int mode) const
    {
        if (i < 0 || i >= l.size())
            return QString();
        return mode == 0 ? debuts[i] : TexteHtml(l[i], mode);
    }
    const QString &debut(qsizetype i) const
    {
        static const QString vide;
        return i >= 0 && i < debuts.size() ? debuts[i] : vide;
    }

private:
    const QStringList &l;
    QStringList debuts;
};

const QString FinJoueurs = QStringLiteral("</div>");
const QString CelluleClub = QStringLiteral("<td class=\"text-center\">");

struct Joueurs {
    QString texte;
    QString indice;
    bool complet = false;
};

// The players from line p on, one every `pas` lines, until the line two
// after a player reads "</div>"; the value index three lines after that one.
// The block stops before `limite` (the next entry's line); it is complete
// when it closed and its value index line lies within the file.
Joueurs LireJoueurs(const Lecture &lire, qsizetype p, int pas, qsizetype limite)
{
    Joueurs j;
    for (;;) {
        j.texte += TexteImprime(lire(p, 3));
        if (lire.debut(p + 2) == FinJoueurs) {
            j.complet = p + 5 < lire.taille();
            break;
        }
        if (p + pas >= lire.taille())
            break;
        if (p + pas >= limite) {
            // Runs into the next entry: what was read is this entry's.
            j.complet = p + 5 < lire.taille();
            break;
        }
        p += pas;
    }
    j.indice = lire(p + 5, 0);
    return j;
}

} // namespace

ListesConvocation Extraire(const QStringList &inscrits, Fichier genre, bool quatre,
                           const IndexJoueurs &joueurs, bool trie, const QString &fichier)
{
    ListesConvocation listes;
    if (inscrits.size() < 20 || genre == Fichier::Aucun)
        return listes;
    const Lecture lire(inscrits);
    const qsizetype taille = inscrits.size();
    const bool groupe = genre == Fichier::Groupe;
    // The entries' lines: entry n is the first line after entry n - 1 that
    // reads "n.".
    QList<qsizetype> entrees;
    for (qsizetype i = 0; i < taille; ++i)
        if (lire.debut(i) == QString::number(entrees.size() + 1) + QLatin1Char('.'))
            entrees.append(i);
    // For a team's club in a competition file: the first line at or after
    // each line that reads as the club's cell.
    QList<qsizetype> cellule;
    if (!groupe && quatre) {
        cellule.resize(taille + 1);
        cellule[taille] = taille;
        for (qsizetype j = taille - 1; j >= 0; --j)
            cellule[j] = lire.debut(j) == CelluleClub ? j : cellule[j + 1];
    }
    for (qsizetype e = 0; e < entrees.size(); ++e) {
        const qsizetype i = entrees[e];
        const qsizetype suivante = e + 1 < entrees.size() ? entrees[e + 1] : taille;
        QString club;
        qsizetype premierJoueur = 0;
        int pas = 1;
        if (groupe) {
            if (quatre)
                club = TexteImprime(lire(i + 3, 0));
            premierJoueur = i + 8;
            pas = 2;
        } else if (quatre) {
            const qsizetype j = i + 1 < taille ? cellule[i + 1] : taille;
            const qsizetype d = 1 + (j - i);
            club = TexteImprime(lire(i + d, 0));
            premierJoueur = i + d + 4;
        } else {
            premierJoueur = i + 10;
        }
        const Joueurs bloc = LireJoueurs(lire, premierJoueur, pas, suivante);
        if (!bloc.complet)
            throw EInscritsIncomplets(fichier, int(e + 1));

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
        if (quatre)
            listes.club.append(club);
        listes.joueurs.append(bloc.texte);
        listes.indice.append(bloc.indice);
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
