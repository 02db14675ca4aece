#include "Picture.h"

#include <QHash>

namespace platform {

Picture::Picture(const QImage &image)
    : m_data(std::make_shared<const Data>(Data{image, QPixmap::fromImage(image)}))
{
}

Picture Picture::fromResource(const QString &path)
{
    // Weak entries: the cache never outlives the application's pixmaps, and a picture that no control
    // shows any more is simply loaded again on its next use.
    static QHash<QString, std::weak_ptr<const Data>> cache;
    Picture picture;
    picture.m_data = cache.value(path).lock();
    if (picture.m_data)
        return picture;
    QImage image(path);
    if (image.isNull())
        return Picture();
    picture = Picture(image);
    cache.insert(path, picture.m_data);
    return picture;
}

QSize Picture::size() const
{
    return m_data ? m_data->image.size() : QSize();
}

const QPixmap &Picture::pixmap() const
{
    static const QPixmap none;
    return m_data ? m_data->pixmap : none;
}

const QImage &Picture::image() const
{
    static const QImage none;
    return m_data ? m_data->image : none;
}

} // namespace platform
