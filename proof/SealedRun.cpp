#include "SealedRun.h"

#include <sodium.h>

#include <stdexcept>

namespace proof {

namespace {
const char *const kCommitTag = "qxo/commit/v1";
constexpr std::int64_t kFindHidden = 2;
const Digest *fixedSeedForTesting = nullptr;
} // namespace

void setFixedSeedForTesting(const Digest *seed)
{
    fixedSeedForTesting = seed;
}

Digest commitment(const Digest &seed, const RunIdentity &identity)
{
    return sha256(CanonicalBytes()
                      .raw(kCommitTag)
                      .digest(seed)
                      .text(identity.foldedAccount)
                      .i64(identity.game)
                      .i64(identity.startUtcMs)
                      .bytes());
}

SealedRun::SealedRun(const RunIdentity &identity)
{
    if (sodium_init() < 0)
        throw std::runtime_error("libsodium cannot start: no secure random source");
    if (fixedSeedForTesting)
        m_seed = *fixedSeedForTesting;
    else
        randombytes_buf(m_seed.data(), m_seed.size());
    m_commitment = proof::commitment(m_seed, identity);
    m_stream = std::make_unique<DrawStream>(m_seed);
}

SealedRun::~SealedRun()
{
    sodium_memzero(m_seed.data(), m_seed.size());
}

std::int64_t layoutNumber(const std::array<std::int8_t, 5> &layout)
{
    std::int64_t number = 0;
    for (const std::int8_t face : layout)
        number = number * 10 + face;
    return number;
}

std::vector<ReplayedTry> replayRun(const Digest &seed, std::int64_t game, int tries)
{
    std::vector<ReplayedTry> replayed(std::size_t(std::max(tries, 0)));
    DrawStream stream(seed);
    for (ReplayedTry &one : replayed) {
        if (game == kFindHidden) {
            const DealtFaces dealt = dealFaces(stream);
            one.target = dealt[0];
            for (std::size_t cover = 1; cover <= 5; ++cover)
                one.layout[cover - 1] = std::int8_t(dealt[cover]);
        } else {
            one.target = pickTarget(stream);
        }
    }
    return replayed;
}

} // namespace proof
