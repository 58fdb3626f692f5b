#include "manager/core/listereference.h"
#include "manager/core/majuscules.h"
#include "manager/core/saisie.h"
#include "platform/text/codec.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"
#include <QDir>
#include <algorithm>
#include <numeric>
#include <vector>

using platform::Champ;

ListeReference::ListeReference(QString chemin) : m_chemin(std::move(chemin)) {}

void ListeReference::charge()
{
    m_lue = false;
    m_lignes.clear();
    m_courant = 0;
    // A folder or pipe of that name is a list that cannot be read, not a
    // missing one.
    if (!platform::LineFile::present(m_chemin))
        platform::LineFile::write(m_chemin, {});
    m_fichier.noter(m_chemin);
    m_lignes = platform::LineFile::read(m_chemin);
    m_lue = true;
    normalise();
}

void ListeReference::verifieLue() const
{
    if (!m_lue)
        throw platform::EFileError(
            QStringLiteral("Le fichier %1 n'a pas pu être lu : il n'est pas modifié.")
                .arg(QDir::toNativeSeparators(platform::LineFile::resolve(m_chemin))));
}

void ListeReference::ecrit()
{
    verifieLue();
    m_fichier.verifier(m_chemin);
    platform::LineFile::write(m_chemin, m_lignes);
    m_fichier.noter(m_chemin);
}

QString ListeReference::nom(int ligne) const
{
    return ligne >= 0 && ligne < m_lignes.size() ? Champ(m_lignes.at(ligne), 0) : QString();
}

QString ListeReference::information(int ligne) const
{
    return ligne >= 0 && ligne < m_lignes.size() ? Champ(m_lignes.at(ligne), 1) : QString();
}

QStringList ListeReference::noms() const
{
    QStringList out;
    out.reserve(m_lignes.size());
    for (const QString &l : m_lignes)
        out << Champ(l, 0);
    return out;
}

void ListeReference::normalise()
{
    if (m_courant == 0 && !m_lignes.isEmpty())
        m_courant = 1;
    m_courant = std::min(m_courant, nombre());
}

void ListeReference::premier()
{
    m_courant = 1;
    m_courant = std::min(m_courant, nombre());
}

void ListeReference::precedent()
{
    if (m_courant >= 2)
        --m_courant;
}

void ListeReference::suivant()
{
    if (m_courant < nombre())
        ++m_courant;
}

void ListeReference::dernier()
{
    m_courant = nombre();
}

QString ListeReference::ligne(const QString &nom, const QString &information)
{
    return champSaisi(nom) + QLatin1Char(';') + champSaisi(information) + QLatin1Char(';');
}

void ListeReference::ajoute(const QString &nom, const QString &information)
{
    m_lignes.append(ligne(nom, information));
    m_courant = 1;
    std::vector<QString> noms;
    noms.reserve(std::size_t(m_lignes.size()));
    for (const QString &l : m_lignes)
        noms.push_back(Champ(l, 0));
    std::vector<int> ordre(noms.size());
    std::iota(ordre.begin(), ordre.end(), 0);
    std::stable_sort(ordre.begin(), ordre.end(), [&](int a, int b) {
        return platform::ansiCompare(noms[std::size_t(a)], noms[std::size_t(b)]) < 0;
    });
    QStringList triees;
    triees.reserve(m_lignes.size());
    for (int i : ordre)
        triees << m_lignes.at(i);
    m_lignes = triees;
}

void ListeReference::modifie(const QString &nom, const QString &information)
{
    if (m_courant >= 1 && m_courant <= nombre())
        m_lignes[m_courant - 1] = ligne(nom, information);
}

void ListeReference::supprime()
{
    if (m_courant >= 1 && m_courant <= nombre())
        m_lignes.removeAt(m_courant - 1);
    m_courant = nombre();
}

QString InformationDe(const QStringList &lignes, const QString &texte)
{
    if (texte.isEmpty())
        return QString();
    for (qsizetype i = lignes.size() - 1; i >= 0; --i)
        if (Champ(lignes.at(i), 0) == texte)
            return Champ(lignes.at(i), 1);
    for (qsizetype i = lignes.size() - 1; i >= 0; --i)
        if (lignes.at(i).contains(texte, Qt::CaseSensitive))
            return Champ(lignes.at(i), 1);
    return QString();
}
