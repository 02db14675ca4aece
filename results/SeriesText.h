#pragma once

#include "history/SeriesRecord.h"

#include <QString>

#include <vector>

// The words of declared series, without a screen: each series' line with its exact verdict, the
// tally over the series that are done, and the planner's power sentences.
namespace results {

// "Series 2: 25 tries (plain game, Zener cards), 9 hits. Chance alone scores this well or better
// only about 1 time in 21." An open series says how far it has come; one ended early says how many
// untried tries were counted as misses.
QString seriesLine(int number, const history::SeriesCount &series);
// "k of m series reached the 1-in-20 level; chance alone gives about m/20." over the series done;
// empty when none is done.
QString seriesTallyLine(const std::vector<history::SeriesCount> &series);
// For a series of `length` tries: how often a 1-in-20 result comes if the true hit rate were 22, 25
// or 30 %, and how many tries would give that 4 times in 5.
QString seriesPowerText(int length);

} // namespace results
