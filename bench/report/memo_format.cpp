// Memo formatting speed: 10,000 justified memos of 300 characters of French
// text, 150 px wide, Arial 10, measured with Qt's font engine; then the time
// per memo for texts of 300, 3,000 and 30,000 characters, which should grow
// about tenfold each.
#include "platform/canvas/frfont.h"
#include "report/core/frlibrary.h"
#include "report/layout/frmemolayout.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"

#include <QGuiApplication>
#include <chrono>
#include <cstdio>

using namespace report;

namespace
{

QString frenchText(int length)
{
    static const QString words = QStringLiteral(
        "Le comité régional organise les épreuves de la saison : les équipes qualifiées "
        "se retrouvent au centre désigné, où l'arbitre vérifie les licences avant la "
        "première séance. Les résultats sont publiés après homologation, avec les points "
        "d'expert et de performance attribués à chaque joueur classé. ");
    QString text;
    while (text.size() < length)
        text += words;
    text.truncate(length);
    return text;
}

double secondsFor(TfrMemoView &memo, const QString &text, int runs)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) {
        memo.Memo1 = QStringList{text};
        frFormatMemoLines(memo);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::installFontSubstitutions();
    fr().start();
    frObjects().frDocMode = 1;
    TfrMemoView memo;
    memo.SetBounds(0, 0, 150, 100);
    memo.Alignment = frtaJustify;
    memo.Font.Name = QStringLiteral("Arial");
    memo.Font.Size = 10;

    const QString text300 = frenchText(300);
    secondsFor(memo, text300, 100); // warm the measurer's cache
    const double total = secondsFor(memo, text300, 10000);
    std::printf("10000 memos of 300 characters: %.3f s (goal < 0.5 s), %d lines each\n", total,
                int(frObjects().frOutputLines.size()));

    double previous = 0;
    for (int length : {300, 3000, 30000}) {
        const int runs = 3000000 / length;
        const double perMemo = secondsFor(memo, frenchText(length), runs) / runs;
        std::printf("%6d characters: %8.1f us per memo", length, perMemo * 1e6);
        if (previous > 0)
            std::printf("  (x%.1f for ten times the text, goal about 12 at most)",
                        perMemo / previous);
        std::printf("\n");
        previous = perMemo;
    }
    fr().end();
    return 0;
}
