// The score line, the accuracy rounding, the meter band and the count limit, without a screen.

#include "trainer/MeterBand.h"
#include "trainer/ScoreText.h"

#include <QTest>

#include <limits>

using meterband::kGreen;
using meterband::kRed;
using meterband::kWhite;

class ScoreTextTest : public QObject
{
    Q_OBJECT

private slots:
    // Guards the score line's text in two locales: shortest decimals, the locale's separator, no digit
    // grouping, the exact separators.
    void scoreLine_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("tries");
        QTest::addColumn<int>("hits");
        QTest::addColumn<QString>("expected");

        const auto line = [](const char *tries, const char *hits, const char *accuracy) {
            return QStringLiteral("Tries: %1  \u2022  Hits: %2  \u2022  Accuracy: %3%")
                .arg(QLatin1String(tries), QLatin1String(hits), QLatin1String(accuracy));
        };
        for (const char *name : {"en_US", "de_DE"}) {
            const bool comma = QByteArray(name) == "de_DE";
            const auto row = [&](const char *caseName) -> QTestData & {
                return QTest::addRow("%s %s", name, caseName) << QString::fromLatin1(name);
            };
            row("one hit in one try") << 1 << 1 << line("1", "1", "100");
            row("no hit in one try") << 1 << 0 << line("1", "0", "0");
            row("one hit in three tries") << 3 << 1 << line("3", "1", comma ? "33,33" : "33.33");
            row("two hits in three tries") << 3 << 2 << line("3", "2", comma ? "66,67" : "66.67");
            row("two hits in four tries") << 4 << 2 << line("4", "2", "50");
            row("one hit in eight tries") << 8 << 1 << line("8", "1", comma ? "12,5" : "12.5");
            row("one hit in twenty tries") << 20 << 1 << line("20", "1", "5");
            row("largest counts, no grouping") << 32767 << 32767 << line("32767", "32767", "100");
            row("more hits than tries (store filled by hand)") << 1 << 32767 << line("1", "32767", "3276700");
        }
    }
    void scoreLine()
    {
        QFETCH(QString, locale);
        QFETCH(int, tries);
        QFETCH(int, hits);
        QFETCH(QString, expected);
        const double accuracy = scoretext::roundedAccuracy(hits, tries);
        QCOMPARE(scoretext::scoreLine(tries, hits, accuracy, QLocale(locale)), expected);
    }

    // Guards the rounding to hundredths: halves go away from zero on the exact fraction, and a try count
    // of 0 or less (only from a store filled by hand) shows 0 instead of dividing by zero.
    void roundedAccuracy_data()
    {
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("tries");
        QTest::addColumn<double>("accuracy");

        QTest::newRow("one in three") << 1 << 3 << 33.33;
        QTest::newRow("two in three") << 2 << 3 << 66.67;
        QTest::newRow("halfway: one in thirty-two") << 1 << 32 << 3.13;
        QTest::newRow("halfway: three in thirty-two") << 3 << 32 << 9.38;
        QTest::newRow("halfway: one in one hundred sixty") << 1 << 160 << 0.63;
        QTest::newRow("one in six") << 1 << 6 << 16.67;
        QTest::newRow("one in largest") << 1 << 32767 << 0.0;
        QTest::newRow("no tries") << 0 << 0 << 0.0;
        QTest::newRow("negative tries") << 3 << -4 << 0.0;
    }
    void roundedAccuracy()
    {
        QFETCH(int, hits);
        QFETCH(int, tries);
        QFETCH(double, accuracy);
        QCOMPARE(scoretext::roundedAccuracy(hits, tries), accuracy);
    }

    // Guards the sixteen rows: each threshold inclusive, except row 16 which needs more than 50.
    void meterPosition_data()
    {
        QTest::addColumn<double>("accuracy");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("color");

        QTest::newRow("0") << 0.0 << 1580 << kRed;
        QTest::newRow("4.99") << 4.99 << 1580 << kRed;
        QTest::newRow("5") << 5.0 << 1530 << kRed;
        QTest::newRow("9") << 9.0 << 1430 << kRed;
        QTest::newRow("12.5") << 12.5 << 1330 << kRed;
        QTest::newRow("15") << 15.0 << 1230 << kRed;
        QTest::newRow("19.99") << 19.99 << 1130 << kRed;
        QTest::newRow("exactly 20") << 20.0 << 1080 << kWhite;
        QTest::newRow("21.99") << 21.99 << 1080 << kWhite;
        QTest::newRow("exactly 22") << 22.0 << 1030 << kGreen;
        QTest::newRow("25") << 25.0 << 930 << kGreen;
        QTest::newRow("28") << 28.0 << 830 << kGreen;
        QTest::newRow("30") << 30.0 << 730 << kGreen;
        QTest::newRow("33.33") << 33.33 << 630 << kGreen;
        QTest::newRow("35") << 35.0 << 580 << kGreen;
        QTest::newRow("40") << 40.0 << 530 << kGreen;
        QTest::newRow("45") << 45.0 << 480 << kGreen;
        QTest::newRow("exactly 50") << 50.0 << 480 << kGreen;
        QTest::newRow("50.01") << 50.01 << 430 << kGreen;
        QTest::newRow("100") << 100.0 << 430 << kGreen;
    }
    void meterPosition()
    {
        QFETCH(double, accuracy);
        QFETCH(int, top);
        QFETCH(int, color);
        const auto position = meterband::meterPosition(accuracy);
        QVERIFY(position.has_value());
        QCOMPARE(position->top, top);
        QCOMPARE(position->fillColor, color);
    }

    void meterKeepsPlaceBelowZero()
    {
        QVERIFY(!meterband::meterPosition(-0.01).has_value());
        QVERIFY(!meterband::meterPosition(std::numeric_limits<double>::quiet_NaN()).has_value());
    }
};

QTEST_GUILESS_MAIN(ScoreTextTest)
#include "tst_ScoreText.moc"
