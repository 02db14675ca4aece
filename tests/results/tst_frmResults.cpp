// The Results window on the offscreen platform: what an empty record shows, the runs table's order
// and its updates, the keyboard, saving charts and copying the summary.
#include "results/ResultsFormat.h"
#include "results/ChartWidget.h"
#include "results/TallyTableModel.h"
#include "results/ResultsTexts.h"
#include "results/frmResults.h"
#include "settings/SettingsStore.h"

#include "tests/results/ResultsTestSupport.h"
#include "tests/support/TestSandbox.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
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
        for (ChartKind kind : {ChartKind::Deviation, ChartKind::Spread})
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
        m_window->tabs()->setCurrentIndex(1);
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
    // takes the chosen kind's, and a file that cannot be written is reported.
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

private:
    std::unique_ptr<WindowSandbox> m_sandbox;
    QPointer<frmResults> m_window;
};

QTEST_MAIN(tst_frmResults)
#include "tst_frmResults.moc"
