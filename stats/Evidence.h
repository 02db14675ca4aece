#pragma once

#include <QJsonValue>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace stats {

// Evidence against chance (1 in 5) for n tries with k hits, valid however often the record is looked at
// and whenever the player stops. E_above = sum_j a_j (t_j / 0.2)^k ((1 - t_j) / 0.8)^(n - k) with hit
// rates t = 22, 25, 30, 40 % and weights a = 0.4, 0.3, 0.2, 0.1; E_below the same with t = 18, 15, 10,
// 5 %; E = (E_above + E_below) / 2. Under pure chance every term is a likelihood ratio of mean 1, so E
// is a non-negative martingale starting at 1 and, by Ville's inequality, ever reaches c with chance at
// most 1/c. Held as base-10 logarithms (summed in log space), so a perfect record of 32 767 tries
// (E = 10^9862) never overflows and a hopeless one never reaches 0.
struct Evidence
{
    double log10Above = 0;
    double log10Below = 0;
    double log10Value = 0; // log10 E
    // The side the evidence points to: above chance unless E_below is the larger.
    bool above() const { return log10Above >= log10Below; }
};
Evidence evidence(std::int64_t tries, std::int64_t hits);

// E at or beyond this is called out in the verdict: chance alone gets there at most 1 time in 20.
constexpr double kEvidenceLevel = 20;

// E evaluated along a record: first the tries from before the history began as one block (their order
// is unknown, so E is evaluated once, at the block's end), then every try in time order. Keeps the
// current E and its peak over the points evaluated (the start, E = 1, included). Each step costs a
// fixed handful of operations, however long the record.
class EvidenceTrack
{
public:
    void addBlock(std::int64_t tries, std::int64_t hits);
    void addTry(bool hit);

    std::int64_t tries() const { return m_tries; }
    std::int64_t hits() const { return m_hits; }
    const Evidence &current() const { return m_current; }
    double log10Peak() const { return m_log10Peak; }

private:
    void evaluate();

    std::int64_t m_tries = 0;
    std::int64_t m_hits = 0;
    Evidence m_current;
    double m_log10Peak = 0;
};

// Writes a count given as its base-10 logarithm, for a sentence.
using CountFormat = std::function<QString(double log10Count)>;
// The default: "less than 0.01", "1.6", "62", "840 000", "3.5 × 10^9862".
QString evidenceCountText(double log10Count);

inline const QString kEvidenceTooFew = QStringLiteral("Too few tries to tell yet.");
// %1: E.
inline const QString kEvidenceWithinChance =
    QStringLiteral("This is within what chance alone gives (evidence against chance: %1 to 1).");
// %1: E, both times.
inline const QString kEvidenceAbove =
    QStringLiteral("Above chance: evidence %1 to 1. However long you play and whenever you look, chance "
                   "alone gets this far at most 1 time in %1.");
inline const QString kEvidenceBelow =
    QStringLiteral("Below chance (psi-missing): evidence %1 to 1. However long you play and whenever you "
                   "look, chance alone gets this far at most 1 time in %1.");

// The headline verdict for a record of the given length whose evidence is e.
QString evidenceVerdict(std::int64_t tries, const Evidence &e, const CountFormat &format = evidenceCountText);

// A count for JSON, given as its base-10 logarithm: the number itself from 1e-300 to below 1e300,
// else the text "> 1e300" or "< 1e-300" (never an infinity, and never a 0 that is not one).
QJsonValue jsonCount(double log10Count);

// Where E reaches kEvidenceLevel after n tries, as hits above chance (k - n/5): the fewest hits on the
// upper side (above > 0) and the most on the lower side (below < 0). NaN where no number of hits
// reaches it (short records). E(n, k) is convex in k and below 20 near chance, so every k beyond these
// points reaches the level too.
struct EvidenceBoundary
{
    double above = 0;
    double below = 0;
};
// One entry for each n = 0..maxTries.
std::vector<EvidenceBoundary> evidenceBoundary(std::int64_t maxTries);
// The same for one n alone: a search on each side, a few dozen evaluations however long the record,
// for a chart that needs the boundary at a few hundred points of a long record.
EvidenceBoundary evidenceBoundaryAt(std::int64_t tries);

} // namespace stats
