#include "AccountRules.h"

#include "settings/Settings.h"

#include <algorithm>

namespace accounts {

namespace {

using accountstore::kHitsKey;
using accountstore::kNoAccount;
using accountstore::kPasswordKey;
using accountstore::kTriesKey;
using accountstore::kUserNameKey;

const QString kZeroCount = QStringLiteral("0");

// Read in place of a missing "Password" entry. It has the form of a hash string but is not a valid
// one, so libsodium rejects it against every typed text (a missing entry read as the word NOTFOUND
// would let that word in).
const QString kNoPassword = QStringLiteral("$argon2id$no-password");

} // namespace

bool AccountRules::exists(const QString &name) const
{
    return GetSetting(kAccountsApplication, name, kUserNameKey, kNoAccount) != kNoAccount;
}

bool AccountRules::checkPassword(const QString &name, const QString &typed) const
{
    const QString stored = GetSetting(kAccountsApplication, name, kPasswordKey, kNoPassword);
    if (stored == kNoPassword || !passwordMatches(typed, stored))
        return false;
    if (!isPasswordHash(stored)) {
        // A password filled into the store by hand: keep it only as a hash from now on. When the
        // hash or the write fails the login still stands and the next login tries again.
        const QString hash = hashPassword(typed, m_hashLimits);
        if (!hash.isNull())
            SaveSetting(kAccountsApplication, name, kPasswordKey, hash);
    }
    return true;
}

AccountRules::CreateResult AccountRules::create(const QString &name, const QString &password) const
{
    if (exists(name))
        return CreateResult::NameTaken;
    const QString hash = hashPassword(password, m_hashLimits);
    if (hash.isNull())
        return CreateResult::HashFailed;
    const bool saved = SaveSettings(
        kAccountsApplication, name,
        {{kUserNameKey, name}, {kPasswordKey, hash}, {kHitsKey, kZeroCount}, {kTriesKey, kZeroCount}});
    return saved ? CreateResult::Created : CreateResult::StoreFailed;
}

AccountCounts AccountRules::loadCounts(const QString &name) const
{
    AccountCounts counts;
    const auto load = [&](const QString &key, std::int16_t *count) {
        const QString text = GetSetting(kAccountsApplication, name, key, kZeroCount);
        *count = readCount(text);
        if (!isSoundCount(text))
            counts.unsound << QStringLiteral("%1 \"%2\"").arg(key, text);
    };
    load(kHitsKey, &counts.hits);
    load(kTriesKey, &counts.tries);
    counts.hits = std::min(counts.hits, counts.tries);
    return counts;
}

bool AccountRules::passwordTooCostly(const QString &name) const
{
    const QString stored = GetSetting(kAccountsApplication, name, kPasswordKey, kNoPassword);
    return isPasswordHash(stored) && !hashCostsAreSane(stored);
}

} // namespace accounts
