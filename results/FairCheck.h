#pragma once

#include "proof/RecordChain.h"

#include <QLocale>
#include <QString>

#include <functional>
#include <vector>

// "Is it fair?", the record check: the chain, each sealed run's seed and draws, checked as the
// command line's --verify checks them, and said in words.
namespace results {

struct RecordCheck
{
    QString problem; // why the record could not be read; empty when it was
    proof::VerifyReport report;
    QString mismatch; // a problem beside the chain (the totals, a series), in words; empty when none
};

// Checks one account's record in a settings file (empty path: the user's own).
using RecordChecker = std::function<RecordCheck(const QString &storePath, const QString &userName)>;

// Reads the account read only and checks it as --verify does (history::verifyStoredRecord).
RecordCheck checkRecordRows(const QString &storePath, const QString &userName);

// The result in words: every run checks out, with the counts, or the first problem named.
QString checkText(const RecordCheck &check, const QLocale &locale = QLocale());
// The fingerprint's first 16 hex digits in groups of four ("1a2b 3c4d 5e6f 7a8b"); empty without one.
QString groupedFingerprint(const proof::VerifyReport &report);
// The whole fingerprint in hex, as the clipboard gets it; empty without one.
QString fullFingerprint(const proof::VerifyReport &report);

} // namespace results
