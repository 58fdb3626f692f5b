#include "report/objects/frseams.h"

#include "report/io/fremfpages.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"

namespace report
{

void FrRecordingProgressWindow::SetLine(const QString &line)
{
    lines.append(line);
    if (cancelAtLine > 0 && lines.size() >= cancelAtLine && m_report && m_shown) {
        m_report->Cancelled = true;
        m_result = platform::mrCancel;
    }
}

int FrRecordingProgressWindow::ShowModal(TfrReport &report, const std::function<void()> &step)
{
    ++shows;
    m_report = &report;
    m_result = platform::mrNone;
    m_shown = true;
    struct Hide {
        FrRecordingProgressWindow &w;
        ~Hide()
        {
            w.m_shown = false;
            w.m_report = nullptr;
        }
    } hide{*this};
    if (cancelAtLine > 0 && lines.size() >= cancelAtLine) {
        report.Cancelled = true;
        m_result = platform::mrCancel;
    }
    step();
    return m_result;
}

void FrRecordingProgressWindow::SetShown(bool shown)
{
    if (m_shown && !shown)
        ++hides;
    m_shown = shown;
}

void FrRecordingPreview::ShowPreviewForm(TfrReport &report, const QString &caption, bool modal,
                                         bool mdi)
{
    calls.push_back(
        {QStringLiteral("form"), caption, modal, mdi, report.EMFPages().Count(), nullptr});
}

void FrRecordingPreview::ConnectPreview(QObject *preview, TfrReport &report)
{
    calls.push_back(
        {QStringLiteral("connect"), QString(), false, false, report.EMFPages().Count(), preview});
}

void FrScriptedDialogForm::SetFormProperties(int, const QString &formCaption, int,
                                             const QRect &formBounds, int)
{
    caption = formCaption;
    bounds = formBounds;
}

bool FrScriptedDialogForm::PlaceControl(TfrView &control)
{
    placed.append(control.Name);
    return true;
}

int FrScriptedDialogForm::ShowModal(const std::function<void()> &activate)
{
    ++shows;
    m_result = platform::mrNone;
    activate();
    if (m_result != platform::mrNone)
        return m_result;
    m_result = result;
    return m_result;
}

void FrRecordingExportFilter::OnData(int x, int y, TfrView &view)
{
    events.append(QStringLiteral("object %1 at %2,%3").arg(view.Name).arg(x).arg(y));
}

void FrRecordingExportFilter::OnText(const QRect &, int x, TfrView &view, quint16,
                                     const QString &text, int y)
{
    events.append(QStringLiteral("text %1 \"%2\" at %3,%4").arg(view.Name, text).arg(x).arg(y));
}

} // namespace report
