#!/usr/bin/env bash
# Builds Clavitor in build/ (as scripts/test.sh does) and writes the Debian package
# dist/clavitor_<version>_amd64.deb, which `apt install ./dist/clavitor_<version>_amd64.deb`
# installs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)" --target clavitor clavitor_linux_files
(cd build && cpack -G DEB)
