#!/bin/bash
# Makes the 37 x 37 and the 300 x 300 thumbnails of 40 JPEGs of 4000 x 3000 and of 5 TIFF, 5 GIF,
# 5 BMP and 3 PSD files with the real making code (thumbnail-bench, a fresh cache every run),
# beside `vipsthumbnail` writing PNGs of the same files in the same run; then shows the figures
# of the second request (served from memory), of a later start (served from the cache files),
# of a later start served from the desktop's shared thumbnails (128 pixels, 37 x 37 only)
# and of the main thread's longest stretch.
# Usage: bench/thumbnails.sh [BUILD_DIR]   (a Release build is made there; default build-bench)
set -euo pipefail
build=${1:-build-bench}
here=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target thumbnail-bench >/dev/null
bench="$build/bin/thumbnail-bench"
pictures="$build/thumbnail-pictures"
export QT_QPA_PLATFORM=offscreen

# The pictures are the same on every run (fixed seeds) and made only once per build folder.
make_pictures() {
    local scratch
    scratch=$(mktemp -d)
    mkdir -p "$pictures/jpeg" "$pictures/others"
    for i in $(seq 1 40); do
        for band in 0 1 2; do
            vips perlin "$scratch/$band.v" 4000 3000 --cell-size 300 --uchar --seed $((i + 1000 * band))
        done
        vips bandjoin "$scratch/0.v $scratch/1.v $scratch/2.v" "$scratch/rgb.v"
        vips gaussnoise "$scratch/noise.v" 4000 3000 --sigma 10 --mean 0 --seed "$i"
        vips add "$scratch/rgb.v" "$scratch/noise.v" "$scratch/sum.v"
        vips cast "$scratch/sum.v" "$scratch/photo.v" uchar
        vips copy "$scratch/photo.v" "$pictures/jpeg/photo$i.jpg[Q=90]" --interpretation srgb
    done
    for i in 1 2 3 4 5; do
        vips resize "$pictures/jpeg/photo$i.jpg" "$scratch/half.v" 0.5
        vips copy "$scratch/half.v" "$pictures/others/picture$i.tif"
        vips copy "$scratch/half.v" "$pictures/others/picture$i.gif"
        vips magicksave "$scratch/half.v" "$pictures/others/picture$i.bmp" --format bmp
        [ "$i" -le 3 ] && vips magicksave "$scratch/half.v" "$pictures/others/picture$i.psd" --format psd
    done
    rm -rf "$scratch"
    touch "$pictures/complete"
}
[ -f "$pictures/complete" ] || { echo "Making the pictures once (a few minutes)..."; make_pictures; }

ours() { # DIR SIZE, into a fresh cache
    local root
    root=$(mktemp -d)
    "$bench" "$1" "$2" --root "$root" >/dev/null
    rm -rf "$root"
}
theirs() { # DIR SIZE
    local out
    out=$(mktemp -d)
    vipsthumbnail "$1"/* -s "$2x$2" -o "$out/%s.png"
    rm -rf "$out"
}
source "$here/bench/timing.sh"

echo "vips $(vips --version | cut -d- -f2), $(nproc) cores"
for size in 37 300; do
    for set in jpeg others; do
        a=$(best_of 3 ours "$pictures/$set" "$size")
        b=$(best_of 3 theirs "$pictures/$set" "$size")
        printf '%-6s %3s x %-3s  thumbnail-bench %6s ms   vipsthumbnail %6s ms   ratio %s\n' \
            "$set" "$size" "$size" "$a" "$b" "$(ratio "$a" "$b")"
    done
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
for size in 37 300; do
    echo "--- all pictures at $size x $size, first start, then a later start on the same cache"
    mkdir -p "$root/all"
    # Copies, not links: the listing shows a link as a link, not as the picture it leads to.
    cp -n "$pictures"/jpeg/* "$pictures"/others/* "$root/all/"
    "$bench" "$root/all" "$size" --root "$root/cache$size"
    "$bench" "$root/all" "$size" --root "$root/cache$size"
done
echo "--- all pictures at 37 x 37, a later start with only the desktop's shared thumbnails (its own cache removed)"
rm -rf "$root/cache37/Caches/home/thumbnails"
"$bench" "$root/all" 37 --root "$root/cache37"
