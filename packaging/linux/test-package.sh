#!/usr/bin/env bash
# Checks the Debian package: its metadata passes desktop-file-validate, appstreamcli and lintian
# (no errors), it holds every file an install needs, and its program, started from the unpacked
# package on a private X server with a fresh home, maps its window with its icon and the
# window class that ties it to the application id's desktop file.
#
#     packaging/linux/test-package.sh dist/clavitor_<version>_amd64.deb
set -euo pipefail

deb=$(realpath "$1")
scratch=$(mktemp -d)
program_pid=
cleanup() {
    [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

dpkg-deb -x "$deb" "$scratch/root"
root=$scratch/root/usr
# The application id is the name of the one desktop file; everything else follows it.
desktop_files=("$root"/share/applications/*.desktop)
[ ${#desktop_files[@]} -eq 1 ] && [ -f "${desktop_files[0]}" ] || {
    echo "FAIL: the package holds ${#desktop_files[@]} desktop files, not one"
    exit 1
}
app_id=$(basename "${desktop_files[0]}" .desktop)
expected=(
    bin/clavitor
    "share/applications/$app_id.desktop"
    "share/metainfo/$app_id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$app_id.svg"
    share/doc/clavitor/copyright
    share/doc/clavitor/changelog.gz
    share/man/man1/clavitor.1.gz
)
for size in 16 24 32 48 64 128 256 512; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for file in "${expected[@]}"; do
    [ -s "$root/$file" ] || fail "the package lacks /usr/$file"
done
grep -q "<id>$app_id</id>" "$root/share/metainfo/$app_id.metainfo.xml" ||
    fail "the metadata does not name $app_id"
grep -q "^Icon=$app_id$" "$root/share/applications/$app_id.desktop" ||
    fail "the desktop file does not name the icon $app_id"

run_check() { # tool, then the check's command
    if ! command -v "$1" >/dev/null; then
        echo "SKIP: $1 is not installed (scripts/install-deps.sh installs it)"
        return
    fi
    shift
    "$@" || fail "$*"
}
run_check desktop-file-validate desktop-file-validate "$root/share/applications/$app_id.desktop"
run_check appstreamcli appstreamcli validate --no-net --explain \
    "$root/share/metainfo/$app_id.metainfo.xml"
lintian_errors() {
    # Lintian runs as root here only with --allow-root; errors fail, warnings are listed in
    # the README with why each is kept.
    local report
    report=$(lintian --allow-root --tag-display-limit 0 "$deb" 2>&1 || true)
    echo "$report"
    ! grep -q '^E: ' <<<"$report"
}
run_check lintian lintian_errors

# The program from the unpacked package, on its own X server, with a home of its own.
width=1280 height=800
# shellcheck source=../../tests/private-xvfb.sh
. "$(dirname "$0")/../../tests/private-xvfb.sh"
start_private_xvfb
export HOME=$scratch/home XDG_CONFIG_HOME= XDG_DATA_HOME= XDG_CACHE_HOME= XDG_RUNTIME_DIR=
mkdir -p "$HOME"
QT_QPA_PLATFORM=xcb "$root/bin/clavitor" >"$scratch/program.log" 2>&1 &
program_pid=$!
window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -z "$window" ]; then
    fail "the program maps no window"
    cat "$scratch/program.log"
else
    properties=$(xprop -id "$window")
    grep -q '^_NET_WM_ICON(CARDINAL)' <<<"$properties" || fail "the window has no icon"
    # X11 desktops match the window to $app_id.desktop by its WM_CLASS.
    wm_class=$(sed -n 's/^StartupWMClass=//p' "$root/share/applications/$app_id.desktop")
    grep -q "^WM_CLASS(STRING) = \".*\", \"$wm_class\"$" <<<"$properties" ||
        fail "the window's WM_CLASS is not the desktop file's $wm_class"
fi

if [ "$failures" -ne 0 ]; then
    echo "package test: $failures failed"
    exit 1
fi
echo "package test: passed"
