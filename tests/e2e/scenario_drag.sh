#!/usr/bin/env bash
# The borderless trainer window follows a left-button drag of its body and stays put under a
# right-button drag; the desktop still shows through its cut corners at the new place.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/steps.sh"
e2e_init "$@"

e2e_start_app
trainer=$(steps_new_user Carol carol-pw)

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

steps_close_trainer "$trainer"
e2e_pass
