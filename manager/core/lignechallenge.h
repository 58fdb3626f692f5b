#pragma once
// The challenge's tournaments ("Challenge.DBP" in the season folder): one
// LigneChallenge per line, seven ";" fields, and the list the management
// window edits (current line, navigation, the four writing commands).
#include "manager/core/fichierlu.h"

#include <QString>
#include <QStringList>

struct LigneChallenge {
    QString numero;
    QString date;
    QString nom;
    QString type; // "P" pairs, "Q" teams of four
    QString colonne;
    QString coefficient;
    QString fichierResultat; // file name without folder, or empty

    static LigneChallenge depuisLigne(const QString &line);
    // Every field followed by ";"; typed text cannot break the record.
    QString versLigne() const;
    // What the ranking converts must convert: a date that is not a real day
    // written dd/mm/yyyy, or a coefficient that is not a whole number,
    // raises EConvertError naming the field ("Date", "Coéf.").
    void verifier() const;
};

// The grid's titles, columns 1 to 7.
extern const QStringList TitresChallenge;

// The lines of a tournaments file, read whole (manager/core/lecturesaison.h):
// seven fields a line, the number and the journée whole numbers.
QStringList LireTournois(const QString &fichier);

class ListeTournois
{
public:
    // The file of the open season, under the name it already has on disk
    // (either spelling designates one file), else "Challenge.DBP".
    static QString cheminFichier();

    enum class Chargement { Lu, Absent, Illisible };
    // Loads the file; the error text of a failed read goes to erreur.
    // Absent: empty list, writing allowed. Illisible: the list last loaded
    // from that same file stays (any other is emptied) and the writing
    // commands refuse until a later load succeeds.
    Chargement charger(QString *erreur = nullptr);

    const QStringList &lignes() const { return m_lignes; }
    int nombre() const { return m_lignes.size(); }
    LigneChallenge ligne(int index) const
    {
        return LigneChallenge::depuisLigne(m_lignes.value(index));
    }

    // 1-based current line, 0 when none.
    int courant() const { return m_courant; }
    void setCourant(int courant) { m_courant = courant; }
    // First step of every refresh: an empty selection on a filled list
    // moves to the first line.
    void normaliser();

    bool peutReculer() const { return m_courant > 1; }
    bool peutAvancer() const { return m_lignes.size() > m_courant; }
    bool peutModifier() const { return !m_lignes.isEmpty(); }
    bool ecritureAutorisee() const { return m_ecritureAutorisee; }
    // The file was changed on disk since the list was read or written.
    bool fichierChange() const { return m_fichier.change(); }
    const QString &chemin() const { return m_chemin; }
    // The user keeps the list shown over the file changed on disk: the next
    // write replaces it.
    void garderContreFichier() { m_fichier.noter(m_chemin); }

    void premier() { m_courant = 1; }
    void precedent();
    void suivant();
    void dernier() { m_courant = m_lignes.size(); }

    // The writing commands rewrite the whole file; false when nothing was
    // done (no current line, or the file could not be read at activation).
    // A file changed on disk since it was read raises EFichierChange and
    // keeps its bytes.
    // A line whose date or coefficient is refused by verifier() raises its
    // error and nothing is stored.
    bool ajouter(LigneChallenge ligne);
    bool modifier(LigneChallenge ligne);
    bool lierResultat(LigneChallenge ligne, const QString &fichierChoisi);
    bool supprimer();

private:
    void sauver(const QStringList &lignes);

    QStringList m_lignes;
    QString m_chemin;
    FichierLu m_fichier;
    int m_courant = 0;
    bool m_ecritureAutorisee = true;
};
