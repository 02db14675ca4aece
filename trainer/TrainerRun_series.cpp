// Declared series on the run's side: the open series is the shown user's, read from the store when
// the user is shown, and every test try put on record moves it on until its last try closes it.

#include "TrainerRun.h"

#include "settings/SettingsStore.h"

namespace {

constexpr int kShortestSeries = 10;
constexpr int kLongestSeries = 10000;

} // namespace

void TrainerRun::loadSeries()
{
    m_seriesJustClosed = false;
    QString reason;
    const auto series =
        history::readSeries(SettingsStore::defaultFilePath(), m_userName, &reason);
    m_series = series ? history::openSeries(*series) : std::nullopt;
}

bool TrainerRun::declareSeries(int length, history::Game game, history::Deck deck)
{
    if (m_series || length < kShortestSeries || length > kLongestSeries)
        return false;
    history::SeriesDeclaration declared{0, length, game, deck, std::nullopt};
    declared.declaredMs = m_recorder.declareSeries(m_userName, length, game, deck);
    m_series = history::SeriesCount{declared, 0, 0};
    return true;
}

bool TrainerRun::endSeriesEarly()
{
    if (!m_series)
        return false;
    m_recorder.endSeriesEarly(m_userName, m_series->declared.declaredMs);
    m_series.reset();
    return true;
}

void TrainerRun::seriesTryCounted(bool hit)
{
    // Only tries on record belong to a series (a guess after Stop counts in the totals only).
    if (!m_series || !m_recorder.runOpen())
        return;
    ++m_series->tried;
    m_series->hits += hit ? 1 : 0;
    if (m_series->tried >= m_series->declared.length) {
        m_series.reset();
        m_seriesJustClosed = true;
    }
}
