// The object model: factory and add-ins, named properties and methods,
// object look-up by dotted names, geometry, clip regions, build errors and
// the designer commands of the popup menus.
#include "objects_fixture.h"

#include "report/core/frexceptions.h"
#include "report/data/frdataset.h"
#include "report/objects/frband.h"
#include "report/objects/frpopupmenu.h"

namespace report::test
{
namespace
{

class ViewModelTest : public ObjectsTest
{
};

class CheckView : public TfrView
{
public:
    CheckView() { BaseName = QStringLiteral("Check"); }
    std::unique_ptr<TfrView> Create() const override { return std::make_unique<CheckView>(); }
    void Draw(platform::Canvas &) override {}
    QString ClassName() const override { return QStringLiteral("TfrCheckBoxView"); }
};

TEST_F(ViewModelTest, FactoryCreatesByTypeCodeAndRegisteredClassName)
{
    FrObjectGlobals &g = frObjects();
    g.frNextObjectID = 7;
    auto memo = frCreateObject(otMemo, QString());
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->ClassName(), QStringLiteral("TfrMemoView"));
    EXPECT_EQ(memo->ID, 7);
    EXPECT_EQ(frCreateObject(otPicture, {})->Typ, otPicture);
    EXPECT_EQ(frCreateObject(otBand, {})->Typ, otBand);
    EXPECT_EQ(frCreateObject(otSubReport, {})->Typ, otSubReport);
    EXPECT_EQ(frCreateObject(otLine, {})->Typ, otLine);
    EXPECT_EQ(g.frNextObjectID, 12);
    for (int code : {5, 9, 11, 255})
        EXPECT_FALSE(frCreateObject(code, {})) << code;
    EXPECT_EQ(g.frNextObjectID, 12);

    EXPECT_THROW(frCreateObject(otAddIn, QStringLiteral("TfrChartView")), EClassNotFound);
    EXPECT_TRUE(g.frErrorOccurred);
    EXPECT_EQ(g.frErrorText, QStringLiteral("TfrChartView") + ch(13));
    EXPECT_EQ(g.frNextObjectID, 12);

    frRegisterObject(
        QStringLiteral("TfrCheckBoxView"), [] { return std::make_unique<CheckView>(); }, QImage(),
        QStringLiteral("Case"));
    frRegisterObject(
        QStringLiteral("TfrCheckBoxView"), [] { return std::make_unique<CheckView>(); }, QImage(),
        QStringLiteral("Deux"));
    EXPECT_EQ(g.frAddInList.size(), 1u);
    auto check = frCreateObject(otAddIn, QStringLiteral("TfrCheckBoxView"));
    ASSERT_TRUE(check);
    EXPECT_EQ(check->Typ, otAddIn);
    // Class names are compared exactly.
    EXPECT_THROW(frCreateObject(otAddIn, QStringLiteral("tfrcheckboxview")), EClassNotFound);
    // The list is not limited to 32 classes.
    for (int i = 0; i < 40; ++i)
        frRegisterObject(
            QStringLiteral("TAddIn%1").arg(i), [] { return std::make_unique<CheckView>(); },
            QImage(), QString());
    EXPECT_EQ(g.frAddInList.size(), 41u);
}

TEST_F(ViewModelTest, AddInsAreWrittenWithTheirClassName)
{
    CheckView check;
    check.Name = QStringLiteral("Check1");
    FrMemoryStream s;
    check.WriteTypeCode(s);
    EXPECT_EQ(s.data().toHex(), QByteArray("0a0f00546672436865636b426f78566965770"
                                           "0"));
}

TEST_F(ViewModelTest, PropertiesByName)
{
    TfrMemoView m;
    EXPECT_EQ(m.GetPropertyValue(QStringLiteral("Memo.Count")).toInt(), 0);
    EXPECT_EQ(m.GetPropertyValue(QStringLiteral("DataField")).toString(), QString());
    m.SetPropertyValue(QStringLiteral("memo"), QStringLiteral("a\r\nb\nc"));
    EXPECT_EQ(m.Memo, (QStringList{"a", "b", "c"}));
    EXPECT_EQ(m.GetPropertyValue(QStringLiteral("MEMO.COUNT")).toInt(), 3);
    EXPECT_EQ(m.GetPropertyValue(QStringLiteral("DataField")).toString(), QStringLiteral("a"));
    m.SetPropertyValue(QStringLiteral("Stretched"), false);
    EXPECT_EQ(m.Flags & flStretched, 0);
    m.SetPropertyValue(QStringLiteral("FrameWidth"), 2.5);
    EXPECT_DOUBLE_EQ(m.GetPropertyValue(QStringLiteral("FrameWidth")).toDouble(), 2.5);
    m.SetPropertyValue(QStringLiteral("Visible"), false);
    EXPECT_FALSE(m.GetPropertyValue(QStringLiteral("Visible")).toBool());
    m.Visible = 0x0100; // any non-zero word is visible
    EXPECT_TRUE(m.GetPropertyValue(QStringLiteral("Visible")).toBool());
    m.SetPropertyValue(QStringLiteral("Font.Name"), QStringLiteral("Courier New"));
    m.SetPropertyValue(QStringLiteral("Font.Size"), 12);
    EXPECT_EQ(m.Font.Name, QStringLiteral("Courier New"));
    EXPECT_EQ(m.GetPropertyValue(QStringLiteral("FONT.SIZE")).toInt(), 12);
    m.SetPropertyValue(QStringLiteral("WordWrap"), false);
    m.SetPropertyValue(QStringLiteral("Underlines"), true);
    EXPECT_EQ(m.Flags & (flWordWrap | flUnderlines), flUnderlines);
    EXPECT_FALSE(m.GetPropertyValue(QStringLiteral("WORDWRAP")).toBool());
    EXPECT_EQ(m.GetPropertyValue(QStringLiteral("Lines.Count")).toInt(), 3);
    EXPECT_TRUE(m.GetPropertyValue(QStringLiteral("NoSuchThing")).isNull());

    // Methods: the memo list under MEMO and LINES, HIDE and SHOW.
    m.CallMethod(QStringLiteral("MEMO.ADD"), QStringLiteral("'d'"), {}, {});
    EXPECT_EQ(m.Memo.last(), QStringLiteral("d"));
    EXPECT_EQ(m.CallMethod(QStringLiteral("Lines.IndexOf"), QStringLiteral("'b'"), {}, {}).toInt(),
              1);
    m.CallMethod(QStringLiteral("LINES.DELETE"), QStringLiteral("0"), {}, {});
    EXPECT_EQ(m.Memo.first(), QStringLiteral("b"));
    m.CallMethod(QStringLiteral("SETINDEXPROPERTY"), QStringLiteral("Memo"), 1,
                 QStringLiteral("z"));
    EXPECT_EQ(m.Memo.at(1), QStringLiteral("z"));
    EXPECT_EQ(
        m.CallMethod(QStringLiteral("GETINDEXPROPERTY"), QStringLiteral("MEMO"), 1, {}).toString(),
        QStringLiteral("z"));
    m.CallMethod(QStringLiteral("SETINDEXPROPERTY"), QStringLiteral("MEMO"), 99,
                 QStringLiteral("y"));
    m.CallMethod(QStringLiteral("hide"), {}, {}, {});
    EXPECT_FALSE(m.IsVisible());
    m.CallMethod(QStringLiteral("SHOW"), {}, {}, {});
    EXPECT_TRUE(m.IsVisible());
    m.CallMethod(QStringLiteral("MEMO.CLEAR"), {}, {}, {});
    EXPECT_TRUE(m.Memo.isEmpty());
}

TEST_F(ViewModelTest, PropertyListsFollowTheClassAndBandType)
{
    TfrMemoView m;
    QStringList names;
    for (const TfrPropRec &r : m.PropertyList())
        names << r.Name;
    EXPECT_EQ(names.mid(0, 6), (QStringList{"Name", "Left", "Top", "Width", "Height", "Flags"}));
    EXPECT_TRUE(names.contains(QStringLiteral("FrameStyle")));
    EXPECT_EQ(m.FindProperty(QStringLiteral("framestyle"))->Enum.size(), 6);
    EXPECT_EQ(m.FindProperty(QStringLiteral("Tag"))->PropType, 0x140);
    EXPECT_TRUE(names.contains(QStringLiteral("Underlines")));

    ListPage page;
    FrCountingDesigner designer;
    designer.Page = &page;
    frObjects().frCurrentDesigner = &designer;
    page.add<TfrBandView>(QStringLiteral("Child1"))->SetBandType(btChild);
    page.add<TfrBandView>(QStringLiteral("Data1"))->SetBandType(btMasterData);
    TfrBandView *footer = page.add<TfrBandView>(QStringLiteral("Footer"));
    footer->SetBandType(btPageFooter);
    QStringList fnames;
    for (const TfrPropRec &r : footer->PropertyList())
        fnames << r.Name;
    EXPECT_FALSE(fnames.contains(QStringLiteral("FrameTyp")));
    EXPECT_FALSE(fnames.contains(QStringLiteral("ChildBand")));
    EXPECT_FALSE(fnames.contains(QStringLiteral("PrintChildIfInvisible")));
    EXPECT_TRUE(fnames.contains(QStringLiteral("OnFirstPage")));
    EXPECT_TRUE(fnames.contains(QStringLiteral("OnLastPage")));
    EXPECT_TRUE(fnames.contains(QStringLiteral("OnBeforePrint")));
    EXPECT_FALSE(fnames.contains(QStringLiteral("Memo")));
    EXPECT_EQ(fnames.last(), QStringLiteral("EOF"));

    TfrBandView *group = page.add<TfrBandView>(QStringLiteral("Group"));
    group->SetBandType(btGroupHeader);
    const TfrPropRec *child = group->FindProperty(QStringLiteral("ChildBand"));
    ASSERT_TRUE(child);
    EXPECT_EQ(child->Enum, QStringList{QStringLiteral("Child1")});
    EXPECT_EQ(group->FindProperty(QStringLiteral("Master"))->Enum,
              QStringList{QStringLiteral("Data1")});
    EXPECT_TRUE(group->FindProperty(QStringLiteral("Condition")));
    frObjects().frCurrentDesigner = nullptr;
}

TEST_F(ViewModelTest, DottedNamesFindObjectsAndPages)
{
    ListReport report;
    ListPage &p1 = report.addPage();
    ListPage &p2 = report.addPage();
    TfrMemoView *memo1 = p1.add<TfrMemoView>(QStringLiteral("Memo1"));
    TfrMemoView *memo2 = p2.add<TfrMemoView>(QStringLiteral("Memo2"));
    FrObjectGlobals &g = frObjects();
    g.frCurrentReport = &report;
    g.frCurrentView = memo2;
    TfrObject *obj = nullptr;
    QString prop;
    frFindObjectProperty(QStringLiteral("Page2.Visible"), obj, prop);
    EXPECT_EQ(obj, &p2);
    EXPECT_EQ(prop, QStringLiteral("Visible"));
    frFindObjectProperty(QStringLiteral("memo1.Memo"), obj, prop);
    EXPECT_EQ(obj, memo1);
    EXPECT_EQ(prop, QStringLiteral("Memo"));
    frFindObjectProperty(QStringLiteral("Font.Name"), obj, prop);
    EXPECT_EQ(obj, memo2);
    EXPECT_EQ(prop, QStringLiteral("Font.Name"));
    frFindObjectProperty(QStringLiteral("PAGE9.Visible"), obj, prop);
    EXPECT_EQ(obj, nullptr);
    frFindObjectProperty(QStringLiteral("Nobody.Left"), obj, prop);
    EXPECT_EQ(obj, nullptr);
    frFindObjectProperty(QStringLiteral("Height"), obj, prop);
    EXPECT_EQ(obj, memo2);
}

TEST_F(ViewModelTest, UniqueNamesTakeTheFirstFreeNumber)
{
    ListReport report;
    ListPage &p = report.addPage();
    p.add<TfrMemoView>(QStringLiteral("Memo1"));
    p.add<TfrMemoView>(QStringLiteral("memo2"));
    p.add<TfrMemoView>(QStringLiteral("Memo4"));
    frObjects().frCurrentReport = &report;
    TfrMemoView m;
    m.CreateUniqueName();
    EXPECT_EQ(m.Name, QStringLiteral("Memo3"));
    TfrLineView l;
    l.CreateUniqueName();
    EXPECT_EQ(l.Name, QStringLiteral("Line1"));
}

class DialogCheck : public CheckView
{
public:
    bool IsDialogControl() const override { return true; }
};

TEST_F(ViewModelTest, DialogControlsAlsoAvoidNamesOfTheDialogWindow)
{
    struct DialogPage : ListPage {
        QObject form;
        int PageType() const override { return ptDialog; }
        QObject *DialogForm() const override { return const_cast<QObject *>(&form); }
    } page;
    QObject taken(&page.form);
    taken.setObjectName(QStringLiteral("Check1"));
    ListReport report;
    frObjects().frCurrentReport = &report;
    frObjects().frCurrentPage = &page;
    DialogCheck control;
    control.CreateUniqueName();
    EXPECT_EQ(control.Name, QStringLiteral("Check2"));
    CheckView plain; // not a control: the window's names do not matter
    plain.CreateUniqueName();
    EXPECT_EQ(plain.Name, QStringLiteral("Check1"));
    frObjects().frCurrentPage = nullptr;
}

TEST_F(ViewModelTest, ScaledGeometryWorkedExample)
{
    FrObjectGlobals &g = frObjects();
    g.frDocMode = 1;
    TfrMemoView m;
    m.SetBounds(10, 20, 100, 30);
    m.FrameTyp = 15;
    m.FrameWidth = 3;
    m.ScaleX = 1.5;
    m.ScaleY = 1.5;
    m.OffsX = 5;
    m.OffsY = 7;
    {
        FrGeometryScope scope(m);
        EXPECT_EQ(m.x, 20); // round(15) + 5
        EXPECT_EQ(m.y, 37); // round(30) + 7
        EXPECT_EQ(std::tuple(m.dx, m.dy), std::tuple(150, 45));
        // w = 3: bx = round(1.75) = 2, bx1 = round(2.25) = 2; GapX = round(3) + 2,
        // GapY = round(1.5) + 2 div 2 = 2 + 1.
        EXPECT_EQ(std::tuple(m.GapX, m.GapY), std::tuple(5, 3));
        EXPECT_FLOAT_EQ(m.FrameWidth, 4.5f);
        // right = round(110 x 1.5 + 5) = 170 - 2; bottom = round(50 x 1.5 + 7) = 82 - 2.
        EXPECT_EQ(m.DRect, platform::rectLTRB(22, 39, 169, 81));
    }
    EXPECT_EQ(std::tuple(m.x, m.GapY), std::tuple(10, 1));
    EXPECT_FLOAT_EQ(m.FrameWidth, 3.0f);
    // Designing ignores the scale.
    g.frDocMode = 0;
    FrGeometryScope scope(m);
    EXPECT_EQ(std::tuple(m.x, m.dx), std::tuple(10, 100));
}

TEST_F(ViewModelTest, GeometryIsRestoredWhenDrawingThrows)
{
    TfrMemoView m;
    m.SetBounds(10, 20, 100, 30);
    frObjects().frDocMode = 1;
    m.ScaleX = 2;
    try {
        FrGeometryScope scope(m);
        throw std::runtime_error("boom");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(std::tuple(m.x, m.dx), std::tuple(10, 100));
}

TEST_F(ViewModelTest, ClipRegions)
{
    TfrMemoView m;
    m.SetBounds(10, 10, 20, 10);
    m.FrameTyp = frftRight | frftLeft;
    m.FrameWidth = 3;
    // a = round(1.5) = 2 on the left, b = round(1) = 1 on the right.
    EXPECT_EQ(m.GetClipRegion(false).boundingRect(), platform::rectLTRB(8, 10, 32, 21));
    EXPECT_EQ(m.GetClipRegion(true).boundingRect(), platform::rectLTRB(-2, 0, 42, 31));
    m.FrameStyle = psDouble;
    // a = round(4.5) = 4, b = round(4) = 4.
    EXPECT_EQ(m.GetClipRegion(false).boundingRect(), platform::rectLTRB(6, 10, 35, 21));

    TfrLineView line;
    line.SetBounds(10, 10, 100, 3);
    line.Orient();
    EXPECT_EQ(std::tuple(line.dy, line.FrameTyp), std::tuple(0, frftTop));
    line.FrameWidth = 3;
    // a = trunc(1.5) = 1, b = trunc(1) = 1.
    EXPECT_EQ(line.GetClipRegion(false).boundingRect(), platform::rectLTRB(10, 9, 111, 12));
    TfrLineView square;
    square.SetBounds(0, 0, 3, 3);
    square.Orient();
    EXPECT_EQ(std::tuple(square.dx, square.FrameTyp), std::tuple(0, frftLeft));
}

TEST_F(ViewModelTest, BuildErrorTextNamesReportAndObject)
{
    ListReport report;
    TfrMemoView m;
    m.Name = QStringLiteral("Memo7");
    m.Memo = {QStringLiteral("[A]"), QStringLiteral("b")};
    FrObjectGlobals &g = frObjects();
    g.frCurrentReport = &report;
    g.frCurrentView = &m;
    frNoteBuildError(QStringLiteral("Division par zéro"));
    const QString cr = ch(13);
    EXPECT_EQ(g.frErrorText, QStringLiteral("Une erreur s'est produite durant la préparation") +
                                 cr + "[A]" + cr + "b" + cr + cr + "Etat: frReport1" + cr +
                                 "Object: Memo7" + cr + cr + "Division par zéro");
    EXPECT_TRUE(g.frErrorOccurred);
    EXPECT_TRUE(report.terminated);
}

struct DesignScene {
    ListPage page;
    FrCountingDesigner designer;
    TfrMemoView *memo;
    TfrMemoView *locked;
    TfrBandView *band;
    TfrPictureView *picture;
    DesignScene()
    {
        designer.Page = &page;
        frObjects().frCurrentDesigner = &designer;
        memo = page.add<TfrMemoView>(QStringLiteral("Memo1"));
        locked = page.add<TfrMemoView>(QStringLiteral("Memo2"));
        locked->Restrictions = 8;
        band = page.add<TfrBandView>(QStringLiteral("Band1"));
        band->SetBandType(btMasterData);
        picture = page.add<TfrPictureView>(QStringLiteral("Picture1"));
        for (auto &v : page.objects)
            v->Selected = true;
        page.add<TfrMemoView>(QStringLiteral("Other"))->Flags = 0;
    }
    ~DesignScene() { frObjects().frCurrentDesigner = nullptr; }
};

TEST_F(ViewModelTest, StretchedCommandActsOnEverySelectedViewButLockedOnes)
{
    DesignScene s;
    FrRecordingPopup popup;
    s.memo->AddPopupItems(popup);
    const FrPopupItem *item = popup.find(QStringLiteral("Etiré"));
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->checked);
    ASSERT_TRUE(popup.choose(QStringLiteral("Etiré")));
    EXPECT_EQ(std::tuple(s.designer.beforeChanges, s.designer.afterChanges), std::tuple(1, 1));
    EXPECT_EQ(s.memo->Flags & flStretched, 0);
    EXPECT_EQ(s.picture->Flags & flStretched, 0);
    EXPECT_EQ(s.band->Flags & flStretched, 0);
    EXPECT_NE(s.locked->Flags & flStretched, 0);
    EXPECT_EQ(s.page.objects.back()->Flags, 0); // not selected
}

TEST_F(ViewModelTest, FlagFamiliesActOnTheirOwnClassOnly)
{
    DesignScene s;
    s.picture->Flags &= ~flWordWrap;
    s.band->Flags &= ~flWordWrap;
    s.memo->Flags &= ~flWordWrap;
    FrRecordingPopup memoPopup;
    s.memo->AddPopupItems(memoPopup);
    EXPECT_EQ(memoPopup.texts(),
              (QStringList{"Format de variable...", "Police...", "Effacer le contenu", "-", "Etiré",
                           "Mots entier", "Cesure de mots (russe seulement!)", "Taille auto",
                           "Texte seulement", "Suppression des valeurs répétitives",
                           "Cacher les valeurs à zéro", "Soulignement"}));
    EXPECT_FALSE(memoPopup.find(QStringLiteral("Cesure de mots (russe seulement!)"))->enabled);
    memoPopup.choose(QStringLiteral("Mots entier"));
    EXPECT_NE(s.memo->Flags & flWordWrap, 0);
    EXPECT_EQ(s.band->Flags & flWordWrap, 0);
    EXPECT_EQ(s.picture->Flags & flWordWrap, 0);
    EXPECT_EQ(s.locked->Flags & flWordWrap, flWordWrap); // locked: kept as built

    FrRecordingPopup bandPopup;
    s.band->AddPopupItems(bandPopup);
    const quint16 memoFlags = s.memo->Flags;
    bandPopup.choose(QStringLiteral("Forcer nouvelle page"));
    EXPECT_NE(s.band->Flags & flBandNewPageAfter, 0);
    EXPECT_EQ(s.memo->Flags, memoFlags);
    EXPECT_EQ(s.picture->Flags & flBandNewPageAfter, 0);

    FrRecordingPopup picturePopup;
    s.picture->AddPopupItems(picturePopup);
    picturePopup.choose(QStringLiteral("Centrer l'image"));
    EXPECT_NE(s.picture->Flags & flPictCenter, 0);
    EXPECT_EQ(s.memo->Flags, memoFlags);

    s.memo->Memo = {QStringLiteral("x")};
    s.band->Memo = {QStringLiteral("y")};
    s.memo->Restrictions = 4;
    memoPopup.choose(QStringLiteral("Effacer le contenu"));
    EXPECT_EQ(s.memo->Memo, QStringList{QStringLiteral("x")});
    EXPECT_TRUE(s.band->Memo.isEmpty());
}

TEST_F(ViewModelTest, BandPopupsByType)
{
    TfrBandView footer;
    footer.SetBandType(btPageFooter);
    FrRecordingPopup p;
    footer.AddPopupItems(p);
    EXPECT_EQ(p.texts(), (QStringList{"-", "Sur la première page", "Sur la dernière page"}));
    TfrBandView data;
    data.SetBandType(btMasterData);
    FrRecordingPopup q;
    data.AddPopupItems(q);
    EXPECT_EQ(q.texts(),
              (QStringList{"-", "Etiré", "Forcer nouvelle page", "Imprimer si le détail est vide",
                           "Coupure auto", "Imprime les enfants si invisible"}));
    // Options of the second family touch this band only.
    FrCountingDesigner designer;
    frObjects().frCurrentDesigner = &designer;
    footer.Flags = 0;
    FrRecordingPopup r;
    footer.AddPopupItems(r);
    r.choose(QStringLiteral("Sur la dernière page"));
    EXPECT_EQ(footer.Flags, flBandOnLastPage);
    EXPECT_EQ(std::tuple(designer.beforeChanges, designer.afterChanges), std::tuple(1, 1));
    frObjects().frCurrentDesigner = nullptr;
}

TEST_F(ViewModelTest, BandPropertiesActOnTheRunTimeBandWhilePrinting)
{
    ListPage page;
    TfrBandView *view = page.add<TfrBandView>(QStringLiteral("Band1"), 0, 100, 700, 40);
    view->SetBandType(btMasterData);
    TfrBandView *childView = page.add<TfrBandView>(QStringLiteral("Child1"), 0, 200, 700, 20);
    childView->SetBandType(btChild);
    // Designing: the view itself, and no record source.
    view->SetPropertyValue(QStringLiteral("DataSource"), QStringLiteral("5"));
    view->SetPropertyValue(QStringLiteral("Top"), 120);
    EXPECT_EQ(view->y, 120);
    EXPECT_TRUE(view->CallMethod(QStringLiteral("NEXT"), {}, {}, {}).isNull());

    FrObjectGlobals &g = frObjects();
    g.frDocMode = 1;
    g.frCurrentPage = &page;
    TfrBand band(view, &page);
    TfrBand child(childView, &page);
    view->SetPropertyValue(QStringLiteral("Height"), 55);
    EXPECT_EQ(band.dy, 55);
    EXPECT_EQ(view->GetPropertyValue(QStringLiteral("HEIGHT")).toInt(), 55);
    view->SetPropertyValue(QStringLiteral("Visible"), false);
    EXPECT_FALSE(band.Visible);
    view->SetPropertyValue(QStringLiteral("ChildBand"), QStringLiteral("child1"));
    EXPECT_EQ(band.Child, &child);
    view->SetPropertyValue(QStringLiteral("ChildBand"), QStringLiteral("nothing"));
    EXPECT_EQ(band.Child, nullptr);
    EXPECT_TRUE(view->GetPropertyValue(QStringLiteral("EOF")).toBool());
    view->SetPropertyValue(QStringLiteral("DataSource"), QStringLiteral("3"));
    ASSERT_TRUE(band.DataSet());
    EXPECT_TRUE(band.OwnsDataSet());
    band.DataSet()->First();
    EXPECT_FALSE(view->GetPropertyValue(QStringLiteral("EOF")).toBool());
    view->CallMethod(QStringLiteral("Next"), {}, {}, {});
    view->CallMethod(QStringLiteral("NEXT"), {}, {}, {});
    view->CallMethod(QStringLiteral("NEXT"), {}, {}, {});
    EXPECT_TRUE(view->GetPropertyValue(QStringLiteral("EOF")).toBool());
    g.frCurrentPage = nullptr;
}

TEST_F(ViewModelTest, BandAlignmentAgainstMarginsAndBands)
{
    ListPage page;
    FrCountingDesigner designer;
    designer.Page = &page;
    FrObjectGlobals &g = frObjects();
    g.frCurrentDesigner = &designer;
    TfrBandView *band = page.add<TfrBandView>(QStringLiteral("Band1"), 0, 100, 758, 50);
    band->SetBandType(btMasterData);
    TfrMemoView *m = page.add<TfrMemoView>(QStringLiteral("Memo1"), 300, 110, 100, 20);
    platform::RecordingCanvas canvas(measurer);
    const struct {
        quint8 align;
        int x, y, dx;
    } cases[] = {{baLeft, 18, 110, 100},  {baRight, 640, 110, 100}, {baCenter, 329, 110, 100},
                 {baWidth, 18, 110, 722}, {baBottom, 18, 130, 722}, {baTop, 18, 100, 722}};
    for (const auto &c : cases) {
        m->BandAlign = c.align;
        m->PrepareCanvas(canvas);
        EXPECT_EQ(m->x, c.x) << int(c.align);
        EXPECT_EQ(m->y, c.y) << int(c.align);
        EXPECT_EQ(m->dx, c.dx) << int(c.align);
    }
    EXPECT_EQ(g.frCurrentView, m);
    g.frCurrentDesigner = nullptr;
}

} // namespace
} // namespace report::test
