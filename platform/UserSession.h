#pragma once

#include <QString>

#include <cstdint>

namespace platform {

// The logged-in user's shared values: the name exactly as typed at the login, and the running totals
// (16-bit, never negative). The login window sets them, the trainer counts into them during a test
// run and stores them after every guess. One instance lives as long as the program.
struct UserSession
{
    QString CurrentUserName;
    std::int16_t UserHits = 0;
    std::int16_t UserTries = 0;
};

} // namespace platform
