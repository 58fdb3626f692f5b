// Builds the print windows' report templates into the folder given as the
// one argument.
#include "modeles.h"
#include "report/core/frlibrary.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    report::fr().start();
    const QDir dossier(QString::fromLocal8Bit(argv[1]));
    const struct {
        const char *nom;
        void (*construire)(report::TfrReport &);
    } modeles[] = {{"Homologation_paires.frf", modeles::HomologationPaires},
                   {"Classem_General.frf", modeles::ClassemGeneral},
                   {"Repartition_theorique_PP.frf", modeles::RepartitionTheoriquePP},
                   {"Attibution_PPE.frf", modeles::AttibutionPPE},
                   {"Enveloppes.frf", modeles::Enveloppes},
                   {"calendrier.frf", modeles::Calendrier},
                   {"convocation.frf", modeles::Convocation},
                   {"quatre.frf", modeles::QuatreInscrits},
                   {"paires.frf", modeles::PairesInscrits},
                   {"Match_Quatre.frf", modeles::MatchQuatre},
                   {"Groupe4_Quatre.frf", modeles::Groupe4Quatre},
                   {"Homologation_quatre.frf", modeles::HomologationQuatre}};
    int erreurs = 0;
    for (const auto &m : modeles) {
        report::TfrReport report;
        m.construire(report);
        const QString chemin = dossier.filePath(QString::fromLatin1(m.nom));
        if (!report.SaveToFile(chemin)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(chemin));
            ++erreurs;
        }
    }
    report::fr().end();
    return erreurs == 0 ? 0 : 1;
}
