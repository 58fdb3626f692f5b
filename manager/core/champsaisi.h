#pragma once
// Text typed by the user that goes into a ";" record.
#include <QString>

// A field holds neither ";" nor a line break: each ";" becomes "," and each
// line break a blank, so the fields of the line stay in place.
QString ChampSaisi(const QString &text);
// Upper case of the Windows-1252 code page: a-z, the accented letters
// (é gives É), œ, š, ž and ÿ; ß and the rest stay as they are.
QString Majuscules1252(const QString &text);
