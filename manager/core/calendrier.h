#pragma once
// Calendars from iCalendar files: the events of ".ics" files read into
// calendar lines (one per day of an event), the five code lists their titles
// are made of, and the print list grouped by venue, event or referee, or in
// one list. No widget here: the calendars window drives these steps.
//
// Calendar line: day (dd/mm/yyyy); phase; event; category; venue; referee;
// (each field followed by ";", the referee may be empty).
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace manager
{

// The five codes of an event, in the order of the title and of the lines;
// also the sections of "Vorn_Lud.ini" holding their labels.
enum CodeCalendrier { CodePhase = 0, CodeEpreuve, CodeCategorie, CodeLieu, CodeArbitre };
constexpr int NombreCodes = 5;
// "Phase", "Epreuve", "Categorie", "Lieu", "Arbitre".
QString sectionCode(int code);

// What the selected files gave: calendar lines in file order and the codes
// met, each list sorted and without duplicates once finir() has run.
struct LectureCalendrier {
    QStringList lignes;
    std::array<QStringList, NombreCodes> codes;

    void clear();
    // Sorts each code list (French order, letter case ignored) and removes
    // duplicates, the first of equal texts staying.
    void finir();
};

// A ";" or a line break has no place in a field of a ";" record: a ";"
// becomes "," and a line break a blank.
QString texteDeChamp(const QString &texte);

// What one calendar may yield: a real season's calendar gives a few
// thousand lines (some hundred events of one to a few days) of about 40
// characters. Past either bound the file is no season's calendar: an event
// gives a line a day, and a few long events or long codes would otherwise
// fill the memory.
constexpr qint64 MaxLignesCalendrier = 100000;
constexpr qint64 MaxCaracteresCalendrier = MaxLignesCalendrier * 160;
// A calendar file far larger than any season's (a few hundred kilobytes,
// some megabytes with long descriptions) is refused before it is read.
constexpr qint64 MaxOctetsCalendrier = qint64(64) << 20;

// A calendar that would yield more than the bounds above.
class ECalendrierError : public platform::Exception
{
public:
    using Exception::Exception;
};

// Reads the events of one iCalendar file held in memory whose days lie
// within [debut, fin] (whole days) and appends their lines and codes. The
// days are those of Paris: times in UTC or in a zone the machine knows are
// converted, other times taken as written; an event ending at midnight
// leaves the next day out. A moved occurrence's replaced event is set
// aside first: nothing of it is checked or counted. Throws EConvertError
// for a start, end or duration of a kept event that cannot be read, the
// message saying where (the file's name when given, and the line), and
// ECalendrierError, naming the file and the bound, for a calendar whose
// kept events pass the bounds, whichever comes first in the file; the
// lecture is then left as it was. The file is decoded a piece at a time, a
// long line in parts: what it takes beside its bytes is the lines its
// events give and, for each event standing for a moved occurrence, what
// tells which; a file holding such events is read again.
void lireCalendrierTexte(QByteArrayView bytes, platform::TDateTime debut, platform::TDateTime fin,
                         LectureCalendrier &lecture, const QString &nomFichier = QString());
// Same from a file, its name given in the conversion messages; EFileError
// (French, with the reason: a folder, a pipe, a missing file...) when it
// cannot be read, ECalendrierError when it is larger than
// MaxOctetsCalendrier.
void LireCalendrier(const QString &fichier, platform::TDateTime debut, platform::TDateTime fin,
                    LectureCalendrier &lecture);

// Labels of the codes, from the five sections of "Vorn_Lud.ini", read once.
class LibellesCalendrier
{
public:
    LibellesCalendrier() = default;
    explicit LibellesCalendrier(const QString &fichierIni);
    void definir(int code, const QString &cle, const QString &libelle);
    // The code's label; the code itself when it has none (or only blanks).
    // An empty code has an empty label.
    QString libelle(int code, const QString &cle) const;

private:
    std::array<QHash<QString, QString>, NombreCodes> m_libelles; // lower-case code -> label
};

// The print list: group title lines (title; number of detail lines;) each
// followed by its detail lines (day; phase, event, category, venue and
// referee labels;).
struct Impression {
    QStringList lignes;
    QList<int> titres; // index of each group's title line

    int groupes() const { return int(titres.size()); }
    // Detail line n (from 0) of group g; empty when there is none.
    QString detail(int g, int n) const;
};

// Builds the print list of a kind: 'C' by venue, 'E' by event, 'A' by
// referee (lines without one are left out), 'T' everything in one group.
// Lines are sorted by day first, lines of the same day keeping their order.
// Another kind gives no group.
Impression ConstruireImpression(const LectureCalendrier &lecture, QChar genre,
                                const LibellesCalendrier &libelles);

// "Dimanche" ... "Samedi" for a day written dd/mm/yyyy; empty when it is
// not a date.
QString jourDeLaSemaine(const QString &jour);

} // namespace manager
