#pragma once

#include <QString>

namespace accounts {

// One account is played by one running copy of the program at a time, so that two copies never
// overwrite each other's totals. A hold is an exclusive lock on a per-account file beside the
// settings store (named by a digest of the case-folded name, so every spelling of a name shares
// it). The system drops the lock when the holding process ends in any way, a crash or a kill
// included, so a hold is never left stale; the file itself stays and is simply locked again.
class AccountHold
{
public:
    enum class Result
    {
        Held,   // this hold now holds the account (or already did)
        InUse,  // another running copy holds it
        Failed, // the hold cannot be made (see failure()); the account must not be played
    };

    AccountHold() = default;
    ~AccountHold();
    AccountHold(const AccountHold &) = delete;
    AccountHold &operator=(const AccountHold &) = delete;
    // Moving hands the lock over; the hold moved into gives up its own first.
    AccountHold(AccountHold &&other) noexcept;
    AccountHold &operator=(AccountHold &&other) noexcept;

    // Takes the account name, giving up the account held before only once the new one is held. A
    // hold that cannot be made (a plain file named like its folder, a folder that cannot be written)
    // keeps the user out like another copy's hold: without it two copies could play one account and
    // store their totals over each other's.
    Result take(const QString &name);
    // Why the last take() failed: the folder of holds and the system's reason, in words.
    const QString &failure() const { return m_failure; }
    void release();
    // Whether this hold has the account name of the current store.
    bool holds(const QString &name) const;

    // The hold of the account this running copy has logged in.
    static AccountHold &current();

private:
    static QString lockPath(const QString &name);

    int m_fd = -1;
    QString m_path;
    QString m_failure;
};

} // namespace accounts
