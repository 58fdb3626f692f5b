// Template streams and files: the ".frf" golden, round trips, older
// versions, loader outcomes on damaged and foreign streams, ".frt" and the
// form property.
#include "io_support.h"
#include "io_template_builder.h"

#include "report/core/frexceptions.h"
#include "report/core/frlocale.h"
#include "report/objects/frglobals.h"
#include "report/objects/frview.h"
#include "tests/support/gui/fakes.h"

#include <QFileInfo>
#include <QSet>

using namespace report;
using namespace report::test;

namespace
{

QStringList objectSummary(TfrReport &report)
{
    QStringList out;
    for (int p = 0; p < report.Pages().Count(); ++p)
        for (const auto &view : report.Pages().GetPage(p)->Objects)
            out << QStringLiteral("%1:%2:%3").arg(p).arg(view->ClassName(), view->Name);
    return out;
}

// An add-in object class, registered only while a test wants it.
class TestAddIn : public TfrView
{
public:
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<TestAddIn>(); }
    void Draw(platform::Canvas &) override {}
    QString ClassName() const override { return QStringLiteral("TfrTestAddIn"); }
};

class TemplateTest : public ReportLibraryTest
{
protected:
    void SetUp() override
    {
        ReportLibraryTest::SetUp();
        fakes = std::make_unique<vorn_test::SeamFakes>();
    }
    void TearDown() override
    {
        fakes.reset();
        ReportLibraryTest::TearDown();
    }
    QStringList messages() const { return fakes->dialogs.texts(); }

    std::unique_ptr<vorn_test::SeamFakes> fakes;
};

TEST_F(TemplateTest, BuiltTemplateIsPinnedAndRoundTripsByteForByte)
{
    TfrReport report;
    buildTemplate(report);
    const QByteArray first = save(report);
    expectGolden(QStringLiteral("template.frf"), first);
    EXPECT_EQ(quint8(first.at(0)), 24);

    TfrReport back;
    load(back, first);
    EXPECT_EQ(back.lastLoad(), TfrReport::LoadOutcome::Loaded);
    EXPECT_TRUE(messages().isEmpty()) << messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(save(back), first);
    EXPECT_EQ(objectSummary(back), objectSummary(report));

    // Fields survive as built.
    ASSERT_EQ(back.Pages().Count(), 3);
    TfrPage *p1 = back.Pages().GetPage(0);
    EXPECT_EQ(p1->Name, QStringLiteral("Page1"));
    EXPECT_EQ(p1->Script.size(), 3);
    EXPECT_EQ(p1->Columns, 2);
    EXPECT_EQ(back.Pages().GetPage(1)->Orientation, 1);
    EXPECT_EQ(back.Pages().GetPage(1)->UseMargins, 0);
    TfrPage *dialog = back.Pages().GetPage(2);
    EXPECT_EQ(
        std::tuple(dialog->PageType(), dialog->Caption, dialog->BorderStyle, dialog->Position),
        std::tuple(ptDialog, QStringLiteral("Choix de l'état"), 2, 0));
    EXPECT_EQ(back.TwoPass, 0xFFFF);

    auto *rich = dynamic_cast<TfrMemoView *>(back.FindObject(QStringLiteral("riche")));
    ASSERT_NE(rich, nullptr);
    EXPECT_EQ(std::tuple(rich->HighlightCondition, rich->Tag, rich->Visible),
              std::tuple(QStringLiteral("[Total] < 0"), QStringLiteral("[Etiquette]"), 0));
    EXPECT_FLOAT_EQ(rich->FrameWidth, 0.5f);
    EXPECT_FLOAT_EQ(back.FindObject(QStringLiteral("Large"))->FrameWidth, 12.0f);
    EXPECT_FLOAT_EQ(back.FindObject(QStringLiteral("Onze"))->FrameWidth, 11.0f);
    auto *photo = dynamic_cast<TfrPictureView *>(back.FindObject(QStringLiteral("Photo")));
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->Picture.bytes(), bitmapFile(3, 2));
    auto *band = dynamic_cast<TfrBandView *>(back.FindObject(QStringLiteral("Band9")));
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->Master, QStringLiteral("Band6"));
    EXPECT_EQ(back.Dictionary().Variables.Count(), 3);
    EXPECT_EQ(back.Dictionary().FieldAliases.Count(), 2);
}

TEST_F(TemplateTest, FilesAreWrittenWholeAndReadBack)
{
    TfrReport report;
    buildTemplate(report);
    const QString path = tempPath(QStringLiteral("Etat.frf"));
    ASSERT_TRUE(report.SaveToFile(path));
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files),
              QStringList{QStringLiteral("Etat.frf")});

    TfrReport back;
    EXPECT_EQ(back.FileName, QStringLiteral("Sans_nom"));
    EXPECT_TRUE(back.LoadFromFile(path));
    EXPECT_EQ(back.FileName, path);
    EXPECT_EQ(save(back), save(report));
    // The name in another case is found too (folders copied from elsewhere).
    TfrReport other;
    EXPECT_TRUE(other.LoadFromFile(tempPath(QStringLiteral("ETAT.FRF"))));

    TfrReport untouched;
    buildTemplate(untouched);
    const QByteArray before = save(untouched);
    EXPECT_FALSE(untouched.LoadFromFile(tempPath(QStringLiteral("absent.frf"))));
    EXPECT_EQ(save(untouched), before);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(TemplateTest, EmptyReportWritesHeaderAndDictionaryOnly)
{
    TfrReport report;
    const QByteArray bytes = save(report);
    const QByteArray expected = Bytes()
                                    .byte(24)
                                    .word(0)
                                    .word(0)
                                    .str("\x01")
                                    .byte(254)
                                    .word(0xFFFE)
                                    .int32(0)
                                    .int32(0)
                                    .int32(0)
                                    .data;
    EXPECT_EQ(bytes.toHex(), expected.toHex());
}

TEST_F(TemplateTest, UnsupportedVersionChangesNothing)
{
    TfrReport report;
    buildTemplate(report);
    const QByteArray before = save(report);
    QByteArray future = before;
    future[0] = char(25);
    load(report, future);
    EXPECT_EQ(report.lastLoad(), TfrReport::LoadOutcome::Unsupported);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Format FRF non supporté")});
    EXPECT_EQ(fakes->dialogs.messages.front().caption, QStringLiteral("Erreur"));
    EXPECT_EQ(save(report), before);

    const QString path = tempPath(QStringLiteral("futur.frf"));
    writeFileBytes(path, future);
    EXPECT_FALSE(report.LoadFromFile(path));
    EXPECT_EQ(save(report), before);
}

TEST_F(TemplateTest, LeadBytesAndExtensionRecord)
{
    TfrReport source;
    buildTemplate(source, false);
    const QByteArray body = save(source);
    // The dictionary record ends the stream: records after it are read too,
    // unless a 253 stops the reading first.
    int tried = 0;
    for (int lead = 11; lead <= 252; ++lead, ++tried) {
        TfrReport report;
        buildTemplate(report);
        load(report, body + QByteArray(1, char(lead)) + QByteArray(20, '\0'));
        EXPECT_EQ(report.lastLoad(), TfrReport::LoadOutcome::FormatError) << lead;
        ASSERT_EQ(report.Pages().Count(), 1);
        EXPECT_EQ(report.Pages().GetPage(0)->ObjectCount(), 0);
    }
    EXPECT_EQ(messages().count(QStringLiteral("Format FRF non supporté")), tried);
    const QString path = tempPath(QStringLiteral("tete.frf"));
    writeFileBytes(path, body + QByteArray(1, char(11)) + QByteArray(20, '\0'));
    TfrReport fromFile;
    EXPECT_FALSE(fromFile.LoadFromFile(path));
    // A file is read aside: the report keeps what it held (no page here),
    // and the message names the file.
    EXPECT_EQ(fromFile.Pages().Count(), 0);
    EXPECT_EQ(messages().last(),
              frFileNotReadText(path, QStringLiteral("Format FRF non supporté")));

    TfrReport stopped;
    load(stopped, body + QByteArray(1, char(253)) + QByteArray(1, char(11)));
    EXPECT_EQ(stopped.lastLoad(), TfrReport::LoadOutcome::Loaded);
    EXPECT_EQ(stopped.Pages().Count(), 3);
}

TEST_F(TemplateTest, UnknownAddInBetweenKnownObjectsVersion24)
{
    frRegisterObject(
        QStringLiteral("TfrTestAddIn"), [] { return std::make_unique<TestAddIn>(); }, QImage(),
        QStringLiteral("Essai"));
    TfrReport report;
    buildTemplate(report, false);
    TfrPage *page = report.Pages().GetPage(0);
    addView<TfrMemoView>(*page, QStringLiteral("Avant"), 0, 0, 50, 20);
    auto *addIn = static_cast<TestAddIn *>(page->Add(std::make_unique<TestAddIn>()));
    addIn->Name = QStringLiteral("Inconnu1");
    addView<TfrMemoView>(*page, QStringLiteral("Apres"), 0, 30, 50, 20);
    const QByteArray bytes = save(report);
    frObjects().frAddInList.clear();

    TfrReport back;
    load(back, bytes);
    EXPECT_EQ(back.lastLoad(), TfrReport::LoadOutcome::MissingClasses);
    EXPECT_EQ(objectSummary(back), (QStringList{QStringLiteral("0:TfrMemoView:Avant"),
                                                QStringLiteral("0:TfrMemoView:Apres")}));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages().first(),
              QStringLiteral("Opened report contains the following non-plugged components:\r"
                             "TfrTestAddIn\rUse appropriate component from FR component palette"));
    EXPECT_EQ(back.Dictionary().Variables.Count(), 3);

    const QString path = tempPath(QStringLiteral("addin.frf"));
    writeFileBytes(path, bytes);
    TfrReport fromFile;
    EXPECT_TRUE(fromFile.LoadFromFile(path));
}

TEST_F(TemplateTest, RecordsWithBadPageIndexOrTypeAreSkippedInVersion24)
{
    TfrReport report;
    buildTemplate(report, false);
    addView<TfrMemoView>(*report.Pages().GetPage(0), QStringLiteral("Bon"), 0, 0, 50, 20);
    QByteArray bytes = save(report);
    // The dictionary record starts at the last 254 before its marker.
    const qsizetype dictionary = bytes.lastIndexOf(QByteArray("\xFE\xFE\xFF", 3));
    ASSERT_GT(dictionary, 0);
    auto record = [&](int typ, int pageIndex, const QByteArray &payload, qint64 at) {
        return Bytes()
            .byte(typ)
            .byte(pageIndex)
            .int32(qint32(at + 6 + payload.size()))
            .raw(payload)
            .data;
    };
    QByteArray extra = record(0, 9, QByteArray(12, 'x'), dictionary);
    extra += record(7, 0, QByteArray(5, 'y'), dictionary + extra.size());
    // A memo record whose content is damaged but whose end is sound.
    extra += record(0, 0, QByteArray(3, '\xFF'), dictionary + extra.size());
    bytes.insert(dictionary, extra);
    TfrReport back;
    load(back, bytes);
    EXPECT_EQ(back.lastLoad(), TfrReport::LoadOutcome::Loaded);
    EXPECT_EQ(objectSummary(back), QStringList{QStringLiteral("0:TfrMemoView:Bon")});
    EXPECT_EQ(back.Dictionary().Variables.Count(), 3);
    // An end offset before the record or past the stream is a format error.
    QByteArray bad = save(report);
    bad.insert(dictionary, Bytes().byte(0).byte(0).int32(3).data);
    load(back, bad);
    EXPECT_EQ(back.lastLoad(), TfrReport::LoadOutcome::FormatError);
}

TEST_F(TemplateTest, EveryCutInsideARecordIsAFormatError)
{
    const TemplateRecords records = builtTemplateRecords();
    const QByteArray &bytes = records.bytes;
    const QList<qint64> &boundaries = records.boundaries;
    const qint64 objectsStart = boundaries.first();
    ASSERT_EQ(boundaries.size(), 1 + 23 + 12 + 3 + 4);
    ASSERT_EQ(boundaries.last(), records.dictionaryStart);

    int objectsLoaded = 0;
    for (qint64 cut = objectsStart; cut < boundaries.last(); ++cut) {
        TfrReport back;
        load(back, bytes.left(cut));
        const int at = int(boundaries.indexOf(cut));
        if (at >= 0) {
            EXPECT_EQ(back.lastLoad(), TfrReport::LoadOutcome::Loaded) << cut;
            EXPECT_EQ(objectSummary(back).size(), at) << cut;
            ++objectsLoaded;
        } else {
            ASSERT_EQ(back.lastLoad(), TfrReport::LoadOutcome::FormatError) << cut;
            ASSERT_EQ(back.Pages().Count(), 1);
            ASSERT_EQ(back.Pages().GetPage(0)->ObjectCount(), 0);
        }
    }
    EXPECT_EQ(objectsLoaded, boundaries.size() - 1);
    // Cuts in the header and the page records.
    for (qint64 cut = 2; cut < objectsStart; cut += 7) {
        TfrReport back;
        load(back, bytes.left(cut));
        EXPECT_NE(back.lastLoad(), TfrReport::LoadOutcome::MissingClasses);
        if (back.lastLoad() == TfrReport::LoadOutcome::FormatError) {
            EXPECT_EQ(back.Pages().Count(), 1);
        }
    }
    // A cut file gives false.
    const QString path = tempPath(QStringLiteral("coupe.frf"));
    writeFileBytes(path, bytes.left(boundaries[5] + 3));
    TfrReport fromFile;
    EXPECT_FALSE(fromFile.LoadFromFile(path));
}

// Version 22 memo record: no name, no version bytes, zero-terminated texts.
QByteArray memoRecord22(int x, const QByteArray &text, int flags)
{
    return Bytes()
        .int32(x)
        .int32(20)
        .int32(100)
        .int32(18)
        .word(flags)
        .word(0)
        .int32(1000)
        .int32(0)
        .word(0)
        .int32(0x1FFFFFFF)
        .int32(0)
        .strz("")
        .strz(text)
        .strz("Arial")
        .int32(10)
        .word(0)
        .int32(0)
        .int32(0)
        .word(204)
        .word(2)
        .int32(0)
        .int32(0xFFFFFF)
        .strz("")
        .data;
}

QByteArray pageRecordOld(int firstInt, bool marked)
{
    Bytes b;
    b.int32(firstInt);
    if (marked)
        b.int32(9);
    b.int32(2100).int32(2970).int32(10).int32(20).int32(30).int32(40).byte(0);
    return b.data;
}

TEST_F(TemplateTest, Version22And21StreamsLoadWithGeneratedNames)
{
    fr().frCharset = 238;
    Bytes v22;
    v22.byte(22).word(0).word(0xFFFF).strz("Imprimante virtuelle");
    v22.byte(255).raw(pageRecordOld(9, false)).raw(QByteArray(6, 'z'));
    v22.word(0).word(0xFFFF).int32(1).int32(0);
    v22.byte(0).byte(0).raw(memoRecord22(5, "Un\rDeux", 0));
    v22.byte(0).byte(0).raw(memoRecord22(6, "Trois", 0));
    // A master data band: the view part only, no band fields below 24.
    v22.byte(2).byte(0).int32(0).int32(100).int32(700).int32(30).word(0x0001).word(btMasterData);
    v22.int32(1000).int32(0).word(0).int32(0x1FFFFFFF).int32(0).strz("Clients").strz("");
    expectGolden(QStringLiteral("template_v22.frf"), v22.data);
    expectGolden(QStringLiteral("template_v21.frf"), v22.data.mid(1));
    TfrReport report;
    load(report, v22.data);
    EXPECT_EQ(report.lastLoad(), TfrReport::LoadOutcome::Loaded);
    ASSERT_EQ(report.Pages().Count(), 1);
    TfrPage *page = report.Pages().GetPage(0);
    EXPECT_EQ(std::tuple(page->Name, page->Size, page->Bin),
              std::tuple(QStringLiteral("Page1"), 9, -1));
    EXPECT_TRUE(page->Script.isEmpty());
    EXPECT_EQ(page->LeftMargin, 10);
    EXPECT_EQ(report.TwoPass, 0xFFFF);
    EXPECT_EQ(objectSummary(report), (QStringList{QStringLiteral("0:TfrMemoView:Memo1"),
                                                  QStringLiteral("0:TfrMemoView:Memo2"),
                                                  QStringLiteral("0:TfrBandView:Band1")}));
    auto *band = static_cast<TfrBandView *>(page->Object(2));
    EXPECT_EQ(std::tuple(band->GetBandType(), band->FormatStr, band->Columns),
              std::tuple(btMasterData, QStringLiteral("Clients"), 1));
    EXPECT_TRUE(band->ChildBand.isEmpty());
    auto *memo = static_cast<TfrMemoView *>(page->Object(0));
    EXPECT_EQ(memo->Memo, (QStringList{QStringLiteral("Un"), QStringLiteral("Deux")}));
    EXPECT_EQ(memo->Font.Charset, 238);
    EXPECT_EQ(memo->LineSpacing, 2); // spacing defaults below 24
    EXPECT_EQ(memo->Flags & flWordWrap, 0);

    // Version 21 without its version byte: the first byte is the option word's.
    QByteArray v21 = v22.data.mid(1);
    load(report, v21);
    EXPECT_EQ(report.lastLoad(), TfrReport::LoadOutcome::Loaded);
    ASSERT_EQ(report.Pages().GetPage(0)->ObjectCount(), 3);
    EXPECT_NE(report.Pages().GetPage(0)->Object(0)->Flags & flWordWrap, 0);
    EXPECT_EQ(fr().frTemplateVersion, 21);
    EXPECT_TRUE(messages().isEmpty());
}

// The view part alone of a version 22 record (bands and lines have no more).
QByteArray viewRecord22(int x, int frameTyp)
{
    return Bytes()
        .int32(x)
        .int32(40)
        .int32(200)
        .int32(30)
        .word(0x0001)
        .word(frameTyp)
        .int32(1000)
        .int32(0)
        .word(0)
        .int32(0x1FFFFFFF)
        .int32(0)
        .strz("")
        .strz("")
        .data;
}

struct OldObject {
    quint8 typ;
    quint8 page;
};

// A version 22 template of two pages holding the objects in file order.
QByteArray template22(const std::vector<OldObject> &objects)
{
    Bytes b;
    b.byte(22).word(0).word(0).strz("");
    for (int p = 0; p < 2; ++p) {
        b.byte(255).raw(pageRecordOld(9, false)).raw(QByteArray(6, 'z'));
        b.word(0).word(0xFFFF).int32(1).int32(0);
    }
    int x = 0;
    for (const OldObject &o : objects) {
        b.byte(o.typ).byte(o.page);
        x = (x + 7) % 500;
        b.raw(o.typ == otMemo   ? memoRecord22(x, "Texte", 0)
              : o.typ == otBand ? viewRecord22(x, btMasterData)
                                : viewRecord22(x, frftLeft));
    }
    return b.data;
}

QStringList pageNames(TfrReport &report, int page)
{
    QStringList names;
    for (const auto &view : report.Pages().GetPage(page)->Objects)
        names << view->Name;
    return names;
}

TEST_F(TemplateTest, GeneratedNamesOfOldTemplatesAreThoseOfTheObjectByObjectSearch)
{
    // Memos, bands and lines mixed over two pages, in an irregular order.
    std::vector<OldObject> objects;
    const quint8 types[] = {otMemo, otMemo, otBand, otLine, otMemo, otLine, otBand};
    for (int i = 0; i < 300; ++i)
        objects.push_back({types[(i * 5 + i / 7) % 7], quint8(i % 3 == 0 ? 1 : 0)});
    TfrReport report;
    load(report, template22(objects));
    ASSERT_EQ(report.lastLoad(), TfrReport::LoadOutcome::Loaded);

    // The same objects given their names one by one outside a load, where
    // each name is searched for among all the objects already there.
    TfrReport reference;
    reference.makeCurrent();
    for (int p = 0; p < 2; ++p)
        reference.Pages().Add()->CreateUniqueName();
    for (const OldObject &o : objects) {
        std::unique_ptr<TfrView> view = frCreateObject(o.typ, QString());
        view->CreateUniqueName();
        reference.Pages().GetPage(o.page)->Add(std::move(view));
    }
    for (int p = 0; p < 2; ++p) {
        EXPECT_EQ(report.Pages().GetPage(p)->Name, reference.Pages().GetPage(p)->Name);
        EXPECT_EQ(pageNames(report, p), pageNames(reference, p)) << "page " << p;
    }
    const QStringList all = pageNames(report, 0) + pageNames(report, 1);
    EXPECT_EQ(QSet<QString>(all.begin(), all.end()).size(), 300) << "every name is its own";
}

TEST_F(TemplateTest, OldTemplateOfFourThousandMemosLoads)
{
    std::vector<OldObject> objects(4000, OldObject{otMemo, 0});
    TfrReport report;
    load(report, template22(objects));
    ASSERT_EQ(report.lastLoad(), TfrReport::LoadOutcome::Loaded);
    const QStringList names = pageNames(report, 0);
    ASSERT_EQ(names.size(), 4000);
    for (int i = 0; i < names.size(); ++i)
        ASSERT_EQ(names[i], QStringLiteral("Memo%1").arg(i + 1));
    EXPECT_TRUE(report.Pages().GetPage(1)->Objects.empty());
}

TEST_F(TemplateTest, GeneratedNumbersStopAtTenThousandPerClass)
{
    std::vector<OldObject> objects(kFrNameNumberLimit + 1, OldObject{otMemo, 0});
    objects.push_back({otLine, 1});
    TfrReport report;
    load(report, template22(objects));
    ASSERT_EQ(report.lastLoad(), TfrReport::LoadOutcome::Loaded);
    const QStringList names = pageNames(report, 0);
    ASSERT_EQ(names.size(), kFrNameNumberLimit + 1);
    EXPECT_EQ(names.at(kFrNameNumberLimit - 1), QStringLiteral("Memo10000"));
    EXPECT_EQ(names.last(), QString()) << "no number is left for the last memo";
    EXPECT_EQ(pageNames(report, 1), QStringList{QStringLiteral("Line1")});
}

TEST_F(TemplateTest, Version23StreamAndMissingAddInStopsReading)
{
    auto record23 = [](const QByteArray &name) {
        return Bytes()
            .str(name)
            .int32(1)
            .int32(2)
            .int32(30)
            .int32(40)
            .word(0)
            .word(0)
            .int32(1)
            .int32(0)
            .word(0)
            .int32(0)
            .int32(0)
            .str("")
            .memo({"Texte"})
            .memo({"Script;"})
            .word(0xFFFF)
            .str("Arial")
            .int32(10)
            .word(0)
            .int32(0)
            .int32(0)
            .word(186)
            .word(2)
            .int32(0)
            .int32(0)
            .str("")
            .data;
    };
    Bytes v23;
    v23.byte(23).word(0).word(0).str("\x01");
    v23.byte(255).raw(pageRecordOld(-1, true));
    v23.word(0).word(0xFFFF).int32(1).int32(0);
    v23.byte(0).byte(0).raw(record23("Premier"));
    v23.byte(10).str("TfrAbsent").byte(0).raw(record23("Inconnu"));
    v23.byte(0).byte(0).raw(record23("Dernier"));
    expectGolden(QStringLiteral("template_v23.frf"), v23.data);
    TfrReport report;
    load(report, v23.data);
    EXPECT_EQ(report.lastLoad(), TfrReport::LoadOutcome::MissingClasses);
    EXPECT_EQ(objectSummary(report), QStringList{QStringLiteral("0:TfrMemoView:Premier")});
    auto *memo = static_cast<TfrMemoView *>(report.Pages().GetPage(0)->Object(0));
    EXPECT_EQ(memo->Script, QStringList{QStringLiteral("Script;")});
    EXPECT_EQ(memo->Font.Charset, 186);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().first().contains(QStringLiteral("TfrAbsent\r")));
    EXPECT_EQ(report.Pages().GetPage(0)->Name, QStringLiteral("Page1"));
}

TEST_F(TemplateTest, FramedMemoAndLookupNamesOfOlderLibraries)
{
    TfrReport report;
    buildTemplate(report, false);
    addView<TfrMemoView>(*report.Pages().GetPage(0), QStringLiteral("Cadre"), 5, 6, 70, 20);
    QByteArray bytes = save(report);
    TfrReport bare;
    buildTemplate(bare, false);
    // Turn the memo record into a framed memo with its 8 extra bytes.
    const QByteArray marker("\xFE\xFE\xFF", 3);
    const qsizetype dictionary = bytes.lastIndexOf(marker);
    const qsizetype at = save(bare).lastIndexOf(marker);
    ASSERT_GT(at, 0);
    QByteArray record = bytes.mid(at, dictionary - at);
    const QByteArray body = record.mid(6);
    const QByteArray className = Bytes().byte(10).str("TfrFramedMemoView").data;
    const qint32 end = qint32(at + className.size() + 1 + 4 + body.size() + 8);
    QByteArray framed =
        className + Bytes().byte(0).int32(end).raw(body).raw(QByteArray(8, 'F')).data;
    bytes.replace(at, record.size(), framed);
    TfrReport back;
    load(back, bytes);
    EXPECT_EQ(back.lastLoad(), TfrReport::LoadOutcome::Loaded);
    EXPECT_EQ(objectSummary(back), QStringList{QStringLiteral("0:TfrMemoView:Cadre")});
}

TEST_F(TemplateTest, TemplateWithDescriptionBothWays)
{
    TfrReport report;
    buildTemplate(report);
    const QString path = tempPath(QStringLiteral("modele.frt"));
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    const QStringList description{QStringLiteral("Résultats des paires"), QStringLiteral("A4")};
    ASSERT_TRUE(report.SaveTemplate(path, description, picture));
    const QByteArray file = readFileBytes(path);

    TfrReport reader;
    QStringList readDescription;
    QImage readPicture(1, 1, QImage::Format_RGB32);
    reader.LoadTemplate(path, readDescription, readPicture, false);
    EXPECT_EQ(readDescription, description);
    ASSERT_FALSE(readPicture.isNull());
    EXPECT_EQ(readPicture.size(), QSize(4, 3));
    EXPECT_EQ(readPicture.pixel(2, 1), qRgb(10, 200, 30));
    EXPECT_EQ(reader.Pages().Count(), 0);

    reader.LoadTemplate(path, readDescription, readPicture, true);
    EXPECT_EQ(reader.lastLoad(), TfrReport::LoadOutcome::Loaded);
    EXPECT_EQ(save(reader), save(report));
    // The body is the template stream without its version byte (its end
    // offsets are positions in the ".frt" file).
    const QByteArray body = save(report).mid(1);
    FrMemoryStream frt(file);
    QStringList skipped;
    frReadMemo(frt, skipped);
    const qint32 bodyAt = frReadInteger(frt);
    EXPECT_EQ(file.size() - bodyAt, body.size());
    EXPECT_EQ(file.mid(bodyAt, 16).toHex(), body.left(16).toHex());

    const QString plain = tempPath(QStringLiteral("sans_image.frt"));
    ASSERT_TRUE(report.SaveTemplate(plain, {}, QImage()));
    reader.LoadTemplate(plain, readDescription, readPicture, false);
    EXPECT_TRUE(readDescription.isEmpty());
    EXPECT_TRUE(readPicture.isNull());
    const QByteArray plainBytes = readFileBytes(plain);
    EXPECT_EQ(plainBytes.left(8).toHex(), Bytes().word(0).byte(0).int32(8).byte(0).data.toHex());
}

TEST_F(TemplateTest, FormPropertyHoldsTheTemplateOnlyWhenStored)
{
    TfrReport report;
    buildTemplate(report);
    FrMemoryStream notStored;
    report.WriteBinaryData(notStored);
    EXPECT_EQ(notStored.data().toHex(), Bytes().int32(24).data.toHex());

    report.StoreInDFM = true;
    FrMemoryStream stored;
    report.WriteBinaryData(stored);
    const QByteArray inner = save(report);
    EXPECT_EQ(stored.data(), Bytes().int32(24).int32(qint32(inner.size())).raw(inner).data);

    TfrReport back;
    back.StoreInDFM = true;
    stored.seek(0);
    back.ReadBinaryData(stored);
    EXPECT_EQ(save(back), inner);

    FrMemoryStream lying(Bytes().int32(24).int32(1000000).raw("abc").data);
    EXPECT_THROW(back.ReadBinaryData(lying), EFrStreamError);
}

} // namespace
