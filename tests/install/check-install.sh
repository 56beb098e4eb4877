#!/usr/bin/env bash
# Installs a build tree into a temporary DESTDIR and checks what a desktop
# user gets: the layout, valid desktop integration files, and installed
# programs that run from there without writing beside themselves.
# Usage: check-install.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
dest="$work/root"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"

fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
usr="$dest/usr"
app=org.swatchcraft.Swatchcraft

for f in bin/swatchcraft-cli bin/swatchcraft-povhost lib/swatchcraft/swbridge.pge \
         share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
         share/mime/packages/$app.xml share/icons/hicolor/scalable/apps/$app.svg \
         share/icons/hicolor/48x48/apps/$app.png share/icons/hicolor/256x256/apps/$app.png \
         share/man/man1/swatchcraft.1.gz share/man/man1/swatchcraft-cli.1.gz \
         share/locale/de/LC_MESSAGES/swatchcraft.mo \
         share/bash-completion/completions/swatchcraft-cli; do
    [ -e "$usr/$f" ] || fail "$f is not installed"
done
if [ -e "$build/bin/swatchcraft" ]; then
    [ -x "$usr/bin/swatchcraft" ] || fail "the window program is not installed"
    for f in tips.txt swatchcraft-help.html templates/templ_1.pov ini/samples.ini; do
        [ -s "$usr/share/swatchcraft/$f" ] || fail "$f is not installed"
    done
fi

# The German catalogue reaches the desktop entry, the metadata and the
# manual pages.
grep -q '^Comment\[de\]=' "$usr/share/applications/$app.desktop" || fail "the desktop entry has no German"
grep -q '<summary xml:lang="de">' "$usr/share/metainfo/$app.metainfo.xml" || fail "the metainfo has no German"
if command -v po4a-translate >/dev/null; then
    # The pages written in English that po/POTFILES names.
    for page in $(sed -n 's|^packaging/man/\(.*\)\.1$|\1|p' "$(dirname "$0")/../../po/POTFILES"); do
        zcat "$usr/share/man/de/man1/$page.1.gz" | grep -q '^\.SH BESCHREIBUNG' || fail "no German manual page $page"
    done
    if [ -e "$build/bin/swatchcraft" ]; then
        grep -q '<html lang="de">' "$usr/share/swatchcraft/de/swatchcraft-help.html" || fail "no German help page"
    fi
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$usr/share/applications/$app.desktop" || fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$usr/share/metainfo/$app.metainfo.xml" >/dev/null || fail "metainfo"
fi
# The screenshot the metadata names lies in the source tree under the
# address's path, as large as the metadata says.
source="$(cd "$(dirname "$0")/../.." && pwd)"
read -r width height shot < <(sed -n \
    's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">https://swatchcraft.org/\(.*\)</image>.*|\1 \2 \3|p' \
    "$usr/share/metainfo/$app.metainfo.xml") || fail "metainfo names no screenshot"
png="$source/packaging/$shot"
[ "$(head -c 8 "$png" | od -An -c | tr -d ' ')" = '211PNG\r\n032\n' ] || fail "$shot is no PNG picture"
read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
[ "$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))x$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))" = "${width}x$height" ] \
    || fail "$shot is not ${width}x$height"
if command -v update-mime-database >/dev/null; then
    mime="$work/mime"
    mkdir -p "$mime/packages"
    cp /usr/share/mime/packages/freedesktop.org.xml "$mime/packages/" 2>/dev/null || true
    cp "$usr/share/mime/packages/$app.xml" "$mime/packages/"
    update-mime-database "$mime" 2>"$work/mime.log" || fail "mime database: $(cat "$work/mime.log")"
    ! grep -q "$app" "$work/mime.log" || fail "mime warnings: $(cat "$work/mime.log")"
    grep -q '^application/x-swatchcraft-library:\*\.swl$' "$mime/globs" || fail "no glob for *.swl"
    grep -aq 'Swatchcraft' "$mime/magic" || fail "no magic rule"
fi
page="$(gzip -dc "$usr/share/man/man1/swatchcraft-cli.1.gz")" || fail "manual page"
grep -q '^\.TH SWATCHCRAFT-CLI 1' <<<"$page" || fail "manual page"
bash -n "$usr/share/bash-completion/completions/swatchcraft-cli" || fail "completion script"

# The installed tool runs from there and keeps nothing beside itself.
before="$(ls "$usr/bin")"
# Outputs are read whole before they are searched: grep -q leaving a pipe
# early would kill the writer with SIGPIPE under pipefail.
# It speaks the environment's language, German from the installed catalogue.
help="$(LANGUAGE= LC_ALL=de_DE.UTF-8 "$usr/bin/swatchcraft-cli" --help)" || fail "installed --help"
grep -q '^Befehle:' <<<"$help" || fail "installed --help has no German"
help="$(LANGUAGE= LC_ALL=C.UTF-8 "$usr/bin/swatchcraft-cli" --help)" || fail "installed --help"
grep -q '^Commands:' <<<"$help" || fail "installed --help has no English"
include=/usr/share/povray-3.7/include
if [ -d "$include" ]; then
    "$usr/bin/swatchcraft-cli" scan --library-path "$include" -o "$work/std.swl" "$include" >/dev/null \
        || fail "installed scan"
    listing="$("$usr/bin/swatchcraft-cli" list "$work/std.swl")" || fail "installed list"
    grep -q 'Jade' <<<"$listing" || fail "installed scan found no Jade"
    "$usr/bin/swatchcraft-cli" povray check --home /usr >/dev/null 2>&1 || true
fi
[ "$(ls "$usr/bin")" = "$before" ] || fail "the installed tool wrote beside itself: $(ls "$usr/bin")"
[ ! -e "$usr/bin/swatchcraft.ini" ] || fail "settings beside the installed program"
echo "install layout ok"
