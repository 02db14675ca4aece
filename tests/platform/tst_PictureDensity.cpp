// Pictures with a double-density variant ("x@2x.png" beside "x.png"): sizes and pixel reads stay the
// picture's own, the variant is painted where the screen has the density for it. Built twice: on a
// screen scaled by 1 and by 2 (QXO_SCREEN_SCALE).
#include "platform/Controls.h"
#include "platform/Picture.h"

#include <QTemporaryDir>
#include <QTest>

using namespace platform;

namespace {

constexpr QRgb kKey = 0xff000011u;
constexpr QRgb kPictureRed = 0xffd01010u;
constexpr QRgb kVariantGreen = 0xff10b020u;

// The picture is red with a key pixel at its top left; its variant green with the key in the matching
// 2x2 block, so a grab tells which one was painted.
QImage drawn(QSize size, QRgb fill, int keyBlock)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    for (int y = 0; y < keyBlock; ++y)
        for (int x = 0; x < keyBlock; ++x)
            image.setPixel(x, y, kKey);
    return image;
}

} // namespace

class tst_PictureDensity : public QObject
{
    Q_OBJECT

public:
    static void initMain() { qputenv("QT_SCALE_FACTOR", QByteArray::number(QXO_SCREEN_SCALE)); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(drawn({4, 3}, kPictureRed, 1).save(path(QStringLiteral("pic.png"))));
        QVERIFY(drawn({8, 6}, kVariantGreen, 2).save(path(QStringLiteral("pic@2x.png"))));
        QVERIFY(drawn({4, 3}, kPictureRed, 1).save(path(QStringLiteral("odd.png"))));
        QVERIFY(drawn({12, 9}, kVariantGreen, 3).save(path(QStringLiteral("odd@2x.png"))));
        QCOMPARE(qApp->devicePixelRatio(), qreal(QXO_SCREEN_SCALE));
    }

    // Layout, outlines and the find-hidden game's pixel reads use the 1x picture; only painting may
    // use the variant, at two device pixels per logical pixel.
    void variantLeavesSizeAndPixelReadsToThePicture()
    {
        const Picture picture = Picture::fromResource(path(QStringLiteral("pic.png")));
        QCOMPARE(picture.size(), QSize(4, 3));
        QCOMPARE(picture.image().size(), QSize(4, 3));
        QCOMPARE(picture.image().pixel(0, 0), kKey);
        QCOMPARE(picture.image().pixel(1, 0), kPictureRed);
        QCOMPARE(picture.pixmap(2).devicePixelRatio(), 2.0);
        QCOMPARE(picture.pixmap(2).deviceIndependentSize(), QSizeF(4, 3));
        QCOMPARE(picture.pixmap(1).devicePixelRatio(), 1.0);
        QCOMPARE(picture.pixmap().devicePixelRatio(), QXO_SCREEN_SCALE > 1 ? 2.0 : 1.0);

        QWidget parent;
        PictureBox box(&parent);
        box.setAutoSize(true);
        box.setPicture(picture);
        QCOMPARE(box.QWidget::size(), QSize(4, 3));
        QCOMPARE(box.pixel(0, 0), 0x00110000);
        QCOMPARE(box.pixel(3, 2), 0x001010d0);
    }

    // Loading the same path again, or handing the picture on, keeps one picture object: the variant
    // must not make a second one.
    void variantKeepsOnePictureObjectPerPath()
    {
        const Picture first = Picture::fromResource(path(QStringLiteral("pic.png")));
        const Picture again = Picture::fromResource(path(QStringLiteral("pic.png")));
        QVERIFY(first == again);
        QWidget parent;
        Image a(&parent), b(&parent);
        a.setPicture(first);
        b.setPicture(a.picture());
        QCOMPARE(b.picture().handle(), first.handle());
        QVERIFY(!(Picture::fromResource(path(QStringLiteral("odd.png"))) == first));
    }

    // A variant that is not exactly twice the size would paint the picture too large: it is ignored.
    void variantOfAnotherSizeIsIgnored()
    {
        const Picture picture = Picture::fromResource(path(QStringLiteral("odd.png")));
        QCOMPARE(picture.size(), QSize(4, 3));
        QCOMPARE(picture.pixmap(2).devicePixelRatio(), 1.0);
        QCOMPARE(picture.pixmap(2).toImage().pixel(1, 0), kPictureRed);
    }

    // Image and picture box paint the picture at its logical size: on a screen of twice the density
    // the variant's pixels fill exactly the picture's area, one to one; on a plain screen the picture's
    // own pixels. Beyond the picture the box shows its back colour.
    void controlsPaintThePixmapForTheirScreen()
    {
        const Picture picture = Picture::fromResource(path(QStringLiteral("pic.png")));
        QWidget parent;
        Image image(&parent);
        image.setPicture(picture);
        PictureBox box(&parent);
        box.setGeometryTwips(0, 0, 6 * 15, 5 * 15);
        box.setBackColor(0x00ffffff);
        box.setPicture(picture);
        const int scale = QXO_SCREEN_SCALE;
        const QRgb expected = scale > 1 ? kVariantGreen : kPictureRed;
        for (QWidget *control : {static_cast<QWidget *>(&image), static_cast<QWidget *>(&box)}) {
            const QImage shot = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(shot.size(), control->size() * scale);
            QCOMPARE(shot.pixel(0, 0), kKey);
            QCOMPARE(shot.pixel(scale - 1, scale - 1), kKey);
            QCOMPARE(shot.pixel(scale, 0), expected);
            QCOMPARE(shot.pixel(4 * scale - 1, 3 * scale - 1), expected);
        }
        const QImage shot = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.pixel(4 * scale, 0), 0xffffffffu);
        QCOMPARE(shot.pixel(0, 3 * scale), 0xffffffffu);
    }

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_PictureDensity)
#include "tst_PictureDensity.moc"
