#!/usr/bin/env bash
# Installs what is missing, builds Clavitor with its tests in build/ and runs every test, makes
# and checks the Debian package, then runs each fuzz target over its saved inputs
# (scripts/fuzz.sh --corpus, in build-fuzz/).
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
