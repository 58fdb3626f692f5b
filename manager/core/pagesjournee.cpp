#include "manager/core/pagesjournee.h"

#include "manager/core/classement.h"
#include "manager/core/genrefichier.h"
#include "manager/core/impressionquatre.h"
#include "manager/core/ligneresultat.h"
#include "manager/core/pageschallenge.h"
#include "manager/core/poulequatre.h"
#include "manager/core/tableaugroupe.h"
#include "manager/core/vorn_dec.h"
#include "platform/clock/clock.h"
#include "platform/text/exceptions.h"

#include "platform/text/convert.h"
#include "platform/text/linefile.h"
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace manager
{

namespace
{

QString regleLien(const char *classe, const char *etat, const char *fond, const char *couleur)
{
    return QStringLiteral("a.%1:%2 { text-decoration: none; background-color: %3; color: %4; "
                          "font-family: Arial; font-size: 16pt; font-style: none; "
                          "font-weight: bold }")
        .arg(QLatin1String(classe), QLatin1String(etat), QLatin1String(fond),
             QLatin1String(couleur));
}

void regles(QStringList &p, const char *classe, const char *fond)
{
    for (const char *etat : {"link", "visited"})
        p << regleLien(classe, etat, fond, "#0000FF");
    p << regleLien(classe, "active", "#0000FF",
                   fond == QByteArrayView("#CCFFFF") ? "#00FFFF" : fond)
      << regleLien(classe, "hover", "#0000FF", "#FFFFFF");
}

void celluleLaterale(QStringList &p, bool large)
{
    p << (large ? QStringLiteral("<TD bgColor=#0000ff width=\"5%\" align=middle>")
                : QStringLiteral("<TD bgColor=#0000ff align=middle>"))
      << QStringLiteral("<FONT color=#ffffff size=3 face=Arial>&nbsp;")
      << QStringLiteral("</FONT></B></TD>");
}

// A result file name turned into its page name, or empty when that page
// would be written outside the folder or over a page the generation writes
// itself: a ranking page, a teams-of-four journée page or a match page (a
// pairs file named "Quatre1.chr" would otherwise replace journée 1's page,
// or be replaced by it). A control character never names a file on the
// committee's machines, and a NUL would cut the name short when the file is
// created ("Quatre1.htm" + NUL + ".chr" would replace journée 1's page).
QString nomDePage(const QString &fichier)
{
    static const QRegularExpression reservees(
        QStringLiteral("^(challenge|challengecat|quatre[0-9]+|match[0-9]{6})\\.htm$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString base = fichier.left(qMax<qsizetype>(0, fichier.size() - 4));
    const QString nom = base + QStringLiteral(".htm");
    const bool interdit = std::any_of(nom.cbegin(), nom.cend(), [](QChar c) {
        return c == u'/' || c == u'\\' || c.unicode() < 0x20;
    });
    if (base.isEmpty() || interdit || reservees.match(nom).hasMatch())
        return QString();
    return nom;
}

} // namespace

void TeteDePage(QStringList &p, GenrePage genre, const QString &saison)
{
    const bool paires = genre == GenrePage::Paires;
    p << QStringLiteral("<html><head>")
      << (paires ? QStringLiteral("<title>Compétitions Résultats Paires</title>")
                 : QStringLiteral("<title>Compétitions Résultats Quatre</title>"))
      << QStringLiteral("<style><!-- ");
    if (genre != GenrePage::Feuilles)
        regles(p, "Lien", "#CCFFFF");
    if (!paires)
        regles(p, "LienCh", "#66FF99");
    p << QStringLiteral(" --></style>") << QStringLiteral("</head>")
      << QStringLiteral(
             "<body topmargin=\"0\" leftmargin=\"0\" bgcolor=\"#FFFFE6\" TEXT=\"#000000\" >");
    const QString s = EchapperHtml(saison);
    p << QStringLiteral("<table cellspacing=\"0\" width=\"100%\">") << QStringLiteral("<tr>")
      << (paires ? QStringLiteral("<td align=\"center\" bgcolor=\"#ccffff\" height=\"31\">")
                 : QStringLiteral("<td align=\"center\" bgcolor=\"#66ff99\" height=\"31\">"))
      << QStringLiteral("<b><font color=\"#0000ff\" face=\"Arial\" size=\"5\">");
    if (paires)
        p << QStringLiteral("<a Class=\"Lien\" href=\"Challenge.htm\" target=principal>")
          << QStringLiteral("&nbsp;") + s + QStringLiteral(" Classement Open&nbsp;")
          << QStringLiteral("</a>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;")
          << QStringLiteral("<a Class=\"Lien\" href=\"ChallengeCat.htm\" target=principal>")
          << QStringLiteral("&nbsp;") + s + QStringLiteral(" Classement Spécial Catégoriel&nbsp;");
    else
        p << QStringLiteral("<a Class=\"LienCh\" href=\"Challenge.htm\" target=principal>")
          << QStringLiteral("&nbsp;") + s + QStringLiteral(" Challenge de Ludmarre&nbsp;");
    p << QStringLiteral("</a></font> </b> </td> </tr> ") << QStringLiteral("</table>");
    p << QStringLiteral("<table border=\"1\" cellspacing=\"0\" width=\"100%\">")
      << QStringLiteral("<tr><td bgcolor=\"#0000ff\" height=\"31\" valign=\"middle\" "
                        "align=\"center\" width=\"100%\">")
      << QStringLiteral("<b><font color=\"#ffffff\" size=\"5\" face=\"Arial\">")
      << (genre == GenrePage::Quatre
              ? QStringLiteral("Résultats &eacute;preuve par quatre du challenge")
          : genre == GenrePage::Feuilles
              ? QStringLiteral("Feuilles de match")
              : QStringLiteral("Homologation &eacute;preuve par paires du challenge"))
      << QStringLiteral("</tr></td></font></b>") << QStringLiteral("<tr>")
      << QStringLiteral("<td width=\"100%\">")
      << QStringLiteral(
             "<table border=\"2\" BORDERCOLOR=\"#0000FF\" cellspacing=\"0\" width=\"100%\">");
}

void PiedDePage(QStringList &p)
{
    p << QStringLiteral("</table>") << QStringLiteral("</td></tr>") << QStringLiteral("</table>")
      << QStringLiteral("</body></html>");
}

namespace
{

// The pages of one generation, written once every file they come from has
// been read whole: a file refused halfway leaves no half set of pages.
using PagesAEcrire = QList<std::pair<QString, QStringList>>;

void ecrirePages(const PagesAEcrire &pages)
{
    for (const auto &[chemin, lignes] : pages)
        platform::LineFile::checkWritable(chemin);
    for (const auto &[chemin, lignes] : pages)
        platform::LineFile::write(chemin, lignes);
}

QString pagePaires(const QStringList &tournois, int j, const QString &saison,
                   const QString &dossierSaison, const QString &dossierPages, PagesAEcrire &ecrites)
{
    QStringList p;
    QString nom;
    bool premier = true;
    TeteDePage(p, GenrePage::Paires, saison);
    for (const QString &t : tournois) {
        int colonne = 0;
        const QString fichier = platform::Champ(t, 6);
        if (!platform::TryStrToInt(platform::Champ(t, 4), colonne) || colonne != j ||
            fichier.isEmpty())
            continue;
        if (premier) {
            premier = false;
            nom = nomDePage(fichier);
            if (nom.isEmpty())
                return QString();
        }
        const QStringList resultats = LireResultats(dossierSaison + fichier);
        p << QStringLiteral("<tr>")
          << QStringLiteral("<td colspan=\"6\" align=\"center\" height=\"37\" width=\"100%\">")
          << QStringLiteral("<b><font color=\"#0000ff\" face=\"Arial\" size=\"6\">")
          << EchapperHtml(platform::Champ(t, 2)) << QStringLiteral("</font></b></td>")
          << QStringLiteral("</tr>") << QStringLiteral("<tr bgcolor=\"#0000ff\">")
          << QStringLiteral(
                 "<td colspan=\"6\" align=\"center\"  height=\"15\" width=\"100%\">&nbsp;")
          << QStringLiteral("</td>") << QStringLiteral("</tr>");
        p << QStringLiteral("<tr>");
        celluleLaterale(p, true);
        p << QStringLiteral("<td bgcolor=\"#0000ff\" width=\"10%\" align=\"center\">")
          << QStringLiteral("<b><font color=\"#ffffff\" face=\"Arial\" size=\"3\">")
          << QStringLiteral("Place") << QStringLiteral("</font></b></td>");
        for (const char *joueur : {"Joueur 1", "Joueur 2"})
            p << QStringLiteral("<td bgcolor=\"#00FFff\" width=\"30%\" align=\"left\">")
              << QStringLiteral("<b><font color=\"#0000ff\" face=\"Arial\" size=\"3\">")
              << QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;") + QLatin1String(joueur)
              << QStringLiteral("</font></b></td>");
        p << QStringLiteral("<td bgcolor=\"#0000ff\" width=\"20%\" align=\"center\">")
          << QStringLiteral("<b><font color=\"#ffffff\" face=\"Arial\" size=\"3\">")
          << QStringLiteral("Points de Challenge") << QStringLiteral("</font></b></td>");
        celluleLaterale(p, true);
        p << QStringLiteral("</tr>");
        for (const QString &l : resultats) {
            if (l.count(u';') < 8)
                continue;
            auto police = [&](int nomChamp, int licence) {
                return !platform::Champ(l, nomChamp).isEmpty() &&
                               !platform::Champ(l, licence).isEmpty()
                           ? QStringLiteral("<FONT COLOR=\"#000000\" face=\"Arial\" size=\"3\">")
                           : QStringLiteral("<FONT COLOR=\"#AEAEAE\" face=\"Arial\" size=\"3\">");
            };
            p << QStringLiteral("<tr bgcolor=\"#FFFFE6\">");
            celluleLaterale(p, false);
            p << QStringLiteral("<td align=\"center\">")
              << QStringLiteral("<font color=\"#000000\" face=\"Arial\" size=\"3\">")
              << EchapperHtml(platform::Champ(l, 0)) << QStringLiteral("</font>")
              << QStringLiteral("</td>") << QStringLiteral("<td align=\"left\">") << police(1, 3)
              << EchapperHtml(platform::Champ(l, 1)) << QStringLiteral("</font> </td>")
              << QStringLiteral("<td align=\"left\">") << police(2, 5)
              << EchapperHtml(platform::Champ(l, 2)) << QStringLiteral("</font></td>")
              << QStringLiteral("<td align=\"center\">")
              << QStringLiteral("<FONT COLOR=\"#000000\" face=\"Arial\" size=\"3\">")
              << FormatPoints(platform::Champ(l, 7)) << QStringLiteral("</FONT>")
              << QStringLiteral("</td>");
            celluleLaterale(p, false);
            p << QStringLiteral("</tr>");
        }
    }
    PiedDePage(p);
    if (!nom.isEmpty())
        ecrites.append({dossierPages + nom, p});
    return nom;
}

} // namespace

QString PagePaires(const QStringList &tournois, int j, const QString &saison,
                   const QString &dossierSaison, const QString &dossierPages)
{
    PagesAEcrire ecrites;
    const QString nom = pagePaires(tournois, j, saison, dossierSaison, dossierPages, ecrites);
    ecrirePages(ecrites);
    return nom;
}

namespace
{

// The opening lines of a cross-table cell by its column's rules (1 to 6).
std::pair<QString, QString> ouverture(int regles, bool entete, bool diagonale)
{
    const QString bleu = QStringLiteral("<td bgcolor=\"#0000ff\" width=\"15%\" align=\"center\">");
    const QString cyan = QStringLiteral("<td bgcolor=\"#00FFff\" width=\"15%\" align=\"center\">");
    const QString vert = QStringLiteral("<td bgcolor=\"#66ff99\" width=\"15%\" align=\"center\">");
    const QString blanc = QStringLiteral("<b><font color=\"#ffffff\" face=\"Arial\" size=\"3\">");
    const QString bleue = QStringLiteral("<b><font color=\"#0000ff\" face=\"Arial\" size=\"3\">");
    const QString noire = QStringLiteral("<b><font color=\"#000000\" face=\"Arial\" size=\"3\">");
    const QString simple = QStringLiteral("<td align=\"center\">");
    if (regles == 1)
        return entete ? std::make_pair(bleu, blanc) : std::make_pair(cyan, bleue);
    if (regles == 6)
        return entete ? std::make_pair(bleu, blanc)
                      : std::make_pair(simple, QStringLiteral("<b><font color=\"#000000\" "
                                                              "face=\"Arial\" size=\"5\">"));
    if (entete)
        return {cyan, regles == 3
                          ? QStringLiteral("<b><font color=\"#0000FF\" face=\"Arial\" size=\"3\">")
                          : bleue};
    if (diagonale) {
        if (regles == 4)
            return {vert, QStringLiteral("<b><font color=\"#00ffff\" face=\"Arial\" size=\"3\">")};
        if (regles == 5)
            return {QStringLiteral("<td bgcolor=\"#66ff99\" align=\"center\">"), bleue};
        return {vert, bleue};
    }
    return {simple, noire};
}

QString ou(const QString &v)
{
    return v.isEmpty() ? QStringLiteral("&nbsp;") : v;
}

// Sheet numbers are read as 32-bit whole numbers: a wider text is the
// conversion error, and the sum of two never overflows.
qint64 somme(const QString &a, const QString &b)
{
    return qint64(a.isEmpty() ? 0 : platform::StrToInt(a)) +
           qint64(b.isEmpty() ? 0 : platform::StrToInt(b));
}

QString ligne4(const QString &a, const QString &b, const QString &c, const QString &d)
{
    return a + u';' + b + u';' + c + u';' + d + u';';
}

// The sheet's 50 lines rewritten for display: one line per player with the
// half's deals, PE and PC, each team's match line, team B's name; a player
// of both halves merged into one line.
QStringList lignesAffichees(const QStringList &o)
{
    auto f = [&](int k, int n) { return platform::Champ(o.value(k), n); };
    QStringList l = o;
    auto joueur = [&](int source, int total) {
        return ligne4(f(source, 0), f(total, 0), f(total, 2),
                      f(source, 1).isEmpty() ? QStringLiteral("0") : f(total, 3));
    };
    for (int k = 2; k <= 5; ++k)
        l[k] = joueur(k, 6);
    for (int k = 6; k <= 9; ++k)
        l[k] = joueur(k + 1, 11);
    l[10] = ligne4(f(12, 3), f(12, 1), f(12, 2), f(25, 0));
    l[11] = o.value(13);
    for (int k = 12; k <= 15; ++k)
        l[k] = joueur(k + 2, 18);
    for (int k = 16; k <= 19; ++k)
        l[k] = joueur(k + 3, 23);
    l[20] = ligne4(f(24, 3), f(24, 1), f(24, 2), f(25, 1));
    for (const auto &[debut, fin] : {std::pair{2, 9}, std::pair{12, 19}}) {
        for (int i = debut; i <= fin; ++i) {
            for (int j = i + 1; j <= fin; ++j) {
                const QString ni = platform::Champ(l[i], 0);
                if (ni.isEmpty() || platform::Champ(l[j], 0) != ni)
                    continue;
                auto c = [&](int n) {
                    return QString::number(
                        somme(platform::Champ(l[i], n), platform::Champ(l[j], n)));
                };
                l[i] = ligne4(ni, c(1), c(2), c(3));
                l[j] = QStringLiteral(";;;;");
            }
        }
    }
    return l;
}

void celluleBleue(QStringList &p, const char *couleur, bool large)
{
    p << (large ? QStringLiteral("<TD bgColor=#0000ff width=\"5%\" align=middle>")
                : QStringLiteral("<TD bgColor=#0000ff align=middle>"))
      << QStringLiteral("<FONT color=%1 size=3 face=Arial>").arg(QLatin1String(couleur))
      << QStringLiteral("&nbsp;") << QStringLiteral("</FONT></B></TD>");
}

void cellule(QStringList &p, const QString &td, const QString &font, const QString &texte)
{
    p << td << font << texte << QStringLiteral("</FONT></B></TD>");
}

void pageFeuilles(QStringList &p, const QStringList &lignes)
{
    for (int b = 0; b + 50 <= lignes.size(); b += 50) {
        const QStringList l = lignesAffichees(lignes.mid(b, 50));
        for (int k = 0; k < 50; ++k) {
            auto f = [&](int n) { return platform::Champ(l[k], n); };
            if (k == 0) {
                p << QStringLiteral("<tr>")
                  << QStringLiteral(
                         "<td colspan=\"7\" align=\"center\" height=\"37\" width=\"100%\">")
                  << QStringLiteral("<b><font color=\"#1AAC30\" face=\"Arial\" size=\"6\">")
                  << ou(EchapperHtml(f(3))) + QStringLiteral(" : ") + ou(EchapperHtml(f(0)))
                  << QStringLiteral("</font></b></td>");
            } else if (k == 1 || k == 11) {
                p << QStringLiteral("</tr>") << QStringLiteral("<tr bgcolor=\"#0000ff\">")
                  << QStringLiteral(
                         "<td colspan=\"7\" align=\"center\" height=\"15\" width=\"100%\">&nbsp;")
                  << QStringLiteral("</td>") << QStringLiteral("</tr>") << QStringLiteral("<tr>");
                celluleBleue(p, "#000000", true);
                cellule(p, QStringLiteral("<TD ColSpan=\"2\" width=\"36%\" align=middle>"),
                        QStringLiteral("<FONT color=#1AAC30 size=\"6\" face=Arial>"),
                        ou(EchapperHtml(f(0))));
                for (const char *t : {"Nb Donnes", "P.E.", "P.C."})
                    cellule(p, QStringLiteral("<TD bgColor=#00FFff width=\"18%\" align=middle>"),
                            QStringLiteral("<FONT color=#0000FF size=3 face=Arial>"),
                            QLatin1String(t));
                celluleBleue(p, "#0000FF", true);
                p << QStringLiteral("</tr>");
            } else if ((k >= 2 && k <= 9) || (k >= 12 && k <= 19)) {
                if (f(0).isEmpty())
                    continue;
                p << QStringLiteral("<tr>");
                celluleBleue(p, "#000000", false);
                cellule(p, QStringLiteral("<TD ColSpan=\"2\" align=Left>"),
                        f(1).isEmpty()
                            ? QStringLiteral("<FONT COLOR=\"#AEAEAE\" face=\"Arial\" size=\"3\">")
                            : QStringLiteral("<FONT COLOR=\"#000000\" face=\"Arial\" size=\"3\">"),
                        EchapperHtml(f(0)));
                const QString valeurs[] = {ou(EchapperHtml(f(1))), ou(CentiemesEntiers(f(2))),
                                           ou(FormatPoints(f(3)))};
                for (const QString &v : valeurs)
                    cellule(p, QStringLiteral("<TD align=middle>"),
                            QStringLiteral("<FONT color=#000000 size=3 face=Arial>"), v);
                celluleBleue(p, "#000000", true);
                p << QStringLiteral("</tr>");
            } else if (k == 10 || k == 20) {
                const QString policeTitre =
                    QStringLiteral("<FONT color=#0000FF size=3 face=Arial>");
                p << QStringLiteral("<tr>");
                celluleBleue(p, "#000000", false);
                cellule(p, QStringLiteral("<TD colSpan=2 bgColor=#00FFff align=middle>"),
                        policeTitre, QStringLiteral("P.V."));
                cellule(p, QStringLiteral("<TD bgColor=#00FFff colSpan=\"2\" align=middle>"),
                        policeTitre, QStringLiteral("IMP"));
                cellule(p, QStringLiteral("<TD bgColor=#00FFff align=middle>"), policeTitre,
                        QStringLiteral("IVm"));
                celluleBleue(p, "#0000FF", false);
                p << QStringLiteral("</tr>");
                QString imp = ou(EchapperHtml(f(1)));
                if (!f(3).isEmpty() && f(3) != u"0")
                    imp = EchapperHtml(f(1)) + QStringLiteral(" + ") + EchapperHtml(f(3)) +
                          QStringLiteral(" = ") + QString::number(somme(f(1), f(3)));
                p << QStringLiteral("<tr>");
                celluleBleue(p, "#000000", false);
                cellule(p, QStringLiteral("<TD colSpan=2 align=middle>"),
                        QStringLiteral("<FONT color=#000000 size=5 face=Arial>"),
                        ou(FormatPoints(f(0))));
                cellule(p, QStringLiteral("<TD colSpan=\"2\" align=middle>"),
                        QStringLiteral("<FONT color=#000000 size=4 face=Arial>"), imp);
                cellule(p, QStringLiteral("<TD align=middle>"),
                        QStringLiteral("<FONT color=#000000 size=3 face=Arial>"),
                        ou(EchapperHtml(f(2))));
                celluleBleue(p, "#0000FF", false);
                p << QStringLiteral("</tr>");
            } else if (k == 21) {
                p << QStringLiteral("<tr bgcolor=\"#0000ff\">")
                  << QStringLiteral(
                         "<td colspan=\"7\" align=\"center\" height=\"15\" width=\"100%\">&nbsp;")
                  << QStringLiteral("</td>") << QStringLiteral("</tr>");
            }
        }
    }
}

} // namespace

namespace
{

// Builds and writes the page of the match file of cell (g, t, o), either
// order of the teams; its name, or empty when there is no match file.
QString pageMatch(int g, int t, int o, const QString &saison, const QString &dossierPages,
                  PagesAEcrire &ecrites)
{
    int a = t, b = o;
    QString fichier = fichierMatch(g, a, b);
    // A folder or pipe of that name is a match file that cannot be read.
    if (!platform::LineFile::present(fichier)) {
        std::swap(a, b);
        fichier = fichierMatch(g, a, b);
        if (!platform::LineFile::present(fichier))
            return QString();
    }
    QStringList lignes;
    lireCpo(fichier, GenreCpo::Match, lignes);
    QStringList p;
    TeteDePage(p, GenrePage::Feuilles, saison);
    pageFeuilles(p, lignes);
    PiedDePage(p);
    const QString nom =
        QStringLiteral("Match") + DeuxChiffres(g) + DeuxChiffres(a) + DeuxChiffres(b) + ".htm";
    ecrites.append({dossierPages + nom, p});
    return nom;
}

QString pageFeuillesMatch(int g, int t, int o, const QString &texte, const QString &saison,
                          const QString &dossierPages, PagesMatchFaites *faites,
                          PagesAEcrire &ecrites)
{
    if (texte.isEmpty())
        return texte;
    QString nom;
    if (!faites) {
        nom = pageMatch(g, t, o, saison, dossierPages, ecrites);
    } else {
        const QString cle = fichierMatch(g, t, o);
        const auto deja = faites->constFind(cle);
        if (deja != faites->cend()) {
            nom = *deja;
        } else {
            nom = pageMatch(g, t, o, saison, dossierPages, ecrites);
            faites->insert(cle, nom);
        }
    }
    if (nom.isEmpty())
        return texte;
    return QStringLiteral("<a Class=\"Lien\" href=\"") + nom +
           QStringLiteral("\" target=principal>") + texte + QStringLiteral("</a>");
}

QString pageQuatre(const QStringList &tournois, int j, const QString &saison,
                   const QString &dossierPages, platform::TDateTime maintenant,
                   PagesMatchFaites *faites, PagesAEcrire &ecrites)
{
    QStringList p;
    TeteDePage(p, GenrePage::Quatre, saison);
    const QString *premiere = nullptr;
    for (const QString &t : tournois) {
        int colonne = 0;
        if (platform::TryStrToInt(platform::Champ(t, 4), colonne) && colonne == j) {
            premiere = &t;
            break;
        }
    }
    if (!premiere || platform::Champ(*premiere, 6).isEmpty())
        return QString();
    const QString nom = QStringLiteral("Quatre%1.htm").arg(j);
    const QString chemin = dossierPages + nom;
    if (platform::LineFile::exists(chemin)) {
        const QFileInfo info(platform::LineFile::resolve(chemin));
        if (platform::toDateTime(info.lastModified()) < maintenant - 7.0)
            return nom;
    }
    // "Poule.cpo" must be there (the file-open error otherwise).
    QStringList groupes;
    if (!lireCpo(fichierPoules(), GenreCpo::Noms, groupes))
        groupes = platform::LineFile::read(fichierPoules());
    const QString large = QStringLiteral("<TD bgColor=#0000ff width=\"5%\" align=middle>");
    auto laterale = [&] {
        p << large << QStringLiteral("<FONT color=#ffffff size=3 face=Arial>&nbsp;")
          << QStringLiteral("</FONT></B></TD>");
    };
    for (int g = 0; g < groupes.size(); ++g) {
        // A group without its cross table shows its title only, never the
        // table of another group.
        TableauGroupe tableau;
        QStringList lignes;
        if (lireCpo(fichierTableau(g), GenreCpo::Tableau, lignes))
            tableau.charger(lignes, fichierTableau(g));
        const int n = qMax(0, tableau.lignes() - 1);
        const int colspan = tableau.estVide() ? 8 : n + 4;
        p << QStringLiteral("<tr>")
          << QStringLiteral("<td colspan=\"%1\" align=\"center\" height=\"37\" width=\"100%\">")
                 .arg(colspan)
          << QStringLiteral("<b><font color=\"#1AAC30\" face=\"Arial\" size=\"6\">")
          << EchapperHtml(groupes[g]) << QStringLiteral("</font></b></td>")
          << QStringLiteral("</tr>") << QStringLiteral("<tr bgcolor=\"#0000ff\">")
          << QStringLiteral(
                 "<td colspan=\"%1\" align=\"center\"  height=\"15\" width=\"100%\">&nbsp;")
                 .arg(colspan)
          << QStringLiteral("</td>") << QStringLiteral("</tr>");
        if (!tableau.estVide()) {
            for (int r = 0; r <= n; ++r) {
                p << QStringLiteral("<tr>");
                laterale();
                for (int c = 1; c <= n + 2; ++c) {
                    const int regles = c == 1 ? 1 : (c == n + 2 ? 6 : qMin(c, 5));
                    const auto [td, font] = ouverture(regles, r == 0, r == c - 1);
                    QString texte;
                    if (r == 0 && c == n + 2) {
                        texte = QStringLiteral("Résultats");
                    } else {
                        texte = tableau.cellule(r, c - 1);
                        if (r == 0 || c == 1) {
                            texte = EchapperHtml(texte);
                        } else if (!texte.isEmpty()) {
                            texte = FormatPoints(texte);
                            if (c <= n + 1)
                                texte = pageFeuillesMatch(g, r - 1, c - 2, texte, saison,
                                                          dossierPages, faites, ecrites);
                        }
                    }
                    p << td << font << ou(texte) << QStringLiteral("</font></b></td>");
                }
                laterale();
                p << QStringLiteral("</tr>");
            }
        }
        p << QStringLiteral("<tr bgcolor=\"#0000ff\">")
          << QStringLiteral("<td colspan=\"%1\" align=\"center\"  height=\"15\" width=\"100%\">"
                            "<FONT size=0 face=Arial>&nbsp;")
                 .arg(colspan)
          << QStringLiteral("</Font></td>") << QStringLiteral("</tr>");
    }
    PiedDePage(p);
    ecrites.append({chemin, p});
    return nom;
}

} // namespace

QString PageFeuillesMatch(int g, int t, int o, const QString &texte, const QString &saison,
                          const QString &dossierPages, PagesMatchFaites *faites)
{
    PagesAEcrire ecrites;
    const QString lien = pageFeuillesMatch(g, t, o, texte, saison, dossierPages, faites, ecrites);
    ecrirePages(ecrites);
    return lien;
}

QString PageQuatre(const QStringList &tournois, int j, const QString &saison,
                   const QString &dossierPages, platform::TDateTime maintenant,
                   PagesMatchFaites *faites)
{
    PagesAEcrire ecrites;
    const QString nom = pageQuatre(tournois, j, saison, dossierPages, maintenant, faites, ecrites);
    ecrirePages(ecrites);
    return nom;
}

void PagesChallenge(const QStringList &tournois, int n, const QStringList &types,
                    const QStringList &noms, const QStringList &dates, const QString &saison,
                    const QString &dossierPages, QList<EntreeClassement> &entrees, int limite,
                    platform::TDateTime maintenant)
{
    if (!QFileInfo(platform::LineFile::resolve(dossierPages)).isDir())
        throw platform::EFileError(QStringLiteral("Le dossier des pages Internet est absent : ") +
                                   dossierPages);
    QList<JourneeWeb> journees;
    PagesMatchFaites faites;
    PagesAEcrire ecrites;
    for (int j = 1; j <= n; ++j) {
        const QString type = types.value(j - 1);
        const QString page =
            type == u"P"
                ? pagePaires(tournois, j, saison, fichierSaison(QString()), dossierPages, ecrites)
                : pageQuatre(tournois, j, saison, dossierPages, maintenant, &faites, ecrites);
        journees.append({type, TitreJournee(type, noms.value(j - 1), page), dates.value(j - 1)});
    }
    ecrirePages(ecrites);
    EcrirePagesClassement(dossierPages, saison, journees, entrees, limite);
}

} // namespace manager
