#include "FaceNames.h"

#include <array>

namespace facenames {

namespace {

using FaceTable = std::array<const char16_t *, 5>;

// Faces 1..5 of each deck, as drawn on zener-n, color-n and spade-n.
constexpr FaceTable kZener{u"star", u"circle", u"three wavy lines", u"square", u"cross"};
constexpr FaceTable kColors{u"red", u"yellow", u"green", u"blue", u"magenta"};
constexpr FaceTable kPlayingCards{u"ace of spades", u"king of spades", u"queen of spades", u"jack of spades",
                                  u"ten of spades"};

const FaceTable &tableOf(Deck deck)
{
    switch (deck) {
    case Deck::Colors:
        return kColors;
    case Deck::PlayingCards:
        return kPlayingCards;
    case Deck::Zener:
        break;
    }
    return kZener;
}

} // namespace

QString faceName(Deck deck, std::int16_t face)
{
    if (face < 1 || face > 5)
        return QString();
    return QString::fromUtf16(tableOf(deck)[static_cast<std::size_t>(face - 1)]);
}

} // namespace facenames
