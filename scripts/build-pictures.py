#!/usr/bin/env python3
"""Builds the picture set the program offers: the colour SVG pictures of the OpenMoji package and
an index of the French words that find them.

  build-pictures.py OUTPUT_DIR --package openmoji-X.tgz [--cldr DIR] [--words mots-cles.tsv]

OUTPUT_DIR receives one SVG a picture (named by its hexcode) and index.tsv:
UTF-8, one picture a line after a first line naming the format, five tab-separated columns:

  hexcode  emoji  French name  CLDR keywords  our own keywords

Keywords are separated by " | ". The French names and keywords come from CLDR's annotations
(annotations/fr.xml and annotationsDerived/fr.xml); our own keywords add the everyday words CLDR
does not give, picture by picture. The tarball is read as it is, never unpacked on disk.
"""
import argparse
import json
import os
import re
import sys
import tarfile
import xml.etree.ElementTree as ET

INDEX_HEADER = "# orivox-pictures 1"
HEXCODE = re.compile(r"^[0-9A-F]{2,6}(-[0-9A-F]{2,6})*$")
VARIATION_SELECTOR = "\ufe0f"
# Nothing in the index may break its own layout.
FORBIDDEN = re.compile(r"[\t\r\n]")
DATA = "package/data/openmoji.json"


def clean(text):
    return FORBIDDEN.sub(" ", text).strip()


def read_cldr(paths):
    """cp (without U+FE0F) -> (tts name, [keywords]); the later files complete the earlier."""
    names = {}
    for path in paths:
        if not os.path.exists(path):
            print(f"build-pictures: {path} is missing, its French names are left out", file=sys.stderr)
            continue
        for node in ET.parse(path).getroot().iter("annotation"):
            cp = node.get("cp", "").replace(VARIATION_SELECTOR, "")
            text = clean(node.text or "")
            if not cp or not text:
                continue
            tts, words = names.get(cp, ("", []))
            if node.get("type") == "tts":
                tts = tts or text
            else:
                for w in (clean(part) for part in text.split("|")):
                    if w and w not in words:
                        words.append(w)
            names[cp] = (tts, words)
    return names


def read_own_words(path):
    """hexcode -> [words], from our own tab-separated file ('#' starts a comment line)."""
    own = {}
    if not path:
        return own
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split("\t")
            if len(parts) != 2 or not HEXCODE.match(parts[0]):
                sys.exit(f"{path}:{number}: expected 'HEXCODE<TAB>word | word', got {line!r}")
            words = [clean(w) for w in parts[1].split("|") if clean(w)]
            own.setdefault(parts[0], []).extend(words)
    return own


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("output")
    parser.add_argument("--package", required=True)
    parser.add_argument("--cldr", default="/usr/share/unicode/cldr/common")
    parser.add_argument("--words")
    args = parser.parse_args()

    cldr = read_cldr([os.path.join(args.cldr, "annotations", "fr.xml"),
                      os.path.join(args.cldr, "annotationsDerived", "fr.xml")])
    own = read_own_words(args.words)

    # One pass over the stream: a gzip tarball read out of order is decompressed again and again.
    wanted = {}
    with tarfile.open(args.package, "r|gz") as tar:
        for member in tar:
            if member.isfile() and (member.name.startswith("package/color/svg/")
                                    or member.name == DATA):
                wanted[member.name] = tar.extractfile(member).read()
    pictures = json.loads(wanted[DATA])
    known = {p["hexcode"] for p in pictures}
    unknown = sorted(set(own) - known)
    if unknown:
        sys.exit(f"{args.words}: no such picture in the set: {', '.join(unknown)}")

    # Pictures of an older set would linger, unindexed, beside the new ones.
    os.makedirs(args.output, exist_ok=True)
    for name in os.listdir(args.output):
        if name.endswith(".svg"):
            os.remove(os.path.join(args.output, name))
    lines = [INDEX_HEADER]
    named = 0
    for p in pictures:
        hexcode = p["hexcode"]
        svg = wanted.get(f"package/color/svg/{hexcode}.svg")
        if not HEXCODE.match(hexcode) or svg is None:
            continue
        with open(os.path.join(args.output, hexcode + ".svg"), "wb") as out:
            out.write(svg)
        tts, words = cldr.get(p["emoji"].replace(VARIATION_SELECTOR, ""), ("", []))
        named += bool(tts)
        lines.append("\t".join([hexcode, clean(p["emoji"]), tts, " | ".join(words),
                                " | ".join(own.get(hexcode, []))]))
    # Written last, through a temporary name: the index exists only once the pictures it names do.
    index = os.path.join(args.output, "index.tsv")
    with open(index + ".tmp", "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(index + ".tmp", index)
    print(f"build-pictures: {len(lines) - 1} pictures, {named} with a French name from CLDR, "
          f"{len(own)} with our own words")


if __name__ == "__main__":
    main()
