#include "Form.h"

#include "Timer.h"
#include "Twips.h"
#include "WindowSystem.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include <utility>

namespace platform {

namespace {

QList<Form *> &loaded()
{
    static QList<Form *> forms;
    return forms;
}

std::function<void()> &lastWindowHandler()
{
    static std::function<void()> handler;
    return handler;
}

// What held the program's activation before the window now being activated, as the Forms saw it.
// The toolkit activates the new window before it deactivates the old one, so a Form records this
// when it is activated (Form) and when it is deactivated towards something that is not a Form
// (another application, a message box, a plain window).
enum class ActiveHolder
{
    Outside,
    Form,
    OtherWindow,
};

ActiveHolder &lastActiveHolder()
{
    static ActiveHolder holder = ActiveHolder::Outside;
    return holder;
}

// Positions on a window's body, measured from where the program last placed the window rather than
// from where the window system had it when the event was made. A window that moves itself under the
// pointer (dragged by its body) gets moves before the window system has caught up with its last
// move; measured the window system's way those would count the same offset twice and throw the
// window past the pointer.
MouseArgs bodyArgs(const QWidget *window, const QMouseEvent *event, bool pressedButtonOnly)
{
    MouseArgs args = mouseArgsFrom(event, pressedButtonOnly);
    if (window->isWindow() && event->spontaneous()) {
        const QPointF local = event->globalPosition() - QPointF(window->geometry().topLeft());
        args.X = static_cast<float>(pixelsToTwips(local.x()));
        args.Y = static_cast<float>(pixelsToTwips(local.y()));
    }
    return args;
}

} // namespace

Form::Form(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_QuitOnClose, false);
}

Form::~Form()
{
    FormRegistry::remove(this);
}

bool Form::load()
{
    if (m_unloaded)
        return false;
    if (m_loaded || m_loading)
        return true;
    m_loading = true;
    FormRegistry::add(this);
    Form_Load();
    m_loading = false;
    m_loaded = !m_unloaded;
    return m_loaded;
}

void Form::Show()
{
    if (!load())
        return;
    if (QApplication::activeWindow() != this)
        m_activationRequested = true;
    if (!m_shownOnce) {
        m_shownOnce = true;
        if (m_centerOnFirstShow)
            centerOnScreen();
    }
    show();
    // The offscreen platform used by the tests has no stacking to change.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        raise();
    activateWindow();
}

void Form::Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Form_Unload();
    for (Timer *timer : findChildren<Timer *>())
        timer->setEnabled(false);
    hide();
    // Clicks and keys that reached the window system before the unload (queued while a handler ran)
    // are still delivered to the window until it is deleted; a disabled window ignores them, so a
    // discarded window never counts a guess or opens another window.
    setEnabled(false);
    deleteLater();
    FormRegistry::remove(this);
}

void Form::centerOnScreen()
{
    // Where the compositor places the windows a move would be ignored.
    if (!programPlacesWindows())
        return;
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    move(available.center() - QPoint(width() / 2, height() / 2));
}

bool Form::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        const bool fromForm = lastActiveHolder() == ActiveHolder::Form;
        const bool requested = std::exchange(m_activationRequested, false);
        lastActiveHolder() = ActiveHolder::Form;
        if ((requested || fromForm) && m_loaded && !m_unloaded)
            Form_Activate();
    } else if (event->type() == QEvent::WindowDeactivate) {
        const QWidget *now = QApplication::activeWindow();
        // A window that unloads while active hands the activation on to the window the system
        // activates next (the trainer behind a closing login window), even when no window is active
        // for a moment in between.
        if (!now && !m_unloaded)
            lastActiveHolder() = ActiveHolder::Outside;
        else if (now && !qobject_cast<const Form *>(now))
            lastActiveHolder() = ActiveHolder::OtherWindow;
    }
    return QWidget::event(event);
}

void Form::closeEvent(QCloseEvent *event)
{
    // A close request from the window manager (or a shortcut) unloads the window like the program's
    // own close does; nothing else is stored.
    event->accept();
    Unload();
}

void Form::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    Form_MouseDown(bodyArgs(this, event, true));
}

void Form::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    Form_MouseMove(bodyArgs(this, event, false));
}

void Form::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    Form_MouseUp(bodyArgs(this, event, true));
    if (event->button() == Qt::LeftButton && m_leftPressed) {
        m_leftPressed = false;
        if (rect().contains(event->position().toPoint()))
            Form_Click();
    }
}

int FormRegistry::loadedCount()
{
    return static_cast<int>(loaded().size());
}

QList<Form *> FormRegistry::loadedForms()
{
    return loaded();
}

void FormRegistry::setLastWindowHandler(std::function<void()> handler)
{
    lastWindowHandler() = std::move(handler);
}

void FormRegistry::add(Form *form)
{
    if (!loaded().contains(form))
        loaded().append(form);
}

void FormRegistry::remove(Form *form)
{
    if (!loaded().removeOne(form))
        return;
    if (!loaded().isEmpty())
        return;
    if (lastWindowHandler())
        lastWindowHandler()();
    else
        QCoreApplication::quit();
}

} // namespace platform
