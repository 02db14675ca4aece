#include "Picture.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>

#include <cmath>

namespace platform {

namespace {

// "name@2x.png" beside "name.png"; empty for a path without a file extension.
QString variantPathFor(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot <= path.lastIndexOf(u'/') + 1)
        return QString();
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

// Pixels are kept as 32-bit RGB so single-pixel reads (the window outlines read every pixel of a
// background one at a time) are a plain array access.
QImage readableImage(const QImage &image)
{
    if (image.isNull() || image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

qreal applicationPixelRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

} // namespace

Picture::Picture(const QImage &image)
    : m_data(std::make_shared<const Data>(
          Data{readableImage(image), QPixmap::fromImage(image), QString(), std::nullopt}))
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
    QString variantPath = variantPathFor(path);
    if (!variantPath.isEmpty() && !QFile::exists(variantPath))
        variantPath.clear();
    picture.m_data = std::make_shared<const Data>(
        Data{readableImage(image), QPixmap::fromImage(image), std::move(variantPath), std::nullopt});
    cache.insert(path, picture.m_data);
    // On a high-density screen the variant is what gets painted: load it now, not in the first paint.
    if (applicationPixelRatio() > 1)
        picture.variant();
    return picture;
}

const QPixmap &Picture::variant() const
{
    if (!m_data->variant) {
        QImage image;
        if (!m_data->variantPath.isEmpty())
            image.load(m_data->variantPath);
        // A variant of any other size would paint the picture at the wrong size: keep the picture.
        if (!image.isNull() && image.size() == m_data->image.size() * 2) {
            image.setDevicePixelRatio(2);
            m_data->variant = QPixmap::fromImage(image);
        } else {
            m_data->variant = m_data->pixmap;
        }
    }
    return *m_data->variant;
}

QSize Picture::size() const
{
    return m_data ? m_data->image.size() : QSize();
}

const QPixmap &Picture::pixmap() const
{
    return pixmap(applicationPixelRatio());
}

const QPixmap &Picture::pixmap(qreal devicePixelRatio) const
{
    static const QPixmap none;
    if (!m_data)
        return none;
    return devicePixelRatio > 1 ? variant() : m_data->pixmap;
}

const QImage &Picture::image() const
{
    static const QImage none;
    return m_data ? m_data->image : none;
}

void Picture::paint(QPainter &painter, QPoint at) const
{
    if (!m_data)
        return;
    const qreal deviceRatio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const QPixmap &chosen = pixmap(deviceRatio);
    // Whole multiples keep their pixels crisp; a fractional scale would drop or double single rows
    // and columns of letters and edges.
    const qreal factor = deviceRatio / chosen.devicePixelRatio();
    const bool fractional = std::abs(factor - std::round(factor)) > 1e-6;
    if (fractional) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    }
    painter.drawPixmap(at, chosen);
    if (fractional)
        painter.restore();
}

} // namespace platform
