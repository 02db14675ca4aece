#pragma once

#include <QString>

#include <cstdint>

// The logged-in user's shared values, kept by the program: the name exactly as typed at the login,
// and the running totals (16-bit, never negative). The login window hands them over; the trainer's
// run counts its own copy during a test run, stores it after every guess and the program follows it.
// One instance lives as long as the program.
struct UserSession
{
    QString CurrentUserName;
    std::int16_t UserHits = 0;
    std::int16_t UserTries = 0;
};
