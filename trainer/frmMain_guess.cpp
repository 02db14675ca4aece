// Guessing in both games, the reveal, and the timers that set the table for the next try.

#include "frmMain.h"

#include "CountLimit.h"
#include "Judging.h"
#include "TrainerTexts.h"

#include "platform/Timer.h"
#include "platform/UserSession.h"

void frmMain::Card_Click(std::int16_t Index)
{
    if (Index == 0 || Index == 6)
        return;
    // While the cover is off, the previous answer is still showing.
    if (Card(6)->isHidden())
        return;

    const std::int16_t target = PickTarget();
    const bool hit = judging::plainHit(Index, target);
    if (!countlimit::guessFits(RunTries, RunHits, hit)) {
        lblStats->setCaption(trainertext::kCountLimitReached);
        return;
    }

    ++RunTries;
    Card(0)->setPicture(Card(target)->picture());
    if (chkBlindMode->value() != 1)
        Card(6)->hide();
    if (hit)
        ++RunHits;
    if (!PracticeRun) {
        m_session.UserHits = RunHits;
        m_session.UserTries = RunTries;
    }
    const TryRecorder::CountedTry counted = countedTry(Index, target, hit);
    UpdateScore(PracticeRun ? nullptr : &counted);
    announceCountedTry(hit);
    // Play Blind leaves the cover on: the table is ready for the next guess at once.
    markTableReady();
    timerreset->setEnabled(true);
}

void frmMain::timerreset_Timer()
{
    Card(6)->show();
    timerreset->setEnabled(false);
    markTableReady();
}

void frmMain::HiddenCard_Click(std::int16_t Index)
{
    // While the timer is armed, the previous answer is still showing.
    if (hiddenTimer->isEnabled())
        return;
    if (Index < 6 || Index > 10)
        return;

    const std::int16_t cover = Index - 5;
    const platform::Picture face = HiddenCard(cover)->picture();
    const bool hit = judging::hiddenHit(DealtFaces, cover);
    if (!countlimit::guessFits(RunTries, RunHits, hit)) {
        lblStats->setCaption(trainertext::kCountLimitReached);
        return;
    }

    hiddenTimer->setEnabled(true);
    HiddenCard(Index)->setPicture(face);
    ++RunTries;
    if (hit)
        ++RunHits;
    if (!PracticeRun) {
        m_session.UserHits = RunHits;
        m_session.UserTries = RunTries;
    }
    const TryRecorder::CountedTry counted = countedTry(cover, DealtFaces[0], hit);
    UpdateScore(PracticeRun ? nullptr : &counted);
    announceCountedTry(hit);
}

void frmMain::hiddenTimer_Timer()
{
    for (std::int16_t cover = 6; cover <= 10; ++cover)
        HiddenCard(cover)->setPicture(Card(6)->picture());
    hiddenTimer->setEnabled(false);
    DealRound();
    lblStats->setCaption(trainertext::kPromptFindHidden);
}
