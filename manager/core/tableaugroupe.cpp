#include "manager/core/tableaugroupe.h"

#include "manager/core/saisie.h"
#include "platform/text/convert.h"

EGroupeTropGrand::EGroupeTropGrand(const QString &fichier, qsizetype equipes)
    : platform::EFileError(QStringLiteral("Le tableau du groupe %1 annonce %2 équipes : un groupe "
                                          "en compte au plus %3.")
                               .arg(fichier)
                               .arg(equipes)
                               .arg(TableauGroupe::EquipesMax))
{
}

EGroupeTropGrand::EGroupeTropGrand()
    : platform::EFileError(QStringLiteral("Ajout impossible : un groupe compte au plus %1 équipes.")
                               .arg(TableauGroupe::EquipesMax))
{
}

QString TableauGroupe::cellule(int ligne, int colonne) const
{
    if (ligne < 0 || ligne >= m_cases.size() || colonne < 0 || colonne >= m_colonnes)
        return {};
    return m_cases[ligne].value(colonne);
}

void TableauGroupe::setCellule(int ligne, int colonne, const QString &texte)
{
    if (ligne < 0 || ligne >= m_cases.size() || colonne < 0 || colonne >= m_colonnes)
        return;
    m_cases[ligne][colonne] = texte;
}

void TableauGroupe::vider()
{
    m_cases.clear();
    m_colonnes = 1;
}

void TableauGroupe::redimensionner(int lignes, int colonnes)
{
    if (lignes < 0)
        lignes = 0;
    if (colonnes < 1)
        colonnes = 1;
    while (m_cases.size() > lignes)
        m_cases.removeLast();
    while (m_cases.size() < lignes)
        m_cases.append(QStringList());
    m_colonnes = colonnes;
    for (QStringList &row : m_cases) {
        while (row.size() > colonnes)
            row.removeLast();
        while (row.size() < colonnes)
            row.append(QString());
    }
}

void TableauGroupe::charger(const QStringList &lignesFichier, const QString &fichier)
{
    m_cases.clear();
    m_colonnes = 1;
    // The size the file announces is checked before anything is built: the
    // grid is rows times columns.
    const qsizetype colonnes =
        lignesFichier.isEmpty() ? 1 : qMax<qsizetype>(1, lignesFichier.last().count(u';'));
    const qsizetype equipes = qMax(lignesFichier.size() - 1, colonnes - 2);
    if (equipes > EquipesMax)
        throw EGroupeTropGrand(fichier, equipes);
    for (const QString &line : lignesFichier) {
        QStringList row{QString()};
        for (QChar ch : line) {
            if (ch == QLatin1Char(';')) {
                // Cells past the table's columns are dropped anyway.
                if (row.size() > colonnes)
                    break;
                row.append(QString());
            } else {
                row.last().append(ch);
            }
        }
        m_cases.append(row);
    }
    redimensionner(int(m_cases.size()), int(colonnes));
}

QStringList TableauGroupe::versLignes() const
{
    QStringList out;
    for (const QStringList &row : m_cases) {
        QString line;
        for (int c = 0; c < m_colonnes; ++c)
            line += row.value(c) + QLatin1Char(';');
        out << line;
    }
    return out;
}

void TableauGroupe::ecrireNoms(const QStringList &equipes)
{
    // A name edited by hand into a team file must not split a cell.
    for (int t = 0; t < equipes.size(); ++t) {
        setCellule(t + 1, 0, champSaisi(equipes[t]));
        setCellule(0, t + 1, champSaisi(equipes[t]));
    }
}

void TableauGroupe::viderDerniereColonne()
{
    for (int r = 0; r < lignes(); ++r)
        setCellule(r, m_colonnes - 1, QString());
}

bool TableauGroupe::ligneAResultat(int ligne) const
{
    for (int c = 1; c <= m_colonnes - 2; ++c)
        if (!cellule(ligne, c).isEmpty())
            return true;
    return false;
}

bool TableauGroupe::colonneAResultat(int colonne) const
{
    for (int r = 1; r < lignes(); ++r)
        if (!cellule(r, colonne).isEmpty())
            return true;
    return false;
}

void TableauGroupe::recalculerTotal(int ligne)
{
    qint64 total = 0;
    for (int c = 1; c <= m_colonnes - 2; ++c) {
        const QString t = cellule(ligne, c);
        if (!t.isEmpty())
            total = AjouteEntier(total, t);
    }
    setCellule(ligne, m_colonnes - 1, QString::number(total));
}

void TableauGroupe::recalculerTotaux()
{
    for (int r = 1; r < lignes(); ++r)
        if (ligneAResultat(r))
            recalculerTotal(r);
}

void TableauGroupe::ajouterEquipe(const QStringList &equipes)
{
    // Worked on a copy: a cell that is not a number leaves the table whole.
    if (equipes.size() > EquipesMax)
        throw EGroupeTropGrand();
    TableauGroupe t = *this;
    const int n = equipes.size();
    t.redimensionner(n + 1, n + 2);
    t.ecrireNoms(equipes);
    t.viderDerniereColonne();
    // The column that held the totals now belongs to the new team, which
    // has played nobody yet.
    for (int r = 1; r <= n; ++r)
        t.setCellule(r, n, QString());
    for (int c = 1; c <= n; ++c)
        t.setCellule(n, c, QString());
    t.recalculerTotaux();
    *this = std::move(t);
}

void TableauGroupe::retirerEquipe(const QStringList &equipesRestantes)
{
    TableauGroupe t = *this;
    const int n = equipesRestantes.size();
    t.redimensionner(n + 1, n + 2);
    t.setCellule(0, n + 1, QString());
    if (n > 0) {
        t.ecrireNoms(equipesRestantes);
        t.viderDerniereColonne();
        t.recalculerTotaux();
    }
    *this = std::move(t);
}
