#!/usr/bin/env bash
# Refreshes the message template po/swatchcraft.pot from the sources named in
# po/POTFILES and merges it into every catalogue po/CODE.po of po/LINGUAS.
# New or changed texts come out untranslated or fuzzy; the catalogue test
# fails until a translator has seen them.
# Usage: update-po.sh [--template-only] [OUT.pot]
#   --template-only  writes the template (to OUT.pot when given) and merges nothing
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
merge=1
if [ "${1:-}" = "--template-only" ]; then merge=0; shift; fi
pot="${1:-po/swatchcraft.pot}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

keywords=()
while IFS= read -r line; do
  case "$line" in ''|'#'*) ;; *) keywords+=("$line") ;; esac
done < po/KEYWORDS

# po/POTFILES: source code for xgettext's C++ reader, the desktop entry and
# the AppStream metadata for its own rules, manual pages and the help page
# for po4a, and text
# files whose every line but ';' comments is one text (the tips).
code=() desktop=() metainfo=() manpages=() pages=() lines=()
while IFS= read -r line; do
  case "$line" in ''|'#'*) continue ;; esac
  for f in $line; do
    [ -f "$f" ] || continue
    case "$f" in
      *.desktop.in) desktop+=("$f") ;;
      *.metainfo.xml.in) metainfo+=("$f") ;;
      *.[1-8]) manpages+=("$f") ;;
      *.html) pages+=("$f") ;;
      *.txt) lines+=("$f") ;;
      *) code+=("$f") ;;
    esac
  done
done < po/POTFILES

common=(--force-po --from-code=UTF-8 --add-location=file --add-comments=TRANSLATORS: --package-name=Swatchcraft
        --msgid-bugs-address=dev@swatchcraft.org)
xgettext "${common[@]}" -L C++ "${keywords[@]}" -o "$work/code.pot" "${code[@]}"
parts=("$work/code.pot")
# The desktop entry's Name stays the program's name.
for f in "${desktop[@]}"; do
  xgettext "${common[@]}" -L Desktop -k -kGenericName -kComment -kKeywords -o "$work/${f##*/}.pot" "$f"
  parts+=("$work/${f##*/}.pot")
done
for f in "${metainfo[@]}"; do
  xgettext "${common[@]}" --its=/usr/share/gettext/its/metainfo.its -o "$work/${f##*/}.pot" "$f"
  parts+=("$work/${f##*/}.pot")
done
# Manual pages, paragraph by paragraph.
for f in "${manpages[@]}"; do
  po4a-updatepo -f man -M UTF-8 -m "$f" -p "$work/${f##*/}.pot" >/dev/null
  parts+=("$work/${f##*/}.pot")
done
# Web pages (the help page), paragraph by paragraph; the style sheet is not a text.
for f in "${pages[@]}"; do
  po4a-updatepo -f xhtml -M UTF-8 -o untranslated='<style>' -m "$f" -p "$work/${f##*/}.pot" >/dev/null
  parts+=("$work/${f##*/}.pot")
done
for f in "${lines[@]}"; do
  {
    printf 'msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n'
    grep -v -e '^;' -e '^[[:space:]]*$' "$f" | sed -e 's/\r$//' -e 's/\\/\\\\/g' -e 's/"/\\"/g' |
      while IFS= read -r text; do printf '\n#: %s\nmsgid "%s"\nmsgstr ""\n' "$f" "$text"; done
  } > "$work/${f##*/}.pot"
  parts+=("$work/${f##*/}.pot")
done
msgcat --use-first --add-location=file -o "$work/all.pot" "${parts[@]}"
# The header carries no date, so an unchanged template stays unchanged.
sed -e '/^"POT-Creation-Date:/d' -e 's/^"Content-Type: text\/plain; charset=CHARSET\\n"/"Content-Type: text\/plain; charset=UTF-8\\n"/' \
    "$work/all.pot" > "$pot"

[ "$merge" -eq 1 ] || exit 0
while IFS= read -r language; do
  case "$language" in ''|'#'*) continue ;; esac
  msgmerge --quiet --update --backup=none --add-location=file "po/$language.po" "$pot"
done < po/LINGUAS
