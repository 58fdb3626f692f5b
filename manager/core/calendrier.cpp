#include "manager/core/calendrier.h"

#include "platform/format/format.h"
#include "platform/inifile/inifile.h"
#include "platform/text/codec.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QCollator>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <deque>
#include <optional>
#include <vector>

using platform::Champ;

namespace manager
{

QString sectionCode(int code)
{
    static const QString sections[NombreCodes] = {
        QStringLiteral("Phase"), QStringLiteral("Epreuve"), QStringLiteral("Categorie"),
        QStringLiteral("Lieu"), QStringLiteral("Arbitre")};
    return code >= 0 && code < NombreCodes ? sections[code] : QString();
}

void LectureCalendrier::clear()
{
    lignes.clear();
    for (QStringList &c : codes)
        c.clear();
}

void LectureCalendrier::finir()
{
    QCollator collator{QLocale(QLocale::French, QLocale::France)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (QStringList &liste : codes) {
        QSet<QString> vus;
        QStringList uniques;
        uniques.reserve(liste.size());
        for (const QString &c : liste)
            if (!vus.contains(c)) {
                vus.insert(c);
                uniques.append(c);
            }
        std::stable_sort(uniques.begin(), uniques.end(), [&](const QString &a, const QString &b) {
            return collator.compare(a, b) < 0;
        });
        liste = std::move(uniques);
    }
}

QString texteDeChamp(const QString &texte)
{
    QString t = texte;
    t.replace(QLatin1Char(';'), QLatin1Char(','));
    t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return t;
}

namespace
{

bool blanche(QByteArrayView l)
{
    for (const char c : l)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

constexpr QByteArrayView Bom("\xEF\xBB\xBF");

// The content lines of a file, one at a time. Lines are unfolded on the
// bytes, before decoding, since programs fold at a number of bytes, inside
// an accented letter too: a line that starts with a blank or a tab
// continues the previous one, without that character. Blank lines (nothing
// but blanks and tabs) are skipped, between the parts of a folded line as
// well. The unfolded lines are decoded a piece of some thousands at a time,
// so that a file never stands in memory as a list of lines; one rule picks
// the encoding for the whole file, as if it were decoded whole.
class Depliage
{
public:
    explicit Depliage(QByteArrayView bytes) : m_bytes(bytes)
    {
        if (m_bytes.startsWith(Bom))
            m_bytes = m_bytes.sliced(3);
        // Valid UTF-8 stays valid once unfolded (no character holds a line
        // break); otherwise only the unfolded text can tell, a character
        // cut by a fold being whole again.
        m_utf8 = platform::checkUtf8(m_bytes) != platform::Utf8Check::Invalid;
        if (!m_utf8) {
            m_utf8 = true;
            while (m_utf8 && morceau()) {
                const platform::Utf8Check c = platform::checkUtf8(m_morceau);
                m_utf8 =
                    c == platform::Utf8Check::Valid || (c == platform::Utf8Check::CutAtEnd &&
                                                        m_pos >= m_bytes.size() && m_suivante < 0);
            }
            m_pos = 0;
            m_numero = 0;
            m_suivante = -1;
            m_morceau.clear();
            m_numeros.clear();
        }
    }

    // The next line and the line of the file where it starts; false at the
    // end. The text stays valid until the next call.
    bool suivante(QStringView &ligne, int &numero)
    {
        if (m_ligne >= qsizetype(m_numeros.size())) {
            if (!morceau())
                return false;
            QByteArrayView texte = m_morceau;
            // What a whole decoding would have skipped: a second mark at the
            // start of the text.
            if (m_premier && texte.startsWith(Bom))
                texte = texte.sliced(3);
            m_premier = false;
            m_texte = m_utf8 ? platform::utf8ToAnsiText(texte) : platform::fromAnsi(texte);
            m_ligne = 0;
            m_debut = 0;
        }
        qsizetype fin = m_texte.indexOf(QLatin1Char('\n'), m_debut);
        if (fin < 0)
            fin = m_texte.size();
        ligne = QStringView(m_texte).mid(m_debut, fin - m_debut);
        numero = m_numeros[std::size_t(m_ligne++)];
        m_debut = fin + 1;
        return true;
    }

private:
    // The next piece of unfolded lines joined by '\n', with the line number
    // of each; false when none is left.
    bool morceau()
    {
        constexpr qsizetype Taille = 64 * 1024;
        m_morceau.clear();
        m_numeros.clear();
        const qsizetype n = m_bytes.size();
        const char *b = m_bytes.data();
        while (m_pos < n || m_suivante >= 0) {
            qsizetype debut = m_pos;
            qsizetype fin;
            if (m_suivante >= 0) {
                // The line that ended the last piece.
                debut = m_suivante;
                fin = m_finSuivante;
                m_suivante = -1;
            } else {
                fin = debut;
                while (fin < n && b[fin] != '\r' && b[fin] != '\n')
                    ++fin;
                m_pos = fin < n && b[fin] == '\r' && fin + 1 < n && b[fin + 1] == '\n' ? fin + 2
                                                                                       : fin + 1;
                ++m_numero;
            }
            const QByteArrayView l = m_bytes.sliced(debut, fin - debut);
            if (blanche(l))
                continue;
            if (!m_numeros.empty() && (l.front() == ' ' || l.front() == '\t')) {
                m_morceau += l.sliced(1);
                continue;
            }
            // A new line: the piece ends before it once large enough, but
            // never before a line whose first bytes a decoding would drop.
            if (m_morceau.size() >= Taille && !l.startsWith(Bom)) {
                m_suivante = debut;
                m_finSuivante = fin;
                break;
            }
            if (!m_numeros.empty())
                m_morceau += '\n';
            m_morceau += l;
            m_numeros.push_back(m_numero);
        }
        return !m_numeros.empty();
    }

    QByteArrayView m_bytes;
    bool m_utf8 = true;
    bool m_premier = true;
    qsizetype m_pos = 0;
    int m_numero = 0;
    // The line read past the end of the last piece, and its number.
    qsizetype m_suivante = -1;
    qsizetype m_finSuivante = 0;
    QByteArray m_morceau;
    std::vector<int> m_numeros;
    QString m_texte;
    qsizetype m_ligne = 0;
    qsizetype m_debut = 0;
};

// The value of a content line: what follows the first ":" outside double
// quotes (a quoted parameter may hold one).
QString valeur(const QString &ligne)
{
    bool guillemets = false;
    for (qsizetype i = 0; i < ligne.size(); ++i) {
        const QChar c = ligne.at(i);
        if (c == QLatin1Char('"'))
            guillemets = !guillemets;
        else if (c == QLatin1Char(':') && !guillemets)
            return ligne.mid(i + 1);
    }
    return QString();
}

// The property's name: what comes before the first ";" or ":".
QStringView nomDe(QStringView ligne)
{
    qsizetype i = 0;
    while (i < ligne.size() && ligne.at(i) != QLatin1Char(';') && ligne.at(i) != QLatin1Char(':'))
        ++i;
    return ligne.left(i);
}

// The value of a parameter of a content line, its name in any letter case,
// without the quotes around it; empty when the line has none.
QString parametre(const QString &ligne, QLatin1String nom)
{
    bool guillemets = false;
    qsizetype debut = -1; // of the current parameter
    for (qsizetype i = 0; i < ligne.size(); ++i) {
        const QChar c = ligne.at(i);
        if (c == QLatin1Char('"'))
            guillemets = !guillemets;
        if (guillemets || (c != QLatin1Char(';') && c != QLatin1Char(':')))
            continue;
        if (debut >= 0) {
            const QStringView p = QStringView(ligne).mid(debut, i - debut);
            const qsizetype egal = p.indexOf(QLatin1Char('='));
            if (egal >= 0 && p.left(egal).compare(nom, Qt::CaseInsensitive) == 0) {
                QStringView v = p.mid(egal + 1);
                if (v.size() >= 2 && v.front() == QLatin1Char('"') && v.back() == QLatin1Char('"'))
                    v = v.mid(1, v.size() - 2);
                return v.toString();
            }
        }
        if (c == QLatin1Char(':'))
            break;
        debut = i + 1;
    }
    return QString();
}

QString messageDate(const QString &texte)
{
    return QStringLiteral("'%1' n'est pas une date correcte").arg(platform::excerpt(texte));
}

const QDate Origine(1899, 12, 30); // day 0 of TDateTime

// Whole days of TDateTime from a date, and back to the short date text
// "dd/mm/yyyy" (built here: the day lines are many, and the general
// conversions go through the local time zone).
platform::TDateTime joursDe(const QDate &d)
{
    return platform::TDateTime(Origine.daysTo(d));
}

QString texteJour(platform::TDateTime jour)
{
    const QDate d = Origine.addDays(qint64(jour));
    QString t(10, Qt::Uninitialized);
    QChar *c = t.data();
    auto deux = [&](int v, int i) {
        c[i] = QChar(u'0' + v / 10);
        c[i + 1] = QChar(u'0' + v % 10);
    };
    deux(d.day(), 0);
    c[2] = QLatin1Char('/');
    deux(d.month(), 3);
    c[5] = QLatin1Char('/');
    const int a = d.year();
    if (a < 1000 || a > 9999)
        return platform::DateToStr(jour);
    deux(a / 100, 6);
    deux(a % 100, 8);
    return t;
}

bool chiffres(QStringView t)
{
    for (const QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// The value of a few digits already checked.
int entier(QStringView t)
{
    int v = 0;
    for (const QChar c : t)
        v = v * 10 + (c.unicode() - u'0');
    return v;
}

// "dd/mm/yyyy" as written in the day lines; anything else through the
// lenient reading. False when it is no date.
bool lireJour(const QString &texte, platform::TDateTime &jour)
{
    if (texte.size() == 10 && texte.at(2) == QLatin1Char('/') && texte.at(5) == QLatin1Char('/')) {
        const QStringView t(texte);
        if (chiffres(t.left(2)) && chiffres(t.mid(3, 2)) && chiffres(t.mid(6))) {
            const QDate d(t.mid(6).toInt(), t.mid(3, 2).toInt(), t.left(2).toInt());
            if (!d.isValid())
                return false;
            jour = joursDe(d);
            return true;
        }
    }
    return platform::TryStrToDate(texte, jour);
}

// Paris, where the committee's days are counted. Without the machine's zone
// data, the rule of the European summer time.
const QTimeZone &paris()
{
    static const QTimeZone zone = [] {
        QTimeZone z("Europe/Paris");
        if (!z.isValid())
            z = QTimeZone("CET-1CEST,M3.5.0,M10.5.0/3");
        if (!z.isValid())
            z = QTimeZone(3600);
        return z;
    }();
    return zone;
}

// The machine's zone names, by their lower-case form. Only these are ever
// handed to the zone library, so that a name from a file never becomes the
// path of a file to open.
const QHash<QString, QByteArray> &zonesConnues()
{
    static const QHash<QString, QByteArray> zones = [] {
        QHash<QString, QByteArray> z;
        for (const QByteArray &id : QTimeZone::availableTimeZoneIds())
            z.insert(QString::fromLatin1(id).toLower(), id);
        return z;
    }();
    return zones;
}

// The zone a TZID names: a zone name in any letter case, the name Windows
// programs write ("Romance Standard Time"), or a path ending in a zone name
// as older programs wrote ("/mozilla.org/20070129_1/Europe/Paris").
// Invalid when the machine knows none of them.
QTimeZone zoneNommee(const QString &tzid)
{
    const QHash<QString, QByteArray> &connues = zonesConnues();
    auto chercher = [&](QStringView nom) {
        const auto it = connues.constFind(nom.toString().toLower());
        return it == connues.cend() ? QTimeZone() : QTimeZone(*it);
    };
    if (tzid.isEmpty())
        return QTimeZone();
    QTimeZone z = chercher(tzid);
    if (z.isValid())
        return z;
    const QByteArray windows = QTimeZone::windowsIdToDefaultIanaId(tzid.toUtf8());
    if (!windows.isEmpty()) {
        z = chercher(QString::fromLatin1(windows));
        if (z.isValid())
            return z;
    }
    for (qsizetype i = tzid.indexOf(QLatin1Char('/')); i >= 0;
         i = tzid.indexOf(QLatin1Char('/'), i + 1)) {
        z = chercher(QStringView(tzid).mid(i + 1));
        if (z.isValid())
            return z;
    }
    return QTimeZone();
}

// A start or end value read. A time in UTC or in a zone the machine knows
// is converted to Paris time before its day is taken; a date, a time
// without zone or in a zone nobody here knows keeps its clock as written:
// it is then held in UTC, where no change of time moves it.
struct Moment {
    QDateTime heure;
    bool telQuel = true;

    QDateTime aParis() const { return telQuel ? heure : heure.toTimeZone(paris()); }
};

// A duration: sign, whole days (weeks included) and seconds. Beyond ten
// million days (any date a calendar can hold is nearer), a number counts
// as that many.
struct Duree {
    bool negative = false;
    qint64 jours = 0;
    qint64 secondes = 0;
};

constexpr qint64 JoursMax = 10'000'000;

// The duration grammar of iCalendar, strictly: a sign, "P", then weeks
// ("2W") alone, or days ("2D") and/or a time part "T" with hours, minutes
// and seconds in that order, none skipped between two given ("T1H30M",
// "T30M10S", "T10S"; not "T1H10S").
bool lireDuree(QStringView t, Duree &d)
{
    d = Duree();
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        d.negative = t[i++] == QLatin1Char('-');
    if (i >= n || t[i] != QLatin1Char('P'))
        return false;
    ++i;
    // One or more digits; a value past the limit stays at the limit.
    auto nombre = [&](qint64 &v) {
        const qsizetype d0 = i;
        v = 0;
        for (; i < n && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9'); ++i)
            v = std::min(v * 10 + (t[i].unicode() - u'0'), JoursMax * 86400);
        return i > d0 && i < n; // a unit must follow
    };
    qint64 v = 0;
    if (i < n && t[i] != QLatin1Char('T')) {
        if (!nombre(v))
            return false;
        if (t[i] == QLatin1Char('W')) {
            d.jours = std::min(v * 7, JoursMax);
            return i + 1 == n;
        }
        if (t[i] != QLatin1Char('D'))
            return false;
        d.jours = std::min(v, JoursMax);
        if (++i == n)
            return true;
    }
    if (i >= n || t[i] != QLatin1Char('T'))
        return false;
    ++i;
    static const QLatin1Char unites[] = {QLatin1Char('H'), QLatin1Char('M'), QLatin1Char('S')};
    static const qint64 valeurs[] = {3600, 60, 1};
    int suivante = -1; // the unit that may follow, -1 before the first
    while (i < n) {
        if (!nombre(v))
            return false;
        int u = 0;
        while (u < 3 && t[i] != unites[u])
            ++u;
        if (u == 3 || (suivante >= 0 && u != suivante))
            return false;
        d.secondes = std::min(d.secondes + v * valeurs[u], JoursMax * 86400);
        suivante = u + 1;
        ++i;
    }
    return suivante >= 0;
}

// A property of the event being read and the line of the file it starts at.
struct Propriete {
    QString ligne;
    int numero = 0;

    bool vide() const { return ligne.isEmpty(); }
};

struct Evenement {
    Propriete resume;
    Propriete debut;
    Propriete fin;
    Propriete duree;
    Propriete description;
    // What tells a moved or replaced occurrence of a repeated event: the
    // event it belongs to and the start of the occurrence it stands for.
    Propriete uid;
    Propriete recurrence;
    Propriete sequence;
    bool ouvert = false;

    void clear() { *this = Evenement(); }
};

// Reads the events of one file into a lecture.
class Lecteur
{
public:
    Lecteur(const QString &fichier, platform::TDateTime debut, platform::TDateTime fin,
            LectureCalendrier &lecture)
        : m_fichier(fichier), m_debut(std::floor(debut)), m_fin(std::floor(fin)), m_lecture(lecture)
    {
    }

    // Each event as the file closes it, in file order: what it gives within
    // the days, or what keeps it from being read, is noted at once, with
    // what a later event needs to set it aside.
    void evenementLu(const Evenement &e);
    // The lines and codes of the events kept, in file order, but for a
    // repeated event's first occurrence that another event replaces. Throws
    // for the first kept event that cannot be read, or once the lines kept
    // pass a bound, whichever comes first in the file.
    void finir();

private:
    // What an event gives within the days (its lines, not yet made), or the
    // message that refuses the file if it is kept.
    struct Retenu {
        qsizetype index = 0; // in the file
        platform::TDateTime jourDebut = 0;
        platform::TDateTime jourFin = 0;
        QString suite; // ";" + the four codes and the referee, each followed by ";"
        QString faute;
        bool compte(qint64 &lignes, qint64 &caracteres) const
        {
            const qint64 jours = qint64(jourFin - jourDebut) + 1;
            lignes += jours;
            caracteres += jours * (10 + suite.size());
            return lignes > MaxLignesCalendrier || caracteres > MaxCaracteresCalendrier;
        }
    };
    // Fills r; false when the event gives nothing. *debut is the start's
    // instant once read (none when it cannot be), left unset when the event
    // was given up before.
    bool preparer(const Evenement &e, Retenu &r, std::optional<std::optional<QDateTime>> *debut);
    // The instant a start or an occurrence id stands for; none when it is
    // missing or cannot be read.
    std::optional<QDateTime> instant(const Propriete &p);
    // The conversion message, then where the value is.
    QString ou(const QString &message, int numero) const
    {
        // One substitution: the message may hold a "%" of the file.
        const QString ligne = QString::number(numero);
        if (m_fichier.isEmpty())
            return QStringLiteral("%1 (ligne %2)").arg(message, ligne);
        return QStringLiteral("%1 (calendrier %2, ligne %3)").arg(message, m_fichier, ligne);
    }
    // The value as a moment, or none, *faute then saying why.
    std::optional<Moment> momentDe(const Propriete &p, QString *faute);
    QTimeZone zone(const QString &tzid);

    QString m_fichier;
    qsizetype m_evenements = 0;
    // Kept until the file's end, in chunks (a growing vector would hold two
    // copies at once); one copy of each line end, which most events share.
    std::deque<Retenu> m_retenus;
    QSet<QString> m_suites;
    // What the events that nothing can set aside give: once one of them
    // cannot be read, or they alone pass a bound, the file is refused
    // whatever follows, and only what may set an earlier event aside is
    // still read.
    qint64 m_lignesSures = 0;
    qint64 m_caracteresSures = 0;
    bool m_refuse = false;
    // The first event of each UID that is no occurrence, by UID, and the
    // events that stand for an occurrence, in file order: each with its
    // index and what tells which occurrence it is.
    struct Premiere {
        qsizetype index = 0;
        std::optional<QDateTime> debut;
    };
    struct Occurrence {
        QString uid;
        qsizetype index = 0;
        std::optional<QDateTime> instant;
        qint64 sequence = 0;
    };
    QHash<QString, Premiere> m_premieres;
    std::vector<Occurrence> m_occurrences;
    platform::TDateTime m_debut;
    platform::TDateTime m_fin;
    LectureCalendrier &m_lecture;
    QHash<QString, QTimeZone> m_zones; // by TZID as written
};

QTimeZone Lecteur::zone(const QString &tzid)
{
    auto it = m_zones.constFind(tzid);
    if (it == m_zones.cend())
        it = m_zones.insert(tzid, zoneNommee(tzid));
    return *it;
}

// A start or end value: eight digits (year, month, day), then maybe a time
// part "T" + six digits (hours, minutes, seconds) + "Z" in UTC.
std::optional<Moment> Lecteur::momentDe(const Propriete &p, QString *faute)
{
    const QString v = valeur(p.ligne);
    const qsizetype t = v.indexOf(QLatin1Char('T'));
    const QStringView d = QStringView(v).left(t < 0 ? v.size() : t);
    auto refus = [&](const QString &message) {
        if (faute)
            *faute = ou(message, p.numero);
        return std::nullopt;
    };
    // Eight digits exactly: a blank or a ninth digit would otherwise give
    // another year. The message names the value as the file holds it.
    if (d.size() != 8 || !chiffres(d))
        return refus(messageDate(v));
    const QDate date(entier(d.left(4)), entier(d.mid(4, 2)), entier(d.mid(6, 2)));
    if (!date.isValid())
        return refus(messageDate(v));

    Moment m;
    if (t < 0) {
        m.heure = QDateTime(date, QTime(0, 0), Qt::UTC);
        return m;
    }
    QStringView h = QStringView(v).mid(t + 1);
    const bool utc = h.endsWith(QLatin1Char('Z'));
    if (utc)
        h.chop(1);
    QTime heure;
    if (h.size() == 6 && chiffres(h)) {
        // A leap second is the last second of its minute.
        const int s = entier(h.mid(4));
        heure = QTime(entier(h.left(2)), entier(h.mid(2, 2)), s == 60 ? 59 : s);
    }
    if (!heure.isValid())
        return refus(QStringLiteral("'%1' n'est pas une heure correcte").arg(platform::excerpt(v)));
    if (utc) {
        m.heure = QDateTime(date, heure, Qt::UTC);
        m.telQuel = false;
        return m;
    }
    const QTimeZone z = zone(parametre(p.ligne, QLatin1String("TZID")));
    if (z.isValid()) {
        m.heure = QDateTime(date, heure, z);
        m.telQuel = !m.heure.isValid();
    }
    if (m.telQuel)
        m.heure = QDateTime(date, heure, Qt::UTC);
    return m;
}

bool Lecteur::preparer(const Evenement &e, Retenu &r,
                       std::optional<std::optional<QDateTime>> *instantDebut)
{
    if (e.debut.vide())
        return false;
    // Four codes separated by single blanks, none empty.
    const QStringList parties = valeur(e.resume.ligne).split(QLatin1Char(' '));
    if (parties.size() != 4)
        return false;
    for (const QString &p : parties)
        if (p.isEmpty())
            return false;

    const std::optional<Moment> debut = momentDe(e.debut, &r.faute);
    *instantDebut = debut ? std::optional<QDateTime>(debut->heure) : std::nullopt;
    if (!debut)
        return true;
    const QDate premier = debut->aParis().date();
    // The end is the instant the event stops: a date's end (midnight) or a
    // time exactly at midnight leaves that day out.
    QDateTime finale;
    if (!e.fin.vide()) {
        const std::optional<Moment> fin = momentDe(e.fin, &r.faute);
        if (!fin)
            return true;
        finale = fin->aParis();
    } else if (!e.duree.vide()) {
        const QString v = valeur(e.duree.ligne);
        Duree d;
        if (!lireDuree(v, d)) {
            r.faute =
                ou(QStringLiteral("'%1' n'est pas une durée correcte").arg(platform::excerpt(v)),
                   e.duree.numero);
            return true;
        }
        const qint64 signe = d.negative ? -1 : 1;
        Moment fin = *debut;
        fin.heure = debut->heure.addDays(signe * d.jours).addSecs(signe * d.secondes);
        finale = fin.aParis();
    }
    QDate dernier = premier;
    if (finale.isValid())
        dernier = finale.time() == QTime(0, 0) ? finale.date().addDays(-1) : finale.date();
    if (!premier.isValid())
        return false;
    const platform::TDateTime jourDebut = joursDe(premier);
    // An end before the start leaves the start day alone, which the window
    // must then hold like any other day.
    const platform::TDateTime jourFin =
        dernier.isValid() ? std::max(joursDe(dernier), jourDebut) : jourDebut;
    if (jourDebut < m_debut || jourFin > m_fin)
        return false;

    QString arbitre = valeur(e.description.ligne);
    const qsizetype echap = arbitre.indexOf(QLatin1Char('\\'));
    if (echap >= 0)
        arbitre.truncate(echap);
    arbitre.remove(QLatin1Char(' '));
    arbitre = texteDeChamp(arbitre);
    if (arbitre == QLatin1String(" "))
        arbitre.clear();
    r.jourDebut = jourDebut;
    r.jourFin = jourFin;
    r.suite = QLatin1Char(';');
    for (int i = 0; i < 4; ++i)
        r.suite += texteDeChamp(parties.at(i)) + QLatin1Char(';');
    r.suite += arbitre + QLatin1Char(';');
    return true;
}

std::optional<QDateTime> Lecteur::instant(const Propriete &p)
{
    if (p.vide())
        return std::nullopt;
    const std::optional<Moment> m = momentDe(p, nullptr);
    return m ? std::optional<QDateTime>(m->heure) : std::nullopt;
}

void Lecteur::evenementLu(const Evenement &e)
{
    const qsizetype index = m_evenements++;
    Retenu r;
    std::optional<std::optional<QDateTime>> debut; // read once, for both uses
    const bool donne = !m_refuse && preparer(e, r, &debut);
    // Whether a later event, or one already read, may set this one aside:
    // a first occurrence with a start to be matched, or an occurrence with
    // an id.
    bool ecartable = false;
    if (!e.uid.vide()) {
        const QString uid = valeur(e.uid.ligne);
        if (e.recurrence.vide()) {
            if (!m_premieres.contains(uid)) {
                const Premiere p{index, debut ? *debut : instant(e.debut)};
                ecartable = p.debut.has_value();
                m_premieres.insert(uid, p);
            }
        } else {
            const Occurrence o{uid, index, instant(e.recurrence),
                               valeur(e.sequence.ligne).trimmed().toLongLong()};
            ecartable = o.instant.has_value();
            m_occurrences.push_back(o);
        }
    }
    if (!donne)
        return;
    r.index = index;
    r.suite = *m_suites.insert(r.suite);
    if (!ecartable)
        m_refuse = !r.faute.isEmpty() || r.compte(m_lignesSures, m_caracteresSures);
    m_retenus.push_back(std::move(r));
}

// Repeated events are not expanded: their first occurrence alone is
// printed, on the day of their start. An event of the same UID carrying
// that start as its RECURRENCE-ID is that occurrence moved or changed: it is
// printed instead. Of several such events, the one of highest SEQUENCE wins,
// the last one of the file on a tie. An occurrence id that cannot be read
// replaces nothing. What is set aside is neither read further nor counted.
void Lecteur::finir()
{
    QSet<qsizetype> ecartes;
    QHash<QString, std::pair<qsizetype, qint64>> remplacants; // UID -> index, sequence
    for (const Occurrence &o : m_occurrences) {
        const auto premiere = m_premieres.constFind(o.uid);
        if (premiere == m_premieres.cend() || !premiere->debut || !o.instant ||
            *premiere->debut != *o.instant)
            continue;
        ecartes.insert(premiere->index);
        const auto avant = remplacants.constFind(o.uid);
        if (avant != remplacants.cend()) {
            if (o.sequence < avant->second) {
                ecartes.insert(o.index);
                continue;
            }
            ecartes.insert(avant->first);
        }
        remplacants.insert(o.uid, {o.index, o.sequence});
    }
    qint64 lignes = 0;
    qint64 caracteres = 0;
    for (const Retenu &r : m_retenus) {
        if (ecartes.contains(r.index))
            continue;
        if (!r.faute.isEmpty())
            throw platform::EConvertError(r.faute);
        if (r.compte(lignes, caracteres)) {
            const QString nom = m_fichier.isEmpty() ? QString() : QLatin1Char(' ') + m_fichier;
            const bool enLignes = lignes > MaxLignesCalendrier;
            throw ECalendrierError(
                QStringLiteral("Le calendrier%1 donnerait plus que les %2 %3 qu'un calendrier "
                               "peut donner")
                    .arg(nom,
                         QString::number(enLignes ? MaxLignesCalendrier : MaxCaracteresCalendrier),
                         enLignes ? QStringLiteral("lignes") : QStringLiteral("caractères")));
        }
    }
    m_lecture.lignes.reserve(m_lecture.lignes.size() + lignes);
    for (const Retenu &r : m_retenus) {
        if (ecartes.contains(r.index))
            continue;
        // The codes are the fields of the line's end.
        qsizetype a = 1;
        for (int i = 0; i < NombreCodes; ++i) {
            const qsizetype b = r.suite.indexOf(QLatin1Char(';'), a);
            if (b > a || i < CodeArbitre)
                m_lecture.codes[std::size_t(i)].append(r.suite.mid(a, b - a));
            a = b + 1;
        }
        platform::TDateTime jour = r.jourDebut;
        do {
            m_lecture.lignes.append(texteJour(jour) + r.suite);
            jour += 1;
        } while (jour <= r.jourFin);
    }
}

bool estLigne(QStringView ligne, QLatin1String texte)
{
    return ligne.compare(texte, Qt::CaseInsensitive) == 0;
}

void lireEvenements(QByteArrayView bytes, platform::TDateTime debut, platform::TDateTime fin,
                    LectureCalendrier &lecture, const QString &nomFichier)
{
    Lecteur lecteur(nomFichier, debut, fin, lecture);
    Evenement e;
    // Depth of components nested in the event (reminders): their lines are
    // not the event's. Names of components and properties are read whatever
    // their letter case.
    int imbrication = 0;
    Depliage depliage(bytes);
    QStringView ligne;
    int numero = 0;
    while (depliage.suivante(ligne, numero)) {
        if (!e.ouvert) {
            if (estLigne(ligne, QLatin1String("BEGIN:VEVENT"))) {
                e.clear();
                e.ouvert = true;
                imbrication = 0;
            }
            continue;
        }
        if (ligne.startsWith(QLatin1String("BEGIN:"), Qt::CaseInsensitive)) {
            if (imbrication == 0 && estLigne(ligne, QLatin1String("BEGIN:VEVENT"))) {
                // The last event was never closed: it ends here.
                lecteur.evenementLu(e);
                e.clear();
                e.ouvert = true;
            } else {
                ++imbrication;
            }
            continue;
        }
        if (ligne.startsWith(QLatin1String("END:"), Qt::CaseInsensitive)) {
            if (imbrication > 0) {
                --imbrication;
            } else if (estLigne(ligne, QLatin1String("END:VEVENT")) ||
                       estLigne(ligne, QLatin1String("END:VCALENDAR"))) {
                lecteur.evenementLu(e);
                e.clear();
            }
            continue;
        }
        if (imbrication > 0)
            continue;
        const QStringView tete = ligne.left(6);
        auto est = [&](const char *t) {
            return tete.compare(QLatin1String(t), Qt::CaseInsensitive) == 0;
        };
        Propriete *p = nullptr;
        if (est("SUMMAR"))
            p = &e.resume;
        else if (est("DTSTAR"))
            p = &e.debut;
        else if (est("DTEND;") || est("DTEND:"))
            p = &e.fin;
        else if (est("DESCRI"))
            p = &e.description;
        else if (nomDe(ligne).compare(QLatin1String("DURATION"), Qt::CaseInsensitive) == 0)
            p = &e.duree;
        else if (nomDe(ligne).compare(QLatin1String("UID"), Qt::CaseInsensitive) == 0)
            p = &e.uid;
        else if (nomDe(ligne).compare(QLatin1String("RECURRENCE-ID"), Qt::CaseInsensitive) == 0)
            p = &e.recurrence;
        else if (nomDe(ligne).compare(QLatin1String("SEQUENCE"), Qt::CaseInsensitive) == 0)
            p = &e.sequence;
        if (p)
            *p = Propriete{ligne.toString(), numero};
    }
    if (e.ouvert)
        lecteur.evenementLu(e);
    lecteur.finir();
}

} // namespace

void lireCalendrierTexte(QByteArrayView bytes, platform::TDateTime debut, platform::TDateTime fin,
                         LectureCalendrier &lecture, const QString &nomFichier)
{
    // Nothing of a refused file stays.
    const qsizetype lignes = lecture.lignes.size();
    std::array<qsizetype, NombreCodes> codes;
    for (int c = 0; c < NombreCodes; ++c)
        codes[std::size_t(c)] = lecture.codes[std::size_t(c)].size();
    try {
        lireEvenements(bytes, debut, fin, lecture, nomFichier);
    } catch (...) {
        lecture.lignes.resize(lignes);
        for (int c = 0; c < NombreCodes; ++c)
            lecture.codes[std::size_t(c)].resize(codes[std::size_t(c)]);
        throw;
    }
}

void LireCalendrier(const QString &fichier, platform::TDateTime debut, platform::TDateTime fin,
                    LectureCalendrier &lecture)
{
    const QString chemin = platform::LineFile::resolve(fichier);
    const auto tropGros = [&fichier] {
        return ECalendrierError(
            QStringLiteral("Le fichier %1 est trop volumineux pour un calendrier (plus de %2 Mo)")
                .arg(fichier, QString::number(MaxOctetsCalendrier >> 20)));
    };
    // Refused before it is read, or as soon as it grows past the bound while
    // it is. Neither a folder nor a pipe (never waited on) is read, and why a
    // file cannot be read is said.
    qint64 lus = 0;
    platform::LineFile::Watch watch;
    watch.sized = [&](qint64 taille) {
        if (taille > MaxOctetsCalendrier)
            throw tropGros();
    };
    watch.piece = [&](QByteArrayView piece) {
        lus += piece.size();
        if (lus > MaxOctetsCalendrier)
            throw tropGros();
    };
    QByteArray bytes;
    try {
        bytes = platform::LineFile::readBytes(chemin, watch);
    } catch (const platform::EFileError &e) {
        // The read's own message names the file and says why.
        throw platform::EFileError(
            QStringLiteral("Impossible de lire le calendrier %1.\n\n%2").arg(fichier, e.Message()));
    }
    lireCalendrierTexte(bytes, debut, fin, lecture, QFileInfo(chemin).fileName());
}

LibellesCalendrier::LibellesCalendrier(const QString &fichierIni)
{
    const platform::TIniFile ini(fichierIni);
    for (int c = 0; c < NombreCodes; ++c)
        for (const QString &cle : ini.ReadSection(sectionCode(c)))
            if (!m_libelles[std::size_t(c)].contains(cle.toLower()))
                m_libelles[std::size_t(c)].insert(cle.toLower(),
                                                  ini.ReadString(sectionCode(c), cle, QString()));
}

void LibellesCalendrier::definir(int code, const QString &cle, const QString &libelle)
{
    m_libelles[std::size_t(code)].insert(cle.toLower(), libelle);
}

QString LibellesCalendrier::libelle(int code, const QString &cle) const
{
    if (cle.isEmpty())
        return QString();
    const QString l = m_libelles[std::size_t(code)].value(cle.toLower());
    return l.trimmed().isEmpty() ? cle : texteDeChamp(l);
}

QString Impression::detail(int g, int n) const
{
    if (g < 0 || g >= titres.size() || n < 0)
        return QString();
    const int fin = g + 1 < titres.size() ? titres.at(g + 1) : int(lignes.size());
    const int i = titres.at(g) + 1 + n;
    return i < fin ? lignes.at(i) : QString();
}

Impression ConstruireImpression(const LectureCalendrier &lecture, QChar genre,
                                const LibellesCalendrier &libelles)
{
    // Each line split once; the views stay on the lecture's lines.
    const qsizetype n = lecture.lignes.size();
    std::vector<QList<QStringView>> champs;
    champs.reserve(std::size_t(n));
    for (const QString &l : lecture.lignes)
        champs.push_back(QStringView(l).split(QLatin1Char(';')));
    auto champ = [&](qsizetype i, int f) { return champs[std::size_t(i)].value(f); };

    // By day; lines of the same day keep their order.
    std::vector<std::pair<platform::TDateTime, int>> jours;
    jours.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        platform::TDateTime d = 0;
        lireJour(champ(i, 0).toString(), d);
        jours.emplace_back(d, i);
    }
    std::stable_sort(jours.begin(), jours.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });

    // Labels resolved once per code met.
    std::array<QHash<QStringView, QString>, NombreCodes> resolus;
    auto detail = [&](int i) {
        QString d;
        d.reserve(lecture.lignes.at(i).size() + 16);
        d += champ(i, 0);
        d += QLatin1Char(';');
        for (int c = 0; c < NombreCodes; ++c) {
            const QStringView code = champ(i, c + 1);
            auto it = resolus[std::size_t(c)].find(code);
            if (it == resolus[std::size_t(c)].end())
                it = resolus[std::size_t(c)].insert(code, libelles.libelle(c, code.toString()));
            d += *it;
            d += QLatin1Char(';');
        }
        return d;
    };

    Impression out;
    if (genre == QLatin1Char('T')) {
        out.titres.append(0);
        out.lignes.reserve(n + 1);
        out.lignes.append(QStringLiteral("   ;%1;").arg(n));
        for (const auto &j : jours)
            out.lignes.append(detail(j.second));
        return out;
    }
    int code;
    if (genre == QLatin1Char('C'))
        code = CodeLieu;
    else if (genre == QLatin1Char('E'))
        code = CodeEpreuve;
    else if (genre == QLatin1Char('A'))
        code = CodeArbitre;
    else
        return out;
    // The lines of each key, in day order.
    QHash<QStringView, std::vector<int>> parCle;
    for (const auto &j : jours)
        parCle[champ(j.second, code + 1)].push_back(j.second);
    static const std::vector<int> aucune;
    for (const QString &cle : lecture.codes[std::size_t(code)]) {
        const auto it = parCle.constFind(QStringView(cle));
        const std::vector<int> &lignes = it == parCle.cend() ? aucune : *it;
        out.titres.append(int(out.lignes.size()));
        out.lignes.append(libelles.libelle(code, cle) + QLatin1Char(';') +
                          QString::number(lignes.size()) + QLatin1Char(';'));
        for (const int i : lignes)
            out.lignes.append(detail(i));
    }
    return out;
}

QString jourDeLaSemaine(const QString &jour)
{
    platform::TDateTime d = 0;
    if (!lireJour(jour, d))
        return QString();
    static const char *const noms[] = {"Dimanche", "Lundi",    "Mardi", "Mercredi",
                                       "Jeudi",    "Vendredi", "Samedi"};
    // Monday 1 ... Sunday 7.
    const int n = Origine.addDays(qint64(d)).dayOfWeek();
    return n >= 1 && n <= 7 ? QString::fromLatin1(noms[n % 7]) : QString();
}

} // namespace manager
