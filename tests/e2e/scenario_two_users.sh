#!/usr/bin/env bash
# Two users share the trainer by switching with its User button: each guess counts only for the user
# logged in at the time, and switching back continues the first user's totals. The first user then
# opens the Results window with a click on the score bar, finds there the totals the store holds, and
# exports the history: the file is the one the command line writes, one row per stored try.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/steps.sh"
e2e_init "$@"
command -v xclip >/dev/null || e2e_fail "missing tool: xclip (run ./test to install it)"

e2e_start_app
trainer=$(steps_new_user Alice alice-pw)
steps_test_and_guess "$trainer" Alice 1

# User: a login window opens in front of the trainer, which stays open.
e2e_click "$trainer" 60 56
login=$(steps_wait_window "$STEPS_LOGIN" 15)
e2e_assert "the trainer stays open behind the login window" e2e_window_visible "$STEPS_TRAINER"
e2e_screenshot switch-login >/dev/null
trainer2=$(steps_create_account "$login" Bob bob-pw)
e2e_assert_eq "$trainer2" "$trainer" "the same trainer window comes back"
steps_test_and_guess "$trainer" Bob 1
steps_guess "$trainer" Bob 2
e2e_screenshot bob >/dev/null
e2e_assert_eq "$(steps_tries Alice)" "1" "Alice's tries while Bob plays"

# Back to Alice: her totals continue from her own count, Bob's stay.
e2e_click "$trainer" 60 56
login=$(steps_wait_window "$STEPS_LOGIN" 15)
steps_log_in "$login" Alice alice-pw >/dev/null
steps_test_and_guess "$trainer" Alice 2
e2e_assert_eq "$(steps_tries Bob)" "2" "Bob's tries after Alice's guess"
steps_guess "$trainer" Alice 3

# The Results window from the status line on the score bar, wholly on the 1280x1024 screen, its
# buttons included.
e2e_click "$trainer" 391 525
results=$(e2e_wait_window "Results - Alice" 15)
read -r x y w h < <(e2e_window_geometry "$results")
[ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1280 ] && [ $((y + h)) -le 1024 ] ||
    e2e_fail "the Results window lies at $x,$y ${w}x$h, not wholly on the screen"
e2e_screenshot results-three-tries >/dev/null

# What the window shows, as it copies it: the stored totals.
e2e_activate "$results"
e2e_key ctrl+c
shown() { xclip -o -selection clipboard 2>/dev/null; }
e2e_wait_until 5 eval 'shown | grep -q "^Tries: "' || e2e_fail "the summary did not reach the clipboard"
e2e_assert_eq "$(shown | sed -n 's/^Tries: //p')" "$(steps_tries Alice)" "tries shown"
e2e_assert_eq "$(shown | sed -n 's/^Hits: //p')" "$(e2e_setting Orvanta Alice Hits)" "hits shown"

# Export CSV... through its file dialog.
csv="$E2E_TMP/exported.csv"
e2e_key alt+e
dialog=$(e2e_wait_window "Export the try history" 15)
e2e_activate "$dialog"
e2e_key ctrl+a
e2e_type "$csv"
e2e_key Return
e2e_wait_until 10 test -s "$csv" || e2e_fail "no file after Export CSV..."
"$E2E_BIN" --export-csv "$E2E_TMP/command-line.csv" --user Alice ||
    e2e_fail "the command line's export failed"
cmp -s "$csv" "$E2E_TMP/command-line.csv" || e2e_fail "the window's export differs from the command line's"
e2e_assert_eq "$(awk -F, '$14 == "try"' "$csv" | wc -l)" \
    "$(e2e_sql "SELECT count(*) FROM history_try t JOIN history_run r ON r.id = t.run_id
                WHERE r.section_fold = 'alice';")" "tries exported"
e2e_key Escape
e2e_wait_window_gone "$results" 10 || e2e_fail "Escape left the Results window open"

# Leaving a login window opened from the trainer keeps the trainer and the program.
e2e_click "$trainer" 60 56
login=$(steps_wait_window "$STEPS_LOGIN" 15)
e2e_click "$login" 322 16 # the red cross
e2e_wait_window_gone "$login" 10 || e2e_fail "the login window stayed after its close area"
e2e_assert "the trainer stays after leaving the login window" e2e_window_visible "$STEPS_TRAINER"
e2e_assert "the program keeps running" e2e_app_running

steps_close_trainer "$trainer"

# Closing ended the last run and revealed its seed: the record verifies, and so does its export, by
# the program and by the stand-alone script; one flipped hit in the file fails both.
verifier="$(dirname "$0")/../../docs/verify_record.py"
"$E2E_BIN" --verify --user Alice >"$E2E_TMP/verify.txt" || e2e_fail "--verify: $(cat "$E2E_TMP/verify.txt")"
grep -q '^Runs unverifiable: 0 ' "$E2E_TMP/verify.txt" || e2e_fail "--verify: $(cat "$E2E_TMP/verify.txt")"
"$E2E_BIN" --export-csv "$csv" --user Alice || e2e_fail "the export after closing failed"
python3 "$verifier" "$csv" >/dev/null || e2e_fail "the script rejects an honest export"
awk -F, 'BEGIN { OFS = "," } $14 == "try" && !done { $11 = 1 - $11; done = 1 } { print }' "$csv" \
    >"$E2E_TMP/tampered.csv"
python3 "$verifier" "$E2E_TMP/tampered.csv" >/dev/null && e2e_fail "the script accepts a flipped hit"
"$E2E_BIN" --verify-csv "$E2E_TMP/tampered.csv" >/dev/null && e2e_fail "--verify-csv accepts a flipped hit"
e2e_pass
