#pragma once

#include <QKeyEvent>

namespace platform {

// Tells the presses of a key held down (the keyboard's auto-repeat) from presses of their own. Qt
// marks most repeats, but on X11 it recognises one only when the repeated press already waits behind
// the release that precedes it, which a busy machine does not ensure. The window system gives each
// repeated release and the press that follows it the same time stamp, which no user's own press of
// the key again can match; so that pair is a repeat too.
class KeyRepeat
{
public:
    // True for a press that only repeats a key held down.
    bool isRepeat(const QKeyEvent *press) const
    {
        return press->isAutoRepeat() || (press->key() == m_releasedKey && press->timestamp() == m_releasedAt);
    }
    // Every release of the window's keys.
    void noteRelease(const QKeyEvent *release)
    {
        m_releasedKey = release->key();
        m_releasedAt = release->timestamp();
    }

private:
    int m_releasedKey = 0;
    quint64 m_releasedAt = 0;
};

} // namespace platform
