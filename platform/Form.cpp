#include "Form.h"

#include "Timer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

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
    for (Timer *timer : findChildren<Timer *>())
        timer->setEnabled(false);
    hide();
    deleteLater();
    FormRegistry::remove(this);
}

void Form::centerOnScreen()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    move(available.center() - QPoint(width() / 2, height() / 2));
}

bool Form::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !m_unloaded && m_loaded)
        Form_Activate();
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
    Form_MouseDown(mouseArgsFrom(event, true));
}

void Form::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    Form_MouseMove(mouseArgsFrom(event, false));
}

void Form::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    Form_MouseUp(mouseArgsFrom(event, true));
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
