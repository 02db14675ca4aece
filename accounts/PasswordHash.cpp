#include "PasswordHash.h"

#include <QByteArray>
#include <QStringList>

#include <sodium.h>

#include <algorithm>
#include <array>
#include <limits>

namespace accounts {

static_assert(kMinimumHashLimits.opsLimit == crypto_pwhash_argon2id_OPSLIMIT_MIN);
static_assert(kMinimumHashLimits.memLimit == crypto_pwhash_argon2id_MEMLIMIT_MIN);

namespace {

const QString kHashPrefix = QStringLiteral("$argon2");

// libsodium must be initialised once before use; it picks its fastest code paths there.
bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// Equal exactly when a and b are equal, in time that does not depend on where they differ. Both
// are first reduced to keyed BLAKE2b digests of one length (a fresh random key each call, so
// nothing about the digests can be prepared in advance), then the digests are compared with
// sodium_memcmp. Unequal lengths therefore never end the compare early.
bool equalInConstantTime(const QByteArray &a, const QByteArray &b)
{
    std::array<unsigned char, crypto_generichash_KEYBYTES> key{};
    randombytes_buf(key.data(), key.size());
    std::array<unsigned char, crypto_generichash_BYTES> digestA{};
    std::array<unsigned char, crypto_generichash_BYTES> digestB{};
    crypto_generichash(digestA.data(), digestA.size(), reinterpret_cast<const unsigned char *>(a.constData()),
                       static_cast<unsigned long long>(a.size()), key.data(), key.size());
    crypto_generichash(digestB.data(), digestB.size(), reinterpret_cast<const unsigned char *>(b.constData()),
                       static_cast<unsigned long long>(b.size()), key.data(), key.size());
    sodium_memzero(key.data(), key.size());
    return sodium_memcmp(digestA.data(), digestB.data(), digestA.size()) == 0;
}

} // namespace

QString hashPassword(const QString &password, HashLimits limits)
{
    if (!sodiumReady())
        return QString();
    QByteArray bytes = password.toUtf8();
    std::array<char, crypto_pwhash_STRBYTES> out{};
    const int result =
        crypto_pwhash_str_alg(out.data(), bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                              limits.opsLimit, limits.memLimit, crypto_pwhash_ALG_ARGON2ID13);
    sodium_memzero(bytes.data(), static_cast<size_t>(bytes.size()));
    if (result != 0)
        return QString();
    return QString::fromLatin1(out.data());
}

bool isPasswordHash(const QString &stored)
{
    return stored.startsWith(kHashPrefix);
}

bool hashCostsAreSane(const QString &stored)
{
    constexpr qint64 kMaxMemoryKiB = 256 * 1024;
    constexpr qint64 kMaxPasses = 16;
    constexpr qint64 kMaxLanes = 4;
    constexpr qint64 kMaxWorkKiB = 4 * kMaxMemoryKiB;
    // "$argon2id$v=19$m=19456,t=2,p=1$salt$hash"
    for (const QString &field : stored.split(u'$')) {
        if (!field.startsWith(QLatin1String("m=")))
            continue;
        qint64 memory = -1;
        qint64 passes = -1;
        qint64 lanes = -1;
        for (const QString &cost : field.split(u',')) {
            bool ok = false;
            // More than ten digits is absurd whatever it says; toLongLong would also take signs.
            const QString digits = cost.mid(2);
            const qint64 value = digits.size() <= 10 ? digits.toLongLong(&ok) : -1;
            const qint64 number = ok ? value : std::numeric_limits<qint64>::max();
            if (cost.startsWith(QLatin1String("m=")))
                memory = number;
            else if (cost.startsWith(QLatin1String("t=")))
                passes = number;
            else if (cost.startsWith(QLatin1String("p=")))
                lanes = number;
        }
        return memory <= kMaxMemoryKiB && passes <= kMaxPasses && lanes <= kMaxLanes &&
               memory * std::max<qint64>(passes, 0) <= kMaxWorkKiB;
    }
    return true;
}

bool passwordMatches(const QString &typed, const QString &stored)
{
    if (!sodiumReady())
        return false;
    QByteArray typedBytes = typed.toUtf8();
    bool matches = false;
    if (isPasswordHash(stored)) {
        const QByteArray hash = stored.toLatin1();
        // libsodium reads the hash as a C string: one that would not fit its buffer or that a NUL
        // would cut short is damaged and matches nothing.
        if (hash.size() < static_cast<qsizetype>(crypto_pwhash_STRBYTES) && !hash.contains('\0') &&
            stored == QString::fromLatin1(hash) && hashCostsAreSane(stored)) {
            matches = crypto_pwhash_str_verify(hash.constData(), typedBytes.constData(),
                                               static_cast<unsigned long long>(typedBytes.size())) == 0;
        }
    } else {
        QByteArray storedBytes = stored.toUtf8();
        matches = equalInConstantTime(typedBytes, storedBytes);
        sodium_memzero(storedBytes.data(), static_cast<size_t>(storedBytes.size()));
    }
    sodium_memzero(typedBytes.data(), static_cast<size_t>(typedBytes.size()));
    return matches;
}

} // namespace accounts
