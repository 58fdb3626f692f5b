// The registry over its INI file: keys, typed values, case, and what a
// second object (a later run) reads back.
#include "platform/registry/registry.h"
#include "tests/platform/core/qt_printers.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace platform;

namespace
{

class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        file = dir.path() + QStringLiteral("/registre.ini");
        TRegistry::setFileName(file);
    }
    void TearDown() override { TRegistry::setFileName(QString()); }

    QTemporaryDir dir;
    QString file;
};

const QString kBase = QStringLiteral("Software\\VornReport\\VORNisation en LUDmarre");

} // namespace

TEST_F(RegistryTest, ValuesRoundTripThroughTheFile)
{
    {
        TRegistry reg;
        EXPECT_EQ(reg.RootKey, TRegistry::HKEY_CURRENT_USER);
        EXPECT_FALSE(reg.OpenKey(kBase + QStringLiteral("\\Form\\TfrDesignerForm"), false));
        ASSERT_TRUE(reg.OpenKey(kBase + QStringLiteral("\\Form\\TfrDesignerForm"), true));
        EXPECT_EQ(reg.CurrentPath(), kBase + QStringLiteral("\\Form\\TfrDesignerForm"));
        reg.WriteInteger("XPosition", -12);
        reg.WriteInteger("Width", 800);
        reg.WriteBool("Maximized", true);
        reg.WriteBool("GrayButtons", false);
        reg.WriteString("DockName", QString::fromUtf8(" Barre, «Épreuve»; 100% / a\\b "));
        reg.WriteString("", "défaut");
        reg.WriteString("@key", "nom réservé ailleurs");
        reg.CloseKey();
        EXPECT_EQ(reg.CurrentPath(), QString());
    }
    EXPECT_TRUE(QFile::exists(file));

    TRegistry reg;
    ASSERT_TRUE(
        reg.OpenKey(QStringLiteral("software\\vornreport\\vornisation en ludmarre"), false));
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("FORM\\tfrdesignerform"), false));
    EXPECT_EQ(reg.ReadInteger("xposition"), -12);
    EXPECT_EQ(reg.ReadInteger("Width"), 800);
    EXPECT_TRUE(reg.ReadBool("Maximized"));
    EXPECT_FALSE(reg.ReadBool("GrayButtons"));
    EXPECT_EQ(reg.ReadString("dockname"), QString::fromUtf8(" Barre, «Épreuve»; 100% / a\\b "));
    EXPECT_EQ(reg.ReadString(""), QString::fromUtf8("défaut"));
    EXPECT_EQ(reg.ReadString("@key"), QString::fromUtf8("nom réservé ailleurs"));
    EXPECT_EQ(reg.ReadString("Absente"), QString());

    QStringList names;
    reg.GetValueNames(names);
    names.sort();
    EXPECT_EQ(names, QStringList({"", "@key", "DockName", "GrayButtons", "Maximized", "Width",
                                  "XPosition"}));
    // Existing names keep their spelling when written in another case.
    reg.WriteInteger("WIDTH", 640);
    reg.GetValueNames(names);
    EXPECT_EQ(names.count(QStringLiteral("Width")), 1);
    EXPECT_FALSE(names.contains(QStringLiteral("WIDTH")));
    EXPECT_EQ(reg.ReadInteger("width"), 640);
}

TEST_F(RegistryTest, WrongTypesAndMissingNumbersRaise)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kBase, true));
    reg.WriteString("Texte", "12");
    reg.WriteInteger("Nombre", 12);
    try {
        reg.ReadInteger("Texte");
        FAIL() << "no exception";
    } catch (const ERegistryException &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Type de données incorrect pour 'Texte'"));
    }
    EXPECT_THROW(reg.ReadString("Nombre"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("Absent"), ERegistryException);
    EXPECT_THROW(reg.ReadBool("Absent"), ERegistryException);
}

TEST_F(RegistryTest, KeysAreCreatedListedAndDeleted)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kBase + QStringLiteral("\\ToolBar\\Outils"), true));
    // An empty key exists once created.
    ASSERT_TRUE(
        reg.OpenKey(QStringLiteral("\\") + kBase + QStringLiteral("\\ToolBar\\Vide"), true));
    EXPECT_FALSE(reg.HasSubKeys());
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\") + kBase + QStringLiteral("\\ToolBar"), false));
    EXPECT_TRUE(reg.HasSubKeys());
    QStringList keys;
    reg.GetKeyNames(keys);
    keys.sort();
    EXPECT_EQ(keys, QStringList({"Outils", "Vide"}));
    // Relative to the open key, or absolute with a leading "\".
    EXPECT_TRUE(reg.KeyExists(QStringLiteral("outils")));
    EXPECT_TRUE(reg.KeyExists(QStringLiteral("\\Software\\VornReport")));
    EXPECT_FALSE(reg.KeyExists(QStringLiteral("\\Outils")));
    EXPECT_FALSE(reg.KeyExists(QStringLiteral("Autre")));

    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Outils"), false));
    reg.WriteBool("isVisible", true);
    EXPECT_TRUE(reg.ValueExists("ISVISIBLE"));
    EXPECT_TRUE(reg.DeleteValue("isvisible"));
    EXPECT_FALSE(reg.ValueExists("isVisible"));
    EXPECT_FALSE(reg.DeleteValue("isVisible"));

    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey(kBase + QStringLiteral("\\toolbar")));
    EXPECT_FALSE(reg.KeyExists(kBase + QStringLiteral("\\ToolBar\\Outils")));
    EXPECT_TRUE(reg.KeyExists(kBase));
    EXPECT_FALSE(reg.DeleteKey(kBase + QStringLiteral("\\ToolBar")));

    // A second object sees the same keys.
    TRegistry other;
    EXPECT_TRUE(other.KeyExists(kBase));
    EXPECT_FALSE(other.KeyExists(kBase + QStringLiteral("\\ToolBar")));
}

TEST_F(RegistryTest, FileNameCanBeInjected)
{
    EXPECT_EQ(TRegistry::fileName(), file);
    TRegistry::setFileName(QString());
    EXPECT_TRUE(TRegistry::fileName().endsWith(QStringLiteral("/Vorn_Lud/registre.ini")));
    EXPECT_NE(TRegistry::fileName(), file);
}

// A file the disk no longer takes (here: larger than the process may write,
// as a full disk refuses it), one already there and one not yet made in a
// folder not yet made (the first use): the first value says which file and
// why, the next ones, in this object and in later ones, nothing; the file
// stays as it was (or absent), and takes the values once it can.
TEST_F(RegistryTest, AFailedWriteNamesTheFileAndItsReasonOnce)
{
    for (const bool firstUse : {false, true}) {
        SCOPED_TRACE(firstUse ? "first use" : "file already there");
        file = dir.path() + (firstUse ? QStringLiteral("/neuf/Vorn_Lud/registre.ini")
                                      : QStringLiteral("/registre.ini"));
        TRegistry::setFileName(file);
        if (!firstUse) {
            TRegistry reg;
            ASSERT_TRUE(reg.OpenKey(kBase, true));
            reg.WriteString(QStringLiteral("Ancienne"), QString(200, QLatin1Char('a')));
        }
        const auto bytes = [this] {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("absent");
        };
        const QByteArray before = bytes();
        struct sigaction ignore = {}, previous = {};
        ignore.sa_handler = SIG_IGN;
        ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &previous), 0);
        struct rlimit unlimited;
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
        const struct rlimit limit = {64, unlimited.rlim_max};
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        QStringList said;
        for (int object = 0; object < 3; ++object) {
            TRegistry reg;
            try {
                reg.OpenKey(kBase, true);
                for (const char *name : {"GridShow", "GridAlign"})
                    reg.WriteBool(QLatin1String(name), true);
            } catch (const ERegistryException &e) {
                said << e.Message();
            }
        }
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        ::sigaction(SIGXFSZ, &previous, nullptr);
        EXPECT_EQ(said.join('|'), QStringLiteral("Impossible d'écrire la valeur 'GridShow' dans le "
                                                 "registre\n\nErreur d'écriture dans le fichier "
                                                 "%1 : taille de fichier maximale dépassée")
                                      .arg(file));
        EXPECT_EQ(bytes(), before);
        {
            TRegistry reg;
            ASSERT_TRUE(reg.OpenKey(kBase, true));
            reg.WriteBool(QStringLiteral("GridAlign"), false);
        }
        TRegistry back;
        ASSERT_TRUE(back.OpenKey(kBase, false));
        EXPECT_FALSE(back.ReadBool(QStringLiteral("GridAlign")));
        if (!firstUse) {
            EXPECT_EQ(back.ReadString(QStringLiteral("Ancienne")), QString(200, QLatin1Char('a')));
        }
    }
}
