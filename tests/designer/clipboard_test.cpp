// The designer's own clipboard: records written on copy, objects placed,
// renamed and filtered on paste, one undo entry, and records that do not
// read dropped without harm.
#include "tests/designer/designer_fixture.h"
#include "tests/report/gui/io_support.h"

#include "designer/core/designerclipboard.h"
#include "report/core/frstream.h"
#include "report/objects/frchartview.h"
#include "report/objects/frcheckboxview.h"

#include <QFile>

namespace designer::test
{

using namespace report;

namespace
{

// VORN_UPDATE_GOLDEN=1 writes the file from the bytes of the run (then
// check the difference before committing it).
QByteArray golden(const QString &name, const QByteArray &actual)
{
    const QString path = QStringLiteral(VORN_TEST_DATA "/designer/") + name;
    if (qEnvironmentVariableIntValue("VORN_UPDATE_GOLDEN") == 1) {
        QFile out(path);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(actual);
    }
    return report::test::readFileBytes(path);
}

} // namespace

class ClipboardTest : public DesignerFixture
{
protected:
    TfrBandView *idBand(int type, int y, const QString &name)
    {
        TfrBandView *b = band(type, y, 20, name);
        b->ID = frObjects().frNextObjectID++;
        return b;
    }
    std::vector<TfrView *> selected() const
    {
        std::vector<TfrView *> list;
        for (const auto &v : page->Objects)
            if (v->Selected)
                list.push_back(v.get());
        return list;
    }
    int countBands(int type) const
    {
        int n = 0;
        for (const auto &v : page->Objects)
            if (auto *b = dynamic_cast<TfrBandView *>(v.get()); b && b->GetBandType() == type)
                ++n;
        return n;
    }
    std::vector<QByteArray> &clipboard() { return designerGlobals().clipboard; }
};

TEST_F(ClipboardTest, PasteOnAnUnscrolledPageKeepsTheShapeAtTheCornerUnderNewNames)
{
    TfrMemoView *m1 = memo(QStringLiteral("Memo1"), 40, 50);
    TfrMemoView *m2 = memo(QStringLiteral("Memo2"), 100, 80);
    m2->Memo = {QStringLiteral("[Clients.\"Nom\"]")};
    select({m1, m2});
    core->CopySelection();
    EXPECT_EQ(clipboard().size(), 2u);
    EXPECT_TRUE(core->state.selectionState() & ssClipboard);
    designerWindow->modified = false;

    core->Paste();
    ASSERT_EQ(page->ObjectCount(), 4);
    const std::vector<TfrView *> pasted = selected();
    ASSERT_EQ(pasted.size(), 2u);
    EXPECT_EQ(core->state.SelectedCount, 2);
    EXPECT_EQ(pasted[0]->Name, QStringLiteral("Memo3"));
    EXPECT_EQ(QPoint(pasted[0]->x, pasted[0]->y), QPoint(0, 0));
    EXPECT_EQ(pasted[1]->Name, QStringLiteral("Memo4"));
    EXPECT_EQ(QPoint(pasted[1]->x, pasted[1]->y), QPoint(60, 30));
    EXPECT_EQ(pasted[1]->Memo, m2->Memo);
    EXPECT_NE(pasted[0]->ID, m1->ID);
    EXPECT_EQ(QPoint(m1->x, m1->y), QPoint(40, 50));
    EXPECT_EQ(m1->Name, QStringLiteral("Memo1"));
    EXPECT_FALSE(m1->Selected);
    EXPECT_TRUE(designerWindow->modified);

    // One entry: one Undo takes both away.
    EXPECT_EQ(core->undo.count(UndoManager::UndoBuffer), 1);
    core->Undo();
    EXPECT_EQ(page->ObjectCount(), 2);
    // The clipboard outlives the paste: a second one takes the next numbers.
    core->Paste();
    EXPECT_EQ(selected()[0]->Name, QStringLiteral("Memo3"));
    core->Paste();
    EXPECT_EQ(selected()[1]->Name, QStringLiteral("Memo6"));
}

TEST_F(ClipboardTest, BandsOfAKindThatStandsOnceAreNotPastedTwice)
{
    TfrBandView *header = idBand(btPageHeader, 0, QStringLiteral("PageHeader1"));
    TfrBandView *data = idBand(btMasterData, 40, QStringLiteral("MasterData1"));
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 8, 44);
    select({header, data, m});
    core->CopySelection();
    core->Paste();
    EXPECT_EQ(countBands(btPageHeader), 1);
    EXPECT_EQ(countBands(btMasterData), 2);
    EXPECT_EQ(page->ObjectCount(), 5);
    // Bands stay in front of the objects.
    EXPECT_EQ(page->Object(0)->Typ, otBand);
    EXPECT_EQ(page->Object(1)->Typ, otBand);
    EXPECT_EQ(page->Object(2)->Typ, otBand);

    // On a page without one, the first page header of the records is pasted
    // and a second one in the same paste is not.
    clipboard().push_back(DesignerClipboard::recordOf(*header));
    TfrPage *second = rep->Pages().Add();
    designerWindow->Page = second;
    core->Paste();
    int headers = 0;
    for (const auto &v : second->Objects)
        if (auto *b = dynamic_cast<TfrBandView *>(v.get()); b && b->GetBandType() == btPageHeader)
            ++headers;
    EXPECT_EQ(headers, 1);
    EXPECT_EQ(second->ObjectCount(), 3);
}

TEST_F(ClipboardTest, SelectedBandGivesEveryPastedTopAndLeavesNoBandSelected)
{
    TfrMemoView *m1 = memo(QStringLiteral("Memo1"), 40, 50);
    TfrMemoView *m2 = memo(QStringLiteral("Memo2"), 100, 80);
    select({m1, m2});
    core->CopySelection();
    TfrBandView *first = idBand(btMasterData, 120, QStringLiteral("MasterData1"));
    TfrBandView *other = idBand(btMasterFooter, 300, QStringLiteral("MasterFooter1"));
    select({m1, other, first});

    core->Paste();
    const std::vector<TfrView *> pasted = selected();
    ASSERT_EQ(pasted.size(), 2u);
    for (TfrView *v : pasted)
        EXPECT_EQ(v->y, 120) << v->Name.toStdString();
    EXPECT_EQ(pasted[1]->x - pasted[0]->x, 60);
    EXPECT_FALSE(first->Selected);
    EXPECT_FALSE(other->Selected);

    // Undo takes the pasted objects away, never a band that was selected.
    core->Undo();
    EXPECT_EQ(page->ObjectCount(), 4);
    EXPECT_EQ(countBands(btMasterData), 1);
    EXPECT_EQ(countBands(btMasterFooter), 1);
}

TEST_F(ClipboardTest, ScrolledPageTakesTheGridPointAtTheScrollPosition)
{
    TfrMemoView *m1 = memo(QStringLiteral("Memo1"), 40, 50);
    TfrMemoView *m2 = memo(QStringLiteral("Memo2"), 100, 80);
    select({m1, m2});
    core->CopySelection();
    core->state.Settings.GridSize = 8;
    view.visible = QRect(50, 100, 800, 600);
    core->Paste();
    std::vector<TfrView *> pasted = selected();
    ASSERT_EQ(pasted.size(), 2u);
    EXPECT_EQ(QPoint(pasted[0]->x, pasted[0]->y), QPoint(48, 96));
    EXPECT_EQ(QPoint(pasted[1]->x, pasted[1]->y), QPoint(108, 126));

    // Scrolled on one axis only.
    view.visible = QRect(0, 50, 800, 600);
    core->Paste();
    pasted = selected();
    EXPECT_EQ(QPoint(pasted[0]->x, pasted[0]->y), QPoint(0, 48));
}

TEST_F(ClipboardTest, FarAwayObjectsComeToTheCornerToo)
{
    TfrMemoView *m1 = memo(QStringLiteral("Memo1"), 40000, 50000);
    TfrMemoView *m2 = memo(QStringLiteral("Memo2"), 40100, 50020);
    select({m1, m2});
    core->CopySelection();
    core->Paste();
    const std::vector<TfrView *> pasted = selected();
    ASSERT_EQ(pasted.size(), 2u);
    EXPECT_EQ(QPoint(pasted[0]->x, pasted[0]->y), QPoint(0, 0));
    EXPECT_EQ(QPoint(pasted[1]->x, pasted[1]->y), QPoint(100, 20));
}

TEST_F(ClipboardTest, NoInsertRestrictionPastesNothing)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 40, 50);
    select({m});
    core->CopySelection();
    designerWindow->modified = false;
    frObjects().frDesignerRestrictions = quint16(1u << drNoInsertObject);
    core->Paste();
    EXPECT_EQ(page->ObjectCount(), 1);
    EXPECT_EQ(core->undo.count(UndoManager::UndoBuffer), 0);
    EXPECT_FALSE(designerWindow->modified);
    EXPECT_TRUE(m->Selected);
}

TEST_F(ClipboardTest, SecondDesignerPastesWhatTheFirstCopied)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 40, 50);
    m->Memo = {QStringLiteral("Convocation")};
    select({m});
    core->CopySelection();
    core.reset();

    // Another report in another designer window of the same run.
    QObject owner2;
    TfrReport rep2(&owner2);
    TfrPage *page2 = rep2.Pages().Add();
    frSetCurrentReport(&rep2, &rep2, &owner2);
    FrCountingDesigner designer2(1);
    designer2.Page = page2;
    FakeView view2;
    DesignerCore core2(designer2, view2);
    core2.state.Report = &rep2;
    core2.Paste();
    ASSERT_EQ(page2->ObjectCount(), 1);
    EXPECT_EQ(page2->Object(0)->Name, QStringLiteral("Memo1"));
    EXPECT_EQ(page2->Object(0)->Memo, QStringList{QStringLiteral("Convocation")});
    EXPECT_EQ(QPoint(page2->Object(0)->x, page2->Object(0)->y), QPoint(0, 0));
    EXPECT_GT(view2.selectionChanges, 0);
    frSetCurrentReport(rep.get(), rep.get(), &owner);
}

TEST_F(ClipboardTest, CheckBoxAndChartComeBackWhole)
{
    frRegisterCheckBoxView();
    frRegisterChartView();
    auto check = frCreateObject(otAddIn, QStringLiteral("TfrCheckBoxView"));
    auto *box = static_cast<TfrCheckBoxView *>(check.get());
    box->Name = QStringLiteral("CheckBox1");
    box->SetBounds(0, 0, 20, 20);
    box->CheckStyle = csCheck;
    box->CheckColor = 0x0000FF;
    box->Memo = {QStringLiteral("[Licencie]")};
    auto chartObject = frCreateObject(otAddIn, QStringLiteral("TfrChartView"));
    auto *chart = static_cast<TfrChartView *>(chartObject.get());
    chart->Name = QStringLiteral("Chart1");
    chart->SetBounds(30, 40, 200, 120);
    chart->Chart.LabelSource = QStringLiteral("Memo1");
    chart->Chart.ValueSource = QStringLiteral("Memo2");
    chart->Chart.OthersLabel = QStringLiteral("Autres");
    TfrView *a = page->Add(std::move(check));
    TfrView *b = page->Add(std::move(chartObject));
    select({a, b});
    core->CopySelection();
    const std::vector<QByteArray> records = clipboard();

    TfrPage *second = rep->Pages().Add();
    designerWindow->Page = second;
    core->Paste();
    ASSERT_EQ(second->ObjectCount(), 2);
    auto *box2 = dynamic_cast<TfrCheckBoxView *>(second->Object(0));
    auto *chart2 = dynamic_cast<TfrChartView *>(second->Object(1));
    ASSERT_TRUE(box2 && chart2);
    EXPECT_EQ(box2->Name, QStringLiteral("Check1")); // its base name, the first free number
    EXPECT_EQ(chart2->Name, QStringLiteral("Chart2"));
    // Apart from the new names, every stored byte is the copied one.
    box2->Name = box->Name;
    chart2->Name = chart->Name;
    EXPECT_EQ(DesignerClipboard::recordOf(*box2), records[0]);
    EXPECT_EQ(DesignerClipboard::recordOf(*chart2), records[1]);
}

TEST_F(ClipboardTest, SubreportOntoItsOwnTargetOrNoReportPageIsDropped)
{
    TfrPage *target = rep->Pages().Add();
    TfrPage *dialog = rep->Pages().Add();
    dialog->PageTypeValue = ptDialog;
    auto make = [&](int subPage, const QString &name) {
        auto sub = frCreateObject(otSubReport, QString());
        sub->Name = name;
        sub->SetBounds(0, 0, 100, 20);
        static_cast<TfrSubReportView *>(sub.get())->SubPage = subPage;
        return page->Add(std::move(sub));
    };
    TfrView *good = make(1, QStringLiteral("SubReport1"));
    select({good});
    core->CopySelection();

    designerWindow->Page = target;
    core->Paste();
    EXPECT_EQ(target->ObjectCount(), 0) << "it would build itself inside itself";

    designerWindow->Page = page;
    core->Paste();
    EXPECT_EQ(page->ObjectCount(), 2);

    for (int subPage : {-1, 2, 99}) {
        TfrView *bad = make(subPage, QStringLiteral("Bad%1").arg(subPage + 1));
        select({bad});
        core->CopySelection();
        const int before = page->ObjectCount();
        core->Paste();
        EXPECT_EQ(page->ObjectCount(), before) << subPage;
    }
}

TEST_F(ClipboardTest, CopiedMemoRecordIsPinned)
{
    auto object = frCreateObject(otMemo, QString());
    auto *m = static_cast<TfrMemoView *>(object.get());
    m->Name = QStringLiteral("Memo1");
    m->SetBounds(40, 50, 96, 18);
    m->Memo = {QStringLiteral("Total é : [SUM([Points])]")};
    m->Font.Name = QStringLiteral("Arial");
    m->Font.Size = 10;
    m->FrameTyp = frftLeft | frftTop;
    m->Tag = QStringLiteral("[Page#]");
    TfrView *v = page->Add(std::move(object));
    select({v});
    core->CopySelection();
    ASSERT_EQ(clipboard().size(), 1u);
    const QByteArray record = clipboard()[0];
    // Type byte, class name, then the view record.
    EXPECT_EQ(record.left(14), QByteArray("\x00\x0b\x00TfrMemoView\x00", 15).left(14));
    EXPECT_EQ(record, golden(QStringLiteral("memo_record.bin"), record));
}

TEST_F(ClipboardTest, DamagedRecordsAreDroppedAndLeaveNoErrorBehind)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 40, 50);
    select({m});
    core->CopySelection();
    const QByteArray good = clipboard()[0];
    QByteArray unknown;
    {
        FrMemoryStream s;
        frWriteByte(s, otAddIn);
        frWriteString(s, QStringLiteral("TfrNoSuchView"));
        unknown = s.data() + good.mid(15);
    }
    clipboard() = {good.left(good.size() / 2), unknown, QByteArray(), QByteArray(1, char(99)),
                   good};
    core->Paste();
    EXPECT_EQ(page->ObjectCount(), 2);
    EXPECT_EQ(selected().size(), 1u);
    EXPECT_FALSE(frObjects().frErrorOccurred);
    EXPECT_TRUE(frObjects().frErrorText.isEmpty());
}

TEST_F(ClipboardTest, ThousandsOfPastedObjectsAllGetFreeNames)
{
    constexpr int n = 5000;
    for (int i = 0; i < n; ++i)
        memo(QStringLiteral("Memo%1").arg(i + 1), i % 50, i / 50);
    core->state.SelectAllObjects();
    core->CopySelection();
    core->Paste();
    ASSERT_EQ(page->ObjectCount(), 2 * n);
    QSet<QString> seen;
    for (const auto &v : page->Objects)
        seen.insert(v->Name.toUpper());
    EXPECT_EQ(seen.size(), 2 * n);
    EXPECT_EQ(page->Object(n)->Name, QStringLiteral("Memo%1").arg(n + 1));
    EXPECT_EQ(page->Object(2 * n - 1)->Name, QStringLiteral("Memo%1").arg(2 * n));
}

} // namespace designer::test
