#include "manager/core/vorn_dec.h"

#include "platform/text/exceptions.h"

#include "platform/text/linefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

const QString NumVersion = QStringLiteral("13.19.10");
QString RepAppli;
QString SaisonEnCours;
platform::TDateTime DateMiseAjour = 0;

namespace
{
// The season named by the innermost PorteeSaison alive, or none.
const QString *saisonImposee = nullptr;

QString &dossierImpose()
{
    static QString folder;
    return folder;
}

QString avecSeparateur(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
} // namespace

QString dossierProgramme()
{
    if (!dossierImpose().isEmpty())
        return dossierImpose();
    return avecSeparateur(QCoreApplication::applicationDirPath());
}

void imposerDossierProgramme(const QString &folder)
{
    dossierImpose() = folder.isEmpty() ? QString() : avecSeparateur(folder);
}

QString fichierProgramme(const QString &name)
{
    return RepAppli + name;
}

QString fichierSaison(const QString &name)
{
    return RepAppli + (saisonImposee ? *saisonImposee : SaisonEnCours) + QLatin1Char('/') + name;
}

QString fichierIni()
{
    return RepAppli + QStringLiteral("Vorn_Lud.ini");
}

bool estDossierSaison(const QString &nom)
{
    if (nom.isEmpty() || nom == QLatin1String(".") || nom == QLatin1String("..") ||
        nom.contains(QLatin1Char('/')) || nom.contains(QLatin1Char('\\')) ||
        nom.contains(QChar(u'\0')))
        return false;
    const QString dossier = RepAppli + nom;
    // A link to a folder elsewhere is not one of the program's seasons.
    const QString reel = QFileInfo(dossier).canonicalFilePath();
    const QString racine = QFileInfo(RepAppli).canonicalFilePath();
    return !reel.isEmpty() && !racine.isEmpty() && QFileInfo(reel).isDir() &&
           QFileInfo(reel).dir().canonicalPath() == racine;
}

bool estSaison(const QString &nom)
{
    return estDossierSaison(nom) &&
           platform::LineFile::exists(RepAppli + nom + QStringLiteral("/Joueur.DBP"));
}

void SaisonLue::verifierEcriture() const
{
    if (m_nom.isEmpty())
        throw platform::EFileError(
            QStringLiteral("Aucune saison n'est ouverte : rien n'est enregistré.\n\n"
                           "Ouvrez ou créez une saison (menu Saisons), puis revenez à cette "
                           "fenêtre."));
    if (!QFileInfo(dossier()).isDir()) {
        QString texte = dossierSaisonDisparu(m_nom) + QStringLiteral(" : rien n'est enregistré.");
        texte[0] = texte[0].toUpper();
        throw platform::EFileError(texte);
    }
    // Checked again at each write: a folder swapped for a link since the
    // window read it would take the files elsewhere.
    if (!estSaison(m_nom))
        throw platform::EFileError(
            QStringLiteral("Le dossier de la saison %1, dont cette fenêtre montre les fichiers, "
                           "n'est plus un dossier de saison du dossier du programme (un dossier "
                           "qui contient Joueur.DBP) : rien n'est enregistré.")
                .arg(platform::excerpt(m_nom)));
}

QString saisonOuverteCitee()
{
    return SaisonEnCours.isEmpty() ? QStringLiteral("aucune") : platform::excerpt(SaisonEnCours);
}

QString dossierSaisonDisparu(const QString &nom)
{
    // "saison ouverte : S3" beside the season S3 itself would read as two.
    if (nom == SaisonEnCours)
        return QStringLiteral("le dossier de la saison ouverte, %1, dont cette fenêtre montre "
                              "les fichiers, n'existe plus")
            .arg(platform::excerpt(nom));
    return QStringLiteral("le dossier de la saison %1, dont cette fenêtre montre les fichiers, "
                          "n'existe plus (saison ouverte : %2)")
        .arg(platform::excerpt(nom), saisonOuverteCitee());
}

void verifierSaisonOuverte()
{
    SaisonLue ouverte;
    ouverte.lire();
    ouverte.verifierEcriture();
}

PorteeSaison::PorteeSaison(const SaisonLue &saison) : m_avant(saisonImposee)
{
    saisonImposee = &saison.nom();
}

PorteeSaison::~PorteeSaison()
{
    saisonImposee = m_avant;
}

EcritureSaison::EcritureSaison(const SaisonLue &saison)
    : PorteeSaison((saison.verifierEcriture(), saison))
{
}
