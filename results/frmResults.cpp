#include "frmResults.h"

#include "ChartWidget.h"
#include "FairPanel.h"
#include "TallyTableModel.h"
#include "ResultsFormat.h"
#include "SeriesPanel.h"
#include "ResultsLoader.h"
#include "ResultsTexts.h"
#include "WindowPlacement.h"

#include "platform/Accessibility.h"
#include "platform/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace results {

namespace {

// Client sizes in pixels: both charts side by side, and the least that keeps every control usable.
constexpr QSize kWantedSize(960, 720);
constexpr QSize kMinimumSize(640, 480);
// The window manager's frame assumed before the window has been shown (a title bar, thin borders).
constexpr QMargins kFrameEstimate(4, 28, 4, 4);

// The width and height a frame adds around the client area.
QSize extent(const QMargins &frame)
{
    return {frame.left() + frame.right(), frame.top() + frame.bottom()};
}

// "By &game and deck" as "By game and deck" ("&&" stands for one "&").
QString withoutMnemonic(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\u0001"));
    text.remove(u'&');
    text.replace(QStringLiteral("\u0001"), QStringLiteral("&"));
    return text;
}

// The headline figures, the figures for a fixed number of tries, the trend, the exploratory scores
// and what came before the history: two columns of seven.
constexpr int kSummaryLines = 14;
QPoint summaryCell(int line)
{
    constexpr int rows = kSummaryLines / 2;
    return line < rows ? QPoint{0, line} : QPoint{3, line - rows};
}

QTableView *makeTable(QAbstractItemModel *model, QWidget *parent, const QString &name)
{
    auto *view = new QTableView(parent);
    view->setModel(model);
    view->setAccessibleName(withoutMnemonic(name));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    // Tab leaves the table for the next control; the arrow keys move between its cells.
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Columns fit what the first rows hold: measuring every one of a thousand runs after each try
    // would cost more than the rest of the update.
    view->horizontalHeader()->setResizeContentsPrecision(50);
    view->horizontalHeader()->setStretchLastSection(true);
    // The corner button selects the whole table; Qt leaves it without a name.
    if (auto *corner = view->findChild<QAbstractButton *>())
        corner->setAccessibleName(resultstext::kSelectAll);
    return view;
}

} // namespace

frmResults::frmResults(QWidget *parent)
    : QWidget(parent, Qt::Window), m_loader(std::make_unique<ResultsLoader>())
{
    // A window of its own to assistive technology, as it is to the user.
    platform::setAccessibleFrame(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(kMinimumSize);

    auto *layout = new QVBoxLayout(this);
    m_verdict = new QLabel(this);
    m_verdict->setWordWrap(true);
    m_verdict->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont large = m_verdict->font();
    large.setPointSizeF(large.pointSizeF() * 1.45);
    m_verdict->setFont(large);
    layout->addWidget(m_verdict);

    buildSummary();
    layout->addWidget(m_summaryBox);

    m_tabs = new QTabWidget(this);
    m_tabs->addTab(buildCharts(), resultstext::kTabCharts);
    m_runsModel = new TallyTableModel(
        {resultstext::kColumnStart, resultstext::kColumnGame, resultstext::kColumnDecks}, this);
    m_runsSorted = new QSortFilterProxyModel(this);
    m_runsSorted->setSourceModel(m_runsModel);
    m_runsSorted->setSortRole(TallyTableModel::kSortRole);
    m_runsView = makeTable(m_runsSorted, this, QStringLiteral("Runs"));
    m_runsView->setSortingEnabled(true);
    // Newest run first until the user sorts otherwise.
    m_runsView->sortByColumn(0, Qt::DescendingOrder);
    m_tabs->addTab(m_runsView, resultstext::kTabRuns);
    m_tabs->addTab(buildSplits(), resultstext::kTabSplits);
    m_tabs->addTab(new FairPanel([this] { return data().userName; }, this), FairPanel::kTabText);
    m_tabs->addTab(m_series = new SeriesPanel(QString(), this), QStringLiteral("Se&ries"));
    // A tab's text carries its mnemonic marker; a screen reader is told the words alone.
    for (int tab = 0; tab < m_tabs->count(); ++tab)
        m_tabs->tabBar()->setAccessibleTabName(tab, withoutMnemonic(m_tabs->tabText(tab)));
    layout->addWidget(m_tabs, 1);

    auto *buttons = new QHBoxLayout;
    m_export = new QPushButton(resultstext::kExportCsv, this);
    m_saveChart = new QPushButton(resultstext::kSaveChart, this);
    auto *chartMenu = new QMenu(m_saveChart);
    chartMenu->addAction(resultstext::kSaveDeviation, this, [this] { saveChart(ChartKind::Deviation); });
    chartMenu->addAction(resultstext::kSaveSpread, this, [this] { saveChart(ChartKind::Spread); });
    m_saveChart->setMenu(chartMenu);
    m_close = new QPushButton(resultstext::kClose, this);
    buttons->addWidget(m_export);
    buttons->addWidget(m_saveChart);
    buttons->addWidget(m_series->planButton());
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    connect(m_export, &QPushButton::clicked, this, &frmResults::exportCsv);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    auto *copyKey = new QShortcut(QKeySequence::Copy, this);
    connect(copyKey, &QShortcut::activated, this, &frmResults::copy);

    setTabOrder(m_tabs, m_export);
    setTabOrder(m_export, m_saveChart);
    setTabOrder(m_saveChart, m_close);

    // Big enough for both charts side by side, never bigger than the screen; placeBeside then puts
    // it where it can be seen.
    QSize size = kWantedSize;
    if (const QScreen *screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() - extent(kFrameEstimate));
    resize(size.expandedTo(minimumSize()));
    applyData();
}

frmResults::~frmResults() = default;

void frmResults::buildSummary()
{
    m_summaryBox = new QGroupBox(resultstext::kWholeRecord, this);
    m_summaryGrid = new QGridLayout(m_summaryBox);
    // Label and value, a gap, label and value; room left over goes to the right.
    m_summaryGrid->setColumnMinimumWidth(2, fontMetrics().height() * 3);
    m_summaryGrid->setColumnStretch(5, 1);
    for (int line = 0; line < kSummaryLines; ++line) {
        auto *label = new QLabel(m_summaryBox);
        auto *value = new QLabel(m_summaryBox);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setBuddy(value);
        const QPoint cell = summaryCell(line);
        m_summaryGrid->addWidget(label, cell.y(), cell.x());
        m_summaryGrid->addWidget(value, cell.y(), cell.x() + 1);
        m_summaryLabels << label;
        m_summaryValues << value;
    }
}

QWidget *frmResults::buildCharts()
{
    auto *page = new QWidget(this);
    auto *row = new QHBoxLayout(page);
    for (ChartKind kind : {ChartKind::Deviation, ChartKind::Spread}) {
        auto *column = new QVBoxLayout;
        auto *chart = new ChartWidget(kind, page);
        chart->setData(&m_record.data());
        auto *caption = new QLabel(kind == ChartKind::Deviation ? resultstext::kDeviationCaption
                                                                : resultstext::kSpreadCaption,
                                   page);
        caption->setWordWrap(true);
        column->addWidget(chart, 1);
        column->addWidget(caption);
        row->addLayout(column, 1);
        (kind == ChartKind::Deviation ? m_deviationChart : m_spreadChart) = chart;
    }
    return page;
}

QWidget *frmResults::buildSplits()
{
    auto *page = new QWidget(this);
    auto *column = new QVBoxLayout(page);
    m_splitsModel = new TallyTableModel({resultstext::kColumnSplit}, this);
    m_splitsView = makeTable(m_splitsModel, page, resultstext::kTabSplits);
    auto *caution = new QLabel(resultstext::kSplitsCaution, page);
    caution->setWordWrap(true);
    column->addWidget(m_splitsView, 1);
    column->addWidget(caution);
    return page;
}

ChartWidget *frmResults::chart(ChartKind kind) const
{
    return kind == ChartKind::Deviation ? m_deviationChart : m_spreadChart;
}

void frmResults::placeBeside(const QRect &owner, const QRect &protect)
{
    const QScreen *screen = QGuiApplication::screenAt(owner.center());
    if (!screen)
        screen = this->screen();
    if (!screen)
        return;
    // Before the first show the window manager's frame is not known yet: a title bar and thin
    // borders are assumed, so the buttons stay on the screen.
    const QMargins frame = isVisible() ? QMargins(geometry().left() - frameGeometry().left(),
                                                  geometry().top() - frameGeometry().top(),
                                                  frameGeometry().right() - geometry().right(),
                                                  frameGeometry().bottom() - geometry().bottom())
                                       : kFrameEstimate;
    const QSize minimum = minimumSize().boundedTo(screen->availableGeometry().size() - extent(frame));
    setMinimumSize(minimum);
    setGeometry(results::placeBeside(
        PlacementRequest{screen->availableGeometry(), owner, protect, kWantedSize, minimum, frame}));
}

void frmResults::showFor(const QString &userName)
{
    loadFor(userName);
    show();
    raise();
    activateWindow();
}

void frmResults::loadFor(const QString &userName)
{
    setRecord(m_loader->load(userName));
}

void frmResults::refresh()
{
    if (m_loader->refresh(m_record))
        applyData(true);
}

void frmResults::setRecord(ResultsRecord record)
{
    m_record = std::move(record);
    applyData();
}

void frmResults::applyData(bool soon)
{
    const ResultsData &data = m_record.data();
    setWindowTitle(resultstext::kTitlePrefix + data.userName);
    if (!soon) // after each try the series wait for the next full load (a series closing brings one)
        m_series->load(data.userName);
    m_verdict->setText(headline(data));

    const QList<SummaryLine> lines = summaryLines(data);
    for (int line = 0; line < kSummaryLines; ++line) {
        const bool shown = line < lines.size();
        m_summaryLabels[line]->setVisible(shown);
        m_summaryValues[line]->setVisible(shown);
        if (shown) {
            m_summaryLabels[line]->setText(lines[line].label + QLatin1Char(':'));
            m_summaryValues[line]->setText(lines[line].value);
            const QString explained =
                lines[line].label == resultstext::kPAtLeast ? resultstext::kPAtLeastExplained : QString();
            m_summaryLabels[line]->setToolTip(explained);
            m_summaryValues[line]->setToolTip(explained);
        }
    }
    // Screen readers meet the whole summary in one place, in reading order.
    m_summaryBox->setAccessibleDescription(summaryText(data));
    m_verdict->setAccessibleName(headline(data));

    m_runsModel->setRows(runRows(data.runs));
    m_splitsModel->setRows(splitRows(data));
    for (ChartWidget *chart : {m_deviationChart, m_spreadChart})
        soon ? chart->dataChangedSoon() : chart->dataChanged();

    const bool recorded = data.recordedTries() > 0;
    m_export->setEnabled(recorded);
    m_saveChart->setEnabled(recorded);
}

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
    if (!m_loader->exportCsv(data().userName, path, &error))
        platform::MsgBox(resultstext::kExportFailed.arg(QDir::toNativeSeparators(path), error),
                         platform::MsgIcon::Exclamation);
}

void frmResults::saveChart(ChartKind kind)
{
    const QString what = kind == ChartKind::Deviation ? QStringLiteral("deviation") : QStringLiteral("runs");
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
                       shown->palette()))
        platform::MsgBox(resultstext::kSaveChartFailed.arg(QDir::toNativeSeparators(path)),
                         platform::MsgIcon::Exclamation);
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
