#include "ScoreText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace scoretext {

double roundedAccuracy(int hits, int tries)
{
    if (tries <= 0)
        return 0.0;
    // Hundredths of a percent: hits * 10000 / tries, rounded half away from zero in whole numbers.
    const std::int64_t numerator = static_cast<std::int64_t>(hits) * 10000;
    const std::int64_t magnitude =
        (2 * std::llabs(numerator) + tries) / (2 * static_cast<std::int64_t>(tries));
    const std::int64_t hundredths = numerator < 0 ? -magnitude : magnitude;
    return static_cast<double>(hundredths) / 100.0;
}

QString accuracyText(double accuracy, const QLocale &locale)
{
    const long long hundredths = std::llround(accuracy * 100.0);
    const unsigned long long size = static_cast<unsigned long long>(std::llabs(hundredths));
    QString text = QString::number(size / 100);
    const unsigned long long fraction = size % 100;
    if (fraction != 0) {
        QString digits = QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
        if (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += locale.decimalPoint() + digits;
    }
    if (hundredths < 0)
        text.prepend(QLatin1Char('-'));
    return text;
}

QString scoreLine(int tries, int hits, double accuracy, const QLocale &locale)
{
    return QStringLiteral("Tries: ") + QString::number(tries) + QStringLiteral("  \u2022  Hits: ") +
           QString::number(hits) + QStringLiteral("  \u2022  Accuracy: ") + accuracyText(accuracy, locale) +
           QStringLiteral("%");
}

} // namespace scoretext
