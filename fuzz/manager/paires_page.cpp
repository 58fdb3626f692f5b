// A saved ranking page of the licensee area, as the pairs results window
// takes it: acceptance, the extract of its ranking blocks, the pairs read at
// their fixed offsets, the names decoded and matched, the points computed.
// Whatever the bytes, nothing reads past a line list, a page cut inside a
// pair or read off its lines gives no pair, every pair read has its place
// and both names, and every result line is a whole pairs record.
#include "manager/core/ligneresultat.h"
#include "manager/core/paires.h"
#include "platform/text/codec.h"
#include "platform/text/linefile.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texte =
        platform::fromAnsi(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    static const QRegularExpression fin(QStringLiteral("\r\n|\n|\r"));
    const QStringList page = texte.split(fin);
    for (const QString &ligne : page)
        for (int mode = -1; mode <= 5; ++mode)
            if (manager::TexteHtml(ligne, mode).size() > ligne.size())
                std::abort();
    // Refused pages are read too: the reading must hold on any extract.
    manager::PagePaires(page);
    const QStringList extrait = manager::ExtrairePaires(page);
    if (extrait.size() > page.size() || (!page.isEmpty() && extrait.value(0) != page[0]))
        std::abort();
    // What the extract's "Ouvrir" takes: an extract it gives back unchanged.
    if (manager::ExtraitPaires(page) && manager::ExtrairePaires(page) != page)
        std::abort();
    if (manager::ExtraitPaires(extrait) != (extrait.size() >= 2))
        std::abort();
    for (const QStringList &source : {extrait, page}) {
        QStringList paires;
        try {
            paires = manager::LirePaires(source, QStringLiteral("classement.htm"));
        } catch (const manager::EPageIncomplete &) {
            // Cut inside a pair: nothing is read from it.
            continue;
        } catch (const manager::EClassementAbime &) {
            // A pair read off its lines: nothing is read either.
            continue;
        }
        for (const QString &p : paires) {
            if (p.count(QLatin1Char(';')) != 3 || !p.endsWith(QLatin1Char(';')) ||
                p.contains(QLatin1Char('\n')) || p.contains(QLatin1Char('\r')))
                std::abort();
            for (int champ = 0; champ < 3; ++champ)
                if (platform::Champ(p, champ).trimmed().isEmpty())
                    std::abort();
        }
        manager::FicheJoueur j;
        j.Licence = QStringLiteral("0100001");
        j.Prenom = QStringLiteral("Anne");
        j.Nom = QStringLiteral("NOMA");
        j.Indice = QStringLiteral("30");
        const QStringList lignes =
            manager::CalculPointsPaires(paires, {j}, QStringLiteral("100000"));
        if (lignes.size() != paires.size())
            std::abort();
        for (const QString &l : lignes) {
            const LigneResultat r = lireLigneResultat(l);
            if (!r.complete || platform::Champ(l, 7).toLongLong() <= 0)
                std::abort();
        }
        manager::TotalPoints(lignes, QStringLiteral("classement.chr"));
    }
    return 0;
}
