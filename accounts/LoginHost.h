#pragma once

#include <QString>

// What the login window needs of the program after a good login: put the user's name on the trainer
// and show it (creating and loading it when it is not open yet, bringing it to the front when it is).
// The login window never includes the trainer; the program gives it this hand-over instead.
class LoginHost
{
public:
    virtual ~LoginHost() = default;
    virtual void showTrainerFor(const QString &userName) = 0;
};
