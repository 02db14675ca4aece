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
    // A file at a later version than this program knows is left as it is. Every step must be safe to
    // run again on a file that already holds some of what it makes (CREATE ... IF NOT EXISTS): a
    // file whose version says it is up to date but whose tables fail the checks below runs every
    // step again from the first.
    std::vector<QByteArray> migrations;
    // Statements that must compile on a file brought up to date (the ones that write the tables). A
    // file that still fails one after its migrations has tables of another shape: it is set aside
    // like a damaged file, its entries and readable rows carried into a fresh one.
    std::vector<QByteArray> checks;
    // What could still be read out of a damaged file (open, read only), as statements that put it
    // into the fresh file that replaces it.
    std::function<QList<AttachedStatement>(sqlite3 *damaged)> salvage;
    // SQL functions the statements above use, registered on every connection to the file before
    // anything is read or written (none when empty).
    std::function<void(sqlite3 *db)> functions;
};
