#include "manager/core/vorn_dec.h"

#include <QCoreApplication>

const QString NumVersion = QStringLiteral("13.19.10");
QString RepAppli;
QString SaisonEnCours;
platform::TDateTime DateMiseAjour = 0;

namespace
{
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
    return RepAppli + SaisonEnCours + QLatin1Char('/') + name;
}

QString fichierIni()
{
    return RepAppli + QStringLiteral("Vorn_Lud.ini");
}
