// Declared series from the trainer: the N key asks the program for its planner, with the game and
// deck chosen here. The window's pictures and texts stay as designed.

#include "frmMain.h"

#include "TrainerHost.h"

history::Game frmMain::chosenGame() const
{
    return chkFindHidden->value() != 0 ? history::Game::FindHidden : history::Game::Plain;
}

void frmMain::planSeries()
{
    m_host.planSeries();
}
