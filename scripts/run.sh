#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program's main job: searching
# POV-Ray's standard include folder for declarations and printing the library.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
include_dir=/usr/share/povray-3.7/include
exec "$root/build/bin/swatchcraft-cli" scan --library-path "$include_dir" "$@" "$include_dir"
