#pragma once

#include "DealOrder.h"
#include "DrawSource.h"

#include "history/SeriesRecord.h"
#include "history/TryRecorder.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

// One run of the trainer's game, free of any window: a test run continues the user's totals and puts
// every counted try on record with them; a practice run counts from zero and stores nothing. The
// window asks it to start a run of a game, to draw a target or deal, to judge and count one guess, and
// to stop; it shows what comes back.
//
// Invariants: RunTries and RunHits stay within 0..32767 (a guess that would pass either is not
// counted); in a test run they equal the user's totals after every counted guess; a run on record
// begins only at start(Test) and ends at the run's end (stop, another start, a user switch, the
// window closing, this object's end).
class TrainerRun
{
public:
    enum class Kind
    {
        Test,
        Practice
    };

    // How the guess was made, for its record: the deck on show and Play Blind.
    struct Setting
    {
        history::Deck deck = history::Deck::Zener;
        bool blind = false;
    };

    // What one guess came to.
    enum class Outcome
    {
        Hit,
        Miss,
        NotCounted // it would have taken the tries or the hits past the largest count
    };

    // draws: the source every target and deal is taken from. The user comes with showFor.
    explicit TrainerRun(std::unique_ptr<DrawSource> draws);
    ~TrainerRun();
    TrainerRun(const TrainerRun &) = delete;
    TrainerRun &operator=(const TrainerRun &) = delete;

    // A run of game starts now; a run still open ends first. A test run starts from the user's
    // totals, a practice run from zero.
    void start(Kind kind, history::Game game);
    // The run ends now. What it counted stays for the window to show.
    void stop();
    // The window shows another user (or the same one again) with their totals as stored: the run
    // ends, the run keeps its copy of the totals, and for another user the run state returns to its
    // state when the window opened. True when the user changed.
    bool showFor(const QString &userName, std::int16_t userHits, std::int16_t userTries);

    // The plain game's target, drawn at the guess (face 1..5).
    std::int16_t drawTarget();
    // A new deal of the find-hidden game, kept as DealtFaces.
    const DealtFaceIndexes &deal();
    // The table is ready for the next guess: the guess's response time is taken from now.
    void markTableReady();

    // Judges and counts one guess of the plain game: position 1..5 against the target drawn for it.
    Outcome countPlainGuess(std::int16_t position, std::int16_t target, const Setting &setting);
    // Judges and counts one guess of the find-hidden game: the cover turned (position 1..5) against
    // the chosen face of the current deal.
    Outcome countHiddenGuess(std::int16_t position, const Setting &setting);

    bool PracticeRun() const { return m_practice; }
    std::int16_t RunHits() const { return m_hits; }
    std::int16_t RunTries() const { return m_tries; }
    // Percent, rounded to two decimals, of the counts after the last counted guess.
    double RunAccuracy() const { return m_accuracy; }
    // Slot 0 the chosen face, slots 1..5 the faces in hidden positions 1..5 (face indexes 1..5).
    const DealtFaceIndexes &DealtFaces() const { return m_dealt; }
    // The user shown, exactly as typed at the login, and their totals: a test run counts into them.
    const QString &CurrentUserName() const { return m_userName; }
    std::int16_t UserHits() const { return m_userHits; }
    std::int16_t UserTries() const { return m_userTries; }

    // Declared series (TrainerRun_series.cpp): the shown user's series still open, read from the store
    // when the user is shown and counted along with each test try, so it spans Stop and restarts.
    const std::optional<history::SeriesCount> &openSeries() const { return m_series; }
    // Declares a series of `length` tries from the next counted test try on; false (nothing recorded)
    // while one is open or the length lies outside 10..10 000.
    bool declareSeries(int length, history::Game game, history::Deck deck);
    // Ends the open series now; its untried tries count as misses. False when none is open.
    bool endSeriesEarly();
    // True once, after the counted try that filled the open series.
    bool takeClosedSeries() { return std::exchange(m_seriesJustClosed, false); }

private:
    DrawSource &draws();
    Outcome count(std::int16_t guess, std::int16_t target, bool hit, const Setting &setting);
    // Where a run on record begins and ends.
    void beginRecord(history::Game game);
    void endRecord();
    // The shown user's open series, as the store has it; a counted test try moves it on.
    void loadSeries();
    void seriesTryCounted(bool hit);

    std::unique_ptr<DrawSource> m_draws;
    QString m_userName;
    std::int16_t m_userHits = 0;
    std::int16_t m_userTries = 0;
    QString m_shownUser; // case-folded
    TryRecorder m_recorder;
    QElapsedTimer m_tableReady;
    bool m_practice = false;
    std::int16_t m_hits = 0;
    std::int16_t m_tries = 0;
    double m_accuracy = 0;
    DealtFaceIndexes m_dealt{};
    std::optional<history::SeriesCount> m_series;
    bool m_seriesJustClosed = false;
};
