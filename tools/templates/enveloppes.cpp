// The envelope of the player record window: a DL envelope in landscape, the
// address in its right half.
#include "modeles.h"

using namespace report;

namespace modeles
{

namespace
{
constexpr int DL = 27; // 110 x 220 mm
} // namespace

void Enveloppes(TfrReport &report)
{
    report.Clear();
    TfrPage *page = report.Pages().Add();
    page->Name = QStringLiteral("Page1");
    // A printer that lacks the envelope takes it as a custom size.
    page->ChangePaper(DL, 1100, 2200, kFrDefaultBin, 1);
    const int gauche = page->LeftMarginPos();
    const int largeur = page->RightMarginPos() - gauche;
    const int haut = page->TopMarginPos();
    const int hauteur = page->BottomMarginPos() - haut;

    // The band ends with the address, so that it grows as soon as the
    // address needs more lines.
    const int x = gauche + largeur / 2 - 40;
    const int y = haut + hauteur / 2 - 40;
    const int h = 5 * 22 + 2;
    auto bande = std::make_unique<TfrBandView>();
    bande->Name = QStringLiteral("Enveloppe");
    bande->SetBandType(btReportTitle);
    bande->SetBounds(0, haut, largeur, y + h - haut);
    bande->Flags |= flStretched;
    page->Add(std::move(bande));

    // The five lines in one memo: an empty line keeps its place, and a long
    // name or address wraps at its blanks inside the envelope, pushing the
    // lines under it down instead of running over them or off the paper.
    auto v = std::make_unique<TfrMemoView>();
    v->Name = QStringLiteral("Adresse");
    v->SetBounds(x, y, gauche + largeur - x - 10, h);
    v->Memo = QStringList{QStringLiteral("[Nom]"), QStringLiteral("[Adresse1]"),
                          QStringLiteral("[Adresse2]"), QStringLiteral("[Adresse3]"),
                          QStringLiteral("[Code] [Ville]")};
    v->Font.Name = QStringLiteral("Arial");
    v->Font.Size = 12;
    v->Font.Style = 0;
    v->Alignment = frtaLeft;
    v->LineSpacing = 6; // 22 pixels a line, as the envelopes always had
    v->Flags = flWordWrap | flStretched;
    v->FrameTyp = 0;
    page->Add(std::move(v));
}

} // namespace modeles
