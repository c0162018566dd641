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
before_xvfb_stops() {
    wineserver -k 2>/dev/null || true
}
source "$(dirname "$0")/../private-xvfb.sh"
start_private_xvfb

mkdir -p "$WINEPREFIX"
wine "$exe" "$width" "$height"
