#!/bin/bash
# Deletes and trashes a folder of 100,000 empty files, trashes 100,000 files selected in their
# folder, and moves a tree of 3,000 files (150 MB) from /dev/shm into the home folder (another
# file system) and copies it within the home folder's file system (copy and paste), all through the listing screen's own actions, beside `rm -rf`, `gio trash` (when
# installed, with its own trash inside the bench's folder) and `mv` of the same trees in the same
# run, and `cp -a`; the main thread's longest stall during each action.
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
mkdir -p "$home" "$root/xdg-data"

make_many() { mkdir -p "$1" && (cd "$1" && seq -f "file%06g" 1 100000 | xargs touch); }
make_tree() {
    for d in $(seq 1 30); do
        mkdir -p "$1/d$d"
        for f in $(seq 1 100); do head -c 51200 /dev/urandom >"$1/d$d/f$f"; done
    done
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# The wall time of a shell command, in ms, after the disk has settled.
timed() { sync; local start; start=$(now_ms); eval "$1"; echo $(($(now_ms) - start)); }
empty_trashes() { rm -rf "$root/Trash" "$root/xdg-data/Trash"; }
have_gio=$(command -v gio >/dev/null && echo yes || echo no)
gio_trash() { XDG_DATA_HOME="$root/xdg-data" gio trash "$@"; }

make_many "$home/Many"
sync; read -r del_ms del_stall < <("$bench" "$root" delete Many)
make_many "$home/Many"
rm_ms=$(timed 'rm -rf "$home/Many"')

make_many "$home/Many"
sync; read -r trash_ms trash_stall < <("$bench" "$root" trash Many)
empty_trashes
gio_ms=n/a
if [[ $have_gio == yes ]]; then
    make_many "$home/Many"
    gio_ms=$(timed 'gio_trash "$home/Many"')
    empty_trashes
fi

make_many "$home/Many"
sync; read -r each_ms each_stall < <("$bench" "$root" trash-all /Many)
rmdir "$home/Many"
empty_trashes
make_many "$home/Many"
rm_each_ms=$(timed '(cd "$home/Many" && find . -type f -print0 | xargs -0 rm -f)')
gio_each_ms=n/a
if [[ $have_gio == yes ]]; then
    make_many "$home/Many"
    gio_each_ms=$(timed '(cd "$home/Many" && find . -type f -print0 | XDG_DATA_HOME="$root/xdg-data" xargs -0 gio trash)')
    empty_trashes
fi
rm -rf "$home/Many"

make_tree "$shm/Tree"
sync; read -r mv_ms mv_stall < <("$bench" "$root" move "$shm/Tree" /)
rm -rf "$home/Tree"
make_tree "$shm/Tree"
peer_mv_ms=$(timed 'mv "$shm/Tree" "$home/"')

make_tree "$root/Source/Tree"
sync; read -r cp_ms cp_stall < <("$bench" "$root" copy "$root/Source/Tree" /)
rm -rf "$home/Tree"
peer_cp_ms=$(timed 'cp -a "$root/Source/Tree" "$home/"')
rm -rf "$home/Tree" "$root/Source"

source "$here/bench/timing.sh"
gio_ratio() { [[ $1 == n/a ]] && echo n/a || ratio "$2" "$1"; }
echo "delete 100,000 files (Shift+Delete): ours ${del_ms} ms   rm -rf: ${rm_ms} ms   ratio: $(ratio "$del_ms" "$rm_ms")   longest stall: ${del_stall} ms"
echo "move a folder of 100,000 files to the trash: ours ${trash_ms} ms   rm -rf: ${rm_ms} ms   ratio: $(ratio "$trash_ms" "$rm_ms")   gio trash: ${gio_ms} ms   ratio: $(gio_ratio "$gio_ms" "$trash_ms")   longest stall: ${trash_stall} ms"
echo "move 100,000 selected files to the trash: ours ${each_ms} ms   rm of each: ${rm_each_ms} ms   ratio: $(ratio "$each_ms" "$rm_each_ms")   gio trash of each: ${gio_each_ms} ms   ratio: $(gio_ratio "$gio_each_ms" "$each_ms")   longest stall: ${each_stall} ms"
echo "move 3,000 files (150 MB) across file systems: ours ${mv_ms} ms   mv: ${peer_mv_ms} ms   ratio: $(ratio "$mv_ms" "$peer_mv_ms")   longest stall: ${mv_stall} ms"
echo "copy a 150 MB tree of 3,000 files (copy and paste): ours ${cp_ms} ms   cp -a: ${peer_cp_ms} ms   ratio: $(ratio "$cp_ms" "$peer_cp_ms")   longest stall: ${cp_stall} ms"
