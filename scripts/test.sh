#!/usr/bin/env bash
# Installs what is missing, builds a normal and a sanitizer (ASan + UBSan)
# tree, and runs every test in both.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="$(nproc)"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd "$root/build" && ctest --output-on-failure -j"$jobs")
"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DSWATCHCRAFT_SANITIZE=ON -DSWATCHCRAFT_BENCH=OFF
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0" UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")
