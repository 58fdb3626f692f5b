// The templates the builder made: what they bind to their windows, their
// files kept by the program folder's copy rule, the printouts on the
// virtual PDF printer, and screenshots of the windows and of page 1 of each
// printout (VORN_SHOTS_DIR).
#include "challenge_fenetre_support.h"
#include "tests/manager/template_names.h"

#include "manager/attrib.h"
#include "manager/challenge.h"
#include "manager/core/ventilation.h"
#include "manager/repart.h"
#include "manager/resultat_paires.h"
#include "platform/canvas/qpaintercanvas.h"
#include "platform/forms/controls.h"
#include "platform/printer/printers.h"
#include "report/core/frstream.h"
#include "report/objects/frpage.h"
#include "report/objects/frview.h"
#include "report/print/frprinter.h"
#include "tests/support/gui/shots.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTableWidget>

using namespace manager;

namespace vorn_test
{
namespace
{

using Getter = std::function<void(const QString &, report::FrVariant &)>;

class Modeles : public ChallengeTest
{
};

TEST_F(Modeles, EachTemplateBindsExactlyWhatItsWindowAnswers)
{
    TVornF_Resultat_Paires paires;
    TVorn_FChallenge challenge;
    TVornF_repart repart;
    TVornF_Attrib attrib;
    const struct {
        const char *modele;
        Getter get;
        QStringList noms;
    } cas[] = {
        {"Homologation_paires.frf",
         [&](const QString &n, report::FrVariant &v) { paires.frReport1GetValue(n, v); },
         {QStringLiteral("Saison1"), QStringLiteral("Epreuve1"), QStringLiteral("Classement1"),
          QStringLiteral("Nom1"), QStringLiteral("Nom2"), QStringLiteral("Licence1"),
          QStringLiteral("Licence2"), QStringLiteral("Pc1"), QStringLiteral("Total_Pc")}},
        {"Classem_General.frf",
         [&](const QString &n, report::FrVariant &v) { challenge.frReport1GetValue(n, v); },
         ImpressionClassement::noms()},
        {"Repartition_theorique_PP.frf",
         [&](const QString &n, report::FrVariant &v) { repart.frReport1GetValue(n, v); },
         ImpressionRepartition::noms()},
        {"Attibution_PPE.frf",
         [&](const QString &n, report::FrVariant &v) { attrib.frReport1GetValue(n, v); },
         ImpressionAttribution::noms()},
    };
    for (const auto &c : cas) {
        const QString fichier = modeleLivre(QString::fromLatin1(c.modele));
        const QSet<QString> utilises = nomsDuModele(fichier);
        const QSet<QString> repondus(c.noms.begin(), c.noms.end());
        EXPECT_EQ(utilises, repondus) << c.modele;
        for (const QString &n : utilises) {
            report::FrVariant v;
            c.get(n, v);
            EXPECT_FALSE(v.isUnassigned()) << c.modele << " " << n.toStdString();
        }
        report::FrVariant inconnu;
        c.get(QStringLiteral("Inconnu"), inconnu);
        EXPECT_TRUE(inconnu.isUnassigned()) << c.modele;

        ASSERT_NO_FATAL_FAILURE(gardeSesOctets(fichier, c.modele));
    }
}

TEST_F(Modeles, ProgramFolderKeepsChangedTemplatesAndGetsMissingOnesBack)
{
    const QString dest = path(QStringLiteral("programme"));
    auto copier = [&] {
        QProcess p;
        p.start(QStringLiteral("sh"), {QStringLiteral(VORN_SOURCE_DIR "/scripts/copy-missing"),
                                       QStringLiteral(VORN_TEMPLATES_DIR), dest});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    };
    copier();
    const QString change = dest + QStringLiteral("/Classem_General.frf");
    ASSERT_TRUE(QFile::exists(change));
    {
        QFile f(change);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("changé dans le concepteur");
    }
    ASSERT_TRUE(QFile::remove(dest + QStringLiteral("/Attibution_PPE.frf")));
    copier();
    QFile f(change);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("changé dans le concepteur"));
    QFile revenu(dest + QStringLiteral("/Attibution_PPE.frf"));
    QFile source(modeleLivre(QStringLiteral("Attibution_PPE.frf")));
    ASSERT_TRUE(revenu.open(QIODevice::ReadOnly));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    EXPECT_EQ(revenu.readAll(), source.readAll());
}

// --- the four windows filled, for the printouts on paper and on screen

class Remplies : public ChallengeTest
{
protected:
    void remplir()
    {
        ecrireFichierJoueurs(saison(QStringLiteral("Joueur.DBP")),
                             {joueur(QStringLiteral("0100001"), QStringLiteral("Anne"),
                                     QStringLiteral("NOMC"), QStringLiteral("30")),
                              joueur(QStringLiteral("0100002"), QStringLiteral("Loïc"),
                                     QStringLiteral("NOMB"), QStringLiteral("28"))});
        QList<PairePage> pp;
        for (int i = 1; i <= 12; ++i)
            pp.append(
                {QString::number(i),
                 i == 1 ? QStringLiteral("Anne de NOMC") : QStringLiteral("Joueur A%1").arg(i),
                 i == 1 ? QStringLiteral("Loïc NOMB") : QStringLiteral("Joueur B%1").arg(i)});
        writeLines(SaisonEnCours + QStringLiteral("/classement.htm"), newLayoutPage(pp));
        paires.activated();
        dialogs().files.push_back(saison(QStringLiteral("classement.htm")));
        dialogs().files.push_back(saison(QStringLiteral("Open1.chi")));
        paires.Bt_InternetClick();
        paires.Bt_Calcul_GroupeClick();

        QStringList chr1, chr2;
        for (int i = 1; i <= 30; ++i) {
            chr1.append(QStringLiteral("%1;Joueur %1;Partenaire %1;L%1;%2;P%1;%3;%4;")
                            .arg(i)
                            .arg(20 + i)
                            .arg(60 - i)
                            .arg(3000 - 90 * i));
            if (i % 3 == 0)
                chr2.append(
                    QStringLiteral("1;Joueur %1;;L%1;%2;;;%3;").arg(i).arg(20 + i).arg(700 + i));
        }
        ecrireSaison(QStringLiteral("Open1.chr"), chr1);
        ecrireSaison(QStringLiteral("Quatre1.chr"), chr2);
        ecrireSaison(QStringLiteral("Challenge.DBP"),
                     {QStringLiteral("1;12/10/2023;Open d'automne;P;1;100;Open1.chr;"),
                      QStringLiteral("2;14/01/2024;Quatre hiver;Q;2;50;Quatre1.chr;"),
                      QStringLiteral("3;16/03/2024;Open printemps;P;3;100;;")});
        challenge.activated();

        repart.activated();
        repart.Button1Click();
        dialogs().files.push_back(saison(QStringLiteral("Repart_1068.PPE")));
        repart.Bt_MemorisationClick();

        dialogs().answers.push_back(platform::mrOk);
        challenge.Bt1_ClassClick(challenge.Bt1_Class);
        attrib.activated();
        dialogs().files.push_back(saison(QStringLiteral("Classement_general.PPE")));
        attrib.BtChargeClassClick();
        dialogs().files.push_back(saison(QStringLiteral("Repart_1068.PPE")));
        attrib.BtChargeRepartClick();
    }
    // The four print commands, each followed by what to do with its report.
    void imprimer(const std::function<void(const QString &, report::TfrReport &)> &apres)
    {
        paires.ImpressionClick();
        apres(QStringLiteral("Homologation_paires"), *paires.composants.frReport1);
        dialogs().answers.push_back(platform::mrNo);
        challenge.Bt1_ClassClick(challenge.Bt1_Class);
        apres(QStringLiteral("Classem_General"), *challenge.composants.frReport1);
        dialogs().files.push_back(saison(QStringLiteral("Repart_1068.PPE")));
        repart.Bt_PPClick();
        apres(QStringLiteral("Repartition_theorique_PP"), *repart.composants.frReport1);
        attrib.BtEditionClick();
        apres(QStringLiteral("Attibution_PPE"), *attrib.composants.frReport1);
    }

    TVornF_Resultat_Paires paires;
    TVorn_FChallenge challenge;
    TVornF_repart repart;
    TVornF_Attrib attrib;
};

TEST_F(Remplies, PrintoutsOnTheVirtualPdfPrinter)
{
    imprimantePdf();
    remplir();
    QMap<QString, QStringList> attendus;
    attendus[QStringLiteral("Homologation_paires")] = {QStringLiteral("Saison 2023-2024"),
                                                       QStringLiteral("Anne de NOMC"),
                                                       QStringLiteral("Loïc NOMB"),
                                                       QStringLiteral("0100001"),
                                                       QStringLiteral("13,33"),
                                                       QStringLiteral("Joueur B12"),
                                                       QStringLiteral("Total des points : 26,66")};
    attendus[QStringLiteral("Classem_General")] = {QStringLiteral("Classement Open du challenge"),
                                                   QStringLiteral("Quatre"),
                                                   QStringLiteral("hiver"),
                                                   QStringLiteral("12/10"),
                                                   QStringLiteral("Joueur 1"),
                                                   QStringLiteral("29,10"),
                                                   QStringLiteral("Partenaire 30")};
    attendus[QStringLiteral("Repartition_theorique_PP")] = {
        QStringLiteral("ANNEXE II"), QStringLiteral("Table de répartition théorique des PP"),
        QStringLiteral("Total des points : 1068")};
    attendus[QStringLiteral("Attibution_PPE")] = {QStringLiteral("Attribution Cat des PE"),
                                                  QStringLiteral("Partenaire 1")};
    imprimer([&](const QString &nom, report::TfrReport &r) {
        const QString pdf = path(nom + QStringLiteral(".pdf"));
        platform::setVirtualPrinterOutput(pdf);
        // The virtual printer asks where to write.
        dialogs().files.push_back(pdf);
        ASSERT_TRUE(r.PrintPreparedPages(QString(), 1, true, 0))
            << nom.toStdString() << " "
            << (dialogs().messages.empty() ? std::string()
                                           : dialogs().messages.back().text.toStdString());
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        ASSERT_TRUE(p.waitForFinished(30000));
        // Glyphs are placed one by one at their design advances: pdftotext
        // may see blanks inside words, so blanks are left out on both sides.
        QString texte = QString::fromUtf8(p.readAllStandardOutput());
        texte.remove(QRegularExpression(QStringLiteral("\\s")));
        if (nom == u"Attibution_PPE") {
            ASSERT_GT(attrib.reste(), 0);
            attendus[nom].append(QStringLiteral("Total attribué : %1").arg(attrib.reste()));
        }
        for (QString a : attendus[nom])
            EXPECT_TRUE(texte.contains(a.remove(QLatin1Char(' '))))
                << nom.toStdString() << ": " << a.toStdString();
    });
}

TEST_F(Remplies, Screenshots)
{
    if (!shotsRequested())
        GTEST_SKIP() << "VORN_SHOTS_DIR not set";
    // The printouts measured as they will print.
    report::frObjects().setMeasurer(nullptr);
    remplir();
    imprimer([&](const QString &nom, report::TfrReport &r) {
        dessinerPage1(r, QStringLiteral("challenge_page1_") + nom + QStringLiteral(".png"));
    });
    const struct {
        QWidget *w;
        const char *nom;
    } fenetres[] = {{&paires, "challenge_resultat_paires.png"},
                    {&challenge, "challenge_classement.png"},
                    {&repart, "challenge_repartition.png"},
                    {&attrib, "challenge_attribution.png"}};
    for (const auto &f : fenetres) {
        f.w->show();
        platform::ProcessMessages();
        // Showing activates: the attribution starts again from its files.
        if (f.w == &attrib) {
            dialogs().files.push_back(saison(QStringLiteral("Classement_general.PPE")));
            attrib.BtChargeClassClick();
            dialogs().files.push_back(saison(QStringLiteral("Repart_1068.PPE")));
            attrib.BtChargeRepartClick();
        }
        if (f.w == &paires)
            paires.PageControl1->setCurrentIndex(2);
        EXPECT_FALSE(saveShot(f.w, QString::fromLatin1(f.nom)).isEmpty());
    }
}

} // namespace
} // namespace vorn_test
