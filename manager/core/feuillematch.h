#pragma once
// A teams-of-four match sheet: 50 lines of four ";" fields in its match
// file. Edits of the results window are bound to (line, field) pairs by
// their names; scoring, entry and recording work on this table.
#include <QHash>
#include <QString>
#include <QStringList>

#include <array>

struct PositionChamp {
    int ligne;
    int champ;
};

class FeuilleMatch
{
public:
    static constexpr int Lignes = 50;
    static constexpr int Champs = 4;

    // The 92 edits of the sheet, in screen order, then where each lives.
    static const QStringList &NomsEdits();
    static PositionChamp position(const QString &nomEdit);
    static bool estEdit(const QString &nomEdit);

    // Lines b..b+49 of a match file's lines (missing ones read empty).
    static FeuilleMatch depuisLignes(const QStringList &lignes, int base);
    // A new sheet: name;IVMax;;group; then team A and team B with their
    // indexes on lines 1 and 13, every other line ";;;;".
    static QStringList nouvelleFeuille(const QString &nom, const QString &ivMax,
                                       const QString &groupe, const QString &equipeA, int indexA,
                                       const QString &equipeB, int indexB);

    QString valeur(int ligne, int champ) const;
    void setValeur(int ligne, int champ, const QString &texte);
    QString valeur(const QString &nomEdit) const;
    void setValeur(const QString &nomEdit, const QString &texte);

    QString nom() const { return valeur(0, 0); }
    QString ivMax() const { return valeur(0, 1); }
    QString numeroA() const { return valeur(1, 1); }
    QString numeroB() const { return valeur(13, 1); }
    void setNumeroA(const QString &texte) { setValeur(1, 1, texte); }
    void setNumeroB(const QString &texte) { setValeur(13, 1, texte); }

    // The sheet's line as written: every field followed by ";".
    QString ligne(int ligne) const;
    // Writes lines b+1 to b+25 (what the edits hold); line b and lines
    // b+26..b+49 keep what the file had. Typed text is made record-safe.
    void enregistrer(QStringList &lignes, int base) const;

private:
    std::array<std::array<QString, Champs>, Lignes> m_cases;
};
