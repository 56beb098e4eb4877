#!/usr/bin/env bash
# Measures how many declarations of include-file collections get a preview:
# searches the collections with swatchcraft-cli, renders every preview with
# the real POV-Ray and prints the share that rendered, with the entries that
# did not. Without arguments it takes the project's test collection and,
# when the povray-examples package is installed, the folders of POV-Ray's
# sample scenes that hold include files.
#
#   scripts/collection-previews.sh [--build DIR] [--pattern "*.inc;*.pov"] [--keep] [COLLECTION_DIR...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
keep=0
pattern="*.inc"
collections=()
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build="$2"; shift 2 ;;
    --keep) keep=1; shift ;;
    --pattern) pattern="$2"; shift 2 ;;
    *) collections+=("$(cd "$1" && pwd)"); shift ;;
  esac
done
cli="$build/bin/swatchcraft-cli"
include_dir=/usr/share/povray-3.7/include
examples=/usr/share/doc/povray/examples

# POV-Ray reads only below the folders its configuration permits (/tmp is
# one), and the tool keeps its settings and scenes in the work folder too.
work="$(mktemp -d /tmp/collection-previews.XXXXXX)"
[ "$keep" = 1 ] || trap 'rm -rf "$work"' EXIT
export SWATCHCRAFT_DATA_DIR="$work/data" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
mkdir -p "$work/collection"
if [ ${#collections[@]} -eq 0 ]; then
  cp -r "$root/tests/data/collections" "$work/collection/own"
  if [ -d "$examples" ]; then
    find "$examples" -name '*.inc' -printf '%h\n' | sort -u | while read -r folder; do
      target="$work/collection/examples/${folder#"$examples"/}"
      mkdir -p "$target"
      cp "$folder"/*.inc "$folder"/*.pov "$target"/ 2>/dev/null || true
      cp "$folder"/*.png "$folder"/*.gif "$folder"/*.tga "$folder"/*.jpg "$folder"/*.df3 "$target"/ 2>/dev/null || true
    done
  fi
else
  for c in "${collections[@]}"; do cp -r "$c" "$work/collection/$(basename "$c")"; done
fi

list="$work/collection.swl"
"$cli" scan --library-path "$include_dir" --subdirs --pattern "$pattern" -o "$list" "$work/collection" >/dev/null
"$cli" render --library-path "$include_dir" "$list" --missing --small --jobs 2 >"$work/render.log" 2>&1 || true
"$cli" list --json "$list" >"$work/list.json"

python3 - "$work/list.json" "$work/collection/" <<'EOF'
import json, sys
data = json.load(open(sys.argv[1]))
entries = data["entries"] if isinstance(data, dict) else data
total = len(entries)
good = [e for e in entries if e.get("previewValid")]
print(f"{len(good)} von {total} Deklarationen mit Vorschaubild ({100.0 * len(good) / max(total, 1):.1f} %)")
for e in entries:
    if not e.get("previewValid"):
        print("  ohne Bild:", (e.get("directory", "") + e.get("fileName", "")).replace(sys.argv[2], ""), e.get("name"))
EOF
[ "$keep" = 0 ] || echo "Arbeitsordner: $work"
