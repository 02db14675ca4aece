#!/usr/bin/env bash
# Declared series from the keyboard: N opens the planner, a series of 25 is declared and played by
# keys; its 25th try closes it and the Results window comes forward with its verdict. A second
# series is ended early after 5 tries: the store keeps its end, and its 20 untried count as misses.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/steps.sh"
e2e_init "$@"

# Declares a series of $1 tries through the planner the N key opens.
declare_series() {
    e2e_activate "$trainer"
    e2e_key n
    local planner
    planner=$(steps_wait_window "Plan a series" 15)
    e2e_activate "$planner"
    e2e_type "$1" # the number box has the focus, its number selected
    e2e_key Return
    e2e_wait_window_gone "$planner" 10 || e2e_fail "the planner stayed open after declaring"
}

# Plays $1 tries by the 1 key; each counts at once under Play Blind.
play_tries() {
    local count="$1" stored
    e2e_activate "$trainer"
    for _ in $(seq "$count"); do
        stored=$(steps_tries Sam)
        stored=${stored:-0}
        e2e_key 1
        e2e_wait_until 3 eval '[ "$(steps_tries Sam)" = "$((stored + 1))" ]' ||
            e2e_fail "a key press did not count (tries $(steps_tries Sam))"
    done
}

e2e_start_app
trainer=$(steps_new_user Sam "sam-pw")

declare_series 25
e2e_assert_eq "$(e2e_sql 'SELECT tries || "/" || game || "/" || deck FROM history_series')" "25/1/0" \
    "the declared series (tries/game/deck)"
e2e_activate "$trainer"
e2e_key o
sleep 0.6
e2e_click "$trainer" 380 46 # "Play Blind": the answer stays covered, so each key counts at once
e2e_key t
play_tries 25
results=$(steps_wait_window "Results - Sam" 15) || e2e_fail "the closed series did not bring the Results window"
e2e_screenshot series-closed >/dev/null
e2e_assert_eq "$(e2e_sql 'SELECT count(*) FROM history_try WHERE time_ms > (SELECT declared_ms FROM history_series)')" \
    "25" "tries after the declaration"

declare_series 25
play_tries 5
e2e_activate "$trainer"
e2e_key n
planner=$(steps_wait_window "Plan a series" 15)
e2e_activate "$planner"
e2e_key Return # "End this series now...": asks first
sleep 0.3
e2e_screenshot series-end-asked >/dev/null
e2e_key Return # and ends it
e2e_wait_window_gone "$planner" 10 || e2e_fail "the planner stayed open after ending the series"
second='(SELECT declared_ms FROM history_series ORDER BY id DESC LIMIT 1)'
ended=$(e2e_sql 'SELECT ended_early_ms IS NOT NULL FROM history_series ORDER BY id DESC LIMIT 1')
e2e_assert_eq "$ended" "1" "the second series recorded as ended early"
e2e_assert_eq "$(e2e_sql "SELECT tries - (SELECT count(*) FROM history_try WHERE time_ms > $second)
                            FROM history_series ORDER BY id DESC LIMIT 1")" "20" "untried tries counted as misses"

e2e_key s
steps_close_trainer "$trainer"
e2e_pass
