#pragma once

#include <QString>

// The trainer window's own texts, each defined once.
namespace trainertext {

inline const QString kCaption = QStringLiteral("qxOrvanta Trainer");

inline const QString kPromptPlainGame = QStringLiteral("Click the card you feel the computer has chosen.");
inline const QString kPromptFindHidden = QStringLiteral("Click the card you feel matches the chosen card.");
inline const QString kHideScore = QStringLiteral("You have chosen to hide the score.");
inline const QString kCountLimitReached =
    QStringLiteral("Count limit reached: no more than 32767 tries or hits can be counted.");

inline const QString kHintTest = QStringLiteral("Test your orvantic ability!");
inline const QString kHintPractice =
    QStringLiteral("Practice mode... shows accuracy but does not store results.");
inline const QString kHintUser = QStringLiteral("Switch user or create new user account.");

inline const QString kResultsToolTip = QStringLiteral("Your results and history (Ctrl+R)");
// Tooltips of the picture buttons, each naming the key that presses it.
inline const QString kTipTest = QStringLiteral("Test (T)");
inline const QString kTipPractice = QStringLiteral("Drill (P)");
inline const QString kTipStop = QStringLiteral("Stop (S)");
inline const QString kTipHelp = QStringLiteral("Help (F1)");
inline const QString kTipOptions = QStringLiteral("Options (O)");
inline const QString kTipUser = QStringLiteral("User (U)");
inline const QString kTipClose = QStringLiteral("Close (Ctrl+Q)");

// Help that cannot be shown: the file to open by hand, or the folders it was looked for in.
inline const QString kHelpNotOpened =
    QStringLiteral("The help could not be opened on this desktop. Open this file with a web browser:\n\n%1");
inline const QString kHelpMissing =
    QStringLiteral("The help document \"qxOrvanta Trainer.htm\" was not found. It was looked for in:\n\n%1");

inline const QString kTestingSuffix = QStringLiteral(" is testing...");
inline const QString kPracticingSuffix = QStringLiteral(" is practicing...");

// Marks a face already placed in a hidden position during the current deal.
inline const QString kTakenMark = QStringLiteral("Taken");

} // namespace trainertext
