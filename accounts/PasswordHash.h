#pragma once

#include <QString>

#include <cstddef>

// Password storage: the store keeps a libsodium Argon2id string ("$argon2id$v=19$m=...,t=...,p=1$...")
// that carries its own salt and limits, never the password as typed. Passwords reach libsodium as
// UTF-8 with their full length, so a NUL character inside a password takes part in every compare.
namespace accounts {

// Argon2id work limits: passes and memory in bytes.
struct HashLimits
{
    unsigned long long opsLimit = 0;
    std::size_t memLimit = 0;
};

// OWASP's recommendation for Argon2id (2 passes over 19 MiB): well under a fifth of a second per
// login here, and a third of the memory of libsodium's "interactive" limits.
inline constexpr HashLimits kOwaspHashLimits{2, 19u * 1024u * 1024u};
// libsodium's floor (1 pass, 8 KiB): only for tests that create many accounts.
inline constexpr HashLimits kMinimumHashLimits{1, 8192u};

// The Argon2id string for password, or a null string when libsodium could not compute it (out of
// memory).
QString hashPassword(const QString &password, HashLimits limits);

// Whether a stored password value is a hash string rather than text filled into the store by hand.
bool isPasswordHash(const QString &stored);

// Whether a stored hash string asks for work within sane limits: at most 256 MiB of memory, 16
// passes, 4 lanes and 1 GiB-pass in all (this program writes 19 MiB and 2 passes; a hand-made
// "t=100000000" would hang a login for minutes, "m=4194304" take 4 GiB). A string whose limits
// cannot be read is left for libsodium to reject.
bool hashCostsAreSane(const QString &stored);

// Whether typed is the password behind stored. A hash string is verified by libsodium; any other
// stored value is compared as plain text in constant time. A malformed hash string, or one whose costs
// are not sane, matches nothing.
bool passwordMatches(const QString &typed, const QString &stored);

} // namespace accounts
