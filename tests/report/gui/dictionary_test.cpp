// Data dictionary: its record and ".frd" files, the older layout, alias
// pruning, exclusions and value resolution.
#include "io_support.h"

#include "report/core/frexceptions.h"
#include "report/core/frstream.h"
#include "report/data/frdb.h"
#include "report/data/frdictionary.h"
#include "report/expr/frparser.h"
#include "report/expr/frvariables.h"

#include <QObject>
#include <memory>

using namespace report;
using namespace report::test;

namespace
{

QStringList names(const TfrVariables &list)
{
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out.append(list.GetName(i));
    return out;
}

QStringList values(const TfrVariables &list)
{
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out.append(list.GetValue(i).toString());
    return out;
}

// A form "Form1" holding the data set "Clients" (Nom, Ville) with two rows.
class DictionaryTest : public ReportLibraryTest
{
protected:
    void SetUp() override
    {
        ReportLibraryTest::SetUp();
        form = std::make_unique<QObject>();
        form->setObjectName(QStringLiteral("Form1"));
        clients = new FrMemoryDataSet(form.get());
        clients->setObjectName(QStringLiteral("Clients"));
        clients->addField(QStringLiteral("Nom"), ftString);
        clients->addField(QStringLiteral("Ville"), ftString);
        clients->appendRow({FrVariant("DUPONT"), FrVariant("Rennes")});
        clients->appendRow({FrVariant("MARTIN"), FrVariant("Brest")});
        fr().registerForm(form.get());
    }
    void TearDown() override
    {
        fr().unregisterComponent(form.get());
        form.reset();
        ReportLibraryTest::TearDown();
    }

    // A full dictionary: two categories, one empty, every list non-empty.
    static void fill(TfrDataDictionary &d)
    {
        d.Variables.SetVariable(QStringLiteral(" Joueurs"), FrVariant(QString()));
        d.Variables.SetVariable(QStringLiteral("NomJoueur"), FrVariant("Form1.Clients.\"Nom\""));
        d.Variables.SetVariable(QStringLiteral("Total"), FrVariant(42)); // stored as text
        d.Variables.SetVariable(QStringLiteral(" Vide"), FrVariant(QString()));
        d.Variables.SetVariable(QStringLiteral(" Calculs"), FrVariant(QString()));
        d.Variables.SetVariable(QStringLiteral("Zèbre"), FrVariant("2*3"));
        d.Variables.SetVariable(QStringLiteral("Abeille"), FrVariant("'é'"));
        d.FieldAliases.SetVariable(QStringLiteral("Form1.Clients"), FrVariant("Membres"));
        d.FieldAliases.SetVariable(QStringLiteral("Form1.Clients.Ville"), FrVariant("Commune"));
        d.FieldAliases.SetVariable(QStringLiteral("Form1.Clients.Nom"), FrVariant(QString()));
        d.BandDataSources.SetVariable(QStringLiteral("Source1"), FrVariant("Principale"));
    }

    std::unique_ptr<QObject> form;
    FrMemoryDataSet *clients = nullptr;
};

TEST_F(DictionaryTest, FrdFileIsPinnedAndRoundTripsByteForByte)
{
    TfrDataDictionary d;
    fill(d);
    const QString path = tempPath(QStringLiteral("dico.frd"));
    d.SaveToFile(path);
    const QByteArray written = readFileBytes(path);
    expectGolden(QStringLiteral("dictionary.frd"), written);
    ASSERT_EQ(quint8(written.at(0)), 24);
    // Marker 0xFFFE right after the version byte.
    EXPECT_EQ(quint8(written.at(1)), 0xFE);
    EXPECT_EQ(quint8(written.at(2)), 0xFF);

    TfrDataDictionary back;
    back.LoadFromFile(path);
    EXPECT_EQ(names(back.Variables), names(d.Variables));
    EXPECT_EQ(values(back.Variables), values(d.Variables));
    EXPECT_EQ(names(back.FieldAliases), names(d.FieldAliases));
    EXPECT_EQ(values(back.FieldAliases), values(d.FieldAliases));
    EXPECT_EQ(names(back.BandDataSources), QStringList{QStringLiteral("Source1")});
    // Every value comes back as a string, the integer included.
    const int total = back.Variables.IndexOf(QStringLiteral("Total"));
    ASSERT_GE(total, 0);
    EXPECT_TRUE(back.Variables.GetValue(total).isString());
    EXPECT_EQ(back.Variables.GetValue(total).toString(), QStringLiteral("42"));

    const QString again = tempPath(QStringLiteral("again.frd"));
    back.SaveToFile(again);
    EXPECT_EQ(readFileBytes(again), written);
    // No temporary file is left beside the dictionary.
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files).size(), 2);
}

TEST_F(DictionaryTest, ReadingReplacesListsButKeepsExclusions)
{
    TfrDataDictionary source;
    source.Variables.SetVariable(QStringLiteral(" Cat"), FrVariant(QString()));
    FrMemoryStream stream;
    source.SaveToStream(stream);

    TfrDataDictionary d;
    fill(d);
    d.DisabledDataSets << QStringLiteral("Secret");
    stream.seek(0);
    d.LoadFromStream(stream);
    EXPECT_EQ(names(d.Variables), QStringList{QStringLiteral(" Cat")});
    EXPECT_EQ(d.FieldAliases.Count(), 0);
    EXPECT_EQ(d.BandDataSources.Count(), 0);
    EXPECT_EQ(d.DisabledDataSets, QStringList{QStringLiteral("Secret")});
    EXPECT_EQ(stream.remaining(), 0);
}

TEST_F(DictionaryTest, PruningMarkerDropsEmptyAliasesOfWhatDoesNotExist)
{
    auto build = [](int marker) {
        return Bytes()
            .word(marker)
            .int32(0)
            .int32(4)
            .str("Form1.Clients")
            .str("")
            .str("Form1.Clients.Nom")
            .str("")
            .str("Form1.Clients.Absent")
            .str("")
            .str("Form1.Clients.Ville")
            .str("Commune")
            .int32(2)
            .str("Src1")
            .str("")
            .str("Src2")
            .str("Source")
            .data;
    };
    TfrDataDictionary pruned;
    FrMemoryStream s1(build(0xFFFF));
    pruned.LoadFromStream(s1);
    EXPECT_EQ(names(pruned.FieldAliases), (QStringList{QStringLiteral("Form1.Clients.Nom"),
                                                       QStringLiteral("Form1.Clients.Ville")}));
    EXPECT_EQ(names(pruned.BandDataSources), QStringList{QStringLiteral("Src2")});

    TfrDataDictionary kept;
    FrMemoryStream s2(build(0xFFFE));
    kept.LoadFromStream(s2);
    EXPECT_EQ(kept.FieldAliases.Count(), 4);
    EXPECT_EQ(kept.BandDataSources.Count(), 2);
}

TEST_F(DictionaryTest, OlderLayoutBecomesCategoriesAndValues)
{
    Bytes b;
    b.int32(11);
    b.byte(1).int32(0).shortStr("Clients").shortStr("Nom").shortStr("NomClient");
    for (int index = 0; index <= 8; ++index)
        b.byte(2).int32(index).shortStr("").shortStr("2+3").shortStr("V" +
                                                                     QByteArray::number(index));
    b.byte(7).int32(0).shortStr("x").shortStr("y").shortStr("Autre");
    QList<QByteArray> order{"Clients", " NomClient", "Systeme"};
    for (int index = 0; index <= 8; ++index)
        order.append(" V" + QByteArray::number(index));
    order.append(" Autre");
    b.memo(order);

    TfrDataDictionary d;
    d.FieldAliases.SetVariable(QStringLiteral("old"), FrVariant("x"));
    FrMemoryStream stream(b.data);
    d.LoadFromStream(stream);

    EXPECT_EQ(names(d.Variables), (QStringList{" Clients", "NomClient", " Systeme", "V0", "V1",
                                               "V2", "V3", "V4", "V5", "V6", "V7", "V8", "Autre"}));
    EXPECT_EQ(values(d.Variables),
              (QStringList{"", "Clients.\"Nom\"", "", "PAGE#", "2+3", "DATE", "TIME", "LINE#",
                           "LINETHROUGH#", "COLUMN#", "CURRENT#", "TOTALPAGES", ""}));
    EXPECT_EQ(d.FieldAliases.Count(), 0);
    EXPECT_EQ(d.BandDataSources.Count(), 0);
    QStringList cats;
    d.GetCategoryList(cats);
    EXPECT_EQ(cats, (QStringList{"Clients", "Systeme"}));
    QStringList vars;
    d.GetVariableList(QStringLiteral("CLIENTS"), vars);
    EXPECT_EQ(vars, QStringList{"NomClient"});
}

TEST_F(DictionaryTest, VariablesMarkedWithTheBlankSwapConvention)
{
    const QByteArray bytes = Bytes()
                                 .word(0xFFFE)
                                 .int32(3)
                                 .str("Cat")
                                 .str("")
                                 .str(" a")
                                 .str("1")
                                 .str(" b")
                                 .str("2")
                                 .int32(0)
                                 .int32(0)
                                 .data;
    TfrDataDictionary d;
    FrMemoryStream stream(bytes);
    d.LoadFromStream(stream);
    EXPECT_EQ(names(d.Variables), (QStringList{" Cat", "a", "b"}));
}

TEST_F(DictionaryTest, CategoriesAndTheirVariables)
{
    TfrDataDictionary d;
    fill(d);
    QStringList list{QStringLiteral("stale")};
    d.GetCategoryList(list);
    EXPECT_EQ(list, (QStringList{"Joueurs", "Vide", "Calculs"}));
    d.GetVariableList(QStringLiteral("joueurs"), list);
    EXPECT_EQ(list, (QStringList{"NomJoueur", "Total"}));
    d.GetVariableList(QStringLiteral("Vide"), list);
    EXPECT_TRUE(list.isEmpty());
    d.GetVariableList(QStringLiteral("Calculs"), list);
    EXPECT_EQ(list, (QStringList{"Zèbre", "Abeille"}));
    d.GetVariableList(QStringLiteral("Inconnue"), list);
    EXPECT_TRUE(list.isEmpty());
}

TEST_F(DictionaryTest, ExclusionsPrefixIsCaseSensitivePlainNamesAreNot)
{
    TfrDataDictionary d;
    EXPECT_TRUE(d.IsDataSetEnabled(QStringLiteral("Anything")));
    d.DisabledDataSets << QStringLiteral("Pre*") << QStringLiteral("Exact");
    EXPECT_FALSE(d.IsDataSetEnabled(QStringLiteral("Prefix")));
    EXPECT_FALSE(d.IsDataSetEnabled(QStringLiteral("Pre")));
    EXPECT_TRUE(d.IsDataSetEnabled(QStringLiteral("prefix")));
    EXPECT_TRUE(d.IsDataSetEnabled(QStringLiteral("PREFIX")));
    EXPECT_FALSE(d.IsDataSetEnabled(QStringLiteral("EXACT")));
    EXPECT_FALSE(d.IsDataSetEnabled(QStringLiteral("exact")));
    EXPECT_TRUE(d.IsDataSetEnabled(QStringLiteral("Exacte")));
}

TEST_F(DictionaryTest, AliasLookUps)
{
    TfrDataDictionary d;
    fill(d);
    EXPECT_EQ(d.GetRealName(QStringLiteral("COMMUNE")), QStringLiteral("Form1.Clients.Ville"));
    EXPECT_EQ(d.GetRealShortName(QStringLiteral("commune")), QStringLiteral("Ville"));
    EXPECT_EQ(d.GetRealName(QStringLiteral("Inconnu")), QStringLiteral("Inconnu"));
    EXPECT_EQ(d.GetRealDataSourceName(QStringLiteral("principale")), QStringLiteral("Source1"));
    EXPECT_EQ(d.GetAliasName(QStringLiteral("Form1.Clients")), QStringLiteral("Membres"));
    EXPECT_EQ(d.GetAliasName(QStringLiteral("Source1")), QStringLiteral("Principale"));
    EXPECT_EQ(d.GetAliasName(QStringLiteral("Autre")), QStringLiteral("Autre"));

    QString ds, field;
    EXPECT_TRUE(TfrDataDictionary::splitReference(QStringLiteral("A.B.\"c.d\""), ds, field));
    EXPECT_EQ(ds, QStringLiteral("A.B"));
    EXPECT_EQ(field, QStringLiteral("c.d"));
    EXPECT_FALSE(TfrDataDictionary::splitReference(QStringLiteral("\"a.b\""), ds, field));
}

TEST_F(DictionaryTest, DataSetAndFieldListsFollowAliasesAndExclusions)
{
    auto *hidden = new FrMemoryDataSet(form.get());
    hidden->setObjectName(QStringLiteral("PreCache"));
    TfrDataDictionary d;
    d.DisabledDataSets << QStringLiteral("Form1.Pre*");
    QStringList list;
    d.GetDataSetList(list);
    EXPECT_EQ(list, QStringList{QStringLiteral("Form1.Clients")});
    fill(d);
    d.GetDataSetList(list);
    EXPECT_EQ(list, QStringList{QStringLiteral("Membres")});
    d.GetFieldList(QStringLiteral("Membres"), list);
    // Nom has an empty alias: hidden; Ville shown by its alias.
    EXPECT_EQ(list, QStringList{QStringLiteral("Commune")});
    d.GetFieldList(QStringLiteral("Form1.Inconnu"), list);
    EXPECT_TRUE(list.isEmpty());
}

TEST_F(DictionaryTest, ValuesFromFieldsExpressionsAndScriptVariables)
{
    TfrDataDictionary d;
    fill(d);
    FrVariant value;
    EXPECT_TRUE(d.IsVariable(QStringLiteral("nomjoueur")));
    EXPECT_EQ(d.cacheCount(), 1);
    clients->open();
    clients->next();
    d.GetValue(QStringLiteral("NOMJOUEUR"), value);
    EXPECT_EQ(value.toString(), QStringLiteral("MARTIN"));

    // A field reached through its alias, cached under the name asked for.
    EXPECT_TRUE(d.IsVariable(QStringLiteral("Membres.Commune")));
    d.GetValue(QStringLiteral("Membres.Commune"), value);
    EXPECT_EQ(value.toString(), QStringLiteral("Brest"));
    EXPECT_FALSE(d.IsVariable(QStringLiteral("Membres.Pays")));
    EXPECT_FALSE(d.IsVariable(QStringLiteral("Inconnu")));

    EXPECT_TRUE(d.IsVariable(QStringLiteral("Zèbre")));
    d.GetValue(QStringLiteral("ZÈBRE"), value);
    EXPECT_EQ(value.toInt(), 6);
    // A script assignment takes the place of the dictionary's expression.
    fr().frVariables->SetVariable(QStringLiteral("Zèbre"), FrVariant(7));
    d.GetValue(QStringLiteral("Zèbre"), value);
    EXPECT_EQ(value.toInt(), 7);
    d.GetValue(QStringLiteral("Inconnu"), value);
    EXPECT_TRUE(value.isNull());

    // The data set goes away: the cached name gives Null, not a dangling read.
    d.ClearCache();
    EXPECT_TRUE(d.IsVariable(QStringLiteral("NomJoueur")));
    delete clients;
    clients = nullptr;
    d.GetValue(QStringLiteral("NomJoueur"), value);
    EXPECT_TRUE(value.isNull());
}

TEST_F(DictionaryTest, SelfReferringVariableIsAnError)
{
    TfrDataDictionary d;
    d.Variables.SetVariable(QStringLiteral("Boucle"), FrVariant("[Boucle] + 1"));
    fr().frGlobalParser->OnGetValue = [&d](const QString &name, FrVariant &value) {
        QString plain = name;
        if (plain.startsWith(QLatin1Char('[')))
            plain = plain.mid(1, plain.size() - 2);
        d.GetValue(plain, value);
    };
    FrVariant value;
    try {
        d.GetValue(QStringLiteral("Boucle"), value);
        ADD_FAILURE() << "no error";
    } catch (const EParserError &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Symbole non défini")));
    }
    // The guard let go: a sound variable still evaluates afterwards.
    d.Variables.SetVariable(QStringLiteral("Deux"), FrVariant("1+1"));
    d.GetValue(QStringLiteral("Deux"), value);
    EXPECT_EQ(value.toInt(), 2);
}

TEST_F(DictionaryTest, HostileRecordsFailWithoutHugeAllocations)
{
    const QList<QByteArray> hostile{
        Bytes().word(0xFFFE).int32(0x7FFFFFFF).data,
        Bytes().word(0xFFFE).int32(-1).data,
        Bytes().word(0xFFFE).int32(1).str("a").data, // value missing
        Bytes().word(0xFFFE).int32(1).word(500).raw("abc").data,
        Bytes().word(0xFFFE).int32(0).int32(0).data, // band sources missing
        Bytes().int32(100000).data,                  // older layout, count beyond the bytes
        Bytes().int32(1).byte(1).int32(0).shortStr("a").byte(200).data,
        QByteArray("\xFE", 1),
    };
    for (const QByteArray &bytes : hostile) {
        TfrDataDictionary d;
        FrMemoryStream stream(bytes);
        EXPECT_THROW(d.LoadFromStream(stream), EFrStreamError) << bytes.toHex().constData();
    }
    // What was read before the error stays.
    TfrDataDictionary d;
    FrMemoryStream stream(Bytes().word(0xFFFE).int32(1).str(" C").str("").int32(5).data);
    EXPECT_THROW(d.LoadFromStream(stream), EFrStreamError);
    EXPECT_EQ(names(d.Variables), QStringList{QStringLiteral(" C")});
}

TEST_F(DictionaryTest, MissingFileIsAnError)
{
    TfrDataDictionary d;
    EXPECT_THROW(d.LoadFromFile(tempPath(QStringLiteral("absent.frd"))), EFrStreamError);
}

} // namespace
