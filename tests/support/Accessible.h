#pragma once

#include <QAccessible>
#include <QCoreApplication>

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
