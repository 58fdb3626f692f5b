#pragma once
// The manager's shared globals: the program's version, its folder, the open
// season and the date of the choice not to check for updates. One thread.
#include "platform/text/convert.h"
#include <QString>

// "13.19.10": shown in captions and the about box, used in the mail subject
// and in the name of the update page.
extern const QString NumVersion;
// The program folder, with its trailing separator ("/" here).
extern QString RepAppli;
// The open season (a sub-folder of RepAppli); empty when none is open.
extern QString SaisonEnCours;
extern platform::TDateTime DateMiseAjour;

// RepAppli + name: a program-level file (templates, settings, lists).
QString fichierProgramme(const QString &name);
// RepAppli + SaisonEnCours + "/" + name: a file of the open season.
QString fichierSaison(const QString &name);
// RepAppli + "Vorn_Lud.ini".
QString fichierIni();

// The folder of the running program file, with its trailing separator.
QString dossierProgramme();
// Makes dossierProgramme() answer folder (a trailing separator is added);
// an empty text goes back to the program file's folder. For tests.
void imposerDossierProgramme(const QString &folder);
