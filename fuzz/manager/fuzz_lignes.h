#pragma once
// The lines of a fuzz input as a line file reads them: CR LF, LF or CR end a
// line, and a last line end adds no empty line.
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace fuzz
{

inline QStringList lignesDe(const QString &texte)
{
    static const QRegularExpression fin(QStringLiteral("\r\n|\n|\r"));
    QStringList lignes = texte.split(fin);
    if (!lignes.isEmpty() && lignes.last().isEmpty())
        lignes.removeLast();
    return lignes;
}

} // namespace fuzz
