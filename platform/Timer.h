#pragma once

#include <QObject>
#include <QTimer>

namespace platform {

// A timer as the windows use it: while enabled it raises Elapsed every interval (ms) on the event
// thread. The windows disable it in their own handler, so each arming acts once. A timer belongs to
// its window; unloading the window disables it so it can never call into a discarded window.
class Timer : public QObject
{
    Q_OBJECT
public:
    explicit Timer(int intervalMs, QObject *parent);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int interval() const { return m_timer.interval(); }
    void setInterval(int intervalMs);

signals:
    void Elapsed();

private:
    QTimer m_timer;
    bool m_enabled = false;
};

} // namespace platform
