#!/usr/bin/env bash
# One user plays the trainer window as a user does, in one start of the program:
# - the borderless window follows a left-button drag of its body and stays put under a right-button
#   drag; the desktop still shows through its cut corners at the new place;
# - the find-hidden game chosen in the options: a turned cover shows the face under it, the try is
#   stored, and after the pause the cover lies face down again;
# - the plain game from the keyboard alone: T, then 1 to 5 (4 on the keypad), each once the answer of
#   the last has gone, every guess stored; a key held down under Play Blind guesses once;
# - declared series from the keyboard: N opens the planner, a series of 25 is declared and played by
#   keys; its 25th try closes it and the Results window comes forward with its verdict. A second
#   series is ended early after 5 tries: the store keeps its end, and its 20 untried count as misses.
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
        stored=$(steps_tries Kim)
        stored=${stored:-0}
        e2e_key 1
        e2e_wait_until 3 eval '[ "$(steps_tries Kim)" = "$((stored + 1))" ]' ||
            e2e_fail "a key press did not count (tries $(steps_tries Kim))"
    done
}

e2e_start_app
trainer=$(steps_new_user Kim kim-pw)

# --- drag
read -r x0 y0 width height < <(e2e_window_geometry "$trainer")
e2e_log "trainer at $x0,$y0"
# A press on the bare body (right of the logo, below the options tab), moved in steps.
e2e_drag "$trainer" 700 230 580 150 12
e2e_wait_until 5 eval '[ "$(e2e_window_geometry "$trainer")" = "$((x0 - 120)) $((y0 - 80)) $width $height" ]' ||
    e2e_fail "after a drag by -120,-80 from $x0,$y0 the trainer is at $(e2e_window_geometry "$trainer")"
# xdotool's own reading of the new place agrees (a borderless window has no frame to add).
eval "$(xdotool getwindowgeometry --shell "$trainer")"
e2e_assert_eq "$X,$Y" "$((x0 - 120)),$((y0 - 80))" "position read by xdotool getwindowgeometry"
e2e_screenshot dragged >/dev/null
e2e_assert_eq "$(e2e_window_pixel "$trainer" 0 0)" "$E2E_ROOT_COLOR" "cut corner after the drag"

# The right button does not drag.
read -r x1 y1 _ _ < <(e2e_window_geometry "$trainer")
e2e_hover "$trainer" 700 230
xdotool mousedown 3
for step in 1 2 3 4 5; do
    e2e_hover "$trainer" $((700 + 20 * step)) $((230 + 10 * step))
done
xdotool mouseup 3
read -r x2 y2 _ _ < <(e2e_window_geometry "$trainer")
e2e_assert_eq "$x2,$y2" "$x1,$y1" "position after a right-button drag"

# --- the find-hidden game
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
e2e_wait_until 5 eval '[ "$(steps_tries Kim)" = "1" ]' ||
    e2e_fail "Kim's stored tries: expected 1, got '$(steps_tries Kim)'"
e2e_wait_until 5 cover_is dark ||
    e2e_fail "the cover did not turn face down again after the pause"

# --- the plain game by keys: back from the find-hidden game in the options, then T.
e2e_key o
sleep 0.6
e2e_click "$trainer" 380 89 # "Find Hidden Card" off
e2e_key t
tries=1
for key in 1 2 3 KP_4 5; do
    tries=$((tries + 1))
    e2e_key "$key"
    e2e_wait_until 2 eval '[ "$(steps_tries Kim)" = "$tries" ]' ||
        e2e_fail "after key $key: stored tries '$(steps_tries Kim)', expected $tries"
    sleep 2.1 # the answer shows for 2 s, and a key counts nothing meanwhile
done

e2e_key o
sleep 0.6
e2e_click "$trainer" 380 46 # "Play Blind": every press would count at once
e2e_key t
xdotool keydown 2
sleep 1.5 # long past the keyboard's repeat delay
xdotool keyup 2
sleep 0.3
e2e_assert_eq "$(steps_tries Kim)" "7" "stored tries after holding a key down"

# --- declared series
declare_series 25
e2e_assert_eq "$(e2e_sql 'SELECT tries || "/" || game || "/" || deck FROM history_series')" "25/1/0" \
    "the declared series (tries/game/deck)"
e2e_activate "$trainer"
e2e_key t # Play Blind is still on: the answer stays covered, so each key counts at once
play_tries 25
results=$(steps_wait_window "Results - Kim" 15) || e2e_fail "the closed series did not bring the Results window"
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
