#include "SeriesText.h"

#include "stats/Series.h"

#include <QLocale>

namespace results {

namespace {

QString percentText(double fraction)
{
    return QLocale().toString(fraction * 100, 'f', fraction < 0.1 ? 1 : 0) + QStringLiteral(" %");
}

QString triesText(std::int64_t tries)
{
    return tries == 1 ? QStringLiteral("1 try")
                      : QStringLiteral("%1 tries").arg(QLocale().toString(qint64(tries)));
}

QString hitsText(int hits)
{
    return hits == 1 ? QStringLiteral("1 hit") : QStringLiteral("%1 hits").arg(QLocale().toString(hits));
}

} // namespace

QString seriesLine(int number, const history::SeriesCount &series)
{
    const history::SeriesDeclaration &declared = series.declared;
    QString line = QStringLiteral("Series %1: %2 (%3 game, %4 cards), ")
                       .arg(number)
                       .arg(triesText(declared.length), history::gameName(declared.game),
                            history::deckName(declared.deck));
    if (!series.closed())
        return line + QStringLiteral("still open: %1 played so far, %2.")
                          .arg(triesText(series.tried), hitsText(series.hits));
    const stats::SeriesResult result = stats::seriesResult(declared.length, series.tried, series.hits);
    line += hitsText(series.hits) + QStringLiteral(".");
    if (result.missesAdded > 0)
        line += QStringLiteral(" Ended early after %1: the %2 untried count as misses.")
                    .arg(triesText(series.tried), QLocale().toString(qint64(result.missesAdded)));
    return line + QLatin1Char(' ') + result.verdict;
}

QString seriesTallyLine(const std::vector<history::SeriesCount> &series)
{
    int done = 0;
    int reached = 0;
    for (const history::SeriesCount &one : series) {
        if (!one.closed())
            continue;
        ++done;
        reached += stats::seriesResult(one.declared.length, one.tried, one.hits).reached ? 1 : 0;
    }
    return done == 0 ? QString() : stats::seriesTally(reached, done);
}

QString seriesPowerText(int length)
{
    QString text =
        QStringLiteral("If your true hit rate were 22 %, 25 % or 30 % (chance is 20 %), a series of "
                       "%1 would reach the 1-in-20 level %2, %3 or %4 of the time.")
            .arg(triesText(length), percentText(stats::seriesPower(length, 0.22)),
                 percentText(stats::seriesPower(length, 0.25)),
                 percentText(stats::seriesPower(length, 0.30)));
    return text + QStringLiteral(" To reach it 4 times in 5 (80 %) you would need %1, %2 or %3.")
                      .arg(triesText(stats::planSeries(0.22).tries), triesText(stats::planSeries(0.25).tries),
                           triesText(stats::planSeries(0.30).tries));
}

} // namespace results
