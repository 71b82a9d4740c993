#!/bin/bash
# The hand-over round trip: from starting a second `ombrisk FILE` to the file lying at the top of
# the first instance's home folder, for a small file and for a 150 MB one, beside `cp` of the
# large file in the same run; over the lock file and socket, and over a private session bus
# where dbus-run-session is installed.
# Usage: bench/handover.sh [BUILD_DIR]   (default: build; a Release build is fairest)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/bench/timing.sh"

if [ "${1:-}" != --measure ]; then
    build=$(cd "${1:-build}" && pwd)
    cmake --build "$build" --target ombrisk >/dev/null
    env -u DBUS_SESSION_BUS_ADDRESS "$0" --measure socket "$build"
    if command -v dbus-run-session >/dev/null; then
        # The daemon's own complaints (it may not raise its file limit) are not ours.
        dbus-run-session -- "$0" --measure bus "$build" 2>/dev/null
    fi
    exit
fi

# --measure TRANSPORT BUILD_DIR: the figures of one transport, in this process's session.
transport=$2
app=$3/bin/ombrisk
work=$(mktemp -d "${HOME:-/tmp}/handover-bench.XXXXXX")
first=
trap '[ -n "$first" ] && kill "$first" && wait "$first"; rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen
head -c 1024 /dev/urandom >"$work/small.txt"
head -c $((150 * 1024 * 1024)) /dev/urandom >"$work/large.bin"
home="$work/root/Documents/home"

"$app" --root "$work/root" 2>/dev/null &
first=$!
while [ ! -e "$work/root/Caches/home/CACHEDIR.TAG" ]; do sleep 0.01; done

# round_trip FILE: the second start, then the wait until its file lies in the home folder.
round_trip() {
    local name
    name=$(basename "$1")
    "$app" --root "$work/root" "$1"
    while [ ! -e "$home/$name" ]; do sleep 0.001; done
    rm -f "$home/$name"
}
copy() {
    cp "$work/large.bin" "$work/copy.bin"
    rm -f "$work/copy.bin"
}

small=$(best_of 7 round_trip "$work/small.txt")
large=$(best_of 3 round_trip "$work/large.bin")
cp_ms=$(best_of 3 copy)
echo "$transport, 1 KB file:   ${small} ms   (goal: under 150 ms)"
echo "$transport, 150 MB file: ${large} ms   cp: ${cp_ms} ms   = $(ratio "$large" "$cp_ms") x cp" \
    "(goal: under 1.2 x cp + 150 ms = $((cp_ms * 12 / 10 + 150)) ms)"
