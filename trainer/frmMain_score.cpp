// The score line, the accuracy meter, and the application told of a counted try.

#include "frmMain.h"

#include "MeterBand.h"
#include "ScoreText.h"
#include "TrainerHost.h"
#include "TrainerTexts.h"

#include <QLocale>

void frmMain::UpdateScore()
{
    const TrainerRun &run = *m_run;
    QString text = scoretext::scoreLine(run.RunTries(), run.RunHits(), run.RunAccuracy(), QLocale());
    if (chkHideScore->value() == 1)
        text = trainertext::kHideScore;
    lblStats->setCaption(text);

    // The meter moves whether or not it shows, so it is right the moment it is shown again.
    if (const auto position = meterband::meterPosition(run.RunAccuracy())) {
        shapeMeter->setTop(static_cast<float>(position->top));
        shapeMeter->setFillColor(position->fillColor);
    }

    // The try is stored already (the run writes it with the totals).
    if (!run.PracticeRun())
        m_host.tryCounted();
    if (m_run->takeClosedSeries())
        m_host.seriesClosed();
}

void frmMain::chkUseMeter_Click()
{
    picMeter->setVisible(chkUseMeter->value() == 1);
}

void frmMain::resetMeter()
{
    // Chance level, where the meter stands when the window opens.
    const auto position = meterband::meterPosition(meterband::kChanceAccuracy);
    shapeMeter->setTop(static_cast<float>(position->top));
    shapeMeter->setFillColor(position->fillColor);
}
