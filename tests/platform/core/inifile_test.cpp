// The profile file: lookups ignoring case, defaults, typed values, and a
// file that changes only where a value was written.
#include "platform/inifile/inifile.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "tests/platform/core/qt_printers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;

namespace
{

const QByteArray kProfile = "; r\xE9glages\r\n"
                            "[Param]\r\n"
                            "Saison=2019-2020\r\n"
                            "RepTravail = /srv/Vorn  \r\n"
                            "\r\n"
                            "[MiseAjour]\r\n"
                            "Date Depart=05/01/2020\r\n"
                            "NePasVerifier=1\r\n"
                            "\r\n"
                            "[Epreuve]\r\n"
                            "1=\xC9preuve\r\n"
                            "2=\"  Coupe \"\r\n"
                            "[Inconnue]\r\n"
                            "Cle=valeur ; pas un commentaire\r\n"
                            "ligne sans egal\r\n"
                            ";Saison=commentaire\r\n";

class IniFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kProfile);
    }
    void TearDown() override
    {
        LineFile::setWriteHook({});
        LineFile::setReadHook({});
    }
    QString file() const { return dir.path() + QStringLiteral("/Vorn_Lud.ini"); }
    QByteArray bytes() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // The original file with one line replaced, or a line inserted before
    // the one given when `insert` is set.
    static QByteArray edited(const QByteArray &from, const QByteArray &to, bool insert = false)
    {
        QByteArray b = kProfile;
        const qsizetype at = b.indexOf(from);
        EXPECT_GE(at, 0);
        return insert ? b.insert(at, to) : b.replace(at, from.size(), to);
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(IniFileTest, ReadsIgnoringCaseAndTrimming)
{
    const TIniFile ini(file());
    EXPECT_EQ(ini.ReadString("param", "SAISON", "x"), QStringLiteral("2019-2020"));
    EXPECT_EQ(ini.ReadString(" Param ", "reptravail", "x"), QStringLiteral("/srv/Vorn"));
    EXPECT_EQ(ini.ReadString("Epreuve", "1", ""), QString::fromUtf8("Épreuve"));
    EXPECT_EQ(ini.ReadString("Epreuve", "2", ""), QStringLiteral("  Coupe "));
    EXPECT_EQ(ini.ReadString("Inconnue", "cle", ""), QStringLiteral("valeur ; pas un commentaire"));
    EXPECT_EQ(ini.ReadString("Param", "Absente", "défaut"), QString::fromUtf8("défaut"));
    EXPECT_EQ(ini.ReadString("Absente", "Saison", "d"), QStringLiteral("d"));
    // A key of another section is not found in this one.
    EXPECT_EQ(ini.ReadString("MiseAjour", "Saison", "d"), QStringLiteral("d"));
    EXPECT_EQ(ini.ReadString("Inconnue", "Saison", "d"), QStringLiteral("d"));

    EXPECT_TRUE(ini.ReadBool("MISEAJOUR", "nepasverifier", false));
    EXPECT_EQ(ini.ReadDate("MiseAjour", "date depart", -1), EncodeDate(2020, 1, 5));
    EXPECT_EQ(ini.ReadSections(), QStringList({"Param", "MiseAjour", "Epreuve", "Inconnue"}));
    EXPECT_EQ(ini.ReadSection("param"), QStringList({"Saison", "RepTravail"}));
    EXPECT_EQ(ini.ReadSectionValues("Epreuve"),
              QStringList({QString::fromUtf8("1=Épreuve"), QStringLiteral("2=  Coupe ")}));
    EXPECT_TRUE(ini.SectionExists("inconnue"));
    EXPECT_TRUE(ini.ValueExists("MiseAjour", "DATE DEPART"));
    EXPECT_FALSE(ini.ValueExists("Param", "ligne sans egal"));
}

TEST_F(IniFileTest, TypedValuesFallBackToTheirDefaults)
{
    TIniFile ini(file());
    ini.WriteString("T", "hex", "0x10");
    ini.WriteString("T", "dollar", "$10");
    ini.WriteString("T", "mot", "oui");
    ini.WriteString("T", "deux", " 2 ");
    ini.WriteString("T", "zero", "0");
    ini.WriteString("T", "court", "5/1/20");
    ini.WriteString("T", "faux", "31/02/2020");
    EXPECT_EQ(ini.ReadInteger("T", "hex", -1), 16);
    EXPECT_EQ(ini.ReadInteger("T", "dollar", -1), 16);
    EXPECT_EQ(ini.ReadInteger("T", "mot", -1), -1);
    EXPECT_EQ(ini.ReadInteger("T", "absent", 7), 7);
    EXPECT_TRUE(ini.ReadBool("T", "deux", false));
    EXPECT_FALSE(ini.ReadBool("T", "zero", true));
    EXPECT_TRUE(ini.ReadBool("T", "mot", true));
    EXPECT_FALSE(ini.ReadBool("T", "mot", false));
    EXPECT_EQ(ini.ReadDate("T", "court", -1), EncodeDate(2020, 1, 5));
    EXPECT_EQ(ini.ReadDate("T", "faux", -1), -1);
    EXPECT_EQ(ini.ReadDate("T", "absent", 3), 3);
}

TEST_F(IniFileTest, ChangesOnlyTheLinesWritten)
{
    TIniFile ini(file());
    // Writing what is already there leaves every byte as it was.
    ini.WriteString("PARAM", "saison", "2019-2020");
    ini.WriteBool("MiseAjour", "NePasVerifier", true);
    ini.WriteDate("MiseAjour", "Date Depart", EncodeDate(2020, 1, 5));
    EXPECT_EQ(bytes(), kProfile);

    ini.WriteString("param", "SAISON", "2020-2021");
    EXPECT_EQ(bytes(), edited("Saison=2019-2020", "Saison=2020-2021"));

    // The key keeps its spelling and the blanks before "=".
    TIniFile again(file());
    again.WriteString("Param", "RepTravail", QString::fromUtf8("/srv/Éte"));
    QByteArray expected = edited("Saison=2019-2020", "Saison=2020-2021");
    expected.replace("RepTravail = /srv/Vorn  ", "RepTravail =/srv/\xC9te");
    EXPECT_EQ(bytes(), expected);
    EXPECT_EQ(ini.ReadString("Param", "RepTravail", ""), QString::fromUtf8("/srv/Éte"));
}

TEST_F(IniFileTest, NewKeysAndSectionsGoWhereTheyBelong)
{
    TIniFile ini(file());
    ini.WriteBool("miseajour", "Auto", false);
    EXPECT_EQ(bytes(), edited("\r\n[Epreuve]", "Auto=0\r\n", true));

    ini.WriteInteger("Calendart", "Annee", 2020);
    ini.WriteDateTime("Calendart", "Maj", EncodeDate(2020, 3, 1) + 0.75);
    ini.WriteDateTime("Calendart", "Jour", EncodeDate(2020, 3, 2));
    EXPECT_EQ(bytes(), edited("\r\n[Epreuve]", "Auto=0\r\n", true) +
                           "[Calendart]\r\nAnnee=2020\r\nMaj=01/03/2020 18:00:00\r\n"
                           "Jour=02/03/2020\r\n");
    EXPECT_EQ(ini.ReadDateTime("Calendart", "Maj", 0), EncodeDate(2020, 3, 1) + 0.75);

    // A line break in a value would split the file: it becomes a blank.
    ini.WriteString("Calendart", "Note", "a\r\nb\nc");
    EXPECT_EQ(ini.ReadString("Calendart", "Note", ""), QStringLiteral("a b c"));
    EXPECT_EQ(ini.ReadSection("Calendart").size(), 4);
}

TEST_F(IniFileTest, DeletesKeysAndSections)
{
    TIniFile ini(file());
    ini.DeleteKey("Absente", "x");
    ini.DeleteKey("Param", "absente");
    EXPECT_EQ(bytes(), kProfile);
    ini.DeleteKey("param", "reptravail");
    EXPECT_EQ(bytes(), edited("RepTravail = /srv/Vorn  \r\n", ""));
    ini.EraseSection("EPREUVE");
    QByteArray expected = edited("RepTravail = /srv/Vorn  \r\n", "");
    expected.replace("[Epreuve]\r\n1=\xC9preuve\r\n2=\"  Coupe \"\r\n", "");
    EXPECT_EQ(bytes(), expected);
    EXPECT_EQ(ini.ReadSections(), QStringList({"Param", "MiseAjour", "Inconnue"}));
}

TEST_F(IniFileTest, FileIsCreatedOnFirstWriteAndWritesAreAtomic)
{
    const QString fresh = dir.path() + QStringLiteral("/neuf.ini");
    TIniFile ini(fresh);
    EXPECT_EQ(ini.ReadString("Param", "Saison", "aucune"), QStringLiteral("aucune"));
    EXPECT_TRUE(ini.ReadSections().isEmpty());
    EXPECT_FALSE(QFile::exists(fresh));
    ini.WriteString("Param", "Saison", "");
    QFile f(fresh);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Param]\r\nSaison=\r\n"));

    // Two objects on one file see each other's writes.
    TIniFile other(fresh);
    other.WriteString("Param", "Saison", "2020-2021");
    EXPECT_EQ(ini.ReadString("Param", "Saison", ""), QStringLiteral("2020-2021"));

    TIniFile profile(file());
    LineFile::setWriteHook([](const QString &) { return ENOSPC; });
    EXPECT_THROW(profile.WriteString("Param", "Saison", "perdue"), EFileError);
    EXPECT_EQ(bytes(), kProfile);
}

// A file that exists but cannot be read (no permission, which the tests,
// run as root, make through the read seam; a folder in its place) gives the
// defaults, and is never written in the run, even once it reads again.
TEST_F(IniFileTest, UnreadableFileGivesTheDefaultsAndIsNeverWritten)
{
    const struct {
        const char *name;
        std::function<void(const QString &)> makeUnreadable;
    } cases[] = {
        {"permission",
         [](const QString &path) {
             LineFile::setReadHook([path](const QString &read) {
                 if (read == path)
                     throw EFileError(QStringLiteral("Impossible d'ouvrir le fichier ") + read);
             });
         }},
        {"folder",
         [](const QString &path) {
             QFile::remove(path);
             QDir().mkdir(path);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.path() + QLatin1Char('/') + QLatin1String(c.name) + ".ini";
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(kProfile);
        }
        c.makeUnreadable(path);
        TIniFile ini(path);
        EXPECT_EQ(ini.ReadString("Param", "Saison", "aucune"), QStringLiteral("aucune"));
        EXPECT_TRUE(ini.Refused());
        EXPECT_NO_THROW(ini.WriteString("Param", "Saison", "2021-2022"));
        LineFile::setReadHook({});
        // What the run set is kept for the run, and only there; the refusal
        // is to be told once, whichever reader asks.
        TIniFile later(path);
        EXPECT_EQ(later.ReadString("Param", "Saison", "aucune"), QStringLiteral("2021-2022"));
        EXPECT_TRUE(later.RefusalToTell());
        EXPECT_FALSE(ini.RefusalToTell());
        EXPECT_NO_THROW(later.WriteBool("MiseAjour", "NoValide", true));
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            EXPECT_EQ(f.readAll(), kProfile);
        else
            EXPECT_TRUE(QFileInfo(path).isDir());
    }
    EXPECT_FALSE(TIniFile(file()).Refused());
    EXPECT_FALSE(TIniFile(file()).RefusalToTell());
}

TEST_F(IniFileTest, ProfileNamedInAnotherCaseIsUsed)
{
    TIniFile ini(dir.path() + QStringLiteral("/VORN_LUD.INI"));
    EXPECT_EQ(ini.ReadString("Param", "Saison", ""), QStringLiteral("2019-2020"));
    ini.WriteString("Param", "Saison", "2021-2022");
    EXPECT_EQ(bytes(), edited("Saison=2019-2020", "Saison=2021-2022"));
}

// The file is read once for any number of look-ups, by every object on it,
// and read again only when it changed on disk, however it changed.
TEST_F(IniFileTest, ReadsTheFileOnceUntilItChangesOnDisk)
{
    int reads = 0;
    LineFile::setReadHook([&](const QString &) { ++reads; });
    // A whole second, so that a rewrite can put the same time back.
    const QDateTime when = QDateTime::fromSecsSinceEpoch(1600000000);
    auto setModified = [&](const QDateTime &t) {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite) &&
                    f.setFileTime(t, QFileDevice::FileModificationTime));
    };
    setModified(when);

    const TIniFile ini(file());
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(ini.ReadString("Param", "Saison", ""), QStringLiteral("2019-2020"));
        EXPECT_TRUE(ini.ReadBool("MiseAjour", "NePasVerifier", false));
        EXPECT_EQ(ini.ReadSection("Epreuve").size(), 2);
        EXPECT_TRUE(ini.ValueExists("inconnue", "CLE"));
    }
    EXPECT_EQ(ini.ReadSections().size(), 4);
    // Another object on the same file, named in another case, reads nothing.
    TIniFile other(dir.path() + QStringLiteral("/VORN_LUD.INI"));
    EXPECT_EQ(other.ReadString("Epreuve", "1", ""), QString::fromUtf8("Épreuve"));
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(bytes(), kProfile);
    // What one writes the other sees, without reading the file again.
    other.WriteString("Param", "Saison", "2020-2021");
    EXPECT_EQ(ini.ReadString("Param", "Saison", ""), QStringLiteral("2020-2021"));
    EXPECT_EQ(reads, 1);

    auto rewrite = [&](const QByteArray &b) {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(b);
    };
    // The time of the file as it now is put back to that same second, then
    // enough time for the file system's clock to move on.
    setModified(when);
    EXPECT_EQ(ini.ReadString("Param", "Saison", ""), QStringLiteral("2020-2021"));
    QThread::msleep(30);
    struct Change {
        const char *what;
        std::function<void()> apply;
        const char *saison; // then read
    };
    const Change changes[] = {
        // Same size, same inode, same time: only its status changed.
        {"rewritten in place",
         [&] {
             QByteArray b = bytes();
             b.replace("Saison=2020-2021", "Saison=2030-2031");
             rewrite(b);
             setModified(when);
         },
         "2030-2031"},
        {"replaced through a rename",
         [&] {
             const QString other = dir.path() + QStringLiteral("/autre.ini");
             QFile f(other);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(edited("Saison=2019-2020", "Saison=2040-2041"));
             f.close();
             QFile::remove(file());
             ASSERT_TRUE(QFile::rename(other, file()));
             setModified(when);
         },
         "2040-2041"},
        {"removed", [&] { QFile::remove(file()); }, "aucune"},
        {"created again", [&] { rewrite("[PARAM]\r\nsaison=2050\r\n"); }, "2050"},
    };
    for (const Change &c : changes) {
        c.apply();
        EXPECT_EQ(ini.ReadString("Param", "Saison", "aucune"), QString::fromLatin1(c.saison))
            << c.what;
        EXPECT_EQ(other.ReadString("Param", "Saison", "aucune"), QString::fromLatin1(c.saison))
            << c.what;
    }
    LineFile::setReadHook({});
}
