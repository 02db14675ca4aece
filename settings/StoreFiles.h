#pragma once

#include <QString>

// File-system steps around the settings file that SQLite does not take itself.
namespace storefiles {

// The system's text for an errno value.
QString systemReason(int error);

// Makes a rename or a newly created file in folder durable.
void syncFolder(const QString &folder);

// Removes group and other permissions from the file and gives its -wal and -shm the file's own
// mode. A -shm left read-only by an earlier read of a read-only file would otherwise keep the file
// read-only after its owner made it writable again.
void tightenModes(const QString &filePath);

// Renames from to to without ever replacing an existing to. Returns 0 or the errno.
int renameNoReplace(const QString &from, const QString &to);

// True when the path exists in any form (a dangling link included).
bool exists(const QString &path);

// True only when nothing at all stands at the path; a path that cannot be looked at (a folder
// without permission) is not taken for missing.
bool missing(const QString &path);

// True when this process may write the file or folder (by its effective user).
bool writableByUs(const QString &path);

// True when the path is a file holding at least one byte.
bool hasContent(const QString &path);

// Removes the file's -shm when a full disk left it unfinished (SQLite grows it by whole 32 KiB
// regions; a failed growth leaves it short) and no connection of any process uses it: every open
// connection holds a read lock on its byte 128, so taking a write lock there proves it unused. Call
// only while this process has no connection to the file, since closing any descriptor of a file
// drops all of the process's locks on it.
void removeUnfinishedShm(const QString &filePath);

// Holds an exclusive lock on a folder while it lives (flock on the folder itself: it serves threads
// and processes alike, and goes with the process if it dies). Without the folder it holds nothing.
class FolderLock
{
public:
    explicit FolderLock(const QString &folder);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    int m_fd = -1;
};

} // namespace storefiles
