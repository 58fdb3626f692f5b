#pragma once
// Look-up of components across the application's forms and data modules by
// dotted names ("Form1.Data", "Form1.Frame1.Data"). A component is a QObject
// named by objectName; a frame is a component marked with frMarkAsFrame that
// holds components of its own.
#include <QObject>
#include <QString>
#include <QStringList>

namespace report
{

void frMarkAsFrame(QObject *frame);
bool frIsFrame(const QObject *object);

// The component of that name held by owner (not looking inside frames),
// names compared without regard to case; nullptr when none.
QObject *frOwnedComponent(const QObject *owner, const QString &name);
// The registered form or data module of that name.
QObject *frFindGlobalComponent(const QString &name);

// A plain name is looked up in owner; "Form.Name" in that form;
// "Form.Frame.Name" in a frame of that form. nullptr when the name does not
// exist; a failure inside the look-up raises EClassNotFound "Missing " + name.
QObject *frFindComponent(const QObject *owner, const QString &name);
// frFindComponent from the owner of fr().frCurrentReport.
QObject *frFindReportComponent(const QString &name);
// Names of every component of class wanted (except skip) on every form and
// data module: plain for owner's own, "Form.Name", or "Form.Frame.Name".
void frGetComponents(const QObject *owner, const QMetaObject &wanted, QStringList &list,
                     const QObject *skip = nullptr);

} // namespace report
