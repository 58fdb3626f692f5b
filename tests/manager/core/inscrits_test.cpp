// Entries pages recognised and cut into entries files, the convocation lists
// read from entries files, the players text halves and the line readings;
// the convocations header file.
#include "manager/core/entete_convocation.h"
#include "manager/core/inscrits.h"
#include "platform/text/codec.h"
#include "platform/text/linefile.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace manager::inscrits;

namespace
{

QByteArray donnee(const QString &nom)
{
    QFile f(QStringLiteral(VORN_TEST_DATA "/convocations/") + nom);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << nom.toStdString();
    return f.readAll();
}

// As the window reads a page or an entries file: the lossless code page, any
// line end.
QStringList lignes(const QByteArray &octets)
{
    static const QRegularExpression fin(QStringLiteral("\r\n|\n|\r"));
    QStringList l = platform::fromAnsi(octets).split(fin);
    if (!l.isEmpty() && l.back().isEmpty())
        l.removeLast();
    return l;
}

// An entries file of the test data.
QStringList entier(const QString &nom)
{
    return lignes(donnee(nom));
}

// As the entries file is written: CR LF after every line.
QByteArray fichier(const QStringList &l)
{
    QByteArray b;
    for (const QString &x : l)
        b += platform::toAnsi(x) + "\r\n";
    return b;
}

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(PageInscrits, EachBlockGivesTheExpectedEntriesFile)
{
    struct Cas {
        const char *page;
        QList<Bloc> blocs;
    };
    const Cas cas[] = {
        {"page_groupe", {Bloc::Groupe}},
        {"page_competition", {Bloc::Competition}},
        {"page_les_deux", {Bloc::Groupe, Bloc::Competition}},
        {"page_aucune", {}},
        {"page_decalee", {Bloc::Groupe}},
    };
    for (const Cas &c : cas) {
        SCOPED_TRACE(c.page);
        const QByteArray octets = donnee(QString::fromLatin1(c.page) + QStringLiteral(".htm"));
        QByteArray lf = octets;
        lf.replace("\r\n", "\n");
        for (const QByteArray &source : {octets, lf}) {
            const QStringList page = lignes(source);
            EXPECT_EQ(BlocsDeLaPage(page), c.blocs);
            for (Bloc b : c.blocs) {
                const QString attendu = QString::fromLatin1(c.page) +
                                        (b == Bloc::Groupe ? QStringLiteral(".groupe")
                                                           : QStringLiteral(".competition"));
                EXPECT_EQ(fichier(GarderBloc(page, b)), donnee(attendu)) << attendu.toStdString();
            }
        }
    }
}

TEST(PageInscrits, EntriesFileKeepsThePageBytes)
{
    const QByteArray f = donnee(QStringLiteral("page_groupe.groupe"));
    EXPECT_TRUE(f.contains("Saint-\xC3\x89tienne &amp; Co"));
    EXPECT_TRUE(f.startsWith("<!DOCTYPE html>\r\n"));
}

TEST(PageInscrits, BlockWithoutEndLineRunsToTheEnd)
{
    QStringList page = lignes(donnee(QStringLiteral("page_groupe.htm")));
    const qsizetype debut = page.indexOf(PremiereLigne(Bloc::Groupe));
    page.removeAll(LigneFin);
    const QStringList garde = GarderBloc(page, Bloc::Groupe);
    ASSERT_EQ(garde.size(), 1 + page.size() - debut);
    EXPECT_EQ(garde.back(), page.back());
}

TEST(PageInscrits, MarkerIsComparedOnCompactedLines)
{
    // The marker holds the page's UTF-8 bytes as the lossless code page reads them.
    const QString e = platform::fromAnsi("\xC3\xA9");
    struct Cas {
        QString ligne;
        bool groupe;
    };
    const Cas cas[] = {
        {QStringLiteral("<h2>Liste des ") + e + QStringLiteral("quipes du groupe (12)</h2>"), true},
        {QStringLiteral("Liste  des ") + e + QStringLiteral("quipes du   groupe"), true},
        // Text after the first "(" is not looked at.
        {QStringLiteral("(Liste des ") + e + QStringLiteral("quipes du groupe)"), false},
        // Case counts, and an already decoded "é" is not the page's bytes.
        {QStringLiteral("liste des ") + e + QStringLiteral("quipes du groupe"), false},
        {u("Liste des équipes du groupe"), false},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(PageContient({c.ligne}, Marqueur(Bloc::Groupe)), c.groupe)
            << c.ligne.toStdString();
}

TEST(PageInscrits, RandomBytesAreIgnored)
{
    QByteArray octets;
    quint32 x = 12345;
    for (int i = 0; i < 20000; ++i) {
        x = x * 1103515245u + 12345u;
        octets += char(x >> 24);
    }
    const QStringList page = lignes(octets);
    EXPECT_TRUE(BlocsDeLaPage(page).isEmpty());
    EXPECT_EQ(GarderBloc(page, Bloc::Groupe).size(), 1);
}

TEST(FichierInscrits, KindComesFromTheExactExtension)
{
    struct Cas {
        const char *nom;
        bool quatre;
        Fichier genre;
    };
    const Cas cas[] = {
        {"a/b.Qug", true, Fichier::Groupe},
        {"a/b.Quc", true, Fichier::Competition},
        {"a/b.Pag", false, Fichier::Groupe},
        {"a/b.Pac", false, Fichier::Competition},
        {"a/b.Qug", false, Fichier::Aucun},
        {"a/b.qug", true, Fichier::Aucun},
        {"a.Qug/b", true, Fichier::Aucun},
        {"", true, Fichier::Aucun},
        {"C:\\x\\b.Pac", false, Fichier::Competition},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(GenreFichier(QString::fromLatin1(c.nom), c.quatre), c.genre) << c.nom;
}

TEST(TexteHtml, Readings)
{
    struct Cas {
        const char *ligne;
        int mode;
        const char *texte;
    };
    const Cas cas[] = {
        {"   12. EQUIPE X. Y", 0, "12."},
        {"   sans point", 0, "sans point"},
        {"", 0, ""},
        {"avant<b>gras</b> et <i>x</i>", 1, "gras et x"},
        {"pas de balise", 1, ""},
        {"<a>ouvert", 1, "ouvert"},
        {" 1 2 . A B", 2, "12. A B"},
        {" a b ", 2, "ab"},
        {"  M. Jean DUPONT 12", 3, "Jean DUPONT 12"},
        {"  Mme X", 3, "X"},
        {"sans civilite", 3, ""},
        {"MONSIEUR", 3, ""},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(TexteHtml(QString::fromLatin1(c.ligne), c.mode), QString::fromLatin1(c.texte))
            << c.ligne << " mode " << c.mode;
}

TEST(TexteImprime, DecodesUtf8ThenReferences)
{
    EXPECT_EQ(TexteImprime(platform::fromAnsi("Saint-\xC3\x89tienne &amp; Co")),
              u("Saint-Étienne & Co"));
    EXPECT_EQ(TexteImprime(QStringLiteral("O&#39;NEIL&nbsp;&lt;x&gt;")),
              QStringLiteral("O'NEIL <x>"));
    // A line that is not UTF-8 is kept as the code page read it.
    EXPECT_EQ(TexteImprime(platform::fromAnsi("J\xE9r\xF4me")), u("Jérôme"));
}

namespace
{

QStringList joueursDbp()
{
    auto ligne = [](const char *nom, const char *prenom, const char *courriel) {
        QStringList champs(16);
        champs[0] = QStringLiteral("0100001");
        champs[2] = u(nom);
        champs[3] = u(prenom);
        champs[14] = QString::fromLatin1(courriel);
        return champs.join(QLatin1Char(';'));
    };
    return {
        ligne("MARTIN", "Jérôme", "jerome@exemple.fr"),
        ligne("DURAND", "Loïc", "loic@exemple.fr"),
        ligne("SEUL", "Pierre", ""),
        ligne("BLANC", "Élodie", "elodie@exemple.fr"),
        ligne("O'NEIL", "Anne", "anne@exemple.fr"),
        ligne("MARTIN", "Jérôme", "second@exemple.fr"),
        QString(), // a blank line names nobody
    };
}

} // namespace

TEST(Extraction, ListsOfTheFourKindsOfFiles)
{
    struct Cas {
        const char *fichier;
        bool quatre;
        QStringList classement, club, joueurs, indice, courriels;
    };
    const QString martin = u("Jérôme MARTIN 45"), durand = u("Loïc DURAND 32"),
                  blanc = u("ÉLODIE BLANC 28"), oneil = QStringLiteral("Anne O'NEIL 12");
    const Cas cas[] = {
        {"equipes.Qug",
         true,
         {u("1. EQUIPE JÉRÔME"), u("2. EQUIPE LOÏC")},
         {u("Saint-Étienne & Co"), QStringLiteral("Bridge Club de Lyon")},
         {martin + durand + blanc + oneil, QStringLiteral("Paul INCONNU 20Marc ABSENT 30")},
         {QStringLiteral("117"), QStringLiteral("50")},
         {"jerome@exemple.fr", "loic@exemple.fr", "elodie@exemple.fr", "anne@exemple.fr"}},
        {"paires.Pag",
         false,
         {QStringLiteral("1. - ") + martin, QStringLiteral("2. - Paul INCONNU 20")},
         {},
         {martin + durand, QStringLiteral("Paul INCONNU 20Marc ABSENT 30")},
         {QStringLiteral("77"), QStringLiteral("50")},
         {"jerome@exemple.fr", "loic@exemple.fr"}},
        {"equipes.Quc",
         true,
         {QStringLiteral("1. EQUIPE NORD"), QStringLiteral("2. EQUIPE SUD"),
          QStringLiteral("3. EQUIPE EST")},
         {QStringLiteral("Lille Bridge"), QStringLiteral("Marseille Bridge"),
          QStringLiteral("Nancy Bridge")},
         {martin + QStringLiteral("Pierre SEUL 10") + durand, oneil + blanc,
          QStringLiteral("Paul INCONNU 20")},
         {QStringLiteral("87"), QStringLiteral("40"), QStringLiteral("20")},
         {"jerome@exemple.fr", "loic@exemple.fr", "anne@exemple.fr", "elodie@exemple.fr"}},
        {"paires.Pac",
         false,
         {QStringLiteral("1. - ") + martin, QStringLiteral("2. - ") + durand},
         {},
         {martin + oneil, durand + QStringLiteral("Paul INCONNU 20")},
         {QStringLiteral("57 <span>M."), QStringLiteral("52 <span>M.")},
         {"jerome@exemple.fr", "loic@exemple.fr"}},
    };
    const IndexJoueurs index(joueursDbp());
    for (const Cas &c : cas) {
        SCOPED_TRACE(c.fichier);
        const QString nom = QString::fromLatin1(c.fichier);
        const ListesConvocation l =
            Extraire(entier(nom), GenreFichier(nom, c.quatre), c.quatre, index, false);
        EXPECT_EQ(std::tuple(l.classement, l.club, l.joueurs, l.indice, l.courriels),
                  std::tuple(c.classement, c.club, c.joueurs, c.indice, c.courriels));
        EXPECT_EQ(l.nombre(), c.classement.size());
        // The other mode's extension takes nothing.
        EXPECT_EQ(
            Extraire(entier(nom), GenreFichier(nom, !c.quatre), !c.quatre, index, false).nombre(),
            0);
    }
}

TEST(Extraction, SortingSkipsEntriesWithoutKnownPlayers)
{
    const IndexJoueurs index(joueursDbp());
    const ListesConvocation l =
        Extraire(entier(QStringLiteral("equipes.Quc")), Fichier::Competition, true, index, true);
    // Entry 3 names nobody.
    EXPECT_EQ(l.classement,
              (QStringList{QStringLiteral("1. EQUIPE NORD"), QStringLiteral("2. EQUIPE SUD")}));
    const ListesConvocation g =
        Extraire(lignes(donnee(QStringLiteral("paires.Pag"))), Fichier::Groupe, false, index, true);
    EXPECT_EQ(g.nombre(), 1);
    EXPECT_EQ(g.courriels, (QStringList{"jerome@exemple.fr", "loic@exemple.fr"}));
    // The skipped entry 2 used its number: entry 4 is still not taken.
    QStringList sansTrou = lignes(donnee(QStringLiteral("paires.Pag")));
    for (QString &x : sansTrou)
        if (x.trimmed().startsWith(QStringLiteral("4. PAIRE")))
            x = QStringLiteral("  3. PAIRE TROIS");
    const ListesConvocation t = Extraire(sansTrou, Fichier::Groupe, false, index, true);
    ASSERT_EQ(t.nombre(), 2);
    EXPECT_EQ(t.classement[1], QStringLiteral("3. - Anne O'NEIL 12"));
}

TEST(Extraction, ShortAndCutFiles)
{
    const IndexJoueurs index(joueursDbp());
    const QStringList coupe = entier(QStringLiteral("equipes_coupe.Qug"));
    const QStringList whole = entier(QStringLiteral("equipes.Qug"));
    // The file as the page was saved before it was whole ends two lines into
    // entry 3, and a file cut inside entry 2's players: refused whole, the
    // message naming the file and the entry, whatever the mode or sorting.
    const qsizetype debut2 = whole.indexOf(QRegularExpression(QStringLiteral("^ *2\\. .*")));
    ASSERT_GT(debut2, 0);
    struct Cas {
        QStringList lignes;
        const char *entree;
    };
    const Cas cas[] = {{coupe, "L'inscription 3 "},
                       {whole.mid(0, debut2 + 9), "L'inscription 2 "},
                       {whole.mid(0, debut2 + 15), "L'inscription 2 "},
                       {whole.mid(0, 22), "L'inscription 1 "}};
    for (const Cas &c : cas)
        for (bool trie : {false, true}) {
            SCOPED_TRACE(c.entree);
            try {
                Extraire(c.lignes, Fichier::Groupe, true, index, trie,
                         QStringLiteral("/saison/poule.Qug"));
                ADD_FAILURE() << "a cut file was read";
            } catch (const EInscritsIncomplets &e) {
                EXPECT_TRUE(e.Message().contains(QStringLiteral("/saison/poule.Qug")));
                EXPECT_TRUE(e.Message().contains(QString::fromLatin1(c.entree)));
            }
        }
    // Whole up to an entry's value index line: read.
    EXPECT_EQ(Extraire(whole.mid(0, debut2 + 16), Fichier::Groupe, true, index, false).nombre(), 2);
    EXPECT_EQ(Extraire(whole.mid(0, 23), Fichier::Groupe, true, index, false).nombre(), 1);
    // Fewer than 20 lines are not looked at.
    EXPECT_EQ(Extraire(whole.mid(0, 19), Fichier::Groupe, true, index, false).nombre(), 0);
}

TEST(Extraction, PlayersNeverRunIntoTheNextEntry)
{
    // Entry 1's players block never closes: its players stop before entry 2,
    // whose own block is read as usual.
    QStringList l(9, QStringLiteral("      <br>"));
    l[0] = QStringLiteral("<!DOCTYPE html>");
    l[1] = QStringLiteral("      1. EQUIPE UN");
    l.append(QStringLiteral("        M. Jean UN 10"));
    l.append(QStringLiteral("      <br>"));
    l.append(QStringLiteral("        M. Jean DEUX 11"));
    // Entry 2 on a player line's parity: a block that ran on would take its
    // players.
    l.append(QStringLiteral("      <br>"));
    for (const char *x :
         {"      2. EQUIPE DEUX", "      <br>", "      <br>", "      CLUB", "      <br>",
          "      <br>", "      <br>", "      <br>", "        M. Anne TROIS 12", "      <br>",
          "      </div>", "      <br>", "      <br>", "      30", "      <br>"})
        l.append(QString::fromLatin1(x));
    const ListesConvocation c =
        Extraire(l, Fichier::Groupe, true, IndexJoueurs(joueursDbp()), false);
    EXPECT_EQ(c.classement,
              (QStringList{QStringLiteral("1. EQUIPE UN"), QStringLiteral("2. EQUIPE DEUX")}));
    EXPECT_EQ(c.joueurs, (QStringList{QStringLiteral("Jean UN 10Jean DEUX 11"),
                                      QStringLiteral("Anne TROIS 12")}));
    EXPECT_EQ(c.indice.value(1), QStringLiteral("30"));
}

TEST(JoueurConnu, FirstPlayerInFileOrderBySubstring)
{
    const IndexJoueurs index({QStringLiteral("1;;DUPONTEL;Jean;;;;;;;;;;;tard@x;"),
                              QStringLiteral("2;;DUPONT;Jean;;;;;;;;;;;tot@x;"),
                              QStringLiteral("3;;MARTIN;Jean DUPONT;;;;;;;;;;;;")});
    struct Cas {
        const char *texte;
        int joueur;
    };
    const Cas cas[] = {
        {"jean dupontel 12", 0}, // a-z raised; the first in file order wins
        {"M JEAN DUPONT", 1},    {"JEAN DUPONT MARTIN", 1}, {"JEAN  DUPONT", -1}, {"", -1},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(index.JoueurConnu(QString::fromLatin1(c.texte)), c.joueur) << c.texte;
    EXPECT_EQ(index.Courriel(1), QStringLiteral("tot@x"));
    EXPECT_EQ(index.Courriel(-1), QString());
}

TEST(DecouperLignes, HalvesForOneToFourPlayers)
{
    struct Cas {
        const char *texte, *premiere, *seconde;
    };
    const Cas cas[] = {
        {"A 1", "A 1", ""},
        {"A 1B 22", "A 1\r\n", "B 22"},
        {"A 1B 22C 3", "A 1\r\nB 22\r\n", "C 3"},
        {"A 1B 22C 3D 40", "A 1\r\nB 22\r\n", "C 3\r\nD 40"},
        {"", "", ""},
    };
    for (const Cas &c : cas) {
        const auto [p, s] = DecouperLignes(QString::fromLatin1(c.texte));
        EXPECT_EQ(p, QString::fromLatin1(c.premiere)) << c.texte;
        EXPECT_EQ(s, QString::fromLatin1(c.seconde)) << c.texte;
    }
}

TEST(TextePause, EachCateringChoice)
{
    EXPECT_EQ(TextePause(QStringLiteral("Sandwitchs fournis pendant la pause")),
              u("Le Club fournira les sandwichs (qui auront été préalablement commandés) pendant "
                "la pause."));
    EXPECT_EQ(TextePause(QStringLiteral("Club ouvert sans sandwitchs")),
              QStringLiteral("Le club sera ouvert mais il n'y aura pas de sandwitch fourni"));
    EXPECT_EQ(TextePause(QStringLiteral("Pas de pause")), QStringLiteral("Pas de pause"));
    EXPECT_EQ(TextePause(QStringLiteral("pas de pause")), QString());
    EXPECT_EQ(TextePause(QString()), QString());
}

// The header file: each line to its text, the venue optional, too short a
// file refused whole; any line end.
TEST(EnteteConvocation, LinesOfTheFile)
{
    using manager::EnteteConvocation;
    QStringList golden = lignes(donnee("entete.qud"));
    ASSERT_EQ(golden.size(), EnteteConvocation::NbLignes);
    QTemporaryDir dir;
    const QString chemin = dir.filePath(QStringLiteral("lu.pad"));
    const struct {
        int lignes;
        const char *fin;
        bool lu;
    } cas[] = {{13, "\r\n", false}, {14, "\n", true}, {16, "\r", true}, {15, "\r\n", true}};
    for (const auto &c : cas) {
        QStringList l = golden;
        l << QStringLiteral("en trop") << QStringLiteral("aussi");
        l = l.mid(0, c.lignes);
        platform::LineFile::writeBytes(chemin,
                                       platform::toAnsi(l.join(QLatin1String(c.fin)) + c.fin));
        // A line past the venue is one doubled somewhere: refused.
        if (c.lignes > EnteteConvocation::NbLignes) {
            EXPECT_THROW(manager::lireEnteteConvocation(chemin), platform::EFileError);
            continue;
        }
        const std::optional<EnteteConvocation> e = manager::lireEnteteConvocation(chemin);
        ASSERT_EQ(e.has_value(), c.lu) << c.lignes;
        if (!e)
            continue;
        for (int i = 0; i < EnteteConvocation::NbLignes; ++i)
            EXPECT_EQ(e->texte(EnteteConvocation::Ligne(i)), i < c.lignes ? golden[i] : QString())
                << c.lignes << " " << i;
    }
    EXPECT_EQ(manager::lireEnteteConvocation(chemin)->texte(EnteteConvocation::Lieu),
              QString::fromUtf8("Salle Émile Zola"));
}
