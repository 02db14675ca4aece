#pragma once

#include <QAccessible>
#include <QPointer>
#include <QWidget>

class QMouseEvent;

namespace platform {

// Mouse arguments as the windows see them: held buttons as a bit set (1 left, 2 right, 4 middle),
// shift state (1 Shift, 2 Ctrl, 4 Alt) and the pointer position in twips of the receiving control.
struct MouseArgs
{
    int Button = 0;
    int Shift = 0;
    float X = 0;
    float Y = 0;
};

MouseArgs mouseArgsFrom(const QMouseEvent *event, bool pressedButtonOnly);

// Keeps a widget's position and size in twips (single precision, as the windows were designed) and
// places the widget at the nearest pixel. Moving a control one twip at a time therefore moves its
// widget one pixel every 15 steps.
class TwipsPlacement
{
public:
    explicit TwipsPlacement(QWidget *widget) : m_widget(widget) {}
    virtual ~TwipsPlacement() = default;

    float left() const { return m_left; }
    float top() const { return m_top; }
    float width() const { return m_width; }
    float height() const { return m_height; }
    void setLeft(float twips);
    void setTop(float twips);
    void setSize(float widthTwips, float heightTwips);
    void setGeometryTwips(float left, float top, float width, float height);

    // Free text the program may keep with a control.
    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

protected:
    void applyGeometry();
    // Runs after the widget took a new place or size (also while it is hidden, when Qt sends no
    // resize event).
    virtual void geometryApplied() {}

private:
    QWidget *m_widget;
    float m_left = 0;
    float m_top = 0;
    float m_width = 0;
    float m_height = 0;
    QString m_tag;
};

// Base of the windowless-style controls (image, label, picture box, shape): takes every mouse event
// that lands on it, so nothing under it (the window's body included) sees clicks or moves there,
// and reports them as Click, MouseDown, MouseMove and MouseUp with twips positions.
//
// What a screen reader learns of it (platform/Accessibility.h) is set by its window: the name by
// setAccessibleName (a label without one is named by its caption), the role here.
class Control : public QWidget, public TwipsPlacement
{
    Q_OBJECT
public:
    explicit Control(QWidget *parent);

    // QAccessible::NoRole (the default) stands for the role of the control's kind: Graphic for a
    // picture or a shape, StaticText for a label, Pane for a picture box. A Button can be pressed
    // by assistive technology, which clicks it.
    QAccessible::Role accessibleRole() const { return m_accessibleRole; }
    void setAccessibleRole(QAccessible::Role role) { m_accessibleRole = role; }

    // A control lying under another that stands for the same thing or hides it (the lit picture of a
    // button under its plain one, a card face under its cover) is reported invisible while the cover
    // shows, so a screen reader meets one of the two and learns nothing a cover hides.
    void setAccessibleCover(QWidget *cover);

    // Left out of the accessible tree altogether: decoration inside another control, pictures that
    // are never meant to be seen.
    bool isAccessibleIgnored() const { return m_accessibleIgnored; }
    void setAccessibleIgnored(bool ignored) { m_accessibleIgnored = ignored; }

    // True while assistive technology is to learn nothing of the control (ignored, or its cover shows).
    bool isAccessiblyHidden() const;

signals:
    void Click();
    void MouseDown(const platform::MouseArgs &args);
    void MouseMove(const platform::MouseArgs &args);
    void MouseUp(const platform::MouseArgs &args);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_leftPressed = false;
    QAccessible::Role m_accessibleRole = QAccessible::NoRole;
    QPointer<QWidget> m_accessibleCover;
    bool m_accessibleIgnored = false;
};

} // namespace platform
