#pragma once
// What the manager's window tests share: the test data and the shipped
// templates, a player's line, and the report library started headless
// (fixed-advance measurer, recording preview) over a program folder.
#include "platform/canvas/textmeasurer.h"
#include "platform/forms/form.h"
#include "report/core/frlibrary.h"
#include "report/objects/frglobals.h"
#include "report/objects/frseams.h"
#include "tests/support/gui/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
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
        report::fr().resetForTests();
        Base::TearDown();
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
