#include "manager/core/historique.h"
#include <algorithm>

QStringList HistoriqueVersions()
{
    static const char *const lignes[] = {
        "Version 0.11 : 2011",
        "  Importer et gérer le fichiers des joueurs Ludmarrais",
        "",
        "",
        "Version 1.11 : 2011",
        "  Editer les convocations Paires et Quatre",
        "",
        "",
        "Version 2.12 : 2012",
        "  Gestion du Challenge",
        "",
        "",
        "Version 7.15 : 2015",
        "  Création Fichier Magic Contest",
        "  Gestion des simultanés",
        "",
        "",
        "Version 8.16 : 2016",
        "  Compatibilité avec la nouvelle base FFB",
        "",
        "",
        "Version 10.17 : 2017",
        "  Envoi automatique courriel aux joueurs",
        "",
        "",
        "Version 11.17.06 : 2017",
        "  Calculs des PP et PE de Challenge",
        "    Création fichier d'attribution pour EASI",
        "",
        "",
        "Version 12.18.01 : 2018",
        "  Envoi de courriels à partir liste inscrits",
        "",
        "",
        "Version 13.18.08 : 2018",
        "  Editer 2 types de convocations Clubs et EASI",
        "    Possibilité d'envoi de courriels en copie cachée",
        "",
        "",
        "",
        "",
        "",
        "",
    };
    QStringList out;
    for (const char *l : lignes)
        out << QString::fromUtf8(l);
    return out;
}

int PasDefilement(int hauteurLigne, int nombreLignes, int hauteurZone)
{
    return std::max(hauteurLigne * nombreLignes, hauteurZone);
}
