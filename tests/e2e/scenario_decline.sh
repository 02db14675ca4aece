#!/usr/bin/env bash
# Declining the agreement stores the refusal and ends the program; the next start asks again, and
# closing the agreement from the window manager then ends the program without answering.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/steps.sh"
e2e_init "$@"

e2e_start_app
eula=$(steps_wait_window "$STEPS_AGREEMENT" 30)
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

e2e_pass
