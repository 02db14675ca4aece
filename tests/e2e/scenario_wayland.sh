#!/usr/bin/env bash
# On a Wayland desktop (weston): closing the agreement from its title bar stores nothing; from a fresh
# store again, the splash and the trainer show the desktop through every key-coloured pixel of their
# pictures, and every message box and the login window opened from the trainer are transient for the
# window they belong to.
source "$(dirname "$0")/lib.sh"
E2E_DESKTOP=weston
E2E_SCREEN=1024x768x24
e2e_init "$@"
ART="$E2E_SRC/art"

# The agreement, found by its navy header band (the top of its client area, 520 by 61 pixels). Qt's
# own title bar lies above it, its close button 14 pixels up at the right.
wl_wait_agreement() {
    e2e_wl_wait_bbox agreement "#000080" 520 61 30
}

e2e_start_app
read -r ex ey <<<"$(wl_wait_agreement)"
e2e_wl_click "$((ex + 506))" "$((ey - 14))"
e2e_wait_app_exit 15 || e2e_fail "the program did not end when its agreement was closed"
if [ -f "$(e2e_store_path)" ] && e2e_setting qxOrvanta EULA TermsAccepted >/dev/null; then
    e2e_fail "closing the agreement stored an answer"
fi

# OK on a message box with Enter once it has the keyboard (until then the blocked window under it
# drops the key), until the window that follows shows.
wl_press_enter_until() {
    local i
    for i in $(seq 20); do
        xdotool key Return
        sleep 0.3
        _e2e_wl_find_window "$@" && return 0
    done
    e2e_fail "$1 did not show after OK"
}

WAYLAND_DEBUG=client e2e_start_app
read -r ex ey <<<"$(wl_wait_agreement)"
e2e_wl_click "$((ex + 178))" "$((ey + 382))" # "I ACCEPT The Agreement"
read -r sx sy <<<"$(wl_press_enter_until splash "$ART/splash.png")"
errors=$(e2e_wl_cut_errors "$E2E_OUT/splash.png" "$sx" "$sy" "$ART/splash.png")
e2e_assert_eq "$errors" 0 "splash pixels disagreeing with its outline (key colour shown or kept pixel cut)"

e2e_wl_click "$((sx + 212))" "$((sy + 183))"
read -r lx ly <<<"$(e2e_wl_wait_window login "$ART/login-background.png" 15)"
e2e_wl_click "$((lx + 170))" "$((ly + 50))"  # the blue bar: create a new account
e2e_wl_click "$((lx + 176))" "$((ly + 143))" # name box
xdotool type --delay 25 wayland
xdotool key Tab
xdotool type --delay 25 secret
xdotool key Tab
xdotool type --delay 25 secret
xdotool key Return
read -r tx ty <<<"$(wl_press_enter_until trainer "$ART/trainer-background.png")"
errors=$(e2e_wl_cut_errors "$E2E_OUT/trainer.png" "$tx" "$ty" "$ART/trainer-background.png")
e2e_assert_eq "$errors" 0 "trainer pixels disagreeing with its outline (key colour shown or kept pixel cut)"

e2e_wl_click "$((tx + 60))" "$((ty + 56))" # User
e2e_wait_until 10 eval 'e2e_wl_parents | grep -q "^Login Screen|qxOrvanta Trainer$"' ||
    e2e_fail "the login window opened from the trainer is not transient for it: $(e2e_wl_parents | tr '\n' ' ')"
e2e_wl_screenshot login-over-trainer >/dev/null
e2e_assert_eq "$(e2e_wl_parents | grep -c '^qxOrvantaTrainer|.')" 2 "message boxes transient for their window"
e2e_assert_eq "$(e2e_wl_parents | grep -c '^qxOrvantaTrainer|')" 2 "message boxes"
e2e_pass
