#!/usr/bin/env bash
# Fails when a shipped catalogue has an untranslated or fuzzy entry, does not
# build, or lacks a text the sources hold (run scripts/update-po.sh and
# translate what it marks).
# Usage: check-catalogues.sh SOURCE_DIR
set -uo pipefail
root="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
"$root/scripts/update-po.sh" --template-only "$work/fresh.pot" || exit 2
while IFS= read -r language; do
  case "$language" in ''|'#'*) continue ;; esac
  po="$root/po/$language.po"
  msgfmt --check -o /dev/null "$po" || status=1
  for kind in untranslated only-fuzzy; do
    msgattrib --$kind --no-obsolete --no-wrap "$po" > "$work/$kind.po"
    if grep -q '^msgid "[^"]' "$work/$kind.po"; then
      echo "po/$language.po: ${kind#only-} entries:" >&2
      grep '^msgid "[^"]' "$work/$kind.po" >&2
      status=1
    fi
  done
  # Every text of the sources has its entry.
  if ! msgcmp --use-untranslated "$po" "$work/fresh.pot" 2>"$work/missing.txt"; then
    echo "po/$language.po lacks texts of the sources (run scripts/update-po.sh):" >&2
    grep -v '^msgcmp: found' "$work/missing.txt" >&2
    status=1
  fi
done < "$root/po/LINGUAS"
[ $status -eq 0 ] && echo "catalogues complete: $(grep -c '^[a-z]' "$root/po/LINGUAS") language(s)"
exit $status
