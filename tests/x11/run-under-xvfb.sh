#!/usr/bin/env bash
# Runs a test on a private Xvfb screen with the keyboard layouts us and ru, on Qt's xcb
# platform. Usage: run-under-xvfb.sh <test executable> [arguments...]
set -euo pipefail
width=1280
height=800
source "$(dirname "$0")/../private-xvfb.sh"
start_private_xvfb
setxkbmap -layout us,ru

export QT_QPA_PLATFORM=xcb
unset CLAVITOR_SIMULATED_DESKTOP
"$@"
