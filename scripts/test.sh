#!/usr/bin/env bash
# Installs what is missing, builds Clavitor with its tests in build/ and runs every test, makes
# and checks the Debian package, then runs each fuzz target over its saved inputs
# (scripts/fuzz.sh --corpus, in build-fuzz/). Where the Windows dependencies are built, it also
# builds the Windows program and its installer and drives them under Wine.
#
#     scripts/test.sh              the tests and the fuzz corpora
#     scripts/test.sh --sanitize   every test, built with AddressSanitizer and
#                                  UndefinedBehaviorSanitizer in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=false
case "${1:-}" in
    "") ;;
    --sanitize) sanitize=true ;;
    *)
        echo "usage: scripts/test.sh [--sanitize]" >&2
        exit 2
        ;;
esac

scripts/install-deps.sh
if $sanitize; then
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCLAVITOR_SANITIZE=ON \
        -DCLAVITOR_BUILD_BENCHMARKS=OFF
    cmake --build build-sanitize --parallel "$(nproc)"
    ctest --test-dir build-sanitize --output-on-failure --parallel "$(nproc)"
    exit 0
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)"
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
# The Debian package of this build, checked unpacked.
scripts/package.sh
version=$(sed -n 's/^project(Clavitor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
packaging/linux/test-package.sh "dist/clavitor_${version}_amd64.deb"
scripts/fuzz.sh --corpus
# The Windows program, installed and driven under Wine. Its dependencies take about an hour to
# build, longer than a test run may: they are built by hand, once.
windows_deps="$(dirname "$(scripts/build-windows.sh --print-prefix)")"
if [ -f "$windows_deps/stamps/complete" ]; then
    scripts/build-windows.sh
    CLAVITOR_WINDOWS_SETUP="$PWD/dist/Clavitor-${version}-setup.exe" \
        tests/x11/run-under-xvfb.sh build/tests/windows/tst_windows_program
else
    echo "test.sh: skipped the Windows program under Wine: its dependencies are not all built" \
        "(scripts/build-windows.sh --deps-only builds what is missing, about an hour from nothing)"
fi
