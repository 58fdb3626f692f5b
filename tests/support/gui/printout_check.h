#pragma once
// Prepared pages read as paper: every fault that hides or loses a word of a
// printout. Two texts of one page that overlap, a memo whose wrapped lines
// need more height than it has, a line wider than its memo (cut at its
// edge), a word broken across two lines, an object outside the printer's
// printable area. The memos are measured as the program prints them: with
// the Qt text measurer over the installed fonts (Liberation stands for
// "Arial"), whatever measurer the test installed for its preparation.
// Header-only: the binaries that use it link the report engine.
#include "platform/canvas/textmeasurer.h"
#include "report/core/frutils.h"
#include "report/io/fremfpages.h"
#include "report/layout/frmemolayout.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frview.h"

#include <QRect>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

namespace vorn_test
{

namespace detail
{

inline QString sansMarques(QString s)
{
    s.remove(report::kFrParagraphMark);
    return s;
}

inline QString decrire(int page, const report::TfrView &v)
{
    QString texte = v.Memo.join(QLatin1Char('/'));
    texte.remove(report::kFrParagraphMark);
    if (texte.size() > 40)
        texte = texte.left(37) + QStringLiteral("...");
    return QStringLiteral("page %1, %2 \"%3\" at %4,%5 size %6x%7")
        .arg(page + 1)
        .arg(v.Name, texte)
        .arg(v.x)
        .arg(v.y)
        .arg(v.dx)
        .arg(v.dy);
}

// The faults of one memo as it will be drawn: its lines wrapped to its width
// exactly as the drawing does, their height against its own, each line's
// width against the room between its gaps, and where each wrap fell.
inline void defautsDuMemo(int page, report::TfrMemoView &m, const QSet<QString> &mots,
                          QStringList &defauts)
{
    report::FrObjectGlobals &g = report::frObjects();
    const QString nom = decrire(page, m);
    const QChar marque = report::kFrParagraphMark;
    QStringList paragraphes = m.Memo;
    // A piece of a memo split over pages ends with a lone mark.
    if (!paragraphes.isEmpty() && paragraphes.last() == QString(marque))
        paragraphes.removeLast();
    const platform::FrFont police = m.Font.canvasFont(1.0);
    const platform::TextMeasurer &mesure = g.measuringCanvas().measurer();
    const int place = m.dx - 2 * m.GapX;
    const auto coupe = [&](const QString &avant, const QString &apres) {
        defauts << nom + QStringLiteral(": the word \"%1\" is cut across two lines")
                             .arg(sansMarques(avant).section(QLatin1Char(' '), -1) +
                                  sansMarques(apres).section(QLatin1Char(' '), 0, 0));
    };
    QStringList lignes;
    if (paragraphes.join(QString()).contains(marque)) {
        // Lines broken already (a memo that grew with its band keeps them),
        // the blank of each break dropped: a break fell inside a word when
        // the piece before or after it is no word of the printed data.
        lignes = paragraphes;
        for (int k = 0; k + 1 < lignes.size() && !mots.isEmpty(); ++k) {
            const QString avant = sansMarques(lignes[k]).trimmed();
            const QString apres = sansMarques(lignes[k + 1]).trimmed();
            if (lignes[k].contains(marque) || avant.isEmpty() || apres.isEmpty())
                continue;
            if (!mots.contains(avant.section(QLatin1Char(' '), -1)) ||
                !mots.contains(apres.section(QLatin1Char(' '), 0, 0)))
                coupe(avant, apres);
        }
    } else {
        for (const QString &paragraphe : std::as_const(paragraphes)) {
            if (!(m.Flags & report::flWordWrap)) {
                lignes << paragraphe;
                continue;
            }
            m.Memo1 = QStringList{paragraphe};
            report::frFormatMemoLines(m);
            const QStringList sortie = g.frOutputLines;
            // Each wrap must fall on a blank, which the wrapping drops.
            qsizetype pos = 0;
            for (int k = 0; k + 1 < sortie.size(); ++k) {
                pos += sansMarques(sortie[k]).size();
                if (pos < paragraphe.size() && paragraphe.at(pos) == QLatin1Char(' '))
                    ++pos;
                else
                    coupe(sortie[k], sortie[k + 1]);
            }
            lignes << sortie;
        }
    }
    for (const QString &ligne : std::as_const(lignes)) {
        const int largeur = mesure.width(police, sansMarques(ligne), m.CharSpacing);
        if (largeur > place)
            defauts << nom + QStringLiteral(": the line \"%1\" needs %2 px, the memo has %3")
                                 .arg(sansMarques(ligne))
                                 .arg(largeur)
                                 .arg(place);
    }
    const int hauteurLigne = std::max(1, std::abs(police.height) + m.LineSpacing);
    const qint64 besoin = qint64(lignes.size()) * hauteurLigne + 2 * m.GapY;
    if (!lignes.isEmpty() && besoin > m.dy)
        defauts << nom + QStringLiteral(": %1 lines need %2 px, the memo is %3 px high")
                             .arg(lignes.size())
                             .arg(besoin)
                             .arg(m.dy);
}

} // namespace detail

// The words of texts, as the check compares them with the pieces of a
// broken line.
inline QSet<QString> motsDe(const QStringList &textes)
{
    QSet<QString> mots;
    for (const QString &t : textes)
        for (const QString &m :
             t.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
            mots.insert(m);
    return mots;
}

// Every fault of the prepared pages, one line each; empty when every word of
// every page shows. mots, the words of everything printed (template texts
// and data, see motsDe), lets the check tell a line broken at a blank from
// a word broken in two in a memo that grew with its band; without them
// only the memos that did not grow are checked for broken words.
inline QStringList defautsImpression(report::TfrEMFPages &pages, const QSet<QString> &mots = {})
{
    report::FrObjectGlobals &g = report::frObjects();
    QStringList defauts;
    const platform::TextMeasurer *avant = &g.measurer();
    g.setMeasurer(nullptr); // the program's own
    const int mode = g.frDocMode;
    g.frDocMode = 1;
    for (int p = 0; p < pages.Count(); ++p) {
        report::TfrEMFPage &entree = *pages.Entry(p);
        const bool construite = entree.Page != nullptr;
        if (!construite)
            pages.BuildPageObjects(p);
        const report::TfrPrnInfo &geo = entree.PrinterGeometry;
        const QRect imprimable = geo.Pw > 0 && geo.Ph > 0 ? QRect(geo.Ofx, geo.Ofy, geo.Pw, geo.Ph)
                                                          : QRect(0, 0, geo.Pgw, geo.Pgh);
        struct Texte {
            QRect rect;
            QString nom;
        };
        std::vector<Texte> textes;
        for (const auto &vue : entree.Page->Objects) {
            const QRect r(vue->x, vue->y, std::max(1, vue->dx), std::max(1, vue->dy));
            if (!imprimable.isEmpty() && !imprimable.contains(r))
                defauts << detail::decrire(p, *vue) +
                               QStringLiteral(": outside the printable area %1,%2 %3x%4")
                                   .arg(imprimable.x())
                                   .arg(imprimable.y())
                                   .arg(imprimable.width())
                                   .arg(imprimable.height());
            auto *memo = dynamic_cast<report::TfrMemoView *>(vue.get());
            if (!memo || detail::sansMarques(memo->Memo.join(QString())).trimmed().isEmpty())
                continue;
            detail::defautsDuMemo(p, *memo, mots, defauts);
            for (const Texte &t : textes)
                if (t.rect.intersects(r))
                    defauts << detail::decrire(p, *vue) + QStringLiteral(": overlaps ") + t.nom;
            textes.push_back({r, detail::decrire(p, *vue)});
        }
        if (!construite)
            entree.Page.reset();
    }
    g.frDocMode = mode;
    g.setMeasurer(avant);
    return defauts;
}

} // namespace vorn_test
