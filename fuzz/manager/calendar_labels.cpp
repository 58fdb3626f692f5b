// The labels of the calendar codes, read from a settings file with any
// bytes as the calendars window reads them, then the print lists of a
// calendar whose lines use every code of the file. A code's label is the
// value of its first key (letter case ignored), or the code itself when
// that value is blank; no label breaks the ";" records it goes into;
// reading leaves the file as it was.
#include "manager/core/calendrier.h"
#include "platform/format/format.h"
#include "platform/inifile/inifile.h"
#include "platform/text/linefile.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace manager;

namespace
{

void verifie(bool condition)
{
    if (!condition)
        std::abort();
}

bool propre(const QString &texte)
{
    return !texte.contains(u';') && !texte.contains(u'\r') && !texte.contains(u'\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("Vorn_Lud.ini"));
    const QByteArray octets(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile f(chemin);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(octets);
    }
    const LibellesCalendrier libelles(chemin);

    const platform::TIniFile ini(chemin);
    LectureCalendrier lecture;
    std::array<QStringList, NombreCodes> codes;
    for (int c = 0; c < NombreCodes; ++c) {
        QHash<QString, QString> premiers;
        for (const QString &cle : ini.ReadSection(sectionCode(c))) {
            if (!premiers.contains(cle.toLower()))
                premiers.insert(cle.toLower(), ini.ReadString(sectionCode(c), cle, QString()));
            const QString valeur = premiers.value(cle.toLower());
            const QString l = libelles.libelle(c, cle);
            verifie(l == (valeur.trimmed().isEmpty() ? cle : texteDeChamp(valeur)));
            // The codes a calendar gives have been through the same cleaning.
            const QString code = texteDeChamp(cle);
            verifie(propre(libelles.libelle(c, code)));
            codes[std::size_t(c)].append(code);
        }
        verifie(libelles.libelle(c, QString()).isEmpty());
    }
    // One line a day per key, every code of a line the n-th of its section.
    qsizetype n = 0;
    for (const QStringList &l : codes)
        n = std::max(n, l.size());
    for (qsizetype i = 0; i < n && i < 400; ++i) {
        QString ligne = platform::DateToStr(platform::EncodeDate(2021, 1, 1) + double(i)) + u';';
        for (int c = 0; c < NombreCodes; ++c)
            ligne += codes[std::size_t(c)].value(i) + u';';
        lecture.lignes.append(ligne);
        for (int c = 0; c < NombreCodes; ++c)
            lecture.codes[std::size_t(c)].append(codes[std::size_t(c)].value(i));
    }
    lecture.finir();
    for (const char genre : {'C', 'E', 'A', 'T'}) {
        const Impression imp = ConstruireImpression(lecture, QLatin1Char(genre), libelles);
        for (int g = 0; g < imp.groupes(); ++g) {
            verifie(imp.lignes.at(imp.titres.at(g)).count(u';') == 2);
            const int details = platform::Champ(imp.lignes.at(imp.titres.at(g)), 1).toInt();
            for (int k = 0; k < details; ++k)
                verifie(imp.detail(g, k).count(u';') == 1 + NombreCodes);
        }
    }

    QFile f(chemin);
    verifie(f.open(QIODevice::ReadOnly) && f.readAll() == octets);
    return 0;
}
