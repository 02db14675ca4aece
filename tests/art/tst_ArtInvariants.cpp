// The pictures' sizes, the key-coloured pixels that cut the window outlines, the colours in their
// corners and the places of the login picture's elements: the parts of the art the program relies on.
#include "ArtChecks.h"
#include "art/Art.h"
#include "art/ProductText.h"

#include <QFile>
#include <QtTest>

using namespace artchecks;

namespace {

constexpr QRgb kBodyGrey = 0xffccccccu;
constexpr QRgb kWhite = 0xffffffffu;

// Embedded pictures from the resources; the larger icon sizes, which only the desktop's icon theme
// uses, from the source folder.
QImage picture(const QString &name)
{
    if (name.startsWith(QStringLiteral("icon-")))
        return QImage(qEnvironmentVariable("QXO_SOURCE_DIR") + QStringLiteral("/art/") + name);
    return QImage(QStringLiteral(":/art/") + name);
}

int luminance(QRgb c)
{
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

// The smallest rectangle holding every pixel of `area` for which `match` holds.
template <typename Match> QRect boundingBoxOf(const QImage &image, const QRect &area, Match match)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (match(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

// Every window and control picture: each has an @2x variant.
QStringList windowPictureNames()
{
    QStringList names = {QStringLiteral("trainer-background.png"), QStringLiteral("splash.png"),
                         QStringLiteral("login-background.png"),   QStringLiteral("meter.png"),
                         QStringLiteral("score-bar.png"),          QStringLiteral("title-strip.png"),
                         QStringLiteral("panel-plain.png"),        QStringLiteral("panel-hidden.png"),
                         QStringLiteral("options-panel.png"),      QStringLiteral("card-back.png")};
    for (const char *deck : {"zener", "color", "spade"})
        for (int i = 1; i <= 5; ++i)
            names << QStringLiteral("%1-%2.png").arg(QLatin1String(deck)).arg(i);
    for (const char *button : {"user", "test", "drill", "stop", "help", "close"})
        for (int state = 0; state <= 1; ++state)
            names << QStringLiteral("btn-%1-%2.png").arg(QLatin1String(button)).arg(state);
    return names;
}

// What the outline check of the window the picture belongs to finds wrong with it.
QStringList keyFaults(const QString &name, const QImage &image)
{
    return name.startsWith(QStringLiteral("trainer")) ? trainerKeyFaults(image) : splashKeyFaults(image);
}

QString variantName(const QString &name)
{
    return QString(name).replace(QStringLiteral(".png"), QStringLiteral("@2x.png"));
}

} // namespace

class ArtInvariantsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { art::initResources(); }

    void pictureSizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        const QList<QPair<const char *, QSize>> sizes = {
            {"trainer-background.png", {783, 590}},
            {"splash.png", {424, 367}},
            {"login-background.png", {343, 316}},
            {"meter.png", {73, 163}},
            {"score-bar.png", {536, 48}},
            {"title-strip.png", {415, 28}},
            {"panel-plain.png", {588, 306}},
            {"panel-hidden.png", {579, 310}},
            {"options-panel.png", {402, 173}},
            {"card-back.png", {88, 126}},
            {"btn-user-0.png", {87, 43}},
            {"btn-user-1.png", {87, 43}},
            {"btn-test-0.png", {87, 43}},
            {"btn-test-1.png", {87, 43}},
            {"btn-drill-0.png", {87, 43}},
            {"btn-drill-1.png", {87, 43}},
            {"btn-stop-0.png", {78, 42}},
            {"btn-stop-1.png", {78, 42}},
            {"btn-help-0.png", {30, 48}},
            {"btn-help-1.png", {30, 48}},
            {"btn-close-0.png", {22, 21}},
            {"btn-close-1.png", {27, 23}},
            {"icon.png", {48, 48}},
            {"icon@2x.png", {96, 96}},
            {"icon-64.png", {64, 64}},
            {"icon-128.png", {128, 128}},
            {"icon-256.png", {256, 256}},
        };
        for (const auto &[name, size] : sizes)
            QTest::newRow(name) << QString::fromLatin1(name) << size;
        // Every deck fits the face row's slots: 88, 88, 87, 87 and 88 wide, the fifth one pixel shorter.
        const QSize slotSizes[5] = {{88, 126}, {88, 126}, {87, 126}, {87, 126}, {88, 125}};
        for (const char *deck : {"zener", "color", "spade"}) {
            for (int i = 1; i <= 5; ++i) {
                const QString name = QStringLiteral("%1-%2.png").arg(QLatin1String(deck)).arg(i);
                QTest::newRow(qPrintable(name)) << name << slotSizes[i - 1];
            }
        }
    }
    // Pictures show unscaled and controls take their size, so a wrong size moves the whole layout.
    void pictureSizes()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QImage image = picture(name);
        QVERIFY2(!image.isNull(), qPrintable(name));
        QCOMPARE(image.size(), size);
        // 24-bit pictures, except the icon with its transparency.
        const bool isIcon = name.startsWith(QStringLiteral("icon"));
        QCOMPARE(image.hasAlphaChannel(), isIcon);
        // The icons are transparent around their cards.
        if (isIcon)
            QCOMPARE(qAlpha(image.pixel(image.width() - 1, 0)), 0);
    }

    void keyOutlines_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("trainer background") << QStringLiteral("trainer-background.png");
        QTest::newRow("splash") << QStringLiteral("splash.png");
    }
    // The window outlines are cut by the key colour: a stray key pixel would punch a hole in the window.
    void keyOutlines()
    {
        QFETCH(QString, name);
        const QImage image = picture(name);
        const QStringList faults = keyFaults(name, image);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.mid(0, 10).join(QStringLiteral("; "))));
    }

    void keyChecksCatchOnePixel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("makeKey");
        const QString trainer = QStringLiteral("trainer-background.png");
        const QString splash = QStringLiteral("splash.png");
        QTest::newRow("trainer: key pixel added in the body") << trainer << QPoint(400, 300) << true;
        QTest::newRow("trainer: key pixel added beside a corner") << trainer << QPoint(4, 0) << true;
        QTest::newRow("trainer: corner key pixel removed") << trainer << QPoint(782, 589) << false;
        QTest::newRow("splash: key pixel added inside the panel") << splash << QPoint(200, 200) << true;
        QTest::newRow("splash: key pixel added at the end of a run") << splash << QPoint(14, 200) << true;
        QTest::newRow("splash: key pixel removed beside a run") << splash << QPoint(13, 200) << false;
        QTest::newRow("splash: key pixel removed at the top left") << splash << QPoint(0, 0) << false;
    }
    // Guards the checks themselves: one key pixel more or less must be reported.
    void keyChecksCatchOnePixel()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, at);
        QFETCH(bool, makeKey);
        const bool isTrainer = name.startsWith(QStringLiteral("trainer"));
        QImage image = picture(name).convertToFormat(QImage::Format_RGB32);
        const QRgb key = isTrainer ? kTrainerKey : kSplashKey;
        QCOMPARE(image.pixel(at) == key, !makeKey);
        image.setPixel(at, makeKey ? key : qRgb(40, 40, 40));
        QVERIFY(!keyFaults(name, image).isEmpty());
    }

    void doubleDensityVariants_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("drawn");
        // The title strip is a piece of the grained band and nothing else: its variant is the band's
        // grain enlarged, as in the trainer picture's variant, so the two still match pixel for pixel.
        for (const QString &name : windowPictureNames())
            QTest::newRow(qPrintable(name)) << name << (name != QStringLiteral("title-strip.png"));
    }
    // High-density screens paint the @2x variant while the outline and every pixel read come from the
    // picture itself: the variant must show the same picture at the same places, and its key colour must
    // lie exactly under the cut-away 1x pixels, or a key-coloured fringe shows along the outline.
    void doubleDensityVariants()
    {
        QFETCH(QString, name);
        QFETCH(bool, drawn);
        const QImage image = picture(name);
        const QImage variant = picture(variantName(name));
        QVERIFY2(!variant.isNull(), qPrintable(variantName(name)));
        // Loaded by its file name, Qt knows it holds two pixels per logical pixel.
        QCOMPARE(variant.devicePixelRatio(), 2.0);
        QCOMPARE(variant.hasAlphaChannel(), false);
        const QStringList faults = doubleDensityFaults(image, variant, drawn);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.mid(0, 10).join(QStringLiteral("; "))));
    }

    void doubleDensityCheckCatchesFaults_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<uint>("colour");
        const QString trainer = QStringLiteral("trainer-background.png");
        const QString splash = QStringLiteral("splash.png");
        QTest::newRow("trainer: one of a corner key pixel's four lost")
            << trainer << QRect(1565, 1179, 1, 1) << uint(qRgb(30, 30, 30));
        QTest::newRow("trainer: key pixel beside a corner")
            << trainer << QRect(8, 0, 1, 1) << uint(kTrainerKey);
        QTest::newRow("splash: key pixel inside the outline")
            << splash << QRect(28, 400, 1, 1) << uint(kSplashKey);
        QTest::newRow("splash: outline pixel lost")
            << splash << QRect(26, 400, 1, 1) << uint(qRgb(30, 30, 30));
        QTest::newRow("trainer: a mark drawn where the picture has none")
            << trainer << QRect(1000, 200, 12, 12) << uint(qRgb(0, 0, 0));
    }
    // Guards the variant check itself.
    void doubleDensityCheckCatchesFaults()
    {
        QFETCH(QString, name);
        QFETCH(QRect, area);
        QFETCH(uint, colour);
        QImage variant = picture(variantName(name)).convertToFormat(QImage::Format_RGB32);
        variant.setDevicePixelRatio(1);
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                variant.setPixel(x, y, colour);
        QVERIFY(!doubleDensityFaults(picture(name), variant).isEmpty());
        // An enlarged picture is the right size and keeps the keys, but is not drawn sharp.
        const QImage image = picture(name);
        QVERIFY(!doubleDensityFaults(image, image.scaled(image.size() * 2)).isEmpty());
    }

    void cornerColours_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("corner");
        for (const char *name :
             {"btn-user-0.png", "btn-user-1.png", "btn-test-0.png", "btn-test-1.png", "btn-drill-0.png",
              "btn-drill-1.png", "btn-help-0.png", "btn-help-1.png", "meter.png", "score-bar.png",
              "panel-plain.png", "panel-hidden.png", "options-panel.png"})
            QTest::newRow(name) << QString::fromLatin1(name) << uint(kBodyGrey);
        for (const char *name : {"btn-stop-0.png", "btn-stop-1.png", "card-back.png", "zener-1.png",
                                 "zener-5.png", "color-3.png", "spade-5.png"})
            QTest::newRow(name) << QString::fromLatin1(name) << uint(kWhite);
    }
    // Pictures have no transparency: their corners carry the colour of what lies behind them.
    void cornerColours()
    {
        QFETCH(QString, name);
        QFETCH(uint, corner);
        const QImage image = picture(name);
        const int r = image.width() - 1;
        const int b = image.height() - 1;
        for (const QPoint p : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)})
            QCOMPARE(image.pixel(p), QRgb(corner));
    }

    void hoverPairs_data()
    {
        QTest::addColumn<QString>("button");
        for (const char *button : {"user", "test", "drill", "stop", "help", "close"})
            QTest::newRow(button) << QString::fromLatin1(button);
    }
    // The lit picture lies behind the normal one at the same place: same size, except the close box,
    // whose lit picture is larger on every side.
    void hoverPairs()
    {
        QFETCH(QString, button);
        const QImage normal = picture(QStringLiteral("btn-%1-0.png").arg(button));
        const QImage lit = picture(QStringLiteral("btn-%1-1.png").arg(button));
        if (button == QStringLiteral("close")) {
            QVERIFY(lit.width() > normal.width());
            QVERIFY(lit.height() > normal.height());
        } else {
            QCOMPARE(lit.size(), normal.size());
        }
        QVERIFY(lit != normal);
    }

    void trainerBandsAndBody()
    {
        const QImage image = picture(QStringLiteral("trainer-background.png"));
        // Body grey where the buttons and the meter sit, darkening over ten pixels at the sides.
        for (const QPoint p : {QPoint(17, 35), QPoint(100, 28), QPoint(600, 561), QPoint(772, 300)})
            QCOMPARE(image.pixel(p), kBodyGrey);
        QVERIFY(qAbs(luminance(image.pixel(0, 300)) - 177) <= 6);
        QVERIFY(qAbs(luminance(image.pixel(782, 300)) - 177) <= 6);
        // Dark bands at top and bottom, the product name in white inside its box in the title band.
        QVERIFY(luminance(image.pixel(400, 15)) < 70);
        QVERIFY(luminance(image.pixel(400, 575)) < 70);
        const QRect name =
            boundingBoxOf(image, QRect(0, 4, 783, 24), [](QRgb c) { return luminance(c) > 200; });
        QVERIFY2(QRect(17, 6, 182, 19).contains(name) && name.width() > 160,
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(name.x())
                                .arg(name.y())
                                .arg(name.width())
                                .arg(name.height())));
        // The logo's dark disc in the middle of its white glow.
        QVERIFY(luminance(image.pixel(431, 303)) < 80);
        QVERIFY(luminance(image.pixel(315, 303)) > 230);
        QVERIFY(luminance(image.pixel(391, 236)) > 230);
    }

    void titleStripAndCloseBoxMatchTheBand()
    {
        const QImage trainer =
            picture(QStringLiteral("trainer-background.png")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture(QStringLiteral("title-strip.png")).convertToFormat(QImage::Format_RGB32),
                 trainer.copy(319, 0, 415, 28));
        // The close pictures sit at (748, 3) and, lit, at (745, 2); their corners are the band's pixels.
        const QImage normal = picture(QStringLiteral("btn-close-0.png"));
        const QImage lit = picture(QStringLiteral("btn-close-1.png"));
        const int r = normal.width() - 1;
        const int b = normal.height() - 1;
        for (const QPoint p : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)})
            QCOMPARE(normal.pixel(p), trainer.pixel(QPoint(748, 3) + p));
        // At rest the lit picture shows around the dim one: everything of it outside the dim picture's
        // footprint must be the band, or red slivers show beside the close box.
        const QRect footprint(748, 3, 22, 21);
        for (int y = 0; y < lit.height(); ++y)
            for (int x = 0; x < lit.width(); ++x)
                if (!footprint.contains(QPoint(745 + x, 2 + y)))
                    QVERIFY2(lit.pixel(x, y) == trainer.pixel(745 + x, 2 + y),
                             qPrintable(QStringLiteral("lit close box shows at (%1, %2)").arg(x).arg(y)));
    }

    void meterMarksChanceLevelAtItsWhiteLine()
    {
        const QImage image = picture(QStringLiteral("meter.png"));
        // The marker bar rests centred on the white line 77 pixels below the top.
        QVERIFY(luminance(image.pixel(12, 77)) > 230);
        QVERIFY(luminance(image.pixel(12, 72)) < 90);
        const QRgb green = image.pixel(12, 14);
        QVERIFY(qGreen(green) > qRed(green) + 60 && qGreen(green) > qBlue(green) + 60);
        const QRgb red = image.pixel(12, 143);
        QVERIFY(qRed(red) > qGreen(red) + 60 && qRed(red) > qBlue(red) + 60);
    }

    void optionsPanelTabAndFoot()
    {
        const QImage image = picture(QStringLiteral("options-panel.png"));
        for (int y = 166; y < 173; ++y)
            for (int x = 0; x < image.width(); ++x)
                QCOMPARE(image.pixel(x, y), kBodyGrey);
        // The check boxes and the frame fill their rectangles with body grey: the picture under them
        // must be exactly that, or their edges show as boxes.
        for (const QRect control : {QRect(38, 38, 111, 18), QRect(38, 60, 111, 18), QRect(38, 82, 133, 18),
                                    QRect(38, 104, 138, 18), QRect(197, 30, 178, 99)})
            for (int y = control.top(); y <= control.bottom(); ++y)
                for (int x = control.left(); x <= control.right(); ++x)
                    QCOMPARE(image.pixel(x, y), kBodyGrey);
        // Closed, row 133 is the first row below the title band: dark like the tab, not a light line.
        for (int y = 133; y < 164; ++y)
            QVERIFY(luminance(image.pixel(100, y)) < 90);
        const QRect word =
            boundingBoxOf(image, QRect(200, 134, 202, 32), [](QRgb c) { return luminance(c) > 230; });
        QVERIFY(word.left() > 300 && word.right() < 398);
    }

    void loginElementsInsideTheirBoxes()
    {
        const QImage image = picture(QStringLiteral("login-background.png"));
        const QRect all = image.rect();
        const QRect red = boundingBoxOf(
            image, all, [](QRgb c) { return qRed(c) > 150 && qGreen(c) < 90 && qBlue(c) < 90; });
        QVERIFY(QRect(314, 8, 16, 16).contains(red) && red.width() >= 12);
        const QRect blue =
            boundingBoxOf(image, all, [](QRgb c) { return qBlue(c) > 140 && qBlue(c) > qRed(c) + 60; });
        QVERIFY(QRect(31, 42, 279, 20).contains(blue) && blue.width() >= 270);
        const QRect black = boundingBoxOf(image, all, [](QRgb c) { return luminance(c) < 6; });
        QVERIFY(QRect(66, 101, 208, 151).contains(black) && black.width() >= 200 && black.height() >= 140);
        const QRect green = boundingBoxOf(image, all, [](QRgb c) {
            return qGreen(c) > 100 && qGreen(c) > qRed(c) + 50 && qGreen(c) > qBlue(c) + 50;
        });
        QVERIFY(QRect(253, 266, 69, 27).contains(green) && green.width() >= 60);
        // The places of the name and password boxes are black, so the boxes blend into the panel.
        for (const QRect box : {QRect(86, 130, 180, 26), QRect(86, 188, 180, 51)})
            for (const QPoint p : {box.topLeft(), box.bottomRight(), box.center()})
                QVERIFY(luminance(image.pixel(p)) < 6);
    }

    // Faces 1..5 of the colour deck are red, yellow, green, blue and magenta.
    void colourFacesInDeckOrder()
    {
        const QRgb expected[5] = {qRgb(230, 20, 20), qRgb(255, 230, 0), qRgb(20, 180, 40), qRgb(30, 70, 230),
                                  qRgb(230, 20, 210)};
        for (int i = 1; i <= 5; ++i) {
            const QImage image = picture(QStringLiteral("color-%1.png").arg(i));
            QCOMPARE(image.pixel(image.width() / 2 - 2, image.height() / 2 - 2), expected[i - 1]);
        }
    }

    void agreementTextLines()
    {
        QFile file(QStringLiteral(":/art/agreement.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QCOMPARE(text.split('\n').size(), 81);
        QCOMPARE(text.count("\r\n"), 80);
        QCOMPARE(text.count('\r'), 80);
        QVERIFY(text.size() > 3000 && text.size() < 3400);
        QVERIFY(!text.endsWith('\n'));
    }

    void productTexts()
    {
        const QStringList parts = art::kProductLine.split(QStringLiteral(" \u2022 "));
        QCOMPARE(parts.size(), 3);
        QCOMPARE(parts[0], art::kProductName + QStringLiteral(" 1.0"));
        QVERIFY(parts[1].contains(QStringLiteral("2008")) && parts[1].contains(art::kMakerName));
        QCOMPARE(parts[2], art::kMakerWebAddress);
        QVERIFY(art::kMakerWebAddress.endsWith(QStringLiteral(".example")));
        QVERIFY(art::kMakerNotice.contains(QStringLiteral("2008")));
        QVERIFY(art::kMakerNotice.contains(art::kMakerName));
        QVERIFY(art::kMakerNotice.contains(art::kMakerWebAddress));
    }
};

QTEST_GUILESS_MAIN(ArtInvariantsTest)
#include "tst_ArtInvariants.moc"
