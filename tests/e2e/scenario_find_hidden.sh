#!/usr/bin/env bash
# A user opens the options, chooses the find-hidden game, starts a test run and turns a cover: the
# face shows under it, the try is stored, and after the pause the cover lies face down again.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/steps.sh"
e2e_init "$@"

e2e_start_app
trainer=$(steps_new_user Hanna "seer")

e2e_click "$trainer" 600 45 # the options tab below the title band
sleep 0.6
e2e_screenshot options-open >/dev/null
e2e_click "$trainer" 380 89 # "Find Hidden Card"
e2e_click "$trainer" 154 56 # Test: the options slide closed, then the find-hidden panel shows
sleep 0.8

# A point near the top left of the first cover: near black on the card back, white on a face.
cover_x=148 cover_y=229
cover_is() { # dark | light
    local rgb
    rgb=$(e2e_window_pixel "$trainer" $cover_x $cover_y)
    awk -F, -v want="$1" '{ m = ($1 > $2 ? $1 : $2); m = (m > $3 ? m : $3);
        exit !((want == "dark" && m < 60) || (want == "light" && $1 > 230 && $2 > 230 && $3 > 230)) }' <<<"$rgb"
}
e2e_assert "the first cover lies face down" cover_is dark
e2e_click "$trainer" 178 274 # the first cover
e2e_wait_until 1 cover_is light || e2e_fail "the turned cover does not show a face"
e2e_screenshot find-hidden-reveal >/dev/null
e2e_wait_until 5 eval '[ "$(steps_tries Hanna)" = "1" ]' ||
    e2e_fail "Hanna's stored tries: expected 1, got '$(steps_tries Hanna)'"
e2e_wait_until 5 cover_is dark ||
    e2e_fail "the cover did not turn face down again after the pause"

steps_close_trainer "$trainer"
e2e_pass
