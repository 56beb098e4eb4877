#!/usr/bin/env bash
# The help page: the English source holds no German, and the page the build
# wrote for each shipped language says it is in that language and keeps the
# English page's markup, tag for tag (a translation cannot break the page).
# Usage: check-help-page.sh SOURCE_DIR BIN_DIR
set -uo pipefail
root="$1" bin="$2"
english="$root/gui/resources/swatchcraft-help.html"
status=0
if grep -nP '[ÄÖÜäöüß]|\b(und|oder|nicht|Sie|Datei|Dateien|Textur|Texturen|Vorschau|Einstellungen|Strg|Entf)\b' \
     "$english" >&2; then
  echo "the English help page holds German" >&2
  status=1
fi
tags() { grep -o '<[/a-z0-9]*' "$1" | tr '\n' ' '; }
while IFS= read -r language; do
  case "$language" in ''|'#'*) continue ;; esac
  page="$bin/$language/swatchcraft-help.html"
  if [ ! -s "$page" ]; then echo "no help page for $language" >&2; status=1; continue; fi
  grep -q "<html lang=\"$language\">" "$page" || { echo "$page does not say it is $language" >&2; status=1; }
  [ "$(tags "$page")" = "$(tags "$english")" ] || { echo "$page has other markup than the English page" >&2; status=1; }
done < "$root/po/LINGUAS"
# The German page reads as the German users have known it.
if grep -qx de "$root/po/LINGUAS"; then
  words="$(tr -s ' \n' '  ' < "$bin/de/swatchcraft-help.html")"
  for text in 'Erste Schritte' 'Datei | Einstellungen | POV-Ray Verzeichnis' '<kbd>Strg</kbd>+<kbd>Einfg</kbd>'; do
    [[ "$words" == *"$text"* ]] || { echo "the German help page lacks \"$text\"" >&2; status=1; }
  done
fi
[ $status -eq 0 ] && echo "help pages: English and $(grep -c '^[a-z]' "$root/po/LINGUAS") translation(s)"
exit $status
