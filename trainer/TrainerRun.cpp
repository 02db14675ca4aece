#include "TrainerRun.h"

#include "CountLimit.h"
#include "FaceDraw.h"
#include "Judging.h"
#include "ScoreText.h"

TrainerRun::TrainerRun(std::unique_ptr<DrawSource> draws) : m_draws(std::move(draws)) {}

TrainerRun::~TrainerRun()
{
    endRecord();
}

void TrainerRun::start(Kind kind, history::Game game)
{
    endRecord();
    m_practice = kind == Kind::Practice;
    if (m_practice) {
        m_hits = 0;
        m_tries = 0;
    } else {
        // A test run continues the user's totals; its tries go on record as a run of their own.
        beginRecord(game);
        m_hits = m_userHits;
        m_tries = m_userTries;
    }
    markTableReady();
}

void TrainerRun::stop()
{
    endRecord();
}

bool TrainerRun::showFor(const QString &userName, std::int16_t userHits, std::int16_t userTries)
{
    endRecord();
    // Accounts are matched without regard to letter case, so "ada" logging in again is Ada.
    const bool changed = userName.toCaseFolded() != m_shownUser;
    m_shownUser = userName.toCaseFolded();
    m_userName = userName;
    m_userHits = userHits;
    m_userTries = userTries;
    loadSeries();
    if (changed) {
        // Another user never sees the last user's run.
        m_practice = false;
        m_hits = 0;
        m_tries = 0;
        m_accuracy = 0;
    }
    return changed;
}

DrawSource &TrainerRun::draws()
{
    // A test run draws only from its sealed stream; practice, and anything after a run's end, from the
    // window's own generator.
    DrawSource *sealed = m_recorder.draws();
    return sealed ? *sealed : *m_draws;
}

std::int16_t TrainerRun::drawTarget()
{
    return facedraw::drawFace(draws());
}

const DealtFaceIndexes &TrainerRun::deal()
{
    m_dealt = dealFaceIndexes(draws());
    markTableReady();
    return m_dealt;
}

void TrainerRun::markTableReady()
{
    m_tableReady.start();
}

TrainerRun::Outcome TrainerRun::countPlainGuess(std::int16_t position, std::int16_t target,
                                                const Setting &setting)
{
    return count(position, target, judging::plainHit(position, target), setting);
}

TrainerRun::Outcome TrainerRun::countHiddenGuess(std::int16_t position, const Setting &setting)
{
    return count(position, m_dealt[0], judging::hiddenHit(m_dealt, position), setting);
}

TrainerRun::Outcome TrainerRun::count(std::int16_t guess, std::int16_t target, bool hit,
                                      const Setting &setting)
{
    if (!countlimit::guessFits(m_tries, m_hits, hit))
        return Outcome::NotCounted;
    ++m_tries;
    if (hit)
        ++m_hits;
    m_accuracy = scoretext::roundedAccuracy(m_hits, m_tries);
    if (m_practice)
        return hit ? Outcome::Hit : Outcome::Miss;

    m_userHits = m_hits;
    m_userTries = m_tries;
    TryRecorder::CountedTry counted;
    counted.deck = setting.deck;
    counted.blind = setting.blind;
    counted.guess = guess;
    counted.target = target;
    for (size_t position = 1; position <= 5; ++position)
        counted.layout[position - 1] = std::int8_t(m_dealt[position]);
    counted.hit = hit;
    counted.responseMs = m_tableReady.isValid() ? m_tableReady.elapsed() : -1;
    // Both totals and the try's record in one transaction: a crash between them can never leave a hit
    // stored without its try, or a try counted without its record. A write the disk refuses is kept
    // and goes in with the next one, or at the end.
    m_recorder.saveTotals(m_userName, m_hits, m_tries, &counted);
    seriesTryCounted(hit);
    return hit ? Outcome::Hit : Outcome::Miss;
}

void TrainerRun::beginRecord(history::Game game)
{
    m_recorder.beginRun(m_userName, game);
}

void TrainerRun::endRecord()
{
    m_recorder.endRun();
}
