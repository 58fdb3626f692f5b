#include "manager/core/impressionquatre.h"

#include "manager/core/classement.h"
#include "manager/core/saisie.h"
#include "platform/text/convert.h"
#include "platform/text/linefile.h"

#include <QHash>

const QString PrefixeResultatQuatre =
    QStringLiteral("Gestion des résultats d'une épreuve par Quatre du Challenge : ");

namespace
{

enum class Format { Tel, Points, Entiers, ImpTotal };

struct Case {
    int ligne;
    int champ;
    Format format;
};

// Where each sheet variable lives: team B's lines follow team A's 12 lines
// later; per half, four player lines then the half's totals line.
const QHash<QString, Case> &casesFeuille()
{
    static const QHash<QString, Case> cases = [] {
        QHash<QString, Case> c;
        for (int e = 0; e < 2; ++e) {
            const QString s = e == 0 ? QStringLiteral("A") : QStringLiteral("B");
            const int base = 12 * e;
            c.insert(s + QStringLiteral("nom10"), {base + 1, 0, Format::Tel});
            for (int h = 1; h <= 2; ++h) {
                const int debut = base + 2 + 5 * (h - 1);
                for (int k = 1; k <= 4; ++k) {
                    const QString suffixe = QString::number(h) + QString::number(k);
                    c.insert(s + QStringLiteral("nom") + suffixe, {debut + k - 1, 0, Format::Tel});
                    c.insert(s + QStringLiteral("lic") + suffixe, {debut + k - 1, 1, Format::Tel});
                    c.insert(s + QStringLiteral("iv") + suffixe, {debut + k - 1, 2, Format::Tel});
                }
                const QString moitie = QString::number(h) + QStringLiteral("5");
                c.insert(s + QStringLiteral("iv") + moitie, {debut + 4, 1, Format::Tel});
                c.insert(s + QStringLiteral("pe") + moitie, {debut + 4, 2, Format::Entiers});
                c.insert(s + QStringLiteral("pc") + moitie, {debut + 4, 3, Format::Points});
            }
            c.insert(s + QStringLiteral("nbd30"), {base + 12, 0, Format::Tel});
            c.insert(s + QStringLiteral("im30"), {base + 12, 1, Format::Tel});
            c.insert(s + QStringLiteral("imp30"), {base + 12, 1, Format::ImpTotal});
            c.insert(s + QStringLiteral("iv30"), {base + 12, 2, Format::Tel});
            c.insert(s + QStringLiteral("pv30"), {base + 12, 3, Format::Points});
            c.insert(s + QStringLiteral("ip30"), {25, e, Format::Tel});
        }
        return c;
    }();
    return cases;
}

qint64 entierOuZero(const QString &texte)
{
    return texte.isEmpty() ? 0 : platform::StrToInt64(texte);
}

// An empty number prints empty: a sheet printed before its scoring is
// filled in by hand.
QString points(const QString &centiemes)
{
    return manager::FormatPoints(centiemes);
}

} // namespace

QString CentiemesEntiers(const QString &centiemes)
{
    if (centiemes.isEmpty())
        return QString();
    const qint64 n = platform::StrToInt64(centiemes);
    // On the magnitude, unsigned: the most negative number has no positive.
    const quint64 a = n < 0 ? quint64(0) - quint64(n) : quint64(n);
    quint64 q = a / 100;
    const quint64 r = a % 100;
    if (r > 50 || (r == 50 && (q & 1)))
        ++q;
    return (n < 0 && q > 0 ? QStringLiteral("-") : QString()) + QString::number(q);
}

void ImpressionQuatre::verifierFeuille() const
{
    QString texte;
    for (auto it = casesFeuille().cbegin(); it != casesFeuille().cend(); ++it)
        valeur(it.key(), texte);
}

bool ImpressionQuatre::valeur(const QString &nom, QString &texte) const
{
    const auto trouve = casesFeuille().constFind(nom);
    if (trouve != casesFeuille().cend()) {
        const Case &c = *trouve;
        const QString brut = feuille.valeur(c.ligne, c.champ);
        switch (c.format) {
        case Format::Tel:
            texte = brut;
            break;
        case Format::Points:
            texte = points(brut);
            break;
        case Format::Entiers:
            texte = CentiemesEntiers(brut);
            break;
        case Format::ImpTotal: {
            // The handicap sits on line 25, field 0 for A, 1 for B. A sum
            // beyond 64 bits is a conversion error, as a number too large is.
            const QString handicap = feuille.valeur(25, c.ligne == 12 ? 0 : 1);
            texte =
                QString::number(AjouteValeur(entierOuZero(brut), entierOuZero(handicap), handicap));
            break;
        }
        }
        return true;
    }
    if (nom == u"saison")
        texte = saison;
    else if (nom == u"epreuve")
        texte = groupe;
    else if (nom == u"titre")
        texte = onglet;
    else if (nom == u"Total_Pe")
        texte = CentiemesEntiers(QString::number(totalPE));
    else if (nom == u"Total_Pc")
        texte = manager::FormatPoints(totalPC);
    else if (nom == u"nom_fich")
        texte = legende.mid(PrefixeResultatQuatre.size(), 40);
    else if (nom == u"Pe1" || nom == u"Nom1" || nom == u"Licence1" || nom == u"Pc1") {
        const QString ligne = homologation ? homologation->value(enregistrement) : QString();
        if (nom == u"Pe1")
            texte = CentiemesEntiers(platform::Champ(ligne, 0));
        else if (nom == u"Nom1")
            texte = platform::Champ(ligne, 1);
        else if (nom == u"Licence1")
            texte = platform::Champ(ligne, 3);
        else
            texte =
                platform::Champ(ligne, 3).isEmpty() ? QString() : points(platform::Champ(ligne, 7));
    } else if (nom.size() == 4 && nom[0] == u'c' && nom[2] == u'r' && nom[1] >= u'0' &&
               nom[1] <= u'5' && nom[3] >= u'0' && nom[3] <= u'4') {
        const int colonne = nom[1].unicode() - '0';
        const int rang = nom[3].unicode() - '0';
        if (colonne == rang || (colonne == 0 && rang == 0))
            return false;
        const QString cellule = tableau ? tableau->cellule(rang, colonne) : QString();
        texte = (rang == 0 || colonne == 0) ? cellule : points(cellule);
    } else {
        return false;
    }
    return true;
}
