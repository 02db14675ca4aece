#include "FairTargets.h"

#include "history/HistoryTypes.h"

#include <QStringList>

namespace results {

namespace {

const QString kNoTries = QStringLiteral("No counted test tries yet: the targets cannot be judged.");
const QString kTooFew = QStringLiteral("Too few %1 to judge yet (%2; at least %3 are needed).");
const QString kFacesEven = QStringLiteral(
    "Each face came up about equally often as the target: nothing suggests the draw favours a face.");
const QString kFacesUneven = QStringLiteral(
    "The faces came up somewhat unevenly as targets; fair draws do this about one time in 20 or "
    "less, so it is worth watching, not proof of a bias.");
const QString kFacesBiased = QStringLiteral(
    "The faces came up so unevenly as targets that fair draws would do it less than one time in "
    "1 000: run the self-test below.");
const QString kPositionsEven = QStringLiteral(
    "In the find-hidden game every face lay about equally often at every position: nothing suggests "
    "the deal favours a place.");
const QString kPositionsUneven = QStringLiteral(
    "In the find-hidden game the faces lay somewhat unevenly across the positions; fair deals do this "
    "about one time in 20 or less, so it is worth watching, not proof of a bias.");
const QString kPositionsBiased = QStringLiteral(
    "In the find-hidden game the faces lay so unevenly across the positions that fair deals would do "
    "it less than one time in 1 000: run the self-test below.");
const QString kFigures = QStringLiteral("(chi-squared %1 with %2 degrees of freedom, p = %3%4)");
const QString kScaled = QStringLiteral("; Pearson's statistic x 4/5, since every deal is an order of "
                                       "the five faces");

// Below kWatch a finding is worth watching; below kReject fair chance is rejected (the self-test's
// level).
constexpr double kWatch = 0.05;
constexpr double kReject = 0.001;

QString countsLine(const QString &what, const std::array<std::int64_t, 5> &counts, const QLocale &locale)
{
    QStringList parts;
    for (size_t i = 0; i < counts.size(); ++i)
        parts << QStringLiteral("%1: %2").arg(i + 1).arg(locale.toString(qlonglong(counts[i])));
    return what + parts.join(QStringLiteral(", "));
}

QString judged(const stats::ChiSquaredTest &test, const QString &even, const QString &uneven,
               const QString &biased, const QString &scaled, const QLocale &locale)
{
    const QString words = test.p < kReject ? biased : test.p < kWatch ? uneven : even;
    return words + u' ' +
           kFigures.arg(locale.toString(test.statistic, 'f', 2), locale.toString(test.degreesOfFreedom),
                        locale.toString(test.p, 'g', 3), scaled);
}

bool isOrder(const std::array<std::int8_t, 5> &layout)
{
    int seen = 0;
    for (const std::int8_t face : layout) {
        if (face < 1 || face > 5 || (seen & (1 << face)))
            return false;
        seen |= 1 << face;
    }
    return true;
}

} // namespace

TargetCounts countTargets(const std::vector<history::TryRecord> &tries)
{
    TargetCounts counts;
    for (const history::TryRecord &recorded : tries) {
        if (recorded.target < 1 || recorded.target > 5)
            continue;
        const bool hidden = recorded.game == history::Game::FindHidden;
        if (hidden && !isOrder(recorded.layout))
            continue;
        ++counts.tries;
        ++counts.faces[size_t(recorded.target - 1)];
        if (!hidden)
            continue;
        ++counts.findHiddenTries;
        for (size_t position = 0; position < 5; ++position) {
            const int face = recorded.layout[position];
            ++counts.facesByPosition[position * 5 + size_t(face - 1)];
            if (face == recorded.target)
                ++counts.matchPositions[position];
        }
    }
    return counts;
}

std::optional<stats::ChiSquaredTest> faceTest(const TargetCounts &counts)
{
    if (counts.tries < kFewestTriesToJudge)
        return std::nullopt;
    return stats::chiSquaredUniform({counts.faces.begin(), counts.faces.end()});
}

std::optional<stats::ChiSquaredTest> positionTest(const TargetCounts &counts)
{
    if (counts.findHiddenTries < kFewestTriesToJudge)
        return std::nullopt;
    return stats::chiSquaredOfDeals(counts.facesByPosition, 5);
}

QString targetsText(const TargetCounts &counts, const QLocale &locale)
{
    if (counts.tries == 0)
        return kNoTries;
    QStringList paragraphs;
    if (const auto test = faceTest(counts))
        paragraphs << judged(*test, kFacesEven, kFacesUneven, kFacesBiased, {}, locale);
    else
        paragraphs << kTooFew.arg(QStringLiteral("tries"), locale.toString(qlonglong(counts.tries)),
                                  locale.toString(qlonglong(kFewestTriesToJudge)));
    paragraphs << countsLine(QStringLiteral("Times each face was the target: "), counts.faces, locale);
    if (counts.findHiddenTries > 0) {
        if (const auto test = positionTest(counts))
            paragraphs << judged(*test, kPositionsEven, kPositionsUneven, kPositionsBiased, kScaled, locale);
        else
            paragraphs << kTooFew.arg(QStringLiteral("find-hidden tries"),
                                      locale.toString(qlonglong(counts.findHiddenTries)),
                                      locale.toString(qlonglong(kFewestTriesToJudge)));
        paragraphs << countsLine(QStringLiteral("Times each position held the match (find-hidden): "),
                                 counts.matchPositions, locale);
    }
    return paragraphs.join(QStringLiteral("\n\n"));
}

} // namespace results
