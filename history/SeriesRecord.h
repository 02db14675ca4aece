#pragma once

#include "HistoryTypes.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// Declared series: a number of counted test tries fixed before the first of them is played, the
// classic fixed-length test. A series is the account's next `length` counted test tries recorded
// after its declaration, across Stop and later program starts. Ending it early is recorded, and the
// tries it never had count as misses, so stopping can never improve its result.
namespace history {

// A series as declared (and, once, ended early). Never changed otherwise.
struct SeriesDeclaration
{
    std::int64_t declaredMs = 0;
    int length = 0; // tries, 10..10 000
    Game game = Game::Plain;
    Deck deck = Deck::Zener;
    std::optional<std::int64_t> endedEarlyMs;
};

// A series with the tries that belong to it counted.
struct SeriesCount
{
    SeriesDeclaration declared;
    int tried = 0; // tries played in it, 0..length
    int hits = 0;
    bool endedEarly() const { return declared.endedEarlyMs.has_value() && tried < declared.length; }
    bool closed() const { return tried >= declared.length || declared.endedEarlyMs.has_value(); }
};

// A counted try as the series count it: when it was recorded and whether it hit.
struct TimedHit
{
    std::int64_t timeMs = 0;
    bool hit = false;
};

// Counts each series over the account's tries (in the order recorded, oldest first): a series takes
// the first `length` tries recorded after its declaration, none recorded after its early end.
std::vector<SeriesCount> countSeries(const std::vector<SeriesDeclaration> &declared,
                                     const std::vector<TimedHit> &tries);

// An account's series, oldest first, counted over its record in the settings file at filePath.
// std::nullopt, with the reason, when the file or the account cannot be read. A file from before
// series existed has none.
std::optional<std::vector<SeriesCount>> readSeries(const QString &filePath, const QString &userName,
                                                   QString *reason);

// The series still open (declared, neither full nor ended early), if any: the last one declared.
std::optional<SeriesCount> openSeries(const std::vector<SeriesCount> &series);

} // namespace history
