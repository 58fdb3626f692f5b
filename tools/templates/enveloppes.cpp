// The envelope of the player record window: a DL envelope in landscape, the
// address in its right half, one memo a line so that an empty line keeps
// its place.
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

    auto bande = std::make_unique<TfrBandView>();
    bande->Name = QStringLiteral("Enveloppe");
    bande->SetBandType(btReportTitle);
    bande->SetBounds(0, haut, largeur, hauteur);
    page->Add(std::move(bande));

    const char *lignes[] = {"[Nom]", "[Adresse1]", "[Adresse2]", "[Adresse3]", "[Code] [Ville]"};
    const int x = gauche + largeur / 2;
    const int y = haut + hauteur / 2 - 20;
    for (int i = 0; i < 5; ++i) {
        auto v = std::make_unique<TfrMemoView>();
        v->Name = QStringLiteral("Ligne%1").arg(i + 1);
        v->SetBounds(x, y + i * 22, largeur / 2 - 10, 20);
        v->Memo = QStringList{QString::fromLatin1(lignes[i])};
        v->Font.Name = QStringLiteral("Arial");
        v->Font.Size = 12;
        v->Font.Style = 0;
        v->Alignment = frtaLeft;
        v->Flags = 0; // no wrap, no stretch
        v->FrameTyp = 0;
        page->Add(std::move(v));
    }
}

} // namespace modeles
