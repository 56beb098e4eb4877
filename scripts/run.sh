#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program: the window with the
# textures of POV-Ray's standard include folder when a display is there;
# without one, the same search through the command-line tool, printing the
# first entries found, how many there are and how to see them all.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
# Only what the program needs: the window, the tool, the render host and the
# bridge it loads. The test command builds the rest into the same tree, and
# the compiler cache keeps this work for it.
"$root/scripts/build.sh" "$root/build" --target swatchcraft --target swatchcraft-cli \
  --target swatchcraft-povhost --target swbridge -DCMAKE_BUILD_TYPE=RelWithDebInfo
include_dir=/usr/share/povray-3.7/include
bin="$root/build/bin"
# The script speaks the language the program takes: German for a German
# desktop, English otherwise. say ENGLISH GERMAN
language="${LANGUAGE:-}"
case "${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}" in C|C.*|POSIX) language="" ;; esac
language="${language%%:*}"
[ -n "$language" ] || language="${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}"
say() { case "$language" in de*) echo "$2" ;; *) echo "$1" ;; esac; }
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  list="$root/build/standard-textures.swl"
  # The list is made once; afterwards it keeps the previews rendered in the window.
  if [ ! -f "$list" ]; then
    "$bin/swatchcraft-cli" scan --library-path "$include_dir" -o "$list" "$include_dir" >/dev/null
  fi
  say "Starting Swatchcraft with the textures of $include_dir ($list)." \
      "Starte Swatchcraft mit den Texturen aus $include_dir ($list)."
  exec "$bin/swatchcraft" "$list"
fi
say "No display found (DISPLAY and WAYLAND_DISPLAY are empty): the window cannot start." \
    "Kein Bildschirm gefunden (DISPLAY und WAYLAND_DISPLAY sind leer): das Fenster kann nicht starten."
scan=("$bin/swatchcraft-cli" scan --library-path "$include_dir" "$@" "$include_dir")
if [ $# -gt 0 ]; then
  # Options of its own (--kinds, --json ...): the user gets the whole output.
  "${scan[@]}"
else
  # A few hundred lines would push the explanation out of sight: the first
  # entries, the count and the summary, and below how to see them all.
  listing="$("${scan[@]}")"
  shown=20
  total=$(($(wc -l <<<"$listing") - 1))
  if [ "$total" -gt "$shown" ]; then
    head -n "$shown" <<<"$listing"
    say "... and $((total - shown)) more" "... und $((total - shown)) weitere"
  else
    head -n "$total" <<<"$listing"
  fi
  tail -n 1 <<<"$listing"
fi
echo
say "Above is what swatchcraft-cli finds in $include_dir (the count calls every kind \"textures\"): kind (m material, t texture, p pigment), name, folder and file." \
    "Oben steht, was swatchcraft-cli in $include_dir findet (die Zählung nennt jede Art \"Texturen\"): Art (m Material, t Textur, p Pigment), Name, Verzeichnis und Datei."
say "All entries: $bin/swatchcraft-cli scan --library-path $include_dir $include_dir" \
    "Alle Einträge: $bin/swatchcraft-cli scan --library-path $include_dir $include_dir"
say "Colours, finishes and normals too: the same with --kinds mtpcfn (options of this command go to scan: $0 --kinds mtpcfn)." \
    "Auch Farben, Finishes und Normalen: dasselbe mit --kinds mtpcfn (Optionen dieses Befehls gehen an scan: $0 --kinds mtpcfn)."
say "With a display this command starts the window; without one it works too with: xvfb-run $0" \
    "Mit Bildschirm startet dieser Befehl das Fenster; ohne geht es auch mit: xvfb-run $0"
