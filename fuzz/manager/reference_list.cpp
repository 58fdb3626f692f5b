// A reference list ("Lieu.DBP" and its kin) as found on disk, with any
// bytes: the grid's fields, the combo box's names and the look-up of an
// entry's information, then the operations of the list's buttons.
#include "manager/core/listereference.h"
#include "platform/text/codec.h"
#include "platform/text/linefile.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("Lieu.DBP"));
    platform::LineFile::writeBytes(
        chemin, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    ListeReference liste(chemin);
    liste.charge();
    const QStringList noms = liste.noms();
    if (noms.size() != liste.nombre())
        std::abort();
    // The exact name finds the last line of that name. The look-up walks
    // the list, so a spread of names is looked up, not every one: the check
    // stays in proportion to the list however long it is.
    QHash<QString, QString> derniere;
    for (int i = 0; i < liste.nombre(); ++i)
        derniere.insert(liste.nom(i), liste.information(i));
    const int pas = std::max(1, liste.nombre() / 16);
    for (int i = 0; i < liste.nombre(); i += pas) {
        const QString nom = liste.nom(i);
        if (!nom.isEmpty() && InformationDe(liste.lignes(), nom) != derniere.value(nom))
            std::abort();
    }
    const int avant = liste.nombre();
    liste.ajoute(noms.value(0) + QStringLiteral(";\r\n"), noms.value(1));
    if (liste.nombre() != avant + 1 || liste.courant() != 1)
        std::abort();
    for (const QString &l : liste.lignes())
        if (l.contains(QLatin1Char('\n')) || l.contains(QLatin1Char('\r')))
            std::abort();
    liste.dernier();
    liste.modifie(QStringLiteral("x;y"), QString());
    liste.supprime();
    if (liste.courant() != liste.nombre())
        std::abort();
    liste.ecrit();
    return 0;
}
