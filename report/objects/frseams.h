#pragma once
// What a build needs of windows it does not own: the progress window, the
// preview, the form of a dialog page and an export filter. The windows
// install their classes at start-up; until then the engine does without
// (steps run directly, nothing is shown). The recording fakes below serve the
// tests of the engine and of the windows that print.
#include "platform/dialogs/dialogs.h"

#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QObject;

namespace report
{

class TfrPage;
class TfrReport;
class TfrView;

class FrProgressWindow
{
public:
    virtual ~FrProgressWindow() = default;
    virtual void SetCaption(const QString &caption) = 0;
    virtual void SetLine(const QString &line) = 0;
    // Shows the window modally and runs step once it is up; returns the
    // modal result the step (or the user's cancel) gave it. An exception of
    // the step closes the window and reaches the caller.
    virtual int ShowModal(TfrReport &report, const std::function<void()> &step) = 0;
    // Closes the window with that result.
    virtual void SetModalResult(int result) = 0;
    // Hidden while a dialog page shows, then restored.
    virtual bool IsShown() const = 0;
    virtual void SetShown(bool shown) = 0;
};

class FrPreviewSeam
{
public:
    virtual ~FrPreviewSeam() = default;
    // A preview window for the report's prepared pages.
    virtual void ShowPreviewForm(TfrReport &report, const QString &caption, bool modal,
                                 bool mdi) = 0;
    // The embedded preview panel shows the report.
    virtual void ConnectPreview(QObject *preview, TfrReport &report) = 0;
};

// The form a dialog page shows before the report pages are built.
class FrDialogForm
{
public:
    virtual ~FrDialogForm() = default;
    virtual void SetFormProperties(int borderStyle, const QString &caption, int color,
                                   const QRect &bounds, int position) = 0;
    // Puts the control's window on the form; false for a non-visual control.
    virtual bool PlaceControl(TfrView &control) = 0;
    // Shows the form modally; activate runs once when it first shows, and a
    // modal result it sets closes the form at once.
    virtual int ShowModal(const std::function<void()> &activate) = 0;
    virtual void SetModalResult(int result) = 0;
    virtual int ModalResult() const = 0;
    // The form's window, whose children's names a dialog control's name must
    // not take; none for a form without one.
    virtual QObject *Window() { return nullptr; }
};
using FrDialogFormClass = std::function<std::unique_ptr<FrDialogForm>(TfrPage &page)>;

class TfrExportFilter
{
public:
    virtual ~TfrExportFilter() = default;
    virtual QString Description() const = 0;
    virtual QString Extension() const = 0;
    virtual void OnBeginPage() = 0;
    virtual void OnEndPage() = 0;
    // An object of the page, at its position.
    virtual void OnData(int x, int y, TfrView &view) = 0;
    // One text piece of a memo: drawing rectangle, x, frame edges, text, y.
    virtual void OnText(const QRect &rect, int x, TfrView &view, quint16 frameTyp,
                        const QString &text, int y) = 0;
    virtual void OnEndDoc() = 0;
};

// --- recording fakes

class FrRecordingProgressWindow : public FrProgressWindow
{
public:
    void SetCaption(const QString &caption) override { captions.append(caption); }
    void SetLine(const QString &line) override;
    int ShowModal(TfrReport &report, const std::function<void()> &step) override;
    void SetModalResult(int result) override { m_result = result; }
    bool IsShown() const override { return m_shown; }
    void SetShown(bool shown) override;

    QStringList captions;
    QStringList lines;
    int shows = 0;
    int hides = 0;
    // When the line count reaches it, the user presses cancel.
    int cancelAtLine = 0;

private:
    TfrReport *m_report = nullptr;
    int m_result = platform::mrNone;
    bool m_shown = false;
};

class FrRecordingPreview : public FrPreviewSeam
{
public:
    struct Call {
        QString kind; // "form" or "connect"
        QString caption;
        bool modal = false;
        bool mdi = false;
        int pages = 0;
        QObject *preview = nullptr;
    };
    void ShowPreviewForm(TfrReport &report, const QString &caption, bool modal, bool mdi) override;
    void ConnectPreview(QObject *preview, TfrReport &report) override;

    std::vector<Call> calls;
};

// A dialog form that places every control, records its properties and
// answers result unless a script closed it first.
class FrScriptedDialogForm : public FrDialogForm
{
public:
    void SetFormProperties(int borderStyle, const QString &caption, int color, const QRect &bounds,
                           int position) override;
    bool PlaceControl(TfrView &control) override;
    int ShowModal(const std::function<void()> &activate) override;
    void SetModalResult(int result) override { m_result = result; }
    int ModalResult() const override { return m_result; }

    QString caption;
    QRect bounds;
    QStringList placed;
    int result = platform::mrOk;
    int shows = 0;

private:
    int m_result = platform::mrNone;
};

class FrRecordingExportFilter : public TfrExportFilter
{
public:
    QString Description() const override { return QStringLiteral("Enregistrement"); }
    QString Extension() const override { return QStringLiteral("*.txt"); }
    void OnBeginPage() override { events.append(QStringLiteral("begin page")); }
    void OnEndPage() override { events.append(QStringLiteral("end page")); }
    void OnData(int x, int y, TfrView &view) override;
    void OnText(const QRect &rect, int x, TfrView &view, quint16 frameTyp, const QString &text,
                int y) override;
    void OnEndDoc() override { events.append(QStringLiteral("end document")); }

    QStringList events;
};

} // namespace report
