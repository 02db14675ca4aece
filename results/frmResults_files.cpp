#include "frmResults.h"

#include "ChartWidget.h"
#include "ResultsFormat.h"
#include "ResultsLoader.h"
#include "ResultsTexts.h"

#include "platform/Dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QTableView>

#include <algorithm>

// The Results window's files and clipboard: exporting the history, saving a chart, copying.
namespace results {

QString frmResults::chooseFile(const QString &title, const QString &suggestedName, const QString &filters,
                               QString *selectedFilter)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString suggested = QDir(folder).filePath(suggestedName);
    return platform::chooseSaveFile(this, title, suggested, filters, selectedFilter);
}

void frmResults::exportCsv()
{
    const QString path =
        chooseFile(resultstext::kExportTitle,
                   suggestedFileName(data().userName, QDate::currentDate(), QStringLiteral("csv")),
                   resultstext::kCsvFilter, nullptr);
    if (path.isEmpty())
        return;
    QString error;
    if (!m_loader->exportCsv(data().userName, path, &error)) {
        platform::MsgBox(resultstext::kExportFailed.arg(QDir::toNativeSeparators(path), error),
                         platform::MsgIcon::Exclamation);
        return;
    }
    tellWritten(resultstext::kExported, path);
}

void frmResults::saveChart(ChartKind kind)
{
    const QString what = kind == ChartKind::Deviation ? QStringLiteral("deviation")
                         : kind == ChartKind::Spread  ? QStringLiteral("runs")
                                                      : QStringLiteral("trend");
    QString filter;
    QString path =
        chooseFile(resultstext::kSaveChartTitle,
                   suggestedFileName(data().userName, QDate::currentDate(), QStringLiteral("png"), what),
                   resultstext::kChartFilters, &filter);
    if (path.isEmpty())
        return;
    // A name typed without an ending takes the one of the chosen kind of file.
    if (QFileInfo(path).suffix().isEmpty())
        path += filter.contains(QLatin1String("svg")) ? QStringLiteral(".svg") : QStringLiteral(".png");
    const ChartWidget *shown = chart(kind);
    const QSize size = shown->isVisible() ? shown->size() : shown->sizeHint();
    if (!saveChartFile(path, kind, data(), size, std::max<qreal>(2, devicePixelRatioF()), shown->font(),
                       shown->palette())) {
        platform::MsgBox(resultstext::kSaveChartFailed.arg(QDir::toNativeSeparators(path)),
                         platform::MsgIcon::Exclamation);
        return;
    }
    tellWritten(resultstext::kChartSaved, path);
}

void frmResults::tellWritten(const QString &text, const QString &path)
{
    const QString said = text.arg(QDir::toNativeSeparators(path));
    m_status->setToolTip(said);
    m_status->setAccessibleName(said);
    fitStatus();
}

void frmResults::fitStatus()
{
    // A long path gives up its middle on the line; the whole of it stays in the tooltip and for
    // screen readers.
    const QString said = m_status->accessibleName();
    m_status->setText(m_status->fontMetrics().elidedText(said, Qt::ElideMiddle, m_status->width()));
}

void frmResults::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_status->accessibleName().isEmpty())
        fitStatus();
}

void frmResults::copy()
{
    QString text;
    const QItemSelectionModel *selection = m_runsView->selectionModel();
    if (m_runsView->hasFocus() && selection && selection->hasSelection()) {
        QStringList lines;
        QStringList header;
        for (int column = 0; column < m_runsSorted->columnCount(); ++column)
            header << m_runsSorted->headerData(column, Qt::Horizontal).toString();
        lines << header.join(QLatin1Char('\t'));
        QModelIndexList rows = selection->selectedRows();
        std::sort(rows.begin(), rows.end(),
                  [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
        for (const QModelIndex &row : rows) {
            QStringList cells;
            for (int column = 0; column < m_runsSorted->columnCount(); ++column)
                cells << m_runsSorted->index(row.row(), column).data().toString();
            lines << cells.join(QLatin1Char('\t'));
        }
        text = lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    } else {
        text = summaryText(data());
    }
    QApplication::clipboard()->setText(text);
}

} // namespace results
