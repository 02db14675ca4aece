// The settings store's costs as the program meets them: the durable write after every counted guess
// (committed and synced before it returns), the read at login, and account creation's one
// transaction. Each write is timed on its own so the median and the 99th percentile are reported
// beside the mean (counters median_us and p99_us).
//
// The store lives in a temporary folder on the same file system as the system's temporary folder
// (set TMPDIR to measure another disk).

#include "settings/Settings.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

const QString kAccounts = QStringLiteral("Orvanta");
const QString kUser = QStringLiteral("Alice");

class StoreFolder
{
public:
    StoreFolder()
    {
        qputenv("XDG_CONFIG_HOME", m_folder.path().toUtf8());
        resetSettingsStore();
    }
    ~StoreFolder() { resetSettingsStore(); }

private:
    QTemporaryDir m_folder;
};

// Times body once per benchmark iteration and reports the median and p99 of those times.
template <typename Body> void timeEach(benchmark::State &state, Body body)
{
    std::vector<double> micros;
    micros.reserve(size_t(state.max_iterations));
    int i = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        body(i++);
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) {
        return micros[std::min(micros.size() - 1, size_t(q * double(micros.size())))];
    };
    state.counters["median_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = micros.back();
}

// One SaveSetting of a count, as UpdateScore does twice per counted guess.
void BM_SaveSettingDurable(benchmark::State &state)
{
    StoreFolder folder;
    SaveSetting(kAccounts, kUser, QStringLiteral("UserName"), kUser); // opens the store outside the timing
    timeEach(state, [](int i) {
        SaveSetting(kAccounts, kUser, i % 2 ? QStringLiteral("Tries") : QStringLiteral("Hits"),
                    QString::number(i / 2));
    });
}
BENCHMARK(BM_SaveSettingDurable)->Iterations(1000)->Unit(benchmark::kMicrosecond);

// The two writes of one counted guess together.
void BM_CountedGuessWrites(benchmark::State &state)
{
    StoreFolder folder;
    SaveSetting(kAccounts, kUser, QStringLiteral("UserName"), kUser);
    timeEach(state, [](int i) {
        SaveSetting(kAccounts, kUser, QStringLiteral("Hits"), QString::number(i / 5));
        SaveSetting(kAccounts, kUser, QStringLiteral("Tries"), QString::number(i));
    });
}
BENCHMARK(BM_CountedGuessWrites)->Iterations(1000)->Unit(benchmark::kMicrosecond);

// A read at login, from a store holding 1000 accounts.
void BM_GetSetting(benchmark::State &state)
{
    StoreFolder folder;
    for (int user = 0; user < 1000; user += 100) {
        QList<SettingEntry> entries;
        for (int n = user; n < user + 100; ++n)
            entries.append({QStringLiteral("Tries%1").arg(n), QString::number(n)});
        SaveSettings(kAccounts, kUser, entries);
    }
    timeEach(state, [](int i) {
        benchmark::DoNotOptimize(
            GetSetting(kAccounts, kUser, QStringLiteral("Tries%1").arg(i % 1000), QString()));
    });
}
BENCHMARK(BM_GetSetting)->Iterations(10000)->Unit(benchmark::kMicrosecond);

// Account creation: four entries in one durable transaction.
void BM_SaveSettingsAccount(benchmark::State &state)
{
    StoreFolder folder;
    SaveSetting(kAccounts, kUser, QStringLiteral("UserName"), kUser);
    timeEach(state, [](int i) {
        const QString name = QStringLiteral("User%1").arg(i);
        SaveSettings(kAccounts, name,
                     {{QStringLiteral("UserName"), name},
                      {QStringLiteral("Password"), QString(97, u'h')},
                      {QStringLiteral("Hits"), QStringLiteral("0")},
                      {QStringLiteral("Tries"), QStringLiteral("0")}});
    });
}
BENCHMARK(BM_SaveSettingsAccount)->Iterations(300)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
