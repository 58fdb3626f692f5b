#pragma once
// The program folder of the challenge window tests: season "2023-2024", the
// report library started headless (fixed-advance measurer, virtual A4
// printer, recording preview) and the builder's templates in the folder.
#include "tests/manager/core/challenge_support.h"
#include "tests/manager/window_support.h"

#include "manager/core/vorn_dec.h"
#include "report/data/frdataset.h"
#include "report/io/fremfpages.h"
#include "report/objects/frreport.h"

namespace vorn_test
{

class ChallengeTest : public ReportWindowTest<>
{
protected:
    void SetUp() override
    {
        ReportWindowTest::SetUp();
        SaisonEnCours = QStringLiteral("2023-2024");
        // A season folder holds its players file.
        writeLines(SaisonEnCours + QStringLiteral("/Joueur.DBP"), {});
        copierModeles({"Homologation_paires.frf", "Classem_General.frf",
                       "Repartition_theorique_PP.frf", "Attibution_PPE.frf"});
    }
    QString saison(const QString &name) const
    {
        return path(SaisonEnCours + QLatin1Char('/') + name);
    }
    void ecrireSaison(const QString &name, const QStringList &lines)
    {
        writeLines(SaisonEnCours + QLatin1Char('/') + name, lines);
    }
    // The question asked before a file of that name is replaced.
    static QString ecraser(const char *nom)
    {
        return QStringLiteral("Le fichier %1 existe déjà\nVoulez-vous l'écraser ?")
            .arg(QString::fromUtf8(nom));
    }
    QByteArray lireSaison(const QString &name) const
    {
        return readBytes(SaisonEnCours + QLatin1Char('/') + name);
    }
};

} // namespace vorn_test
