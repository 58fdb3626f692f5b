#include "manager/core/poulequatre.h"

#include "manager/core/vorn_dec.h"
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

QStringList lireCpo(const QString &path)
{
    return platform::LineFile::read(path);
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
