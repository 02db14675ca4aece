#pragma once

#include <QString>

// What stands at the store's path, looked at without opening it (so a FIFO or a device never blocks
// the caller). The windows and the command line both decide from this what to do with the path.
enum class StorePathKind
{
    Missing,      // nothing at all
    DanglingLink, // a link to something that does not exist
    Folder,
    NotAFile,    // a FIFO, a device or a socket
    Unreachable, // cannot be looked at (a folder on the way without permission); error says why
    Unreadable,  // a file this user may not read
    Empty,       // a file of zero length: created, never written
    Regular,     // a file with content
};

struct StorePathState
{
    StorePathKind kind = StorePathKind::Missing;
    int error = 0; // the errno for Unreachable and Unreadable
};

StorePathState classifyStorePath(const QString &path);

// Why the path cannot be used as a store, in plain words ("there is a folder in its place"); empty
// for the kinds that can be (Missing, Empty, Regular).
QString storePathProblem(const StorePathState &state);
