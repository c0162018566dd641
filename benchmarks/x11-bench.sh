#!/usr/bin/env bash
# The X11 backend on a private Xvfb screen: the cost of its calls (bench_x11), then the click
# rhythm of a scenario (300 clicks, Sleep(10) after each press and release) and of the
# autoclicker (mode HotkeyToggle: 300 clicks at 10 ms, 60 at 100 ms) beside xdotool's
# (click --repeat N --delay D), all timed by the same XInput2 recorder, in one run, with the
# processor time each clicker took as a share of its running time ("cpu", the whole process)
# and, for the autoclicker, of the time its ticks ran ("run cpu", start-up left out).
# Usage: benchmarks/x11-bench.sh [build directory]
set -euo pipefail
build=${1:-build}
recorder=$build/benchmarks/x11_click_recorder
clicker=$build/benchmarks/x11_scenario_clicker
autoclicker=$build/benchmarks/x11_autoclicker_clicker

# On the private Xvfb screen of the X11 tests.
if [ -z "${CLAVITOR_BENCH_ON_XVFB:-}" ]; then
    export CLAVITOR_BENCH_ON_XVFB=1
    exec "$(dirname "$0")/../tests/x11/run-under-xvfb.sh" "$0" "$@"
fi
recording=$(mktemp)
times=$(mktemp)
output=$(mktemp)
trap 'rm -f "$recording" "$times" "$output"' EXIT
TIMEFORMAT='%U %S %R'


# measure <name> <presses> <interval ms> <command...>: the recorder listens before the
# command starts clicking.
measure() {
    local name=$1 presses=$2 interval=$3
    shift 3
    "$recorder" "$presses" "$interval" >"$recording" &
    local listening=$!
    for _ in $(seq 200); do
        grep -q '^ready' "$recording" && break
        sleep 0.05
    done
    { time "$@" >"$output" 2>/dev/null; } 2>"$times"
    wait "$listening"
    local cpu run
    cpu=$(awk '{ printf "%.1f", 100 * ($1 + $2) / $3 }' "$times")
    run=$(awk '/^run-cpu/ { printf "  run cpu %s %%", $2 }' "$output")
    printf '%-16s %s  cpu %s %%%s\n' "$name" "$(tail -n1 "$recording")" "$cpu" "$run"
}

"$build/benchmarks/bench_x11"
echo
measure scenario 300 10 "$clicker"
measure autoclicker-10 300 10 "$autoclicker" 10 300
measure xdotool-10 300 10 xdotool click --repeat 300 --delay 10 1
measure autoclicker-100 60 100 "$autoclicker" 100 60
measure xdotool-100 60 100 xdotool click --repeat 60 --delay 100 1
