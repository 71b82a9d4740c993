#!/usr/bin/env bash
# Installs what is missing, builds Ombrisk with sanitizers into build/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
# ccache, where installed, makes rebuilds after a clean checkout cheap; it is not required.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DOMBRISK_SANITIZE=ON "${launcher[@]}"
cmake --build build
ctest --test-dir build --output-on-failure -j2
