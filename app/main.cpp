#include "AppHost.h"
#include "CommandLine.h"

#include "art/Art.h"
#include "history/HistorySchema.h"
#include "platform/Accessibility.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Form.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    // Decided before any window system is touched, so the command line runs without a display.
    if (commandline::wanted(argc, argv))
        return commandline::run(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qxOrvanta Trainer"));
    QApplication::setDesktopFileName(QStringLiteral("qxorvanta-trainer"));
    // The program ends when its last window unloads (FormRegistry), whatever kind of window that is;
    // Qt's own rule would ignore the borderless tool windows.
    QApplication::setQuitOnLastWindowClosed(false);
    platform::installFontSubstitutions();
    // Before the first window: a screen reader may ask about a window while it is being built.
    platform::installAccessibility();
    art::initResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/icon.png")));
    setStoreFaultReporter(
        [](const QString &message) { platform::MsgBox(message, platform::MsgIcon::Exclamation); });
    // The try history lives in the store's file: its tables are brought up before the first write.
    history::schema::install();

    AppHost host;
    host.start();
    // Every window may already have gone (a fault while starting); then there is nothing to run.
    const int result = platform::FormRegistry::loadedCount() == 0 ? 0 : app.exec();
    AppHost::finishStore();
    return result;
}
