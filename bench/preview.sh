#!/bin/bash
# The preview's first drawn frame, from the call that opens the file (the shell already up),
# for a 4000 x 3000 JPEG beside `vipsthumbnail -s 1280` of it, for the first page of a 100-page
# PDF beside `pdftoppm -r 96 -f 1 -l 1 -png`, and for a 5 MB log; then the longest main-thread
# stall and the peak memory while paging through 40 such JPEGs, each once drawn.
# The window is 1280 x 1004, so pictures are decoded to 1280 x 960 as the peer makes them.
# Usage: bench/preview.sh [BUILD_DIR]   (made a Release build when new; an existing folder is
# used as it is configured)
set -euo pipefail
build=${1:-build-bench}
here=$(cd "$(dirname "$0")/.." && pwd)
[ -f "$build/CMakeCache.txt" ] || cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target preview-probe >/dev/null
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
probe() { "$build/bin/preview-probe" "$work/root" 1280x1004 "$@" 2>/dev/null; }
# The probe's figure, best of N runs.
probe_best() {
    local runs=$1 best=999999
    shift
    for _ in $(seq "$runs"); do
        local ms
        ms=$(probe "$@" | sed -n 's/^open to first drawn frame: \([0-9]*\) ms$/\1/p')
        ((ms < best)) && best=$ms
    done
    echo "$best"
}
jpeg=$(probe_best 5 photo20.jpg)
jpeg_peer=$(best_of 5 vipsthumbnail -s 1280 "$home/photo20.jpg" -o "$work/out/thumb.jpg")
pdf=$(probe_best 5 book.pdf)
pdf_peer=$(best_of 5 pdftoppm -r 96 -f 1 -l 1 -png "$home/book.pdf" "$work/out/page")
log=$(probe_best 5 server.log)
echo "JPEG 4000x3000: ${jpeg} ms; vipsthumbnail -s 1280: ${jpeg_peer} ms; ratio $(ratio "$jpeg" "$jpeg_peer") (goal: at most 1.2)"
echo "PDF, first of $(pdfinfo "$home/book.pdf" | sed -n 's/^Pages: *//p') pages: ${pdf} ms; pdftoppm -r 96: ${pdf_peer} ms; ratio $(ratio "$pdf" "$pdf_peer") (goal: at most 1.2)"
echo "5 MB log: ${log} ms"
echo "$(probe photo40.jpg --page-all | tail -1) (goals: under 50 ms, under 300 MB)"
