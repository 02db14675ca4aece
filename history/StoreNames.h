#pragma once

#include <QString>

// Where accounts keep their entries in the store (written by the login window and the trainer):
// application, then the account's name as section.
namespace history {

inline const QString kAccountsApplication = QStringLiteral("Orvanta");
inline const QString kUserNameKey = QStringLiteral("UserName");
inline const QString kHitsKey = QStringLiteral("Hits");
inline const QString kTriesKey = QStringLiteral("Tries");
// The "UserName" of a name that has no account.
inline const QString kNoAccount = QStringLiteral("NOTFOUND");

} // namespace history
