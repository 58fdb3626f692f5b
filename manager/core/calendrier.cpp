#include "manager/core/calendrier.h"

#include "platform/format/format.h"
#include "platform/inifile/inifile.h"
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QCollator>
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
        lecture.lignes.append(platform::DateToStr(jour) + suite);
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
    // By day; lines of the same day keep their order.
    std::vector<std::pair<platform::TDateTime, int>> jours;
    jours.reserve(std::size_t(lecture.lignes.size()));
    for (int i = 0; i < lecture.lignes.size(); ++i) {
        platform::TDateTime d = 0;
        platform::TryStrToDate(Champ(lecture.lignes.at(i), 0), d);
        jours.emplace_back(d, i);
    }
    std::stable_sort(jours.begin(), jours.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });

    // Labels resolved once per code met.
    std::array<QHash<QString, QString>, NombreCodes> resolus;
    auto detail = [&](const QString &l) {
        const QList<QStringView> champs = QStringView(l).split(QLatin1Char(';'));
        QString d;
        d.reserve(l.size() + 16);
        d += champs.value(0);
        d += QLatin1Char(';');
        for (int c = 0; c < NombreCodes; ++c) {
            const QString code = champs.value(c + 1).toString();
            auto it = resolus[std::size_t(c)].find(code);
            if (it == resolus[std::size_t(c)].end())
                it = resolus[std::size_t(c)].insert(code, libelles.libelle(c, code));
            d += *it;
            d += QLatin1Char(';');
        }
        return d;
    };

    Impression out;
    if (genre == QLatin1Char('T')) {
        out.titres.append(0);
        out.lignes.reserve(lecture.lignes.size() + 1);
        out.lignes.append(QStringLiteral("   ;%1;").arg(lecture.lignes.size()));
        for (const auto &j : jours)
            out.lignes.append(detail(lecture.lignes.at(j.second)));
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
    QHash<QString, std::vector<int>> parCle;
    for (const auto &j : jours)
        parCle[Champ(lecture.lignes.at(j.second), code + 1)].push_back(j.second);
    for (const QString &cle : lecture.codes[std::size_t(code)]) {
        const std::vector<int> &lignes = parCle[cle];
        out.titres.append(int(out.lignes.size()));
        out.lignes.append(libelles.libelle(code, cle) + QLatin1Char(';') +
                          QString::number(lignes.size()) + QLatin1Char(';'));
        for (const int i : lignes)
            out.lignes.append(detail(lecture.lignes.at(i)));
    }
    return out;
}

QString jourDeLaSemaine(const QString &jour)
{
    platform::TDateTime d = 0;
    if (!platform::TryStrToDate(jour, d))
        return QString();
    static const char *const noms[] = {"Dimanche", "Lundi",    "Mardi", "Mercredi",
                                       "Jeudi",    "Vendredi", "Samedi"};
    const int n = platform::DayOfWeek(d); // 1 = Sunday
    return n >= 1 && n <= 7 ? QString::fromLatin1(noms[n - 1]) : QString();
}

} // namespace manager
