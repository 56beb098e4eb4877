#!/usr/bin/env python3
"""Counts the texts for people that bypass the message catalogue: string
literals in gui/, ui/ and cli/, and sentences in the core, that no
catalogue keyword (po/KEYWORDS) marks. xgettext itself finds the literals
(-a), so comments, escapes and joined literals read as the compiler reads
them.

Usage: check-literals.py SOURCE_DIR [--list]
"""
import os
import re
import subprocess
import sys
import tempfile
from glob import glob

# Every finding fails; False would only report them.
STRICT = True

WINDOW_DIRS = ["gui", "ui", "cli"]
CORE_DIRS = ["platform", "library", "scanner", "preview", "overview", "export", "povray"]

# Literals that are not texts for people, whatever they look like.
ALLOWED_FILES = {
    "ui/Settings.cpp",       # section and key names of the settings file
    "ui/Settings.h",
    "cli/JsonText.cpp",      # JSON member names
}
# Single literals that are not texts for people, by file.
ALLOWED_LITERALS = {
    # What POV-Ray prints, searched for in its output.
    "povray/PovCommandLine.cpp": {"Cannot find file '", "image file", "font file", "Fatal error", "Render failed",
                                  "IO restriction", "Permission denied", "permission denied", "not permitted"},
    "preview/BatchRenderer.cpp": {"Rendering frame "},
    # Worded as libjpeg's own (English) messages, beside which it is shown.
    "preview/PreviewCodec.cpp": {"Too many scans (more than %d)"},
    # The titles earlier versions wrote into the template files, recognised when read.
    "preview/SampleScenes.cpp": {"&Standard", "&Kugel auf Schachbrett", "&Würfel auf Schachbrett",
                                 "&Torus auf Schachbrett", "&Ebene mit Silberkugel über Schachbrett"},
}
# Whole literals that are names, not words to translate.
NOT_TEXT_LITERALS = {
    "Arial", "Courier New", "Sans Serif",        # font families
    "&Deutsch", "&English",                      # each language's own name, offered in any language
    "Info", "Preview", "Duplicates", "Edit",     # settings sections and keys the window keeps
}
NOT_TEXT = [
    re.compile(r"^[^A-Za-zÄÖÜäöüß]*$"),                 # no letters: separators, formats
    re.compile(r"^[\w.+-]*[/\\][\w./\\*+-]*$"),          # paths and file patterns
    re.compile(r"^\*?\.[\w*]+$"),                        # file extensions
    re.compile(r"://"),                                  # addresses
    re.compile(r"^\s*<|</|/>|<[A-Za-z][^<>]*>"),          # HTML and XML markup
    re.compile(r"#(declare|local|undef|include|version|if|ifdef|else|end|macro|switch|case|break|range|while|debug)\b|[{}]"),  # POV-Ray code
    re.compile(r"^\s*(scale|rotate|translate|pigment|texture|finish|normal|camera|light_source|color|rgbf?|ttf)\b"),
    re.compile(r"\bcolou?r rgb\b"),
    re.compile(r"^-[-\w]+$"),                            # command-line options
    re.compile(r"^[A-Z][A-Za-z]*\+[\w+]+$"),             # key names: "Ctrl+O"
    re.compile(r"^(Del|Ins|F\d+)$"),                     # key names without a modifier
    re.compile(r"^(Tip|Swatchcraft)$"),                  # the settings' section "Tip"; the program's name
    re.compile(r'\b[\w-]+="'),                           # pieces of HTML: attribute="value"
]


def text_for_people(text, core):
    if text in NOT_TEXT_LITERALS or any(p.search(text) for p in NOT_TEXT):
        return False
    if re.search(r"[ÄÖÜäöüß]", text):
        return True
    words = re.search(r"[A-Za-z]{2,}[,.:;!?]? +[A-Za-z&]{2,}", text)
    if core:
        return bool(words)
    # A mnemonic, a sentence or a single capitalised word ("Cancel"); names
    # in CamelCase and lower-case identifiers are not.
    return bool(words or re.search(r"&[A-Za-z]", text) or re.fullmatch(r"[A-Z][a-z]{2,}[.:]*", text))


def entries(pot):
    """(msgid, [locations]) of a PO file xgettext wrote."""
    result, refs, msgid, plural, context, field = [], [], None, None, None, None

    def close():
        if msgid is not None:
            result.append((unquote(msgid), refs))
        # The context that tells equal texts apart is part of the marked call.
        if context is not None:
            result.append((unquote(context), refs))
        # A plural form is a text of the same marked call.
        if plural is not None:
            result.append((unquote(plural), refs))

    for line in open(pot, encoding="utf-8"):
        line = line.rstrip("\n")
        if line.startswith("#:"):
            refs += line[2:].split()
        elif line.startswith("msgid "):
            msgid, field = line[6:], "id"
        elif line.startswith("msgid_plural "):
            plural, field = line[13:], "plural"
        elif line.startswith('"') and field == "id":
            msgid += line
        elif line.startswith('"') and field == "plural":
            plural += line
        elif line.startswith("msgctxt "):
            context, field = line[8:], "context"
        elif line.startswith('"') and field == "context":
            context += line
        elif line.startswith("msgstr"):
            field = None
        elif not line.strip():
            close()
            refs, msgid, plural, context, field = [], None, None, None, None
    close()
    return result


def unquote(quoted):
    parts = re.findall(r'"((?:[^"\\]|\\.)*)"', quoted)
    escapes = {"n": "\n", "t": "\t", "r": "\r", '"': '"', "\\": "\\"}
    return re.sub(r"\\(.)", lambda m: escapes.get(m.group(1), m.group(1)), "".join(parts))


def extract(root, files, keywords, everything, out):
    args = ["xgettext", "--force-po", "--from-code=UTF-8", "-L", "C++", "--add-location",
            "-o", out] + keywords + (["-a"] if everything else []) + files
    env = dict(os.environ, LC_ALL="C.UTF-8")
    # xgettext warns about every German msgid; only its failure matters here.
    subprocess.run(args, cwd=root, check=True, env=env, stderr=subprocess.DEVNULL)
    return entries(out)


def main():
    root = sys.argv[1]
    listing = "--list" in sys.argv
    keywords = [l.strip() for l in open(os.path.join(root, "po", "KEYWORDS")) if l.strip() and not l.startswith("#")]
    files = []
    for d in WINDOW_DIRS + CORE_DIRS:
        for pattern in ("*.cpp", "*.h"):
            files += sorted(os.path.relpath(f, root) for f in glob(os.path.join(root, d, pattern)))
    with tempfile.TemporaryDirectory() as work:
        # By file, not line: xgettext places a call's texts at its first line.
        marked = {(m, r.rsplit(":", 1)[0])
                  for m, refs in extract(root, files, keywords, False, work + "/marked.pot") for r in refs}
        found = {}
        for msgid, refs in extract(root, files, keywords, True, work + "/all.pot"):
            for ref in refs:
                path = ref.rsplit(":", 1)[0]
                if (msgid, path) in marked or path in ALLOWED_FILES or msgid in ALLOWED_LITERALS.get(path, ()):
                    continue
                if text_for_people(msgid, path.split("/")[0] in CORE_DIRS):
                    found.setdefault(path.split("/")[0], []).append((ref, msgid))
    total = sum(len(v) for v in found.values())
    if listing:
        for d in sorted(found):
            for ref, msgid in found[d]:
                print(f"{ref}: {msgid!r}")
    print("texts bypassing the catalogue: " + (", ".join(f"{d}/ {len(found[d])}" for d in sorted(found)) or "none"))
    print(f"{total} in all" + ("" if STRICT else " (report only)"))
    return 1 if STRICT and total else 0


if __name__ == "__main__":
    sys.exit(main())
