#include "DrawStream.h"

#include <sodium.h>

#include <algorithm>
#include <cmath>

namespace proof {

namespace {
constexpr char kDrawTag[] = "qxo/draw/v1";
}

DrawStream::DrawStream(const Digest &seed)
{
    crypto_auth_hmacsha256_init(&m_keyed, seed.data(), seed.size());
}

DrawStream::~DrawStream()
{
    sodium_memzero(&m_keyed, sizeof m_keyed);
    sodium_memzero(m_block.data(), m_block.size());
}

std::uint64_t DrawStream::nextWord()
{
    if (m_wordInBlock == 4) {
        // The keyed states are copied rather than made again from the seed: half the work per block.
        crypto_auth_hmacsha256_state state = m_keyed;
        unsigned char message[sizeof kDrawTag - 1 + 8];
        std::copy(kDrawTag, kDrawTag + sizeof kDrawTag - 1, message);
        for (std::size_t i = 0; i < 8; ++i)
            message[sizeof kDrawTag - 1 + i] = static_cast<unsigned char>(m_blockIndex >> (8 * i));
        crypto_auth_hmacsha256_update(&state, message, sizeof message);
        crypto_auth_hmacsha256_final(&state, m_block.data());
        sodium_memzero(&state, sizeof state);
        ++m_blockIndex;
        m_wordInBlock = 0;
    }
    std::uint64_t word = 0;
    const std::size_t first = std::size_t(m_wordInBlock) * 8;
    for (std::size_t i = 0; i < 8; ++i)
        word |= std::uint64_t(m_block[first + i]) << (8 * i);
    ++m_wordInBlock;
    return word;
}

double DrawStream::next()
{
    // The top 53 bits scaled by 2^-53: exact, at most 1 - 2^-53.
    return static_cast<double>(nextWord() >> 11) * 0x1.0p-53;
}

std::int16_t faceFromUnit(double r)
{
    if (!(r >= 0.0)) // also catches NaN
        return 1;
    return static_cast<std::int16_t>(std::clamp(1.0 + std::floor(r * 5.0), 1.0, 5.0));
}

std::int16_t pickTarget(DrawSource &source)
{
    return faceFromUnit(source.next());
}

DealtFaces dealFaces(DrawSource &source)
{
    DealtFaces dealt{};
    std::array<bool, 6> placed{}; // by face 1..5
    dealt[0] = pickTarget(source);
    dealt[1] = pickTarget(source);
    placed[std::size_t(dealt[1])] = true;
    for (std::size_t cover = 2; cover <= 5; ++cover) {
        std::int16_t face = pickTarget(source);
        while (placed[std::size_t(face)])
            face = pickTarget(source);
        dealt[cover] = face;
        placed[std::size_t(face)] = true;
    }
    return dealt;
}

} // namespace proof
