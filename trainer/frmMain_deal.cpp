// The trainer's randomness: the computer's card of the plain game and the deal of the find-hidden game.

#include "frmMain.h"

#include "FaceDraw.h"
#include "TrainerTexts.h"

std::int16_t frmMain::PickTarget()
{
    return facedraw::drawFace(*m_random);
}

void frmMain::DealRound()
{
    for (std::int16_t i = 1; i <= 5; ++i)
        Card(i)->setTag(QString());

    DealtFaces = dealFaceIndexes(*m_random);

    // Faces are handed on by identity: a hidden card shows the very picture object of its Card(n), so
    // the find-hidden game can judge a hit by comparing pictures.
    HiddenCard(0)->setPicture(Card(DealtFaces[0])->picture());
    for (std::int16_t position = 1; position <= 5; ++position) {
        platform::Image *face = Card(DealtFaces[position]);
        HiddenCard(position)->setPicture(face->picture());
        face->setTag(trainertext::kTakenMark);
    }
    markTableReady();
}
