#!/usr/bin/env bash
# Checks a Windows program folder: every DLL that an executable or a DLL in it imports is either in
# the folder beside clavitor.exe or a DLL that Windows itself provides, and every DLL beside
# clavitor.exe is imported by something (plugins in their folders are loaded by name, not
# imported). A DLL missing from the deployment fails here, not on the user's machine.
#
#     packaging/windows/check-imports.sh FOLDER
set -euo pipefail
[ $# -eq 1 ] && [ -d "$1" ] || { echo "usage: $0 FOLDER" >&2; exit 2; }
folder="$1"
objdump=x86_64-w64-mingw32-objdump

# The DLLs of Windows that the program, the toolkit and their runtime import. A new import shows
# up here as missing until it is deployed or, when Windows has it, listed.
system_dlls="advapi32 authz avrt bcrypt comctl32 comdlg32 crypt32 d2d1 d3d11 d3d9 dnsapi dwmapi
dwrite dxgi dxva2 evr gdi32 hid imm32 iphlpapi kernel32 ksuser mf mfplat mfreadwrite mfuuid mpr
msvcrt mswsock ncrypt netapi32 ole32 oleaut32 propsys secur32 setupapi shcore shell32 shlwapi
strmiids user32 userenv uxtheme version winhttp winmm wmvcore ws2_32 wtsapi32"

# One line with a blank around every name, to look a name up in.
system_dlls=" $(echo $system_dlls) "

[ -f "$folder/clavitor.exe" ] || { echo "check-imports: $folder has no clavitor.exe" >&2; exit 1; }

# The names of the DLLs deployed beside the program, in lower case.
deployed="$(find "$folder" -maxdepth 1 -iname '*.dll' -printf '%f\n' | tr '[:upper:]' '[:lower:]')"

missing=0
checked=0
imported=""
while IFS= read -r -d '' binary; do
    checked=$((checked + 1))
    imports="$("$objdump" -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]')"
    imported+="$imports"$'\n'
    for dll in $imports; do
        case "$dll" in
            api-ms-win-*|ext-ms-win-*) continue ;;
        esac
        grep -qxF "$dll" <<<"$deployed" && continue
        [[ "$system_dlls" == *" ${dll%.dll} "* ]] && continue
        echo "check-imports: ${binary#"$folder"/} imports $dll, which is neither deployed nor a Windows DLL" >&2
        missing=$((missing + 1))
    done
done < <(find "$folder" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0)

for dll in $deployed; do
    if ! grep -qxF "$dll" <<<"$imported"; then
        echo "check-imports: $dll is deployed but nothing imports it" >&2
        missing=$((missing + 1))
    fi
done

if [ "$missing" -ne 0 ]; then
    echo "check-imports: $missing fault(s) in $folder" >&2
    exit 1
fi
echo "check-imports: the $checked executables and DLLs of $folder find every DLL they import"
