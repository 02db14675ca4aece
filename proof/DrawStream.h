#pragma once

#include "CanonicalBytes.h"

#include <sodium/crypto_auth_hmacsha256.h>

#include <array>
#include <cstdint>

// Chance for the trainer's draws, and the two algorithms that consume it: the face index of the plain
// game and the deal of the find-hidden game. The trainer and the record's replay call the same
// functions, so a replay can never consume a stream differently from play.
namespace proof {

// A source of r with 0 <= r < 1. The trainer's practice generator and a sealed run's stream both
// serve.
class DrawSource
{
public:
    virtual ~DrawSource() = default;
    virtual double next() = 0;
};

// The deterministic stream of a sealed run: block i (i = 0, 1, ...) is
// HMAC-SHA256(key = seed, message = "qxo/draw/v1" || u64 LE i); each block gives four draws, its bytes
// 0-7, 8-15, 16-23, 24-31 read as u64 LE words w, and r = (w >> 11) x 2^-53. O(1) per draw. Holds
// state made from the seed, wiped when the stream goes.
class DrawStream : public DrawSource
{
public:
    explicit DrawStream(const Digest &seed);
    ~DrawStream() override;
    DrawStream(const DrawStream &) = delete;
    DrawStream &operator=(const DrawStream &) = delete;

    double next() override;
    // The next 64-bit word of the stream (what next() scales).
    std::uint64_t nextWord();

private:
    crypto_auth_hmacsha256_state m_keyed; // HMAC's keyed inner and outer states, made once
    Digest m_block{};
    std::uint64_t m_blockIndex = 0;
    int m_wordInBlock = 4; // 4: no block drawn yet
};

// Slot 0 the chosen (face-up) face, slots 1..5 the faces under covers 1..5, each of 1..5 once.
using DealtFaces = std::array<std::int16_t, 6>;

// Face index 1 + floor(5r), kept within 1..5 for any r (NaN, negative, 1 or more).
std::int16_t faceFromUnit(double r);
// The plain game's computer card: one draw.
std::int16_t pickTarget(DrawSource &source);
// The find-hidden deal: the chosen face is drawn on its own; cover 1 takes the next draw; covers
// 2..5 each draw again while the drawn face is already placed. Draws are taken in exactly that order.
DealtFaces dealFaces(DrawSource &source);

} // namespace proof
