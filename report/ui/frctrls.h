#pragma once
// The library's own toolbar button (flat look, grouping, a grey glyph while
// the mouse is elsewhere), the image lists its glyphs share, and a text box
// with a small button at its right end.
#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QFrame;

namespace report
{

// Images of one glyph size; a freed slot is reused by the next glyph.
class TGlyphList
{
public:
    TGlyphList(int width, int height) : m_width(width), m_height(height) {}
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The slot the image went to.
    int Add(const QPixmap &image);
    void Delete(int index);
    int Count() const { return m_count; }
    int Capacity() const { return int(m_images.size()); }
    const QPixmap &Image(int index) const { return m_images[size_t(index)]; }

private:
    int m_width;
    int m_height;
    std::vector<QPixmap> m_images;
    std::vector<bool> m_used;
    int m_count = 0;
};

// The lists of every glyph size, shared by all buttons: it exists while at
// least one button does.
class TGlyphCache
{
public:
    TGlyphList *GetList(int width, int height);
    // A list whose count fell to 0 is freed.
    void ReturnList(TGlyphList *list);
    int ListCount() const { return int(m_lists.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> m_lists;
};
// The cache of the living buttons; null when there is none.
TGlyphCache *frGlyphCache();

enum TfrButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TfrButtonState { bsUp, bsDisabled, bsDown, bsExclusive, bsGrayed };

// Where the glyph and the caption go in the client rectangle.
struct FrButtonPlaces {
    QPoint glyph;
    QRect caption;
};
FrButtonPlaces frButtonLayout(const QRect &client, const QSize &glyph, const QSize &caption,
                              TfrButtonLayout layout, int margin, int spacing, bool shifted);

// The grey look of a glyph: every pixel but the transparent colour and the
// button face takes its grey level (77 r + 150 g + 29 b) / 256.
QImage frGrayedGlyph(const QImage &image, QRgb transparent);
// The disabled look of a single glyph: its ink embossed, highlight at (1, 1)
// under shadow at (0, 0), on the button face.
QImage frEmbossedGlyph(const QImage &image, QRgb transparent);

// One button's glyph strip and the images it built for each state.
class TButtonGlyph
{
public:
    TButtonGlyph() { m_indexes.fill(-1); }
    ~TButtonGlyph() { Invalidate(); }
    TButtonGlyph(const TButtonGlyph &) = delete;
    TButtonGlyph &operator=(const TButtonGlyph &) = delete;

    const QImage &Glyph() const { return m_original; }
    void SetGlyph(const QImage &glyph);
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int n);
    QRgb TransparentColor() const { return m_transparent; }
    // Glyphs whose pictures hold olive themselves (colour swatches) name
    // another colour that shows what lies under them.
    void SetTransparentColor(QRgb color)
    {
        Invalidate();
        m_transparent = color;
    }
    // The image of a state, built on first use; null without a glyph.
    QPixmap StateImage(TfrButtonState state);
    QSize GlyphSize() const;
    // Frees the state images (their list slots too).
    void Invalidate();
    TGlyphList *List() const { return m_list; }
    int Index(TfrButtonState state) const { return m_indexes[size_t(state)]; }

private:
    QImage m_original;
    int m_numGlyphs = 1;
    QRgb m_transparent = qRgb(128, 128, 0); // olive
    std::array<int, 5> m_indexes{};
    TGlyphList *m_list = nullptr;
};

class TfrSpeedButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit TfrSpeedButton(QWidget *parent = nullptr);
    ~TfrSpeedButton() override;

    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool value);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int value);
    bool Down() const { return m_down; }
    void SetDown(bool value);
    bool Flat() const { return m_flat; }
    void SetFlat(bool value);
    const QImage &Glyph() const { return m_glyph.Glyph(); }
    void SetGlyph(const QImage &glyph);
    bool GrayedInactive() const { return m_grayedInactive; }
    void SetGrayedInactive(bool value);
    TfrButtonLayout Layout() const { return m_layout; }
    void SetLayout(TfrButtonLayout value);
    int Margin() const { return m_margin; }
    void SetMargin(int value);
    int NumGlyphs() const { return m_glyph.NumGlyphs(); }
    void SetNumGlyphs(int value);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int value);
    QString Caption() const { return text(); }
    void SetCaption(const QString &caption);

    // Draws the up (enabled) or disabled glyph at (x, y).
    void DrawGlyph(QPainter &painter, int x, int y, bool enabled);

    // The state painting uses now.
    TfrButtonState DrawnState() const;
    TfrButtonState StoredState() const { return m_state; }
    bool MouseInControl() const { return m_mouseIn; }
    TButtonGlyph &GlyphHolder() { return m_glyph; }

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;

    QSize sizeHint() const override { return {22, 22}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }

private:
    void notifyGroup();
    void buttonPressed(int group, TfrSpeedButton *sender);
    void clickButton();

    TButtonGlyph m_glyph;
    bool m_allowAllUp = false;
    int m_groupIndex = 0;
    bool m_down = false;
    bool m_flat = false;
    bool m_grayedInactive = true;
    TfrButtonLayout m_layout = blGlyphLeft;
    int m_margin = -1;
    int m_spacing = 4;
    TfrButtonState m_state = bsUp;
    bool m_dragging = false;
    bool m_mouseIn = false;
};

// A text box with a small square button at its right end.
class TfrComboEdit : public QComboBox
{
    Q_OBJECT
public:
    explicit TfrComboEdit(QWidget *parent = nullptr);

    QImage Glyph() const { return m_button->Glyph(); }
    void SetGlyph(const QImage &glyph) { m_button->SetGlyph(glyph); }
    bool ButtonEnabled() const { return m_buttonEnabled; }
    void SetButtonEnabled(bool value);
    QString ButtonHint() const { return m_button->toolTip(); }
    void SetButtonHint(const QString &hint) { m_button->setToolTip(hint); }
    TfrSpeedButton *Button() const { return m_button; }

    std::function<void()> OnButtonClick;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QFrame *m_panel;
    TfrSpeedButton *m_button;
    bool m_buttonEnabled = true;
};

// Enables or disables controls; labels turn grey, edits take the button face.
void frEnableControls(const QList<QWidget *> &controls, bool enabled);
// The deepest visible child of parent under point (parent's coordinates),
// the topmost first; null when none.
QWidget *frControlAtPos(QWidget *parent, const QPoint &point);

} // namespace report
