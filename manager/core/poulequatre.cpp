#include "manager/core/poulequatre.h"

#include "manager/core/feuillematch.h"
#include "manager/core/genrefichier.h"
#include "manager/core/vorn_dec.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

QString DeuxChiffres(int n)
{
    const QString t = QString::number(n);
    return t.size() == 1 ? QLatin1Char('0') + t : t;
}

QString DeuxChiffresSelection(int index)
{
    return index < 0 ? QStringLiteral("99") : DeuxChiffres(index);
}

QString fichierPoules()
{
    return fichierSaison(QStringLiteral("Poule.cpo"));
}

QString fichierEquipes(int groupe)
{
    return fichierSaison(QStringLiteral("Poule") + QString::number(groupe + 1) +
                         QStringLiteral(".cpo"));
}

QString fichierTableau(int groupe)
{
    return fichierSaison(QStringLiteral("PouleR") + QString::number(groupe) +
                         QStringLiteral(".cpo"));
}

QString fichierMatch(int groupe, int equipeA, int equipeB)
{
    return fichierSaison(QStringLiteral("PouleM") + DeuxChiffresSelection(groupe) +
                         DeuxChiffresSelection(equipeA) + DeuxChiffresSelection(equipeB) +
                         QStringLiteral(".cpo"));
}

EFichierGroupeAbime::EFichierGroupeAbime(const QString &fichier, qsizetype ligne,
                                         const QString &raison)
    : platform::EFileError(
          manager::TexteLigneFichier(QStringLiteral("Fichier abîmé, il n'est pas lu : ") + raison,
                                     platform::LineFile::resolve(fichier), ligne))
{
}

namespace
{

// Every field followed by ";", nothing after the last one.
bool champsComplets(const QString &ligne, qsizetype champs)
{
    return ligne.count(u';') == champs && (champs == 0 || ligne.endsWith(u';'));
}

QString texteChamps(qsizetype champs)
{
    return QStringLiteral("la ligne n'a pas %1 champs suivis chacun de « ; »").arg(champs);
}

QString texteEntier(const QString &texte)
{
    return QStringLiteral("'%1' n'est pas une valeur entière correcte")
        .arg(platform::excerpt(texte));
}

// Empty, or a whole number as the sheet's readers take it (32 bits).
bool entierOuVide(const QString &texte)
{
    int n = 0;
    return texte.isEmpty() || platform::TryStrToInt(texte, n);
}

// Which fields of line k of a sheet are numbers, and which stay empty.
struct FormeLigne {
    bool nombre[4] = {};
    bool vide[4] = {};
};

FormeLigne formeLigneFeuille(int k)
{
    FormeLigne f;
    const bool joueur =
        (k >= 2 && k <= 5) || (k >= 7 && k <= 10) || (k >= 14 && k <= 17) || (k >= 19 && k <= 22);
    if (k == 1 || k == 13) {
        // Team name, its index; two empty fields.
        f.nombre[1] = true;
        f.vide[2] = f.vide[3] = true;
    } else if (joueur) {
        f.nombre[2] = true; // the value index; the licence is as typed
    } else if (k == 6 || k == 11 || k == 12 || k == 18 || k == 23 || k == 24) {
        f.nombre[0] = f.nombre[1] = f.nombre[2] = f.nombre[3] = true;
    } else if (k == 25) {
        f.nombre[0] = f.nombre[1] = true;
        f.vide[2] = f.vide[3] = true;
    } else if (k > 25) {
        f.vide[0] = f.vide[1] = f.vide[2] = f.vide[3] = true;
    }
    return f;
}

DefautCpo defautMatch(const QStringList &lignes)
{
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        const QString &l = lignes[i];
        if (!champsComplets(l, FeuilleMatch::Champs))
            return {i, texteChamps(FeuilleMatch::Champs)};
        const int k = int(i % FeuilleMatch::Lignes);
        // A sheet always has its name: a line moved into its place does not.
        if (k == 0 && platform::Champ(l, 0).isEmpty())
            return {i, QStringLiteral("la feuille n'a pas de nom")};
        const FormeLigne forme = formeLigneFeuille(k);
        for (int c = 0; c < FeuilleMatch::Champs; ++c) {
            const QString champ = platform::Champ(l, c);
            if (forme.vide[c] && !champ.isEmpty())
                return {i, QStringLiteral("le champ %1 de la ligne devrait être vide (« %2 »)")
                               .arg(c + 1)
                               .arg(platform::excerpt(champ))};
            if (forme.nombre[c] && !entierOuVide(champ))
                return {i, texteEntier(champ)};
        }
    }
    return {};
}

DefautCpo defautTableau(const QStringList &lignes)
{
    if (lignes.isEmpty())
        return {};
    // n teams: n + 2 cells a row, n + 1 rows; the first row gives n.
    const qsizetype colonnes = lignes.first().count(u';');
    const qsizetype equipes = colonnes - 2;
    if (equipes < 0)
        return {0, QStringLiteral("la première ligne n'a pas les colonnes d'un tableau")};
    for (qsizetype r = 0; r < lignes.size(); ++r) {
        const QString &l = lignes[r];
        if (r > equipes)
            return {r, QStringLiteral("ligne en trop : le tableau a %1 colonnes, soit %2 "
                                      "équipes et %3 lignes")
                           .arg(colonnes)
                           .arg(equipes)
                           .arg(equipes + 1)};
        if (!champsComplets(l, colonnes))
            return {r, texteChamps(colonnes)};
        if (r == 0)
            continue;
        for (int c = 1; c < colonnes; ++c) {
            const QString cellule = platform::Champ(l, c);
            qint64 n = 0;
            if (!cellule.isEmpty() && !platform::TryStrToInt64(cellule, n))
                return {r, texteEntier(cellule)};
        }
    }
    if (lignes.size() < equipes + 1)
        return {lignes.size() - 1,
                QStringLiteral("le tableau s'arrête après cette ligne : ses %1 colonnes "
                               "annoncent %2 équipes et %3 lignes")
                    .arg(colonnes)
                    .arg(equipes)
                    .arg(equipes + 1)};
    return {};
}

} // namespace

DefautCpo defautCpo(GenreCpo genre, const QStringList &lignes)
{
    switch (genre) {
    case GenreCpo::Noms:
        return {};
    case GenreCpo::Tableau:
        return defautTableau(lignes);
    case GenreCpo::Match:
        return defautMatch(lignes);
    }
    return {};
}

QStringList lignesCpo(GenreCpo genre, const QByteArray &octets, const QString &fichier)
{
    // Split as every data file is (CR LF, LF or CR); a last line without
    // its end is told by the last byte.
    const QStringList lignes = platform::LineFile::lines(octets);
    const bool coupee = !octets.isEmpty() && !octets.endsWith('\n') && !octets.endsWith('\r');
    for (qsizetype i = 0; i < lignes.size(); ++i)
        if (manager::FichierBinaire({lignes[i]}))
            throw EFichierGroupeAbime(
                fichier, i,
                QStringLiteral("la ligne contient des octets qui ne sont pas du texte"));
    // A name cut short reads as a name: only its missing line end tells.
    if (coupee && genre == GenreCpo::Noms)
        throw EFichierGroupeAbime(
            fichier, lignes.size() - 1,
            QStringLiteral("la dernière ligne est coupée (le fichier finit sans fin de ligne)"));
    const DefautCpo d = defautCpo(genre, lignes);
    if (d.ligne >= 0)
        throw EFichierGroupeAbime(fichier, d.ligne, d.raison);
    return lignes;
}

bool lireCpo(const QString &path, GenreCpo genre, QStringList &lignes)
{
    if (!platform::LineFile::present(path))
        return false;
    lignes = lignesCpo(genre, platform::LineFile::readBytes(path), path);
    return true;
}

void ecrireCpo(const QString &path, const QStringList &lines)
{
    platform::LineFile::write(platform::LineFile::resolve(path), lines);
}

QList<FichierMatchTrouve> fichiersMatchDuGroupe(int groupe)
{
    QList<FichierMatchTrouve> out;
    const QDir dir(fichierSaison(QString()));
    static const QRegularExpression motif(QStringLiteral("^poulem(\\d{2})(\\d{2})(\\d{2})\\.cpo$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QStringList noms = dir.entryList(QDir::Files, QDir::Name);
    for (const QString &nom : noms) {
        const QRegularExpressionMatch m = motif.match(nom);
        if (!m.hasMatch() || m.captured(1) != DeuxChiffres(groupe))
            continue;
        out.append({dir.filePath(nom), m.captured(2).toInt(), m.captured(3).toInt()});
    }
    return out;
}

namespace
{

void supprimerFichier(const QString &path)
{
    const QString found = platform::LineFile::resolve(path);
    if (QFileInfo::exists(found) && !QFile::remove(found))
        throw platform::EFileError(QStringLiteral("Impossible de supprimer le fichier ") +
                                   QDir::toNativeSeparators(found));
}

void renommerFichier(const QString &from, const QString &to)
{
    const QString found = platform::LineFile::resolve(from);
    if (!QFileInfo::exists(found))
        return;
    supprimerFichier(to);
    if (!QFile::rename(found, to))
        throw platform::EFileError(QStringLiteral("Impossible de renommer le fichier ") +
                                   QDir::toNativeSeparators(found));
}

} // namespace

void supprimerGroupe(int groupe, QStringList noms)
{
    const int nombre = noms.size();
    if (groupe < 0 || groupe >= nombre)
        return;
    QStringList supprimes = {fichierEquipes(groupe), fichierTableau(groupe)};
    for (const FichierMatchTrouve &f : fichiersMatchDuGroupe(groupe))
        supprimes << f.chemin;
    QList<std::pair<QString, QString>> renommes;
    for (int i = groupe + 1; i < nombre; ++i) {
        renommes.append({fichierEquipes(i), fichierEquipes(i - 1)});
        renommes.append({fichierTableau(i), fichierTableau(i - 1)});
        for (const FichierMatchTrouve &f : fichiersMatchDuGroupe(i))
            renommes.append({f.chemin, fichierMatch(i - 1, f.equipeA, f.equipeB)});
    }
    // Every file is looked at before any is touched: a removal stopped
    // halfway would leave files that no longer agree.
    platform::LineFile::checkWritable(fichierPoules());
    for (const QString &f : std::as_const(supprimes))
        platform::LineFile::checkRemovable(f);
    for (const auto &[de, vers] : std::as_const(renommes)) {
        platform::LineFile::checkRemovable(de);
        platform::LineFile::checkRemovable(vers);
    }
    // The list first: a group it names always has its files.
    noms.removeAt(groupe);
    ecrireCpo(fichierPoules(), noms);
    for (const QString &f : std::as_const(supprimes))
        supprimerFichier(f);
    for (const auto &[de, vers] : std::as_const(renommes))
        renommerFichier(de, vers);
}
