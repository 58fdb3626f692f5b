#include "manager/core/paires.h"

#include "manager/core/arrondi.h"
#include "manager/core/genrefichier.h"
#include "platform/text/codec.h"
#include "platform/text/convert.h"
#include "platform/text/linefile.h"

#include <QStringDecoder>

namespace manager
{

namespace
{

QString blancs(int n)
{
    return QString(n, QLatin1Char(' '));
}

bool egalSansCasse(const QString &a, const QString &b)
{
    return a.size() == b.size() && platform::upperAZ(a) == platform::upperAZ(b);
}

// The lines by which a ranking page of the licensee area is known; the two
// accented ones are the page's UTF-8 bytes as the code page reads them.
const QStringList &lignesAcceptation()
{
    static const QStringList lignes = {
        blancs(12) + QStringLiteral("Open /2 "),
        blancs(16) + QStringLiteral("T\u00C3\u00A9l\u00C3\u00A9charger le livret"),
        blancs(12) + QStringLiteral("R\u00C3\u00A9sultats"),
    };
    return lignes;
}

QString ligne(const QStringList &lines, qsizetype i)
{
    return i >= 0 && i < lines.size() ? lines[i] : QString();
}

int valeurNumerique(QStringView ref, bool &ok)
{
    ok = false;
    int v = 0;
    if (ref.startsWith(QLatin1Char('x')) || ref.startsWith(QLatin1Char('X')))
        v = ref.mid(1).toInt(&ok, 16);
    else
        v = ref.toInt(&ok, 10);
    return v;
}

QString references(const QString &text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const qsizetype fin = c == QLatin1Char('&') ? text.indexOf(QLatin1Char(';'), i) : -1;
        if (fin < 0 || fin - i > 10) {
            out += c;
            continue;
        }
        const QStringView nom = QStringView(text).mid(i + 1, fin - i - 1);
        QString remplacement;
        if (nom == u"amp")
            remplacement = QStringLiteral("&");
        else if (nom == u"lt")
            remplacement = QStringLiteral("<");
        else if (nom == u"gt")
            remplacement = QStringLiteral(">");
        else if (nom == u"quot")
            remplacement = QStringLiteral("\"");
        else if (nom == u"apos")
            remplacement = QStringLiteral("'");
        else if (nom == u"nbsp")
            remplacement = QStringLiteral(" ");
        else if (nom.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const int code = valeurNumerique(nom.mid(1), ok);
            if (ok && code > 0 && code <= 0x10FFFF)
                remplacement = platform::ansiSafe(
                    QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1));
        }
        if (remplacement.isEmpty()) {
            out += c;
            continue;
        }
        out += remplacement;
        i = fin;
    }
    return out;
}

} // namespace

bool PagePaires(const QStringList &page)
{
    for (const QString &l : page)
        for (const QString &a : lignesAcceptation())
            if (egalSansCasse(l, a))
                return true;
    return false;
}

bool PageHtml(const QStringList &page)
{
    for (const QString &l : page)
        if (l.contains(QLatin1String("<html"), Qt::CaseInsensitive) ||
            l.contains(QLatin1String("<!doctype"), Qt::CaseInsensitive))
            return true;
    return false;
}

QStringList ExtrairePaires(const QStringList &page, QList<qsizetype> *origines)
{
    QStringList extrait;
    if (origines)
        origines->clear();
    if (page.isEmpty())
        return extrait;
    extrait.append(page[0]);
    if (origines)
        origines->append(0);
    const QString ouvre1 = blancs(12) + QStringLiteral("<div class=\"container-table columns\">");
    const QString ouvre2 =
        blancs(8) + QStringLiteral("<div class=\"container-table columns\" id=\"contenu\">");
    const QString ferme1 = blancs(4) + QStringLiteral("</section>");
    const QString ferme2 = blancs(8) + QStringLiteral("<!-- Simultanee only -->");
    const QString saute = blancs(8) + QStringLiteral("<div class=\"container-table\">");
    bool bloc = false;
    for (qsizetype i = 1; i < page.size(); ++i) {
        const QString &l = page[i];
        if (l == ouvre1 || l == ouvre2)
            bloc = true;
        if (l == ferme1 || l == ferme2)
            bloc = false;
        if (bloc && l != saute) {
            extrait.append(l);
            if (origines)
                origines->append(i);
        }
    }
    return extrait;
}

qsizetype LigneHorsExtrait(const QStringList &lines)
{
    if (lines.size() < 2)
        return lines.size();
    // Past line 0, an extract starts with the opening of a ranking block.
    const QString ouvre1 = blancs(12) + QStringLiteral("<div class=\"container-table columns\">");
    const QString ouvre2 =
        blancs(8) + QStringLiteral("<div class=\"container-table columns\" id=\"contenu\">");
    if (lines[1] != ouvre1 && lines[1] != ouvre2)
        return 1;
    const QStringList extrait = ExtrairePaires(lines);
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (i >= extrait.size() || extrait[i] != lines[i])
            return i;
    return -1;
}

bool ExtraitPaires(const QStringList &lines)
{
    return LigneHorsExtrait(lines) < 0;
}

QString TexteHtml(const QString &line, int mode)
{
    auto sansBlancs = [&line]() {
        qsizetype i = 0;
        while (i < line.size() && line[i] == QLatin1Char(' '))
            ++i;
        return i;
    };
    switch (mode) {
    case 0:
        return line.mid(sansBlancs());
    case 1:
    case 4: {
        qsizetype pos = -1;
        for (int k = 0; k < mode; ++k) {
            pos = line.indexOf(QLatin1Char('>'), pos + 1);
            if (pos < 0)
                return QString();
        }
        QString out;
        for (qsizetype i = pos + 1; i < line.size(); ++i) {
            if (line[i] == QLatin1Char('<'))
                break;
            out += line[i];
            if (line[i] == QLatin1Char('>'))
                break;
        }
        return out;
    }
    case 3: {
        const qsizetype debut = sansBlancs();
        const qsizetype blanc = line.indexOf(QLatin1Char(' '), debut);
        return blanc < 0 ? QString() : line.mid(blanc + 1);
    }
    default:
        return QString();
    }
}

QString TexteDePage(const QString &bytes)
{
    // Decoding must run before its error flag means anything: the page's
    // Windows-1252 bytes are kept whole, only valid UTF-8 is converted.
    return references(platform::decodeOutsideText(platform::toAnsi(bytes)));
}

QString NomCompact(const QString &name)
{
    QString sans = name;
    sans.remove(QLatin1Char(' '));
    return platform::upperAZ(sans);
}

EPageIncomplete::EPageIncomplete(const QString &fichier, int paire, qsizetype ligne)
    : platform::Exception(QStringLiteral("Page du classement incomplète : %1\n"
                                         "La paire %2 (ligne %3) s'arrête avant sa fin : la page "
                                         "a été enregistrée avant d'être entièrement chargée ou "
                                         "le fichier a été coupé.")
                              .arg(fichier)
                              .arg(paire)
                              .arg(ligne))
{
}

EClassementAbime::EClassementAbime(const QString &fichier, qsizetype ligne, const QString &raison)
    : platform::Exception(QStringLiteral("Classement abîmé, il n'est pas lu : %1 (fichier %2, "
                                         "ligne %3)")
                              .arg(raison, fichier)
                              .arg(ligne))
{
}

QStringList LirePaires(const QStringList &extract, const QString &fichier,
                       const QList<qsizetype> *origines)
{
    // A pair is read at fixed distances from its place: a line doubled or
    // removed in the file moves the reading onto markup, an empty name or
    // the place of another pair. Such a reading is refused, never ranked.
    const qsizetype n = extract.size();
    const auto ligneDuFichier = [&](qsizetype i) {
        return (origines && i >= 0 && i < origines->size() ? origines->at(i) : i) + 1;
    };
    const auto refuser = [&](qsizetype i, const QString &raison) {
        throw EClassementAbime(fichier, ligneDuFichier(i), raison);
    };
    const auto coupee = [&](qsizetype i, qsizetype paires) {
        throw EPageIncomplete(fichier, int(paires + 1), ligneDuFichier(std::min(i, n - 1)));
    };
    const QString nouvelle = blancs(36) + QStringLiteral("<optgroup label=\"Clubs participants\">");
    bool nouveau = false;
    for (const QString &l : extract)
        if (egalSansCasse(l, nouvelle)) {
            nouveau = true;
            break;
        }
    const QString tableau = blancs(16) + QStringLiteral("<tbody>");
    const QString cellule = blancs(24) + QStringLiteral("<td class=\"text-center\">");

    QStringList paires;
    qsizetype i = 0;
    while (i < n && extract[i] != tableau)
        ++i;
    if (i >= n)
        return paires;
    i += nouveau ? 3 : 6;
    do {
        // The row's last line read: past the end, the page was cut inside it.
        if (i + (nouveau ? 22 : 10) >= n)
            coupee(i, paires.size());
        QString place, nom1, nom2;
        const qsizetype debut = i;
        const qsizetype lignesNoms[2] = {i + (nouveau ? 18 : 7), i + (nouveau ? 22 : 10)};
        // The first pair's row opens as every later one, which the scan finds.
        if (nouveau && paires.isEmpty() && ligne(extract, i - 1) != cellule)
            refuser(i - 1, QStringLiteral("la paire 1 ne commence pas par sa cellule de place"));
        if (nouveau) {
            place = TexteHtml(ligne(extract, i), 0);
            nom1 = TexteHtml(ligne(extract, i + 18), 4);
            nom2 = TexteHtml(ligne(extract, i + 22), 4);
            qsizetype j = i;
            while (j < n && extract[j] != cellule)
                ++j;
            i = j < n ? j + 1 : n + 1;
        } else {
            place = TexteHtml(ligne(extract, i), 1);
            nom1 = TexteHtml(ligne(extract, i + 7), 3);
            nom2 = TexteHtml(ligne(extract, i + 10), 3);
            i += 17;
        }
        // A field holding ";" or a line break ("&#10;") would break the record.
        auto champ = [](const QString &t) {
            QString c = TexteDePage(t);
            c.replace(QLatin1Char(';'), QLatin1Char(' '));
            c.replace(QLatin1Char('\r'), QLatin1Char(' '));
            c.replace(QLatin1Char('\n'), QLatin1Char(' '));
            return c + QLatin1Char(';');
        };
        const int rang = int(paires.size()) + 1;
        const QString champs[3] = {champ(place), champ(nom1), champ(nom2)};
        const auto vide = [](const QString &c) { return c.chopped(1).trimmed().isEmpty(); };
        const QString placeLue = champs[0].chopped(1).trimmed();
        if (vide(champs[0]) || placeLue.startsWith(QLatin1Char('<')))
            refuser(debut, QStringLiteral("la paire %1 n'a pas de place").arg(rang));
        // A numbered place is never past the pair's rank: otherwise a pair
        // before it was lost.
        bool numero = false;
        const int valeur = placeLue.toInt(&numero);
        if (numero && (valeur < 1 || valeur > rang))
            refuser(debut, QStringLiteral("la paire %1 a la place %2").arg(rang).arg(placeLue));
        for (int k = 1; k <= 2; ++k)
            if (vide(champs[k]) || champs[k].startsWith(QLatin1Char('<')))
                refuser(
                    lignesNoms[k - 1],
                    QStringLiteral("le joueur %1 de la paire %2 n'a pas de nom").arg(k).arg(rang));
        paires.append(champs[0] + champs[1] + champs[2]);
    } while (i < n - 8);
    // A pair's opening cell among the last lines: its row was cut off.
    if (nouveau && i <= n)
        coupee(i, paires.size());
    return paires;
}

qint64 PointsPaire(int n, int r, qint64 k)
{
    if (n <= 1)
        return DivisionArrondiePaire(10 * k, 9000);
    // x = (n - r) / (n - 1); points = (x^2 + 1/9) n k / 1000, exactly.
    const __int128 d = n - 1;
    const __int128 e = n - r;
    __int128 num = __int128(n) * k * (9 * e * e + d * d);
    const __int128 den = 9000 * d * d;
    const bool negatif = num < 0;
    if (negatif)
        num = -num;
    __int128 q = num / den;
    const __int128 reste = num % den;
    if (2 * reste > den || (2 * reste == den && (q & 1)))
        ++q;
    return qint64(negatif ? -q : q);
}

QStringList CalculPointsPaires(const QStringList &paires, const QList<FicheJoueur> &joueurs,
                               const QString &coefK, const QString &fichierJoueurs)
{
    const qint64 k = platform::StrToInt(coefK);
    QStringList cles1, cles2;
    cles1.reserve(joueurs.size());
    cles2.reserve(joueurs.size());
    for (const FicheJoueur &j : joueurs) {
        cles1.append(NomCompact(j.Prenom + j.Nom));
        cles2.append(NomCompact(j.Prenom + QStringLiteral(" de ") + j.Nom));
    }
    auto indice = [](const QString &t) { return t.isEmpty() ? 0 : platform::StrToInt(t); };
    auto trouver = [&](const QString &nom) -> QString {
        const QString cle = NomCompact(nom);
        for (qsizetype j = 0; j < joueurs.size(); ++j)
            if (cle == cles1[j] || cle == cles2[j]) {
                // A damaged value index is said with its line of the
                // players file, before any line is kept.
                LireLigne(fichierJoueurs, j, [&] { return indice(joueurs[j].Indice); });
                return joueurs[j].Licence + QLatin1Char(';') + joueurs[j].Indice + QLatin1Char(';');
            }
        return QStringLiteral(";;");
    };

    const int n = int(paires.size());
    QStringList lignes;
    lignes.reserve(n);
    for (const QString &p : paires) {
        QString l = platform::Champ(p, 0) + QLatin1Char(';') + platform::Champ(p, 1) +
                    QLatin1Char(';') + platform::Champ(p, 2) + QLatin1Char(';');
        lignes.append(l);
    }
    for (QString &l : lignes)
        l += trouver(platform::Champ(l, 1));
    for (QString &l : lignes)
        l += trouver(platform::Champ(l, 2));
    for (int r = 1; r <= n; ++r)
        lignes[r - 1] += QString::number(PointsPaire(n, r, k)) + QLatin1Char(';');

    auto mention = [&](int plafond, const QString &texte) {
        for (QString &l : lignes) {
            const int a = indice(platform::Champ(l, 4));
            const int b = indice(platform::Champ(l, 6));
            if (a >= 1 && a <= plafond && b >= 1 && b <= plafond) {
                l += texte + QLatin1Char(';');
                return;
            }
        }
    };
    // Every value index is read before any mention is added.
    for (const QString &l : lignes) {
        indice(platform::Champ(l, 4));
        indice(platform::Champ(l, 6));
    }
    mention(40, QStringLiteral("Sans Deuxième série"));
    mention(30, QStringLiteral("Sans Troisième série"));
    return lignes;
}

qint64 TotalPoints(const QStringList &lignes, const QString &fichier)
{
    qint64 total = 0;
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        const QString &l = lignes[i];
        const int licences =
            (platform::Champ(l, 3).isEmpty() ? 0 : 1) + (platform::Champ(l, 5).isEmpty() ? 0 : 1);
        if (licences > 0)
            total += licences * LireLigne(fichier, i, [&] {
                         return platform::StrToInt64(platform::Champ(l, 7));
                     });
    }
    return total;
}

} // namespace manager
