#include "WindowRegion.h"

#include "platform/Controls.h"
#include "platform/Twips.h"
#include "platform/WindowSystem.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QWidget>

#include <cmath>

namespace shape {

long roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    long result = static_cast<long>(lower);
    if (fraction > 0.5 || (fraction == 0.5 && (result % 2 != 0)))
        ++result;
    return result;
}

void forEachRun(const platform::PictureBox &source, std::int32_t keyColor,
                const std::function<void(const QRect &run)> &run)
{
    const long rows =
        roundHalfEven(static_cast<double>(source.TwipsPlacement::height()) / platform::kTwipsPerPixel);
    const long columns =
        roundHalfEven(static_cast<double>(source.TwipsPlacement::width()) / platform::kTwipsPerPixel);
    for (int y = 0; y < rows; ++y) {
        int x = 0;
        while (x < columns) {
            while (x < columns && source.pixel(x, y) == keyColor)
                ++x;
            if (x >= columns)
                break;
            const int start = x;
            while (x < columns && source.pixel(x, y) != keyColor)
                ++x;
            run(QRect(start, y, x - start, 1));
        }
    }
}

QRegion BuildWindowRegion(const platform::PictureBox &source, std::int32_t &keyColor)
{
    if (keyColor < 1)
        keyColor = source.pixel(0, 0);
    QRegion result;
    forEachRun(source, keyColor, [&result](const QRect &run) { result += run; });
    return result;
}

namespace {

// Paints the cut pixels of its window fully transparent each time the window has painted its face.
class TransparentCutter : public QObject
{
public:
    explicit TransparentCutter(QWidget *window) : QObject(window) { window->installEventFilter(this); }

    void setKept(const QRegion &kept) { m_kept = kept; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != parent() || event->type() != QEvent::Paint)
            return false;
        auto *window = static_cast<QWidget *>(watched);
        // The window paints its face first (QObject::event is public, the dispatch the same).
        static_cast<QObject *>(window)->event(event);
        if (!m_kept.isEmpty()) {
            QPainter painter(window);
            painter.setCompositionMode(QPainter::CompositionMode_Clear);
            painter.setClipRegion(QRegion(window->rect()) - m_kept);
            painter.fillRect(window->rect(), Qt::transparent);
        }
        return true;
    }

private:
    QRegion m_kept;
};

} // namespace

OutlineMethod outlineMethodFor(const QString &platformName)
{
    return platform::isWaylandPlatform(platformName) ? OutlineMethod::TransparentCut
                                                     : OutlineMethod::WindowShape;
}

void applyOutline(QWidget *window, const QRegion &region, OutlineMethod method)
{
    if (!window)
        return;
    if (method == OutlineMethod::TransparentCut) {
        window->setAttribute(Qt::WA_TranslucentBackground);
        TransparentCutter *cutter = nullptr;
        for (QObject *child : window->children()) {
            if (auto *found = dynamic_cast<TransparentCutter *>(child))
                cutter = found;
        }
        if (!cutter)
            cutter = new TransparentCutter(window);
        cutter->setKept(region);
    }
    // QWidget::setMask with an empty region removes the mask, which is the outline we want there.
    // On Wayland the mask is where clicks land; elsewhere it cuts the window itself.
    window->setMask(region);
}

void SetWindowRgn(QWidget *window, const QRegion &region, bool redraw)
{
    if (!window)
        return;
    applyOutline(window, region, outlineMethodFor(QGuiApplication::platformName()));
    if (redraw)
        window->update();
}

} // namespace shape
