#pragma once

#include "HistoryTypes.h"

#include "settings/Settings.h"

#include "proof/RecordChain.h"
#include "proof/SealedRun.h"

#include <QString>
#include <QVariant>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

// Puts a test run's counted tries on record together with the totals they change: each save writes
// the account's "Hits" and "Tries" and, for a counted try, its record, in one transaction of the
// settings store. A write the disk refuses keeps both in memory, and the next write takes them along
// in order, so a crash at any moment leaves totals and history agreeing.
//
// A test run is sealed: at its start the recorder makes a fresh secret seed (proof::SealedRun) and
// writes the run with its commitment before anything is drawn; every target and deal of the run comes
// from draws(); at its end the seed is revealed on record. Every row is chained (history::chain), in
// the same transaction as the totals. A run cut off by a crash keeps its tries but no seed.
// Practice tries are never given to the recorder. The history's tables are the program's to install
// at start (history::schema::install()).
class TryRecorder
{
public:
    TryRecorder();
    // Ends a run still open (the trainer closing).
    ~TryRecorder();
    TryRecorder(const TryRecorder &) = delete;
    TryRecorder &operator=(const TryRecorder &) = delete;

    // A test run of userName (the name as typed at login; its account is matched without regard to
    // case) starts now; a run still open ends first.
    void beginRun(const QString &userName, history::Game game);
    // The open run, if any, ends now (Stop, Practice, another login, closing): its seed goes on record.
    void endRun();
    // The open run's sealed stream, which every draw of the run must come from; null with no run open.
    proof::DrawSource *draws();

    // What the trainer knows of a try it has just counted; the recorder adds the time, run and number.
    struct CountedTry
    {
        history::Deck deck = history::Deck::Zener;
        bool blind = false;
        int guess = 0;                       // 1..5
        int target = 0;                      // face 1..5
        std::array<std::int8_t, 5> layout{}; // find-hidden only
        bool hit = false;
        std::int64_t responseMs = -1;
    };

    // Writes userName's totals (after the try, when there is one) and the try's record, durably, in
    // one transaction. The try counts only inside an open run. False when the write was kept back.
    bool saveTotals(const QString &userName, int hits, int tries, const CountedTry *counted);

    // Whether a run is open: only then does a counted try go on record.
    bool runOpen() const { return m_run.has_value(); }

    // UTC ms since 1970.
    static std::int64_t nowUtcMs();

    // Declares a series of `length` counted test tries of userName, recorded now, before its first
    // try; gives the declaration's time, which names the series from then on. The row never changes
    // except by endSeriesEarly. A write the disk refuses is kept and retried, as tries are.
    std::int64_t declareSeries(const QString &userName, int length, history::Game game, history::Deck deck);
    // Records that userName's series declared at declaredMs ended now, before its last try: the
    // tries it never had count as misses. A series already ended early keeps its first end.
    void endSeriesEarly(const QString &userName, std::int64_t declaredMs);

private:
    // The time for a new row: now, but always after the last row this recorder stamped, so a try
    // counted in the same millisecond as a declaration still lies after it.
    std::int64_t stamp();
    // The one path series rows take to the store.
    void appendSeriesRow(const QString &userName, QList<AttachedStatement> statements);

    std::int64_t m_lastStampMs = 0;
    struct OpenRun
    {
        qint64 token = 0;
        QString userName;
        history::Game game = history::Game::Plain;
        std::int64_t startUtcMs = 0;
        int recordedTries = 0;
        std::unique_ptr<proof::SealedRun> seal;
    };
    std::optional<OpenRun> m_run;
};
