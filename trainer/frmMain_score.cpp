// The score line, the stored totals and the accuracy meter after every counted guess.

#include "frmMain.h"

#include "MeterBand.h"
#include "ScoreText.h"
#include "TrainerHost.h"
#include "TrainerTexts.h"

#include "platform/UserSession.h"

#include <QLocale>

void frmMain::UpdateScore(const TryRecorder::CountedTry *counted)
{
    RunAccuracy = scoretext::roundedAccuracy(RunHits, RunTries);

    QString text = scoretext::scoreLine(RunTries, RunHits, RunAccuracy, QLocale());
    if (chkHideScore->value() == 1)
        text = trainertext::kHideScore;
    lblStats->setCaption(text);

    if (!PracticeRun) {
        // Both totals and the try's record in one transaction: a crash between them can never leave
        // a hit stored without its try, or a try counted without its record. A write the disk refuses
        // is kept and goes in with the next one, or at the end.
        m_recorder.saveTotals(m_session.CurrentUserName, m_session.UserHits, m_session.UserTries, counted);
    }

    // The meter moves whether or not it shows, so it is right the moment it is shown again.
    if (const auto position = meterband::meterPosition(RunAccuracy)) {
        shapeMeter->setTop(static_cast<float>(position->top));
        shapeMeter->setFillColor(position->fillColor);
    }

    if (!PracticeRun)
        m_host.tryCounted();
}

void frmMain::chkUseMeter_Click()
{
    picMeter->setVisible(chkUseMeter->value() == 1);
}
