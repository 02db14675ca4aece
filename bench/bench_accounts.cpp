// What a click on Continue costs with the production password limits (Argon2id, 2 passes, 19 MiB):
// logging in to an existing account (existence, password verification, loading the totals), and
// creating an account (hashing and the one-transaction write). Runs against a store in a temporary
// folder, never the user's own.
#include "accounts/AccountRules.h"
#include "accounts/PasswordHash.h"
#include "settings/Settings.h"

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

const QString kName = QStringLiteral("BenchUser");
const QString kPassword = QStringLiteral("correct horse battery staple");

void BM_Login_Owasp(benchmark::State &state)
{
    accounts::AccountRules rules;
    if (!rules.exists(kName) &&
        rules.create(kName, kPassword) != accounts::AccountRules::CreateResult::Created) {
        state.SkipWithError("could not create the account");
        return;
    }
    for (auto _ : state) {
        const bool ok = rules.exists(kName) && rules.checkPassword(kName, kPassword);
        const accounts::AccountCounts counts = rules.loadCounts(kName);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(counts);
        if (!ok)
            state.SkipWithError("login refused");
    }
}

void BM_WrongPassword_Owasp(benchmark::State &state)
{
    accounts::AccountRules rules;
    if (!rules.exists(kName))
        rules.create(kName, kPassword);
    for (auto _ : state)
        benchmark::DoNotOptimize(rules.checkPassword(kName, QStringLiteral("wrong")));
}

void BM_CreateAccount_Owasp(benchmark::State &state)
{
    accounts::AccountRules rules;
    static int serial = 0; // across repetitions: every account is new
    for (auto _ : state) {
        const auto result = rules.create(QStringLiteral("New%1").arg(++serial), kPassword);
        if (result != accounts::AccountRules::CreateResult::Created)
            state.SkipWithError("could not create the account");
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    resetSettingsStore();

    for (auto *bench : {benchmark::RegisterBenchmark("BM_Login_Owasp", BM_Login_Owasp),
                        benchmark::RegisterBenchmark("BM_WrongPassword_Owasp", BM_WrongPassword_Owasp),
                        benchmark::RegisterBenchmark("BM_CreateAccount_Owasp", BM_CreateAccount_Owasp)}) {
        bench->Unit(benchmark::kMillisecond)
            ->Repetitions(15)
            ->ReportAggregatesOnly(true)
            ->ComputeStatistics("p99", percentile99);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    resetSettingsStore();
    return 0;
}
