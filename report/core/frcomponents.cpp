#include "report/core/frcomponents.h"

#include "platform/text/convert.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frutils.h"

#include <QVariant>

namespace report
{

namespace
{

constexpr const char *kFrameProperty = "vornFrame";

// Breadth-first over the children, not entering frames (they own their components).
template <typename Visit> void forEachOwned(const QObject *owner, Visit visit)
{
    if (!owner)
        return;
    QList<QObject *> pending = owner->children();
    for (qsizetype i = 0; i < pending.size(); ++i) {
        QObject *child = pending.at(i);
        if (!visit(child))
            return;
        if (!frIsFrame(child))
            pending.append(child->children());
    }
}

} // namespace

void frMarkAsFrame(QObject *frame)
{
    frame->setProperty(kFrameProperty, true);
}

bool frIsFrame(const QObject *object)
{
    return object && object->property(kFrameProperty).toBool();
}

QObject *frOwnedComponent(const QObject *owner, const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    QObject *found = nullptr;
    forEachOwned(owner, [&](QObject *child) {
        if (frSameText(child->objectName(), name)) {
            found = child;
            return false;
        }
        return true;
    });
    return found;
}

QObject *frFindGlobalComponent(const QString &name)
{
    const QList<QObject *> all = fr().applicationComponents();
    for (QObject *c : all)
        if (frSameText(c->objectName(), name))
            return c;
    return nullptr;
}

QObject *frFindComponent(const QObject *owner, const QString &name)
{
    try {
        qsizetype dot = name.indexOf(QLatin1Char('.'));
        if (dot < 0)
            return frOwnedComponent(owner, name);
        QObject *form = frFindGlobalComponent(name.left(dot));
        if (!form)
            return nullptr;
        QString rest = name.mid(dot + 1);
        qsizetype dot2 = rest.indexOf(QLatin1Char('.'));
        if (dot2 < 0)
            return frOwnedComponent(form, rest);
        QObject *frame = frOwnedComponent(form, rest.left(dot2));
        return frame ? frOwnedComponent(frame, rest.mid(dot2 + 1)) : nullptr;
    } catch (const std::exception &) {
        throw EClassNotFound(QStringLiteral("Missing ") + platform::excerpt(name));
    }
}

QObject *frFindReportComponent(const QString &name)
{
    return frFindComponent(fr().frCurrentReportOwner(), name);
}

namespace
{

void listComponents(const QObject *holder, const QString &prefix, const QObject *owner,
                    const QMetaObject &wanted, QStringList &list, const QObject *skip)
{
    QList<QObject *> frames;
    forEachOwned(holder, [&](QObject *child) {
        if (child != skip && child->metaObject()->inherits(&wanted) &&
            !child->objectName().isEmpty())
            list.append(holder == owner ? child->objectName() : prefix + child->objectName());
        if (frIsFrame(child))
            frames.append(child);
        return true;
    });
    for (QObject *frame : frames) {
        QString framePrefix = prefix.section(QLatin1Char('.'), 0, 0) + QLatin1Char('.') +
                              frame->objectName() + QLatin1Char('.');
        listComponents(frame, framePrefix, owner, wanted, list, skip);
    }
}

} // namespace

void frGetComponents(const QObject *owner, const QMetaObject &wanted, QStringList &list,
                     const QObject *skip)
{
    const QList<QObject *> all = fr().applicationComponents();
    for (QObject *form : all)
        listComponents(form, form->objectName() + QLatin1Char('.'), owner, wanted, list, skip);
}

} // namespace report
