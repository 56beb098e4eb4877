#!/usr/bin/env bash
# Checks what scripts/package.sh left: the package in its own tree
# (build-package/), built as Release without tests, with the programs and
# the dependencies a user needs; the run and test commands' tree (build/),
# when there is one, still configured as they left it.
# Usage: check-package.sh [SOURCE_DIR]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/../.." && pwd)}"
fail() { echo "FAIL: $*" >&2; exit 1; }
cache_value() { sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt"; }

pkg="$root/build-package"
deb="$(ls "$pkg"/swatchcraft_*.deb 2>/dev/null)" || fail "no package in $pkg"
[ "$(wc -w <<<"$deb")" -eq 1 ] || fail "more than one package: $deb"
[ "$(cache_value "$pkg" CMAKE_BUILD_TYPE)" = Release ] || fail "the package tree is no Release build"
[ "$(cache_value "$pkg" SWATCHCRAFT_TESTS)" = OFF ] || fail "the package tree builds the tests"
[ "$(cache_value "$pkg" SWATCHCRAFT_BENCH)" = OFF ] || fail "the package tree builds the benchmarks"
! ls "$root"/build/swatchcraft_*.deb >/dev/null 2>&1 || fail "a package lies in build/"
if [ -f "$root/build/CMakeCache.txt" ]; then
    [ "$(cache_value "$root/build" CMAKE_BUILD_TYPE)" = RelWithDebInfo ] || fail "build/ was switched away from RelWithDebInfo"
fi

contents="$(dpkg-deb -c "$deb")"
for f in ./usr/bin/swatchcraft ./usr/bin/swatchcraft-cli ./usr/bin/swatchcraft-povhost \
         ./usr/lib/swatchcraft/swbridge.pge ./usr/share/bash-completion/completions/swatchcraft-cli; do
    grep -q " $f\$" <<<"$contents" || fail "$f is not in the package"
done
recommends="$(dpkg-deb -f "$deb" Recommends)"
grep -qw bash-completion <<<"$recommends" || fail "the package does not recommend bash-completion: $recommends"
depends="$(dpkg-deb -f "$deb" Depends)"
grep -qw povray <<<"$depends" || fail "the package does not depend on povray: $depends"
echo "package ok: $deb"
