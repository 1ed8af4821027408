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
            p.wait_for("onglet", "Repas")
            p.wait_for("onglet", "Salutations")
            p.wait_for("onglet", "Repas")
            p.at(time.monotonic() + 0.3, "KP_0 on Repas", lambda: session.tap("KP_0"))
            p.wait_for("choix-onglet", "Repas", 5)
            p.pick("RETOUR", "KP_0")
            p.wait_for("choix", "RETOUR", 5)
            p.wait_for("onglet", None, 5)
            time.sleep(1)
            for t, role, name in heard(focus_path):
                print(t, role, name)
            print(p.report())
            p.close()
        except Exception:
            p.kill()
            raise
        ok = True
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
