#include "WindowSystem.h"

#include <QGuiApplication>

namespace platform {

bool isWaylandPlatform(const QString &platformName)
{
    return platformName.startsWith(QStringLiteral("wayland"), Qt::CaseInsensitive);
}

bool isWaylandPlatform()
{
    return isWaylandPlatform(QGuiApplication::platformName());
}

} // namespace platform
