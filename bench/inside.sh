#!/bin/bash
# Looking inside archives: the time from "Show Contents" to the first frame drawn with the top
# level, and the peak memory of the whole app, for a zip of 200,000 entries and for the 150 MB
# corpus as 7z and as tar.gz, beside the whole listing of the same archive by `unzip -l`,
# `7zz l` and `bsdtar -tf`; then the time from a tap on a 4000 x 3000 JPEG entry of the zip to
# its first drawn frame beside `unzip -p` into a file and `vipsthumbnail -s 1280` of it. Best of RUNS each.
# Usage: bench/inside.sh [BUILD_DIR [RUNS]]   (a Release build is made when BUILD_DIR is new)
set -euo pipefail
build=${1:-build-bench}
runs=${2:-3}
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/bench/timing.sh"
[ -f "$build/CMakeCache.txt" ] || cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target inside-probe >/dev/null
probe="$(cd "$build" && pwd)/bin/inside-probe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home="$work/root/Documents/home"
mkdir -p "$home"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

# 200,000 small stored entries in 100 folders, and a photograph at the top.
vips gaussnoise "$work/noise.v" 4000 3000 --sigma 60 --mean 128
vips bandjoin "$work/noise.v $work/noise.v $work/noise.v" "$work/photo.jpg[Q=90]"
python3 - "$home/big.zip" "$work/photo.jpg" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_STORED) as z:
    z.write(sys.argv[2], "photo.jpg")
    for i in range(200000):
        z.writestr(f"folder{i % 100:03d}/file{i:06d}.txt", b"x")
PY
python3 "$here/bench/archive/make_corpus.py" "$work/corpus" >/dev/null
(cd "$work" && 7zz a -bd corpus.7z corpus >/dev/null && bsdtar -czf corpus.tar.gz corpus)
mv "$work/corpus.7z" "$work/corpus.tar.gz" "$home/"

# probe_best RUNS ARCHIVE [ENTRY] FIELD: the best figure of the line starting with FIELD.
probe_best() {
    local n=$1 archive=$2 entry=$3 field=$4 best=999999 peak=0
    for _ in $(seq "$n"); do
        local out ms mb
        out=$(nice "$probe" "$work/root" "$archive" $entry 2>/dev/null)
        ms=$(sed -n "s/^$field.*: \([0-9]*\) ms$/\1/p" <<<"$out")
        mb=$(sed -n 's/^peak memory: \([0-9]*\) MB$/\1/p' <<<"$out")
        ((ms < best)) && best=$ms
        ((mb > peak)) && peak=$mb
    done
    echo "$best $peak"
}

printf '%-14s %12s %10s %14s %10s %7s\n' archive "first level" "peak" peer "peer ms" ratio
row() {
    local archive=$1 peer=$2
    shift 2
    read -r ms mb < <(probe_best "$runs" "$archive" "" "top level")
    local peer_ms
    peer_ms=$(best_of "$runs" "$@")
    printf '%-14s %9s ms %7s MB %14s %7s ms %7s\n' "$archive" "$ms" "$mb" "$peer" "$peer_ms" \
        "$(ratio "$ms" "$peer_ms")"
}
row big.zip "unzip -l" unzip -l "$home/big.zip"
row corpus.7z "7zz l" 7zz l "$home/corpus.7z"
row corpus.tar.gz "bsdtar -tf" bsdtar -tf "$home/corpus.tar.gz"

read -r ms mb < <(probe_best "$runs" big.zip photo.jpg "entry")
peer_ms=$(best_of "$runs" sh -c "unzip -p '$home/big.zip' photo.jpg >'$work/p.jpg' && vipsthumbnail '$work/p.jpg' -s 1280 -o '$work/thumb.jpg'")
echo "picture entry of big.zip: $ms ms to the first drawn frame (peak $mb MB); unzip -p | vipsthumbnail: $peer_ms ms; ratio $(ratio "$ms" "$peer_ms")"
echo "goals: first level within 1.2 x the peer's whole listing, picture within 1.5 x the peer"
