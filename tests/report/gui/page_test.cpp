// Template pages: paper through the printer, properties and their unit
// conversions, margin positions, names, objects, script editing and records.
#include "io_support.h"
#include "io_template_builder.h"

#include "report/objects/frglobals.h"
#include "report/objects/frprinterinfo.h"

using namespace report;
using namespace report::test;

namespace
{

class PageTest : public ReportLibraryTest
{
protected:
    void SetUp() override
    {
        ReportLibraryTest::SetUp();
        auto own = std::make_unique<FrVirtualPrinterInfo>();
        printer = own.get();
        frObjects().setPrinter(std::move(own));
    }
    FrVirtualPrinterInfo *printer = nullptr;
};

TEST_F(PageTest, NewPageTakesThePrinterPaperAndGeometry)
{
    TfrReport report;
    TfrPage *page = report.Pages().Add();
    EXPECT_EQ(std::tuple(page->Size, page->PaperWidth, page->PaperHeight, page->Bin,
                         page->PageWidth(), page->PageHeight(), page->Columns),
              std::tuple(9, 2100, 2970, kFrDefaultBin, 758, 1071, 1));
    EXPECT_EQ(page->Caption, QStringLiteral("Form"));
    EXPECT_EQ(page->Color, qint32(0x8000000F));
    EXPECT_EQ(std::tuple(page->BorderStyle, page->Position), std::tuple(3, 4));
    EXPECT_EQ(QRect(page->FormLeft, page->FormTop, page->FormWidth, page->FormHeight),
              QRect(220, 120, 380, 300));
    EXPECT_TRUE(page->Visible);
    EXPECT_NE(page->UseMargins, 0);
}

TEST_F(PageTest, RefusedSizeIsAskedAgainAsCustomPaper)
{
    printer->refuseSize(11);
    TfrPage page(11, 1480, 2100, 3, 1);
    EXPECT_EQ(printer->setCalls(), 2);
    EXPECT_EQ(std::tuple(page.Size, page.PaperWidth, page.PaperHeight, page.Orientation),
              std::tuple(kFrCustomPaper, 1480, 2100, 1));
    // A default bin is kept as it was asked, in either form.
    page.ChangePaper(9, 0, 0, -1, 0);
    EXPECT_EQ(std::tuple(page.Bin, page.Size), std::tuple(-1, 9));
    page.ChangePaper(9, 0, 0, kFrDefaultBin, 0);
    EXPECT_EQ(page.Bin, kFrDefaultBin);
}

TEST_F(PageTest, WidthAndHeightConvertHalfToEven)
{
    TfrPage page(9, 0, 0, kFrDefaultBin, 0);
    EXPECT_EQ(page.GetPropertyValue(QStringLiteral("Width")).toInt(), 756);
    EXPECT_EQ(page.GetPropertyValue(QStringLiteral("height")).toInt(), 1069);
    page.SetPropertyValue(QStringLiteral("Width"), FrVariant(756));
    EXPECT_EQ(page.PaperWidth, 2100);
    // 9 pixels are 25 tenths exactly; 0.9 pixel is 2.5 tenths: to the even 2.
    page.SetPropertyValue(QStringLiteral("HEIGHT"), FrVariant(0.9));
    EXPECT_EQ(page.PaperHeight, 2);
    page.SetPropertyValue(QStringLiteral("HEIGHT"), FrVariant(2.7));
    EXPECT_EQ(page.PaperHeight, 8); // 7.5 tenths: to the even 8
    EXPECT_EQ(TfrPage::tenthsToPixels(25), 9);
    EXPECT_EQ(TfrPage::tenthsToPixels(125), 45);
    // Setting the size does not apply the paper by itself.
    const int calls = printer->setCalls();
    page.SetPropertyValue(QStringLiteral("Size"), FrVariant(11));
    EXPECT_EQ(page.Size, 11);
    EXPECT_EQ(printer->setCalls(), calls);
}

TEST_F(PageTest, MarginPositionsAndStretchToPrintable)
{
    TfrPage page(9, 0, 0, kFrDefaultBin, 0);
    EXPECT_EQ(std::tuple(page.LeftMarginPos(), page.TopMarginPos(), page.RightMarginPos(),
                         page.BottomMarginPos()),
              std::tuple(18, 18, 18 + 722, 18 + 1035));
    page.LeftMargin = 40;
    page.RightMargin = 25;
    page.BottomMargin = 71;
    EXPECT_EQ(page.LeftMarginPos(), 40);
    EXPECT_EQ(page.RightMarginPos(), 758 - 25);
    EXPECT_EQ(page.BottomMarginPos(), 1071 - 71);

    // Designing reads the stored margins; preparing the printable positions.
    page.LeftMargin = 0;
    EXPECT_EQ(page.GetPropertyValue(QStringLiteral("LeftMargin")).toInt(), 0);
    frObjects().frDocMode = 1;
    EXPECT_EQ(page.GetPropertyValue(QStringLiteral("LeftMargin")).toInt(), 18);
    EXPECT_EQ(page.GetPropertyValue(QStringLiteral("RightMargin")).toInt(), 733);

    page.SetPropertyValue(QStringLiteral("StretchToPrintable"), FrVariant(true));
    EXPECT_TRUE(page.GetPropertyValue(QStringLiteral("STRETCHTOPRINTABLE")).toBool());
    EXPECT_EQ(std::tuple(page.UseMargins, page.LeftMarginPos(), page.TopMarginPos(),
                         page.RightMarginPos(), page.BottomMarginPos()),
              std::tuple(0, 0, 0, 758, 1071));
}

TEST_F(PageTest, DialogPagePropertiesAreTheFormsOwn)
{
    TfrPage page(9, 0, 0, kFrDefaultBin, 0);
    page.SetPropertyValue(QStringLiteral("Type"), FrVariant(1));
    page.SetPropertyValue(QStringLiteral("Width"), FrVariant(500));
    page.SetPropertyValue(QStringLiteral("Left"), FrVariant(7));
    page.SetPropertyValue(QStringLiteral("Caption"), FrVariant("Paramètres"));
    page.SetPropertyValue(QStringLiteral("BorderStyle"), FrVariant(2));
    page.SetPropertyValue(QStringLiteral("Unknown"), FrVariant(3));
    EXPECT_EQ(std::tuple(page.FormWidth, page.PaperWidth), std::tuple(500, 2100));
    EXPECT_EQ(page.GetPropertyValue(QStringLiteral("Width")).toInt(), 500);
    EXPECT_EQ(page.GetPropertyValue(QStringLiteral("LEFT")).toInt(), 7);
    EXPECT_EQ(page.GetPropertyValue(QStringLiteral("caption")).toString(),
              QStringLiteral("Paramètres"));
    EXPECT_TRUE(frNoValue(page.GetPropertyValue(QStringLiteral("Unknown"))));

    QStringList names;
    for (const TfrPropRec &rec : page.PropertyList())
        names << rec.Name;
    EXPECT_EQ(names, (QStringList{"Type", "Visible", "BorderStyle", "Caption", "Color", "Left",
                                  "Top", "Width", "Height", "Position", "OnActivate"}));
    const TfrPropRec *border = page.FindProperty(QStringLiteral("borderstyle"));
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(border->Enum, (QStringList{"bsDialog", "bsSizeable"}));
    EXPECT_EQ(border->EnumValues.at(0).toInt(), 3);
    EXPECT_EQ(page.FindProperty(QStringLiteral("OnActivate"))->PropType, 320);
}

TEST_F(PageTest, ReportPagePropertyList)
{
    TfrPage page(9, 0, 0, kFrDefaultBin, 0);
    QStringList names;
    for (const TfrPropRec &rec : page.PropertyList())
        names << rec.Name;
    EXPECT_EQ(names,
              (QStringList{"Type", "Visible", "Size", "Width", "Height", "LeftMargin", "TopMargin",
                           "RightMargin", "BottomMargin", "Orientation", "PrintToPrevPage",
                           "StretchToPrintable", "Columns", "ColumnGap", "OnBeforePrint"}));
    const TfrPropRec *size = page.FindProperty(QStringLiteral("Size"));
    ASSERT_NE(size, nullptr);
    ASSERT_EQ(size->EnumValues.size(), qsizetype(printer->PaperSizes().size()));
    EXPECT_EQ(size->EnumValues.last().toInt(), printer->PaperSizes().back());
    EXPECT_EQ(page.FindProperty(QStringLiteral("StretchToPrintable"))->PropType, 8);
    EXPECT_EQ(page.FindProperty(QStringLiteral("ColumnGap"))->PropType, 128);
}

TEST_F(PageTest, UniqueNamesObjectsAndLookUps)
{
    TfrReport report;
    report.makeCurrent();
    TfrPage *first = report.Pages().Add();
    first->CreateUniqueName();
    EXPECT_EQ(first->Name, QStringLiteral("Page1"));
    report.Pages().Add()->Name = QStringLiteral("page3");
    TfrPage *next = report.Pages().Add();
    next->CreateUniqueName();
    EXPECT_EQ(next->Name, QStringLiteral("Page2"));

    auto *a = addView<TfrMemoView>(*first, QStringLiteral("Titre"), 0, 0, 10, 10);
    auto *b = addView<TfrMemoView>(*first, QStringLiteral("Total"), 0, 0, 10, 10);
    addView<TfrMemoView>(*next, QStringLiteral("Total"), 0, 0, 10, 10);
    a->ID = 41;
    b->ID = 42;
    EXPECT_EQ(first->FindObject(QStringLiteral("TOTAL")), b);
    EXPECT_EQ(report.FindObject(QStringLiteral("total")), b);
    EXPECT_EQ(first->FindObject(QStringLiteral("Absent")), nullptr);
    EXPECT_EQ(first->IndexOfObjectID(b->ID), 1);
    EXPECT_EQ(first->IndexOfObjectID(-5), -1);
    first->Delete(0);
    EXPECT_EQ(first->ObjectCount(), 1);
    EXPECT_EQ(first->Object(0), b);
    first->Delete(7);
    EXPECT_EQ(first->ObjectCount(), 1);
    first->Clear();
    EXPECT_EQ(first->ObjectCount(), 0);

    report.Pages().Move(2, 0);
    EXPECT_EQ(report.Pages().GetPage(0), next);
    report.Pages().Delete(0);
    EXPECT_EQ(report.Pages().Count(), 2);
    EXPECT_EQ(report.Pages().GetPage(5), nullptr);
}

TEST_F(PageTest, FreedPagesAndObjectsAreForgottenByTheLibrary)
{
    auto page = std::make_unique<TfrPage>(9, 0, 0, kFrDefaultBin, 0);
    auto *memo = addView<TfrMemoView>(*page, QStringLiteral("M"), 0, 0, 10, 10);
    addView<TfrMemoView>(*page, QStringLiteral("N"), 0, 0, 10, 10);
    frObjects().frCurrentPage = page.get();
    frObjects().frCurrentView = memo;
    page->Delete(0);
    EXPECT_EQ(frObjects().frCurrentView, nullptr);
    frObjects().frCurrentView = page->Object(0);
    page->Clear();
    EXPECT_EQ(frObjects().frCurrentView, nullptr);
    page.reset();
    EXPECT_EQ(frObjects().frCurrentPage, nullptr);
}

TEST_F(PageTest, ScriptIsEditedThroughTheRegisteredTextEditor)
{
    TfrPage page(9, 0, 0, kFrDefaultBin, 0);
    page.Script = QStringList{QStringLiteral("a := 1;")};
    page.EditScript(); // no editor registered: nothing changes
    EXPECT_EQ(page.Script, QStringList{QStringLiteral("a := 1;")});

    frObjects().frPropEditors.Register(FrEditorKind::Memo, [] {
        TfrView *view = frObjects().frCurrentView;
        ASSERT_NE(view, nullptr);
        view->Memo.append(QStringLiteral("b := 2;"));
    });
    TfrView *before = frObjects().frCurrentView;
    page.FindProperty(QStringLiteral("OnBeforePrint"))->PropEditor();
    EXPECT_EQ(page.Script, (QStringList{QStringLiteral("a := 1;"), QStringLiteral("b := 2;")}));
    EXPECT_EQ(frObjects().frCurrentView, before);
}

TEST_F(PageTest, PageRecordWithoutMarkerHasNoScript)
{
    TfrPage source(9, 0, 0, kFrDefaultBin, 0);
    source.Name = QStringLiteral("Feuille");
    source.Position = 0;
    source.Script = QStringList{QStringLiteral("x;")};
    FrMemoryStream stream;
    source.SaveToStream(stream);
    // Drop the marker: the first integer is then the size.
    QByteArray bytes = stream.data().mid(4);
    bytes.chop(Bytes().memo({"x;"}).data.size());
    FrMemoryStream in(bytes);
    TfrPage page(9, 0, 0, kFrDefaultBin, 0);
    page.LoadFromStream(in);
    EXPECT_EQ(in.remaining(), 0);
    EXPECT_EQ(page.Name, QStringLiteral("Feuille"));
    EXPECT_TRUE(page.Script.isEmpty());

    // Border styles 0 and 1 of older writers read as 3 and 2; any position but 0 as 4.
    QByteArray older = stream.data();
    const qsizetype nameAt = older.indexOf("Feuille");
    older[nameAt + 8] = 1; // the border style, after the name's 0
    const qsizetype scriptSize = Bytes().memo({"x;"}).data.size();
    older[older.size() - scriptSize - 1] = 2; // the position
    FrMemoryStream in2(older);
    page.LoadFromStream(in2);
    EXPECT_EQ(std::tuple(page.Position, page.BorderStyle), std::tuple(4, 2));
}

// Undo puts a deleted object back at its place: the others keep their order
// and an index past either end is taken as the nearest end.
TEST_F(PageTest, InsertAtAnIndexKeepsTheOthersInOrder)
{
    TfrPage page(9, 0, 0, kFrDefaultBin, 0);
    auto named = [](const char *name) {
        auto v = std::make_unique<TfrMemoView>();
        v->Name = QString::fromLatin1(name);
        return v;
    };
    page.Add(named("A"));
    page.Add(named("B"));
    page.Add(named("C"));
    page.Insert(1, named("X"));
    page.Insert(99, named("End"));
    page.Insert(-5, named("Start"));
    QStringList order;
    for (const auto &v : page.Objects)
        order << v->Name;
    EXPECT_EQ(order.join(u','), QStringLiteral("Start,A,X,B,C,End"));
}

} // namespace
