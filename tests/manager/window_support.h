#pragma once
// What the manager's window tests share: the test data and the shipped
// templates, a player's line, and the report library started headless
// (fixed-advance measurer, recording preview) over a program folder.
#include "manager/fenetres.h"
#include "manager/vorn_pr.h"
#include "platform/canvas/qpaintercanvas.h"
#include "platform/canvas/textmeasurer.h"
#include "platform/forms/form.h"
#include "platform/printer/printers.h"
#include "platform/shell/shell.h"
#include "report/core/frlibrary.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"
#include "report/objects/frreport.h"
#include "report/objects/frseams.h"
#include "report/print/frprinter.h"
#include "tests/support/gui/fake_desktop.h"
#include "tests/support/gui/program_folder.h"
#include "tests/support/gui/shots.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <initializer_list>
#include <utility>

namespace vorn_test
{

// A file of the test data, by its path below the data folder.
inline QByteArray donneeDeTest(const QString &chemin)
{
    QFile f(QStringLiteral(VORN_TEST_DATA "/") + chemin);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << chemin.toStdString();
    return f.readAll();
}

// The golden file of the test data at chemin; VORN_UPDATE_GOLDEN=1 (or
// VORN_WRITE_GOLDEN set) writes octets there first.
inline QByteArray golden(const QString &chemin, const QByteArray &octets)
{
    if (qEnvironmentVariableIntValue("VORN_UPDATE_GOLDEN") == 1 ||
        qEnvironmentVariableIsSet("VORN_WRITE_GOLDEN")) {
        QFile f(QStringLiteral(VORN_TEST_DATA "/") + chemin);
        QDir().mkpath(QFileInfo(f).absolutePath());
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << chemin.toStdString();
        f.write(octets);
    }
    return donneeDeTest(chemin);
}

// A template the program ships.
inline QString modeleLivre(const QString &nom)
{
    return QStringLiteral(VORN_TEMPLATES_DIR "/") + nom;
}

// A line of "Joueur.DBP": 19 fields, those given set, the others empty.
inline QString ligneJoueur(std::initializer_list<std::pair<int, const char *>> champs)
{
    QStringList f(19);
    for (const auto &[i, valeur] : champs)
        f[i] = QString::fromUtf8(valeur);
    return f.join(QLatin1Char(';')) + QLatin1Char(';');
}

inline QStringList textes(const QListWidget *l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

// A preview that runs modally over its window, as the real one does.
struct ModalPreview : report::FrPreviewSeam {
    QWidget *owner = nullptr;
    int shown = 0;
    void ShowPreviewForm(report::TfrReport &, const QString &, bool, bool) override
    {
        platform::ModalScope scope(owner);
        ++shown;
    }
    void ConnectPreview(QObject *, report::TfrReport &) override {}
};

// Installed in place of the recording preview; it lives until the library
// is reset.
inline ModalPreview *installModalPreview(QWidget *owner)
{
    auto p = std::make_unique<ModalPreview>();
    p->owner = owner;
    ModalPreview *installed = p.get();
    report::frObjects().setPreview(std::move(p));
    return installed;
}

// The texts expected, blanks left out, found in t in that order.
inline void dansLOrdre(const QString &t, const QStringList &attendus)
{
    qsizetype depuis = 0;
    for (QString a : attendus) {
        a.remove(QLatin1Char(' '));
        const qsizetype i = t.indexOf(a, depuis);
        EXPECT_GE(i, 0) << a.toStdString() << " in " << t.toStdString();
        if (i >= 0)
            depuis = i + a.size();
    }
}

// Visible controls of a window that overlap or stick out of it, as text.
QStringList chevauchements(const QWidget *fenetre);

// The first prepared page of r drawn at twice the size of its paper (A4
// when the printer gives none) and saved as the picture nom.
inline void dessinerPage1(report::TfrReport &r, const QString &nom)
{
    ASSERT_GT(r.EMFPages().Count(), 0) << nom.toStdString();
    const report::TfrPrnInfo &g = r.EMFPages().Entry(0)->PrinterGeometry;
    const QSize taille = g.Pgw > 0 ? QSize(g.Pgw, g.Pgh) : QSize(758, 1071);
    QImage image(taille * 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        platform::QPainterCanvas canvas(&image);
        r.EMFPages().Draw(0, canvas, QRect(QPoint(0, 0), image.size()));
    }
    EXPECT_FALSE(saveShot(image, nom).isEmpty()) << nom.toStdString();
}

// The program's windows over the folder, destroyed before it.
class ProgrammeTest : public ProgramFolderTest
{
protected:
    void TearDown() override
    {
        m_fenetres.reset();
        ProgramFolderTest::TearDown();
    }
    // The windows made and the main window shown; active when activer says
    // so, as the user leaves it.
    void demarrer(bool activer = false)
    {
        m_fenetres = creerFenetres();
        Vorn_FPr->Show();
        settle();
        if (activer && platform::TForm::activeForm() != Vorn_FPr)
            Vorn_FPr->activated();
    }
    // The main window, activated as when the user comes back to it.
    static TVorn_FPr *principale()
    {
        Vorn_FPr->activated();
        return Vorn_FPr;
    }
    std::unique_ptr<Fenetres> m_fenetres;
};

// The report library started headless over the fixture Base.
template <class Base = ProgramFolderTest> class ReportWindowTest : public Base
{
protected:
    void SetUp() override
    {
        Base::SetUp();
        report::fr().resetForTests();
        report::fr().start();
        report::frObjects().setMeasurer(&measurer);
        auto p = std::make_unique<report::FrRecordingPreview>();
        preview = p.get();
        report::frObjects().setPreview(std::move(p));
    }
    void TearDown() override
    {
        platform::setVirtualPrinterOutput(QString());
        platform::setCurrentPrinterName(QString());
        report::fr().resetForTests();
        Base::TearDown();
    }
    // The virtual PDF printer made current, for the report library too.
    void imprimantePdf()
    {
        platform::setCurrentPrinterName(platform::kVirtualPrinterName);
        auto imprimante = std::make_unique<report::TfrPrinter>();
        imprimante->SetPrinter();
        report::frObjects().setPrinter(std::move(imprimante));
    }
    // The prepared pages of r printed on it into nom.pdf, the file its
    // dialog asks for, and read back by pdftotext without blanks: glyphs are
    // placed one by one at their design advances.
    QString textePdf(report::TfrReport &r, const QString &nom)
    {
        const QString pdf = this->path(nom + QStringLiteral(".pdf"));
        platform::setVirtualPrinterOutput(pdf);
        this->dialogs().files.push_back(pdf);
        EXPECT_TRUE(r.PrintPreparedPages(QString(), 1, true, 0)) << nom.toStdString();
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(p.waitForFinished(30000));
        return QString::fromUtf8(p.readAllStandardOutput()).remove(QRegularExpression("\\s"));
    }
    // A mail sent by bouton through the real shell, desktop by desktop: its
    // mail program (none when empty) and its opener's exit status, then the
    // messages told and the links opened.
    struct CasCourriel {
        const char *name;
        QString program;
        int status;
        QStringList texts;
        QStringList runs;
    };
    void courriels(QAbstractButton *bouton, std::initializer_list<CasCourriel> cases)
    {
        std::unique_ptr<platform::Shell> recording = platform::setShell(nullptr);
        for (const auto &c : cases) {
            FakeDesktop desktop;
            desktop.setHandler(QStringLiteral("mailto"), c.program);
            desktop.setOpenerStatus(c.status);
            this->dialogs().messages.clear();
            bouton->click();
            EXPECT_EQ(this->dialogs().texts(), c.texts) << c.name;
            EXPECT_EQ(desktop.openerRuns(), c.runs) << c.name;
        }
        platform::setShell(std::move(recording));
    }
    // Loaded and saved again, the template at fichier keeps its bytes.
    void gardeSesOctets(const QString &fichier, const std::string &quoi)
    {
        QFile f(fichier);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << quoi;
        report::TfrReport r;
        ASSERT_TRUE(r.LoadFromFile(fichier)) << quoi;
        ASSERT_TRUE(r.SaveToFile(this->path(QStringLiteral("copie.frf")))) << quoi;
        EXPECT_EQ(this->readBytes(QStringLiteral("copie.frf")), f.readAll()) << quoi;
    }
    // The shipped templates copied into the program folder.
    void copierModeles(std::initializer_list<const char *> noms)
    {
        for (const char *m : noms)
            QFile::copy(modeleLivre(QString::fromLatin1(m)), this->path(QString::fromLatin1(m)));
    }

    platform::FixedAdvanceMeasurer measurer{7, 4};
    report::FrRecordingPreview *preview = nullptr;
};

} // namespace vorn_test
