// An iCalendar file with any bytes, read over a window of two years, then the
// print lists of the four kinds built from what it gave; a file that would
// give too many lines is refused whole. The seeds hold the forms calendar
// programs write: durations, times in UTC or in named zones, names in any
// letter case, blank lines, folds inside a letter.
#include "manager/core/calendrier.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QByteArrayView>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace manager;
    LectureCalendrier lecture;
    try {
        lireCalendrierTexte(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)),
                            platform::EncodeDate(2020, 1, 1), platform::EncodeDate(2021, 12, 31),
                            lecture);
    } catch (const platform::EConvertError &e) {
        // A date, time or duration that cannot be read stops the processing,
        // and the message says at which line; nothing of the file stays.
        if (!e.Message().contains(QLatin1String(" (ligne ")) ||
            !e.Message().endsWith(QLatin1Char(')')) || !lecture.lignes.isEmpty())
            std::abort();
        return 0;
    } catch (const ECalendrierError &e) {
        // A calendar past the bounds: refused with its count, nothing kept.
        if (!e.Message().startsWith(QLatin1String("Le calendrier donnerait ")) ||
            !lecture.lignes.isEmpty())
            std::abort();
        return 0;
    }
    if (lecture.lignes.size() > MaxLignesCalendrier)
        std::abort();
    lecture.finir();
    for (const QString &l : lecture.lignes) {
        // Six fields, each ended by ";", one day in the window.
        if (l.count(QLatin1Char(';')) != 6 || !l.endsWith(QLatin1Char(';')))
            std::abort();
        platform::TDateTime jour = 0;
        if (!platform::TryStrToDate(platform::Champ(l, 0), jour) ||
            jour < platform::EncodeDate(2020, 1, 1) || jour > platform::EncodeDate(2021, 12, 31))
            std::abort();
        if (jourDeLaSemaine(platform::Champ(l, 0)).isEmpty())
            std::abort();
    }
    LibellesCalendrier libelles;
    for (const char genre : {'C', 'E', 'A', 'T'}) {
        const Impression imp = ConstruireImpression(lecture, QLatin1Char(genre), libelles);
        qsizetype details = 0;
        for (int g = 0; g < imp.groupes(); ++g) {
            const int n = platform::Champ(imp.lignes.at(imp.titres.at(g)), 1).toInt();
            for (int k = 0; k < n; ++k)
                if (imp.detail(g, k).isEmpty())
                    std::abort();
            if (!imp.detail(g, n).isEmpty())
                std::abort();
            details += n;
        }
        if (details + imp.groupes() != imp.lignes.size())
            std::abort();
        if (genre != 'A' && details != lecture.lignes.size())
            std::abort();
    }
    return 0;
}
