#include "FairCheck.h"

#include "history/RecordVerify.h"
#include "proof/CanonicalBytes.h"
#include "settings/SettingsStore.h"

#include <QStringList>

namespace results {

namespace {

const QString kUnreadable = QStringLiteral("The record could not be read: %1");
const QString kHolds = QStringLiteral(
    "Every recorded run checks out: %1 verified, %2 unverifiable (from a run that is still going "
    "or was cut off before its end, so its seed is not on record).");
const QString kBeforeChain =
    QStringLiteral(" %1 recorded before runs were sealed and chained; those cannot be checked this way.");
const QString kMismatch = QStringLiteral("The record does not check out: %1.");
const QString kFails = QStringLiteral("The record does not check out: row %1 of %2 %3.");

QString counted(const QLocale &locale, int n, const QString &one, const QString &many)
{
    return QStringLiteral("%1 %2").arg(locale.toString(n), n == 1 ? one : many);
}

QString problemWords(proof::Problem problem)
{
    switch (problem) {
    case proof::Problem::Chain:
        return QStringLiteral("does not follow from the rows before it: the record was changed after "
                              "it was written");
    case proof::Problem::BeforeChain:
        return QStringLiteral("has no chain value although the chain had begun: a row was added or "
                              "changed by hand");
    case proof::Problem::Order:
        return QStringLiteral("is out of place: a try or a run's end is missing, repeated or moved");
    case proof::Problem::Hit:
        return QStringLiteral("has a hit flag that disagrees with its guess and target");
    case proof::Problem::Seed:
        return QStringLiteral("reveals a seed that does not give its run's commitment");
    case proof::Problem::Draw:
        return QStringLiteral("holds a target or deal that its run's seed does not give");
    case proof::Problem::None:
        break;
    }
    return {};
}

} // namespace

RecordCheck checkRecordRows(const QString &storePath, const QString &userName)
{
    RecordCheck check;
    const std::optional<history::RecordVerification> verified = history::verifyStoredRecord(
        storePath.isEmpty() ? SettingsStore::defaultFilePath() : storePath, userName, &check.problem);
    if (!verified)
        return check;
    check.problem.clear();
    check.report = verified->chain;
    if (verified->chain.holds() && !verified->holds())
        check.mismatch = verified->firstProblem;
    return check;
}

QString checkText(const RecordCheck &check, const QLocale &locale)
{
    if (!check.problem.isEmpty())
        return kUnreadable.arg(check.problem);
    if (!check.mismatch.isEmpty())
        return kMismatch.arg(check.mismatch);
    const proof::VerifyReport &report = check.report;
    if (!report.holds())
        return kFails.arg(locale.toString(report.firstProblemRow + 1), locale.toString(report.rowsChecked),
                          problemWords(report.firstProblem));
    QString text =
        kHolds.arg(counted(locale, report.runsVerified, QStringLiteral("run"), QStringLiteral("runs")),
                   counted(locale, report.unverifiableTries, QStringLiteral("try"), QStringLiteral("tries")));
    if (report.triesBeforeChain > 0)
        text += kBeforeChain.arg(counted(locale, report.triesBeforeChain, QStringLiteral("try was"),
                                         QStringLiteral("tries were")));
    return text;
}

QString groupedFingerprint(const proof::VerifyReport &report)
{
    const QString hex = fullFingerprint(report).left(16);
    QStringList groups;
    for (qsizetype at = 0; at < hex.size(); at += 4)
        groups << hex.mid(at, 4);
    return groups.join(u' ');
}

QString fullFingerprint(const proof::VerifyReport &report)
{
    return report.fingerprint ? proof::toHex(*report.fingerprint) : QString();
}

} // namespace results
