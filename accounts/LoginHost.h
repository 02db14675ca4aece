#pragma once

#include <QString>

#include <cstdint>

// What the login window needs of the program after a good login: hand over the user's name, exactly
// as typed, and their totals as stored (16-bit, never negative), put them on the trainer and show it
// (creating and loading it when it is not open yet, bringing it to the front when it is). The login window
// never includes the trainer; the program gives it this hand-over instead.
class LoginHost
{
public:
    virtual ~LoginHost() = default;
    virtual void showTrainerFor(const QString &userName, std::int16_t userHits, std::int16_t userTries) = 0;
};
