#include "manager/core/lecturesaison.h"

#include "manager/core/genrefichier.h"
#include "platform/text/convert.h"
#include "platform/text/linefile.h"

namespace manager
{

EFichierAbime::EFichierAbime(const QString &raison, const QString &fichier, qsizetype ligne)
    : platform::EFileError(TexteLigneFichier(raison, fichier, ligne))
{
}

namespace
{

bool controle(const QString &ligne)
{
    return FichierBinaire(QStringList{ligne});
}

} // namespace

QStringList LireFichierSaison(const QString &fichier, const QString &genre,
                              const VerifLigne &verifier, bool *existe)
{
    if (existe) {
        *existe = platform::LineFile::present(fichier);
        if (!*existe)
            return {};
    }
    // A missing file is said as every checked read says it.
    QByteArray octets = platform::LineFile::readBytes(fichier);
    // The end mark some old editors put after the text.
    while (octets.endsWith('\x1a'))
        octets.chop(1);
    const QStringList lignes = platform::LineFile::lines(octets);
    // Not one line of text: a file of another kind picked by mistake; text
    // that gives way to other bytes is said with the line where it does.
    bool texte = lignes.isEmpty();
    for (const QString &l : lignes)
        texte = texte || !controle(l);
    if (!texte)
        throw EAutreGenre(genre, fichier);
    for (qsizetype i = 0; i < lignes.size(); ++i)
        if (controle(lignes[i]))
            throw EAutreGenre(genre, fichier, i);
    // Every line the program writes ends with its line end, the last too.
    const char fin = octets.isEmpty() ? '\n' : octets.back();
    if (fin != '\n' && fin != '\r')
        throw EFichierAbime(QStringLiteral("Ligne coupée : le fichier s'arrête au milieu de "
                                           "cette ligne"),
                            fichier, lignes.size() - 1);
    if (verifier)
        for (qsizetype i = 0; i < lignes.size(); ++i)
            LireLigne(fichier, i, [&] { verifier(i, lignes[i]); });
    return lignes;
}

void VerifierChamps(const QString &ligne, int n, bool auMoins)
{
    const qsizetype champs = ligne.count(QLatin1Char(';'));
    const bool fin = ligne.endsWith(QLatin1Char(';')) || ligne.isEmpty();
    if (champs == n && fin)
        return;
    if (auMoins && champs >= n)
        return;
    throw platform::EConvertError(QStringLiteral("Ligne incomplète : %1 champs au lieu de %2%3")
                                      .arg(champs)
                                      .arg(n)
                                      .arg(auMoins ? QStringLiteral(" au moins") : QString()));
}

void VerifierEntier(const QString &texte, bool videPermis)
{
    if (videPermis && texte.isEmpty())
        return;
    platform::StrToInt64(texte);
}

void LigneRepetee(qsizetype premiere)
{
    throw platform::EConvertError(
        QStringLiteral("Ligne répétée : elle reprend la ligne %1").arg(premiere + 1));
}

} // namespace manager
