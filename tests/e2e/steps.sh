# Steps a user takes through the program's windows, shared by the scenarios. Sourced after lib.sh.
# Places are in pixels relative to each window's top left corner, taken from the windows' design.

STEPS_AGREEMENT="End User License Agreement"
STEPS_SPLASH="Form1"
STEPS_LOGIN="Login Screen"
STEPS_TRAINER="qxOrvanta Trainer"
STEPS_MESSAGE="qxOrvantaTrainer" # a message box given no title of its own

# e2e_wait_window, asked again when the search gives up early: xdotool's search can end at once when
# a window goes away while it looks (the windows of this program hand over to each other).
steps_wait_window() {
    local title="$1" secs="${2:-20}" id
    local deadline=$((SECONDS + secs))
    while [ "$SECONDS" -lt "$deadline" ]; do
        if id=$(e2e_wait_window "$title" 2 2>/dev/null); then
            printf '%s\n' "$id"
            return 0
        fi
        sleep 0.1
    done
    e2e_wait_window "$title" 1
}

# Waits for a message box, leaves a screenshot of it under the given name, and presses its OK button
# with Enter.
steps_dismiss_message() {
    local box
    box=$(steps_wait_window "$STEPS_MESSAGE" 15)
    [ -z "${1:-}" ] || e2e_screenshot "$1" >/dev/null
    e2e_activate "$box"
    e2e_key Return
    e2e_wait_window_gone "$box" 10 || e2e_fail "the message box stayed open after OK"
}

# Agreement -> message -> splash. Prints the splash window's id.
steps_accept_agreement() {
    local eula
    eula=$(steps_wait_window "$STEPS_AGREEMENT" 30)
    e2e_click "$eula" 178 382 # "I ACCEPT The Agreement"
    steps_dismiss_message "${1:-}"
    steps_wait_window "$STEPS_SPLASH" 15
}

# A click on the splash opens the login window. Prints the login window's id.
steps_open_login_from_splash() {
    local splash="$1"
    e2e_click "$splash" 212 183
    e2e_wait_window_gone "$splash" 10 || e2e_fail "the splash window stayed after its click"
    steps_wait_window "$STEPS_LOGIN" 15
}

# Types the name and the password as a user does: a click into the name box, Tab to the password box.
_steps_type_name_and_password() {
    local login="$1" name="$2" password="$3"
    e2e_click "$login" 176 143 # name box (emptied when it takes the focus)
    e2e_type "$name"
    e2e_key Tab # to the password box, which empties itself and masks what follows
    e2e_type "$password"
}

# Create mode, name, password twice, Enter; OK on the notice. Prints the trainer window's id.
steps_create_account() {
    local login="$1" name="$2" password="$3"
    e2e_click "$login" 170 50 # the blue bar: create a new account
    _steps_type_name_and_password "$login" "$name" "$password"
    e2e_key Tab
    e2e_type "$password"
    e2e_key Return
    steps_dismiss_message "${4:-}"
    e2e_wait_window_gone "$login" 10 || e2e_fail "the login window stayed after creating $name"
    steps_wait_window "$STEPS_TRAINER" 15
}

# From the program's first start (run e2e_start_app first): the agreement, the splash and a new
# account. Prints the trainer window's id.
steps_new_user() {
    local splash login
    splash=$(steps_accept_agreement)
    login=$(steps_open_login_from_splash "$splash")
    steps_create_account "$login" "$1" "$2"
}

# Name, password, Enter. Prints the trainer window's id.
steps_log_in() {
    local login="$1" name="$2" password="$3"
    _steps_type_name_and_password "$login" "$name" "$password"
    e2e_key Return
    e2e_wait_window_gone "$login" 15 || e2e_fail "the login window stayed after logging in $name"
    steps_wait_window "$STEPS_TRAINER" 15
}

# The user's stored count of tries ("" when none is stored).
steps_tries() {
    e2e_setting Orvanta "$1" Tries || true
}

# Test, then a guess on the first card of the plain game; waits until the user's stored tries reach
# the expected count.
steps_test_and_guess() {
    local trainer="$1" name="$2" expected="$3"
    e2e_click "$trainer" 154 56 # Test
    steps_guess "$trainer" "$name" "$expected"
}

# A guess on Card(1). While the previous answer still shows (2 s in the plain game) the cards take no
# guess, so the click is repeated until one counts.
steps_guess() {
    local trainer="$1" name="$2" expected="$3" deadline=$((SECONDS + 10))
    while [ "$SECONDS" -lt "$deadline" ]; do
        e2e_click "$trainer" 169 270
        if e2e_wait_until 1 eval '[ "$(steps_tries "$name")" = "$expected" ]'; then
            return 0
        fi
    done
    e2e_fail "$name's stored tries: expected $expected, got '$(steps_tries "$name")'"
}

# The trainer's close box ends the program when no other window is open.
steps_close_trainer() {
    e2e_click "$1" 759 13
    e2e_wait_app_exit 15 || e2e_fail "the program kept running after its trainer window was closed"
    e2e_assert_eq "$E2E_APP_STATUS" 0 "exit status after closing the trainer"
}
