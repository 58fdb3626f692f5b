// Data files: line ends, byte-exact writing, atomic replacement, names that
// differ only by case, and the field reader.
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "tests/platform/core/qt_printers.h"
#include "tests/support/core/thrown.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;
using vorn_test::thrownMessage;

namespace
{

class LineFileTest : public ::testing::Test
{
protected:
    void TearDown() override { LineFile::setWriteHook({}); }

    QString path(const QString &name) const { return dir.path() + QLatin1Char('/') + name; }
    void put(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray bytesOf(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList entries() const
    {
        return QDir(dir.path())
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(LineFileTest, ReadsTheThreeLineEndForms)
{
    struct Case {
        QByteArray bytes;
        QStringList lines;
    };
    const Case cases[] = {{"a;1;\r\nb;2;\r\n", {"a;1;", "b;2;"}},
                          {"a\nb\n", {"a", "b"}},
                          {"a\rb\r", {"a", "b"}},
                          {"a\r\nb\nc\rd", {"a", "b", "c", "d"}}, // mixed, last line unterminated
                          {"", {}},
                          {"\r\n", {""}},
                          {"\r\n\r\n", {"", ""}},
                          {"a\r\r\nb", {"a", "", "b"}},
                          {"a\n\rb", {"a", "", "b"}},
                          {"\xC9preuve\r\n", {QString::fromUtf8("Épreuve")}}};
    int n = 0;
    for (const Case &c : cases) {
        const QString name = QStringLiteral("f%1.txt").arg(n++);
        put(name, c.bytes);
        EXPECT_EQ(LineFile::read(path(name)), c.lines) << c.bytes.toHex().constData();
    }
}

TEST_F(LineFileTest, WritesCrLfAfterEveryLineInTheCodePage)
{
    LineFile::write(path("out.txt"), {QString::fromUtf8("Été;€;"), QString(), QStringLiteral("z")});
    EXPECT_EQ(bytesOf("out.txt"), QByteArray("\xC9t\xE9;\x80;\r\n\r\nz\r\n"));

    LineFile::write(path("out.txt"), {});
    EXPECT_EQ(bytesOf("out.txt"), QByteArray());
    EXPECT_TRUE(QFile::exists(path("out.txt")));

    // What is written reads back as it was.
    const QStringList lines = {QStringLiteral("a;b;"), QString::fromUtf8("ÿ\u0081"), QString()};
    LineFile::write(path("back.txt"), lines);
    EXPECT_EQ(LineFile::read(path("back.txt")), lines);
    EXPECT_EQ(entries(), QStringList({"back.txt", "out.txt"}));
}

// A write that cannot be finished (a file-size limit, a disk that fills up
// at the flush) leaves the old file byte for byte and no temporary file, and
// says why.
TEST_F(LineFileTest, AWriteThatFailsKeepsTheOldFileAndSaysWhy)
{
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &previous), 0);
    struct rlimit unlimited;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    const auto restore = qScopeGuard([&] {
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        ::sigaction(SIGXFSZ, &previous, nullptr);
    });
    const QByteArray old = "ancien;\r\n";
    QStringList lines;
    for (int i = 0; i < 20; ++i)
        lines << QStringLiteral("%1;nouveau;Equipe;").arg(i);
    const QString tooLarge = QString::fromUtf8("taille de fichier maximale dépassée");
    const struct {
        rlim_t limit;
        int flushError;
        QString reason;
    } cases[] = {{0, 0, tooLarge},
                 {100, 0, tooLarge},
                 {RLIM_INFINITY, ENOSPC, QStringLiteral("disque plein")},
                 {RLIM_INFINITY, EIO, QString::fromUtf8("erreur d'entrée-sortie")}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reason.toStdString() + " " + std::to_string(c.limit));
        put("Joueur.DBP", old);
        int calls = 0;
        LineFile::setWriteHook({});
        if (c.flushError)
            LineFile::setWriteHook([&](const QString &p) {
                ++calls;
                // Every byte went to a temporary file, none to the target.
                EXPECT_EQ(bytesOf("Joueur.DBP"), old);
                EXPECT_TRUE(p.endsWith(QLatin1String("Joueur.DBP")));
                return c.flushError;
            });
        struct rlimit limit = unlimited;
        limit.rlim_cur = std::min(c.limit, unlimited.rlim_max);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        EXPECT_EQ(thrownMessage<EFileError>([&] { LineFile::write(path("Joueur.DBP"), lines); }),
                  QStringLiteral("Erreur d'écriture dans le fichier %1 : %2")
                      .arg(path("Joueur.DBP"), c.reason));
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ(calls, c.flushError ? 1 : 0);
        EXPECT_EQ(bytesOf("Joueur.DBP"), old);
        EXPECT_EQ(entries(), QStringList({"Joueur.DBP"}));
    }

    // Once the fault is gone the same write goes through whole.
    LineFile::setWriteHook({});
    LineFile::write(path("Joueur.DBP"), {QStringLiteral("nouveau;1;"), QStringLiteral("2;")});
    EXPECT_EQ(bytesOf("Joueur.DBP"), QByteArray("nouveau;1;\r\n2;\r\n"));
}

TEST_F(LineFileTest, ErrorsAreReportedInFrench)
{
    const QString inMissingFolder = path("absent/Challenge.DBP");
    const QString missing = QStringLiteral(" : fichier ou dossier introuvable");
    EXPECT_EQ(thrownMessage<EFileError>([&] { LineFile::write(inMissingFolder, {"x"}); }),
              QStringLiteral("Impossible de créer le fichier %1").arg(inMissingFolder) + missing);
    EXPECT_EQ(thrownMessage<EFileError>([&] { LineFile::read(path("nulle.part")); }),
              QStringLiteral("Impossible d'ouvrir le fichier %1").arg(path("nulle.part")) +
                  missing);
    QStringList untouched = {QStringLiteral("garde")};
    EXPECT_FALSE(LineFile::readIfExists(path("nulle.part"), untouched));
    EXPECT_EQ(untouched, QStringList({"garde"}));
    EXPECT_FALSE(LineFile::exists(path("nulle.part")));
    // A file far larger than any the program reads is refused unread.
    QFile huge(path("enorme.DBP"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(LineFile::MaxReadBytes + 1));
    const QString tooLarge =
        QStringLiteral("Le fichier %1 est trop volumineux pour être lu.").arg(huge.fileName());
    for (const auto &call : std::initializer_list<std::function<void()>>{
             [&] { LineFile::read(huge.fileName()); },
             [&] { LineFile::readBytes(huge.fileName(), {}); }})
        EXPECT_EQ(thrownMessage<EFileError>(call), tooLarge);
}

// A file replaced keeps its permission bits, whichever writer replaces it;
// one the user may not write is refused with the reason, and stays.
TEST_F(LineFileTest, AReplacedFileKeepsItsModeAndARefusalSaysWhy)
{
    const std::pair<const char *, std::function<void(const QString &)>> writers[] = {
        {"write", [](const QString &p) { LineFile::write(p, {QStringLiteral("nouveau;")}); }},
        {"writeBytes", [](const QString &p) { LineFile::writeBytes(p, "nouveau"); }},
    };
    for (const auto &[writer, write] : writers)
        for (const mode_t mode : {0444, 0600, 0640, 0664, 0755}) {
            SCOPED_TRACE(std::string(writer) + " " + std::to_string(mode));
            put("Modele.frf", "ancien");
            ASSERT_EQ(::chmod(QFile::encodeName(path("Modele.frf")).constData(), mode), 0);
            write(path("Modele.frf"));
            struct stat st;
            ASSERT_EQ(::stat(QFile::encodeName(path("Modele.frf")).constData(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, mode);
            EXPECT_NE(bytesOf("Modele.frf"), QByteArray("ancien"));
            QFile::remove(path("Modele.frf"));
        }

    // As a user who may not write the file (another one when run as root).
    put("Lecture.frf", "ancien");
    ASSERT_EQ(::chmod(QFile::encodeName(path("Lecture.frf")).constData(), 0444), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    put("Secret.frf", "ancien");
    ASSERT_EQ(::chmod(QFile::encodeName(path("Secret.frf")).constData(), 0), 0);
    const auto attempt = [this]() -> QByteArray {
        QByteArray said;
        for (const auto &call : std::initializer_list<std::function<void()>>{
                 [&] { LineFile::writeBytes(path("Lecture.frf"), "nouveau"); },
                 [&] { LineFile::readBytes(path("Secret.frf")); }}) {
            try {
                call();
                said += "<fait>\n";
            } catch (const EFileError &e) {
                said += e.Message().toUtf8() + '\n';
            }
        }
        return said;
    };
    QByteArray said;
    if (::getuid() != 0) {
        said = attempt();
    } else {
        int channel[2];
        ASSERT_EQ(::pipe(channel), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const QByteArray text = ::setgid(65534) == 0 && ::setuid(65534) == 0
                                        ? attempt()
                                        : QByteArray("<utilisateur non changé>");
            [[maybe_unused]] const ssize_t n = ::write(channel[1], text.constData(), text.size());
            ::_exit(0);
        }
        ::close(channel[1]);
        QFile from;
        ASSERT_TRUE(from.open(channel[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
        said = from.readAll();
        ::waitpid(child, nullptr, 0);
    }
    EXPECT_EQ(QString::fromUtf8(said),
              QStringLiteral("Impossible de créer le fichier %1 : accès refusé\n"
                             "Impossible d'ouvrir le fichier %2 : accès refusé\n")
                  .arg(path("Lecture.frf"), path("Secret.frf")));
    EXPECT_EQ(bytesOf("Lecture.frf"), QByteArray("ancien"));
    EXPECT_EQ(entries(), QStringList({"Lecture.frf", "Secret.frf"}));
}

// A folder, pipe or device bearing a data file's name is no missing file:
// it cannot be read (a pipe without waiting for a writer), nor replaced.
TEST_F(LineFileTest, ANameBorneByAnythingButAFileCannotBeReadNorReplaced)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("dossier.cpo")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("tube.cpo")).constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), path("appareil.cpo")));
    // Each refusal says what bears the name.
    for (const auto &[name, reason] :
         {std::pair{"dossier.cpo", "c'est un dossier"},
          std::pair{"tube.cpo", "c'est un tube, pas un fichier"},
          std::pair{"appareil.cpo", "c'est un périphérique, pas un fichier"}}) {
        const QString p = path(QLatin1String(name));
        const QString why = QStringLiteral(" : ") + QString::fromUtf8(reason);
        const QString opening = QStringLiteral("Impossible d'ouvrir le fichier %1").arg(p) + why;
        const QString creating = QStringLiteral("Impossible de créer le fichier %1").arg(p) + why;
        const std::pair<std::function<void()>, QString> refused[] = {
            {[&] { LineFile::read(p); }, opening},
            {[&] {
                 QStringList lines;
                 LineFile::readIfExists(p, lines);
             },
             opening},
            {[&] { LineFile::readBytes(p); }, opening},
            {[&] { LineFile::write(p, {QStringLiteral("x")}); }, creating},
            {[&] { LineFile::checkWritable(p); }, creating},
            {[&] { LineFile::checkRemovable(p); },
             QStringLiteral("Impossible de supprimer le fichier %1").arg(p) + why},
        };
        for (const auto &[call, message] : refused)
            EXPECT_EQ(thrownMessage<EFileError>(call), message) << name;
        EXPECT_TRUE(LineFile::present(p)) << name;
        EXPECT_FALSE(LineFile::exists(p)) << name;
    }
    // The pipe is still a pipe.
    EXPECT_FALSE(QFileInfo(path("tube.cpo")).isFile());
    // A missing file in a folder that takes files passes both checks.
    LineFile::checkWritable(path("nouveau.cpo"));
    LineFile::checkRemovable(path("nouveau.cpo"));
    EXPECT_FALSE(LineFile::present(path("nouveau.cpo")));
}

TEST_F(LineFileTest, ANameHoldingANulNamesNoFile)
{
    // The system would cut the name at the NUL and touch "garde.htm".
    put("garde.htm", "garde\r\n");
    const QString cut = path("garde.htm") + QChar(u'\0') + QStringLiteral(".chr");
    const QString shown = path("garde.htm") + QStringLiteral("?.chr");
    const QString invalid = QStringLiteral(" : nom de fichier invalide");
    EXPECT_EQ(thrownMessage<EFileError>([&] { LineFile::write(cut, {"x"}); }),
              QStringLiteral("Impossible de créer le fichier %1").arg(shown) + invalid);
    EXPECT_EQ(thrownMessage<EFileError>([&] { LineFile::read(cut); }),
              QStringLiteral("Impossible d'ouvrir le fichier %1").arg(shown) + invalid);
    QStringList untouched = {QStringLiteral("x")};
    EXPECT_FALSE(LineFile::readIfExists(cut, untouched));
    EXPECT_FALSE(LineFile::exists(cut));
    EXPECT_EQ(bytesOf("garde.htm"), QByteArray("garde\r\n"));
    EXPECT_EQ(entries(), QStringList{"garde.htm"});
}

TEST_F(LineFileTest, FindsFilesAndFoldersWhoseNameDiffersByCase)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Saison 2019")));
    put("Saison 2019/JOUEUR.dbp", "1;\r\n");
    const QString asNamed = path("saison 2019/Joueur.DBP");
    EXPECT_TRUE(LineFile::exists(asNamed));
    EXPECT_EQ(LineFile::resolve(asNamed), path("Saison 2019/JOUEUR.dbp"));
    EXPECT_EQ(LineFile::read(asNamed), QStringList({"1;"}));

    // Writing under the other case replaces that file instead of adding a twin.
    LineFile::write(asNamed, {QStringLiteral("2;")});
    EXPECT_EQ(QDir(path("Saison 2019")).entryList(QDir::Files), QStringList({"JOUEUR.dbp"}));
    EXPECT_EQ(bytesOf("Saison 2019/JOUEUR.dbp"), QByteArray("2;\r\n"));

    // The exact name wins when both exist.
    put("Saison 2019/Joueur.DBP", "exact;\r\n");
    EXPECT_EQ(LineFile::read(path("Saison 2019/Joueur.DBP")), QStringList({"exact;"}));
    EXPECT_EQ(LineFile::resolve(path("nothing/here.txt")), path("nothing/here.txt"));

    // A new file in a folder named in another case lands in that folder.
    LineFile::write(path("SAISON 2019/Challenge.DBP"), {});
    EXPECT_EQ(bytesOf("Saison 2019/Challenge.DBP"), QByteArray());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList({"Saison 2019"}));
}

TEST(Champ, ReadsFieldsFromZeroAndNeverFails)
{
    struct Case {
        QString line;
        int field;
        QString expected;
    };
    const Case cases[] = {{"a;b;c;", 0, "a"}, {"a;b;c;", 1, "b"},    {"a;b;c;", 2, "c"},
                          {"a;b;c;", 3, ""},  {"a;b;c;", 9, ""},     {"a;b", 0, "a"},
                          {"a;b", 1, "b"},    {"a;b", 2, ""},        {"", 0, ""},
                          {"", 1, ""},        {";;", 0, ""},         {";;", 1, ""},
                          {";;", 2, ""},      {" x ; y;", 0, " x "}, {"a;b;c;", -1, ""}};
    for (const Case &c : cases)
        EXPECT_EQ(Champ(c.line, c.field), c.expected) << c.line.toStdString() << " #" << c.field;

    const QStringList lines = {QStringLiteral("1;DUPONT;"), QStringLiteral("2;MARTIN;")};
    EXPECT_EQ(Champ(lines, 1, 1), QStringLiteral("MARTIN"));
    EXPECT_EQ(Champ(lines, 2, 0), QString());
    EXPECT_EQ(Champ(lines, -1, 0), QString());
}
