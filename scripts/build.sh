#!/usr/bin/env bash
# Configures and builds one build tree.
# Usage: build.sh DIR [--target T]... [cmake options...]
# Without --target everything is built (tests and benchmarks included).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
targets=()
options=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--target" ] && [ $# -ge 2 ]; then
    targets+=(--target "$2"); shift 2
  else
    options+=("$1"); shift
  fi
done
# A compiler cache, where one is installed, makes rebuilds of several trees cheap.
if command -v ccache >/dev/null 2>&1; then
  options=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "${options[@]}")
fi
cmake -S "$root" -B "$dir" -G Ninja "${options[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
