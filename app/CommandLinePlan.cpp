#include "CommandLinePlan.h"

#include "stats/Series.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cmath>

namespace commandline {

namespace {

// A number strictly between low and 1 (or up to 1 itself where allowed); nothing when it is not one.
std::optional<double> fraction(const QString &text, double low, bool oneAllowed)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= low || value > 1 || (!oneAllowed && value == 1))
        return std::nullopt;
    return value;
}

QString percent(double fraction)
{
    return QString::number(fraction * 100, 'g', 3) + QStringLiteral(" %");
}

} // namespace

PlanAnswer plan(const QString &rateText, const std::optional<QString> &alphaText,
                const std::optional<QString> &powerText, bool json)
{
    const std::optional<double> rate = fraction(rateText, 0.2, true);
    if (!rate)
        return {2,
                QStringLiteral("--plan wants a true hit rate above chance: a number above 0.2 and up to 1.")};
    const std::optional<double> alpha = alphaText ? fraction(*alphaText, 0, false) : stats::kSeriesLevel;
    if (!alpha)
        return {2, QStringLiteral("--alpha wants a number between 0 and 1, such as 0.05.")};
    const std::optional<double> power = powerText ? fraction(*powerText, 0, false) : 0.8;
    if (!power)
        return {2, QStringLiteral("--power wants a number between 0 and 1, such as 0.8.")};
    const stats::SeriesPlan found = stats::planSeries(*rate, *alpha, *power);
    if (found.tries == 0)
        return {1, QStringLiteral("no series of up to %1 tries reaches that power.")
                       .arg(QLocale().toString(qint64(stats::kMostPlannedTries)))};
    if (json) {
        const QJsonObject object{{QStringLiteral("rate"), *rate},
                                 {QStringLiteral("alpha"), *alpha},
                                 {QStringLiteral("power"), *power},
                                 {QStringLiteral("tries"), qint64(found.tries)},
                                 {QStringLiteral("achieved_power"), found.achievedPower}};
        return {0, QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + u'\n'};
    }
    return {0,
            QStringLiteral("%1 tries. If your true hit rate is %2, a series of %1 tries reaches the %3 level "
                           "of the exact one-sided binomial test %4 of the time (at least %5 asked).\n")
                .arg(QString::number(found.tries), percent(*rate), percent(*alpha),
                     percent(found.achievedPower), percent(*power))};
}

} // namespace commandline
