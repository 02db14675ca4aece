#pragma once

#include <cstdint>

// Exact binomial figures for n tries with k hits, each try a hit with chance p (1/5 for five cards).
// Tails and interval come from Boost.Math's incomplete beta function, so they stay accurate deep into
// the tails (relative error far below 1e-9 wherever the probability is above 1e-300; smaller
// probabilities may come out as 0, and callers say "less than 1 in 10^300" then).
// Every function takes 0 <= k <= n; k outside that range is clamped into it.
namespace stats {

// The chance of a hit for one guess among five cards.
constexpr double kChanceOfHit = 0.2;
// The variance of one try's hit count under chance alone: p (1 - p) = 0.16.
constexpr double kVariancePerTry = kChanceOfHit * (1 - kChanceOfHit);
// The normal quantile of a two-sided 95 % band (hits within 1.96 standard deviations of n/5).
constexpr double kBand95Z = 1.96;

// Accuracy in percent, hits / tries * 100; 0 without tries.
constexpr double accuracyPercent(std::int64_t tries, std::int64_t hits)
{
    return tries > 0 ? 100.0 * double(hits) / double(tries) : 0.0;
}

// P(X >= k): chance alone scores k hits or more.
double probabilityAtLeast(std::int64_t n, std::int64_t k, double p = kChanceOfHit);
// P(X <= k): chance alone scores k hits or fewer.
double probabilityAtMost(std::int64_t n, std::int64_t k, double p = kChanceOfHit);
// log10 P(X >= k) and log10 P(X <= k): finite however deep the tail (5^-32767 is -22903.15), for
// readers that want a number where the probability itself is below the smallest double.
double log10ProbabilityAtLeast(std::int64_t n, std::int64_t k, double p = kChanceOfHit);
double log10ProbabilityAtMost(std::int64_t n, std::int64_t k, double p = kChanceOfHit);
// Two-sided exact p: twice the smaller tail, at most 1.
double probabilityTwoSided(std::int64_t n, std::int64_t k, double p = kChanceOfHit);

// The exact (Clopper-Pearson) confidence interval of the hit rate, 0..1. confidence e.g. 0.95.
struct Interval
{
    double low = 0;
    double high = 1;
};
Interval clopperPearson(std::int64_t n, std::int64_t k, double confidence = 0.95);

} // namespace stats
