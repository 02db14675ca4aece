#!/usr/bin/env bash
# The first starts on a fresh store: the agreement shows whole on the screen. Declining it stores the
# refusal and ends the program; the next start asks again, and closing the agreement from the window
# manager then ends the program without answering. The next start is accepted: the user meets the
# shaped splash, creates an account, makes a counted guess and closes; the start after that skips the
# agreement, logs in and the next guess counts as the second.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/steps.sh"
e2e_init "$@"

e2e_start_app
eula=$(steps_wait_window "$STEPS_AGREEMENT" 30)
# The first window lies wholly on the screen, something is drawn in its middle, and the program runs.
read -r x y width height < <(e2e_window_geometry "$eula")
e2e_assert "the first window lies on the screen (at $x,$y)" \
    test "$x" -ge 0 -a "$y" -ge 0 -a $((x + width)) -le 1280 -a $((y + height)) -le 1024
e2e_wait_until 10 eval '[ "$(e2e_window_pixel "$eula" $((width / 2)) $((height / 2)))" != "$E2E_ROOT_COLOR" ]' ||
    e2e_fail "the window's middle still shows the bare desktop"
e2e_screenshot first-window >/dev/null
e2e_assert "the program keeps running while its window shows" e2e_app_running
e2e_click "$eula" 332 382 # "I DO NOT ACCEPT The Agreement"
box=$(steps_wait_window "$STEPS_MESSAGE" 15)
e2e_assert_eq "$(e2e_setting qxOrvanta EULA TermsAccepted)" "False" "refusal stored before the message"
e2e_screenshot declined-message >/dev/null
e2e_assert "the program waits for OK" e2e_app_running
e2e_activate "$box"
e2e_key Return
e2e_wait_app_exit 15 || e2e_fail "the program kept running after Decline"
e2e_assert_eq "$E2E_APP_STATUS" 0 "exit status after Decline"
e2e_assert_eq "$(e2e_setting qxOrvanta EULA TermsAccepted)" "False" "stored answer after Decline"

# Asked again. A close request (Alt+F4; openbox offers it although the dialog asks for no close
# box) unloads the only window: the program ends and the stored answer stays as it was.
e2e_start_app
eula=$(steps_wait_window "$STEPS_AGREEMENT" 30)
e2e_assert "no splash after an earlier Decline" eval '! e2e_window_visible "$STEPS_SPLASH"'
e2e_close_request "$eula"
e2e_wait_app_exit 15 || e2e_fail "the program kept running after its agreement window was closed"
e2e_assert_eq "$(e2e_setting qxOrvanta EULA TermsAccepted)" "False" "stored answer after a close request"

# Accepted at last: the refusal stored earlier is overwritten.
e2e_start_app
eula=$(steps_wait_window "$STEPS_AGREEMENT" 30)
e2e_screenshot agreement >/dev/null
read -r _ _ width height < <(e2e_window_geometry "$eula")
e2e_assert_eq "${width}x${height}" "520x452" "agreement window's client area"
e2e_assert "the agreement has a taskbar button" eval '! e2e_is_utility "$eula"'
e2e_assert "the agreement asks for no close box" eval '! e2e_asks_close_box "$eula"'
e2e_assert "the agreement has a title bar" eval '[ "$(e2e_frame_extents "$eula" | cut -d" " -f3)" -gt 0 ]'
# No icon: a blank one, as a window that names none gets the program's or the window manager's.
e2e_assert_eq "$(e2e_icon_pixels "$eula" | cut -d/ -f1)" "0" "opaque pixels in the agreement's icon"

e2e_click "$eula" 178 382 # "I ACCEPT The Agreement"
box=$(steps_wait_window "$STEPS_MESSAGE" 15)
e2e_assert_eq "$(e2e_setting qxOrvanta EULA TermsAccepted)" "True" "flag stored before the message"
e2e_screenshot accepted-message >/dev/null
e2e_assert "no splash while the message is open" eval '! e2e_window_visible "$STEPS_SPLASH"'
e2e_activate "$box"
e2e_key Return

splash=$(steps_wait_window "$STEPS_SPLASH" 15)
e2e_wait_window_gone "$eula" 10 || e2e_fail "the agreement stayed after Accept"
e2e_assert "the splash has no taskbar button" e2e_is_utility "$splash"
e2e_assert "the splash is borderless" e2e_is_borderless "$splash"
e2e_assert "the splash is shaped" e2e_is_shaped "$splash"
read -r _ _ width height < <(e2e_window_geometry "$splash")
e2e_assert_eq "${width}x${height}" "424x367" "splash size"
e2e_screenshot splash >/dev/null
# The corners are cut away (the bare desktop shows); the panel and the jutting cards are not.
for corner in "0 0" "$((width - 1)) 0" "0 $((height - 1))" "$((width - 1)) $((height - 1))"; do
    e2e_assert_eq "$(e2e_window_pixel "$splash" $corner)" "$E2E_ROOT_COLOR" "splash pixel at $corner"
done
e2e_assert "the splash panel is drawn" eval '[ "$(e2e_window_pixel "$splash" 212 183)" != "$E2E_ROOT_COLOR" ]'

# A click on a cut-away corner reaches the desktop beneath, not the splash.
e2e_click "$splash" 2 2
sleep 0.5 # time for a click that should do nothing to show its effect
e2e_assert "the splash stays after a click beside its outline" e2e_window_visible "$STEPS_SPLASH"
e2e_assert "no login window after a click beside the splash" eval '! e2e_window_visible "$STEPS_LOGIN"'

login=$(steps_open_login_from_splash "$splash")
e2e_screenshot login >/dev/null
trainer=$(steps_create_account "$login" Alice "s3cret pass" account-created)
e2e_assert_eq "$(e2e_setting Orvanta Alice UserName)" "Alice" "stored user name"
e2e_assert_eq "$(steps_tries Alice)" "0" "a new account's tries"
e2e_assert "no plain-text password in the store" eval '! e2e_store_contains "s3cret"'
e2e_assert "the password is stored as a hash" eval '[[ "$(e2e_setting Orvanta Alice Password)" == \$argon2id\$* ]]'

read -r _ _ width height < <(e2e_window_geometry "$trainer")
e2e_assert_eq "${width}x${height}" "783x590" "trainer size"
e2e_assert "the trainer is borderless" e2e_is_borderless "$trainer"
e2e_assert "the trainer carries the product's icon" eval '[ "$(e2e_icon_pixels "$trainer" | cut -d/ -f1)" -gt 0 ]'
e2e_screenshot trainer >/dev/null
for corner in "0 0" "$((width - 1)) 0" "0 $((height - 1))" "$((width - 1)) $((height - 1))"; do
    e2e_assert_eq "$(e2e_window_pixel "$trainer" $corner)" "$E2E_ROOT_COLOR" "trainer pixel at $corner"
done
e2e_assert "the trainer's edge is drawn next to its cut corner" \
    eval '[ "$(e2e_window_pixel "$trainer" 0 10)" != "$E2E_ROOT_COLOR" ]'

steps_test_and_guess "$trainer" Alice 1
e2e_assert_eq "$(e2e_setting Orvanta Alice Hits | grep -cE '^[01]$')" "1" "hits after one guess"
e2e_screenshot one-try >/dev/null
steps_close_trainer "$trainer"

# Second start: straight to the splash, the agreement never shows.
e2e_start_app
splash=$(steps_wait_window "$STEPS_SPLASH" 30)
e2e_assert "no agreement on the second start" eval '! e2e_window_visible "$STEPS_AGREEMENT"'
login=$(steps_open_login_from_splash "$splash")
trainer=$(steps_log_in "$login" Alice "s3cret pass")
steps_test_and_guess "$trainer" Alice 2
e2e_screenshot two-tries >/dev/null
steps_close_trainer "$trainer"

e2e_pass
