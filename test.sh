#!/usr/bin/env bash
# Installs what is missing, builds Ombrisk with sanitizers into build-test/ (apart from
# run.sh's build/, so neither starts the other's app) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
# ccache, where installed, makes rebuilds after a clean checkout cheap; it is not required.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-test -G Ninja -DOMBRISK_SANITIZE=ON "${launcher[@]}"
cmake --build build-test
ctest --test-dir build-test --output-on-failure -j2
