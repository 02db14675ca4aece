#include "WindowSystem.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace platform {

bool isWaylandPlatform(const QString &platformName)
{
    return platformName.startsWith(QStringLiteral("wayland"), Qt::CaseInsensitive);
}

bool isWaylandPlatform()
{
    return isWaylandPlatform(QGuiApplication::platformName());
}

bool programPlacesWindows()
{
    return !isWaylandPlatform();
}

void setPlacementOwner(QWidget *window, QWidget *owner)
{
    if (!window || !owner || programPlacesWindows())
        return;
    QWindow *ownerHandle = owner->window()->windowHandle();
    if (!ownerHandle)
        return;
    // The native window must exist to carry the link; creating it early changes nothing else.
    window->winId();
    window->windowHandle()->setTransientParent(ownerHandle);
}

} // namespace platform
