#pragma once

#include <QString>

#include <cstdint>

// What each card face is called when a screen reader names a card: the three decks the options panel
// offers, faces 1..5 in the order the face row shows them.
namespace facenames {

enum class Deck
{
    Zener,
    Colors,
    PlayingCards,
};

// The face's name ("star", "red", "ace of spades"); empty outside 1..5.
QString faceName(Deck deck, std::int16_t face);

} // namespace facenames
