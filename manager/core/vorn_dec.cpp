#include "manager/core/vorn_dec.h"

#include "platform/text/exceptions.h"

#include <QCoreApplication>
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

void SaisonLue::verifierEcriture() const
{
    if (m_nom.isEmpty())
        throw platform::EFileError(
            QStringLiteral("Aucune saison n'est ouverte : rien n'est enregistré.\n\n"
                           "Ouvrez ou créez une saison (menu Saisons), puis revenez à cette "
                           "fenêtre."));
    if (!QFileInfo(dossier()).isDir())
        throw platform::EFileError(
            QStringLiteral("Le dossier de la saison %1, dont cette fenêtre montre les fichiers, "
                           "n'existe plus (saison ouverte : %2) : rien n'est enregistré.")
                .arg(platform::excerpt(m_nom), saisonOuverteCitee()));
}

QString saisonOuverteCitee()
{
    return SaisonEnCours.isEmpty() ? QStringLiteral("aucune") : platform::excerpt(SaisonEnCours);
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
