#!/bin/bash
# Unpacks the archive bench's corpus (about 3,000 files, 150 MB) from a deflate zip and from a
# tar.gz through the listing screen's own route (a tap on the archive's row), and packs the same
# tree into a zip through the screen's (rows selected, then packed), each beside ombrisk-archive
# doing the same work on the same paths, runs interleaved. Prints each best time and ratio (ours
# / ombrisk-archive), the main thread's longest stall (best and worst run) and the progress
# values reaching the overlay per second of the job, with the longest wait between two of them.
# Usage: bench/workflows.sh [BUILD_DIR] [RUNS]   (a Release build; default build-bench, 5)
# BENCH_WORK=DIR keeps the corpus and archives there between runs (default: a temporary folder);
# BENCH_OUT=DIR is where the home folders go (default: /dev/shm when it has room, as in
# bench/archive.sh, else the work folder).
set -euo pipefail
shopt -s inherit_errexit # a failing run stops the benchmark, not a fast wrong figure
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$here/build-bench}")
runs=${2:-5}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target workflows-bench ombrisk-archive >/dev/null
bench=$build/bin/workflows-bench
tool=$build/bin/ombrisk-archive
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
source "$here/bench/timing.sh"

work=${BENCH_WORK:-$(mktemp -d)}
mkdir -p "$work"
if [[ -n ${BENCH_OUT:-} ]]; then
    scratch=$(mktemp -d "$BENCH_OUT/workflows-bench.XXXXXX")
elif (($(df -Pm /dev/shm 2>/dev/null | awk 'NR == 2 { print $4 }') > 2048)); then
    scratch=$(mktemp -d /dev/shm/workflows-bench.XXXXXX)
else
    scratch=$(mktemp -d "$work/workflows-bench.XXXXXX")
fi
trap 'rm -rf "$scratch"; [[ -n ${BENCH_WORK:-} ]] || rm -rf "$work"' EXIT
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$scratch/runtime}
(
    cd "$work"
    [[ -d corpus ]] || python3 "$here/bench/archive/make_corpus.py" corpus
    [[ -f deflate.zip ]] || zip -q -r -6 deflate.zip corpus
    [[ -f corpus.tar.gz ]] || bsdtar -czf corpus.tar.gz corpus
)

# Two application roots: the archives' home folder, and one holding only the corpus (packing
# selects every row).
unpack_root=$scratch/unpack
pack_root=$scratch/pack
mkdir -p "$unpack_root/Documents/home" "$pack_root/Documents/home"
cp "$work/deflate.zip" "$work/corpus.tar.gz" "$unpack_root/Documents/home/"
cp -r "$work/corpus" "$pack_root/Documents/home/"
sync

# Whether a result holds the corpus whole (checked once per workflow, outside the timing).
unpacked_whole() { diff -r -q "$work/corpus" "$1/corpus" >/dev/null; }
zipped_whole() {
    local copy=$scratch/check
    rm -rf "$copy" && mkdir "$copy" && bsdtar -xf "$1" -C "$copy"
    # Empty folders travel with a placeholder entry.
    diff -r -q -x .DS_Store "$work/corpus" "$copy/corpus" >/dev/null
    rm -rf "$copy"
}

# measure LABEL CHECK RESULT_PATH ROUTE_ARGUMENTS -- TOOL_ARGUMENTS: RUNS runs of the screen's
# route and of ombrisk-archive, interleaved, RESULT_PATH removed before each (outside the
# timing); the route's first result must pass CHECK.
measure() {
    local label=$1 check=$2 result=$3
    shift 3
    local route=() peer=()
    while [[ $1 != -- ]]; do route+=("$1") && shift; done
    shift
    peer=("$@")
    local ours=999999 theirs=999999 least_stall=999999 most_stall=0 rate=0 gap=999999
    for _ in $(seq "$runs"); do
        rm -rf "$result"
        local ms stall per_s wait
        read -r ms stall per_s wait < <("$bench" "${route[@]}")
        [[ -z $check ]] || "$check" "$result" || { echo "$label: wrong result" >&2 && exit 1; }
        check=
        ((ms < ours)) && ours=$ms
        ((stall < least_stall)) && least_stall=$stall
        ((stall > most_stall)) && most_stall=$stall
        awk -v a="$per_s" -v b="$rate" 'BEGIN { exit !(a > b) }' && rate=$per_s && gap=$wait
        rm -rf "$result"
        ms=$(best_of 1 "$tool" "${peer[@]}")
        ((ms < theirs)) && theirs=$ms
    done
    rm -rf "$result"
    printf '%-22s ours %5s ms   ombrisk-archive %5s ms   ratio %s   longest stall %s ms (worst run %s)   progress %s/s (longest wait %s ms)\n' \
        "$label" "$ours" "$theirs" "$(ratio "$ours" "$theirs")" "$least_stall" "$most_stall" "$rate" "$gap"
}

home=$unpack_root/Documents/home
echo "corpus: $(find "$work/corpus" -type f | wc -l) files, $(du -sm "$work/corpus" | cut -f1) MB;" \
    "best of $runs runs; home folders in $scratch; load average $(cut -d' ' -f1-3 /proc/loadavg)"
measure "unpack deflate zip" unpacked_whole "$home/deflate" "$unpack_root" unpack deflate.zip \
    -- extract "$home/deflate.zip" "$home/deflate"
measure "unpack tar.gz" unpacked_whole "$home/corpus.tar" "$unpack_root" unpack corpus.tar.gz \
    -- extract "$home/corpus.tar.gz" "$home/corpus.tar"
home=$pack_root/Documents/home
measure "pack zip" zipped_whole "$home/corpus.zip" "$pack_root" pack corpus.zip \
    -- compress "$home/corpus.zip" "$home/corpus"
echo "ombrisk-archive's start-up alone (in its times, not in ours): $(best_of "$runs" "$tool" --help) ms"
