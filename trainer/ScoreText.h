#pragma once

#include <QLocale>
#include <QString>

// The score line's numbers and text, free of any window.
namespace scoretext {

// Accuracy in percent, hits / tries * 100 rounded to two decimals (what the "00.00" number pattern
// gives when its text is read back). A value exactly halfway between two hundredths (1 hit in 32
// tries: 3.125) rounds away from zero. The rounding is done on the exact fraction, so no binary
// representation error can tip a half either way. A try count of 0 or less gives 0.
double roundedAccuracy(int hits, int tries);

// The accuracy as the shortest decimal text: "100", "12.5", "33.33", with the locale's decimal
// separator, no group separators, no leading or trailing zeros.
QString accuracyText(double accuracy, const QLocale &locale);

// "Tries: 3  •  Hits: 1  •  Accuracy: 33.33%".
QString scoreLine(int tries, int hits, double accuracy, const QLocale &locale);

} // namespace scoretext
