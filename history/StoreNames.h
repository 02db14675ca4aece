#pragma once

#include "settings/AccountEntries.h"

// The account entries the history reads and writes, by the store's own names.
namespace history {

using accountstore::kAccountsApplication;
using accountstore::kHitsKey;
using accountstore::kNoAccount;
using accountstore::kTriesKey;
using accountstore::kUserNameKey;

} // namespace history
