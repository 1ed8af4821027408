#!/usr/bin/python3
"""Screenshots of the real program showing a board with built-in pictures: labels above, below
and hidden, and a picture button lit by the scan in each highlight style. Each shot is the whole
screen of an Xvfb of its own, taken with ImageMagick's `import`.

Usage: picture-shots.py ORIVOX_BINARY OUT_FOLDER
The built-in set must be built beside the program (share/orivox/pictures next to its folder).
"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import switch_stories as st  # noqa: E402

# Short labels and the built-in picture each is given.
BUTTONS = [("Boire", "1F964"), ("Manger", "1F37D"), ("Dormir", "1F634"),
           ("Toilettes", "1F6BD"), ("J'ai mal", "1F915"), ("Content", "1F642")]

SHOTS = [  # name, settings, the text to wait for lit (None: the tab still scanned)
    ("labels-above", {"pictureLabel": "above"}, None),
    ("labels-below", {"pictureLabel": "below"}, None),
    ("labels-hidden", {"pictureLabel": "hidden"}, None),
    ("highlight-text-colour", {"pictureLabel": "above"}, "Manger"),
    ("highlight-frame", {"pictureLabel": "above", "highlight": "frame"}, "Manger"),
    ("highlight-hidden-label", {"pictureLabel": "hidden"}, "Manger"),
]


def main():
    binary, out = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    folder = os.path.join(os.path.dirname(binary), "share", "orivox", "pictures")
    pictures = {}
    for i, (_, code) in enumerate(BUTTONS):
        with open(os.path.join(folder, f"{code}.svg"), "rb") as f:
            pictures[(0, i)] = f.read()
    os.makedirs(out, exist_ok=True)
    work = tempfile.mkdtemp(prefix="orivox-shots-")
    session = st.Session("openbox", work)
    try:
        session.set_num_lock(True)
        for name, settings, lit in SHOTS:
            settings = dict(settings, tabPaceMs=1000, textPaceMs=2000)
            p = st.Program(session, binary, [("Images", [t for t, _ in BUTTONS])], 1, 2, name,
                           settings, pictures=pictures)
            try:
                seen = p.wait_for("onglet", "Images")
                if lit:
                    p.at(seen + 0.3, "KP_0 on the tab", lambda: session.tap("KP_0"))
                    p.wait_for("texte", lit, 20)
                time.sleep(0.5)
                subprocess.run(["import", "-window", "root", os.path.join(out, name + ".png")],
                               check=True, env=dict(os.environ, DISPLAY=session.display_name))
            finally:
                p.kill()
    finally:
        session.close()


if __name__ == "__main__":
    main()
