#pragma once

#include <QMap>
#include <QObject>

#include <cstdint>

namespace platform {

// Controls of one kind that share a name and differ by a 16-bit index (Card(0) to Card(6)). Every
// event of an array reaches its handler with the index of the control that raised it.
template <typename T>
class ControlArray
{
public:
    void add(std::int16_t index, T *control) { m_controls.insert(index, control); }
    T *operator()(std::int16_t index) const { return m_controls.value(index); }
    bool contains(std::int16_t index) const { return m_controls.contains(index); }
    QList<std::int16_t> indices() const { return m_controls.keys(); }
    int count() const { return m_controls.size(); }

    // Connects signal of every element to handler(index, signal arguments...), with context owning
    // the connection.
    template <typename Signal, typename Handler>
    void on(Signal signal, QObject *context, Handler handler) const
    {
        for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
            const std::int16_t index = it.key();
            QObject::connect(it.value(), signal, context,
                             [handler, index](auto &&...args) { handler(index, args...); });
        }
    }

private:
    QMap<std::int16_t, T *> m_controls;
};

} // namespace platform
