// Where the Results window opens, on screens of every size: wholly on the available area, beside the
// trainer when there is room, else over as little of the cards as can be.

#include "results/WindowPlacement.h"

#include <QTest>

using results::PlacementRequest;

class WindowPlacementTest : public QObject
{
    Q_OBJECT
private slots:
    void opensWhereItCanBeSeen_data();
    void opensWhereItCanBeSeen();
};

namespace {

constexpr QSize kTrainer(783, 590);
// The card panels in the trainer, relative to its top left corner.
const QRect kCards(97, 185, 588, 311);
const QMargins kFrame(4, 28, 4, 4);

} // namespace

void WindowPlacementTest::opensWhereItCanBeSeen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("trainerAt");
    QTest::addColumn<QRect>("expected");

    // Guards the window opening over the cards with its buttons below the screen's edge.
    QTest::newRow("1280x1024, trainer centred: no room beside, top right over the fewest cards")
        << QSize(1280, 1024) << QPoint(248, 217) << QRect(636, 28, 640, 480);
    QTest::newRow("1024x768, trainer centred: the usable size, wholly on the screen")
        << QSize(1024, 768) << QPoint(120, 89) << QRect(380, 28, 640, 480);
    QTest::newRow("1920x1080, trainer at the left: beside it on the right at full size")
        << QSize(1920, 1080) << QPoint(0, 245) << QRect(795, 273, 960, 720);
    QTest::newRow("1920x1080, trainer at the right: beside it on the left")
        << QSize(1920, 1080) << QPoint(1137, 245) << QRect(165, 273, 960, 720);
    QTest::newRow("640x480, smaller than the window's least size: shrunk to the screen")
        << QSize(640, 480) << QPoint(0, 0) << QRect(4, 28, 632, 448);
}

void WindowPlacementTest::opensWhereItCanBeSeen()
{
    QFETCH(QSize, screen);
    QFETCH(QPoint, trainerAt);
    QFETCH(QRect, expected);

    const QRect available(QPoint(0, 0), screen);
    const QRect trainer(trainerAt, kTrainer);
    const QRect client = results::placeBeside(PlacementRequest{
        available, trainer, kCards.translated(trainerAt), QSize(960, 720), QSize(640, 480), kFrame});
    QCOMPARE(client, expected);
    QVERIFY(available.contains(client.marginsAdded(kFrame)));
}

QTEST_GUILESS_MAIN(WindowPlacementTest)
#include "tst_WindowPlacement.moc"
