#pragma once

#include "PasswordHash.h"

#include "settings/AccountEntries.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace accounts {

using accountstore::kAccountsApplication;

struct AccountCounts
{
    std::int16_t hits = 0;  // 0..32767, never above tries
    std::int16_t tries = 0; // 0..32767
    // The stored texts that are not counts this program could have written ("Hits \"abc\""), so
    // the user can be told before a guess stores new totals over them; empty when all is sound.
    QStringList unsound;
};

// The account rules over the settings store, without any display: whether an account exists,
// whether a password is the account's, creating an account, and reading its running totals.
// Passwords are stored only as Argon2id strings; a plain-text password filled into the store by hand
// still logs in and is replaced by its hash at that login.
class AccountRules
{
public:
    enum class CreateResult
    {
        Created,
        NameTaken,   // an account of that name exists, in whatever letter case
        HashFailed,  // the password could not be hashed (out of memory); nothing stored
        StoreFailed, // the store refused the write (the user has been told); nothing stored
    };

    // An account exists exactly when its stored "UserName" differs from "NOTFOUND".
    bool exists(const QString &name) const;

    // Whether typed is the password of the account name. An account without a "Password" entry
    // matches nothing. A stored plain-text password that matches is replaced by its hash.
    bool checkPassword(const QString &name, const QString &typed) const;

    // Writes "UserName", "Password" (hashed), "Hits" "0" and "Tries" "0" in one transaction, so an
    // account is either complete or absent.
    CreateResult create(const QString &name, const QString &password) const;

    // The account's stored totals, 0 where missing or not a whole number, clamped to 0..32767;
    // hits above tries (a store edited by hand) read as hits = tries.
    AccountCounts loadCounts(const QString &name) const;

    // Whether the account's stored password hash asks for more work than any hash this program
    // writes by far (a store edited by hand); such a hash is never checked.
    bool passwordTooCostly(const QString &name) const;

    void setHashLimits(HashLimits limits) { m_hashLimits = limits; }

private:
    HashLimits m_hashLimits = kOwaspHashLimits;
};

} // namespace accounts
