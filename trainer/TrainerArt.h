#pragma once

#include "platform/Contrast.h"
#include "platform/Controls.h"
#include "platform/Picture.h"
#include "platform/Twips.h"

#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>

#include <cstdint>

// Small helpers the trainer window's layout is written with.
namespace trainerart {

// A picture of the product's art, loaded once and shared (":/art/<name>").
inline platform::Picture picture(const QString &name)
{
    return platform::Picture::fromResource(QStringLiteral(":/art/") + name);
}

inline QFont arial(qreal points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The small dialog font the window's controls use unless they name another.
inline QFont dialogFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    return font;
}

// Body grey, the back colour of everything that sits on the window's body.
constexpr std::int32_t kBodyGrey = 0xCCCCCC;
constexpr std::int32_t kWhite = 0xFFFFFF;

// Back colour of a standard widget (check box, frame, option button).
inline void setBackColor(QWidget *widget, std::int32_t bgr)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, platform::colorFromBgr(bgr));
    // The face is fixed, the desktop's text colour is not: a dark theme's light text would vanish.
    palette.setColor(QPalette::WindowText, platform::readableTextOn(platform::colorFromBgr(bgr),
                                                                    palette.color(QPalette::WindowText)));
    widget->setPalette(palette);
    // Buttons fill with the Button role by default; these controls show the back colour instead.
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

// An image control at its designed place (twips). It takes its picture's size; without its picture
// (art missing) it keeps the designed size.
inline platform::Image *image(QWidget *parent, float left, float top, float width, float height,
                              const platform::Picture &picture)
{
    auto *control = new platform::Image(parent);
    control->setGeometryTwips(left, top, width, height);
    if (!picture.isNull())
        control->setPicture(picture);
    return control;
}

} // namespace trainerart
