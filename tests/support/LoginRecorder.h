#pragma once

#include "accounts/LoginHost.h"

#include <QStringList>

// Stands in for the program behind the login window: records every hand-over, the name and the
// totals that came with it.
class RecordingLoginHost : public LoginHost
{
public:
    void showTrainerFor(const QString &userName, std::int16_t userHits, std::int16_t userTries) override
    {
        shownFor << userName;
        hits = userHits;
        tries = userTries;
    }
    QStringList shownFor;
    int hits = -1;
    int tries = -1;
};
