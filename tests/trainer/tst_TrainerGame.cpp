// The game in the trainer window: deals, guesses in both games, test and practice runs, the score line
// with its stored totals and meter, deck changes and the count limit.

#include "TrainerTestSupport.h"

#include "trainer/FaceDraw.h"

#include "platform/Timer.h"

#include <QSet>

namespace {

const QString kPromptPlain = QStringLiteral("Click the card you feel the computer has chosen.");
const QString kPromptHidden = QStringLiteral("Click the card you feel matches the chosen card.");
const QString kLimitReached =
    QStringLiteral("Count limit reached: no more than 32767 tries or hits can be counted.");

QString stored(const QString &user, const char *key)
{
    return GetSetting(QStringLiteral("Orvanta"), user, QString::fromLatin1(key), QStringLiteral("(none)"));
}

// The cover over the dealt face that matches the chosen card, and one over a face that does not.
std::int16_t matchingCover(const frmMain &w)
{
    for (std::int16_t position = 1; position <= 5; ++position) {
        if (w.DealtFaces[position] == w.DealtFaces[0])
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

// Records where the options panel stood when a game panel was shown.
class ShowWatcher : public QObject
{
public:
    ShowWatcher(frmMain &w) : m_window(w)
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
    void initTestCase();
    void init();
    void cleanup();

    void dealHandsFacesOnByIdentity();
    void pinnedSourceGivesKnownDeal();
    void deckChangeBetweenDealsLeavesDealtCards();

    void plainGuessCountsOncePerReveal();
    void plainHitIsTheCardDrawnAtTheClick();
    void blindPlayKeepsCoverAndCountsEveryClick();
    void plainRevealEndsAfterRealTimer();

    void findHiddenMatchingCoverCountsHit();
    void findHiddenRefusesClicksWhileAnswerShows();
    void findHiddenTimerResetsCoversDealsAndPrompts();
    void stopDuringFindHiddenAnswerStillDealsAfterRealTimer();

    void testRunContinuesAndStoresTotals();
    void practiceRunNeverStores();
    void hiddenScoreStillStoresAndMovesMeter();
    void meterFollowsLatestGuessWhenShownAgain();
    void scoreLineUsesLocaleDecimalSeparator();
    void emptyTryCountShowsZeroAccuracy();

    void startCommandsShowTheChosenGame();
    void startClosesOpenOptionsBeforeGameShows();
    void stopHidesPanelsAndKeepsRun();

    void deckChoiceFillsFaceRow();
    void deckChangeMidPlainRunChangesRevealNotScore();
    void deckChangeMidFindHiddenTryKeepsItsResult();

    void guessPastCountLimitIsNotCounted();
    void hitPastCountLimitIsNotCounted();

private:
    std::unique_ptr<PrivateStore> m_store;
};

void TrainerGameTest::initTestCase()
{
    initTrainerSuite();
}

void TrainerGameTest::init()
{
    m_store = std::make_unique<PrivateStore>();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TrainerGameTest::cleanup()
{
    m_store.reset();
}

// Guards the deal: the hidden positions hold the five current faces once each, by identity, all
// marked taken; the chosen card is the same picture as exactly one of them; a second deal never
// blocks on the first deal's marks; nothing but the dealt cards changes.
void TrainerGameTest::dealHandsFacesOnByIdentity()
{
    TrainerFixture f;
    frmMain &w = f.w();
    const QString before = w.lblStats->caption();
    for (int deal = 0; deal < 200; ++deal) {
        w.DealRound();
        QCOMPARE(handles(w.HiddenCard, 1, 5), handles(w.Card, 1, 5));
        int matches = 0;
        for (std::int16_t position = 1; position <= 5; ++position) {
            QCOMPARE(w.HiddenCard(position)->picture(), w.Card(w.DealtFaces[position])->picture());
            QCOMPARE(w.Card(position)->tag(), QStringLiteral("Taken"));
            matches += w.HiddenCard(position)->picture() == w.HiddenCard(0)->picture() ? 1 : 0;
        }
        QCOMPARE(matches, 1);
        QCOMPARE(w.HiddenCard(0)->picture(), w.Card(w.DealtFaces[0])->picture());
    }
    const platform::Picture back = w.Card(6)->picture();
    for (std::int16_t cover = 6; cover <= 10; ++cover)
        QCOMPARE(w.HiddenCard(cover)->picture(), back);
    QVERIFY(w.picHidden->isHidden());
    QCOMPARE(w.lblStats->caption(), before);
    QCOMPARE(w.RunTries, 0);
    QVERIFY(!w.hiddenTimer->isEnabled());
}

// Pins the window's deal to its source: seed 42 gives a known first deal.
void TrainerGameTest::pinnedSourceGivesKnownDeal()
{
    TrainerFixture f(QStringLiteral("Ada"), 42);
    frmMain &w = f.w();
    w.DealRound();
    QCOMPARE(w.DealtFaces, (DealtFaceIndexes{4, 4, 1, 5, 3, 2}));
    QCOMPARE(w.HiddenCard(0)->picture(), w.zCard(4)->picture());
    QCOMPARE(w.HiddenCard(1)->picture(), w.zCard(4)->picture());
    QCOMPARE(w.HiddenCard(5)->picture(), w.zCard(2)->picture());
}

// Guards deck changes against dealt tries: the dealt cards keep the old deck until the next deal,
// which deals only the new deck's faces.
void TrainerGameTest::deckChangeBetweenDealsLeavesDealtCards()
{
    TrainerFixture f;
    frmMain &w = f.w();
    w.DealRound();
    const QSet<quintptr> zener = handles(w.zCard, 1, 5);
    QCOMPARE(handles(w.HiddenCard, 0, 5) - zener, QSet<quintptr>{});

    w.Option1(1)->setValue(true);
    w.Option1_Click(1);
    QCOMPARE(handles(w.HiddenCard, 0, 5) - zener, QSet<quintptr>{});

    w.DealRound();
    QCOMPARE(handles(w.HiddenCard, 1, 5), handles(w.ColorCards, 1, 5));
    QVERIFY(handles(w.ColorCards, 1, 5).contains(w.HiddenCard(0)->picture().handle()));
}

// Guards the plain game's guard: a guess counts once, clicks while the answer shows count nothing,
// clicks on the reveal card or its cover never count, and after the timer the next click counts.
void TrainerGameTest::plainGuessCountsOncePerReveal()
{
    TrainerFixture f;
    frmMain &w = f.w();
    w.StartButton_Click(0);

    w.Card_Click(0);
    w.Card_Click(6);
    QCOMPARE(w.RunTries, 0);

    w.Card_Click(3);
    QCOMPARE(w.RunTries, 1);
    QVERIFY(w.Card(6)->isHidden());
    QVERIFY(handles(w.Card, 1, 5).contains(w.Card(0)->picture().handle()));
    QVERIFY(w.timerreset->isEnabled());

    w.Card_Click(3);
    w.Card_Click(1);
    QCOMPARE(w.RunTries, 1);

    w.timerreset_Timer();
    QVERIFY(!w.Card(6)->isHidden());
    QVERIFY(!w.timerreset->isEnabled());
    QVERIFY(w.lblStats->caption().startsWith(QStringLiteral("Tries: 1  \u2022  Hits: ")));

    w.Card_Click(5);
    QCOMPARE(w.RunTries, 2);
}

// Guards the hit rule of the plain game: the computer draws at the click, and the guess hits exactly
// when the clicked number is the number drawn then.
void TrainerGameTest::plainHitIsTheCardDrawnAtTheClick()
{
    TrainerFixture f(QStringLiteral("Ada"), 1234);
    frmMain &w = f.w();
    RandomSource twin(1234);
    w.StartButton_Click(0);

    std::int16_t hits = 0;
    for (std::int16_t guess = 1; guess <= 40; ++guess) {
        const std::int16_t target = facedraw::drawFace(twin);
        // Alternate between hitting on purpose and missing on purpose.
        const std::int16_t clicked = guess % 2 ? target : static_cast<std::int16_t>(target % 5 + 1);
        w.Card_Click(clicked);
        hits += clicked == target ? 1 : 0;
        QCOMPARE(w.Card(0)->picture(), w.Card(target)->picture());
        QCOMPARE(w.RunHits, hits);
        w.timerreset_Timer();
    }
    QCOMPARE(w.RunTries, 40);
    QCOMPARE(w.RunHits, 20);
}

// Guards blind play: the cover never leaves, so every click is counted at once.
void TrainerGameTest::blindPlayKeepsCoverAndCountsEveryClick()
{
    TrainerFixture f;
    frmMain &w = f.w();
    w.chkBlindMode->setValue(1);
    w.StartButton_Click(0);
    for (std::int16_t card : {1, 2, 3}) {
        w.Card_Click(card);
        QVERIFY(!w.Card(6)->isHidden());
    }
    QCOMPARE(w.RunTries, 3);
}

// The one wait for the real 2000 ms timer: the cover returns by itself and the timer disarms.
void TrainerGameTest::plainRevealEndsAfterRealTimer()
{
    TrainerFixture f;
    f.open();
    frmMain &w = f.w();
    w.StartButton_Click(0);
    w.Card_Click(2);
    QVERIFY(w.Card(6)->isHidden());
    QTRY_VERIFY_WITH_TIMEOUT(!w.Card(6)->isHidden(), 5000);
    QVERIFY(!w.timerreset->isEnabled());
}

// Guards the find-hidden hit rule: the cover over the chosen face counts a hit, judged by picture
// identity; any other cover counts a try only; the turned cover shows the face beneath.
void TrainerGameTest::findHiddenMatchingCoverCountsHit()
{
    TrainerFixture f;
    frmMain &w = f.w();
    w.chkFindHidden->setValue(1);
    w.StartButton_Click(0);

    const std::int16_t hit = matchingCover(w);
    QVERIFY(hit >= 6);
    w.HiddenCard_Click(hit);
    QCOMPARE(w.RunTries, 1);
    QCOMPARE(w.RunHits, 1);
    QCOMPARE(w.HiddenCard(hit)->picture(), w.HiddenCard(0)->picture());
    w.hiddenTimer_Timer();

    const std::int16_t miss = otherCover(w);
    w.HiddenCard_Click(miss);
    QCOMPARE(w.RunTries, 2);
    QCOMPARE(w.RunHits, 1);
    QCOMPARE(w.HiddenCard(miss)->picture(), w.HiddenCard(miss - 5)->picture());
}

// Guards the find-hidden guard: while the timer is armed no click counts, and clicks on the chosen
// card or a dealt face never count.
void TrainerGameTest::findHiddenRefusesClicksWhileAnswerShows()
{
    TrainerFixture f;
    frmMain &w = f.w();
    w.chkFindHidden->setValue(1);
    w.StartButton_Click(0);

    w.HiddenCard_Click(0);
    w.HiddenCard_Click(3);
    QCOMPARE(w.RunTries, 0);
    QVERIFY(!w.hiddenTimer->isEnabled());

    w.HiddenCard_Click(6);
    QVERIFY(w.hiddenTimer->isEnabled());
    const platform::Picture turned = w.HiddenCard(7)->picture();
    w.HiddenCard_Click(7);
    w.HiddenCard_Click(6);
    QCOMPARE(w.RunTries, 1);
    QCOMPARE(w.HiddenCard(7)->picture(), turned);
}

// Guards the end of a find-hidden try: covers back face down, a fresh deal, the prompt again.
void TrainerGameTest::findHiddenTimerResetsCoversDealsAndPrompts()
{
    TrainerFixture f;
    frmMain &w = f.w();
    w.chkFindHidden->setValue(1);
    w.StartButton_Click(0);
    w.HiddenCard_Click(8);
    QVERIFY(w.lblStats->caption().startsWith(QStringLiteral("Tries: 1")));

    w.Card(1)->setTag(QString()); // a deal must mark every face again
    w.hiddenTimer_Timer();
    QVERIFY(!w.hiddenTimer->isEnabled());
    for (std::int16_t cover = 6; cover <= 10; ++cover)
        QCOMPARE(w.HiddenCard(cover)->picture(), w.Card(6)->picture());
    QCOMPARE(w.Card(1)->tag(), QStringLiteral("Taken"));
    QCOMPARE(handles(w.HiddenCard, 1, 5), handles(w.Card, 1, 5));
    QCOMPARE(w.lblStats->caption(), kPromptHidden);

    w.HiddenCard_Click(9);
    QCOMPARE(w.RunTries, 2);
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
    QVERIFY(w.picHidden->isHidden());
    QVERIFY(w.picWorkArea->isHidden());
    QCOMPARE(w.HiddenCard(6)->picture(), w.HiddenCard(1)->picture());

    QTRY_COMPARE_WITH_TIMEOUT(w.lblStats->caption(), kPromptHidden, 5000);
    QVERIFY(!w.hiddenTimer->isEnabled());
    for (std::int16_t cover = 6; cover <= 10; ++cover)
        QCOMPARE(w.HiddenCard(cover)->picture(), w.Card(6)->picture());
}

// Guards test runs: they continue the user's totals, copy the counts back after each guess and store
// them at once; a user with 7 hits in 30 tries shows 31 tries after one guess.
void TrainerGameTest::testRunContinuesAndStoresTotals()
{
    TrainerFixture f;
    frmMain &w = f.w();
    f.session.UserHits = 7;
    f.session.UserTries = 30;
    w.StartButton_Click(0);
    QCOMPARE(w.RunTries, 30);
    w.Card_Click(4);
    QVERIFY(w.lblStats->caption().startsWith(QStringLiteral("Tries: 31  \u2022  Hits: ")));
    QCOMPARE(f.session.UserTries, 31);
    QCOMPARE(f.session.UserHits, w.RunHits);
    QCOMPARE(stored(QStringLiteral("Ada"), "Tries"), QStringLiteral("31"));
    QCOMPARE(stored(QStringLiteral("Ada"), "Hits"), QString::number(w.RunHits));

    w.btnStop_Click(0);
    w.chkFindHidden->setValue(1);
    w.StartButton_Click(0);
    w.HiddenCard_Click(10);
    QCOMPARE(f.session.UserTries, 32);
    QCOMPARE(stored(QStringLiteral("Ada"), "Tries"), QStringLiteral("32"));
}

// Guards practice: it counts from zero and never touches the totals or the store.
void TrainerGameTest::practiceRunNeverStores()
{
    TrainerFixture f;
    frmMain &w = f.w();
    f.session.UserHits = 3;
    f.session.UserTries = 9;
    w.StartButton_Click(0);
    w.btnDrill_Click(0);
    QVERIFY(w.PracticeRun);
    w.Card_Click(1);
    QVERIFY(w.lblStats->caption().startsWith(QStringLiteral("Tries: 1  \u2022  Hits: ")));
    w.timerreset_Timer();
    w.Card_Click(2);

    w.btnStop_Click(0);
    w.chkFindHidden->setValue(1);
    w.btnDrill_Click(1);
    w.HiddenCard_Click(6);
    QCOMPARE(w.RunTries, 1);

    QCOMPARE(f.session.UserHits, 3);
    QCOMPARE(f.session.UserTries, 9);
    QCOMPARE(stored(QStringLiteral("Ada"), "Tries"), QStringLiteral("(none)"));
    QCOMPARE(stored(QStringLiteral("Ada"), "Hits"), QStringLiteral("(none)"));
}

// Guards Hide Score: it hides only the text; the totals are still stored and the meter still moves.
void TrainerGameTest::hiddenScoreStillStoresAndMovesMeter()
{
    TrainerFixture f(QStringLiteral("Ada"), 5);
    frmMain &w = f.w();
    RandomSource twin(5);
    w.chkHideScore->setValue(1);
    f.session.UserHits = 1;
    f.session.UserTries = 1;
    w.StartButton_Click(0);
    w.Card_Click(facedraw::drawFace(twin)); // a hit: 2 in 2
    QCOMPARE(w.lblStats->caption(), QStringLiteral("You have chosen to hide the score."));
    QCOMPARE(stored(QStringLiteral("Ada"), "Hits"), QStringLiteral("2"));
    QCOMPARE(stored(QStringLiteral("Ada"), "Tries"), QStringLiteral("2"));
    QCOMPARE(w.RunAccuracy, 100.0);
    QCOMPARE(w.shapeMeter->top(), 430.0f);
    QCOMPARE(w.shapeMeter->fillColor(), 65280);
}

// Guards the meter while hidden: it keeps following the guesses, so it shows the latest one when the
// "Accuracy Meter" box is ticked again.
void TrainerGameTest::meterFollowsLatestGuessWhenShownAgain()
{
    TrainerFixture f(QStringLiteral("Ada"), 6);
    frmMain &w = f.w();
    RandomSource twin(6);
    w.btnDrill_Click(0);
    w.chkUseMeter->setValue(0);
    w.chkUseMeter_Click();
    QVERIFY(w.picMeter->isHidden());

    w.Card_Click(facedraw::drawFace(twin)); // 1 hit in 1 try
    w.chkUseMeter->setValue(1);
    w.chkUseMeter_Click();
    QVERIFY(!w.picMeter->isHidden());
    QCOMPARE(w.RunAccuracy, 100.0);
    QCOMPARE(w.shapeMeter->top(), 430.0f);
    QCOMPARE(w.shapeMeter->fillColor(), 65280);
}

void TrainerGameTest::scoreLineUsesLocaleDecimalSeparator()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TrainerFixture f;
    frmMain &w = f.w();
    w.btnDrill_Click(0);
    w.RunHits = 1;
    w.RunTries = 3;
    w.UpdateScore();
    QCOMPARE(w.lblStats->caption(), QStringLiteral("Tries: 3  \u2022  Hits: 1  \u2022  Accuracy: 33,33%"));
    QCOMPARE(w.RunAccuracy, 33.33);
}

// Guards a division by zero: a try count of 0 (a store filled by hand) shows 0 percent.
void TrainerGameTest::emptyTryCountShowsZeroAccuracy()
{
    TrainerFixture f;
    frmMain &w = f.w();
    w.btnDrill_Click(0);
    w.RunHits = 5;
    w.RunTries = 0;
    w.UpdateScore();
    QCOMPARE(w.lblStats->caption(), QStringLiteral("Tries: 0  \u2022  Hits: 5  \u2022  Accuracy: 0%"));
    QCOMPARE(w.shapeMeter->top(), 1580.0f);
}

// Guards Test and Practice: the chosen game's panel alone shows, with its prompt and the user line.
void TrainerGameTest::startCommandsShowTheChosenGame()
{
    TrainerFixture f(QStringLiteral("Grace"));
    frmMain &w = f.w();

    w.StartButton_Click(1);
    QVERIFY(!w.picWorkArea->isHidden());
    QVERIFY(w.picHidden->isHidden());
    QCOMPARE(w.lblStats->caption(), kPromptPlain);
    QCOMPARE(w.lblUserName->caption(), QStringLiteral("Grace is testing..."));
    QVERIFY(!w.PracticeRun);

    // A plain run left running, then Test with "Find Hidden Card" ticked.
    w.chkFindHidden->setValue(1);
    w.StartButton_Click(0);
    QVERIFY(w.picWorkArea->isHidden());
    QVERIFY(!w.picHidden->isHidden());
    QCOMPARE(w.lblStats->caption(), kPromptHidden);
    QVERIFY(handles(w.Card, 1, 5).contains(w.HiddenCard(0)->picture().handle()));
    for (std::int16_t cover = 6; cover <= 10; ++cover)
        QCOMPARE(w.HiddenCard(cover)->picture(), w.Card(6)->picture());

    w.lblStats->setCaption(QStringLiteral("a hint"));
    w.btnDrill_Click(0);
    QVERIFY(w.PracticeRun);
    QVERIFY(!w.picHidden->isHidden());
    QCOMPARE(w.lblUserName->caption(), QStringLiteral("Grace is practicing..."));
    QCOMPARE(w.lblStats->caption(), QStringLiteral("a hint")); // Practice writes no prompt

    w.chkFindHidden->setValue(0);
    w.btnDrill_Click(1);
    QVERIFY(!w.picWorkArea->isHidden());
    QVERIFY(w.picHidden->isHidden());
    QCOMPARE(w.RunTries, 0);
}

// Guards the start commands against an open options panel: it is closed before the game shows.
void TrainerGameTest::startClosesOpenOptionsBeforeGameShows()
{
    TrainerFixture f;
    f.open();
    frmMain &w = f.w();
    ShowWatcher watcher(w);

    w.lblOptionsTouch_Click();
    QCOMPARE(w.picOptions->top(), frmMain::kOptionsOpenTop);
    w.StartButton_Click(0);
    w.btnStop_Click(0);

    w.lblOptionsTouch_Click();
    w.chkFindHidden->setValue(1);
    w.btnDrill_Click(0);
    w.btnStop_Click(2);

    w.StartButton_Click(0); // closed already: stays closed
    QCOMPARE(watcher.optionsTopAtShow, (QList<float>{frmMain::kOptionsClosedTop, frmMain::kOptionsClosedTop,
                                                     frmMain::kOptionsClosedTop}));
}

// Guards Stop: it hides the panels and restores the user line, and nothing else.
void TrainerGameTest::stopHidesPanelsAndKeepsRun()
{
    TrainerFixture f(QStringLiteral("Grace"));
    frmMain &w = f.w();
    w.StartButton_Click(0);
    w.Card_Click(2);
    const QString score = w.lblStats->caption();
    const float meterTop = w.shapeMeter->top();
    w.btnStop_Click(1);
    QVERIFY(w.picWorkArea->isHidden() && w.picHidden->isHidden());
    QCOMPARE(w.lblUserName->caption(), QStringLiteral("Grace"));
    QCOMPARE(w.lblStats->caption(), score);
    QCOMPARE(w.RunTries, 1);
    QCOMPARE(w.shapeMeter->top(), meterTop);
    QVERIFY(w.timerreset->isEnabled());
}

// Guards the decks: each choice puts its own five faces in order into the face row, by identity.
void TrainerGameTest::deckChoiceFillsFaceRow()
{
    TrainerFixture f;
    frmMain &w = f.w();
    const auto rowShows = [&w](const platform::ControlArray<platform::Image> &deck) {
        for (std::int16_t i = 1; i <= 5; ++i) {
            if (w.Card(i)->picture() != deck(i)->picture())
                return false;
        }
        return true;
    };
    QVERIFY(rowShows(w.zCard));
    w.Option1(1)->setValue(true);
    w.Option1_Click(1);
    QVERIFY(rowShows(w.ColorCards));
    w.Option1(2)->setValue(true);
    w.Option1_Click(2);
    QVERIFY(rowShows(w.pCard));
    w.Option1_Click(2);
    QVERIFY(rowShows(w.pCard));
    w.Option1(0)->setValue(true);
    w.Option1_Click(0);
    QVERIFY(rowShows(w.zCard));
    QVERIFY(w.Card(0)->picture() == w.Card(6)->picture());
}

// Guards a deck change during a plain run: the next reveal shows the new deck, and the hit is still
// judged by position.
void TrainerGameTest::deckChangeMidPlainRunChangesRevealNotScore()
{
    TrainerFixture f(QStringLiteral("Ada"), 77);
    frmMain &w = f.w();
    RandomSource twin(77);
    w.StartButton_Click(0);
    std::int16_t target = facedraw::drawFace(twin);
    w.Card_Click(target);
    QCOMPARE(w.Card(0)->picture(), w.zCard(target)->picture());
    w.timerreset_Timer();

    w.Option1(2)->setValue(true);
    w.Option1_Click(2);
    QCOMPARE(w.Card(0)->picture(), w.zCard(target)->picture()); // the old reveal stays until the next guess
    target = facedraw::drawFace(twin);
    w.Card_Click(target);
    QCOMPARE(w.Card(0)->picture(), w.pCard(target)->picture());
    QCOMPARE(w.RunHits, 2);
    QCOMPARE(w.RunTries, 2);
}

// Guards a deck change while a find-hidden try is dealt: the try keeps its faces and its result.
void TrainerGameTest::deckChangeMidFindHiddenTryKeepsItsResult()
{
    TrainerFixture f;
    frmMain &w = f.w();
    w.chkFindHidden->setValue(1);
    w.StartButton_Click(0);
    const QSet<quintptr> dealt = handles(w.HiddenCard, 0, 5);

    w.Option1(1)->setValue(true);
    w.Option1_Click(1);
    QCOMPARE(handles(w.HiddenCard, 0, 5), dealt);
    w.HiddenCard_Click(matchingCover(w));
    QCOMPARE(w.RunHits, 1);

    w.hiddenTimer_Timer();
    QCOMPARE(handles(w.HiddenCard, 1, 5), handles(w.ColorCards, 1, 5));
}

// Guards the 16-bit counts: a guess that would take the tries past 32767 is not counted, shown, stored
// or revealed, and the status line says why.
void TrainerGameTest::guessPastCountLimitIsNotCounted()
{
    TrainerFixture f;
    frmMain &w = f.w();
    f.session.UserHits = 100;
    f.session.UserTries = 32767;
    w.StartButton_Click(0);
    w.Card_Click(2);
    QCOMPARE(w.RunTries, 32767);
    QCOMPARE(w.lblStats->caption(), kLimitReached);
    QVERIFY(!w.Card(6)->isHidden());
    QVERIFY(!w.timerreset->isEnabled());
    QCOMPARE(stored(QStringLiteral("Ada"), "Tries"), QStringLiteral("(none)"));

    w.btnStop_Click(0);
    w.chkFindHidden->setValue(1);
    w.StartButton_Click(0);
    w.HiddenCard_Click(6);
    QCOMPARE(w.RunTries, 32767);
    QCOMPARE(w.HiddenCard(6)->picture(), w.Card(6)->picture());
    QVERIFY(!w.hiddenTimer->isEnabled());
    QCOMPARE(w.lblStats->caption(), kLimitReached);
    QCOMPARE(f.session.UserTries, 32767);
}

// Guards the hit count's limit (only reachable from a store filled by hand): a hit that would pass
// 32767 is refused, while a miss still counts.
void TrainerGameTest::hitPastCountLimitIsNotCounted()
{
    TrainerFixture f;
    frmMain &w = f.w();
    f.session.UserHits = 32767;
    f.session.UserTries = 100;
    w.chkFindHidden->setValue(1);
    w.StartButton_Click(0);

    w.HiddenCard_Click(matchingCover(w));
    QCOMPARE(w.RunHits, 32767);
    QCOMPARE(w.RunTries, 100);
    QCOMPARE(w.lblStats->caption(), kLimitReached);

    w.HiddenCard_Click(otherCover(w));
    QCOMPARE(w.RunTries, 101);
    QCOMPARE(w.RunHits, 32767);
    QCOMPARE(stored(QStringLiteral("Ada"), "Hits"), QStringLiteral("32767"));
    QCOMPARE(stored(QStringLiteral("Ada"), "Tries"), QStringLiteral("101"));
}

QTEST_MAIN(TrainerGameTest)
#include "tst_TrainerGame.moc"
