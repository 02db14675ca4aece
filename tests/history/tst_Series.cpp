// Declared series over a real store file: which counted test tries belong to a series, across Stop
// and a restart of the program, an early end, and two series in a row; and the words they are shown
// in.

#include "tests/settings/StoreTestSupport.h"
#include "tests/support/HistoryTestSupport.h"

#include "history/SeriesRecord.h"
#include "results/SeriesText.h"

#include <QTest>
#include <QThread>

#include <memory>

using storetest::StoreSandbox;

class SeriesTest : public QObject
{
    Q_OBJECT

private slots:
    void seriesTakeTheNextTriesOnRecord_data();
    void seriesTakeTheNextTriesOnRecord();
};

void SeriesTest::seriesTakeTheNextTriesOnRecord_data()
{
    // Steps: Dn declare a series of n, b begin a test run, s Stop, r restart the program, h / m a
    // counted hit / miss, e end the open series early. Expected: each series as tried/hits, and
    // "open", "closed" or "early".
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("expected");
    QTest::newRow("closes at N") << QStringLiteral("D3 b h m h m h") << QStringLiteral("3/2 closed");
    QTest::newRow("tries before the declaration are not in it")
        << QStringLiteral("b h h D3 m") << QStringLiteral("1/0 open");
    QTest::newRow("spans a Stop and a restart")
        << QStringLiteral("D3 b h s r b m h") << QStringLiteral("3/2 closed");
    QTest::newRow("a guess after Stop is not on record")
        << QStringLiteral("D2 b h s h b m") << QStringLiteral("2/1 closed");
    QTest::newRow("ended early") << QStringLiteral("D10 b h m e h") << QStringLiteral("2/1 early");
    QTest::newRow("two series in a row")
        << QStringLiteral("D2 b h h D2 m h m") << QStringLiteral("2/2 closed 2/1 closed");
}

// Guards a series taking tries from before its declaration or after its end, losing its place over a
// restart, or an early end that leaves the untried out of the verdict (stopping would then help).
void SeriesTest::seriesTakeTheNextTriesOnRecord()
{
    QFETCH(QString, steps);
    QFETCH(QString, expected);
    StoreSandbox sandbox;
    historytest::makeOldAccount(QStringLiteral("Ada"), 0, 0);
    auto player = std::make_unique<historytest::Player>(QStringLiteral("ada"));
    std::int64_t declared = 0;
    for (const QString &step : steps.split(u' ')) {
        if (step.startsWith(u'D'))
            declared = player->recorder.declareSeries(player->name, step.mid(1).toInt(), history::Game::Plain,
                                                      history::Deck::Colors);
        else if (step == u"b")
            player->recorder.beginRun(player->name, history::Game::Plain);
        else if (step == u"s")
            player->recorder.endRun();
        else if (step == u"e")
            player->recorder.endSeriesEarly(player->name, declared);
        else if (step == u"r") {
            auto restarted = std::make_unique<historytest::Player>(player->name, player->hits, player->tries);
            player = std::move(restarted);
            resetSettingsStore();
            QThread::msleep(2); // a restart takes longer than a millisecond
        } else
            player->play(1, step == u"h" ? 1 : 2);
    }
    player.reset();
    resetSettingsStore();

    QString reason;
    const auto series = history::readSeries(sandbox.storePath(), QStringLiteral("ADA"), &reason);
    QVERIFY2(series, qPrintable(reason));
    QStringList got;
    for (const history::SeriesCount &one : *series)
        got << QStringLiteral("%1/%2 %3")
                   .arg(one.tried)
                   .arg(one.hits)
                   .arg(one.endedEarly() ? u"early"
                        : one.closed()   ? u"closed"
                                         : u"open");
    QCOMPARE(got.join(u' '), expected);
    QCOMPARE(history::openSeries(*series).has_value(), expected.endsWith(QStringLiteral("open")));
    QCOMPARE(series->front().declared.deck, history::Deck::Colors);

    if (QByteArray(QTest::currentDataTag()) == "ended early") {
        // 1 hit in 10 (8 untried counted as misses): P(X >= 1) = 1 - 0.8^10 = 0.893.
        const QString line = results::seriesLine(1, series->front());
        QVERIFY2(line.contains(QStringLiteral("Ended early after 2 tries: the 8 untried count as misses.")),
                 qPrintable(line));
        QCOMPARE(results::seriesTallyLine(*series),
                 QStringLiteral("0 of 1 series reached the 1-in-20 level; chance alone gives about 0.05."));
    }
}

QTEST_GUILESS_MAIN(SeriesTest)
#include "tst_Series.moc"
