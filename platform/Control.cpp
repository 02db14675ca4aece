#include "Control.h"

#include "Accessibility.h"
#include "Twips.h"

#include <QMouseEvent>

namespace platform {

static int buttonBits(Qt::MouseButtons buttons)
{
    int bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= 1;
    if (buttons & Qt::RightButton)
        bits |= 2;
    if (buttons & Qt::MiddleButton)
        bits |= 4;
    return bits;
}

MouseArgs mouseArgsFrom(const QMouseEvent *event, bool pressedButtonOnly)
{
    MouseArgs args;
    args.Button = pressedButtonOnly ? buttonBits(event->button()) : buttonBits(event->buttons());
    const Qt::KeyboardModifiers mods = event->modifiers();
    args.Shift = (mods & Qt::ShiftModifier ? 1 : 0) | (mods & Qt::ControlModifier ? 2 : 0) |
                 (mods & Qt::AltModifier ? 4 : 0);
    args.X = static_cast<float>(pixelsToTwips(event->position().x()));
    args.Y = static_cast<float>(pixelsToTwips(event->position().y()));
    return args;
}

void TwipsPlacement::setLeft(float twips)
{
    m_left = twips;
    applyGeometry();
}

void TwipsPlacement::setTop(float twips)
{
    m_top = twips;
    applyGeometry();
}

void TwipsPlacement::setSize(float widthTwips, float heightTwips)
{
    m_width = widthTwips;
    m_height = heightTwips;
    applyGeometry();
}

void TwipsPlacement::setGeometryTwips(float left, float top, float width, float height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    applyGeometry();
}

void TwipsPlacement::applyGeometry()
{
    const QRect rect(twipsToPixels(m_left), twipsToPixels(m_top), twipsToPixels(m_width),
                     twipsToPixels(m_height));
    if (m_widget->geometry() != rect) {
        m_widget->setGeometry(rect);
        geometryApplied();
    }
}

Control::Control(QWidget *parent) : QWidget(parent), TwipsPlacement(this)
{
    setMouseTracking(true);
    installAccessibility();
}

void Control::setAccessibleCover(QWidget *cover)
{
    if (m_accessibleCover)
        m_accessibleCover->removeEventFilter(this);
    m_accessibleCover = cover;
    if (cover)
        cover->installEventFilter(this);
}

bool Control::isAccessiblyHidden() const
{
    return m_accessibleIgnored || (m_accessibleCover && !m_accessibleCover->isHidden());
}

bool Control::eventFilter(QObject *watched, QEvent *event)
{
    // The cover going away uncovers this control for a screen reader, and the other way round.
    if (watched == m_accessibleCover && isVisible() &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
        QAccessibleEvent uncovered(this, event->type() == QEvent::HideToParent ? QAccessible::ObjectShow
                                                                               : QAccessible::ObjectHide);
        notifyAccessibility(&uncovered);
    }
    return QWidget::eventFilter(watched, event);
}

void Control::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    emit MouseDown(mouseArgsFrom(event, true));
}

void Control::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit MouseMove(mouseArgsFrom(event, false));
}

void Control::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    emit MouseUp(mouseArgsFrom(event, true));
    if (event->button() == Qt::LeftButton && m_leftPressed) {
        m_leftPressed = false;
        if (rect().contains(event->position().toPoint()))
            emit Click();
    }
}

} // namespace platform
