#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

#include <memory>

namespace platform {

// A shared picture object. Copying a Picture shares the same object, as assigning one control's
// picture to another does; two Pictures are equal exactly when they are the same object, never by
// comparing pixels. A default-constructed Picture is "no picture" (handle 0).
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
    QSize size() const;
    const QPixmap &pixmap() const;
    // The pixels for single-pixel reads (kept beside the pixmap so reads never touch the screen).
    const QImage &image() const;

    friend bool operator==(const Picture &a, const Picture &b) { return a.m_data == b.m_data; }

private:
    struct Data
    {
        QImage image;
        QPixmap pixmap;
    };
    std::shared_ptr<const Data> m_data;
};

} // namespace platform
