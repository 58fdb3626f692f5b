#include "manager/core/calendrier.h"

#include "platform/format/format.h"
#include "platform/inifile/inifile.h"
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QCollator>
#include <QDate>
#include <QFile>
#include <QLocale>
#include <QSet>
#include <algorithm>
#include <cmath>
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

// The lines of a decoded text, folded lines joined: a line that starts with
// a blank or a tab continues the previous one, without that character.
QStringList lignesDepliees(const QString &texte)
{
    QStringList lignes;
    const qsizetype n = texte.size();
    qsizetype debut = 0;
    auto ajoute = [&](qsizetype fin) {
        const QStringView l = QStringView(texte).mid(debut, fin - debut);
        if (!lignes.isEmpty() && !l.isEmpty() &&
            (l.front() == QLatin1Char(' ') || l.front() == QLatin1Char('\t')))
            lignes.last() += l.mid(1);
        else
            lignes.append(l.toString());
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = texte.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            ajoute(i);
            if (c == QLatin1Char('\r') && i + 1 < n && texte.at(i + 1) == QLatin1Char('\n'))
                ++i;
            debut = i + 1;
        }
    }
    if (debut < n)
        ajoute(n);
    return lignes;
}

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

QString messageDate(const QString &texte)
{
    return QStringLiteral("'%1' n'est pas une date correcte").arg(texte);
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

// A start or end value: eight digits (year, month, day) before the time
// part. allDay tells a value without time part.
platform::TDateTime dateDe(const QString &ligne, bool &sansHeure)
{
    const QString v = valeur(ligne);
    const qsizetype t = v.indexOf(QLatin1Char('T'));
    sansHeure = t < 0;
    const QString d = t < 0 ? v : v.left(t);
    const QString texte =
        d.mid(6, 2) + QLatin1Char('/') + d.mid(4, 2) + QLatin1Char('/') + d.left(4);
    if (d.size() < 8)
        throw platform::EConvertError(messageDate(texte));
    if (chiffres(QStringView(d).left(8))) {
        const QDate date(QStringView(d).left(4).toInt(), QStringView(d).mid(4, 2).toInt(),
                         QStringView(d).mid(6, 2).toInt());
        if (!date.isValid())
            throw platform::EConvertError(messageDate(texte));
        return joursDe(date);
    }
    return platform::StrToDate(texte);
}

struct Evenement {
    QString resume;
    QString debut;
    QString fin;
    QString description;
    bool ouvert = false;

    void clear() { *this = Evenement(); }
};

void retenir(const Evenement &e, platform::TDateTime fenetreDebut, platform::TDateTime fenetreFin,
             LectureCalendrier &lecture)
{
    if (e.debut.isEmpty())
        return;
    // Four codes separated by single blanks, none empty.
    const QStringList parties = valeur(e.resume).split(QLatin1Char(' '));
    if (parties.size() != 4)
        return;
    for (const QString &p : parties)
        if (p.isEmpty())
            return;

    bool sansHeure = false;
    const platform::TDateTime debut = std::floor(dateDe(e.debut, sansHeure));
    platform::TDateTime fin = debut;
    if (!e.fin.isEmpty()) {
        fin = std::floor(dateDe(e.fin, sansHeure));
        // An all-day event's end is the day after its last one.
        if (sansHeure)
            fin -= 1;
    }
    // An end before the start leaves the start day alone, which the window
    // must then hold like any other day.
    if (fin < debut)
        fin = debut;

    QString arbitre = valeur(e.description);
    const qsizetype echap = arbitre.indexOf(QLatin1Char('\\'));
    if (echap >= 0)
        arbitre.truncate(echap);
    arbitre.remove(QLatin1Char(' '));

    if (debut < fenetreDebut || fin > fenetreFin)
        return;
    QStringList codes;
    for (int i = 0; i < 4; ++i) {
        codes.append(texteDeChamp(parties.at(i)));
        lecture.codes[std::size_t(i)].append(codes.last());
    }
    arbitre = texteDeChamp(arbitre);
    if (!arbitre.isEmpty() && arbitre != QLatin1String(" "))
        lecture.codes[CodeArbitre].append(arbitre);
    else
        arbitre.clear();
    const QString suite = QLatin1Char(';') + codes.join(QLatin1Char(';')) + QLatin1Char(';') +
                          arbitre + QLatin1Char(';');
    platform::TDateTime jour = debut;
    do {
        lecture.lignes.append(texteJour(jour) + suite);
        jour += 1;
    } while (jour <= fin);
}

} // namespace

void lireCalendrierTexte(QByteArrayView bytes, platform::TDateTime debut, platform::TDateTime fin,
                         LectureCalendrier &lecture)
{
    const QStringList lignes = lignesDepliees(platform::decodeOutsideText(bytes));
    debut = std::floor(debut);
    fin = std::floor(fin);
    Evenement e;
    // Depth of components nested in the event (reminders): their lines are
    // not the event's.
    int imbrication = 0;
    for (const QString &ligne : lignes) {
        if (!e.ouvert) {
            if (ligne == QLatin1String("BEGIN:VEVENT")) {
                e.clear();
                e.ouvert = true;
                imbrication = 0;
            }
            continue;
        }
        if (ligne.startsWith(QLatin1String("BEGIN:"))) {
            if (imbrication == 0 && ligne == QLatin1String("BEGIN:VEVENT")) {
                // The last event was never closed: it ends here.
                retenir(e, debut, fin, lecture);
                e.clear();
                e.ouvert = true;
            } else {
                ++imbrication;
            }
            continue;
        }
        if (ligne.startsWith(QLatin1String("END:"))) {
            if (imbrication > 0) {
                --imbrication;
            } else if (ligne == QLatin1String("END:VEVENT") ||
                       ligne == QLatin1String("END:VCALENDAR")) {
                retenir(e, debut, fin, lecture);
                e.clear();
            }
            continue;
        }
        if (imbrication > 0)
            continue;
        const QStringView tete = QStringView(ligne).left(6);
        if (tete == QLatin1String("SUMMAR"))
            e.resume = ligne;
        else if (tete == QLatin1String("DTSTAR"))
            e.debut = ligne;
        else if (tete == QLatin1String("DTEND;") || tete == QLatin1String("DTEND:"))
            e.fin = ligne;
        else if (tete == QLatin1String("DESCRI"))
            e.description = ligne;
    }
    if (e.ouvert)
        retenir(e, debut, fin, lecture);
}

void LireCalendrier(const QString &fichier, platform::TDateTime debut, platform::TDateTime fin,
                    LectureCalendrier &lecture)
{
    QFile f(platform::LineFile::resolve(fichier));
    if (!f.open(QIODevice::ReadOnly))
        throw platform::EFileError(
            QStringLiteral("Impossible de lire le calendrier %1").arg(fichier));
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw platform::EFileError(
            QStringLiteral("Impossible de lire le calendrier %1").arg(fichier));
    lireCalendrierTexte(bytes, debut, fin, lecture);
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
