#include "CommandLine.h"

#include "SelfTest.h"

#include "history/CsvExport.h"
#include "history/TryHistory.h"
#include "settings/SettingsStore.h"
#include "stats/HitSummary.h"
#include "trainer/RandomSource.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <random>

namespace commandline {

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

void say(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

int fail(const QString &message)
{
    say(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + message + u'\n');
    return kFailed;
}

QString isoTime(std::int64_t utcMs)
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::UTC).toString(Qt::ISODate);
}

// A probability as JSON: a number, or the text "< 1e-300" where it is too small for one (never 0).
QJsonValue probabilityJson(double p)
{
    if (p >= stats::kSmallestStatedProbability)
        return p;
    return stats::probabilityText(p);
}

QJsonObject summaryJson(const history::AccountHistory &account, const stats::HitSummary &summary)
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
    const double accuracy = stats::accuracyPercent(summary.tries, summary.hits);
    return {{QStringLiteral("user"), account.userName},
            {QStringLiteral("tries"), qint64(summary.tries)},
            {QStringLiteral("hits"), qint64(summary.hits)},
            {QStringLiteral("accuracy_percent"), accuracy},
            {QStringLiteral("expected_hits"), summary.expectedHits},
            {QStringLiteral("sd"), summary.sd},
            {QStringLiteral("z"), summary.z},
            {QStringLiteral("p_at_least"), probabilityJson(summary.pAtLeast)},
            {QStringLiteral("p_at_most"), probabilityJson(summary.pAtMost)},
            {QStringLiteral("ci95_low"), summary.ci95.low},
            {QStringLiteral("ci95_high"), summary.ci95.high},
            {QStringLiteral("verdict"), summary.verdict},
            {QStringLiteral("history_tries"), qint64(account.tries.size())},
            {QStringLiteral("before_history_tries"), account.beforeHistoryTries},
            {QStringLiteral("before_history_hits"), account.beforeHistoryHits},
            {QStringLiteral("runs"), runs}};
}

QString summaryText(const history::AccountHistory &account, const stats::HitSummary &summary)
{
    const double accuracy = stats::accuracyPercent(summary.tries, summary.hits);
    QString text = QStringLiteral("%1: %2 hits in %3 tries (%4 %)\n")
                       .arg(account.userName)
                       .arg(summary.hits)
                       .arg(summary.tries)
                       .arg(accuracy, 0, 'f', 2);
    text += QStringLiteral("Chance alone gives %1 hits on average (sd %2); z = %3\n")
                .arg(summary.expectedHits, 0, 'f', 1)
                .arg(summary.sd, 0, 'f', 2)
                .arg(summary.z, 0, 'f', 2);
    text += QStringLiteral("P(at least %1 hits by chance) = %2; P(at most %1) = %3\n")
                .arg(summary.hits)
                .arg(stats::probabilityText(summary.pAtLeast), stats::probabilityText(summary.pAtMost));
    text += QStringLiteral("Hit rate, exact 95 % interval: %1 % to %2 %\n")
                .arg(100 * summary.ci95.low, 0, 'f', 2)
                .arg(100 * summary.ci95.high, 0, 'f', 2);
    text += summary.verdict + u'\n';
    text += QStringLiteral("On record: %1 tries in %2 runs; before the history began: %3 tries, %4 hits\n")
                .arg(account.tries.size())
                .arg(account.runs.size())
                .arg(account.beforeHistoryTries)
                .arg(account.beforeHistoryHits);
    for (const history::RunRecord &run : account.runs) {
        text += QStringLiteral("run %1  %2  %3  %4 tries  %5 hits  P(at least) = %6\n")
                    .arg(run.id)
                    .arg(isoTime(run.startUtcMs), history::gameName(run.game).leftJustified(11))
                    .arg(run.tries, 5)
                    .arg(run.hits, 5)
                    .arg(stats::probabilityText(stats::probabilityAtLeast(run.tries, run.hits)));
    }
    return text;
}

std::optional<history::AccountHistory> readAccount(const QString &userName, QString *reason)
{
    TryHistory reader(SettingsStore::defaultFilePath());
    if (!reader.open(reason)) {
        *reason = QStringLiteral("cannot read the store: ") + *reason;
        return std::nullopt;
    }
    return reader.account(userName, reason);
}

int selfTest(const QString &countText, const QString &seedText)
{
    bool ok = false;
    const qint64 tries = countText.toLongLong(&ok);
    if (!ok || tries < 1 || tries > 1'000'000'000) {
        say(stderr, QStringLiteral("--self-test wants a number of tries from 1 to 1000000000.\n"));
        return kUsage;
    }
    std::uint64_t seed = seedText.toULongLong(&ok);
    if (seedText.isEmpty()) {
        std::random_device entropy;
        seed = (std::uint64_t(entropy()) << 32) | entropy();
    } else if (!ok) {
        say(stderr, QStringLiteral("--seed wants a whole number from 0 to 18446744073709551615.\n"));
        return kUsage;
    }
    // The trainer's own generator; the robot guesses from a second one of its own.
    RandomSource game(seed);
    RandomSource robot(seed ^ 0x9e3779b97f4a7c15u);
    say(stdout, QStringLiteral("Seed %1 (--seed %1 repeats these very draws).\n").arg(seed));
    const selftest::Report report = selftest::run(tries, game, robot);
    say(stdout, report.text);
    say(stdout, report.fair ? QStringLiteral("Nothing rejects fair chance.\n")
                            : QStringLiteral("Fair chance is rejected.\n"));
    return report.fair ? 0 : kFailed;
}

} // namespace

bool wanted(int argc, char *[])
{
    return argc > 1;
}

int run(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qxorvanta-trainer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QXO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("qxOrvanta Trainer. Without options it opens its windows; with them it reports "
                       "from the store without a window and without changing it."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption summary(QStringLiteral("summary"),
                                     QStringLiteral("The account's lifetime record, its odds against "
                                                    "chance, and one line per run."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("With --summary: one JSON object."));
    const QCommandLineOption exportCsv(QStringLiteral("export-csv"),
                                       QStringLiteral("Every recorded try of the account into <file> (CSV)."),
                                       QStringLiteral("file"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("The account, in any letter case."),
                                  QStringLiteral("name"));
    const QCommandLineOption selfTestOption(
        QStringLiteral("self-test"),
        QStringLiteral("<n> robot tries of each game through the "
                       "program's own chance; exit 1 if it looks rigged."),
        QStringLiteral("n"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("With --self-test: the seed of its draws, to repeat a run."),
                                  QStringLiteral("number"));
    parser.addOptions({summary, json, exportCsv, user, selfTestOption, seed});
    if (!parser.parse(QCoreApplication::arguments())) {
        say(stderr, parser.errorText() + QStringLiteral("\nTry --help.\n"));
        return kUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        say(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        say(stdout,
            QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion() + u'\n');
        return 0;
    }
    const int actions =
        int(parser.isSet(summary)) + int(parser.isSet(exportCsv)) + int(parser.isSet(selfTestOption));
    if (actions != 1 || !parser.positionalArguments().isEmpty() ||
        (parser.isSet(json) && !parser.isSet(summary)) ||
        (parser.isSet(seed) && !parser.isSet(selfTestOption))) {
        say(stderr, QStringLiteral("Give one of --summary, --export-csv or --self-test. Try --help.\n"));
        return kUsage;
    }
    if (parser.isSet(selfTestOption))
        return selfTest(parser.value(selfTestOption), parser.value(seed));
    if (!parser.isSet(user)) {
        say(stderr, QStringLiteral("--summary and --export-csv want --user NAME. Try --help.\n"));
        return kUsage;
    }

    QString reason;
    const std::optional<history::AccountHistory> account = readAccount(parser.value(user), &reason);
    if (!account)
        return fail(reason);
    if (parser.isSet(exportCsv)) {
        const QString file = parser.value(exportCsv);
        if (!history::exportCsv(file, *account, &reason))
            return fail(QStringLiteral("cannot write %1: %2").arg(file, reason));
        return 0;
    }
    const stats::HitSummary figures = stats::summarize(account->storedTries, account->storedHits);
    if (parser.isSet(json))
        say(stdout,
            QString::fromUtf8(QJsonDocument(summaryJson(*account, figures)).toJson(QJsonDocument::Compact)) +
                u'\n');
    else
        say(stdout, summaryText(*account, figures));
    return 0;
}

} // namespace commandline
