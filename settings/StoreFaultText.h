#pragma once

#include <QString>

// What the user is told when the settings file meets a fault. %1 is always the file's full path.
namespace storetext {

// %2: the reason, %3: the name the file was kept under.
inline const QString kSetAside =
    QStringLiteral("The settings file \"%1\" could not be used: %2.\n\n"
                   "It has been kept as \"%3\" and a new settings file has been started.");
// Appended to kSetAside; %1: how many entries.
inline const QString kSalvaged =
    QStringLiteral("\n\n%1 entries that could still be read were copied into the new file.");
// %2: why it cannot be used, %3: why it could not be moved.
inline const QString kCannotSetAside =
    QStringLiteral("The settings file \"%1\" could not be used: %2, and it could not be moved aside: %3.\n\n"
                   "The program keeps running; your changes are kept while it runs and saved as soon as the "
                   "settings file can be written.");
// %2: the reason.
inline const QString kOpenFailed =
    QStringLiteral("The settings file \"%1\" could not be opened: %2.\n\n"
                   "The program keeps running; your changes are kept while it runs and saved as soon as the "
                   "settings file can be written.");
inline const QString kWriteFailed =
    QStringLiteral("Your settings could not be saved to \"%1\": %2.\n\n"
                   "The program keeps running and tries again at your next change.");
inline const QString kReadFailed = QStringLiteral("Your settings could not be read from \"%1\": %2.");

inline const QString kReasonFolder = QStringLiteral("there is a folder in its place");
inline const QString kReasonNotAFile = QStringLiteral("it is not a regular file");
inline const QString kReasonDanglingLink = QStringLiteral("it is a link to a file that does not exist");
inline const QString kReasonReadOnlyFile = QStringLiteral("the file is read-only");
// %1: the folder.
inline const QString kReasonReadOnlyFolder = QStringLiteral("its folder \"%1\" is read-only");
inline const QString kReasonPathNotFolder = QStringLiteral("\"%1\" is a file, not a folder");
// %1: the folder, %2: the system's reason.
inline const QString kReasonNoFolder = QStringLiteral("the folder \"%1\" cannot be created (%2)");
inline const QString kReasonDiskFull = QStringLiteral("the disk is full");
inline const QString kReasonNotDatabase = QStringLiteral("it is not a settings database");
inline const QString kReasonNotSettings = QStringLiteral("it is a database of another kind");
inline const QString kReasonUnreadableFormat = QStringLiteral("its format cannot be read by this program");
inline const QString kReasonUnwritableFormat = QStringLiteral("its format cannot be written by this program");
// %1: SQLite's reason.
inline const QString kReasonUnusableTables =
    QStringLiteral("its tables cannot be brought up to date for this program (%1)");
// %1: what the check found.
inline const QString kReasonDamaged = QStringLiteral("it is damaged (%1)");
inline const QString kReasonBusy = QStringLiteral("another program keeps it locked");
// %1: the system's reason.
inline const QString kReasonCannotOpen = QStringLiteral("it cannot be opened (%1)");
inline const QString kReasonDiskError = QStringLiteral("the disk reported an error (%1)");

} // namespace storetext
