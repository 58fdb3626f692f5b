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
// RepAppli + SaisonEnCours + "/" + name: a file of the open season, or of
// the season a PorteeSaison names while one lives.
QString fichierSaison(const QString &name);
// RepAppli + "Vorn_Lud.ini".
QString fichierIni();

// The folder of the running program file, with its trailing separator.
QString dossierProgramme();
// Makes dossierProgramme() answer folder (a trailing separator is added);
// an empty text goes back to the program file's folder. For tests.
void imposerDossierProgramme(const QString &folder);

// A season is a folder right inside RepAppli (itself, not a link leading
// elsewhere) that holds the players file "Joueur.DBP": nom is one folder
// name, neither "." nor "..", with no separator. The season setting and the
// folder chosen by "Saisons › Ouvrir" both go through here.
bool estSaison(const QString &nom);
// The folder part of it: nom names a folder right inside RepAppli, links
// resolved, whatever it holds (a season being created has no players file
// yet).
bool estDossierSaison(const QString &nom);

// The season a window read its files from. The open season may change under
// a window that stays open (the main window reads the settings file at each
// activation, and another copy of the program may have written another
// season there): the window's commands read and write the season it shows,
// never another one, and never the program folder.
class SaisonLue
{
public:
    // The season open now, when the window reads its files.
    void lire() { m_nom = SaisonEnCours; }
    const QString &nom() const { return m_nom; }
    bool ouverte() const { return !m_nom.isEmpty(); }
    // RepAppli + the season: the folder its dialogs start in.
    QString dossier() const { return RepAppli + m_nom; }
    // Refuses (EFileError) a command that would write files of the season:
    // with no season read, once its folder is gone (naming the season open
    // now as well), or once it is no longer a season (estSaison: a link
    // swapped in its place leads elsewhere). Called at the moment of
    // writing.
    void verifierEcriture() const;

private:
    QString m_nom;
};

// The season open now as a message names it: quoted, or "aucune".
QString saisonOuverteCitee();
// How a message says that the folder of the season nom, read by the window,
// is gone: naming the season open now as well, unless it is nom itself.
QString dossierSaisonDisparu(const QString &nom);

// For a window that reads nothing of a season before it writes there (its
// data come from files the user picks, or from what is typed): refused as
// SaisonLue::verifierEcriture says when no season is open now.
void verifierSaisonOuverte();

// While one lives, fichierSaison names the files of the season given, so
// that a command reads and writes the season its window read.
class PorteeSaison
{
public:
    explicit PorteeSaison(const SaisonLue &saison);
    ~PorteeSaison();
    PorteeSaison(const PorteeSaison &) = delete;
    PorteeSaison &operator=(const PorteeSaison &) = delete;

private:
    const QString *m_avant;
};

// The same for a command that writes season files: refused first, as
// SaisonLue::verifierEcriture says, before anything is written.
class EcritureSaison : public PorteeSaison
{
public:
    explicit EcritureSaison(const SaisonLue &saison);
};
