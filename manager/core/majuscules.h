#pragma once
// Upper case as the code page knows it, for searches typed by the user.
#include <QString>

// Upper case of the Windows-1252 code page: a-z, the accented letters
// (é gives É), œ, š, ž and ÿ; ß and the rest stay as they are.
QString Majuscules1252(const QString &text);
