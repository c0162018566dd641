#!/usr/bin/env bash
# The installer's script (packaging/windows/NSIS.template.in) made by makensis as CPack makes it,
# from a payload of a stand-in clavitor.exe, run silently under Wine in a fresh prefix on a
# private Xvfb screen. Wine runs programs with the administrator's rights, so the default kind is
# an install for all users.
# Usage: installer-under-wine.sh <template> <fake clavitor.exe> <application id> <work folder>
set -euo pipefail
template=$1
fake=$2
app_id=$3
work=$4
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
width=1024 height=768
before_xvfb_stops() {
    wineserver -k 2>/dev/null || true
}
source "$here/../../private-xvfb.sh"
start_private_xvfb

failures=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}

# An installer of VERSION whose payload holds clavitor.exe, version.txt and, for the old
# version, old-only.txt.
make_installer() {
    local version=$1 payload=$work/payload-$1
    mkdir -p "$payload/licenses"
    cp "$fake" "$payload/clavitor.exe"
    echo "$version" >"$payload/licenses/version.txt"
    [ "$version" != 3.1.0 ] || echo old >"$payload/old-only.txt"
    cmake -DTEMPLATE="$template" -DPAYLOAD="$payload" -DVERSION="$version" -DAPP_ID="$app_id" \
        -DICON=/usr/share/nsis/Contrib/Graphics/Icons/modern-install.ico -DOUTPUT_DIR="$work" \
        -P "$here/configure-installer.cmake"
    makensis -V1 "$work/setup-$version.nsi"
}
make_installer 3.1.0
make_installer 3.2.0

# Runs a Windows program and prints its exit code.
exit_code() {
    local code=0
    wine "$@" >/dev/null 2>&1 || code=$?
    echo "$code"
}
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Clavitor'
# The value NAME of the uninstall key under ROOT (HKLM, HKCU), empty when there is none.
reg_value() {
    wine reg query "$1\\$key" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

wineboot -i >/dev/null 2>&1
wineserver -w
c=$WINEPREFIX/drive_c
all_users=$c/"Program Files"/Clavitor
user_home=$(cd "$(dirname "$(echo "$c"/users/[!P]*/AppData)")" && pwd)
per_user=$user_home/AppData/Local/Programs/Clavitor
common_link=$c/ProgramData/Microsoft/Windows/"Start Menu"/Programs/Clavitor.lnk
user_link=$user_home/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs/Clavitor.lnk
data=$user_home/AppData/Local/clavitor/Clavitor
mkdir -p "$data"
echo "my profile" >"$data/profile.txt"

echo "== install 3.1.0 for all users"
check "the installer succeeds" test "$(exit_code "$work/setup-3.1.0.exe" /S)" = 0
check "the files are in Program Files" test -f "$all_users/old-only.txt"
check "the Start-menu shortcut is there" test -f "$common_link"
check "the Apps entry names the version" test "$(reg_value HKLM DisplayVersion)" = 3.1.0
check "the Apps entry has an estimated size" test -n "$(reg_value HKLM EstimatedSize)"

echo "== while Clavitor runs"
signals=$work/signals
mkdir -p "$signals"
wine "$all_users/clavitor.exe" "$signals" >/dev/null 2>&1 &
running=$!
for _ in $(seq 300); do
    [ -f "$signals/running" ] && break
    sleep 0.1
done
check "the stand-in runs" test -f "$signals/running"
check "a silent upgrade fails" test "$(exit_code "$work/setup-3.2.0.exe" /S)" != 0
# In place (_?=), as an installer runs it, so that its exit code is the uninstall's; Wine would
# quote the argument with its space, which the uninstaller does not take, so cmd runs it.
printf '"C:\\Program Files\\Clavitor\\uninstall.exe" /S /AllUsers _?=C:\\Program Files\\Clavitor\r\nexit /b %%ERRORLEVEL%%\r\n' \
    >"$work/uninstall-in-place.bat"
check "a silent uninstall fails" test "$(exit_code cmd /c "$work/uninstall-in-place.bat")" != 0
check "the old install is whole" test "$(cat "$all_users/licenses/version.txt")" = 3.1.0 \
    -a -f "$all_users/old-only.txt" -a -f "$all_users/clavitor.exe" -a -f "$common_link"
check "its Apps entry is kept" test "$(reg_value HKLM DisplayVersion)" = 3.1.0
touch "$signals/quit"
wait "$running" || true

echo "== upgrade to 3.2.0"
check "the installer succeeds" test "$(exit_code "$work/setup-3.2.0.exe" /S)" = 0
check "the old files are replaced" test "$(cat "$all_users/licenses/version.txt")" = 3.2.0 \
    -a ! -e "$all_users/old-only.txt"
check "one Apps entry, of the new version" test "$(reg_value HKLM DisplayVersion)" = 3.2.0 \
    -a -z "$(reg_value HKCU DisplayVersion)"
check "the user's data is kept" test "$(cat "$data/profile.txt")" = "my profile"

echo "== an older installer"
check "a silent downgrade is refused" test "$(exit_code "$work/setup-3.1.0.exe" /S)" != 0
check "the newer install is kept" test "$(reg_value HKLM DisplayVersion)" = 3.2.0 \
    -a "$(cat "$all_users/licenses/version.txt")" = 3.2.0

echo "== the other kind: for the current user"
check "the installer succeeds" test "$(exit_code "$work/setup-3.2.0.exe" /S /CurrentUser)" = 0
check "the install for all users is gone" test ! -e "$all_users" -a ! -e "$common_link" \
    -a -z "$(reg_value HKLM DisplayVersion)"
check "the per-user install is there" test -f "$per_user/clavitor.exe" -a -f "$user_link" \
    -a "$(reg_value HKCU DisplayVersion)" = 3.2.0

echo "== uninstall"
check "the uninstaller succeeds" test "$(exit_code "$per_user/uninstall.exe" /S /CurrentUser)" = 0
wineserver -w
check "the files, the shortcut and the Apps entry are gone" test ! -e "$per_user" \
    -a ! -e "$user_link" -a -z "$(reg_value HKCU DisplayVersion)"
check "the user's data is kept" test "$(cat "$data/profile.txt")" = "my profile"

[ "$failures" = 0 ]
