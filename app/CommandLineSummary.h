#pragma once

#include "history/TryHistory.h"
#include "results/ResultsData.h"

#include <QJsonObject>
#include <QString>

// --summary's figures: the Results window's summary (in the C locale) with one line per run, or one
// JSON object.
namespace commandline {

QJsonObject summaryJson(const history::AccountHistory &account, const results::ResultsData &data);
QString summaryText(const history::AccountHistory &account, const results::ResultsData &data);

} // namespace commandline
