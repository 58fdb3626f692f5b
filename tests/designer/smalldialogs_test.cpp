// The designer's small dialogs and its DB fields window: the rules behind
// them, each dialog driven as the user would, hostile picture and template
// files, and the window's slots on a real designer.
#include "tests/designer/designer_fixture.h"
#include "tests/report/gui/io_support.h"

#include "designer/core/designerglobals.h"
#include "designer/core/dialogrules.h"
#include "designer/core/editorfonts.h"
#include "designer/ui/designerform.h"
#include "designer/ui/designerregistration.h"
#include "designer/ui/dialogparts.h"
#include "designer/ui/fieldmime.h"
#include "designer/ui/insfieldsform.h"
#include "designer/ui/smalldialogs.h"

#include "platform/registry/registry.h"
#include "report/core/frlocale.h"
#include "report/data/frdb.h"
#include "report/data/frdictionary.h"
#include "tests/support/gui/shots.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <functional>

namespace designer::test
{
namespace
{

using namespace report;

// Runs body on the modal dialog that the next exec() shows.
void onModal(const std::function<void(QDialog &)> &body)
{
    QTimer::singleShot(0, [body] {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!d) {
            ADD_FAILURE() << "no modal dialog";
            return;
        }
        body(*d);
        if (d->isVisible())
            d->reject();
    });
}

void shot(QWidget &w, const char *name)
{
    vorn_test::saveShot(&w, QString::fromLatin1(name));
}

QByteArray bmpBytes(const QImage &image)
{
    FrPicture p;
    p.setImage(image);
    return p.bytes();
}

QImage filled(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray icoBytes()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    filled(16, 16, qRgb(10, 20, 30)).save(&buffer, "ICO");
    return bytes;
}

// A bitmap header declaring a size far beyond what any reader allocates.
QByteArray hugeBmp()
{
    QByteArray b(54 + 64, '\0');
    auto put32 = [&b](int off, quint32 v) { qToLittleEndian(v, b.data() + off); };
    auto put16 = [&b](int off, quint16 v) { qToLittleEndian(v, b.data() + off); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, quint32(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, 60000);
    put32(22, 60000);
    put16(26, 1);
    put16(28, 24);
    return b;
}

// A placeable metafile header (2 x 1 inches) and an end record.
QByteArray placeableWmf()
{
    QByteArray b(22 + 24, '\0');
    const unsigned char magic[4] = {0xD7, 0xCD, 0xC6, 0x9A};
    for (int i = 0; i < 4; ++i)
        b[i] = char(magic[i]);
    qToLittleEndian<qint16>(2880, b.data() + 10);
    qToLittleEndian<qint16>(1440, b.data() + 12);
    qToLittleEndian<quint16>(1440, b.data() + 14);
    b[22] = 1;
    b[24] = 9;
    return b;
}

// --- rules

TEST(DialogRulesTest, PictureIsCentredWhenItFitsAndStretchedOtherwise)
{
    const struct {
        QSize box, picture;
        QRect expected;
    } cases[] = {
        {{100, 100}, {10, 10}, {45, 45, 10, 10}},   {{100, 100}, {11, 11}, {44, 44, 11, 11}},
        {{100, 100}, {100, 100}, {0, 0, 100, 100}}, {{100, 100}, {200, 50}, {0, 0, 100, 100}},
        {{100, 100}, {50, 101}, {0, 0, 100, 100}},  {{100, 60}, {0, 0}, {0, 0, 100, 60}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(picturePreviewRect(c.box, c.picture), c.expected) << c.picture.width();
}

TEST(DialogRulesTest, OptionRowsMapBothWays)
{
    const int grid[][2] = {{4, 0}, {8, 1}, {18, 2}};
    for (const auto &g : grid) {
        EXPECT_EQ(gridSizeRow(g[0]), g[1]);
        EXPECT_EQ(gridSizeOfRow(g[1]), g[0]);
    }
    const int position[][2] = {{5, 0}, {3, 1}, {4, 2}};
    for (const auto &p : position) {
        EXPECT_EQ(pagePositionRow(p[0]), p[1]);
        EXPECT_EQ(pagePositionOfRow(p[1]), p[0]);
    }
    EXPECT_EQ(gridSizeRow(7), 0);
    EXPECT_EQ(pagePositionRow(0), 0);
}

TEST(DialogRulesTest, RestrictionBoxesTouchOnlyTheirSevenBits)
{
    const RestrictionBoxes some{true, false, true, false, false, true, true};
    EXPECT_EQ(restrictionBoxes(1 | 4 | 32 | 64), some);
    EXPECT_EQ(withRestrictionBoxes(0, some), 1 | 4 | 32 | 64);
    // Bits above the seven stay as they were; cleared boxes clear their bit.
    EXPECT_EQ(withRestrictionBoxes(0x8000 | 2 | 8, some), 0x8000 | 1 | 4 | 32 | 64);
    EXPECT_EQ(withRestrictionBoxes(0x7F, RestrictionBoxes{}), 0);
}

TEST(DialogRulesTest, DraggedEntryText)
{
    EXPECT_EQ(dbFieldText(QStringLiteral("Clients"), QStringLiteral("Nom"), false),
              QStringLiteral("Clients.\"Nom\""));
    EXPECT_EQ(dbFieldText(QStringLiteral("Clients"), QStringLiteral("Total HT"), true),
              QStringLiteral("Total HT"));
}

// --- the dialogs on a core

class SmallDialogsTest : public DesignerFixture
{
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        platform::TRegistry::setFileName(dir.filePath(QStringLiteral("registry.ini")));
        frObjects().frTemplateDir = dir.filePath(QStringLiteral("modeles"));
        QDir().mkpath(frObjects().frTemplateDir);
        installSmallDialogs(*core, nullptr);
        // Data sets are found on the registered forms.
        owner.setObjectName(QStringLiteral("Form1"));
        fr().registerForm(&owner);
    }
    void TearDown() override
    {
        fr().unregisterComponent(&owner);
        DesignerFixture::TearDown();
        platform::TRegistry::setFileName(QString());
    }
    TfrPictureView *picture(const QString &name)
    {
        auto v = std::make_unique<TfrPictureView>();
        v->ID = frObjects().frNextObjectID++;
        v->Name = name;
        v->SetBounds(10, 10, 50, 50);
        return static_cast<TfrPictureView *>(page->Add(std::move(v)));
    }
    QString file(const QString &name) const { return dir.filePath(name); }
    FrMemoryDataSet *dataSet(const QString &name, const QStringList &fields)
    {
        auto *ds = new FrMemoryDataSet(&owner);
        ds->setObjectName(name);
        for (const QString &f : fields)
            ds->addField(f, ftString);
        return ds;
    }
    QTemporaryDir dir;
};

TEST_F(SmallDialogsTest, PictureEditorLoadsKeepsBytesAndSavesWithTheTemplate)
{
    TfrPictureView *pv = picture(QStringLiteral("Image1"));
    const QByteArray bmp = bmpBytes(filled(12, 8, qRgb(200, 0, 0)));
    writeFile(file(QStringLiteral("logo.bmp")), bmp);
    fakes->dialogs.files.push_back(file(QStringLiteral("logo.bmp")));
    onModal([&](QDialog &d) {
        auto &f = static_cast<TfrGEditorForm &>(d);
        f.Button3->click();
        EXPECT_EQ(f.Image1.bytes(), bmp);
        EXPECT_TRUE(pv->Picture.isEmpty()) << "only the working copy changes before OK";
        f.Button1->click();
    });
    core->state.Requests.pictureEditor(pv);
    ASSERT_EQ(fakes->dialogs.openRequests.size(), 1u);
    EXPECT_EQ(fakes->dialogs.openRequests[0].filter,
              QStringLiteral("Fichier image (*.bmp *.ico *.wmf *.emf)|*.bmp;*.ico;*.wmf;*.emf|"
                             "Tous les fichiers|*.*"));
    EXPECT_EQ(designerWindow->beforeChanges, 1);
    EXPECT_EQ(pv->Picture.bytes(), bmp);

    // Written with the report and read back, the bitmap is the file's.
    ASSERT_TRUE(rep->SaveToFile(file(QStringLiteral("etat.frf"))));
    QObject owner2;
    TfrReport again(&owner2);
    ASSERT_TRUE(again.LoadFromFile(file(QStringLiteral("etat.frf"))));
    auto *loaded = dynamic_cast<TfrPictureView *>(again.FindObject(QStringLiteral("Image1")));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Picture.bytes(), bmp);
    frSetCurrentReport(rep.get(), rep.get(), &owner);
}

TEST_F(SmallDialogsTest, PictureEditorCancelChangesNothing)
{
    TfrPictureView *pv = picture(QStringLiteral("Image1"));
    pv->Picture.setImage(filled(4, 4, qRgb(0, 0, 255)));
    const QByteArray before = pv->Picture.bytes();
    onModal([](QDialog &d) {
        static_cast<TfrGEditorForm &>(d).Button4->click();
        static_cast<TfrGEditorForm &>(d).Button2->click();
    });
    core->state.Requests.pictureEditor(pv);
    EXPECT_EQ(pv->Picture.bytes(), before);
    EXPECT_EQ(designerWindow->beforeChanges, 0);
}

TEST_F(SmallDialogsTest, HostilePictureFilesLeaveTheWorkingCopyAndSayWhy)
{
    const QByteArray good = bmpBytes(filled(40, 30, qRgb(0, 128, 0)));
    QByteArray random(300, '\0');
    for (int i = 0; i < random.size(); ++i)
        random[i] = char((i * 73 + 19) % 251);
    const struct {
        const char *name;
        QByteArray bytes;
        bool folder = false; // a folder of that name: it cannot be read, and says so
    } cases[] = {
        {"moitie.bmp", good.left(good.size() / 2)},
        {"enorme.bmp", hugeBmp()},
        {"hasard.ico", random},
        {"vide.bmp", QByteArray()},
        {"coupe.ico", icoBytes().left(icoBytes().size() / 2)},
        {"dossier.bmp", QByteArray(), true},
    };
    TfrGEditorForm form;
    form.Image1.setImage(filled(5, 5, qRgb(1, 2, 3)));
    const QByteArray kept = form.Image1.bytes();
    for (const auto &c : cases) {
        if (c.folder)
            ASSERT_TRUE(QDir().mkpath(file(QLatin1String(c.name))));
        else
            writeFile(file(QLatin1String(c.name)), c.bytes);
        fakes->dialogs.files.push_back(file(QLatin1String(c.name)));
        const size_t shown = fakes->dialogs.messages.size();
        form.loadPicture();
        ASSERT_EQ(fakes->dialogs.messages.size(), shown + 1) << c.name;
        EXPECT_EQ(fakes->dialogs.messages.back().text,
                  c.folder ? QStringLiteral("Impossible d'ouvrir le fichier ") +
                                 file(QLatin1String(c.name)) + QStringLiteral(" : c'est un dossier")
                           : QStringLiteral("Format d'image non reconnu."));
        EXPECT_EQ(fakes->dialogs.messages.back().caption, QStringLiteral("Erreur"));
        EXPECT_EQ(form.Image1.bytes(), kept) << c.name;
    }
}

TEST_F(SmallDialogsTest, PictureEditorPreviewMetafileClearAndPaste)
{
    TfrGEditorForm form;
    form.PB1->setFixedSize(100, 100);
    auto pixelAt = [&](int x, int y) { return form.PB1->grab().toImage().pixel(x, y); };
    const QRgb base = form.PB1->palette().color(QPalette::Base).rgb();

    form.Image1.setImage(filled(10, 10, qRgb(255, 0, 0)));
    EXPECT_EQ(pixelAt(45, 45), qRgb(255, 0, 0));
    EXPECT_EQ(pixelAt(54, 54), qRgb(255, 0, 0));
    EXPECT_EQ(pixelAt(44, 44), base);
    EXPECT_EQ(pixelAt(55, 55), base);
    form.Image1.setImage(filled(200, 50, qRgb(0, 0, 255)));
    EXPECT_EQ(pixelAt(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(pixelAt(98, 98), qRgb(0, 0, 255));

    // A metafile keeps its bytes and draws its placeholder.
    const QByteArray wmf = placeableWmf();
    writeFile(file(QStringLiteral("dessin.wmf")), wmf);
    fakes->dialogs.files.push_back(file(QStringLiteral("dessin.wmf")));
    form.loadPicture();
    EXPECT_TRUE(fakes->dialogs.messages.empty());
    EXPECT_EQ(form.Image1.kind(), FrPicture::Metafile);
    EXPECT_EQ(form.Image1.bytes(), wmf);
    const QImage drawn = form.PB1->grab().toImage();
    int marked = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            marked += drawn.pixel(x, y) != base;
    EXPECT_GT(marked, 50) << "the placeholder is drawn";

    form.Button4->click();
    EXPECT_TRUE(form.Image1.isEmpty());
    EXPECT_EQ(pixelAt(50, 50), base);

    QGuiApplication::clipboard()->setImage(filled(6, 6, qRgb(0, 200, 0)));
    QTest::keyClick(form.Button3, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.Image1.size(), QSize(6, 6));
    form.Button4->click();
    QTest::keyClick(form.Button3, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(form.Image1.size(), QSize(6, 6));
}

TEST_F(SmallDialogsTest, TemplatesAreListedShownAndChosen)
{
    const QString folder = templateFolder();
    EXPECT_TRUE(folder.endsWith(QLatin1String("modeles/")));
    {
        TfrTemplForm empty(rep.get());
        empty.show();
        EXPECT_EQ(empty.LB1->count(), 0);
        EXPECT_FALSE(empty.Button1->isEnabled());
    }

    // Save as template: description and bitmap from the dialog.
    writeFile(file(QStringLiteral("icone.bmp")), bmpBytes(filled(32, 24, qRgb(0, 90, 200))));
    fakes->dialogs.files.push_back(file(QStringLiteral("icone.bmp")));
    std::optional<NewTemplateChoice> made;
    onModal([](QDialog &d) {
        auto &f = static_cast<TfrTemplNewForm &>(d);
        EXPECT_TRUE(f.Memo1->toPlainText().isEmpty());
        QTest::keyClicks(f.Memo1, QStringLiteral("Enveloppes C5"));
        QTest::keyClick(f.Memo1, Qt::Key_Return);
        f.Memo1->insertPlainText(QStringLiteral("fenêtre à gauche"));
        f.Button3->click();
        f.Button1->click();
    });
    made = core->state.Requests.newTemplate();
    ASSERT_TRUE(made);
    EXPECT_EQ(fakes->dialogs.openRequests.back().filter,
              QStringLiteral("Fichier Bitmap (*.bmp)|*.bmp"));
    EXPECT_EQ(made->description,
              (QStringList{QStringLiteral("Enveloppes C5"), QStringLiteral("fenêtre à gauche")}));
    EXPECT_EQ(made->picture.size(), QSize(32, 24));
    memo(QStringLiteral("Memo1"), 10, 10, 80, 20);
    ASSERT_TRUE(rep->SaveTemplate(folder + QStringLiteral("Enveloppe.frt"), made->description,
                                  made->picture));
    ASSERT_TRUE(rep->SaveTemplate(folder + QStringLiteral("MODELE.FRT"), {}, QImage()));
    writeFile(folder + QStringLiteral("notes.txt"), "x");
    QDir().mkpath(folder + QStringLiteral("dossier.frt"));

    const int objects = page->ObjectCount();
    onModal([&](QDialog &d) {
        auto &f = static_cast<TfrTemplForm &>(d);
        ASSERT_EQ(f.LB1->count(), 2);
        EXPECT_EQ(f.LB1->item(0)->text(), QStringLiteral("Enveloppe"));
        EXPECT_EQ(f.LB1->item(1)->text(), QStringLiteral("MODELE"));
        f.LB1->item(0)->setSelected(true);
        EXPECT_TRUE(f.Button1->isEnabled());
        EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral("Enveloppes C5\nfenêtre à gauche"));
        EXPECT_EQ(f.Image1->image().size(), QSize(32, 24));
        EXPECT_EQ(page->ObjectCount(), objects) << "the report itself is not loaded";
        f.resize(560, 340);
        QApplication::processEvents();
        shot(f, "templates.png");
        // As the window system sends it: a click, then the double click in
        // place of the second press.
        const QPoint at = f.LB1->visualItemRect(f.LB1->item(0)).center();
        QTest::mouseClick(f.LB1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(f.LB1->viewport(), Qt::LeftButton, {}, at);
    });
    EXPECT_EQ(core->state.Requests.templates(), folder + QStringLiteral("Enveloppe.frt"));

    // The upper-case file is chosen under its own name.
    onModal([](QDialog &d) {
        auto &f = static_cast<TfrTemplForm &>(d);
        f.LB1->item(1)->setSelected(true);
        f.Button1->click();
    });
    EXPECT_EQ(core->state.Requests.templates(), folder + QStringLiteral("MODELE.FRT"));
}

TEST_F(SmallDialogsTest, DamagedTemplateShowsWhatCanBeReadAndStaysUntouched)
{
    const QString folder = templateFolder();
    const QStringList description{QStringLiteral("Une description assez longue"),
                                  QStringLiteral("sur deux lignes")};
    ASSERT_TRUE(rep->SaveTemplate(folder + QStringLiteral("entier.frt"), description,
                                  filled(16, 16, qRgb(9, 9, 9))));
    const QByteArray whole = report::test::readFileBytes(folder + QStringLiteral("entier.frt"));
    const QByteArray cut = whole.left(12);
    writeFile(folder + QStringLiteral("coupe.frt"), cut);
    // Its body cut short: the header still reads whole.
    const QByteArray noBody = whole.left(whole.size() - 40);
    writeFile(folder + QStringLiteral("corps.frt"), noBody);
    TfrTemplForm form(rep.get());
    form.show();
    ASSERT_EQ(form.LB1->count(), 3);
    form.LB1->item(1)->setSelected(true); // "coupe"
    EXPECT_TRUE(form.Button1->isEnabled());
    EXPECT_TRUE(form.Image1->image().isNull());
    for (int row : {0, 2}) { // "corps", "entier"
        form.LB1->item(row)->setSelected(true);
        EXPECT_EQ(form.Memo1->toPlainText(), description.join(QLatin1Char('\n'))) << row;
        EXPECT_EQ(form.Image1->image().size(), QSize(16, 16)) << row;
    }
    EXPECT_EQ(report::test::readFileBytes(folder + QStringLiteral("coupe.frt")), cut);
    EXPECT_EQ(report::test::readFileBytes(folder + QStringLiteral("corps.frt")), noBody);
}

TEST_F(SmallDialogsTest, DesignerOptionsMapEveryChoice)
{
    DesignerOptionsChoice a;
    a.showGrid = false;
    a.gridSize = 8;
    a.units = 1;
    a.pagePosition = 3;
    a.bandTitles = false;
    a.localizedNames = true;
    DesignerOptionsChoice b;
    b.alignToGrid = false;
    b.gridSize = 18;
    b.units = 2;
    b.pagePosition = 4;
    b.showContents = false;
    b.coloredButtons = false;
    b.editAfterInsert = false;
    const struct {
        DesignerOptionsChoice choice;
        const char *grid, *units, *position;
    } cases[] = {
        {DesignerOptionsChoice(), "RB1", "RB6", "RB9"},
        {a, "RB2", "RB7", "RB10"},
        {b, "RB3", "RB8", "RB11"},
    };
    const auto fields = [](const DesignerOptionsChoice &c) {
        return std::tuple(c.gridSize, c.units, c.pagePosition, c.showGrid, c.alignToGrid,
                          c.showContents, c.coloredButtons, c.editAfterInsert, c.bandTitles,
                          c.localizedNames);
    };
    for (const auto &c : cases) {
        TfrDesOptionsForm form;
        form.setChoice(c.choice);
        for (const char *name : {c.grid, c.units, c.position})
            EXPECT_TRUE(form.findChild<QRadioButton *>(QLatin1String(name))->isChecked()) << name;
        EXPECT_EQ(fields(form.choice()), fields(c.choice));
    }
    // The long label toggles its box.
    TfrDesOptionsForm form;
    const bool was = form.CB6->isChecked();
    QTest::mouseClick(form.Label1, Qt::LeftButton);
    EXPECT_NE(form.CB6->isChecked(), was);
}

TEST_F(SmallDialogsTest, EditorFontsRoundTripAndGreyWithTheObjectsFonts)
{
    std::optional<DesignerOptionsChoice> answer;
    onModal([](QDialog &d) {
        auto &f = static_cast<TfrDesOptionsForm &>(d);
        EXPECT_TRUE(f.ERB1->isChecked());
        EXPECT_FALSE(f.TextFontNameCB->isEnabled());
        EXPECT_FALSE(f.TextFontSizeCB->isEnabled());
        EXPECT_FALSE(f.Label2->isEnabled());
        EXPECT_EQ(f.TextFontSizeCB->currentText(), QStringLiteral("10"));
        f.resize(f.sizeHint());
        f.PageControl1->setCurrentIndex(0);
        QApplication::processEvents();
        shot(f, "options_1.png");
        f.PageControl1->setCurrentIndex(1);
        f.ERB2->setChecked(true);
        EXPECT_TRUE(f.TextFontNameCB->isEnabled());
        EXPECT_TRUE(f.Label3->isEnabled());
        f.TextFontNameCB->setCurrentText(QStringLiteral("Courier New"));
        f.TextFontSizeCB->setCurrentText(QStringLiteral("14"));
        f.ScriptFontSizeCB->setCurrentText(QStringLiteral("12"));
        EXPECT_EQ(f.SampleTextPanel->font().pointSize(), 14);
        EXPECT_EQ(f.SampleTextPanel->text(), QStringLiteral("AaBbÀàßÿ"));
        QApplication::processEvents();
        shot(f, "options_2.png");
        f.Button1->click();
    });
    DesignerOptionsChoice start;
    start.gridSize = 18;
    answer = core->state.Requests.designerOptions(start);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->gridSize, 18);
    const EditorFonts fonts = readEditorFonts();
    EXPECT_FALSE(fonts.useDefault);
    EXPECT_EQ(std::tuple(fonts.textName, fonts.textSize, fonts.scriptSize),
              std::tuple(QStringLiteral("Courier New"), 14, 12));
    platform::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\") + designerRegistryKey(), false));
    EXPECT_EQ(reg.ReadString(QStringLiteral("TextFontSize")), QStringLiteral("14"));

    TfrDesOptionsForm again;
    EXPECT_TRUE(again.ERB2->isChecked());
    EXPECT_EQ(again.TextFontSizeCB->currentText(), QStringLiteral("14"));
    EXPECT_EQ(again.ScriptFontSizeCB->currentText(), QStringLiteral("12"));
}

TEST_F(SmallDialogsTest, DamagedFontSizesShowTheDefaultAndCancelKeepsThem)
{
    for (const char *bad : {"abc", "0", "99999"}) {
        {
            platform::TRegistry reg;
            ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\") + designerRegistryKey(), true));
            reg.WriteString(QStringLiteral("TextFontSize"), QLatin1String(bad));
        }
        onModal([bad](QDialog &d) {
            auto &f = static_cast<TfrDesOptionsForm &>(d);
            EXPECT_EQ(f.TextFontSizeCB->currentText(), QStringLiteral("10")) << bad;
            f.Button2->click();
        });
        EXPECT_FALSE(core->state.Requests.designerOptions(DesignerOptionsChoice()));
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\") + designerRegistryKey(), false));
        EXPECT_EQ(reg.ReadString(QStringLiteral("TextFontSize")), QLatin1String(bad));
    }
}

TEST_F(SmallDialogsTest, InsertFieldsListsDataSetsAndReturnsTheChosenFields)
{
    FrMemoryDataSet *clients =
        dataSet(QStringLiteral("Clients"),
                {QStringLiteral("Nom"), QStringLiteral("Ville"), QStringLiteral("Code")});
    dataSet(QStringLiteral("Articles"), {QStringLiteral("Libelle")});
    onModal([](QDialog &d) {
        auto &f = static_cast<TfrInsertFieldsForm &>(d);
        ASSERT_EQ(f.DatasetCB->count(), 2);
        EXPECT_EQ(f.DatasetCB->itemText(0), QStringLiteral("Articles"));
        EXPECT_EQ(f.DatasetCB->currentIndex(), 0);
        EXPECT_EQ(f.FieldsL->count(), 1);
        EXPECT_TRUE(f.HorzRB->isChecked());
        EXPECT_TRUE(f.HeaderCB->isChecked());
        EXPECT_FALSE(f.BandCB->isChecked());
        f.DatasetCB->setCurrentIndex(1);
        ASSERT_EQ(f.FieldsL->count(), 3);
        f.FieldsL->item(2)->setSelected(true);
        f.FieldsL->item(0)->setSelected(true);
        f.VertRB->setChecked(true);
        f.BandCB->setChecked(true);
        f.Button1->click();
    });
    const std::optional<InsertFieldsChoice> c = core->state.Requests.insertFields();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->dataSet, clients);
    EXPECT_EQ(c->dataSetName, QStringLiteral("Clients"));
    QStringList expected{QStringLiteral("Nom"), QStringLiteral("Ville"), QStringLiteral("Code")};
    // Fields come in list order, whatever the order they were picked in.
    QStringList listed;
    rep->Dictionary().GetFieldList(QStringLiteral("Clients"), listed);
    EXPECT_EQ(c->fields, (QStringList{listed[0], listed[2]}));
    EXPECT_FALSE(c->horizontal);
    EXPECT_TRUE(c->headers);
    EXPECT_TRUE(c->bands);
}

TEST_F(SmallDialogsTest, RestrictionsFillFromTheTopObjectAndWriteAllSelected)
{
    TfrMemoView *a = memo(QStringLiteral("Memo1"), 10, 10, 50, 20);
    TfrMemoView *b = memo(QStringLiteral("Memo2"), 10, 40, 50, 20);
    TfrMemoView *c = memo(QStringLiteral("Memo3"), 10, 70, 50, 20);
    a->Restrictions = 0x100 | 1;
    b->Restrictions = 8 | 64;
    c->Restrictions = 2;
    select({a, b});
    onModal([](QDialog &d) {
        auto &f = static_cast<TfrRestrictionsForm &>(d);
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Restrictions sur les objects"));
        // Memo2 lies above Memo1: its bits are shown.
        EXPECT_EQ(f.boxes(), restrictionBoxes(8 | 64));
        f.findChild<QCheckBox *>(QStringLiteral("Cb3"))->setChecked(true);
        f.findChild<QCheckBox *>(QStringLiteral("CB7"))->setChecked(false);
        f.Button1->click();
    });
    core->state.Requests.restrictionsEditor(a);
    EXPECT_EQ(a->Restrictions, 0x100 | 4 | 8);
    EXPECT_EQ(b->Restrictions, 4 | 8);
    EXPECT_EQ(c->Restrictions, 2);
    EXPECT_EQ(core->undo.count(UndoManager::UndoBuffer), 1);
    core->Undo();
    TfrView *a2 = page->FindObject(QStringLiteral("Memo1"));
    TfrView *b2 = page->FindObject(QStringLiteral("Memo2"));
    ASSERT_TRUE(a2 && b2);
    EXPECT_EQ(a2->Restrictions, 0x100 | 1);
    EXPECT_EQ(b2->Restrictions, 8 | 64);

    // Cancel writes nothing.
    onModal([](QDialog &d) { static_cast<TfrRestrictionsForm &>(d).Button2->click(); });
    core->state.Requests.restrictionsEditor(c);
    EXPECT_EQ(c->Restrictions, 2);
}

TEST_F(SmallDialogsTest, AboutBoxShowsItsVersion)
{
    onModal([](QDialog &d) {
        auto &f = static_cast<TfrAboutForm &>(d);
        EXPECT_EQ(f.windowTitle(), QStringLiteral("A propos de VornReport"));
        EXPECT_EQ(f.Label1->text(), QStringLiteral("Version 2.42"));
        // The picture's transparent colour lets the background through.
        const QImage drawn = f.PaintBox1->grab().toImage();
        EXPECT_NE(drawn.pixel(1, 1), qRgb(128, 128, 0));
        EXPECT_NE(drawn.pixel(40, 40), drawn.pixel(1, 1));
        f.Button1->click();
    });
    core->state.Requests.about();
}

// --- the DB fields window

class FieldsWindowTest : public SmallDialogsTest
{
protected:
    void SetUp() override
    {
        SmallDialogsTest::SetUp();
        dataSet(QStringLiteral("Clients"), {QStringLiteral("Nom"), QStringLiteral("Ville")});
        dataSet(QStringLiteral("Factures"), {QStringLiteral("Numero"), QStringLiteral("Montant")});
    }
    // The visible DB fields window, if any.
    static TfrInsFieldsForm *form()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *f = qobject_cast<TfrInsFieldsForm *>(w); f && f->isVisible())
                return f;
        return nullptr;
    }
};

TEST_F(FieldsWindowTest, ReopensOnTheLastDataSetAndGivesTheDraggedText)
{
    RequestSlots &req = core->state.Requests;
    EXPECT_FALSE(req.dbFieldsVisible());
    req.dbFieldsShow();
    TfrInsFieldsForm *f = form();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(req.dbFieldsVisible());
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Insérer un champ de données"));
    ASSERT_EQ(f->DatasetsLB->count(), 2);
    EXPECT_EQ(f->DatasetsLB->currentItem()->text(), QStringLiteral("Clients"));
    f->DatasetsLB->setCurrentRow(1);
    ASSERT_EQ(f->FieldsLB->count(), 2);
    f->FieldsLB->setCurrentRow(1);
    req.dbFieldsHide();
    QApplication::processEvents();
    EXPECT_FALSE(req.dbFieldsVisible());
    EXPECT_EQ(designerGlobals().lastFieldsDataSet, QStringLiteral("Factures"));

    req.dbFieldsShow();
    f = form();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->DatasetsLB->currentItem()->text(), QStringLiteral("Factures"));
    f->FieldsLB->setCurrentRow(1);
    f->FieldsLBStartDrag();
    EXPECT_EQ(req.dbFieldsChosen(),
              QStringLiteral("Factures.\"") + f->FieldsLB->item(1)->text() + QStringLiteral("\""));

    // A data set that went away: the first one is shown.
    designerGlobals().lastFieldsDataSet = QStringLiteral("Disparu");
    req.dbFieldsRefresh();
    EXPECT_EQ(f->DatasetsLB->currentItem()->text(), QStringLiteral("Factures"))
        << "refresh keeps the entry shown";
    req.dbFieldsHide();
    QApplication::processEvents();

    // Variables, when offered, are dragged by their bare name.
    rep->Dictionary().Variables.SetVariable(QStringLiteral(" Totaux"), FrVariant());
    rep->Dictionary().Variables.SetVariable(QStringLiteral("Total HT"),
                                            FrVariant(QStringLiteral("1")));
    TfrInsFieldsForm withVariables(rep.get(), nullptr);
    withVariables.OfferVariables = true;
    withVariables.show();
    ASSERT_EQ(withVariables.DatasetsLB->count(), 3);
    withVariables.DatasetsLB->setCurrentRow(2);
    ASSERT_EQ(withVariables.FieldsLB->count(), 1);
    withVariables.FieldsLB->setCurrentRow(0);
    withVariables.FieldsLBStartDrag();
    EXPECT_EQ(withVariables.DBField, QStringLiteral("Total HT"));
    withVariables.FormHide();
}

TEST_F(FieldsWindowTest, SplitterPositionRoundTripsAndExpandRestoresTheHeight)
{
    RequestSlots &req = core->state.Requests;
    int changes = 0;
    req.toolWindowChanged = [&] { ++changes; };
    req.dbFieldsShow();
    TfrInsFieldsForm *f = form();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->size(), QSize(184, 233));
    EXPECT_EQ(f->DatasetsLB->height(), 120);
    auto mouse = [&](QEvent::Type type, int y, Qt::MouseButtons buttons) {
        const QPoint local(5, y);
        QMouseEvent e(type, local, f->Splitter->mapToGlobal(local), Qt::LeftButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(f->Splitter, &e);
    };
    mouse(QEvent::MouseButtonPress, 1, Qt::LeftButton);
    mouse(QEvent::MouseMove, 31, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, 31, Qt::NoButton);
    EXPECT_EQ(f->DatasetsLB->height(), 150);
    EXPECT_EQ(f->Splitter->y(), 150);
    const int before = changes;
    f->resize(184, 100);
    EXPECT_GT(changes, before);
    f->resize(184, 233);
    req.dbFieldsHide();
    QApplication::processEvents();
    {
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\") + frObjects().frRegistryKey +
                                    QStringLiteral("\\Form\\TfrInsFieldsForm"),
                                false));
        EXPECT_EQ(reg.ReadInteger(QStringLiteral("SplitterPos")), 150);
    }
    req.dbFieldsShow();
    f = form();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->DatasetsLB->height(), 150);
    f->resize(184, 40);
    req.dbFieldsExpand();
    EXPECT_EQ(f->height(), 233);
    req.dbFieldsHide();
    QApplication::processEvents();
}

TEST_F(FieldsWindowTest, ANewDesignerOpensItWithInsAndTakesADroppedField)
{
    frRegisterDesigner();
    rep->ShowProgress = false;
    auto b = std::make_unique<TfrBandView>();
    b->Name = QStringLiteral("DonneesMaitre1");
    b->SetBandType(btMasterData);
    b->SetBounds(0, 40, 700, 40);
    b->FormatStr = QStringLiteral("5");
    page->Add(std::move(b));
    frObjects().frCurrentDesigner = nullptr;
    frObjects().setMeasurer(nullptr); // the page's texts as the user sees them
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto *d = dynamic_cast<TfrDesignerForm *>(frObjects().frCurrentDesigner);
        ASSERT_NE(d, nullptr);
        ran = true;
        // The about box and the DB fields window are there from the start.
        EXPECT_TRUE(d->action(QStringLiteral("N34"))->isEnabled());
        EXPECT_TRUE(d->action(QStringLiteral("Pan8"))->isEnabled());
        QTest::keyClick(d->PageView, Qt::Key_Insert);
        RequestSlots &req = d->state().Requests;
        ASSERT_TRUE(req.dbFieldsVisible && req.dbFieldsVisible());
        TfrInsFieldsForm *f = d->findChild<TfrInsFieldsForm *>();
        ASSERT_NE(f, nullptr);
        f->FieldsLB->setCurrentRow(0);
        f->FieldsLBStartDrag();
        QMimeData data;
        data.setData(frFieldMimeType(), f->DBField.toUtf8());
        QDragEnterEvent enter(QPoint(40, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(d->PageView, &enter);
        QDragMoveEvent over(QPoint(40, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(d->PageView, &over);
        QDropEvent drop(QPointF(40, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(d->PageView, &drop);
        TfrPage *p = d->state().page();
        ASSERT_EQ(p->ObjectCount(), 2);
        EXPECT_EQ(p->Object(1)->Memo, QStringList{QStringLiteral("[Clients.\"Nom\"]")});
        d->resize(800, 560);
        QApplication::processEvents();
        if (vorn_test::shotsRequested()) {
            // The offscreen platform draws no window frames: the tool
            // window gets a plain caption bar over the designer's picture.
            QImage canvas = d->grab().toImage();
            QPainter painter(&canvas);
            const QRect bar(556, 100, f->width() + 8, 22);
            painter.fillRect(bar.adjusted(0, 0, 0, f->height() + 4), QColor(70, 90, 140));
            painter.setPen(Qt::white);
            painter.drawText(bar.adjusted(6, 0, 0, 0), Qt::AlignVCenter, f->windowTitle());
            painter.drawPixmap(QPoint(560, 122), f->grab());
            painter.end();
            vorn_test::saveShot(canvas, QStringLiteral("dbfields.png"));
        }
        d->ExitBClick();
    });
    rep->DesignReport();
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace designer::test
