// The convocations window: the simple convocation (header only, one copy)
// and the convocations with the list of the entered teams or pairs.
#include "modeles.h"

using namespace report;

namespace modeles
{

namespace
{

constexpr int Libelle = 150; // width of the labels of the header lines

// A header value: wraps and grows with its text.
TfrMemoView *valeur(Modele &m, const QString &nom, int x, int y, int dx, int dy,
                    const QString &texte, int taille)
{
    TfrMemoView *v = m.texte(nom, x, y, dx, dy, texte, Police{taille, false});
    v->Alignment = frtaLeft;
    v->Flags = flWordWrap | flStretched;
    return v;
}

TfrMemoView *etiquette(Modele &m, const QString &nom, int y, const QString &texte, int taille,
                       int pas)
{
    TfrMemoView *v =
        m.texte(nom, 0, y, Libelle, std::min(taille + 8, pas), texte, Police{taille, false});
    v->Alignment = frtaLeft;
    return v;
}

// The header lines, label then value(s), each in a band of its own printed
// under the one before (rang), so that a value of several lines pushes the
// lines under it down; returns the y below them.
int lignesEntete(Modele &m, TfrBandView *&rang, int y, int taille, int pas)
{
    const int l = m.largeur();
    const int dx = l - Libelle;
    const struct {
        const char *libelle;
        const char *valeur1;
        const char *valeur2;
    } lignes[] = {
        {"Date : ", "[date]", nullptr},
        {"Lieu : ", "[lieu]", "[Informations_Lieu]"},
        {"Horaires : ", "[horaires1]", "[horaires2]"},
        {"Modalités : ", "[modalites]", nullptr},
        {"Droit d'engagement : ", "[prix]", nullptr},
        {"Caution : ", "[caution]", nullptr},
        {nullptr, "[pause]", nullptr},
        {"Arbitre : ", "[arbitre]", "[info_arbitre]"},
        {"Responsable : ", "[responsable]", "[info_responsable]"},
    };
    int n = 0;
    for (const auto &ligne : lignes) {
        ++n;
        ++y; // an object on a band's bottom edge would belong to that band
        rang = m.rangee(rang, y, pas, QStringLiteral("Ligne%1").arg(n));
        if (ligne.libelle) {
            etiquette(m, QStringLiteral("Libelle%1").arg(n), y, QString::fromUtf8(ligne.libelle),
                      taille, pas);
            valeur(m, QStringLiteral("Valeur%1").arg(n), Libelle, y, dx, pas,
                   QString::fromLatin1(ligne.valeur1), taille);
        } else {
            valeur(m, QStringLiteral("Valeur%1").arg(n), 0, y, l, pas,
                   QString::fromLatin1(ligne.valeur1), taille);
        }
        y += pas;
        if (ligne.valeur2) {
            ++y;
            rang = m.rangee(rang, y, pas, QStringLiteral("LigneComplement%1").arg(n));
            valeur(m, QStringLiteral("Complement%1").arg(n), Libelle, y, dx, pas,
                   QString::fromLatin1(ligne.valeur2), taille);
            y += pas;
        }
    }
    return y;
}

// Season, title, event and phase, centred; returns the y below them.
int titre(Modele &m, int y, int grand, int moyen, int texte)
{
    const int l = m.largeur();
    m.texte(QStringLiteral("Saison"), 0, y, l, texte + 8, QStringLiteral("Saison [saison]"),
            Police{texte, false});
    y += texte + 10;
    m.texte(QStringLiteral("Titre"), 0, y, l, grand + 12, QStringLiteral("Convocation"),
            Police{grand, true}, frtaCenter);
    y += grand + 14;
    for (const char *v : {"[epreuve]", "[phase]"}) {
        TfrMemoView *t = m.texte(QString(), 0, y, l, moyen + 10, QString::fromLatin1(v),
                                 Police{moyen, true}, frtaCenter);
        t->Name = QString::fromLatin1(v).mid(1).chopped(1);
        y += moyen + 12;
    }
    return y;
}

// The warning (italic) and the publication line (right), each a band under
// rang; espace is left under the publication line.
int fin(Modele &m, TfrBandView *&rang, int y, int taille, int pas, int espace)
{
    const int l = m.largeur();
    ++y;
    rang = m.rangee(rang, y, 2 * pas, QStringLiteral("LigneAvertissement"));
    TfrMemoView *a = valeur(m, QStringLiteral("Avertissement"), 0, y, l, 2 * pas,
                            QStringLiteral("[avertissement]"), taille);
    a->Font.Style = 1; // italic
    y += 2 * pas + 1;
    rang = m.rangee(rang, y, pas + espace, QStringLiteral("LignePublication"));
    TfrMemoView *p = m.texte(QStringLiteral("Publication"), 0, y, l, pas,
                             QStringLiteral("[publication]"), Police{taille, false}, frtaRight);
    p->Alignment = frtaRight;
    return y + pas;
}

void pied(Modele &m, int y, bool numero)
{
    m.bande(btPageFooter, y, numero ? 36 : 20, QStringLiteral("PiedDePage"));
    m.texte(QStringLiteral("Pied"), 0, y + 2, m.largeur(), 16, QStringLiteral("[pied2]"),
            Police{8, false}, frtaCenter);
    if (numero)
        m.texte(QStringLiteral("NumeroPage"), 0, y + 18, m.largeur(), 16,
                QStringLiteral("Page [PAGE#]"), Police{8, false}, frtaCenter);
}

// A list of the entries under a compact header.
void liste(TfrReport &report, bool quatre)
{
    Modele m(report, false);
    const int l = m.largeur();
    int y = titre(m, 0, 14, 11, 9) + 4;
    TfrBandView *rang = m.bande(btReportTitle, 0, y, QStringLiteral("Entete"));
    y = lignesEntete(m, rang, y, 9, 16);
    y = fin(m, rang, y, 9, 16, 8);

    // Columns: entry, club (teams), the players in two columns, value index.
    struct Colonne {
        const char *titre;
        const char *valeur;
        int largeur;
        bool gras;
    };
    const int indice = 50;
    QList<Colonne> colonnes;
    if (quatre) {
        const int joueurs = (l - 170 - 130 - indice) / 2;
        colonnes = {{"Equipe", "[classement2]", 170, true},
                    {"Club", "[club2]", 130, false},
                    {"Joueurs", "[nom2]", joueurs, false},
                    {nullptr, "[joueur2]", l - 170 - 130 - indice - joueurs, false},
                    {"Indice", "[indice2]", indice, false}};
    } else {
        const int joueurs = (l - 220 - indice) / 2;
        colonnes = {{"Paire", "[classement2]", 220, true},
                    {"Joueurs", "[nom2]", joueurs, false},
                    {nullptr, "[joueur2]", l - 220 - indice - joueurs, false},
                    {"Indice", "[indice2]", indice, false}};
    }
    const int yEntete = y + 20;
    const int yLignes = yEntete + 40;
    m.bande(btMasterHeader, yEntete, 18, QStringLiteral("Colonnes"));
    m.bande(btMasterData, yLignes, 30, QStringLiteral("Inscrits"));
    int x = 0, n = 0;
    for (int i = 0; i < colonnes.size(); ++i) {
        const Colonne &c = colonnes[i];
        ++n;
        if (c.titre) {
            // "Joueurs" spans both players' columns.
            const int largeur = i + 1 < colonnes.size() && !colonnes[i + 1].titre
                                    ? c.largeur + colonnes[i + 1].largeur
                                    : c.largeur;
            TfrMemoView *e = m.cellule(QStringLiteral("Colonne%1").arg(n), x, yEntete, largeur, 18,
                                       QString::fromUtf8(c.titre), Police{9, true}, frtaCenter);
            e->FillColor = 0x00C0C0C0;
        }
        TfrMemoView *v = m.cellule(QStringLiteral("Inscrit%1").arg(n), x, yLignes, c.largeur, 30,
                                   QString::fromLatin1(c.valeur), Police{9, c.gras}, frtaLeft);
        v->Alignment = frtaLeft;
        v->Flags = flWordWrap | flStretched;
        x += c.largeur;
    }
    pied(m, yLignes + 60, true);
}

} // namespace

void Convocation(TfrReport &report)
{
    Modele m(report, false);
    int y = titre(m, 0, 16, 14, 11) + 16;
    TfrBandView *rang = m.bande(btReportTitle, 0, y, QStringLiteral("Convocation"));
    y = lignesEntete(m, rang, y, 11, 34);
    y = fin(m, rang, y, 11, 22, 8);
    pied(m, y + 40, false);
}

void QuatreInscrits(TfrReport &report)
{
    liste(report, true);
}

void PairesInscrits(TfrReport &report)
{
    liste(report, false);
}

} // namespace modeles
