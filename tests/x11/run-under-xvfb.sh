#!/usr/bin/env bash
# Runs a test on a private Xvfb screen with the keyboard layouts us and ru, on Qt's xcb
# platform. Usage: run-under-xvfb.sh <test executable> [arguments...]
set -euo pipefail
width=1280
height=800

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -noreset -nolisten tcp 3>"$displayfile" &
xvfb=$!
cleanup() {
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -f "$displayfile"
}
trap cleanup EXIT
for _ in $(seq 200); do
    [ -s "$displayfile" ] && break
    sleep 0.05
done
export DISPLAY=":$(head -n1 "$displayfile")"
setxkbmap -layout us,ru

export QT_QPA_PLATFORM=xcb
unset CLAVITOR_SIMULATED_DESKTOP
"$@"
