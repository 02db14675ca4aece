// Plays counted guesses for one user as fast as the store allows, through the same calls the
// trainer makes: the account is created in one transaction when missing, the totals are loaded as
// at login, a test run starts, and after each guess Hits and Tries are saved with the try's record
// in one write. Each guess whose write is durable is acknowledged on stdout as "ack <hits> <tries>",
// written with one write() so a kill never leaves half a line that looks whole. A guess whose write
// found the file locked for longer than a window waits is kept in memory, goes in with the next
// write, and is printed as "kept <hits> <tries>". A fault is printed as "fault <message>". Like the
// login, it first takes the account's hold: when another copy has it, it prints "in-use" and ends
// with exit code 3.
//
// Usage: store_guess_driver <user> [<milliseconds to run>]   (no time: until killed)
// The store is the one under $XDG_CONFIG_HOME, as in the program.

#include "accounts/AccountHold.h"
#include "history/HistorySchema.h"
#include "history/TryRecorder.h"
#include "proof/DrawStream.h"
#include "settings/Settings.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdio>
#include <random>
#include <unistd.h>

namespace {

bool g_faulted = false;

void writeLine(const QByteArray &line)
{
    const QByteArray text = line + '\n';
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.constData() + done, size_t(text.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <user> [<milliseconds>]\n", argv[0]);
        return 2;
    }
    const QString application = QStringLiteral("Orvanta");
    const QString user = QString::fromLocal8Bit(argv[1]);
    const long runMs = argc > 2 ? std::atol(argv[2]) : 0;
    setStoreFaultReporter([](const QString &message) {
        g_faulted = true;
        writeLine("fault " + message.toUtf8().replace('\n', ' '));
    });

    accounts::AccountHold hold;
    if (hold.take(user) == accounts::AccountHold::Result::InUse) {
        writeLine("in-use");
        return 3;
    }
    if (GetSetting(application, user, QStringLiteral("UserName"), QStringLiteral("NOTFOUND")) ==
        QLatin1String("NOTFOUND")) {
        SaveSettings(application, user,
                     {{QStringLiteral("UserName"), user},
                      {QStringLiteral("Password"), QStringLiteral("$argon2id$driver")},
                      {QStringLiteral("Hits"), QStringLiteral("0")},
                      {QStringLiteral("Tries"), QStringLiteral("0")}});
    }
    int hits = readCount(GetSetting(application, user, QStringLiteral("Hits"), QStringLiteral("0")));
    int tries = readCount(GetSetting(application, user, QStringLiteral("Tries"), QStringLiteral("0")));

    history::schema::install();
    TryRecorder recorder;
    recorder.beginRun(user, history::Game::Plain);
    std::minstd_rand random(std::random_device{}());
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(runMs);
    while (tries < 32767 && (runMs == 0 || std::chrono::steady_clock::now() < end)) {
        TryRecorder::CountedTry counted;
        counted.guess = int(1 + random() % 5);
        counted.target = proof::pickTarget(*recorder.draws()); // as the trainer draws in a test run
        counted.hit = counted.guess == counted.target;
        ++tries;
        if (counted.hit)
            ++hits;
        g_faulted = false;
        const bool stored = recorder.saveTotals(user, hits, tries, &counted);
        const QByteArray counts = QByteArray::number(hits) + ' ' + QByteArray::number(tries);
        if (stored && !g_faulted)
            writeLine("ack " + counts);
        else if (!g_faulted)
            writeLine("kept " + counts);
    }
    recorder.endRun();
    resetSettingsStore();
    return 0;
}
