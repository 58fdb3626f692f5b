// A saved entries page or an entries file, as the convocations window takes
// them: recognition, the blocks kept, the lists read at fixed offsets in
// both modes and both kinds, the players texts halved. Whatever the bytes,
// nothing reads past a line list and the lists stay parallel.
#include "manager/core/inscrits.h"
#include "platform/text/codec.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdlib>

using namespace manager::inscrits;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texte =
        platform::fromAnsi(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    static const QRegularExpression fin(QStringLiteral("\r\n|\n|\r"));
    const QStringList page = texte.split(fin);
    for (const QString &l : page)
        for (int mode = 0; mode <= 3; ++mode)
            if (TexteHtml(l, mode).size() > l.size())
                std::abort();
    static const IndexJoueurs joueurs({QStringLiteral("1;;MARTIN;Jean;;;;;;;;;;;jean@x;"),
                                       QStringLiteral("2;;DURAND;Anne;;;;;;;;;;;;")});
    for (Bloc b : {Bloc::Groupe, Bloc::Competition}) {
        PageContient(page, Marqueur(b));
        const QStringList garde = GarderBloc(page, b);
        if (garde.size() > page.size() || garde.value(0) != page.value(0))
            std::abort();
    }
    for (Fichier genre : {Fichier::Groupe, Fichier::Competition})
        for (bool quatre : {true, false})
            for (bool trie : {false, true}) {
                const ListesConvocation l = Extraire(page, genre, quatre, joueurs, trie);
                const qsizetype n = l.classement.size();
                if (l.joueurs.size() != n || l.indice.size() != n ||
                    l.club.size() != (quatre ? n : 0) || l.courriels.size() > 7 * n)
                    std::abort();
                for (const QString &j : l.joueurs) {
                    const auto [a, b] = DecouperLignes(j);
                    QString sans = a + b;
                    sans.remove(QStringLiteral("\r\n"));
                    if (sans != j)
                        std::abort();
                }
            }
    return 0;
}
