// The three decks: choosing one puts its five faces, by identity, into the face row Card(1)..Card(5).

#include "frmMain.h"

namespace {

void loadFaces(platform::ControlArray<platform::Image> &row,
               const platform::ControlArray<platform::Image> &deck)
{
    for (std::int16_t i = 1; i <= 5; ++i)
        row(i)->setPicture(deck(i)->picture());
}

} // namespace

void frmMain::Option1_Click(std::int16_t)
{
    if (Option1(1)->value())
        LoadColorCards();
    if (Option1(0)->value())
        LoadZenerCards();
    if (Option1(2)->value())
        LoadPlayingCards();
}

void frmMain::LoadColorCards()
{
    loadFaces(Card, ColorCards);
}

void frmMain::LoadZenerCards()
{
    loadFaces(Card, zCard);
}

void frmMain::LoadPlayingCards()
{
    loadFaces(Card, pCard);
}
