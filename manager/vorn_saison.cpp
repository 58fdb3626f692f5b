#include "manager/vorn_saison.h"

#include "manager/core/fichejoueur.h"
#include "manager/core/genrefichier.h"
#include "manager/core/vorn_dec.h"
#include "platform/forms/application.h"
#include "platform/inifile/inifile.h"
#include "platform/text/codec.h"
#include "platform/text/linefile.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

TVorn_FSaison::TVorn_FSaison(QWidget *parent)
    : TForm(QStringLiteral("Vorn_FSaison"), parent),
      OpenDialog1(std::make_unique<TOpenDialog>(this))
{
    setCaption(QStringLiteral("Création d'une saison"));
    // The name typed is what "Créer" makes; nothing else is held here.
    champDeReglage(this);
    // A small dialog without border icons.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setPosition(Position::ScreenCenter);
    setFixedSize(305, 110);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(24, 20, 257, 25);

    ButCreer = new QPushButton(QStringLiteral("&Créer"), this);
    ButCreer->setObjectName(QStringLiteral("ButCreer"));
    ButCreer->setGeometry(40, 64, 89, 28);
    ButCreer->setDefault(true);
    ButQuiter = new QPushButton(QStringLiteral("&Quitter"), this);
    ButQuiter->setObjectName(QStringLiteral("ButQuiter"));
    ButQuiter->setGeometry(176, 64, 89, 28);

    connect(ButCreer, &QPushButton::clicked, this, handler(this, &TVorn_FSaison::ButCreerClick));
    connect(ButQuiter, &QPushButton::clicked, this, handler(this, &TVorn_FSaison::ButQuiterClick));
}

void TVorn_FSaison::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        Edit1->clear();
    TForm::showEvent(event);
}

void TVorn_FSaison::ButQuiterClick()
{
    Hide();
}

bool TVorn_FSaison::nomSaisonValide(const QString &nom)
{
    if (nom.isEmpty() || nom.front().isSpace() || nom.back().isSpace())
        return false;
    if (nom.contains(QLatin1String("..")) || nom == QLatin1String("."))
        return false;
    for (QChar c : nom) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || ansiByte(c) < 0)
            return false;
        if (QStringLiteral("/\\<>:\"|?*").contains(c))
            return false;
    }
    return true;
}

void TVorn_FSaison::ButCreerClick()
{
    const QString nom = Edit1->text();
    if (nom.isEmpty()) {
        Hide();
        return;
    }
    if (!nomSaisonValide(nom)) {
        MessageDlg(QStringLiteral("Nom de saison invalide"), mtWarning, mbOK);
        return;
    }
    const QString dossier = RepAppli + nom;
    const QString joueurs = dossier + QStringLiteral("/Joueur.DBP");
    const QString challenge = dossier + QStringLiteral("/Challenge.DBP");
    const bool existe = estSaison(nom);
    if (!existe) {
        // A name already borne by anything (a folder made by hand, a file,
        // a link, even one leading nowhere) is not made a season: its files
        // could land elsewhere or among others.
        struct stat st;
        if (::lstat(QFile::encodeName(dossier).constData(), &st) == 0)
            throw EFileError(QStringLiteral("Impossible de créer la saison : %1 existe déjà et "
                                            "n'est pas une saison du dossier du programme (un "
                                            "dossier qui contient Joueur.DBP).")
                                 .arg(dossier));
        // The season's two files, both or neither.
        LineFile::checkWritable(challenge);
        LineFile::checkWritable(joueurs);
    }
    // A window holding unrecorded work is asked before its season goes;
    // "Annuler" leaves everything as it was.
    if (nom != SaisonEnCours && !TForm::CloseQueryAll(true))
        return;
    if (existe) {
        TIniFile(fichierIni()).WriteString(QStringLiteral("Param"), QStringLiteral("Saison"), nom);
        SaisonEnCours = nom;
        Hide();
        return;
    }

    // The new season's folder is there when the file dialog opens in it.
    if (::mkdir(QFile::encodeName(dossier).constData(), 0777) != 0)
        throw EFileError(QStringLiteral("Impossible de créer le dossier %1 : %2")
                             .arg(dossier, systemErrorReason(errno)));
    // Whatever fails from here (a file that cannot be imported, a full
    // disk, the settings not written) takes back what was made: both files
    // or neither, and no folder left behind.
    bool challengeEcrit = false;
    bool joueursEcrit = false;
    try {
        QStringList lignes;
        if (MessageDlg(QStringLiteral("Importer les licenciés d'une saison précédente?"),
                       mtConfirmation, mbYes | mbNo) == mrYes) {
            OpenDialog1->Title = QStringLiteral("Recherche fichier licenciés");
            OpenDialog1->Filter = QStringLiteral("Fichier Licencieés (Joueur.DBP)|Joueur.DBP");
            OpenDialog1->FileName = RepAppli + QStringLiteral("Joueur.DBP");
            OpenDialog1->InitialDir = dossier;
            if (OpenDialog1->Execute() &&
                QFileInfo(OpenDialog1->FileName).fileName() == QLatin1String("Joueur.DBP"))
                lignes = manager::LireLignesJoueurs(OpenDialog1->FileName);
        }
        // Each write goes only into the folder made above, still right
        // inside the program folder (not a link put in its place meanwhile).
        const auto verifierDossier = [&] {
            if (!estDossierSaison(nom))
                throw EFileError(QStringLiteral("Le dossier %1 n'est plus un dossier du dossier "
                                                "du programme : la saison n'est pas créée.")
                                     .arg(dossier));
        };
        verifierDossier();
        challengeEcrit = true;
        LineFile::write(challenge, {});
        verifierDossier();
        joueursEcrit = true;
        LineFile::write(joueurs, lignes);
        // The season becomes the current one only once its files exist and
        // the settings name it.
        TIniFile(fichierIni()).WriteString(QStringLiteral("Param"), QStringLiteral("Saison"), nom);
    } catch (...) {
        if (estDossierSaison(nom)) {
            if (joueursEcrit)
                QFile::remove(joueurs);
            if (challengeEcrit)
                QFile::remove(challenge);
        }
        ::rmdir(QFile::encodeName(dossier).constData()); // only while empty, never a link
        throw;
    }
    SaisonEnCours = nom;
    Hide();
}
