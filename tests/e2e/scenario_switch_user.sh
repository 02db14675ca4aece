#!/usr/bin/env bash
# Two users share the trainer by switching with its User button: each guess counts only for the user
# logged in at the time, and switching back continues the first user's totals.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/steps.sh"
e2e_init "$@"

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

# Leaving a login window opened from the trainer keeps the trainer and the program.
e2e_click "$trainer" 60 56
login=$(steps_wait_window "$STEPS_LOGIN" 15)
e2e_click "$login" 322 16 # the red cross
e2e_wait_window_gone "$login" 10 || e2e_fail "the login window stayed after its close area"
e2e_assert "the trainer stays after leaving the login window" e2e_window_visible "$STEPS_TRAINER"
e2e_assert "the program keeps running" e2e_app_running

steps_close_trainer "$trainer"
e2e_pass
