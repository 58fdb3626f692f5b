#pragma once
// Shared routines of the template builder: an A4 page, bands over the
// window's record source, framed cells and plain texts.
#include "report/objects/frbandview.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <QString>
#include <QStringList>

namespace modeles
{

// The record source every print window gives its data bands.
inline const QString SourceFenetre = QStringLiteral("frUserDataset1");

struct Police {
    int taille = 9;
    bool gras = false;
};

class Modele
{
public:
    // An A4 page, portrait or landscape; the report is emptied first.
    Modele(report::TfrReport &report, bool paysage);

    report::TfrPage &page() { return *m_page; }
    // The usable width of the page in report pixels.
    int largeur() const;

    // A band of that type at design position y; data bands walk the window's
    // record source. Every band but the page footer grows with its texts, and
    // column headings come back at the top of a page that continues them.
    report::TfrBandView *bande(int type, int y, int hauteur, const QString &nom);
    // A row of a table drawn under the band apres (printed right after it), that
    // grows with its tallest cell; the rows of a fixed table are chained so.
    report::TfrBandView *rangee(report::TfrBandView *apres, int y, int hauteur, const QString &nom);
    // A framed cell (text aligned left, right or centred, vertically middle)
    // that wraps at blanks and, in a band that grows, grows with it, so that
    // the frames of a row stay aligned.
    report::TfrMemoView *cellule(const QString &nom, int x, int y, int dx, int dy,
                                 const QString &texte, Police police, qint32 alignement);
    // A text without frame.
    report::TfrMemoView *texte(const QString &nom, int x, int y, int dx, int dy,
                               const QString &texte, Police police,
                               qint32 alignement = report::frtaLeft);
    // "Page [PAGE#]" centred in a page footer band at y.
    void piedDePage(int y);

private:
    report::TfrReport &m_report;
    report::TfrPage *m_page;
};

// One per print window.
void HomologationPaires(report::TfrReport &report);
void ClassemGeneral(report::TfrReport &report);
void RepartitionTheoriquePP(report::TfrReport &report);
void AttibutionPPE(report::TfrReport &report);
void Enveloppes(report::TfrReport &report);
void Calendrier(report::TfrReport &report);
void Convocation(report::TfrReport &report);
void QuatreInscrits(report::TfrReport &report);
void PairesInscrits(report::TfrReport &report);
void MatchQuatre(report::TfrReport &report);
void Groupe4Quatre(report::TfrReport &report);
void HomologationQuatre(report::TfrReport &report);

} // namespace modeles
