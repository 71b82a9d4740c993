#!/usr/bin/env bash
# Installs what is missing, builds Ombrisk into build/ and starts it. Extra arguments go to the app.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build
exec build/bin/ombrisk "$@"
