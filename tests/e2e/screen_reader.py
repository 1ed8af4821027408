"""What a screen reader hears while the board scans, through the real accessibility bus.

Runs inside a D-Bus session of its own (screen_reader.sh starts it): the accessibility bus and
its registry are started here, a listener (focus_listener.py) hears every object that gains the
focus as a screen reader would, and the real program runs under Xvfb with the bridge on. The
names heard must be the items lit, as the program's journal tells them, in order: the tabs, then
the texts of the tab chosen from the first one on. A walk of the accessible tree of the window
finds no control without a name.

Usage: screen_reader.py (kiosk|openbox) ORIVOX_BINARY
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from switch_stories import Program, Session, StoryFailed, expect  # noqa: E402

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
BOARD = [("Salutations", ["bonjour", "merci"]), ("Repas", ["pain", "eau"])]


def start_accessibility_bus(work):
    """The accessibility bus and its registry, as a desktop session starts them."""
    if not os.path.exists(BUS_LAUNCHER):
        raise StoryFailed(f"{BUS_LAUNCHER} is missing (scripts/install-deps.sh: at-spi2-core)")
    log = open(os.path.join(work, "at-spi.log"), "w")
    proc = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"], stdout=log, stderr=log)
    for _ in range(100):
        found = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                                "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                               capture_output=True, text=True)
        if found.returncode == 0 and "unix:" in found.stdout:
            return proc
        time.sleep(0.1)
    raise StoryFailed("the accessibility bus did not start")


def start_listener(work):
    path = os.path.join(work, "focus.txt")
    log = open(os.path.join(work, "listener.log"), "w")
    proc = subprocess.Popen(["/usr/bin/python3", os.path.join(HERE, "focus_listener.py"), path],
                            stdout=subprocess.PIPE, stderr=log, text=True)
    if proc.stdout.readline().strip() != "listening":
        raise StoryFailed(f"the listener did not start: {open(log.name).read()}")
    return proc, path


def heard(path):
    """(moment, role, name) of each object that gained the focus so far."""
    with open(path, encoding="utf-8") as f:
        return [tuple(line.rstrip("\n").split("\t")) for line in f if line.count("\t") == 2]


HOLDER = "Défilement des onglets"  # the widget that keeps the keyboard while the tabs scan


def lit_items(program):
    """The items lit, in order, as the program's journal tells them: each tab and text the
    highlight reaches, and after RETOUR the tab chosen, still lit."""
    lit, chosen_tab = [], None
    for _, event, detail in program.entries():
        if event in ("onglet", "texte"):
            lit.append(detail)
        elif event == "choix-onglet":
            chosen_tab = detail
        elif event == "choix" and detail == "RETOUR":
            lit.append(chosen_tab)
    return lit


def check_heard(program, focus_path):
    events = heard(focus_path)
    names = [name for _, _, name in events]
    if "Buttoncache" in names:
        raise StoryFailed(f"an internal widget was announced: {names}")
    # The holder may be heard as the tabs begin, but the lit tab must follow it at once.
    for i, name in enumerate(names):
        if name == HOLDER and (i + 1 >= len(names) or names[i + 1] == HOLDER):
            raise StoryFailed(f"the focus holder was left current: {names}")
        if not name.strip():
            raise StoryFailed(f"an object without a name gained the focus: {events}")
    spoken = [n for n in names if n != HOLDER]
    lit = lit_items(program)
    # The last step may be lit as the listener stops: it need not have been heard yet.
    if spoken[:len(lit)] != lit and spoken != lit[:len(spoken)] or len(spoken) < len(lit) - 1:
        raise StoryFailed(f"heard {spoken}, lit {lit}")
    return spoken


def walk_unnamed(program_name):
    """The controls on screen of the program's accessible tree that have no name."""
    import pyatspi  # noqa: PLC0415 - only in the story's own session
    controls = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_COMBO_BOX,
                pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
                pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TOGGLE_BUTTON,
                pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_PASSWORD_TEXT}
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [a for a in desktop if a is not None and a.name == program_name]
    if not apps:
        raise StoryFailed(f"the program is not on the accessibility bus: {[a.name for a in desktop if a]}")
    unnamed, seen = [], 0

    def walk(node, depth):
        nonlocal seen
        if node is None or depth > 60:
            return
        states = node.getState()
        if not states.contains(pyatspi.STATE_SHOWING):
            return
        seen += 1
        if node.getRole() in controls and not (node.name or "").strip():
            unnamed.append(f"{node.getRoleName()} under {node.parent.name if node.parent else '?'}")
        for child in node:
            walk(child, depth + 1)

    for app in apps:
        walk(app, 0)
    if seen < 20:
        raise StoryFailed(f"only {seen} objects found on the accessibility bus")
    return unnamed


def main():
    wm, binary = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp(prefix=f"orivox-a11y-{wm}-")
    os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    session = Session(wm, work)
    procs = []
    ok = False
    try:
        procs.append(start_accessibility_bus(work))
        listener, focus_path = start_listener(work)
        procs.append(listener)
        session.set_num_lock(True)
        p = Program(session, binary, BOARD, 1, 1, "scan")
        try:
            # Tabs, then the second tab chosen, its texts from the first, then RETOUR.
            p.wait_for("onglet", "Repas")
            p.wait_for("onglet", "Salutations")
            p.wait_for("onglet", "Repas")
            p.at(time.monotonic() + 0.3, "KP_0 on Repas", lambda: session.tap("KP_0"))
            p.wait_for("choix-onglet", "Repas", 5)
            p.pick("RETOUR", "KP_0")
            p.wait_for("choix", "RETOUR", 5)
            p.wait_for("onglet", None, 5)
            time.sleep(0.5)
            spoken = check_heard(p, focus_path)
            unnamed = walk_unnamed("Orivox")
            if unnamed:
                raise StoryFailed(f"controls without a name: {unnamed}")
            p.close()
        except Exception:
            print("heard:", heard(focus_path))
            print(p.report())
            p.kill()
            raise
        print(f"{wm} screen reader: OK (heard {' | '.join(spoken)})")
        ok = True
    except StoryFailed as e:
        print(f"{wm} screen reader: FAIL: {e}")
    finally:
        for proc in reversed(procs):
            proc.terminate()
        session.close()
        if ok:
            shutil.rmtree(work, ignore_errors=True)
        else:
            print(f"kept for inspection: {work}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
