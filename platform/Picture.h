#pragma once

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QString>

#include <memory>
#include <optional>

class QPainter;

namespace platform {

// A shared picture object. Copying a Picture shares the same object, as assigning one control's
// picture to another does; two Pictures are equal exactly when they are the same object, never by
// comparing pixels. A default-constructed Picture is "no picture" (handle 0).
//
// A picture loaded from a file may have a double-density variant beside it ("x@2x.png" for "x.png"):
// screens with more than one device pixel per logical pixel paint the variant, so the picture is sharp
// there, while its size and every pixel read (the window outlines cut from it) stay the 1x picture's.
class Picture
{
public:
    Picture() = default;
    // Makes a new picture object from the image (a different object from every other picture).
    explicit Picture(const QImage &image);

    // The picture stored at a resource path (":/art/card-back.png"). Each path is loaded once per
    // process and shared, so every control showing that resource shows the very same object.
    static Picture fromResource(const QString &path);

    bool isNull() const { return !m_data; }
    // Identifies the picture object; 0 for no picture.
    quintptr handle() const { return reinterpret_cast<quintptr>(m_data.get()); }
    // In logical pixels: the 1x picture's size, whichever pixmap is painted.
    QSize size() const;
    // The pixmap to paint on this application's screens: the double-density variant (device pixel
    // ratio 2, painting at size()) when there is one and a screen has more than one device pixel per
    // logical pixel, otherwise the picture itself.
    const QPixmap &pixmap() const;
    // The pixmap to paint on a device with `devicePixelRatio` device pixels per logical pixel.
    const QPixmap &pixmap(qreal devicePixelRatio) const;
    // The 1x pixels for single-pixel reads and outlines (kept beside the pixmap so reads never touch
    // the screen).
    const QImage &image() const;

    // Paints the picture at size() with its top left corner at `at`, with the pixmap suited to the
    // painter's device; smoothed where it must be scaled by a fraction (a screen scaled by 1.5).
    void paint(QPainter &painter, QPoint at = QPoint()) const;

    friend bool operator==(const Picture &a, const Picture &b) { return a.m_data == b.m_data; }

private:
    struct Data
    {
        QImage image;
        QPixmap pixmap;
        // The double-density variant's file; empty when there is none.
        QString variantPath;
        // Loaded on first use, or when the picture is loaded on a high-density screen.
        mutable std::optional<QPixmap> variant;
    };
    const QPixmap &variant() const;

    std::shared_ptr<const Data> m_data;
};

} // namespace platform
