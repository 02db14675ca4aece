// Our own texts stay readable whatever the desktop's palette: the agreement's labels on the window's
// face and the options' check boxes on their fixed grey. Checked under a light and a dark palette, on
// the colours drawn where the program paints them itself.

#include "app/StartupHost.h"
#include "app/frmEULA.h"
#include "app/frmSplash.h"

#include "platform/Contrast.h"
#include "platform/Controls.h"
#include "tests/support/TestSandbox.h"
#include "trainer/TrainerArt.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QStyle>
#include <QTest>

#include <memory>

namespace {

class IdleHost : public StartupHost
{
public:
    void showSplash() override {}
    void openLoginWindow() override {}
};

// A dark desktop palette as GNOME's dark theme gives it.
QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xec));
    p.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    p.setColor(QPalette::Text, QColor(0xff, 0xff, 0xff));
    p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
    p.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xec));
    return p;
}

// The best contrast any pixel of the area has with the face: the core of the text's strokes.
double textContrast(const QImage &image, const QRect &area, const QColor &face)
{
    double best = 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            best = std::max(best, platform::contrastRatio(image.pixelColor(x, y), face));
    }
    return best;
}

} // namespace

class tst_DarkTheme : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initWindowSuite(); }
    void cleanup() { QApplication::setPalette(QApplication::style()->standardPalette()); }

    // The ratio against values worked out by hand from the formula.
    void contrastRatioMatchesTheFormula()
    {
        QCOMPARE(platform::contrastRatio(Qt::black, Qt::white), 21.0);
        QCOMPARE(platform::contrastRatio(Qt::white, Qt::white), 1.0);
        QVERIFY(qAbs(platform::contrastRatio(QColor(0x77, 0x77, 0x77), Qt::white) - 4.478089) < 1e-5);
        QCOMPARE(platform::readableTextOn(QColor(0xcc, 0xcc, 0xcc), QColor(0xee, 0xee, 0xec)),
                 QColor(Qt::black));
        QCOMPARE(platform::readableTextOn(QColor(0x35, 0x35, 0x35), QColor(0xee, 0xee, 0xec)),
                 QColor(0xee, 0xee, 0xec));
    }

    void textsStayReadable_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << QApplication::style()->standardPalette();
        QTest::newRow("dark") << darkPalette();
    }
    // Guards the agreement's footer drawn near-black on a dark face (1.5:1) and the options' light
    // theme text on their fixed light grey.
    void textsStayReadable()
    {
        QFETCH(QPalette, palette);
        QApplication::setPalette(palette);
        WindowSandbox sandbox;
        IdleHost host;
        QPointer<frmEULA> eula = showWindow<frmEULA>(host);
        QVERIFY(QTest::qWaitForWindowExposed(eula));
        const QImage drawn = eula->grab().toImage();
        const QColor face = eula->palette().color(QPalette::Window);
        for (const char *name : {"Label2", "Label4"}) {
            const QRect area = eula->findChild<QWidget *>(QString::fromLatin1(name))->geometry();
            QVERIFY2(textContrast(drawn, area, face) >= platform::kReadableContrast, name);
        }
        saveScreenshot(eula, "agreement");
        eula->Unload();

        QPointer<frmSplash> splash = showWindow<frmSplash>(host);
        saveScreenshot(splash, "splash");
        splash->Unload();

        platform::CheckBox option(QStringLiteral("Hide Score"), nullptr);
        trainerart::setBackColor(&option, trainerart::kBodyGrey);
        QVERIFY(platform::contrastRatio(option.palette().color(QPalette::WindowText),
                                        option.palette().color(QPalette::Window)) >=
                platform::kReadableContrast);
    }

private:
    // With QXO_SCREENSHOT_DIR set, each window is kept as <folder>/<palette>-<window>.png to look at.
    static void saveScreenshot(QWidget *window, const char *name)
    {
        const QString folder = qEnvironmentVariable("QXO_SCREENSHOT_DIR");
        if (folder.isEmpty())
            return;
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QString file =
            QStringLiteral("%1-%2.png")
                .arg(QString::fromLatin1(QTest::currentDataTag()), QString::fromLatin1(name));
        QVERIFY(window->grab().save(QDir(folder).filePath(file)));
    }
};

QTEST_MAIN(tst_DarkTheme)
#include "tst_darkTheme.moc"
