#include "ResultsLoader.h"

#include "ResultsTexts.h"

#include "history/CsvExport.h"
#include "history/TryHistory.h"
#include "settings/SettingsStore.h"

#include <QHash>

namespace results {

namespace {

// The position guessed, 1..5: in the plain game each card lies at the position of its face.
int guessPosition(const history::TryRecord &recorded)
{
    return recorded.guess;
}

// The position that held the computer's card: its face in the plain game, where the layout put it in
// find-hidden (0 when the layout does not hold it).
int targetPosition(const history::TryRecord &recorded)
{
    if (recorded.game == history::Game::Plain)
        return recorded.target;
    for (std::size_t i = 0; i < recorded.layout.size(); ++i) {
        if (recorded.layout[i] == recorded.target)
            return int(i) + 1;
    }
    return 0;
}

} // namespace

void ResultsLoader::takeIn(ResultsRecord &record, const history::AccountHistory &account)
{
    QHash<std::int64_t, QDateTime> starts;
    for (const history::RunRecord &run : account.runs)
        starts.insert(run.id, QDateTime::fromMSecsSinceEpoch(run.startUtcMs, Qt::UTC));
    for (const history::TryRecord &recorded : account.tries) {
        const QDateTime start =
            starts.value(recorded.runId, QDateTime::fromMSecsSinceEpoch(recorded.timeUtcMs, Qt::UTC));
        record.add({recorded.runId, start, recorded.game, recorded.deck, recorded.hit,
                    guessPosition(recorded), targetPosition(recorded)});
        record.last = std::max(record.last, history::TryPosition{recorded.runId, recorded.tryNumber});
    }
    for (const history::RejectedTry &rejected : account.rejected) {
        record.addRejected(rejected.record.hit);
        record.last =
            std::max(record.last, history::TryPosition{rejected.record.runId, rejected.record.tryNumber});
    }
    record.setTotals(account.storedTries, account.storedHits);
    record.setBaseline(account.baseline);
}

ResultsRecord ResultsLoader::recordOf(const history::AccountHistory &account)
{
    ResultsRecord record(account.userName);
    takeIn(record, account);
    record.finish();
    return record;
}

ResultsLoader::ResultsLoader(QString storePath) : m_storePath(std::move(storePath)) {}

ResultsLoader::~ResultsLoader() = default;

QString ResultsLoader::storePath() const
{
    return m_storePath.isEmpty() ? SettingsStore::defaultFilePath() : m_storePath;
}

TryHistory *ResultsLoader::history(QString *reason)
{
    if (!m_history) {
        auto opened = std::make_unique<TryHistory>(storePath());
        if (!opened->open(reason))
            return nullptr;
        m_history = std::move(opened);
    }
    return m_history.get();
}

ResultsRecord ResultsLoader::load(const QString &userName)
{
    ResultsRecord record(userName);
    QString reason;
    std::optional<history::AccountHistory> account;
    if (TryHistory *reader = history(&reason))
        account = reader->account(userName, &reason);
    if (account)
        takeIn(record, *account);
    else
        record.setProblem(resultstext::kUnreadable.arg(reason));
    record.finish();
    return record;
}

bool ResultsLoader::refresh(ResultsRecord &record)
{
    QString reason;
    TryHistory *reader = history(&reason);
    const std::optional<history::AccountHistory> account =
        reader ? reader->account(record.userName(), &reason, record.last) : std::nullopt;
    if (!account)
        return false;
    const ResultsData &data = record.data();
    if (account->tries.empty() && account->rejected.empty() && account->storedTries == data.whole.tries &&
        account->storedHits == data.whole.hits)
        return false;
    takeIn(record, *account);
    record.finish();
    return true;
}

bool ResultsLoader::exportCsv(const QString &userName, const QString &path, QString *reason)
{
    // Refused before anything is read, so a refusal never depends on the record.
    if (const std::optional<QString> refusal = history::exportRefusal(path, storePath())) {
        *reason = *refusal;
        return false;
    }
    TryHistory *reader = history(reason);
    const std::optional<history::AccountHistory> account =
        reader ? reader->account(userName, reason) : std::nullopt;
    return account && history::exportCsv(path, storePath(), *account, reason);
}

} // namespace results
