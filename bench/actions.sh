#!/bin/bash
# Deletes a folder of 100,000 empty files and moves a tree of 3,000 files (150 MB) from /dev/shm
# into the home folder (another file system) through the listing screen's own actions, beside
# `rm -rf` and `mv` of the same trees in the same run; the main thread's longest stall meanwhile.
# Usage: bench/actions.sh [BUILD_DIR]   (default: build; a Release build is fairest)
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")/.." && pwd)
cmake --build "$build" --target actions-bench >/dev/null
bench="$build/bin/actions-bench"
root=$(mktemp -d "${HOME:-/tmp}/actions-bench.XXXXXX")
shm=$(mktemp -d /dev/shm/actions-bench.XXXXXX)
trap 'rm -rf "$root" "$shm"' EXIT
home="$root/Documents/home"
mkdir -p "$home"

make_many() { mkdir -p "$1" && (cd "$1" && seq -f "file%06g" 1 100000 | xargs touch); }
make_tree() {
    for d in $(seq 1 30); do
        mkdir -p "$1/d$d"
        for f in $(seq 1 100); do head -c 51200 /dev/urandom >"$1/d$d/f$f"; done
    done
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

make_many "$home/Many"
read -r del_ms del_stall < <("$bench" "$root" delete Many)
make_many "$home/Many"
sync
start=$(now_ms); rm -rf "$home/Many"; rm_ms=$(($(now_ms) - start))

make_tree "$shm/Tree"
read -r mv_ms mv_stall < <("$bench" "$root" move "$shm/Tree" /)
rm -rf "$home/Tree"
make_tree "$shm/Tree"
sync
start=$(now_ms); mv "$shm/Tree" "$home/"; peer_mv_ms=$(($(now_ms) - start))

source "$here/bench/timing.sh"
echo "delete 100,000 files: ours ${del_ms} ms   rm -rf: ${rm_ms} ms   ratio: $(ratio "$del_ms" "$rm_ms")   longest stall: ${del_stall} ms"
echo "move 3,000 files (150 MB) across file systems: ours ${mv_ms} ms   mv: ${peer_mv_ms} ms   ratio: $(ratio "$mv_ms" "$peer_mv_ms")   longest stall: ${mv_stall} ms"
