#!/usr/bin/env bash
# A user plays a few test tries, opens the Results window with a click on the score bar, finds there
# the totals the store holds, and exports the history: the file is the one the command line writes,
# one row per stored try.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/steps.sh"
e2e_init "$@"
command -v xclip >/dev/null || e2e_fail "missing tool: xclip (run ./test to install it)"

e2e_start_app
trainer=$(steps_new_user Hanna "seer")
steps_test_and_guess "$trainer" Hanna 1
steps_guess "$trainer" Hanna 2
steps_guess "$trainer" Hanna 3

e2e_click "$trainer" 391 525 # the status line on the score bar
results=$(e2e_wait_window "Results - Hanna" 15)
# Wholly on the 1280x1024 screen, its buttons included.
read -r x y w h < <(e2e_window_geometry "$results")
[ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1280 ] && [ $((y + h)) -le 1024 ] ||
    e2e_fail "the Results window lies at $x,$y ${w}x$h, not wholly on the screen"
e2e_screenshot results-three-tries >/dev/null

# What the window shows, as it copies it: the stored totals.
e2e_activate "$results"
e2e_key ctrl+c
shown() { xclip -o -selection clipboard 2>/dev/null; }
e2e_wait_until 5 eval 'shown | grep -q "^Tries: "' || e2e_fail "the summary did not reach the clipboard"
e2e_assert_eq "$(shown | sed -n 's/^Tries: //p')" "$(steps_tries Hanna)" "tries shown"
e2e_assert_eq "$(shown | sed -n 's/^Hits: //p')" "$(e2e_setting Orvanta Hanna Hits)" "hits shown"

# Export CSV... through its file dialog.
csv="$E2E_TMP/exported.csv"
e2e_key alt+e
dialog=$(e2e_wait_window "Export the try history" 15)
e2e_activate "$dialog"
e2e_key ctrl+a
e2e_type "$csv"
e2e_key Return
e2e_wait_until 10 test -s "$csv" || e2e_fail "no file after Export CSV..."
"$E2E_BIN" --export-csv "$E2E_TMP/command-line.csv" --user Hanna ||
    e2e_fail "the command line's export failed"
cmp -s "$csv" "$E2E_TMP/command-line.csv" || e2e_fail "the window's export differs from the command line's"
e2e_assert_eq "$(($(wc -l <"$csv") - 1))" "$(e2e_sql 'SELECT count(*) FROM history_try;')" "rows exported"

e2e_key Escape
e2e_wait_window_gone "$results" 10 || e2e_fail "Escape left the Results window open"
steps_close_trainer "$trainer"
e2e_pass
