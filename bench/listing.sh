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

best() { # best wall time of 5 runs, in ms
    local best=999999
    for _ in 1 2 3 4 5; do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        local ms=$(((end - start) / 1000000))
        ((ms < best)) && best=$ms
    done
    echo "$best"
}
ours=$(best "$build/bin/listing-bench" "$dir")
ls_ms=$(best ls -l "$dir")
peak=$(/usr/bin/time -f %M "$build/bin/listing-bench" "$dir" 2>&1 >/dev/null | tail -1)
echo "listing-bench: ${ours} ms   ls -l: ${ls_ms} ms   ratio: $(awk -v a="$ours" -v b="$ls_ms" 'BEGIN { printf "%.2f", a / b }')"
echo "listing-bench peak memory: $((peak / 1024)) MB"
