#include "designer/ui/dialogparts.h"

#include "designer/ui/designerform.h"

#include "designer/core/designercore.h"
#include "designer/core/dialogrules.h"
#include "designer/ui/insfieldsform.h"
#include "designer/ui/smalldialogs.h"

#include "platform/forms/form.h"
#include "report/objects/frreport.h"

#include <QPointer>
#include <QWidget>
#include <memory>

namespace designer
{

namespace dialogparts_detail
{

// The DB fields window of one designer: made when shown, freed when hidden.
struct FieldsWindow {
    QPointer<TfrInsFieldsForm> form;
    // Goes with the designer's rules, which its handlers reach.
    ~FieldsWindow() { delete form.data(); }
};

} // namespace dialogparts_detail

void installSmallDialogs(DesignerCore &core, QObject *window)
{
    using dialogparts_detail::FieldsWindow;
    RequestSlots &req = core.state.Requests;
    DesignerCore *c = &core;
    QPointer<QWidget> owner = qobject_cast<QWidget *>(window);

    req.pictureEditor = [owner](report::TfrView *view) {
        if (!view)
            return;
        TfrGEditorForm form(owner);
        form.ShowEditor(*view);
    };
    req.templates = [c, owner]() -> std::optional<QString> {
        TfrTemplForm form(c->state.Report, owner);
        if (form.exec() != QDialog::Accepted || form.TemplName.isEmpty())
            return std::nullopt;
        return form.TemplName;
    };
    req.newTemplate = [owner]() -> std::optional<NewTemplateChoice> {
        TfrTemplNewForm form(owner);
        if (form.exec() != QDialog::Accepted)
            return std::nullopt;
        return form.choice();
    };
    req.designerOptions =
        [owner](const DesignerOptionsChoice &initial) -> std::optional<DesignerOptionsChoice> {
        TfrDesOptionsForm form(owner);
        form.setChoice(initial);
        if (form.exec() != QDialog::Accepted)
            return std::nullopt;
        return form.choice();
    };
    req.insertFields = [c, owner]() -> std::optional<InsertFieldsChoice> {
        TfrInsertFieldsForm form(c->state.Report, owner);
        if (form.exec() != QDialog::Accepted)
            return std::nullopt;
        return form.choice();
    };
    req.restrictionsEditor = [c, owner](report::TfrView *view) {
        report::TfrView *source = restrictionsSource(c->state, view);
        if (!source)
            return;
        TfrRestrictionsForm form(owner);
        form.setBoxes(restrictionBoxes(source->Restrictions));
        if (form.exec() != QDialog::Accepted)
            return;
        applyRestrictions(*c, view, form.boxes());
    };
    req.about = [owner] {
        TfrAboutForm form(owner);
        form.exec();
    };

    auto fields = std::make_shared<FieldsWindow>();
    req.dbFieldsShow = [c, owner, fields] {
        if (!fields->form) {
            fields->form = new TfrInsFieldsForm(c->state.Report, owner);
            fields->form->OnChanged = [c] {
                if (c->state.Requests.toolWindowChanged)
                    c->state.Requests.toolWindowChanged();
            };
        }
        fields->form->show();
        frPlaceToolWindow(fields->form);
        frKeepToolWindowsApart(owner);
        fields->form->raise();
    };
    req.dbFieldsHide = [fields] {
        TfrInsFieldsForm *form = fields->form;
        if (!form)
            return;
        fields->form = nullptr;
        form->FormHide();
        form->OnChanged = nullptr;
        form->hide();
        form->deleteLater();
    };
    req.dbFieldsRefresh = [fields] {
        if (fields->form && fields->form->isVisible())
            fields->form->Refresh();
    };
    req.dbFieldsExpand = [fields] {
        if (fields->form)
            fields->form->Expand();
    };
    req.dbFieldsVisible = [fields] { return fields->form && fields->form->isVisible(); };
    req.dbFieldsChosen = [fields] { return fields->form ? fields->form->DBField : QString(); };
    req.dbFieldsFrame = [fields] {
        // The frame as the window system tells it, else allowed for.
        TfrInsFieldsForm *form = fields->form;
        return form && form->isVisible()
                   ? form->geometry().marginsAdded(platform::windowFrameMargins(form))
                   : QRect();
    };
    req.setDbFieldsFrame = [fields](const QRect &frame) {
        TfrInsFieldsForm *form = fields->form;
        if (!form)
            return;
        // The frame is the window's outer rectangle; its client area lies
        // inside by the frame's margins.
        form->setGeometry(frame.marginsRemoved(platform::windowFrameMargins(form)));
    };
}

} // namespace designer
