#pragma once

#include "history/TryHistory.h"
#include "results/ResultsData.h"

#include <QJsonObject>
#include <QString>

// --summary's figures: the Results window's summary (in the C locale) with one line per run, or one
// JSON object; and the record's fingerprint.
namespace commandline {

QJsonObject summaryJson(const history::AccountHistory &account, const results::ResultsData &data);
QString summaryText(const history::AccountHistory &account, const results::ResultsData &data);

// The record's fingerprint (the latest chain value, in full hex; empty without a chain) and how many
// tries the chain holds.
struct ChainFigures
{
    QString fingerprint;
    qint64 chainedTries = 0;
};
ChainFigures chainFigures(const QString &userName);

} // namespace commandline
