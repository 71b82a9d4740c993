#!/bin/bash
# Builds the archive readers' libFuzzer target with clang (ASan and UBSan), makes seed archives
# with the real tools, and fuzzes for SECONDS (default 600) on one job. Crashes and broken
# promises are written to FINDINGS (default build-archive-fuzz/findings) with their inputs.
# Usage: tests/archive/fuzz/run.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/../../.." && pwd)
seconds=${1:-600}
build=$(realpath -m "${2:-$here/build-archive-fuzz}")
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DOMBRISK_SANITIZE=ON -DOMBRISK_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzz_archive_readers >/dev/null

corpus=$build/fuzz-corpus # what the fuzzer keeps, grown run after run
findings=${FINDINGS:-$build/findings}
mkdir -p "$corpus" "$findings"
seeds=$(mktemp -d)
trap 'rm -rf "$seeds"' EXIT
(
    cd "$seeds"
    mkdir -p src/sub src/empty
    printf 'alpha\n' >src/a.txt
    head -c 3000 /dev/urandom >src/sub/r.bin
    ln -s ../a.txt src/sub/link
    cd src
    zip -q -r -y ../plain.zip .
    zip -q -r -P password ../zipcrypto.zip .
    7zz a -bd -tzip -mem=AES256 -ppassword ../aes.zip . >/dev/null
    for f in "tar:" "tgz:-z" "tbz2:-j" "txz:-J" "tzst:--zstd" "cpio:--format=newc" \
        "iso:--format=iso9660"; do
        bsdtar -cf "../seed.${f%%:*}" ${f#*:} .
    done
    gzip -c a.txt >../single.gz
    7zz a -bd -snl ../seed.7z . >/dev/null
    7zz a -bd -m0=PPMd -mf=BCJ2 ../ppmd.7z . >/dev/null
    python3 -c "
import zipfile, tarfile
with zipfile.ZipFile('../slip.zip', 'w') as z:
    z.writestr('../evil.txt', 'x')
    z.writestr('ok/../../x', 'y')
with tarfile.open('../links.tar', 'w') as t:
    for name, target in (('l', '.'), ('m', 'l/..')):
        i = tarfile.TarInfo(name); i.type = tarfile.SYMTYPE; i.linkname = target; t.addfile(i)
    i = tarfile.TarInfo('h'); i.type = tarfile.LNKTYPE; i.linkname = 'a.txt'; t.addfile(i)
"
    cd .. && rm -r src
)
cd "$findings"
# -jobs=1: the machine's cores are shared. libarchive allocates what a cpio or tar header
# claims for a name (up to 4 GB) before finding the data missing; that memory is never touched,
# so only resident memory is limited, not single allocations.
"$build/bin/fuzz_archive_readers" -jobs=1 -workers=1 -max_total_time="$seconds" \
    -max_len=65536 -timeout=20 -rss_limit_mb=2048 -malloc_limit_mb=8192 -artifact_prefix="$findings/" "$corpus" "$seeds"
