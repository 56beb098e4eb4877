#!/usr/bin/env bash
# Zero to a full library, timed: scans POV-Ray's standard include folder for
# every kind of entry and renders every preview with the tool's defaults,
# beside the same preview scenes rendered with one plain povray process each,
# 16 side by side (xargs -P16). The ways take turns, several rounds, so that a
# burst of other work on the machine hits one round rather than one way.
#
# Each run is given as wall seconds and processor seconds (user + system of
# every process it started, waited for). On a busy machine the wall seconds
# follow whatever else runs; the processor seconds follow it less (they still
# drift between rounds, so compare the ratios of one round), and they bound
# what a run takes on a quiet machine (processor seconds / cores).
#
# A third way shows the floor: the same scenes as the frames of 16 POV-Ray
# animations of about 48 frames each, with the options the tool gives POV-Ray
# for a preview, nothing else running. What the tool
# spends beyond that is its own; what that spends is POV-Ray's work on the
# pictures themselves, which no way of starting POV-Ray can save.
#
# With --plain-like-tool, the plain povray processes get the tool's preview
# options too (bounding slabs only for scenes of many objects), which shows
# what is left of the gain when the baseline knows that trick as well.
#
# With --compare, the previews are also rendered one at a time (--jobs 1,
# slow) and every stored entry of the two libraries is compared.
#
# Usage: scripts/time-full-library.sh [BINDIR] [--rounds N] [--plain-like-tool] [--compare] [-- RENDER OPTIONS...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/bin"
compare=0
plainOptions=""
rounds=3
options=()
while [ $# -gt 0 ]; do
  case "$1" in
    --compare) compare=1 ;;
    --plain-like-tool) plainOptions="+MB25" ;;
    --rounds) rounds="$2"; shift ;;
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
export cli include

calc() { awk "BEGIN { printf \"%.2f\", $1 }"; }
median() { sort -g | awk '{ v[NR] = $1 } END { printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Runs the command and appends "WALL CPU" to the file named first.
timed() {
  local file="$1"
  shift
  /usr/bin/time -f "%e %U %S" -o time.txt "$@" || true
  awk '{ printf "%.2f %.2f\n", $1, $2 + $3 }' time.txt >>"$file"
}

# The scene each entry is rendered from, written by the tool itself.
"$cli" scan --library-path "$include" --kinds mtpcfn -o scanned.swl "$include" >/dev/null
mkdir scenes
count=0
while IFS=$'\t' read -r name _ _ path _; do
  scene="$("$cli" scene --library-path "$include" scanned.swl "$name" --file "$path" </dev/null)"
  cp "$scene" "scenes/scene$count.pov"
  printf '%s\t%s\t%s\n' "$path" "$name" "$count" >>scenes/index.txt
  count=$((count + 1))
done < <("$cli" list scanned.swl | tail -n +4)

plain() { cd scenes && ls scene*.pov | xargs -P16 -I{} povray -w116 -h116 -a -c $plainOptions +FP +O- -D +I{} >/dev/null 2>&1; }
tool() {
  rm -f full.swl
  "$cli" scan --library-path "$include" --kinds mtpcfn -o full.swl "$include" >/dev/null &&
    "$cli" render --library-path "$include" full.swl --all "$@" >render.txt 2>&1
}
# Frame 1 of an animation renders scene0.pov, frame 2 scene1.pov and so on.
echo '#include concat("scene", str(frame_number - 1, 0, 0), ".pov")' >scenes/Frames.pov
frames() {
  cd scenes && seq 1 48 "$count" | xargs -P16 -I{} sh -c 'last=$(({} + 47)); [ $last -gt "$count" ] && last=$count
    povray +IFrames.pov -w116 -h116 -a -c +MB25 -D +FP +Of.ppm +KFI{} +KFF$last +KI0 +KF0 >/dev/null 2>&1'
  rm -f f*.ppm
}
export -f plain tool frames
export count plainOptions
: >plain.txt
: >tool.txt
: >frames.txt
echo "entries: $count; wall and processor seconds of each run:"
for round in $(seq 1 "$rounds"); do
  timed plain.txt bash -c plain
  timed tool.txt bash -c 'tool "$@"' tool "${options[@]}"
  timed frames.txt bash -c frames
  show() { tail -n 1 "$1" | sed 's/ / s, /'; }
  echo "round $round: plain povray $(show plain.txt) s; tool $(show tool.txt) s ($(tail -n 1 render.txt)); povray frames $(show frames.txt) s"
done
plainWall=$(cut -d' ' -f1 plain.txt | median)
plainCpu=$(cut -d' ' -f2 plain.txt | median)
toolWall=$(cut -d' ' -f1 tool.txt | median)
toolCpu=$(cut -d' ' -f2 tool.txt | median)
echo "medians of $rounds rounds:"
echo "plain povray${plainOptions:+ $plainOptions}, xargs -P16, one per scene: $plainWall s wall, $plainCpu s processor"
echo "tool, scan + render with its defaults:   $toolWall s wall, $toolCpu s processor"
echo "povray alone, 16 animations of 48 frames: $(cut -d' ' -f1 frames.txt | median) s wall, $(cut -d' ' -f2 frames.txt | median) s processor"
echo "tool / xargs: wall $(calc "$toolWall / $plainWall"), processor $(calc "$toolCpu / $plainCpu")"

if [ "$compare" = 1 ]; then
  cp scanned.swl one.swl
  "$cli" render --library-path "$include" one.swl --all --jobs 1 >one.txt 2>&1 || true
  echo "one at a time: $(tail -n 1 one.txt)"
  # Each entry as "file, name, stored fields", in the same order for both libraries.
  keyed() {
    "$cli" list --json "$1" | grep '"name"' |
      sed -E 's/^.*"name": "([^"]*)".*"directory": "([^"]*)", "fileName": "([^"]*)".*$/\2\3\t\1\t&/' | sort
  }
  keyed full.swl >full.txt
  keyed one.swl >one.txt
  # The scene of each entry whose stored fields differ, and its name.
  paste full.txt one.txt |
    awk -F'\t' 'NR == FNR { scene[$1 FS $2] = $3; next } $3 != $6 { print scene[$1 FS $2] "\t" $2 }' \
      scenes/index.txt - >differ.txt
  random=0
  differ=""
  while IFS=$'\t' read -r index name; do
    # crand draws new grain on every run of POV-Ray: such pictures never repeat.
    if grep -q crand "scenes/scene$index.pov"; then
      random=$((random + 1))
    else
      differ="$differ $name"
    fi
  done <differ.txt
  if [ -z "$differ" ]; then
    echo "every stored entry the same ($random with crand grain left out)"
  else
    echo "ENTRIES THAT DIFFER:$differ ($random with crand grain left out)"
  fi
fi

