#!/usr/bin/env bash
# Builds the Debian package in a tree of its own, build-package/: a Release
# build of the programs without tests and benchmarks, packed by cpack. The
# tree of the run and test commands (build/) stays as it was, so the next
# ./scripts/run.sh finds nothing to rebuild.
# Usage: package.sh [cmake options...]   e.g. -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build-package"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Release -DSWATCHCRAFT_TESTS=OFF -DSWATCHCRAFT_BENCH=OFF "$@"
rm -f "$dir"/swatchcraft_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb="$(ls "$dir"/swatchcraft_*.deb)"
echo "Package: $deb"
echo "Install with: sudo apt install $deb"
