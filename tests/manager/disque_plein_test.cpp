// Every kind of file the program records, written again once the disk that
// holds it is full to its last block: the old bytes stay, no temporary file
// is left, and the user is told why. The disk is a small tmpfs mounted in a
// private mount namespace (unshare -rm), where this binary runs the test
// again.
#include "manager/gestion.h"
#include "platform/inifile/inifile.h"
#include "platform/printer/printdevice.h"
#include "platform/registry/registry.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include "report/data/frdictionary.h"
#include "report/objects/frreport.h"
#include "tests/manager/window_support.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace
{

using namespace platform;

// Inside the private mount: TMPDIR is the small file system, so the program
// folder and the registry file are made on it.
class DisquePlein : public vorn_test::ReportWindowTest<vorn_test::ProgrammeTest>
{
protected:
    // Every file under the program folder and the registry's, with its bytes.
    QMap<QString, QByteArray> fichiers() const
    {
        QMap<QString, QByteArray> out;
        for (const QString &racine :
             {repAppli(), QFileInfo(TRegistry::fileName()).absolutePath()}) {
            QDirIterator it(racine, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                QFile f(it.next());
                if (f.fileName() != path(QStringLiteral("rempli")) && f.open(QIODevice::ReadOnly))
                    out.insert(f.fileName(), f.readAll());
            }
        }
        return out;
    }
    // The file system filled to its last byte.
    void remplir() const
    {
        const int fd = ::open(QFile::encodeName(path(QStringLiteral("rempli"))).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        const QByteArray bloc(4096, 'x');
        for (qsizetype taille : {qsizetype(4096), qsizetype(1)})
            while (::write(fd, bloc.constData(), size_t(taille)) > 0) {
            }
        EXPECT_EQ(errno, ENOSPC);
        ::close(fd);
    }
    static bool pdf(const QString &fichier, const QString &texte, QString *erreur = nullptr)
    {
        std::unique_ptr<PrintJob> job = beginPdfJob(fichier, DeviceMode(), texte, 1);
        if (!job)
            return false;
        job->canvas().textOut(100, 100, texte);
        const bool fait = job->end();
        if (erreur)
            *erreur = job->errorText();
        return fait;
    }
};

TEST_F(DisquePlein, DISABLED_ChaqueFichierGardeSesOctetsEtLeDit)
{
    const QString saison = QStringLiteral("2026-2027");
    writeLines(QStringLiteral("Vorn_Lud.ini"),
               {QStringLiteral("[Param]"), QStringLiteral("Saison=") + saison});
    writeLines(saison + QStringLiteral("/Joueur.DBP"), {});
    writeLines(saison + QStringLiteral("/Challenge.DBP"),
               {QStringLiteral("1;01/10/2026;Un;P;1;100;;")});
    demarrer(true);

    // One file of each kind, as the program writes it.
    report::TfrReport modele;
    modele.Pages().Add();
    ASSERT_TRUE(modele.SaveToFile(path(QStringLiteral("Modele.frf"))));
    ASSERT_TRUE(modele.SaveTemplate(path(QStringLiteral("Modele.frt")), {}, QImage()));
    modele.Dictionary().SaveToFile(path(QStringLiteral("Modele.frd")));
    ASSERT_TRUE(modele.SavePreparedFile(path(QStringLiteral("Etat.frp"))));
    ASSERT_TRUE(pdf(path(QStringLiteral("Etat.pdf")), QStringLiteral("ancien")));
    TIniFile(path(QStringLiteral("Vorn_Lud.ini")))
        .WriteString(QStringLiteral("Param"), QStringLiteral("Essai"), QStringLiteral("ancien"));
    {
        TRegistry registre;
        ASSERT_TRUE(registre.OpenKey(QStringLiteral("Software\\Vorn_Lud"), true));
        registre.WriteString(QStringLiteral("Essai"), QStringLiteral("ancien"));
    }
    LineFile::write(path(saison + QStringLiteral("/Poule.txt")), {QStringLiteral("ancien;")});
    const QMap<QString, QByteArray> avant = fichiers();
    remplir();

    // What each write said: the error's message, or "<écrit>".
    const auto dit = [](const std::function<void()> &ecrire) {
        try {
            ecrire();
        } catch (const Exception &e) {
            return e.Message();
        }
        return QStringLiteral("<écrit>");
    };
    const auto sauve = [&modele](bool fait) {
        if (!fait)
            throw EFileError(modele.lastSaveError());
    };
    const QString longue(5000, QLatin1Char('n'));
    modele.Pages().Add();
    const std::pair<QString, std::function<void()>> cas[] = {
        {saison + QStringLiteral("/Poule.txt"),
         [&] { LineFile::write(path(saison + QStringLiteral("/Poule.txt")), {longue}); }},
        {QStringLiteral("Vorn_Lud.ini"),
         [&] {
             TIniFile(path(QStringLiteral("Vorn_Lud.ini")))
                 .WriteString(QStringLiteral("Param"), QStringLiteral("Essai"), longue);
         }},
        {QString(),
         [&] {
             TRegistry registre;
             registre.OpenKey(QStringLiteral("Software\\Vorn_Lud"), true);
             registre.WriteString(QStringLiteral("Essai"), longue);
         }},
        {QStringLiteral("Modele.frf"), [&] { sauve(modele.SaveToFile(path("Modele.frf"))); }},
        {QStringLiteral("Modele.frt"),
         [&] { sauve(modele.SaveTemplate(path("Modele.frt"), {longue}, QImage())); }},
        {QStringLiteral("Modele.frd"), [&] { modele.Dictionary().SaveToFile(path("Modele.frd")); }},
        {QStringLiteral("Etat.frp"), [&] { sauve(modele.SavePreparedFile(path("Etat.frp"))); }},
        {QStringLiteral("Etat.pdf"),
         [&] {
             QString erreur;
             if (!pdf(path(QStringLiteral("Etat.pdf")), longue, &erreur))
                 throw EFileError(erreur);
         }},
    };
    for (const auto &[fichier, ecrire] : cas)
        EXPECT_EQ(dit(ecrire).toStdString(),
                  (fichier.isEmpty()
                       ? QStringLiteral("Impossible d'écrire la valeur 'Essai' dans le registre"
                                        "\n\nErreur d'écriture dans le fichier %1 : disque plein")
                             .arg(TRegistry::fileName())
                       : QStringLiteral("Erreur d'écriture dans le fichier %1 : disque plein")
                             .arg(path(fichier)))
                      .toStdString());

    // A window says it too, and keeps what was typed; the grid shows what
    // the file holds.
    Vorn_FGestion->Show();
    vorn_test::settle();
    Vorn_FGestion->activated();
    QTest::keyClicks(Vorn_FGestion->MaskEdit1, QStringLiteral("05102026"));
    Vorn_FGestion->Edit1->setText(QStringLiteral("Deux"));
    dialogs().messages.clear();
    QTest::mouseClick(Vorn_FGestion->Bt_Ajouter, Qt::LeftButton);
    EXPECT_EQ(dialogs().texts().join(QLatin1Char('|')).toStdString(),
              QStringLiteral("Erreur d'écriture dans le fichier %1 : disque plein.")
                  .arg(path(saison + QStringLiteral("/Challenge.DBP")))
                  .toStdString());
    EXPECT_EQ(Vorn_FGestion->Edit1->text(), QStringLiteral("Deux"));
    Vorn_FGestion->AfficherTournois();
    EXPECT_EQ(Vorn_FGestion->StrGrd->rowCount(), 2);
    EXPECT_EQ(fichiers(), avant);
}

// Runs the test above in a private mount namespace over a tmpfs of 256 KB.
TEST(DisquePleinMontage, ChaqueFichierGardeSesOctetsEtLeDit)
{
    QTemporaryDir point;
    ASSERT_TRUE(point.isValid());
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("unshare"),
            {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"),
             QStringLiteral("mount -t tmpfs -o size=256k tmpfs \"$0\" || exit 77; "
                            "TMPDIR=\"$0\" exec \"$@\""),
             point.path(), QCoreApplication::applicationFilePath(),
             QStringLiteral("--gtest_also_run_disabled_tests"),
             QStringLiteral("--gtest_filter=DisquePlein.DISABLED_*")});
    if (!p.waitForStarted())
        GTEST_SKIP() << "no private mount possible: unshare cannot be started";
    ASSERT_TRUE(p.waitForFinished(300000));
    const QString sortie = QString::fromUtf8(p.readAll());
    if (sortie.startsWith(QLatin1String("unshare:")) || p.exitCode() == 77)
        GTEST_SKIP() << "no private mount possible here: " << sortie.trimmed().toStdString();
    EXPECT_EQ(p.exitCode(), 0) << sortie.toStdString();
    EXPECT_TRUE(sortie.contains(QLatin1String("[  PASSED  ] 1 test."))) << sortie.toStdString();
}

} // namespace
