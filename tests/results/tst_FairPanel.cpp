// "Is it fair?" in the Results window on the offscreen platform: the record check and the targets in
// words, the fingerprint copied whole, and the self-test off the window's thread: its progress moves,
// Cancel stops it, and closing the window while it runs neither crashes nor hangs.
#include "results/FairPanel.h"
#include "results/frmResults.h"

#include "tests/support/HistoryTestSupport.h"
#include "tests/support/PinnedSeal.h"
#include "tests/support/TestSandbox.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace results;

class tst_FairPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initWindowSuite(); }

    // Guards the walk a user takes: the tab checks the stored record (one sealed run of 30 tries,
    // verified, its fingerprint ready to copy) and counts its targets, the self-test's bar moves and
    // Cancel stops it, and a window closed mid-test goes away at once.
    void walkThePanel()
    {
        WindowSandbox sandbox;
        const PinnedSeal seal;
        historytest::makeOldAccount(QStringLiteral("Ada"), 0, 0);
        historytest::Player player;
        player.name = QStringLiteral("Ada");
        player.recorder.beginRun(player.name, history::Game::Plain);
        for (int i = 0; i < 30; ++i)
            QVERIFY(player.playSealed(history::Game::Plain, i % 5 + 1));
        player.recorder.endRun();
        std::array<int, 5> targets{};
        const std::unique_ptr<proof::DrawStream> twin = seal.twin();
        for (int i = 0; i < 30; ++i)
            ++targets[std::size_t(proof::pickTarget(*twin) - 1)];

        QPointer<frmResults> window = new frmResults;
        window->loadFor(QStringLiteral("Ada"));
        window->show();
        auto *panel = window->findChild<FairPanel *>();
        QVERIFY(panel);
        window->tabs()->setCurrentWidget(panel);
        QCOMPARE(panel->checkLabel()->text(),
                 QStringLiteral(
                     "Every recorded run checks out: 1 run verified, 0 tries unverifiable "
                     "(from a run that is still going or was cut off before its end, so its seed is not on "
                     "record)."));
        QVERIFY(panel->copyButton()->isEnabled());
        QVERIFY(panel->targetsLabel()->text().startsWith(
            QStringLiteral("Each face came up about equally often as the target")));
        QVERIFY(panel->targetsLabel()->text().contains(QStringLiteral("1: %1, 2: %2, 3: %3, 4: %4, 5: %5")
                                                           .arg(targets[0])
                                                           .arg(targets[1])
                                                           .arg(targets[2])
                                                           .arg(targets[3])
                                                           .arg(targets[4])));

        panel->startSelfTest(50'000'000);
        if (const QString dir = qEnvironmentVariable("QXO_SCREENSHOT_DIR"); !dir.isEmpty())
            QTRY_VERIFY(panel->progressBar()->value() > 0 &&
                        window->grab().save(dir + QStringLiteral("/fair.png")));
        QVERIFY(panel->selfTestRunning() && panel->cancelButton()->isEnabled());
        QTRY_VERIFY(panel->progressBar()->value() > 0);
        QTest::mouseClick(panel->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!panel->selfTestRunning(), 2000);
        QVERIFY(panel->progressBar()->value() < panel->progressBar()->maximum());
        QVERIFY(panel->selfTestLabel()->text().contains(QStringLiteral("cancelled")));
        QVERIFY(panel->selfTestButton()->isEnabled());

        panel->startSelfTest(50'000'000);
        QTRY_VERIFY(panel->progressBar()->value() > 0);
        QElapsedTimer closing;
        closing.start();
        window->close();
        QTRY_VERIFY(window.isNull());
        QVERIFY2(closing.elapsed() < 2000, "closing waited for the self-test's end");
    }

    // Guards the words of a failed check and the copy: the first problem named with its row, the
    // fingerprint grouped on screen and whole on the clipboard; a short self-test ends with its p-values.
    void problemNamedFingerprintCopiedSelfTestEnds()
    {
        WindowSandbox sandbox;
        proof::Digest digest{};
        for (size_t i = 0; i < digest.size(); ++i)
            digest[i] = static_cast<unsigned char>(i + 1);
        const RecordChecker check = [&](const QString &, const QString &) {
            RecordCheck result;
            result.report.rowsChecked = 5;
            result.report.firstProblemRow = 2;
            result.report.firstProblem = proof::Problem::Hit;
            result.report.fingerprint = digest;
            return result;
        };
        FairPanel panel([] { return QStringLiteral("Ada"); }, nullptr, {}, check);
        panel.checkRecord();
        QCOMPARE(panel.checkLabel()->text(),
                 QStringLiteral("The record does not check out: row 3 of 5 has a hit flag that "
                                "disagrees with its guess and target."));
        QCOMPARE(panel.fingerprintLabel()->text(), QStringLiteral("Fingerprint: 0102 0304 0506 0708"));
        QTest::mouseClick(panel.copyButton(), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("0102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f20"));

        panel.startSelfTest(2000);
        QTRY_VERIFY(!panel.selfTestRunning());
        QCOMPARE(panel.progressBar()->value(), panel.progressBar()->maximum());
        QVERIFY(panel.selfTestLabel()->text().contains(QStringLiteral("p = ")));
        QVERIFY(panel.selfTestLabel()->text().contains(QStringLiteral("Self-test: 2000 robot tries")));
    }
};

QTEST_MAIN(tst_FairPanel)
#include "tst_FairPanel.moc"
