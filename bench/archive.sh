#!/bin/bash
# Times ombrisk-archive against the peer tools on one reproducible corpus (about 3,000 files,
# 150 MB: half text, a quarter random, a quarter repetitive; nested, empty and unicode-named
# folders), in the same run, and prints each ratio (ours / theirs) and our peak memory. Then
# the per-entry costs on 200,000 small files: listing the zip beside unzip -l and bsdtar -tf
# (time and peak memory, and ours for the password check), and unpacking the zip and the tar
# fresh beside bsdtar and into a destination that already holds them (against our own fresh
# run; the replaced files go to the trash), with the peak memories.
# Usage: bench/archive.sh [BUILD_DIR] [RUNS]   (a Release build; default build-archive-bench, 5)
# BENCH_WORK=DIR keeps the corpus and archives there between runs (default: a temporary folder).
set -euo pipefail
shopt -s inherit_errexit # a failing run stops the benchmark, not a fast wrong figure
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$here/build-archive-bench}")
runs=${2:-5}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target ombrisk-archive >/dev/null
tool=$build/bin/ombrisk-archive
source "$here/bench/timing.sh"

work=${BENCH_WORK:-$(mktemp -d)}
[[ -n ${BENCH_WORK:-} ]] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work"
cd "$work"
[[ -d corpus ]] || python3 "$here/bench/archive/make_corpus.py" corpus
[[ -d many ]] || python3 "$here/bench/archive/make_many.py" many
password=bench-password
# Unpacked trees go to memory (/dev/shm) when it has room: on a disk, ext4 slows every file it
# makes while the inodes just removed by the previous run are "recently deleted", which
# weighs on whichever tool runs next and hides the archivers' own work. BENCH_OUT=DIR chooses.
if [[ -n ${BENCH_OUT:-} ]]; then
    scratch=$BENCH_OUT
elif (($(df -Pm /dev/shm 2>/dev/null | awk 'NR == 2 { print $4 }') > 2048)); then
    scratch=$(mktemp -d /dev/shm/ombrisk-bench.XXXXXX)
    trap 'rm -rf "$scratch"; [[ -n ${BENCH_WORK:-} ]] || rm -rf "$work"' EXIT
else
    scratch=$work
fi
out=$scratch/out
# Our trash (where an extraction into an existing folder puts what it replaced) inside the
# scratch folder, on the destination's file system: the user's own is never touched.
export OMBRISK_ROOT=$scratch/root
mkdir -p "$OMBRISK_ROOT"
empty_trash() { rm -rf "$OMBRISK_ROOT/Trash"; }

# The peers' archives, made once.
[[ -f deflate.zip ]] || zip -q -r -6 deflate.zip corpus
[[ -f aes.zip ]] || 7zz a -bd -tzip -mem=AES256 -p"$password" aes.zip corpus >/dev/null
[[ -f corpus.tar ]] || bsdtar -cf corpus.tar corpus
[[ -f corpus.tar.gz ]] || bsdtar -czf corpus.tar.gz corpus
[[ -f corpus.7z ]] || 7zz a -bd corpus.7z corpus >/dev/null
[[ -f many.zip ]] || zip -q -r -6 many.zip many
[[ -f many.tar ]] || bsdtar -cf many.tar many

# fresh_best N DEST COMMAND...: best wall time in ms of N runs, DEST removed before each run
# (outside the timing), so every run writes a whole new tree.
fresh_best() {
    local n=$1 dest=$2
    shift 2
    local best=999999
    for _ in $(seq "$n"); do
        rm -rf "$dest"
        mkdir -p "$dest"
        local ms
        ms=$(best_of 1 "$@")
        ((ms < best)) && best=$ms
    done
    rm -rf "$dest"
    echo "$best"
}

peak_mb() { # peak resident memory of one run of ombrisk-archive ARGUMENTS..., in MB
    rm -rf "$out"
    local kb
    kb=$( (/usr/bin/time -f %M "$tool" "$@" --password-stdin <<<"$password" >/dev/null) 2>&1 |
        tail -1)
    rm -rf "$out"
    echo $((kb / 1024))
}

ours_extract() { echo "$password" | "$tool" extract "$1" "$out" --password-stdin; }

report() { # label ours theirs-label theirs
    printf '%-28s ours %6s ms   %-22s %6s ms   ratio %s\n' "$1" "$2" "$3" "$4" "$(ratio "$2" "$4")"
}

echo "corpus: $(find corpus -type f | wc -l) files, $(du -sm corpus | cut -f1) MB; best of $runs runs; output in $scratch"

ours=$(fresh_best "$runs" "$out" ours_extract deflate.zip)
unzip_ms=$(fresh_best "$runs" "$out" unzip -q -o deflate.zip -d "$out")
bsdtar_ms=$(fresh_best "$runs" "$out" bsdtar -xf deflate.zip -C "$out")
sevenzip_ms=$(fresh_best "$runs" "$out" 7zz x -y -bd -o"$out" deflate.zip)
fastest=$(printf '%s\n' "$unzip_ms" "$bsdtar_ms" "$sevenzip_ms" | sort -n | head -1)
echo "zip peers: unzip $unzip_ms ms, bsdtar $bsdtar_ms ms, 7zz $sevenzip_ms ms"
report "extract deflate zip" "$ours" "fastest peer" "$fastest"

for archive in corpus.tar.gz corpus.tar; do
    ours=$(fresh_best "$runs" "$out" ours_extract "$archive")
    theirs=$(fresh_best "$runs" "$out" bsdtar -xf "$archive" -C "$out")
    report "extract $archive" "$ours" "bsdtar" "$theirs"
done
ours=$(fresh_best "$runs" "$out" ours_extract corpus.7z)
theirs=$(fresh_best "$runs" "$out" 7zz x -y -bd -o"$out" corpus.7z)
report "extract 7z" "$ours" "7zz" "$theirs"
ours=$(fresh_best "$runs" "$out" ours_extract aes.zip)
theirs=$(fresh_best "$runs" "$out" 7zz x -y -bd -p"$password" -o"$out" aes.zip)
report "extract AES zip" "$ours" "7zz" "$theirs"

pack() { rm -f "$1"; "$tool" compress "$@"; }
pack_with_password() { echo "$password" | pack "$1" "${@:2}" --password-stdin; }
ours=$(fresh_best "$runs" "$out" pack "$out"/ours.zip corpus)
pack ours.zip corpus
theirs=$(fresh_best "$runs" "$out" zip -q -r -6 "$out"/peer.zip corpus)
report "pack zip" "$ours" "zip -r -6" "$theirs"
echo "pack zip size: ours $(stat -c %s ours.zip) B, zip -6 $(stat -c %s deflate.zip) B, ratio" \
    "$(ratio "$(stat -c %s ours.zip)" "$(stat -c %s deflate.zip)")"
ours=$(fresh_best "$runs" "$out" pack_with_password "$out"/ours-aes.zip corpus)
theirs=$(fresh_best "$runs" "$out" 7zz a -bd -tzip -mem=AES256 -p"$password" "$out"/peer-aes.zip corpus)
report "pack AES-256 zip" "$ours" "7zz a -tzip AES256" "$theirs"
rm -f ours.zip

for archive in deflate.zip aes.zip corpus.tar.gz corpus.tar corpus.7z; do
    echo "peak memory, extract $archive: $(peak_mb extract "$archive" "$out") MB"
done
echo "peak memory, pack AES zip: $(peak_mb compress "$out".zip corpus) MB"
rm -f "$out".zip

# 200,000 entries. "into existing": the destination already holds every entry (made once
# before the timed runs; each run replaces them all, so it holds them again for the next), and
# the 200,000 replaced files go to the trash as one folder, emptied after each run, untimed.
into_best() { # best wall time in ms of N extractions of ARCHIVE into the existing $out
    local best=999999
    for _ in $(seq "$1"); do
        local ms
        ms=$(best_of 1 ours_extract "$2")
        empty_trash
        ((ms < best)) && best=$ms
    done
    echo "$best"
}
peak_of() { # peak resident memory in MB of COMMAND...
    local kb
    kb=$( (/usr/bin/time -f %M "$@" >/dev/null) 2>&1 | tail -1)
    echo $((kb / 1024))
}
ours=$(best_of "$runs" "$tool" list many.zip)
unzip_ms=$(best_of "$runs" unzip -l many.zip)
bsdtar_ms=$(best_of "$runs" bsdtar -tf many.zip)
report "list 200k many.zip" "$ours" "unzip -l" "$unzip_ms"
report "" "$ours" "bsdtar -tf" "$bsdtar_ms"
echo "peak memory, list 200k many.zip: ours $(peak_of "$tool" list many.zip) MB," \
    "unzip -l $(peak_of unzip -l many.zip) MB, bsdtar -tf $(peak_of bsdtar -tf many.zip) MB;" \
    "ours needs-password $(peak_of "$tool" needs-password many.zip) MB"
for archive in many.zip many.tar; do
    ours=$(fresh_best "$runs" "$out" ours_extract "$archive")
    theirs=$(fresh_best "$runs" "$out" bsdtar -xf "$archive" -C "$out")
    report "extract 200k $archive" "$ours" "bsdtar" "$theirs"
    rm -rf "$out"
    ours_extract "$archive" >/dev/null
    into=$(into_best "$runs" "$archive")
    report "  into existing" "$into" "ours fresh" "$ours"
    ours_mb=$(peak_of "$tool" extract "$archive" "$out")
    empty_trash
    rm -rf "$out"
    ours_fresh_mb=$(peak_of "$tool" extract "$archive" "$out")
    mkdir -p "$out"
    theirs_mb=$(peak_of bsdtar -xf "$archive" -C "$out")
    rm -rf "$out"
    echo "peak memory, 200k $archive: ours fresh $ours_fresh_mb MB, into existing $ours_mb MB, bsdtar $theirs_mb MB"
done
