#pragma once
// The program folder of the challenge window tests: season "2023-2024", the
// report library started headless (fixed-advance measurer, virtual A4
// printer, recording preview) and the builder's templates in the folder.
#include "tests/manager/core/challenge_support.h"
#include "tests/support/gui/program_folder.h"

#include "manager/core/vorn_dec.h"
#include "platform/canvas/textmeasurer.h"
#include "report/core/frlibrary.h"
#include "report/data/frdataset.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"
#include "report/objects/frreport.h"
#include "report/objects/frseams.h"

namespace vorn_test
{

class ChallengeTest : public ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        report::fr().resetForTests();
        report::fr().start();
        report::frObjects().setMeasurer(&measurer);
        auto p = std::make_unique<report::FrRecordingPreview>();
        preview = p.get();
        report::frObjects().setPreview(std::move(p));
        SaisonEnCours = QStringLiteral("2023-2024");
        QDir().mkpath(path(SaisonEnCours));
        for (const char *m : {"Homologation_paires.frf", "Classem_General.frf",
                              "Repartition_theorique_PP.frf", "Attibution_PPE.frf"})
            QFile::copy(templatePath(QString::fromLatin1(m)), path(QString::fromLatin1(m)));
    }
    void TearDown() override
    {
        report::fr().resetForTests();
        ProgramFolderTest::TearDown();
    }
    static QString templatePath(const QString &name)
    {
        return QStringLiteral(VORN_TEMPLATES_DIR "/") + name;
    }
    QString saison(const QString &name) const
    {
        return path(SaisonEnCours + QLatin1Char('/') + name);
    }
    void ecrireSaison(const QString &name, const QStringList &lines)
    {
        writeLines(SaisonEnCours + QLatin1Char('/') + name, lines);
    }
    QByteArray lireSaison(const QString &name) const
    {
        return readBytes(SaisonEnCours + QLatin1Char('/') + name);
    }

    platform::FixedAdvanceMeasurer measurer{7, 4};
    report::FrRecordingPreview *preview = nullptr;
};

} // namespace vorn_test
