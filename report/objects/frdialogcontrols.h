#pragma once
// Report objects of dialog pages: a control wraps one widget that the dialog
// page's form shows at the object's place, and that the designer's page shows
// as a picture; a non-visual control wraps a component with no window and
// shows as a fixed 28 x 28 icon.
#include "report/objects/frview.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace report
{

class TfrVariables;

class TfrControl : public TfrView
{
public:
    TfrControl();
    ~TfrControl() override;
    void SetPropertyValue(const QString &name, const FrVariant &value) override;
    void DefinePropertyList() override;
    void Draw(platform::Canvas &canvas) override;
    void AddPopupItems(FrPopupMenu &) override {}
    bool IsDialogControl() const override { return true; }
    // Paints the control onto the canvas at the object's place.
    virtual void PaintControl();

    // The control's parent becomes parent, its bounds the object's.
    void PlaceControl(QWidget *parent);

    // Created by the concrete control; the object deletes it unless its form
    // was destroyed first (a window deletes its children).
    QPointer<QWidget> Control;

protected:
    // A control outside any form is kept under the hidden DialogForm, so that
    // hiding and showing it never opens a window of its own.
    void keepParented();
};

class TfrNonVisualControl : public TfrControl
{
public:
    TfrNonVisualControl();
    ~TfrNonVisualControl() override;
    void SetPropertyValue(const QString &name, const FrVariant &value) override;
    void DefinePropertyList() override;
    void Draw(platform::Canvas &canvas) override;
    void PaintControl() override;

    // Set by the concrete component class; owned by it.
    QPointer<QObject> Component;
    std::unique_ptr<TfrVariables> Properties;
    QImage Icon;
};

} // namespace report
