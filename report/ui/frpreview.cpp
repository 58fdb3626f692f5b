#include "report/ui/frpreview.h"

#include "platform/canvas/bitmaps.h"
#include "platform/canvas/qpaintercanvas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "platform/printer/printdevice.h"
#include "platform/registry/registry.h"
#include "platform/text/exceptions.h"
#include "report/core/frlocale.h"
#include "report/core/frutils.h"
#include "report/io/fremfpages.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"
#include "report/objects/frview.h"
#include "report/print/frprinter.h"
#include "report/ui/frctrls.h"
#include "report/ui/frdock.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

namespace report
{

namespace
{

constexpr int kBarSize = 16;
constexpr int kToolbarHeight = 27;
constexpr int kLabelHeight = 17;

int roundInt(double v)
{
    return int(std::nearbyint(v));
}

// Gives the pages back for the time of a command and takes them again at
// its end, also when it throws.
// The report's work a command of the preview starts (a print, a build) shows
// its progress window, and the dialogs above that, as the preview's own.
class FrCommandWindowScope
{
public:
    explicit FrCommandWindowScope(TfrPreviewForm &form)
        : m_report(form.Doc()), m_kept(m_report ? m_report->CommandWindow() : nullptr)
    {
        if (m_report)
            m_report->setCommandWindow(&form);
    }
    ~FrCommandWindowScope()
    {
        if (m_report)
            m_report->setCommandWindow(m_kept);
    }
    FrCommandWindowScope(const FrCommandWindowScope &) = delete;
    FrCommandWindowScope &operator=(const FrCommandWindowScope &) = delete;

private:
    QPointer<TfrReport> m_report;
    QPointer<QWidget> m_kept;
};

class FrCommandScope
{
public:
    explicit FrCommandScope(TfrPreviewForm &form) : m_form(form), m_window(form)
    {
        if (form.Doc() && form.Connected()) {
            form.Disconnect();
            m_active = true;
        }
    }
    ~FrCommandScope()
    {
        if (m_active && m_form.Doc())
            m_form.Connect(*m_form.Doc());
    }
    FrCommandScope(const FrCommandScope &) = delete;
    FrCommandScope &operator=(const FrCommandScope &) = delete;

private:
    TfrPreviewForm &m_form;
    FrCommandWindowScope m_window;
    bool m_active = false;
};

QString grayButtonsKey()
{
    return QStringLiteral("\\Software\\VornReport\\") + platform::ApplicationTitle() +
           QStringLiteral("\\Form\\TfrDesignerForm");
}

bool grayButtons()
{
    platform::TRegistry reg;
    if (!reg.OpenKey(grayButtonsKey(), false) || !reg.ValueExists(QStringLiteral("GrayButtons")))
        return false;
    try {
        return reg.ReadBool(QStringLiteral("GrayButtons"));
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace

// --- layout

FrPageLayout frLayoutPages(const std::vector<QSize> &pages, const QSize &surface,
                           TfrPreviewZoom mode, double per)
{
    FrPageLayout out;
    out.per = per;
    const int W = surface.width();
    const int H = surface.height();
    if (!pages.empty()) {
        const QSize last = pages.back();
        switch (mode) {
        case pzPageWidth:
            if (last.width() > 0)
                out.per = double(W - 20) / last.width();
            break;
        case pzOnePage:
            if (last.height() > 0)
                out.per = double(H - 20) / last.height();
            break;
        case pzTwoPages:
            if (last.width() > 0)
                out.per = double(W - 30) / (2.0 * last.width());
            break;
        case pzDefault:
            break;
        }
    }
    per = out.per;

    int columns = 0;
    int count = 0;
    int x = 10;
    for (size_t i = 0; i < pages.size(); ++i) {
        const int w = roundInt(pages[i].width() * per);
        if (x + 10 + w > W) {
            columns = std::max(columns, count);
            x = 10;
            count = 0;
        } else {
            x += 10 + w;
            ++count;
        }
        if (i + 1 == pages.size())
            columns = std::max(columns, count);
    }
    if (columns == 0)
        columns = 1;
    if (mode == pzOnePage)
        columns = 1;
    if (mode == pzTwoPages)
        columns = 2;
    out.columns = columns;

    int y = 10;
    size_t i = 0;
    while (i < pages.size()) {
        int px = 10;
        int rowHeight = 0;
        for (int c = 0; c < columns && i < pages.size(); ++c, ++i) {
            const int w = roundInt(pages[i].width() * per);
            const int h = roundInt(pages[i].height() * per);
            const int left = columns == 1 && W > w ? (W - w) / 2 : px;
            const QRect r(left, y, w, h);
            out.rects.push_back(r);
            px += w + 10;
            rowHeight = std::max(rowHeight, h);
            out.right = std::max(out.right, left + w);
            out.bottom = std::max(out.bottom, y + h);
        }
        y += rowHeight + 10;
    }
    out.hMax = std::max(0, out.right - W + 10);
    out.vMax = std::max(0, out.bottom - H + 10);
    return out;
}

QString frZoomCaption(double per)
{
    return QString::number(roundInt(per * 100)) + QLatin1Char('%');
}

// --- surface

TfrPBox::TfrPBox(TfrPreviewForm *form, QWidget *parent) : QWidget(parent), m_form(form)
{
    setObjectName(QStringLiteral("PBox"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

void TfrPBox::paintEvent(QPaintEvent *event)
{
    platform::guard([&] {
        QPainter p(this);
        m_form->paintSurface(p, event->rect());
    });
}

void TfrPBox::mousePressEvent(QMouseEvent *event)
{
    platform::guard([&] {
        bool drag = false;
        m_form->surfaceMouseDown(event->position().toPoint(), event->button(),
                                 event->globalPosition().toPoint(), drag);
        m_down = drag;
        m_last = event->position().toPoint();
    });
}

void TfrPBox::mouseMoveEvent(QMouseEvent *event)
{
    platform::guard([&] {
        const QPoint pos = event->position().toPoint();
        if (m_down) {
            const QPoint d = pos - m_last;
            m_last = pos;
            m_form->HScrollBar()->setValue(m_form->HScrollBar()->value() - d.x());
            m_form->VScrollBar()->setValue(m_form->VScrollBar()->value() - d.y());
        } else {
            m_form->surfaceMouseMove(pos);
        }
    });
}

void TfrPBox::mouseReleaseEvent(QMouseEvent *)
{
    m_down = false;
}

void TfrPBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    platform::guard([&] { m_form->surfaceDoubleClick(event->position().toPoint()); });
}

void TfrPBox::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        platform::guard([&] { m_form->wheel(steps); });
    event->accept();
}

void TfrPBox::resizeEvent(QResizeEvent *)
{
    platform::guard([&] { m_form->FormResize(); });
}

// --- window

TfrPreviewForm::TfrPreviewForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frPreviewForm"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setModal(false);
    buildToolbar();
    buildArea();
    buildPopup();
    resize(640, 480);
    ContextPopup = m_popup;
    // A modal preview also answers Escape itself, never through QDialog::reject.
    installEventFilter(this);
}

TfrPreviewForm::~TfrPreviewForm()
{
    if (m_helpActive)
        platform::SetApplicationHelpFile(m_helpFile);
}

void TfrPreviewForm::buildToolbar()
{
    m_toolbar = new QWidget(this);
    m_toolbar->setObjectName(QStringLiteral("Panel1"));
    struct Def {
        const char *name;
        int hint;
        const char *glyph;
    };
    const Def defs[] = {
        {"ZoomBtn", 53024, nullptr},
        {"sep1", 0, nullptr},
        {"LoadBtn", 53025, "FR_OPEN"},
        {"SaveBtn", 53026, "FR_SAVE"},
        {"PrintBtn", 53027, "FR_PRINT"},
        {"sep2", 0, nullptr},
        {"FindBtn", 53028, "FR_FIND"},
        {"HelpBtn", 53032, "FR_HELP"},
        {"sep3", 0, nullptr},
        {"ExitBtn", 53023, "FR_EXIT"},
        {"PageSetupBtn", 0, "FR_PAGESETUP"},
    };
    for (const Def &d : defs) {
        if (d.hint == 0 && !d.glyph) {
            auto *sep = new TfrTBSeparator(m_toolbar);
            sep->setObjectName(QString::fromLatin1(d.name));
            m_toolItems.push_back(sep);
            continue;
        }
        auto *b = new TfrTBButton(m_toolbar);
        b->setObjectName(QString::fromLatin1(d.name));
        if (d.hint)
            b->setToolTip(frLoadString(d.hint));
        if (d.glyph)
            b->SetGlyph(platform::LoadBitmap(QString::fromLatin1(d.glyph)));
        m_toolItems.push_back(b);
    }
    TfrSpeedButton *zoom = Button(QStringLiteral("ZoomBtn"));
    zoom->resize(52, 22);
    zoom->SetCaption(frZoomCaption(1.0));
    auto on = [this](const char *name, void (TfrPreviewForm::*method)()) {
        TfrSpeedButton *b = Button(QString::fromLatin1(name));
        b->OnClick = [this, method] { platform::guard([&] { (this->*method)(); }); };
    };
    on("ZoomBtn", &TfrPreviewForm::ZoomBtnClick);
    on("LoadBtn", &TfrPreviewForm::LoadBtnClick);
    on("SaveBtn", &TfrPreviewForm::SaveBtnClick);
    on("PrintBtn", &TfrPreviewForm::PrintBtnClick);
    on("FindBtn", &TfrPreviewForm::FindBtnClick);
    on("HelpBtn", &TfrPreviewForm::HelpBtnClick);
    on("ExitBtn", &TfrPreviewForm::ExitBtnClick);
    on("PageSetupBtn", &TfrPreviewForm::PageSetupBtnClick);
    placeToolbar();
}

void TfrPreviewForm::placeToolbar()
{
    int x = 2;
    for (QWidget *w : m_toolItems) {
        if (!w->isVisibleTo(m_toolbar))
            continue;
        w->move(x, 2);
        x += w->width();
    }
    m_toolbar->resize(std::max(width(), x + 2), kToolbarHeight);
}

void TfrPreviewForm::buildArea()
{
    m_area = new QWidget(this);
    m_area->setObjectName(QStringLiteral("Panel2"));
    m_pbox = new TfrPBox(this, m_area);
    m_vpanel = new QWidget(m_area);
    m_vbar = new QScrollBar(Qt::Vertical, m_vpanel);
    m_vbar->setObjectName(QStringLiteral("VScrollBar"));
    m_hbar = new QScrollBar(Qt::Horizontal, m_area);
    m_hbar->setObjectName(QStringLiteral("HScrollBar"));
    for (QScrollBar *bar : {m_vbar, m_hbar}) {
        bar->setSingleStep(10);
        bar->setPageStep(200);
        bar->setRange(0, 0);
        // A scroll bar hands the focus on to the page area.
        bar->setFocusPolicy(Qt::NoFocus);
    }
    m_prevBtn = new TfrSpeedButton(m_vpanel);
    m_prevBtn->setObjectName(QStringLiteral("PgUp"));
    m_prevBtn->SetGlyph(platform::LoadBitmap(QStringLiteral("FR_PGUP")));
    m_prevBtn->OnClick = platform::handler(this, &TfrPreviewForm::PgUpClick);
    m_nextBtn = new TfrSpeedButton(m_vpanel);
    m_nextBtn->setObjectName(QStringLiteral("PgDown"));
    m_nextBtn->SetGlyph(platform::LoadBitmap(QStringLiteral("FR_PGDOWN")));
    m_nextBtn->OnClick = platform::handler(this, &TfrPreviewForm::PgDownClick);
    m_label = new QLabel(m_area);
    m_label->setObjectName(QStringLiteral("LPage"));
    connect(m_vbar, &QScrollBar::valueChanged, this,
            [this](int v) { platform::guard([&] { VScrollChanged(v); }); });
    connect(m_hbar, &QScrollBar::valueChanged, this,
            [this](int v) { platform::guard([&] { HScrollChanged(v); }); });
    m_area->installEventFilter(this);
    m_pbox->setFocusPolicy(Qt::StrongFocus);
}

void TfrPreviewForm::buildPopup()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("ProcMenu"));
    auto *group = new QActionGroup(m_popup);
    group->setExclusive(true);
    auto item = [&](const QString &text, int tag) {
        QAction *a = m_popup->addAction(text);
        a->setCheckable(true);
        a->setData(tag);
        group->addAction(a);
        connect(a, &QAction::triggered, this,
                platform::handler([this, tag] { ZoomItemClick(tag); }));
        m_zoomItems.push_back(a);
        return a;
    };
    for (int tag : {200, 150, 100, 75, 50, 25, 10})
        item(QString::number(tag) + QLatin1Char('%'), tag);
    item(frLoadString(53020), 1);
    item(frLoadString(53021), 2);
    item(frLoadString(53022), 3);
    MenuItem(100)->setChecked(true);
    m_pageItems.push_back(m_popup->addSeparator());
    const std::pair<int, void (TfrPreviewForm::*)()> pages[] = {
        {53029, &TfrPreviewForm::EditPageClick},
        {53030, &TfrPreviewForm::AddPageClick},
        {53031, &TfrPreviewForm::DelPageClick},
    };
    for (const auto &[text, method] : pages) {
        QAction *a = m_popup->addAction(frLoadString(text));
        connect(a, &QAction::triggered, this, platform::handler(this, method));
        m_pageItems.push_back(a);
    }
}

TfrSpeedButton *TfrPreviewForm::Button(const QString &name) const
{
    return m_toolbar->findChild<TfrSpeedButton *>(name);
}

QAction *TfrPreviewForm::MenuItem(int tag) const
{
    for (QAction *a : m_zoomItems)
        if (a->data().toInt() == tag)
            return a;
    return nullptr;
}

int TfrPreviewForm::PageCount() const
{
    return m_pages ? m_pages->Count() : 0;
}

void TfrPreviewForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeArea();
}

void TfrPreviewForm::placeArea()
{
    const bool toolbarHere = m_toolbar->parentWidget() == this && m_toolbar->isVisibleTo(this);
    const int top = toolbarHere ? kToolbarHeight : 0;
    placeToolbar();
    if (m_area->parentWidget() == this)
        m_area->setGeometry(0, top, width(), std::max(0, height() - top));
}

void TfrPreviewForm::layoutArea()
{
    const int w = m_area->width();
    const int h = m_area->height();
    const bool vbar = m_vpanel->isVisibleTo(m_area);
    const bool hbar = m_hbar->isVisibleTo(m_area);
    const int vw = vbar ? kBarSize : 0;
    const int hh = hbar ? kBarSize : 0;
    const int surfaceH = std::max(0, h - hh - kLabelHeight);
    m_pbox->setGeometry(0, 0, std::max(0, w - vw), surfaceH);
    m_vpanel->setGeometry(w - vw, 0, vw, surfaceH + hh);
    // The page buttons sit at the bottom of the vertical bar's panel.
    const int buttons = 2 * kBarSize;
    m_vbar->setGeometry(0, 0, vw, std::max(0, surfaceH + hh - buttons));
    m_prevBtn->setGeometry(0, std::max(0, surfaceH + hh - buttons), vw, kBarSize);
    m_nextBtn->setGeometry(0, std::max(0, surfaceH + hh - kBarSize), vw, kBarSize);
    m_hbar->setGeometry(0, surfaceH, std::max(0, w - vw), hh);
    m_label->setGeometry(4, surfaceH + hh, std::max(0, w - 8), kLabelHeight);
}

bool TfrPreviewForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area && event->type() == QEvent::Resize)
        layoutArea();
    if (m_helpMode && event->type() == QEvent::MouseButtonPress) {
        endHelpMode(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrPreviewForm::setSurfaceSize(const QSize &size)
{
    if (m_area->parentWidget() == this)
        placeArea();
    layoutArea();
    const QSize delta = size - m_pbox->size();
    if (m_area->parentWidget() == this) {
        resize(this->size() + delta);
        placeArea();
    } else {
        m_area->resize(m_area->size() + delta);
    }
    layoutArea();
    FormResize();
}

// --- ownership

void TfrPreviewForm::Connect(TfrReport &report)
{
    if (m_connected && m_doc == &report)
        return;
    m_doc = &report;
    m_pages.reset();
    m_pages = report.TakeEMFPages();
    m_connected = true;
}

void TfrPreviewForm::Disconnect()
{
    if (!m_connected)
        return;
    m_connected = false;
    if (m_doc)
        m_doc->SetEMFPages(std::move(m_pages));
    m_pages.reset();
}

// --- showing

void TfrPreviewForm::Show(TfrReport &report)
{
    Connect(report);
    SetButtonsUp();
    RedrawAll(true);
    m_hbar->setValue(0);
    m_vbar->setValue(0);
    m_helpFile = platform::ApplicationHelpFile();
    m_modal = report.ModalPreview;
    if (m_modal) {
        setModal(true);
        exec();
    } else {
        setAttribute(Qt::WA_DeleteOnClose);
        show();
    }
}

void TfrPreviewForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_placed && !m_embedded) {
        m_placed = true;
        if (!(m_doc && m_doc->MDIPreview))
            frRestoreFormPosition(this);
    }
    layoutArea();
    FormResize();
}

void TfrPreviewForm::closeEvent(QCloseEvent *event)
{
    if (!m_embedded && !(m_doc && m_doc->MDIPreview))
        frSaveFormPosition(this);
    // The pages shown go with the window.
    if (m_doc && m_connected) {
        m_connected = false;
        m_pages.reset();
    }
    QDialog::closeEvent(event);
}

void TfrPreviewForm::reject()
{
    ExitBtnClick();
}

bool TfrPreviewForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !m_helpActive) {
        m_helpActive = true;
        m_helpFile = platform::ApplicationHelpFile();
        platform::SetApplicationHelpFile(QStringLiteral("VRuser.hlp"));
    } else if (event->type() == QEvent::WindowDeactivate && m_helpActive) {
        m_helpActive = false;
        platform::SetApplicationHelpFile(m_helpFile);
    }
    return QDialog::event(event);
}

void TfrPreviewForm::SetButtonsUp()
{
    if (!m_doc)
        return;
    FrObjectGlobals &g = frObjects();
    if (g.frCurrentDesigner)
        return;
    const unsigned bits = m_doc->PreviewButtons;
    const bool own = !m_embedded;
    auto vis = [&](const char *name, bool v) {
        if (QWidget *w = m_toolbar->findChild<QWidget *>(QString::fromLatin1(name)))
            w->setVisible(v);
    };
    vis("ZoomBtn", bits & pbZoom);
    vis("sep1", bits & pbZoom);
    vis("LoadBtn", bits & pbLoad);
    vis("SaveBtn", bits & pbSave);
    vis("PrintBtn", bits & pbPrint);
    vis("FindBtn", bits & pbFind);
    vis("HelpBtn", (bits & pbHelp) && own);
    vis("ExitBtn", (bits & pbExit) && own);
    vis("PageSetupBtn", bits & pbPageSetup);
    const bool helpShown = (bits & pbHelp) && own;
    vis("sep3", (bits & pbFind) || helpShown);
    const bool printers = !g.frGlobalPrinter().Printers().isEmpty();
    Button(QStringLiteral("PrintBtn"))->setEnabled(printers);
    // A loaded report cannot be prepared again on another paper.
    Button(QStringLiteral("PageSetupBtn"))->setEnabled(printers && m_doc->CanRebuild);
    const bool pageItems = bool(g.frDesignerClass) && m_doc->ModifyPrepared;
    for (QAction *a : m_pageItems)
        a->setVisible(pageItems);
    switch (m_doc->InitialZoom) {
    case pzPageWidth:
    case pzOnePage:
    case pzTwoPages:
        g.frLastZoomMode = m_doc->InitialZoom;
        break;
    case pzDefault:
        break;
    }
    const bool gray = grayButtons() || m_doc->GrayedButtons;
    for (QWidget *w : m_toolItems)
        if (auto *b = qobject_cast<TfrSpeedButton *>(w))
            b->SetGrayedInactive(gray);
    placeToolbar();
}

void TfrPreviewForm::RedrawAll(bool resetPage)
{
    FrObjectGlobals &g = frObjects();
    per = g.frLastZoomPer;
    mode = TfrPreviewZoom(g.frLastZoomMode);
    const int tag = mode == pzDefault ? roundInt(per * 100) : int(mode);
    if (QAction *a = MenuItem(tag))
        a->setChecked(true);
    if (resetPage) {
        CurPage = 1;
        ofx = ofy = 0;
        m_searchPage = m_searchRecord = 0;
        m_hbar->setValue(0);
        m_vbar->setValue(0);
    }
    UpdatePageLabel();
    FormResize();
    if (m_pages) {
        for (int i = 0; i < m_pages->Count(); ++i) {
            TfrEMFPage *e = m_pages->Entry(i);
            e->Shown = 0;
            e->Picture.reset();
            e->Page.reset();
        }
    }
    m_pbox->update();
}

void TfrPreviewForm::UpdatePageLabel()
{
    const QString text = frLoadString(55004) + QLatin1Char(' ') + QString::number(CurPage) +
                         QLatin1Char('/') + QString::number(PageCount());
    if (text == m_label->text())
        return;
    m_label->setText(text);
    if (PageChanged)
        PageChanged(CurPage);
}

void TfrPreviewForm::FormResize()
{
    if (!m_vbar || !m_toolbar)
        return;
    std::vector<QSize> sizes;
    if (m_pages)
        for (int i = 0; i < m_pages->Count(); ++i) {
            const TfrPrnInfo &g = m_pages->Entry(i)->PrinterGeometry;
            sizes.emplace_back(g.Pgw, g.Pgh);
        }
    const FrPageLayout layout = frLayoutPages(sizes, m_pbox->size(), mode, per);
    per = layout.per;
    Button(QStringLiteral("ZoomBtn"))->SetCaption(frZoomCaption(per));
    for (size_t i = 0; i < layout.rects.size(); ++i)
        m_pages->Entry(int(i))->ScreenRect = layout.rects[i];
    {
        const QSignalBlocker hb(m_hbar), vb(m_vbar);
        m_hbar->setRange(0, layout.hMax);
        m_vbar->setRange(0, layout.vMax);
        m_hbar->setEnabled(layout.hMax != 0);
        m_vbar->setEnabled(layout.vMax != 0);
    }
    // The range may have moved the positions: the offsets follow them.
    ofx = -m_hbar->value();
    ofy = -m_vbar->value();
    m_lastHScroll = m_hbar->value();
    m_lastVScroll = m_vbar->value();
    Ready = true;
    ShowPageNo();
    m_pbox->update();
}

void TfrPreviewForm::ShowPageNo()
{
    TfrEMFPage *e = m_pages ? m_pages->Entry(CurPage - 1) : nullptr;
    if (!e)
        return;
    const int pos = e->ScreenRect.top() - 10;
    if (m_vbar->value() != pos)
        m_vbar->setValue(pos);
}

void TfrPreviewForm::VScrollChanged(int value)
{
    m_pbox->update();
    m_lastVScroll = value;
    ofy = -value;
    if (!m_pages)
        return;
    for (int i = 0; i < m_pages->Count(); ++i) {
        const QRect &r = m_pages->Entry(i)->ScreenRect;
        if (r.top() < value + 11 && value + 11 < r.top() + r.height()) {
            CurPage = i + 1;
            break;
        }
    }
    UpdatePageLabel();
}

void TfrPreviewForm::HScrollChanged(int value)
{
    m_pbox->update();
    m_lastHScroll = value;
    ofx = -value;
}

// --- painting

void TfrPreviewForm::paintSurface(QPainter &p, const QRect &update)
{
    const QRect surface = m_pbox->rect();
    if (!m_pages || m_pages->Count() == 0) {
        p.fillRect(update, m_pbox->palette().color(QPalette::Button));
        return;
    }
    if (!Ready)
        return;
    QRegion grey(surface);
    std::vector<int> visible;
    for (int i = 0; i < m_pages->Count(); ++i) {
        TfrEMFPage *e = m_pages->Entry(i);
        const QRect r = e->ScreenRect.translated(ofx, ofy);
        // Pages below the surface or above it are not drawn.
        const bool shown =
            !(r.top() > surface.height() || r.top() + r.height() < 0) && r.intersects(surface);
        e->Shown = shown;
        if (shown) {
            visible.push_back(i);
            grey -= QRegion(r);
        }
    }
    p.setClipRegion(grey);
    p.fillRect(surface, QColor(0x80, 0x80, 0x80));
    p.setClipping(false);
    // Prepared pages draw as they print, without the designer's marks.
    FrRestore<int> docMode(frObjects().frDocMode, 1);
    platform::QPainterCanvas canvas(&p, &frObjects().measurer());
    for (int i = 0; i < m_pages->Count(); ++i) {
        TfrEMFPage *e = m_pages->Entry(i);
        if (!e->Shown) {
            drawPage(i, canvas, QRect());
            continue;
        }
        const QRect r = e->ScreenRect.translated(ofx, ofy);
        const int left = r.left(), top = r.top();
        const int right = left + r.width(), bottom = top + r.height();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRect(left, top, r.width() - 1, r.height() - 1));
        p.drawPolyline(
            QPolygon({QPoint(left + 1, bottom), QPoint(right, bottom), QPoint(right, top + 1)}));
        const TfrPrnInfo &g = e->PrinterGeometry;
        QRect target;
        if (e->BoundByMargins) {
            target = QRect(left, top, r.width(), r.height());
        } else {
            const int w = roundInt((g.Pw - e->Margins[0] - e->Margins[2]) * per);
            const int h = roundInt((g.Ph - e->Margins[1] - e->Margins[3]) * per);
            // A page whose margins leave no room draws nothing.
            if (w <= 0 || h <= 0)
                continue;
            target = QRect(left + roundInt((g.Ofx + e->Margins[0]) * per),
                           top + roundInt((g.Ofy + e->Margins[1]) * per), w, h);
        }
        p.save();
        p.setClipRect(QRect(left + 1, top + 1, r.width() - 2, r.height() - 2));
        drawPage(i, canvas, target);
        p.restore();
    }
}

void TfrPreviewForm::drawPage(int index, platform::Canvas &canvas, const QRect &rect)
{
    try {
        m_pages->Draw(index, canvas, rect);
    } catch (...) {
        TfrEMFPage *e = m_pages->Entry(index);
        QString reason = platform::ExceptionText(std::current_exception());
        if (e) {
            if (e->Fault.isEmpty())
                e->Fault = reason; // never tried again
            reason = e->Fault;
        }
        // Told once the paint is over: a box shown from inside it would
        // bring the next paint, and the next box.
        platform::later(this, [page = index + 1, reason] {
            platform::MessageDlgWithCaption(
                frLoadString(55206),
                QStringLiteral("La page %1 n'a pas pu être dessinée : elle reste vide.\n\n%2")
                    .arg(QString::number(page), reason),
                platform::mtError, platform::mbOK);
        });
    }
}

int TfrPreviewForm::pageAt(const QPoint &pos) const
{
    if (!m_pages)
        return -1;
    for (int i = 0; i < m_pages->Count(); ++i)
        if (m_pages->Entry(i)->ScreenRect.translated(ofx, ofy).contains(pos))
            return i;
    return -1;
}

void TfrPreviewForm::surfaceMouseDown(const QPoint &pos, Qt::MouseButton button,
                                      const QPoint &global, bool &drag)
{
    drag = false;
    if (!m_pages || m_pages->Count() == 0)
        return;
    if (button == Qt::LeftButton) {
        const int i = pageAt(pos);
        if (i >= 0) {
            const QRect r = m_pages->Entry(i)->ScreenRect.translated(ofx, ofy);
            const QPoint pt(roundInt((pos.x() - r.left()) / per),
                            roundInt((pos.y() - r.top()) / per));
            Qt::CursorShape cursor = Qt::ArrowCursor;
            if (m_pages->HitTest(i, pt, true, cursor))
                return;
        }
        drag = true;
        m_pbox->setCursor(Qt::ClosedHandCursor);
    } else if (button == Qt::RightButton) {
        FrObjectGlobals &g = frObjects();
        if (g.frDesignerClass && m_doc && m_doc->ModifyPrepared)
            for (QAction *a : m_pageItems)
                a->setVisible(true);
        QMenu *menu = ContextPopup ? ContextPopup : m_popup;
        menu->popup(global);
    }
}

void TfrPreviewForm::surfaceMouseMove(const QPoint &pos)
{
    m_pbox->unsetCursor();
    if (!m_doc || !m_doc->OnMouseOverObject || !m_pages)
        return;
    const int i = pageAt(pos);
    if (i < 0)
        return;
    const QRect r = m_pages->Entry(i)->ScreenRect.translated(ofx, ofy);
    const QPoint pt(roundInt((pos.x() - r.left()) / per), roundInt((pos.y() - r.top()) / per));
    Qt::CursorShape cursor = Qt::ArrowCursor;
    if (m_pages->HitTest(i, pt, false, cursor))
        m_pbox->setCursor(cursor);
}

void TfrPreviewForm::surfaceDoubleClick(const QPoint &pos)
{
    const int i = pageAt(pos);
    if (i < 0)
        return;
    CurPage = i + 1;
    UpdatePageLabel();
    if (m_pageItems[1]->isVisible())
        EditPageClick();
}

void TfrPreviewForm::wheel(int steps)
{
    if (PageCount() == 0)
        return;
    m_vbar->setValue(m_vbar->value() - steps * m_vbar->singleStep() * WheelFactor);
}

// --- keys

void TfrPreviewForm::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    bool handled = true;
    platform::guard([&] {
        const bool pages = PageCount() > 0;
        switch (event->key()) {
        case Qt::Key_Escape:
            ExitBtnClick();
            return;
        default:
            break;
        }
        if (!pages) {
            handled = false;
            return;
        }
        switch (event->key()) {
        case Qt::Key_Up:
            m_vbar->setValue(m_vbar->value() - m_vbar->singleStep());
            break;
        case Qt::Key_Down:
            m_vbar->setValue(m_vbar->value() + m_vbar->singleStep());
            break;
        case Qt::Key_Left:
            m_hbar->setValue(m_hbar->value() - m_hbar->singleStep());
            break;
        case Qt::Key_Right:
            m_hbar->setValue(m_hbar->value() + m_hbar->singleStep());
            break;
        case Qt::Key_PageUp:
            if (ctrl)
                PgUpClick();
            else
                m_vbar->setValue(m_vbar->value() - m_vbar->pageStep());
            break;
        case Qt::Key_PageDown:
            if (ctrl)
                PgDownClick();
            else
                m_vbar->setValue(m_vbar->value() + m_vbar->pageStep());
            break;
        case Qt::Key_Space:
            ZoomBtnClick();
            break;
        case Qt::Key_Home:
            if (ctrl)
                m_vbar->setValue(0);
            else
                handled = false;
            break;
        case Qt::Key_End:
            if (ctrl)
                LastPage();
            else
                handled = false;
            break;
        case Qt::Key_F3:
            if (!m_findText.isEmpty()) {
                if (CurPage - 1 != m_searchPage) {
                    m_searchPage = CurPage - 1;
                    m_searchRecord = 0;
                }
                FindNext();
            }
            break;
        case Qt::Key_O:
        case Qt::Key_S:
        case Qt::Key_P:
        case Qt::Key_F:
        case Qt::Key_E:
            if (!ctrl) {
                handled = false;
                break;
            }
            if (event->key() == Qt::Key_O)
                LoadBtnClick();
            else if (event->key() == Qt::Key_S)
                SaveBtnClick();
            else if (event->key() == Qt::Key_P) {
                if (Button(QStringLiteral("PrintBtn"))->isEnabled())
                    PrintBtnClick();
            } else if (event->key() == Qt::Key_F)
                Find();
            else if (m_pageItems[1]->isVisible())
                EditPageClick();
            break;
        default:
            handled = false;
        }
    });
    if (handled)
        event->accept();
    else
        QDialog::keyPressEvent(event);
}

// --- commands

void TfrPreviewForm::ZoomBtnClick()
{
    for (QAction *a : m_pageItems)
        a->setVisible(false);
    TfrSpeedButton *zoom = Button(QStringLiteral("ZoomBtn"));
    m_popup->popup(zoom->mapToGlobal(QPoint(0, zoom->height() + 2)));
}

void TfrPreviewForm::ZoomItemClick(int tag)
{
    ofx = 0;
    if (tag >= 1 && tag <= 3) {
        mode = TfrPreviewZoom(tag);
    } else {
        mode = pzDefault;
        per = tag / 100.0;
    }
    if (QAction *a = MenuItem(tag))
        a->setChecked(true);
    m_hbar->setValue(0);
    FormResize();
    FrObjectGlobals &g = frObjects();
    g.frLastZoomMode = mode;
    g.frLastZoomPer = per;
    m_pbox->update();
}

void TfrPreviewForm::PgUpClick()
{
    if (CurPage <= 1)
        return;
    --CurPage;
    UpdatePageLabel();
    ShowPageNo();
}

void TfrPreviewForm::PgDownClick()
{
    if (CurPage >= PageCount())
        return;
    ++CurPage;
    UpdatePageLabel();
    ShowPageNo();
}

void TfrPreviewForm::LastPage()
{
    if (PageCount() == 0)
        return;
    CurPage = PageCount();
    UpdatePageLabel();
    ShowPageNo();
}

void TfrPreviewForm::ExitBtnClick()
{
    if (m_embedded)
        return;
    if (isModal() || m_modal)
        done(platform::mrOk);
    else
        close();
}

void TfrPreviewForm::HelpBtnClick()
{
    m_helpMode = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    grabMouse();
}

void TfrPreviewForm::endHelpMode(const QPoint &global)
{
    m_helpMode = false;
    releaseMouse();
    QApplication::restoreOverrideCursor();
    QWidget *w = frControlAtPos(this, mapFromGlobal(global));
    if (w && w != Button(QStringLiteral("HelpBtn")) && !w->toolTip().isEmpty())
        QToolTip::showText(global, w->toolTip(), w);
}

void TfrPreviewForm::reconnectAfter(bool keepPosition)
{
    if (m_doc && !m_connected)
        Connect(*m_doc);
    RedrawAll(!keepPosition);
}

void TfrPreviewForm::LoadBtnClick()
{
    if (!m_doc)
        return;
    platform::TOpenDialog dlg(this);
    dlg.Filter = frLoadString(55211) + QStringLiteral(" (*.frp)|*.frp");
    if (dlg.Execute())
        LoadFromFile(dlg.FileName);
}

void TfrPreviewForm::LoadFromFile(const QString &fileName)
{
    if (!m_doc)
        return;
    {
        // The report reads into its own set; the shown pages stay until the
        // file was read whole.
        std::unique_ptr<TfrEMFPages> shown = std::move(m_pages);
        m_connected = false;
        try {
            m_doc->LoadPreparedFile(fileName);
        } catch (...) {
            m_doc->SetEMFPages(nullptr);
            m_pages = std::move(shown);
            m_connected = true;
            platform::MessageDlgWithCaption(frLoadString(55206),
                                            platform::ExceptionText(std::current_exception()),
                                            platform::mtError, platform::mbOK);
            return;
        }
    }
    Connect(*m_doc);
    SetButtonsUp();
    CurPage = 1;
    m_searchPage = m_searchRecord = 0;
    FormResize();
    UpdatePageLabel();
    ShowPageNo();
    RedrawAll(false);
}

namespace
{

// A prepared report is always written with its own extension, whatever the
// name typed ended with.
QString preparedFileName(const QString &fileName)
{
    QString name = fileName;
    const QString suffix = QFileInfo(fileName).suffix();
    if (!suffix.isEmpty())
        name.chop(suffix.size() + 1);
    return name + QStringLiteral(".frp");
}

// An export takes its filter's extension when the name has another.
QString exportFileName(const QString &fileName, const TfrExportFilter &f)
{
    const QString ext = f.Extension().mid(f.Extension().lastIndexOf(QLatin1Char('.')));
    if (fileName.endsWith(ext, Qt::CaseInsensitive))
        return fileName;
    return QFileInfo(fileName).path() + QLatin1Char('/') + QFileInfo(fileName).completeBaseName() +
           ext;
}

} // namespace

void TfrPreviewForm::SaveToFile(const QString &fileName)
{
    if (!m_doc)
        return;
    const QString name = preparedFileName(fileName);
    bool ok = false;
    {
        FrCommandScope scope(*this);
        ok = m_doc->SavePreparedFile(name);
    }
    // The write's own message names the file and the system's reason.
    if (!ok && !m_doc->lastSaveError().isEmpty())
        throw platform::EFileError(m_doc->lastSaveError());
    if (!ok)
        throw platform::Exception(frLoadString(55206) + QStringLiteral(" : ") + name);
}

void TfrPreviewForm::SaveBtnClick()
{
    if (!m_doc)
        return;
    platform::TSaveDialog dlg(this);
    QString filter = frLoadString(55211) + QStringLiteral(" (*.frp)|*.frp");
    const auto &filters = frObjects().frFilters;
    for (const auto &f : filters)
        filter += QLatin1Char('|') + f->Description() + QLatin1Char('|') + f->Extension();
    dlg.Filter = filter;
    dlg.FilterIndex = 1;
    // The file written gets its extension after the choice: the question
    // before replacing a file is about that name, not the one typed.
    dlg.OverwritePrompt = true;
    dlg.WrittenName = [&filters](const QString &chosen, int filterIndex) {
        if (filterIndex <= 1)
            return preparedFileName(chosen);
        const size_t index = size_t(filterIndex - 2);
        return index < filters.size() ? exportFileName(chosen, *filters[index]) : chosen;
    };
    if (!dlg.Execute())
        return;
    if (dlg.FilterIndex <= 1) {
        SaveToFile(dlg.FileName);
        return;
    }
    const size_t index = size_t(dlg.FilterIndex - 2);
    if (index >= filters.size())
        return;
    TfrExportFilter &f = *filters[index];
    FrCommandScope scope(*this);
    m_doc->FileName = exportFileName(dlg.FileName, f);
    m_doc->ExportTo(f);
}

bool TfrPreviewForm::rebuild()
{
    // The old pages go; the report prepares new ones and the preview takes them.
    m_pages.reset();
    m_connected = false;
    m_doc->SetEMFPages(nullptr);
    bool built = false;
    {
        FrCommandWindowScope window(*this);
        built = m_doc->PrepareReport();
    }
    Connect(*m_doc);
    return built && PageCount() > 0;
}

void TfrPreviewForm::PrintBtnClick()
{
    if (!m_doc || PageCount() == 0)
        return;
    FrObjectGlobals &g = frObjects();
    FrPrinterInfo &printer = g.frGlobalPrinter();
    FrPrintDialogSeam *dialog = g.frPrintDialog();
    if (printer.Printers().isEmpty() || !dialog)
        return;
    const int oldIndex = printer.PrinterIndex();
    FrPrintChoice choice;
    choice.copies = m_doc->DefaultCopies;
    choice.collate = m_doc->DefaultCollate;
    // The preview's own dialog: above the preview, and above a designer
    // that opened it, not behind the window that opened them.
    if (!dialog->Execute(choice, this))
        return;
    if (printer.PrinterIndex() != oldIndex && m_doc->CanRebuild) {
        if (!m_doc->ChangePrinter(oldIndex, printer.PrinterIndex()))
            return;
        if (!rebuild()) {
            RedrawAll(true);
            return;
        }
    }
    const QString list = choice.pageList(CurPage);
    {
        FrCommandScope scope(*this);
        m_doc->PrintWithProgress(list, choice.copies, choice.collate, choice.kind);
    }
    RedrawAll(false);
}

void TfrPreviewForm::PageSetupBtnClick()
{
    if (!m_doc || PageCount() == 0 || !m_doc->CanRebuild)
        return;
    TfrPage *templatePage = m_doc->Pages().Count() > 0 ? m_doc->Pages().GetPage(0) : nullptr;
    if (!templatePage)
        return;
    FrPrinterInfo &info = frObjects().frGlobalPrinter();
    auto *printer = dynamic_cast<TfrPrinter *>(&info);
    if (!printer)
        return;
    const TfrEMFPage &first = *m_pages->Entry(0);
    platform::PageMargins margins{
        frMarginToHundredths(first.Margins[0]), frMarginToHundredths(first.Margins[1]),
        frMarginToHundredths(first.Margins[2]), frMarginToHundredths(first.Margins[3])};
    platform::DeviceMode devMode = printer->Mode();
    {
        platform::ModalScope scope(this);
        if (!platform::printerSystem().setupDialog(printer->PlatformName(), devMode, &margins,
                                                   this))
            return;
    }
    printer->TakeMode(devMode);
    for (int i = 0; i < m_doc->Pages().Count(); ++i) {
        TfrPage *page = m_doc->Pages().GetPage(i);
        if (page->PageType() != ptReport)
            continue;
        page->LeftMargin = frHundredthsToMargin(margins.left);
        page->TopMargin = frHundredthsToMargin(margins.top);
        page->RightMargin = frHundredthsToMargin(margins.right);
        page->BottomMargin = frHundredthsToMargin(margins.bottom);
        page->ChangePaper(printer->PaperSize(), printer->PaperWidth(), printer->PaperHeight(),
                          printer->Bin(), printer->Orientation());
    }
    rebuild();
    RedrawAll(true);
}

void TfrPreviewForm::EditPageClick()
{
    if (!m_doc || PageCount() == 0 || !m_doc->ModifyPrepared)
        return;
    {
        FrCommandScope scope(*this);
        m_doc->EditPreparedPage(CurPage - 1);
    }
    RedrawAll(false);
}

void TfrPreviewForm::AddPageClick()
{
    if (!m_doc || PageCount() == 0 || m_doc->Pages().Count() == 0)
        return;
    m_pages->InsertPage(CurPage - 1, *m_doc->Pages().GetPage(0));
    RedrawAll(false);
}

void TfrPreviewForm::DelPageClick()
{
    if (PageCount() <= 1)
        return;
    if (platform::MessageDlgWithCaption(frLoadString(55006), frLoadString(55005),
                                        platform::mtConfirmation,
                                        platform::mbYes | platform::mbNo) != platform::mrYes)
        return;
    m_pages->DeletePage(CurPage - 1);
    RedrawAll(true);
}

// --- search

QList<platform::TextRun> TfrPreviewForm::pageTexts(int index)
{
    TfrEMFPage *e = m_pages->Entry(index);
    if (!e)
        return {};
    if (!e->Picture) {
        const TfrPrnInfo &g = e->PrinterGeometry;
        if (g.Pgw <= 0 || g.Pgh <= 0)
            return {};
        FrNullCanvas none(&frObjects().measurer());
        FrRestore<int> docMode(frObjects().frDocMode, 1);
        drawPage(index, none, QRect(0, 0, g.Pgw, g.Pgh));
        QList<platform::TextRun> runs =
            e->Picture ? e->Picture->textRuns() : QList<platform::TextRun>();
        if (!e->Shown)
            drawPage(index, none, QRect()); // searched pages keep only their stream
        return runs;
    }
    return e->Picture->textRuns();
}

void TfrPreviewForm::Find()
{
    if (PageCount() == 0)
        return;
    TfrPreviewSearchForm dlg(this);
    int result = 0;
    {
        platform::ModalScope scope(this);
        result = dlg.exec();
    }
    if (result != QDialog::Accepted)
        return;
    FindText(dlg.Text(), dlg.CaseSensitive(), dlg.FromFirst());
}

bool TfrPreviewForm::FindText(const QString &text, bool caseSensitive, bool fromFirst)
{
    if (PageCount() == 0)
        return false;
    m_caseSensitive = caseSensitive;
    m_findText = caseSensitive ? text : frUpperCase(text);
    if (fromFirst) {
        m_searchPage = 0;
        m_searchRecord = 0;
    } else if (m_searchPage != CurPage - 1) {
        m_searchPage = CurPage - 1;
        m_searchRecord = 0;
    }
    return FindNext();
}

bool TfrPreviewForm::FindNext()
{
    if (m_findText.isEmpty() || PageCount() == 0)
        return false;
    for (int page = std::max(0, m_searchPage); page < PageCount(); ++page) {
        const QList<platform::TextRun> runs = pageTexts(page);
        const int start = page == m_searchPage ? m_searchRecord : 0;
        for (int r = start; r < runs.size(); ++r) {
            const QString t = m_caseSensitive ? runs[r].text : frUpperCase(runs[r].text);
            if (!t.contains(m_findText))
                continue;
            m_foundRect = runs[r].rect;
            m_searchPage = page;
            m_searchRecord = r + 1;
            CurPage = page + 1;
            UpdatePageLabel();
            const QRect &sr = m_pages->Entry(page)->ScreenRect;
            m_vbar->setValue(sr.top() + roundInt(m_foundRect.top() * per) - 10);
            m_hbar->setValue(sr.left() + roundInt(m_foundRect.left() * per) - 10);
            return true;
        }
    }
    return false;
}

TfrPreviewSearchForm::TfrPreviewSearchForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frPreviewSearchForm"));
    setWindowTitle(frLoadString(53000));
    setFixedSize(318, 172);
    auto *label = new QLabel(frLoadString(53001), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(8, 8, 302, 16);
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->setGeometry(8, 26, 302, 21);
    label->setBuddy(edit);
    auto *options = new QGroupBox(frLoadString(53002), this);
    options->setObjectName(QStringLiteral("GroupBox1"));
    options->setGeometry(8, 54, 172, 76);
    auto *caseBox = new QCheckBox(frLoadString(53003), options);
    caseBox->setObjectName(QStringLiteral("CB1"));
    caseBox->setGeometry(8, 20, 160, 40);
    auto *origin = new QGroupBox(frLoadString(53004), this);
    origin->setObjectName(QStringLiteral("GroupBox2"));
    origin->setGeometry(186, 54, 124, 76);
    auto *first = new QRadioButton(frLoadString(53005), origin);
    first->setObjectName(QStringLiteral("RB1"));
    first->setGeometry(8, 20, 116, 20);
    first->setChecked(true);
    auto *current = new QRadioButton(frLoadString(53006), origin);
    current->setObjectName(QStringLiteral("RB2"));
    current->setGeometry(8, 44, 116, 20);
    auto *ok = new QPushButton(frLoadString(55000), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(156, 140, 75, 25);
    ok->setDefault(true);
    auto *cancel = new QPushButton(frLoadString(55001), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    cancel->setGeometry(235, 140, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TfrPreviewSearchForm::Text() const
{
    return findChild<QLineEdit *>(QStringLiteral("Edit1"))->text();
}

bool TfrPreviewSearchForm::CaseSensitive() const
{
    return findChild<QCheckBox *>(QStringLiteral("CB1"))->isChecked();
}

bool TfrPreviewSearchForm::FromFirst() const
{
    return findChild<QRadioButton *>(QStringLiteral("RB1"))->isChecked();
}

void TfrPreviewSearchForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    auto *edit = findChild<QLineEdit *>(QStringLiteral("Edit1"));
    edit->selectAll();
    edit->setFocus();
}

// --- panel

TfrPreview::TfrPreview(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    m_form = std::make_unique<TfrPreviewForm>();
    m_form->setEmbedded(true);
    m_form->WheelFactor = 3;
    m_form->PageChanged = [this](int page) {
        if (OnPageChanged)
            OnPageChanged(this, page);
    };
    m_form->m_area->setParent(this);
    m_form->m_area->show();
    place();
}

TfrPreview::~TfrPreview()
{
    if (m_wheelSource)
        m_wheelSource->removeEventFilter(this);
    // The page area and toolbar go back to the window that owns them.
    m_form->m_area->setParent(m_form.get());
    m_form->m_toolbar->setParent(m_form.get());
}

void TfrPreview::SetScrollBars(TScrollStyle style)
{
    m_scrollBars = style;
    m_form->m_vpanel->setVisible(style == ssBoth || style == ssVertical);
    m_form->m_hbar->setVisible(style == ssBoth || style == ssHorizontal);
    place();
}

void TfrPreview::SetShowToolbar(bool show)
{
    m_showToolbar = show;
    m_form->m_toolbar->setParent(show ? static_cast<QWidget *>(this) : m_form.get());
    m_form->m_toolbar->show();
    place();
}

void TfrPreview::place()
{
    const QRect inner = contentsRect();
    int top = inner.top();
    if (m_showToolbar) {
        m_form->m_toolbar->setGeometry(inner.left(), top, inner.width(), kToolbarHeight);
        top += kToolbarHeight;
    }
    m_form->m_area->setGeometry(inner.left(), top, inner.width(),
                                std::max(0, inner.bottom() + 1 - top));
    m_form->layoutArea();
    m_form->FormResize();
}

void TfrPreview::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    platform::guard([&] { place(); });
}

void TfrPreview::moveEvent(QMoveEvent *event)
{
    QFrame::moveEvent(event);
    platform::guard([&] { m_form->FormResize(); });
}

void TfrPreview::Connect(TfrReport &report)
{
    place();
    m_form->Connect(report);
    m_form->SetButtonsUp();
    m_form->RedrawAll(true);
    if (contextMenuPolicy() == Qt::CustomContextMenu)
        m_form->ContextPopup = nullptr;
    if (QMenu *menu = findChild<QMenu *>(QString(), Qt::FindDirectChildrenOnly))
        m_form->ContextPopup = menu;
    // The wheel over the window that holds the panel scrolls the pages.
    if (QWidget *w = window(); w && w != m_wheelSource) {
        if (m_wheelSource)
            m_wheelSource->removeEventFilter(this);
        m_wheelSource = w;
        w->installEventFilter(this);
    }
}

void TfrPreview::Disconnect()
{
    m_form->Disconnect();
}

bool TfrPreview::Connected() const
{
    return m_form->Connected();
}

int TfrPreview::Page() const
{
    return m_form->CurPage;
}

bool TfrPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_wheelSource && event->type() == QEvent::Wheel) {
        const int steps = static_cast<QWheelEvent *>(event)->angleDelta().y() / 120;
        if (steps != 0)
            platform::guard([&] { m_form->wheel(steps); });
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

// --- the library's preview seam

namespace
{

class FrPreviewWindows : public FrPreviewSeam
{
public:
    void ShowPreviewForm(TfrReport &report, const QString &caption, bool modal, bool) override
    {
        if (modal) {
            platform::ModalScope scope;
            TfrPreviewForm form(scope.parentWidget());
            form.setWindowTitle(caption);
            form.Show(report);
            return;
        }
        // A modeless preview lives until it is closed, or until its report goes.
        auto *form = new TfrPreviewForm();
        form->setWindowTitle(caption);
        QObject::connect(&report, &QObject::destroyed, form, [form] { delete form; });
        form->Show(report);
    }
    void ConnectPreview(QObject *preview, TfrReport &report) override
    {
        if (auto *panel = qobject_cast<TfrPreview *>(preview))
            panel->Connect(report);
    }
};

} // namespace

void frInstallPreview()
{
    frObjects().setPreview(std::make_unique<FrPreviewWindows>());
}

} // namespace report
