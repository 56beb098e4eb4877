#!/usr/bin/env bash
# Zero to a full library, timed: scans POV-Ray's standard include folder for
# every kind of entry and renders every preview with the tool's defaults,
# then renders the same preview scenes with one plain povray process each, 16
# side by side (xargs -P16), in the same run. Both ways meet the same machine
# load only within one run: compare the ratio, not the seconds of two runs.
# With --compare, the previews are also rendered one at a time (--jobs 1,
# slow) and every stored entry of the two libraries is compared.
#
# Usage: scripts/time-full-library.sh [BINDIR] [--compare] [-- RENDER OPTIONS...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/bin"
compare=0
options=()
while [ $# -gt 0 ]; do
  case "$1" in
    --compare) compare=1 ;;
    --) shift; options=("$@"); break ;;
    *) bin="$(cd "$1" && pwd)" ;;
  esac
  shift
done
include=/usr/share/povray-3.7/include
cli="$bin/swatchcraft-cli"

# A private home: the user's settings, sockets and folders stay untouched.
work="$(mktemp -d /tmp/swatchcraft-full-XXXXXX)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cd "$work"

now() { date +%s.%N; }
calc() { awk "BEGIN { printf \"%.2f\", $1 }"; }
start=$(now)
"$cli" scan --library-path "$include" --kinds mtpcfn -o full.swl "$include" >/dev/null
scanned=$(now)
cp full.swl one.swl
"$cli" render --library-path "$include" full.swl --all "${options[@]}" >render.txt 2>&1 || true
rendered=$(now)

# The scene each entry is rendered from, written by the tool itself.
mkdir scenes
count=0
while IFS=$'\t' read -r name _ _ path _; do
  scene="$("$cli" scene --library-path "$include" full.swl "$name" --file "$path" </dev/null)"
  cp "$scene" "scenes/scene$count.pov"
  count=$((count + 1))
done < <("$cli" list full.swl | tail -n +4)
plain_start=$(now)
(cd scenes && ls scene*.pov | xargs -P16 -I{} povray -w116 -h116 -a -c +FP +O- -D +I{} >/dev/null 2>&1) || true
plain_end=$(now)

tool=$(calc "$rendered - $start")
plain=$(calc "$plain_end - $plain_start")
echo "entries: $count ($(tail -n 1 render.txt))"
echo "tool, scan $(calc "$scanned - $start") s + render $(calc "$rendered - $scanned") s: $tool s"
echo "plain povray, xargs -P16, one per scene: $plain s"
echo "tool / xargs: $(calc "$tool / $plain")"

if [ "$compare" = 1 ]; then
  "$cli" render --library-path "$include" one.swl --all --jobs 1 >one.txt 2>&1 || true
  echo "one at a time: $(tail -n 1 one.txt)"
  fields() { "$cli" list --json "$1" | grep '"name"'; }
  if diff <(fields full.swl) <(fields one.swl) >differ.txt; then
    echo "every stored entry the same"
  else
    echo "entries that differ (random grain differs on every render):"
    grep '^>' differ.txt | grep -o '"name": "[^"]*"' || true
  fi
fi
