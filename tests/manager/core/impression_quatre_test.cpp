// The values of the teams-of-four printouts over a filled sheet, cross table
// and homologation list.
#include "manager/core/impressionquatre.h"
#include "platform/text/exceptions.h"

#include <gtest/gtest.h>

namespace
{

struct Donnees {
    TableauGroupe tableau;
    QStringList liste{QStringLiteral("2219;M ARNAUD Luc;;01000158;50;;;1150;"),
                      QStringLiteral("1050;Invité;;;50;;;800;")};
    ImpressionQuatre i;

    Donnees()
    {
        tableau.charger({QStringLiteral(";Lyon;Sète;Nice;Pau;;"),
                         QStringLiteral("Lyon;;1233;;;1233;"), QStringLiteral("Sète;767;;;;767;"),
                         QStringLiteral("Nice;;;;;;"), QStringLiteral("Pau;;;;;;")});
        i.saison = QStringLiteral("2023-2024");
        i.groupe = QStringLiteral("Poule A");
        i.onglet = QStringLiteral("Match 1");
        i.legende = QStringLiteral("Gestion des résultats d'une épreuve par quatre du Challenge :");
        i.tableau = &tableau;
        i.homologation = &liste;
        i.totalPE = 144050;
        i.totalPC = 21848;
        FeuilleMatch &f = i.feuille;
        f.setValeur(QStringLiteral("ANom10"), QStringLiteral("Lyon"));
        f.setValeur(QStringLiteral("BNom10"), QStringLiteral("Sète"));
        f.setValeur(QStringLiteral("ANom23"), QStringLiteral("M CARON Éric"));
        f.setValeur(QStringLiteral("Blic12"), QStringLiteral("01002378"));
        f.setValeur(QStringLiteral("BIV24"), QStringLiteral("60"));
        f.setValeur(QStringLiteral("APe15"), QStringLiteral("1150"));
        f.setValeur(QStringLiteral("APe25"), QStringLiteral("1050"));
        f.setValeur(QStringLiteral("APC15"), QStringLiteral("1150"));
        f.setValeur(QStringLiteral("BPe15"), QStringLiteral("-250"));
        f.setValeur(QStringLiteral("AIv25"), QStringLiteral("200"));
        f.setValeur(QStringLiteral("ANbd30"), QStringLiteral("24"));
        f.setValeur(QStringLiteral("Bnbd30"), QStringLiteral("23"));
        f.setValeur(QStringLiteral("AImp30"), QStringLiteral("12"));
        f.setValeur(QStringLiteral("BImp30"), QStringLiteral("40"));
        f.setValeur(QStringLiteral("APv30"), QStringLiteral("1233"));
        f.setValeur(QStringLiteral("BIv30"), QStringLiteral("55"));
    }
    QString v(const char *nom) const
    {
        QString t = QStringLiteral("<intact>");
        if (!i.valeur(QString::fromLatin1(nom), t))
            return QStringLiteral("<inconnu>");
        return t;
    }
};

TEST(ImpressionQuatre, ValuesOfTheSheetTableAndList)
{
    Donnees d;
    const struct {
        const char *nom;
        const char *attendu;
    } cas[] = {
        {"saison", "2023-2024"},
        {"epreuve", "Poule A"},
        {"titre", "Match 1"},
        {"Anom10", "Lyon"},
        {"Bnom10", "Sète"},
        {"Anom23", "M CARON Éric"},
        {"Blic12", "01002378"},
        {"Biv24", "60"},
        {"Ape15", "12"}, // halves go to the even neighbour
        {"Ape25", "10"},
        {"Bpe15", "-2"},
        {"Apc15", "11,50"},
        {"Aiv25", "200"},
        {"Apc25", ""}, // not computed yet: filled in by hand
        {"Anbd30", "24"},
        {"Bnbd30", "23"},
        {"Aim30", "12"},
        {"Aimp30", "12"}, // empty handicap counts 0
        {"Bimp30", "40"},
        {"Aip30", ""},
        {"Apv30", "12,33"},
        {"Bpv30", ""},
        {"Biv30", "55"},
        {"c2r0", "Sète"},
        {"c0r4", "Pau"},
        {"c2r1", "12,33"},
        {"c1r2", "7,67"},
        {"c5r1", "12,33"},
        {"c3r1", ""},
        {"c1r1", "<inconnu>"}, // diagonal: no variable
        {"c0r0", "<inconnu>"},
        {"c6r1", "<inconnu>"},
        {"ANom10", "<inconnu>"}, // the edit's name is not a variable
        {"Total_Pe", "1440"},
        {"Total_Pc", "218,48"},
        {"nom_fich", ""},
        {"Pe1", "22"},
        {"Nom1", "M ARNAUD Luc"},
        {"Licence1", "01000158"},
        {"Pc1", "11,50"},
    };
    for (const auto &c : cas)
        EXPECT_EQ(d.v(c.nom), QString::fromUtf8(c.attendu)) << c.nom;
}

TEST(ImpressionQuatre, HandicapRecordAndCaption)
{
    Donnees d;
    d.i.feuille.setValeur(QStringLiteral("Handicap_A"), QStringLiteral("3"));
    d.i.feuille.setValeur(QStringLiteral("Handicap_B"), QStringLiteral("-2"));
    EXPECT_EQ(d.v("Aimp30"), QStringLiteral("15"));
    EXPECT_EQ(d.v("Aim30"), QStringLiteral("12"));
    EXPECT_EQ(d.v("Aip30"), QStringLiteral("3"));
    EXPECT_EQ(d.v("Bimp30"), QStringLiteral("38"));

    d.i.enregistrement = 1; // a guest without licence: no PC printed
    EXPECT_EQ(d.v("Pe1"), QStringLiteral("10"));
    EXPECT_EQ(d.v("Nom1"), QStringLiteral("Invité"));
    EXPECT_EQ(d.v("Pc1"), QString());

    d.i.legende = PrefixeResultatQuatre + QStringLiteral("Match1.chr");
    EXPECT_EQ(d.v("nom_fich"), QStringLiteral("Match1.chr"));
    d.i.legende = PrefixeResultatQuatre + QString(50, QLatin1Char('x'));
    EXPECT_EQ(d.v("nom_fich").size(), 40);

    d.i.onglet.clear();
    EXPECT_EQ(d.v("titre"), QString());
}

TEST(ImpressionQuatre, ABadNumberFailsOnlyItsOwnVariables)
{
    Donnees d;
    d.i.feuille.setValeur(QStringLiteral("AImp30"), QStringLiteral("x"));
    d.i.feuille.setValeur(QStringLiteral("APe15"), QStringLiteral("1,5"));
    QString t;
    EXPECT_THROW(d.i.valeur(QStringLiteral("Aimp30"), t), platform::EConvertError);
    EXPECT_THROW(d.i.valeur(QStringLiteral("Ape15"), t), platform::EConvertError);
    // The cross table and the rest of the sheet still print.
    EXPECT_EQ(d.v("Aim30"), QStringLiteral("x"));
    EXPECT_EQ(d.v("Bimp30"), QStringLiteral("40"));
    EXPECT_EQ(d.v("c2r1"), QStringLiteral("12,33"));
    d.tableau.setCellule(1, 3, QStringLiteral("abc"));
    EXPECT_THROW(d.i.valeur(QStringLiteral("c3r1"), t), platform::EConvertError);
    EXPECT_EQ(d.v("c0r1"), QStringLiteral("Lyon"));
}

// Numbers typed at the edge of 64 bits print or fail with the conversion
// error; none may overflow.
TEST(ImpressionQuatre, NumbersAtTheLimits)
{
    const struct {
        const char *edit;
        const char *texte;
        const char *nom;
        const char *attendu; // nullptr: the conversion error
    } cas[] = {
        {"APe15", "-9223372036854775808", "Ape15", "-92233720368547758"},
        {"APe15", "9223372036854775807", "Ape15", "92233720368547758"},
        {"APe15", "-40", "Ape15", "0"},
        {"APe15", "99999999999999999999", "Ape15", nullptr},
        {"APv30", "-9223372036854775808", "Apv30", "-92233720368547758,08"},
        {"Handicap_A", "9223372036854775795", "Aimp30", "9223372036854775807"},
        {"Handicap_A", "9223372036854775796", "Aimp30", nullptr},
        {"Handicap_B", "-9223372036854775808", "Bimp30", "-9223372036854775768"},
    };
    for (const auto &c : cas) {
        Donnees d;
        d.i.feuille.setValeur(QLatin1String(c.edit), QLatin1String(c.texte));
        if (c.attendu) {
            EXPECT_EQ(d.v(c.nom), QLatin1String(c.attendu)) << c.edit << " " << c.texte;
        } else {
            QString t;
            EXPECT_THROW(d.i.valeur(QLatin1String(c.nom), t), platform::EConvertError) << c.texte;
        }
    }
}

TEST(ImpressionQuatre, EveryNameOfTheThreePrintoutsIsAnswered)
{
    Donnees d;
    QStringList noms{"saison", "epreuve", "titre"};
    for (const char *s : {"A", "B"}) {
        const QString e = QString::fromLatin1(s);
        noms << e + "nom10";
        for (int h = 1; h <= 2; ++h) {
            for (int k = 1; k <= 4; ++k)
                for (const char *q : {"nom", "lic", "iv"})
                    noms << e + QLatin1String(q) + QString::number(h) + QString::number(k);
            for (const char *q : {"pc", "pe", "iv"})
                noms << e + QLatin1String(q) + QString::number(h) + "5";
        }
        for (const char *q : {"nbd30", "im30", "ip30", "imp30", "iv30", "pv30"})
            noms << e + QLatin1String(q);
    }
    for (int r = 0; r <= 4; ++r)
        for (int c = 0; c <= 5; ++c)
            if (r != c)
                noms << QStringLiteral("c%1r%2").arg(c).arg(r);
    noms << "Total_Pe"
         << "Total_Pc"
         << "nom_fich"
         << "Pe1"
         << "Nom1"
         << "Licence1"
         << "Pc1";
    noms.removeDuplicates();
    ASSERT_EQ(noms.size(), 109);
    for (const QString &n : noms) {
        QString t = QStringLiteral("<intact>");
        EXPECT_TRUE(d.i.valeur(n, t)) << n.toStdString();
        EXPECT_NE(t, QStringLiteral("<intact>")) << n.toStdString();
    }
}

} // namespace
