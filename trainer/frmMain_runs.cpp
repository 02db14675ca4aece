// Test, Practice and Stop: starting and ending a run of the game chosen in the options panel, and
// showing the window for a user after a login.

#include "frmMain.h"

#include "TrainerTexts.h"

void frmMain::StartButton_Click(std::int16_t)
{
    picHidden->hide();
    const bool findHidden = chkFindHidden->value() != 0;
    // The run starts before the deal so the deal is the run's own.
    m_run->start(TrainerRun::Kind::Test, findHidden ? history::Game::FindHidden : history::Game::Plain);
    closeOptionsPanel();
    if (findHidden) {
        picWorkArea->hide();
        picHidden->show();
        DealRound();
        lblStats->setCaption(trainertext::kPromptFindHidden);
    } else {
        lblStats->setCaption(trainertext::kPromptPlainGame);
        picWorkArea->show();
    }
    m_run->markTableReady();
    lblUserName->setCaption(m_run->CurrentUserName() + trainertext::kTestingSuffix);
}

void frmMain::btnDrill_Click(std::int16_t)
{
    picHidden->hide();
    const bool findHidden = chkFindHidden->value() != 0;
    m_run->start(TrainerRun::Kind::Practice, findHidden ? history::Game::FindHidden : history::Game::Plain);
    closeOptionsPanel();
    lblUserName->setCaption(m_run->CurrentUserName() + trainertext::kPracticingSuffix);
    if (findHidden) {
        picWorkArea->hide();
        picHidden->show();
        DealRound();
    } else {
        picWorkArea->show();
    }
}

void frmMain::btnStop_Click(std::int16_t)
{
    // The run state, the score line, the meter and any armed timer stay as they are; the run on
    // record ends.
    m_run->stop();
    picWorkArea->hide();
    picHidden->hide();
    lblUserName->setCaption(m_run->CurrentUserName());
}

void frmMain::showFor(const QString &userName, std::int16_t userHits, std::int16_t userTries)
{
    // A run still on show belongs to the user logged in before (Test may have been pressed behind the
    // login window): it ends as Stop ends it, so the new user's totals only ever take guesses of a
    // Test of their own, which starts from their stored totals.
    btnStop_Click(0);
    if (m_run->showFor(userName, userHits, userTries))
        resetMeter();
    lblUserName->setCaption(userName);
    Show();
}

void frmMain::Form_Unload()
{
    m_run->stop();
}
