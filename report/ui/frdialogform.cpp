#include "report/ui/frdialogform.h"

#include "platform/canvas/colors.h"
#include "platform/forms/application.h"
#include "platform/forms/form.h"
#include "report/objects/frdialogcontrols.h"
#include "report/objects/frglobals.h"

#include <QMetaObject>

namespace report
{

namespace
{
// Border styles and positions of a dialog page.
constexpr int bsSizeable = 2;
constexpr int bsSizeToolWin = 5;
constexpr int poScreenCenter = 4;
} // namespace

TfrDialogPageForm::TfrDialogPageForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DialogForm"));
}

void TfrDialogPageForm::SetFormProperties(int borderStyle, const QString &caption, int color,
                                          const QRect &bounds, int position)
{
    setWindowTitle(caption);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, platform::toQColor(platform::TColor(color)));
    setPalette(pal);
    setAutoFillBackground(true);
    const QSize size(std::max(1, bounds.width()), std::max(1, bounds.height()));
    if (borderStyle == bsSizeable || borderStyle == bsSizeToolWin) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(size);
    } else {
        setFixedSize(size);
    }
    QPoint topLeft = bounds.topLeft();
    if (position == poScreenCenter) {
        const QRect area = platform::availableScreenArea(this);
        topLeft = area.center() - QPoint(size.width() / 2, size.height() / 2);
    }
    move(topLeft);
}

bool TfrDialogPageForm::PlaceControl(TfrView &view)
{
    auto *control = dynamic_cast<TfrControl *>(&view);
    if (!control || dynamic_cast<TfrNonVisualControl *>(control))
        return false;
    control->PlaceControl(this);
    return true;
}

void TfrDialogPageForm::activated()
{
    // The page script runs once, when the form first shows; a modal result
    // it gives closes the form before the user sees it.
    if (!m_activate)
        return;
    const std::function<void()> activate = std::move(m_activate);
    m_activate = nullptr;
    activate();
    if (m_modalResult != 0)
        done(m_modalResult);
}

int TfrDialogPageForm::ShowModal(const std::function<void()> &activate)
{
    platform::ModalScope scope(parentWidget());
    m_modalResult = 0;
    m_activate = activate;
    setModal(true);
    // Posted, so that it runs inside the modal loop, where closing ends it.
    QMetaObject::invokeMethod(this, platform::handler([this] { activated(); }),
                              Qt::QueuedConnection);
    const int result = exec();
    m_activate = nullptr;
    m_modalResult = result;
    return result;
}

void TfrDialogPageForm::SetModalResult(int result)
{
    m_modalResult = result;
    if (result != 0 && isVisible() && !m_activate)
        done(result);
}

void TfrDialogPageForm::reject()
{
    m_modalResult = platform::mrCancel;
    done(platform::mrCancel);
}

void frInstallDialogForm()
{
    frObjects().frDialogFormClass = [](TfrPage &) { return std::make_unique<TfrDialogPageForm>(); };
}

} // namespace report
