#pragma once

#include <QAccessible>
#include <QCoreApplication>
#include <QStringList>

// What a screen reader sees of a control.
inline QAccessibleInterface *iface(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// Presses as a screen reader does, then lets the click it queued happen.
inline void press(QObject *object)
{
    iface(object)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

// The name a screen reader reads for a control.
inline QString nameOf(QObject *object)
{
    return iface(object)->text(QAccessible::Name);
}

// Names of the children of a container a screen reader is shown (listed and not invisible).
inline QStringList shownChildNames(QObject *container)
{
    QStringList names;
    QAccessibleInterface *parent = iface(container);
    for (int i = 0; i < parent->childCount(); ++i) {
        if (QAccessibleInterface *child = parent->child(i); !child->state().invisible)
            names << child->text(QAccessible::Name);
    }
    return names;
}
