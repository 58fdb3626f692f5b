#pragma once
// The memo text editor: the text lines of a report object and, for objects
// that carry one, its script, in two panes one above the other. One lives
// with each designer window; page scripts are edited in it too.
#include "report/ui/frdialogform.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPlainTextEdit;

namespace report
{
class TfrSpeedButton;
class TfrView;
} // namespace report

namespace designer
{

class DesignerCore;

// The bar between the two panes: dragging it moves the border.
class TfrEditorSplitter : public QWidget
{
    Q_OBJECT
public:
    explicit TfrEditorSplitter(QWidget *parent);
    // Called with the vertical distance of each move while the button is held.
    std::function<void(int dy)> OnDrag;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_down = false;
    int m_lastY = 0;
};

class TfrEditorForm : public report::TfrObjEditorForm
{
    Q_OBJECT
public:
    TfrEditorForm(DesignerCore &core, QWidget *parent);
    ~TfrEditorForm() override;

    // Shows the window modally for view: mrOk when the view was changed.
    int ShowEditor(report::TfrView &view) override;

    // --- parts (tests find them by name too)
    QWidget *ButtonPanel = nullptr;
    QWidget *MemoPanel = nullptr;
    QPlainTextEdit *M1 = nullptr;
    TfrEditorSplitter *Splitter = nullptr;
    QWidget *ScriptPanel = nullptr;
    QPlainTextEdit *ScriptMemo = nullptr;
    QLabel *ErrorPanel = nullptr;
    report::TfrSpeedButton *OkB = nullptr;
    report::TfrSpeedButton *CancelB = nullptr;
    report::TfrSpeedButton *ExprB = nullptr;
    report::TfrSpeedButton *FieldB = nullptr;
    report::TfrSpeedButton *WordWrapB = nullptr;
    report::TfrSpeedButton *ScriptB = nullptr;
    report::TfrSpeedButton *CutB = nullptr;
    report::TfrSpeedButton *CopyB = nullptr;
    report::TfrSpeedButton *PasteB = nullptr;

    // The pane that last had the focus: insertions and the clipboard act on it.
    QPlainTextEdit *ActiveMemo = nullptr;
    // The script pane's state, kept from one opening to the next.
    bool ScriptShown = true;
    int ScriptTop = -1; // the bar's top in the panes' area; -1: half of it

    // --- handlers
    void OkBClick();
    void InsertExpressionClick();
    void InsertFieldClick();
    void WordWrapBClick();
    void ScriptBClick();
    void CutBClick();
    void CopyBClick();
    void PasteBClick();
    void SplitterDrag(int dy);
    // The panes' area height (the window's client height under the buttons).
    int panesHeight() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutPanes();
    void insertText(const QString &text);
    bool scriptVisible() const;

    DesignerCore &m_core;
    QWidget *m_panes = nullptr;
    bool m_scriptAllowed = true;
    bool m_scriptPaneShown = true; // while the window is open
};

// Creates the memo text editor of a designer window and fills the window's
// memo editor, object editor and page script slots.
void installEditorForm(DesignerCore &core, QObject *window);

} // namespace designer
