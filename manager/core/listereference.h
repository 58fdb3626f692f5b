#pragma once
// The program-level reference lists "Lieu.DBP", "Arbitre.DBP" and
// "Responsable.DBP": one entry per line, name then information, each followed
// by ";". The list is loaded once, changed in memory and written whole after
// each change. Courant is the row that carries the arrow (0 = none, else
// 1..count).
#include "manager/core/fichierlu.h"

#include <QString>
#include <QStringList>

class ListeReference
{
public:
    explicit ListeReference(QString chemin = QString());

    // Creates the file empty when it is missing, then loads it. When that
    // fails the list is left empty and unread.
    void charge();
    // Refused (EFileError naming the file) while the list is unread: the
    // list then holds none of the file's lines, and would replace them.
    // Refused too (EFichierChange) when the file changed on disk since it
    // was read or written.
    void ecrit();
    // The file changed on disk since the list was read or written.
    bool fichierChange() const { return m_lue && m_fichier.change(); }
    // The user keeps the list shown over the file changed on disk: the next
    // write replaces it.
    void garderContreFichier() { m_fichier.noter(m_chemin); }
    // The last charge() read the file.
    bool lue() const { return m_lue; }
    // Throws the refusal of ecrit() when the list is unread.
    void verifieLue() const;

    const QString &chemin() const { return m_chemin; }
    const QStringList &lignes() const { return m_lignes; }
    int nombre() const { return int(m_lignes.size()); }
    int courant() const { return m_courant; }
    QString nom(int ligne) const;
    QString information(int ligne) const;
    // Field 0 of every line, in list order (the combo box's items).
    QStringList noms() const;

    // Puts the arrow on the first row when none is set and the list has lines.
    void normalise();
    void premier();
    void precedent();
    void suivant();
    void dernier();
    // Appends the entry, puts the arrow on row 1 and sorts by name in
    // Windows-1252 byte order; equal names keep their order.
    void ajoute(const QString &nom, const QString &information);
    // Replaces the current entry without sorting.
    void modifie(const QString &nom, const QString &information);
    // Removes the current entry; the arrow goes to the last row.
    void supprime();

    bool peutReculer() const { return m_courant >= 2; }
    bool peutAvancer() const { return nombre() > m_courant; }
    bool nonVide() const { return !m_lignes.isEmpty(); }

private:
    static QString ligne(const QString &nom, const QString &information);

    QString m_chemin;
    QStringList m_lignes;
    FichierLu m_fichier;
    int m_courant = 0;
    bool m_lue = false;
};

// The information of the entry chosen by its name: the last line whose name
// is the text; when none is, the last line that contains the text anywhere
// (exact, letter case included). Empty for an empty text or no match.
QString InformationDe(const QStringList &lignes, const QString &texte);
