// The real program's windows when things happen at awkward moments: the trainer closed with its reveal
// timers armed, input that arrives while the options panel slides, and switching user while an answer
// is still showing. Every case runs under the real event loop with the real host, login window and
// store; the timers are waited for where their firing is the point.

#include "ProgramSandbox.h"

#include <QPointer>
#include <QWindow>

using namespace sandbox;

namespace {

const QString kAlice = QStringLiteral("Alice");
const QString kBob = QStringLiteral("Bob");
const QString kPromptFindHidden = QStringLiteral("Click the card you feel matches the chosen card.");
// Past the longer of the two reveal timers (2000 ms), with room for a loaded machine.
constexpr int kPastBothIntervalsMs = 2300;
constexpr int kTimerDeadlineMs = 6000;

enum class Game
{
    Plain,
    FindHidden,
};

// What the user may do while the panel slides; it reaches the program only once the slide is over.
enum class Queued
{
    CloseBox,
    WindowManagerClose,
    UserButton,
    Card,
};

bool coversFaceDown(frmMain *w)
{
    for (std::int16_t cover = 6; cover <= 10; ++cover) {
        if (w->HiddenCard(cover)->picture() != w->Card(6)->picture())
            return false;
    }
    return true;
}

platform::Timer *revealTimer(frmMain *w, Game game)
{
    return game == Game::Plain ? w->timerreset : w->hiddenTimer;
}

// Starts a test run of the game and makes one guess, so that the game's reveal timer is armed.
void guessInTestRun(frmMain *w, Game game)
{
    w->chkFindHidden->setValue(game == Game::FindHidden ? 1 : 0);
    clickOn(w->StartButton(0));
    clickOn(game == Game::Plain ? static_cast<QWidget *>(w->Card(1)) : w->HiddenCard(6));
}

// Whether the reveal ended as its timer ends it: cover back on the plain game's card, or every hidden
// cover face down after a new deal with the prompt on the status line.
bool revealEnded(frmMain *w, Game game)
{
    if (game == Game::Plain)
        return !w->Card(6)->isHidden();
    return coversFaceDown(w) && w->lblStats->caption() == kPromptFindHidden;
}

} // namespace

Q_DECLARE_METATYPE(Game)
Q_DECLARE_METATYPE(QList<Queued>)

class tst_WindowFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ProgramSandbox::initSuite(); }
    void init()
    {
        m_sandbox = std::make_unique<ProgramSandbox>();
        QVERIFY(m_sandbox->isValid());
    }
    void cleanup() { m_sandbox.reset(); }

    // Both reveal timers armed when the trainer closes while a login window keeps the program running:
    // neither ever runs against the discarded window, the totals stay as guessed, and the next login gets
    // a fresh trainer that starts from them.
    void closedTrainerRunsNoArmedTimer_data()
    {
        QTest::addColumn<bool>("windowManagerClose");
        QTest::newRow("close box") << false;
        QTest::newRow("window manager close") << true;
    }
    void closedTrainerRunsNoArmedTimer()
    {
        QFETCH(bool, windowManagerClose);
        ProgramSandbox &s = *m_sandbox;
        makeAccount(kAlice, QStringLiteral("a"), QStringLiteral("3"), QStringLiteral("10"));
        QPointer<frmMain> trainer = logInFromStart(*s.host, kAlice, QStringLiteral("a"));
        QVERIFY(trainer);
        guessInTestRun(trainer, Game::Plain);
        guessInTestRun(trainer, Game::FindHidden);
        QVERIFY(trainer->timerreset->isEnabled() && trainer->hiddenTimer->isEnabled());
        int elapsed = 0;
        for (platform::Timer *timer : {trainer->timerreset, trainer->hiddenTimer})
            connect(timer, &platform::Timer::Elapsed, this, [&elapsed] { ++elapsed; });
        clickOn(trainer->btnUser(0));
        QVERIFY(activeLogin(*s.host));

        if (windowManagerClose)
            trainer->windowHandle()->close();
        else
            clickOn(trainer->Image1(0));
        QVERIFY(trainer.isNull() || trainer->isUnloaded());
        QTRY_VERIFY(trainer.isNull());
        QTest::qWait(kPastBothIntervalsMs);
        QCOMPARE(elapsed, 0);

        QCOMPARE(s.programEnds, 0);
        QCOMPARE(platform::FormRegistry::loadedForms(), QList<platform::Form *>{s.host->loginWindow()});
        QCOMPARE(stored(kAlice, "Tries"), QStringLiteral("12"));
        QVERIFY(s.messages.isEmpty());

        frmUser *again = activeLogin(*s.host);
        QVERIFY(again);
        submitLogin(again, kAlice, QStringLiteral("a"));
        frmMain *fresh = s.host->trainerWindow();
        QVERIFY(fresh && fresh->isVisible());
        QVERIFY(!fresh->timerreset->isEnabled() && !fresh->hiddenTimer->isEnabled());
        clickOn(fresh->StartButton(0));
        QCOMPARE(int(fresh->run().RunTries()), 12);
    }

    // The slide runs inside one handler and handles nothing else until the panel rests. A close, a click
    // on User or a click on a card that arrives meanwhile is handled after it, as if it came then: the
    // panel is at rest when it runs, and input that reaches the trainer after it closed does nothing (no
    // login window opened by a discarded trainer, no guess counted after the close).
    void inputQueuedDuringSlideIsHandledAfterIt_data()
    {
        QTest::addColumn<QList<Queued>>("queued");
        QTest::addColumn<bool>("loginOpenAfter");
        QTest::newRow("close box") << QList<Queued>{Queued::CloseBox} << false;
        QTest::newRow("window manager close") << QList<Queued>{Queued::WindowManagerClose} << false;
        QTest::newRow("close box, then User") << QList<Queued>{Queued::CloseBox, Queued::UserButton} << false;
        QTest::newRow("User, then close box") << QList<Queued>{Queued::UserButton, Queued::CloseBox} << true;
        QTest::newRow("close box, then a card") << QList<Queued>{Queued::CloseBox, Queued::Card} << false;
    }
    void inputQueuedDuringSlideIsHandledAfterIt()
    {
        QFETCH(QList<Queued>, queued);
        QFETCH(bool, loginOpenAfter);
        ProgramSandbox &s = *m_sandbox;
        makeAccount(kAlice, QStringLiteral("a"), QStringLiteral("3"), QStringLiteral("10"));
        QPointer<frmMain> trainer = logInFromStart(*s.host, kAlice, QStringLiteral("a"));
        QVERIFY(trainer);
        clickOn(trainer->StartButton(0)); // the plain game shows, ready for a guess
        QVERIFY(trainer->picWorkArea->isVisible());
        const QList<QStringList> before = storeRows(s.storePath());

        // Queued at the slide's first step, as the window system would hold clicks made during it.
        QList<float> panelTopWhenHandled;
        struct Mover : QObject
        {
            std::function<void()> firstMove;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Move && firstMove)
                    std::exchange(firstMove, nullptr)();
                return false;
            }
        } mover;
        mover.firstMove = [&] {
            QVERIFY(trainer->picOptions->top() > frmMain::kOptionsClosedTop);
            QVERIFY(trainer->picOptions->top() < frmMain::kOptionsOpenTop);
            for (Queued input : queued) {
                QMetaObject::invokeMethod(
                    qApp,
                    [&, input] {
                        if (!trainer)
                            return;
                        panelTopWhenHandled << trainer->picOptions->top();
                        switch (input) {
                        case Queued::CloseBox:
                            clickOn(trainer->Image1(0));
                            break;
                        case Queued::WindowManagerClose:
                            trainer->windowHandle()->close();
                            break;
                        case Queued::UserButton:
                            clickOn(trainer->btnUser(0));
                            break;
                        case Queued::Card:
                            clickOn(trainer->Card(2));
                            break;
                        }
                    },
                    Qt::QueuedConnection);
            }
        };
        trainer->picOptions->installEventFilter(&mover);
        clickOn(trainer->lblOptionsTouch);
        QTRY_COMPARE(panelTopWhenHandled.size(), queued.size());
        QCOMPARE(panelTopWhenHandled, QList<float>(queued.size(), frmMain::kOptionsOpenTop));

        QTRY_VERIFY(trainer.isNull());
        QCOMPARE(s.host->loginWindow() != nullptr, loginOpenAfter);
        QCOMPARE(s.programEnds, loginOpenAfter ? 0 : 1);
        QCOMPARE(platform::FormRegistry::loadedCount(), loginOpenAfter ? 1 : 0);
        QCOMPARE(storeRows(s.storePath()), before);
    }

    // A user switch while the answer of either game still shows: the reveal timer still fires and ends the
    // reveal (the find-hidden game deals again), and nothing of the previous user's run ever reaches the
    // new user's totals, also when Test was pressed on the trainer while the login window was open. The
    // new user's Test starts from their own stored totals; each user's later guesses go to their own.
    void switchingUserDuringRevealKeepsTotalsApart_data()
    {
        QTest::addColumn<Game>("game");
        QTest::addColumn<bool>("testBehindLogin");
        QTest::newRow("plain game") << Game::Plain << false;
        QTest::newRow("find-hidden game") << Game::FindHidden << false;
        QTest::newRow("plain game, Test pressed behind the login window") << Game::Plain << true;
        QTest::newRow("find-hidden game, Test pressed behind the login window") << Game::FindHidden << true;
    }
    void switchingUserDuringRevealKeepsTotalsApart()
    {
        QFETCH(Game, game);
        QFETCH(bool, testBehindLogin);
        ProgramSandbox &s = *m_sandbox;
        makeAccount(kAlice, QStringLiteral("a"), QStringLiteral("3"), QStringLiteral("10"));
        makeAccount(kBob, QStringLiteral("b"), QStringLiteral("7"), QStringLiteral("20"));
        QPointer<frmMain> trainer = logInFromStart(*s.host, kAlice, QStringLiteral("a"));
        QVERIFY(trainer);
        guessInTestRun(trainer, game);
        QCOMPARE(stored(kAlice, "Tries"), QStringLiteral("11"));
        const QString aliceHits = stored(kAlice, "Hits");
        QVERIFY(revealTimer(trainer, game)->isEnabled());

        clickOn(trainer->btnUser(0));
        frmUser *login = activeLogin(*s.host);
        QVERIFY(login);
        if (testBehindLogin)
            clickOn(trainer->StartButton(0));
        submitLogin(login, kBob, QStringLiteral("b"));
        QCOMPARE(s.host->trainerWindow(), trainer.data());
        QCOMPARE(s.host->session().CurrentUserName, kBob);

        QTRY_VERIFY_WITH_TIMEOUT(!revealTimer(trainer, game)->isEnabled(), kTimerDeadlineMs);
        QVERIFY(revealEnded(trainer, game));

        // Where the previous run's cards were: Bob has not started a run, so nothing may count.
        clickOn(game == Game::Plain ? static_cast<QWidget *>(trainer->Card(2)) : trainer->HiddenCard(7));
        QCOMPARE(stored(kBob, "Tries"), QStringLiteral("20"));
        QCOMPARE(stored(kBob, "Hits"), QStringLiteral("7"));

        clickOn(trainer->StartButton(0));
        QCOMPARE(int(trainer->run().RunTries()), 20);
        QCOMPARE(int(trainer->run().RunHits()), 7);
        clickOn(game == Game::Plain ? static_cast<QWidget *>(trainer->Card(2)) : trainer->HiddenCard(7));
        QCOMPARE(stored(kBob, "Tries"), QStringLiteral("21"));
        QCOMPARE(stored(kBob, "Hits"), QString::number(trainer->run().RunHits()));
        QCOMPARE(stored(kAlice, "Tries"), QStringLiteral("11"));
        QCOMPARE(stored(kAlice, "Hits"), aliceHits);

        // And back: Alice's Test continues from what she had stored.
        clickOn(trainer->btnUser(0));
        login = activeLogin(*s.host);
        QVERIFY(login);
        submitLogin(login, QStringLiteral("alice"), QStringLiteral("a"));
        clickOn(trainer->StartButton(0));
        QCOMPARE(int(trainer->run().RunTries()), 11);
        QCOMPARE(QString::number(trainer->run().RunHits()), aliceHits);
        QVERIFY(s.messages.isEmpty());
    }

    // Leaving the login window that the trainer opened while an answer shows, by its Exit area or by the
    // window manager: the trainer and its user stay, the reveal ends on time, and the user's next Test
    // continues their stored totals.
    void closingLoginWindowMidRevealKeepsTheRun_data()
    {
        QTest::addColumn<Game>("game");
        QTest::addColumn<bool>("windowManagerClose");
        QTest::newRow("plain game, Exit area") << Game::Plain << false;
        QTest::newRow("find-hidden game, window manager close") << Game::FindHidden << true;
    }
    void closingLoginWindowMidRevealKeepsTheRun()
    {
        QFETCH(Game, game);
        QFETCH(bool, windowManagerClose);
        ProgramSandbox &s = *m_sandbox;
        makeAccount(kAlice, QStringLiteral("a"), QStringLiteral("3"), QStringLiteral("10"));
        QPointer<frmMain> trainer = logInFromStart(*s.host, kAlice, QStringLiteral("a"));
        QVERIFY(trainer);
        guessInTestRun(trainer, game);
        clickOn(trainer->btnUser(0));
        QPointer<frmUser> login = activeLogin(*s.host);
        QVERIFY(login);

        if (windowManagerClose)
            login->windowHandle()->close();
        else
            clickOn(login->lblExit);
        QTRY_VERIFY(login.isNull());
        QCOMPARE(s.programEnds, 0);
        QCOMPARE(platform::FormRegistry::loadedForms(), QList<platform::Form *>{trainer.data()});

        QTRY_VERIFY_WITH_TIMEOUT(!revealTimer(trainer, game)->isEnabled(), kTimerDeadlineMs);
        QVERIFY(revealEnded(trainer, game));
        QCOMPARE(s.host->session().CurrentUserName, kAlice);
        clickOn(trainer->StartButton(0));
        QCOMPARE(int(trainer->run().RunTries()), 11);
        clickOn(game == Game::Plain ? static_cast<QWidget *>(trainer->Card(3)) : trainer->HiddenCard(8));
        QCOMPARE(stored(kAlice, "Tries"), QStringLiteral("12"));
    }

private:
    std::unique_ptr<ProgramSandbox> m_sandbox;
};

QTEST_MAIN(tst_WindowFaults)
#include "tst_window_faults.moc"
