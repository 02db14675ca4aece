#pragma once

#include "ResultsData.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

// How the record is written in words and numbers, display-free so the tests read them without a
// screen: one text for the Results window (numbers in the user's locale, like the trainer's score
// line) and the command line (the C locale, for machines).
namespace results {

// A percentage with one decimal: "21.4%".
QString formatPercent(double percent, const QLocale &locale = QLocale());
// A number with the given decimals.
QString formatNumber(double value, int decimals, const QLocale &locale = QLocale());

// The summary as lines of label and value, in the order the window shows them; the same lines go to
// the clipboard and to screen readers.
struct SummaryLine
{
    QString label;
    QString value;
};
QList<SummaryLine> summaryLines(const ResultsData &data, const QLocale &locale = QLocale());
// What the window shows in large type: why the record could not be read, the sentence for an empty
// record, that the totals and the record disagree (then no verdict), or the verdict; and how many
// recorded tries could not be true, where any could not.
QString headline(const ResultsData &data, const QLocale &locale = QLocale());
// Which totals disagree with the record and by how much, in one sentence.
QString disagreementText(const ResultsData &data, const QLocale &locale = QLocale());
// "NAME: k hits in n tries", headline and summary lines as plain text, one a line: what the window
// copies and screen readers meet, and (in the C locale) what the command line prints.
QString summaryText(const ResultsData &data, const QLocale &locale = QLocale());

// qxOrvanta-NAME-YYYY-MM-DD.ext (with "-what" before the date when given). Characters a file name
// cannot hold, or that would lead into another folder, become "_".
QString suggestedFileName(const QString &userName, const QDate &date, const QString &extension,
                          const QString &what = {});

} // namespace results
