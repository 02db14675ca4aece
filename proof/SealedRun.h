#pragma once

#include "DrawStream.h"

#include <QString>

#include <memory>
#include <vector>

namespace proof {

// What a commitment binds the seed to: the account, the game whose draws the seed makes, and the
// moment the run started. Deck and Play Blind may change during a run and decide no draw, so they
// are left out; the run's id is given by the store after the run starts, so it is left out too.
struct RunIdentity
{
    QString foldedAccount;       // the account's name in its compared (case-folded) form
    std::int64_t game = 1;       // as stored: 1 plain, 2 find-hidden
    std::int64_t startUtcMs = 0; // the run's start as stored, ms since 1970 UTC
};

// SHA-256("qxo/commit/v1" || seed || text(foldedAccount) || i64 game || i64 startUtcMs).
Digest commitment(const Digest &seed, const RunIdentity &identity);

// One test run's seal: a fresh 32-byte seed from the operating system's secure random source, held
// in memory only and wiped when the run goes; its commitment, for the record before the first try;
// the stream every draw of the run comes from; the seed itself, revealed for the record at the end.
class SealedRun
{
public:
    explicit SealedRun(const RunIdentity &identity);
    ~SealedRun();
    SealedRun(const SealedRun &) = delete;
    SealedRun &operator=(const SealedRun &) = delete;

    const Digest &commitment() const { return m_commitment; }
    DrawSource &draws() { return *m_stream; }
    // The seed, for the run-end row. Reveal it only once no draw of the run remains to be guessed.
    const Digest &reveal() const { return m_seed; }

private:
    Digest m_seed{};
    Digest m_commitment{};
    std::unique_ptr<DrawStream> m_stream;
};

// For tests of the trainer only: while a seed is set, every SealedRun made takes it instead of a fresh
// one, so the test can replay each run's draws with a DrawStream of the same seed. Null restores fresh
// seeds from the secure source. The program never calls it.
void setFixedSeedForTesting(const Digest *seed);

// What one recorded try's draws were: the computer's card, and in the find-hidden game the faces
// under covers 1..5 (all 0 in the plain game).
struct ReplayedTry
{
    std::int16_t target = 0;
    std::array<std::int8_t, 5> layout{};
};

// The faces under covers 1..5 as the record holds them: a decimal number (31524); 0 in the plain game.
std::int64_t layoutNumber(const std::array<std::int8_t, 5> &layout);

// Every try of a sealed run recomputed from its seed, as play consumed the stream: one pickTarget
// per try in the plain game (game 1), one dealFaces per try in the find-hidden game (game 2).
std::vector<ReplayedTry> replayRun(const Digest &seed, std::int64_t game, int tries);

} // namespace proof
