#include "Accessibility.h"

#include "Controls.h"
#include "Form.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFocusFrame>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>

namespace platform {

namespace {

const char *const kPressableProperty = "qxoAccessiblePressable";
const char *const kKeyProperty = "qxoAccessibleKey";
const char *const kFrameProperty = "qxoAccessibleFrame";

// The key set with setAccessibleKey, as the desktop writes it ("Ctrl+N"), or an empty text.
QString accessibleKey(const QWidget *widget)
{
    return widget->property(kKeyProperty).value<QKeySequence>().toString(QKeySequence::NativeText);
}

QStringList keyBindings(const QWidget *widget)
{
    const QString key = accessibleKey(widget);
    return key.isEmpty() ? QStringList() : QStringList{key};
}

std::function<void(QAccessibleEvent *)> &eventRecorder()
{
    static std::function<void(QAccessibleEvent *)> recorder;
    return recorder;
}

// Runs a press once the event loop is back, after the screen reader has had its answer: a click may
// open a modal message box, and a screen reader waiting for its answer meanwhile would hang until
// the box closed. Dropped if the widget is gone by then.
template <typename Press> void afterReply(QWidget *widget, Press press)
{
    QMetaObject::invokeMethod(widget, press, Qt::QueuedConnection);
}

// The children a screen reader meets: Qt's own choice (no windows, focus frames, menus or rubber
// bands) without the controls their windows ignore or that lie under their cover. In stacking
// order, the topmost last.
QWidgetList exposedChildren(const QWidget *widget)
{
    QWidgetList children;
    for (QObject *object : widget->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow() || qobject_cast<QFocusFrame *>(child) ||
            qobject_cast<QMenu *>(child) || child->objectName() == u"qt_rubberband")
            continue;
        // Ignored controls, and covered ones while their cover shows: a covered control is either
        // the same button as its cover or something the cover hides, never a second thing to meet.
        if (const auto *control = qobject_cast<const Control *>(child);
            control && control->isAccessiblyHidden())
            continue;
        children.append(child);
    }
    return children;
}

// A window or control whose children are the exposed ones. Qt's generic interface answers a point
// with the first child containing it, the bottommost; a screen reader's pointer review must get the
// one the user sees there.
class AccessibleContainer : public QAccessibleWidget
{
public:
    AccessibleContainer(QWidget *widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    int childCount() const override { return static_cast<int>(exposedChildren(widget()).size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList children = exposedChildren(widget());
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return static_cast<int>(exposedChildren(widget()).indexOf(qobject_cast<QWidget *>(child->object())));
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QWidgetList children = exposedChildren(widget());
        for (auto it = children.crbegin(); it != children.crend(); ++it) {
            QAccessibleInterface *child = QAccessible::queryAccessibleInterface(*it);
            if (child && child->isValid() && !child->state().invisible && child->rect().contains(x, y))
                return child;
        }
        return nullptr;
    }
};

class AccessibleControl : public AccessibleContainer
{
public:
    explicit AccessibleControl(Control *control) : AccessibleContainer(control, QAccessible::NoRole) {}

    QAccessible::Role role() const override
    {
        const Control *c = control();
        if (c->accessibleRole() != QAccessible::NoRole)
            return c->accessibleRole();
        if (qobject_cast<const Label *>(c))
            return QAccessible::StaticText;
        if (qobject_cast<const PictureBox *>(c))
            return QAccessible::Pane;
        return QAccessible::Graphic;
    }

    QString text(QAccessible::Text t) const override
    {
        // Nothing of a covered control is told: its name might say what the cover hides.
        if (control()->isAccessiblyHidden())
            return QString();
        if (t == QAccessible::Accelerator)
            return accessibleKey(control());
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) {
            if (const auto *label = qobject_cast<const Label *>(control()))
                text = label->caption();
        }
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (control()->isAccessiblyHidden())
            state.invisible = true;
        return state;
    }

    QRect rect() const override
    {
        if (control()->isAccessiblyHidden())
            return QRect();
        return QAccessibleWidget::rect();
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (role() == QAccessible::Button)
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &actionName) override
    {
        if (actionName != pressAction() || role() != QAccessible::Button) {
            QAccessibleWidget::doAction(actionName);
            return;
        }
        // Only what the user could click: shown, enabled and not under its cover.
        Control *c = control();
        if (!c->isVisible() || !c->isEnabled() || c->isAccessiblyHidden())
            return;
        afterReply(c, [c] { emit c->Click(); });
    }

    QStringList keyBindingsForAction(const QString &actionName) const override
    {
        if (actionName == pressAction() && role() == QAccessible::Button)
            return keyBindings(control());
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }

private:
    Control *control() const { return static_cast<Control *>(widget()); }
};

class AccessibleWindow : public AccessibleContainer
{
public:
    explicit AccessibleWindow(Form *form) : AccessibleContainer(form, QAccessible::Window) {}

    QAccessible::Role role() const override
    {
        return widget()->isWindow() ? QAccessible::Window : QAccessible::Client;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (pressable())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &actionName) override
    {
        if (actionName != pressAction() || !pressable()) {
            QAccessibleWidget::doAction(actionName);
            return;
        }
        QWidget *window = widget();
        if (!window->isVisible() || !window->isEnabled())
            return;
        // A left click in the middle of the body, through the window's own mouse handling.
        afterReply(window, [window] {
            const QPointF centre(window->width() / 2.0, window->height() / 2.0);
            const QPointF global = window->mapToGlobal(centre);
            QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(window, &press);
            QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                                Qt::NoModifier);
            QCoreApplication::sendEvent(window, &release);
        });
    }

    QStringList keyBindingsForAction(const QString &actionName) const override
    {
        if (actionName == pressAction() && pressable())
            return keyBindings(widget());
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Accelerator)
            return accessibleKey(widget());
        return QAccessibleWidget::text(t);
    }

private:
    bool pressable() const { return widget()->property(kPressableProperty).toBool(); }
};

QAccessibleInterface *interfaceFor(const QString &, QObject *object)
{
    if (auto *control = qobject_cast<Control *>(object))
        return new AccessibleControl(control);
    if (auto *form = qobject_cast<Form *>(object))
        return new AccessibleWindow(form);
    if (auto *widget = qobject_cast<QWidget *>(object);
        widget && widget->isWindow() && widget->property(kFrameProperty).toBool())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&interfaceFor);
}

void setWindowPressable(Form *form, bool pressable)
{
    form->setProperty(kPressableProperty, pressable);
}

void setAccessibleKey(QWidget *widget, const QKeySequence &key)
{
    widget->setProperty(kKeyProperty, QVariant::fromValue(key));
}

void setAccessibleFrame(QWidget *window)
{
    window->setProperty(kFrameProperty, true);
}

void notifyAccessibility(QAccessibleEvent *event)
{
    if (eventRecorder())
        eventRecorder()(event);
    else
        QAccessible::updateAccessibility(event);
}

void setAccessibilityEventRecorder(std::function<void(QAccessibleEvent *)> recorder)
{
    eventRecorder() = std::move(recorder);
}

} // namespace platform
