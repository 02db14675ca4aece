#pragma once

#include <QString>

// The login window's texts: what it shows, what it tells in message boxes, and what a screen reader
// reads. The window's tests compare against these.
namespace logintext {

inline const QString kUserNamePlaceholder = QStringLiteral("UserName");
inline const QString kPasswordPlaceholder = QStringLiteral("Password");
inline const QString kConfirmPlaceholder = QStringLiteral("Confirm Password Here");
inline const QString kHintLogin = QStringLiteral("or enter existing name and password below");
inline const QString kHintCreate = QStringLiteral("Enter new user info below");

inline const QString kWarningTitle = QStringLiteral("Orvanta Trainer");
inline const QString kInvalidUserName = QStringLiteral("Invalid Username! Please Try Again!");
inline const QString kInvalidPassword = QStringLiteral("Invalid Password... please try again!");
inline const QString kNameTaken =
    QStringLiteral("That Username already exists... you'll need to use a different name!");
inline const QString kUserCreated = QStringLiteral("New User Created!  You are now logged on as: ");
// %1: the name as typed.
inline const QString kAccountInUse =
    QStringLiteral("%1 is in use by another running copy of qxOrvanta Trainer.");
// %1: the name as typed, %2: why the hold failed (names the folder).
inline const QString kAccountUnheld =
    QStringLiteral("%1 cannot be played by this copy of qxOrvanta Trainer: %2. Another copy could store its "
                   "totals over yours.");
// %1: the name as typed.
inline const QString kPasswordTooCostly =
    QStringLiteral("The password stored for %1 asks for far more memory or time to check than this program "
                   "ever uses, so it is not checked and the login is refused. The settings file may have "
                   "been edited by hand.");
// %1: the name as typed, %2: the stored texts, %3 and %4: the hits and tries they are read as.
inline const QString kCountsUnsound =
    QStringLiteral("The stored totals of %1 are not counts this program writes: %2.\n\n"
                   "They are read as %3 hits and %4 tries; the next guess of a test run stores new totals "
                   "in their place.");
inline const QString kPasswordNotStored = QStringLiteral(
    "The new account could not be created: there was not enough memory to protect its password.");

// What a screen reader calls the boxes and the click areas over the picture's buttons.
inline const QString kAccessibleUserName = QStringLiteral("User name");
inline const QString kAccessiblePassword = QStringLiteral("Password");
inline const QString kAccessibleConfirm = QStringLiteral("Confirm password");
inline const QString kAccessibleCreate = QStringLiteral("Create a new account");
inline const QString kAccessibleContinue = QStringLiteral("Continue");
inline const QString kAccessibleExit = QStringLiteral("Exit");
inline const QString kTipCreate = QStringLiteral("Create a new account (Ctrl+N)");
inline const QString kTipExit = QStringLiteral("Exit (Esc)");
inline const QString kTipContinue = QStringLiteral("Continue (Enter in the password box)");

} // namespace logintext
