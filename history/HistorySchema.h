#pragma once

#include "settings/StoreSchema.h"

// The history's tables in the settings file, and the statements that add to them. Rows are only
// ever added: a try, its run, the run's end, and once per account the totals it had when its history
// began. Every statement is INSERT OR IGNORE, so writing one twice (a write retried after a crash
// mid-commit, salvaged rows) changes nothing.
namespace history::schema {

StoreSchema storeSchema();
// Makes the process-wide store keep the history's tables (the program calls it once at start).
void install();

// Each run carries a random token chosen when it starts, so its tries can name it before the store
// has given it an id (its first write may be kept back by a failing disk).
extern const char *const kInsertAccount; // section_fold, tries_before, hits_before, began_ms
extern const char *const kInsertRun;     // token, section_fold, name, game, start_ms
extern const char *const kInsertRunEnd;  // token, end_ms
extern const char
    *const kInsertTry; // token, try, time_ms, game, deck, blind, guess, target, layout, hit, response_ms

// Declared series (rows added by TryRecorder::declareSeries and ended once by endSeriesEarly).
extern const char *const kInsertSeries;   // section_fold, declared_ms, tries, game, deck
extern const char *const kEndSeriesEarly; // section_fold, declared_ms, ended_early_ms

} // namespace history::schema
