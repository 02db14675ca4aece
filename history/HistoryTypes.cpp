#include "HistoryTypes.h"

#include <map>

namespace history {

QString gameName(Game game)
{
    return game == Game::FindHidden ? QStringLiteral("find-hidden") : QStringLiteral("plain");
}

QString deckName(Deck deck)
{
    switch (deck) {
    case Deck::Colors:
        return QStringLiteral("colors");
    case Deck::PlayingCards:
        return QStringLiteral("playing-cards");
    case Deck::Zener:
        break;
    }
    return QStringLiteral("zener");
}

namespace {

template <typename KeyOf> std::vector<Split> splitBy(const std::vector<TryRecord> &tries, KeyOf keyOf)
{
    std::map<int, Split> splits;
    for (const TryRecord &record : tries) {
        Split &split = splits[keyOf(record)];
        split.key = keyOf(record);
        ++split.tries;
        split.hits += record.hit ? 1 : 0;
    }
    std::vector<Split> ordered;
    for (const auto &entry : splits)
        ordered.push_back(entry.second);
    return ordered;
}

} // namespace

std::vector<Split> splitByGame(const std::vector<TryRecord> &tries)
{
    return splitBy(tries, [](const TryRecord &record) { return int(record.game); });
}

std::vector<Split> splitByDeck(const std::vector<TryRecord> &tries)
{
    return splitBy(tries, [](const TryRecord &record) { return int(record.deck); });
}

} // namespace history
