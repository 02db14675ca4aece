// Guessing in both games, the reveal, and the timers that set the table for the next try. The run
// judges and counts; the window turns the cards and shows the score.

#include "frmMain.h"

#include "TrainerTexts.h"

#include "platform/Timer.h"

void frmMain::Card_Click(std::int16_t Index)
{
    if (Index == 0 || Index == 6)
        return;
    // While the cover is off, the previous answer is still showing.
    if (Card(6)->isHidden())
        return;

    const std::int16_t target = PickTarget();
    const TrainerRun::Outcome outcome = m_run->countPlainGuess(Index, target, guessSetting());
    if (refusedAtCountLimit(outcome))
        return;

    Card(0)->setPicture(Card(target)->picture());
    if (chkBlindMode->value() != 1)
        Card(6)->hide();
    UpdateScore();
    announceCountedTry(outcome == TrainerRun::Outcome::Hit);
    // Play Blind leaves the cover on: the table is ready for the next guess at once.
    m_run->markTableReady();
    timerreset->setEnabled(true);
}

void frmMain::timerreset_Timer()
{
    Card(6)->show();
    timerreset->setEnabled(false);
    m_run->markTableReady();
}

void frmMain::HiddenCard_Click(std::int16_t Index)
{
    // While the timer is armed, the previous answer is still showing.
    if (hiddenTimer->isEnabled())
        return;
    if (Index < 6 || Index > 10)
        return;

    const std::int16_t cover = Index - 5;
    const TrainerRun::Outcome outcome = m_run->countHiddenGuess(cover, guessSetting());
    if (refusedAtCountLimit(outcome))
        return;

    hiddenTimer->setEnabled(true);
    HiddenCard(Index)->setPicture(HiddenCard(cover)->picture());
    UpdateScore();
    announceCountedTry(outcome == TrainerRun::Outcome::Hit);
}

void frmMain::hiddenTimer_Timer()
{
    for (std::int16_t cover = 6; cover <= 10; ++cover)
        HiddenCard(cover)->setPicture(Card(6)->picture());
    hiddenTimer->setEnabled(false);
    DealRound();
    lblStats->setCaption(trainertext::kPromptFindHidden);
}

TrainerRun::Setting frmMain::guessSetting() const
{
    TrainerRun::Setting setting;
    setting.deck = Option1(1)->value()   ? history::Deck::Colors
                   : Option1(2)->value() ? history::Deck::PlayingCards
                                         : history::Deck::Zener;
    setting.blind = chkBlindMode->value() == 1;
    return setting;
}

bool frmMain::refusedAtCountLimit(TrainerRun::Outcome outcome)
{
    if (outcome != TrainerRun::Outcome::NotCounted)
        return false;
    lblStats->setCaption(trainertext::kCountLimitReached);
    return true;
}
