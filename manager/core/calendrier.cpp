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

// Whether a UTF-8 text may be cut before the character cp, each part then
// decoded and composed apart giving what the whole gives: cp is a starter
// that no composition takes as its second character, and so is the first
// character of its decomposition. Below U+0300 every character is; the
// others are looked up in a table built the first time one is asked.
bool debutSur(char32_t cp)
{
    if (cp < 0x300)
        return true;
    static const std::vector<bool> seconds = [] {
        std::vector<bool> v(0x110000);
        for (char32_t c = 0x300; c < 0x110000; ++c) {
            if (QChar::decompositionTag(c) != QChar::Canonical)
                continue;
            const QList<uint> d = QChar::decomposition(c).toUcs4();
            for (qsizetype i = 1; i < d.size(); ++i)
                v[d.at(i)] = true;
        }
        // The vowels and final consonants of Hangul, which compose by rule.
        for (char32_t c = 0x1161; c <= 0x1175; ++c)
            v[c] = true;
        for (char32_t c = 0x11A8; c <= 0x11C2; ++c)
            v[c] = true;
        return v;
    }();
    for (;;) {
        if (cp >= 0x110000 || QChar::combiningClass(cp) != 0 || seconds[cp])
            return false;
        if (QChar::decompositionTag(cp) != QChar::Canonical)
            return true;
        const QList<uint> d = QChar::decomposition(cp).toUcs4();
        if (d.isEmpty() || d.first() == cp)
            return true;
        cp = d.first();
    }
}

// The content lines of a file, one at a time. Lines are unfolded on the
// bytes, before decoding, since programs fold at a number of bytes, inside
// an accented letter too: a line that starts with a blank or a tab
// continues the previous one, without that character. Blank lines (nothing
// but blanks and tabs) are skipped, between the parts of a folded line as
// well. The unfolded lines are decoded a piece of some thousands at a time,
// so that a file never stands in memory as a list of lines; a line longer
// than a piece comes in parts, cut where decoding the parts apart gives what
// decoding the whole would. One rule picks the encoding for the whole file,
// as if it were decoded whole.
class Depliage
{
public:
    // utf8: the encoding an earlier reading of the same bytes found (see
    // utf8()), 0 or 1; -1 to find it.
    explicit Depliage(QByteArrayView bytes, int utf8 = -1) : m_bytes(bytes)
    {
        if (m_bytes.startsWith(Bom))
            m_bytes = m_bytes.sliced(3);
        if (utf8 >= 0) {
            m_utf8 = utf8 == 1;
            return;
        }
        // Valid UTF-8 stays valid once unfolded (no character holds a line
        // break); otherwise only the unfolded text can tell, a character
        // cut by a fold being whole again.
        m_utf8 = platform::checkUtf8(m_bytes) != platform::Utf8Check::Invalid;
        if (!m_utf8) {
            m_utf8 = true;
            while (m_utf8 && morceau()) {
                const platform::Utf8Check c = platform::checkUtf8(m_morceau);
                m_utf8 = c == platform::Utf8Check::Valid || (c == platform::Utf8Check::CutAtEnd &&
                                                             m_pos >= m_bytes.size() && !m_attente);
            }
            *this = Depliage(bytes, m_utf8 ? 1 : 0);
        }
    }

    bool utf8() const { return m_utf8; }

    // The next line, or the next part of a long one (suite: it goes on with
    // the text given last), and the line of the file where it starts; false
    // at the end. The text stays valid until the next call.
    bool suivante(QStringView &ligne, int &numero, bool &suite)
    {
        if (m_ligne >= m_lignes) {
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
            m_lignes = qsizetype(m_numeros.size()) + (m_continue ? 1 : 0);
            m_debut = 0;
        }
        qsizetype fin = m_texte.indexOf(QLatin1Char('\n'), m_debut);
        if (fin < 0)
            fin = m_texte.size();
        ligne = QStringView(m_texte).mid(m_debut, fin - m_debut);
        suite = m_continue && m_ligne == 0;
        if (!suite)
            m_numeroLigne = m_numeros[std::size_t(m_ligne - (m_continue ? 1 : 0))];
        numero = m_numeroLigne;
        ++m_ligne;
        m_debut = fin + 1;
        return true;
    }

private:
    // Whether the text may be cut before byte p (see debutSur); a mark there
    // would be dropped by the decoding of the next piece.
    bool coupureSure(qsizetype p) const
    {
        if (!m_utf8)
            return true;
        const auto *s = reinterpret_cast<const unsigned char *>(m_bytes.data());
        const qsizetype n = m_bytes.size();
        const unsigned char c = s[p];
        if (c < 0x80)
            return true;
        const int longueur = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        if (longueur == 0 || p + longueur > n)
            return false;
        char32_t cp = c & (0x7F >> longueur);
        for (int k = 1; k < longueur; ++k) {
            if ((s[p + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (s[p + k] & 0x3F);
        }
        return cp != 0xFEFF && debutSur(cp);
    }

    // Where to cut the part [debut, fin) of a long line, near voulu: a safe
    // place before it, else after it; fin when there is none.
    qsizetype coupure(qsizetype debut, qsizetype fin, qsizetype voulu) const
    {
        const qsizetype bas = std::max(debut, voulu - Taille / 2);
        for (qsizetype p = voulu; p >= bas; --p)
            if (coupureSure(p))
                return p;
        for (qsizetype p = voulu + 1; p < fin; ++p)
            if (coupureSure(p))
                return p;
        return fin;
    }

    // The next piece of unfolded lines joined by '\n', with the line number
    // of each line that starts in it; the piece may start with the rest of
    // a line cut at the end of the last one. False when none is left.
    bool morceau()
    {
        m_morceau.clear();
        m_numeros.clear();
        m_continue = m_coupee;
        m_coupee = false;
        const qsizetype n = m_bytes.size();
        const char *b = m_bytes.data();
        for (;;) {
            qsizetype debut;
            qsizetype fin;
            bool suite; // goes on with the line before
            if (m_attente) {
                // What the last piece left.
                debut = m_attenteDebut;
                fin = m_attenteFin;
                suite = m_attenteSuite;
                m_attente = false;
            } else {
                if (m_pos >= n)
                    break;
                debut = m_pos;
                fin = debut;
                while (fin < n && b[fin] != '\r' && b[fin] != '\n')
                    ++fin;
                m_pos = fin < n && b[fin] == '\r' && fin + 1 < n && b[fin + 1] == '\n' ? fin + 2
                                                                                       : fin + 1;
                ++m_numero;
                const QByteArrayView l = m_bytes.sliced(debut, fin - debut);
                if (blanche(l))
                    continue;
                suite = m_ouverte && (l.front() == ' ' || l.front() == '\t');
                if (suite)
                    ++debut;
            }
            if (!suite) {
                // A new line: the piece ends before it once large enough,
                // but never before a line whose first bytes a decoding would
                // drop.
                if (m_morceau.size() >= Taille &&
                    !m_bytes.sliced(debut, fin - debut).startsWith(Bom)) {
                    attendre(debut, fin, false);
                    break;
                }
                if (!m_numeros.empty() || m_continue)
                    m_morceau += '\n';
                m_numeros.push_back(m_numero);
                m_ouverte = true;
            }
            if (m_morceau.size() + (fin - debut) > 2 * Taille) {
                const qsizetype coupe = coupure(
                    debut, fin, debut + std::max<qsizetype>(0, 2 * Taille - m_morceau.size()));
                if (coupe < fin) {
                    m_morceau += m_bytes.sliced(debut, coupe - debut);
                    attendre(coupe, fin, true);
                    m_coupee = true;
                    break;
                }
            }
            m_morceau += m_bytes.sliced(debut, fin - debut);
        }
        return !m_numeros.empty() || m_continue;
    }

    void attendre(qsizetype debut, qsizetype fin, bool suite)
    {
        m_attente = true;
        m_attenteDebut = debut;
        m_attenteFin = fin;
        m_attenteSuite = suite;
    }

    static constexpr qsizetype Taille = 64 * 1024;
    QByteArrayView m_bytes;
    bool m_utf8 = true;
    bool m_premier = true;
    qsizetype m_pos = 0;
    int m_numero = 0;
    // Whether a line has started (a blank at the start of the first does
    // not continue anything).
    bool m_ouverte = false;
    // What was read past the end of the last piece: a line, or the rest of
    // a line cut there.
    bool m_attente = false;
    qsizetype m_attenteDebut = 0;
    qsizetype m_attenteFin = 0;
    bool m_attenteSuite = false;
    // The last piece ended inside a line; this one starts with its rest.
    bool m_coupee = false;
    bool m_continue = false;
    QByteArray m_morceau;
    std::vector<int> m_numeros;
    QString m_texte;
    qsizetype m_ligne = 0;
    qsizetype m_lignes = 0;
    qsizetype m_debut = 0;
    int m_numeroLigne = 0;
};

// The property's name: what comes before the first ";" or ":".
QStringView nomDe(QStringView ligne)
{
    qsizetype i = 0;
    while (i < ligne.size() && ligne.at(i) != QLatin1Char(';') && ligne.at(i) != QLatin1Char(':'))
        ++i;
    return ligne.left(i);
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
bool lireJour(QStringView t, platform::TDateTime &jour)
{
    if (t.size() == 10 && t.at(2) == QLatin1Char('/') && t.at(5) == QLatin1Char('/') &&
        chiffres(t.left(2)) && chiffres(t.mid(3, 2)) && chiffres(t.mid(6))) {
        const QDate d(entier(t.mid(6)), entier(t.mid(3, 2)), entier(t.left(2)));
        if (!d.isValid())
            return false;
        jour = joursDe(d);
        return true;
    }
    return platform::TryStrToDate(t.toString(), jour);
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

// The longest of the machine's zone names.
qsizetype zoneLaPlusLongue()
{
    static const qsizetype longueur = [] {
        qsizetype n = 0;
        for (auto it = zonesConnues().cbegin(); it != zonesConnues().cend(); ++it)
            n = std::max(n, it.key().size());
        return n;
    }();
    return longueur;
}

// The zone a TZID names: a zone name in any letter case, the name Windows
// programs write ("Romance Standard Time"), or a path ending in a zone name
// as older programs wrote ("/mozilla.org/20070129_1/Europe/Paris").
// Invalid when the machine knows none of them. Of a long TZID (longue) only
// the end is given, which alone may end in a zone name.
QTimeZone zoneNommee(const QString &tzid, bool longue)
{
    const QHash<QString, QByteArray> &connues = zonesConnues();
    const qsizetype plusLongue = zoneLaPlusLongue();
    auto chercher = [&](QStringView nom) {
        if (nom.size() > plusLongue)
            return QTimeZone();
        const auto it = connues.constFind(nom.toString().toLower());
        return it == connues.cend() ? QTimeZone() : QTimeZone(*it);
    };
    if (tzid.isEmpty())
        return QTimeZone();
    QTimeZone z;
    if (!longue) {
        z = chercher(tzid);
        if (z.isValid())
            return z;
        const QByteArray windows = QTimeZone::windowsIdToDefaultIanaId(tzid.toUtf8());
        if (!windows.isEmpty()) {
            z = chercher(QString::fromLatin1(windows));
            if (z.isValid())
                return z;
        }
    }
    // Only the last characters may be a zone name.
    const qsizetype depuis = std::max<qsizetype>(0, tzid.size() - plusLongue - 1);
    for (qsizetype i = tzid.indexOf(QLatin1Char('/'), depuis); i >= 0;
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

// What the reader keeps of a property line of the event being read: the
// line of the file where it starts, its value (what follows the first ":"
// outside double quotes, a quoted parameter may hold one) and its TZID
// parameter. The line comes in parts, a long one being decoded a piece at a
// time, and of a long value only what can matter is kept: no line is ever
// held whole, however long.
class Propriete
{
public:
    enum Garde {
        Entiere, // the whole value
        Date,    // its first characters: a longer value is no date or time,
                 // and the message refusing it shows only its start
        Resume,  // as many characters as a calendar may give, and whether the
                 // whole value is four codes
        Arbitre, // its characters before the first "\", blanks left out, as
                 // many as a calendar may give
    };

    void commencer(Garde garde, int numero)
    {
        effacer();
        m_garde = garde;
        m_presente = true;
        m_numero = numero;
    }
    // As if the line were missing. Only a line read changes anything.
    void effacer()
    {
        if (!m_presente)
            return;
        m_presente = false;
        m_etat = Nom;
        m_guillemets = false;
        m_longueurNom = 0;
        m_egal = false;
        m_dansTzid = false;
        m_tzidTrouve = false;
        m_tzid.clear();
        m_tzidTaille = 0;
        m_tzidPremier = QChar();
        m_valeur.clear();
        m_coupee = false;
        m_fini = false;
        m_blancs = 0;
        m_blancAvant = true;
        m_codeVide = false;
    }
    // The next part of the line.
    void lire(QStringView partie);

    bool vide() const { return !m_presente; }
    int numero() const { return m_numero; }
    const QString &valeur() const { return m_valeur; }
    // Longer than what was kept.
    bool coupee() const { return m_coupee; }
    // Resume: the four codes; none when the value is not four codes
    // separated by single blanks. *trop: it is, but longer than a
    // calendar's lines may be.
    QStringList codes(bool *trop) const;
    // The TZID parameter without the quotes around it, empty when there is
    // none; of one longer than any zone name, its end only (*longue).
    QString tzid(bool *longue) const;

private:
    static constexpr qsizetype DateGardee = 128;
    static constexpr qsizetype TzidGardee = 256;

    void ajouterTzid(QStringView texte);
    void ajouter(QStringView texte);
    // Resume: the blanks of a value past what is kept, counted.
    void compter(QStringView texte);

    Garde m_garde = Entiere;
    bool m_presente = false;
    int m_numero = 0;
    enum { Nom, Parametres, Valeur } m_etat = Nom;
    bool m_guillemets = false;
    // The parameter being read: its name up to "=" (five characters at
    // most, which is no TZID), then whether it is the TZID.
    char16_t m_nom[5] = {};
    int m_longueurNom = 0;
    bool m_egal = false;
    bool m_dansTzid = false;
    bool m_tzidTrouve = false;
    QString m_tzid;
    qsizetype m_tzidTaille = 0;
    QChar m_tzidPremier;
    QString m_valeur;
    bool m_coupee = false;
    bool m_fini = false; // Arbitre: the "\" met
    // Resume once cut: blanks, and whether a code is empty (a blank at the
    // start or the end, or two in a row).
    qsizetype m_blancs = 0;
    bool m_blancAvant = true;
    bool m_codeVide = false;
};

void Propriete::lire(QStringView partie)
{
    qsizetype i = 0;
    if (m_etat != Valeur) {
        const qsizetype n = partie.size();
        // Where the TZID's value starts in this part, while it is read.
        qsizetype tzid = m_dansTzid ? 0 : -1;
        for (; i < n; ++i) {
            const QChar c = partie.at(i);
            if (c == QLatin1Char('"'))
                m_guillemets = !m_guillemets;
            if (m_guillemets || (c != QLatin1Char(';') && c != QLatin1Char(':'))) {
                // A parameter's name, up to its first "=": the first TZID is
                // taken.
                if (m_etat != Parametres || m_garde != Date || m_egal || m_tzidTrouve)
                    continue;
                if (c != QLatin1Char('=')) {
                    if (m_longueurNom < 5)
                        m_nom[m_longueurNom++] = c.unicode();
                    continue;
                }
                m_egal = true;
                m_dansTzid = QStringView(m_nom, m_longueurNom)
                                 .compare(QLatin1String("TZID"), Qt::CaseInsensitive) == 0;
                if (m_dansTzid)
                    tzid = i + 1;
                continue;
            }
            // A parameter ends.
            if (m_dansTzid) {
                ajouterTzid(partie.mid(tzid, i - tzid));
                tzid = -1;
                m_dansTzid = false;
                m_tzidTrouve = true;
            }
            if (c == QLatin1Char(':')) {
                m_etat = Valeur;
                ++i;
                break;
            }
            m_etat = Parametres;
            m_longueurNom = 0;
            m_egal = false;
        }
        if (m_dansTzid && tzid >= 0)
            ajouterTzid(partie.mid(tzid));
        if (m_etat != Valeur)
            return;
    }
    ajouter(partie.mid(i));
}

void Propriete::ajouterTzid(QStringView texte)
{
    if (texte.isEmpty())
        return;
    if (m_tzidTaille == 0)
        m_tzidPremier = texte.front();
    m_tzidTaille += texte.size();
    if (m_tzid.size() + texte.size() > 2 * TzidGardee) {
        // Only the end is kept.
        texte = texte.right(TzidGardee);
        m_tzid.remove(0, std::max<qsizetype>(0, m_tzid.size() + texte.size() - TzidGardee));
    }
    m_tzid += texte;
}

void Propriete::ajouter(QStringView texte)
{
    switch (m_garde) {
    case Entiere:
        m_valeur += texte;
        return;
    case Date:
        if (m_valeur.size() + texte.size() > DateGardee) {
            texte = texte.left(std::max<qsizetype>(0, DateGardee - m_valeur.size()));
            m_coupee = true;
        }
        m_valeur += texte;
        return;
    case Resume: {
        if (m_coupee) {
            compter(texte);
            return;
        }
        const qsizetype place = MaxCaracteresCalendrier - m_valeur.size();
        if (texte.size() <= place) {
            m_valeur += texte;
            return;
        }
        m_valeur += texte.left(place);
        m_coupee = true;
        compter(m_valeur);
        compter(texte.mid(place));
        return;
    }
    case Arbitre:
        if (m_fini || m_coupee)
            return;
        const qsizetype echap = texte.indexOf(QLatin1Char('\\'));
        if (echap >= 0) {
            texte = texte.left(echap);
            m_fini = true;
        }
        for (qsizetype debut = 0; debut < texte.size();) {
            qsizetype blanc = texte.indexOf(QLatin1Char(' '), debut);
            if (blanc < 0)
                blanc = texte.size();
            const QStringView mot = texte.mid(debut, blanc - debut);
            const qsizetype place = MaxCaracteresCalendrier - m_valeur.size();
            if (mot.size() > place) {
                m_valeur += mot.left(place);
                m_coupee = true;
                return;
            }
            m_valeur += mot;
            debut = blanc + 1;
        }
        return;
    }
}

void Propriete::compter(QStringView texte)
{
    for (const QChar c : texte) {
        if (c == QLatin1Char(' ')) {
            m_codeVide = m_codeVide || m_blancAvant;
            ++m_blancs;
            m_blancAvant = true;
        } else {
            m_blancAvant = false;
        }
    }
}

QStringList Propriete::codes(bool *trop) const
{
    *trop = false;
    if (m_coupee) {
        *trop = m_blancs == 3 && !m_codeVide && !m_blancAvant;
        return QStringList();
    }
    QStringList parties = m_valeur.split(QLatin1Char(' '));
    if (parties.size() != 4)
        return QStringList();
    for (const QString &p : parties)
        if (p.isEmpty())
            return QStringList();
    return parties;
}

QString Propriete::tzid(bool *longue) const
{
    *longue = false;
    if (!m_tzidTrouve)
        return QString();
    QString t = m_tzid;
    if (m_tzidTaille > TzidGardee) {
        *longue = true;
        t = t.right(TzidGardee);
        // Its first quote is out of what is kept.
        if (m_tzidPremier == QLatin1Char('"') && t.endsWith(QLatin1Char('"')))
            t.chop(1);
        return t;
    }
    if (t.size() >= 2 && t.front() == QLatin1Char('"') && t.back() == QLatin1Char('"'))
        t = t.mid(1, t.size() - 2);
    return t;
}

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

    void clear()
    {
        for (Propriete *p :
             {&resume, &debut, &fin, &duree, &description, &uid, &recurrence, &sequence})
            p->effacer();
        ouvert = false;
    }
};

// Reads the events of one file into a lecture. An event of the file may be
// set aside by another, earlier or later (a moved occurrence): the lines
// are made as the events are read, and the file is read again, once the
// events set aside are known, only if some are. Nothing is kept for each
// event but what tells an occurrence; a refusal is kept once, as the first
// is found.
class Lecteur
{
public:
    Lecteur(const QString &fichier, platform::TDateTime debut, platform::TDateTime fin,
            LectureCalendrier &lecture)
        : m_fichier(fichier), m_debut(std::floor(debut)), m_fin(std::floor(fin)),
          m_lecture(lecture), m_lignesAvant(lecture.lignes.size())
    {
        for (int c = 0; c < NombreCodes; ++c)
            m_codesAvant[std::size_t(c)] = lecture.codes[std::size_t(c)].size();
    }

    // First reading, each event as the file closes it, in file order: its
    // lines are made at once, and what may set an event aside is noted.
    // Throws once the file is refused whatever follows: an event that
    // cannot be read, or lines past a bound, when no event before nor this
    // one may be set aside.
    void evenementLu(const Evenement &e);
    // Whether an event of the file stands for an occurrence: then the events
    // it may set aside are to be found, by a second reading.
    bool occurrences();
    // Second reading: the first event of each UID an occurrence names that
    // is no occurrence itself.
    void premiereLue(const Evenement &e);
    // What the occurrences set aside; true when they set aside some: the
    // lines made are then made again, by a third reading.
    bool ecarter();
    void evenementRelu(const Evenement &e);
    // Throws the refusal found, if any.
    void finir();

private:
    // What an event gives within the days (its lines, not yet made), or the
    // message that refuses the file if it is kept.
    struct Retenu {
        platform::TDateTime jourDebut = 0;
        platform::TDateTime jourFin = 0;
        QString suite;     // ";" + the four codes and the referee, each followed by ";"
        bool trop = false; // its line alone is past the characters' bound
        QString faute;
        bool compte(qint64 &lignes, qint64 &caracteres) const
        {
            const qint64 jours = qint64(jourFin - jourDebut) + 1;
            lignes += jours;
            caracteres += jours * (10 + (trop ? MaxCaracteresCalendrier : suite.size()));
            return lignes > MaxLignesCalendrier || caracteres > MaxCaracteresCalendrier;
        }
    };
    // Fills r; false when the event gives nothing. *debut is the start's
    // instant once read (none when it cannot be), left unset when the event
    // was given up before.
    bool preparer(const Evenement &e, Retenu &r, std::optional<std::optional<qint64>> *debut);
    // The instant a start or an occurrence id stands for; none when it is
    // missing or cannot be read.
    std::optional<qint64> instant(const Propriete &p);
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
    QTimeZone zone(const QString &tzid, bool longue);
    // An event kept: its lines and codes, or the refusal it brings.
    void retenir(const Retenu &r, bool definitif);
    [[noreturn]] void refuser() const;

    QString m_fichier;
    qsizetype m_evenements = 0;
    qint64 m_lignes = 0;
    qint64 m_caracteres = 0;
    // The first refusal met: a message (or the bound passed when empty).
    bool m_refuse = false;
    bool m_refusBorne = false;
    QString m_refus;
    // Whether an event read so far may be set aside: a first occurrence
    // with a start that an occurrence may name, or an occurrence with an id.
    bool m_ecartables = false;
    // The events that stand for an occurrence, in file order, each with its
    // index and what tells which occurrence it is; then the first event of
    // their UIDs that is no occurrence, with its start; then the events set
    // aside.
    struct Occurrence {
        QString uid;
        qsizetype index = 0;
        qint64 instant = 0;
        qint64 sequence = 0;
    };
    struct Premiere {
        qsizetype index = -1; // none found yet
        std::optional<qint64> debut;
    };
    std::deque<Occurrence> m_occurrences; // in chunks: no copy as it grows
    // The occurrences by UID, and the first event of each UID, at the place
    // of the first occurrence of that UID in this order: a sorted list is
    // searched, there being as many UIDs as events at worst.
    std::vector<qsizetype> m_parUid;
    std::vector<Premiere> m_premieres;
    // Where the first occurrence of a UID stands in m_parUid; -1 when none.
    qsizetype rang(const QString &uid) const;
    QSet<qsizetype> m_ecartes;
    platform::TDateTime m_debut;
    platform::TDateTime m_fin;
    LectureCalendrier &m_lecture;
    // What the lecture held before this file.
    qsizetype m_lignesAvant;
    std::array<qsizetype, NombreCodes> m_codesAvant;
    QHash<QString, QTimeZone> m_zones; // by TZID as written
};

QTimeZone Lecteur::zone(const QString &tzid, bool longue)
{
    if (longue)
        return zoneNommee(tzid, true);
    auto it = m_zones.constFind(tzid);
    if (it != m_zones.cend())
        return *it;
    const QTimeZone z = zoneNommee(tzid, false);
    // A file names a few zones; one naming a new zone at each event is not
    // remembered past these.
    if (m_zones.size() < 64)
        m_zones.insert(tzid, z);
    return z;
}

// A start or end value: eight digits (year, month, day), then maybe a time
// part "T" + six digits (hours, minutes, seconds) + "Z" in UTC.
std::optional<Moment> Lecteur::momentDe(const Propriete &p, QString *faute)
{
    const QString &v = p.valeur();
    const qsizetype t = v.indexOf(QLatin1Char('T'));
    const QStringView d = QStringView(v).left(t < 0 ? v.size() : t);
    auto refus = [&](const QString &message) {
        if (faute)
            *faute = ou(message, p.numero());
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
    bool longue = false;
    const QString tzid = p.tzid(&longue);
    const QTimeZone z = zone(tzid, longue);
    if (z.isValid()) {
        m.heure = QDateTime(date, heure, z);
        m.telQuel = !m.heure.isValid();
    }
    if (m.telQuel)
        m.heure = QDateTime(date, heure, Qt::UTC);
    return m;
}

bool Lecteur::preparer(const Evenement &e, Retenu &r,
                       std::optional<std::optional<qint64>> *instantDebut)
{
    if (e.debut.vide())
        return false;
    // Four codes separated by single blanks, none empty.
    bool trop = false;
    const QStringList parties = e.resume.codes(&trop);
    if (parties.isEmpty() && !trop)
        return false;

    const std::optional<Moment> debut = momentDe(e.debut, &r.faute);
    *instantDebut = debut ? std::optional<qint64>(debut->heure.toMSecsSinceEpoch()) : std::nullopt;
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
        const QString &v = e.duree.valeur();
        Duree d;
        if (!lireDuree(v, d)) {
            r.faute =
                ou(QStringLiteral("'%1' n'est pas une durée correcte").arg(platform::excerpt(v)),
                   e.duree.numero());
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

    r.jourDebut = jourDebut;
    r.jourFin = jourFin;
    // A code or a referee longer than any calendar may give: its line alone
    // passes the bound, and is never made.
    r.trop = trop || e.description.coupee();
    if (r.trop)
        return true;
    // The referee: the description up to its first escape, blanks removed.
    const QString arbitre = texteDeChamp(e.description.valeur());
    r.suite = QLatin1Char(';');
    for (int i = 0; i < 4; ++i)
        r.suite += texteDeChamp(parties.at(i)) + QLatin1Char(';');
    r.suite += arbitre + QLatin1Char(';');
    return true;
}

std::optional<qint64> Lecteur::instant(const Propriete &p)
{
    if (p.vide())
        return std::nullopt;
    const std::optional<Moment> m = momentDe(p, nullptr);
    return m ? std::optional<qint64>(m->heure.toMSecsSinceEpoch()) : std::nullopt;
}

void Lecteur::evenementLu(const Evenement &e)
{
    const qsizetype index = m_evenements++;
    Retenu r;
    std::optional<std::optional<qint64>> debut; // read once, for both uses
    const bool donne = !m_refuse && preparer(e, r, &debut);
    if (!e.uid.vide()) {
        if (e.recurrence.vide()) {
            if (!debut)
                debut = instant(e.debut);
            m_ecartables = m_ecartables || debut->has_value();
        } else if (const std::optional<qint64> o = instant(e.recurrence)) {
            m_occurrences.push_back(
                Occurrence{e.uid.valeur(), index, *o, e.sequence.valeur().trimmed().toLongLong()});
            m_ecartables = true;
        }
    }
    if (donne)
        retenir(r, !m_ecartables);
}

bool Lecteur::occurrences()
{
    if (m_occurrences.empty())
        return false;
    m_parUid.resize(m_occurrences.size());
    for (std::size_t i = 0; i < m_parUid.size(); ++i)
        m_parUid[i] = qsizetype(i);
    std::stable_sort(m_parUid.begin(), m_parUid.end(), [&](qsizetype a, qsizetype b) {
        return m_occurrences[std::size_t(a)].uid < m_occurrences[std::size_t(b)].uid;
    });
    m_premieres.assign(m_parUid.size(), Premiere());
    m_evenements = 0;
    return true;
}

qsizetype Lecteur::rang(const QString &uid) const
{
    const auto it = std::lower_bound(
        m_parUid.cbegin(), m_parUid.cend(), uid,
        [&](qsizetype a, const QString &u) { return m_occurrences[std::size_t(a)].uid < u; });
    if (it == m_parUid.cend() || m_occurrences[std::size_t(*it)].uid != uid)
        return -1;
    return it - m_parUid.cbegin();
}

void Lecteur::premiereLue(const Evenement &e)
{
    const qsizetype index = m_evenements++;
    if (e.uid.vide() || !e.recurrence.vide())
        return;
    const qsizetype r = rang(e.uid.valeur());
    if (r >= 0 && m_premieres[std::size_t(r)].index < 0)
        m_premieres[std::size_t(r)] = Premiere{index, instant(e.debut)};
}

// Repeated events are not expanded: their first occurrence alone is
// printed, on the day of their start. An event of the same UID carrying
// that start as its RECURRENCE-ID is that occurrence moved or changed: it is
// printed instead. Of several such events, the one of highest SEQUENCE wins,
// the last one of the file on a tie. An occurrence id that cannot be read
// replaces nothing. What is set aside is neither read further nor counted.
bool Lecteur::ecarter()
{
    QHash<QString, std::pair<qsizetype, qint64>> remplacants; // UID -> index, sequence
    for (const Occurrence &o : m_occurrences) {
        const qsizetype r = rang(o.uid);
        const Premiere &premiere = m_premieres[std::size_t(r)];
        if (premiere.index < 0 || !premiere.debut || *premiere.debut != o.instant)
            continue;
        m_ecartes.insert(premiere.index);
        const auto avant = remplacants.constFind(o.uid);
        if (avant != remplacants.cend()) {
            if (o.sequence < avant->second) {
                m_ecartes.insert(o.index);
                continue;
            }
            m_ecartes.insert(avant->first);
        }
        remplacants.insert(o.uid, {o.index, o.sequence});
    }
    if (m_ecartes.isEmpty())
        return false;
    // Made again without what is set aside.
    m_lecture.lignes.resize(m_lignesAvant);
    for (int c = 0; c < NombreCodes; ++c)
        m_lecture.codes[std::size_t(c)].resize(m_codesAvant[std::size_t(c)]);
    m_evenements = 0;
    m_lignes = 0;
    m_caracteres = 0;
    m_refuse = false;
    m_refus.clear();
    return true;
}

void Lecteur::evenementRelu(const Evenement &e)
{
    const qsizetype index = m_evenements++;
    if (m_ecartes.contains(index))
        return;
    Retenu r;
    std::optional<std::optional<qint64>> debut;
    if (preparer(e, r, &debut))
        retenir(r, true);
}

void Lecteur::retenir(const Retenu &r, bool definitif)
{
    if (m_refuse)
        return;
    if (!r.faute.isEmpty() || r.compte(m_lignes, m_caracteres)) {
        m_refuse = true;
        m_refusBorne = r.faute.isEmpty();
        m_refus = r.faute;
        if (definitif)
            refuser();
        return;
    }
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

void Lecteur::refuser() const
{
    if (!m_refusBorne)
        throw platform::EConvertError(m_refus);
    const QString nom = m_fichier.isEmpty() ? QString() : QLatin1Char(' ') + m_fichier;
    const bool enLignes = m_lignes > MaxLignesCalendrier;
    throw ECalendrierError(
        QStringLiteral("Le calendrier%1 donnerait plus que les %2 %3 qu'un calendrier "
                       "peut donner")
            .arg(nom, QString::number(enLignes ? MaxLignesCalendrier : MaxCaracteresCalendrier),
                 enLignes ? QStringLiteral("lignes") : QStringLiteral("caractères")));
}

void Lecteur::finir()
{
    if (m_refuse)
        refuser();
}

bool estLigne(QStringView ligne, QLatin1String texte)
{
    return ligne.compare(texte, Qt::CaseInsensitive) == 0;
}

// The events of a file, each handed to lu as the file closes it, in file
// order.
template <typename Lu> void parcourir(Depliage &depliage, Lu lu)
{
    Evenement e;
    // Depth of components nested in the event (reminders): their lines are
    // not the event's. Names of components and properties are read whatever
    // their letter case; the first part of a long line holds them.
    int imbrication = 0;
    // The property whose line goes on in the next part.
    Propriete *courante = nullptr;
    QStringView ligne;
    int numero = 0;
    bool suite = false;
    while (depliage.suivante(ligne, numero, suite)) {
        if (suite) {
            if (courante)
                courante->lire(ligne);
            continue;
        }
        courante = nullptr;
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
                lu(e);
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
                lu(e);
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
        Propriete::Garde garde = Propriete::Entiere;
        if (est("SUMMAR")) {
            p = &e.resume;
            garde = Propriete::Resume;
        } else if (est("DTSTAR")) {
            p = &e.debut;
            garde = Propriete::Date;
        } else if (est("DTEND;") || est("DTEND:")) {
            p = &e.fin;
            garde = Propriete::Date;
        } else if (est("DESCRI")) {
            p = &e.description;
            garde = Propriete::Arbitre;
        } else {
            const QStringView nom = nomDe(ligne);
            if (nom.compare(QLatin1String("DURATION"), Qt::CaseInsensitive) == 0) {
                p = &e.duree;
            } else if (nom.compare(QLatin1String("UID"), Qt::CaseInsensitive) == 0) {
                p = &e.uid;
            } else if (nom.compare(QLatin1String("RECURRENCE-ID"), Qt::CaseInsensitive) == 0) {
                p = &e.recurrence;
                garde = Propriete::Date;
            } else if (nom.compare(QLatin1String("SEQUENCE"), Qt::CaseInsensitive) == 0) {
                p = &e.sequence;
            }
        }
        if (p) {
            p->commencer(garde, numero);
            p->lire(ligne);
            courante = p;
        }
    }
    if (e.ouvert)
        lu(e);
}

void lireEvenements(QByteArrayView bytes, platform::TDateTime debut, platform::TDateTime fin,
                    LectureCalendrier &lecture, const QString &nomFichier)
{
    Lecteur lecteur(nomFichier, debut, fin, lecture);
    Depliage depliage(bytes);
    const int utf8 = depliage.utf8() ? 1 : 0;
    parcourir(depliage, [&](const Evenement &e) { lecteur.evenementLu(e); });
    if (lecteur.occurrences()) {
        Depliage seconde(bytes, utf8);
        parcourir(seconde, [&](const Evenement &e) { lecteur.premiereLue(e); });
        if (lecteur.ecarter()) {
            Depliage troisieme(bytes, utf8);
            parcourir(troisieme, [&](const Evenement &e) { lecteur.evenementRelu(e); });
        }
    }
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

namespace
{

// A line of the print list to be: its day, its index in the lecture and the
// fields after its day (see ConstruireImpression).
struct Jour {
    platform::TDateTime jour;
    int ligne;
    int suite;
};

// By day, lines of the same day keeping their order. The days of a lecture
// are whole and a few years apart: counted out, in one pass, rather than
// compared; other days are compared.
void trierParJour(std::vector<Jour> &jours)
{
    if (jours.empty())
        return;
    const auto [bas, haut] = std::minmax_element(
        jours.cbegin(), jours.cend(), [](const Jour &a, const Jour &b) { return a.jour < b.jour; });
    const double etendue = haut->jour - bas->jour;
    bool entiers = etendue <= double(4 * jours.size() + 1024);
    for (std::size_t i = 0; entiers && i < jours.size(); ++i)
        entiers = jours[i].jour == std::floor(jours[i].jour);
    if (!entiers) {
        std::stable_sort(jours.begin(), jours.end(),
                         [](const Jour &a, const Jour &b) { return a.jour < b.jour; });
        return;
    }
    const double premier = bas->jour;
    std::vector<std::size_t> debuts(std::size_t(etendue) + 2, 0);
    for (const Jour &j : jours)
        ++debuts[std::size_t(j.jour - premier) + 1];
    for (std::size_t k = 1; k < debuts.size(); ++k)
        debuts[k] += debuts[k - 1];
    std::vector<Jour> tries(jours.size());
    for (const Jour &j : jours)
        tries[debuts[std::size_t(j.jour - premier)]++] = j;
    jours = std::move(tries);
}

} // namespace

Impression ConstruireImpression(const LectureCalendrier &lecture, QChar genre,
                                const LibellesCalendrier &libelles)
{
    Impression out;
    int code = -1; // whose codes are the groups
    if (genre == QLatin1Char('C'))
        code = CodeLieu;
    else if (genre == QLatin1Char('E'))
        code = CodeEpreuve;
    else if (genre == QLatin1Char('A'))
        code = CodeArbitre;
    else if (genre != QLatin1Char('T'))
        return out;

    // A line is a day, then the fields after it, which the lines of one
    // event share, one after the other: what these fields give (the labels,
    // the group) is worked out once for each text of them, the views staying
    // on the lecture's lines.
    struct Suite {
        QString libelles; // ";" + the five labels, each followed by ";"
        int groupe = -1;  // of its key, in cles
    };
    std::vector<Suite> suites;
    QHash<QStringView, int> parSuite;
    QHash<QStringView, int> cles; // the keys met, numbered
    std::array<QHash<QStringView, QString>, NombreCodes> resolus;
    auto suiteDe = [&](QStringView suite) {
        const QList<QStringView> champs = suite.split(QLatin1Char(';'));
        Suite s;
        for (int c = 0; c < NombreCodes; ++c) {
            const QStringView champ = champs.value(c);
            auto it = resolus[std::size_t(c)].find(champ);
            if (it == resolus[std::size_t(c)].end())
                it = resolus[std::size_t(c)].insert(champ, libelles.libelle(c, champ.toString()));
            s.libelles += QLatin1Char(';');
            s.libelles += *it;
        }
        s.libelles += QLatin1Char(';');
        if (code >= 0) {
            const QStringView cle = champs.value(code);
            auto it = cles.constFind(cle);
            if (it == cles.cend())
                it = cles.insert(cle, int(cles.size()));
            s.groupe = *it;
        }
        return s;
    };
    auto jourDe = [](const QString &ligne) {
        const qsizetype p = ligne.indexOf(QLatin1Char(';'));
        return p < 0 ? QStringView(ligne) : QStringView(ligne).left(p);
    };

    // By day; lines of the same day keep their order.
    const qsizetype n = lecture.lignes.size();
    std::vector<Jour> jours;
    jours.reserve(std::size_t(n));
    QStringView derniere;
    int suite = -1;
    for (int i = 0; i < n; ++i) {
        const QString &l = lecture.lignes.at(i);
        const QStringView jour = jourDe(l);
        const QStringView reste =
            jour.size() < l.size() ? QStringView(l).mid(jour.size() + 1) : QStringView();
        if (suite < 0 || reste != derniere) {
            auto it = parSuite.constFind(reste);
            if (it == parSuite.cend()) {
                it = parSuite.insert(reste, int(suites.size()));
                suites.push_back(suiteDe(reste));
            }
            suite = *it;
            derniere = reste;
        }
        platform::TDateTime d = 0;
        lireJour(jour, d);
        jours.push_back(Jour{d, i, suite});
    }
    trierParJour(jours);

    auto detail = [&](const Jour &j) {
        const QStringView jour = jourDe(lecture.lignes.at(j.ligne));
        const QString &libelles = suites[std::size_t(j.suite)].libelles;
        QString d;
        d.reserve(jour.size() + libelles.size());
        d += jour;
        d += libelles;
        return d;
    };
    if (code < 0) {
        out.titres.append(0);
        out.lignes.reserve(n + 1);
        out.lignes.append(QStringLiteral("   ;%1;").arg(n));
        for (const Jour &j : jours)
            out.lignes.append(detail(j));
        return out;
    }
    // The lines of each key, in day order.
    std::vector<std::vector<const Jour *>> groupes(std::size_t(cles.size()));
    for (const Jour &j : jours)
        groupes[std::size_t(suites[std::size_t(j.suite)].groupe)].push_back(&j);
    static const std::vector<const Jour *> aucune;
    for (const QString &cle : lecture.codes[std::size_t(code)]) {
        const auto it = cles.constFind(QStringView(cle));
        const std::vector<const Jour *> &lignes =
            it == cles.cend() ? aucune : groupes[std::size_t(*it)];
        out.titres.append(int(out.lignes.size()));
        out.lignes.append(libelles.libelle(code, cle) + QLatin1Char(';') +
                          QString::number(lignes.size()) + QLatin1Char(';'));
        for (const Jour *j : lignes)
            out.lignes.append(detail(*j));
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
