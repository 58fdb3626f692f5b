#pragma once
// The commands of a match sheet that do not need a window: corrections,
// calculation, clearing, and entering players and the result from the
// typed "Donnee" text. Each works on the sheet in place, so a command that
// stops on an error leaves what it already wrote.
#include "manager/core/feuillematch.h"

#include <QString>
#include <QStringList>

#include <functional>

// IV handicap of both sides into Handicap_A and Handicap_B.
void handicapFeuille(FeuilleMatch &f);
// IV-cap penalty of both sides; the cap is every digit of the caption of
// the penalty button.
void penaliteFeuille(FeuilleMatch &f, const QString &legendePenalite);
// Fills the empty deals, IV sums, IVm and PV fields, then always computes PE
// and PC. EConvertError for a field that is not a whole number, ECalculPV
// when the PV cannot be computed.
void calculerFeuille(FeuilleMatch &f);
// Empties the twenty computed fields.
void nettoyerFeuille(FeuilleMatch &f);
// The first of the match's sheets (from 0) whose PV, PE or PC of either
// side is not a whole number, i.e. that was not calculated; -1 when every
// sheet is. Recording reads those fields as numbers.
int FeuilleNonCalculee(const QStringList &lignesMatch, int feuilles);
// What the calculation of the sheet at base reads and writes: deals, IMPs,
// corrections, the players' IV and every computed field. A sheet whose
// figures differ from those of its last calculation shows results that are
// no longer its own.
QStringList ChiffresFeuille(const QStringList &lignesMatch, int base);
// The match's sheets (from 0, in order) that differ between the lines as
// read or recorded and the lines now, both as recording writes them (so a
// file's own spelling of an unchanged sheet does not count).
QList<int> FeuillesModifiees(const QStringList &lues, const QStringList &actuelles, int feuilles);

// The check of a membership number, padded in place to eight digits (a
// single character stays as it is). False for an empty number; chiffreOk
// tells whether the check digit holds (the number is accepted either way).
bool ControleNumero(QString &numero, bool *chiffreOk = nullptr);

enum class Equipe { A, B };
// Players of one half of one side from the numbers of `donnee` (which gets
// a "+" appended): each non-digit ends a number, slot k takes the k-th
// number, an empty number leaves its slot as it was. `joueurs` is the
// players file; `avertir` is called with the number as entered (padded)
// for each wrong check digit.
void saisirJoueurs(FeuilleMatch &f, Equipe equipe, int miTemps, QString &donnee,
                   const QStringList &joueurs,
                   const std::function<void(const QString &numero)> &avertir);
// IMPs of A, deals of the match and IMPs of B from `donnee`.
void saisirResultat(FeuilleMatch &f, QString &donnee);
