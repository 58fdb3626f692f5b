#pragma once
// The challenge's ranking pages: the open ranking and the ranking of the
// players under a value-index limit, as static HTML for the committee's site
// (pages link each other by bare name into the frame "principal").
#include "manager/core/classement.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace manager
{

// A text from a data file made safe inside HTML: "&", "<" and ">" only, so
// that ordinary names keep their bytes.
QString EchapperHtml(const QString &texte);

// The header cell colour of a journée by its tournament type.
QString CouleurType(const QString &type);
// The row colour of a player by value index (empty counts 0); none outside
// 0 to 100. EConvertError for a text that is not a whole number.
QString CouleurIV(const QString &iv);

struct JourneeWeb {
    QString type;  // "P", "Q" or " "
    QString titre; // what the column header shows (a link or the plain name)
    QString date;
};

// The header text of a journée: a link to its page around the plain title
// when it has one, else the plain title.
QString TitreJournee(const QString &type, const QString &titre, const QString &page);

// The lines of a ranking page: the open ranking, or (limite > 0) the one of
// the players of value index at most limite, from entries already filtered.
QStringList PageClassement(const QString &saison, const QList<JourneeWeb> &journees,
                           const QList<EntreeClassement> &entrees, int limite);

// Writes dossier + "Challenge.htm" from the entries, then filters them to
// the limit and writes dossier + "ChallengeCat.htm"; entries are left
// filtered. The folder must exist (EFileError otherwise).
void EcrirePagesClassement(const QString &dossier, const QString &saison,
                           const QList<JourneeWeb> &journees, QList<EntreeClassement> &entrees,
                           int limite);

} // namespace manager
