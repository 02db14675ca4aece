#include "CommandLine.h"
#include "CommandLineOutput.h"
#include "CommandLinePlan.h"
#include "CommandLineSummary.h"
#include "CommandLineVerify.h"

#include "history/CsvExport.h"
#include "history/RecordVerify.h"
#include "history/TryHistory.h"
#include "results/ResultsLoader.h"
#include "settings/SettingsStore.h"
#include "trainer/RandomSource.h"
#include "trainer/SelfTest.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <random>
#include <unistd.h>

namespace commandline {

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

int usage(const QString &message)
{
    say(stderr, message + QStringLiteral(" Try --help.\n"));
    return kUsage;
}

namespace {

// Above this many tries the self-test takes seconds, so a terminal is told how far it is.
constexpr qint64 kProgressAbove = 1'000'000;

// Qt's own options for the windows, with and without a value (taken as -name or --name).
const QStringList kQtOptionsWithValue{QStringLiteral("platform"),
                                      QStringLiteral("platformpluginpath"),
                                      QStringLiteral("platformtheme"),
                                      QStringLiteral("plugin"),
                                      QStringLiteral("qwindowgeometry"),
                                      QStringLiteral("qwindowicon"),
                                      QStringLiteral("qwindowtitle"),
                                      QStringLiteral("style"),
                                      QStringLiteral("stylesheet"),
                                      QStringLiteral("session"),
                                      QStringLiteral("geometry"),
                                      QStringLiteral("title"),
                                      QStringLiteral("display"),
                                      QStringLiteral("name"),
                                      QStringLiteral("icon"),
                                      QStringLiteral("font"),
                                      QStringLiteral("fn"),
                                      QStringLiteral("bg"),
                                      QStringLiteral("background"),
                                      QStringLiteral("fg"),
                                      QStringLiteral("foreground"),
                                      QStringLiteral("btn"),
                                      QStringLiteral("button"),
                                      QStringLiteral("visual"),
                                      QStringLiteral("ncols"),
                                      QStringLiteral("cmap"),
                                      QStringLiteral("inputstyle"),
                                      QStringLiteral("im")};
const QStringList kQtFlags{QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                           QStringLiteral("nograb"),  QStringLiteral("dograb"),
                           QStringLiteral("sync"),    QStringLiteral("testability")};

// "--user=x" -> "user"; "-style" -> "style"; an argument that is no option -> "".
QString optionName(const QString &argument)
{
    if (!argument.startsWith(u'-') || argument.size() < 2)
        return {};
    const QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
    return name.section(u'=', 0, 0);
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

void tellProgress(const QString &game, std::int64_t done, std::int64_t tries)
{
    say(stderr, QStringLiteral("\r%1: %2 %").arg(game).arg(100 * done / tries, 3));
    if (done == tries)
        say(stderr, QStringLiteral("\n"));
}

int selfTest(const QString &countText, const std::optional<QString> &seedText)
{
    bool ok = false;
    const qint64 tries = countText.toLongLong(&ok);
    if (!ok || tries < 1 || tries > 1'000'000'000)
        return usage(QStringLiteral("--self-test wants a number of tries from 1 to 1000000000."));
    std::uint64_t seed = 0;
    if (seedText) {
        seed = seedText->toULongLong(&ok);
        if (!ok)
            return usage(QStringLiteral("--seed wants a whole number from 0 to 18446744073709551615."));
    } else {
        std::random_device entropy;
        seed = (std::uint64_t(entropy()) << 32) | entropy();
    }
    // The trainer's own generator; the robot guesses from a second one of its own.
    RandomSource game(seed);
    RandomSource robot(seed ^ 0x9e3779b97f4a7c15u);
    say(stdout, QStringLiteral("Seed %1 (--seed %1 repeats these very draws).\n").arg(seed));
    const bool showProgress = tries > kProgressAbove && isatty(fileno(stderr));
    const selftest::Report report = selftest::run(
        tries, game, robot, showProgress ? selftest::Progress(tellProgress) : selftest::Progress());
    say(stdout, report.text);
    say(stdout, report.fair ? QStringLiteral("Nothing rejects fair chance.\n")
                            : QStringLiteral("Fair chance is rejected.\n"));
    return report.fair ? 0 : kFailed;
}

int accountReport(const QString &userName, const std::optional<QString> &csvFile, bool json)
{
    // Refused before the store is read, so the refusal never depends on the store.
    if (const std::optional<QString> refusal =
            csvFile ? history::exportRefusal(*csvFile, SettingsStore::defaultFilePath()) : std::nullopt)
        return fail(QStringLiteral("cannot write %1: %2").arg(*csvFile, *refusal));
    QString reason;
    const std::optional<history::AccountHistory> account = readAccount(userName, &reason);
    if (!account)
        return fail(reason);
    if (csvFile) {
        if (!history::exportCsv(*csvFile, SettingsStore::defaultFilePath(), *account, &reason))
            return fail(QStringLiteral("cannot write %1: %2").arg(*csvFile, reason));
        return 0;
    }
    const results::ResultsRecord record = results::ResultsLoader::recordOf(*account);
    // The fingerprint as stored; --verify is what checks it.
    const history::StoredFingerprint chain =
        history::storedFingerprint(SettingsStore::defaultFilePath(), userName, &reason)
            .value_or(history::StoredFingerprint{});
    const QString fingerprint = chain.fingerprint ? proof::toHex(*chain.fingerprint) : QString();
    if (json) {
        QJsonObject object = summaryJson(*account, record.data());
        object.insert(QStringLiteral("fingerprint"), fingerprint);
        object.insert(QStringLiteral("chained_tries"), chain.chainedTries);
        say(stdout, QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + u'\n');
    } else {
        say(stdout, summaryText(*account, record.data()) +
                        QStringLiteral("Fingerprint: %1 (%2 chained tries)\n")
                            .arg(fingerprint.isEmpty() ? QStringLiteral("none") : fingerprint)
                            .arg(chain.chainedTries));
    }
    return 0;
}

struct Options
{
    QCommandLineOption summary{QStringLiteral("summary"),
                               QStringLiteral("The account's lifetime record, its odds "
                                              "against chance, and one line per run.")};
    QCommandLineOption json{QStringLiteral("json"), QStringLiteral("With --summary: one JSON object.")};
    QCommandLineOption exportCsv{QStringLiteral("export-csv"),
                                 QStringLiteral("Every recorded try of the account into <file> (CSV; - for "
                                                "standard output). Never the settings file or its folder."),
                                 QStringLiteral("file")};
    QCommandLineOption user{QStringLiteral("user"), QStringLiteral("The account, in any letter case."),
                            QStringLiteral("name")};
    QCommandLineOption selfTest{
        QStringLiteral("self-test"),
        QStringLiteral("<n> robot tries of each game through the program's own chance; "
                       "exit 1 if it looks rigged."),
        QStringLiteral("n")};
    QCommandLineOption seed{QStringLiteral("seed"),
                            QStringLiteral("With --self-test: the seed of its draws, to repeat a run."),
                            QStringLiteral("number")};
    QCommandLineOption verify{
        QStringLiteral("verify"),
        QStringLiteral("Checks the account's chained record, sealed runs and totals; exit 1 "
                       "on any mismatch.")};
    QCommandLineOption verifyCsv{QStringLiteral("verify-csv"),
                                 QStringLiteral("Checks an exported <file> without the store."),
                                 QStringLiteral("file")};
    // How many tries a declared series needs (CommandLinePlan.h).
    QCommandLineOption plan{QStringLiteral("plan"),
                            QStringLiteral("The fewest tries a declared series needs to show a true hit rate "
                                           "<rate> (such as 0.25) at the 1-in-20 level 4 times in 5."),
                            QStringLiteral("rate")};
    QCommandLineOption alpha{QStringLiteral("alpha"), QStringLiteral("With --plan: the level (0.05)."),
                             QStringLiteral("a")};
    QCommandLineOption power{QStringLiteral("power"), QStringLiteral("With --plan: the power (0.8)."),
                             QStringLiteral("p")};
    QList<QCommandLineOption> all() const
    {
        return {summary, json, exportCsv, user, selfTest, seed, verify, verifyCsv, plan, alpha, power};
    }
};

// A usage mistake in words, or nothing: each option at most once and with a value where it takes one,
// and exactly one thing to do.
std::optional<QString> misuse(const QCommandLineParser &parser, const Options &options)
{
    for (const QCommandLineOption &option : options.all()) {
        const QString name = option.names().constFirst();
        if (parser.optionNames().count(name) > 1)
            return QStringLiteral("--%1 is given more than once.").arg(name);
        if (!option.valueName().isEmpty() && parser.isSet(option) && parser.value(option).isEmpty())
            return QStringLiteral("--%1 wants a value.").arg(name);
    }
    const int actions = int(parser.isSet(options.summary)) + int(parser.isSet(options.exportCsv)) +
                        int(parser.isSet(options.selfTest)) + int(parser.isSet(options.verify)) +
                        int(parser.isSet(options.verifyCsv)) + int(parser.isSet(options.plan));
    const bool plan = parser.isSet(options.plan);
    const bool jsonFits = parser.isSet(options.summary) || parser.isSet(options.verify) ||
                          parser.isSet(options.verifyCsv) || plan;
    if (actions != 1 || !parser.positionalArguments().isEmpty() ||
        (parser.isSet(options.json) && !jsonFits) ||
        (parser.isSet(options.seed) && !parser.isSet(options.selfTest)) ||
        ((parser.isSet(options.alpha) || parser.isSet(options.power)) && !plan) ||
        (plan && parser.isSet(options.user)))
        return QStringLiteral(
            "Give one of --summary, --export-csv, --verify, --verify-csv, --self-test or --plan.");
    if (!parser.isSet(options.selfTest) && !plan && !parser.isSet(options.verifyCsv) &&
        !parser.isSet(options.user))
        return QStringLiteral("--summary, --export-csv and --verify want --user NAME.");
    return std::nullopt;
}

std::optional<QString> valueIfSet(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    return parser.isSet(option) ? std::optional<QString>(parser.value(option)) : std::nullopt;
}

// The arguments without Qt's own options and their values (they mean nothing without windows).
QStringList withoutQtOptions(const QStringList &arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString name = optionName(arguments[i]);
        if (i > 0 && kQtFlags.contains(name))
            continue;
        if (i > 0 && kQtOptionsWithValue.contains(name)) {
            i += arguments[i].contains(u'=') ? 0 : 1;
            continue;
        }
        kept << arguments[i];
    }
    return kept;
}

} // namespace

bool wanted(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Anything but Qt's own options asks for the command line, so a mistyped option is told as such
    // instead of silently opening the windows.
    return withoutQtOptions(arguments).size() > 1;
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
    const Options options;
    parser.addOptions(options.all());
    if (!parser.parse(withoutQtOptions(QCoreApplication::arguments())))
        return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        say(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        say(stdout,
            QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion() + u'\n');
        return 0;
    }
    if (const std::optional<QString> mistake = misuse(parser, options))
        return usage(*mistake);
    if (parser.isSet(options.plan)) {
        const PlanAnswer answer = plan(parser.value(options.plan), valueIfSet(parser, options.alpha),
                                       valueIfSet(parser, options.power), parser.isSet(options.json));
        if (answer.status == 0)
            say(stdout, answer.output);
        return answer.status == kUsage ? usage(answer.output) : answer.status == 0 ? 0 : fail(answer.output);
    }
    if (parser.isSet(options.selfTest))
        return selfTest(parser.value(options.selfTest), valueIfSet(parser, options.seed));
    if (parser.isSet(options.verify))
        return verifyAccount(parser.value(options.user), parser.isSet(options.json));
    if (parser.isSet(options.verifyCsv))
        return verifyCsvFile(parser.value(options.verifyCsv), parser.isSet(options.json));
    return accountReport(parser.value(options.user), valueIfSet(parser, options.exportCsv),
                         parser.isSet(options.json));
}

} // namespace commandline
