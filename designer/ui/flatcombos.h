#pragma once
// The flat combo boxes of the designer's tool bars: no sunken border until
// the mouse is over the box or it has the focus, a narrow drop-down button,
// an edit part that can be read-only. The font name box lists every family
// with the fonts chosen last on top and a floating sample of the font under
// the cursor.
#include "designer/core/recentfonts.h"

#include <QComboBox>
#include <QWidget>
#include <functional>

class QLabel;

namespace designer
{

// The drop-down list's place for a box at boxGlobal (screen coordinates):
// below the box, as wide as the box less one pixel, item height x
// min(count, items) + 4 high; above it, 2 pixels higher, when it would pass
// the bottom of the screen (droppedUp is then set).
QRect frDropListRect(const QRect &boxGlobal, int itemHeight, int dropDownCount, int itemCount,
                     const QRect &screen, bool &droppedUp);
// The font sample's top-left corner: at the box's bottom-right corner, left
// of the box when it would pass the screen's right edge, its bottom at the
// box's top when the list opened upwards.
QPoint frFontPreviewPos(const QRect &boxGlobal, const QSize &preview, const QRect &screen,
                        bool droppedUp);

class TfrCustomComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TfrCustomComboBox(QWidget *parent);

    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value);
    int ButtonWidth() const { return m_buttonWidth; }
    int TextIndent() const { return m_textIndent; }
    void SetTextIndent(int value);
    bool DroppedUp() const { return m_droppedUp; }
    bool DroppedDown() const { return m_droppedDown; }

    // A choice of the user in the list (never while the program refills it).
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;

    void showPopup() override;
    void hidePopup() override;
    // The state the button is drawn in: 0 flat, 1 raised, 2 pressed.
    int buttonState() const;
    // Drawn with a sunken edge (dropped down, focus or mouse inside).
    bool isActive() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void placeEdit();
    virtual void choiceMade(int index);
    // The left indent of the edit part (the font list's mark).
    virtual void paintIndent(QPainter &) {}
    // After the list opened, before it closes.
    virtual void afterDropDown() {}
    virtual void beforeCloseUp() {}

    bool m_updating = false;

private:
    int m_buttonWidth = 11;
    int m_textIndent = 0;
    bool m_readOnly = false;
    bool m_mouseIn = false;
    bool m_droppedUp = false;
    bool m_droppedDown = false;
};

// Font size lists and similar.
class TfrComboBox : public TfrCustomComboBox
{
    Q_OBJECT
public:
    explicit TfrComboBox(QWidget *parent);
};

// The floating sample of the font under the cursor.
class TfrFontPreview : public QWidget
{
    Q_OBJECT
public:
    explicit TfrFontPreview(QWidget *owner);
    void showFont(const QString &name);
    QString sampleText() const;

private:
    QLabel *m_panel = nullptr;
};

class TfrFontComboBox : public TfrCustomComboBox
{
    Q_OBJECT
public:
    explicit TfrFontComboBox(QWidget *parent);

    // The registry key of the recent fonts; an empty one restores the default.
    QString MRURegKey() const { return m_recent.key(); }
    void SetMRURegKey(const QString &key);
    bool ShowMRU() const { return m_recent.ShowMRU; }
    void SetShowMRU(bool value);
    // Index of the last recent entry (-1: none).
    int recentCount() const { return m_recent.recentCount(); }
    // The font type of an entry (4: smoothly scalable).
    int fontType(int index) const;
    // Fills the list again from the installed fonts and the recent ones.
    void Reload();
    // The families installed (screen fonts); tests replace it.
    static std::function<std::vector<FontEntry>()> &familySource();

    TfrFontPreview *Preview = nullptr;

protected:
    void choiceMade(int index) override;
    void paintIndent(QPainter &painter) override;
    void afterDropDown() override;
    void beforeCloseUp() override;

private:
    void setItems();
    RecentFonts m_recent;
};

// The small mark drawn before the name of a smoothly scalable font.
QImage frScalableFontMark();

} // namespace designer
