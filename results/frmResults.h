#pragma once

#include "ChartPainter.h"
#include "ResultsRecord.h"

#include <QWidget>

#include <functional>
#include <memory>

class QGridLayout;
class QLabel;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;
class QToolButton;

namespace results {

class ChartWidget;
class SeriesPanel;
class ResultsLoader;
class TallyTableModel;

// The Results window: the whole record of one account from its stored totals, as three questions
// first ("Above chance?" with the verdict, its chart and every figure behind a Details button; "Am I
// improving?" with the runs' hit rates and their trend; "Series"), then the runs, the splits by game
// and deck, and the check of the program's own fairness. An ordinary desktop window of standard
// widgets (not skinned), modeless, working at any size from 640 by 480 up. It shows a ResultsData and
// nothing else: its ResultsLoader fills it and keeps it current after each counted try.
// Escape closes it; Ctrl+C copies the summary, or the selected runs from the runs table.
class frmResults : public QWidget
{
    Q_OBJECT
public:
    explicit frmResults(QWidget *parent = nullptr);
    ~frmResults() override;

    // Loads the account's record, shows the window without blocking and brings it to the front.
    void showFor(const QString &userName);
    // Sizes and places the window on the available area of the owner's screen: beside the owner
    // (its frame, in screen pixels) when there is room, else covering least of the protected part.
    void placeBeside(const QRect &owner, const QRect &protect);
    // Loads the account's record into the window where it is, leaving the focus alone.
    void loadFor(const QString &userName);
    // Reads what was recorded since the last load or refresh and shows it.
    void refresh();
    // Shows this record (replacing what was shown).
    void setRecord(ResultsRecord record);
    const ResultsData &data() const { return m_record.data(); }

    // The buttons' actions.
    void exportCsv();
    void saveChart(ChartKind kind);
    // Puts the selected runs (when the runs table has the focus) or else the summary on the clipboard.
    void copy();

    // For tests and the screen reader checks.
    QLabel *verdictLabel() const { return m_verdict; }
    QLabel *trendLabel() const { return m_trendSentence; }
    QToolButton *detailsButton() const { return m_details; }
    QLabel *statusLabel() const { return m_status; }
    QGroupBox *summaryBox() const { return m_summaryBox; }
    QTableView *runsView() const { return m_runsView; }
    ChartWidget *chart(ChartKind kind) const;
    QTabWidget *tabs() const { return m_tabs; }
    QPushButton *exportButton() const { return m_export; }
    QPushButton *saveChartButton() const { return m_saveChart; }
    QPushButton *closeButton() const { return m_close; }
    SeriesPanel *seriesPanel() const { return m_series; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildSummary(QWidget *page);
    QWidget *buildAboveChance();
    QWidget *buildImproving();
    QWidget *buildSplits();
    QHBoxLayout *buildButtons();
    // A chart with its caption under it, added to row.
    ChartWidget *addChart(QHBoxLayout *row, ChartKind kind, const QString &caption, int stretch);
    // Says what was written where, after a file was written.
    void tellWritten(const QString &text, const QString &path);
    // Shows that on the status line, as much of it as the line holds.
    void fitStatus();
    // Shows the record; after a counted try (soon) the charts follow a moment later.
    void applyData(bool soon = false);
    QString chooseFile(const QString &title, const QString &suggestedName, const QString &filters,
                       QString *selectedFilter);

    std::unique_ptr<ResultsLoader> m_loader;
    ResultsRecord m_record;
    QLabel *m_verdict = nullptr;
    QGroupBox *m_summaryBox = nullptr;
    QGridLayout *m_summaryGrid = nullptr;
    QList<QLabel *> m_summaryLabels;
    QList<QLabel *> m_summaryValues;
    QTabWidget *m_tabs = nullptr;
    ChartWidget *m_deviationChart = nullptr;
    ChartWidget *m_spreadChart = nullptr;
    ChartWidget *m_trendChart = nullptr;
    QLabel *m_trendSentence = nullptr;
    QLabel *m_trendChance = nullptr;
    QToolButton *m_details = nullptr;
    QLabel *m_status = nullptr;
    TallyTableModel *m_runsModel = nullptr;
    QSortFilterProxyModel *m_runsSorted = nullptr;
    QTableView *m_runsView = nullptr;
    TallyTableModel *m_splitsModel = nullptr;
    QTableView *m_splitsView = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_saveChart = nullptr;
    QPushButton *m_close = nullptr;
    SeriesPanel *m_series = nullptr;
};

} // namespace results
