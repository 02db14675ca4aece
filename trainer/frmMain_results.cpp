// The way to the Results window: a click on the score bar, or Ctrl+R while the trainer is active.

#include "frmMain.h"

#include "TrainerHost.h"
#include "TrainerTexts.h"

#include <QShortcut>

void frmMain::connectResultsOpeners()
{
    // The status line lies over most of the score bar and takes its own clicks, so both open it.
    for (platform::Control *bar : std::initializer_list<platform::Control *>{Picture1, lblStats})
        bar->setToolTip(trainertext::kResultsToolTip);
    connect(Picture1, &platform::Control::Click, this, &frmMain::Picture1_Click);
    connect(lblStats, &platform::Control::Click, this, &frmMain::lblStats_Click);
    auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    connect(shortcut, &QShortcut::activated, this, [this] { m_host.openResultsWindow(); });
}

void frmMain::Picture1_Click()
{
    m_host.openResultsWindow();
}

void frmMain::lblStats_Click()
{
    m_host.openResultsWindow();
}
