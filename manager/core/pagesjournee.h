#pragma once
// The page of a pairs journée of the challenge: each tournament of the
// journée with its pairs and their challenge points.
#include <QString>
#include <QStringList>

namespace manager
{

// The pairs journée j of the tournaments list: its page written into
// dossierPages, named after the first tournament's result file (read from
// dossierSaison). Empty when the journée has no result file, or when that
// name would leave the folder or replace a ranking page.
QString PagePaires(const QStringList &tournois, int j, const QString &saison,
                   const QString &dossierSaison, const QString &dossierPages);

// The shared frame of the journée pages: head, banner and heading, then the
// tail after the page's rows.
enum class GenrePage { Quatre, Feuilles, Paires };
void TeteDePage(QStringList &p, GenrePage genre, const QString &saison);
void PiedDePage(QStringList &p);

} // namespace manager
