#!/bin/bash
# The preview's first drawn frame, from the call that opens the file (the shell already up),
# for a 4000 x 3000 JPEG beside `vipsthumbnail -s 1280` of it (once with the folder's thumbnails
# cached, once on a first visit, the listing making them meanwhile), for the first page of a
# 100-page PDF beside `pdftoppm -r 96 -f 1 -l 1 -png`, and for a 5 MB log, with where the time
# of the best run went; then the longest main-thread stall and the peak memory while paging
# through 40 such JPEGs, each once drawn.
# The window is 1280 x 1004, so pictures are decoded to 1280 x 960 as the peer makes them.
# Usage: bench/preview.sh [BUILD_DIR [EARLIER_BUILD_DIR]]   (made a Release build when new; an
# existing folder is used as it is configured). With an earlier build (of an older checkout),
# every row is measured for it too, runs taking turns, so both ratios come from the same run.
set -euo pipefail
build=${1:-build-bench}
earlier=${2:-}
here=$(cd "$(dirname "$0")/.." && pwd)
[ -f "$build/CMakeCache.txt" ] || cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target preview-probe >/dev/null
builds=("$build")
if [ -n "$earlier" ]; then
    cmake --build "$earlier" --target preview-probe >/dev/null
    builds+=("$earlier")
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home="$work/root/Documents/home"
mkdir -p "$home" "$work/out"

# 40 different 4000 x 3000 photographs (noise, so the JPEG stays large), the log and the PDF.
vips gaussnoise "$work/noise.v" 4000 3000 --sigma 60 --mean 128
vips bandjoin "$work/noise.v $work/noise.v $work/noise.v" "$work/rgb.v"
for i in $(seq -w 1 40); do
    vips linear "$work/rgb.v" "$home/photo$i.jpg[Q=90]" 1 "$((10#$i * 2))" --uchar
    touch -d "@$((1700000000 + 10#$i))" "$home/photo$i.jpg"
done
python3 - "$home/server.log" <<'PY'
import sys, random
random.seed(1)
with open(sys.argv[1], "w") as log:
    n = 0
    while log.tell() < 5 * 1024 * 1024:
        n += 1
        log.write(f"2026-12-07 12:{n // 60 % 60:02d}:{n % 60:02d} worker-{random.randint(1, 8)} request {n} took {random.randint(1, 900)} ms\n")
PY
# A 100-page PDF of text pages, written object by object.
python3 - "$home/book.pdf" <<'PY'
import sys
pages = 100
objects = ["<< /Type /Catalog /Pages 2 0 R >>",
           "<< /Type /Pages /Kids [%s] /Count %d >>" % (" ".join(f"{4 + 2 * i} 0 R" for i in range(pages)), pages),
           "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
for page in range(pages):
    lines = [f"BT /F1 24 Tf 72 770 Td (Page {page + 1}) Tj ET"]
    for row in range(60):
        lines.append(f"BT /F1 10 Tf 72 {740 - row * 11} Td (Lorem ipsum dolor sit amet, consectetur adipiscing elit, line {row + 1}.) Tj ET")
    stream = "\n".join(lines)
    objects.append(f"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R >> >> /Contents {5 + 2 * page} 0 R >>")
    objects.append(f"<< /Length {len(stream)} >>\nstream\n{stream}\nendstream")
out = bytearray(b"%PDF-1.4\n")
offsets = []
for number, body in enumerate(objects, 1):
    offsets.append(len(out))
    out += f"{number} 0 obj\n{body}\nendobj\n".encode()
xref = len(out)
out += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
out += "".join(f"{o:010d} 00000 n \n" for o in offsets).encode()
out += f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R >>\nstartxref\n{xref}\n%%EOF\n".encode()
open(sys.argv[1], "wb").write(out)
PY

source "$here/bench/timing.sh"
export QT_QPA_PLATFORM=offscreen
probe() { "$1/bin/preview-probe" "$work/root" 1280x1004 "${@:2}" 2>/dev/null; }
# measure RUNS FILE [--cold]: each build's best run of the probe (runs taking turns between the
# builds) into best[BUILD] and its phases into phases[BUILD]. --cold empties the thumbnail
# cache before each run, so the listing makes the folder's thumbnails while the file opens.
declare -A best phases
measure() {
    local runs=$1 file=$2 cold=${3:-}
    for b in "${builds[@]}"; do best[$b]=999999; phases[$b]=""; done
    for _ in $(seq "$runs"); do
        for b in "${builds[@]}"; do
            [ -n "$cold" ] && rm -rf "$work/root/Caches"
            local out ms
            out=$(probe "$b" "$file")
            ms=$(sed -n 's/^open to first drawn frame: \([0-9]*\) ms$/\1/p' <<<"$out")
            if ((ms < best[$b])); then
                best[$b]=$ms
                phases[$b]=$(sed -n 's/^phases: //p' <<<"$out")
            fi
        done
    done
}
# report LABEL PEER_MS: one line per build, the ratio against the peer.
report() {
    for b in "${builds[@]}"; do
        echo "$1 [$b]: ${best[$b]} ms; $2 ${3} ms; ratio $(ratio "${best[$b]}" "$3")"
        [ -z "${phases[$b]}" ] || echo "    ${phases[$b]}"
    done
}
jpeg_peer=$(best_of 7 vipsthumbnail -s 1280 "$home/photo20.jpg" -o "$work/out/thumb.jpg")
measure 7 photo20.jpg
report "JPEG 4000x3000, thumbnails cached" "vipsthumbnail -s 1280:" "$jpeg_peer"
measure 7 photo20.jpg --cold
report "JPEG 4000x3000, first visit" "vipsthumbnail -s 1280:" "$jpeg_peer"
pdf_peer=$(best_of 5 pdftoppm -r 96 -f 1 -l 1 -png "$home/book.pdf" "$work/out/page")
measure 5 book.pdf
report "PDF, first of $(pdfinfo "$home/book.pdf" | sed -n 's/^Pages: *//p') pages" "pdftoppm -r 96:" "$pdf_peer"
measure 5 server.log
for b in "${builds[@]}"; do echo "5 MB log [$b]: ${best[$b]} ms"; done
for b in "${builds[@]}"; do echo "[$b] $(probe "$b" photo40.jpg --page-all | tail -1) (goals: under 50 ms, under 300 MB)"; done
