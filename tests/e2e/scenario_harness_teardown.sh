#!/usr/bin/env bash
# The harness leaves nothing behind when a scenario fails or runs out of time: no X server, window
# manager or program keeps running, and the temporary home is gone.
set -euo pipefail
program=$(realpath "$1")
output=$(realpath -m "${3:-$PWD/e2e-output}")/harness_teardown
lib=$(realpath "$(dirname "$0")/lib.sh")
mkdir -p "$output"
work=$(mktemp -d "${TMPDIR:-/tmp}/qxo-e2e-selftest.XXXXXX")
leftovers=()
trap 'for g in "${leftovers[@]}"; do kill -KILL -- "-$g" 2>/dev/null || true; done; rm -rf "$work"' EXIT

fail() {
    printf '[harness self-test] FAIL: %s\n' "$*" >&2
    exit 1
}

# Writes a scenario that starts everything, records what it started, then ends the way given.
write_child() {
    cat >"$work/scenario_$1.sh" <<CHILD
source "$lib"
e2e_init "\$@"
e2e_start_app
e2e_wait_window_matching '.' 30 >/dev/null
printf '%s\n' "\${E2E_PGIDS[@]}" >"$work/$1.pgids"
printf '%s\n' "\$E2E_TMP" >"$work/$1.tmp"
printf '%s\n' "\${DISPLAY#:}" >"$work/$1.display"
$2
CHILD
}

check_clean() {
    local name="$1" g
    [ -s "$work/$name.pgids" ] || fail "$name: the scenario did not get as far as starting everything"
    mapfile -t groups <"$work/$name.pgids"
    leftovers+=("${groups[@]}")
    [ "${#groups[@]}" -ge 4 ] || fail "$name: expected watchdog, X server, openbox and program, got ${#groups[@]} groups"
    for g in "${groups[@]}"; do
        if ps -e -o pgid=,stat=,args= | awk -v g="$g" '$1 == g && $2 !~ /^Z/' | grep -q .; then
            fail "$name: still running after the scenario ended: $(ps -e -o pgid=,args= | awk -v g="$g" '$1 == g')"
        fi
    done
    [ ! -e "$(cat "$work/$name.tmp")" ] || fail "$name: temporary home left behind"
    [ ! -e "/tmp/.X$(cat "$work/$name.display")-lock" ] || fail "$name: X server lock left behind"
    printf '[harness self-test] %s: everything torn down\n' "$name" >&2
}

# Runs a scenario that ends the way given: it must report a failure.
run_failing_child() {
    local name="$1" body="$2" what="$3"
    write_child "$name" "$body"
    if bash "$work/scenario_$name.sh" "$program" . "$output" 2>"$output/$name.err"; then
        fail "$what reported success"
    fi
}

run_failing_child failing 'e2e_fail "failing on purpose"' "a failing scenario"
grep -q 'failing on purpose' "$output/failing.err" || fail "the failure message was not shown"
check_clean failing

run_failing_child erroring 'false; e2e_pass' "a scenario stopped by a failing command"
check_clean erroring

started=$SECONDS
E2E_TIMEOUT=8 run_failing_child hanging 'e2e_wait_until 600 false' "a scenario past its time limit"
[ $((SECONDS - started)) -lt 30 ] || fail "the time limit did not stop the scenario"
grep -q 'time limit' "$output/hanging.err" || fail "the time limit was not reported"
check_clean hanging

printf '[harness self-test] PASS\n' >&2
