// The trainer window's own commands: the options slide, hover buttons and hints, help, switching user,
// closing, dragging, and timers that outlive the window.

#include "TrainerTestSupport.h"

#include "art/ProductText.h"
#include "platform/Timer.h"

#include <QApplication>
#include <QElapsedTimer>

namespace {

const QString kHintTest = QStringLiteral("Test your orvantic ability!");
const QString kHintPractice = QStringLiteral("Practice mode... shows accuracy but does not store results.");
const QString kHintUser = QStringLiteral("Switch user or create new user account.");

// Counts the paints a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Centre of a control, in the window's pixels.
QPoint centreInWindow(const QWidget *control, const QWidget *window)
{
    return control->mapTo(window, control->rect().center());
}

platform::MouseArgs mouse(int buttons, float x, float y)
{
    platform::MouseArgs args;
    args.Button = buttons;
    args.X = x;
    args.Y = y;
    return args;
}

} // namespace

class TrainerCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTrainerSuite(&m_lastWindowCount); }

    void init()
    {
        m_store = std::make_unique<PrivateStore>();
        m_lastWindowCount = 0;
    }

    void cleanup()
    {
        platform::setDocumentOpener({});
        platform::setMessageBoxHandler({});
        m_store.reset();
    }

    // Guards the toggle: one click opens to -10, the next closes to -1575, picBlocker stays in front, and
    // the whole slide is drawn before the call returns.
    void optionsTabTogglesBetweenRests()
    {
        TrainerFixture f;
        frmMain &w = f.opened();
        QCOMPARE(w.picOptions->geometry().top(), -105); // only the tab shows below the title band
        QVERIFY(stackIndex(w.picBlocker) > stackIndex(w.picOptions));

        QApplication::processEvents();
        PaintCounter panel(w.picOptions);
        PaintCounter blocker(w.picBlocker);
        QTest::mouseClick(w.lblOptionsTouch, Qt::LeftButton);
        QCOMPARE(w.picOptions->top(), frmMain::kOptionsOpenTop);
        QCOMPARE(w.picOptions->geometry().top(), -1);
        // Painted at each of its pixel steps (1565 twips, about 104 pixels) inside the one call.
        QVERIFY2(panel.paints >= 104, qPrintable(QString::number(panel.paints)));
        QVERIFY(blocker.paints >= 104);
        QVERIFY(stackIndex(w.picBlocker) > stackIndex(w.picOptions));

        QTest::mouseClick(w.lblOptionsTouch, Qt::LeftButton);
        QCOMPARE(w.picOptions->top(), frmMain::kOptionsClosedTop);
        QVERIFY(stackIndex(w.picBlocker) > stackIndex(w.picOptions));
    }

    // Guards the slide's pace: about a quarter of a second while the window shows, so the user sees it
    // move; no wait at all for a hidden window (the load step must not delay the first show).
    void optionsSlideIsPacedOnlyWhileVisible()
    {
        TrainerFixture f;
        frmMain &w = f.w();
        w.setOptionsSlidePaced(true);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(w.load());
        QVERIFY(clock.elapsed() < 200);
        QCOMPARE(w.picOptions->top(), frmMain::kOptionsClosedTop);

        f.open();
        clock.restart();
        w.lblOptionsTouch_Click();
        QVERIFY2(clock.elapsed() >= 200, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(w.picOptions->top(), frmMain::kOptionsOpenTop);
    }

    // Guards the options across the slide: a ticked box and a chosen deck stay when the panel closes.
    void optionsKeepTheirValuesWhenClosed()
    {
        TrainerFixture f;
        frmMain &w = f.opened();
        w.lblOptionsTouch_Click();
        QTest::mouseClick(w.chkBlindMode, Qt::LeftButton);
        QTest::mouseClick(w.Option1(2), Qt::LeftButton);
        QCOMPARE(w.Card(1)->picture(), w.pCard(1)->picture());
        w.lblOptionsTouch_Click();
        QCOMPARE(w.chkBlindMode->value(), 1);
        QVERIFY(w.Option1(2)->value());

        w.StartButton_Click(0);
        w.Card_Click(1);
        QVERIFY(!w.Card(6)->isHidden()); // blind play still acts
        QCOMPARE(w.Card(1)->picture(), w.pCard(1)->picture());
    }

    // Guards the hover pair through real pointer moves: onto the Test button lights it with its hint,
    // back over the body shows the dull picture and, outside a run, the product line.
    void pointerLightsTestButtonAndBodyRestoresIt()
    {
        TrainerFixture f;
        frmMain &w = f.opened();
        QTest::mouseMove(&w, centreInWindow(w.StartButton(0), &w));
        QTRY_VERIFY(w.StartButton(0)->isHidden());
        QCOMPARE(w.lblStats->caption(), kHintTest);

        QTest::mouseMove(&w, QPoint(250, 150)); // bare body
        QTRY_VERIFY(!w.StartButton(0)->isHidden());
        QCOMPARE(w.lblStats->caption(), art::kProductLine);
    }

    // Guards each pair's own rule: which index lights, which writes its hint and which writes it again;
    // the body restores the five body buttons, and the product line only outside a run.
    void hoverRulesPerButton()
    {
        TrainerFixture f;
        frmMain &w = f.w();
        const QString idle = QStringLiteral("idle");

        w.lblStats->setCaption(idle);
        w.StartButton_MouseMove(1);
        QVERIFY(!w.StartButton(0)->isHidden());
        QCOMPARE(w.lblStats->caption(), idle);
        w.StartButton_MouseMove(0);
        QVERIFY(w.StartButton(0)->isHidden());
        QCOMPARE(w.lblStats->caption(), kHintTest);
        w.lblStats->setCaption(idle);
        w.StartButton_MouseMove(1); // over the lit picture: nothing more
        QCOMPARE(w.lblStats->caption(), idle);

        w.btnDrill_MouseMove(1); // Practice does not look at the index
        QVERIFY(w.btnDrill(0)->isHidden());
        QCOMPARE(w.lblStats->caption(), kHintPractice);
        w.lblStats->setCaption(idle);
        w.btnDrill_MouseMove(1);
        QCOMPARE(w.lblStats->caption(), idle);

        w.btnUser_MouseMove(0);
        QVERIFY(w.btnUser(0)->isHidden());
        QCOMPARE(w.lblStats->caption(), kHintUser);
        w.lblStats->setCaption(idle);
        w.btnUser_MouseMove(1); // the User hint is written on every move
        QCOMPARE(w.lblStats->caption(), kHintUser);

        w.lblStats->setCaption(idle);
        w.btnHelp_MouseMove(1);
        QVERIFY(!w.btnHelp(0)->isHidden());
        w.btnHelp_MouseMove(0);
        w.Image1_MouseMove(1);
        QVERIFY(!w.Image1(0)->isHidden());
        w.Image1_MouseMove(0);
        QVERIFY(w.btnHelp(0)->isHidden() && w.Image1(0)->isHidden());
        QCOMPARE(w.lblStats->caption(), idle);

        w.btnStop_MouseMove(1);
        w.btnStop_MouseMove(3);
        QVERIFY(!w.btnStop(0)->isHidden() && !w.btnStop(2)->isHidden());
        w.btnStop_MouseMove(0);
        w.btnStop_MouseMove(2);
        QVERIFY(w.btnStop(0)->isHidden() && w.btnStop(2)->isHidden());
        QCOMPARE(w.lblStats->caption(), idle);

        w.Form_MouseMove(mouse(0, 3000, 3000));
        for (auto *pair : {&w.StartButton, &w.btnDrill, &w.Image1, &w.btnUser, &w.btnHelp})
            QVERIFY(!(*pair)(0)->isHidden());
        QVERIFY(w.btnStop(0)->isHidden() && w.btnStop(2)->isHidden()); // the body leaves Stop alone

        w.StartButton_Click(0); // during a run a hint stays when the pointer crosses the body
        w.btnDrill_MouseMove(0);
        w.Form_MouseMove(mouse(0, 3000, 3000));
        QCOMPARE(w.lblStats->caption(), kHintPractice);
        w.btnStop_Click(0);
        w.Form_MouseMove(mouse(0, 3000, 3000));
        QCOMPARE(w.lblStats->caption(), art::kProductLine);
    }

    // Guards the Stop pair through real pointer moves: the card row does not restore it, the panel's bare
    // surface does.
    void stopButtonRestoredByItsPanelOnly()
    {
        TrainerFixture f;
        frmMain &w = f.opened();
        w.StartButton_Click(0);
        QTest::mouseMove(&w, centreInWindow(w.btnStop(0), &w));
        QTRY_VERIFY(w.btnStop(0)->isHidden());
        QTest::mouseMove(&w, centreInWindow(w.Card(1), &w));
        QTest::qWait(20);
        QVERIFY(w.btnStop(0)->isHidden());
        QTest::mouseMove(&w, w.picWorkArea->mapTo(&w, QPoint(300, 290))); // bare panel below the cards
        QTRY_VERIFY(!w.btnStop(0)->isHidden());

        w.btnStop_Click(0);
        w.chkFindHidden->setValue(1);
        w.StartButton_Click(0);
        w.btnStop_MouseMove(2);
        w.picWorkArea_MouseMove();
        QVERIFY(w.btnStop(2)->isHidden());
        w.picHidden_MouseMove();
        QVERIFY(!w.btnStop(2)->isHidden());
    }

    // Guards help: the document from the current directory first, then from the installed data folder;
    // a document the desktop cannot open, or none at all, is told in a message naming the file or the
    // folders looked in, never passed over in silence.
    void helpOpensDocument_data()
    {
        QTest::addColumn<bool>("inCurrentDirectory");
        QTest::addColumn<bool>("inDataFolder");
        QTest::addColumn<bool>("desktopOpens");
        QTest::addColumn<QString>("opened");

        QTest::newRow("current directory") << true << false << true << QStringLiteral("current");
        QTest::newRow("both: current directory wins") << true << true << true << QStringLiteral("current");
        QTest::newRow("installed data folder") << false << true << true << QStringLiteral("data");
        QTest::newRow("desktop cannot open it: the file named")
            << false << true << false << QStringLiteral("data");
        QTest::newRow("neither: the folders named") << false << false << true << QString();
    }
    void helpOpensDocument()
    {
        QFETCH(bool, inCurrentDirectory);
        QFETCH(bool, inDataFolder);
        QFETCH(bool, desktopOpens);
        QFETCH(QString, opened);

        QTemporaryDir current;
        QTemporaryDir data;
        const QString name = QStringLiteral("qxOrvanta Trainer.htm");
        const auto place = [&name](const QTemporaryDir &dir) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<html></html>");
        };
        if (inCurrentDirectory)
            place(current);
        if (inDataFolder)
            place(data);

        QStringList documents;
        QStringList messages;
        platform::setDocumentOpener([&documents, desktopOpens](const QString &path) {
            documents << path;
            return desktopOpens;
        });
        platform::setMessageBoxHandler(
            [&messages](const platform::MessageBoxRequest &request) { messages << request.text; });

        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(current.path()));
        TrainerFixture f;
        f.w().setHelpDataDirectory(data.path());
        f.w().btnHelp_Click(1);
        QDir::setCurrent(previous);

        QStringList expected;
        if (opened == QStringLiteral("current"))
            expected << QFileInfo(current.filePath(name)).absoluteFilePath();
        else if (opened == QStringLiteral("data"))
            expected << QFileInfo(data.filePath(name)).absoluteFilePath();
        QCOMPARE(documents, expected);
        if (!expected.isEmpty() && desktopOpens) {
            QVERIFY(messages.isEmpty());
        } else {
            // The message names where to look: the file itself, or every folder searched.
            QCOMPARE(messages.size(), 1);
            const QStringList named =
                expected.isEmpty() ? QStringList{current.path(), data.path()} : expected;
            for (const QString &path : named)
                QVERIFY2(messages.first().contains(QFileInfo(path).absoluteFilePath()),
                         qPrintable(messages.first()));
        }
    }

    // Guards switching user: both panels hide, the login window is asked for, and the trainer stays open
    // with its run, counts and timers; its next activation shows the new user's name.
    void switchUserHidesPanelsAndOpensLogin()
    {
        TrainerFixture f;
        frmMain &w = f.opened();
        w.chkFindHidden->setValue(1);
        w.StartButton_Click(0);
        w.HiddenCard_Click(7);
        QTest::mouseClick(w.btnUser(1), Qt::LeftButton);
        QCOMPARE(f.host.loginWindowsOpened, 1);
        QVERIFY(w.picHidden->isHidden() && w.picWorkArea->isHidden());
        QVERIFY(w.isVisible());
        QVERIFY(!w.isUnloaded());
        QCOMPARE(w.run().RunTries(), 1);
        QVERIFY(w.hiddenTimer->isEnabled());

        w.Form_MouseMove(mouse(0, 3000, 3000));
        QCOMPARE(w.lblStats->caption(), art::kProductLine);

        w.run().showFor(QStringLiteral("Grace"), 0, 0);
        w.Form_Activate();
        QCOMPARE(w.lblStats->caption(), QStringLiteral("Grace"));
    }

    // Guards the way to the Results window: a click on the score bar or on its status line, and Ctrl+R,
    // ask for it without writing the status line; the host hears of test tries only, never of practice.
    void scoreBarOpensResultsAndHearsOfCountedTries()
    {
        TrainerFixture f;
        frmMain &w = f.opened();
        QCOMPARE(w.Picture1->toolTip(), QStringLiteral("Your results and history (Ctrl+R)"));
        QCOMPARE(w.lblStats->toolTip(), w.Picture1->toolTip());
        const QString status = w.lblStats->caption();
        QTest::mouseClick(w.lblStats, Qt::LeftButton);
        QTest::mouseClick(w.Picture1, Qt::LeftButton, {}, QPoint(5, 5));
        QApplication::setActiveWindow(&w);
        QTest::keyClick(&w, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(f.host.resultsWindowsOpened, 3);
        QCOMPARE(w.lblStats->caption(), status);

        w.btnDrill_Click(0);
        w.Card_Click(1);
        QCOMPARE(f.host.triesCounted, 0);
        w.timerreset_Timer();
        w.StartButton_Click(0);
        w.Card_Click(1);
        QCOMPARE(f.host.triesCounted, 1);
    }

    // Guards the close box: it unloads the trainer, and with no other window the program ends.
    void closeBoxUnloadsWindowAndEndsProgram()
    {
        TrainerFixture f;
        f.open();
        QTest::mouseClick(f.w().Image1(1), Qt::LeftButton);
        QVERIFY(f.w().isUnloaded());
        QVERIFY(!f.w().isVisible());
        QCOMPARE(m_lastWindowCount, 1);
    }

    // Guards a close during a switch of user: the login window keeps the program running.
    void closeBoxLeavesProgramRunningWithLoginOpen()
    {
        TrainerFixture f;
        f.open();
        auto *login = new platform::Form;
        login->Show();
        f.w().btnUser_Click(0);
        f.w().Image1_Click(0);
        QVERIFY(f.w().isUnloaded());
        QCOMPARE(m_lastWindowCount, 0);
        login->Unload();
        QCOMPARE(m_lastWindowCount, 1);
    }

    // Guards a use-after-free at close: timers armed when the window unloads never run against it.
    void armedTimersNeverRunAfterUnload()
    {
        PrivateStore store;
        RecordingHost host;
        QPointer<frmMain> w = new frmMain(host, std::make_unique<RandomSource>(3));
        w->run().showFor(QStringLiteral("Ada"), 0, 0);
        w->setOptionsSlidePaced(false);
        w->Show();
        w->StartButton_Click(0);
        w->Card_Click(1);
        w->btnStop_Click(0);
        w->chkFindHidden->setValue(1);
        w->StartButton_Click(0);
        w->HiddenCard_Click(6);
        QVERIFY(w->timerreset->isEnabled() && w->hiddenTimer->isEnabled());

        w->Image1_Click(0);
        QVERIFY(!w->timerreset->isEnabled());
        QVERIFY(!w->hiddenTimer->isEnabled());
        QTRY_VERIFY(w.isNull());
        QTest::qWait(2200); // past both intervals: nothing may run
        QCOMPARE(host.triesCounted, 2);
    }

    // Guards the drag through the window's body: the left button alone moves the window by the pointer's
    // offset from the press point; a right-button press replaces the press point but never moves it.
    void dragMovesWindowWithLeftButtonOnly()
    {
        TrainerFixture f;
        frmMain &w = f.opened();
        w.move(100, 200);
        w.Form_MouseDown(mouse(1, 1500, 750));
        w.Form_MouseMove(mouse(1, 1650, 600));
        QCOMPARE(w.pos(), QPoint(110, 190));

        w.Form_MouseDown(mouse(2, 300, 300));
        w.Form_MouseMove(mouse(2, 600, 600));
        w.Form_MouseMove(mouse(3, 600, 600));
        QCOMPARE(w.pos(), QPoint(110, 190));
        QCOMPARE(w.drag().PressX, 300);

        w.StartButton(0)->hide();
        w.Form_MouseMove(mouse(1, 450, 450)); // hover duties first, then the drag
        QVERIFY(!w.StartButton(0)->isHidden());
        QCOMPARE(w.pos(), QPoint(120, 200));
    }

private:
    int m_lastWindowCount = 0;
    std::unique_ptr<PrivateStore> m_store;
};

QTEST_MAIN(TrainerCommandsTest)
#include "tst_TrainerCommands.moc"
