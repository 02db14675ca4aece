// Test, Practice and Stop: starting and ending a run of the game chosen in the options panel.

#include "frmMain.h"

#include "TrainerTexts.h"

#include "platform/UserSession.h"

void frmMain::StartButton_Click(std::int16_t)
{
    picHidden->hide();
    if (chkFindHidden->value() != 0) {
        closeOptionsPanel();
        picWorkArea->hide();
        picHidden->show();
        DealRound();
        lblStats->setCaption(trainertext::kPromptFindHidden);
    } else {
        closeOptionsPanel();
        lblStats->setCaption(trainertext::kPromptPlainGame);
        picWorkArea->show();
    }
    // A test run continues the user's totals; its tries go on record as a run of their own.
    m_recorder.beginRun(m_session.CurrentUserName,
                        chkFindHidden->value() != 0 ? history::Game::FindHidden : history::Game::Plain);
    markTableReady();
    PracticeRun = false;
    RunHits = m_session.UserHits;
    RunTries = m_session.UserTries;
    lblUserName->setCaption(m_session.CurrentUserName + trainertext::kTestingSuffix);
}

void frmMain::btnDrill_Click(std::int16_t)
{
    m_recorder.endRun();
    markTableReady();
    picHidden->hide();
    if (chkFindHidden->value() != 0) {
        closeOptionsPanel();
        PracticeRun = true;
        picWorkArea->hide();
        picHidden->show();
        RunHits = 0;
        RunTries = 0;
        lblUserName->setCaption(m_session.CurrentUserName + trainertext::kPracticingSuffix);
        DealRound();
    } else {
        closeOptionsPanel();
        picWorkArea->show();
        RunHits = 0;
        RunTries = 0;
        PracticeRun = true;
        lblUserName->setCaption(m_session.CurrentUserName + trainertext::kPracticingSuffix);
    }
}

void frmMain::btnStop_Click(std::int16_t)
{
    // The run state, the score line, the meter and any armed timer stay as they are; the run on
    // record ends.
    m_recorder.endRun();
    picWorkArea->hide();
    picHidden->hide();
    lblUserName->setCaption(m_session.CurrentUserName);
}
