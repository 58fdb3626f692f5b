// The import core: golden players files from a fixture extract, the merge
// rules, the small conversions and hostile extracts.
#include "manager/core/import_joueurs.h"

#include "platform/text/codec.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "tests/support/core/thrown.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace manager;

namespace
{

const QString Domaine = QStringLiteral("ffbridge.fr");
const QString Annee = QStringLiteral("2027");

QByteArray lireOctets(const QString &chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void ecrireOctets(const QString &chemin, const QByteArray &octets)
{
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(octets);
}

QString donnee(const char *nom)
{
    return QStringLiteral(VORN_TEST_DATA "/players/") + QString::fromLatin1(nom);
}

QByteArray fixture()
{
    return lireOctets(donnee("extraction.csv"));
}

ParametresImport parametres()
{
    ParametresImport p;
    p.domaineFederation = Domaine;
    p.anneeSaison = Annee;
    return p;
}

// A season folder holding a copy of the fixture players file, and the
// extract to import beside it.
class Dossier
{
public:
    Dossier()
    {
        joueurs = dir.filePath(QStringLiteral("Joueur.DBP"));
        extrait = dir.filePath(QStringLiteral("extrait.csv"));
        QFile::copy(donnee("joueur_existing.dbp"), joueurs);
        QFile(joueurs).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    QTemporaryDir dir;
    QString joueurs;
    QString extrait;

    // Runs one attempt as the import window does; the text of the error
    // that stopped it, or empty on success. n receives the line count.
    QString importer(const QByteArray &octets, bool remiseAZero, int *n = nullptr,
                     int maxLignes = MaxLignesExtraction)
    {
        ecrireOctets(extrait, octets);
        ImportJoueurs import;
        try {
            import.chargerJoueurs(joueurs);
            const int lues = import.lire(extrait, maxLignes);
            if (n)
                *n = lues;
            if (lues < 1)
                return QString();
            import.integrer(remiseAZero, parametres());
            import.enregistrer();
        } catch (const platform::Exception &e) {
            return e.Message();
        }
        return QString();
    }

    QStringList fichiers() const
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

QByteArray versAnsi(const QByteArray &utf8)
{
    return platform::toAnsi(QString::fromUtf8(utf8));
}

QByteArray remplacer(QByteArray octets, const char *avant, const char *apres)
{
    const qsizetype pos = octets.indexOf(avant);
    EXPECT_GE(pos, 0) << avant;
    return octets.replace(pos, qsizetype(qstrlen(avant)), apres);
}

// What this process has read from files so far.
qint64 octetsLus()
{
    QFile io(QStringLiteral("/proc/self/io"));
    EXPECT_TRUE(io.open(QIODevice::ReadOnly));
    for (const QByteArray &l : io.readAll().split('\n'))
        if (l.startsWith("rchar:"))
            return l.mid(6).trimmed().toLongLong();
    return -1;
}

} // namespace

TEST(PlayersImport, MergeKeepsReplacesAppendsAndSorts)
{
    // The file holds "0123" (the extract's 123), 2023 before the extract's
    // 2022 homonym, and two players the extract does not know.
    Dossier d;
    ASSERT_EQ(d.importer(fixture(), false), QString());
    EXPECT_EQ(lireOctets(d.joueurs), lireOctets(donnee("joueur_merged.golden")));
}

TEST(PlayersImport, ExtractVariantsImportTheSamePlayers)
{
    const QByteArray utf8 = fixture();
    const QByteArray golden = lireOctets(donnee("joueur_rebuilt.golden"));
    const struct {
        const char *nom;
        QByteArray octets;
    } cas[] = {
        {"as extracted", utf8},
        {"windows-1252", versAnsi(utf8)},
        {"byte-order mark", QByteArray("\xEF\xBB\xBF") + utf8},
        {"LF line ends", QByteArray(utf8).replace("\r\n", "\n")},
        {"CR line ends", QByteArray(utf8).replace("\r\n", "\r")},
        {"no final line end", utf8.chopped(2)},
        {"trailing empty lines", utf8 + "\r\n\r\n"},
        {"line of empty fields", remplacer(utf8, "\r\n456;", "\r\n;;;;\r\n456;")},
        {"text before the header", QByteArray("Extraction\r\n\r\nabc\r\n") + utf8},
    };
    for (const auto &c : cas) {
        Dossier d;
        int n = 0;
        EXPECT_EQ(d.importer(c.octets, true, &n), QString()) << c.nom;
        EXPECT_EQ(n, 8) << c.nom;
        EXPECT_EQ(lireOctets(d.joueurs), golden) << c.nom;
    }
}

// Each line ending ";" or not, header and data lines alike: the fields are
// the same, only the final separator differs.
TEST(PlayersImport, FinalSeparatorOfHeaderOrDataLines)
{
    const QByteArray utf8 = fixture();
    const qsizetype finEntete = utf8.indexOf("\r\n");
    const QByteArray entete = utf8.left(finEntete);
    QByteArray donnees = utf8.mid(finEntete + 2);
    const QByteArray donneesPointVirgule = QByteArray(donnees).replace("\r\n", ";\r\n");
    const QByteArray golden = lireOctets(donnee("joueur_rebuilt.golden"));
    const struct {
        const char *nom;
        QByteArray entete;
        QByteArray donnees;
    } cas[] = {
        {"neither", entete, donnees},
        {"header only", entete + ";", donnees},
        {"header only, blanks after", entete + "; \t", donnees},
        {"data lines only", entete, donneesPointVirgule},
        {"both", entete + ";", donneesPointVirgule},
    };
    for (const auto &c : cas) {
        Dossier d;
        int n = 0;
        EXPECT_EQ(d.importer(c.entete + "\r\n" + c.donnees, true, &n), QString()) << c.nom;
        EXPECT_EQ(n, 8) << c.nom;
        EXPECT_EQ(lireOctets(d.joueurs), golden) << c.nom;
    }

    // A data line that really lacks fields is still refused, with or
    // without the header's final ";", whether its lines end with ";" or not.
    const QByteArray coupee = remplacer(donnees, ";x32;x33\r\n456;", ";x32\r\n456;");
    const QByteArray coupeePointVirgule =
        remplacer(donneesPointVirgule, ";x32;x33;\r\n456;", ";\r\n456;");
    const QByteArray avant = lireOctets(donnee("joueur_existing.dbp"));
    for (const QByteArray &e : {entete, entete + ";"}) {
        for (const QByteArray &lignes : {coupee, coupeePointVirgule}) {
            Dossier d;
            EXPECT_EQ(d.importer(e + "\r\n" + lignes, true),
                      QStringLiteral("Le fichier d'extraction est incomplet (ligne 2)"))
                << e.right(8).constData();
            EXPECT_EQ(lireOctets(d.joueurs), avant);
        }
    }
}

TEST(PlayersImport, LineCountsAfterTheHeader)
{
    const QByteArray utf8 = fixture();
    const QList<QByteArray> lignes = utf8.split('\n');
    Extraction e;
    // Header and one player: that player is imported.
    EXPECT_EQ(lireExtractionTexte(lignes[0] + "\n" + lignes[1] + "\n", e), 1);
    ASSERT_EQ(e.lignes.size(), 1);
    EXPECT_EQ(e.numeros.value(0), 2);
    EXPECT_TRUE(e.lignes[0].startsWith(QStringLiteral("123;Mme;Dupont;Hélène;")));
    // Header alone, header and blank lines: nothing to import.
    EXPECT_EQ(lireExtractionTexte(lignes[0], e), 0);
    EXPECT_EQ(lireExtractionTexte(lignes[0] + "\n\n;;;\n", e), 0);
    // No header: the wrong kind of file.
    EXPECT_EQ(lireExtractionTexte("", e), -1);
    EXPECT_EQ(lireExtractionTexte(lignes[1] + "\n" + lignes[2], e), -1);
    EXPECT_EQ(lireExtractionTexte("Num\nabcd\n", e), -1);
    EXPECT_TRUE(e.lignes.isEmpty());

    Dossier d;
    int n = 0;
    ASSERT_EQ(d.importer(lignes[0] + "\n" + lignes[3] + "\n", true, &n), QString());
    EXPECT_EQ(n, 1);
    const QByteArray ecrit = lireOctets(d.joueurs);
    EXPECT_TRUE(ecrit.startsWith("789;Mme;C\x9CUR;\xC9LODIE;")) << ecrit.constData();
    EXPECT_EQ(ecrit.count("\r\n"), 1);
}

TEST(PlayersImport, RecordOfOneExtractLine)
{
    QStringList c;
    for (int i = 0; i < 34; ++i)
        c << QStringLiteral("c%1").arg(i);
    c[0] = QStringLiteral("42");
    c[2] = QStringLiteral("de la Tour-éa");
    c[4] = QStringLiteral("2000-02-29");
    c[10] = QStringLiteral("0102030405");
    c[11] = QString();
    c[12] = QStringLiteral("x@FFBridge.Fr");
    c[16] = QStringLiteral("bc Vierzon");
    c[17] = QStringLiteral("96");
    const QString ligne = c.join(u';');
    EXPECT_EQ(ficheDepuisExtraction(ligne, Domaine, Annee),
              QStringLiteral("42;c1;DE LA TOUR-éA;c3;96;BC VIERZON;c5;c6;;c7;c8;01 02 03 04 05;;;;"
                             "29/02/2000;c14 c13;1NH;2027;"));
    // Without a configured domain every address is kept, and an address that
    // merely continues past the domain is not the federation's.
    EXPECT_EQ(platform::Champ(ficheDepuisExtraction(ligne, QString(), Annee), 14),
              QStringLiteral("x@FFBridge.Fr"));
    c[12] = QStringLiteral("x@ffbridge.fr.example.org");
    EXPECT_EQ(platform::Champ(ficheDepuisExtraction(c.join(u';'), Domaine, Annee), 14),
              QStringLiteral("x@ffbridge.fr.example.org"));
    // A short line: missing columns are empty.
    EXPECT_EQ(ficheDepuisExtraction(QStringLiteral("7;M."), Domaine, Annee),
              QStringLiteral("7;M.;;;;;;;;;;;;;;//; ;;2027;"));
}

TEST(PlayersImport, SmallConversions)
{
    const struct {
        const char *entree, *code;
    } codes[] = {
        {"20", "N C"}, {"22", "4 T"}, {"24", "4 K"}, {"26", "4 C"}, {"28", "4 P"}, {"30", "4Pr"},
        {"31", "3 H"}, {"32", "3 T"}, {"34", "3 K"}, {"36", "3 C"}, {"38", "3 P"}, {"40", "3Pr"},
        {"42", "2 H"}, {"44", "2 T"}, {"48", "2 K"}, {"50", "2MH"}, {"52", "2 C"}, {"56", "2 P"},
        {"58", "2PH"}, {"60", "2Pr"}, {"64", "1TH"}, {"68", "1 T"}, {"72", "1KH"}, {"76", "1 K"},
        {"80", "1CH"}, {"84", "1 C"}, {"88", "1PH"}, {"92", "1 P"}, {"96", "1NH"}, {"100", "1 N"},
        {"", ""},      {"0", ""},     {"19", ""},    {"21", ""},    {"23", ""},    {"37", ""},
        {"46", ""},    {"54", ""},    {"99", ""},    {"101", ""},
    };
    for (const auto &c : codes)
        EXPECT_EQ(CodeClassement(QString::fromLatin1(c.entree)), QString::fromLatin1(c.code))
            << c.entree;
    EXPECT_THROW(CodeClassement(QStringLiteral("x")), platform::EConvertError);

    EXPECT_EQ(FormatTelephone(QStringLiteral("0612345678")), QStringLiteral("06 12 34 56 78"));
    EXPECT_EQ(FormatTelephone(QStringLiteral("123")), QStringLiteral("12 3"));
    EXPECT_EQ(FormatTelephone(QStringLiteral("12")), QStringLiteral("12"));
    EXPECT_EQ(FormatTelephone(QStringLiteral("1")), QStringLiteral("1"));
    EXPECT_EQ(FormatTelephone(QString()), QString());

    EXPECT_EQ(DateFrancaise(QStringLiteral("1965-03-12")), QStringLiteral("12/03/1965"));
    EXPECT_EQ(DateFrancaise(QString()), QStringLiteral("//"));
    EXPECT_EQ(DateFrancaise(QStringLiteral("1965")), QStringLiteral("//1965"));
    EXPECT_EQ(DateFrancaise(QStringLiteral("1965-03")), QStringLiteral("/03/1965"));
    EXPECT_EQ(DateFrancaise(QStringLiteral("1965-03-12-08")), QStringLiteral("12/03/1965"));

    EXPECT_EQ(AnneeSaison(platform::EncodeDate(2026, 7, 31) + 0.99), QStringLiteral("2026"));
    EXPECT_EQ(AnneeSaison(platform::EncodeDate(2026, 8, 1)), QStringLiteral("2027"));
    EXPECT_EQ(AnneeSaison(platform::EncodeDate(2026, 12, 31)), QStringLiteral("2027"));
    EXPECT_EQ(AnneeSaison(platform::EncodeDate(2027, 1, 1)), QStringLiteral("2027"));
}

TEST(PlayersImport, LicenceSearchAndMerge)
{
    ListeJoueurs liste;
    liste.indexer();
    EXPECT_EQ(liste.ChercherLicence(1), -1);
    liste.lignes = QStringList{QStringLiteral("0123;A;"), QStringLiteral("7;B;"), QString(),
                               QStringLiteral("123;C;")};
    liste.indexer();
    // The last line holding a licence wins; leading zeros do not matter.
    EXPECT_EQ(liste.ChercherLicence(123), 3);
    EXPECT_EQ(liste.ChercherLicence(7), 1);
    EXPECT_EQ(liste.ChercherLicence(8), -1);
    liste.integrer(QStringLiteral("8;D;"));
    EXPECT_EQ(liste.ChercherLicence(8), 4);
    liste.integrer(QStringLiteral("008;E;"));
    EXPECT_EQ(liste.lignes.size(), 5);
    EXPECT_EQ(liste.lignes[4], QStringLiteral("008;E;"));
    liste.integrer(QStringLiteral("123;F;"));
    EXPECT_EQ(liste.lignes[3], QStringLiteral("123;F;"));
    EXPECT_EQ(liste.lignes[0], QStringLiteral("0123;A;"));

    liste.lignes.append(QStringLiteral("12a;G;"));
    EXPECT_THROW(liste.indexer(), platform::EConvertError);
}

TEST(PlayersImport, SortIsStableAndByWindows1252Code)
{
    QStringList joueurs{
        QStringLiteral("1;;ÉLODIE;Anne;"), QStringLiteral("2;;ZOE;Anne;"),
        QStringLiteral("3;;MARTIN;Paul;"), QStringLiteral("4;;MARTIN;Anne;"),
        QStringLiteral("5;;MARTIN;Paul;"), QStringLiteral("6;;Martin;Paul;"),
        QStringLiteral("7;;MARTIN;Paul;"), QStringLiteral("8;;ŒUF;Anne;"),
        QStringLiteral("9;;MARTIN;paul;"), QStringLiteral("10;;;;"),
    };
    TrierJoueurs(joueurs);
    QStringList licences;
    for (const QString &j : joueurs)
        licences << platform::Champ(j, 0);
    // Œ is 0x8C, É 0xC9: both after every unaccented capital; lower case
    // after upper case; homonyms 3, 5, 7 keep their order.
    EXPECT_EQ(licences.join(u','), QStringLiteral("10,4,3,5,7,9,6,2,8,1"));
}

TEST(PlayersImport, ProgressEveryTenLines)
{
    QByteArray extrait = fixture().split('\n').first() + "\n";
    for (int i = 0; i < 25; ++i)
        extrait += QByteArray::number(100 + i) + ";;Nom;Prenom" + QByteArray(30, ';') + "\n";
    Extraction e;
    ASSERT_EQ(lireExtractionTexte(extrait, e), 25);
    QList<int> vus;
    ParametresImport p = parametres();
    p.progression = [&](int i) { vus << i; };
    ListeJoueurs liste;
    IntegrerJoueurs(e, liste, p);
    EXPECT_EQ(vus, (QList<int>{0, 10, 20, 25}));
    EXPECT_EQ(liste.lignes.size(), 25);
}

TEST(PlayersImport, HostileExtractsLeaveThePlayersFileAlone)
{
    const QByteArray utf8 = fixture();
    const QByteArray entete = utf8.left(utf8.indexOf("\r\n") + 2);
    const QByteArray avant = lireOctets(donnee("joueur_existing.dbp"));

    QByteArray long65537 = entete;
    for (int i = 0; i < 65536; ++i)
        long65537 += "1;\r\n";
    QByteArray aleatoire(4096, '\0');
    QRandomGenerator graine(20261207);
    for (char &c : aleatoire)
        c = char(graine.bounded(256));
    // The random bytes must not hide a header by chance.
    for (qsizetype i = 0; i + 4 < aleatoire.size(); ++i)
        if (aleatoire[i + 4] == 'l')
            aleatoire[i + 4] = 'k';

    // "<extrait>" stands for the extract's path.
    const QString entier =
        QStringLiteral("'%1' n'est pas une valeur entière correcte (fichier <extrait>, ligne %2)");
    const struct {
        const char *nom;
        QByteArray octets;
        bool remiseAZero;
        QString message;
        int lignes; // expected count when no error
    } cas[] = {
        {"cut mid-line", utf8.left(utf8.lastIndexOf("Bourges Bridge;31")), false,
         QStringLiteral("Le fichier d'extraction est incomplet (ligne 9)"), 0},
        {"cut inside an accented letter", utf8.left(utf8.indexOf("H\xC3\xA9l") + 2), true,
         QStringLiteral("Le fichier d'extraction est incomplet (ligne 2)"), 0},
        {"text in a 35th column", remplacer(utf8, "x33\r\n456;", "x33;trop\r\n456;"), false,
         QStringLiteral("La ligne 2 de l'extraction a plus de 34 colonnes"), 0},
        {"licence not a number", remplacer(utf8, "\r\n456;", "\r\n12a45;"), false,
         entier.arg(QStringLiteral("12a45"), QStringLiteral("3")), 0},
        {"only line with a bad licence", entete + "12a45;M.;X;Y" + QByteArray(30, ';') + "\r\n",
         true, entier.arg(QStringLiteral("12a45"), QStringLiteral("2")), 0},
        {"value index not a number", remplacer(utf8, "Issoudun;37;", "Issoudun;x;"), true,
         entier.arg(QStringLiteral("x"), QStringLiteral("3")), 0},
        {"65537 lines", long65537, false,
         QStringLiteral("Le fichier d'extraction dépasse 65536 lignes"), 0},
        {"random bytes", aleatoire, true, QString(), -1},
        {"empty file", QByteArray(), true, QString(), -1},
        {"header alone", entete, true, QString(), 0},
    };
    for (const auto &c : cas) {
        Dossier d;
        int n = 0;
        EXPECT_EQ(d.importer(c.octets, c.remiseAZero, &n).toStdString(),
                  QString(c.message).replace(QLatin1String("<extrait>"), d.extrait).toStdString())
            << c.nom;
        if (c.message.isEmpty()) {
            EXPECT_EQ(n, c.lignes) << c.nom;
        }
        EXPECT_EQ(lireOctets(d.joueurs), avant) << c.nom;
        EXPECT_EQ(d.fichiers(),
                  (QStringList{QStringLiteral("Joueur.DBP"), QStringLiteral("extrait.csv")}))
            << c.nom;
    }
}

TEST(PlayersImport, PlayersFileProblems)
{
    Dossier d;
    // A licence of the players file that is not a number stops the merge.
    ecrireOctets(d.joueurs, "12x;M.;A;B;;\r\n");
    EXPECT_EQ(d.importer(fixture(), false).toStdString(),
              QStringLiteral("'12x' n'est pas une valeur entière correcte (fichier %1, ligne 1)")
                  .arg(d.joueurs)
                  .toStdString());
    EXPECT_EQ(lireOctets(d.joueurs), QByteArray("12x;M.;A;B;;\r\n"));
    // Rebuilding from the extract alone does not read those licences.
    EXPECT_EQ(d.importer(fixture(), true), QString());

    QFile::remove(d.joueurs);
    EXPECT_FALSE(d.importer(fixture(), true).isEmpty());
    EXPECT_FALSE(QFile::exists(d.joueurs));
}

TEST(PlayersImport, LimitIsAParameter)
{
    QByteArray extrait = fixture();
    Extraction e;
    EXPECT_THROW(lireExtractionTexte(extrait, e, 8), EImportError);
    EXPECT_EQ(lireExtractionTexte(extrait, e, 9), 8);
    // Blank lines at the end do not count.
    EXPECT_EQ(lireExtractionTexte(extrait + "\r\n\r\n\r\n", e, 9), 8);
}

// An extract past its limits is refused as soon as that shows: past the
// line limit once its line is read, whatever follows; larger than any
// extract before a byte of it is read.
TEST(PlayersImport, OverLimitExtractIsRefusedEarly)
{
    QTemporaryDir dir;
    const QString extrait = dir.filePath(QStringLiteral("extrait.csv"));
    const QString lignes = QStringLiteral("Le fichier d'extraction dépasse %1 lignes");
    const QString taille =
        QStringLiteral("Le fichier %1 est trop volumineux pour une extraction de %2 lignes");
    const struct {
        int lignes;    // of "1;" first
        qint64 octets; // the file's size, filled with NUL bytes (sparse)
        int maxLignes;
        qint64 luAuPlus;
        QString message;
    } cas[] = {
        {65537, 48 << 20, MaxLignesExtraction, 4 << 20, lignes.arg(65536)},
        {0, (qint64(64) << 20) + 1, MaxLignesExtraction, 4096, taille.arg(extrait).arg(65536)},
        {0, 100 * 1024 + 1, 100, 4096, taille.arg(extrait).arg(100)},
    };
    for (const auto &c : cas) {
        ecrireOctets(extrait, QByteArray("1;\n").repeated(c.lignes));
        ASSERT_TRUE(QFile::resize(extrait, c.octets));
        Extraction e;
        const qint64 avant = octetsLus();
        EXPECT_EQ(vorn_test::thrownMessage<EImportError>(
                      [&] { LireExtraction(extrait, e, c.maxLignes); }),
                  c.message)
            << c.octets;
        EXPECT_LT(octetsLus() - avant, c.luAuPlus) << c.octets;
        EXPECT_TRUE(e.lignes.isEmpty());
    }
}
