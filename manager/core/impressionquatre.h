#pragma once
// The values the three teams-of-four printouts ask for (match sheet, group
// cross table, homologation list), worked out from what the results window
// shows, without its widgets.
#include "manager/core/feuillematch.h"
#include "manager/core/tableaugroupe.h"

#include <QString>
#include <QStringList>

struct ImpressionQuatre {
    QString saison;
    QString groupe;  // the selected group's name
    QString onglet;  // the selected sheet tab's text, empty without a tab
    QString legende; // the window's caption
    FeuilleMatch feuille;
    const TableauGroupe *tableau = nullptr;
    const QStringList *homologation = nullptr;
    qint64 totalPE = 0;
    qint64 totalPC = 0;
    int enregistrement = 0; // current record of the homologation printout

    // The value of a template variable; false for a name none of the three
    // templates uses (the engine's value then stays). A number field that
    // is not a whole number raises EConvertError.
    bool valeur(const QString &nom, QString &texte) const;
    // Works out every value of the match sheet: raises the conversion error
    // of its first number that is not a whole number. The report engine
    // prints a value it cannot work out as an empty cell, so a sheet is
    // checked before it is printed, never printed silently wrong.
    void verifierFeuille() const;
};

// What saving a result file puts before the file's name in the caption.
extern const QString PrefixeResultatQuatre;

// Hundredths as whole points, halves to the even neighbour ("1150" -> "12");
// empty stays empty.
QString CentiemesEntiers(const QString &centiemes);
