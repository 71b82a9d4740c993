#!/usr/bin/env bash
# Runs the tests that exercise threads (dispatch queues, item manager, picker, thumbnails, the
# engine's parallel unzip, deflate and read-ahead) in a ThreadSanitizer build; .ci/run runs it
# after the AddressSanitizer tests. Debian's Qt, GLib and libvips are not built with
# ThreadSanitizer: the queues tell it their hand-overs through Qt themselves (DispatchQueue.cpp),
# and tests/tsan.supp ignores the C library calls made from inside those libraries, never a frame
# of Ombrisk's own code. Only these tests' targets are built, to keep the CI short.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS=0
threaded='tst_dispatchqueue|tst_itemmanager|tst_pickerviewcontroller|tst_thumbnail|tst_thumbnailcache|tst_zipcreation|tst_kinds'
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-tsan -G Ninja -DOMBRISK_TSAN=ON "${launcher[@]}"
cmake --build build-tsan --target tst_dispatchqueue tst_itemmanager tst_pickerviewcontroller \
    tst_thumbnail tst_thumbnailcache tst_zipcreation tst_kinds
ctest --test-dir build-tsan -R "^(${threaded})\$" --output-on-failure -j2
echo "ci: ThreadSanitizer build and tests: ${SECONDS} s"

