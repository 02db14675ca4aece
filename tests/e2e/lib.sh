# End-to-end harness: drives the real program under Xvfb and openbox, as a user would.
#
# A scenario is tests/e2e/scenario_<name>.sh, registered in tests/e2e/CMakeLists.txt (add <name> to
# QXO_E2E_SCENARIOS). ctest runs it as: bash scenario_<name>.sh <program> <source dir> <output dir>.
#
#   #!/usr/bin/env bash
#   # <one line: what the user does and what must happen>
#   source "$(dirname "$0")/lib.sh"
#   e2e_init "$@"                   # X server, window manager, fresh HOME and XDG_CONFIG_HOME, cleanup trap
#   e2e_start_app
#   win=$(e2e_wait_window "End User License Agreement")
#   e2e_click "$win" 40 300
#   e2e_pass
#
# Everything started here is torn down on any exit (success, failure, error under set -e, signal,
# the scenario's own time limit E2E_TIMEOUT, default 150 s): each process runs in its own process
# group and the whole group is ended. On failure the program's output is printed.
#
# Set-up and program
#   e2e_init <program> <source dir> [output dir]   start everything; exports DISPLAY, HOME, XDG_CONFIG_HOME
#   e2e_start_app [args...]      start the program in the background (in $E2E_WORKDIR); sets E2E_APP_PID
#   e2e_app_running              true while the last started program runs
#   e2e_wait_app_exit [secs]     wait for it to end (default 20 s); its exit status in E2E_APP_STATUS
#   e2e_stop_app                 end it (used before starting again, or by teardown)
# Windows (ids are X window ids of the program's own windows, not the window manager's frames)
#   e2e_wait_window <title> [secs]          exact title, visible, placement settled; prints the id
#   e2e_wait_window_matching <regex> [secs] the same with an extended regex (xdotool: any letter case)
#   e2e_wait_window_gone <id> [secs]        until the window is no longer mapped
#   e2e_window_visible <title>              true when a visible window has exactly this title
#   e2e_window_title <id>
#   e2e_window_geometry <id>      prints "x y width height" in screen pixels (inner area)
#   e2e_activate <id>             give the window the focus
#   e2e_close_request <id>        ask to close it as the window manager's close action does (Alt+F4)
# Mouse and keyboard (x, y in pixels relative to the window's top left corner)
#   e2e_click <id> <x> <y> [button]         button 1 left, 2 middle, 3 right
#   e2e_hover <id> <x> <y>
#   e2e_drag <id> <x1> <y1> <x2> <y2> [steps]   left-button drag in steps (default 10)
#   e2e_type <text>               into the focused window
#   e2e_key <key>...              xdotool key names: Return Tab Escape Page_Down ctrl+a ...
# Screen
#   e2e_screenshot <name>         whole screen into $E2E_OUT/<name>.png; prints the path
#   e2e_root_pixel <x> <y>        "r,g,b" of a screen pixel
#   e2e_window_pixel <id> <x> <y> "r,g,b" of a pixel relative to the window
#   E2E_ROOT_COLOR                the bare desktop's colour ("0,0,0"): where a window is cut out
# Window-manager hints (what the window asks for, and what openbox did). Seen under openbox: a Qt::Tool
# window has type UTILITY first (the no-taskbar-button check; nothing sets _NET_WM_STATE_SKIP_TASKBAR),
# a frameless one has decorations 0 and frame 0 0 0 0; openbox still draws a close button and obeys
# Alt+F4 on a dialog whose hints leave out the close function, so check the hints, not the frame.
#   e2e_window_types <id>         _NET_WM_WINDOW_TYPE atoms, one a line (first = the real type)
#   e2e_is_utility <id>           first type is UTILITY: no taskbar button
#   e2e_wm_state <id>             _NET_WM_STATE atoms, one a line
#   e2e_motif_hints <id>          "flags functions decorations" (decimal; empty when not set)
#   e2e_frame_extents <id>        "left right top bottom" of openbox's frame
#   e2e_is_borderless <id>        asks for no decorations and got a frame of 0 0 0 0
#   e2e_asks_close_box <id>       the window's hints allow a close action
#   e2e_is_shaped <id>            the window has a bounding shape (xwininfo -shape)
#   e2e_shape_extents <id>        "width height x y" of that shape
#   e2e_icon_pixels <id>          "opaque/all" pixels of the icons the window names (_NET_WM_ICON), "none"
# Wayland (E2E_DESKTOP=weston before e2e_init): weston's x11 backend in Xvfb, QT_QPA_PLATFORM=wayland.
# Wayland tells no program where its windows are, so they are found on screenshots (desktop plain
# E2E_WL_DESKTOP; places are screen pixels). Weston's pointer follows xdotool's moves relatively, so
# each click first pushes it to 0,0; for screenshots it rests bottom right, where no window is placed.
#   e2e_wl_screenshot <name>      screenshot into $E2E_OUT/<name>.png; prints the path
#   e2e_wl_click <x> <y>          left click at a screen place
#   e2e_wl_bbox <png> [colour]    "width height x y" of what is not desktop (or only of that colour)
#   e2e_wl_wait_bbox <name> <colour|-> <width> <height> [secs]   until that box has that size; "x y"
#   e2e_wl_wait_window <name> <picture> [secs]   until the only window shows the outline of that
#                                 picture (its pixels not of the top left pixel's colour); "x y"
#   e2e_wl_parents                "title|owner's title" per window titled, from the WAYLAND_DEBUG=client
#                                 log (owner empty for a window transient for none)
#   e2e_wl_cut_errors <png> <x> <y> <picture>   pixels where the window at x, y disagrees with the
#                                 picture's outline (desktop not shown in key colour or shown elsewhere)
# Assistive technology (AT-SPI): a private session bus and the accessibility bus on it; programs
# started afterwards talk to it, and tests/e2e/atspi.py reads and presses them through it.
#   e2e_start_accessibility       needs dbus-daemon (dbus), at-spi2-core and python3-pyatspi
# Settings store
#   e2e_store_path                $XDG_CONFIG_HOME/qxOrvanta/settings.sqlite3
#   e2e_sql <query>               run a query, rows on stdout ("|" between columns)
#   e2e_setting <app> <section> <key>   stored value (names matched without letter case); status 1 if none
#   e2e_store_contains <text>     true when any stored value contains the text
# Checks and waiting
#   e2e_wait_until <secs> <command...>      poll (every 0.1 s) until the command succeeds
#   e2e_assert_eq <actual> <expected> <what>
#   e2e_assert <what> <command...>
#   e2e_fail <message> | e2e_log <message> | e2e_pass

set -euo pipefail

E2E_TIMEOUT=${E2E_TIMEOUT:-150}
E2E_SCREEN=${E2E_SCREEN:-1280x1024x24}
E2E_ROOT_COLOR="0,0,0"
E2E_APP_PID=""
E2E_APP_STATUS=""
E2E_PGIDS=()
E2E_RUNS=0
E2E_DONE=0

e2e_log() {
    printf '[e2e %s] %s\n' "$(date +%H:%M:%S)" "$*" >&2
}

e2e_fail() {
    printf '[e2e] FAIL: %s\n' "$*" >&2
    exit 1
}

e2e_pass() {
    E2E_DONE=1
    e2e_log "PASS ${E2E_NAME:-}"
    exit 0
}

# Starts a command in the background as the leader of its own process group, so teardown can end it
# together with everything it started. Prints nothing; the pid (= group id) is in E2E_LAST_PID.
_e2e_spawn() {
    local log="$1"
    shift
    setsid "$@" >>"$log" 2>&1 </dev/null &
    E2E_LAST_PID=$!
    E2E_PGIDS+=("$E2E_LAST_PID")
}

# True while a process of the group is alive (zombies waiting to be reaped do not count).
_e2e_group_alive() {
    ps -e -o pgid=,stat= | awk -v g="$1" '$1 == g && $2 !~ /^Z/ { found = 1 } END { exit !found }'
}

_e2e_end_group() {
    local pgid="$1" i
    if _e2e_group_alive "$pgid"; then
        kill -TERM -- "-$pgid" 2>/dev/null || true
        for i in $(seq 30); do
            _e2e_group_alive "$pgid" || break
            sleep 0.1
        done
        kill -KILL -- "-$pgid" 2>/dev/null || true
    fi
    wait "$pgid" 2>/dev/null || true
}

_e2e_teardown() {
    local status=$?
    trap - EXIT INT TERM HUP
    set +e
    if [ "$E2E_DONE" != 1 ] && [ "$status" = 0 ]; then
        status=1
        printf '[e2e] FAIL: scenario ended without e2e_pass\n' >&2
    fi
    if [ "$status" != 0 ] && [ -n "${E2E_TMP:-}" ]; then
        local log
        for log in "$E2E_TMP"/app-*.log; do
            [ -s "$log" ] || continue
            printf '[e2e] --- %s (last 40 lines) ---\n' "$(basename "$log")" >&2
            tail -n 40 "$log" >&2
        done
        if [ -n "${DISPLAY:-}" ] && [ -n "${E2E_OUT:-}" ]; then
            /usr/bin/import -window root "$E2E_OUT/failure.png" 2>/dev/null &&
                printf '[e2e] screen at failure: %s\n' "$E2E_OUT/failure.png" >&2
        fi
    fi
    # Newest first: the program, then the window manager, then the X server.
    local i
    for ((i = ${#E2E_PGIDS[@]} - 1; i >= 0; i--)); do
        _e2e_end_group "${E2E_PGIDS[$i]}"
    done
    if [ -n "${E2E_TMP:-}" ] && [ -d "$E2E_TMP" ]; then
        [ -n "${E2E_OUT:-}" ] && cp "$E2E_TMP"/*.log "$E2E_OUT"/ 2>/dev/null
        rm -rf "$E2E_TMP"
    fi
    exit "$status"
}

_e2e_on_signal() {
    printf '[e2e] FAIL: %s\n' "$1" >&2
    exit 1
}

e2e_init() {
    [ $# -ge 2 ] || e2e_fail "usage: $0 <program> <source dir> [output dir]"
    E2E_BIN=$(realpath "$1")
    E2E_SRC=$(realpath "$2")
    E2E_NAME=$(basename "$0" .sh)
    E2E_NAME=${E2E_NAME#scenario_}
    E2E_OUT=$(realpath -m "${3:-$PWD/e2e-output}")/$E2E_NAME
    [ -x "$E2E_BIN" ] || e2e_fail "program not found: $E2E_BIN"
    local tool tools="Xvfb openbox xdotool xprop xwininfo xauth sqlite3 /usr/bin/import setsid"
    [ "${E2E_DESKTOP:-openbox}" != weston ] || tools="Xvfb weston weston-screenshooter xdotool xauth sqlite3 /usr/bin/convert setsid"
    for tool in $tools; do
        command -v "$tool" >/dev/null || e2e_fail "missing tool: $tool (run ./test to install it)"
    done
    mkdir -p "$E2E_OUT"
    rm -f "$E2E_OUT"/*.png "$E2E_OUT"/*.log

    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/qxo-e2e-$E2E_NAME.XXXXXX")
    trap _e2e_teardown EXIT
    trap '_e2e_on_signal "interrupted"' INT HUP
    trap '_e2e_on_signal "stopped (time limit ${E2E_TIMEOUT} s or signal)"' TERM

    # A fresh user: nothing of the real user's settings, store or desktop is seen or touched.
    export HOME="$E2E_TMP/home"
    export XDG_CONFIG_HOME="$E2E_TMP/config"
    export XDG_DATA_HOME="$E2E_TMP/data"
    export XDG_CACHE_HOME="$E2E_TMP/cache"
    export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    E2E_WORKDIR="$E2E_TMP/work"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$E2E_WORKDIR"
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
    unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER QT_QPA_PLATFORMTHEME
    export QT_QPA_PLATFORM=xcb
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    export NO_AT_BRIDGE=1

    # Our own watchdog: ends the scenario (and so runs teardown) before ctest's harder time limit.
    _e2e_spawn "$E2E_TMP/watchdog.log" bash -c "sleep $E2E_TIMEOUT; kill -TERM $$"

    # X server on a free display, reachable only with our cookie.
    export XAUTHORITY="$E2E_TMP/xauthority"
    local cookie
    cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    : >"$XAUTHORITY"
    xauth -q -f "$XAUTHORITY" add :0 . "$cookie"
    local displayfile="$E2E_TMP/display"
    : >"$displayfile"
    _e2e_spawn "$E2E_TMP/xvfb.log" bash -c \
        "exec Xvfb -displayfd 3 -screen 0 $E2E_SCREEN -nolisten tcp -br -noreset -auth '$XAUTHORITY' 3>'$displayfile'"
    local i
    for i in $(seq 100); do
        grep -q '^[0-9]' "$displayfile" 2>/dev/null && break
        kill -0 "$E2E_LAST_PID" 2>/dev/null || e2e_fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
        sleep 0.1
    done
    grep -q '^[0-9]' "$displayfile" || e2e_fail "Xvfb did not report its display"
    export DISPLAY=":$(head -n1 "$displayfile")"
    xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie"

    if [ "${E2E_DESKTOP:-openbox}" = weston ]; then
        _e2e_start_weston
        return
    fi
    # openbox with its stock configuration (Alt+F4 closes, click to focus).
    _e2e_spawn "$E2E_TMP/openbox.log" openbox --sm-disable
    e2e_wait_until 10 _e2e_wm_running || e2e_fail "openbox did not take over the screen"
    e2e_log "display $DISPLAY ($E2E_SCREEN) with openbox; output in $E2E_OUT"
}

_e2e_wm_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

e2e_start_app() {
    E2E_RUNS=$((E2E_RUNS + 1))
    local log="$E2E_TMP/app-$E2E_RUNS.log"
    _e2e_spawn "$log" env --chdir="$E2E_WORKDIR" "$E2E_BIN" "$@"
    E2E_APP_PID=$E2E_LAST_PID
    E2E_APP_STATUS=""
    e2e_log "started program (run $E2E_RUNS, pid $E2E_APP_PID)"
}

e2e_app_running() {
    [ -n "$E2E_APP_PID" ] && ps -o stat= -p "$E2E_APP_PID" 2>/dev/null | grep -q '^[^Z]'
}

e2e_wait_app_exit() {
    local secs="${1:-20}"
    [ -n "$E2E_APP_PID" ] || e2e_fail "no program started"
    e2e_wait_until "$secs" _e2e_app_ended || return 1
    E2E_APP_STATUS=0
    wait "$E2E_APP_PID" 2>/dev/null || E2E_APP_STATUS=$?
    e2e_log "program ended with status $E2E_APP_STATUS"
}

_e2e_app_ended() {
    ! e2e_app_running
}

e2e_stop_app() {
    [ -n "$E2E_APP_PID" ] || return 0
    _e2e_end_group "$E2E_APP_PID"
}

e2e_wait_until() {
    local secs="$1"
    shift
    local deadline=$((SECONDS + secs))
    while true; do
        "$@" && return 0
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

e2e_assert() {
    local what="$1"
    shift
    "$@" || e2e_fail "$what"
}

e2e_assert_eq() {
    [ "$1" = "$2" ] || e2e_fail "$3: expected '$2', got '$1'"
}

# --- windows -------------------------------------------------------------------------------------

_e2e_regex_quote() {
    printf '%s' "$1" | sed 's/[][\.*^$(){}?+|]/\\&/g'
}

e2e_wait_window() {
    e2e_wait_window_matching "^$(_e2e_regex_quote "$1")\$" "${2:-20}"
}

e2e_wait_window_matching() {
    local regex="$1" secs="${2:-20}" id=""
    local deadline=$((SECONDS + secs))
    # xdotool's --sync search can give up early when a window vanishes while it looks (the splash
    # handing over to the login window), so search in short rounds until the deadline.
    while :; do
        id=$(timeout 2 xdotool search --sync --onlyvisible --name "$regex" 2>/dev/null | head -n1) || true
        [ -n "$id" ] && break
        [ "$SECONDS" -lt "$deadline" ] ||
            e2e_fail "no window titled /$regex/ within $secs s (visible: $(_e2e_visible_titles))"
        sleep 0.1
    done
    # Wait until the window manager has placed it: two equal readings a tenth of a second apart.
    local before="" now i
    for i in $(seq 30); do
        now=$(e2e_window_geometry "$id")
        [ "$now" = "$before" ] && break
        before="$now"
        sleep 0.1
    done
    printf '%s\n' "$id"
}

_e2e_visible_titles() {
    local id
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        printf '"%s" ' "$(xdotool getwindowname "$id" 2>/dev/null)"
    done
}

e2e_window_visible() {
    xdotool search --onlyvisible --name "^$(_e2e_regex_quote "$1")\$" >/dev/null 2>&1
}

_e2e_window_unmapped() {
    ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

e2e_wait_window_gone() {
    e2e_wait_until "${2:-20}" _e2e_window_unmapped "$1"
}

e2e_window_title() {
    xdotool getwindowname "$1"
}

e2e_window_geometry() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X:/ { x = $NF }
        /Absolute upper-left Y:/ { y = $NF }
        /^ *Width:/ { w = $NF }
        /^ *Height:/ { h = $NF }
        END { print x, y, w, h }'
}

e2e_activate() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"
}

e2e_close_request() {
    e2e_activate "$1"
    xdotool key --clearmodifiers alt+F4
}

e2e_start_accessibility() {
    local tool
    for tool in /usr/bin/dbus-daemon /usr/libexec/at-spi-bus-launcher; do
        [ -x "$tool" ] || e2e_fail "missing tool: $tool (run ./test to install dbus-x11 and at-spi2-core)"
    done
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || e2e_fail "missing python3-pyatspi (run ./test)"
    local bus="$E2E_TMP/session-bus"
    _e2e_spawn "$E2E_TMP/dbus.log" /usr/bin/dbus-daemon --session --nofork --nopidfile --address="unix:path=$bus"
    e2e_wait_until 10 test -S "$bus" || e2e_fail "the session bus did not start"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$bus"
    _e2e_spawn "$E2E_TMP/at-spi.log" /usr/libexec/at-spi-bus-launcher --launch-immediately
    e2e_wait_until 10 _e2e_accessibility_bus_up || e2e_fail "the accessibility bus did not start"
    # Qt speaks to the accessibility bus whether or not a screen reader has switched it on.
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    unset NO_AT_BRIDGE
}

_e2e_accessibility_bus_up() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1
}

# --- mouse and keyboard --------------------------------------------------------------------------

_e2e_to_screen() {
    local x y w h
    read -r x y w h < <(e2e_window_geometry "$1")
    printf '%s %s\n' "$((x + $2))" "$((y + $3))"
}

# Moves the pointer and waits until it got there (xdotool's --sync would wait forever for a move to
# where the pointer already is).
_e2e_pointer_to() {
    local X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell)"
    [ "$X" = "$1" ] && [ "$Y" = "$2" ] && return 0
    xdotool mousemove --sync "$1" "$2"
}

e2e_hover() {
    local sx sy
    read -r sx sy < <(_e2e_to_screen "$1" "$2" "$3")
    _e2e_pointer_to "$sx" "$sy"
}

e2e_click() {
    e2e_hover "$1" "$2" "$3"
    xdotool click "${4:-1}"
}

e2e_drag() {
    local id="$1" x1="$2" y1="$3" x2="$4" y2="$5" steps="${6:-10}"
    local sx sy i
    read -r sx sy < <(_e2e_to_screen "$id" "$x1" "$y1")
    _e2e_pointer_to "$sx" "$sy"
    xdotool mousedown 1
    for ((i = 1; i <= steps; i++)); do
        _e2e_pointer_to "$((sx + (x2 - x1) * i / steps))" "$((sy + (y2 - y1) * i / steps))"
    done
    xdotool mouseup 1
}

e2e_type() {
    xdotool type --clearmodifiers --delay 25 -- "$1"
}

e2e_key() {
    xdotool key --clearmodifiers --delay 40 "$@"
}

# --- screen --------------------------------------------------------------------------------------

e2e_screenshot() {
    local path="$E2E_OUT/$1.png"
    /usr/bin/import -window root "$path"
    e2e_log "screenshot $path"
    printf '%s\n' "$path"
}

e2e_root_pixel() {
    /usr/bin/import -window root -crop "1x1+$1+$2" -depth 8 txt:- |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

e2e_window_pixel() {
    local sx sy
    read -r sx sy < <(_e2e_to_screen "$1" "$2" "$3")
    e2e_root_pixel "$sx" "$sy"
}

# --- window-manager hints ------------------------------------------------------------------------

e2e_window_types() {
    xprop -id "$1" _NET_WM_WINDOW_TYPE | sed -n 's/^.*= //p' | tr -d ' ' | tr ',' '\n'
}

e2e_is_utility() {
    [ "$(e2e_window_types "$1" | head -n1)" = "_NET_WM_WINDOW_TYPE_UTILITY" ]
}

e2e_wm_state() {
    xprop -id "$1" _NET_WM_STATE | sed -n 's/^.*= //p' | tr -d ' ' | tr ',' '\n' | sed '/^$/d'
}

e2e_motif_hints() {
    local values
    values=$(xprop -id "$1" _MOTIF_WM_HINTS | sed -n 's/^.*= //p' | tr -d ' ')
    [ -n "$values" ] || return 0
    local flags functions decorations
    IFS=, read -r flags functions decorations _ <<<"$values"
    printf '%d %d %d\n' "$flags" "$functions" "$decorations"
}

e2e_frame_extents() {
    xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/^.*= //p' | tr -d ','
}

e2e_is_borderless() {
    local flags functions decorations
    read -r flags functions decorations < <(e2e_motif_hints "$1"; echo)
    [ -n "$flags" ] && (( (flags & 2) != 0 && decorations == 0 )) &&
        [ "$(e2e_frame_extents "$1")" = "0 0 0 0" ]
}

# Motif functions: bit 1 "all except those listed", bit 0x20 close. Without the functions flag the
# window asks for every action, close included.
e2e_asks_close_box() {
    local flags functions decorations
    read -r flags functions decorations < <(e2e_motif_hints "$1"; echo)
    [ -n "$flags" ] && (( (flags & 1) != 0 )) || return 0
    if (( (functions & 1) != 0 )); then
        (( (functions & 32) == 0 ))
    else
        (( (functions & 32) != 0 ))
    fi
}

e2e_is_shaped() {
    xwininfo -shape -id "$1" | grep -q 'Window shape extents:'
}

e2e_shape_extents() {
    xwininfo -shape -id "$1" | sed -n 's/^ *Window shape extents: *\([0-9]*\)x\([0-9]*\)+\(-\{0,1\}[0-9]*\)+\(-\{0,1\}[0-9]*\).*/\1 \2 \3 \4/p'
}

e2e_icon_pixels() {
    xprop -id "$1" -notype -f _NET_WM_ICON 32c ' $0+' _NET_WM_ICON 2>/dev/null | awk '
        /^_NET_WM_ICON / {
            sub(/^_NET_WM_ICON /, ""); n = split($0, v, /, */); i = 1
            while (i + 1 <= n) { # width, height, then width * height ARGB values
                size = v[i] * v[i + 1]; i += 2
                for (k = 0; k < size; k++) { all++; if (v[i++] >= 16777216) opaque++ }
            }
            printf "%d/%d\n", opaque, all; found = 1
        }
        END { if (!found) print "none" }'
}

# --- Wayland (weston) ---------------------------------------------------------------------------

E2E_WL_DESKTOP="#FF00FF" # no picture of the program has this colour

_e2e_start_weston() {
    local size=${E2E_SCREEN%x*}
    E2E_WL_WIDTH=${size%x*}
    E2E_WL_HEIGHT=${size#*x}
    printf '[core]\nidle-time=0\n[shell]\nbackground-color=0xff%s\npanel-position=none\n' \
        "${E2E_WL_DESKTOP#\#}" >"$E2E_TMP/weston.ini"
    # --debug lets weston-screenshooter take screenshots; pixman paints without a GPU.
    _e2e_spawn "$E2E_TMP/weston.log" weston --backend=x11-backend.so --use-pixman --debug \
        --width="$E2E_WL_WIDTH" --height="$E2E_WL_HEIGHT" --socket=qxo-wayland --config="$E2E_TMP/weston.ini"
    e2e_wait_until 15 test -S "$XDG_RUNTIME_DIR/qxo-wayland" || e2e_fail "weston did not start: $(tail -5 "$E2E_TMP/weston.log")"
    export WAYLAND_DISPLAY=qxo-wayland QT_QPA_PLATFORM=wayland
    mkdir -p "$E2E_TMP/shots"
    e2e_log "weston on $DISPLAY (${E2E_WL_WIDTH}x$E2E_WL_HEIGHT); output in $E2E_OUT"
}

_e2e_wl_park_pointer() {
    xdotool mousemove "$((E2E_WL_WIDTH - 1))" "$((E2E_WL_HEIGHT - 1))"
}

e2e_wl_screenshot() {
    local path="$E2E_OUT/$1.png" shot
    _e2e_wl_park_pointer
    sleep 0.2
    rm -f "$E2E_TMP"/shots/*.png
    (cd "$E2E_TMP/shots" && timeout 10 weston-screenshooter) >/dev/null 2>&1 || e2e_fail "weston-screenshooter failed"
    shot=$(ls "$E2E_TMP"/shots/*.png 2>/dev/null | head -n1)
    [ -n "$shot" ] || e2e_fail "weston-screenshooter wrote no screenshot"
    mv "$shot" "$path"
    printf '%s\n' "$path"
}

e2e_wl_click() {
    xdotool mousemove 0 0
    sleep 0.05
    xdotool mousemove "$1" "$2"
    sleep 0.1
    xdotool click 1
}

e2e_wl_bbox() {
    # The parked pointer's corner is painted over first; the box is WxH+X+Y with a one pixel border.
    local corner="rectangle $((E2E_WL_WIDTH - 8)),$((E2E_WL_HEIGHT - 8)) $E2E_WL_WIDTH,$E2E_WL_HEIGHT"
    /usr/bin/convert "$1" -fill "$E2E_WL_DESKTOP" -draw "$corner" ${2:+"+opaque" "$2"} \
        -bordercolor "$E2E_WL_DESKTOP" -border 1 -format '%@' info: 2>/dev/null |
        sed 's/^\([0-9]*\)x\([0-9]*\)+\([0-9]*\)+\([0-9]*\)$/\1 \2 \3 \4/' | awk '{ print $1, $2, $3 - 1, $4 - 1 }'
}

# One screenshot: prints "x y" of the box when it has that size, else fails.
_e2e_wl_find_bbox() {
    local box
    box=$(e2e_wl_bbox "$(e2e_wl_screenshot "$1")" "${2#-}")
    case "$box" in
    "$3 $4 "*) printf '%s\n' "${box#"$3 $4 "}" ;;
    *) return 1 ;;
    esac
}

e2e_wl_wait_bbox() {
    e2e_wait_until "${5:-20}" _e2e_wl_find_bbox "$1" "$2" "$3" "$4" ||
        e2e_fail "$1: no ${3}x$4 window on screen within ${5:-20} s"
}

# Prints "key width height x y" of a picture: its key colour and the box of its other pixels.
_e2e_wl_outline_box() {
    local key
    key=$(/usr/bin/convert "$1" -format '%[hex:u.p{0,0}]' info:)
    key="#${key:0:6}"
    printf '%s %s\n' "$key" "$(/usr/bin/convert "$1" -bordercolor "$key" -border 1 -format '%@' info: | tr 'x+' '  ')"
}

# Prints "x y" of the window showing the picture when it is the only window on screen, else fails.
_e2e_wl_find_window() {
    local key w h x y pos
    read -r key w h x y <<<"$(_e2e_wl_outline_box "$2")"
    pos=$(_e2e_wl_find_bbox "$1" - "$w" "$h") || return 1
    printf '%s %s\n' "$((${pos% *} - x + 1))" "$((${pos#* } - y + 1))"
}

e2e_wl_wait_window() {
    e2e_wait_until "${3:-20}" _e2e_wl_find_window "$1" "$2" ||
        e2e_fail "$1: no window showing $(basename "$2") within ${3:-20} s"
}

e2e_wl_cut_errors() {
    local shot="$1" x="$2" y="$3" picture="$4" size key
    size=$(/usr/bin/convert "$picture" -format '%wx%h' info:)
    read -r key _ <<<"$(_e2e_wl_outline_box "$picture")"
    # White where the picture has its key colour, and where the screen shows the desktop.
    /usr/bin/convert "$picture" -alpha off -fill black +opaque "$key" -fill white -opaque "$key" \
        "$E2E_TMP/cut-key.png"
    /usr/bin/convert "$shot" -crop "$size+$x+$y" +repage -alpha off -fill black +opaque "$E2E_WL_DESKTOP" \
        -fill white -opaque "$E2E_WL_DESKTOP" "$E2E_TMP/cut-shown.png"
    /usr/bin/compare -metric AE "$E2E_TMP/cut-key.png" "$E2E_TMP/cut-shown.png" null: 2>&1 || true
}

e2e_wl_parents() {
    awk '
        match($0, /-> xdg_surface@[0-9]+\.get_toplevel\(new id xdg_toplevel@[0-9]+/) {
            id = substr($0, RSTART, RLENGTH); sub(/.*@/, "", id); parent[id] = ""
        }
        match($0, /-> xdg_toplevel@[0-9]+\.set_parent\(xdg_toplevel@[0-9]+/) {
            ids = substr($0, RSTART, RLENGTH); gsub(/[^0-9@]/, " ", ids); split(ids, n, /[ @]+/)
            parent[n[2]] = title[n[3]]
        }
        match($0, /-> xdg_toplevel@[0-9]+\.set_title\(".*"\)/) {
            id = substr($0, RSTART, RLENGTH); sub(/\.set_title.*/, "", id); sub(/.*@/, "", id)
            t = substr($0, RSTART, RLENGTH); sub(/^[^"]*"/, "", t); sub(/"\)$/, "", t)
            title[id] = t; print t "|" parent[id]
        }' "$E2E_TMP/app-$E2E_RUNS.log"
}

# --- settings store ------------------------------------------------------------------------------

e2e_store_path() {
    printf '%s\n' "$XDG_CONFIG_HOME/qxOrvanta/settings.sqlite3"
}

_e2e_sql_quote() {
    printf "'%s'" "${1//\'/\'\'}"
}

e2e_sql() {
    local store
    store=$(e2e_store_path)
    [ -f "$store" ] || e2e_fail "no settings store at $store"
    sqlite3 -batch -noheader -cmd '.timeout 5000' "$store" "$1"
}

# The value comes with a leading "v", so that an empty value is told apart from no entry.
e2e_setting() {
    local value
    value=$(e2e_sql "SELECT 'v' || ifnull(value, '') FROM setting WHERE lower(application) = lower($(_e2e_sql_quote "$1"))
        AND lower(section) = lower($(_e2e_sql_quote "$2")) AND lower(key) = lower($(_e2e_sql_quote "$3"))
        LIMIT 1;" | tr -d '\r')
    [ -n "$value" ] || return 1
    printf '%s\n' "${value#v}"
}

e2e_store_contains() {
    [ "$(e2e_sql "SELECT count(*) FROM setting WHERE instr(value, $(_e2e_sql_quote "$1")) > 0;")" != 0 ]
}
