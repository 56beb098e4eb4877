#!/usr/bin/env bash
# Keeps the source folders layered: a folder includes only from its own
# level or below (gui -> ui -> scanner/preview/overview/export/povray ->
# library -> platform), and the core includes no Qt. Prints every include
# that runs the wrong way and fails when there is one.
# Usage: check-include-direction.sh [SOURCE_DIR]
set -uo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root" || exit 2

core_above_library="scanner preview overview export povray"
# Folder: the folders it may include from.
declare -A allowed=(
  [platform]="platform"
  [library]="library platform"
  [ui]="ui $core_above_library library platform"
)
for dir in $core_above_library; do allowed[$dir]="$core_above_library library platform"; done

status=0
for dir in "${!allowed[@]}"; do
  [ -d "$dir" ] || continue
  # Every quoted include that names a folder, as file:line:folder.
  while IFS=: read -r file line target; do
    case " ${allowed[$dir]} " in
      *" $target "*) ;;
      *) echo "$file:$line: $dir/ darf nichts aus $target/ einbinden" >&2; status=1 ;;
    esac
  done < <(grep -rnoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[A-Za-z_]+/' --include='*.h' --include='*.cpp' "$dir" |
           sed -E 's/^([^:]+):([0-9]+):.*"([A-Za-z_]+)\/$/\1:\2:\3/')
  # The core builds without Qt.
  if grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' --include='*.h' --include='*.cpp' "$dir" >&2; then
    echo "$dir/ gehört zum Kern und darf kein Qt einbinden" >&2
    status=1
  fi
done
exit $status
