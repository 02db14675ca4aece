#pragma once

#include "ResultsData.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariant>

namespace results {

// One row of a table of tries against chance: its describing cells, then tries, hits, accuracy and
// the exact probability of at least this many hits. A cell holds the value it sorts by; a time is
// written in local time only when a view asks for it, so an update with a thousand runs on record
// formats no more than the rows on screen.
struct TallyRow
{
    QVariantList cells;
    Tally tally;

    bool operator==(const TallyRow &other) const;
};

QList<TallyRow> runRows(const QList<RunRow> &runs);
QList<TallyRow> splitRows(const ResultsData &data);

// The runs table and the splits table: read-only, sortable through Qt::UserRole (numbers and times
// sort as such, not as text). setRows keeps what can be kept: rows that did not change stay, so
// selection and scrolling survive the update after every try.
class TallyTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kSortRole = Qt::UserRole;

    explicit TallyTableModel(QStringList labelHeaders, QObject *parent = nullptr);

    void setRows(QList<TallyRow> rows);
    const QList<TallyRow> &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QStringList m_labelHeaders;
    QList<TallyRow> m_rows;
};

} // namespace results
