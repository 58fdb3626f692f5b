// The seams of the object layer: the virtual printer, the popup menus, the
// designer slot and its property editors.
#include "objects_fixture.h"

#include "report/objects/frpopupmenu.h"
#include "report/objects/frprinterinfo.h"

#include <QAction>
#include <QMenu>

namespace report::test
{
namespace
{

class ObjectSeamsTest : public ObjectsTest
{
};

TEST_F(ObjectSeamsTest, VirtualPrinterGivesA4InReportPixels)
{
    FrPrinterInfo &printer = frObjects().frGlobalPrinter();
    EXPECT_EQ(printer.Printers(), QStringList{QStringLiteral("Imprimante virtuelle")});
    EXPECT_EQ(printer.PrinterIndex(), printer.VirtualPrinterIndex());
    EXPECT_EQ(printer.PaperSizes().size(), 67u);
    EXPECT_EQ(printer.PaperSize(), 9);
    TfrPrnInfo info;
    printer.FillPrnInfo(info);
    EXPECT_EQ(std::tuple(info.Pgw, info.Pgh, info.Ofx, info.Ofy, info.Pw, info.Ph),
              std::tuple(758, 1071, 18, 18, 722, 1035));
    EXPECT_EQ(info.PPgw, 0); // no device on the virtual printer
    // Landscape A5 takes the table's size turned.
    ASSERT_TRUE(printer.SetPrinterInfo(11, 0, 0, kFrDefaultBin, 1, false));
    EXPECT_EQ(printer.PaperWidth(), 2100);
    EXPECT_EQ(printer.PaperHeight(), 1480);
    // Absent codes give the last position (the custom size); absent bins 0.
    EXPECT_EQ(printer.GetPaperIndex(48), 66);
    EXPECT_EQ(printer.GetPaperIndex(9), 8);
    EXPECT_EQ(printer.GetBinIndex(7), 0);
    EXPECT_TRUE(printer.IsEqual(11, 0, 0, 3, 1) == false);
    EXPECT_TRUE(printer.IsEqual(11, 0, 0, kFrDefaultBin, 1));
}

TEST_F(ObjectSeamsTest, FakePrinterCanRefuseSizesAndAddA600DpiPrinter)
{
    auto fake = std::make_unique<FrVirtualPrinterInfo>();
    FrVirtualPrinterInfo *printer = fake.get();
    frObjects().setPrinter(std::move(fake));
    printer->refuseSize(8);
    EXPECT_FALSE(frObjects().frGlobalPrinter().SetPrinterInfo(8, 0, 0, kFrDefaultBin, 0, true));
    EXPECT_EQ(printer->PaperSize(), 9);
    printer->addRealPrinter();
    EXPECT_EQ(printer->Printers().size(), 2);
    EXPECT_EQ(printer->VirtualPrinterIndex(), 1);
    TfrPrnInfo info;
    printer->FillPrnInfo(info);
    EXPECT_EQ(info.PPgw, 4961); // 210 mm at 600 dpi
    EXPECT_EQ(std::tuple(info.Pgw, info.Ofx), std::tuple(758, 15));
    EXPECT_EQ(printer->PaperSizes(), (std::vector<int>{9, 11}));
    EXPECT_EQ(printer->GetPaperIndex(8), 1);
    EXPECT_FALSE(printer->SetPrinterInfo(1, 0, 0, kFrDefaultBin, 0, true));
    EXPECT_TRUE(printer->SetPrinterInfo(kFrCustomPaper, 1000, 1500, kFrDefaultBin, 0, true));
    EXPECT_EQ(printer->PaperWidth(), 1000);
}

TEST_F(ObjectSeamsTest, QMenuAdapterRunsTheChosenCommand)
{
    QMenu menu;
    FrQMenuPopup popup(&menu);
    int runs = 0;
    popup.addCommand(QStringLiteral("Un"), [&runs] { ++runs; });
    popup.addSeparator();
    popup.addCheck(
        QStringLiteral("Deux"), true, [&runs] { runs += 10; }, false);
    const QList<QAction *> actions = menu.actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_TRUE(actions[2]->isChecked());
    EXPECT_FALSE(actions[2]->isEnabled());
    actions[0]->trigger();
    EXPECT_EQ(runs, 1);
}

TEST_F(ObjectSeamsTest, EditorsAreCalledThroughTheRegistry)
{
    FrObjectGlobals &g = frObjects();
    int memoEdits = 0, pictureEdits = 0;
    TfrMemoView memo;
    memo.ShowObjectEditor(); // none registered: nothing happens
    g.frPropEditors.Register(FrEditorKind::Memo, [&memoEdits] { ++memoEdits; });
    g.frPropEditors.Register(FrEditorKind::Picture, [&pictureEdits] { ++pictureEdits; });
    memo.ShowObjectEditor();
    TfrPictureView picture;
    picture.ShowObjectEditor();
    EXPECT_EQ(memoEdits, 1);
    EXPECT_EQ(pictureEdits, 1);
    // The property list carries the registered editor.
    TfrMemoView other;
    const TfrPropRec *rec = other.FindProperty(QStringLiteral("Memo"));
    ASSERT_TRUE(rec && rec->PropEditor);
    rec->PropEditor();
    EXPECT_EQ(memoEdits, 2);
    // The designer class slot builds designers on demand.
    g.frDesignerClass = [](int mode) { return std::make_unique<FrCountingDesigner>(mode); };
    auto designer = g.frDesignerClass(0);
    EXPECT_EQ(designer->DesignMode, 0);
    designer->SetModified(true);
    EXPECT_TRUE(designer->IsModified());
}

TEST_F(ObjectSeamsTest, DisplayFormatCommandCopiesToSelectedMemos)
{
    ListPage page;
    FrCountingDesigner designer;
    designer.Page = &page;
    FrObjectGlobals &g = frObjects();
    g.frCurrentDesigner = &designer;
    TfrMemoView *a = page.add<TfrMemoView>(QStringLiteral("A"));
    TfrMemoView *b = page.add<TfrMemoView>(QStringLiteral("B"));
    TfrMemoView *c = page.add<TfrMemoView>(QStringLiteral("C"));
    a->Selected = b->Selected = true;
    b->Restrictions = 8;
    g.displayFormatDialog = [](qint32 &format, QString &text) {
        format = 0x01000000;
        text = QStringLiteral("dd/mm");
        return true;
    };
    FrRecordingPopup popup;
    a->AddPopupItems(popup);
    popup.choose(QStringLiteral("Format de variable..."));
    EXPECT_EQ(a->FormatStr, QStringLiteral("dd/mm"));
    EXPECT_TRUE(b->FormatStr.isEmpty());
    EXPECT_TRUE(c->FormatStr.isEmpty());
    EXPECT_EQ(designer.beforeChanges, 1);
    g.frCurrentDesigner = nullptr;
}

} // namespace
} // namespace report::test
