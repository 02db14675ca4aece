// The Results window on the offscreen platform: what an empty record shows, the runs table's order
// and its updates, the keyboard, saving charts and copying the summary.
#include "results/ResultsFormat.h"
#include "results/ChartWidget.h"
#include "results/TallyTableModel.h"
#include "results/ResultsTexts.h"
#include "results/SeriesPanel.h"
#include "results/frmResults.h"
#include "settings/SettingsStore.h"

#include "tests/results/ResultsTestSupport.h"
#include "tests/support/HistoryTestSupport.h"
#include "tests/support/TestSandbox.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTest>

using namespace results;
using resultstest::recordOf;

namespace {

QStringList columnTexts(const QAbstractItemModel *model, int column)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

} // namespace

class tst_frmResults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initWindowSuite(); }
    void init()
    {
        m_sandbox = std::make_unique<WindowSandbox>();
        m_window = new frmResults;
    }
    void cleanup()
    {
        delete m_window.data();
        m_sandbox.reset();
    }

    // Guards the empty record: the sentence that says how to start, charts that say the same and
    // draw no axes, and nothing to export or save.
    void emptyRecordSaysHowToStart()
    {
        m_window->setRecord(ResultsRecord(QStringLiteral("Ada")));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Results - Ada"));
        QCOMPARE(m_window->verdictLabel()->text(), resultstext::kNoTries);
        for (ChartKind kind : {ChartKind::Deviation, ChartKind::Spread, ChartKind::Trend})
            QCOMPARE(m_window->chart(kind)->accessibleDescription(), resultstext::kNoTries);
        QVERIFY(!m_window->exportButton()->isEnabled());
        QVERIFY(!m_window->saveChartButton()->isEnabled());
        QCOMPARE(m_window->runsView()->model()->rowCount(), 0);
    }

    // Guards the runs table: numbers sort as numbers (5 < 25 < 100, where text would give
    // 100 < 25 < 5), and an update after a try keeps the row the user selected.
    void runsSortAsNumbersAndKeepTheSelection()
    {
        m_window->setRecord(recordOf({25, 100, 5}));
        QTableView *view = m_window->runsView();
        const int triesColumn = 3;
        QCOMPARE(view->model()->headerData(triesColumn, Qt::Horizontal).toString(), resultstext::kTries);
        view->sortByColumn(triesColumn, Qt::AscendingOrder);
        QCOMPARE(columnTexts(view->model(), triesColumn),
                 QStringList({QStringLiteral("5"), QStringLiteral("25"), QStringLiteral("100")}));

        view->selectRow(1);
        m_window->setRecord(recordOf({25, 100, 6, 1}));
        QCOMPARE(columnTexts(view->model(), triesColumn),
                 QStringList({QStringLiteral("1"), QStringLiteral("6"), QStringLiteral("25"),
                              QStringLiteral("100")}));
        QCOMPARE(view->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(view->selectionModel()->selectedRows().first().data().toString(),
                 view->model()->index(2, 0).data().toString()); // still the run of 25
    }

    // Guards the keyboard: Tab reaches the tabs, the table and every button, and Escape closes.
    void tabReachesEverythingAndEscapeCloses()
    {
        m_window->setRecord(recordOf({25}));
        m_window->show();
        QApplication::setActiveWindow(m_window);
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        m_window->tabs()->setCurrentWidget(m_window->runsView());
        QSet<QWidget *> reached;
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget();
        }
        for (QWidget *control :
             {static_cast<QWidget *>(m_window->runsView()), static_cast<QWidget *>(m_window->exportButton()),
              static_cast<QWidget *>(m_window->saveChartButton()),
              static_cast<QWidget *>(m_window->closeButton())})
            QVERIFY2(reached.contains(control), control->metaObject()->className());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(m_window.isNull());
    }

    // Guards saving: PNG at twice the density and SVG both written whole, a name without an ending
    // takes the chosen kind's, each chart carries the account, the date and the verdict, and a file
    // that cannot be written is reported.
    void savesChartsAsPngAndSvg()
    {
        QTemporaryDir folder;
        m_window->setRecord(recordOf({25, 40}));
        m_window->resize(800, 600);
        QString answer, filter, suggested;
        platform::setFileChooser(
            [&](QWidget *, const QString &, const QString &path, const QString &, QString *selected) {
                suggested = path;
                if (selected)
                    *selected = filter;
                return answer;
            });

        answer = folder.filePath(QStringLiteral("deviation.png"));
        m_window->saveChart(ChartKind::Deviation);
        QVERIFY(QFileInfo(suggested).fileName().startsWith(QStringLiteral("qxOrvanta-Ada-deviation-")));
        const QImage png(answer);
        QVERIFY(!png.isNull());
        QVERIFY(png.width() >= 2 * m_window->chart(ChartKind::Deviation)->sizeHint().width() / 2);
        // The picture carries the account, the date and the verdict.
        const QString stamp = png.text(QStringLiteral("Description"));
        QVERIFY2(stamp.startsWith(QStringLiteral("Ada, ") + QDate::currentDate().toString(Qt::ISODate)),
                 qPrintable(stamp));
        QVERIFY(stamp.endsWith(results::evidenceVerdict(m_window->data())));

        answer = folder.filePath(QStringLiteral("spread"));
        filter = QStringLiteral("SVG drawing (*.svg)");
        m_window->saveChart(ChartKind::Spread);
        QFile svg(answer + QStringLiteral(".svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray drawing = svg.readAll();
        QVERIFY(drawing.contains("<svg"));
        QVERIFY(drawing.contains(results::evidenceVerdict(m_window->data()).toUtf8()));

        // The trend chart carries its own sentence before the verdict.
        answer = folder.filePath(QStringLiteral("trend.png"));
        filter.clear();
        m_window->saveChart(ChartKind::Trend);
        const QString trendStamp = QImage(answer).text(QStringLiteral("Description"));
        QVERIFY2(
            trendStamp.startsWith(QStringLiteral("Ada, ")) &&
                trendStamp.endsWith(trendText(m_window->data()) + u' ' + evidenceVerdict(m_window->data())),
            qPrintable(trendStamp));

        answer = folder.filePath(QStringLiteral("no/such/folder/chart.png"));
        m_window->saveChart(ChartKind::Spread);
        QCOMPARE(m_sandbox->messages.size(), 1);
        QVERIFY(m_sandbox->messages[0].text.contains(QStringLiteral("chart.png")));
    }

    // Guards the window's Export replacing the store with a CSV file: it obeys the command line's rule.
    void exportNeverWritesOverTheStore()
    {
        m_window->setRecord(recordOf({5}));
        const QString store = SettingsStore::defaultFilePath();
        platform::setFileChooser(
            [&](QWidget *, const QString &, const QString &, const QString &, QString *) { return store; });
        m_window->exportCsv();
        QCOMPARE(m_sandbox->messages.size(), 1);
        QVERIFY(m_sandbox->messages[0].text.contains(QStringLiteral("settings folder")));
        QVERIFY(!QFile::exists(store));
    }

    // Guards what a screen reader and the clipboard get: the summary in reading order, with the
    // verdict, and the record's figures as shown.
    void summaryReadsAsText()
    {
        m_window->setRecord(recordOf({25, 25}));
        const QString summary = m_window->summaryBox()->accessibleDescription();
        QVERIFY(summary.contains(QStringLiteral("Tries: 50")));
        QVERIFY(summary.contains(results::evidenceVerdict(m_window->data())));
        m_window->copy();
        QCOMPARE(QApplication::clipboard()->text(), summary);
    }

    // Guards the window's three questions: each a tab of its own with its answer in words (the
    // verdict, the trend sentence), the figures behind the verdict one click away, and an export that
    // says where it wrote. Set QXO_RESULTS_SCREENSHOT to a PNG path to keep a picture of the window.
    void answersThreeQuestions()
    {
        historytest::makeOldAccount(QStringLiteral("Ada"), 6, 20);
        {
            historytest::Player ada{QStringLiteral("Ada"), 6, 20, {}};
            // Five runs, each a little better than the one before.
            for (const auto &[tries, every] : {std::pair{30, 6}, {40, 5}, {40, 4}, {50, 3}, {40, 2}}) {
                ada.recorder.beginRun(ada.name, history::Game::Plain);
                for (int i = 0; i < tries; ++i)
                    QVERIFY(ada.play(1, i % every == 0 ? 1 : 2));
            }
        }
        resetSettingsStore();
        m_window->resize(960, 720);
        m_window->showFor(QStringLiteral("Ada"));
        QTabWidget *tabs = m_window->tabs();
        QStringList questions;
        for (int tab = 0; tab < 3; ++tab)
            questions << tabs->tabBar()->accessibleTabName(tab);
        QCOMPARE(questions, QStringList({QStringLiteral("Above chance?"), QStringLiteral("Am I improving?"),
                                         QStringLiteral("Series")}));
        QVERIFY(tabs->widget(0)->isAncestorOf(m_window->verdictLabel()));
        QCOMPARE(m_window->verdictLabel()->text(), results::evidenceVerdict(m_window->data()));
        QVERIFY(tabs->widget(1)->isAncestorOf(m_window->chart(ChartKind::Trend)));
        QVERIFY(tabs->widget(1)->isAncestorOf(m_window->trendLabel()));
        QVERIFY2(m_window->trendLabel()->text().startsWith(QStringLiteral("Your hit rate rises")),
                 qPrintable(m_window->trendLabel()->text()));
        QCOMPARE(tabs->widget(2), m_window->seriesPanel());

        // z and the exact p wait behind Details.
        QVERIFY(!m_window->summaryBox()->isVisible());
        m_window->detailsButton()->click();
        QVERIFY(m_window->summaryBox()->isVisible());

        QTemporaryDir folder;
        const QString csv = folder.filePath(QStringLiteral("ada.csv"));
        platform::setFileChooser(
            [&](QWidget *, const QString &, const QString &, const QString &, QString *) { return csv; });
        m_window->exportCsv();
        QVERIFY(m_sandbox->messages.isEmpty());
        QVERIFY(QFileInfo(csv).size() > 0);
        QVERIFY(m_window->statusLabel()->accessibleName().endsWith(QDir::toNativeSeparators(csv)));
        QVERIFY(m_window->statusLabel()->isVisible());

        if (const QString shot = qEnvironmentVariable("QXO_RESULTS_SCREENSHOT"); !shot.isEmpty()) {
            m_window->detailsButton()->click(); // as the window opens
            if (qEnvironmentVariableIsSet("QXO_RESULTS_SMALL"))
                m_window->resize(640, 480);
            for (int tab = 0; tab < tabs->count(); ++tab) {
                tabs->setCurrentIndex(tab);
                QCoreApplication::processEvents(); // the layout follows what was shown and hidden
                QVERIFY(m_window->grab().save(
                    QString(shot).replace(QStringLiteral(".png"), QStringLiteral("-%1.png").arg(tab))));
            }
        }
    }

private:
    std::unique_ptr<WindowSandbox> m_sandbox;
    QPointer<frmResults> m_window;
};

QTEST_MAIN(tst_frmResults)
#include "tst_frmResults.moc"
