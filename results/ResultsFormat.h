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

// "1 try", "2 tries", "1 hit", "12 000 hits" (the count in the locale).
QString countText(std::int64_t count, const QString &one, const QString &many,
                  const QLocale &locale = QLocale());
QString triesText(std::int64_t tries, const QLocale &locale = QLocale());
QString hitsText(std::int64_t hits, const QLocale &locale = QLocale());
// A chance in words before the number: "about 1 in 4", "about 6 in 10", "nearly always".
QString chanceWords(double p);
// E in the verdict's words: "1.6", "62", "840 000", "3.5 × 10^9862".
QString evidenceText(double log10E);
// The evidence verdict: "Too few tries to tell yet.", within chance, above or below chance.
QString evidenceVerdict(const ResultsData &data);
// The trend sentence ("Too few runs to tell yet.", rises / falls / no clear trend with its p).
QString trendText(const ResultsData &data);
// The trend's p in words, where there are runs enough to judge it; else empty.
QString trendChanceText(const ResultsData &data);

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
