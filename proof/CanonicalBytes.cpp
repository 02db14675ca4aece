#include "CanonicalBytes.h"

#include <sodium.h>

namespace proof {

CanonicalBytes &CanonicalBytes::u8(std::uint8_t value)
{
    m_bytes.append(char(value));
    return *this;
}

CanonicalBytes &CanonicalBytes::u64(std::uint64_t value)
{
    char bytes[8];
    for (std::size_t i = 0; i < 8; ++i)
        bytes[i] = char((value >> (8 * i)) & 0xff);
    m_bytes.append(bytes, 8);
    return *this;
}

CanonicalBytes &CanonicalBytes::i64(std::int64_t value)
{
    return u64(static_cast<std::uint64_t>(value)); // two's complement
}

CanonicalBytes &CanonicalBytes::text(const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    const auto size = static_cast<std::uint32_t>(utf8.size());
    for (int shift = 0; shift < 32; shift += 8)
        m_bytes.append(char((size >> shift) & 0xff));
    m_bytes.append(utf8);
    return *this;
}

CanonicalBytes &CanonicalBytes::raw(const char *ascii)
{
    m_bytes.append(ascii);
    return *this;
}

CanonicalBytes &CanonicalBytes::digest(const Digest &value)
{
    m_bytes.append(reinterpret_cast<const char *>(value.data()), qsizetype(value.size()));
    return *this;
}

Digest sha256(const QByteArray &bytes)
{
    Digest out{};
    crypto_hash_sha256(out.data(), reinterpret_cast<const unsigned char *>(bytes.constData()),
                       static_cast<unsigned long long>(bytes.size()));
    return out;
}

Digest sha256(const Digest &a, const QByteArray &b)
{
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    crypto_hash_sha256_update(&state, a.data(), a.size());
    crypto_hash_sha256_update(&state, reinterpret_cast<const unsigned char *>(b.constData()),
                              static_cast<unsigned long long>(b.size()));
    Digest out{};
    crypto_hash_sha256_final(&state, out.data());
    return out;
}

QString toHex(const Digest &value)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(value.data()), qsizetype(value.size())).toHex());
}

std::optional<Digest> fromHex(QStringView text)
{
    if (text.size() != 64)
        return std::nullopt;
    for (const QChar c : text) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return std::nullopt;
    }
    const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    Digest out{};
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return out;
}

} // namespace proof
