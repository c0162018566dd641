#!/usr/bin/env bash
# Runs the cross-compiled backend test under Wine on a private Xvfb screen.
# Usage: run-under-wine.sh <test.exe> <wine prefix directory>
set -euo pipefail
exe=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
width=1280
height=800

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -noreset -nolisten tcp 3>"$displayfile" &
xvfb=$!
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -f "$displayfile"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.05
done
export DISPLAY=":$(head -n1 "$displayfile")"

mkdir -p "$WINEPREFIX"
wine "$exe" "$width" "$height"
