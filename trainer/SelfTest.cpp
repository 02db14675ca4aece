#include "SelfTest.h"

#include "stats/Binomial.h"
#include "stats/ChiSquared.h"

#include "trainer/DealOrder.h"
#include "trainer/FaceDraw.h"
#include "trainer/Judging.h"
#include "trainer/RandomSource.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace selftest {

namespace {

QString countsText(const std::vector<std::int64_t> &counts)
{
    QStringList parts;
    for (size_t face = 0; face < counts.size(); ++face)
        parts << QStringLiteral("%1: %2").arg(face + 1).arg(counts[face]);
    return parts.join(QStringLiteral("  "));
}

class Findings
{
public:
    void line(const QString &text) { m_lines << text; }

    void chiSquared(const QString &what, const std::vector<std::int64_t> &counts)
    {
        const stats::ChiSquaredTest test = stats::chiSquaredUniform(counts);
        stated(what, test.statistic, test.degreesOfFreedom, test.p);
    }

    // The faces dealt to positions 1..5 over many deals (position-major, 5 x 5); the statistic is
    // scaled because every deal is an order of the five faces (see stats::chiSquaredOfDeals).
    void permutationTable(const QString &what, const std::vector<std::int64_t> &counts)
    {
        const stats::ChiSquaredTest test = stats::chiSquaredOfDeals(counts, 5);
        stated(what, test.statistic, test.degreesOfFreedom, test.p);
        m_lines << QStringLiteral(
            "    (Pearson's statistic x 4/5: every deal is an order of the five faces)");
    }

    void hitRate(std::int64_t tries, std::int64_t hits)
    {
        const double p = stats::probabilityTwoSided(tries, hits);
        m_p.push_back(p);
        m_lines << QStringLiteral("  robot hit rate %1 % (%2 of %3), exact two-sided p = %4%5")
                       .arg(stats::accuracyPercent(tries, hits), 0, 'f', 2)
                       .arg(hits)
                       .arg(tries)
                       .arg(p, 0, 'g', 3)
                       .arg(verdict(p));
    }

    Report report(bool cancelled = false) const
    {
        return {m_lines.join(u'\n') + u'\n', m_fair, m_p, cancelled};
    }

private:
    void stated(const QString &what, double statistic, int degreesOfFreedom, double p)
    {
        m_p.push_back(p);
        m_lines << QStringLiteral("  %1: chi-squared %2 with %3 degrees of freedom, p = %4%5")
                       .arg(what)
                       .arg(statistic, 0, 'f', 2)
                       .arg(degreesOfFreedom)
                       .arg(p, 0, 'g', 3)
                       .arg(verdict(p));
    }

    QString verdict(double p)
    {
        if (p >= kRejectBelow)
            return QString();
        m_fair = false;
        return QStringLiteral("  REJECTS fair chance");
    }

    QStringList m_lines;
    bool m_fair = true;
    std::vector<double> m_p;
};

} // namespace

Report run(std::int64_t tries, RandomSource &game, RandomSource &robot, const Progress &progress,
           const Cancelled &cancelled)
{
    // Asked every 4 096 tries: often enough to stop within a few milliseconds, rarely enough to cost
    // nothing measurable.
    const auto stopping = [&](std::int64_t i) { return cancelled && i % 4096 == 0 && cancelled(); };
    const std::int64_t step = std::max<std::int64_t>(1, tries / 100);
    const auto tell = [&](const QString &name, std::int64_t done) {
        if (progress && done % step == 0)
            progress(name, done, tries);
    };
    Findings findings;
    findings.line(
        QStringLiteral("Self-test: %1 robot tries of each game through the trainer's own draw, deal "
                       "and judging; fair chance is rejected below p = %2.")
            .arg(tries)
            .arg(kRejectBelow));

    // The plain game: the computer's card is one draw, the robot clicks a position of its own.
    std::vector<std::int64_t> targets(5, 0);
    std::int64_t hits = 0;
    for (std::int64_t i = 0; i < tries; ++i) {
        if (stopping(i))
            return findings.report(true);
        const std::int16_t target = facedraw::drawFace(game);
        const std::int16_t guess = facedraw::drawFace(robot);
        ++targets[size_t(target - 1)];
        hits += judging::plainHit(guess, target) ? 1 : 0;
        tell(QStringLiteral("plain game"), i + 1);
    }
    findings.line(QStringLiteral("Plain game, computer's card drawn  ") + countsText(targets));
    findings.chiSquared(QStringLiteral("faces drawn"), targets);
    findings.hitRate(tries, hits);

    // The find-hidden game: a whole deal per try, the robot turns a cover of its own.
    std::vector<std::int64_t> chosen(5, 0);
    std::vector<std::int64_t> placed(25, 0); // position-major: faces dealt at positions 1..5
    hits = 0;
    for (std::int64_t i = 0; i < tries; ++i) {
        if (stopping(i))
            return findings.report(true);
        const DealtFaceIndexes deal = dealFaceIndexes(game);
        ++chosen[size_t(deal[0] - 1)];
        for (size_t position = 1; position <= 5; ++position)
            ++placed[(position - 1) * 5 + size_t(deal[position] - 1)];
        hits += judging::hiddenHit(deal, facedraw::drawFace(robot)) ? 1 : 0;
        tell(QStringLiteral("find-hidden game"), i + 1);
    }
    findings.line(QStringLiteral("Find-hidden game, chosen face drawn  ") + countsText(chosen));
    findings.chiSquared(QStringLiteral("chosen faces"), chosen);
    for (size_t position = 0; position < 5; ++position) {
        const std::vector<std::int64_t> row(placed.begin() + qsizetype(position * 5),
                                            placed.begin() + qsizetype(position * 5 + 5));
        findings.line(QStringLiteral("  position %1 dealt  ").arg(position + 1) + countsText(row));
    }
    findings.permutationTable(QStringLiteral("faces by position"), placed);
    findings.hitRate(tries, hits);
    return findings.report();
}

} // namespace selftest
