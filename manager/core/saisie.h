#pragma once
// Readers of typed text shared by the teams-of-four sheet and the
// tournaments list.
#include <QString>

// Text typed by the user, made safe for a ";" record or a plain line: each
// ";" becomes "," and each line break a blank, so fields stay in place.
QString champSaisi(const QString &text);

// Empty text gives 0; anything else must be a whole number (EConvertError).
int EntierOuZero(const QString &text);
// Only the digits of the text, read as a whole number; no digit gives 0.
int ChiffresSeuls(const QString &text);

// Arithmetic on whole numbers read from files: total + the number of texte,
// total + valeur and a x b, where the values were worked out from texte. A
// text that is not a whole number, or a result beyond 64 bits, raises the
// conversion error naming texte, as a number too large to read does.
qint64 AjouteEntier(qint64 total, const QString &texte);
qint64 AjouteValeur(qint64 total, qint64 valeur, const QString &texte);
qint64 MultiplieValeur(qint64 a, qint64 b, const QString &texte);
