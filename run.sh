#!/usr/bin/env bash
# Installs what is missing, builds Ombrisk into build/ and starts it. Extra arguments go to the app.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DOMBRISK_SANITIZE=OFF "${launcher[@]}"
cmake --build build
exec build/bin/ombrisk "$@"
