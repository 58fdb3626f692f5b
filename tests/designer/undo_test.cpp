// The designer's undo and redo over a counting designer and a fake window:
// bounded buffers, entries tied to their page, copies that restore every
// stored property, and entries that survive a rebuild of the template.
#include "tests/designer/designer_fixture.h"

#include "designer/core/designerclipboard.h"
#include "report/core/frstream.h"
#include "report/objects/frdialogcontrols.h"

namespace designer::test
{

using namespace report;

class UndoTest : public DesignerFixture
{
protected:
    UndoManager &undo() { return core->undo; }
    int redoCount() { return undo().count(UndoManager::RedoBuffer); }
};

TEST_F(UndoTest, HundredAndFirstEntryDropsTheOldestAndUndoStopsAtTheFormerSecond)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 0, 0);
    select({m});
    for (int i = 0; i <= UndoManager::kCapacity; ++i) {
        m->x = i; // entry i holds x = i
        undo().RecordUndo(ukEdited);
    }
    m->x = 500;
    EXPECT_EQ(undoCount(), UndoManager::kCapacity);
    for (int i = 0; i < UndoManager::kCapacity; ++i)
        core->Undo();
    EXPECT_EQ(m->x, 1) << "the oldest remaining entry is the former second";
    EXPECT_EQ(undoCount(), 0);
    EXPECT_EQ(redoCount(), UndoManager::kCapacity);
    core->Undo();
    EXPECT_EQ(m->x, 1);
    // The redo side is bounded the same way and walks back up.
    for (int i = 0; i < UndoManager::kCapacity; ++i)
        core->Redo();
    EXPECT_EQ(page->Object(0)->x, 500);
}

TEST_F(UndoTest, InsertUndoRedoBringsBackTheSameObjectsInTheirPlaces)
{
    memo(QStringLiteral("Memo1"), 0, 0);
    TfrMemoView *a = memo(QStringLiteral("Memo2"), 10, 10);
    memo(QStringLiteral("Memo3"), 20, 20);
    TfrMemoView *b = memo(QStringLiteral("Memo4"), 30, 30);
    a->Memo = {QStringLiteral("[Clients.\"Nom\"]")};
    const qint32 idA = a->ID, idB = b->ID;
    select({a, b});
    undo().RecordUndo(ukInserted);
    EXPECT_TRUE(designerWindow->modified);

    core->Undo();
    EXPECT_EQ(names(), QStringList({QStringLiteral("Memo1"), QStringLiteral("Memo3")}));
    EXPECT_EQ(redoCount(), 1);
    EXPECT_EQ(core->state.SelectedCount, 0);

    core->Redo();
    ASSERT_EQ(names(), QStringList({QStringLiteral("Memo1"), QStringLiteral("Memo2"),
                                    QStringLiteral("Memo3"), QStringLiteral("Memo4")}));
    EXPECT_EQ(page->Object(1)->ID, idA);
    EXPECT_EQ(page->Object(3)->ID, idB);
    EXPECT_EQ(page->Object(1)->Memo, QStringList{QStringLiteral("[Clients.\"Nom\"]")});
    EXPECT_EQ(page->Object(3)->x, 30);
    EXPECT_FALSE(page->Object(1)->Selected);

    // And back again: the re-inserted copies are found by their IDs.
    core->Undo();
    EXPECT_EQ(names(), QStringList({QStringLiteral("Memo1"), QStringLiteral("Memo3")}));
}

TEST_F(UndoTest, EntriesWaitForTheirPage)
{
    TfrPage *second = rep->Pages().Add();
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 8, 8);
    memo(QStringLiteral("Memo2"), 8, 8, 40, 18, second);
    select({m});
    undo().RecordUndo(ukEdited);
    m->x = 100;

    designerWindow->Page = second;
    core->state.CurPage = 1;
    core->Undo();
    EXPECT_EQ(m->x, 100);
    EXPECT_EQ(second->ObjectCount(), 1);
    EXPECT_EQ(undoCount(), 1);
    EXPECT_EQ(redoCount(), 0);

    designerWindow->Page = page;
    core->state.CurPage = 0;
    core->Undo();
    EXPECT_EQ(m->x, 8);
    EXPECT_EQ(redoCount(), 1);
}

TEST_F(UndoTest, OrderChangesUndoExactlyWithObjectsThatOtherwiseEscapeUndo)
{
    TfrMemoView *a = memo(QStringLiteral("A"), 0, 0);
    TfrMemoView *b = memo(QStringLiteral("B"), 0, 0);
    memo(QStringLiteral("C"), 0, 0);
    TfrMemoView *d = memo(QStringLiteral("D"), 0, 0);
    b->Flags |= kFlagNoUndo;
    d->Flags |= kFlagNoUndo;
    select({a});
    undo().RecordUndo(ukOrderChanged);
    // Bring B to the front: the end of the list.
    auto taken = page->Take(1);
    page->Add(std::move(taken));
    ASSERT_EQ(names().join(u','), QStringLiteral("A,C,D,B"));

    core->Undo();
    EXPECT_EQ(names().join(u','), QStringLiteral("A,B,C,D"));
    core->Redo();
    EXPECT_EQ(names().join(u','), QStringLiteral("A,C,D,B"));
    core->Undo();
    EXPECT_EQ(names().join(u','), QStringLiteral("A,B,C,D"));
}

TEST_F(UndoTest, OrderEntryWithAnObjectGoneNeitherLosesNorDoublesTheOthers)
{
    memo(QStringLiteral("A"), 0, 0);
    memo(QStringLiteral("B"), 0, 0);
    memo(QStringLiteral("C"), 0, 0);
    undo().RecordUndo(ukOrderChanged);
    // Send C to the back, then B goes without an entry (a rebuilt page, a
    // script): C's recorded place now lies past the end.
    auto c = page->Take(2);
    page->Insert(0, std::move(c));
    page->Delete(2);
    ASSERT_EQ(names().join(u','), QStringLiteral("C,A"));

    core->Undo();
    EXPECT_EQ(names().join(u','), QStringLiteral("A,C"));
    // The inverse holds what was there, every object once.
    core->Redo();
    EXPECT_EQ(names().join(u','), QStringLiteral("C,A"));
}

TEST_F(UndoTest, UndoAndRedoOfAnEditRestoreEveryStoredByte)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 8, 16, 96, 18);
    m->Memo = {QStringLiteral("Total : [Somme]")};
    m->Font.Name = QStringLiteral("Arial");
    m->Font.Size = 10;
    auto line = std::make_unique<TfrLineView>();
    line->Name = QStringLiteral("Line1");
    line->ID = frObjects().frNextObjectID++;
    line->SetBounds(0, 40, 200, 0);
    TfrView *l = page->Add(std::move(line));
    TfrBandView *bnd = band(btMasterData, 60, 30, QStringLiteral("MasterData1"));
    bnd->ID = frObjects().frNextObjectID++;

    // Lines and bands settle their drawing state (orientation, band frame)
    // when first drawn, as every page is when the designer shows it.
    core->surface.Draw(10000, std::nullopt);
    const std::vector<TfrView *> objects{m, l, bnd};
    auto bytes = [&] {
        QList<QByteArray> all;
        for (TfrView *v : objects)
            all << DesignerClipboard::recordOf(*v);
        return all;
    };
    const QList<QByteArray> before = bytes();
    select({m, l, bnd});
    undo().RecordUndo(ukEdited);
    m->SetBounds(30, 31, 32, 33);
    m->Memo = {QStringLiteral("autre")};
    m->Font.Size = 14;
    m->FillColor = 0x00FF00;
    m->Restrictions = frrfDontSize;
    l->FrameWidth = 3.5f;
    l->Tag = QStringLiteral("[x]");
    bnd->y = 300;
    bnd->Script = QStringList{QStringLiteral("begin end")};
    const QList<QByteArray> after = bytes();
    ASSERT_NE(before, after);

    core->Undo();
    EXPECT_EQ(bytes(), before);
    core->Redo();
    EXPECT_EQ(bytes(), after);
    core->Undo();
    EXPECT_EQ(bytes(), before);
}

TEST_F(UndoTest, NothingSelectedStillSetsModifiedAndForgetsRedo)
{
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 8, 8);
    select({m});
    undo().RecordUndo(ukEdited);
    core->Undo();
    ASSERT_EQ(redoCount(), 1);
    designerWindow->modified = false;

    core->state.UnselectAll();
    const int stateChanges = view.undoStateChanges;
    undo().RecordUndo(ukEdited);
    EXPECT_TRUE(designerWindow->modified);
    EXPECT_EQ(redoCount(), 0);
    EXPECT_EQ(undoCount(), 0);
    EXPECT_GT(view.undoStateChanges, stateChanges);

    // Objects kept out of undo make no entry either.
    m->Flags |= kFlagNoUndo;
    select({m});
    undo().RecordUndo(ukEdited);
    EXPECT_EQ(undoCount(), 0);
}

TEST_F(UndoTest, DeleteRecordsOnlyWhatItRemovesAndUndoMakesNoDuplicate)
{
    TfrMemoView *a = memo(QStringLiteral("Memo1"), 0, 0);
    TfrMemoView *b = memo(QStringLiteral("Memo2"), 0, 20);
    TfrMemoView *c = memo(QStringLiteral("Memo3"), 0, 40);
    b->Restrictions = frrfDontDelete;
    select({a, b, c});
    // What the delete command does: record the removable ones, remove them.
    std::vector<TfrView *> removable;
    for (const auto &v : page->Objects)
        if (v->Selected && !(v->Restrictions & frrfDontDelete))
            removable.push_back(v.get());
    undo().RecordObjects(ukDeleted, removable);
    for (int i = page->ObjectCount() - 1; i >= 0; --i)
        if (page->Objects[size_t(i)]->Selected &&
            !(page->Objects[size_t(i)]->Restrictions & frrfDontDelete))
            page->Delete(i);
    ASSERT_EQ(names(), QStringList{QStringLiteral("Memo2")});

    core->Undo();
    EXPECT_EQ(names().join(u','), QStringLiteral("Memo1,Memo2,Memo3"));
    QSet<qint32> ids;
    for (const auto &v : page->Objects)
        ids.insert(v->ID);
    EXPECT_EQ(ids.size(), 3);
    // Redo removes the two again, never the protected one.
    core->Redo();
    EXPECT_EQ(names(), QStringList{QStringLiteral("Memo2")});

    // Nothing removable: no entry.
    select({page->Object(0)});
    undo().RecordObjects(ukDeleted, {});
    EXPECT_EQ(undoCount(), 1);
}

TEST_F(UndoTest, DeletedCopyIsNotInsertedOverItsLivingObject)
{
    TfrMemoView *a = memo(QStringLiteral("Memo1"), 0, 0);
    select({a});
    // An entry that records the object although it stays on the page.
    undo().RecordUndo(ukDeleted);
    core->Undo();
    EXPECT_EQ(names(), QStringList{QStringLiteral("Memo1")});
}

TEST_F(UndoTest, RebuiltTemplateKeepsItsHistoryByPlace)
{
    memo(QStringLiteral("Memo1"), 0, 0);
    TfrMemoView *inserted = memo(QStringLiteral("Memo2"), 40, 40);
    select({inserted});
    undo().RecordUndo(ukInserted);
    TfrMemoView *edited = static_cast<TfrMemoView *>(page->Object(0));
    select({edited});
    undo().RecordUndo(ukEdited);
    edited->x = 77;
    const qint32 oldID = inserted->ID;

    // Saved and loaded again, as a preview or a prepared page edit does.
    core->templateAboutToRebuild();
    reload();
    core->templateRebuilt();
    ASSERT_EQ(names().join(u','), QStringLiteral("Memo1,Memo2"));
    ASSERT_NE(page->Object(1)->ID, oldID);
    EXPECT_EQ(undoCount(), 2);

    core->Undo();
    EXPECT_EQ(page->Object(0)->x, 0);
    core->Undo();
    EXPECT_EQ(names(), QStringList{QStringLiteral("Memo1")});
    core->Redo();
    EXPECT_EQ(names().join(u','), QStringLiteral("Memo1,Memo2"));

    // Without a note of the places, or with a page whose count changed, the
    // history cannot be trusted and goes.
    reload();
    core->templateRebuilt();
    EXPECT_EQ(undoCount() + redoCount(), 0);

    select({page->Object(0)});
    undo().RecordUndo(ukEdited);
    core->templateAboutToRebuild();
    page->Delete(1);
    reload();
    core->templateRebuilt();
    EXPECT_EQ(undoCount(), 0);

    // A note made before a later change is stale.
    select({page->Object(0)});
    undo().RecordUndo(ukEdited);
    core->templateAboutToRebuild();
    undo().RecordUndo(ukEdited);
    reload();
    core->templateRebuilt();
    EXPECT_EQ(undoCount(), 0);

    select({page->Object(0)});
    undo().RecordUndo(ukEdited);
    undo().RecordUndo(ukEdited);
    core->templateAboutToRebuild();
    core->Undo();
    reload();
    core->templateRebuilt();
    EXPECT_EQ(undoCount() + redoCount(), 0);
}

namespace
{
class DataComponent : public TfrNonVisualControl
{
public:
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<DataComponent>(); }
    QString ClassName() const override { return QStringLiteral("TfrTestDataComponent"); }
};
} // namespace

TEST_F(UndoTest, SelectedDataComponentRefreshesTheFieldsWindow)
{
    int refreshes = 0;
    TfrMemoView *m = memo(QStringLiteral("Memo1"), 0, 0);
    select({m});
    undo().RecordUndo(ukEdited); // no slot: nothing to call
    core->state.Requests.dbFieldsRefresh = [&] { ++refreshes; };
    undo().RecordUndo(ukEdited);
    EXPECT_EQ(refreshes, 0);
    auto data = std::make_unique<DataComponent>();
    data->Name = QStringLiteral("Table1");
    data->ID = frObjects().frNextObjectID++;
    TfrView *d = page->Add(std::move(data));
    select({d});
    undo().RecordUndo(ukEdited);
    EXPECT_EQ(refreshes, 1);
}

} // namespace designer::test
