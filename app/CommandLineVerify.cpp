#include "CommandLineVerify.h"
#include "CommandLineOutput.h"

#include "history/RecordVerify.h"
#include "proof/RecordCsv.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace commandline {

namespace {

// restHolds: what lies beside the chain (the totals, the series) holds too.
int report(const proof::VerifyReport &chain, bool restHolds, const QString &firstProblem, bool json)
{
    const bool holds = chain.holds() && restHolds;
    const QString fingerprint = chain.fingerprint ? proof::toHex(*chain.fingerprint) : QString();
    QString text;
    if (json) {
        text = QString::fromUtf8(
                   QJsonDocument(QJsonObject{{QStringLiteral("holds"), holds},
                                             {QStringLiteral("rows_checked"), chain.rowsChecked},
                                             {QStringLiteral("runs_verified"), chain.runsVerified},
                                             {QStringLiteral("runs_unverifiable"), chain.runsUnverifiable},
                                             {QStringLiteral("unverifiable_tries"), chain.unverifiableTries},
                                             {QStringLiteral("tries_before_chain"), chain.triesBeforeChain},
                                             {QStringLiteral("first_problem"), firstProblem},
                                             {QStringLiteral("fingerprint"), fingerprint}})
                       .toJson(QJsonDocument::Compact)) +
               u'\n';
    } else {
        text = QStringLiteral("Rows checked: %1\nRuns verified: %2\nRuns unverifiable: %3 (%4 tries)\n"
                              "Tries before the chain: %5\nFingerprint: %6\n%7\n")
                   .arg(chain.rowsChecked)
                   .arg(chain.runsVerified)
                   .arg(chain.runsUnverifiable)
                   .arg(chain.unverifiableTries)
                   .arg(chain.triesBeforeChain)
                   .arg(fingerprint.isEmpty() ? QStringLiteral("none") : fingerprint)
                   .arg(holds ? QStringLiteral("Everything that can be checked holds.")
                              : QStringLiteral("First problem: ") + firstProblem);
    }
    say(stdout, text);
    return holds ? 0 : kFailed;
}

} // namespace

int verifyAccount(const QString &userName, bool json)
{
    QString reason;
    const std::optional<history::RecordVerification> checked =
        history::verifyStoredRecord(SettingsStore::defaultFilePath(), userName, &reason);
    if (!checked)
        return fail(reason);
    return report(checked->chain, checked->totals.consistent && checked->unchainedSeries.empty(),
                  checked->firstProblem, json);
}

int verifyCsvFile(const QString &filePath, bool json)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(filePath, file.errorString()));
    const proof::CsvRecord record = proof::readRecordCsv(file.readAll());
    if (!record.error.isEmpty())
        return fail(QStringLiteral("cannot read %1: %2").arg(filePath, record.error));
    const proof::VerifyReport chain =
        proof::verifyRecord(SettingsStore::foldName(record.account), record.rows);
    const QString problem = chain.holds() ? QString()
                                          : history::describeRow(record.rows, chain.firstProblemRow) +
                                                QStringLiteral(": ") + proof::problemName(chain.firstProblem);
    return report(chain, true, problem, json);
}

} // namespace commandline
