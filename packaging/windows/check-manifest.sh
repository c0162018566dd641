#!/usr/bin/env bash
# Checks that an executable carries the program's manifest in its resources: run with the user's
# own rights, Windows 10 and 11 as its systems, per-monitor DPI awareness (v2) and long paths.
#
#     packaging/windows/check-manifest.sh EXECUTABLE
set -euo pipefail
[ $# -eq 1 ] && [ -f "$1" ] || { echo "usage: $0 EXECUTABLE" >&2; exit 2; }
executable="$1"

resources="$(mktemp)"
trap 'rm -f "$resources"' EXIT
x86_64-w64-mingw32-objcopy -O binary --only-section=.rsrc "$executable" "$resources"
text="$(strings -n 8 "$resources")"

missing=0
for setting in \
    'requestedExecutionLevel level="asInvoker"' \
    'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' \
    '>PerMonitorV2</dpiAwareness>' \
    '>true</longPathAware>'; do
    if ! grep -qF -- "$setting" <<<"$text"; then
        echo "check-manifest: $executable has no manifest with $setting" >&2
        missing=$((missing + 1))
    fi
done
[ "$missing" -eq 0 ] || exit 1
echo "check-manifest: $executable runs as invoker, on Windows 10 and 11, per-monitor aware, with long paths"
