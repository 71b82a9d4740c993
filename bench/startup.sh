#!/bin/bash
# The wall time of `ombrisk --screenshot` (start, first listing drawn, saved, exit) on an empty
# home folder, on 1,000 entries and on 100,000 entries, beside `ls -l` of the 100,000 entries.
# Then the longest main-thread stall while the 100,000 entries are read and shown.
# Usage: bench/startup.sh [BUILD_DIR]   (a Release build: cmake -DCMAKE_BUILD_TYPE=Release)
set -euo pipefail
build=${1:-build-bench}
here=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target ombrisk stall-probe >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for n in 0 1000 100000; do
    mkdir -p "$work/$n/Documents/home"
    if ((n > 0)); then
        (cd "$work/$n/Documents/home" && seq -f "file%06g.txt" 1 "$n" | xargs touch)
    fi
done

source "$here/bench/timing.sh"
export QT_QPA_PLATFORM=offscreen
shot() { "$build/bin/ombrisk" --root "$work/$1" --screenshot "$work/shot-$1.png" 2>/dev/null; }
empty=$(best_of 5 shot 0)
thousand=$(best_of 5 shot 1000)
big=$(best_of 3 shot 100000)
ls_ms=$(best_of 5 ls -l "$work/100000/Documents/home")
echo "screenshot, empty home folder:  ${empty} ms"
echo "screenshot, 1,000 entries:      ${thousand} ms   (+$((thousand - empty)) ms; goal: within 50 ms)"
echo "screenshot, 100,000 entries:    ${big} ms   ls -l: ${ls_ms} ms"
echo "100,000 over empty: +$((big - empty)) ms = $(ratio $((big - empty)) "$ls_ms") x ls -l (goal: at most 2)"
echo "100,000 entries, $("$build/bin/stall-probe" "$work/100000" 2>/dev/null) (goal: under 50 ms)"
