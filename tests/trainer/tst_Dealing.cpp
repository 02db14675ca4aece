// The trainer's chance, without a screen: the face draw and the deal order.

#include "trainer/DealOrder.h"
#include "trainer/FaceDraw.h"
#include "trainer/RandomSource.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

class DealingTest : public QObject
{
    Q_OBJECT

private slots:
    // Guards the face range: 1 + floor(5r) must never give 0 or 6, even for r at its edges.
    void faceFromUnit_data()
    {
        QTest::addColumn<double>("r");
        QTest::addColumn<int>("face");

        QTest::newRow("zero") << 0.0 << 1;
        QTest::newRow("just below a fifth") << std::nextafter(0.2, 0.0) << 1;
        QTest::newRow("a fifth") << 0.2 << 2;
        QTest::newRow("middle") << 0.5 << 3;
        QTest::newRow("just below four fifths") << std::nextafter(0.8, 0.0) << 4;
        QTest::newRow("four fifths") << 0.8 << 5;
        QTest::newRow("largest double below one") << std::nextafter(1.0, 0.0) << 5;
        QTest::newRow("largest single below one") << double(std::nextafter(1.0f, 0.0f)) << 5;
        QTest::newRow("one (out of range)") << 1.0 << 5;
        QTest::newRow("negative (out of range)") << -0.25 << 1;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 1;
    }
    void faceFromUnit()
    {
        QFETCH(double, r);
        QFETCH(int, face);
        QCOMPARE(facedraw::faceFromUnit(r), face);
    }

    // Guards a biased or out-of-range draw: 100000 draws give each face about one time in five.
    void drawsAreUniformAndInRange()
    {
        RandomSource random(20240601);
        std::array<int, 7> counts{};
        constexpr int kDraws = 100000;
        for (int i = 0; i < kDraws; ++i) {
            const int face = facedraw::drawFace(random);
            QVERIFY(face >= 1 && face <= 5);
            ++counts[face];
        }
        QCOMPARE(counts[0], 0);
        QCOMPARE(counts[6], 0);
        // Standard deviation of one count is about 126; 1000 is about eight of them.
        for (int face = 1; face <= 5; ++face)
            QVERIFY2(std::abs(counts[face] - kDraws / 5) < 1000, qPrintable(QString::number(counts[face])));
    }

    // Pins the generator and the draw: any change to either changes every game dealt, so it must be on
    // purpose.
    void pinnedSeedGivesKnownDraws()
    {
        RandomSource random(42);
        std::array<int, 12> faces{};
        for (int &face : faces)
            face = facedraw::drawFace(random);
        const std::array<int, 12> expected{4, 4, 4, 1, 5, 1, 3, 2, 2, 2, 1, 3};
        QCOMPARE(faces, expected);
    }

    // Guards the deal: positions 1..5 hold each face exactly once, every time.
    void dealPlacesEveryFaceOnce()
    {
        RandomSource random(7);
        for (int deal = 0; deal < 2000; ++deal) {
            const DealtFaceIndexes dealt = dealFaceIndexes(random);
            QVERIFY(dealt[0] >= 1 && dealt[0] <= 5);
            std::array<std::int16_t, 5> hidden{dealt[1], dealt[2], dealt[3], dealt[4], dealt[5]};
            std::sort(hidden.begin(), hidden.end());
            QCOMPARE(hidden, (std::array<std::int16_t, 5>{1, 2, 3, 4, 5}));
        }
    }

    void pinnedSeedGivesKnownDeal()
    {
        RandomSource random(42);
        const DealtFaceIndexes first = dealFaceIndexes(random);
        const DealtFaceIndexes second = dealFaceIndexes(random);
        QCOMPARE(first, (DealtFaceIndexes{4, 4, 1, 5, 3, 2}));
        QCOMPARE(second, (DealtFaceIndexes{2, 2, 1, 3, 4, 5}));
    }

    // Guards a deal that would tie the chosen face to a position: over many deals it lies in each
    // position about one time in five.
    void chosenFaceIsDrawnIndependently()
    {
        RandomSource random(99);
        std::array<int, 6> positions{};
        constexpr int kDeals = 20000;
        for (int deal = 0; deal < kDeals; ++deal) {
            const DealtFaceIndexes dealt = dealFaceIndexes(random);
            const auto at = std::find(dealt.begin() + 1, dealt.end(), dealt[0]);
            QVERIFY(at != dealt.end());
            ++positions[std::distance(dealt.begin(), at)];
        }
        for (int position = 1; position <= 5; ++position)
            QVERIFY2(std::abs(positions[position] - kDeals / 5) < 400,
                     qPrintable(QString::number(positions[position])));
    }

    // Guards a fixed seed slipping into the program: two windows' sources seeded from the clock and the
    // system's entropy give different sequences.
    void seededSourcesDiffer()
    {
        auto first = RandomSource::fromTimeOfDayAndEntropy();
        auto second = RandomSource::fromTimeOfDayAndEntropy();
        bool differ = false;
        for (int i = 0; i < 4 && !differ; ++i)
            differ = first->next() != second->next();
        QVERIFY(differ);
    }
};

QTEST_GUILESS_MAIN(DealingTest)
#include "tst_Dealing.moc"
