// The trainer's randomness: the computer's card of the plain game and the deal of the find-hidden game,
// both drawn by the run from its draw source.

#include "frmMain.h"

#include "TrainerTexts.h"

std::int16_t frmMain::PickTarget()
{
    return m_run->drawTarget();
}

void frmMain::DealRound()
{
    for (std::int16_t i = 1; i <= 5; ++i)
        Card(i)->setTag(QString());

    const DealtFaceIndexes &dealt = m_run->deal();

    // A hidden card shows the very picture object of its Card(n), and the chosen card that of
    // Card(dealt[0]). The run judges a hit by face index (dealt[cover] == dealt[0]); as the five
    // Card(1..5) hold five different pictures, equal indexes and the same picture are one and the
    // same, and a deck change between deal and guess changes neither.
    HiddenCard(0)->setPicture(Card(dealt[0])->picture());
    for (std::int16_t position = 1; position <= 5; ++position) {
        platform::Image *face = Card(dealt[position]);
        HiddenCard(position)->setPicture(face->picture());
        face->setTag(trainertext::kTakenMark);
    }
}
