#pragma once
// The window a dialog page shows before the report pages are built, and the
// base of the objects' editors.
#include "report/objects/frseams.h"

#include <QDialog>
#include <functional>

namespace report
{

class TfrPage;
class TfrView;

class TfrDialogPageForm : public QDialog, public FrDialogForm
{
    Q_OBJECT
public:
    explicit TfrDialogPageForm(QWidget *parent = nullptr);

    void SetFormProperties(int borderStyle, const QString &caption, int color, const QRect &bounds,
                           int position) override;
    bool PlaceControl(TfrView &control) override;
    int ShowModal(const std::function<void()> &activate) override;
    void SetModalResult(int result) override;
    int ModalResult() const override { return m_modalResult; }
    QObject *Window() override { return this; }

    // Escape and the close box answer mrCancel, as every form does.
    void reject() override;

private:
    void activated();

    std::function<void()> m_activate;
    int m_modalResult = 0;
};

// Makes the build show dialog pages in a TfrDialogPageForm.
void frInstallDialogForm();

// Base of the object editors: shows itself for a view and answers the modal
// result; the base shows nothing and answers OK.
class TfrObjEditorForm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrObjEditorForm(QWidget *parent = nullptr) : QDialog(parent) {}
    virtual int ShowEditor(TfrView &view)
    {
        Q_UNUSED(view);
        return platform::mrOk;
    }
};

} // namespace report
