#include "shape/WindowRegion.h"

#include "platform/Controls.h"
#include "platform/Picture.h"
#include "platform/Twips.h"

#ifdef QXO_HAVE_ART
#include "art/Art.h"
#endif

#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <cfenv>
#include <cstdint>

using platform::Picture;
using platform::PictureBox;

namespace {

// Row spans of kept pixels, first and last x included.
struct Span
{
    int first;
    int last;
};
using RowSpans = QList<QList<Span>>;

constexpr std::int32_t kTrainerKey = 0x00330000; // blue 51
constexpr std::int32_t kSplashKey = 0x00110000;  // blue 17

// The trainer picture's outline: eight key pixels in each corner, every row one run.
Span trainerKeep(int y, int height, int width)
{
    const int fromEdge = qMin(y, height - 1 - y);
    const int inset = fromEdge == 0 ? 4 : fromEdge == 1 ? 2 : fromEdge <= 3 ? 1 : 0;
    return {inset, width - 1 - inset};
}

// An image whose kept pixels vary in colour (never the key) and whose cut pixels have the key.
QImage imageFromSpans(int width, int height, std::int32_t key, const RowSpans &spans)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(platform::colorFromBgr(key));
    for (int y = 0; y < height; ++y) {
        for (const Span &span : spans.value(y)) {
            for (int x = span.first; x <= span.last; ++x)
                image.setPixelColor(x, y, QColor((x * 7) % 256, y % 256, 200));
        }
    }
    return image;
}

RowSpans trainerSpans(int width, int height)
{
    RowSpans spans;
    for (int y = 0; y < height; ++y)
        spans.append({trainerKeep(y, height, width)});
    return spans;
}

QList<QRect> runsOf(const PictureBox &box, std::int32_t key)
{
    QList<QRect> runs;
    shape::forEachRun(box, key, [&runs](const QRect &run) { runs.append(run); });
    return runs;
}

QList<QRect> runsFromSpans(const RowSpans &spans)
{
    QList<QRect> runs;
    for (int y = 0; y < spans.size(); ++y) {
        for (const Span &span : spans[y])
            runs.append(QRect(QPoint(span.first, y), QPoint(span.last, y)));
    }
    return runs;
}

QRegion regionFromRuns(const QList<QRect> &runs)
{
    QRegion region;
    for (const QRect &run : runs)
        region += run;
    return region;
}

qint64 areaOf(const QRegion &region)
{
    qint64 area = 0;
    for (const QRect &rect : region)
        area += qint64(rect.width()) * rect.height();
    return area;
}

} // namespace

Q_DECLARE_METATYPE(RowSpans)

class WindowRegionTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
#ifdef QXO_HAVE_ART
        art::initResources();
#endif
    }

    // Guards against runs split, merged or shifted by one: each stretch of kept pixels in a row is one
    // rectangle one pixel high, and the region covers exactly those pixels.
    void runsFollowThePicture_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("key");
        QTest::addColumn<RowSpans>("spans");

        QTest::newRow("trainer corners: 590 rows, one run each") << 783 << 590 << 0 << trainerSpans(783, 590);
        QTest::newRow("no key pixel gives the whole rectangle")
            << 40 << 3 << 0x00FF00FF << RowSpans{{{0, 39}}, {{0, 39}}, {{0, 39}}};
        QTest::newRow("several stretches in a row give one rectangle each")
            << 20 << 3 << kTrainerKey
            << RowSpans{{{0, 2}, {6, 9}, {13, 19}}, {{1, 1}, {3, 3}, {5, 5}}, {{0, 19}}};
        QTest::newRow("a run ending at the right edge")
            << 10 << 2 << kTrainerKey << RowSpans{{{7, 9}}, {{9, 9}}};
        QTest::newRow("a row with nothing kept gives no rectangle")
            << 10 << 3 << kTrainerKey << RowSpans{{{2, 7}}, {}, {{2, 7}}};
        QTest::newRow("all key gives an empty region") << 30 << 4 << 0 << RowSpans{};
    }
    void runsFollowThePicture()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, key);
        QFETCH(RowSpans, spans);

        const std::int32_t drawnKey = key > 0 ? key : kTrainerKey;
        PictureBox box(&m_window);
        box.setAutoSize(true);
        box.setPicture(Picture(imageFromSpans(width, height, drawnKey, spans)));
        box.hide();

        std::int32_t keyColor = key;
        const QRegion region = shape::BuildWindowRegion(box, keyColor);
        QCOMPARE(keyColor, drawnKey);

        const QList<QRect> expectedRuns = runsFromSpans(spans);
        QCOMPARE(runsOf(box, keyColor), expectedRuns);
        QCOMPARE(region, regionFromRuns(expectedRuns));
        qint64 keptPixels = 0;
        for (const QRect &run : expectedRuns)
            keptPixels += run.width();
        QCOMPARE(areaOf(region), keptPixels);
        if (spans.isEmpty())
            QVERIFY(region.isEmpty());
    }

    // Pure black cannot be asked for as the key: 0 and every negative value mean "take the top left
    // pixel's colour", and the caller's variable receives it. A positive key is used as given.
    void keyBelowOneTakesTopLeftColour_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("topLeft");
        QTest::addColumn<int>("expectedKey");

        QTest::newRow("zero") << 0 << kSplashKey << kSplashKey;
        QTest::newRow("minus one") << -1 << kSplashKey << kSplashKey;
        QTest::newRow("most negative") << int(INT32_MIN) << kSplashKey << kSplashKey;
        QTest::newRow("black top left makes black the key") << 0 << 0 << 0;
        QTest::newRow("one is a key of its own") << 1 << kSplashKey << 1;
        QTest::newRow("given key differs from the top left") << kTrainerKey << kSplashKey << kTrainerKey;
    }
    void keyBelowOneTakesTopLeftColour()
    {
        QFETCH(int, key);
        QFETCH(int, topLeft);
        QFETCH(int, expectedKey);

        // Row 0: top left colour, then a kept stretch, then the trainer's key colour; row 1: top left
        // colour throughout.
        QImage image(6, 2, QImage::Format_RGB32);
        image.fill(platform::colorFromBgr(topLeft));
        for (int x = 1; x < 4; ++x)
            image.setPixelColor(x, 0, QColor(10, 20, 30));
        for (int x = 4; x < 6; ++x)
            image.setPixelColor(x, 0, platform::colorFromBgr(kTrainerKey));
        PictureBox box(&m_window);
        box.setAutoSize(true);
        box.setPicture(Picture(image));

        std::int32_t keyColor = key;
        const QRegion region = shape::BuildWindowRegion(box, keyColor);
        QCOMPARE(keyColor, expectedKey);
        QCOMPARE(region.contains(QPoint(0, 0)), expectedKey != topLeft);
        QCOMPARE(region.contains(QPoint(4, 0)), expectedKey != kTrainerKey);
        QVERIFY(region.contains(QPoint(2, 0)));
    }

    // The box's twips size decides how many pixels are read: 22.5 pixels read 22 columns, 23.5 read 24.
    void sizeInPixelsRoundsHalfToEven_data()
    {
        QTest::addColumn<float>("widthTwips");
        QTest::addColumn<float>("heightTwips");
        QTest::addColumn<QSize>("pixels");

        QTest::newRow("whole pixels") << 345.0f << 30.0f << QSize(23, 2);
        QTest::newRow("just under a half rounds down") << 337.0f << 22.0f << QSize(22, 1);
        QTest::newRow("a half rounds down to even") << 337.5f << 37.5f << QSize(22, 2);
        QTest::newRow("a half rounds up to even") << 352.5f << 22.5f << QSize(24, 2);
        QTest::newRow("half a pixel reads nothing") << 7.5f << 15.0f << QSize(0, 1);
    }
    void sizeInPixelsRoundsHalfToEven()
    {
        QFETCH(float, widthTwips);
        QFETCH(float, heightTwips);
        QFETCH(QSize, pixels);

        PictureBox box(&m_window);
        box.setBackColor(0x00808080);
        box.setSize(widthTwips, heightTwips);
        std::int32_t keyColor = kTrainerKey;
        const QRegion region = shape::BuildWindowRegion(box, keyColor);
        if (pixels.isEmpty())
            QVERIFY(region.isEmpty());
        else
            QCOMPARE(region, QRegion(QRect(QPoint(0, 0), pixels)));
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<long>("expected");
        QTest::addColumn<int>("roundingMode");

        QTest::newRow("half to even below") << 2.5 << 2L << FE_TONEAREST;
        QTest::newRow("half to even above") << 3.5 << 4L << FE_TONEAREST;
        QTest::newRow("half of zero") << 0.5 << 0L << FE_TONEAREST;
        QTest::newRow("negative half to even") << -1.5 << -2L << FE_TONEAREST;
        QTest::newRow("negative half toward zero") << -2.5 << -2L << FE_TONEAREST;
        QTest::newRow("just over a half") << 2.5001 << 3L << FE_TONEAREST;
        QTest::newRow("just under a half") << 3.4999 << 3L << FE_TONEAREST;
        QTest::newRow("whole number") << 8850.0 << 8850L << FE_TONEAREST;
        QTest::newRow("rounding mode upward changes nothing") << 2.5 << 2L << FE_UPWARD;
        QTest::newRow("rounding mode downward changes nothing") << 3.5 << 4L << FE_DOWNWARD;
    }
    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(long, expected);
        QFETCH(int, roundingMode);

        const int previous = std::fegetround();
        std::fesetround(roundingMode);
        const long result = shape::roundHalfEven(value);
        std::fesetround(previous);
        QCOMPARE(result, expected);
    }

    // A picture that is all key colour gives an empty region; applying it must not leave an invisible
    // window that nobody can close, so the window keeps its full rectangle.
    void emptyRegionLeavesWindowUnshaped()
    {
        QWidget window;
        window.resize(50, 40);
        const QRegion outline(QRect(2, 0, 46, 40));
        shape::SetWindowRgn(&window, outline, true);
        QCOMPARE(window.mask(), outline);

        QImage image(50, 40, QImage::Format_RGB32);
        image.fill(platform::colorFromBgr(kSplashKey));
        PictureBox box(&window);
        box.setAutoSize(true);
        box.setPicture(Picture(image));
        std::int32_t keyColor = 0;
        const QRegion region = shape::BuildWindowRegion(box, keyColor);
        QVERIFY(region.isEmpty());
        shape::SetWindowRgn(&window, region, true);
        QVERIFY(window.mask().isEmpty());
    }

    // Guards the choice of outline: on Wayland a mask alone leaves the key colour on screen; X keeps its
    // shape.
    void outlineMethodFollowsPlatform()
    {
        for (const char *name : {"wayland", "wayland-egl", "xcb", "offscreen"})
            QVERIFY2((shape::outlineMethodFor(QString::fromLatin1(name)) ==
                      shape::OutlineMethod::TransparentCut) == QByteArray(name).startsWith("wayland"),
                     name);
    }

    void transparentCutClearsExactlyTheCutPixels_data()
    {
        QTest::addColumn<bool>("keepAll");
        QTest::newRow("rounded corners cut") << false;
        QTest::newRow("nothing kept leaves the window whole") << true;
    }
    // Guards the Wayland outline: every pixel outside the region shows the desktop (fully
    // transparent), every kept pixel keeps the window's face, and clicks still follow the region.
    void transparentCutClearsExactlyTheCutPixels()
    {
        QFETCH(bool, keepAll);

        constexpr int kWidth = 40;
        constexpr int kHeight = 30;
        const QImage face = imageFromSpans(kWidth, kHeight, kTrainerKey, trainerSpans(kWidth, kHeight));
        // A window that paints its face from the picture, as the shaped windows do.
        class PaintedWindow : public QWidget
        {
        public:
            QImage face;

        protected:
            void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(0, 0, face); }
        } window;
        window.face = face;
        window.setFixedSize(kWidth, kHeight);

        const QRegion region =
            keepAll ? QRegion() : regionFromRuns(runsFromSpans(trainerSpans(kWidth, kHeight)));
        shape::applyOutline(&window, region, shape::OutlineMethod::TransparentCut);
        QCOMPARE(window.mask(), region);

        const QImage shown = window.grab().toImage();
        int cut = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const bool kept = keepAll || region.contains(QPoint(x, y));
                cut += kept ? 0 : 1;
                QCOMPARE(qAlpha(shown.pixel(x, y)), kept ? 255 : 0);
                if (kept)
                    QCOMPARE(shown.pixel(x, y), face.pixel(x, y));
            }
        }
        QCOMPARE(cut, keepAll ? 0 : 32);
    }

    // The trainer and splash backgrounds as drawn: key from the top left pixel, rounded corners on the
    // trainer, cut top and bottom rows on the splash, every row one run.
    void realPicturesGiveTheirOutlines_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("expectedKey");

        QTest::newRow("trainer") << QStringLiteral(":/art/trainer-background.png") << QSize(783, 590)
                                 << kTrainerKey;
        QTest::newRow("splash") << QStringLiteral(":/art/splash.png") << QSize(424, 367) << kSplashKey;
    }
    void realPicturesGiveTheirOutlines()
    {
        QFETCH(QString, resource);
        QFETCH(QSize, size);
        QFETCH(int, expectedKey);

        const Picture picture = Picture::fromResource(resource);
        if (picture.isNull())
            QSKIP("the window pictures are not built into this program yet");
        QCOMPARE(picture.size(), size);

        QWidget window;
        PictureBox box(&window);
        box.setAutoSize(true);
        box.setPicture(picture);
        box.hide();
        std::int32_t keyColor = 0;
        const QRegion region = shape::BuildWindowRegion(box, keyColor);
        QCOMPARE(keyColor, expectedKey);

        const QList<QRect> runs = runsOf(box, keyColor);
        QCOMPARE(runs.size(), size.height());
        for (int y = 0; y < size.height(); ++y)
            QCOMPARE(runs[y].y(), y);
        QCOMPARE(region.boundingRect(), QRect(QPoint(0, 0), size));

        if (expectedKey == kTrainerKey) {
            QCOMPARE(runs, runsFromSpans(trainerSpans(size.width(), size.height())));
        } else {
            const QRect cutRow(QPoint(21, 0), QPoint(403, 0));
            QCOMPARE(runs.first(), cutRow);
            QCOMPARE(runs.last(), cutRow.translated(0, size.height() - 1));
        }
    }

private:
    QWidget m_window;
};

QTEST_MAIN(WindowRegionTest)
#include "tst_WindowRegion.moc"
