#pragma once
// A distribution table applied to a challenge ranking: each ranked player
// receives the points of the table's line with the same place text, as long
// as the table's total lasts; the federation's EASI import file.
#include <QString>
#include <QStringList>

namespace manager
{

// A ranking file: at least two lines, the first with a value index (which
// a distribution file, of two fields, lacks).
bool ClassementAccepte(const QStringList &lignes);
// A distribution file: at least two lines.
bool RepartitionAcceptee(const QStringList &lignes);

// A ranking file read whole (manager/core/lecturesaison.h): four fields a
// line, places whole numbers as the ranking gives them (1, 2, 2, 4: a place
// is the one before it or its line's rank), each licence once. A file that
// ClassementAccepte refuses (a distribution) is returned as read, for the
// window to set aside as before.
QStringList LireClassement(const QString &fichier);
// A distribution file read whole: two fields a line, the places 1, 2, 3...
// in order, the points whole numbers. One RepartitionAcceptee refuses is
// returned as read.
QStringList LireRepartition(const QString &fichier);

struct Attribution {
    // place; name; licence; value index; points; in ranking order.
    QStringList lignes;
    qint64 reste = 0; // the distribution's total less what was handed out
};
// EConvertError for a points field that is not a whole number or a total of
// the points beyond 64 bits, naming fichierRepartition (the file the
// distribution was read from) and the line.
Attribution Attribuer(const QStringList &classement, const QStringList &repartition,
                      const QString &fichierRepartition = QString());
// The sum of the points field of attributed lines (EConvertError as above).
qint64 TotalAttribue(const QStringList &attribuees);

enum class ColonneEasi { PE = 0, PP = 1 };
// licence;points;; (PE) or licence;;points; (PP), one per attributed line.
QStringList LignesEasi(const QStringList &attribuees, ColonneEasi colonne);

// What the attribution printout is given.
struct ImpressionAttribution {
    QString titre;
    QStringList lignes;
    qint64 total = 0;
    bool valeur(const QString &nom, int recNo, QString &texte, qint64 &entier,
                bool &estEntier) const;
    static QStringList noms();
};

} // namespace manager
