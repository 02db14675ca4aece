#pragma once

#include "Settings.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <vector>

struct sqlite3;

// Tables that other parts of the program keep beside the settings, in the same file. The store
// knows nothing of what they mean: it brings them up to date when it opens the file for writing,
// and when it replaces a damaged file it asks what could be read out of it.
struct StoreSchema
{
    // Step i brings the file from PRAGMA user_version i to i + 1, all steps due in one transaction.
    // A file at a later version than this program knows is left as it is.
    std::vector<QByteArray> migrations;
    // What could still be read out of a damaged file (open, read only), as statements that put it
    // into the fresh file that replaces it.
    std::function<QList<AttachedStatement>(sqlite3 *damaged)> salvage;
};
