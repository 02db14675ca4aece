// What a counted try's record holds besides the guess: the deck, Play Blind, the deal, and how long
// the guess took from the moment the table was ready for it.

#include "frmMain.h"

void frmMain::markTableReady()
{
    m_tableReady.start();
}

TryRecorder::CountedTry frmMain::countedTry(std::int16_t guess, std::int16_t target, bool hit) const
{
    TryRecorder::CountedTry counted;
    counted.deck = Option1(1)->value()   ? history::Deck::Colors
                   : Option1(2)->value() ? history::Deck::PlayingCards
                                         : history::Deck::Zener;
    counted.blind = chkBlindMode->value() == 1;
    counted.guess = guess;
    counted.target = target;
    for (size_t position = 1; position <= 5; ++position)
        counted.layout[position - 1] = std::int8_t(DealtFaces[position]);
    counted.hit = hit;
    counted.responseMs = m_tableReady.isValid() ? m_tableReady.elapsed() : -1;
    return counted;
}

void frmMain::Form_Unload()
{
    m_recorder.endRun();
}
