#!/bin/bash
# Builds a libFuzzer target with clang (ASan and UBSan), makes seed archives with the real
# tools, and fuzzes for SECONDS (default 600) on one job. TARGET is "readers" (default: every
# in-process reader through a whole unpacking) or "zip" (the zip reader alone). Crashes and
# broken promises are written to FINDINGS (default build-archive-fuzz/findings-TARGET) with
# their inputs.
# Usage: tests/archive/fuzz/run.sh [SECONDS] [BUILD_DIR] [TARGET]
set -euo pipefail
here=$(cd "$(dirname "$0")/../../.." && pwd)
seconds=${1:-600}
build=$(realpath -m "${2:-$here/build-archive-fuzz}")
target=${3:-readers}
case $target in
readers) binary=fuzz_archive_readers ;;
zip) binary=fuzz_zip_reader ;;
*) echo "unknown target $target (readers or zip)" >&2 && exit 2 ;;
esac
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DOMBRISK_SANITIZE=ON -DOMBRISK_FUZZ=ON >/dev/null
# Quiet unless the build fails: then its output says why.
cmake --build "$build" --target "$binary" >"$build/last-build.log" 2>&1 || {
    cat "$build/last-build.log" >&2
    exit 1
}

corpus=$build/fuzz-corpus-$target # what the fuzzer keeps, grown run after run
findings=${FINDINGS:-$build/findings-$target}
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
    zip -q -r -Z bzip2 ../bzip2.zip .
    zip -q -r - . >../streamed.zip # data descriptors, Zip64 local fields
    { printf 'a self-extractor stub\n'; cat ../plain.zip; } >../stub.zip
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
with zipfile.ZipFile('../zip64.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    with z.open('big', 'w', force_zip64=True) as f:
        f.write(b'zip64 ' * 100)
    z.comment = b'PK\\x05\\x06' + bytes(18)
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
"$build/bin/$binary" -jobs=1 -workers=1 -max_total_time="$seconds" \
    -max_len=65536 -timeout=20 -rss_limit_mb=2048 -malloc_limit_mb=8192 -artifact_prefix="$findings/" "$corpus" "$seeds"
