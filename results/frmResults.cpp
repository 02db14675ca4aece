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

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
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
    // Every column as wide as what it holds; room left over stays empty rather than widening one.
    view->horizontalHeader()->setStretchLastSection(false);
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
    m_tabs = new QTabWidget(this);
    // The three questions first, then what they rest on.
    m_tabs->addTab(buildAboveChance(), resultstext::kTabAboveChance);
    m_tabs->addTab(buildImproving(), resultstext::kTabImproving);
    m_tabs->addTab(m_series = new SeriesPanel(QString(), this), resultstext::kTabSeries);
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
    // A tab's text carries its mnemonic marker; a screen reader is told the words alone.
    for (int tab = 0; tab < m_tabs->count(); ++tab)
        m_tabs->tabBar()->setAccessibleTabName(tab, withoutMnemonic(m_tabs->tabText(tab)));
    layout->addWidget(m_tabs, 1);

    layout->addLayout(buildButtons());

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

QHBoxLayout *frmResults::buildButtons()
{
    auto *buttons = new QHBoxLayout;
    m_export = new QPushButton(resultstext::kExportCsv, this);
    m_saveChart = new QPushButton(resultstext::kSaveChart, this);
    auto *chartMenu = new QMenu(m_saveChart);
    chartMenu->addAction(resultstext::kSaveDeviation, this, [this] { saveChart(ChartKind::Deviation); });
    chartMenu->addAction(resultstext::kSaveSpread, this, [this] { saveChart(ChartKind::Spread); });
    chartMenu->addAction(resultstext::kSaveTrend, this, [this] { saveChart(ChartKind::Trend); });
    m_saveChart->setMenu(chartMenu);
    m_close = new QPushButton(resultstext::kClose, this);
    // Where the last file went; it gives up its width before any button does.
    m_status = new QLabel(this);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    buttons->addWidget(m_export);
    buttons->addWidget(m_saveChart);
    buttons->addWidget(m_series->planButton());
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_close);
    return buttons;
}

void frmResults::buildSummary(QWidget *page)
{
    m_summaryBox = new QGroupBox(resultstext::kWholeRecord, page);
    m_summaryGrid = new QGridLayout(m_summaryBox);
    // Label and value, a gap, label and value; room left over goes to the values.
    m_summaryGrid->setColumnMinimumWidth(2, fontMetrics().height() * 2);
    m_summaryGrid->setColumnStretch(1, 1);
    m_summaryGrid->setColumnStretch(4, 1);
    for (int line = 0; line < kSummaryLines; ++line) {
        auto *label = new QLabel(m_summaryBox);
        auto *value = new QLabel(m_summaryBox);
        label->setWordWrap(true);
        value->setWordWrap(true);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setBuddy(value);
        const QPoint cell = summaryCell(line);
        m_summaryGrid->addWidget(label, cell.y(), cell.x());
        m_summaryGrid->addWidget(value, cell.y(), cell.x() + 1);
        m_summaryLabels << label;
        m_summaryValues << value;
    }
}

ChartWidget *frmResults::addChart(QHBoxLayout *row, ChartKind kind, const QString &caption, int stretch)
{
    QWidget *page = row->parentWidget();
    auto *column = new QVBoxLayout;
    auto *chart = new ChartWidget(kind, page);
    chart->setData(&m_record.data());
    auto *words = new QLabel(caption, page);
    words->setWordWrap(true);
    column->addWidget(chart, 1);
    column->addWidget(words);
    row->addLayout(column, stretch);
    return chart;
}

QWidget *frmResults::buildAboveChance()
{
    auto *page = new QWidget(this);
    auto *column = new QVBoxLayout(page);
    m_verdict = new QLabel(page);
    m_verdict->setWordWrap(true);
    m_verdict->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont large = m_verdict->font();
    large.setPointSizeF(large.pointSizeF() * 1.3);
    m_verdict->setFont(large);
    column->addWidget(m_verdict);

    auto *charts = new QHBoxLayout;
    column->addLayout(charts, 2);
    m_deviationChart = addChart(charts, ChartKind::Deviation, resultstext::kDeviationCaption, 3);
    m_spreadChart = addChart(charts, ChartKind::Spread, resultstext::kSpreadCaption, 2);

    // z, the exact p and the rest wait behind a button: the verdict and the picture come first.
    m_details = new QToolButton(page);
    m_details->setText(resultstext::kDetails);
    m_details->setAccessibleName(withoutMnemonic(resultstext::kDetails));
    m_details->setCheckable(true);
    m_details->setAutoRaise(true);
    m_details->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_details->setArrowType(Qt::RightArrow);
    // Open, they scroll on a small screen rather than crush the charts.
    auto *details = new QScrollArea(page);
    details->setWidgetResizable(true);
    details->setFrameShape(QFrame::NoFrame);
    buildSummary(details);
    details->setWidget(m_summaryBox);
    details->hide();
    connect(m_details, &QToolButton::toggled, this, [this, details](bool open) {
        m_details->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        details->setVisible(open);
    });
    column->addWidget(m_details, 0, Qt::AlignLeft);
    column->addWidget(details, 1);
    return page;
}

QWidget *frmResults::buildImproving()
{
    auto *page = new QWidget(this);
    auto *row = new QHBoxLayout(page);
    auto *chart = new ChartWidget(ChartKind::Trend, page);
    chart->setData(&m_record.data());
    row->addWidget(chart, 3);
    m_trendChart = chart;

    // The answer in words beside the picture.
    auto *side = new QVBoxLayout;
    m_trendSentence = new QLabel(page);
    m_trendSentence->setWordWrap(true);
    m_trendSentence->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont large = m_trendSentence->font();
    large.setPointSizeF(large.pointSizeF() * 1.3);
    m_trendSentence->setFont(large);
    m_trendChance = new QLabel(page);
    m_trendChance->setWordWrap(true);
    auto *caption = new QLabel(resultstext::kTrendCaption, page);
    caption->setWordWrap(true);
    side->addWidget(m_trendSentence);
    side->addWidget(m_trendChance);
    side->addSpacing(fontMetrics().height());
    side->addWidget(caption);
    side->addStretch(1);
    row->addLayout(side, 1);
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
    switch (kind) {
    case ChartKind::Deviation:
        return m_deviationChart;
    case ChartKind::Spread:
        return m_spreadChart;
    case ChartKind::Trend:
        break;
    }
    return m_trendChart;
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
    m_trendSentence->setText(trendText(data));
    m_trendChance->setText(trendChanceText(data));
    m_trendChance->setVisible(!m_trendChance->text().isEmpty());

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
    for (ChartWidget *chart : {m_deviationChart, m_spreadChart, m_trendChart})
        soon ? chart->dataChangedSoon() : chart->dataChanged();

    const bool recorded = data.recordedTries() > 0;
    m_export->setEnabled(recorded);
    m_saveChart->setEnabled(recorded);
}

} // namespace results
