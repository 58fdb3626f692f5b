#include "designer/ui/editorform.h"

#include "designer/core/designercore.h"
#include "designer/core/editorfonts.h"
#include "designer/core/memoeditrules.h"
#include "designer/core/objecteditors.h"
#include "designer/ui/designerglyphs.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "report/core/frlocale.h"
#include "report/objects/frview.h"
#include "report/ui/frctrls.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>

namespace designer
{

using report::frLoadString;
using report::TfrSpeedButton;

namespace editorform_detail
{

constexpr int kButtonBarHeight = 30;
constexpr int kBarHeight = 2;
constexpr int kErrorHeight = 18;
// Neither pane may be dragged or resized away entirely.
constexpr int kMinPane = 20;

// Small pictures of the editor's own buttons on the olive background that
// buttons show as transparent.
QImage editorGlyph(const QString &name)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(QColor(128, 128, 0));
    QPainter p(&img);
    p.setPen(Qt::black);
    if (name == QLatin1String("ExprB")) {
        // Square brackets around a dot: an expression.
        p.drawLine(3, 2, 3, 13);
        p.drawLine(3, 2, 5, 2);
        p.drawLine(3, 13, 5, 13);
        p.drawLine(12, 2, 12, 13);
        p.drawLine(10, 2, 12, 2);
        p.drawLine(10, 13, 12, 13);
        p.fillRect(7, 7, 2, 2, Qt::blue);
    } else if (name == QLatin1String("FieldB")) {
        // A small table: a data field.
        p.fillRect(2, 3, 12, 10, Qt::white);
        p.drawRect(2, 3, 11, 9);
        p.fillRect(3, 4, 10, 2, QColor(0, 0, 128));
        p.drawLine(7, 6, 7, 12);
        p.drawLine(2, 9, 13, 9);
    } else if (name == QLatin1String("WordWrapB")) {
        // Lines turning back at the right edge.
        p.drawLine(2, 4, 12, 4);
        p.drawLine(12, 4, 12, 8);
        p.drawLine(12, 8, 5, 8);
        p.drawLine(5, 8, 7, 6);
        p.drawLine(5, 8, 7, 10);
        p.drawLine(2, 12, 9, 12);
    } else if (name == QLatin1String("ScriptB")) {
        // A page of code.
        p.fillRect(3, 1, 10, 14, Qt::white);
        p.drawRect(3, 1, 9, 13);
        p.setPen(QColor(0, 0, 128));
        p.drawLine(5, 4, 9, 4);
        p.drawLine(7, 7, 10, 7);
        p.drawLine(7, 10, 10, 10);
        p.drawLine(5, 12, 8, 12);
    }
    return img;
}

} // namespace editorform_detail

using namespace editorform_detail;

// --- the bar between the panes

TfrEditorSplitter::TfrEditorSplitter(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Splitter"));
    setCursor(Qt::SplitVCursor);
}

void TfrEditorSplitter::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_down = true;
    m_lastY = int(event->globalPosition().y());
}

void TfrEditorSplitter::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_down)
        return;
    const int y = int(event->globalPosition().y());
    const int dy = y - m_lastY;
    m_lastY = y;
    if (dy != 0 && OnDrag)
        platform::guard([&] { OnDrag(dy); });
}

void TfrEditorSplitter::mouseReleaseEvent(QMouseEvent *)
{
    m_down = false;
}

void TfrEditorSplitter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
}

// --- the editor

TfrEditorForm::TfrEditorForm(DesignerCore &core, QWidget *parent)
    : report::TfrObjEditorForm(parent), m_core(core)
{
    setObjectName(QStringLiteral("frEditorForm"));
    setWindowTitle(frLoadString(53060));
    setSizeGripEnabled(true);

    ButtonPanel = new QWidget(this);
    ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    int x = 4;
    auto addButton = [&](const QString &name, const QString &caption, const QString &hint,
                         const QImage &glyph, int width) {
        auto *b = new TfrSpeedButton(ButtonPanel);
        b->setObjectName(name);
        if (!caption.isEmpty())
            b->SetCaption(caption);
        if (!glyph.isNull())
            b->SetGlyph(glyph);
        b->setToolTip(hint);
        b->SetFlat(true);
        b->setGeometry(x, 4, width, 22);
        x += width + 2;
        return b;
    };
    OkB = addButton(QStringLiteral("OkB"), frLoadString(55000), QString(), QImage(), 75);
    CancelB = addButton(QStringLiteral("CancelB"), frLoadString(55001), QString(), QImage(), 75);
    // The two buttons that close the window look like buttons at rest too.
    OkB->SetFlat(false);
    CancelB->SetFlat(false);
    x += 8;
    ExprB = addButton(QStringLiteral("ExprB"), QString(), frLoadString(53061),
                      editorGlyph(QStringLiteral("ExprB")), 22);
    FieldB = addButton(QStringLiteral("FieldB"), QString(), frLoadString(53062),
                       editorGlyph(QStringLiteral("FieldB")), 22);
    x += 8;
    WordWrapB = addButton(QStringLiteral("WordWrapB"), QString(), frLoadString(53063),
                          editorGlyph(QStringLiteral("WordWrapB")), 22);
    WordWrapB->SetGroupIndex(1);
    WordWrapB->SetAllowAllUp(true);
    ScriptB = addButton(QStringLiteral("ScriptB"), QString(), frLoadString(53064),
                        editorGlyph(QStringLiteral("ScriptB")), 22);
    ScriptB->SetGroupIndex(2);
    ScriptB->SetAllowAllUp(true);
    ScriptB->SetDown(true);
    x += 8;
    CutB = addButton(QStringLiteral("CutB"), QString(), frLoadString(53091),
                     frDesignerGlyph(QStringLiteral("CutB")), 22);
    CopyB = addButton(QStringLiteral("CopyB"), QString(), frLoadString(53092),
                      frDesignerGlyph(QStringLiteral("CopyB")), 22);
    PasteB = addButton(QStringLiteral("PasteB"), QString(), frLoadString(53093),
                       frDesignerGlyph(QStringLiteral("PstB")), 22);

    m_panes = new QWidget(this);
    m_panes->setObjectName(QStringLiteral("Panes"));
    MemoPanel = new QWidget(m_panes);
    MemoPanel->setObjectName(QStringLiteral("MemoPanel"));
    M1 = new QPlainTextEdit(MemoPanel);
    M1->setObjectName(QStringLiteral("M1"));
    M1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Splitter = new TfrEditorSplitter(m_panes);
    Splitter->OnDrag = [this](int dy) { SplitterDrag(dy); };
    ScriptPanel = new QWidget(m_panes);
    ScriptPanel->setObjectName(QStringLiteral("ScriptPanel"));
    ScriptMemo = new QPlainTextEdit(ScriptPanel);
    ScriptMemo->setObjectName(QStringLiteral("ScriptMemo"));
    ScriptMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ScriptMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScriptMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScriptMemo->setProperty("HelpContext", 20);
    ErrorPanel = new QLabel(ScriptPanel);
    ErrorPanel->setObjectName(QStringLiteral("ErrorPanel"));
    ErrorPanel->setFrameShape(QFrame::Panel);
    ErrorPanel->setFrameShadow(QFrame::Sunken);
    ErrorPanel->hide();
    ActiveMemo = M1;
    for (QPlainTextEdit *pane : {M1, ScriptMemo})
        pane->installEventFilter(this);

    OkB->OnClick = [this] { platform::guard([this] { OkBClick(); }); };
    CancelB->OnClick = [this] { reject(); };
    ExprB->OnClick = [this] { platform::guard([this] { InsertExpressionClick(); }); };
    FieldB->OnClick = [this] { platform::guard([this] { InsertFieldClick(); }); };
    WordWrapB->OnClick = [this] { platform::guard([this] { WordWrapBClick(); }); };
    ScriptB->OnClick = [this] { platform::guard([this] { ScriptBClick(); }); };
    CutB->OnClick = [this] { platform::guard([this] { CutBClick(); }); };
    CopyB->OnClick = [this] { platform::guard([this] { CopyBClick(); }); };
    PasteB->OnClick = [this] { platform::guard([this] { PasteBClick(); }); };

    resize(std::max(x + 8, 520), 420);
}

TfrEditorForm::~TfrEditorForm() = default;

int TfrEditorForm::panesHeight() const
{
    return std::max(0, height() - kButtonBarHeight);
}

bool TfrEditorForm::scriptVisible() const
{
    return m_scriptAllowed && m_scriptPaneShown;
}

void TfrEditorForm::layoutPanes()
{
    const int w = width();
    const int h = panesHeight();
    ButtonPanel->setGeometry(0, 0, w, kButtonBarHeight);
    m_panes->setGeometry(0, kButtonBarHeight, w, h);
    if (ScriptTop < 0)
        ScriptTop = h / 2;
    if (!scriptVisible()) {
        Splitter->hide();
        ScriptPanel->hide();
        MemoPanel->setGeometry(0, 0, w, h);
    } else {
        ScriptTop = std::clamp(ScriptTop, kMinPane, std::max(kMinPane, h - kBarHeight - kMinPane));
        MemoPanel->setGeometry(0, 0, w, ScriptTop);
        Splitter->setGeometry(0, ScriptTop, w, kBarHeight);
        ScriptPanel->setGeometry(0, ScriptTop + kBarHeight, w,
                                 std::max(0, h - ScriptTop - kBarHeight));
        Splitter->show();
        ScriptPanel->show();
    }
    M1->setGeometry(MemoPanel->rect());
    const int errorH = ErrorPanel->isVisibleTo(ScriptPanel) ? kErrorHeight : 0;
    ScriptMemo->setGeometry(0, 0, ScriptPanel->width(),
                            std::max(0, ScriptPanel->height() - errorH));
    ErrorPanel->setGeometry(0, ScriptPanel->height() - errorH, ScriptPanel->width(), errorH);
}

int TfrEditorForm::ShowEditor(report::TfrView &view)
{
    const MemoEditorOpening opening = memoEditorOpening(view, readEditorFonts());
    m_scriptAllowed = opening.scriptAllowed;
    m_scriptPaneShown = ScriptShown;
    ErrorPanel->hide();
    M1->setLineWrapMode(WordWrapB->Down() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    M1->setPlainText(opening.text.join(QLatin1Char('\n')));
    ScriptMemo->setPlainText(opening.script.join(QLatin1Char('\n')));
    QFont textFont(opening.textFontName);
    textFont.setPointSize(opening.textFontSize);
    M1->setFont(textFont);
    QFont scriptFont(opening.scriptFontName);
    scriptFont.setPointSize(opening.scriptFontSize);
    ScriptMemo->setFont(scriptFont);
    M1->setReadOnly(opening.textReadOnly);
    ScriptMemo->setReadOnly(opening.scriptReadOnly);
    // The script button mirrors the pane; without a script it stays down.
    ScriptB->SetDown(m_scriptAllowed ? ScriptShown : true);
    Splitter->setCursor(scriptVisible() ? Qt::SplitVCursor : Qt::ArrowCursor);
    layoutPanes();
    ActiveMemo = M1;
    M1->moveCursor(QTextCursor::Start);
    M1->setFocus();

    int result = platform::mrCancel;
    {
        platform::ModalScope scope(parentWidget());
        result = exec() == QDialog::Accepted ? platform::mrOk : platform::mrCancel;
    }
    if (result != platform::mrOk)
        return result;
    // Soft line breaks are never stored: the text is taken unwrapped.
    M1->setLineWrapMode(QPlainTextEdit::NoWrap);
    storeMemoEditorResult(view, paneLines(M1->toPlainText()), paneLines(ScriptMemo->toPlainText()),
                          m_scriptAllowed);
    if (m_scriptAllowed)
        ScriptShown = ScriptB->Down();
    return result;
}

void TfrEditorForm::OkBClick()
{
    // A view without a script has nothing to check: a script read from a
    // file could never be corrected in a pane that is not shown.
    const QStringList errors =
        m_scriptAllowed ? checkScript(paneLines(ScriptMemo->toPlainText())) : QStringList();
    if (errors.isEmpty()) {
        accept();
        return;
    }
    if (!scriptVisible()) {
        m_scriptPaneShown = true;
        ScriptB->SetDown(true);
    }
    ErrorPanel->setText(QLatin1Char(' ') + errors.first());
    ErrorPanel->show();
    layoutPanes();
    QTextCursor cursor(ScriptMemo->document());
    if (const std::optional<ScriptErrorPlace> place = scriptErrorPlace(errors.first())) {
        QTextBlock block = ScriptMemo->document()->findBlockByNumber(place->line);
        if (!block.isValid())
            block = ScriptMemo->document()->lastBlock();
        cursor.setPosition(block.position() + std::min(place->column, block.length() - 1));
    }
    ScriptMemo->setTextCursor(cursor);
    ScriptMemo->setFocus();
    ScriptMemo->ensureCursorVisible();
    ActiveMemo = ScriptMemo;
}

void TfrEditorForm::insertText(const QString &text)
{
    if (text.isEmpty() || !ActiveMemo || ActiveMemo->isReadOnly())
        return;
    ActiveMemo->insertPlainText(text);
    ActiveMemo->setFocus();
}

void TfrEditorForm::InsertExpressionClick()
{
    insertText(m_core.PickExpression());
}

void TfrEditorForm::InsertFieldClick()
{
    insertText(m_core.PickDataField());
}

void TfrEditorForm::WordWrapBClick()
{
    M1->setLineWrapMode(WordWrapB->Down() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TfrEditorForm::ScriptBClick()
{
    if (!m_scriptAllowed) {
        ScriptB->SetDown(true);
        return;
    }
    // Kept for the next opening only when the editor closes with OK.
    m_scriptPaneShown = ScriptB->Down();
    Splitter->setCursor(m_scriptPaneShown ? Qt::SplitVCursor : Qt::ArrowCursor);
    layoutPanes();
    if (!m_scriptPaneShown && ActiveMemo == ScriptMemo) {
        ActiveMemo = M1;
        M1->setFocus();
    }
}

void TfrEditorForm::CutBClick()
{
    if (ActiveMemo && !ActiveMemo->isReadOnly())
        ActiveMemo->cut();
}

void TfrEditorForm::CopyBClick()
{
    if (ActiveMemo)
        ActiveMemo->copy();
}

void TfrEditorForm::PasteBClick()
{
    if (ActiveMemo && !ActiveMemo->isReadOnly())
        ActiveMemo->paste();
}

void TfrEditorForm::SplitterDrag(int dy)
{
    if (!scriptVisible())
        return;
    ScriptTop += dy;
    layoutPanes();
}

bool TfrEditorForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *pane = qobject_cast<QPlainTextEdit *>(watched);
    if (pane && (pane == M1 || pane == ScriptMemo)) {
        if (event->type() == QEvent::FocusIn) {
            ActiveMemo = pane;
        } else if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            const Qt::KeyboardModifiers mods =
                key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
            if (ErrorPanel->isVisible()) {
                ErrorPanel->hide();
                layoutPanes();
            }
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && (mods & Qt::ControlModifier)) {
                platform::guard([this] { OkBClick(); });
                return true;
            }
            if (key->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
                platform::guard([this] { InsertFieldClick(); });
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                reject();
                return true;
            }
        }
    }
    return report::TfrObjEditorForm::eventFilter(watched, event);
}

void TfrEditorForm::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        platform::guard([this] { OkBClick(); });
        return;
    }
    // Enter alone never closes the window: it belongs to the panes.
    if (enter)
        return;
    report::TfrObjEditorForm::keyPressEvent(event);
}

void TfrEditorForm::resizeEvent(QResizeEvent *event)
{
    report::TfrObjEditorForm::resizeEvent(event);
    ErrorPanel->hide();
    const int h = panesHeight();
    if (scriptVisible() && h - ScriptTop - kBarHeight > h - 40)
        ScriptTop = h - h / 2 - kBarHeight;
    layoutPanes();
}

void installEditorForm(DesignerCore &core, QObject *window)
{
    installObjectEditors(core);
    // The editor lives with its window, which frees it.
    auto *owner = qobject_cast<QWidget *>(window);
    if (!owner)
        return;
    QPointer<TfrEditorForm> form = new TfrEditorForm(core, owner);
    core.state.Requests.memoEditor = [form](report::TfrView *view) {
        return form && view && form->ShowEditor(*view) == platform::mrOk;
    };
}

} // namespace designer
