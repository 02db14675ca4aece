#!/usr/bin/env bash
# The program as a keyboard user, a screen reader and the desktop meet it, on a 1024x768 screen:
# the agreement and splash by keys; an account made, a test try played and its score heard through
# AT-SPI alone (the Test button tells its key); help opened from the build tree through the desktop's
# opener; the Results window wholly on the screen and a frame to AT-SPI; Escape and Ctrl+N in the
# login window; help with no opener at all names the file to open by hand.
E2E_SCREEN=${E2E_SCREEN:-1024x768x24}
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/steps.sh"
e2e_init "$@"
e2e_start_accessibility
atspi() { /usr/bin/python3 "$(dirname "$0")/atspi.py" "$@"; }

# Starts the program with only the given folder on PATH (and the tools that start it), so what
# opens documents is exactly what that folder holds.
start_with_path() {
    local saved=$PATH
    ln -sf /usr/bin/setsid /usr/bin/env /usr/bin/date "$1"/
    PATH=$1
    e2e_start_app
    PATH=$saved
}

# A stand-in for the desktop's opener that records what it is asked to open.
opener=$E2E_TMP/opener
mkdir -p "$opener"
export OPENED=$E2E_TMP/opened.txt
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"$OPENED"\n' >"$opener/xdg-open"
chmod +x "$opener/xdg-open"
start_with_path "$opener"

# Keyboard: Tab to Accept, Enter; OK; Enter on the splash.
eula=$(steps_wait_window "$STEPS_AGREEMENT" 30)
e2e_activate "$eula"
e2e_key Tab Return
steps_dismiss_message
splash=$(steps_wait_window "$STEPS_SPLASH" 15)
e2e_activate "$splash"
e2e_key Return
e2e_wait_window_gone "$splash" 10 || e2e_fail "Enter left the splash window open"
login=$(steps_wait_window "$STEPS_LOGIN" 15)

# AT-SPI alone from here: a new account, Test, one guess, the score.
atspi press "$STEPS_LOGIN" "Create a new account"
atspi type "$STEPS_LOGIN" "User name" Kim
atspi type "$STEPS_LOGIN" "Password" kim-pw
atspi type "$STEPS_LOGIN" "Confirm password" kim-pw
atspi press "$STEPS_LOGIN" "Continue"
atspi press "$STEPS_MESSAGE" "OK"
trainer=$(steps_wait_window "$STEPS_TRAINER" 15)
e2e_assert_eq "$(atspi key "$STEPS_TRAINER" Test)" "T" "the Test button's key binding"
e2e_assert_eq "$(atspi key "$STEPS_TRAINER" Drill)" "P" "the Drill button's key binding"
atspi press "$STEPS_TRAINER" Test
heard=$(atspi press-and-hear "$STEPS_TRAINER" "Card 1*")
e2e_log "heard: $heard"
[[ $heard =~ ^(Hit|Miss)\.\ Tries:\ 1\ .*Hits:\ ([01]) ]] || e2e_fail "heard after the try: '$heard'"
e2e_assert_eq "${BASH_REMATCH[2]}" "$(e2e_setting Orvanta Kim Hits)" "hits heard"
e2e_assert_eq "$(steps_tries Kim)" 1 "stored tries"
atspi check "$STEPS_TRAINER" frame

# Help from the build tree, started in another folder: the opener gets the document beside the
# program.
e2e_activate "$trainer"
e2e_key F1
e2e_wait_until 10 test -s "$OPENED" || e2e_fail "F1 asked no opener to open the help"
# The desktop's opener is handed a file URL.
document=$(/usr/bin/python3 -c 'import sys, urllib.parse as u; print(u.unquote(u.urlsplit(sys.argv[1]).path))' \
    "$(head -n 1 "$OPENED")")
[[ $document == */"qxOrvanta Trainer.htm" && -f $document ]] || e2e_fail "help opened '$document'"

# The Results window opens wholly on this small screen, and reads as a window.
e2e_key ctrl+r
results=$(e2e_wait_window "Results - Kim" 15)
read -r x y w h < <(e2e_window_geometry "$results")
[ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1024 ] && [ $((y + h)) -le 768 ] ||
    e2e_fail "the Results window lies at $x,$y ${w}x$h, not wholly on the 1024x768 screen"
e2e_screenshot results-1024x768 >/dev/null
atspi check "Results - Kim" frame
e2e_key Escape
e2e_wait_window_gone "$results" 10 || e2e_fail "Escape left the Results window open"
e2e_activate "$trainer"
e2e_key ctrl+q
e2e_wait_app_exit 15 || e2e_fail "Ctrl+Q left the program running"

# The login window by keys: Ctrl+N starts a new account, Escape leaves (and ends the program).
bare=$E2E_TMP/bare
mkdir -p "$bare"
start_with_path "$bare"
splash=$(steps_wait_window "$STEPS_SPLASH" 30)
e2e_activate "$splash"
e2e_key space
login=$(steps_wait_window "$STEPS_LOGIN" 15)
e2e_activate "$login"
e2e_key ctrl+n
e2e_wait_until 5 eval 'atspi texts "$STEPS_LOGIN" | grep -qx "Enter new user info below"' ||
    e2e_fail "Ctrl+N did not switch the login window to a new account"
e2e_key Escape
e2e_wait_app_exit 15 || e2e_fail "Escape left the first login window open"

# No opener at all: F1 tells which file to open by hand.
start_with_path "$bare"
splash=$(steps_wait_window "$STEPS_SPLASH" 30)
login=$(steps_open_login_from_splash "$splash")
trainer=$(steps_log_in "$login" Kim kim-pw)
e2e_activate "$trainer"
e2e_key F1
steps_wait_window "$STEPS_MESSAGE" 15 >/dev/null
e2e_screenshot help-without-opener >/dev/null
named=$(atspi texts "$STEPS_MESSAGE" | grep -x '/.*\.htm' | head -n 1) || true
[ -n "$named" ] && [ -f "$named" ] || e2e_fail "the message names no existing file: $(atspi texts "$STEPS_MESSAGE")"
steps_dismiss_message
steps_close_trainer "$trainer"
e2e_pass
