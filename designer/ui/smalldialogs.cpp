#include "designer/ui/smalldialogs.h"

#include "designer/ui/dialogrows.h"
#include "designer/ui/flatcombos.h"

#include "designer/core/editorfonts.h"

#include "platform/canvas/qpaintercanvas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/text/exceptions.h"
#include "report/core/frcomponents.h"
#include "report/core/frlocale.h"
#include "report/data/frdb.h"
#include "report/data/frdictionary.h"
#include "report/objects/frdesigner.h"
#include "report/objects/frglobals.h"
#include "report/objects/frreport.h"
#include "report/ui/frctrls.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace designer
{

namespace smalldialogs_detail
{

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QCheckBox *check(QWidget *parent, const char *name, int textId)
{
    auto *c = new QCheckBox(report::frLoadString(textId), parent);
    c->setObjectName(QLatin1String(name));
    return c;
}

QRadioButton *radio(QWidget *parent, const char *name, int textId)
{
    auto *r = new QRadioButton(report::frLoadString(textId), parent);
    r->setObjectName(QLatin1String(name));
    return r;
}

QGroupBox *group(QWidget *parent, const char *name, int textId)
{
    auto *g = new QGroupBox(report::frLoadString(textId), parent);
    g->setObjectName(QLatin1String(name));
    return g;
}

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

// A folded document with a ruled header: the large icon of a template.
QIcon templateIcon()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath page;
    page.moveTo(6, 2);
    page.lineTo(21, 2);
    page.lineTo(27, 8);
    page.lineTo(27, 30);
    page.lineTo(6, 30);
    page.closeSubpath();
    p.fillPath(page, QColor(255, 255, 240));
    p.setPen(QColor(70, 70, 90));
    p.drawPath(page);
    p.drawLine(21, 2, 21, 8);
    p.drawLine(21, 8, 27, 8);
    p.fillRect(9, 10, 15, 4, QColor(40, 90, 170));
    p.setPen(QColor(120, 120, 140));
    for (int y = 17; y <= 26; y += 3)
        p.drawLine(9, y, 24, y);
    return QIcon(QPixmap::fromImage(img));
}

// The 18 x 16 glyphs of data sets and fields, drawn on the transparent
// colour the lists leave out.
QImage listGlyph(bool dataSet)
{
    QImage img(18, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    if (dataSet) {
        // a stack of three discs: a table
        for (int i = 2; i >= 0; --i) {
            const int y = 2 + i * 4;
            p.setPen(QColor(0, 0, 128));
            p.setBrush(QColor(255, 255, 128));
            p.drawEllipse(QRect(3, y, 11, 5));
        }
    } else {
        p.setPen(QColor(0, 0, 128));
        p.setBrush(QColor(255, 255, 255));
        p.drawRect(2, 3, 13, 9);
        p.fillRect(3, 4, 12, 3, QColor(0, 0, 128));
    }
    return img;
}

} // namespace smalldialogs_detail

using namespace smalldialogs_detail;

QString pictureFileFilter()
{
    return report::frLoadString(55216) +
           QStringLiteral(" (*.bmp *.ico *.wmf *.emf)|*.bmp;*.ico;*.wmf;*.emf|") +
           report::frLoadString(55221) + QStringLiteral("|*.*");
}

QString bitmapFileFilter()
{
    return report::frLoadString(55217) + QStringLiteral(" (*.bmp)|*.bmp");
}

void showPictureError()
{
    platform::MessageDlgWithCaption(report::frLoadString(55206), report::frLoadString(55474),
                                    platform::mtError, platform::mbOK);
}

namespace
{

// The picture of a file, or nothing once the user was told why not.
std::optional<report::FrPicture> pictureOf(const QString &path)
{
    try {
        std::optional<report::FrPicture> picture = readPictureFile(path);
        if (!picture)
            showPictureError();
        return picture;
    } catch (const platform::EFileError &e) {
        platform::MessageDlgWithCaption(report::frLoadString(55206), e.Message(), platform::mtError,
                                        platform::mbOK);
        return std::nullopt;
    }
}

} // namespace

// --- preview boxes

TfrPicturePreview::TfrPicturePreview(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PB1"));
}

void TfrPicturePreview::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    if (!picture || picture->isEmpty())
        return;
    const QRect r = picturePreviewRect(size(), picture->size());
    if (picture->kind() == report::FrPicture::Metafile) {
        platform::QPainterCanvas canvas(&p);
        canvas.drawMetafilePlaceholder(r);
        return;
    }
    p.drawImage(r, picture->image());
}

TfrCentredImage::TfrCentredImage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Image1"));
}

void TfrCentredImage::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void TfrCentredImage::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    QPainter p(this);
    p.drawImage(picturePreviewRect(size(), m_image.size()), m_image);
}

// --- picture editor

TfrGEditorForm::TfrGEditorForm(QWidget *parent) : report::TfrObjEditorForm(parent)
{
    setObjectName(QStringLiteral("GEditorForm"));
    setWindowTitle(report::frLoadString(53460));
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    PB1 = new TfrPicturePreview(ScrollBox1);
    PB1->picture = &Image1;
    ScrollBox1->setWidget(PB1);
    ScrollBox1->setMinimumSize(320, 240);
    Button3 = button(this, "Button3", report::frLoadString(53462));
    Button4 = button(this, "Button4", report::frLoadString(53463));
    auto *side = new QVBoxLayout;
    side->addWidget(Button3);
    side->addWidget(Button4);
    side->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addWidget(ScrollBox1, 1);
    top->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(okCancelRow(this, Button1, Button2, "Button1", "Button2"));
    connect(Button3, &QPushButton::clicked, this,
            platform::handler(this, &TfrGEditorForm::loadPicture));
    connect(Button4, &QPushButton::clicked, this,
            platform::handler(this, &TfrGEditorForm::clearPicture));
    // Keys reach the form whichever control has the focus.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
}

int TfrGEditorForm::ShowEditor(report::TfrView &view)
{
    auto *pv = dynamic_cast<report::TfrPictureView *>(&view);
    if (!pv)
        return platform::mrCancel;
    Image1 = pv->Picture;
    PB1->update();
    if (exec() != QDialog::Accepted)
        return platform::mrCancel;
    if (report::TfrReportDesigner *d = report::frObjects().frCurrentDesigner)
        d->NotifyBeforeChange();
    pv->Picture = Image1;
    if (report::TfrReportDesigner *d = report::frObjects().frCurrentDesigner)
        d->RepaintPage();
    return platform::mrOk;
}

void TfrGEditorForm::loadPicture()
{
    platform::TOpenDialog dialog(this);
    dialog.Filter = pictureFileFilter();
    if (!dialog.Execute())
        return;
    std::optional<report::FrPicture> picture = pictureOf(dialog.FileName);
    if (!picture)
        return;
    Image1 = std::move(*picture);
    PB1->update();
}

void TfrGEditorForm::clearPicture()
{
    Image1.clear();
    PB1->update();
}

void TfrGEditorForm::pastePicture()
{
    const QImage image = QGuiApplication::clipboard()->image();
    if (!image.isNull())
        Image1.setImage(image);
    PB1->update();
}

bool TfrGEditorForm::handleKey(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool paste = (event->key() == Qt::Key_Insert && mods == Qt::ShiftModifier) ||
                       (event->key() == Qt::Key_V && mods == Qt::ControlModifier);
    if (paste) {
        platform::guard([this] { pastePicture(); });
        return true;
    }
    PB1->update();
    return false;
}

bool TfrGEditorForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent *>(event)))
        return true;
    return report::TfrObjEditorForm::eventFilter(watched, event);
}

void TfrGEditorForm::keyPressEvent(QKeyEvent *event)
{
    if (!handleKey(event))
        report::TfrObjEditorForm::keyPressEvent(event);
}

// --- save as template

TfrTemplNewForm::TfrTemplNewForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TemplNewForm"));
    setWindowTitle(report::frLoadString(53320));
    Label1 = label(this, "Label1", report::frLoadString(53321));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Label1->setBuddy(Memo1);
    GroupBox1 = group(this, "GroupBox1", 53322);
    Image1 = new TfrCentredImage(GroupBox1);
    Image1->setMinimumSize(96, 96);
    Button3 = button(GroupBox1, "Button3", report::frLoadString(53323));
    auto *g = new QVBoxLayout(GroupBox1);
    g->addWidget(Image1, 1);
    g->addWidget(Button3, 0, Qt::AlignHCenter);
    auto *left = new QVBoxLayout;
    left->addWidget(Label1);
    left->addWidget(Memo1, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(GroupBox1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(okCancelRow(this, Button1, Button2, "Button1", "Button2"));
    Button1->setDefault(false);
    resize(420, 240);
    connect(Button3, &QPushButton::clicked, this,
            platform::handler(this, &TfrTemplNewForm::loadBitmap));
}

void TfrTemplNewForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Memo1->clear();
    Image1->setImage(QImage());
    Memo1->setFocus();
}

void TfrTemplNewForm::loadBitmap()
{
    platform::TOpenDialog dialog(this);
    dialog.Filter = bitmapFileFilter();
    if (!dialog.Execute())
        return;
    const std::optional<report::FrPicture> picture = pictureOf(dialog.FileName);
    if (!picture)
        return;
    if (picture->image().isNull()) {
        showPictureError();
        return;
    }
    Image1->setImage(picture->image());
}

NewTemplateChoice TfrTemplNewForm::choice() const
{
    NewTemplateChoice c;
    const QString text = Memo1->toPlainText();
    if (!text.isEmpty())
        c.description = text.split(QLatin1Char('\n'));
    c.picture = Image1->image();
    return c;
}

// --- new report from a template

TfrTemplForm::TfrTemplForm(report::TfrReport *report, QWidget *parent)
    : QDialog(parent), m_report(report)
{
    setObjectName(QStringLiteral("TemplForm"));
    setWindowTitle(report::frLoadString(53318));
    LB1 = new QListWidget(this);
    LB1->setObjectName(QStringLiteral("LB1"));
    LB1->setViewMode(QListView::IconMode);
    LB1->setIconSize(QSize(32, 32));
    LB1->setResizeMode(QListView::Adjust);
    LB1->setMovement(QListView::Static);
    LB1->setGridSize(QSize(96, 64));
    LB1->setWordWrap(true);
    LB1->setSortingEnabled(true);
    GroupBox1 = group(this, "GroupBox1", 53319);
    Memo1 = new QPlainTextEdit(GroupBox1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Image1 = new TfrCentredImage(GroupBox1);
    Image1->setMinimumSize(96, 96);
    auto *g = new QVBoxLayout(GroupBox1);
    g->addWidget(Memo1, 1);
    g->addWidget(Image1, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(LB1, 3);
    top->addWidget(GroupBox1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(okCancelRow(this, Button1, Button2, "Button1", "Button2"));
    resize(520, 320);
    connect(LB1, &QListWidget::itemSelectionChanged, this,
            platform::handler(this, &TfrTemplForm::itemChosen));
    connect(LB1, &QListWidget::itemDoubleClicked, this,
            platform::handler([this](QListWidgetItem *) {
                if (Button1->isEnabled())
                    accept();
            }));
}

void TfrTemplForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        fill();
}

void TfrTemplForm::fill()
{
    m_folder = templateFolder();
    m_entries = listTemplates(m_folder);
    const QSignalBlocker block(LB1);
    LB1->clear();
    const QIcon icon = templateIcon();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        auto *item = new QListWidgetItem(icon, m_entries[i].caption);
        item->setData(Qt::UserRole, int(i));
        LB1->addItem(item);
    }
    Memo1->clear();
    Image1->setImage(QImage());
    Button1->setEnabled(false);
}

void TfrTemplForm::itemChosen()
{
    const QList<QListWidgetItem *> selected = LB1->selectedItems();
    Button1->setEnabled(!selected.isEmpty());
    if (selected.isEmpty())
        return;
    const int index = selected.front()->data(Qt::UserRole).toInt();
    if (index < 0 || size_t(index) >= m_entries.size())
        return;
    QStringList description;
    QImage picture;
    if (m_report)
        m_report->LoadTemplate(m_entries[size_t(index)].fileName, description, picture, false);
    Memo1->setPlainText(description.join(QLatin1Char('\n')));
    Image1->setImage(picture);
}

void TfrTemplForm::done(int result)
{
    if (result == QDialog::Accepted) {
        const QList<QListWidgetItem *> selected = LB1->selectedItems();
        if (selected.isEmpty())
            return;
        const int index = selected.front()->data(Qt::UserRole).toInt();
        if (index < 0 || size_t(index) >= m_entries.size())
            return;
        TemplName = m_entries[size_t(index)].fileName;
    }
    QDialog::done(result);
}

// --- designer options

TfrDesOptionsForm::TfrDesOptionsForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DesOptionsForm"));
    setWindowTitle(report::frLoadString(53280));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    Tab1 = new QWidget(PageControl1);
    Tab1->setObjectName(QStringLiteral("Tab1"));
    Tab2 = new QWidget(PageControl1);
    Tab2->setObjectName(QStringLiteral("Tab2"));
    PageControl1->addTab(Tab1, report::frLoadString(53281));
    PageControl1->addTab(Tab2, report::frLoadString(53304));

    // designer tab
    GroupBox1 = group(Tab1, "GroupBox1", 53282);
    CB1 = check(GroupBox1, "CB1", 53286);
    CB2 = check(GroupBox1, "CB2", 53287);
    columnOf(GroupBox1, {CB1, CB2});

    GroupBox2 = group(Tab1, "GroupBox2", 53283);
    CB6 = new QCheckBox(GroupBox2);
    CB6->setObjectName(QStringLiteral("CB6"));
    Label1 = label(GroupBox2, "Label1", report::frLoadString(53293));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->installEventFilter(this);
    auto *g2 = new QHBoxLayout(GroupBox2);
    g2->addWidget(CB6, 0, Qt::AlignTop);
    g2->addWidget(Label1, 1);

    GroupBox3 = group(Tab1, "GroupBox3", 53284);
    RB6 = radio(GroupBox3, "RB6", 53294);
    RB7 = radio(GroupBox3, "RB7", 53295);
    RB8 = radio(GroupBox3, "RB8", 53296);
    columnOf(GroupBox3, {RB6, RB7, RB8});

    GroupBox4 = group(Tab1, "GroupBox4", 53285);
    RB1 = radio(GroupBox4, "RB1", 53289);
    RB2 = radio(GroupBox4, "RB2", 53290);
    RB3 = radio(GroupBox4, "RB3", 53291);
    columnOf(GroupBox4, {RB1, RB2, RB3});

    GroupBox5 = group(Tab1, "GroupBox5", 53297);
    CB3 = check(GroupBox5, "CB3", 53288);
    CB4 = check(GroupBox5, "CB4", 53298);
    CB5 = check(GroupBox5, "CB5", 53299);
    CB7 = check(GroupBox5, "CB7", 53311);
    columnOf(GroupBox5, {CB3, CB4, CB5, CB7});

    GroupBox6 = group(Tab1, "GroupBox6", 53300);
    RB9 = radio(GroupBox6, "RB9", 53301);
    RB10 = radio(GroupBox6, "RB10", 53302);
    RB11 = radio(GroupBox6, "RB11", 53303);
    columnOf(GroupBox6, {RB9, RB10, RB11});

    auto *t1 = new QGridLayout(Tab1);
    t1->addWidget(GroupBox1, 0, 0);
    t1->addWidget(GroupBox3, 0, 1);
    t1->addWidget(GroupBox2, 1, 0);
    t1->addWidget(GroupBox4, 1, 1);
    t1->addWidget(GroupBox5, 2, 0);
    t1->addWidget(GroupBox6, 2, 1);
    t1->setColumnStretch(0, 3);
    t1->setColumnStretch(1, 2);

    // editors tab
    const QStringList sizes{QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"),
                            QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("14")};
    auto fontBoxes = [&](QGroupBox *box, const char *nameL, const char *nameCB, const char *sizeL,
                         const char *sizeCB, const char *sample, QLabel *&nameLabel,
                         QComboBox *&nameBox, QLabel *&sizeLabel, QComboBox *&sizeBox,
                         QLabel *&samplePanel) {
        nameLabel = label(box, nameL, report::frLoadString(53308));
        // The designer's own flat boxes: the font list with its recent
        // fonts, and the sizes.
        nameBox = new TfrFontComboBox(box);
        nameBox->setObjectName(QLatin1String(nameCB));
        nameLabel->setBuddy(nameBox);
        sizeLabel = label(box, sizeL, report::frLoadString(53309));
        sizeBox = new TfrComboBox(box);
        sizeBox->setObjectName(QLatin1String(sizeCB));
        sizeBox->addItems(sizes);
        sizeLabel->setBuddy(sizeBox);
        samplePanel = label(box, sample, QStringLiteral("AaBbÀàßÿ"));
        samplePanel->setFrameShape(QFrame::StyledPanel);
        samplePanel->setFrameShadow(QFrame::Sunken);
        samplePanel->setAlignment(Qt::AlignCenter);
        samplePanel->setMinimumSize(150, 44);
        connect(nameBox, &QComboBox::currentTextChanged, this,
                platform::handler([this](const QString &) { updateSamples(); }));
        connect(sizeBox, &QComboBox::currentTextChanged, this,
                platform::handler([this](const QString &) { updateSamples(); }));
    };
    GroupBox7 = group(Tab2, "GroupBox7", 53305);
    ERB1 = radio(GroupBox7, "ERB1", 53306);
    ERB2 = radio(GroupBox7, "ERB2", 53307);
    fontBoxes(GroupBox7, "Label2", "TextFontNameCB", "Label3", "TextFontSizeCB", "SampleTextPanel",
              Label2, TextFontNameCB, Label3, TextFontSizeCB, SampleTextPanel);
    auto *g7 = new QGridLayout(GroupBox7);
    g7->addWidget(ERB1, 0, 0, 1, 3);
    g7->addWidget(ERB2, 1, 0, 1, 3);
    g7->addWidget(Label2, 2, 0);
    g7->addWidget(TextFontNameCB, 2, 1);
    g7->addWidget(SampleTextPanel, 2, 2, 2, 1);
    g7->addWidget(Label3, 3, 0);
    g7->addWidget(TextFontSizeCB, 3, 1);
    g7->setColumnStretch(1, 1);

    GroupBox8 = group(Tab2, "GroupBox8", 53310);
    fontBoxes(GroupBox8, "Label4", "ScriptFontNameCB", "Label5", "ScriptFontSizeCB",
              "SampleScriptPanel", Label4, ScriptFontNameCB, Label5, ScriptFontSizeCB,
              SampleScriptPanel);
    auto *g8 = new QGridLayout(GroupBox8);
    g8->addWidget(Label4, 0, 0);
    g8->addWidget(ScriptFontNameCB, 0, 1);
    g8->addWidget(SampleScriptPanel, 0, 2, 2, 1);
    g8->addWidget(Label5, 1, 0);
    g8->addWidget(ScriptFontSizeCB, 1, 1);
    g8->setColumnStretch(1, 1);

    auto *t2 = columnOf(Tab2, {GroupBox7, GroupBox8});
    t2->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(okCancelRow(this, Button1, Button2, "Button1", "Button2"));

    connect(ERB1, &QRadioButton::toggled, this,
            platform::handler([this](bool) { enableFontControls(); }));
    connect(ERB2, &QRadioButton::toggled, this,
            platform::handler([this](bool) { enableFontControls(); }));

    // The font settings are the dialog's own.
    const EditorFonts fonts = readEditorFonts();
    TextFontNameCB->setCurrentText(fonts.textName);
    TextFontSizeCB->setCurrentText(QString::number(fonts.textSize));
    ScriptFontNameCB->setCurrentText(fonts.scriptName);
    ScriptFontSizeCB->setCurrentText(QString::number(fonts.scriptSize));
    (fonts.useDefault ? ERB1 : ERB2)->setChecked(true);
    enableFontControls();
    updateSamples();
    setChoice(DesignerOptionsChoice());
}

void TfrDesOptionsForm::setChoice(const DesignerOptionsChoice &c)
{
    CB1->setChecked(c.showGrid);
    CB2->setChecked(c.alignToGrid);
    CB6->setChecked(c.showContents);
    const std::array<QRadioButton *, 3> units{RB6, RB7, RB8};
    units[size_t(std::clamp(c.units, 0, 2))]->setChecked(true);
    const std::array<QRadioButton *, 3> grid{RB1, RB2, RB3};
    grid[size_t(gridSizeRow(c.gridSize))]->setChecked(true);
    CB3->setChecked(c.coloredButtons);
    CB4->setChecked(c.editAfterInsert);
    CB5->setChecked(c.bandTitles);
    CB7->setChecked(c.localizedNames);
    const std::array<QRadioButton *, 3> position{RB9, RB10, RB11};
    position[size_t(pagePositionRow(c.pagePosition))]->setChecked(true);
}

DesignerOptionsChoice TfrDesOptionsForm::choice() const
{
    DesignerOptionsChoice c;
    c.showGrid = CB1->isChecked();
    c.alignToGrid = CB2->isChecked();
    c.showContents = CB6->isChecked();
    c.units = RB8->isChecked() ? 2 : RB7->isChecked() ? 1 : 0;
    c.gridSize = gridSizeOfRow(RB3->isChecked() ? 2 : RB2->isChecked() ? 1 : 0);
    c.coloredButtons = CB3->isChecked();
    c.editAfterInsert = CB4->isChecked();
    c.bandTitles = CB5->isChecked();
    c.localizedNames = CB7->isChecked();
    c.pagePosition = pagePositionOfRow(RB11->isChecked() ? 2 : RB10->isChecked() ? 1 : 0);
    return c;
}

void TfrDesOptionsForm::enableFontControls()
{
    report::frEnableControls({Label2, TextFontNameCB, Label3, TextFontSizeCB}, ERB2->isChecked());
}

namespace smalldialogs_detail
{
// A size box's text as a whole number from 1 to 999, else fallback.
int fontSizeOf(const QString &text, int fallback)
{
    bool ok = false;
    const int size = text.trimmed().toInt(&ok);
    return ok && size >= 1 && size <= 999 ? size : fallback;
}
} // namespace smalldialogs_detail

void TfrDesOptionsForm::updateSamples()
{
    const EditorFonts defaults;
    auto apply = [](QLabel *panel, const QString &name, int size) {
        QFont f(name);
        f.setPointSize(size);
        panel->setFont(f);
    };
    apply(SampleTextPanel, TextFontNameCB->currentText(),
          fontSizeOf(TextFontSizeCB->currentText(), defaults.textSize));
    apply(SampleScriptPanel, ScriptFontNameCB->currentText(),
          fontSizeOf(ScriptFontSizeCB->currentText(), defaults.scriptSize));
}

bool TfrDesOptionsForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label1 && (event->type() == QEvent::MouseButtonPress ||
                              event->type() == QEvent::MouseButtonDblClick)) {
        if (CB6->isEnabled())
            CB6->toggle();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrDesOptionsForm::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (result() != QDialog::Accepted || m_fontsWritten)
        return;
    m_fontsWritten = true;
    const EditorFonts defaults;
    EditorFonts fonts;
    const QString textName = TextFontNameCB->currentText().trimmed();
    const QString scriptName = ScriptFontNameCB->currentText().trimmed();
    fonts.textName = textName.isEmpty() ? defaults.textName : textName;
    fonts.textSize = fontSizeOf(TextFontSizeCB->currentText(), defaults.textSize);
    fonts.scriptName = scriptName.isEmpty() ? defaults.scriptName : scriptName;
    fonts.scriptSize = fontSizeOf(ScriptFontSizeCB->currentText(), defaults.scriptSize);
    fonts.useDefault = ERB1->isChecked();
    writeEditorFonts(fonts);
}

// --- insert fields

TfrInsertFieldsForm::TfrInsertFieldsForm(report::TfrReport *report, QWidget *parent)
    : QDialog(parent), m_report(report)
{
    setObjectName(QStringLiteral("InsertFieldsForm"));
    setWindowTitle(report::frLoadString(53630));
    Label1 = label(this, "Label1", report::frLoadString(53631));
    DatasetCB = new QComboBox(this);
    DatasetCB->setObjectName(QStringLiteral("DatasetCB"));
    DatasetCB->setIconSize(QSize(18, 16));
    Label1->setBuddy(DatasetCB);
    FieldsL = new QListWidget(this);
    FieldsL->setObjectName(QStringLiteral("FieldsL"));
    FieldsL->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FieldsL->setIconSize(QSize(18, 16));
    GroupBox1 = group(this, "GroupBox1", 53632);
    HorzRB = radio(GroupBox1, "HorzRB", 53633);
    VertRB = radio(GroupBox1, "VertRB", 53634);
    HorzRB->setChecked(true);
    columnOf(GroupBox1, {HorzRB, VertRB});
    HeaderCB = check(this, "HeaderCB", 53635);
    HeaderCB->setChecked(true);
    BandCB = check(this, "BandCB", 53636);
    auto *right = new QVBoxLayout;
    right->addWidget(GroupBox1);
    right->addWidget(HeaderCB);
    right->addWidget(BandCB);
    right->addStretch(1);
    auto *left = new QVBoxLayout;
    left->addWidget(Label1);
    left->addWidget(DatasetCB);
    left->addWidget(FieldsL, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(okCancelRow(this, Button1, Button2, "Button1", "Button2"));
    resize(400, 300);
    connect(DatasetCB, &QComboBox::currentIndexChanged, this,
            platform::handler([this](int) { dataSetChosen(); }));
}

void TfrInsertFieldsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    QStringList names;
    if (m_report)
        m_report->Dictionary().GetDataSetList(names);
    names.sort(Qt::CaseInsensitive);
    {
        const QSignalBlocker block(DatasetCB);
        DatasetCB->clear();
        const QIcon icon(QPixmap::fromImage(listGlyph(true)));
        for (const QString &n : std::as_const(names))
            DatasetCB->addItem(icon, n);
        DatasetCB->setCurrentIndex(names.isEmpty() ? -1 : 0);
    }
    dataSetChosen();
}

void TfrInsertFieldsForm::dataSetChosen()
{
    FieldsL->clear();
    DataSet = nullptr;
    const QString name = DatasetCB->currentText();
    if (!m_report || DatasetCB->currentIndex() < 0)
        return;
    report::TfrDataDictionary &dict = m_report->Dictionary();
    try {
        DataSet = qobject_cast<report::FrDataSet *>(
            report::frFindReportComponent(dict.GetRealName(name)));
    } catch (const platform::Exception &) {
        DataSet = nullptr;
    }
    QStringList fields;
    dict.GetFieldList(name, fields);
    const QIcon icon(QPixmap::fromImage(listGlyph(false)));
    for (const QString &f : std::as_const(fields))
        FieldsL->addItem(new QListWidgetItem(icon, f));
}

InsertFieldsChoice TfrInsertFieldsForm::choice() const
{
    InsertFieldsChoice c;
    c.dataSet = DataSet;
    c.dataSetName = DatasetCB->currentIndex() >= 0 ? DatasetCB->currentText() : QString();
    for (int i = 0; i < FieldsL->count(); ++i)
        if (FieldsL->item(i)->isSelected())
            c.fields.append(FieldsL->item(i)->text());
    c.horizontal = HorzRB->isChecked();
    c.headers = HeaderCB->isChecked();
    c.bands = BandCB->isChecked();
    return c;
}

// --- restrictions

TfrRestrictionsForm::TfrRestrictionsForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RestrictionsForm"));
    setWindowTitle(report::frLoadString(53260));
    static const char *const names[7] = {"CB1", "CB2", "Cb3", "CB4", "CB5", "CB6", "CB7"};
    auto *layout = new QVBoxLayout(this);
    for (size_t i = 0; i < Boxes.size(); ++i) {
        Boxes[i] = check(this, names[i], 53261 + int(i));
        layout->addWidget(Boxes[i]);
    }
    layout->addSpacing(8);
    layout->addLayout(okCancelRow(this, Button1, Button2, "Button1", "Button2"));
}

void TfrRestrictionsForm::setBoxes(const RestrictionBoxes &boxes)
{
    for (size_t i = 0; i < Boxes.size(); ++i)
        Boxes[i]->setChecked(boxes[i]);
}

RestrictionBoxes TfrRestrictionsForm::boxes() const
{
    RestrictionBoxes b{};
    for (size_t i = 0; i < Boxes.size(); ++i)
        b[i] = Boxes[i]->isChecked();
    return b;
}

// --- about box

QImage aboutPicture()
{
    // Drawn on the transparent colour (olive), which the box leaves out.
    QImage img(96, 96, QImage::Format_RGB32);
    img.fill(QColor(128, 128, 0));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sheet(0, 8, 0, 88);
    sheet.setColorAt(0, QColor(250, 250, 255));
    sheet.setColorAt(1, QColor(205, 215, 235));
    p.setPen(QPen(QColor(40, 50, 90), 2));
    p.setBrush(sheet);
    p.drawRect(18, 8, 56, 76);
    p.fillRect(26, 16, 40, 10, QColor(40, 90, 170));
    p.setPen(QPen(QColor(120, 120, 150), 1));
    for (int y = 34; y <= 74; y += 8)
        p.drawLine(26, y, 66, y);
    // a pencil across the sheet: the designer
    p.setPen(QPen(QColor(60, 40, 10), 1));
    p.setBrush(QColor(230, 170, 40));
    QPolygon pencil;
    pencil << QPoint(52, 88) << QPoint(86, 54) << QPoint(92, 60) << QPoint(58, 94);
    p.drawPolygon(pencil);
    p.setBrush(QColor(40, 30, 20));
    p.drawPolygon(QPolygon({QPoint(52, 88), QPoint(58, 94), QPoint(48, 95)}));
    p.end();
    QImage masked = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y)
        for (int x = 0; x < masked.width(); ++x)
            if (masked.pixel(x, y) == qRgb(128, 128, 0))
                masked.setPixel(x, y, qRgba(0, 0, 0, 0));
    return masked;
}

namespace smalldialogs_detail
{
class AboutPaintBox : public QWidget
{
public:
    explicit AboutPaintBox(QWidget *parent) : QWidget(parent), m_picture(aboutPicture())
    {
        setObjectName(QStringLiteral("PaintBox1"));
        setFixedSize(m_picture.size());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.drawImage(QPoint(0, 0), m_picture, QRect(QPoint(0, 0), size()));
    }

private:
    QImage m_picture;
};
} // namespace smalldialogs_detail

TfrAboutForm::TfrAboutForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(report::frLoadString(53540));
    PaintBox1 = new AboutPaintBox(this);
    Label1 = label(this, "Label1", QStringLiteral("Version 2.42"));
    Label1->setAlignment(Qt::AlignCenter);
    Button1 = button(this, "Button1", report::frLoadString(55000));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PaintBox1, 0, Qt::AlignHCenter);
    layout->addWidget(Label1);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    setMinimumWidth(260);
}

} // namespace designer
