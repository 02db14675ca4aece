#include "Controls.h"

#include "Accessibility.h"
#include "Twips.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QStylePainter>

#include <limits>

namespace platform {

Image::Image(QWidget *parent) : Control(parent) {}

void Image::setPicture(const Picture &picture)
{
    m_picture = picture;
    const QSize size = picture.size();
    setSize(static_cast<float>(pixelsToTwips(size.width())),
            static_cast<float>(pixelsToTwips(size.height())));
    update();
    emit PictureChanged();
}

void Image::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    m_picture.paint(painter);
}

Label::Label(QWidget *parent) : Control(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void Label::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    fitToText();
    update();
    // A label named by its caption tells a screen reader of the new text.
    if (accessibleName().isEmpty()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        notifyAccessibility(&event);
    }
}

void Label::setForeColor(std::int32_t bgr)
{
    m_foreColor = colorFromBgr(bgr);
    update();
}

void Label::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void Label::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    fitToText();
}

void Label::fitToText()
{
    if (!m_autoSize)
        return;
    const QFontMetrics metrics(font());
    setSize(static_cast<float>(pixelsToTwips(metrics.horizontalAdvance(m_caption))),
            TwipsPlacement::height());
}

void Label::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        fitToText();
    Control::changeEvent(event);
}

void Label::paintEvent(QPaintEvent *)
{
    if (m_caption.isEmpty())
        return;
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(m_foreColor);
    painter.drawText(rect(), static_cast<int>(m_alignment | Qt::TextSingleLine), m_caption);
}

PictureBox::PictureBox(QWidget *parent) : Control(parent) {}

void PictureBox::setPicture(const Picture &picture)
{
    m_picture = picture;
    const QImage &image = m_picture.image();
    m_pixels = image.constBits();
    m_bytesPerLine = image.bytesPerLine();
    updateReadableArea();
    if (m_autoSize && !picture.isNull()) {
        const QSize size = picture.size();
        setSize(static_cast<float>(pixelsToTwips(size.width())),
                static_cast<float>(pixelsToTwips(size.height())));
    }
    update();
}

void PictureBox::updateReadableArea()
{
    const QImage &image = m_picture.image();
    m_readableWidth = qMin(image.width(), QWidget::width());
    m_readableHeight = qMin(image.height(), QWidget::height());
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    Control::resizeEvent(event);
    updateReadableArea();
}

void PictureBox::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (autoSize)
        setPicture(m_picture);
}

void PictureBox::setBackColor(std::int32_t bgr)
{
    m_backColor = bgr;
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QSize pictureSize = m_picture.size();
    if (pictureSize.width() < QWidget::width() || pictureSize.height() < QWidget::height())
        painter.fillRect(rect(), colorFromBgr(m_backColor));
    if (!m_picture.isNull())
        m_picture.paint(painter);
}

Shape::Shape(QWidget *parent) : Control(parent) {}

void Shape::setFillColor(std::int32_t bgr)
{
    m_fillColor = bgr;
    update();
}

void Shape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), colorFromBgr(m_fillColor));
}

CheckBox::CheckBox(const QString &caption, QWidget *parent) : QCheckBox(caption, parent), TwipsPlacement(this)
{
    connect(this, &QCheckBox::clicked, this, &CheckBox::Click);
}

OptionButton::OptionButton(const QString &caption, QWidget *parent)
    : QRadioButton(caption, parent), TwipsPlacement(this)
{
    connect(this, &QRadioButton::clicked, this, &OptionButton::Click);
}

Frame::Frame(const QString &caption, QWidget *parent) : QGroupBox(caption, parent), TwipsPlacement(this) {}

void Frame::paintEvent(QPaintEvent *)
{
    // The style draws the caption; the edge is drawn here, because styles such as Fusion lay a
    // translucent shade over a group box's inside.
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect label = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    option.subControls &= ~QStyle::SC_GroupBoxFrame;
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
    // An etched line: a shadow line with a light line inside it, below the caption.
    const QColor face = palette().color(QPalette::Window);
    const QRectF edge = QRectF(rect()).adjusted(0.5, label.bottom() + 2.5, -1.5, -1.5);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(face.lighter(118), 1));
    painter.drawRoundedRect(edge.translated(1, 1), 2, 2);
    painter.setPen(QPen(face.darker(130), 1));
    painter.drawRoundedRect(edge, 2, 2);
}

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent), TwipsPlacement(this)
{
    setAutoDefault(false);
    setDefault(false);
    connect(this, &QPushButton::clicked, this, &CommandButton::Click);
}

void CommandButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    QRect textRect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown())
        textRect.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.drawItemText(textRect, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, palette(),
                         isEnabled(), caption, QPalette::ButtonText);
}

int keyAsciiOf(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0; // moves the focus; never typed
    default:
        break;
    }
    const QString text = event->text();
    if (text.isEmpty())
        return 0;
    return text.at(0).unicode();
}

// Offers the key to the box's KeyPress handlers and hands on what they leave: the key as it was, a
// replaced character, or nothing when a handler set the code to 0.
template <typename Box, typename Base>
static void offerKey(Box *box, QKeyEvent *event, void (Base::*baseKeyPress)(QKeyEvent *))
{
    const int offered = keyAsciiOf(event);
    if (offered == 0) {
        (box->*baseKeyPress)(event);
        return;
    }
    int keyAscii = offered;
    emit box->KeyPress(keyAscii);
    if (keyAscii == 0)
        return;
    if (keyAscii == offered) {
        (box->*baseKeyPress)(event);
        return;
    }
    QKeyEvent replaced(event->type(), 0, event->modifiers(), QString(QChar(keyAscii)));
    (box->*baseKeyPress)(&replaced);
}

namespace {

// Whether a box that gains the focus is told (GotFocus): the focus moved to it inside its window (a
// click, Tab or Shift+Tab, the program moving it), or the window opened with the focus in it. A box
// that only gets the focus back because its window is active again (a message box closed, the user
// came back from another program or another window) or a popup menu closed is not told: the focus
// never left it as far as its window is concerned.
bool focusMovedInWindow(const QFocusEvent *event, bool hadFocusBefore)
{
    const Qt::FocusReason reason = event->reason();
    const bool windowReturns = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
    return !windowReturns || !hadFocusBefore;
}

// Tells the box (GotFocus) when the focus moved to it inside its window; hadFocus remembers that the
// box has had the focus at all.
template <typename Box> void reportFocus(Box *box, const QFocusEvent *event, bool &hadFocus)
{
    const bool moved = focusMovedInWindow(event, hadFocus);
    hadFocus = true;
    if (moved)
        emit box->GotFocus();
}

} // namespace

TextBox::TextBox(QWidget *parent) : QLineEdit(parent), TwipsPlacement(this)
{
    // A text box holds text of any length (QLineEdit would cut a paste at 32767 characters).
    setMaxLength(std::numeric_limits<int>::max());
}

void TextBox::setPasswordChar(QChar passwordChar)
{
    m_passwordChar = passwordChar;
    setEchoMode(passwordChar.isNull() ? QLineEdit::Normal : QLineEdit::Password);
    // Masks with the chosen character rather than the style's bullet.
    if (!passwordChar.isNull())
        setStyleSheet(
            styleSheet() +
            QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(passwordChar.unicode()));
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    offerKey(this, event, &TextBox::baseKeyPressEvent);
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    reportFocus(this, event, m_hadFocus);
}

MultiLineTextBox::MultiLineTextBox(QWidget *parent) : QPlainTextEdit(parent), TwipsPlacement(this)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

void MultiLineTextBox::keyPressEvent(QKeyEvent *event)
{
    offerKey(this, event, &MultiLineTextBox::baseKeyPressEvent);
}

void MultiLineTextBox::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    reportFocus(this, event, m_hadFocus);
}

} // namespace platform
