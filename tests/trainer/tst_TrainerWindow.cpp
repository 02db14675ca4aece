// The trainer window as it opens: its controls, places, stacking, focus order, fonts and first state.

#include "TrainerTestSupport.h"

#include "platform/Timer.h"
#include "platform/Twips.h"
#include "shape/WindowRegion.h"

#include <QDir>
#include <QFontInfo>
#include <QScreen>

#include <algorithm>

namespace {

platform::Picture artPicture(const QString &name)
{
    return platform::Picture::fromResource(QStringLiteral(":/art/") + name);
}

} // namespace

class TrainerWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTrainerSuite(); }

    // Guards the first state the user sees, checked together: panels hidden, every hover pair normal,
    // Zener faces up, backs on the covers, the meter at its average mark, options closed, timers off.
    void openedWindowState()
    {
        TrainerFixture f;
        frmMain &w = f.opened();

        QCOMPARE(w.windowTitle(), QStringLiteral("qxOrvanta Trainer"));
        QVERIFY(w.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(w.windowType(), Qt::Window); // a normal window: it has a taskbar button
        QVERIFY(!w.windowIcon().isNull());
        QCOMPARE(w.size(), QSize(783, 590));
        QCOMPARE(w.frameGeometry().size(), QSize(783, 590));
        const QRect screen = w.screen()->availableGeometry();
        QVERIFY(std::abs(w.geometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(std::abs(w.geometry().center().y() - screen.center().y()) <= 1);

        // Only the 32 key-coloured corner pixels are cut away.
        std::int32_t key = 0;
        QCOMPARE(w.mask(), shape::BuildWindowRegion(*w.picBox2, key));
        qint64 area = 0;
        for (const QRect &r : w.mask())
            area += qint64(r.width()) * r.height();
        QCOMPARE(area, 783 * 590 - 32);
        QCOMPARE(w.picBox2->picture(), w.picture());

        QCOMPARE(w.picOptions->top(), frmMain::kOptionsClosedTop);
        QVERIFY(w.picWorkArea->isHidden());
        QVERIFY(w.picHidden->isHidden());
        QVERIFY(w.picBox2->isHidden());
        QVERIFY(!w.picMeter->isHidden());
        QCOMPARE(w.shapeMeter->top(), 1080.0f);
        QCOMPARE(w.shapeMeter->fillColor(), 0xFFFFFF);
        QVERIFY(!w.timerreset->isEnabled());
        QVERIFY(!w.hiddenTimer->isEnabled());
        QCOMPARE(w.timerreset->interval(), 2000);
        QCOMPARE(w.hiddenTimer->interval(), 1800);

        for (auto *pair : {&w.btnHelp, &w.Image1, &w.btnUser, &w.btnDrill, &w.StartButton})
            QVERIFY(!(*pair)(0)->isHidden() && !(*pair)(1)->isHidden());
        for (std::int16_t i = 0; i <= 3; ++i)
            QVERIFY(!w.btnStop(i)->isHidden());

        const platform::Picture back = artPicture(QStringLiteral("card-back.png"));
        QVERIFY(!back.isNull());
        for (std::int16_t i = 1; i <= 5; ++i) {
            const QString face = QString::number(i) + QStringLiteral(".png");
            QCOMPARE(w.Card(i)->picture(), artPicture(QStringLiteral("zener-") + face));
            QCOMPARE(w.zCard(i)->picture(), artPicture(QStringLiteral("zener-") + face));
            QCOMPARE(w.ColorCards(i)->picture(), artPicture(QStringLiteral("color-") + face));
            QCOMPARE(w.pCard(i)->picture(), artPicture(QStringLiteral("spade-") + face));
            QVERIFY(w.zCard(i)->isHidden() && w.ColorCards(i)->isHidden() && w.pCard(i)->isHidden());
            QVERIFY(!w.Card(i)->isHidden());
        }
        QCOMPARE(w.Card(0)->picture(), back);
        QCOMPARE(w.Card(6)->picture(), back);
        QVERIFY(!w.Card(0)->isHidden() && !w.Card(6)->isHidden());
        for (std::int16_t i = 0; i <= 10; ++i)
            QCOMPARE(w.HiddenCard(i)->picture(), back);

        QCOMPARE(w.chkBlindMode->value(), 0);
        QCOMPARE(w.chkHideScore->value(), 0);
        QCOMPARE(w.chkFindHidden->value(), 0);
        QCOMPARE(w.chkUseMeter->value(), 1);
        QVERIFY(w.Option1(0)->value() && !w.Option1(1)->value() && !w.Option1(2)->value());
        QVERIFY(w.lblOptionsTouch->caption().isEmpty());
        QVERIFY(w.lblUserName->caption().isEmpty()); // the login writes it
        QCOMPARE(w.run().RunTries(), 0);
        QCOMPARE(w.run().DealtFaces(), DealtFaceIndexes{});

        // Fonts through their Liberation equivalents, and the body grey behind the options.
        QCOMPARE(QFontInfo(w.lblStats->font()).family(), QStringLiteral("Liberation Sans"));
        QVERIFY(w.lblStats->font().bold() && w.lblUserName->font().bold());
        QCOMPARE(w.lblStats->font().pointSizeF(), 11.25);
        QCOMPARE(w.lblUserName->font().pointSizeF(), 12.0);
        for (platform::CheckBox *box : {w.chkBlindMode, w.chkHideScore, w.chkFindHidden, w.chkUseMeter}) {
            QCOMPARE(box->font().pointSizeF(), 9.75);
            QVERIFY(!box->font().bold());
            QCOMPARE(box->palette().color(box->backgroundRole()), QColor(204, 204, 204));
        }
        QCOMPARE(QFontInfo(w.Option1(0)->font()).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(w.Option1(0)->font().pointSizeF(), 8.25);
        QCOMPARE(w.picMeter->pixel(75, 10), 0xCCCCCC); // the strip right of the meter picture
    }

    // Guards the opening order: the load step shapes the window and closes the options panel before the
    // window shows; activation then writes the user's name into the status line.
    void openingRunsLoadBeforeShowAndActivation()
    {
        TrainerFixture f(QStringLiteral("Grace"));
        frmMain &w = f.w();
        QCOMPARE(w.picOptions->top(), 60.0f); // the design position, until the load step
        QVERIFY(w.mask().isEmpty());
        QVERIFY(!w.lblStats->caption().isEmpty()); // the product line from the design

        QVERIFY(w.load());
        QVERIFY(!w.isVisible());
        QCOMPARE(w.picOptions->top(), frmMain::kOptionsClosedTop);
        QVERIFY(!w.mask().isEmpty());
        QVERIFY(w.lblStats->caption() != QStringLiteral("Grace"));

        w.Show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.lblStats->caption(), QStringLiteral("Grace"));

        // Without a source from outside, the window seeds its own.
        RecordingHost host;
        frmMain own(host);
        own.DealRound();
        QCOMPARE(std::count(own.run().DealtFaces().begin() + 1, own.run().DealtFaces().end(),
                            own.run().DealtFaces()[0]),
                 1);
    }

    // Guards the window's design: every control in its container at its twips place and size, the
    // widget at the nearest pixel.
    void controlsAtDesignPlaces_data()
    {
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRectF>("twips");

        const auto row = [](const char *name, const char *container, qreal l, qreal t, qreal w, qreal h) {
            QTest::newRow(name) << QString::fromLatin1(container) << QRectF(l, t, w, h);
        };
        row("picMeter", "frmMain", 255, 3375, 1155, 2445);
        row("picBox2", "frmMain", 10215, 7860, 11745, 8850); // takes the background picture's size
        row("Picture1", "frmMain", 1852, 7545, 8040, 720);
        row("picBlocker", "frmMain", 4785, 0, 6225, 420);
        row("picWorkArea", "frmMain", 1462, 2775, 8820, 4590);
        row("picOptions", "frmMain", 4950, -1575, 6030, 2595);
        row("picHidden", "frmMain", 1530, 2790, 8685, 4650);
        row("btnHelp(0)", "frmMain", 11115, 555, 450, 720);
        row("btnHelp(1)", "frmMain", 11115, 555, 450, 720);
        row("lblUserName", "frmMain", 405, 8490, 6960, 300);
        row("Image1(0)", "frmMain", 11220, 45, 330, 315);
        row("Image1(1)", "frmMain", 11175, 30, 405, 345);
        row("btnUser(0)", "frmMain", 255, 525, 1305, 645);
        row("btnUser(1)", "frmMain", 255, 525, 1305, 645);
        row("btnDrill(0)", "frmMain", 3090, 540, 1305, 645);
        row("btnDrill(1)", "frmMain", 3090, 540, 1305, 645);
        row("StartButton(0)", "frmMain", 1665, 525, 1305, 645);
        row("StartButton(1)", "frmMain", 1665, 525, 1305, 645);
        row("shapeMeter", "picMeter", 45, 1080, 270, 150);
        row("lblStats", "Picture1", 300, 225, 7410, 300);
        row("Card(1)", "picWorkArea", 450, 375, 1320, 1890);
        row("Card(2)", "picWorkArea", 2100, 375, 1320, 1890);
        row("Card(3)", "picWorkArea", 3765, 375, 1305, 1890);
        row("Card(4)", "picWorkArea", 5400, 375, 1305, 1890);
        row("Card(5)", "picWorkArea", 7050, 375, 1320, 1875);
        row("Card(6)", "picWorkArea", 3765, 2325, 1320, 1890);
        row("Card(0)", "picWorkArea", 3765, 2325, 1320, 1890);
        row("btnStop(0)", "picWorkArea", 7200, 3600, 1170, 630);
        row("btnStop(1)", "picWorkArea", 7200, 3600, 1170, 630);
        row("chkFindHidden", "picOptions", 570, 1230, 1995, 270);
        row("Frame1", "picOptions", 2955, 450, 2670, 1485);
        row("Option1(2)", "Frame1", 180, 975, 1500, 210);
        row("Option1(1)", "Frame1", 180, 675, 1500, 210);
        row("Option1(0)", "Frame1", 180, 375, 1500, 210);
        row("chkHideScore", "picOptions", 570, 900, 1665, 270);
        row("chkUseMeter", "picOptions", 570, 1560, 2070, 270);
        row("chkBlindMode", "picOptions", 570, 570, 1665, 270);
        row("lblOptionsTouch", "picOptions", 255, 2040, 5535, 390);
        row("btnStop(2)", "picHidden", 7050, 3600, 1170, 630);
        row("btnStop(3)", "picHidden", 7050, 3600, 1170, 630);
        row("HiddenCard(10)", "picHidden", 6885, 360, 1320, 1890);
        row("HiddenCard(9)", "picHidden", 5283, 375, 1320, 1890);
        row("HiddenCard(8)", "picHidden", 3682, 375, 1320, 1890);
        row("HiddenCard(7)", "picHidden", 2081, 375, 1320, 1890);
        row("HiddenCard(6)", "picHidden", 480, 375, 1320, 1890);
        row("HiddenCard(5)", "picHidden", 6885, 375, 1320, 1890);
        row("HiddenCard(4)", "picHidden", 5283, 375, 1320, 1890);
        row("HiddenCard(3)", "picHidden", 3682, 375, 1320, 1890);
        row("HiddenCard(2)", "picHidden", 2081, 375, 1320, 1890);
        row("HiddenCard(1)", "picHidden", 480, 375, 1320, 1890);
        row("HiddenCard(0)", "picHidden", 3690, 2385, 1320, 1890);
    }
    void controlsAtDesignPlaces()
    {
        QFETCH(QString, container);
        QFETCH(QRectF, twips);

        TrainerFixture f;
        QVERIFY(f.w().load());
        const QHash<QString, QWidget *> names = controlsByName(f.w());
        QWidget *control = names.value(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(control);
        QWidget *expectedParent = container == QStringLiteral("frmMain") ? &f.w() : names.value(container);
        QCOMPARE(control->parentWidget(), expectedParent);

        auto *placement = dynamic_cast<platform::TwipsPlacement *>(control);
        QVERIFY(placement);
        QCOMPARE(QRectF(placement->left(), placement->top(), placement->width(), placement->height()), twips);
        const QRect pixels(platform::twipsToPixels(twips.left()), platform::twipsToPixels(twips.top()),
                           platform::twipsToPixels(twips.width()), platform::twipsToPixels(twips.height()));
        QCOMPARE(control->geometry(), pixels);
    }

    // Guards what lies over what: within a container the design's earlier control lies above the later,
    // windowless controls below windowed ones; hover fronts above their lit pictures, picBlocker above the
    // options panel, covers above the cards they cover.
    void stackingOrder()
    {
        TrainerFixture f;
        f.open();
        const QHash<QString, QWidget *> names = controlsByName(f.w());
        // Each list names controls of one container, the upper before the lower.
        const auto topFirst = [&names](const char *list) {
            const QStringList order = QString::fromLatin1(list).split(u' ');
            for (qsizetype i = 1; i < order.size(); ++i) {
                QVERIFY2(stackIndex(names.value(order[i - 1])) > stackIndex(names.value(order[i])),
                         qPrintable(order[i - 1] + QStringLiteral(" over ") + order[i]));
            }
        };
        topFirst(
            "picMeter picBox2 Picture1 picBlocker picWorkArea picOptions picHidden btnHelp(0) lblUserName "
            "Image1(0) btnUser(0) btnDrill(0) btnDrill(1) Image1(1) StartButton(0) StartButton(1) "
            "btnUser(1) btnHelp(1)");
        topFirst("Card(5) Card(4) Card(3) Card(2) Card(1) Card(6) Card(0) btnStop(0) btnStop(1)");
        topFirst("chkFindHidden Frame1 chkHideScore chkUseMeter chkBlindMode lblOptionsTouch");
        topFirst("Option1(2) Option1(1) Option1(0)");
        topFirst(
            "btnStop(2) btnStop(3) HiddenCard(10) HiddenCard(9) HiddenCard(8) HiddenCard(7) HiddenCard(6) "
            "HiddenCard(5) HiddenCard(4) HiddenCard(3) HiddenCard(2) HiddenCard(1) HiddenCard(0)");
    }

    // Guards the keyboard order: Tab walks the focusable controls in the design's order.
    void focusOrder()
    {
        TrainerFixture f;
        frmMain &w = f.opened();
        const QList<QWidget *> expected{w.picOptions,    w.picBlocker,   w.picWorkArea, w.chkBlindMode,
                                        w.chkUseMeter,   w.chkHideScore, w.Option1(0),  w.Option1(1),
                                        w.Option1(2),    w.Picture1,     w.picBox2,     w.picMeter,
                                        w.chkFindHidden, w.picHidden};
        QList<QWidget *> chain;
        QWidget *widget = w.picOptions;
        do {
            if (expected.contains(widget))
                chain << widget;
            widget = widget->nextInFocusChain();
        } while (widget != w.picOptions && chain.size() < expected.size());
        QCOMPARE(chain, expected);
        for (QWidget *labelOrFrame :
             std::initializer_list<QWidget *>{w.lblOptionsTouch, w.lblStats, w.lblUserName, w.Frame1})
            QCOMPARE(labelOrFrame->focusPolicy(), Qt::NoFocus);
    }

    // Saves pictures of the window for a person to look at when QXO_SCREENSHOT_DIR names a folder: opened,
    // the plain game mid-reveal, the find-hidden game mid-reveal, the options panel open.
    void screenshots()
    {
        const QString folder = qEnvironmentVariable("QXO_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("QXO_SCREENSHOT_DIR not set");
        PrivateStore store;
        TrainerFixture f(QStringLiteral("Ada Lovelace"));
        frmMain &w = f.opened();
        const auto save = [&](const char *name) {
            QApplication::processEvents();
            QVERIFY(w.grab().save(QDir(folder).filePath(QString::fromLatin1(name))));
        };
        save("trainer-opened.png");

        w.StartButton_Click(1);
        w.Card_Click(2);
        save("trainer-plain-reveal.png");
        w.timerreset_Timer();
        w.btnStop_Click(0);

        w.chkFindHidden->setValue(1);
        w.StartButton_Click(1);
        w.HiddenCard_Click(8);
        save("trainer-hidden-reveal.png");
        w.btnStop_Click(2);

        w.lblOptionsTouch_Click();
        save("trainer-options-open.png");
    }

private:
    // Every placed control of the window by its name, e.g. "Card(3)".
    QHash<QString, QWidget *> controlsByName(frmMain &w);
};

QHash<QString, QWidget *> TrainerWindowTest::controlsByName(frmMain &w)
{
    QHash<QString, QWidget *> names{
        {QStringLiteral("picMeter"), w.picMeter},
        {QStringLiteral("picBox2"), w.picBox2},
        {QStringLiteral("Picture1"), w.Picture1},
        {QStringLiteral("picBlocker"), w.picBlocker},
        {QStringLiteral("picWorkArea"), w.picWorkArea},
        {QStringLiteral("picOptions"), w.picOptions},
        {QStringLiteral("picHidden"), w.picHidden},
        {QStringLiteral("lblUserName"), w.lblUserName},
        {QStringLiteral("shapeMeter"), w.shapeMeter},
        {QStringLiteral("lblStats"), w.lblStats},
        {QStringLiteral("chkFindHidden"), w.chkFindHidden},
        {QStringLiteral("Frame1"), w.Frame1},
        {QStringLiteral("chkHideScore"), w.chkHideScore},
        {QStringLiteral("chkUseMeter"), w.chkUseMeter},
        {QStringLiteral("chkBlindMode"), w.chkBlindMode},
        {QStringLiteral("lblOptionsTouch"), w.lblOptionsTouch},
    };
    const auto addArray = [&names](const QString &name, const auto &array) {
        for (std::int16_t i : array.indices())
            names.insert(QStringLiteral("%1(%2)").arg(name).arg(i), array(i));
    };
    addArray(QStringLiteral("btnHelp"), w.btnHelp);
    addArray(QStringLiteral("Image1"), w.Image1);
    addArray(QStringLiteral("btnUser"), w.btnUser);
    addArray(QStringLiteral("btnDrill"), w.btnDrill);
    addArray(QStringLiteral("StartButton"), w.StartButton);
    addArray(QStringLiteral("Card"), w.Card);
    addArray(QStringLiteral("btnStop"), w.btnStop);
    addArray(QStringLiteral("HiddenCard"), w.HiddenCard);
    addArray(QStringLiteral("Option1"), w.Option1);
    return names;
}

QTEST_MAIN(TrainerWindowTest)
#include "tst_TrainerWindow.moc"
