#pragma once
// The report designer's main window: page tabs over a scroll box holding the
// page surface, six tool bars in four docks, menus, a status bar with the
// position box. The rules live in designer/core; this window shows their
// results and forwards the user's events to them.
#include "designer/core/designercore.h"
#include "platform/canvas/colors.h"
#include "report/objects/frdesigner.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QKeyEvent;
class QMenu;
class QMenuBar;
class QScrollArea;
class QTabBar;

namespace report
{
class TfrDock;
class TfrToolBar;
class TfrTBButton;
class TfrSpeedButton;
class TfrPage;
} // namespace report

namespace designer
{

class TfrComboBox;
class TfrFontComboBox;

// A tool window of the designer (inspector, DB fields) with no placement of
// its own yet carries this property; it is then put beside the page area
// when it first shows, instead of where the window system puts a new window
// (over the designer's menu).
inline constexpr char kPlaceBesideDesigner[] = "placeBesideDesigner";
// Puts such a tool window at the right of the designer's page area: the
// inspector at its top, the others at its bottom. Does nothing for a window
// placed already or while the designer is not shown.
void frPlaceToolWindow(QWidget *tool);
// Restored or placed, the DB fields window of a shown designer never lies
// over its inspector (frames included): it moves beside, above or under it.
void frKeepToolWindowsApart(QWidget *designer);

// The key a designer command reads from a key event (the digit row keeps its
// digits under Ctrl on every keyboard layout).
int designerKeyOf(const QKeyEvent &event);

class TfrDesignerForm;

// The page surface: paints the page image the core keeps and hands mouse,
// drag and drop events to the gesture engine.
class TfrDesignerPage : public QWidget
{
    Q_OBJECT
public:
    TfrDesignerPage(TfrDesignerForm *designer, QWidget *parent);
    TfrDesignerForm *Designer;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};

// The window of a dialog page while it is edited: it carries the surface,
// never closes by itself, and its place and size are the page's.
class TfrPageForm : public QWidget
{
    Q_OBJECT
public:
    explicit TfrPageForm(TfrDesignerForm *designer);
    // Moves and resizes are copied into the page while this is set.
    std::function<void()> OnResize;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    TfrDesignerForm *m_designer;
};

// The status bar: three panels (75, 230 and the rest wide); the position box
// lies over the second one.
class TfrDesignerStatusBar : public QWidget
{
    Q_OBJECT
public:
    explicit TfrDesignerStatusBar(QWidget *parent);
    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const { return m_texts[size_t(panel)]; }
    static constexpr int kWidths[2] = {75, 230};
    // A double click in the first panel (x < 75).
    std::function<void()> OnUnitsDblClick;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    std::array<QString, 3> m_texts;
};

// The position box: the selection's place and size in the designer's units.
class TfrPositionBox : public QWidget
{
    Q_OBJECT
public:
    TfrPositionBox(TfrDesignerForm *designer, QWidget *parent);
    QString text() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TfrDesignerForm *m_designer;
};

// The position text: left, top, width, height of box in pixels joined by
// ";", in other units with up to 4 significant digits and 2 decimals joined
// by "; "; picture scale (percent, empty when none) appended as "% h,v".
QString frPositionText(const QRect &box, int units, const QPoint *pictureScale = nullptr);

class TfrDesignerForm : public QDialog, public report::TfrReportDesigner, public DesignerView
{
    Q_OBJECT
public:
    explicit TfrDesignerForm(int designMode);
    ~TfrDesignerForm() override;

    DesignerCore &core() { return *m_core; }
    DesignerState &state() { return m_core->state; }

    // --- the engine's designer interface
    bool IsModified() const override;
    void SetModified(bool value) override;
    void NotifyBeforeChange() override;
    void NotifyAfterChange() override;
    void RepaintPage() override;
    void SelectByName(const QString &name) override;
    QString PickDataField() override;
    QString PickExpression() override;
    // exec() in a modal scope: 1 (closed with Exit) or 2 (cancelled).
    int ShowModal() override;
    // Keeps the window within the screen's available area.
    void fitToScreen();
    void TemplateAboutToRebuild() override;
    void TemplateRebuilt() override;

    // --- DesignerView
    void surfaceChanged(const QRegion &region) override;
    void setSurfaceCursor(SurfaceCursor cursor) override;
    SurfaceCursor surfaceCursor() const override { return m_cursor; }
    QRect visibleRect() const override;
    void scrollTo(int x, int y) override;
    int activeTool() const override;
    void pressTool(int tag) override;
    void selectionChanged() override;
    void positionChanged() override;
    void pageTabsChanged() override { UpdatePageTabs(); }
    void showPage(int n) override { SetCurPage(n); }
    void undoStateChanged() override;
    void openObjectPopup(const QPoint &surfacePos) override;
    bool fontSizeBoxHasFocus() const override;
    bool lineWidthBoxHasFocus() const override;
    void toggleStyleButton(int which) override;
    void setLineWidthText(const QString &text) override;

    // --- operations of the window
    void SetCurPage(int n);
    void UpdatePageTabs();
    void SetGridSize(int size);
    void SetGridShow(bool show);
    void SetGridAlign(bool align);
    void SetUnits(int units);
    void SetGrayButtons(bool gray);
    void SetWindowCaption(const QString &fileName);
    void PaintColorGlyph(platform::TColor color, report::TfrSpeedButton *button, int index);
    // Sets what each command may do now (mode, restrictions, filled slots).
    void updateAvailability();
    // Key handling of the window and of the page window (previews every key).
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);

    // --- handlers
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void FormResize();
    void OB1Click();
    void OB2MouseDown(int tag, Qt::KeyboardModifiers modifiers);
    void UndoBClick();
    void RedoBClick();
    void CutBClick();
    void CopyBClick();
    void PstBClick();
    void N5Click(); // delete
    void SelAllBClick();
    void GB1Click();
    void GB2Click();
    void ExitBClick();
    void Tab1Change(int index);
    void StatusBar1DblClick();

    // --- parts (tests find them by name too)
    TfrDesignerPage *PageView = nullptr;
    QPointer<TfrPageForm> PageForm;
    QScrollArea *ScrollBox1 = nullptr;
    QTabBar *Tab1 = nullptr;
    TfrDesignerStatusBar *StatusBar1 = nullptr;
    QWidget *Panel7 = nullptr;
    TfrPositionBox *PBox1 = nullptr;
    QMenuBar *MainMenu1 = nullptr;
    QMenu *Popup1 = nullptr;
    QMenu *Popup2 = nullptr;
    QMenu *MastMenu = nullptr;
    report::TfrDock *frDock1 = nullptr; // top
    report::TfrDock *frDock2 = nullptr; // left
    report::TfrDock *frDock3 = nullptr; // bottom
    report::TfrDock *frDock4 = nullptr; // right
    report::TfrToolBar *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr, *Panel4 = nullptr,
                       *Panel5 = nullptr, *Panel6 = nullptr;
    TfrFontComboBox *C2 = nullptr;
    TfrComboBox *C3 = nullptr, *C4 = nullptr;
    QWidget *LinePanel = nullptr;
    QImage Image1, Image2;
    report::TfrSpeedButton *button(const QString &name) const;
    QAction *action(const QString &name) const;
    QString fileName() const { return m_fileName; }
    bool firstShowPending() const { return m_firstShowPending; }

protected:
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    // Closing asks the close question first (Exit, the window's close box).
    void done(int result) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    report::TfrTBButton *addButton(report::TfrToolBar *bar, const QString &name, int tag,
                                   const QString &hint, const QImage &glyph);
    void addSeparator(report::TfrToolBar *bar);
    QAction *addItem(QMenu *menu, const QString &name, int captionId,
                     const QString &pairedButton = QString());
    void buildToolBars();
    void buildMenus();
    void buildStatusBar();
    void layoutFrame();
    void layoutSurface();
    void swapObjectToolBar();
    void setCommand(const QStringList &controls, bool enabled);
    void connectCommand(const QString &handler, const QStringList &controls,
                        std::function<void()> run);
    void runLater(const QString &handler);
    bool hasLater(const QString &handler) const;
    void refreshMenuGlyphs();
    void afterEdit();
    // The window is on the screen: the tool windows shown before it come again.
    void toolsOnScreen();
    // A tool window shown again is on the screen, framed.
    void toolFramed(QObject *handle);

    std::unique_ptr<DesignerCore> m_core;
    std::map<QString, report::TfrSpeedButton *> m_buttons;
    std::map<QString, QAction *> m_actions;
    // Handler name -> the controls it runs from (for the later commands).
    std::map<QString, QStringList> m_laterControls;
    QWidget *m_central = nullptr;
    QWidget *m_scrollContent = nullptr;
    SurfaceCursor m_cursor = SurfaceCursor::Default;
    QString m_fileName;
    bool m_firstShowPending = true;
    bool m_destroying = false;
    bool m_keyFilter = false;
    // Shown, but not yet framed and placed by the window system.
    bool m_awaitingFrame = false;
    // Tool windows shown before the window reached the screen.
    QList<QPointer<QWidget>> m_earlyTools;
    bool m_toolsAwaitExposure = false;
    // Tool windows shown again, not yet on the screen.
    QList<QPointer<QWidget>> m_framingTools;
    QCursor m_pencil;
};

} // namespace designer
