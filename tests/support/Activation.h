#pragma once

#include <QApplication>

// Takes the activation from the program's windows and gives it back to `window`, as a closing message
// box or a return from another program does; `between` held it meanwhile, if given.
inline void giveActivationBack(QWidget *window, QWidget *between = nullptr)
{
    QApplication::setActiveWindow(between);
    QApplication::setActiveWindow(window);
}
