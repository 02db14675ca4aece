#pragma once

#include "Control.h"

#include <QWidget>

#include <functional>

namespace platform {

// A top-level window of the program. The opener creates it (running its Form_Initialize from the
// constructor), then Show() runs its load step once and shows it without blocking; a window that
// unloads itself inside its load step is never shown. Unload() discards the window with all its
// controls and state, so the next opening starts from the design. The process ends when the last
// loaded window unloads (FormRegistry), whatever kind of window it is.
//
// Form_Activate runs when the window becomes the program's active window after Show() (its first
// activation after being shown or brought to the front) and when the activation comes to it straight
// from another of these windows (the login window closing or clicked away from). It does not run
// when the user comes back from another application, nor when a message box or any other window of
// the program that is not a Form (the Results window) gives the activation back.
class Form : public QWidget
{
    Q_OBJECT
public:
    explicit Form(QWidget *parent = nullptr);
    ~Form() override;

    // Runs the load step if it has not run yet. Returns false when the window unloaded itself there.
    bool load();
    // Loads if needed, then shows the window (or brings it to the front) without blocking.
    void Show();
    // Closes and discards the window. Its timers stop and it takes no more input at once; the object
    // is deleted later.
    void Unload();

    bool isUnloaded() const { return m_unloaded; }

    // Centres the window on its screen when it is first shown, where the program places its own
    // windows (not on Wayland: there the compositor places them).
    void setStartUpCentered(bool centered) { m_centerOnFirstShow = centered; }

protected:
    virtual void Form_Load() {}
    // Runs once as the window unloads, before it hides.
    virtual void Form_Unload() {}
    virtual void Form_Activate() {}
    virtual void Form_Click() {}
    virtual void Form_MouseDown(const MouseArgs &) {}
    virtual void Form_MouseMove(const MouseArgs &) {}
    virtual void Form_MouseUp(const MouseArgs &) {}

    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void centerOnScreen();

    bool m_loaded = false;
    bool m_loading = false;
    bool m_unloaded = false;
    bool m_shownOnce = false;
    bool m_centerOnFirstShow = false;
    bool m_leftPressed = false;
    // Show() asked for the activation; its coming runs Form_Activate whatever was active before.
    bool m_activationRequested = false;
};

// The program's own record of loaded windows. Qt's last-window rule ignores tool and splash windows,
// so the program ends by this record instead: when the last loaded window unloads.
class FormRegistry
{
public:
    static int loadedCount();
    static QList<Form *> loadedForms();
    // What happens when the last window unloads; the default quits the event loop. Tests record it.
    static void setLastWindowHandler(std::function<void()> handler);

private:
    friend class Form;
    static void add(Form *form);
    static void remove(Form *form);
};

} // namespace platform
