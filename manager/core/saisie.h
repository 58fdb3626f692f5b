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
