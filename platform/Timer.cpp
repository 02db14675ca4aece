#include "Timer.h"

namespace platform {

Timer::Timer(int intervalMs, QObject *parent) : QObject(parent)
{
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_enabled)
            emit Elapsed();
    });
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
}

void Timer::setInterval(int intervalMs)
{
    m_timer.setInterval(intervalMs);
}

} // namespace platform
