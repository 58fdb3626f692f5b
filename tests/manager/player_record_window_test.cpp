// The player record window: showing, sorting and searching the season's
// players, the envelope's values and template, and the mail link.
#include "manager/vorn_edition.h"
#include "platform/forms/controls.h"
#include "platform/shell/shell.h"
#include "platform/text/linefile.h"
#include "report/core/frlibrary.h"
#include "report/objects/frglobals.h"
#include "report/objects/frreport.h"
#include "tests/manager/window_support.h"
#include "tests/support/gui/fake_desktop.h"
#include "tests/support/gui/shots.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

namespace
{

QString joueur(const QString &licence, const QString &nom, const QString &prenom,
               const QString &titre = QStringLiteral("M."), const QString &courriel = QString())
{
    QStringList f(19);
    f[0] = licence;
    f[1] = titre;
    f[2] = nom;
    f[3] = prenom;
    f[6] = "1 rue " + nom;
    f[9] = "69001";
    f[10] = "LYON";
    f[14] = courriel;
    f[18] = "2024";
    return f.join(';') + ';';
}

class PlayerRecordWindow : public vorn_test::ReportWindowTest<>
{
protected:
    void SetUp() override
    {
        ReportWindowTest::SetUp();
        SaisonEnCours = "2024";
        w = std::make_unique<TVorn_FEdition>();
    }
    void TearDown() override
    {
        w.reset();
        ReportWindowTest::TearDown();
    }
    void joueurs(const QStringList &lignes) { writeLines("2024/Joueur.DBP", lignes); }
    void active()
    {
        w->show();
        w->activated();
    }
    void parLicence() { w->RadioGroup1->setItemIndex(0); }
    QString licence() const { return w->EdLicence->text(); }
    QString etatBoutons() const
    {
        QString s;
        for (QPushButton *b : {w->Bt_Debut, w->Bt_Precedant, w->Bt_Suivant, w->Bt_Fin})
            s += b->isEnabled() ? '1' : '0';
        return s;
    }

    std::unique_ptr<TVorn_FEdition> w;
};

TEST_F(PlayerRecordWindow, LicenceSearchShowsGreatestLicenceNotAbove)
{
    joueurs({joueur("310", "CARON", "C"), joueur("100", "ARNAUD", "A"), joueur("205", "BRUN", "B"),
             joueur("1000", "DUMAS", "D"), joueur("999", "EMERY", "E")});
    active();
    parLicence();
    EXPECT_TRUE(w->ELicence->isVisible());
    EXPECT_FALSE(w->ENom->isVisible());
    // Licences by value (999 before 1000).
    QStringList ordre;
    for (const QString &l : w->joueurs())
        ordre << platform::Champ(l, 0);
    EXPECT_EQ(ordre, QStringList({"100", "205", "310", "999", "1000"}));

    const struct {
        const char *saisie;
        const char *montre;
    } cas[] = {{"250", "205"},   {"50", "205"},  {"999", "999"}, {"1000", "1000"},
               {"5000", "1000"}, {"100", "100"}, {"12", "100"}};
    for (const auto &c : cas) {
        w->ELicence->setText(c.saisie);
        EXPECT_EQ(licence(), c.montre) << c.saisie;
    }
    // Emptying the edit is a conversion error; the record stays.
    w->ELicence->setText("");
    EXPECT_EQ(dialogs().count("'' n'est pas une valeur entière correcte."), 1)
        << dialogs().texts().join('|').toStdString();
    EXPECT_EQ(licence(), "100");
}

TEST_F(PlayerRecordWindow, NameSearchAndFileOrder)
{
    joueurs({joueur("4", "ARNAUD", "Anne"), joueur("3", "DUPONT", "Jean"),
             joueur("1", "DUPONT", "Jean", "Mme"), joueur("2", "DURAND", "Paul"),
             joueur("5", "ÉMERY", "Eve"), joueur("6", "EMERY", "Eric")});
    active();
    EXPECT_TRUE(w->ENom->isVisible());
    EXPECT_EQ(licence(), "4");
    const struct {
        const char *saisie;
        const char *montre;
    } cas[] = {{"du", "3"}, {"dur", "2"}, {"é", "5"}, {"e", "6"}, {"zz", "6"}, {"", "4"}};
    for (const auto &c : cas) {
        w->ENom->setText(QString::fromUtf8(c.saisie));
        EXPECT_EQ(licence(), c.montre) << c.saisie;
    }
    // Homonyms keep their order in the file.
    w->ENom->setText("dupont");
    EXPECT_EQ(licence(), "3");
    w->Bt_SuivantClick();
    EXPECT_EQ(licence(), "1");
    EXPECT_EQ(w->EdTytre->text(), "Mme");
}

TEST_F(PlayerRecordWindow, NavigationButtonsFollowTheRecord)
{
    joueurs({joueur("1", "A", "a"), joueur("2", "B", "b"), joueur("3", "C", "c")});
    active();
    EXPECT_EQ(etatBoutons(), "0011");
    w->Bt_Suivant->click();
    EXPECT_EQ(licence(), "2");
    EXPECT_EQ(etatBoutons(), "1111");
    w->Bt_Fin->click();
    EXPECT_EQ(licence(), "3");
    EXPECT_EQ(etatBoutons(), "1100");
    w->Bt_Precedant->click();
    EXPECT_EQ(licence(), "2");
    w->Bt_Debut->click();
    EXPECT_EQ(licence(), "1");
    // Every edit shows its field.
    EXPECT_EQ(w->EdAdress1->text(), "1 rue A");
    EXPECT_EQ(w->AdCode->text(), "69001");
    EXPECT_EQ(w->EdAge->text(), "2024");
    w->Bt_Quitter->click();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(PlayerRecordWindow, EmptyOrMissingFileShowsNoRecord)
{
    for (bool absent : {false, true}) {
        if (absent)
            QFile::remove(path("2024/Joueur.DBP"));
        else
            joueurs({});
        w->hide();
        active();
        EXPECT_EQ(licence(), "000000");
        EXPECT_TRUE(w->EdNom->text().isEmpty());
        EXPECT_EQ(etatBoutons(), "0000");
        w->Bt_Fin->click();
        w->ENom->setText("x");
        EXPECT_EQ(licence(), "000000");
    }
    // The missing file was told once, in French.
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_TRUE(dialogs().messages[0].text.contains("Joueur.DBP"));
}

TEST_F(PlayerRecordWindow, MailLinkAfterTheMessage)
{
    joueurs({joueur("1", "A", "a", "M.", "a@exemple.fr"), joueur("2", "B", "b")});
    active();
    dialogs().onMessage = [&](const platform::MessageRequest &) {
        EXPECT_TRUE(shell().calls.empty()); // the message comes first
    };
    w->Button3->click();
    EXPECT_EQ(dialogs().texts(), QStringList({"Choisir son compte Courriel"}));
    ASSERT_EQ(shell().calls.size(), 1u);
    EXPECT_EQ(shell().calls[0].file, "mailto:a@exemple.fr");
    EXPECT_EQ(shell().calls[0].verb, "Open");
    dialogs().onMessage = nullptr;

    shell().defaultResult = 2;
    w->Button3->click();
    ASSERT_EQ(dialogs().messages.size(), 3u);
    EXPECT_EQ(dialogs().messages[2].text, platform::kMailMissing);
    EXPECT_EQ(dialogs().messages[2].buttons, platform::MsgDlgButtons(platform::mbYes));

    // No address: nothing at all.
    w->Bt_Suivant->click();
    w->Button3->click();
    EXPECT_EQ(dialogs().messages.size(), 3u);
    EXPECT_EQ(shell().calls.size(), 2u);
}

// Through the real shell: with no program to take the link, the user hears
// of it instead of waiting for a mail that never opens.
TEST_F(PlayerRecordWindow, MailWithoutAMailProgramIsTold)
{
    joueurs({joueur("1", "A", "a", "M.", "a@exemple.fr")});
    active();
    const QString choix = QStringLiteral("Choisir son compte Courriel");
    courriels(w->Button3,
              {
                  {"no mail program", "", 0, {choix, platform::kMailMissing}, {}},
                  {"the opener fails",
                   "courrier.desktop",
                   3,
                   {choix, platform::kMailMissing},
                   {"mailto:a@exemple.fr"}},
                  {"a program takes it", "courrier.desktop", 0, {choix}, {"mailto:a@exemple.fr"}},
              });
}

TEST_F(PlayerRecordWindow, EnvelopeValuesComeFromTheEdits)
{
    joueurs({joueur("1", "DUPONT", "Jean", "")});
    const QByteArray avant = readBytes("2024/Joueur.DBP");
    active();
    w->EdAdress2->setText("Bât. B");
    w->Button1->click();
    // Without the template: told, nothing prepared or shown.
    EXPECT_EQ(dialogs().texts(),
              QStringList({"Modèle d'impression absent ou illisible : Enveloppes.frf"}));
    EXPECT_TRUE(preview->calls.empty());

    const struct {
        const char *nom;
        const char *valeur;
    } cas[] = {{"Nom", " DUPONT Jean"}, {"Adresse1", "1 rue DUPONT"},
               {"Adresse2", "Bât. B"},  {"Adresse3", ""},
               {"Code", "69001"},       {"Ville", "LYON"}};
    for (const auto &c : cas) {
        report::FrVariant v(42);
        w->frReport1GetValue(QString::fromUtf8(c.nom), v);
        EXPECT_EQ(v.toString(), QString::fromUtf8(c.valeur)) << c.nom;
    }
    for (const char *autre : {"nom", "NOM", "Prenom", ""}) {
        report::FrVariant v(42);
        w->frReport1GetValue(QString::fromLatin1(autre), v);
        EXPECT_EQ(v.toString(), "42") << autre;
    }
    EXPECT_EQ(readBytes("2024/Joueur.DBP"), avant);
}

// The record is shown, never edited: typing into its fields changes nothing
// (it would be lost at the next record), while the search fields take it.
TEST_F(PlayerRecordWindow, RecordFieldsTakeNoTyping)
{
    joueurs({joueur("1", "DUPONT", "Jean", "M.", "jean@exemple.fr"), joueur("2", "MARTIN", "Zoé")});
    active();
    int champs = 0;
    for (QLineEdit *e : w->findChildren<QLineEdit *>()) {
        if (e == w->ELicence || e == w->ENom)
            continue;
        ++champs;
        const QString avant = e->text();
        e->setFocus();
        QTest::keyClicks(e, "x9");
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClick(e, Qt::Key_Home);
        QTest::keyClick(e, Qt::Key_Delete);
        EXPECT_EQ(e->text(), avant) << e->objectName().toStdString();
        EXPECT_TRUE(e->isReadOnly()) << e->objectName().toStdString();
    }
    EXPECT_EQ(champs, 19);
    QTest::keyClicks(w->ENom, "mar");
    EXPECT_EQ(w->EdNom->text(), QStringLiteral("MARTIN"));
}

TEST_F(PlayerRecordWindow, ModificationOpensTheDesignerOnTheTemplate)
{
    joueurs({joueur("1", "A", "a")});
    active();
    // No designer: nothing happens, nothing is written.
    w->Button2->click();
    EXPECT_FALSE(exists("Enveloppes.frf"));

    int ouvertures = 0;
    QString nomEnregistre;
    int pagesVues = -1;
    report::frObjects().frDesignerClass = [&](int mode) {
        auto d = std::make_unique<report::FrCountingDesigner>(mode);
        d->edit = [&](report::FrCountingDesigner &) {
            ++ouvertures;
            pagesVues = w->frReport1->Pages().Count();
            nomEnregistre = w->frReport1->FileName;
            w->frReport1->SaveToFile(w->frReport1->FileName);
        };
        return d;
    };
    // A template that some earlier report left in the component is not the
    // one designed: the missing template gives an empty report named after it.
    w->frReport1->Pages().Add();
    w->frReport1->Pages().Add();
    w->frReport1->FileName = path("autre.frf");
    writeBytes("autre.frf", "ne pas toucher");
    w->Button2->click();
    EXPECT_EQ(ouvertures, 1);
    EXPECT_EQ(pagesVues, 1);
    EXPECT_EQ(QFileInfo(nomEnregistre), QFileInfo(path("Enveloppes.frf")));
    EXPECT_TRUE(exists("Enveloppes.frf"));
    EXPECT_EQ(readBytes("autre.frf"), "ne pas toucher");

    // Present: loaded, then designed once.
    const QByteArray modele = readBytes("Enveloppes.frf");
    w->frReport1->Clear();
    w->Button2->click();
    EXPECT_EQ(ouvertures, 2);
    EXPECT_EQ(pagesVues, 1);
    EXPECT_EQ(readBytes("Enveloppes.frf"), modele);
}

TEST_F(PlayerRecordWindow, UnreadableTemplateIsToldOnceAndNeitherShownNorDesigned)
{
    joueurs({joueur("1", "A", "a")});
    writeBytes("Enveloppes.frf", "pas un modèle");
    int ouvertures = 0;
    report::frObjects().frDesignerClass = [&](int mode) {
        auto d = std::make_unique<report::FrCountingDesigner>(mode);
        d->edit = [&](report::FrCountingDesigner &) { ++ouvertures; };
        return d;
    };
    active();
    w->Button1->click();
    EXPECT_TRUE(preview->calls.empty());
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_FALSE(dialogs().messages[0].text.startsWith("Modèle d'impression absent"));
    w->Button2->click();
    EXPECT_EQ(ouvertures, 0);
    EXPECT_EQ(readBytes("Enveloppes.frf"), "pas un modèle");
}

TEST_F(PlayerRecordWindow, ReturningFromThePreviewIsNoActivation)
{
    joueurs({joueur("1", "A", "a"), joueur("2", "B", "b"), joueur("3", "C", "c")});
    const vorn_test::ModalPreview *modal = vorn_test::installModalPreview(w.get());
    report::TfrReport vide;
    vide.Pages().Add();
    ASSERT_TRUE(vide.SaveToFile(path("Enveloppes.frf")));

    active();
    w->Bt_Fin->click();
    w->ENom->setText("B");
    EXPECT_EQ(licence(), "2");
    w->Button1->click();
    EXPECT_EQ(modal->shown, 1);
    w->activated(); // the focus comes back from the preview
    EXPECT_EQ(licence(), "2");
    EXPECT_EQ(w->ENom->text(), "B");
}

} // namespace

namespace vorn_test
{
QStringList chevauchements(const QWidget *fenetre)
{
    QStringList out;
    QList<QWidget *> controles;
    for (QWidget *c : fenetre->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (c->isVisible())
            controles << c;
    for (int i = 0; i < controles.size(); ++i) {
        // A button's caption fits inside it.
        if (auto *b = qobject_cast<QPushButton *>(controles[i]);
            b && b->fontMetrics().horizontalAdvance(b->text()) + 12 > b->width())
            out << b->objectName() + " coupé";
        if (!fenetre->rect().contains(controles[i]->geometry()))
            out << controles[i]->objectName() + " dépasse";
        for (int j = i + 1; j < controles.size(); ++j)
            if (controles[i]->geometry().intersects(controles[j]->geometry()))
                out << controles[i]->objectName() + "/" + controles[j]->objectName() + "/" +
                           (qobject_cast<QLabel *>(controles[i])
                                ? qobject_cast<QLabel *>(controles[i])->text()
                                : QString());
    }
    return out;
}
} // namespace vorn_test

namespace
{
TEST_F(PlayerRecordWindow, FilledWindowHasNoOverlapAndIsCaptured)
{
    QStringList f(19);
    const char *valeurs[] = {"0123456",
                             "Mme",
                             "DUPONT-MARTIN",
                             "Marie-Hélène",
                             "72",
                             "Bridge Club de Ludmarre",
                             "12 rue de l'Église",
                             "Bât. B & C",
                             "Résidence des Tilleuls",
                             "69001",
                             "LYON",
                             "04 78 00 00 00",
                             "04 72 00 00 00",
                             "06 00 00 00 00",
                             "marie.dupont@exemple.fr",
                             "12/05/1956",
                             "Licencié",
                             "1 P",
                             "2024"};
    for (int i = 0; i < 19; ++i)
        f[i] = QString::fromUtf8(valeurs[i]);
    joueurs({f.join(';') + ';', joueur("2", "B", "b")});
    active();
    EXPECT_EQ(w->EdClub->text(), "Bridge Club de Ludmarre");
    EXPECT_EQ(vorn_test::chevauchements(w.get()), QStringList());
    vorn_test::saveShot(w.get(), "player_record_window.png");
}
} // namespace
