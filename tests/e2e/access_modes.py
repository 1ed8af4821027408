"""The access modes through the real input path: the real program under an Xvfb of its own,
keys sent through the X server with XTEST as a keyboard or a switch interface would. Each story
writes a phrase and adds it to "Divers" with AJOUT; the saved board says it was added, the
journal (ORIVOX_JOURNAL) what was lit and chosen.

Usage: access_modes.py (kiosk|openbox|both) ORIVOX_BINARY [STORY...]
"""
import sys
import time

from switch_stories import Program, expect, run_stories, saved_tabs

# The page's buttons in order: Je, veux, manger, ANNULATION, SUPPRESSION, VALIDATION, AJOUT,
# CLEAR, RETOUR, SONNERIE.
WORDS = [("Mots", ["Je", "veux", "manger"])]


def lit_since(p, event="texte"):
    return [d for _, e, d in p.entries()[p.seen:] if e == event]


def save_and_check_divers(p, s, phrase):
    p.enter_creation_mode()
    s.chord("Control_L", "r")
    p.wait_for("enregistrement", None, 10)
    expect("Divers after AJOUT", saved_tabs(p.board).get("Divers"), [phrase])


def story_two_switches(s, binary):
    """Space moves, Enter chooses, main or keypad: the tab lit at once is chosen, its first text
    lit at once; nothing moves by itself; Space held long under the keyboard's auto-repeat is one
    step; "Je veux" is added to "Divers"."""
    s.set_num_lock(True)
    p = Program(s, binary, WORDS, 1, 1, "two_switches", settings={"accessMode": "twoSwitchStep"})
    try:
        p.wait_for("onglet", "Mots")
        s.tap("Return")
        p.wait_for("choix-onglet", "Mots", 5)
        p.wait_for("texte", "Je", 5)
        time.sleep(2.5)  # more than two paces: nothing may move
        expect("lit while waiting", lit_since(p), [])
        s.tap("KP_Enter")
        p.wait_for("choix", "Je", 5)
        s.tap("space", 1.5)  # held past the auto-repeat delay: still one step
        p.wait_for("texte", "veux", 5)
        time.sleep(0.5)
        expect("lit after a held Space", lit_since(p), [])
        s.tap("Return")
        p.wait_for("choix", "veux", 5)
        for text in ["manger", "ANNULATION", "SUPPRESSION", "VALIDATION", "AJOUT"]:
            # A press within a few ms of the last release is taken for the keyboard's repeat.
            time.sleep(0.2)
            s.tap("space")
            p.wait_for("texte", text, 5)
        s.tap("Return")
        p.wait_for("choix", "AJOUT", 5)
        time.sleep(0.3)
        expect("choices", p.choices(), ["Je", "veux", "AJOUT"])
        save_and_check_divers(p, s, "Je veux")
        p.close()
    except Exception:
        p.kill()
        raise
    return p


def story_inverse(s, binary):
    """A held keypad key moves the highlight at the pace (1 s); letting go chooses what is lit;
    a brush shorter than the acceptance time (0.4 s) chooses nothing; "Je manger" is added to
    "Divers"."""
    s.set_num_lock(True)
    p = Program(s, binary, WORDS, 3, 1, "inverse",
                settings={"accessMode": "inverse", "acceptanceMs": "400"})
    try:
        time.sleep(1.0)
        s.key("KP_0", True)
        p.wait_for("onglet", "Mots", 5)
        time.sleep(0.7)
        s.key("KP_0", False)
        p.wait_for("choix-onglet", "Mots", 5)
        # Held: "Je" is lit at once; let go before the next step.
        s.key("KP_0", True)
        p.wait_for("texte", "Je", 5)
        time.sleep(0.6)
        s.key("KP_0", False)
        p.wait_for("choix", "Je", 5)
        time.sleep(0.3)
        s.tap("KP_0", 0.1)  # a brush
        time.sleep(0.5)
        expect("choices after a brush", p.choices(), ["Je"])
        # Held past X's auto-repeat delay, through "veux" to "manger", then on to AJOUT.
        s.key("KP_0", True)
        p.wait_for("texte", "veux", 5)
        seen = p.wait_for("texte", "manger", 5)
        p.at(seen + 0.5, "KP_0 let go on manger", lambda: s.key("KP_0", False))
        p.wait_for("choix", "manger", 5)
        time.sleep(0.3)
        s.key("KP_0", True)
        seen = p.wait_for("texte", "AJOUT", 10)
        p.at(seen + 0.5, "KP_0 let go on AJOUT", lambda: s.key("KP_0", False))
        p.wait_for("choix", "AJOUT", 5)
        time.sleep(0.3)
        expect("choices", p.choices(), ["Je", "manger", "AJOUT"])
        save_and_check_divers(p, s, "Je manger")
        p.close()
    except Exception:
        s.key("KP_0", False)
        p.kill()
        raise
    return p


def story_dwell(s, binary):
    """Each keypad press moves the highlight; 1.5 s without a press chooses what is lit; nothing
    is chosen before the first press nor again before the next; "Je manger" is added to
    "Divers"."""
    s.set_num_lock(True)
    p = Program(s, binary, WORDS, 1, 1, "dwell",
                settings={"accessMode": "stepDwell", "dwellMs": "1500"})
    try:
        time.sleep(2.5)
        expect("chosen before any press", p.choices("choix-onglet"), [])
        s.tap("KP_0")
        p.wait_for("onglet", "Mots", 5)
        p.wait_for("choix-onglet", "Mots", 5)
        s.tap("KP_1")
        p.wait_for("texte", "Je", 5)
        p.wait_for("choix", "Je", 5)
        time.sleep(2.5)
        expect("choices after the wait", p.choices(), ["Je"])
        for text in ["veux", "manger"]:
            time.sleep(0.3)
            s.tap("KP_0")
            p.wait_for("texte", text, 5)
        p.wait_for("choix", "manger", 5)
        for text in ["ANNULATION", "SUPPRESSION", "VALIDATION", "AJOUT"]:
            time.sleep(0.3)
            s.tap("KP_0")
            p.wait_for("texte", text, 5)
        p.wait_for("choix", "AJOUT", 5)
        time.sleep(0.3)
        expect("choices", p.choices(), ["Je", "manger", "AJOUT"])
        save_and_check_divers(p, s, "Je manger")
        p.close()
    except Exception:
        p.kill()
        raise
    return p


STORIES = {
    "two_switches": story_two_switches,
    "inverse": story_inverse,
    "dwell": story_dwell,
}


if __name__ == "__main__":
    sys.exit(run_stories(STORIES, "access"))
