#!/usr/bin/env bash
# Cross-builds Clavitor for 64-bit Windows with Debian's mingw-w64 (POSIX threads).
#
# The Windows dependencies are built once into a cache outside the tree and reused:
#     Qt 6.4.2 (qtbase, qtsvg, qtspeech, qtmultimedia), Lua 5.1, hidapi, libarchive with zlib,
#     QScintilla 2.13 (packaging/windows/qscintilla: the library without its printer class).
# They take about an hour on two cores; a rerun skips every step that is done and resumes after
# the one that failed.
#
#     scripts/build-windows.sh [options]
#       --deps-only          stop once the dependencies are built
#       --cache-dir DIR      root of the dependency cache (or CLAVITOR_WINDOWS_CACHE);
#                            default ${XDG_CACHE_HOME:-$HOME/.cache}/clavitor/windows-deps
#       --sources DIR        folder with the Qt release tarballs that Debian does not serve here
#                            (or CLAVITOR_THIRD_PARTY); default ../shared/third-party
#       --jobs N             parallel compile jobs (or JOBS); default: the number of cores
#       --keep-build         keep each step's build tree once it is installed
#       --stop-after STEP    stop after one step: zlib lua hidapi libarchive qtbase qtsvg
#                            qtspeech qtmultimedia qscintilla
#       --print-prefix       print the dependency prefix of these options and exit
#
# The dependencies go to <cache>/<key>/prefix, where the key names their versions and a digest
# of the build options and of the fixes applied to their sources (packaging/windows/patches), so
# that a changed option or fix builds anew beside the old cache. QScintilla, added to the cache
# later, stays outside the key: its step keeps a digest of its own inputs (its Debian version, its
# CMake project, the options) in stamps/qscintilla.digest and is built again, alone, when that
# changes or when a cache finished before the step existed lacks it; until then the cache is not
# complete.
# <key>/toolchain.cmake is the mingw toolchain that also finds what is in the prefix (and sets
# PKG_CONFIG_LIBDIR to it); CMake projects built against the cache use it with
# -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake.
# <key>/stamps/complete marks a finished cache; <key>/times.log has the time of every step.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"

usage() {
    sed -n '/^#     scripts\/build-windows.sh/,/^#$/p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

deps_only=false
keep_build=false
print_prefix=false
stop_after=""
cache_root="${CLAVITOR_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/clavitor/windows-deps}"
sources_dir="${CLAVITOR_THIRD_PARTY:-}"
jobs="${JOBS:-$(nproc)}"
while [ $# -gt 0 ]; do
    case "$1" in
        --deps-only) deps_only=true ;;
        --keep-build) keep_build=true ;;
        --print-prefix) print_prefix=true ;;
        --stop-after) [ $# -ge 2 ] || usage; stop_after="$2"; shift ;;
        --cache-dir) [ $# -ge 2 ] || usage; cache_root="$2"; shift ;;
        --sources) [ $# -ge 2 ] || usage; sources_dir="$2"; shift ;;
        --jobs) [ $# -ge 2 ] || usage; jobs="$2"; shift ;;
        *) usage ;;
    esac
    shift
done
steps=(zlib lua hidapi libarchive qtbase qtsvg qtspeech qtmultimedia qscintilla)
if [ -n "$stop_after" ] && [[ " ${steps[*]} " != *" $stop_after "* ]]; then
    echo "build-windows.sh: no step $stop_after (the steps: ${steps[*]})" >&2
    exit 2
fi
case "$jobs" in ''|*[!0-9]*|0) echo "build-windows.sh: --jobs needs a positive number" >&2; exit 2 ;; esac
if [ -z "$sources_dir" ] && [ -d "$repo/../shared/third-party" ]; then
    sources_dir="$repo/../shared/third-party"
fi
mkdir -p "$cache_root"
cache_root="$(cd "$cache_root" && pwd)"

# --- What is built, and how ------------------------------------------------------------------

qt_version=6.4.2
zlib_version=1.2.13
lua_version=5.1.5
hidapi_version=0.13.1
libarchive_version=3.6.2
qscintilla_version=2.13.3

host_qt_cmake=/usr/lib/x86_64-linux-gnu/cmake
cross_cc=x86_64-w64-mingw32-gcc-posix
cross_cxx=x86_64-w64-mingw32-g++-posix
cross_tools=x86_64-w64-mingw32

# Release tarballs of the Qt modules whose Debian sources are not served here, and the fixes
# applied to them.
patches_dir="$repo/packaging/windows/patches"
qtsvg_tarball=qtsvg-everywhere-src-$qt_version.tar.xz
qtspeech_tarball=qtspeech-everywhere-src-$qt_version.tar.xz
# Their SHA-256 digests: a tarball with another one is refused before it is unpacked.
declare -A tarball_sha256=(
    [$qtsvg_tarball]=52e2c37abec731e77f8df7b10ea6cabe8c6823079a4d8fb22b0bbad65a9aaf98
    [$qtspeech_tarball]=67e11d3609020dfe3bb5c4b51243ca12c8ea0c55ccc393880a65906d1cafaf39
)

# The Debian source packages built, with the upstream version each must have.
debian_sources=(zlib lua5.1 hidapi libarchive qt6-base qt6-multimedia)
# The ones of the steps keyed by their own digest, outside the cache's key.
debian_step_sources=(qscintilla2)
declare -A debian_upstream=(
    [zlib]=$zlib_version [lua5.1]=$lua_version [hidapi]=$hidapi_version
    [libarchive]=$libarchive_version [qt6-base]=$qt_version [qt6-multimedia]=$qt_version
    [qscintilla2]=$qscintilla_version
)

common_cmake_options=(-G Ninja -DCMAKE_BUILD_TYPE=Release)

hidapi_options=(-DBUILD_SHARED_LIBS=ON -DHIDAPI_BUILD_HIDTEST=OFF)

# Shared, with zlib linked in statically: ZIP and tar with deflate are all profile archives use.
libarchive_options=(
    -DBUILD_SHARED_LIBS=ON -DENABLE_ZLIB=ON
    -DENABLE_OPENSSL=OFF -DENABLE_MBEDTLS=OFF -DENABLE_NETTLE=OFF
    -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_LZ4=OFF -DENABLE_LZO=OFF -DENABLE_BZip2=OFF
    -DENABLE_LIBB2=OFF -DENABLE_LIBXML2=OFF -DENABLE_EXPAT=OFF -DENABLE_PCREPOSIX=OFF
    -DENABLE_LibGCC=OFF -DENABLE_ICONV=OFF -DENABLE_ACL=OFF -DENABLE_XATTR=OFF
    -DENABLE_TAR=OFF -DENABLE_CPIO=OFF -DENABLE_CAT=OFF -DENABLE_TEST=OFF -DENABLE_WERROR=OFF
)

# Only the modules and plugins the program uses; the third-party code Qt bundles. Debian's source
# leaves out the Wacom tablet headers that the platform plugin needs for tablet events. Direct 2D
# stays on although its platform plugin is not used: Qt 6.4 compiles its DirectWrite font code
# only with it, and the Windows platform plugin needs that code. Qt Concurrent stays too: the
# Windows backend of Qt Multimedia uses it.
qtbase_options=(
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_dynamicgl=OFF
    -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_dbus=OFF
    -DFEATURE_testlib=OFF -DFEATURE_xml=OFF
    -DFEATURE_tabletevent=OFF -DFEATURE_tuiotouch=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_schannel=ON -DFEATURE_openssl=OFF
    -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_pkg_config=OFF -DFEATURE_androiddeployqt=OFF
)
qt_module_options=(-DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF)
# The Windows Media Foundation backend; none of the others, no spatial audio.
qtmultimedia_options=(-DFEATURE_ffmpeg=OFF -DFEATURE_gstreamer=OFF -DFEATURE_spatialaudio=OFF)

# QScintilla's own CMake project, which compiles what its qmake project file lists.
qscintilla_project="$repo/packaging/windows/qscintilla"

# Raise when a step changes in a way its options above do not show.
recipe_revision=1
# The same for the QScintilla step, which is keyed apart (see step_digest_qscintilla).
qscintilla_revision=1

key_input() {
    printf '%s\n' "revision $recipe_revision" "$qt_version $zlib_version $lua_version" \
        "$hidapi_version $libarchive_version" \
        "${common_cmake_options[*]}" "${hidapi_options[*]}" "${libarchive_options[*]}" \
        "${qtbase_options[*]}" "${qt_module_options[*]}" "${qtmultimedia_options[*]}"
    local p
    for p in "${debian_sources[@]}"; do
        echo "$p ${debian_version[$p]}"
    done
    cat "$repo/cmake/mingw-w64-x86_64.cmake" "$patches_dir"/*.patch
    "$cross_cxx" -dumpfullversion 2>/dev/null || true
}

# --- Packages --------------------------------------------------------------------------------

install_packages() {
    local packages=(
        cmake ninja-build pkg-config perl xz-utils dpkg-dev
        gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
        qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-shadertools-dev
        qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
        nsis util-linux patch
        g++ qt6-svg-dev
    )
    local missing=() p
    for p in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

$print_prefix || install_packages

say() { echo "[$(date +%H:%M:%S)] $*"; }
fail() { echo "build-windows.sh: $*" >&2; exit 1; }

# Runs a command with its output in a step log; on failure shows the end of the log.
logged() {
    local log="$1"; shift
    if ! "$@" >>"$log" 2>&1; then
        tail -n 40 "$log" >&2
        fail "failed: $* (whole output: $log)"
    fi
}

# --- Sources ---------------------------------------------------------------------------------
# Debian's source packages of bookworm, fetched with a private apt setup (its own source list,
# lists and cache under the cache root) whose deb-src entries are derived from the system's
# sources. The system's apt configuration is left as it is.

apt_dir="$cache_root/apt"
apt_options=(
    -o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o APT::Sandbox::User=root
)

write_source_list() {
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    {
        local f
        for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
            [ -f "$f" ] && sed -n 's/^[[:space:]]*deb[[:space:]]\+/deb-src /p' "$f"
        done
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -f "$f" ] || continue
            # deb822 stanzas: one deb-src line per URI and suite of every enabled "deb" stanza.
            awk '
                function flush(   n, m, i, j, u, s) {
                    if (types ~ /(^|[ \t])deb([ \t]|$)/ && enabled != "no" && uris != "" && suites != "") {
                        n = split(uris, u, /[ \t]+/); m = split(suites, s, /[ \t]+/)
                        for (i = 1; i <= n; i++) for (j = 1; j <= m; j++)
                            printf "deb-src %s%s %s %s\n", (signed != "" ? "[signed-by=" signed "] " : ""), u[i], s[j], comps
                    }
                    types = uris = suites = comps = signed = enabled = ""
                }
                /^[ \t]*#/ { next }
                /^[ \t]*$/ { flush(); next }
                /^[ \t]/ { next }
                {
                    p = index($0, ":"); if (!p) next
                    k = tolower(substr($0, 1, p - 1)); v = substr($0, p + 1); gsub(/^[ \t]+|[ \t]+$/, "", v)
                    if (k == "types") types = v; else if (k == "uris") uris = v
                    else if (k == "suites") suites = v; else if (k == "components") comps = v
                    else if (k == "enabled") enabled = tolower(v)
                    else if (k == "signed-by") { signed = (v ~ /^\//) ? v : ""; gsub(/[ \t]+/, ",", signed) }
                }
                END { flush() }' "$f"
        done
    } | sort -u >"$apt_dir/sources.list.new"
    [ -s "$apt_dir/sources.list.new" ] || fail "no deb entries in the system's apt sources to derive deb-src entries from"
    mv "$apt_dir/sources.list.new" "$apt_dir/sources.list"
}

# update_source_lists [--if-missing]: reads the mirror's source lists into the private ones,
# once a run; with --if-missing only when there are none yet.
apt_updated=false
update_source_lists() {
    $apt_updated && return 0
    if [ "${1:-}" = --if-missing ] && [ -n "$(find "$apt_dir/lists" -maxdepth 1 -name '*Sources*' -print -quit 2>/dev/null)" ]; then
        return 0
    fi
    write_source_list
    say "apt: updating the private source lists" >&2
    logged "$apt_dir/update.log" apt-get -q "${apt_options[@]}" update
    apt_updated=true
}

# debian_tree PACKAGE: the unpacked source of the version chosen for PACKAGE.
debian_tree() {
    echo "$cache_root/sources/$1/${debian_version[$1]}/tree"
}

# fetch_debian_source PACKAGE VERSION: unpacks that bookworm source of PACKAGE (Debian's patches
# applied) into <cache>/sources/PACKAGE/VERSION, once. False, with the version marked, when the
# mirror lists it but does not serve its files.
fetch_debian_source() {
    local package="$1" version="$2" dir="$cache_root/sources/$1/$2"
    [ -f "$dir/.fetched" ] && return 0
    say "fetching the Debian source of $package $version"
    rm -rf "$dir"
    mkdir -p "$dir"
    if ! (cd "$dir" && apt-get -q "${apt_options[@]}" source "$package=$version") >>"$dir.log" 2>&1; then
        echo "$version" >>"$cache_root/sources/$package/unfetchable"
        rm -rf "$dir"
        return 1
    fi
    local tree
    tree="$(find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1)"
    [ -n "$tree" ] || fail "apt-get source $package unpacked nothing (see $dir.log)"
    ln -sfn "$(basename "$tree")" "$dir/tree"
    echo "$version" >"$dir/.fetched"
}

# choose_debian_versions: the source version of each Debian package, looked up before anything is
# built, so that a newer Debian revision builds into a cache of its own: the newest one the
# mirror lists with the upstream version this script builds, passed over when its files were not
# served. A build fetches it now; --print-prefix only names it (from the lists already read, if
# there are any).
declare -A debian_version=()
choose_debian_versions() {
    if $print_prefix; then update_source_lists --if-missing; else update_source_lists; fi
    local package upstream versions version
    for package in "${debian_sources[@]}" "${debian_step_sources[@]}"; do
        upstream="${debian_upstream[$package]}"
        mkdir -p "$cache_root/sources/$package"
        versions="$(apt-cache "${apt_options[@]}" showsrc "$package" | sed -n 's/^Version: //p' |
            sort -u | sort -r -V)"
        [ -n "$versions" ] || fail "apt knows no source package $package (see $apt_dir/sources.list)"
        debian_version[$package]=""
        for version in $versions; do
            case "$version" in
                *:"$upstream"*|"$upstream"*) ;;
                *) continue ;;
            esac
            grep -qxF "$version" "$cache_root/sources/$package/unfetchable" 2>/dev/null && continue
            if ! $print_prefix && ! fetch_debian_source "$package" "$version"; then
                say "  $package $version cannot be fetched, trying an older one"
                continue
            fi
            debian_version[$package]="$version"
            break
        done
        [ -n "${debian_version[$package]}" ] ||
            fail "$package: Debian serves no source of $upstream that could be fetched (versions: $(echo $versions)); update the script"
    done
}

# unpack_tarball FILE [PATCH...]: unpacks a tarball from the sources folder into
# <cache>/sources and applies the patches (files of packaging/windows/patches), once; again when
# the patches change.
unpack_tarball() {
    local file="$1" dir="$cache_root/sources/${1%.tar.*}"
    shift
    local fetched="$file" p
    for p in "$@"; do
        fetched+=" $p $(sha256sum <"$patches_dir/$p" | cut -c1-16)"
    done
    [ -f "$dir/.fetched" ] && [ "$(cat "$dir/.fetched")" = "$fetched" ] && return 0
    if [ -z "$sources_dir" ]; then
        fail "missing $file: no sources folder (give one with --sources DIR; ../shared/third-party does not exist)"
    fi
    [ -f "$sources_dir/$file" ] || fail "missing $sources_dir/$file"
    local digest
    digest="$(sha256sum <"$sources_dir/$file" | cut -d' ' -f1)"
    [ "$digest" = "${tarball_sha256[$file]}" ] ||
        fail "$sources_dir/$file has the SHA-256 digest $digest, not ${tarball_sha256[$file]}: refused"
    say "unpacking $file"
    rm -rf "$dir"
    mkdir -p "$dir"
    tar -xf "$sources_dir/$file" -C "$dir"
    local tree
    tree="$(find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1)"
    [ -n "$tree" ] || fail "$file holds no folder"
    for p in "$@"; do
        patch -d "$tree" -p1 --quiet --forward <"$patches_dir/$p" || fail "$p does not apply to $file"
    done
    ln -sfn "$(basename "$tree")" "$dir/tree"
    echo "$fetched" >"$dir/.fetched"
}

choose_debian_versions
key="qt$qt_version-lua$lua_version-hidapi$hidapi_version-libarchive$libarchive_version-zlib$zlib_version-$(key_input | sha256sum | cut -c1-10)"
top="$cache_root/$key"
prefix="$top/prefix"

# step_digest NAME: the digest of the inputs of a step that is keyed apart from the cache (a
# function step_digest_NAME gives them), empty for the others.
step_digest() {
    declare -F "step_digest_$1" >/dev/null || return 0
    "step_digest_$1" | sha256sum | cut -c1-16
}

step_digest_qscintilla() {
    printf '%s\n' "revision $qscintilla_revision" "qscintilla2 ${debian_version[qscintilla2]}" \
        "${common_cmake_options[*]}"
    cat "$qscintilla_project/CMakeLists.txt"
}

# A step keyed apart whose inputs changed, or that a cache finished before it existed lacks, is
# no longer done, and the cache no longer complete (what scripts/test.sh looks at).
forget_stale_steps() {
    local step digest
    [ -d "$top/stamps" ] || return 0
    for step in "${steps[@]}"; do
        digest="$(step_digest "$step")"
        [ -n "$digest" ] || continue
        if [ "$(cat "$top/stamps/$step.digest" 2>/dev/null)" != "$digest" ]; then
            rm -f "$top/stamps/$step" "$top/stamps/$step.digest" "$top/stamps/complete"
        fi
    done
}
forget_stale_steps

if $print_prefix; then
    echo "$prefix"
    exit 0
fi
mkdir -p "$top/stamps" "$top/logs" "$top/build" "$prefix"

fetch_all() {
    unpack_tarball "$qtsvg_tarball"
    unpack_tarball "$qtspeech_tarball" qtspeech-sapi-voice-attributes.patch
    local p
    {
        for p in "${debian_sources[@]}" "${debian_step_sources[@]}"; do
            echo "$p ${debian_version[$p]}"
        done
        for p in "$qtsvg_tarball" "$qtspeech_tarball"; do
            cat "$cache_root/sources/${p%.tar.*}/.fetched"
        done
    } >"$top/sources.txt"
    # The versions this cache is built from, beside the times of its steps.
    grep -qxF "sources: $(paste -sd' ' "$top/sources.txt")" "$top/times.log" 2>/dev/null ||
        echo "sources: $(paste -sd' ' "$top/sources.txt")" >>"$top/times.log"
}

# --- Steps -----------------------------------------------------------------------------------
# Each step builds in <key>/build/<step>, installs into the prefix and leaves a stamp; a step
# with a stamp is skipped, a step without one resumes in its build tree.

write_toolchain() {
    {
        echo "# The mingw-w64 toolchain of Clavitor, finding what is in $prefix as well."
        cat "$repo/cmake/mingw-w64-x86_64.cmake"
        echo "list(APPEND CMAKE_FIND_ROOT_PATH \"$prefix\")"
        echo "# pkg-config (Lua) looks at the prefix alone, never at the host's libraries."
        echo "set(ENV{PKG_CONFIG_LIBDIR} \"$prefix/lib/pkgconfig\")"
        echo "set(ENV{PKG_CONFIG_PATH} \"\")"
    } >"$top/toolchain.cmake"
}

# build_c_library STEP NAME SOURCE_DIR FILES...: a static library of C files, compiled with the
# cross compiler into <key>/build/STEP/libNAME.a.
build_c_library() {
    local name="$2" src="$3" b="$top/build/$1" log="$top/logs/$1.log" f
    shift 3
    rm -rf "$b"
    mkdir -p "$b"
    for f in "$@"; do
        logged "$log" "$cross_cc" -O2 -Wall -c "$src/$f" -o "$b/${f%.c}.o"
    done
    logged "$log" "$cross_tools-ar" rcs "$b/lib$name.a" "$b"/*.o
}

# zlib is only linked into libarchive, so it stays out of the prefix, where its zlib.h would hide
# the one of Qt's own zlib (include/QtZlib) from the Qt modules.
zlib_prefix="$top/zlib"

step_zlib() {
    local src="$(debian_tree zlib)"
    # Debian's source leaves out win32/ and with it the makefile and resources for a DLL:
    # a static library.
    build_c_library zlib z "$src" adler32.c compress.c crc32.c deflate.c gzclose.c gzlib.c gzread.c \
        gzwrite.c infback.c inffast.c inflate.c inftrees.c trees.c uncompr.c zutil.c
    mkdir -p "$zlib_prefix/include" "$zlib_prefix/lib"
    cp "$src/zlib.h" "$src/zconf.h" "$zlib_prefix/include/"
    cp "$top/build/zlib/libz.a" "$zlib_prefix/lib/"
}

step_lua() {
    local src="$(debian_tree lua5.1)"
    # Static: the program embeds the interpreter and loads no Lua C modules.
    build_c_library lua lua5.1 "$src/src" lapi.c lcode.c ldebug.c ldo.c ldump.c lfunc.c lgc.c llex.c \
        lmem.c lobject.c lopcodes.c lparser.c lstate.c lstring.c ltable.c ltm.c lundump.c lvm.c \
        lzio.c lauxlib.c lbaselib.c ldblib.c liolib.c lmathlib.c loslib.c ltablib.c lstrlib.c \
        loadlib.c linit.c
    mkdir -p "$prefix/include/lua5.1" "$prefix/lib/pkgconfig"
    cp "$src/src/lua.h" "$src/src/luaconf.h" "$src/src/lualib.h" "$src/src/lauxlib.h" \
        "$src/etc/lua.hpp" "$prefix/include/lua5.1/"
    cp "$top/build/lua/liblua5.1.a" "$prefix/lib/"
    cat >"$prefix/lib/pkgconfig/lua5.1.pc" <<PC
prefix=$prefix
Name: Lua
Description: An extensible extension language
Version: $lua_version
Libs: -L\${prefix}/lib -llua5.1
Cflags: -I\${prefix}/include/lua5.1
PC
}

# cmake_step NAME SOURCE_DIR CMAKE [OPTIONS...]: configures (once), builds and installs a CMake
# project with the toolchain; Qt modules are configured with the qt-cmake of the Qt in the prefix,
# whose own toolchain file loads that one. A function configured_NAME, if there is one, checks the
# configured build tree.
cmake_step() {
    local name="$1" src="$2" cmake="$3" b="$top/build/$1" log="$top/logs/$1.log"
    shift 3
    if [ ! -f "$b/.configured" ]; then
        rm -rf "$b"
        say "  configuring (output: $log)"
        local toolchain=()
        [ "$cmake" = cmake ] && toolchain=(-DCMAKE_TOOLCHAIN_FILE="$top/toolchain.cmake")
        logged "$log" "$cmake" -S "$src" -B "$b" "${common_cmake_options[@]}" "${toolchain[@]}" \
            -DCMAKE_INSTALL_PREFIX="$prefix" "$@"
        touch "$b/.configured"
    fi
    if declare -F "configured_$name" >/dev/null; then
        "configured_$name" "$b"
    fi
    say "  building"
    logged "$log" cmake --build "$b" --parallel "$jobs"
    logged "$log" cmake --install "$b"
}

step_hidapi() {
    cmake_step hidapi "$(debian_tree hidapi)" cmake "${hidapi_options[@]}"
}

step_libarchive() {
    # Whether zlib was built with ZLIB_WINAPI is a test that runs a program, which a cross build
    # cannot (CMake 3.25 even crashes on it): it was not, as step_zlib shows.
    local zlib="$zlib_prefix/lib/libz.a"
    cmake_step libarchive "$(debian_tree libarchive)" cmake "${libarchive_options[@]}" \
        -DZLIB_INCLUDE_DIR="$zlib_prefix/include" -DZLIB_LIBRARY="$zlib" \
        -DZLIB_WINAPI=OFF -DZLIB_WINAPI_WITH_LIB="$zlib"
}

qt_host_options=(-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_qt_cmake")

step_qtbase() {
    cmake_step qtbase "$(debian_tree qt6-base)" cmake "${qt_host_options[@]}" \
        "${qtbase_options[@]}"
}

step_qtsvg() {
    cmake_step qtsvg "$cache_root/sources/${qtsvg_tarball%.tar.*}/tree" "$prefix/bin/qt-cmake" \
        "${qt_host_options[@]}" "${qt_module_options[@]}"
}

# Qt QML Integration is header-only (macros for QML types) and part of qtdeclarative, which is
# not built here. The host's Qt has the same version: its headers, offered as the interface
# target that qtspeech asks for.
write_qmlintegration() {
    local headers=/usr/include/x86_64-linux-gnu/qt6/QtQmlIntegration
    local dir="$prefix/lib/cmake/Qt6QmlIntegration"
    [ -f "$headers/qqmlintegration.h" ] || fail "missing $headers/qqmlintegration.h (qt6-declarative-dev)"
    mkdir -p "$prefix/include/QtQmlIntegration" "$dir"
    cp -r "$headers/." "$prefix/include/QtQmlIntegration/"
    cat >"$dir/Qt6QmlIntegrationConfig.cmake" <<CMAKE
# Qt QML Integration: header-only, the headers of the host's Qt of the same version.
set(Qt6QmlIntegration_FOUND TRUE)
if(NOT TARGET Qt6::QmlIntegration)
    get_filename_component(_qmlintegration_prefix "\${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
    add_library(Qt6::QmlIntegration INTERFACE IMPORTED)
    set_target_properties(Qt6::QmlIntegration PROPERTIES
        INTERFACE_COMPILE_DEFINITIONS QT_QMLINTEGRATION_LIB
        INTERFACE_INCLUDE_DIRECTORIES "\${_qmlintegration_prefix}/include/QtQmlIntegration;\${_qmlintegration_prefix}/include"
        INTERFACE_LINK_LIBRARIES Qt6::Core
        _qt_config_module_name qmlintegration
        _qt_is_public_module TRUE
        _qt_module_has_headers ON
        _qt_module_include_name QtQmlIntegration
        _qt_module_interface_name QmlIntegration
        _qt_package_name Qt6QmlIntegration
        _qt_package_version $qt_version)
    add_library(Qt::QmlIntegration INTERFACE IMPORTED)
    set_target_properties(Qt::QmlIntegration PROPERTIES INTERFACE_LINK_LIBRARIES Qt6::QmlIntegration)
    unset(_qmlintegration_prefix)
endif()
CMAKE
    write_config_version "$dir/Qt6QmlIntegrationConfigVersion.cmake"
}

# write_config_version FILE: a package version file of the Qt version (same major, not newer).
write_config_version() {
    cat >"$1" <<CMAKE
set(PACKAGE_VERSION $qt_version)
if(PACKAGE_FIND_VERSION AND (PACKAGE_FIND_VERSION VERSION_GREATER PACKAGE_VERSION
                             OR NOT PACKAGE_FIND_VERSION_MAJOR EQUAL 6))
    set(PACKAGE_VERSION_COMPATIBLE FALSE)
else()
    set(PACKAGE_VERSION_COMPATIBLE TRUE)
    if(PACKAGE_FIND_VERSION VERSION_EQUAL PACKAGE_VERSION)
        set(PACKAGE_VERSION_EXACT TRUE)
    endif()
endif()
CMAKE
}

step_qtspeech() {
    write_qmlintegration
    cmake_step qtspeech "$cache_root/sources/${qtspeech_tarball%.tar.*}/tree" "$prefix/bin/qt-cmake" \
        "${qt_host_options[@]}" "${qt_module_options[@]}"
}

# Qt Multimedia compiles its video shaders with Qt Shader Tools' qsb, a host tool: a package of
# that name outside the prefix, only for this build, finds the host's qsb and its CMake functions
# (no Windows build of the shader library is needed).
write_shadertools_shim() {
    local dir="$top/shims/lib/cmake/Qt6ShaderTools"
    [ -f "$host_qt_cmake/Qt6ShaderToolsTools/Qt6ShaderToolsToolsConfig.cmake" ] ||
        fail "missing $host_qt_cmake/Qt6ShaderToolsTools (qt6-shadertools-dev)"
    mkdir -p "$dir"
    cat >"$dir/Qt6ShaderToolsConfig.cmake" <<CMAKE
set(__qt_ShaderTools_tool_deps "Qt6ShaderToolsTools\\;$qt_version")
_qt_internal_find_tool_dependencies("ShaderTools" __qt_ShaderTools_tool_deps)
set(Qt6ShaderTools_FOUND TRUE)
CMAKE
    write_config_version "$dir/Qt6ShaderToolsConfigVersion.cmake"
}

# write_header_case_links SOURCE_DIR DIR: Qt Multimedia includes some headers of the Windows SDK
# and of Qt under other capitalisations (<Mferror.h>, "QUrl.h") than the files have here (mferror.h,
# qurl.h), which only a case-insensitive file system forgives. DIR gets a link under every such
# name that a source in SOURCE_DIR uses.
write_header_case_links() {
    local src="$1" dir="$2" name actual d
    local include_dirs=("/usr/$cross_tools/include" "$prefix"/include/Qt*)
    rm -rf "$dir"
    mkdir -p "$dir"
    grep -rhoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"][^>"/]+[>"]' "$src" \
        --include='*.c' --include='*.cc' --include='*.cpp' --include='*.h' |
        sed -E 's/.*[<"]([^>"]+)[>"].*/\1/' | sort -u |
        while read -r name; do
            actual=""
            for d in "${include_dirs[@]}"; do
                if [ -e "$d/$name" ]; then
                    continue 2
                fi
            done
            for d in "${include_dirs[@]}"; do
                actual="$(find "$d" -maxdepth 1 -iname "$name" -print -quit)"
                if [ -n "$actual" ]; then
                    ln -s "$actual" "$dir/$name"
                    break
                fi
            done
        done
}

step_qtmultimedia() {
    local src="$(debian_tree qt6-multimedia)"
    write_shadertools_shim
    write_header_case_links "$src/src" "$top/shims/include"
    # Qt looks for some Media Foundation libraries under the capitalised names of the Windows SDK
    # (Mf, Mfplat, ...), which a case-sensitive file system does not find among mingw's libmf.a,
    # libmfplat.a, ...: they are named here.
    cmake_step qtmultimedia "$src" "$prefix/bin/qt-cmake" \
        "${qt_host_options[@]}" "${qt_module_options[@]}" "${qtmultimedia_options[@]}" \
        -DQT_ADDITIONAL_PACKAGES_PREFIX_PATH="$top/shims" \
        -DCMAKE_C_FLAGS="-idirafter $top/shims/include" \
        -DCMAKE_CXX_FLAGS="-idirafter $top/shims/include" \
        -DWMF_MF_LIBRARY=mf -DWMF_MFUUID_LIBRARY=mfuuid -DWMF_MFPLAT_LIBRARY=mfplat \
        -DWMF_MFCORE_LIBRARY=mfcore -DWMF_PROPSYS_LIBRARY=propsys
}

# Without its backend Qt Multimedia still builds, and plays nothing.
configured_qtmultimedia() {
    grep -q '^QT_FEATURE_wmf:INTERNAL=ON$' "$1/CMakeCache.txt" ||
        fail "Qt Multimedia is configured without its Windows Media Foundation backend (see $top/logs/qtmultimedia.log)"
}

# QScintilla: its library and headers, without the printer class (the Qt here has no Print
# Support). Headers of an earlier build go first, so that none of a removed file stays behind.
step_qscintilla() {
    rm -rf "$prefix/include/Qsci"
    cmake_step qscintilla "$qscintilla_project" "$prefix/bin/qt-cmake" "${qt_host_options[@]}" \
        -DQSCINTILLA_SOURCE_DIR="$(debian_tree qscintilla2)"
}

run_step() {
    local name="$1"
    if [ -f "$top/stamps/$name" ]; then
        say "$name: done before ($(cat "$top/stamps/$name"))"
        return 0
    fi
    say "$name"
    local start=$SECONDS digest
    digest="$(step_digest "$name")"
    # A step keyed apart resumes only a build tree of the same inputs.
    if [ -n "$digest" ] && [ "$(cat "$top/build/$name.digest" 2>/dev/null)" != "$digest" ]; then
        rm -rf "${top:?}/build/$name"
        mkdir -p "$top/build"
        echo "$digest" >"$top/build/$name.digest"
    fi
    "step_$name"
    local took=$((SECONDS - start))
    local text
    text="$(printf '%dm%02ds' $((took / 60)) $((took % 60)))"
    [ -z "$digest" ] || echo "$digest" >"$top/stamps/$name.digest"
    echo "$text" >"$top/stamps/$name"
    echo "$(date '+%F %T') $name $text" >>"$top/times.log"
    say "$name: built in $text"
    if ! $keep_build; then
        rm -rf "${top:?}/build/$name" "$top/build/$name.digest"
    fi
}

say "dependency cache: $top"
start=$SECONDS
fetch_all
say "sources ready in $((SECONDS - start))s"
write_toolchain
for step in "${steps[@]}"; do
    run_step "$step"
    if [ "$step" = "$stop_after" ]; then
        say "stopped after $step"
        exit 0
    fi
done
touch "$top/stamps/complete"
say "dependencies ready in $prefix"

if $deps_only; then
    exit 0
fi

# --- The program -----------------------------------------------------------------------------
# Built in build-windows/ of the tree with the Qt of the prefix (whose toolchain file loads the
# mingw one), warnings as errors; packed by CPack into dist/, and the zip's folder checked for
# every DLL its executables import.

build_dir="$repo/build-windows"
log="$build_dir/build.log"
# A tree configured against another dependency prefix keeps finding that prefix's Qt: it is
# built afresh.
if [ -f "$build_dir/CMakeCache.txt" ] &&
    ! grep -qxF "Qt6_DIR:PATH=$prefix/lib/cmake/Qt6" "$build_dir/CMakeCache.txt"; then
    say "Clavitor: the dependencies changed, building build-windows/ afresh"
    rm -rf "$build_dir"
fi
mkdir -p "$build_dir"
: >"$log"
say "Clavitor: configuring (output: $log)"
start=$SECONDS
# The icon renderer runs during the build, so it is built for this machine with the host's Qt.
renderer="$build_dir/icon-renderer"
logged "$log" cmake -S "$repo/packaging/icon" -B "$renderer" "${common_cmake_options[@]}"
logged "$log" cmake --build "$renderer"
logged "$log" "$prefix/bin/qt-cmake" -S "$repo" -B "$build_dir" "${common_cmake_options[@]}" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_qt_cmake" \
    -DCLAVITOR_ICON_RENDERER="$renderer/clavitor_icon_renderer" \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DCLAVITOR_BUILD_TESTS=OFF -DCLAVITOR_BUILD_BENCHMARKS=OFF
say "Clavitor: building"
logged "$log" cmake --build "$build_dir" --parallel "$jobs"
say "Clavitor: built in $((SECONDS - start))s"

say "packaging"
version=$(sed -n 's/^project(Clavitor VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
rm -f "$repo/dist/Clavitor-$version-windows-x64.zip" "$repo/dist/Clavitor-$version-setup.exe"
logged "$log" cpack --config "$build_dir/CPackConfig.cmake" -B "$build_dir/packages"
zip="$repo/dist/Clavitor-$version-windows-x64.zip"
setup="$repo/dist/Clavitor-$version-setup.exe"
[ -f "$zip" ] && [ -f "$setup" ] || fail "CPack made no $zip or $setup (see $log)"

unpacked="$build_dir/zip-check"
rm -rf "$unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip")
"$repo/packaging/windows/check-imports.sh" "$unpacked/Clavitor-$version-windows-x64"
"$repo/packaging/windows/check-manifest.sh" "$unpacked/Clavitor-$version-windows-x64/clavitor.exe"
say "$zip ($(du -k "$zip" | cut -f1) KiB)"
say "$setup ($(du -k "$setup" | cut -f1) KiB)"
