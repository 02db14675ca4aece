#include "platform/Fonts.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::installFontSubstitutions();
    QLabel placeholder(QStringLiteral("qxOrvanta Trainer"));
    placeholder.setWindowTitle(QStringLiteral("qxOrvanta Trainer"));
    placeholder.resize(783, 590);
    placeholder.show();
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    return app.exec();
}
