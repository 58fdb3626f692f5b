#pragma once
// The timetable of a day of play: séance length, start and end of every
// séance, and the three lines the officials copy into a convocation.
#include "platform/text/convert.h"
#include <QString>
#include <array>
#include <vector>

// Minutes from midnight as "9h30" (hours not reduced modulo 24: 1510 gives
// "25h10").
QString HeureTexte(int minutes);
// "14:00", "17h35" (five characters: two hour digits) or "9h30" (one hour
// digit) to minutes; anything else raises the conversion error.
int TexteMinutes(const QString &text);

// Kinds of competition, as the "Type" radio group orders them.
enum TypeCompetition { TypeAucun = -1, TypePaires = 0, TypeSuisse = 1, TypePoule = 2 };

// Length of a pause between séances for p pairs (type 0) or p teams (two
// tables each): 45 or 30 minutes, one more per table beyond 28.
int DureePause(int type, int participants);
// Interval after séance i (1..5) when neither pause nor meal is ticked;
// -1 when no type is chosen (the interval is left as it is).
int IntervalleNormal(int type, int seance);
// Séance length in whole minutes: 7.5 minutes a deal, 8.25 with screens;
// halves go to the even minute (computed on integers: 34 deals with screens
// give 280.5 exactly, hence 280).
int DureeSeance(int donnes, bool ecrans);

struct HorairesEntree {
    int type = TypeAucun;
    platform::TDateTime date = 0; // day of play
    QString heure;                // first five characters of the start time ("14:00")
    int seances = 2;              // 1..6
    int donnes = 27;
    int ecran = 1; // 0 "Avec", 1 "Sans", -1 none chosen
    QString sc0;   // the shown séance length, kept when no screen item is chosen
    std::array<bool, 5> pause{};
    std::array<bool, 5> repas{};
    std::array<int, 5> intervalle{10, 15, 15, 15, 15};
};

struct HorairesResultat {
    QString phrase;
    QString horraire;
    QString modalite;
    QString sc0;
    std::vector<QString> debuts; // Sc1..Sc(seances)
    std::vector<QString> fins;   // Sf1..Sf(seances)
};

// Builds the whole timetable; raises the conversion error when a time it
// reads back is not in a form TexteMinutes knows.
HorairesResultat CalculHoraires(const HorairesEntree &in);
