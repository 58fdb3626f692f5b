#include "manager/core/pagesjournee.h"

#include "manager/core/classement.h"
#include "manager/core/pageschallenge.h"
#include "platform/text/convert.h"
#include "platform/text/linefile.h"

namespace manager
{

namespace
{

QString regle(const char *classe, const char *etat, const char *fond, const char *couleur)
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
        p << regle(classe, etat, fond, "#0000FF");
    p << regle(classe, "active", "#0000FF", fond == QByteArrayView("#CCFFFF") ? "#00FFFF" : fond)
      << regle(classe, "hover", "#0000FF", "#FFFFFF");
}

void celluleLaterale(QStringList &p, bool large)
{
    p << (large ? QStringLiteral("<TD bgColor=#0000ff width=\"5%\" align=middle>")
                : QStringLiteral("<TD bgColor=#0000ff align=middle>"))
      << QStringLiteral("<FONT color=#ffffff size=3 face=Arial>&nbsp;")
      << QStringLiteral("</FONT></B></TD>");
}

// A result file name turned into its page name, or empty when that page
// would be written outside the folder or over a ranking page.
QString nomDePage(const QString &fichier)
{
    const QString base = fichier.left(qMax<qsizetype>(0, fichier.size() - 4));
    const QString nom = base + QStringLiteral(".htm");
    if (base.isEmpty() || nom.contains(u'/') || nom.contains(u'\\') ||
        nom.compare(QStringLiteral("Challenge.htm"), Qt::CaseInsensitive) == 0 ||
        nom.compare(QStringLiteral("ChallengeCat.htm"), Qt::CaseInsensitive) == 0)
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

QString PagePaires(const QStringList &tournois, int j, const QString &saison,
                   const QString &dossierSaison, const QString &dossierPages)
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
        const QStringList resultats = platform::LineFile::read(dossierSaison + fichier);
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
        platform::LineFile::write(dossierPages + nom, p);
    return nom;
}

} // namespace manager
