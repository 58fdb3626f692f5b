#pragma once
// The program-folder fixture of the manager and application tests: each test
// gets a fresh temporary program folder (RepAppli), fresh fakes of the
// dialog, shell and clock seams, a clean registry file of its own, no open
// season and no active window.
// Header-only: it reaches the manager's globals, which only the binaries
// that link the manager have.
#include "manager/core/vorn_dec.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/registry/registry.h"
#include "platform/text/codec.h"
#include "tests/support/gui/controls.h"
#include "tests/support/gui/fakes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace vorn_test
{

class ProgramFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(m_dir->isValid());
        m_registryDir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(m_registryDir->isValid());
        platform::TRegistry::setFileName(m_registryDir->filePath(QStringLiteral("registry.ini")));
        m_fakes = std::make_unique<SeamFakes>();
        // A fixed "now": 15 March 2021, 10:00.
        m_fakes->clock.current = platform::EncodeDate(2021, 3, 15) + 10.0 / 24;
        imposerDossierProgramme(m_dir->path());
        RepAppli = dossierProgramme();
        SaisonEnCours.clear();
        DateMiseAjour = 0;
        platform::TForm::resetActivation();
        platform::ResetTerminated();
    }

    void TearDown() override
    {
        settle(1);
        platform::TForm::resetActivation();
        imposerDossierProgramme(QString());
        SaisonEnCours.clear();
        m_fakes.reset();
        platform::TRegistry::setFileName(QString());
        m_registryDir.reset();
        m_dir.reset();
    }

    ScriptedDialogs &dialogs() { return m_fakes->dialogs; }
    RecordingShell &shell() { return m_fakes->shell; }
    FakeClock &clock() { return m_fakes->clock; }

    // RepAppli, with its trailing "/".
    QString repAppli() const { return m_dir->path() + QLatin1Char('/'); }
    QString path(const QString &relative) const { return repAppli() + relative; }

    void writeBytes(const QString &relative, const QByteArray &bytes)
    {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile f(full);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Lines in Windows-1252, CR LF after each.
    void writeLines(const QString &relative, const QStringList &lines)
    {
        QByteArray bytes;
        for (const QString &l : lines)
            bytes += platform::toAnsi(l) + "\r\n";
        writeBytes(relative, bytes);
    }
    QByteArray readBytes(const QString &relative) const
    {
        QFile f(path(relative));
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray();
        return f.readAll();
    }
    bool exists(const QString &relative) const { return QFileInfo::exists(path(relative)); }
    // What lies below relative (the whole folder when empty), by path from
    // there: each file's bytes, "<dir>" for each folder.
    QMap<QString, QByteArray> contenu(const QString &relative = QString()) const
    {
        QMap<QString, QByteArray> out;
        const QDir base(path(relative));
        QDirIterator it(base.path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            out.insert(base.relativeFilePath(f.fileName()),
                       f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<dir>"));
        }
        return out;
    }
    // The registry file of this test (absent until something is written).
    QString registryFile() const { return m_registryDir->filePath(QStringLiteral("registry.ini")); }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_registryDir;
    std::unique_ptr<SeamFakes> m_fakes;
};

} // namespace vorn_test
