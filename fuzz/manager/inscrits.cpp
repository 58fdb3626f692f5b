// A saved entries page or an entries file, as the convocations window takes
// them: recognition, the blocks kept, the lists read at fixed offsets in
// both modes and both kinds, the players texts halved; the first line also
// stands for the file's name. Whatever the bytes, nothing reads past a line
// list, the lists stay parallel, a file cut inside an entry is refused
// whole, and the reading takes time in proportion to the file.
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
    const QString nom = page.value(0);
    for (bool quatre : {true, false}) {
        const Fichier genre = GenreFichier(nom, quatre);
        Fichier attendu = Fichier::Aucun;
        const qsizetype point = nom.lastIndexOf(u'.');
        if (point >= 0 && nom.indexOf(u'/', point) < 0 && nom.indexOf(u'\\', point) < 0) {
            if (nom.mid(point + 1) == Extension(Bloc::Groupe, quatre))
                attendu = Fichier::Groupe;
            else if (nom.mid(point + 1) == Extension(Bloc::Competition, quatre))
                attendu = Fichier::Competition;
        }
        if (genre != attendu)
            std::abort();
    }
    const QList<Bloc> blocs = BlocsDeLaPage(page);
    if (blocs.size() > 2 || (blocs.size() == 2 && blocs[0] != Bloc::Groupe))
        std::abort();
    static const IndexJoueurs joueurs({QStringLiteral("1;;MARTIN;Jean;;;;;;;;;;;jean@x;"),
                                       QStringLiteral("2;;DURAND;Anne;;;;;;;;;;;;")});
    for (Bloc b : {Bloc::Groupe, Bloc::Competition}) {
        if (PageContient(page, Marqueur(b)) != blocs.contains(b))
            std::abort();
        const QStringList garde = GarderBloc(page, b);
        if (garde.size() > page.size() || garde.value(0) != page.value(0))
            std::abort();
    }
    for (Fichier genre : {Fichier::Groupe, Fichier::Competition})
        for (bool quatre : {true, false})
            for (bool trie : {false, true}) {
                ListesConvocation l;
                try {
                    l = Extraire(page, genre, quatre, joueurs, trie, nom);
                } catch (const EInscritsIncomplets &) {
                    continue;
                }
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
