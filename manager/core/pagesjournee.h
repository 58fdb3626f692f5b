#pragma once
// The page of a pairs journée of the challenge: each tournament of the
// journée with its pairs and their challenge points.
#include "manager/core/classement.h"
#include "platform/text/convert.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace manager
{

// The pairs journée j of the tournaments list: its page written into
// dossierPages, named after the first tournament's result file (read from
// dossierSaison; EAutreGenre when one is no text). Empty when the journée
// has no result file, or when that name would leave the folder or replace a
// ranking page.
QString PagePaires(const QStringList &tournois, int j, const QString &saison,
                   const QString &dossierSaison, const QString &dossierPages);

// The match pages one generation has made so far, by cell (the match file
// looked up first): the page name, or empty when the cell has no match file.
// Every teams-of-four journée shows the same groups and match files, so a
// generation reads, builds and writes each match page once; later cells of
// the same generation only link to it. Good for one generation only: the
// next one must see the files as they are then.
using PagesMatchFaites = QHash<QString, QString>;

// The teams-of-four journée j: "Quatre" + j + ".htm" with the cross table of
// every group of the season folder, cells linking to their match pages.
// A page modified more than seven days before now is kept as it is (its
// name is still returned). Empty when the journée's first tournament has no
// result file.
QString PageQuatre(const QStringList &tournois, int j, const QString &saison,
                   const QString &dossierPages, platform::TDateTime maintenant,
                   PagesMatchFaites *faites = nullptr);
// The page of the match between teams t and o of group g (either order of
// its file), written into dossierPages: the link around texte, or texte
// itself when there is no match file or texte is empty. With faites, a page
// this generation has already made is not made again.
QString PageFeuillesMatch(int g, int t, int o, const QString &texte, const QString &saison,
                          const QString &dossierPages, PagesMatchFaites *faites = nullptr);

// Every page of the challenge into dossierPages: the journée pages first
// (1 to n; types, names and dates per journée), their titles turned into
// links, then both ranking pages from the open ranking's entries, which are
// left limited to the value index limite. A missing folder is an error
// before anything is read.
void PagesChallenge(const QStringList &tournois, int n, const QStringList &types,
                    const QStringList &noms, const QStringList &dates, const QString &saison,
                    const QString &dossierPages, QList<EntreeClassement> &entrees, int limite,
                    platform::TDateTime maintenant);

// The shared frame of the journée pages: head, banner and heading, then the
// tail after the page's rows.
enum class GenrePage { Quatre, Feuilles, Paires };
void TeteDePage(QStringList &p, GenrePage genre, const QString &saison);
void PiedDePage(QStringList &p);

} // namespace manager
