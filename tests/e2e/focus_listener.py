"""Listens on the accessibility bus as a screen reader does and writes one line per object that
gains the focus: the moment (monotonic seconds), its role, its name, tab-separated, flushed at
once so that a story reads it while the program runs.

Usage: focus_listener.py OUTPUT_FILE
"""
import sys
import time

import pyatspi

out = open(sys.argv[1], "w", encoding="utf-8")


def on_focus(event):
    if not event.detail1:
        return  # focus lost: a screen reader says nothing
    try:
        name = event.source.name or ""
        role = event.source.getRoleName() or ""
    except Exception:  # noqa: BLE001 - an object gone before it could be asked
        name, role = "", "?"
    out.write(f"{time.monotonic():.3f}\t{role}\t{name}\n")
    out.flush()


pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
print("listening", flush=True)
pyatspi.Registry.start()
