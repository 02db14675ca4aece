#!/usr/bin/env bash
# The built program starts on a fresh store and shows its first window on the screen.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

e2e_start_app
win=$(e2e_wait_window_matching '^(End User License Agreement|qxOrvanta Trainer)$' 30)
title=$(e2e_window_title "$win")
e2e_log "first window: \"$title\" ($win)"

read -r x y width height < <(e2e_window_geometry "$win")
e2e_assert "the first window has a size (got ${width}x${height})" test "$width" -ge 100 -a "$height" -ge 100
e2e_assert "the first window lies on the screen (at $x,$y)" \
    test "$x" -ge 0 -a "$y" -ge 0 -a $((x + width)) -le 1280 -a $((y + height)) -le 1024

# Something is drawn: the middle of the window is not bare desktop.
e2e_wait_until 10 eval '[ "$(e2e_window_pixel "$win" $((width / 2)) $((height / 2)))" != "$E2E_ROOT_COLOR" ]' ||
    e2e_fail "the window's middle still shows the bare desktop"
e2e_screenshot first-window >/dev/null
e2e_assert "the program keeps running while its window shows" e2e_app_running

e2e_pass
