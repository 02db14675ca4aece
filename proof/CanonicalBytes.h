#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The byte encodings every hash of the record is taken over (docs/verification.md spells them out):
// integers fixed-width little-endian, text as a 32-bit little-endian byte count then its UTF-8 bytes,
// digests as their 32 raw bytes. Knows nothing of the program beyond bytes.
namespace proof {

// A SHA-256 value, a commitment, a chain value or a 32-byte seed.
using Digest = std::array<unsigned char, 32>;

class CanonicalBytes
{
public:
    CanonicalBytes() { m_bytes.reserve(128); } // room for any row of the record
    CanonicalBytes &u8(std::uint8_t value);
    CanonicalBytes &i64(std::int64_t value);
    CanonicalBytes &u64(std::uint64_t value);
    CanonicalBytes &text(const QString &value); // u32 byte count, then UTF-8
    CanonicalBytes &raw(const char *ascii);     // a domain tag, no length
    CanonicalBytes &digest(const Digest &value);

    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

Digest sha256(const QByteArray &bytes);
// SHA-256 of a (32 bytes) followed by b: the step of the chain, without copying a.
Digest sha256(const Digest &a, const QByteArray &b);

// 64 lower-case hex digits.
QString toHex(const Digest &value);
// 64 hex digits (either case) or nothing.
std::optional<Digest> fromHex(QStringView text);

} // namespace proof
