// Record sources over counts and in-memory data sets, the field routines, and
// the look-up of components and data sets by dotted names.
#include "platform/text/exceptions.h"
#include "report/core/frcomponents.h"
#include "report/core/frexceptions.h"
#include "report/core/frstream.h"
#include "report/data/frdataset.h"
#include "report_core_fixture.h"

using namespace report;
using report::test::ReportCoreTest;

namespace
{

// Walks a record source the way a data band does; returns the records seen.
template <typename Visit> int walk(TfrDataset &ds, Visit visit, int limit = 100)
{
    int n = 0;
    ds.First();
    while (!ds.Eof() && n < limit) {
        visit();
        ++n;
        ds.Next();
    }
    return n;
}

class CountingSource : public TfrUserDataset
{
public:
    using TfrUserDataset::TfrUserDataset;
    int inits = 0;
    void Init() override { ++inits; }
};

std::unique_ptr<FrMemoryDataSet> table(QObject *parent, int rows)
{
    auto ds = std::make_unique<FrMemoryDataSet>(parent);
    ds->addField(QStringLiteral("Nom"), ftString);
    ds->addField(QStringLiteral("Points"), ftInteger);
    for (int i = 0; i < rows; ++i)
        ds->appendRow({FrVariant(QStringLiteral("N%1").arg(i)), FrVariant(i * 10)});
    return ds;
}

} // namespace

class DatasetTest : public ReportCoreTest
{
};

TEST_F(DatasetTest, CountedUserDataset)
{
    TfrUserDataset empty;
    empty.RangeEnd = reCount;
    empty.First();
    EXPECT_TRUE(empty.Eof()) << "a count of 0 prints no record";

    TfrUserDataset three;
    three.RangeEnd = reCount;
    three.RangeEndCount = 3;
    int nexts = 0, firsts = 0;
    three.OnNext = [&](QObject *sender) {
        EXPECT_EQ(sender, &three);
        ++nexts;
    };
    three.OnFirst = [&](QObject *) { ++firsts; };
    QList<int> seen;
    EXPECT_EQ(walk(three, [&] { seen.append(three.RecNo); }), 3);
    EXPECT_EQ(seen, (QList<int>{0, 1, 2}));
    EXPECT_EQ(firsts, 1);
    EXPECT_EQ(nexts, 2) << "the Next that reaches the end is not announced";
    three.Prior();
    EXPECT_EQ(three.RecNo, 2);
    EXPECT_FALSE(three.Eof());

    // The owner may end a range early or extend it.
    three.OnCheckEOF = [&](QObject *, bool &eof) { eof = eof || three.RecNo >= 1; };
    EXPECT_EQ(walk(three, [] {}), 1);
    three.OnCheckEOF = [&](QObject *, bool &eof) { eof = three.RecNo >= 5; };
    EXPECT_EQ(walk(three, [] {}), 5);

    // Without a count the range never ends by itself.
    TfrUserDataset open;
    open.OnCheckEOF = [&](QObject *, bool &eof) { eof = open.RecNo >= 4; };
    EXPECT_EQ(walk(open, [] {}), 4);
}

TEST_F(DatasetTest, DataSourceByNameOrCount)
{
    FrDataSourceRef five = frGetDataSource(QStringLiteral("5"));
    ASSERT_TRUE(five.owned);
    EXPECT_EQ(five.source, five.owned.get());
    EXPECT_EQ(walk(*five.source, [] {}), 5);

    QObject form;
    form.setObjectName(QStringLiteral("Fenetre"));
    auto *src = new CountingSource(&form);
    src->setObjectName(QStringLiteral("Source"));
    auto *other = new QObject(&form);
    other->setObjectName(QStringLiteral("Bouton"));
    fr().setCurrentReport(nullptr, &form);
    // No report yet: the owner is only kept together with a report.
    EXPECT_EQ(fr().frCurrentReportOwner(), nullptr);
    fr().setCurrentReport(reinterpret_cast<TfrReport *>(&form), &form);

    FrDataSourceRef found = frGetDataSource(QStringLiteral("source"));
    EXPECT_EQ(found.source, src);
    EXPECT_FALSE(found.owned);
    EXPECT_EQ(src->inits, 1) << "a source found is initialised";
    EXPECT_EQ(frGetDataSource(QStringLiteral("Nothing")).source, nullptr);
    try {
        frGetDataSource(QStringLiteral("Bouton"));
        ADD_FAILURE() << "no error";
    } catch (const EInvalidCast &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Transtypage de classe incorrect"));
    }
    EXPECT_THROW(frGetDataSource(QStringLiteral("5x")), platform::EConvertError);
}

TEST_F(DatasetTest, DBDataSetWalksItsDataSet)
{
    QObject owner;
    auto data = table(&owner, 4);
    TfrDBDataSet src;
    src.setObjectName(QStringLiteral("Src"));
    try {
        src.Init();
        ADD_FAILURE() << "no error";
    } catch (const EDSError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Unable to open dataset Src"));
    }
    src.setDataSet(data.get());
    int opens = 0, closes = 0;
    src.OnOpen = [&](QObject *) { ++opens; };
    src.OnClose = [&](QObject *) { ++closes; };
    src.Init();
    EXPECT_TRUE(data->active());
    QStringList names;
    FrField *nom = data->findField(QStringLiteral("Nom"));
    EXPECT_EQ(walk(src, [&] { names.append(frGetFieldValue(nom).toString()); }), 4);
    EXPECT_EQ(names, (QStringList{"N0", "N1", "N2", "N3"}));
    src.Exit();
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(data->active()) << "CloseDataSource is false by default";
    EXPECT_EQ(data->liveBookmarks(), 0);
    src.CloseDataSource = true;
    src.Init();
    src.Exit();
    EXPECT_FALSE(data->active());
}

TEST_F(DatasetTest, CurrentRangeWalksOneRecordAndReturnsToIt)
{
    QObject owner;
    auto data = table(&owner, 5);
    data->open();
    data->next();
    data->next(); // on record 2
    TfrDBDataSet src;
    src.setDataSet(data.get());
    src.RangeBegin = rbCurrent;
    src.RangeEnd = reCurrent;
    src.Init();
    QList<int> seen;
    EXPECT_EQ(walk(src, [&] { seen.append(data->recNo()); }), 1);
    EXPECT_EQ(seen, QList<int>{2});
    src.Exit();
    EXPECT_EQ(data->recNo(), 2);
    EXPECT_EQ(data->liveBookmarks(), 0);

    // From the first record up to the current one, then back to it.
    src.RangeBegin = rbFirst;
    src.Init();
    seen.clear();
    EXPECT_EQ(walk(src, [&] { seen.append(data->recNo()); }), 3);
    EXPECT_EQ(seen, (QList<int>{0, 1, 2}));
    src.Exit();
    EXPECT_EQ(data->recNo(), 2);
    EXPECT_EQ(data->liveBookmarks(), 0);
}

TEST_F(DatasetTest, DataSetAndDataSourceClearEachOther)
{
    QObject owner;
    auto data = table(&owner, 1);
    auto other = table(&owner, 2);
    FrDataSource dsrc;
    dsrc.setDataSet(other.get());
    TfrDBDataSet src;
    src.setDataSet(data.get());
    src.setDataSource(&dsrc);
    EXPECT_EQ(src.DataSet(), nullptr);
    EXPECT_EQ(src.GetDataSet(), other.get());
    src.setDataSource(nullptr);
    EXPECT_EQ(src.DataSet(), nullptr);
    src.setDataSet(data.get());
    EXPECT_EQ(src.DataSource(), nullptr);
    data.reset();
    EXPECT_EQ(src.DataSet(), nullptr) << "a removed data set is forgotten";
    EXPECT_THROW(src.GetDataSet(), EDSError);
}

TEST_F(DatasetTest, FieldValuesByType)
{
    FrMemoryDataSet ds;
    const TFieldType types[] = {ftString,   ftSmallint, ftInteger, ftWord,     ftBoolean, ftFloat,
                                ftCurrency, ftDate,     ftMemo,    ftLargeint, ftBCD};
    for (TFieldType t : types)
        ds.addField(QStringLiteral("F%1").arg(int(t)), t);
    std::vector<FrVariant> nulls(std::size(types), FrVariant::null());
    ds.appendRow(nulls);
    ds.appendRow({FrVariant("x"), FrVariant(1), FrVariant(2), FrVariant(3), FrVariant(true),
                  FrVariant(1.5), FrVariant(2.25), FrVariant(44190.0), FrVariant("memo"),
                  FrVariant(7), FrVariant(8)});
    auto value = [&ds](TFieldType t) {
        return frGetFieldValue(ds.findField(QStringLiteral("F%1").arg(int(t))));
    };
    EXPECT_FALSE(ds.active());
    EXPECT_TRUE(value(ftString).identical(FrVariant(QString())));
    EXPECT_TRUE(ds.active()) << "reading a field opens its data set";
    for (TFieldType t : {ftSmallint, ftInteger, ftWord, ftFloat, ftCurrency})
        EXPECT_TRUE(value(t).identical(FrVariant(0))) << t;
    EXPECT_TRUE(value(ftBoolean).identical(FrVariant(false)));
    EXPECT_TRUE(value(ftDate).isNull());
    EXPECT_TRUE(value(ftMemo).isNull());
    EXPECT_TRUE(value(ftBCD).isNull());
    ds.next();
    EXPECT_EQ(value(ftDate).type(), FrVariant::Date);
    EXPECT_EQ(value(ftDate).toString(), QStringLiteral("25/12/2020"));
    EXPECT_TRUE(value(ftLargeint).identical(FrVariant("7"))) << "large integers as text";
    EXPECT_TRUE(value(ftFloat).identical(FrVariant(1.5)));
    ds.setOnGetText(QStringLiteral("F3"),
                    [](const FrVariant &v) { return QStringLiteral("#") + v.toString(); });
    EXPECT_TRUE(value(ftInteger).identical(FrVariant("#2")));
    EXPECT_TRUE(frGetFieldValue(nullptr).isNull());
}

TEST_F(DatasetTest, BlobFieldsAndFieldNames)
{
    for (int t = 0; t <= 25; ++t) {
        FrMemoryDataSet ds;
        ds.addField(QStringLiteral("B"), TFieldType(t));
        EXPECT_EQ(frIsBlobField(ds.findField(QStringLiteral("B"))), t >= 15 && t <= 21) << t;
    }
    EXPECT_FALSE(frIsBlobField(nullptr));

    FrMemoryDataSet ds;
    ds.addField(QStringLiteral("Photo"), ftGraphic);
    ds.addField(QStringLiteral("F.x"), ftString);
    ds.appendRow({FrVariant("abc"), FrVariant("y")});
    ds.open();
    FrMemoryStream stream;
    frCopyBlobTo(ds.findField(QStringLiteral("Photo")), stream);
    EXPECT_EQ(stream.data(), QByteArray("abc"));
    EXPECT_EQ(stream.position(), 0) << "the stream is rewound";
    struct Target : FrBlobTarget {
        QString got;
        void assignFromField(const FrField &f) override { got = f.value().toString(); }
    } target;
    frCopyBlobTo(ds.findField(QStringLiteral("Photo")), target);
    EXPECT_EQ(target.got, QStringLiteral("abc"));

    QStringList names{QStringLiteral("kept")};
    frGetFieldNames(&ds, names);
    EXPECT_EQ(names, (QStringList{"kept", "Photo", "F.x"}));

    // A blob keeps the Windows-1252 bytes of its text, not a Latin-1 guess.
    FrMemoryDataSet accents;
    accents.addField(QStringLiteral("Memo"), ftMemo);
    accents.appendRow({FrVariant(QStringLiteral("€ é Œ"))});
    accents.open();
    FrMemoryStream memo;
    frCopyBlobTo(accents.findField(QStringLiteral("Memo")), memo);
    EXPECT_EQ(memo.data(), QByteArray("\x80 \xE9 \x8C"));

    // A data set that fails while listing its fields gives what it listed so far.
    struct Failing : FrMemoryDataSet {
        void getFieldNames(QStringList &list) const override
        {
            list.append(QStringLiteral("First"));
            throw EDSError(QStringLiteral("lost connection"));
        }
    } failing;
    QStringList partial;
    EXPECT_NO_THROW(frGetFieldNames(&failing, partial));
    EXPECT_EQ(partial, QStringList{"First"});
    frGetFieldNames(nullptr, partial);
    EXPECT_EQ(partial, QStringList{"First"});
    EXPECT_EQ(frCheckFieldName(&ds, QStringLiteral("F.x")), QStringLiteral("F.x"));
    EXPECT_EQ(frCheckFieldName(&ds, QStringLiteral("photo")), QString()) << "exact match";
    EXPECT_EQ(frCheckFieldName(nullptr, QStringLiteral("Photo")), QString());
    FrBookmark a = frGetBookmark(&ds), b = frGetBookmark(&ds);
    EXPECT_TRUE(frBookmarksEqual(&ds, a, b));
    frFreeBookmark(&ds, a);
    frFreeBookmark(&ds, b);
    EXPECT_EQ(ds.liveBookmarks(), 0);
}

TEST_F(DatasetTest, DottedReferencesFindDataSetAndField)
{
    QObject form, module;
    form.setObjectName(QStringLiteral("Form1"));
    module.setObjectName(QStringLiteral("Module"));
    fr().registerDataModule(&module);
    fr().registerForm(&form);
    QObject *frame = new QObject(&form);
    frame->setObjectName(QStringLiteral("Frame1"));
    frMarkAsFrame(frame);
    FrMemoryDataSet *inFrame = table(frame, 1).release();
    inFrame->setObjectName(QStringLiteral("Data"));
    inFrame->addField(QStringLiteral("F.x"), ftString);
    QObject *panel = new QObject(&form);
    FrMemoryDataSet *onForm = table(panel, 1).release();
    onForm->setObjectName(QStringLiteral("Joueurs"));
    FrMemoryDataSet *onModule = table(&module, 1).release();
    onModule->setObjectName(QStringLiteral("Clubs"));
    fr().setCurrentReport(reinterpret_cast<TfrReport *>(&form), &form);

    FrDataSet *ds = nullptr;
    QString field;
    frGetDataSetAndField(QStringLiteral("Form1.Frame1.Data.\"F.x\""), ds, field);
    EXPECT_EQ(ds, inFrame);
    EXPECT_EQ(field, QStringLiteral("F.x"));
    frGetDataSetAndField(QStringLiteral("Joueurs.Nom"), ds, field);
    EXPECT_EQ(ds, onForm);
    EXPECT_EQ(field, QStringLiteral("Nom"));
    frGetDataSetAndField(QStringLiteral("Module.Clubs.\"Points\""), ds, field);
    EXPECT_EQ(ds, onModule);
    EXPECT_EQ(field, QStringLiteral("Points"));
    frGetDataSetAndField(QStringLiteral("Points"), ds, field);
    EXPECT_EQ(ds, onModule) << "a plain field name keeps the data set given";
    EXPECT_EQ(field, QStringLiteral("Points"));
    frGetDataSetAndField(QStringLiteral("Joueurs.Absent"), ds, field);
    EXPECT_EQ(ds, onForm);
    EXPECT_EQ(field, QString());
    frGetDataSetAndField(QStringLiteral("Nowhere.Data.Nom"), ds, field);
    EXPECT_EQ(ds, nullptr);

    EXPECT_EQ(frFindComponent(&form, QStringLiteral("joueurs")), onForm);
    EXPECT_EQ(frFindComponent(&form, QStringLiteral("Data")), nullptr)
        << "a frame's components are its own";
    EXPECT_EQ(frFindComponent(nullptr, QStringLiteral("Form1.Frame1.Data")), inFrame);
    EXPECT_EQ(frFindComponent(nullptr, QStringLiteral("Module.Clubs")), onModule);
    EXPECT_EQ(frFindComponent(nullptr, QStringLiteral("Form1.Nope.Data")), nullptr);
    EXPECT_EQ(frFindReportComponent(QStringLiteral("Joueurs")), onForm);

    QStringList list;
    frGetComponents(&form, FrDataSet::staticMetaObject, list, onModule);
    EXPECT_EQ(list, (QStringList{"Joueurs", "Form1.Frame1.Data"}));
    list.clear();
    frGetComponents(nullptr, FrDataSet::staticMetaObject, list);
    EXPECT_EQ(list, (QStringList{"Form1.Joueurs", "Form1.Frame1.Data", "Module.Clubs"}))
        << "forms first, then data modules";
}
