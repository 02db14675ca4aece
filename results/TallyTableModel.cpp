#include "TallyTableModel.h"

#include "ResultsFormat.h"
#include "ResultsTexts.h"

#include <QLocale>

namespace results {

namespace {

enum TallyColumn
{
    Tries,
    Hits,
    Accuracy,
    ExactP,
    TallyColumns
};

} // namespace

bool TallyRow::operator==(const TallyRow &other) const
{
    return cells == other.cells && tally.tries == other.tally.tries && tally.hits == other.tally.hits;
}

QList<TallyRow> runRows(const QList<RunRow> &runs)
{
    QList<TallyRow> rows;
    rows.reserve(runs.size());
    for (const RunRow &run : runs)
        rows.append({{run.start, run.game, run.decks}, run.tally});
    return rows;
}

QList<TallyRow> splitRows(const ResultsData &data)
{
    QList<TallyRow> rows;
    for (const QList<SplitRow> *group : {&data.games, &data.decks}) {
        for (const SplitRow &split : *group)
            rows.append({{split.label}, split.tally});
    }
    return rows;
}

TallyTableModel::TallyTableModel(QStringList labelHeaders, QObject *parent)
    : QAbstractTableModel(parent), m_labelHeaders(std::move(labelHeaders))
{
}

void TallyTableModel::setRows(QList<TallyRow> rows)
{
    const qsizetype kept = std::min(rows.size(), m_rows.size());
    if (rows.size() < m_rows.size()) {
        // Fewer rows only when another record is shown: start over.
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
        return;
    }
    for (qsizetype i = 0; i < kept; ++i) {
        if (!(m_rows[i] == rows[i])) {
            m_rows[i] = rows[i];
            emit dataChanged(index(static_cast<int>(i), 0), index(static_cast<int>(i), columnCount() - 1));
        }
    }
    if (rows.size() > kept) {
        beginInsertRows({}, static_cast<int>(kept), static_cast<int>(rows.size() - 1));
        for (qsizetype i = kept; i < rows.size(); ++i)
            m_rows.append(std::move(rows[i]));
        endInsertRows();
    }
}

int TallyTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TallyTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_labelHeaders.size()) + TallyColumns;
}

QVariant TallyTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const TallyRow &row = m_rows[index.row()];
    const int labelColumns = static_cast<int>(m_labelHeaders.size());
    if (index.column() < labelColumns) {
        const QVariant &cell = row.cells.value(index.column());
        if (role == kSortRole)
            return cell;
        if (role != Qt::DisplayRole)
            return {};
        if (cell.typeId() == QMetaType::QDateTime)
            return QLocale().toString(cell.toDateTime().toLocalTime(), QLocale::ShortFormat);
        return cell;
    }
    const Tally &tally = row.tally;
    const int column = index.column() - labelColumns;
    if (role == Qt::ToolTipRole && column == ExactP)
        return QStringLiteral("p = ") + stats::probabilityText(tally.pAtLeast);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role == kSortRole) {
        switch (column) {
        case Tries:
            return qlonglong(tally.tries);
        case Hits:
            return qlonglong(tally.hits);
        case Accuracy:
            return accuracyPercent(tally.tries, tally.hits);
        default:
            return tally.pAtLeast;
        }
    }
    if (role != Qt::DisplayRole)
        return {};
    const QLocale locale;
    switch (column) {
    case Tries:
        return locale.toString(tally.tries);
    case Hits:
        return locale.toString(tally.hits);
    case Accuracy:
        return formatPercent(accuracyPercent(tally.tries, tally.hits), locale);
    default:
        // Words in the table ("about 1 in 4"); the exact p in the cell's tooltip.
        return chanceWords(tally.pAtLeast);
    }
}

QVariant TallyTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    const int labelColumns = static_cast<int>(m_labelHeaders.size());
    if (role == Qt::ToolTipRole && section == labelColumns + ExactP)
        return resultstext::kPAtLeastExplained + resultstext::kFixedInAdvance;
    if (role != Qt::DisplayRole)
        return {};
    if (section < labelColumns)
        return m_labelHeaders.value(section);
    switch (section - labelColumns) {
    case Tries:
        return resultstext::kTries;
    case Hits:
        return resultstext::kHits;
    case Accuracy:
        return resultstext::kAccuracy;
    default:
        return resultstext::kColumnChance;
    }
}

} // namespace results
