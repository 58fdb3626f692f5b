#include "manager/core/import_joueurs.h"

#include "manager/core/fichejoueur.h"
#include "manager/core/genrefichier.h"
#include "platform/text/codec.h"
#include "platform/text/linefile.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace manager
{

namespace
{

QString messageIncomplet(int ligne)
{
    return QStringLiteral("Le fichier d'extraction est incomplet (ligne %1)").arg(ligne);
}

// Splits a decoded text into lines at CR LF, LF or CR; a final line end
// does not make an empty line.
QList<QStringView> decouperLignes(const QString &texte)
{
    QList<QStringView> lignes;
    const QChar *d = texte.constData();
    const qsizetype n = texte.size();
    qsizetype debut = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = d[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lignes.append(QStringView(d + debut, i - debut));
        if (c == u'\r' && i + 1 < n && d[i + 1] == u'\n')
            ++i;
        debut = i + 1;
    }
    if (debut < n)
        lignes.append(QStringView(d + debut, n - debut));
    return lignes;
}

// The fields of an extract line, cut at every ";". Fields past the last
// wanted column are only checked for text.
struct Colonnes {
    std::array<QStringView, MaxColonnesExtraction> c{};
    int separateurs = 0;
    bool texteAuDela = false; // text in a 35th or later column
    bool vide = true;         // every field blank

    void lire(QStringView ligne)
    {
        c.fill(QStringView());
        separateurs = 0;
        texteAuDela = false;
        vide = true;
        qsizetype debut = 0;
        int n = 0;
        const qsizetype taille = ligne.size();
        for (qsizetype i = 0; i <= taille; ++i) {
            if (i < taille && ligne[i] != u';')
                continue;
            const QStringView champ = ligne.mid(debut, i - debut);
            if (n < MaxColonnesExtraction)
                c[size_t(n)] = champ;
            else if (!champ.isEmpty())
                texteAuDela = true;
            if (!champ.trimmed().isEmpty())
                vide = false;
            if (i < taille)
                ++separateurs;
            ++n;
            debut = i + 1;
        }
    }
};

// The separators between the header's fields: a ";" that ends the header
// (blanks after it aside) closes its last field and separates nothing, so a
// whole data line without a final ";" has one fewer.
int separateursEntete(QStringView entete)
{
    int n = int(entete.count(u';'));
    if (entete.trimmed().endsWith(u';'))
        --n;
    return n;
}

EImportError tropDeLignes(int maxLignes)
{
    return EImportError(QStringLiteral("Le fichier d'extraction dépasse %1 lignes").arg(maxLignes));
}

// Counts the lines of an extract as its bytes come, so that one past the
// limit is refused before the rest is read or decoded. A line counts once it
// holds an ASCII character other than a blank: blank lines at the end do not
// count against the limit, and another byte may decode to a blank.
class CompteurLignes
{
public:
    explicit CompteurLignes(int maxLignes) : m_max(maxLignes) {}

    void lire(QByteArrayView octets)
    {
        const char *d = octets.data();
        const char *const fin = d + octets.size();
        if (d == fin)
            return;
        // Short of the limit the line feeds alone are counted, as fast as
        // the C library finds them: they number the lines from below (a
        // file of lone CRs is left to the check after decoding).
        qsizetype lf = 0;
        for (const char *p = d;
             (p = static_cast<const char *>(std::memchr(p, '\n', size_t(fin - p)))); ++p)
            ++lf;
        if (m_ligne + lf <= m_max) {
            m_ligne += lf;
            m_apresCR = fin[-1] == '\r';
            return;
        }
        for (const char c : octets) {
            if (c == '\n' || c == '\r') {
                if (c == '\r' || !m_apresCR)
                    ++m_ligne;
                m_apresCR = c == '\r';
                continue;
            }
            m_apresCR = false;
            if (m_ligne > m_max && uchar(c) < 0x80 && c != ' ' && (c < '\t' || c > '\r'))
                throw tropDeLignes(m_max);
        }
    }

private:
    qint64 m_max;
    qint64 m_ligne = 1; // the line being read, from 1 (never above the truth)
    bool m_apresCR = false;
};

int entierStrict(QStringView texte)
{
    // Plain digits, the usual case, are read here; anything else (signs,
    // blanks, errors and their message) goes through the platform's reading.
    if (!texte.isEmpty() && texte.size() <= 9) {
        int valeur = 0;
        bool chiffres = true;
        for (const QChar c : texte) {
            if (c < u'0' || c > u'9') {
                chiffres = false;
                break;
            }
            valeur = valeur * 10 + (c.unicode() - u'0');
        }
        if (chiffres)
            return valeur;
    }
    return platform::StrToInt(texte.toString());
}

} // namespace

QString decoderExtraction(QByteArrayView bytes)
{
    bool coupe = false;
    const QString texte = platform::decodeOutsideText(bytes, &coupe);
    if (!coupe)
        return texte;
    // The line of the cut: count the line ends before it.
    QByteArrayView corps = bytes;
    if (corps.startsWith("\xEF\xBB\xBF"))
        corps = corps.sliced(3);
    int ligne = 1;
    for (qsizetype i = 0; i < corps.size(); ++i) {
        if (corps[i] == '\n' ||
            (corps[i] == '\r' && (i + 1 >= corps.size() || corps[i + 1] != '\n')))
            ++ligne;
    }
    throw EImportError(messageIncomplet(ligne));
}

namespace
{

// The extract once its bytes passed the line count.
int lireDecodee(QByteArrayView bytes, Extraction &extraction, int maxLignes,
                const QString &fichier = QString())
{
    const QString texte = decoderExtraction(bytes);
    const QList<QStringView> lignes = decouperLignes(texte);

    // Blank lines at the end do not count against the limit.
    qsizetype total = lignes.size();
    while (total > 0 && lignes[total - 1].trimmed().isEmpty())
        --total;
    if (total > maxLignes)
        throw tropDeLignes(maxLignes);

    qsizetype entete = -1;
    for (qsizetype i = 0; i < total; ++i) {
        const QStringView ligne = lignes[i];
        if (ligne.size() >= 5 && ligne[4] == u'l') {
            entete = i;
            break;
        }
    }
    if (entete < 0)
        return -1;

    Extraction lue;
    lue.separateurs = separateursEntete(lignes[entete]);
    Colonnes col;
    for (qsizetype i = entete + 1; i < total; ++i) {
        col.lire(lignes[i]);
        if (col.vide)
            continue;
        const int numero = int(i + 1);
        if (col.texteAuDela)
            throw EImportError(
                QStringLiteral("La ligne %1 de l'extraction a plus de 34 colonnes").arg(numero));
        if (col.separateurs < lue.separateurs)
            throw EImportError(messageIncomplet(numero));
        LireLigne(fichier, i, [&] {
            entierStrict(col.c[0]);
            if (!col.c[17].isEmpty())
                entierStrict(col.c[17]);
        });
        lue.lignes.append(lignes[i].toString());
        lue.numeros.append(numero);
    }
    extraction = std::move(lue);
    return int(extraction.lignes.size());
}

} // namespace

int lireExtractionTexte(QByteArrayView bytes, Extraction &extraction, int maxLignes)
{
    extraction.clear();
    CompteurLignes(maxLignes).lire(bytes);
    return lireDecodee(bytes, extraction, maxLignes);
}

int LireExtraction(const QString &fichier, Extraction &extraction, int maxLignes)
{
    extraction.clear();
    const qint64 maxOctets = qint64(maxLignes) * OctetsParLigneExtraction;
    const auto tropGros = [&] {
        return EImportError(
            QStringLiteral("Le fichier %1 est trop volumineux pour une extraction de %2 lignes")
                .arg(QDir::toNativeSeparators(fichier), QString::number(maxLignes)));
    };
    CompteurLignes compteur(maxLignes);
    qint64 lus = 0;
    platform::LineFile::Watch watch;
    watch.sized = [&](qint64 taille) {
        if (taille > maxOctets)
            throw tropGros();
    };
    // A file that grows while it is read is held to the same bound.
    watch.piece = [&](QByteArrayView piece) {
        lus += piece.size();
        if (lus > maxOctets)
            throw tropGros();
        compteur.lire(piece);
    };
    // Neither a folder nor a pipe (never waited on) is read.
    return lireDecodee(platform::LineFile::readBytes(fichier, watch), extraction, maxLignes,
                       fichier);
}

QString CodeClassement(const QString &indice)
{
    const int iv = indice.isEmpty() ? 0 : platform::StrToInt(indice);
    switch (iv) {
    case 20:
        return QStringLiteral("N C");
    case 22:
        return QStringLiteral("4 T");
    case 24:
        return QStringLiteral("4 K");
    case 26:
        return QStringLiteral("4 C");
    case 28:
        return QStringLiteral("4 P");
    case 30:
        return QStringLiteral("4Pr");
    case 31:
        return QStringLiteral("3 H");
    case 32:
        return QStringLiteral("3 T");
    case 34:
        return QStringLiteral("3 K");
    case 36:
        return QStringLiteral("3 C");
    case 38:
        return QStringLiteral("3 P");
    case 40:
        return QStringLiteral("3Pr");
    case 42:
        return QStringLiteral("2 H");
    case 44:
        return QStringLiteral("2 T");
    case 48:
        return QStringLiteral("2 K");
    case 50:
        return QStringLiteral("2MH");
    case 52:
        return QStringLiteral("2 C");
    case 56:
        return QStringLiteral("2 P");
    case 58:
        return QStringLiteral("2PH");
    case 60:
        return QStringLiteral("2Pr");
    case 64:
        return QStringLiteral("1TH");
    case 68:
        return QStringLiteral("1 T");
    case 72:
        return QStringLiteral("1KH");
    case 76:
        return QStringLiteral("1 K");
    case 80:
        return QStringLiteral("1CH");
    case 84:
        return QStringLiteral("1 C");
    case 88:
        return QStringLiteral("1PH");
    case 92:
        return QStringLiteral("1 P");
    case 96:
        return QStringLiteral("1NH");
    case 100:
        return QStringLiteral("1 N");
    default:
        return QString();
    }
}

QString AnneeSaison(platform::TDateTime maintenant)
{
    int annee = 0, mois = 0, jour = 0;
    platform::DecodeDate(maintenant, annee, mois, jour);
    return QString::number(mois >= 8 ? annee + 1 : annee);
}

QString FormatTelephone(const QString &texte)
{
    QString r;
    r.reserve(texte.size() + texte.size() / 2);
    for (qsizetype i = 0; i < texte.size(); ++i) {
        r += texte[i];
        if ((i + 1) % 2 == 0 && i + 1 < texte.size())
            r += u' ';
    }
    return r;
}

QString DateFrancaise(const QString &texte)
{
    QStringView parties[3];
    qsizetype debut = 0;
    for (int p = 0; p < 3 && debut <= texte.size(); ++p) {
        qsizetype fin = texte.indexOf(u'-', debut);
        if (fin < 0)
            fin = texte.size();
        parties[p] = QStringView(texte).mid(debut, fin - debut);
        debut = fin + 1;
    }
    QString r;
    r.reserve(texte.size() + 2);
    r += parties[2];
    r += u'/';
    r += parties[1];
    r += u'/';
    r += parties[0];
    return r;
}

QString ficheDepuisExtraction(const QString &ligne, const QString &domaineFederation,
                              const QString &anneeSaison)
{
    Colonnes col;
    col.lire(ligne);
    const auto &c = col.c;
    FicheJoueur f;
    f.Licence = c[0].toString();
    f.Titre = c[1].toString();
    f.Nom = platform::upperAZ(c[2].toString());
    f.Prenom = c[3].toString();
    f.Indice = c[17].toString();
    f.Club = platform::upperAZ(c[16].toString());
    f.Adresse1 = c[5].toString();
    f.Adresse2 = c[6].toString();
    f.CodePostal = c[7].toString();
    f.Ville = c[8].toString();
    f.TelDomicile = FormatTelephone(c[10].toString());
    f.TelPortable = FormatTelephone(c[11].toString());
    // Addresses the federation gives every licensee are not kept.
    if (domaineFederation.isEmpty() ||
        !c[12].trimmed().endsWith(QString(u'@' + domaineFederation), Qt::CaseInsensitive))
        f.Courriel = c[12].toString();
    f.DateNaissance = DateFrancaise(c[4].toString());
    f.TypeLicence = c[14].toString() + u' ' + c[13].toString();
    f.Classement = CodeClassement(f.Indice);
    f.Annee = anneeSaison;
    // Extract fields were cut at ";" and at line ends, so none holds either:
    // the fields are joined as they are.
    QString fiche;
    fiche.reserve(ligne.size() + 48);
    for (int n = 0; n < FicheJoueur::NbChamps; ++n) {
        fiche += f.champ(n);
        fiche += u';';
    }
    return fiche;
}

int licenceDe(const QString &ligne)
{
    const qsizetype fin = ligne.indexOf(u';');
    return entierStrict(QStringView(ligne).left(fin < 0 ? ligne.size() : fin));
}

namespace
{

// The Windows-1252 bytes of a field, for sorting: the text in memory holds
// only characters of the code page.
void ajouterAnsi(QByteArray &octets, QStringView texte)
{
    for (const QChar ch : texte) {
        const char16_t c = ch.unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            octets += char(c);
        } else {
            const int b = platform::ansiByte(ch);
            octets += char(b < 0 ? '?' : b);
        }
    }
}

// Fields 2 and 3 of a players-file line (empty when missing).
void nomEtPrenom(const QString &ligne, QStringView &nom, QStringView &prenom)
{
    nom = prenom = QStringView();
    qsizetype debut = 0;
    for (int champ = 0; champ < 4; ++champ) {
        qsizetype fin = ligne.indexOf(u';', debut);
        const bool dernier = fin < 0;
        if (dernier)
            fin = ligne.size();
        if (champ == 2)
            nom = QStringView(ligne).mid(debut, fin - debut);
        else if (champ == 3)
            prenom = QStringView(ligne).mid(debut, fin - debut);
        if (dernier)
            return;
        debut = fin + 1;
    }
}

} // namespace

void TrierJoueurs(QStringList &joueurs)
{
    // One key per line: the name's bytes, then the first name's; the
    // comparison looks at the name first, then at the first name.
    struct Cle {
        QByteArray octets;
        qsizetype longueurNom;
        qsizetype ligne;
        QByteArrayView nom() const { return QByteArrayView(octets).first(longueurNom); }
        QByteArrayView prenom() const { return QByteArrayView(octets).sliced(longueurNom); }
    };
    std::vector<Cle> cles;
    cles.reserve(size_t(joueurs.size()));
    for (qsizetype i = 0; i < joueurs.size(); ++i) {
        QStringView nom, prenom;
        nomEtPrenom(joueurs[i], nom, prenom);
        QByteArray octets;
        octets.reserve(nom.size() + prenom.size());
        ajouterAnsi(octets, nom);
        const qsizetype longueurNom = octets.size();
        ajouterAnsi(octets, prenom);
        cles.push_back({std::move(octets), longueurNom, i});
    }
    // Byte views compare as unsigned bytes, i.e. by Windows-1252 code.
    std::stable_sort(cles.begin(), cles.end(), [](const Cle &a, const Cle &b) {
        const int n = a.nom().compare(b.nom());
        if (n != 0)
            return n < 0;
        return a.prenom().compare(b.prenom()) < 0;
    });
    QStringList triees;
    triees.reserve(joueurs.size());
    for (const Cle &cle : cles)
        triees.append(std::move(joueurs[cle.ligne]));
    joueurs = std::move(triees);
}

void ListeJoueurs::indexer()
{
    QHash<int, int> index;
    index.reserve(lignes.size());
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        if (lignes[i].trimmed().isEmpty())
            continue;
        index.insert(LireLigne(fichier, i, [&] { return licenceDe(lignes[i]); }), int(i));
    }
    m_index = std::move(index);
}

int ListeJoueurs::ChercherLicence(int licence) const
{
    return m_index.value(licence, -1);
}

void ListeJoueurs::integrer(const QString &fiche)
{
    const int licence = licenceDe(fiche);
    const int k = ChercherLicence(licence);
    if (k < 0) {
        lignes.append(fiche);
        m_index.insert(licence, int(lignes.size() - 1));
    } else {
        lignes[k] = fiche;
    }
}

void ListeJoueurs::oublierIndex()
{
    m_index.clear();
}

void ListeJoueurs::clear()
{
    lignes.clear();
    fichier.clear();
    m_index.clear();
}

void IntegrerJoueurs(const Extraction &extraction, ListeJoueurs &joueurs,
                     const ParametresImport &parametres)
{
    joueurs.indexer();
    const qsizetype n = extraction.lignes.size();
    QStringList fiches;
    fiches.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        if (i % 10 == 0 && parametres.progression)
            parametres.progression(int(i));
        fiches.append(ficheDepuisExtraction(extraction.lignes[i], parametres.domaineFederation,
                                            parametres.anneeSaison));
    }
    for (const QString &fiche : std::as_const(fiches))
        joueurs.integrer(fiche);
    if (parametres.progression)
        parametres.progression(int(n));
    TrierJoueurs(joueurs.lignes);
    // Positions moved: the index is rebuilt before the next merge.
    joueurs.oublierIndex();
}

void ImportJoueurs::chargerJoueurs(const QString &chemin)
{
    clear();
    m_lu.noter(chemin);
    joueurs.lignes = platform::LineFile::read(chemin);
    try {
        LireLignesJoueurs(chemin);
    } catch (const platform::EConvertError &e) {
        m_abime = e.Message();
    } catch (const platform::EFileError &e) {
        m_abime = e.Message();
    }
    joueurs.fichier = chemin;
    m_chemin = chemin;
}

int ImportJoueurs::lire(const QString &fichier, int maxLignes)
{
    return LireExtraction(fichier, extraction, maxLignes);
}

void ImportJoueurs::integrer(bool remiseAZero, const ParametresImport &parametres)
{
    ListeJoueurs travail;
    if (!remiseAZero && !m_abime.isEmpty())
        throw platform::EFileError(m_abime);
    if (!remiseAZero)
        travail = joueurs;
    IntegrerJoueurs(extraction, travail, parametres);
    joueurs = std::move(travail);
}

void ImportJoueurs::enregistrer() const
{
    // The merge took long, and the file may have been changed meanwhile:
    // the import is then run again on the file as it is.
    m_lu.verifier(m_chemin);
    platform::LineFile::write(m_chemin, joueurs.lignes);
}

void ImportJoueurs::clear()
{
    joueurs.clear();
    extraction.clear();
    m_chemin.clear();
    m_lu.oublier();
    m_abime.clear();
}

} // namespace manager
