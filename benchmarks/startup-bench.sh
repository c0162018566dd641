#!/usr/bin/env bash
# The program's start-up to its first paint on a private Xvfb screen, as the toolkit logs it
# (the first "Painting and flushing dirty top level", timed from the process start): with
# only the default profile, and with 20 profiles of 20 scenarios, the scenario page shown
# on a profile of 20 in the second case. Medians of 15 starts each.
# Usage: benchmarks/startup-bench.sh [build directory] [starts]
set -euo pipefail
build=$(realpath "${1:-build}")
starts=${2:-15}
program=$build/src/clavitor
writer=$build/benchmarks/scenario_library_writer

if [ -z "${CLAVITOR_BENCH_ON_XVFB:-}" ]; then
    export CLAVITOR_BENCH_ON_XVFB=1
    exec "$(dirname "$0")/../tests/x11/run-under-xvfb.sh" "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every start is killed soon after its first paint. GStreamer's JACK sink, which the switch
# sound's player tries, holds a lock in a database shared by all the user's programs
# (/dev/shm/jack_db-<uid>) while it connects; a program killed then leaves the lock taken,
# and every later player of the user hangs on it. The sink is left out.
export GST_PLUGIN_FEATURE_RANK=jackaudiosink:NONE

# first_paint: seconds from the program's start to its first paint.
first_paint() {
    local log=$work/log
    : >"$log"
    QT_LOGGING_RULES="qt.widgets.painting=true" QT_MESSAGE_PATTERN="%{time process} %{message}" \
        "$program" 2>"$log" &
    local pid=$!
    for _ in $(seq 800); do
        grep -q 'Painting and flushing dirty top level' "$log" && break
        sleep 0.01
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if ! grep -m1 'Painting and flushing dirty top level' "$log" | awk '{print $1}' | grep .; then
        echo "no first paint within 8 s:" >&2
        tail -n 5 "$log" >&2
        return 1
    fi
}

# measure <name> <profiles> <scenarios>
measure() {
    export XDG_DATA_HOME=$work/$1
    mkdir -p "$XDG_DATA_HOME"
    "$writer" "$2" "$3"
    first_paint >/dev/null # the first start warms the caches
    local times=()
    for _ in $(seq "$starts"); do
        times+=("$(first_paint)")
    done
    printf '%s\n' "${times[@]}" | sort -n |
        awk -v name="$1" '{t[NR] = $1} END {printf "%-20s median %.1f ms (min %.1f, max %.1f, %d starts)\n", name, t[int((NR + 1) / 2)] * 1000, t[1] * 1000, t[NR] * 1000, NR}'
}

measure default-only 0 0
measure 20-profiles-of-20 20 20
