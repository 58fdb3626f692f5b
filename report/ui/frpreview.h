#pragma once
// The preview: the prepared pages laid out at a zoom on a drawing surface,
// with a toolbar, a popup of zoom steps and page commands, search, ".frp"
// files, printing and page setup. TfrPreviewForm is the window; TfrPreview
// holds its page area (and toolbar) inside a panel of an application window.
#include "report/objects/frreport.h"
#include "report/print/frprint.h"

#include "platform/canvas/displaylist.h"

#include <QDialog>
#include <QFrame>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QScrollBar;

namespace report
{

class TfrEMFPages;
class TfrSpeedButton;
class TfrPreviewForm;

// Where the pages go on a surface of that size.
struct FrPageLayout {
    double per = 1.0;
    int columns = 1;
    std::vector<QRect> rects; // one per page, surface coordinates before scrolling
    int right = 0;            // right-most and bottom-most page edges
    int bottom = 0;
    int hMax = 0; // scroll bar maxima
    int vMax = 0;
};
// pages: each page's width and height in report pixels. mode 0 keeps per.
FrPageLayout frLayoutPages(const std::vector<QSize> &pages, const QSize &surface,
                           TfrPreviewZoom mode, double per);
// The zoom caption: round(per x 100) followed by "%".
QString frZoomCaption(double per);

// The drawing surface: paints every pixel itself (no erase, no flicker).
class TfrPBox : public QWidget
{
    Q_OBJECT
public:
    explicit TfrPBox(TfrPreviewForm *form, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    TfrPreviewForm *m_form;
    bool m_down = false;
    QPoint m_last;
};

class TfrPreviewForm : public QDialog, public FrPagesHolder
{
    Q_OBJECT
public:
    explicit TfrPreviewForm(QWidget *parent = nullptr);
    ~TfrPreviewForm() override;

    // Connects, sets the buttons up, refreshes from page 1 and shows the
    // window: modally (returns when it closed) or not, as the report says.
    void Show(TfrReport &report);
    // --- FrPagesHolder
    void Connect(TfrReport &report) override;
    void Disconnect() override;
    bool Connected() const override { return m_connected; }

    // Loaded pages replace the shown ones only when the file was read whole.
    void LoadFromFile(const QString &fileName);
    void SaveToFile(const QString &fileName);
    // Opens the search dialog, then searches.
    void Find();
    // Searches from where the last search stopped; false on a miss.
    bool FindNext();
    // Searches text without the dialog (origin: first page when fromFirst).
    bool FindText(const QString &text, bool caseSensitive, bool fromFirst);

    // --- commands
    void ZoomBtnClick();
    void ZoomItemClick(int tag);
    void LoadBtnClick();
    void SaveBtnClick();
    void PrintBtnClick();
    void FindBtnClick() { Find(); }
    void HelpBtnClick();
    void ExitBtnClick();
    void PageSetupBtnClick();
    void PgUpClick();
    void PgDownClick();
    void EditPageClick();
    void AddPageClick();
    void DelPageClick();
    void LastPage();

    // --- state
    TfrReport *Doc() const { return m_doc; }
    // The pages shown; null before the first Connect.
    TfrEMFPages *EMFPages() const { return m_pages.get(); }
    int PageCount() const;
    int CurPage = 1;
    int ofx = 0, ofy = 0;
    double per = 1.0;
    TfrPreviewZoom mode = pzDefault;
    bool Ready = false;
    int WheelFactor = 1;
    // The rectangle of the last search hit (page picture coordinates).
    QRect LastFound() const { return m_foundRect; }
    bool Embedded() const { return m_embedded; }
    void setEmbedded(bool embedded) { m_embedded = embedded; }

    // --- parts
    QWidget *Toolbar() const { return m_toolbar; }
    QWidget *PageArea() const { return m_area; }
    TfrPBox *PBox() const { return m_pbox; }
    QScrollBar *VScrollBar() const { return m_vbar; }
    QScrollBar *HScrollBar() const { return m_hbar; }
    QLabel *PageLabel() const { return m_label; }
    QMenu *ZoomMenu() const { return m_popup; }
    TfrSpeedButton *Button(const QString &name) const;
    QAction *MenuItem(int tag) const;
    QAction *PageItem(int n) const { return m_pageItems[size_t(n)]; }

    // Lays the pages out again and scrolls to the current page.
    void FormResize();
    // Sets the buttons up for the report (visibility, enabling, grey look).
    void SetButtonsUp();
    // The zoom and menu state from the library's last one; reset also goes
    // to page 1 and forgets the search.
    void RedrawAll(bool resetPage);
    void UpdatePageLabel();
    void ShowPageNo();
    // Makes the surface that size (tests, screenshots).
    void setSurfaceSize(const QSize &size);
    // Called when the label changed (the panel tells its owner).
    std::function<void(int page)> PageChanged;
    // The popup a right click opens (the holding panel's when it has one).
    QMenu *ContextPopup = nullptr;

    // --- what the surface does
    void paintSurface(QPainter &painter, const QRect &update);
    void surfaceMouseDown(const QPoint &pos, Qt::MouseButton button, const QPoint &global,
                          bool &drag);
    void surfaceMouseMove(const QPoint &pos);
    void surfaceDoubleClick(const QPoint &pos);
    void wheel(int steps);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool) override { return false; }
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    friend class TfrPreview;
    void buildToolbar();
    void buildArea();
    void buildPopup();
    void placeToolbar();
    void VScrollChanged(int value);
    void HScrollChanged(int value);
    void layoutArea();
    void placeArea();
    int pageAt(const QPoint &surfacePos) const;
    // The pages taken again after a command that gave them back.
    void reconnectAfter(bool keepPosition);
    // A new preparation replaces the shown pages.
    bool rebuild();
    QList<platform::TextRun> pageTexts(int index);
    // Draws a page's picture; a page that cannot be drawn stays blank and
    // says so once.
    void drawPage(int index, platform::Canvas &canvas, const QRect &rect);
    void endHelpMode(const QPoint &global);

    QPointer<TfrReport> m_doc;
    std::unique_ptr<TfrEMFPages> m_pages;
    bool m_connected = false;
    bool m_embedded = false;
    bool m_modal = false;
    QString m_helpFile;
    bool m_helpActive = false;
    bool m_helpMode = false;
    bool m_placed = false;

    QString m_findText;
    bool m_caseSensitive = false;
    int m_searchPage = 0;
    int m_searchRecord = 0;
    QRect m_foundRect;
    int m_lastHScroll = 0;
    int m_lastVScroll = 0;

    QWidget *m_toolbar = nullptr;
    QWidget *m_area = nullptr;
    TfrPBox *m_pbox = nullptr;
    QScrollBar *m_vbar = nullptr;
    QScrollBar *m_hbar = nullptr;
    QWidget *m_vpanel = nullptr;
    TfrSpeedButton *m_prevBtn = nullptr;
    TfrSpeedButton *m_nextBtn = nullptr;
    QLabel *m_label = nullptr;
    QMenu *m_popup = nullptr;
    std::vector<QAction *> m_zoomItems;
    std::vector<QAction *> m_pageItems;
    std::vector<QWidget *> m_toolItems; // buttons and separators in order
};

// The search dialog.
class TfrPreviewSearchForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrPreviewSearchForm(QWidget *parent = nullptr);
    QString Text() const;
    bool CaseSensitive() const;
    bool FromFirst() const;

protected:
    void showEvent(QShowEvent *event) override;
};

// The preview as a panel of an application window.
class TfrPreview : public QFrame, public FrPagesHolder
{
    Q_OBJECT
public:
    enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
    explicit TfrPreview(QWidget *parent = nullptr);
    ~TfrPreview() override;

    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle style);
    bool ShowToolbar() const { return m_showToolbar; }
    void SetShowToolbar(bool show);
    std::function<void(TfrPreview *sender, int pageNo)> OnPageChanged;

    void Connect(TfrReport &report) override;
    void Disconnect() override;
    bool Connected() const override;
    int Page() const;
    TfrPreviewForm *Window() const { return m_form.get(); }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    std::unique_ptr<TfrPreviewForm> m_form;
    TScrollStyle m_scrollBars = ssBoth;
    bool m_showToolbar = false;
    QPointer<QWidget> m_wheelSource;
};

// Installs the preview windows into the library (frObjects().setPreview).
void frInstallPreview();

} // namespace report
