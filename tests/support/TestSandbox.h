#pragma once

// What the window suites share: a private settings store per test, message boxes and the end of the
// program recorded instead of shown or acted on, and the art and fonts the windows are drawn with.

#include "tests/support/Activation.h"

#include "art/Art.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Form.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// Once per suite: the art resources and the font substitutions every window needs.
inline void initWindowSuite()
{
    art::initResources();
    platform::installFontSubstitutions();
}

// A window of the program made for its host and shown as the program shows it (its load step first).
template <typename Window, typename Host> Window *showWindow(Host &host)
{
    auto *window = new Window(host);
    window->Show();
    return window;
}

// A fresh, private settings store for one test; the real user's store is never touched.
class PrivateStore
{
public:
    PrivateStore()
    {
        qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
        qputenv("HOME", m_dir.path().toUtf8());
        resetSettingsStore();
    }
    ~PrivateStore() { resetSettingsStore(); }
    PrivateStore(const PrivateStore &) = delete;
    PrivateStore &operator=(const PrivateStore &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// One test's private store with every message box recorded and the end of the program counted instead
// of quitting the test; when it ends it discards every window still loaded.
class WindowSandbox
{
public:
    WindowSandbox()
    {
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest &request) {
            messages.append(request);
            if (onMessage)
                onMessage();
        });
        platform::FormRegistry::setLastWindowHandler([this] { ++programEnds; });
    }
    ~WindowSandbox()
    {
        unloadWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::FormRegistry::setLastWindowHandler({});
        platform::setMessageBoxHandler({});
        platform::setFileChooser({});
    }
    WindowSandbox(const WindowSandbox &) = delete;
    WindowSandbox &operator=(const WindowSandbox &) = delete;

    static void unloadWindows()
    {
        for (platform::Form *form : platform::FormRegistry::loadedForms())
            form->Unload();
    }

    bool isValid() const { return m_store.isValid(); }
    QString path() const { return m_store.path(); }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const platform::MessageBoxRequest &request : messages)
            texts << request.text;
        return texts;
    }

    QList<platform::MessageBoxRequest> messages;
    std::function<void()> onMessage; // runs after each message box is recorded
    int programEnds = 0;

private:
    PrivateStore m_store;
};
