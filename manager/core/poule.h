#pragma once
// Pools of teams of four: the season file "Poule.txt" (a header line, then
// one line per team of 8 player places and the team's value), the players
// list it is composed from, and the entries file of the scoring software.
#include "platform/text/exceptions.h"
#include <QDate>
#include <QString>
#include <QStringList>

// Settings of the host club, from "Vorn_Lud.ini" section "Param".
struct ReglagesPoule {
    QString clubNumero; // "ClubNumero": the host club's federation number
    QString clubNom;    // "ClubNom"
    QString epreuve;    // "Epreuve": the event of a new pool
};
ReglagesPoule LireReglagesPoule(const QString &iniPath);

// More rounds than the scoring software takes.
class EToursInvalides : public platform::Exception
{
public:
    EToursInvalides() : platform::Exception(QStringLiteral("Nombre de tours invalide")) {}
};

constexpr int kPlacesParEquipe = 8;
constexpr int kChampsParPlace = 5;
constexpr int kChampValeurEquipe = kPlacesParEquipe * kChampsParPlace; // 40
constexpr int kEquipesMax = 28;
constexpr int kToursMax = 99;

// The lines of "Poule.txt", read whole (manager/core/lecturesaison.h): the
// header's 11 fields, then 41 fields a team, its value indexes whole numbers
// or empty and its value a whole number. A missing or empty file gives no
// line: a new pool.
QStringList LirePoule(const QString &fichier);

// 40 ";" then "0;".
QString LigneEquipeVide();
// The header of a pool that has no file yet.
QString LigneEnteteDefaut(const ReglagesPoule &reglages);
// The ten header fields then the date, each followed by ";".
QString LigneEntete(const QStringList &dixChamps, const QString &date);

struct EnteteDate {
    QString reference; // year, month, day run together
    QString district;  // day on two digits
    QString phase;     // French month name
    QString groupe;    // year
};
EnteteDate EnteteDepuisDate(const QDate &date);
// "janvier" .. "décembre".
QString NomMois(int mois);

// Sum of the four highest value indexes of the 8 places (empty counts 0);
// raises the conversion error on a value that is not a whole number.
qint64 ValeurEquipe(const QString &ligne);
// Puts a player (licence, title, family name, first name, value index) into
// the first empty place and ends the line with the team's new value. A full
// team gets no player. The value index is checked first, so a bad one raises
// the conversion error with the line untouched. Returns whether a place was
// filled.
bool AjouteJoueur(QString &ligne, const QStringList &joueur);
// "title family first" of each place that holds a licence, in place order.
QStringList JoueursEquipe(const QString &ligne);
// Licences of the places that hold one.
QStringList LicencesEquipe(const QString &ligne);

// Teams 1..n by value, highest first; equal values keep their order. Every
// value is converted before anything moves.
void RangeEquipes(QStringList &poule, int n);

// The entries file of the scoring software for teams 1..n. Raises the
// conversion error on a non-numeric count of rounds, deals or halves, and
// EToursInvalides beyond 99 rounds.
QStringList FichierInscrits(const QStringList &poule, int n, const ReglagesPoule &reglages);

// Players ("Joueur.DBP" lines). Both sorts are stable and keep courant on its
// line. By licence: numeric licences by value, then text, then first name,
// other licences after them by text, then first name. By name: family name,
// then first name, in Windows-1252 byte order.
void TrieJoueursLicence(QStringList &joueurs, int &courant);
void TrieJoueursNom(QStringList &joueurs, int &courant);
// The last player, in licence order, whose licence is at most the typed
// number (the first player when none is); raises the conversion error when
// the text is not a number. -1 for an empty list.
int ChercheLicence(const QStringList &joueurs, const QString &saisie);
// The player record's search: walking up from the last player, the first
// whose licence (a whole number; other lines are passed over) is at most the
// typed number; -1 when none is, so that the shown record stays. Raises the
// conversion error when the text is not a number.
int ChercheLicenceAuPlus(const QStringList &joueurs, const QString &saisie);
// The first player whose family name begins with the typed text, both upper
// cased; -1 when none does.
int ChercheNom(const QStringList &joueurs, const QString &saisie);
// The e-mail addresses of the given licences: for each licence, the players
// list is scanned from its last line up and every line of that licence with
// an address adds it.
QStringList AdressesCourriel(const QStringList &joueurs, const QStringList &licences);
