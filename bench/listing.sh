#!/bin/bash
# Lists a folder of 100,000 files with the real listing code and with `ls -l`, in the same run.
# Usage: bench/listing.sh [BUILD_DIR]   (a Release build is fairest: cmake -DCMAKE_BUILD_TYPE=Release)
set -euo pipefail
build=${1:-build-bench}
here=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target listing-bench >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
(cd "$dir" && seq -f "file%06g.txt" 1 100000 | xargs touch)

source "$here/bench/timing.sh"
ours=$(best_of 5 "$build/bin/listing-bench" "$dir")
ls_ms=$(best_of 5 ls -l "$dir")
peak=$(/usr/bin/time -f %M "$build/bin/listing-bench" "$dir" 2>&1 >/dev/null | tail -1)
echo "listing-bench: ${ours} ms   ls -l: ${ls_ms} ms   ratio: $(ratio "$ours" "$ls_ms")"
echo "listing-bench peak memory: $((peak / 1024)) MB"
