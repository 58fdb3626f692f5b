#pragma once
// The object inspector: a tool window of the designer listing the properties
// of the selection (or of the page) as a two-column grid of our own, with one
// edit line over the current row, an editor button, a choice button and a
// drop-down list of choices. It knows no report object: the designer fills
// its rows and applies what it reports.
#include "designer/core/inspectorprop.h"

#include <QComboBox>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QWidget>
#include <functional>

class QScrollArea;
class QToolButton;

namespace designer
{

class DesignerCore;
class InspectorLink;
class TfrInspForm;

// Lays its children out itself and paints nothing, so that only the grid
// draws.
class TInspPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TInspPanel(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *) override {}
};

// The grid: copies the form's off-screen image and hands the mouse over.
class TfrInspPaintBox : public QWidget
{
    Q_OBJECT
public:
    TfrInspPaintBox(TfrInspForm *form, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TfrInspForm *m_form;
};

// The edit line over the current row.
class TfrInspEdit : public QLineEdit
{
    Q_OBJECT
public:
    TfrInspEdit(TfrInspForm *form, QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    TfrInspForm *m_form;
};

// The drop-down list of choices: a pop-up window of its own.
class TfrPopupListbox : public QListWidget
{
    Q_OBJECT
public:
    explicit TfrPopupListbox(QWidget *parent);
    std::function<void()> OnClick;
    static constexpr int kItemHeight = 11;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// The object list: closed, it shows "name: ClassName"; open, the names.
class TfrInspCombo : public QComboBox
{
    Q_OBJECT
public:
    TfrInspCombo(TfrInspForm *form, QWidget *parent);
    QString closedText() const;
    void showPopup() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TfrInspForm *m_form;
};

// The strip above the list: the caption again, and a double click rolls
// the window up or down (the window manager owns the real caption).
class TfrInspTitle : public QWidget
{
    Q_OBJECT
public:
    TfrInspTitle(TfrInspForm *form, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    TfrInspForm *m_form;
};

class TfrInspForm : public QWidget
{
    Q_OBJECT
public:
    explicit TfrInspForm(QWidget *owner);
    ~TfrInspForm() override;

    static constexpr int kTitleHeight = 16;

    // --- called by the designer
    TPropList Props;
    void ClearProperties() { Props.ClearProperties(); }
    void RefreshItems();
    report::FrVariant RowValue(int index) const { return Props.RowValue(index); }
    QString Items(int index) const { return Props.Items(index); }
    void ShowAndRestore();
    bool Locked() const { return m_locked; }
    void SetLocked(bool locked);
    int SplitX = 75;

    std::function<void(int index)> OnPropertyModified;
    std::function<void(QStringList &items)> OnFillObjectList;
    std::function<void(const QString &name)> OnObjectSelected;
    std::function<void()> OnRollUpChanged;
    // Resized or moved (the designer keeps its tool windows side by side).
    std::function<void()> OnResized;

    // --- state
    int ItemIndex = -1;
    int RowHeight = 16;
    int GridWidth = 0;
    QImage Buffer;
    bool Painting = false;
    bool Committing = false;
    int SavedHeight = 0;
    bool DraggingSplit = false;
    quint32 LastClickTick = 0;
    QString LastPropName;
    // Property name -> display name, shown when the locale asks for them.
    QHash<QString, QString> LocalizedNames;
    void LoadLocalizedNames();
    QString displayName(const QString &name) const;

    // The height under the title strip; under 20 counts as rolled up.
    int clientHeight() const { return height() - kTitleHeight; }
    bool rolledUp() const { return clientHeight() < 20; }

    // --- operations
    void SelectRow(int index);
    void CommitText(const QString &text);
    void RollUp();
    void EditBtnClick();
    void ComboBtnClick();
    void PopupListClick();
    void Edit1DblClick();
    // Key on the edit line; true when swallowed.
    bool Edit1KeyDown(int key);
    void PaintGrid();
    void GridMouseDown(const QPoint &p);
    void GridMouseMove(const QPoint &p, bool buttonDown);
    void GridMouseUp();
    void CB1Activated(const QString &name);
    void CB1DropDown();
    QString inspectedClosedText() const;

    // --- parts
    TfrInspTitle *Title = nullptr;
    TfrInspCombo *CB1 = nullptr;
    QScrollArea *Box = nullptr;
    TInspPanel *Panel = nullptr;
    TfrInspPaintBox *PaintBox1 = nullptr;
    TfrInspEdit *Edit1 = nullptr;
    QWidget *EditPanel = nullptr;
    QToolButton *EditBtn = nullptr;
    QWidget *ComboPanel = nullptr;
    QToolButton *ComboBtn = nullptr;
    TfrPopupListbox *PopupList = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

private:
    void layoutParts();
    void drawRow(QPainter &p, int row, bool current);
    QFont gridFont() const;
    bool m_locked = false;
};

// The inspector of a designer window: creates it, fills the window's
// inspector slots and follows the window being shown and hidden.
void installInspector(DesignerCore &core, QObject *window);

} // namespace designer
