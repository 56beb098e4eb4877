#!/usr/bin/env bash
# Makes the picture the AppStream metadata shows: the window with the
# textures of POV-Ray's standard include folder in its picture grid, every
# preview rendered by the program itself.
#
#   packaging/make-screenshot.sh [BUILD_DIR] [OUTPUT.png]
#
# BUILD_DIR defaults to ./build, OUTPUT to packaging/screenshots/main-window.png.
# The build tree is installed into a temporary prefix and run from there with
# HOME and the XDG folders pointed at a temporary folder, so nothing of the
# user's settings or lists is read or written. The list file lives in a folder
# whose name holds a blank and its own name an umlaut: the window has to open
# it from the command line, as a file manager starts it, before the picture
# is taken.
#
# Needs, besides the build's own packages: xvfb and x11-utils (xwininfo),
# imagemagick (import, convert) and, when installed, pngquant and optipng to
# make the file small (Debian: apt-get install xvfb x11-utils imagemagick
# pngquant optipng). Rendering all 501 previews takes a few minutes.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
output="${2:-$root/packaging/screenshots/main-window.png}"
include_dir=/usr/share/povray-3.7/include
jobs="$(nproc 2>/dev/null || echo 2)"

# The screen and the window: grid on the left, the preview pane with picture
# and declaration on the right.
screen_width=1280
screen_height=800
list_width=928
pane_width=344
window_height=720

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME/swatchcraft" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

cmake --install "$build" --prefix "$work/usr" >/dev/null
bin="$work/usr/bin"

list_dir="$work/Eigene Dateien"
list="$list_dir/Standardtexturen für POV-Ray.swl"
title="Swatchcraft [Standardtexturen für POV-Ray.swl]"
mkdir -p "$list_dir"
"$bin/swatchcraft-cli" scan --library-path "$include_dir" -o "$list" "$include_dir" >/dev/null
# A few declarations cannot be rendered on their own; the tool names them
# and the grid shows them without picture.
"$bin/swatchcraft-cli" render "$list" --all --jobs "$jobs" | tail -n 1 || true

# The window's settings as a user would have left them: POV-Ray 3.7 in /usr
# chosen (a package dependency), the tip and the start-up questions
# answered, the picture grid sorted by name with the preview pane beside it.
cat >"$XDG_CONFIG_HOME/swatchcraft/swatchcraft.ini" <<EOF
[Tip]
StartUp=1
[Ask]
DelFontDir=0
[Locations]
PovHome=/usr
PovVersion=370
PovMinorVersion=0
[Display]
Content=1
ListType=2
SortType=0
SortAscending=1
[MainWindow]
x=0
y=0
cy=$window_height
NormalListWidth=$list_width
NormalContentWidth=$pane_width
Maximized=0
EOF

# Runs under the private X server: starts the window on the list, waits
# until its title names the list (the start-up steps are through and the
# file is open), lets the grid draw its pictures and takes the screen and
# the window's place on it.
capture() {
  "$bin/swatchcraft" "$list" >"$work/window.log" 2>&1 &
  local pid=$! id='' tries=0
  while [ -z "$id" ]; do
    if ! kill -0 "$pid" 2>/dev/null || [ $((tries += 1)) -gt 120 ]; then
      echo "The window did not open \"$list\":" >&2
      cat "$work/window.log" >&2
      kill "$pid" 2>/dev/null || true
      return 1
    fi
    sleep 0.5
    id="$(xwininfo -root -tree | grep -F "\"$title\"" | awk '{ print $1; exit }')" || true
  done
  sleep 3
  import -window root "$work/screen.png"
  xwininfo -id "$id" >"$work/window.txt"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}
# xvfb-run is a POSIX shell script, which drops exported functions: the
# function travels as the command's text.
export bin list title work
xvfb-run -a -s "-screen 0 ${screen_width}x${screen_height}x24 -nolisten tcp" \
  bash -c "set -euo pipefail; $(declare -f capture); capture"

# Cropped to the window: without a window manager it has no frame.
value() { awk -F: -v key="$1" '$1 ~ key { gsub(/ /, "", $2); print $2; exit }' "$work/window.txt"; }
geometry="$(value Width)x$(value Height)+$(value 'Absolute upper-left X')+$(value 'Absolute upper-left Y')"
convert "$work/screen.png" -crop "$geometry" +repage -strip "$work/window.png"
if command -v pngquant >/dev/null; then
  pngquant --quality 70-95 --speed 1 --strip --force --output "$work/small.png" "$work/window.png" &&
    mv "$work/small.png" "$work/window.png"
fi
if command -v optipng >/dev/null; then optipng -quiet -o5 "$work/window.png"; fi
cp "$work/window.png" "$output"
echo "$output: $geometry, $(stat -c %s "$output") bytes"
