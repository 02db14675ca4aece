#pragma once

#include <QString>

// The Results window's own texts, each defined once.
namespace resultstext {

inline const QString kTitlePrefix = QStringLiteral("Results - ");
// The summary's first line: %1 the account, %2 hits, %3 tries.
inline const QString kSummaryTitle = QStringLiteral("%1: %2 in %3");
// %1: what disagrees, as kDisagreement gives it once for Tries and once for Hits.
inline const QString kTotalsDisagree = QStringLiteral(
    "The stored totals and the recorded history disagree (%1), so no verdict is drawn from them.");
// %1: Tries or Hits, %2: stored, %3: what the record explains, %4: the difference.
inline const QString kDisagreement = QStringLiteral("%1: %2 stored, the record explains %3, %4 apart");
// %1: how many rows.
inline const QString kInvalidTries = QStringLiteral("%1 recorded tries could not be true and are left out.");
inline const QString kInvalidTry = QStringLiteral("1 recorded try could not be true and is left out.");
inline const QString kNoTries = QStringLiteral("No tries recorded yet: start a test run with Test.");
inline const QString kUnreadable = QStringLiteral("The history could not be read: %1");
inline const QString kSplitsCaution =
    QStringLiteral("Looking at several splits makes a lucky one likely, so the whole record is what counts.");

inline const QString kWholeRecord = QStringLiteral("Whole record");
inline const QString kTries = QStringLiteral("Tries");
inline const QString kHits = QStringLiteral("Hits");
inline const QString kAccuracy = QStringLiteral("Accuracy");
inline const QString kChanceGives = QStringLiteral("Chance alone gives");
// The figures below the evidence hold only for a number of tries fixed before the first one.
inline const QString kFixedInAdvance = QStringLiteral(" (tries fixed in advance)");
inline const QString kZ = QStringLiteral("z (tries fixed in advance)");
inline const QString kPAtLeast = QStringLiteral("Chance of this or better (tries fixed in advance)");
inline const QString kPAtLeastExplained =
    QStringLiteral("The exact probability of scoring at least this well by chance alone");
inline const QString kInterval = QStringLiteral("95 % interval of hit rate (tries fixed in advance)");
inline const QString kEvidence = QStringLiteral("Evidence against chance");
// %1: E now, %2: the highest E so far.
inline const QString kEvidenceValue = QStringLiteral("%1 to 1 (highest so far: %2 to 1)");
inline const QString kTrend = QStringLiteral("Am I improving?");
inline const QString kPlus1 = QStringLiteral("Guess against the next card (exploratory)");
inline const QString kVariance = QStringLiteral("Spread of run scores (exploratory)");
inline const QString kMinus1 = QStringLiteral("Guess against the card just seen (a habit, not evidence)");
// %1 hits, %2 tries, %3 p, %4 Holm-adjusted p.
inline const QString kPlus1Value = QStringLiteral("%1 of %2 (p = %3, adjusted for three scores: %4)");
// %1 chi-squared, %2 runs, %3 p, %4 adjusted p.
inline const QString kVarianceValue =
    QStringLiteral("chi-squared %1 over %2 (p = %3, adjusted for three scores: %4)");
// %1 hits, %2 tries, %3 what chance gives.
inline const QString kMinus1Value = QStringLiteral("%1 of %2, chance gives %3");
inline const QString kMinus1Habit = QStringLiteral(": your guesses follow the card you just saw");
inline const QString kTrendHolm = QStringLiteral("Trend, adjusted for three scores");
// Words for a chance: "about 1 in 4" (%1 the readable count), "about 6 in 10" (%1 tenths).
inline const QString kChanceOneIn = QStringLiteral("about 1 in %1");
inline const QString kChanceTenths = QStringLiteral("about %1 in 10");
inline const QString kChanceNearlyAlways = QStringLiteral("nearly always");
// %1 the chance in words, %2 the exact p.
inline const QString kChanceWithP = QStringLiteral("%1 (p = %2)");
inline const QString kBeforeHistory = QStringLiteral("Before the history began");

// The three questions the window answers, each a tab, and the details behind the first.
inline const QString kTabAboveChance = QStringLiteral("&Above chance?");
inline const QString kTabImproving = QStringLiteral("Am I &improving?");
inline const QString kTabSeries = QStringLiteral("Se&ries");
inline const QString kDetails = QStringLiteral("&Details: every figure of the whole record");
inline const QString kTabRuns = QStringLiteral("R&uns");
inline const QString kTabSplits = QStringLiteral("By &game and deck");

inline const QString kSelectAll = QStringLiteral("Select all");

inline const QString kColumnStart = QStringLiteral("Start");
inline const QString kColumnGame = QStringLiteral("Game");
inline const QString kColumnDecks = QStringLiteral("Deck");
inline const QString kColumnSplit = QStringLiteral("Split");
inline const QString kColumnChance = QStringLiteral("Chance of this or better");

inline const QString kGamePlain = QStringLiteral("Plain");
inline const QString kGameFindHidden = QStringLiteral("Find hidden");
inline const QString kDeckZener = QStringLiteral("Zener");
inline const QString kDeckColor = QStringLiteral("Color Cards");
inline const QString kDeckPlaying = QStringLiteral("Playing Cards");

inline const QString kDeviationTitle = QStringLiteral("Hits above chance, try by try");
inline const QString kDeviationAxisX = QStringLiteral("Recorded try");
inline const QString kDeviationAxisY = QStringLiteral("Hits - tries/5");
inline const QString kDeviationCaption =
    QStringLiteral("Hits minus tries/5 over the whole history. At any one try, chance alone stays inside "
                   "the grey band 95 % of the time. Beyond a dashed line the evidence reaches 20 to 1: "
                   "however often you look, chance alone gets there at most 1 time in 20.");
inline const QString kLegendYou = QStringLiteral("You");
inline const QString kLegendBand = QStringLiteral("95 % of chance");
inline const QString kLegendBoundary = QStringLiteral("Evidence reaches 20 to 1");
inline const QString kLegendBoundaryShort = QStringLiteral("20 to 1");
inline const QString kSpreadTitle = QStringLiteral("How the runs' accuracies are spread");
inline const QString kSpreadAxisX = QStringLiteral("Accuracy of the run");
inline const QString kSpreadAxisY = QStringLiteral("Runs");
inline const QString kSpreadCaption =
    QStringLiteral("Bars: your runs by accuracy. Outlines: how many runs of the same lengths chance "
                   "alone would put in each band.");

inline const QString kTrendTitle = QStringLiteral("Hit rate of each run, in time order");
inline const QString kTrendAxisX = QStringLiteral("Run");
inline const QString kTrendAxisY = QStringLiteral("Hit rate (%)");
inline const QString kLegendRuns = QStringLiteral("Your runs");
inline const QString kLegendChance = QStringLiteral("Chance (20 %)");
inline const QString kLegendTrend = QStringLiteral("Trend");
inline const QString kTrendCaption =
    QStringLiteral("One dot per run: the bigger the dot, the more tries it had. The solid line is the "
                   "trend fitted to your runs, longer runs counting for more; the dashed line is what "
                   "chance alone gives.");
// %1: the trend test's two-sided p in words ("about 1 in 1 600").
inline const QString kTrendChance =
    QStringLiteral("How often chance alone draws a trend this steep, up or down: %1.");
// %1: how many runs, %2 the trend's slope in percentage points per run, signed.
inline const QString kTrendDescription =
    QStringLiteral("%1 in time order; the trend line changes by %2 percentage points per run.");

inline const QString kExportCsv = QStringLiteral("&Export CSV...");
inline const QString kSaveChart = QStringLiteral("&Save chart...");
inline const QString kSaveDeviation = QStringLiteral("&Hits above chance...");
inline const QString kSaveSpread = QStringLiteral("&Spread of the runs' accuracies...");
inline const QString kSaveTrend = QStringLiteral("Hit rate of each &run...");
inline const QString kClose = QStringLiteral("&Close");

inline const QString kExportTitle = QStringLiteral("Export the try history");
inline const QString kCsvFilter = QStringLiteral("CSV files (*.csv)");
inline const QString kSaveChartTitle = QStringLiteral("Save chart");
inline const QString kChartFilters = QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)");
inline const QString kExportFailed = QStringLiteral("The history could not be exported to %1: %2");
inline const QString kSaveChartFailed = QStringLiteral("The chart could not be saved to %1.");
// After a file was written, %1 its path.
inline const QString kExported = QStringLiteral("Exported the try history to %1");
inline const QString kChartSaved = QStringLiteral("Saved the chart to %1");

} // namespace resultstext
