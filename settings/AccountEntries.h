#pragma once

#include <QString>

#include <cstdint>

// Where accounts keep their entries in the store, and what their counts may be: one application, one
// section per account named by the user name (matched without regard to letter case). The login
// window, the trainer, the history and the command line all read and write these.
namespace accountstore {

inline const QString kAccountsApplication = QStringLiteral("Orvanta");
inline const QString kUserNameKey = QStringLiteral("UserName");
inline const QString kPasswordKey = QStringLiteral("Password");
inline const QString kHitsKey = QStringLiteral("Hits");
inline const QString kTriesKey = QStringLiteral("Tries");
// The "UserName" read for a name that has no account.
inline const QString kNoAccount = QStringLiteral("NOTFOUND");

// Tries and hits are 16-bit counts: 0..32767.
constexpr std::int16_t kLargestCount = 32767;

} // namespace accountstore

// Turns stored count text into a 16-bit count: whole decimal numbers only, anything else reads as 0,
// values clamped to 0..kLargestCount.
std::int16_t readCount(const QString &text);
// Whether text is a count as this program writes it: decimal digits only, at most kLargestCount.
bool isSoundCount(const QString &text);
