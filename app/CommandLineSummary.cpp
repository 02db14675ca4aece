#include "CommandLineSummary.h"

#include "results/ResultsFormat.h"
#include "settings/SettingsStore.h"
#include "stats/Binomial.h"
#include "stats/Evidence.h"
#include "stats/HitSummary.h"

#include <QDateTime>
#include <QJsonArray>

#include <cmath>

namespace commandline {

namespace {

QString isoTime(std::int64_t utcMs)
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::UTC).toString(Qt::ISODate);
}

// A figure as JSON without the noise of binary fractions: 76 x 0.2 is 15.200000000000001 as a double,
// and a reader wants 15.2. Twelve significant digits keep every figure's real precision.
double tidy(double value)
{
    return std::isfinite(value) ? QString::number(value, 'g', 12).toDouble() : value;
}

// A probability as JSON: a number, or the text "< 1e-300" where it is too small for one (never 0).
QJsonValue probabilityJson(double p)
{
    if (p >= stats::kSmallestStatedProbability)
        return tidy(p);
    return stats::probabilityText(p);
}

QJsonArray runsJson(const history::AccountHistory &account)
{
    QJsonArray runs;
    for (const history::RunRecord &run : account.runs) {
        QJsonArray decks;
        for (const history::Deck deck : run.decks)
            decks.append(history::deckName(deck));
        runs.append(QJsonObject{
            {QStringLiteral("id"), qint64(run.id)},
            {QStringLiteral("start"), isoTime(run.startUtcMs)},
            {QStringLiteral("end"), isoTime(run.endUtcMs)},
            {QStringLiteral("game"), history::gameName(run.game)},
            {QStringLiteral("decks"), decks},
            {QStringLiteral("tries"), run.tries},
            {QStringLiteral("hits"), run.hits},
            {QStringLiteral("p_at_least"), probabilityJson(stats::probabilityAtLeast(run.tries, run.hits))}});
    }
    return runs;
}

// The trend and the exploratory scores as the JSON gives them.
QJsonObject trendJson(const stats::TrendTest &trend)
{
    return {{QStringLiteral("runs"), trend.runs},
            {QStringLiteral("z"), tidy(trend.z)},
            {QStringLiteral("p"), tidy(trend.p)}};
}

QJsonObject secondaryJson(const stats::SecondaryScores &s)
{
    return {{QStringLiteral("plus1"), QJsonObject{{QStringLiteral("tries"), qint64(s.plus1.tries)},
                                                  {QStringLiteral("hits"), qint64(s.plus1.hits)},
                                                  {QStringLiteral("p"), tidy(s.plus1.p)},
                                                  {QStringLiteral("p_holm"), tidy(s.plus1.pHolm)}}},
            {QStringLiteral("minus1"), QJsonObject{{QStringLiteral("tries"), qint64(s.minus1.tries)},
                                                   {QStringLiteral("hits"), qint64(s.minus1.hits)}}},
            {QStringLiteral("variance"), QJsonObject{{QStringLiteral("runs"), s.variance.runs},
                                                     {QStringLiteral("chi2"), tidy(s.variance.chi2)},
                                                     {QStringLiteral("p"), tidy(s.variance.p)},
                                                     {QStringLiteral("p_holm"), tidy(s.variance.pHolm)}}},
            {QStringLiteral("trend_p_holm"), tidy(s.trendPHolm)}};
}

// The anytime-valid evidence: E, its two sides and its peak as numbers where a double holds them,
// and the base-10 logs always as numbers.
void insertEvidence(QJsonObject &json, const results::ResultsData &data)
{
    const stats::HitSummary &summary = data.whole;
    json.insert(QStringLiteral("e_value"), stats::jsonCount(data.evidence.log10Value));
    json.insert(QStringLiteral("e_value_above"), stats::jsonCount(data.evidence.log10Above));
    json.insert(QStringLiteral("e_value_below"), stats::jsonCount(data.evidence.log10Below));
    json.insert(QStringLiteral("e_value_peak"), stats::jsonCount(data.log10EvidencePeak));
    json.insert(QStringLiteral("log10_e_value"), tidy(data.evidence.log10Value));
    json.insert(QStringLiteral("log10_p_at_least"),
                tidy(stats::log10ProbabilityAtLeast(summary.tries, summary.hits)));
    json.insert(QStringLiteral("log10_p_at_most"),
                tidy(stats::log10ProbabilityAtMost(summary.tries, summary.hits)));
    json.insert(QStringLiteral("trend"), trendJson(data.trend));
    json.insert(QStringLiteral("secondary"), secondaryJson(data.secondary));
}

} // namespace

QJsonObject summaryJson(const history::AccountHistory &account, const results::ResultsData &data)
{
    const stats::HitSummary &summary = data.whole;
    const bool consistent = data.totals.consistent;
    QJsonObject json{
        {QStringLiteral("user"), account.userName},
        {QStringLiteral("tries"), qint64(summary.tries)},
        {QStringLiteral("hits"), qint64(summary.hits)},
        {QStringLiteral("accuracy_percent"), tidy(results::accuracyPercent(summary.tries, summary.hits))},
        {QStringLiteral("expected_hits"), tidy(summary.expectedHits)},
        {QStringLiteral("sd"), tidy(summary.sd)},
        {QStringLiteral("z"), tidy(summary.z)},
        {QStringLiteral("p_at_least"), probabilityJson(summary.pAtLeast)},
        {QStringLiteral("p_at_most"), probabilityJson(summary.pAtMost)},
        {QStringLiteral("ci95_low"), tidy(summary.ci95.low)},
        {QStringLiteral("ci95_high"), tidy(summary.ci95.high)},
        {QStringLiteral("consistent"), consistent},
        {QStringLiteral("verdict"),
         consistent ? results::evidenceVerdict(data) : results::disagreementText(data, QLocale::c())},
        {QStringLiteral("history_tries"), qint64(account.tries.size())},
        {QStringLiteral("invalid_rows"), qint64(account.rejected.size())},
        {QStringLiteral("before_history_tries"), account.beforeHistoryTries},
        {QStringLiteral("before_history_hits"), account.beforeHistoryHits},
        {QStringLiteral("runs"), runsJson(account)}};
    if (!consistent) {
        json.insert(QStringLiteral("tries_off"), qint64(data.totals.triesOff));
        json.insert(QStringLiteral("hits_off"), qint64(data.totals.hitsOff));
    }
    insertEvidence(json, data);
    return json;
}

// The Results window's summary in the C locale, then the record's runs and the rows left out.
QString summaryText(const history::AccountHistory &account, const results::ResultsData &data)
{
    QString text = results::summaryText(data, QLocale::c());
    text +=
        QStringLiteral("On record: %1 tries in %2 runs\n").arg(account.tries.size()).arg(account.runs.size());
    for (const history::RunRecord &run : account.runs) {
        text += QStringLiteral("run %1  %2  %3  %4 tries  %5 hits  P(at least) = %6\n")
                    .arg(run.id)
                    .arg(isoTime(run.startUtcMs), history::gameName(run.game).leftJustified(11))
                    .arg(run.tries, 5)
                    .arg(run.hits, 5)
                    .arg(stats::probabilityText(stats::probabilityAtLeast(run.tries, run.hits)));
    }
    for (const history::RejectedTry &rejected : account.rejected)
        text += QStringLiteral("left out: run %1 try %2: %3\n")
                    .arg(rejected.record.runId)
                    .arg(rejected.record.tryNumber)
                    .arg(rejected.why);
    return text;
}

} // namespace commandline
