#pragma once

#include "Control.h"
#include "Picture.h"

#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cstdint>

// The controls the windows are built from. Each keeps its place in twips (TwipsPlacement); the
// picture controls share Picture objects, so assigning one control's picture to another makes both
// show the very same object.
namespace platform {

// An image: shows its picture unscaled at its top left corner and takes the picture's size.
class Image : public Control
{
    Q_OBJECT
public:
    explicit Image(QWidget *parent);
    Picture picture() const { return m_picture; }
    void setPicture(const Picture &picture);

signals:
    // After every setPicture, so a window can keep what the image is called in step with what it shows.
    void PictureChanged();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Picture m_picture;
};

// A label with a transparent background. It takes its own mouse events (a click on it never reaches
// what lies beneath). With autoSize it takes the width of its text and keeps its left edge.
class Label : public Control
{
    Q_OBJECT
public:
    explicit Label(QWidget *parent);
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    void setForeColor(std::int32_t bgr);
    void setAlignment(Qt::Alignment alignment);
    void setAutoSize(bool autoSize);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fitToText();

    QString m_caption;
    QColor m_foreColor = Qt::black;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    bool m_autoSize = false;
};

// A container with an optional picture drawn at its top left corner over its back colour. With
// autoSize it takes exactly its picture's size. Its pixels stay readable while it is hidden.
class PictureBox : public Control
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent);
    Picture picture() const { return m_picture; }
    void setPicture(const Picture &picture);
    void setAutoSize(bool autoSize);
    void setBackColor(std::int32_t bgr);
    // Colour (0x00BBGGRR) of one pixel of the box as drawn: the picture where it covers the point,
    // the back colour elsewhere; -1 outside the box. Inline and table-driven: an outline is built
    // from hundreds of thousands of these reads.
    std::int32_t pixel(int x, int y) const
    {
        // The common case first, with one unsigned compare per axis (negative values wrap past the end).
        if (unsigned(x) < unsigned(m_readableWidth) && unsigned(y) < unsigned(m_readableHeight)) {
            const QRgb rgb = reinterpret_cast<const QRgb *>(m_pixels + y * m_bytesPerLine)[x];
            return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
        }
        if (x < 0 || y < 0 || x >= QWidget::width() || y >= QWidget::height())
            return -1;
        return m_backColor;
    }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void geometryApplied() override { updateReadableArea(); }

private:
    void updateReadableArea();

    Picture m_picture;
    bool m_autoSize = false;
    std::int32_t m_backColor = 0xFFFFFF;
    // The picture's 32-bit pixels (kept alive by m_picture) for pixel().
    const uchar *m_pixels = nullptr;
    qsizetype m_bytesPerLine = 0;
    // Where the picture covers the box: the part of the box pixel() reads from the picture.
    int m_readableWidth = 0;
    int m_readableHeight = 0;
};

// An opaque filled rectangle without outline.
class Shape : public Control
{
    Q_OBJECT
public:
    explicit Shape(QWidget *parent);
    std::int32_t fillColor() const { return m_fillColor; }
    void setFillColor(std::int32_t bgr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::int32_t m_fillColor = 0xFFFFFF;
};

// Check box whose value is 1 when ticked and 0 when not; Click follows every change by the user.
class CheckBox : public QCheckBox, public TwipsPlacement
{
    Q_OBJECT
public:
    CheckBox(const QString &caption, QWidget *parent);
    int value() const { return isChecked() ? 1 : 0; }
    void setValue(int value) { setChecked(value != 0); }

signals:
    void Click();
};

// Option button; the buttons sharing one container form one group, exactly one selected.
class OptionButton : public QRadioButton, public TwipsPlacement
{
    Q_OBJECT
public:
    OptionButton(const QString &caption, QWidget *parent);
    bool value() const { return isChecked(); }
    void setValue(bool value) { setChecked(value); }

signals:
    void Click();
};

// A frame whose inside is its back colour, flat, so that the option buttons in it, which fill their
// rectangles with the same back colour, do not show as boxes.
class Frame : public QGroupBox, public TwipsPlacement
{
    Q_OBJECT
public:
    Frame(const QString &caption, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Push button whose caption wraps onto further lines at word breaks when it is wider than the
// button, as the windows were designed with.
class CommandButton : public QPushButton, public TwipsPlacement
{
    Q_OBJECT
public:
    CommandButton(const QString &caption, QWidget *parent);

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Single-line text box without a length limit. KeyPress hands the character code of every key that
// produces a character (Backspace 8, Enter 13 included) by reference before the box sees it: setting
// it to 0 drops the key. Keys without a character (arrows, paging) are never offered and keep their
// effect. GotFocus follows a move of the focus to the box inside its window (and its first focus when
// the window opens), never the window merely becoming active again.
class TextBox : public QLineEdit, public TwipsPlacement
{
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent);
    // 0 shows the text plainly; any other character masks every character of the text.
    void setPasswordChar(QChar passwordChar);
    QChar passwordChar() const { return m_passwordChar; }
    // The box's own key handling, for the KeyPress filter to hand a key on to.
    void baseKeyPressEvent(QKeyEvent *event) { QLineEdit::keyPressEvent(event); }

signals:
    void KeyPress(int &keyAscii);
    void GotFocus();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    QChar m_passwordChar;
    bool m_hadFocus = false;
};

// Multi-line text box with a vertical scroll bar, with the same KeyPress and GotFocus rules as TextBox.
class MultiLineTextBox : public QPlainTextEdit, public TwipsPlacement
{
    Q_OBJECT
public:
    explicit MultiLineTextBox(QWidget *parent);
    // The box's own key handling, for the KeyPress filter to hand a key on to.
    void baseKeyPressEvent(QKeyEvent *event) { QPlainTextEdit::keyPressEvent(event); }

signals:
    void KeyPress(int &keyAscii);
    void GotFocus();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    bool m_hadFocus = false;
};

// The character code a key press offers to a KeyPress handler, or 0 for a key that produces no
// character (arrows, paging, modifiers).
int keyAsciiOf(const QKeyEvent *event);

} // namespace platform
