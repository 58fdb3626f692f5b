// The history that the about box scrolls.
#include "manager/core/historique.h"
#include <gtest/gtest.h>

TEST(AboutCore, HistoryHasItsFortyThreeLines)
{
    const QStringList h = HistoriqueVersions();
    ASSERT_EQ(h.size(), 43);
    const std::pair<int, const char *> texte[] = {
        {1, "Version 0.11 : 2011"},
        {2, "  Importer et gérer le fichiers des joueurs Ludmarrais"},
        {5, "Version 1.11 : 2011"},
        {6, "  Editer les convocations Paires et Quatre"},
        {9, "Version 2.12 : 2012"},
        {10, "  Gestion du Challenge"},
        {13, "Version 7.15 : 2015"},
        {14, "  Création Fichier Magic Contest"},
        {15, "  Gestion des simultanés"},
        {18, "Version 8.16 : 2016"},
        {19, "  Compatibilité avec la nouvelle base FFB"},
        {22, "Version 10.17 : 2017"},
        {23, "  Envoi automatique courriel aux joueurs"},
        {26, "Version 11.17.06 : 2017"},
        {27, "  Calculs des PP et PE de Challenge"},
        {28, "    Création fichier d'attribution pour EASI"},
        {31, "Version 12.18.01 : 2018"},
        {32, "  Envoi de courriels à partir liste inscrits"},
        {35, "Version 13.18.08 : 2018"},
        {36, "  Editer 2 types de convocations Clubs et EASI"},
        {37, "    Possibilité d'envoi de courriels en copie cachée"},
    };
    QStringList attendu(43);
    for (const auto &[n, t] : texte)
        attendu[n - 1] = QString::fromUtf8(t);
    for (int i = 0; i < 43; ++i)
        EXPECT_EQ(h[i], attendu[i]) << "line " << i + 1;
}

TEST(AboutCore, ScrollStepsCoverTextAndArea)
{
    EXPECT_EQ(PasDefilement(16, 43, 300), 688);
    EXPECT_EQ(PasDefilement(16, 43, 688), 688);
    EXPECT_EQ(PasDefilement(16, 43, 900), 900);
    EXPECT_EQ(PasDefilement(0, 43, 10), 10);
}
