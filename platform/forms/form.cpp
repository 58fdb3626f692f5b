#include "platform/forms/form.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/application.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <utility>
#include <vector>

namespace platform
{

namespace
{
QPointer<TForm> s_active;
// The window whose own dialog just closed: its next activation is a return.
QPointer<TForm> s_returning;
// The active window that the toolkit is making again (aboutToBeRemade).
QPointer<TForm> s_remade;
int s_busyDepth = 0;
// While CloseQueryAll asks: what the windows agreed to drop, not dropped yet.
std::vector<std::function<void()>> *s_abandons = nullptr;
int s_created = 0;
QRect s_screenArea;

// What a window manager's frame takes at most on the desktops the program
// runs on (a title bar and thin borders): allowed for while no window tells
// its frame, so that a window fitted to the screen before it shows does not
// end with its bottom below the screen once the title bar is added.
constexpr QMargins kFrameAllowance(4, 32, 4, 4);

// The window system's frame around a top-level window (title bar, borders):
// this window's own once it has been shown, else that of a window already
// on the screen, else the allowance; none for a window without a frame.
QMargins frameMargins(const QWidget *window)
{
    const auto margins = [](const QWidget *w) {
        const QRect frame = w->frameGeometry();
        const QRect inner = w->geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                        frame.right() - inner.right(), frame.bottom() - inner.bottom());
    };
    if (window->windowFlags() & Qt::FramelessWindowHint)
        return QMargins();
    const Qt::WindowType type = window->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen)
        return QMargins();
    if (window->testAttribute(Qt::WA_WState_Created) && !margins(window).isNull())
        return margins(window);
    for (const QWidget *other : QApplication::topLevelWidgets())
        if (other != window && other->isVisible() && !margins(other).isNull())
            return margins(other);
    return kFrameAllowance;
}
} // namespace

QMargins windowFrameMargins(const QWidget *window)
{
    return frameMargins(window);
}

QRect availableScreenArea(const QWidget *window)
{
    if (!s_screenArea.isEmpty())
        return s_screenArea;
    QScreen *screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QList<QRect> availableScreenAreas()
{
    if (!s_screenArea.isEmpty())
        return {s_screenArea};
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

void setAvailableScreenArea(const QRect &area)
{
    s_screenArea = area;
}

TForm::TForm(const QString &name, QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(name);
    m_creationIndex = ++s_created;
    if (!MainForm())
        SetMainForm(this);
}

TForm::~TForm()
{
    if (s_active == this)
        s_active = nullptr;
}

void TForm::Show()
{
    if (!isVisible())
        show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

TForm *TForm::activeForm()
{
    return s_active;
}

void TForm::resetActivation()
{
    s_active = nullptr;
    s_returning = nullptr;
    s_remade = nullptr;
}

void TForm::aboutToBeRemade()
{
    // Only the active window hands the focus on when it goes.
    if (s_active == this)
        s_remade = this;
}

void TForm::activated()
{
    // While a dialog runs, the windows it raises belong to it.
    if (s_busyDepth > 0)
        return;
    if (s_remade) {
        // The window being made again is still the active one: another
        // window that gets the focus before it is back on the screen got it
        // from the window system, and the window's own return is no
        // activation (s_active is still this window).
        const QWindow *handle = s_remade->windowHandle();
        const bool away = s_remade->isVisible() && !(handle && handle->isExposed());
        if (s_remade != this && away)
            return;
        s_remade = nullptr;
    }
    const bool returning = s_returning == this;
    s_returning = nullptr;
    if (s_active == this || returning)
        return;
    QPointer<TForm> previous = s_active;
    s_active = this;
    if (previous)
        guard([&] { previous->FormDeactivate(); });
    guard([this] { FormActivate(); });
}

void TForm::deactivated()
{
    if (s_returning == this)
        s_returning = nullptr;
    if (s_remade == this)
        s_remade = nullptr;
    if (s_active != this)
        return;
    s_active = nullptr;
    guard([this] { FormDeactivate(); });
}

bool TForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        activated();
    // An error that the window's own event handlers (show, paint, resize,
    // keys...) let out is shown here, as a command's is, before it could
    // unwind through the toolkit; the event counts as handled.
    bool result = true;
    guard([&] { result = QWidget::event(event); });
    if (event->type() == QEvent::Move && m_awaitingFrame && isVisible())
        keepInArea();
    return result;
}

void TForm::keepInArea()
{
    // A window manager places a new window where it likes (cascading, at
    // random), perhaps partly off the screen: once it has framed the window,
    // the frame is brought whole into the area. Later moves are the user's.
    const QRect frame = frameGeometry();
    if (frame == geometry())
        return; // not framed yet
    m_awaitingFrame = false;
    const QRect area = availableScreenArea(this);
    if (area.isEmpty() || area.contains(frame))
        return;
    move(
        std::clamp(frame.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width())),
        std::clamp(frame.y(), area.top(),
                   std::max(area.top(), area.bottom() + 1 - frame.height())));
}

void TForm::fitToScreen()
{
    const QRect area = availableScreenArea(this);
    if (area.isEmpty())
        return;
    const QMargins frame = frameMargins(this);
    const QSize designed = size();
    const QSize room(area.width() - frame.left() - frame.right(),
                     area.height() - frame.top() - frame.bottom());
    if (designed.width() <= room.width() && designed.height() <= room.height())
        return;

    // The controls move, with their designed geometry and the window's
    // layout, into a page of the designed size that the scroll area shows.
    auto *page = new QWidget;
    page->setObjectName(objectName() + QStringLiteral("_Page"));
    page->setMinimumSize(designed);
    page->resize(designed);
    const QList<QWidget *> children = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child->isWindow())
            continue; // menus and dialogs owned by the window stay where they are
        const QRect geometry = child->geometry();
        const bool hidden = child->isHidden();
        child->setParent(page);
        child->setGeometry(geometry);
        child->setVisible(!hidden);
    }
    if (QLayout *own = layout())
        page->setLayout(own); // takes the layout from the window
    // The layout had set the window's minimum to its own, which may be wider
    // or higher than the screen; the scroll area now sets it.
    setMinimumSize(0, 0);
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setObjectName(objectName() + QStringLiteral("_Defilement"));
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setWidget(page);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scrollArea);

    // A scroll bar takes its room beside the page, not out of it: a window
    // too high only is made wider by the vertical bar where the screen has
    // that room, so that the bar covers no control of the right-hand side
    // and no sideways scrolling is needed; a bar the other way may in turn
    // call for the other one.
    const int bar =
        m_scrollArea->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scrollArea);
    bool across = designed.width() > room.width();
    bool down = designed.height() > room.height();
    if (down && !across && designed.width() + bar > room.width())
        across = true;
    if (across && !down && designed.height() + bar > room.height())
        down = true;
    const QSize fitted(std::min(designed.width() + (down ? bar : 0), room.width()),
                       std::min(designed.height() + (across ? bar : 0), room.height()));
    // A window of fixed size may now grow by a bar.
    setMaximumSize(std::max(maximumWidth(), designed.width() + bar),
                   std::max(maximumHeight(), designed.height() + bar));
    resize(fitted);
    // Its frame's top left corner at the area's.
    move(area.topLeft());
}

void TForm::showEvent(QShowEvent *event)
{
    if (!event->spontaneous() && !m_placed) {
        m_placed = true;
        m_awaitingFrame = true;
        fitToScreen();
        if (m_position == Position::ScreenCenter) {
            const QRect area = availableScreenArea(this);
            if (!area.isEmpty()) {
                // The frame, known or allowed for, centred in the area.
                QRect r = geometry().marginsAdded(frameMargins(this));
                r.moveCenter(area.center());
                move(r.topLeft());
            }
        }
        guard([this] { FormShow(); });
    }
    QWidget::showEvent(event);
}

void TForm::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        deactivated();
    QWidget::hideEvent(event);
}

bool TForm::CloseQueryAll(bool saison)
{
    std::vector<TForm *> forms;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *form = qobject_cast<TForm *>(w))
            forms.push_back(form);
    std::sort(forms.begin(), forms.end(), [](const TForm *a, const TForm *b) {
        return a->m_creationIndex < b->m_creationIndex;
    });
    std::vector<std::function<void()>> abandons;
    std::vector<std::function<void()>> *avant = std::exchange(s_abandons, &abandons);
    bool accepte = true;
    for (TForm *form : forms) {
        accepte = false;
        guard([&] {
            // Work the window keeps, in its own season, across the change
            // is left to it.
            if (saison) {
                const std::optional<TravailEnAttente> travail = form->travailEnAttente();
                if (travail && travail->gardeeAuChangementDeSaison) {
                    accepte = true;
                    return;
                }
            }
            // A window's own CloseQuery may ask about its work (a window
            // that asks when its close box is used); else it is asked here.
            form->m_demandee = false;
            accepte = form->CloseQuery() && (form->m_demandee || form->demanderTravail());
        });
        if (!accepte)
            break;
    }
    s_abandons = avant;
    if (!accepte)
        return false;
    for (const auto &abandon : abandons)
        abandonner(abandon);
    return true;
}

static QString texteFenetreNommee(QString fenetre, const QString &question)
{
    // A caption that ends on a colon, waiting for a file's name, without it.
    fenetre = fenetre.trimmed();
    if (fenetre.endsWith(u':'))
        fenetre = fenetre.chopped(1).trimmed();
    return QStringLiteral("Fenêtre « %1 » :\n%2").arg(fenetre, question);
}

bool TForm::demanderTravail()
{
    std::optional<TravailEnAttente> travail = travailEnAttente();
    if (travail && travail->enregistreeEnPartant && travail->enregistrer) {
        // Recorded as leaving the window would; asked about only when the
        // write was refused, and then it can only be kept or dropped.
        if (travail->enregistrer())
            return true;
        travail = travailEnAttente();
        if (travail)
            travail->enregistrer = nullptr;
    }
    return !travail || demanderTravail(*travail);
}

bool TForm::demanderTravail(const TravailEnAttente &travail)
{
    m_demandee = true;
    // Asked on behalf of the whole program, the question says which window
    // holds the work.
    const QString question =
        s_abandons ? texteFenetreNommee(Caption(), travail.question) : travail.question;
    if (travail.enregistrer) {
        const int reponse = MessageDlg(question, mtConfirmation, mbYesNoCancel);
        if (reponse == mrYes)
            return travail.enregistrer();
        if (reponse != mrNo)
            return false;
    } else if (travail.avertissement) {
        if (MessageDlg(question, mtWarning, mbYes | mbCancel) != mrYes)
            return false;
    } else if (MessageDlg(question, mtConfirmation, mbYes | mbNo) != mrYes) {
        return false;
    }
    if (travail.abandon)
        abandonner(travail.abandon);
    return true;
}

void TForm::champDeReglage(QWidget *champ)
{
    champ->setProperty("vornChampDeReglage", true);
}

bool TForm::estChampDeReglage(const QWidget *champ)
{
    for (const QWidget *w = champ; w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (w->property("vornChampDeReglage").toBool())
            return true;
    return false;
}

void TForm::abandonner(std::function<void()> abandon)
{
    if (s_abandons)
        s_abandons->push_back(std::move(abandon));
    else
        guard(abandon);
}

void TForm::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the run; any other window only hides.
    const bool principale = MainForm() == this;
    bool accepte = false;
    if (principale)
        accepte = CloseQueryAll();
    else
        guard([&] { accepte = CloseQuery(); });
    if (!accepte) {
        event->ignore();
        return;
    }
    event->accept();
    if (principale)
        Terminate();
}

ModalScope::ModalScope(QWidget *owner)
{
    QWidget *modal = owner ? nullptr : QApplication::activeModalWidget();
    if (!owner)
        owner = TForm::activeForm();
    m_parent = owner && owner->isVisible() ? owner->window() : nullptr;
    // A dialog tied to a window that a modal one covers would bring that
    // window above the modal one (window managers raise the window a dialog
    // belongs to along with it): it goes above the modal window instead.
    if (modal && modal->isVisible())
        m_parent = modal;
    m_owner = qobject_cast<TForm *>(owner ? owner->window() : nullptr);
    if (m_owner)
        ++m_owner->m_busy;
    ++s_busyDepth;
}

ModalScope::~ModalScope()
{
    --s_busyDepth;
    if (m_owner) {
        --m_owner->m_busy;
        if (m_owner->isVisible())
            s_returning = m_owner.data();
    }
}

} // namespace platform
