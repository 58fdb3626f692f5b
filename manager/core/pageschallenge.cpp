#include "manager/core/pageschallenge.h"

#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QDir>

namespace manager
{

namespace
{

QString regle(const char *classe, const char *etat, const char *fond, const char *couleur)
{
    return QStringLiteral("a.%1:%2 { text-decoration: none; background-color: %3; color: %4; "
                          "font-family: Arial; font-size: 12pt; font-style: none; "
                          "font-weight: bold }")
        .arg(QLatin1String(classe), QLatin1String(etat), QLatin1String(fond),
             QLatin1String(couleur));
}

void cadre(QStringList &p, const QString &saison, int colonnes, bool categoriel, int limite)
{
    p << QStringLiteral("<html><head>")
      << (categoriel
              ? QStringLiteral("<title>Comp&eacute;titions R&eacute;sultats Challenge "
                               "Cat&eacute;goriel</title>")
              : QStringLiteral("<title>Comp&eacute;titions R&eacute;sultats Challenge</title>"))
      << QStringLiteral("<style><!-- ");
    for (const char *etat : {"link", "visited"})
        p << regle("Lien", etat, "#00FFFF", "#0000FF");
    p << regle("Lien", "active", "#0000FF", "#00FFFF")
      << regle("Lien", "hover", "#0000FF", "#FFFFFF");
    for (const char *etat : {"link", "visited"})
        p << regle("LienCh", etat, "#66FF99", "#0000FF");
    p << regle("LienCh", "active", "#0000FF", "#66FF99")
      << regle("LienCh", "hover", "#0000FF", "#FFFFFF");
    p << QStringLiteral(" --></style>") << QStringLiteral("</head>")
      << QStringLiteral("<body topmargin=\"0\" leftmargin=\"0\" bgcolor=\"#FFFFE6\" face=\"Arial\" "
                        "TEXT=\"#000000\" >");
    p << QStringLiteral("<table cellspacing=\"0\" width=\"100%\">") << QStringLiteral("<tr>")
      << QStringLiteral("<td align=\"center\" bgcolor=\"#ccffff\" height=\"31\">")
      << QStringLiteral("<b><font color=\"#0000ff\" FACE=\"Georgia\" size=\"5\">")
      << EchapperHtml(saison) + QStringLiteral(" Challenge de Ludmarre")
      << QStringLiteral("</font> </b> </td> </tr> ") << QStringLiteral("</table>");
    p << QStringLiteral("<table border=\"2\" BORDERCOLOR=\"#0000FF\" width=\"100%\">")
      << QStringLiteral("<tr><td bgcolor=\"#0000ff\" height=\"31\" valign=\"middle\" "
                        "align=\"center\" width=\"100%\">")
      << QStringLiteral("<b><font color=\"#ffffff\" FACE=\"Georgia\" size=\"5\">")
      << QStringLiteral("Classement du Challenge") << QStringLiteral("</tr></td></font>")
      << QStringLiteral("<tr>") << QStringLiteral("<td width=\"100%\">")
      << QStringLiteral("<table border=\"2\" BORDERCOLOR=\"#0000FF\"  width=\"100%\" "
                        "cellSpacing=\"0\" FRAME=\"void\">");
    p << QStringLiteral("<tr>")
      << QStringLiteral("<td colspan=\"%1\" align=\"center\" height=\"37\" width=\"100%\">")
             .arg(colonnes)
      << (categoriel ? QStringLiteral("<b><font color=\"#0000FF\" face=\"Arial\" size=\"6\">")
                     : QStringLiteral("<b><font color=\"#0000ff\" size=\"6\" face=\"Arial\">"))
      << (categoriel
              ? QStringLiteral("Classement des joueurs I.V. Maximum ") + QString::number(limite)
              : QStringLiteral("Classement Open"))
      << QStringLiteral("</font></b></td>") << QStringLiteral("</tr>");
}

void entetes(QStringList &p, const QList<JourneeWeb> &journees, int colonnes)
{
    p << QStringLiteral("<tr bgcolor=\"#0000ff\">")
      << QStringLiteral("<b><font color=\"#0000ff\" size=\"6\">")
      << QStringLiteral("<td colspan=\"%1\" align=\"center\"  height=\"15\" width=\"100%\">")
             .arg(colonnes)
      << QStringLiteral("</td></b>") << QStringLiteral("</font></tr>");

    p << QStringLiteral("<tr>");
    for (int i = 0; i < 2; ++i)
        p << QStringLiteral("<font color=\"#0000ff\" face=\"Arial\" size=\"2\">")
          << QStringLiteral("<td bgcolor=\"#0000ff\" align=\"center\" height=\"20\">")
          << QStringLiteral("</td></font>");
    for (const JourneeWeb &j : journees)
        p << QStringLiteral("<td ") + CouleurType(j.type) +
                 QStringLiteral(" align=\"center\" height=\"20\">")
          << QStringLiteral("<font color=\"#0000ff\" size=\"3\" face=\"Arial\">")
          << QStringLiteral("<b>") + j.titre + QStringLiteral("</b>")
          << QStringLiteral("</font></td>");
    p << QStringLiteral("<td bgcolor=\"#0000ff\" align=\"center\" height=\"20\">")
      << QStringLiteral("<font color=\"#0000ff\" face=\"Arial\" size=\"2\">") << QStringLiteral(" ")
      << QStringLiteral("</font></td>") << QStringLiteral("</tr>");

    p << QStringLiteral("<tr>");
    for (int i = 0; i < 2; ++i)
        p << QStringLiteral("<td bgcolor=\"#0000ff\" align=\"center\" height=\"20\">")
          << QStringLiteral("<font color=\"#0000ff\" size=\"2\" face=\"Arial\">")
          << QStringLiteral("</font></td>");
    for (const JourneeWeb &j : journees)
        p << QStringLiteral("<td ") + CouleurType(j.type) +
                 QStringLiteral(" align=\"center\" height=\"20\">")
          << QStringLiteral("<font color=\"#000000\" size=\"2\" face=\"Arial\">")
          << EchapperHtml(j.date) << QStringLiteral("</td></font>");
    p << QStringLiteral("<td bgcolor=\"#0000ff\" align=\"center\" height=\"20\">")
      << QStringLiteral("<font color=\"#FFFFFF\" size=\"2\" face=\"Arial\">")
      << QStringLiteral("Points") << QStringLiteral("</td></font>") << QStringLiteral("</tr>");
}

QString cellule(const QString &v)
{
    return v.isEmpty() ? QStringLiteral("&nbsp;") : v;
}

void lignes(QStringList &p, const QList<JourneeWeb> &journees,
            const QList<EntreeClassement> &entrees, int colonnes)
{
    const int n = int(journees.size());
    for (int i = 0; i < entrees.size(); ++i) {
        const EntreeClassement &e = entrees[i];
        if (i % 50 == 0)
            entetes(p, journees, colonnes);
        p << QStringLiteral("<tr ") + CouleurIV(e.iv) + QStringLiteral("> ");
        for (int k = 1; k <= colonnes; ++k) {
            QString v;
            if (k == colonnes)
                v = e.total;
            else if (k == 1)
                v = e.place + QLatin1Char(' ');
            else if (k == 2)
                v = QLatin1Char(' ') + EchapperHtml(e.nom);
            else if (k - 2 <= n && k - 3 < MaxJournees)
                v = e.points[size_t(k - 3)];
            p << (k == 2 ? QStringLiteral("<td align=\"left\">")
                         : QStringLiteral("<td align=\"center\">"))
              << QStringLiteral("<font color=\"#000000\" face=\"Arial\" size=\"3\">") << cellule(v)
              << QStringLiteral("</font>") << QStringLiteral("</td>");
        }
        p << QStringLiteral("</tr>");
    }
}

void fermeture(QStringList &p, int colonnes)
{
    p << QStringLiteral("<tr bgcolor=\"#0000ff\">")
      << QStringLiteral("<td colspan=\"%1\" align=\"center\" height=\"37\" width=\"100%\">")
             .arg(colonnes)
      << QStringLiteral("<b><font color=\"#0000FF\" face=\"Arial\" size=\"6\">")
      << QStringLiteral("&nbsp;") << QStringLiteral("</font></b></td>") << QStringLiteral("</tr>")
      << QStringLiteral("</table>") << QStringLiteral("</td></tr>") << QStringLiteral("</table>")
      << QStringLiteral("</body></html>");
}

} // namespace

QString EchapperHtml(const QString &texte)
{
    QString s;
    s.reserve(texte.size());
    for (const QChar c : texte) {
        if (c == u'&')
            s += QStringLiteral("&amp;");
        else if (c == u'<')
            s += QStringLiteral("&lt;");
        else if (c == u'>')
            s += QStringLiteral("&gt;");
        else
            s += c;
    }
    return s;
}

QString CouleurType(const QString &type)
{
    if (type.startsWith(u'P'))
        return QStringLiteral("bgcolor=\"#00FFff\"");
    if (type.startsWith(u'Q'))
        return QStringLiteral("bgcolor=\"#66ff99\"");
    return QStringLiteral("bgcolor=\"#0000ff\"");
}

QString CouleurIV(const QString &iv)
{
    const int v = iv.isEmpty() ? 0 : platform::StrToInt(iv);
    if (v >= 0 && v <= 30)
        return QStringLiteral("bgcolor=\"#FFC9AE\"");
    if (v >= 31 && v <= 40)
        return QStringLiteral("bgcolor=\"#CCFFFF\"");
    if (v >= 41 && v <= 60)
        return QStringLiteral("bgcolor=\"#BFFF80\"");
    if (v >= 61 && v <= 100)
        return QStringLiteral("bgcolor=\"#FFFFA6\"");
    return QString();
}

QString TitreJournee(const QString &type, const QString &titre, const QString &page)
{
    if (page.isEmpty())
        return EchapperHtml(titre);
    return (type == u"P" ? QStringLiteral("<a Class=\"Lien\" href=\"")
                         : QStringLiteral("<a Class=\"LienCh\" href=\"")) +
           EchapperHtml(page) + QStringLiteral("\" target=principal>&nbsp;") + EchapperHtml(titre) +
           QStringLiteral("&nbsp;</a>");
}

QStringList PageClassement(const QString &saison, const QList<JourneeWeb> &journees,
                           const QList<EntreeClassement> &entrees, int limite)
{
    const int colonnes = int(journees.size()) + 3;
    QStringList p;
    cadre(p, saison, colonnes, limite > 0, limite);
    lignes(p, journees, entrees, colonnes);
    fermeture(p, colonnes);
    return p;
}

void EcrirePagesClassement(const QString &dossier, const QString &saison,
                           const QList<JourneeWeb> &journees, QList<EntreeClassement> &entrees,
                           int limite)
{
    // Every page is built before it is written: a bad value index stops
    // the run with the pages already saved intact and no half page.
    if (!QDir(platform::LineFile::resolve(dossier)).exists())
        throw platform::EFileError(QStringLiteral("Le dossier des pages Internet est absent : ") +
                                   dossier);
    // Both pages or neither.
    platform::LineFile::checkWritable(dossier + QStringLiteral("Challenge.htm"));
    platform::LineFile::checkWritable(dossier + QStringLiteral("ChallengeCat.htm"));
    platform::LineFile::write(dossier + QStringLiteral("Challenge.htm"),
                              PageClassement(saison, journees, entrees, 0));
    QList<EntreeClassement> filtrees = entrees;
    FiltrerIV(filtrees, limite);
    const QStringList cat = PageClassement(saison, journees, filtrees, limite);
    entrees = filtrees;
    platform::LineFile::write(dossier + QStringLiteral("ChallengeCat.htm"), cat);
}

} // namespace manager
