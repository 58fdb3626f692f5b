#include "manager/core/lignechallenge.h"

#include "manager/core/lecturesaison.h"
#include "manager/core/saisie.h"
#include "manager/core/vorn_dec.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "platform/text/linefile.h"

#include <QDate>
#include <QFileInfo>

const QStringList TitresChallenge = {QStringLiteral("Num"),
                                     QStringLiteral("Date"),
                                     QStringLiteral("Nom"),
                                     QStringLiteral("Type"),
                                     QStringLiteral("Colonne"),
                                     QStringLiteral("Coéf."),
                                     QStringLiteral("Fichier résultat du challenge")};

LigneChallenge LigneChallenge::depuisLigne(const QString &line)
{
    LigneChallenge l;
    l.numero = platform::Champ(line, 0);
    l.date = platform::Champ(line, 1);
    l.nom = platform::Champ(line, 2);
    l.type = platform::Champ(line, 3);
    l.colonne = platform::Champ(line, 4);
    l.coefficient = platform::Champ(line, 5);
    l.fichierResultat = platform::Champ(line, 6);
    return l;
}

QString LigneChallenge::versLigne() const
{
    QString out;
    for (const QString *f : {&numero, &date, &nom, &type, &colonne, &coefficient, &fichierResultat})
        out += champSaisi(*f) + QLatin1Char(';');
    return out;
}

namespace
{

// Exactly dd/mm/yyyy, and a day that exists.
bool dateReelle(const QString &texte)
{
    if (texte.size() != 10 || texte[2] != u'/' || texte[5] != u'/')
        return false;
    int valeurs[3] = {0, 0, 0};
    const int debuts[3] = {0, 3, 6};
    const int longueurs[3] = {2, 2, 4};
    for (int k = 0; k < 3; ++k) {
        for (int i = debuts[k]; i < debuts[k] + longueurs[k]; ++i) {
            const char16_t c = texte[i].unicode();
            if (c < u'0' || c > u'9')
                return false;
            valeurs[k] = valeurs[k] * 10 + (c - u'0');
        }
    }
    return valeurs[2] >= 1 && QDate(valeurs[2], valeurs[1], valeurs[0]).isValid();
}

} // namespace

void LigneChallenge::verifier() const
{
    if (!dateReelle(date))
        throw platform::EConvertError(
            QStringLiteral("Date : '%1' n'est pas une date correcte (jj/mm/aaaa)")
                .arg(platform::excerpt(date)));
    int valeur = 0;
    if (!platform::TryStrToInt(coefficient, valeur))
        throw platform::EConvertError(
            QStringLiteral("Coéf. : '%1' n'est pas une valeur entière correcte")
                .arg(platform::excerpt(coefficient)));
}

QStringList LireTournois(const QString &fichier)
{
    // The date and coefficient, typed, are checked by the ranking with
    // their line; the number and the journée are the window's own.
    return manager::LireFichierSaison(fichier, QStringLiteral("une liste de tournois"),
                                      [](qsizetype, const QString &l) {
                                          manager::VerifierChamps(l, 7);
                                          manager::VerifierEntier(platform::Champ(l, 0));
                                          manager::VerifierEntier(platform::Champ(l, 4));
                                      });
}

QString ListeTournois::cheminFichier()
{
    // Season creation writes "Challenge.DBP"; other spellings copied from
    // elsewhere are found and kept.
    return platform::LineFile::resolve(fichierSaison(QStringLiteral("Challenge.DBP")));
}

ListeTournois::Chargement ListeTournois::charger(QString *erreur)
{
    const QString chemin = cheminFichier();
    // Noted before the read: a change made while it runs shows at the next write.
    m_fichier.noter(chemin);
    const bool present = QFileInfo::exists(chemin);
    const bool memeFichier = chemin == m_chemin;
    m_chemin = chemin;
    try {
        m_lignes = LireTournois(chemin);
        m_courant = 0;
        m_ecritureAutorisee = true;
        return Chargement::Lu;
    } catch (const platform::Exception &e) {
        if (erreur)
            *erreur = e.Message();
    }
    // A file that exists but cannot be read must never be overwritten by a
    // list that does not hold its lines. The list of that same file stays
    // shown, read only; another file's is let go.
    if (!present || !memeFichier) {
        m_lignes.clear();
        m_courant = 0;
    }
    m_ecritureAutorisee = !present;
    return present ? Chargement::Illisible : Chargement::Absent;
}

void ListeTournois::normaliser()
{
    if (m_courant > m_lignes.size())
        m_courant = m_lignes.size();
    if (m_courant == 0 && !m_lignes.isEmpty())
        m_courant = 1;
}

void ListeTournois::precedent()
{
    if (m_courant >= 2)
        --m_courant;
}

void ListeTournois::suivant()
{
    if (m_lignes.size() > m_courant)
        ++m_courant;
}

bool ListeTournois::ajouter(LigneChallenge ligne)
{
    if (!m_ecritureAutorisee)
        return false;
    ligne.verifier();
    ligne.numero = QString::number(m_lignes.size() + 1);
    ligne.fichierResultat.clear();
    QStringList lignes = m_lignes;
    lignes.append(ligne.versLigne());
    sauver(lignes);
    m_courant = m_lignes.size();
    return true;
}

bool ListeTournois::modifier(LigneChallenge ligne)
{
    if (!m_ecritureAutorisee || m_courant < 1 || m_courant > m_lignes.size())
        return false;
    ligne.verifier();
    ligne.numero = QString::number(m_courant);
    // The link is dropped: it must be made again for the edited tournament.
    ligne.fichierResultat.clear();
    QStringList lignes = m_lignes;
    lignes[m_courant - 1] = ligne.versLigne();
    sauver(lignes);
    return true;
}

bool ListeTournois::lierResultat(LigneChallenge ligne, const QString &fichierChoisi)
{
    if (!m_ecritureAutorisee || m_courant < 1 || m_courant > m_lignes.size())
        return false;
    ligne.verifier();
    ligne.numero = QString::number(m_courant);
    const int slash = fichierChoisi.lastIndexOf(QLatin1Char('/'));
    ligne.fichierResultat = fichierChoisi.mid(slash + 1);
    QStringList lignes = m_lignes;
    lignes[m_courant - 1] = ligne.versLigne();
    sauver(lignes);
    return true;
}

bool ListeTournois::supprimer()
{
    if (!m_ecritureAutorisee || m_courant < 1 || m_courant > m_lignes.size())
        return false;
    QStringList lignes = m_lignes;
    lignes.removeAt(m_courant - 1);
    sauver(lignes);
    m_courant = m_lignes.size();
    return true;
}

void ListeTournois::sauver(const QStringList &lignes)
{
    if (m_chemin.isEmpty())
        m_chemin = cheminFichier();
    // The list changes only once the file holds it: a write that fails (a
    // full disk) leaves both as they were, and the edits keep what was typed.
    m_fichier.verifier(m_chemin);
    platform::LineFile::write(m_chemin, lignes);
    m_fichier.noter(m_chemin);
    m_lignes = lignes;
}
