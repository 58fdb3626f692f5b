#include "designer/ui/designerform.h"

#include "designer/core/attributecommands.h"
#include "designer/core/designerclipboard.h"
#include "designer/core/designerglobals.h"
#include "designer/core/designersettings.h"
#include "designer/ui/designerglyphs.h"
#include "designer/ui/designerparts.h"
#include "designer/ui/fieldmime.h"
#include "designer/ui/flatcombos.h"
#include "designer/ui/settingsparts.h"

#include "platform/canvas/bitmaps.h"
#include "platform/canvas/colors.h"
#include "platform/format/format.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "report/build/frcompositereport.h"
#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frpictureview.h"
#include "report/objects/frreport.h"
#include "report/ui/frdock.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMoveEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <cmath>
#include <utility>

namespace designer
{

using report::frLoadString;
using report::TfrSpeedButton;
using report::TfrTBButton;
using report::TfrToolBar;

namespace
{

// A hint or caption that reads as a whole number is a string id.
QString textOrId(const QString &text)
{
    bool ok = false;
    const int id = text.trimmed().toInt(&ok);
    return ok ? frLoadString(id) : text;
}

int tagOf(const QObject *control)
{
    return control->property("Tag").toInt();
}

// The olive pixels of a glyph are transparent (menu icons).
QPixmap transparentGlyph(const QImage &glyph)
{
    if (glyph.isNull())
        return {};
    QImage img = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb olive = img.pixel(0, img.height() - 1);
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (line[x] == olive)
                line[x] = 0;
    }
    return QPixmap::fromImage(img);
}

} // namespace

int designerKeyOf(const QKeyEvent &event)
{
    // Ctrl + 1..9 sets the line width by the digit key, whatever the layout:
    // on a French keyboard the digits are the shifted level of their keys,
    // so the key arrives as "&", "é"... The keys of the digit row are known
    // by their position (X key codes 10 to 18).
    const quint32 code = event.nativeScanCode();
    if ((event.modifiers() & Qt::ControlModifier) && code >= 10 && code <= 18)
        return Qt::Key_1 + int(code - 10);
    return event.key();
}

// --- position text

QString frPositionText(const QRect &box, int units, const QPoint *pictureScale)
{
    const int values[4] = {box.left(), box.top(), box.right() - box.left(),
                           box.bottom() - box.top()};
    QStringList parts;
    for (int v : values) {
        if (units == 0) {
            parts << QString::number(v);
        } else {
            // Two decimals, then at most four significant digits.
            const double u = units == 1 ? v / 18.0 * 5 : v / 18.0 * 5 / 25.4;
            parts << platform::FloatToStrF(std::nearbyint(u * 100) / 100,
                                           platform::TFloatFormat::ffGeneral, 4, 2);
        }
    }
    QString text = parts.join(units == 0 ? QStringLiteral(";") : QStringLiteral("; "));
    if (pictureScale)
        text += QStringLiteral(" % ") + QString::number(pictureScale->x()) + QLatin1Char(',') +
                QString::number(pictureScale->y());
    return text;
}

// --- the page surface

TfrDesignerPage::TfrDesignerPage(TfrDesignerForm *designer, QWidget *parent)
    : QWidget(parent), Designer(designer)
{
    setObjectName(QStringLiteral("PageView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::ClickFocus);
}

void TfrDesignerPage::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    // What the page image does not cover (before the first drawing) is white.
    QRegion rest = event->region();
    const QRect img(Designer->core().surface.imageOrigin(),
                    Designer->core().surface.image().size());
    rest -= img;
    for (const QRect &r : rest)
        p.fillRect(r, palette().color(QPalette::Base));
    Designer->core().surface.paint(p, event->region());
}

void TfrDesignerPage::mousePressEvent(QMouseEvent *event)
{
    platform::guard([&] {
        Designer->core().gestures.mouseDown(event->button(), event->modifiers(),
                                            event->position().toPoint().x(),
                                            event->position().toPoint().y());
    });
}

void TfrDesignerPage::mouseMoveEvent(QMouseEvent *event)
{
    platform::guard([&] {
        Designer->core().gestures.mouseMove(event->buttons(), event->modifiers(),
                                            event->position().toPoint().x(),
                                            event->position().toPoint().y());
    });
}

void TfrDesignerPage::mouseReleaseEvent(QMouseEvent *event)
{
    platform::guard([&] {
        Designer->core().gestures.mouseUp(event->button(), event->modifiers(),
                                          event->position().toPoint().x(),
                                          event->position().toPoint().y());
    });
}

void TfrDesignerPage::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The double click comes in place of the second press: its handler runs,
    // then the press, which the handler's mark swallows.
    platform::guard([&] {
        Designer->core().gestures.doubleClick();
        Designer->core().gestures.mouseDown(event->button(), event->modifiers(),
                                            event->position().toPoint().x(),
                                            event->position().toPoint().y());
    });
}

void TfrDesignerPage::leaveEvent(QEvent *)
{
    platform::guard([&] { Designer->core().gestures.mouseLeave(); });
}

void TfrDesignerPage::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(frFieldMimeType()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TfrDesignerPage::dragMoveEvent(QDragMoveEvent *event)
{
    const bool field = event->mimeData()->hasFormat(frFieldMimeType());
    bool accepted = false;
    platform::guard([&] {
        const QPoint p = event->position().toPoint();
        accepted = Designer->core().gestures.dragOver(field, p.x(), p.y());
    });
    if (accepted)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TfrDesignerPage::dragLeaveEvent(QDragLeaveEvent *)
{
    platform::guard([&] { Designer->core().gestures.mouseLeave(); });
}

void TfrDesignerPage::dropEvent(QDropEvent *event)
{
    if (!event->mimeData()->hasFormat(frFieldMimeType())) {
        event->ignore();
        return;
    }
    const QString field = QString::fromUtf8(event->mimeData()->data(frFieldMimeType()));
    event->acceptProposedAction();
    platform::guard([&] { Designer->core().gestures.dragDrop(field); });
}

void TfrDesignerPage::resizeEvent(QResizeEvent *)
{
    Designer->core().surface.invalidate();
}

// --- the dialog page's window

TfrPageForm::TfrPageForm(TfrDesignerForm *designer)
    : QWidget(designer, Qt::Window), m_designer(designer)
{
    setObjectName(QStringLiteral("PageForm"));
    setWindowIcon(designer->windowIcon());
}

void TfrPageForm::closeEvent(QCloseEvent *event)
{
    // The page window goes with its page, never by itself.
    event->ignore();
}

void TfrPageForm::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    if (ctrl && key == Qt::Key_A) {
        platform::guard([&] { m_designer->SelAllBClick(); });
        return;
    }
    // The copy, cut and paste letters as the keys the designer knows.
    if (ctrl && key == Qt::Key_C) {
        key = Qt::Key_Insert;
    } else if (ctrl && key == Qt::Key_X) {
        key = Qt::Key_Delete;
        mods = Qt::ShiftModifier;
    } else if (ctrl && key == Qt::Key_V) {
        key = Qt::Key_Insert;
        mods = Qt::ShiftModifier;
    }
    platform::guard([&] { m_designer->FormKeyDown(key, mods); });
}

void TfrPageForm::moveEvent(QMoveEvent *)
{
    if (OnResize)
        OnResize();
}

void TfrPageForm::resizeEvent(QResizeEvent *)
{
    if (OnResize)
        OnResize();
}

// --- status bar and position box

TfrDesignerStatusBar::TfrDesignerStatusBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setFixedHeight(22);
}

void TfrDesignerStatusBar::setPanelText(int panel, const QString &text)
{
    if (m_texts[size_t(panel)] == text)
        return;
    m_texts[size_t(panel)] = text;
    update();
}

void TfrDesignerStatusBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    const int x[4] = {0, kWidths[0], kWidths[0] + kWidths[1], width()};
    for (int i = 0; i < 3; ++i) {
        const QRect r(x[i] + 1, 2, x[i + 1] - x[i] - 3, height() - 4);
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(r.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, m_texts[size_t(i)]);
    }
}

void TfrDesignerStatusBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->position().x() < kWidths[0] && OnUnitsDblClick)
        platform::guard(OnUnitsDblClick);
}

TfrPositionBox::TfrPositionBox(TfrDesignerForm *designer, QWidget *parent)
    : QWidget(parent), m_designer(designer)
{
    setObjectName(QStringLiteral("PBox1"));
}

QString TfrPositionBox::text() const
{
    const DesignerState &st = m_designer->state();
    QRect box;
    if (st.ShowRubberSize) {
        const QRect &r = st.RubberRect;
        box = edges(std::min(r.left(), r.right()), std::min(r.top(), r.bottom()),
                    std::max(r.left(), r.right()), std::max(r.top(), r.bottom()));
    } else {
        if (!st.page() || st.countSelected() == 0)
            return {};
        box = st.selectionBox();
    }
    std::optional<QPoint> scale;
    if (!st.ShowRubberSize && st.countSelected() == 1) {
        for (const auto &v : st.page()->Objects) {
            if (!v->Selected)
                continue;
            if (auto *pic = dynamic_cast<report::TfrPictureView *>(v.get())) {
                const QImage &img = pic->Picture.image();
                if (!img.isNull() && img.width() > 0 && img.height() > 0)
                    scale = QPoint(int(qint64(v->dx) * 100 / img.width()),
                                   int(qint64(v->dy) * 100 / img.height()));
            }
            break;
        }
    }
    return frPositionText(box, st.Settings.Units, scale ? &*scale : nullptr);
}

void TfrPositionBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(rect().adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, text());
}

// --- the window

TfrDesignerForm::TfrDesignerForm(int designMode) : QDialog(nullptr), TfrReportDesigner(designMode)
{
    setObjectName(QStringLiteral("frDesigner"));
    m_core = std::make_unique<DesignerCore>(*this, *this);
    FormCreate();
    // What was built beside the window fills its slots; the commands then
    // follow what is there.
    installDesignerParts(*m_core, this);
    for (const DesignerExtension &extend : designerGlobals().extensions)
        extend(*m_core, this);
    updateAvailability();
}

TfrDesignerForm::~TfrDesignerForm()
{
    platform::guard([&] { FormDestroy(); });
}

TfrTBButton *TfrDesignerForm::addButton(TfrToolBar *bar, const QString &name, int tag,
                                        const QString &hint, const QImage &glyph)
{
    auto *b = new TfrTBButton(bar);
    b->setObjectName(name);
    b->setProperty("Tag", tag);
    b->setToolTip(hint);
    if (!glyph.isNull())
        b->SetGlyph(glyph);
    const QList<QWidget *> items =
        bar->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    int x = 12;
    for (QWidget *w : items)
        if (w != b && w->isVisibleTo(bar))
            x = std::max(x, w->x() + w->width());
    b->setGeometry(x, 2, 22, 22);
    m_buttons[name] = b;
    return b;
}

void TfrDesignerForm::addSeparator(TfrToolBar *bar)
{
    auto *s = new report::TfrTBSeparator(bar);
    int x = 12;
    for (QWidget *w : bar->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (w != s)
            x = std::max(x, w->x() + w->width());
    s->setGeometry(x, 2, 8, 22);
}

QAction *TfrDesignerForm::addItem(QMenu *menu, const QString &name, int captionId,
                                  const QString &pairedButton)
{
    QAction *a = menu->addAction(frLoadString(captionId));
    a->setObjectName(name);
    if (!pairedButton.isEmpty())
        a->setProperty("PairedButton", pairedButton);
    m_actions[name] = a;
    return a;
}

TfrSpeedButton *TfrDesignerForm::button(const QString &name) const
{
    const auto it = m_buttons.find(name);
    return it == m_buttons.end() ? nullptr : it->second;
}

QAction *TfrDesignerForm::action(const QString &name) const
{
    const auto it = m_actions.find(name);
    return it == m_actions.end() ? nullptr : it->second;
}

void TfrDesignerForm::buildToolBars()
{
    auto makeBar = [&](const char *name, int captionId, report::TfrDock *dock) {
        auto *bar = new TfrToolBar(dock);
        bar->setObjectName(QString::fromLatin1(name));
        bar->Caption = frLoadString(captionId);
        bar->resize(30, 26);
        return bar;
    };
    frDock1 = new report::TfrDock(report::daTop, this);
    frDock1->setObjectName(QStringLiteral("frDock1"));
    frDock2 = new report::TfrDock(report::daLeft, this);
    frDock2->setObjectName(QStringLiteral("frDock2"));
    frDock3 = new report::TfrDock(report::daBottom, this);
    frDock3->setObjectName(QStringLiteral("frDock3"));
    frDock4 = new report::TfrDock(report::daRight, this);
    frDock4->setObjectName(QStringLiteral("frDock4"));
    for (report::TfrDock *d : {frDock1, frDock2, frDock3, frDock4}) {
        d->setGeometry(0, 0, d->Horizontal() ? 600 : 1, d->Horizontal() ? 1 : 400);
        d->installEventFilter(this);
    }

    auto glyph = [](const char *name) { return frDesignerGlyph(QString::fromLatin1(name)); };
    struct Def {
        const char *name; // nullptr: a separator
        int tag;
        int hint;
    };
    auto fill = [&](TfrToolBar *bar, std::initializer_list<Def> defs) {
        for (const Def &d : defs) {
            if (!d.name)
                addSeparator(bar);
            else
                addButton(bar, QString::fromLatin1(d.name), d.tag, frLoadString(d.hint),
                          glyph(d.name));
        }
    };

    // Standard
    Panel2 = makeBar("Panel2", 53082, frDock1);
    Panel2->Orientation = report::toHorzOnly;
    fill(Panel2, {{"FileBtn1", 40, 53087}, {"FileBtn2", 41, 53088}, {"FileBtn3", 42, 53089},
                  {"FileBtn4", 43, 53090}, {nullptr, 0, 0},         {"CutB", 44, 53091},
                  {"CopyB", 45, 53092},    {"PstB", 46, 53093},     {nullptr, 0, 0},
                  {"UndoB", 47, 53094},    {"RedoB", 48, 53095},    {nullptr, 0, 0},
                  {"ZB1", 49, 53096},      {"ZB2", 50, 53097},      {nullptr, 0, 0},
                  {"SelAllB", 51, 53098},  {nullptr, 0, 0},         {"PgB1", 52, 53099},
                  {"PgB2", 53, 53100},     {"PgB3", 54, 53101},     {"PgB4", 70, 53193},
                  {nullptr, 0, 0},         {"GB1", 55, 53102},      {"GB2", 56, 53103},
                  {"GB3", 57, 53104},      {nullptr, 0, 0}});
    TfrTBButton *exitB =
        addButton(Panel2, QStringLiteral("ExitB"), 58, frLoadString(53106), glyph("ExitB"));
    exitB->SetCaption(frLoadString(53105));
    exitB->resize(exitB->fontMetrics().horizontalAdvance(exitB->Caption()) + 16 + 16, 22);
    addButton(Panel2, QStringLiteral("HelpBtn"), 0, frLoadString(53032), glyph("HelpBtn"));

    // Text: font name and size first.
    Panel3 = makeBar("Panel3", 53083, frDock1);
    C2 = new TfrFontComboBox(Panel3);
    C2->setObjectName(QStringLiteral("C2"));
    C2->setProperty("Tag", 7);
    C2->setToolTip(frLoadString(53121));
    C2->setGeometry(12, 1, 130, 22);
    C3 = new TfrComboBox(Panel3);
    C3->setObjectName(QStringLiteral("C3"));
    C3->setProperty("Tag", 8);
    C3->setToolTip(frLoadString(53120));
    for (int s : {5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        C3->addItem(QString::number(s));
    C3->setGeometry(142, 1, 46, 22);
    fill(Panel3, {{nullptr, 0, 0},
                  {"FnB1", 9, 53115},
                  {"FnB2", 10, 53116},
                  {"FnB3", 18, 53117},
                  {nullptr, 0, 0},
                  {"AlB1", 11, 53107},
                  {"AlB2", 12, 53108},
                  {"AlB3", 13, 53109},
                  {"AlB8", 22, 53114},
                  {"AlB4", 14, 53110},
                  {"AlB5", 15, 53111},
                  {"AlB6", 15, 53112},
                  {"AlB7", 15, 53113},
                  {nullptr, 0, 0},
                  {"ClB2", 17, 53118},
                  {"HlB1", 59, 53119}});
    // Bold, italic and underline from the locale's bitmaps when it has them.
    for (const auto &[name, bmp] : {std::pair{"FnB1", "FR_BOLD"}, std::pair{"FnB2", "FR_ITALIC"},
                                    std::pair{"FnB3", "FR_UNDRLINE"}}) {
        const QImage img = platform::LoadBitmap(QString::fromLatin1(bmp));
        button(QString::fromLatin1(name))->SetGlyph(img);
    }

    // Rectangle
    Panel1 = makeBar("Panel1", 53081, frDock1);
    fill(Panel1, {{"FrB1", 1, 53122},
                  {"FrB2", 2, 53123},
                  {"FrB3", 3, 53124},
                  {"FrB4", 4, 53125},
                  {"FrB5", 20, 53126},
                  {"FrB6", 21, 53127},
                  {nullptr, 0, 0},
                  {"ClB1", 5, 53128},
                  {"ClB3", 19, 53129}});
    C4 = new TfrComboBox(Panel1);
    C4->setObjectName(QStringLiteral("C4"));
    C4->setProperty("Tag", 6);
    C4->setToolTip(frLoadString(53130));
    C4->addItems({QStringLiteral("0,1"), QStringLiteral("0,5"), QStringLiteral("1"),
                  QStringLiteral("1,5"), QStringLiteral("2"), QStringLiteral("3"),
                  QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                  QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"),
                  QStringLiteral("10")});
    {
        int x = 0;
        for (QWidget *w : Panel1->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            if (w != C4)
                x = std::max(x, w->x() + w->width());
        C4->setGeometry(x, 1, 50, 22);
    }
    addButton(Panel1, QStringLiteral("StB1"), 0, frLoadString(53191), glyph("StB1"));

    // Objects, then one button per registered object class.
    Panel4 = makeBar("Panel4", 53084, frDock2);
    fill(Panel4, {{"OB1", -1, 53131},
                  {"OB2", kToolMemo, 53132},
                  {"OB3", kToolBand, 53133},
                  {"OB4", kToolPicture, 53134},
                  {"OB5", kToolSubReport, 53135},
                  {"OB6", kToolLine, 53136}});
    const auto &addIns = report::frObjects().frAddInList;
    for (size_t i = 0; i < addIns.size(); ++i) {
        const report::TfrAddInObjectInfo &info = addIns[i];
        TfrTBButton *b =
            addButton(Panel4, QStringLiteral("AddIn%1").arg(i), kToolAddInBase + int(i),
                      textOrId(info.ButtonHint), info.ButtonBmp);
        b->SetGrayedInactive(false);
        if (info.Flag & 1)
            b->hide();
    }
    for (QWidget *w : Panel4->findChildren<TfrTBButton *>()) {
        auto *b = static_cast<TfrTBButton *>(w);
        b->SetGroupIndex(1);
        b->SetFlat(true);
        b->installEventFilter(this);
    }

    // Alignment palette
    Panel5 = makeBar("Panel5", 53085, frDock4);
    for (int i = 1; i <= 10; ++i) {
        const QString name = QStringLiteral("Align%1").arg(i);
        addButton(Panel5, name, 60, frLoadString(53137 + i), frDesignerGlyph(name));
    }

    // Extra tools
    Panel6 = makeBar("Panel6", 53086, frDock3);
    Panel6->resize(26, 26);

    // Toggles and groups.
    auto toggle = [&](const char *name, int group) {
        TfrSpeedButton *b = button(QString::fromLatin1(name));
        b->SetGroupIndex(group);
        b->SetAllowAllUp(true);
    };
    int group = 10;
    for (const char *name :
         {"FnB1", "FnB2", "FnB3", "AlB4", "FrB1", "FrB2", "FrB3", "FrB4", "GB1", "GB2"})
        toggle(name, group++);
    for (const char *name : {"AlB1", "AlB2", "AlB3", "AlB8"})
        button(QString::fromLatin1(name))->SetGroupIndex(30);
    for (const char *name : {"AlB5", "AlB6", "AlB7"})
        toggle(name, 31);

    // The line style panel (hidden until its button opens it).
    LinePanel = new QWidget(this, Qt::Popup);
    LinePanel->setObjectName(QStringLiteral("LinePanel"));
    for (int i = 0; i < 6; ++i) {
        auto *b = new TfrSpeedButton(LinePanel);
        b->setObjectName(QStringLiteral("frSpeedButton%1").arg(i + 1));
        b->setProperty("Tag", 25 + i);
        b->setGeometry(2, 2 + 22 * i, 22, 22);
        b->SetFlat(true);
    }
    LinePanel->resize(26, 4 + 22 * 6);

    for (TfrToolBar *bar : {Panel2, Panel3, Panel1})
        bar->AdjustBounds();
    Panel2->AppendToDock(frDock1);
    Panel3->AppendToDock(frDock1);
    Panel1->DockTo(frDock1, Panel3->x() + Panel3->width() + 1, Panel3->y());
    Panel4->AppendToDock(frDock2);
    Panel5->AppendToDock(frDock4);
    Panel6->AppendToDock(frDock3);
    for (report::TfrDock *d : {frDock1, frDock2, frDock3, frDock4})
        d->AdjustBounds();
}

void TfrDesignerForm::buildMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setNativeMenuBar(false);

    // Object popup
    Popup1 = new QMenu(this);
    Popup1->setObjectName(QStringLiteral("Popup1"));
    addItem(Popup1, QStringLiteral("N2"), 53148, QStringLiteral("CutB"));
    addItem(Popup1, QStringLiteral("N1"), 53149, QStringLiteral("CopyB"));
    addItem(Popup1, QStringLiteral("N3"), 53150, QStringLiteral("PstB"));
    addItem(Popup1, QStringLiteral("N5"), 53151);
    addItem(Popup1, QStringLiteral("N16"), 53152, QStringLiteral("SelAllB"));
    Popup1->addSeparator();
    addItem(Popup1, QStringLiteral("N6"), 53153);

    // File
    QMenu *file = MainMenu1->addMenu(frLoadString(53154));
    file->setObjectName(QStringLiteral("FileMenu"));
    addItem(file, QStringLiteral("N23"), 53155, QStringLiteral("FileBtn1"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    addItem(file, QStringLiteral("N19"), 53156, QStringLiteral("FileBtn2"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    addItem(file, QStringLiteral("N20"), 53157, QStringLiteral("FileBtn3"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addItem(file, QStringLiteral("N17"), 53188);
    file->addSeparator();
    addItem(file, QStringLiteral("N25"), 53158, QStringLiteral("PgB3"));
    addItem(file, QStringLiteral("N8"), 53159);
    addItem(file, QStringLiteral("N42"), 53160);
    file->addSeparator();
    addItem(file, QStringLiteral("N39"), 53161, QStringLiteral("FileBtn4"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    addItem(file, QStringLiteral("N10"), 53162, QStringLiteral("ExitB"));

    // Edit
    QMenu *edit = MainMenu1->addMenu(frLoadString(53163));
    edit->setObjectName(QStringLiteral("EditMenu"));
    addItem(edit, QStringLiteral("N46"), 53164, QStringLiteral("UndoB"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    addItem(edit, QStringLiteral("N48"), 53165, QStringLiteral("RedoB"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    edit->addSeparator();
    addItem(edit, QStringLiteral("N11"), 53166, QStringLiteral("CutB"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    addItem(edit, QStringLiteral("N12"), 53167, QStringLiteral("CopyB"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    addItem(edit, QStringLiteral("N13"), 53168, QStringLiteral("PstB"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    addItem(edit, QStringLiteral("N27"), 53169);
    addItem(edit, QStringLiteral("N28"), 53170, QStringLiteral("SelAllB"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    addItem(edit, QStringLiteral("N7"), 53171);
    edit->addSeparator();
    addItem(edit, QStringLiteral("N29"), 53172, QStringLiteral("PgB1"));
    addItem(edit, QStringLiteral("N15"), 53192, QStringLiteral("PgB4"));
    addItem(edit, QStringLiteral("N30"), 53173, QStringLiteral("PgB2"));
    edit->addSeparator();
    addItem(edit, QStringLiteral("N32"), 53174, QStringLiteral("ZB1"));
    addItem(edit, QStringLiteral("N33"), 53175, QStringLiteral("ZB2"));
    for (QAction *a : edit->actions())
        a->setShortcutContext(Qt::WindowShortcut);

    // Tools
    QMenu *tools = MainMenu1->addMenu(frLoadString(53176));
    tools->setObjectName(QStringLiteral("ToolMenu"));
    QMenu *bars = tools->addMenu(frLoadString(53177));
    bars->setObjectName(QStringLiteral("N37"));
    for (int i = 0; i < 7; ++i)
        addItem(bars, QStringLiteral("Pan%1").arg(i + 1), 53180 + i)->setProperty("Tag", i);
    QAction *pan8 = addItem(bars, QStringLiteral("Pan8"), 53450);
    pan8->setProperty("Tag", 7);
    connect(bars, &QMenu::aboutToShow, this, platform::handler([this] { refreshMenuGlyphs(); }));
    MastMenu = tools->addMenu(frLoadString(53178));
    MastMenu->setObjectName(QStringLiteral("MastMenu"));
    MastMenu->setEnabled(false);
    addItem(tools, QStringLiteral("N14"), 53179);
    tools->addSeparator();
    addItem(tools, QStringLiteral("N22"), 53189)->setShortcut(QKeySequence(Qt::Key_F1));
    addItem(tools, QStringLiteral("N35"), 53190, QStringLiteral("HelpBtn"))
        ->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    addItem(tools, QStringLiteral("N34"), 53187);

    // Page popup of the tabs: the edit items' captions and handlers.
    Popup2 = new QMenu(this);
    Popup2->setObjectName(QStringLiteral("Popup2"));
    addItem(Popup2, QStringLiteral("N41"), 53172, QStringLiteral("PgB1"));
    addItem(Popup2, QStringLiteral("N45"), 53192, QStringLiteral("PgB4"));
    addItem(Popup2, QStringLiteral("N43"), 53173, QStringLiteral("PgB2"));
    addItem(Popup2, QStringLiteral("N44"), 53158, QStringLiteral("PgB3"));
}

void TfrDesignerForm::buildStatusBar()
{
    StatusBar1 = new TfrDesignerStatusBar(this);
    StatusBar1->OnUnitsDblClick = [this] { StatusBar1DblClick(); };
    Panel7 = new QWidget(this);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    PBox1 = new TfrPositionBox(this, Panel7);
}

void TfrDesignerForm::connectCommand(const QString &handler, const QStringList &controls,
                                     std::function<void()> run)
{
    auto wrapped = [run] { platform::guard(run); };
    for (const QString &name : controls) {
        if (TfrSpeedButton *b = button(name))
            b->OnClick = wrapped;
        else if (QAction *a = action(name))
            connect(a, &QAction::triggered, this, [wrapped] { wrapped(); });
    }
    Q_UNUSED(handler);
}

bool TfrDesignerForm::hasLater(const QString &handler) const
{
    const auto &cmds = m_core->state.Requests.commands;
    const auto it = cmds.find(handler);
    return it != cmds.end() && bool(it->second);
}

void TfrDesignerForm::runLater(const QString &handler)
{
    const auto &cmds = m_core->state.Requests.commands;
    const auto it = cmds.find(handler);
    if (it != cmds.end() && it->second)
        it->second();
}

void TfrDesignerForm::FormCreate()
{
    // The window carries its parts at their places; captions and hints come
    // from the string table as the parts are made.
    resize(900, 640);
    setSizeGripEnabled(true);
    buildToolBars();
    buildMenus();
    buildStatusBar();
    m_fileName = frLoadString(55209);

    m_central = new QWidget(this);
    m_central->setObjectName(QStringLiteral("Panel8"));
    Tab1 = new QTabBar(m_central);
    Tab1->setObjectName(QStringLiteral("Tab1"));
    Tab1->setExpanding(false);
    Tab1->setDrawBase(true);
    Tab1->installEventFilter(this);
    connect(Tab1, &QTabBar::currentChanged, this,
            platform::handler([this](int index) { Tab1Change(index); }));
    ScrollBox1 = new QScrollArea(m_central);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    m_scrollContent = new QWidget;
    m_scrollContent->setObjectName(QStringLiteral("ScrollContent"));
    m_scrollContent->setAutoFillBackground(true);
    QPalette pal = m_scrollContent->palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    m_scrollContent->setPalette(pal);
    ScrollBox1->setWidget(m_scrollContent);
    ScrollBox1->viewport()->installEventFilter(this);
    ScrollBox1->installEventFilter(this);
    for (QScrollBar *bar : {ScrollBox1->horizontalScrollBar(), ScrollBox1->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, platform::handler([this] {
                    m_core->surface.invalidate();
                    RepaintPage();
                }));

    // The page surface.
    PageView = new TfrDesignerPage(this, m_scrollContent);
    PageView->setContextMenuPolicy(Qt::NoContextMenu);

    // Add-in tools and the inserting of fields, designing a report only.
    Image1 = frColorStrip();
    Image2 = frInsertFieldGlyph();
    auto addTool = [this](const QString &caption, const QImage &glyph, std::function<void()> click,
                          bool enabled) {
        const QString text = textOrId(caption);
        QAction *a = MastMenu->addAction(text);
        a->setObjectName(QStringLiteral("Tool%1").arg(MastMenu->actions().size()));
        a->setEnabled(enabled);
        MastMenu->setEnabled(true);
        TfrTBButton *b = addButton(
            Panel6, QStringLiteral("ToolBtn%1").arg(MastMenu->actions().size()), 36, text, glyph);
        b->SetFlat(true);
        b->setEnabled(enabled);
        a->setProperty("PairedButton", b->objectName());
        m_actions[a->objectName()] = a;
        auto run = [click] { platform::guard(click); };
        b->OnClick = run;
        connect(a, &QAction::triggered, this, run);
        // An empty bar is shorter than high and would turn across: lay it
        // along the bottom dock before arranging it again.
        Panel6->resize(std::max(Panel6->width(), Panel6->height()) + 22, 26);
        Panel6->AdjustBounds();
    };
    if (DesignMode == 1) {
        addTool(
            QStringLiteral("55305"), Image2,
            [this] { runLater(QStringLiteral("InsertFieldsClick")); }, false);
        for (const report::TfrToolsInfo &tool : report::frObjects().frToolsList)
            addTool(
                tool.Caption, tool.ButtonBmp, tool.OnClick ? tool.OnClick : [] {}, true);
    }
    Panel6->AdjustBounds();
    frDock3->AdjustBounds();

    // Commands built here.
    connectCommand(QStringLiteral("UndoBClick"), {QStringLiteral("UndoB"), QStringLiteral("N46")},
                   [this] { UndoBClick(); });
    connectCommand(QStringLiteral("RedoBClick"), {QStringLiteral("RedoB"), QStringLiteral("N48")},
                   [this] { RedoBClick(); });
    connectCommand(QStringLiteral("CutBClick"),
                   {QStringLiteral("CutB"), QStringLiteral("N11"), QStringLiteral("N2")},
                   [this] { CutBClick(); });
    connectCommand(QStringLiteral("CopyBClick"),
                   {QStringLiteral("CopyB"), QStringLiteral("N12"), QStringLiteral("N1")},
                   [this] { CopyBClick(); });
    connectCommand(QStringLiteral("PstBClick"),
                   {QStringLiteral("PstB"), QStringLiteral("N13"), QStringLiteral("N3")},
                   [this] { PstBClick(); });
    connectCommand(QStringLiteral("N5Click"), {QStringLiteral("N5"), QStringLiteral("N27")},
                   [this] { N5Click(); });
    connectCommand(QStringLiteral("SelAllBClick"),
                   {QStringLiteral("SelAllB"), QStringLiteral("N28"), QStringLiteral("N16")},
                   [this] { SelAllBClick(); });
    connectCommand(QStringLiteral("GB1Click"), {QStringLiteral("GB1")}, [this] { GB1Click(); });
    connectCommand(QStringLiteral("GB2Click"), {QStringLiteral("GB2")}, [this] { GB2Click(); });
    connectCommand(QStringLiteral("ExitBClick"), {QStringLiteral("ExitB"), QStringLiteral("N10")},
                   [this] { ExitBClick(); });
    connectCommand(QStringLiteral("OB1Click"), {QStringLiteral("OB1")}, [this] { OB1Click(); });
    // Tools > Tool bars: each item shows or hides its bar.
    for (int i = 0; i < 5; ++i)
        connectCommand(QStringLiteral("Pan2Click"), {QStringLiteral("Pan%1").arg(i + 1)},
                       [this, i] {
                           TfrToolBar *bars[] = {Panel1, Panel2, Panel3, Panel4, Panel5};
                           bars[i]->SetIsVisible(!bars[i]->IsVisible());
                           layoutFrame();
                       });
    connectCommand(QStringLiteral("Pan2Click"), {QStringLiteral("Pan7")}, [this] {
        Panel6->SetIsVisible(!Panel6->IsVisible());
        layoutFrame();
    });

    // Commands that open what later parts build: by their slots.
    RequestSlots &req = m_core->state.Requests;
    connectCommand(QStringLiteral("N6Click"), {QStringLiteral("N6"), QStringLiteral("N7")}, [this] {
        DesignerState &st = m_core->state;
        report::TfrPage *page = st.page();
        if (!page || !st.Requests.objectEditor || st.countSelected() != 1)
            return;
        st.Requests.objectEditor(page->Object(st.TopSelectedIndex()), false);
    });
    connectCommand(QString(), {QStringLiteral("N34")}, [&req] {
        if (req.about)
            req.about();
    });
    connectCommand(QString(), {QStringLiteral("N22")}, [&req] {
        if (req.help)
            req.help();
    });
    connectCommand(QString(), {QStringLiteral("Pan6")}, [&req] {
        if (req.inspectorSettings && req.inspectorRestore && req.inspectorSettings().second)
            req.inspectorRestore(req.inspectorSettings().first, false);
        else if (req.inspectorShow)
            req.inspectorShow();
    });
    connectCommand(QString(), {QStringLiteral("Pan8")}, [this, &req] {
        if (req.dbFieldsVisible && req.dbFieldsVisible()) {
            if (req.dbFieldsHide)
                req.dbFieldsHide();
        } else {
            m_core->ShowDBFieldsWindow();
        }
    });
    const std::pair<const char *, QStringList> later[] = {
        {"FileBtn1Click", {QStringLiteral("FileBtn1")}},
        {"FileBtn2Click", {QStringLiteral("FileBtn2"), QStringLiteral("N19")}},
        {"FileBtn3Click", {QStringLiteral("FileBtn3"), QStringLiteral("N20")}},
        {"N20Click", {QStringLiteral("N17")}},
        {"FileBtn4Click", {QStringLiteral("FileBtn4"), QStringLiteral("N39")}},
        {"ZB1Click", {QStringLiteral("ZB1"), QStringLiteral("N32")}},
        {"ZB2Click", {QStringLiteral("ZB2"), QStringLiteral("N33")}},
        {"GB3Click", {QStringLiteral("GB3")}},
        {"PgB1Click", {QStringLiteral("PgB1"), QStringLiteral("N29"), QStringLiteral("N41")}},
        {"PgB2Click", {QStringLiteral("PgB2"), QStringLiteral("N30"), QStringLiteral("N43")}},
        {"PgB3Click", {QStringLiteral("PgB3"), QStringLiteral("N25"), QStringLiteral("N44")}},
        {"PgB4Click", {QStringLiteral("PgB4"), QStringLiteral("N15"), QStringLiteral("N45")}},
        {"HelpBtnClick", {QStringLiteral("HelpBtn"), QStringLiteral("N35")}},
        {"ClB1Click", {QStringLiteral("ClB1"), QStringLiteral("ClB2"), QStringLiteral("ClB3")}},
        {"StB1Click", {QStringLiteral("StB1")}},
        // Commands over dialogs: enabled when both the command and its
        // dialog's slot are filled.
        {"N8Click", {QStringLiteral("N8")}},
        {"N42Click", {QStringLiteral("N42")}},
        {"N14Click", {QStringLiteral("N14")}},
        {"HlB1Click", {QStringLiteral("HlB1")}},
        {"N23Click", {QStringLiteral("N23")}},
    };
    for (const auto &[handler, controls] : later) {
        const QString name = QString::fromLatin1(handler);
        m_laterControls[name] = controls;
        connectCommand(name, controls, [this, name] { runLater(name); });
    }
    for (int i = 1; i <= 10; ++i) {
        const QString name = QStringLiteral("Align%1Click").arg(i);
        m_laterControls[name] = {QStringLiteral("Align%1").arg(i)};
        connectCommand(name, m_laterControls[name], [this, name] { runLater(name); });
    }
    // Attributes of the tool bars: one command by the control's tag.
    for (const char *name : {"FrB1", "FrB2", "FrB3", "FrB4", "FrB5", "FrB6", "FnB1", "FnB2", "FnB3",
                             "AlB1", "AlB2", "AlB3", "AlB4", "AlB5", "AlB6", "AlB7", "AlB8"}) {
        TfrSpeedButton *b = button(QString::fromLatin1(name));
        b->OnClick = [this, b] {
            platform::guard([&] {
                if (m_core->state.Requests.attributeCommand)
                    m_core->state.Requests.attributeCommand(tagOf(b));
            });
        };
    }
    for (TfrCustomComboBox *combo :
         {static_cast<TfrCustomComboBox *>(C2), static_cast<TfrCustomComboBox *>(C3),
          static_cast<TfrCustomComboBox *>(C4)})
        combo->OnClick = [this, combo] {
            if (m_core->state.Requests.attributeCommand)
                m_core->state.Requests.attributeCommand(tagOf(combo));
        };

    // Key previewing while the window lives; wheel steps of 8 pixels.
    setFocusPolicy(Qt::StrongFocus);
}

void TfrDesignerForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_keyFilter) {
        qApp->installEventFilter(this);
        m_keyFilter = true;
    }
    platform::guard([&] { FormShow(); });
    // On the screen: placed by the window system, and its frame known now or
    // a little later.
    m_awaitingFrame = true;
    platform::guard([&] { fitToScreen(); });
    // The tool windows shown with it (inspector, DB fields, floating bars)
    // reach the screen before the window itself: a window manager that meets
    // them first cannot tie them to a window it does not know yet, and keeps
    // them below it for good (openbox does), or loses them when they come
    // again before it has taken the window. Once the window is really on the
    // screen (exposed: the window manager has taken it), they come again.
    m_earlyTools.clear();
    for (QWidget *tool : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (tool->isWindow() && tool->windowType() == Qt::Tool && tool->isVisible())
            m_earlyTools.append(tool);
    m_toolsAwaitExposure = true;
    if (windowHandle() && windowHandle()->isExposed())
        toolsOnScreen();
    QTimer::singleShot(0, this, [this] {
        platform::guard([&] {
            fitToScreen();
            // Tool windows shown with it and never placed go beside the page.
            for (QWidget *tool : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                if (tool->isWindow() && tool->isVisible())
                    frPlaceToolWindow(tool);
            frKeepToolWindowsApart(this);
        });
    });
}

void TfrDesignerForm::toolsOnScreen()
{
    m_toolsAwaitExposure = false;
    QTimer::singleShot(0, this, [this] {
        platform::guard([&] {
            const QList<QPointer<QWidget>> early = std::exchange(m_earlyTools, {});
            for (const QPointer<QWidget> &tool : early)
                if (tool && tool->isVisible() && isVisible()) {
                    tool->hide();
                    tool->show();
                    m_framingTools.append(tool);
                }
        });
    });
}

void TfrDesignerForm::toolFramed(QObject *handle)
{
    for (qsizetype i = 0; i < m_framingTools.size(); ++i) {
        const QPointer<QWidget> &tool = m_framingTools.at(i);
        if (!tool || tool->windowHandle() != handle || !tool->windowHandle()->isExposed())
            continue;
        m_framingTools.removeAt(i);
        // Placed while their frames were only allowed for: with the frames
        // the window manager gave them, the inspector and the DB fields
        // window are stacked or kept apart again.
        QTimer::singleShot(0, this, [this] {
            platform::guard([&] {
                if (m_core->state.Requests.toolWindowChanged)
                    m_core->state.Requests.toolWindowChanged();
                frKeepToolWindowsApart(this);
            });
        });
        return;
    }
}

void TfrDesignerForm::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    // The window manager frames and places a new window a moment after it
    // shows, where it likes: once its frame is known, the window is fitted
    // again. Later moves are the user's.
    if (m_awaitingFrame && isVisible() && frameGeometry() != geometry()) {
        m_awaitingFrame = false;
        platform::guard([&] { fitToScreen(); });
    }
}

void frPlaceToolWindow(QWidget *tool)
{
    auto *designer = qobject_cast<TfrDesignerForm *>(tool ? tool->parentWidget() : nullptr);
    if (!designer || !designer->isVisible() || !tool->property(kPlaceBesideDesigner).toBool())
        return;
    tool->setProperty(kPlaceBesideDesigner, false);
    const QRect area(designer->ScrollBox1->mapToGlobal(QPoint(0, 0)), designer->ScrollBox1->size());
    const QSize outer = tool->size().grownBy(platform::windowFrameMargins(tool));
    const bool top = tool->objectName() == QLatin1String("frInspForm");
    tool->move(std::max(area.left(), area.right() + 1 - outer.width()),
               top ? area.top() : std::max(area.top(), area.bottom() + 1 - outer.height()));
    if (designer->state().Requests.toolWindowChanged)
        designer->state().Requests.toolWindowChanged();
}

void frKeepToolWindowsApart(QWidget *designer)
{
    if (!designer || !designer->isVisible())
        return;
    QWidget *inspector = nullptr, *fields = nullptr;
    for (QWidget *tool : designer->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!tool->isWindow() || !tool->isVisible())
            continue;
        if (tool->objectName() == QLatin1String("frInspForm"))
            inspector = tool;
        else if (tool->objectName() == QLatin1String("InsFieldsForm"))
            fields = tool;
    }
    if (!inspector || !fields)
        return;
    // Frames as the window system tells them, else allowed for.
    const QMargins margins = platform::windowFrameMargins(fields);
    const QRect frame = fields->geometry().marginsAdded(margins);
    const QRect apart = frSeparateToolWindows(
        inspector->geometry().marginsAdded(platform::windowFrameMargins(inspector)), frame,
        platform::availableScreenAreas());
    if (apart != frame)
        fields->setGeometry(apart.marginsRemoved(margins));
}

void TfrDesignerForm::done(int result)
{
    const RequestSlots &req = m_core->state.Requests;
    if (req.closeQuery && !m_destroying) {
        int modalResult = result == QDialog::Accepted ? platform::mrOk : platform::mrCancel;
        bool allowed = false;
        if (!platform::guard([&] { allowed = req.closeQuery(modalResult); }) || !allowed)
            return;
        result = modalResult == platform::mrOk ? QDialog::Accepted : QDialog::Rejected;
    }
    QDialog::done(result);
}

void TfrDesignerForm::FormShow()
{
    DesignerState &st = m_core->state;
    // The report designed is the current one (the prepared-page editor is
    // made before its page becomes current).
    if (report::fr().frCurrentReport)
        st.Report = report::fr().frCurrentReport;

    // 1. The pencil of the line tool.
    const QImage pencil = platform::LoadBitmap(QStringLiteral("FR_PENCIL"));
    m_pencil = pencil.isNull() ? QCursor(Qt::CrossCursor)
                               : QCursor(QPixmap::fromImage(pencil), 0, pencil.height() - 1);
    // 2.
    Panel7->hide();
    // 3.
    updateAvailability();
    // 4. Menu items show their buttons' glyphs.
    if (m_firstShowPending) {
        refreshMenuGlyphs();
        m_firstShowPending = false;
    }
    // 6. A fresh history; the prepared-page editor keeps its own flag.
    m_core->undo.ClearUndoBuffer();
    m_core->undo.ClearRedoBuffer();
    SetModified(false);
    if (DesignMode == 1 && st.Report)
        st.Report->ChangedInDesign = false;
    // 7.
    report::frObjects().frDocMode = 0;
    // 8. New text takes "Arial" 10 until the tool bars change it.
    LastUsedAttributes &last = designerGlobals().lastUsed;
    if (last.FontName.isEmpty())
        last.FontName = QStringLiteral("Arial");
    if (last.FontSize <= 0)
        last.FontSize = 10;
    // 9.
    SetCurPage(0);
    if (PageForm)
        PageForm->show();
    // 10.
    if (DesignMode == 1 && st.Report)
        SetWindowCaption(st.Report->FileName);
    else
        SetWindowCaption(frLoadString(55209));
    // 11.
    st.UnselectAll();
    m_core->gestures.resetMouseState();
    selectionChanged();
    pressTool(kToolSelect);
    OB1Click();
    // 12. The colour buttons start black.
    PaintColorGlyph(0, button(QStringLiteral("ClB1")), 1);
    PaintColorGlyph(0, button(QStringLiteral("ClB2")), 0);
    PaintColorGlyph(0, button(QStringLiteral("ClB3")), 2);
    // 13.
    LinePanel->hide();
    C2->setCurrentText(last.FontName);
    C3->setCurrentText(QString::number(last.FontSize));
    if (st.Requests.inspectorRefill)
        st.Requests.inspectorRefill();
    frLoadDesignerWindowSettings(*this);
    SetGridShow(st.Settings.GridShow);
    SetGridAlign(st.Settings.GridAlign);
    button(QStringLiteral("GB1"))->SetDown(st.Settings.GridShow);
    button(QStringLiteral("GB2"))->SetDown(st.Settings.GridAlign);
    SetUnits(st.Settings.Units);
    SetGrayButtons(st.Settings.GrayButtons);
    FormResize();
}

void TfrDesignerForm::FormDestroy()
{
    // Settings that cannot be written are told; the window goes all the same.
    if (!m_firstShowPending)
        platform::guard([this] { frSaveDesignerWindowSettings(*this); });
    m_destroying = true;
    if (m_keyFilter) {
        qApp->removeEventFilter(this);
        m_keyFilter = false;
    }
    m_core->undo.ClearUndoBuffer();
    m_core->undo.ClearRedoBuffer();
    DesignerState &st = m_core->state;
    // The prepared-page editor leaves the report's name alone.
    if (DesignMode == 1 && st.Report)
        st.Report->FileName = m_fileName;
    if (PageForm) {
        PageForm->OnResize = nullptr;
        PageForm->hide();
    }
    if (DesignMode == 1 && st.Requests.dbFieldsHide)
        st.Requests.dbFieldsHide();
    // The rules go before the widgets: nothing may reach them afterwards.
    Tab1->disconnect(this);
    ScrollBox1->horizontalScrollBar()->disconnect(this);
    ScrollBox1->verticalScrollBar()->disconnect(this);
    delete PageView;
    PageView = nullptr;
    delete PageForm.data();
}

void TfrDesignerForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    layoutFrame();
    if (!m_destroying && isVisible())
        platform::guard([&] { FormResize(); });
}

void TfrDesignerForm::layoutFrame()
{
    if (!MainMenu1 || !m_central)
        return;
    const int w = width(), h = height();
    // On a narrow screen the frame bar leaves the text bar's row rather than
    // being cut off at the window's edge.
    if (Panel1->Dock() == frDock1 && Panel3->Dock() == frDock1 && Panel1->y() == Panel3->y() &&
        Panel1->x() + Panel1->width() > w)
        Panel1->DockTo(frDock1, 0, frDock1->height() - 1);
    const int menuH = MainMenu1->sizeHint().height();
    MainMenu1->setGeometry(0, 0, w, menuH);
    const int statusH = StatusBar1->height();
    const int topH = std::max(1, frDock1->height());
    frDock1->setGeometry(0, menuH, w, topH);
    const int bottomH = std::max(1, frDock3->height());
    frDock3->setGeometry(0, h - statusH - bottomH, w, bottomH);
    const int midTop = menuH + topH;
    const int midH = std::max(1, h - statusH - bottomH - midTop);
    const int leftW = std::max(1, frDock2->width());
    const int rightW = std::max(1, frDock4->width());
    frDock2->setGeometry(0, midTop, leftW, midH);
    frDock4->setGeometry(w - rightW, midTop, rightW, midH);
    m_central->setGeometry(leftW, midTop, std::max(1, w - leftW - rightW), midH);
    // The tab row keeps its height while the tabs are rebuilt.
    const int tabH = std::max(Tab1->sizeHint().height(), Tab1->fontMetrics().height() + 12);
    Tab1->setGeometry(0, 0, m_central->width(), tabH);
    ScrollBox1->setGeometry(0, tabH, m_central->width(), std::max(1, midH - tabH));
    StatusBar1->setGeometry(0, h - statusH, w, statusH);
    Panel7->setGeometry(TfrDesignerStatusBar::kWidths[0] + 2, StatusBar1->y() + 3,
                        TfrDesignerStatusBar::kWidths[1] - 6, statusH - 6);
    PBox1->setGeometry(Panel7->rect());
}

void TfrDesignerForm::FormResize()
{
    if (m_destroying)
        return;
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    layoutSurface();
    Panel7->move(Panel7->x(), StatusBar1->y() + 3);
    Panel7->show();
    Panel7->raise();
}

void TfrDesignerForm::layoutSurface()
{
    DesignerState &st = m_core->state;
    if (PageForm && st.isDialogPage()) {
        auto keep = std::move(PageForm->OnResize);
        PageForm->OnResize = nullptr;
        PageView->setGeometry(PageForm->rect());
        PageForm->OnResize = std::move(keep);
        m_scrollContent->resize(ScrollBox1->viewport()->size());
    } else {
        const int client = ScrollBox1->viewport()->width();
        const QRect r = m_core->surface.layout(client, ScrollBox1->width());
        PageView->setGeometry(r);
        const qint64 cw = std::max<qint64>(client, qint64(r.x()) + r.width() + 10);
        const qint64 ch = qint64(r.y()) + r.height() + 10;
        m_scrollContent->resize(int(std::min<qint64>(cw, QWIDGETSIZE_MAX)),
                                int(std::min<qint64>(ch, QWIDGETSIZE_MAX)));
    }
    m_core->surface.invalidate();
    RepaintPage();
}

void TfrDesignerForm::keyPressEvent(QKeyEvent *event)
{
    // Escape and Enter belong to the page (tool reset, editor), never close
    // the window.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrDesignerForm::wheelEvent(QWheelEvent *event)
{
    event->accept();
}

bool TfrDesignerForm::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || w->window() != this || !isVisible() || QApplication::activePopupWidget())
            break;
        // A key not taken goes up the parents, through this filter again:
        // the window sees it once, at the control that has the focus.
        QWidget *target = focusWidget() ? focusWidget() : this;
        if (w != target)
            break;
        auto *k = static_cast<QKeyEvent *>(event);
        int key = designerKeyOf(*k);
        bool handled = false;
        platform::guard([&] {
            m_core->keys.FormKeyDown(key, k->modifiers());
            handled = key == 0;
        });
        if (handled)
            return true;
        break;
    }
    case QEvent::Wheel:
        if (watched == ScrollBox1->viewport()) {
            auto *wheel = static_cast<QWheelEvent *>(event);
            const int delta = wheel->angleDelta().y();
            if (delta != 0) {
                QScrollBar *v = ScrollBox1->verticalScrollBar();
                v->setValue(v->value() + (delta > 0 ? -8 : 8));
            }
            return true;
        }
        break;
    case QEvent::MouseButtonPress: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (watched == Tab1 && me->button() == Qt::RightButton) {
            Popup2->popup(me->globalPosition().toPoint());
            return true;
        }
        if (auto *b = qobject_cast<TfrTBButton *>(watched);
            b && b->parentWidget() == Panel4 && me->button() == Qt::LeftButton && b->isEnabled()) {
            const int tag = tagOf(b);
            if (tag != kToolSelect)
                platform::guard([&] { OB2MouseDown(tag, me->modifiers()); });
        }
        break;
    }
    case QEvent::Expose:
        if (m_toolsAwaitExposure && watched == windowHandle() && windowHandle()->isExposed())
            toolsOnScreen();
        else if (!m_framingTools.isEmpty() && watched->isWindowType())
            toolFramed(watched);
        break;
    case QEvent::Resize:
        if (watched == frDock1 || watched == frDock2 || watched == frDock3 || watched == frDock4)
            layoutFrame();
        else if (watched == ScrollBox1 && !m_destroying && isVisible())
            platform::guard([&] { layoutSurface(); });
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrDesignerForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    m_core->keys.FormKeyDown(key, modifiers);
}

// --- designer interface

bool TfrDesignerForm::IsModified() const
{
    return m_core->state.isModified();
}

void TfrDesignerForm::SetModified(bool value)
{
    m_core->state.storeModified(value);
    // A report named after a file that is not there yet (a template the
    // program designs before it exists) can be saved unchanged: otherwise
    // nothing would ever create that file.
    const bool notOnDisk = DesignMode == 1 && !m_fileName.isEmpty() &&
                           m_fileName != frLoadString(55209) && !QFileInfo::exists(m_fileName);
    const bool save = (value || notOnDisk) && !DesignerState::restricted(drNoSaveReport) &&
                      hasLater(QStringLiteral("FileBtn3Click"));
    button(QStringLiteral("FileBtn3"))->setEnabled(save);
    action(QStringLiteral("N20"))->setEnabled(save);
}

void TfrDesignerForm::NotifyBeforeChange()
{
    m_core->undo.RecordUndo(ukEdited);
    undoStateChanged();
}

void TfrDesignerForm::NotifyAfterChange()
{
    if (!m_core->state.page())
        return;
    m_core->surface.Draw(10000, std::nullopt);
    selectionChanged();
}

void TfrDesignerForm::RepaintPage()
{
    if (!m_core->state.page() || m_destroying)
        return;
    m_core->surface.Draw(10000, std::nullopt);
}

void TfrDesignerForm::SelectByName(const QString &name)
{
    m_core->SelectByName(name);
}

QString TfrDesignerForm::PickDataField()
{
    return m_core->PickDataField();
}

QString TfrDesignerForm::PickExpression()
{
    return m_core->PickExpression();
}

void TfrDesignerForm::TemplateAboutToRebuild()
{
    m_core->templateAboutToRebuild();
}

void TfrDesignerForm::TemplateRebuilt()
{
    // The engine gave back the page of the same index, made anew.
    m_core->templateRebuilt();
    if (m_destroying || !m_core->state.Report)
        return;
    const int n = m_core->state.Report->Pages().Count();
    if (n > 0)
        SetCurPage(std::clamp(m_core->state.CurPage, 0, n - 1));
}

void TfrDesignerForm::fitToScreen()
{
    // On a screen smaller than the window (a small laptop) the window opens
    // fitted to it, frame included; the page area scrolls. A window that fits
    // keeps the place the window system gives it.
    const QRect area = platform::availableScreenArea(this);
    if (area.isEmpty())
        return;
    const QMargins frame = platform::windowFrameMargins(this);
    const QSize room(area.width() - frame.left() - frame.right(),
                     area.height() - frame.top() - frame.bottom());
    if (room.width() <= 0 || room.height() <= 0)
        return;
    const bool tooLarge = width() > room.width() || height() > room.height();
    if (tooLarge)
        resize(size().boundedTo(room));
    // Before it shows, the window system places it; once shown, a window
    // lying partly off the screen is moved onto it. Its position is that of
    // its frame.
    const QRect outer(pos(), size().grownBy(frame));
    if (!isVisible() || area.contains(outer))
        return;
    move(std::clamp(x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())),
         std::clamp(y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
}

int TfrDesignerForm::ShowModal()
{
    platform::ModalScope scope;
    setModal(true);
    winId(); // the frame of a window already made is known before it shows
    fitToScreen();
    const int result = exec();
    if (m_keyFilter) {
        qApp->removeEventFilter(this);
        m_keyFilter = false;
    }
    if (PageForm)
        PageForm->hide();
    return result == QDialog::Accepted ? platform::mrOk : platform::mrCancel;
}

// --- DesignerView

void TfrDesignerForm::surfaceChanged(const QRegion &region)
{
    if (PageView)
        PageView->update(region);
}

void TfrDesignerForm::setSurfaceCursor(SurfaceCursor cursor)
{
    m_cursor = cursor;
    if (!PageView)
        return;
    switch (cursor) {
    case SurfaceCursor::Default:
        PageView->setCursor(Qt::ArrowCursor);
        break;
    case SurfaceCursor::Pencil:
        PageView->setCursor(m_pencil);
        break;
    case SurfaceCursor::Cross:
        PageView->setCursor(Qt::CrossCursor);
        break;
    case SurfaceCursor::SizeNWSE:
        PageView->setCursor(Qt::SizeFDiagCursor);
        break;
    case SurfaceCursor::SizeNESW:
        PageView->setCursor(Qt::SizeBDiagCursor);
        break;
    case SurfaceCursor::SizeNS:
        PageView->setCursor(Qt::SizeVerCursor);
        break;
    case SurfaceCursor::SizeWE:
        PageView->setCursor(Qt::SizeHorCursor);
        break;
    case SurfaceCursor::HorizontalSplit:
        PageView->setCursor(Qt::SplitHCursor);
        break;
    }
}

QRect TfrDesignerForm::visibleRect() const
{
    if (!PageView)
        return {};
    if (PageForm && PageView->parentWidget() == PageForm)
        return PageView->rect();
    const QWidget *vp = ScrollBox1->viewport();
    const QRect r(ScrollBox1->horizontalScrollBar()->value() - PageView->x(),
                  ScrollBox1->verticalScrollBar()->value() - PageView->y(), vp->width(),
                  vp->height());
    return r.intersected(PageView->rect());
}

void TfrDesignerForm::scrollTo(int x, int y)
{
    if (!PageView)
        return;
    if (PageForm && PageView->parentWidget() == PageForm)
        return;
    ScrollBox1->horizontalScrollBar()->setValue(x + PageView->x());
    ScrollBox1->verticalScrollBar()->setValue(y + PageView->y());
}

int TfrDesignerForm::activeTool() const
{
    for (TfrTBButton *b : Panel4->findChildren<TfrTBButton *>())
        if (b->Down() && !b->isHidden())
            return tagOf(b);
    return kToolSelect;
}

void TfrDesignerForm::pressTool(int tag)
{
    for (TfrTBButton *b : Panel4->findChildren<TfrTBButton *>())
        if (tagOf(b) == tag) {
            b->SetDown(true);
            return;
        }
}

void TfrDesignerForm::OB1Click()
{
    m_core->gestures.selectToolPressed();
}

void TfrDesignerForm::OB2MouseDown(int tag, Qt::KeyboardModifiers modifiers)
{
    // Shift keeps the tool after one insertion.
    m_core->gestures.toolPressed(tag, modifiers & Qt::ShiftModifier);
}

void TfrDesignerForm::selectionChanged()
{
    if (m_destroying)
        return;
    DesignerState &st = m_core->state;
    st.SelectedCount = st.countSelected();
    // The third panel names the single selected object.
    StatusBar1->setPanelText(2, frSelectionStatusText(st));
    if (st.Requests.fillToolbars)
        st.Requests.fillToolbars();
    updateAvailability();
    PBox1->update();
    if (st.Requests.inspectorRefill)
        st.Requests.inspectorRefill();
}

void TfrDesignerForm::positionChanged()
{
    PBox1->update();
}

void TfrDesignerForm::undoStateChanged()
{
    if (m_destroying)
        return;
    const bool undo = m_core->undo.count(UndoManager::UndoBuffer) > 0;
    const bool redo = m_core->undo.count(UndoManager::RedoBuffer) > 0;
    button(QStringLiteral("UndoB"))->setEnabled(undo);
    action(QStringLiteral("N46"))->setEnabled(undo);
    button(QStringLiteral("RedoB"))->setEnabled(redo);
    action(QStringLiteral("N48"))->setEnabled(redo);
}

void TfrDesignerForm::openObjectPopup(const QPoint &surfacePos)
{
    if (!PageView)
        return;
    Popup1->popup(PageView->mapToGlobal(surfacePos));
}

bool TfrDesignerForm::fontSizeBoxHasFocus() const
{
    return C3->hasFocus();
}

bool TfrDesignerForm::lineWidthBoxHasFocus() const
{
    return C4->hasFocus();
}

void TfrDesignerForm::toggleStyleButton(int which)
{
    static const char *names[] = {"FnB1", "FnB2", "FnB3"};
    if (which < 0 || which > 2)
        return;
    TfrSpeedButton *b = button(QString::fromLatin1(names[which]));
    b->SetDown(!b->Down());
}

void TfrDesignerForm::setLineWidthText(const QString &text)
{
    C4->setCurrentText(text);
}

// --- commands

void TfrDesignerForm::setCommand(const QStringList &controls, bool enabled)
{
    for (const QString &name : controls) {
        if (TfrSpeedButton *b = button(name))
            b->setEnabled(enabled);
        else if (QAction *a = action(name))
            a->setEnabled(enabled);
    }
}

void TfrDesignerForm::updateAvailability()
{
    if (m_destroying)
        return;
    DesignerState &st = m_core->state;
    const bool composite = dynamic_cast<report::TfrCompositeReport *>(st.Report) != nullptr;
    Availability av =
        computeAvailability(DesignMode, report::frObjects().frDesignerRestrictions, composite);
    // The page the prepared-page editor works on belongs to the engine:
    // opening another report would free it.
    if (DesignMode != 1)
        av.open = false;
    const RequestSlots &req = st.Requests;
    auto later = [&](const char *handler, bool allowed) {
        const QString name = QString::fromLatin1(handler);
        setCommand(m_laterControls[name], allowed && hasLater(name));
    };
    later("FileBtn1Click", av.newReport);
    later("N23Click", av.newReport && bool(req.templates));
    later("FileBtn2Click", av.open);
    later("N20Click", av.save);
    later("FileBtn4Click", av.preview);
    later("PgB1Click", av.addPage);
    later("PgB2Click", av.deletePage);
    later("PgB3Click", av.pageOptions);
    later("PgB4Click", av.addDialogPage);
    later("N42Click", av.dictionary && bool(req.dictionary));
    later("N8Click", av.reportOptions && bool(req.reportOptions));
    later("N14Click", bool(req.designerOptions));
    setCommand({QStringLiteral("N34")}, bool(req.about));
    setCommand({QStringLiteral("N22")}, bool(req.help));
    setCommand({QStringLiteral("Pan6")}, bool(req.inspectorShow));
    setCommand({QStringLiteral("Pan8")}, bool(req.dbFieldsShow));
    later("HelpBtnClick", true);
    // The band tool asks for the band's type: without that dialog it could
    // only ever insert nothing.
    button(QStringLiteral("OB3"))->setEnabled(av.bandTool && bool(req.bandType));
    button(QStringLiteral("OB5"))->setEnabled(av.subreportTool);
    SetModified(IsModified());

    // What the selection allows.
    const int state = st.page() ? st.selectionState() : 0;
    const bool any = st.page() && st.countSelected() > 0;
    setCommand({QStringLiteral("CutB"), QStringLiteral("N11"), QStringLiteral("N2"),
                QStringLiteral("CopyB"), QStringLiteral("N12"), QStringLiteral("N1"),
                QStringLiteral("N5"), QStringLiteral("N27")},
               any);
    setCommand({QStringLiteral("PstB"), QStringLiteral("N13"), QStringLiteral("N3")},
               bool(state & ssClipboard) && st.page());
    setCommand({QStringLiteral("SelAllB"), QStringLiteral("N28"), QStringLiteral("N16")},
               st.page() != nullptr);
    setCommand({QStringLiteral("N6"), QStringLiteral("N7")},
               st.countSelected() == 1 && bool(req.objectEditor));
    later("ZB1Click", any);
    later("ZB2Click", any);
    later("GB3Click", any);
    for (int i = 1; i <= 10; ++i)
        later(QStringLiteral("Align%1Click").arg(i).toLatin1().constData(), any);
    const bool frame = (state & (ssOneMemo | ssOneOther | ssSeveral)) && !st.isDialogPage();
    const bool text = state & (ssOneMemo | ssSeveral);
    const bool attributes = bool(req.attributeCommand);
    for (const char *name : {"FrB1", "FrB2", "FrB3", "FrB4", "FrB5", "FrB6"})
        button(QString::fromLatin1(name))->setEnabled(frame && attributes);
    C4->setEnabled(frame && attributes);
    setCommand({QStringLiteral("ClB1"), QStringLiteral("ClB3")},
               frame && hasLater(QStringLiteral("ClB1Click")));
    setCommand({QStringLiteral("StB1")}, frame && hasLater(QStringLiteral("StB1Click")));
    for (const char *name :
         {"FnB1", "FnB2", "FnB3", "AlB1", "AlB2", "AlB3", "AlB4", "AlB5", "AlB6", "AlB7", "AlB8"})
        button(QString::fromLatin1(name))->setEnabled(text && attributes);
    C2->setEnabled(text && attributes);
    C3->setEnabled(text && attributes);
    setCommand({QStringLiteral("ClB2")}, text && hasLater(QStringLiteral("ClB1Click")));
    later("HlB1Click", text && bool(req.highlight));
    setCommand({QStringLiteral("Tool1"), QStringLiteral("ToolBtn1")},
               DesignMode == 1 && hasLater(QStringLiteral("InsertFieldsClick")) &&
                   bool(req.insertFields));
    undoStateChanged();
    frDisableRestrictedCommands(*this);
}

void TfrDesignerForm::afterEdit()
{
    selectionChanged();
    undoStateChanged();
}

void TfrDesignerForm::UndoBClick()
{
    m_core->Undo();
    afterEdit();
}

void TfrDesignerForm::RedoBClick()
{
    m_core->Redo();
    afterEdit();
}

void TfrDesignerForm::CutBClick()
{
    m_core->CutSelection();
    afterEdit();
}

void TfrDesignerForm::CopyBClick()
{
    m_core->CopySelection();
    afterEdit();
}

void TfrDesignerForm::PstBClick()
{
    m_core->Paste();
    afterEdit();
}

void TfrDesignerForm::N5Click()
{
    m_core->keys.DeleteSelectedObjects();
    afterEdit();
}

void TfrDesignerForm::SelAllBClick()
{
    DesignerState &st = m_core->state;
    if (!st.page())
        return;
    st.SelectAllObjects();
    st.computeGroupRect();
    RepaintPage();
    selectionChanged();
}

void TfrDesignerForm::GB1Click()
{
    SetGridShow(button(QStringLiteral("GB1"))->Down());
}

void TfrDesignerForm::GB2Click()
{
    SetGridAlign(button(QStringLiteral("GB2"))->Down());
}

void TfrDesignerForm::ExitBClick()
{
    accept();
}

void TfrDesignerForm::Tab1Change(int index)
{
    if (index >= 0 && index != m_core->state.CurPage)
        SetCurPage(index);
}

void TfrDesignerForm::StatusBar1DblClick()
{
    SetUnits((m_core->state.Settings.Units + 1) % 3);
}

// --- pages

void TfrDesignerForm::swapObjectToolBar()
{
    for (TfrTBButton *b : Panel4->findChildren<TfrTBButton *>()) {
        if (b->objectName() == QLatin1String("OB1"))
            continue;
        b->setHidden(!b->isHidden());
        b->setGeometry(1000, 1000, 22, 22);
    }
    Panel4->AdjustBounds();
    if (Panel4->IsFloat())
        Panel4->FloatWindow()->resize(Panel4->size());
    frDock2->AdjustBounds();
}

void TfrDesignerForm::SetCurPage(int n)
{
    DesignerState &st = m_core->state;
    if (!st.Report)
        return;
    report::TfrPages &pages = st.Report->Pages();
    if (pages.Count() == 0)
        return;
    if (n < 0 || n >= pages.Count())
        n = 0;
    // 1.
    st.CurPage = n;
    report::TfrPage *page = pages.GetPage(n);
    Page = page;
    report::frObjects().frCurrentPage = page;
    const bool dialog = page->PageType() == report::ptDialog;
    TfrSpeedButton *ob2 = button(QStringLiteral("OB2"));
    // 2. A dialog page is edited in a window of its own.
    if (dialog && !PageForm) {
        if (!ob2->isHidden())
            swapObjectToolBar();
        PageForm = new TfrPageForm(this);
        PageForm->setGeometry(page->FormLeft, page->FormTop, page->FormWidth, page->FormHeight);
        PageView->setParent(PageForm);
        PageView->show();
    }
    // 3. Back on a report page.
    if (!dialog && PageForm) {
        PageForm->OnResize = nullptr;
        if (ob2->isHidden())
            swapObjectToolBar();
        PageView->setParent(m_scrollContent);
        PageView->show();
        delete PageForm.data();
    }
    // 4.
    if (PageForm) {
        PageForm->OnResize = nullptr;
        PageForm->setGeometry(page->FormLeft, page->FormTop, page->FormWidth, page->FormHeight);
        PageForm->OnResize = [this] {
            report::TfrPage *p = m_core->state.page();
            if (!p || !PageForm || p->PageType() != report::ptDialog)
                return;
            const QRect g = PageForm->geometry();
            if (g == QRect(p->FormLeft, p->FormTop, p->FormWidth, p->FormHeight))
                return;
            p->FormLeft = g.left();
            p->FormTop = g.top();
            p->FormWidth = g.width();
            p->FormHeight = g.height();
            SetModified(true);
            layoutSurface();
        };
        PageForm->setWindowTitle(page->Caption);
        QPalette pal = PageForm->palette();
        pal.setColor(QPalette::Window, platform::toQColor(platform::TColor(page->Color)));
        PageForm->setPalette(pal);
        if (isVisible())
            PageForm->show();
    }
    // 5.
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    UpdatePageTabs();
    {
        const QSignalBlocker block(Tab1);
        Tab1->setCurrentIndex(n);
    }
    st.UnselectAll();
    st.setLastSelected(nullptr);
    st.SortObjects();
    // Every object settles its drawing state once before it is shown.
    m_core->surface.FirstDrawing();
    layoutSurface();
    selectionChanged();
}

void TfrDesignerForm::UpdatePageTabs()
{
    const QStringList texts = m_core->pageTabTexts();
    const QSignalBlocker block(Tab1);
    if (Tab1->count() != texts.size()) {
        while (Tab1->count() > 0)
            Tab1->removeTab(0);
        for (const QString &t : texts)
            Tab1->addTab(t);
    } else {
        for (int i = 0; i < texts.size(); ++i)
            if (Tab1->tabText(i) != texts[i])
                Tab1->setTabText(i, texts[i]);
    }
    if (m_core->state.CurPage < Tab1->count())
        Tab1->setCurrentIndex(m_core->state.CurPage);
}

// --- settings

void TfrDesignerForm::SetGridSize(int size)
{
    if (m_core->state.Settings.GridSize == size)
        return;
    m_core->state.Settings.GridSize = size;
    RepaintPage();
}

void TfrDesignerForm::SetGridShow(bool show)
{
    button(QStringLiteral("GB1"))->SetDown(show);
    if (m_core->state.Settings.GridShow == show)
        return;
    m_core->state.Settings.GridShow = show;
    RepaintPage();
}

void TfrDesignerForm::SetGridAlign(bool align)
{
    button(QStringLiteral("GB2"))->SetDown(align);
    m_core->state.Settings.GridAlign = align;
}

void TfrDesignerForm::SetUnits(int units)
{
    m_core->state.Settings.Units = units;
    StatusBar1->setPanelText(0, frLoadString(55330 + std::clamp(units, 0, 2)));
    PBox1->update();
}

void TfrDesignerForm::SetGrayButtons(bool gray)
{
    m_core->state.Settings.GrayButtons = gray;
    for (TfrToolBar *bar : {Panel1, Panel2, Panel3, Panel4, Panel5, Panel6})
        for (TfrSpeedButton *b : bar->findChildren<TfrSpeedButton *>())
            b->SetGrayedInactive(gray);
}

void TfrDesignerForm::SetWindowCaption(const QString &fileName)
{
    m_fileName = fileName;
    const QString base = fileName.mid(
        std::max(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\'))) +
        1);
    setWindowTitle(frLoadString(53080) + QStringLiteral(" - ") + base);
}

void TfrDesignerForm::PaintColorGlyph(platform::TColor color, TfrSpeedButton *button, int index)
{
    if (!button)
        return;
    QImage bmp = Image1.copy(32 * index, 0, 32, 16).convertToFormat(QImage::Format_RGB32);
    const QRgb red = qRgb(255, 0, 0);
    const QRgb to = platform::toQColor(color).rgb();
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x)
            if (bmp.pixel(x, y) == red)
                bmp.setPixel(x, y, to);
    if (color == platform::clNone) {
        const QRgb face = palette().color(QPalette::Button).rgb();
        for (int x = 1; x <= 14; ++x)
            bmp.setPixel(x, 13, face);
    }
    button->SetGlyph(bmp);
    button->SetNumGlyphs(2);
}

void TfrDesignerForm::refreshMenuGlyphs()
{
    const QPixmap check = transparentGlyph(platform::LoadBitmap(QStringLiteral("FR_CHECK")));
    for (auto &[name, a] : m_actions) {
        const QString paired = a->property("PairedButton").toString();
        if (!paired.isEmpty()) {
            if (TfrSpeedButton *b = button(paired)) {
                const QImage g = b->Glyph();
                const int w = b->NumGlyphs() > 1 ? g.width() / b->NumGlyphs() : g.width();
                a->setIcon(QIcon(transparentGlyph(g.copy(0, 0, w, g.height()))));
            }
        }
    }
    // The tool bar items are ticked by the visibility of their bar.
    TfrToolBar *bars[] = {Panel1, Panel2, Panel3, Panel4, Panel5, nullptr, Panel6};
    for (int i = 0; i < 7; ++i) {
        if (!bars[i])
            continue;
        QAction *a = action(QStringLiteral("Pan%1").arg(i + 1));
        a->setIcon(bars[i]->IsVisible() && !check.isNull() ? QIcon(check) : QIcon());
    }
    // The tool windows' items by whether those windows are open.
    const RequestSlots &req = m_core->state.Requests;
    const bool inspector = req.inspectorSettings && req.inspectorSettings().second;
    const bool dbFields = req.dbFieldsVisible && req.dbFieldsVisible();
    action(QStringLiteral("Pan6"))->setIcon(inspector && !check.isNull() ? QIcon(check) : QIcon());
    action(QStringLiteral("Pan8"))->setIcon(dbFields && !check.isNull() ? QIcon(check) : QIcon());
}

} // namespace designer
