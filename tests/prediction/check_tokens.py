#!/usr/bin/env python3
"""The model builder cuts every text of the shared table as the program does.

  check_tokens.py BUILDER.py TABLE.tsv
"""
import runpy
import types
import re
import sys


def unescape(s):
    return re.sub(r"\\(u[0-9a-fA-F]{4}|n|r|\\)",
                  lambda m: {"n": "\n", "r": "\r", "\\": "\\"}.get(m.group(1))
                  or chr(int(m.group(1)[1:], 16)), s)


def main():
    builder = types.SimpleNamespace(**runpy.run_path(sys.argv[1], run_name="builder"))
    failures = 0
    rows = 0
    for line in open(sys.argv[2], encoding="utf-8"):
        line = line.rstrip("\n")
        if not line or line.startswith("#"):
            continue
        case, text, expected = line.split("\t")
        rows += 1
        got = " | ".join(" ".join(p) for p in builder.phrases(unescape(text)))
        if got != unescape(expected):
            failures += 1
            print("FAIL %s: %r gives %r, expected %r" % (case, text, got, unescape(expected)))
    print("%d rows, %d failed" % (rows, failures))
    sys.exit(1 if failures or not rows else 0)


if __name__ == "__main__":
    main()
