// The game in the trainer window: deals, guesses in both games, test and practice runs, the score line
// with its stored totals and meter, deck changes and the count limit.

#include "TrainerTestSupport.h"

#include "trainer/FaceDraw.h"
#include "trainer/TrainerTexts.h"

#include "history/TryHistory.h"
#include "settings/SettingsStore.h"

#include "platform/Timer.h"

#include <QSet>

namespace {

const QString &kPromptPlain = trainertext::kPromptPlainGame;
const QString &kPromptHidden = trainertext::kPromptFindHidden;
const QString &kLimitReached = trainertext::kCountLimitReached;

QString stored(const char *key)
{
    return GetSetting(QStringLiteral("Orvanta"), QStringLiteral("Ada"), QString::fromLatin1(key),
                      QStringLiteral("-"));
}

// The cover over the dealt face that matches the chosen card, and one that does not.
std::int16_t matchingCover(const frmMain &w)
{
    for (std::int16_t position = 1; position <= 5; ++position) {
        if (w.run().DealtFaces()[position] == w.run().DealtFaces()[0])
            return position + 5;
    }
    return -1;
}

std::int16_t otherCover(const frmMain &w)
{
    return matchingCover(w) == 6 ? 7 : 6;
}

QSet<quintptr> handles(const platform::ControlArray<platform::Image> &cards, int first, int last)
{
    QSet<quintptr> set;
    for (int i = first; i <= last; ++i)
        set.insert(cards(static_cast<std::int16_t>(i))->picture().handle());
    return set;
}

bool coversFaceDown(const frmMain &w)
{
    return handles(w.HiddenCard, 6, 10) == QSet<quintptr>{w.Card(6)->picture().handle()};
}

void selectDeck(frmMain &w, std::int16_t index)
{
    w.Option1(index)->setValue(true);
    w.Option1_Click(index);
}

// Records where the options panel stood each time a game panel was shown.
class ShowWatcher : public QObject
{
public:
    explicit ShowWatcher(frmMain &w) : m_window(w)
    {
        w.picWorkArea->installEventFilter(this);
        w.picHidden->installEventFilter(this);
    }
    QList<float> optionsTopAtShow;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ShowToParent)
            optionsTopAtShow << m_window.picOptions->top();
        return false;
    }

private:
    frmMain &m_window;
};

} // namespace

class TrainerGameTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTrainerSuite(); }
    void init();
    void cleanup() { m_store.reset(); }

    void dealHandsFacesOnByIdentity();
    void plainGameCountsOncePerReveal();
    void plainHitIsTheCardDrawnAtTheClick();
    void plainRevealEndsAfterRealTimer();
    void findHiddenGameTurnsOneCoverPerDeal();
    void stopDuringFindHiddenAnswerStillDealsAfterRealTimer();
    void guessGoesOnRecordWithTheDeckAndPlayBlindOnShow();
    void scoreLineAndMeterEdges();
    void startAndStopCommands();
    void guessPastCountLimitIsNotCounted();
    void keysPlayLikeClicks();

private:
    std::unique_ptr<PrivateStore> m_store;
};

void TrainerGameTest::init()
{
    m_store = std::make_unique<PrivateStore>();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// Guards the deal: the hidden positions hold the five current faces once each, by identity, all
// marked taken; the chosen card is the same picture as exactly one of them; deals never block on old
// marks; a deck change leaves dealt cards alone until the next deal; nothing else changes.
void TrainerGameTest::dealHandsFacesOnByIdentity()
{
    TrainerFixture f(QStringLiteral("Ada"), 42);
    frmMain &w = f.w();
    const QString before = w.lblStats->caption();
    w.DealRound();
    QCOMPARE(w.run().DealtFaces(), (DealtFaceIndexes{4, 4, 1, 5, 3, 2})); // pinned by the seed
    QCOMPARE(w.HiddenCard(5)->picture(), w.zCard(2)->picture());

    for (int deal = 0; deal < 200; ++deal) {
        w.DealRound();
        QCOMPARE(handles(w.HiddenCard, 1, 5), handles(w.Card, 1, 5));
        int matches = 0;
        for (std::int16_t position = 1; position <= 5; ++position) {
            QCOMPARE(w.HiddenCard(position)->picture(), w.Card(w.run().DealtFaces()[position])->picture());
            QCOMPARE(w.Card(position)->tag(), QStringLiteral("Taken"));
            matches += w.HiddenCard(position)->picture() == w.HiddenCard(0)->picture() ? 1 : 0;
        }
        QCOMPARE(matches, 1);
    }
    QVERIFY(coversFaceDown(w));
    QVERIFY(w.picHidden->isHidden());
    QCOMPARE(w.lblStats->caption(), before);
    QVERIFY(!w.hiddenTimer->isEnabled());

    const QSet<quintptr> dealt = handles(w.HiddenCard, 0, 5);
    selectDeck(w, 1);
    QCOMPARE(handles(w.HiddenCard, 0, 5), dealt);
    w.DealRound();
    QCOMPARE(handles(w.HiddenCard, 1, 5), handles(w.ColorCards, 1, 5));
    QVERIFY(handles(w.ColorCards, 1, 5).contains(w.HiddenCard(0)->picture().handle()));
}

// Guards the plain game's guards: a guess counts once; clicks while the answer shows, or on the
// reveal card and its cover, count nothing; after the timer the next click counts; blind play keeps
// the cover and counts every click.
void TrainerGameTest::plainGameCountsOncePerReveal()
{
    TrainerFixture f;
    frmMain &w = f.w();
    w.StartButton_Click(0);
    w.Card_Click(0);
    w.Card_Click(6);
    QCOMPARE(w.run().RunTries(), 0);

    w.Card_Click(3);
    QCOMPARE(w.run().RunTries(), 1);
    QVERIFY(w.Card(6)->isHidden());
    QVERIFY(handles(w.Card, 1, 5).contains(w.Card(0)->picture().handle()));
    QVERIFY(w.timerreset->isEnabled());
    w.Card_Click(3);
    w.Card_Click(1);
    QCOMPARE(w.run().RunTries(), 1);

    w.timerreset_Timer();
    QVERIFY(!w.Card(6)->isHidden());
    QVERIFY(!w.timerreset->isEnabled());
    QVERIFY(w.lblStats->caption().startsWith(QStringLiteral("Tries: 1  \u2022  Hits: "))); // the line stays

    w.chkBlindMode->setValue(1);
    for (std::int16_t card : {1, 2, 3}) {
        w.Card_Click(card);
        QVERIFY(!w.Card(6)->isHidden());
    }
    QCOMPARE(w.run().RunTries(), 4);
}

// Guards the plain game's hit rule: the computer draws at the click and the guess hits exactly when
// the clicked number is the number drawn then; a deck change applies from the next reveal and never
// changes a result.
void TrainerGameTest::plainHitIsTheCardDrawnAtTheClick()
{
    const PinnedSeal seal;
    TrainerFixture f(QStringLiteral("Ada"), 1234);
    frmMain &w = f.w();
    w.StartButton_Click(0);
    const std::unique_ptr<proof::DrawStream> twin = seal.twin(); // the test run's own draws
    std::int16_t hits = 0;
    for (std::int16_t guess = 1; guess <= 40; ++guess) {
        if (guess == 21) {
            selectDeck(w, 2);
            // The last reveal keeps its old face until the next guess.
            QVERIFY(handles(w.zCard, 1, 5).contains(w.Card(0)->picture().handle()));
        }
        const std::int16_t target = facedraw::drawFace(*twin);
        const std::int16_t clicked = guess % 2 ? target : static_cast<std::int16_t>(target % 5 + 1);
        w.Card_Click(clicked);
        hits += clicked == target ? 1 : 0;
        QCOMPARE(w.Card(0)->picture(), (guess <= 20 ? w.zCard : w.pCard)(target)->picture());
        QCOMPARE(w.run().RunHits(), hits);
        w.timerreset_Timer();
    }
    QCOMPARE(w.run().RunTries(), 40);
    QCOMPARE(w.run().RunHits(), 20);
}

// The one wait for the real 2000 ms timer: the cover returns by itself and the timer disarms.
void TrainerGameTest::plainRevealEndsAfterRealTimer()
{
    TrainerFixture f;
    f.open();
    f.w().StartButton_Click(0);
    f.w().Card_Click(2);
    QVERIFY(f.w().Card(6)->isHidden());
    QTRY_VERIFY_WITH_TIMEOUT(!f.w().Card(6)->isHidden(), 5000);
    QVERIFY(!f.w().timerreset->isEnabled());
}

// Guards the find-hidden game in the window: the turned cover shows the face beneath it and counts a
// hit exactly when that face is the chosen card's picture; clicks on the chosen card or while the
// answer shows count nothing; a deck change during a try keeps its faces and result; the timer turns
// the covers down, deals anew and prompts.
void TrainerGameTest::findHiddenGameTurnsOneCoverPerDeal()
{
    TrainerFixture f;
    frmMain &w = f.w();
    w.chkFindHidden->setValue(1);
    w.StartButton_Click(0);
    w.HiddenCard_Click(0);
    w.HiddenCard_Click(3);
    QCOMPARE(w.run().RunTries(), 0);

    const QSet<quintptr> dealt = handles(w.HiddenCard, 0, 5);
    selectDeck(w, 1);
    QCOMPARE(handles(w.HiddenCard, 0, 5), dealt);

    const std::int16_t hit = matchingCover(w);
    w.HiddenCard_Click(hit);
    QCOMPARE(w.run().RunTries(), 1);
    QCOMPARE(w.run().RunHits(), 1);
    QCOMPARE(w.HiddenCard(hit)->picture(), w.HiddenCard(0)->picture());
    QVERIFY(w.hiddenTimer->isEnabled());
    w.HiddenCard_Click(otherCover(w));
    QCOMPARE(w.run().RunTries(), 1);
    QCOMPARE(w.HiddenCard(otherCover(w))->picture(), w.Card(6)->picture());

    w.Card(1)->setTag(QString()); // the next deal must mark every face again
    w.hiddenTimer_Timer();
    QVERIFY(!w.hiddenTimer->isEnabled());
    QVERIFY(coversFaceDown(w));
    QCOMPARE(w.Card(1)->tag(), QStringLiteral("Taken"));
    QCOMPARE(handles(w.HiddenCard, 1, 5), handles(w.ColorCards, 1, 5));
    QCOMPARE(w.lblStats->caption(), kPromptHidden);

    const std::int16_t miss = otherCover(w);
    w.HiddenCard_Click(miss);
    QCOMPARE(w.run().RunTries(), 2);
    QCOMPARE(w.run().RunHits(), 1);
    QCOMPARE(w.HiddenCard(miss)->picture(), w.HiddenCard(miss - 5)->picture());
}

// The one wait for the real 1800 ms timer, through Stop: the panel hides at once, yet the timer still
// resets the covers, deals and writes the prompt.
void TrainerGameTest::stopDuringFindHiddenAnswerStillDealsAfterRealTimer()
{
    TrainerFixture f;
    f.open();
    frmMain &w = f.w();
    w.chkFindHidden->setValue(1);
    w.StartButton_Click(0);
    w.HiddenCard_Click(6);
    w.btnStop_Click(2);
    QVERIFY(w.picHidden->isHidden() && w.picWorkArea->isHidden());
    QVERIFY(!coversFaceDown(w));
    QTRY_COMPARE_WITH_TIMEOUT(w.lblStats->caption(), kPromptHidden, 5000);
    QVERIFY(!w.hiddenTimer->isEnabled());
    QVERIFY(coversFaceDown(w));
}

// Guards the score line's edges: Hide Score hides only the text (totals stored, meter moved); a
// hidden meter keeps following and shows the latest guess again; the line takes the locale's numbers.
void TrainerGameTest::scoreLineAndMeterEdges()
{
    const PinnedSeal seal;
    TrainerFixture f(QStringLiteral("Ada"), 5);
    frmMain &w = f.w();
    w.chkHideScore->setValue(1);
    w.chkUseMeter->setValue(0);
    w.chkUseMeter_Click();
    QVERIFY(w.picMeter->isHidden());
    f.setTotals(1, 1);
    w.StartButton_Click(0);
    const std::unique_ptr<proof::DrawStream> twin = seal.twin();
    w.Card_Click(facedraw::drawFace(*twin)); // a hit: 2 in 2
    QCOMPARE(w.lblStats->caption(), QStringLiteral("You have chosen to hide the score."));
    QCOMPARE(stored("Tries"), QStringLiteral("2"));
    w.chkUseMeter->setValue(1);
    w.chkUseMeter_Click();
    QVERIFY(!w.picMeter->isHidden());
    QCOMPARE(w.shapeMeter->top(), 430.0f);
    QCOMPARE(w.shapeMeter->fillColor(), 65280);

    w.chkHideScore->setValue(0);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    w.timerreset_Timer();
    w.Card_Click(facedraw::drawFace(*twin) % 5 + 1); // a miss: 2 in 3, in the locale's numbers
    QCOMPARE(w.lblStats->caption(), QStringLiteral("Tries: 3  \u2022  Hits: 2  \u2022  Accuracy: 66,67%"));
}

// Guards Test, Practice and Stop: the chosen game's panel alone shows (the options panel closed before
// it), with its prompt and the user line; Practice writes no prompt; Stop leaves the run as it is.
void TrainerGameTest::startAndStopCommands()
{
    TrainerFixture f(QStringLiteral("Grace"));
    f.open();
    frmMain &w = f.w();
    ShowWatcher watcher(w);

    w.lblOptionsTouch_Click();
    w.StartButton_Click(1);
    QVERIFY(!w.picWorkArea->isHidden() && w.picHidden->isHidden());
    QCOMPARE(w.lblStats->caption(), kPromptPlain);
    QCOMPARE(w.lblUserName->caption(), QStringLiteral("Grace is testing..."));

    w.lblOptionsTouch_Click();
    w.chkFindHidden->setValue(1); // a plain run left running, then Test for the find-hidden game
    w.StartButton_Click(0);
    QVERIFY(w.picWorkArea->isHidden() && !w.picHidden->isHidden());
    QCOMPARE(w.lblStats->caption(), kPromptHidden);
    QVERIFY(coversFaceDown(w));
    QVERIFY(handles(w.Card, 1, 5).contains(w.HiddenCard(0)->picture().handle()));

    w.lblStats->setCaption(QStringLiteral("a hint"));
    w.lblOptionsTouch_Click();
    w.btnDrill_Click(0);
    QVERIFY(w.run().PracticeRun());
    QCOMPARE(w.lblUserName->caption(), QStringLiteral("Grace is practicing..."));
    QCOMPARE(w.lblStats->caption(), QStringLiteral("a hint"));

    w.HiddenCard_Click(7);
    const QString score = w.lblStats->caption();
    w.btnStop_Click(3);
    QVERIFY(w.picWorkArea->isHidden() && w.picHidden->isHidden());
    QCOMPARE(w.lblUserName->caption(), QStringLiteral("Grace"));
    QCOMPARE(w.lblStats->caption(), score);
    QCOMPARE(w.run().RunTries(), 1);
    QVERIFY(w.hiddenTimer->isEnabled());

    w.chkFindHidden->setValue(0);
    w.btnDrill_Click(1); // the panel is closed already: it stays closed
    QVERIFY(!w.picWorkArea->isHidden() && w.picHidden->isHidden());
    QCOMPARE(w.run().RunTries(), 0);
    QCOMPARE(watcher.optionsTopAtShow, QList<float>(4, frmMain::kOptionsClosedTop));
}

// Guards the window at the count limit (the counting itself is the run's, tested without a window):
// a guess not counted is not revealed, arms no timer, and the status line says why.
void TrainerGameTest::guessPastCountLimitIsNotCounted()
{
    TrainerFixture f;
    frmMain &w = f.w();
    f.setTotals(32767, 32767);
    w.StartButton_Click(0);
    w.Card_Click(2);
    QVERIFY(!w.Card(6)->isHidden() && !w.timerreset->isEnabled());
    QCOMPARE(w.lblStats->caption(), kLimitReached);

    w.chkFindHidden->setValue(1);
    w.StartButton_Click(0);
    w.HiddenCard_Click(matchingCover(w));
    QVERIFY(coversFaceDown(w) && !w.hiddenTimer->isEnabled());
    QCOMPARE(w.lblStats->caption(), kLimitReached);
    QCOMPARE(w.run().RunTries(), 32767);
}

// Guards what the window hands the run for a guess's record: the deck and Play Blind on show; the
// program is told of each counted test try.
void TrainerGameTest::guessGoesOnRecordWithTheDeckAndPlayBlindOnShow()
{
    TrainerFixture f;
    frmMain &w = f.w();
    SaveSetting(QStringLiteral("Orvanta"), QStringLiteral("Ada"), QStringLiteral("UserName"),
                QStringLiteral("Ada"));
    selectDeck(w, 2);
    w.chkBlindMode->setValue(1);
    w.StartButton_Click(0);
    w.Card_Click(4);
    QCOMPARE(stored("Tries"), QStringLiteral("1"));
    QCOMPARE(f.host.triesCounted, 1);
    w.btnDrill_Click(0);
    w.Card_Click(4);
    QCOMPARE(f.host.triesCounted, 1);

    TryHistory reader(SettingsStore::defaultFilePath());
    QString reason;
    QVERIFY(reader.open(&reason));
    const std::optional<history::AccountHistory> ada = reader.account(QStringLiteral("ada"), &reason);
    QVERIFY2(ada && ada->tries.size() == 1, qPrintable(reason));
    QCOMPARE(ada->tries[0].deck, history::Deck::PlayingCards);
    QVERIFY(ada->tries[0].blind);
}

// Guards the keys: each stands for its click (a digit guesses at that place in the game on show, the
// keypad's too) and lights no picture; a held key guesses once, though Play Blind takes every
// press; behind a login window the keys wait; U opens the login window as the User button does.
void TrainerGameTest::keysPlayLikeClicks()
{
    TrainerFixture f;
    f.open();
    frmMain &w = f.w();
    QWindow *window = w.windowHandle();
    w.chkBlindMode->setValue(1);
    QTest::keyClick(window, Qt::Key_T);
    QVERIFY(!w.picWorkArea->isHidden() && !w.StartButton(0)->isHidden());
    // Held down, a key repeats as marked presses or, on X11, as a release and a press with one time.
    for (bool repeat : {false, true})
        QTest::simulateEvent(window, true, Qt::Key_3, Qt::NoModifier, QStringLiteral("3"), repeat);
    for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress, QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent key(type, Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));
        key.setTimestamp(500);
        QApplication::sendEvent(&w, &key);
    }
    QTest::keyClick(window, Qt::Key_2, Qt::KeypadModifier);
    QCOMPARE(w.run().RunTries(), 2);
    w.chkFindHidden->setValue(1);
    QTest::keyClick(window, Qt::Key_T);
    QTest::keyClick(window, Qt::Key_4);
    QCOMPARE(w.HiddenCard(9)->picture(), w.HiddenCard(4)->picture());
    auto *login = new platform::Form;
    login->Show();
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!w.picHidden->isHidden());
    login->Unload();
    QTest::keyClick(window, Qt::Key_S);
    QVERIFY(w.picHidden->isHidden());
    QTest::keyClick(window, Qt::Key_U);
    QCOMPARE(f.host.loginWindowsOpened, 1);
}

QTEST_MAIN(TrainerGameTest)
#include "tst_TrainerGame.moc"
