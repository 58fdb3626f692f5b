#pragma once
// The window base class. Every window of the program is a top-level TForm
// created at start-up and kept until exit; its child controls carry their
// control names as objectName.
//
// Activation: FormActivate runs when the window becomes the program's active
// window coming from another of the program's windows (the user switched, or
// a menu command showed it), FormDeactivate on the window that loses that
// place and when the window hides. Getting the focus back from one of its
// own dialogs (message boxes, file dialogs, previews: they run inside a
// ModalScope) or from another application does not count as an activation.
#include <QList>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class QCloseEvent;
class QHideEvent;
class QScrollArea;
class QShowEvent;

namespace platform
{

// Work a window holds that is recorded nowhere yet (typed, chosen or
// computed), as the window declares it: what every question about dropping
// it is asked from.
struct TravailEnAttente {
    // Names the work and asks: "Oui" drops it and "Non" keeps it, or, when
    // the work can be recorded from the question, "Oui" records it, "Non"
    // drops it and "Annuler" keeps it.
    QString question;
    // Gives the window back what is recorded; run once the user agreed
    // (see TForm::abandonner).
    std::function<void()> abandon;
    // Records the work; false when that was refused (the window said why)
    // and the work stays. Null: the work cannot be recorded from a question.
    std::function<bool()> enregistrer;
    // The window records the work by itself when it is left: at the end of
    // the run too it is recorded first, and asked about only when refused.
    bool enregistreeEnPartant = false;
    // A question asked where the work can no longer be recorded: "Oui"
    // drops it, "Annuler" keeps it.
    bool avertissement = false;
    // The window keeps the work, and records it where it belongs, across a
    // change of the open season: the season commands do not ask about it.
    bool gardeeAuChangementDeSaison = false;
};

class TForm : public QWidget
{
    Q_OBJECT

public:
    enum class Position { Designed, ScreenCenter };

    // name: the window's name (objectName), e.g. "Vorn_FPr".
    explicit TForm(const QString &name, QWidget *parent = nullptr);
    ~TForm() override;

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString &caption) { setWindowTitle(caption); }

    // Makes the window visible, brings it to the front and activates it.
    void Show();
    void Hide() { hide(); }

    void setPosition(Position position) { m_position = position; }

    // Order of creation among all windows, from 1 (start-up order checks).
    int creationIndex() const { return m_creationIndex; }

    // A dialog of this window is running (see ModalScope).
    bool isBusy() const { return m_busy > 0; }

    // The window that last became the program's active window, or null.
    static TForm *activeForm();
    // Forgets the active window without running any handler (tests).
    static void resetActivation();

    // Runs the activation logic as if the window system had activated this
    // window; used where no window system activates (offscreen platforms).
    void activated();

    // The toolkit is about to make the window again (a view drawing through
    // the graphics card joins it). Meanwhile the window system gives the
    // focus to another of the program's windows and back again: while the
    // window is off the screen those activations are not the user's, and
    // neither handler runs for them.
    void aboutToBeRemade();

    // The scroll area that holds the window's controls when its designed
    // size did not fit the screen at its first showing; null otherwise.
    QScrollArea *scrollArea() const { return m_scrollArea; }

    // Asks every window, in creation order, whether the run may end (see
    // CloseQuery); false as soon as one keeps it going. What a window was
    // told to drop (see abandonner) is dropped only once every window has
    // agreed: a window that keeps the run going leaves the others' work as
    // it was. The main window's close box and the program's own quit
    // command ask it first. saison: the open season is about to change;
    // a window whose work stays across that change is not asked.
    static bool CloseQueryAll(bool saison = false);

    // What the window holds that is recorded nowhere, or nothing. Declared
    // once here by each window that can hold such work: its own controls,
    // its CloseQuery, the end of the run and the season commands all ask
    // through it.
    virtual std::optional<TravailEnAttente> travailEnAttente() { return std::nullopt; }
    // Asks about the work declared, if any: true when none is left to keep
    // the window (recorded, nothing pending, or dropped as the user said).
    // During CloseQueryAll the question names the window.
    bool demanderTravail();
    // The same for a part of it (what one of the window's controls would
    // drop).
    bool demanderTravail(const TravailEnAttente &travail);

    // A field whose text sets how a command runs (a filter, a title to
    // print, a name to add, a setting of a calculation), not work to
    // record; a window given here holds no such work in any field.
    static void champDeReglage(QWidget *champ);
    static bool estChampDeReglage(const QWidget *champ);

protected:
    virtual void FormActivate() {}
    virtual void FormDeactivate() {}
    // Runs once, when the window is first shown, before it is activated.
    virtual void FormShow() {}
    // Asked before the window closes and before the run ends: false keeps
    // the window, and the run, going. An exception it raises is shown and
    // counts as false. By default nothing is asked: a window other than
    // the main one only hides, keeping what it holds, and the end of the
    // run asks about the work the window declares.
    virtual bool CloseQuery() { return true; }
    // Drops what the user said to drop in answer to CloseQuery: at once, or,
    // while CloseQueryAll asks every window, once all of them have agreed.
    static void abandonner(std::function<void()> abandon);

    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    friend class ModalScope;

    void deactivated();
    void fitToScreen();
    void keepInArea();

    Position m_position = Position::Designed;
    bool m_placed = false;
    // Shown, but not yet framed and placed by the window system.
    bool m_awaitingFrame = false;
    int m_busy = 0;
    bool m_returningFromModal = false;
    int m_creationIndex = 0;
    // Asked about its work since CloseQueryAll began asking it.
    bool m_demandee = false;
    QScrollArea *m_scrollArea = nullptr;
};

// The part of the screen a window may take (the screen's available area,
// the task bar left out). A window whose designed size, frame included, is
// larger opens fitted to it, its controls in a scroll area at their designed
// size; one that fits opens as designed.
QRect availableScreenArea(const QWidget *window);
// The same for every screen (the one the tests set, when they set one).
QList<QRect> availableScreenAreas();
// Tests set the area they want; an empty rectangle gives back the screen's.
void setAvailableScreenArea(const QRect &area);
// The window system's frame around a top-level window (title bar, borders):
// its own once shown, else that of a window already on the screen, else an
// allowance for a title bar and borders; none for a frameless window.
QMargins windowFrameMargins(const QWidget *window);

// Marks a window busy while one of its own dialogs runs: the activation it
// gets back when the dialog closes is not an activation of the window. The
// dialog, preview and designer seams open one around their modal loop.
// owner null: the program's active window, the dialog going above the modal
// window on top (a designer, a preview) when one runs.
class ModalScope
{
public:
    explicit ModalScope(QWidget *owner = nullptr);
    ~ModalScope();
    ModalScope(const ModalScope &) = delete;
    ModalScope &operator=(const ModalScope &) = delete;

    // The window to parent the dialog to (may be null).
    QWidget *parentWidget() const { return m_parent; }

private:
    QPointer<TForm> m_owner;
    QPointer<QWidget> m_parent;
};

} // namespace platform
