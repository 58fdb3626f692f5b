#include "modeles.h"

using namespace report;

namespace modeles
{

namespace
{
constexpr int A4 = 9;
} // namespace

Modele::Modele(TfrReport &report, bool paysage) : m_report(report)
{
    report.Clear();
    m_page = report.Pages().Add();
    m_page->ChangePaper(A4, 0, 0, kFrDefaultBin, paysage ? 1 : 0);
    m_page->Name = QStringLiteral("Page1");
}

int Modele::largeur() const
{
    return m_page->RightMarginPos() - m_page->LeftMarginPos();
}

TfrBandView *Modele::bande(int type, int y, int hauteur, const QString &nom)
{
    auto v = std::make_unique<TfrBandView>();
    v->Name = nom;
    v->SetBandType(type);
    v->SetBounds(0, y, largeur(), hauteur);
    if (type == btMasterData)
        v->FormatStr = SourceFenetre;
    if (type == btPageFooter || type == btPageHeader)
        v->Flags = flBandOnFirstPage | flBandOnLastPage;
    // A row whose text wraps must hold all its lines: a band that does not
    // grow cuts them and prints the rest over the next row.
    if (type != btPageFooter)
        v->Flags |= flStretched;
    if (type == btMasterHeader || type == btDetailHeader)
        v->Flags |= flBandRepeatHeader;
    return static_cast<TfrBandView *>(m_page->Add(std::move(v)));
}

TfrBandView *Modele::rangee(TfrBandView *apres, int y, int hauteur, const QString &nom)
{
    TfrBandView *v = bande(btChild, y, hauteur, nom);
    apres->ChildBand = nom;
    return v;
}

TfrMemoView *Modele::texte(const QString &nom, int x, int y, int dx, int dy, const QString &texte,
                           Police police, qint32 alignement)
{
    auto v = std::make_unique<TfrMemoView>();
    v->Name = nom;
    v->SetBounds(m_page->LeftMarginPos() + x, y, dx, dy);
    v->Memo = QStringList{texte};
    v->Font.Name = QStringLiteral("Arial");
    v->Font.Size = police.taille;
    // The library's style bits: 1 italic, 2 bold.
    v->Font.Style = police.gras ? 2 : 0;
    v->Alignment = alignement | frtaMiddle;
    v->Flags = flWordWrap;
    v->GapX = 2;
    return static_cast<TfrMemoView *>(m_page->Add(std::move(v)));
}

TfrMemoView *Modele::cellule(const QString &nom, int x, int y, int dx, int dy, const QString &t,
                             Police police, qint32 alignement)
{
    TfrMemoView *v = texte(nom, x, y, dx, dy, t, police, alignement);
    v->FrameTyp = 15;
    v->Flags = flWordWrap | flStretched;
    return v;
}

void Modele::piedDePage(int y)
{
    bande(btPageFooter, y, 20, QStringLiteral("PiedDePage"));
    texte(QStringLiteral("NumeroPage"), 0, y + 2, largeur(), 16, QStringLiteral("Page [PAGE#]"),
          Police{8, false}, frtaCenter);
}

} // namespace modeles
