"""The switch and the shortcuts through the real input path.

Starts the real program under an Xvfb of its own, with no window manager (a kiosk session)
or with openbox, and sends keys and clicks through the X server with XTEST, as a keyboard, a
USB switch interface or a carer's mouse would. What the program did is judged from what the
user and the carer would see: the texts chosen and the display area after each (the program's
journal, ORIVOX_JOURNAL), the tones of the bell, the windows on screen, the saved board.

Keys are timed from one process: each is planned from the moment the wanted item is seen lit,
in the middle of its interval, and sent from here; a key that leaves much later than planned
fails the story as "harness late", not as a fault of the program.

Usage: switch_stories.py (kiosk|openbox|both) ORIVOX_BINARY [STORY...]
"""
import base64
import os
import shutil
import subprocess
import sys
import tempfile
import time

from Xlib import X, XK, display, protocol
from Xlib.ext import xtest

LATE_S = 0.25  # a key sent this much after its planned time makes the run unfit to judge


class HarnessLate(Exception):
    pass


class StoryFailed(Exception):
    pass


def board_file(path, tabs, t1, t2, settings=None, pictures=None):
    """Writes a board in the program's file format (cp1252, CR LF), with the settings block
    when settings (key -> value) are given and the pictures block when pictures
    ((tab, text) -> SVG bytes) are."""
    lines = ["Ordinogramme", str(t1), str(t2), "", str(len(tabs)), ""]
    for colour in ("255", "clNavy", "clSilver"):
        lines += ["Arial", "12", colour, "0", "0", "0"]
    lines += ["Arial", "12", "-2147483640", "clWindow", "0", "0", "0", ""]
    for caption, texts in tabs:
        lines += [str(len(texts)), caption] + texts + [""]
    lines += ["Arial", "12", "-2147483640", "clWindow", "0", "0", "0"]
    if settings:
        lines += ["#OrivoxSettings 1"] + [f"{k}={v}" for k, v in settings.items()]
    if pictures:
        lines += ["#OrivoxPictures 1"]
        for i, svg in enumerate(pictures.values(), start=1):
            lines += [f"image={i},image/svg+xml,,{base64.b64encode(svg).decode('ascii')}"]
        for i, (tab, text) in enumerate(pictures.keys(), start=1):
            lines += [f"text={tab},{text},{i}"]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))


def saved_tabs(path):
    """The tabs of a saved board: caption -> texts."""
    with open(path, "rb") as f:
        lines = f.read().decode("cp1252").split("\r\n")
    count = int(lines[4])
    i, tabs = 32, {}
    for _ in range(count):
        m = int(lines[i])
        tabs[lines[i + 1]] = lines[i + 2:i + 2 + m]
        i += m + 3
    return tabs


class Session:
    """One Xvfb (and window manager) for all the stories of a run."""

    def __init__(self, wm, work):
        self.wm = wm
        self.work = work
        self.procs = []
        for n in range(120 + os.getpid() % 300, 900):
            if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
                break
        self.display_name = f":{n}"
        log = open(os.path.join(work, "xvfb.log"), "w")
        self.procs.append(subprocess.Popen(
            ["Xvfb", self.display_name, "-nolisten", "tcp", "-screen", "0", "1280x1024x24"],
            stdout=log, stderr=log))
        os.environ["DISPLAY"] = self.display_name
        for _ in range(100):
            try:
                self.d = display.Display(self.display_name)
                break
            except Exception:
                time.sleep(0.1)
        else:
            raise StoryFailed("Xvfb did not start")
        self.root = self.d.screen().root
        # Held keys repeat as on a real keyboard.
        self.d.change_keyboard_control(auto_repeat_mode=X.AutoRepeatModeOn)
        self.d.sync()
        if wm == "openbox":
            wmlog = open(os.path.join(work, "openbox.log"), "w")
            self.procs.append(subprocess.Popen(["openbox", "--sm-disable"], stdout=wmlog, stderr=wmlog))
            for _ in range(100):
                if self.wm_running():
                    break
                time.sleep(0.1)
            else:
                raise StoryFailed("openbox did not start")

    def wm_running(self):
        atom = self.d.intern_atom("_NET_SUPPORTING_WM_CHECK")
        return self.root.get_full_property(atom, X.AnyPropertyType) is not None

    def close(self):
        for p in reversed(self.procs):
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()

    # -- keyboard and mouse, through XTEST ----------------------------------------------------
    def keycode(self, name):
        code = self.d.keysym_to_keycode(XK.string_to_keysym(name))
        if not code:
            raise StoryFailed(f"no key code for {name}")
        return code

    def key(self, name, down):
        xtest.fake_input(self.d, X.KeyPress if down else X.KeyRelease, self.keycode(name))
        self.d.sync()

    def tap(self, name, hold=0.08):
        self.key(name, True)
        time.sleep(hold)
        self.key(name, False)

    def chord(self, modifier, name):
        self.key(modifier, True)
        self.tap(name)
        self.key(modifier, False)

    def type(self, text):
        for c in text:
            self.tap(c, 0.03)
            time.sleep(0.03)

    def num_lock_on(self):
        return bool(self.root.query_pointer().mask & X.Mod2Mask)

    def set_num_lock(self, on):
        # Num Lock is itself a switch key: set it before the program runs.
        if self.num_lock_on() != on:
            self.tap("Num_Lock")
        time.sleep(0.1)
        if self.num_lock_on() != on:
            raise StoryFailed("could not set Num Lock")

    def other_window(self):
        """A small window of this harness's own, as another program's would be: keys sent
        while it holds the input focus go to it, not to the board."""
        screen = self.d.screen()
        w = self.root.create_window(0, 0, 80, 60, 0, screen.root_depth, X.InputOutput,
                                    X.CopyFromParent, override_redirect=True,
                                    background_pixel=screen.white_pixel,
                                    event_mask=X.KeyPressMask | X.KeyReleaseMask)
        w.map()
        self.d.sync()
        for _ in range(100):
            if w.get_attributes().map_state == X.IsViewable:
                return w
            time.sleep(0.02)
        raise StoryFailed("the other window was not shown")

    def focus(self, w):
        self.d.set_input_focus(w, X.RevertToPointerRoot, X.CurrentTime)
        self.d.sync()

    def move(self, x, y):
        xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        self.d.sync()

    def click(self, x, y):
        self.move(x, y)
        time.sleep(0.05)
        xtest.fake_input(self.d, X.ButtonPress, 1)
        self.d.sync()
        time.sleep(0.05)
        xtest.fake_input(self.d, X.ButtonRelease, 1)
        self.d.sync()

    # -- windows on screen ------------------------------------------------------------------------
    def name_of(self, w):
        try:
            prop = w.get_full_property(self.d.intern_atom("_NET_WM_NAME"),
                                       self.d.intern_atom("UTF8_STRING"))
            if prop and prop.value:
                return prop.value.decode("utf-8", "replace")
            name = w.get_wm_name()
            if isinstance(name, bytes):
                name = name.decode("latin-1")
            return name or None
        except Exception:
            return None

    def shown_windows(self):
        """(window, title) of every top-level window on screen; with a window manager the
        application's window sits inside a frame, one level down."""
        shown = []
        for top in self.root.query_tree().children:
            try:
                if top.get_attributes().map_state != X.IsViewable:
                    continue
                candidates = [top] + list(top.query_tree().children)
            except Exception:
                continue
            for w in candidates:
                name = self.name_of(w)
                if name and name.lower() != "openbox":  # the window manager's own
                    shown.append((w, name))
                    break
        return shown

    def geometry(self, w):
        g = w.get_geometry()
        origin = w.translate_coords(self.root, 0, 0)
        return -origin.x, -origin.y, g.width, g.height


class Program:
    """The real program in a folder of its own, with its journal."""

    def __init__(self, session, binary, board_tabs, t1, t2, story, settings=None, model=False,
                 pictures=None):
        self.s = session
        self.folder = os.path.join(session.work, story)
        os.makedirs(os.path.join(self.folder, "conf"))
        shutil.copy(binary, os.path.join(self.folder, "orivox"))
        if model:
            # The French model where a copy of the program looks for it: share/orivox beside it.
            os.makedirs(os.path.join(self.folder, "share", "orivox"))
            os.symlink(os.path.join(os.path.dirname(os.path.abspath(binary)), "share", "orivox", "fr.db"),
                       os.path.join(self.folder, "share", "orivox", "fr.db"))
        self.board = os.path.join(self.folder, "tableau.ord")
        board_file(self.board, board_tabs, t1, t2, settings, pictures)
        with open(os.path.join(self.folder, "conf", "conf.txt"), "wb") as f:
            # The encipherment of "wmo", then the last board.
            f.write(b"\x4B\x4C\x80\r\n" + self.board.encode() + b"\r\n")
        self.journal_path = os.path.join(self.folder, "journal.txt")
        open(self.journal_path, "w").close()
        self.sent = []  # (what, planned, sent) in seconds
        # The words the program learns go into the story's folder, not the user's own.
        env = dict(os.environ, ORIVOX_JOURNAL=self.journal_path,
                   XDG_DATA_HOME=os.path.join(self.folder, "data"))
        env.pop("QT_QPA_PLATFORM", None)
        self.log = open(os.path.join(self.folder, "app.log"), "w")
        self.proc = subprocess.Popen([os.path.join(self.folder, "orivox")], env=env,
                                     stdout=self.log, stderr=self.log, cwd=self.folder)
        self.window = self.wait_window(lambda n: n.startswith("Orivox v1.0"), 30)
        x, y, w, h = self.s.geometry(self.window)
        self.area = (x, y, w, h)
        # Without a window manager the keyboard goes where the pointer is.
        self.s.move(x + w // 2, y + h // 2)
        self.seen = 0  # journal lines already looked at

    # -- the journal --------------------------------------------------------------------------
    def entries(self):
        with open(self.journal_path, encoding="utf-8") as f:
            out = []
            for line in f.read().splitlines():
                parts = line.split("\t")
                if len(parts) == 3:
                    out.append((int(parts[0]), parts[1], parts[2]))
            return out

    def wait_for(self, event, detail=None, timeout=40):
        """Waits for the next journal line of this event (and detail) after those seen;
        returns the moment it was seen."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            lines = self.entries()
            for i in range(self.seen, len(lines)):
                if lines[i][1] == event and (detail is None or lines[i][2] == detail):
                    self.seen = i + 1
                    return time.monotonic()
            if self.proc.poll() is not None:
                raise StoryFailed(f"the program ended while waiting for {event} {detail}")
            time.sleep(0.01)
        raise StoryFailed(f"no '{event} {detail}' within {timeout} s")

    def at(self, planned, what, action):
        """Sends `action` at the planned moment; a late send is the harness's fault."""
        now = time.monotonic()
        if planned > now:
            time.sleep(planned - now)
        sent = time.monotonic()
        self.sent.append((what, planned, sent))
        if sent - planned > LATE_S:
            raise HarnessLate(f"{what} left {1000 * (sent - planned):.0f} ms late")
        action()

    def pick(self, text, key, hold=0.08, delay=0.35):
        """Waits until `text` is lit, then presses and releases `key` within its interval."""
        seen = self.wait_for("texte", text)
        self.at(seen + delay, f"{key} on {text}", lambda: self.s.tap(key, hold))

    def wait_suggestion(self, word, timeout=10):
        """Waits for suggestions that offer `word`; returns them."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            lines = self.entries()
            for i in range(self.seen, len(lines)):
                if lines[i][1] == "suggestions" and word in lines[i][2].split("|"):
                    self.seen = i + 1
                    return lines[i][2].split("|")
            time.sleep(0.01)
        raise StoryFailed(f"'{word}' was not suggested within {timeout} s")

    def next_suggestions(self, timeout=10):
        """The first suggestions after the journal lines seen."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            lines = self.entries()
            for i in range(self.seen, len(lines)):
                if lines[i][1] == "suggestions":
                    self.seen = i + 1
                    return lines[i][2].split("|")
            time.sleep(0.01)
        raise StoryFailed(f"no suggestions within {timeout} s")

    def skip_seen(self):
        """What is in the journal now is behind us: the next wait looks only at what follows."""
        self.seen = len(self.entries())

    def times(self, event, detail):
        """The program's clock (ms) at each journal line of this event and detail."""
        return [t for t, e, d in self.entries() if e == event and d == detail]

    def choices(self, event="choix"):
        return [d for _, e, d in self.entries() if e == event]

    def count(self, event):
        return sum(1 for _, e, _ in self.entries() if e == event)

    def display_after_last(self):
        shown = [d for _, e, d in self.entries() if e == "affichage"]
        return shown[-1] if shown else None

    # -- windows ----------------------------------------------------------------------------
    def wait_window(self, matches, timeout):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            for w, name in self.s.shown_windows():
                if matches(name):
                    return w
            if hasattr(self, "proc") and self.proc.poll() is not None:
                raise StoryFailed("the program ended")
            time.sleep(0.05)
        raise StoryFailed(f"no window within {timeout} s; on screen: {self.titles()}")

    def titles(self):
        return [name for _, name in self.s.shown_windows()]

    def dialogs(self):
        return [n for n in self.titles() if not n.startswith("Orivox v1.0")]

    def wait_no_dialog(self, timeout=10):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if not self.dialogs():
                return
            time.sleep(0.05)
        raise StoryFailed(f"a dialog stays open: {self.dialogs()}")

    def enter_creation_mode(self):
        self.s.chord("Control_L", "c")
        prompt = self.wait_window(lambda n: n == "Veuillez rentrer le mot de passe", 10)
        x, y, w, h = self.s.geometry(prompt)
        self.s.move(x + w // 2, y + h // 2)
        time.sleep(0.3)
        self.s.type("wmo")
        self.s.tap("Return")
        self.wait_no_dialog()
        self.wait_for("mode", "création", 10)
        x, y, w, h = self.area
        self.s.move(x + w // 2, y + h // 2)

    def close(self):
        if self.proc.poll() is None:
            event = protocol.event.ClientMessage(
                window=self.window, client_type=self.s.d.intern_atom("WM_PROTOCOLS"),
                data=(32, [self.s.d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
            self.window.send_event(event, event_mask=X.NoEventMask)
            self.s.d.sync()
            try:
                self.proc.wait(20)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                raise StoryFailed(f"the program did not end after the close request; on screen: {self.titles()}")

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def report(self):
        lines = [f"  sent {what}: planned {p:.3f}, sent {1000 * (s - p):+.0f} ms" for what, p, s in self.sent]
        lines += [f"  journal {t} {e} {d}" for t, e, d in self.entries()]
        return "\n".join(lines)


WORDS = [("Mots", ["Je", "veux", "manger"])]


def expect(what, got, wanted):
    if got != wanted:
        raise StoryFailed(f"{what}: got {got!r}, expected {wanted!r}")


# -- the stories ------------------------------------------------------------------------------
# The page's buttons are lit in this order: Je, veux, manger, ANNULATION, SUPPRESSION,
# VALIDATION, AJOUT, CLEAR, RETOUR, SONNERIE.

def story_commands(s, binary):
    """Each reserved command chosen once with a different keypad key (Num Lock on): one
    action each; AJOUT after CLEAR still adds the phrase to "Divers"; after RETOUR a press
    chooses the tab that is still lit, at once."""
    s.set_num_lock(True)
    p = Program(s, binary, WORDS, 1, 1, "commands")
    try:
        p.wait_for("onglet", "Mots")
        p.at(time.monotonic() + 0.3, "KP_0 on the tab", lambda: s.tap("KP_0"))
        p.wait_for("choix-onglet", "Mots", 5)
        plan = [("Je", "KP_1"), ("veux", "KP_2"), ("ANNULATION", "KP_3"), ("VALIDATION", "KP_4"),
                ("SONNERIE", "KP_5"), ("manger", "KP_6"), ("SUPPRESSION", "KP_7"),
                ("CLEAR", "KP_8"), ("Je", "KP_9"), ("veux", "KP_Add"), ("AJOUT", "KP_Multiply")]
        for text, key in plan:
            p.pick(text, key)
            p.wait_for("choix", text, 5)
        p.pick("RETOUR", "KP_Subtract")
        p.wait_for("choix", "RETOUR", 5)
        t = time.monotonic()
        p.at(t + 0.25, "KP_Divide just after RETOUR", lambda: s.tap("KP_Divide"))
        chosen = p.wait_for("choix-onglet", "Mots", 5)
        if chosen - t > 0.6:
            raise StoryFailed("the press after RETOUR did not choose the lit tab at once")
        for text, key in [("Je", "KP_Decimal"), ("veux", "KP_Enter"), ("manger", "Return")]:
            p.pick(text, key)
            p.wait_for("choix", text, 5)
        time.sleep(0.5)
        expect("choices", p.choices(), [t for t, _ in plan] + ["RETOUR", "Je", "veux", "manger"])
        expect("tab choices", p.count("choix-onglet"), 2)
        expect("tones", p.count("ton"), 6)
        p.enter_creation_mode()
        s.chord("Control_L", "r")
        p.wait_for("enregistrement", None, 10)
        expect("Divers after AJOUT", saved_tabs(p.board).get("Divers"), ["Je veux"])
        p.close()
    except Exception:
        p.kill()
        raise
    return p


def story_navigation_keys(s, binary):
    """The keypad with Num Lock off sends arrows, Home, End, Page Up/Down, Insert, Delete:
    each is the switch, once, and moves neither the focus nor the page; keypad 5 is none."""
    s.set_num_lock(False)
    p = Program(s, binary, WORDS, 1, 1, "navigation")
    try:
        p.wait_for("onglet", "Mots")
        p.at(time.monotonic() + 0.3, "KP_Down on the tab", lambda: s.tap("KP_Down"))
        p.wait_for("choix-onglet", "Mots", 5)
        p.pick("Je", "KP_Insert")
        p.pick("veux", "KP_Begin")  # keypad 5: not a switch key
        p.pick("manger", "KP_End")
        p.pick("Je", "KP_Next")
        p.pick("veux", "KP_Left")
        p.pick("manger", "KP_Right")
        p.pick("Je", "KP_Home")
        p.pick("veux", "KP_Prior")
        p.pick("RETOUR", "KP_Up")
        p.wait_for("choix", "RETOUR", 5)
        p.at(time.monotonic() + 0.25, "KP_Delete just after RETOUR", lambda: s.tap("KP_Delete"))
        p.wait_for("choix-onglet", "Mots", 5)
        p.pick("Je", "KP_Down")
        time.sleep(1.5)
        expect("choices", p.choices(),
               ["Je", "manger", "Je", "veux", "manger", "Je", "veux", "RETOUR", "Je"])
        expect("tab choices", p.count("choix-onglet"), 2)
        expect("tones", p.count("ton"), 0)
        expect("display", p.display_after_last(), "Je manger Je veux manger Je veux Je ")
        p.kill()
    except Exception:
        p.kill()
        raise
    return p


def story_held(s, binary):
    """The switch held 2 s, long past the keyboard's auto-repeat: on the tab, on a text, on
    SUPPRESSION and on SONNERIE, each acts once."""
    s.set_num_lock(True)
    p = Program(s, binary, [("Mots", ["Je"])], 1, 3, "held")
    try:
        p.wait_for("onglet", "Mots")
        p.at(time.monotonic() + 0.2, "KP_0 held on the tab", lambda: s.tap("KP_0", 2.0))
        p.pick("Je", "KP_0", hold=2.0, delay=0.3)
        p.wait_for("choix", "Je", 5)
        p.pick("VALIDATION", "KP_Enter")
        p.pick("Je", "KP_1")
        p.pick("SUPPRESSION", "KP_0", hold=2.0, delay=0.3)
        p.wait_for("choix", "SUPPRESSION", 5)
        p.wait_for("affichage", None, 5)
        # One SUPPRESSION deletes the phrase being written; a repeat would take the one before.
        expect("phrases left after SUPPRESSION held", p.display_after_last().count("Je"), 1)
        p.pick("SONNERIE", "KP_0", hold=2.0, delay=0.3)
        p.wait_for("choix", "SONNERIE", 8)
        time.sleep(3.5)
        expect("choices", p.choices(), ["Je", "VALIDATION", "Je", "SUPPRESSION", "SONNERIE"])
        expect("tab choices", p.count("choix-onglet"), 1)
        expect("tones", p.count("ton"), 6)
        p.kill()
    except Exception:
        p.kill()
        raise
    return p


def story_clicks_and_shortcuts(s, binary):
    """A carer's clicks never take the switch away; the about box closes with any switch
    key; CTRL+C, CTRL+O, CTRL+P and CTRL+R act once each."""
    s.set_num_lock(True)
    p = Program(s, binary, WORDS, 1, 1, "shortcuts")
    try:
        x, y, w, h = p.area
        p.wait_for("onglet", "Mots")
        s.click(x + 25, y + 12)  # the tab strip
        p.at(time.monotonic() + 0.3, "KP_0 after a click on the tab", lambda: s.tap("KP_0"))
        p.wait_for("choix-onglet", "Mots", 3)
        p.wait_for("texte", "Je")
        s.click(x + w // 3, y + h - 60)  # the display area
        p.pick("veux", "KP_1")
        p.wait_for("texte", "manger")
        s.click(x + 20, y + 45)  # the first text of the page
        p.pick("ANNULATION", "KP_2")
        s.click(x + w - 68, y + h - 80)  # the logo
        p.wait_window(lambda n: n == "A propos", 10)
        time.sleep(0.3)
        s.tap("KP_3")
        p.wait_no_dialog(5)
        time.sleep(1.5)
        expect("choices", p.choices(), ["veux", "ANNULATION"])

        p.enter_creation_mode()
        s.chord("Control_L", "o")
        p.wait_window(lambda n: not n.startswith("Orivox v1.0"), 10)
        time.sleep(0.5)
        s.tap("Escape")
        p.wait_no_dialog()
        time.sleep(1.5)
        expect("dialogs after CTRL+O cancelled", p.dialogs(), [])

        s.chord("Control_L", "p")
        dlg = p.wait_window(lambda n: n == "Changement du mot de passe", 10)
        gx, gy, gw, gh = s.geometry(dlg)
        s.move(gx + gw // 2, gy + gh // 2)
        time.sleep(0.3)
        s.type("wmo")
        s.tap("Tab")
        s.type("wmo")
        s.tap("Return")
        p.wait_no_dialog()
        s.move(x + w // 2, y + h // 2)
        time.sleep(1.5)
        expect("dialogs after CTRL+P accepted", p.dialogs(), [])

        s.chord("Control_L", "r")
        p.wait_for("enregistrement", None, 10)
        time.sleep(1.5)
        expect("saves after one CTRL+R", p.count("enregistrement"), 1)
        p.close()
    except Exception:
        p.kill()
        raise
    return p


def story_acceptance(s, binary):
    """With an acceptance time of 1 s and paces of 0.5 s, the scan holds still while the switch
    is held: the tab and the text lit at the press are chosen once the time is reached, and a
    press let go before it chooses nothing and leaves its text lit a full pace."""
    s.set_num_lock(True)
    tabs = [("Mots", ["Je", "veux", "manger"]), ("Autres", ["Un"]), ("Plus", ["Deux"])]
    settings = {"tabPaceMs": 500, "textPaceMs": 500, "acceptanceMs": 1000}
    p = Program(s, binary, tabs, 1, 1, "acceptance", settings)
    try:
        seen = p.wait_for("onglet", "Mots")
        p.at(seen + 0.15, "KP_0 held 1.2 s on the tab", lambda: s.tap("KP_0", 1.2))
        p.wait_for("choix-onglet", None, 5)
        p.pick("Je", "KP_0", hold=1.2, delay=0.15)
        p.wait_for("choix", None, 5)
        p.pick("veux", "KP_1", hold=0.4, delay=0.1)  # let go before the acceptance time
        p.wait_for("texte", "manger", 5)
        time.sleep(0.5)
        expect("tab chosen", [d for _, e, d in p.entries() if e == "choix-onglet"], ["Mots"])
        expect("choices", p.choices(), ["Je"])
        expect("display", p.display_after_last(), "Je ")
        veux, manger = p.times("texte", "veux")[0], p.times("texte", "manger")[0]
        if manger - veux < 850:
            raise StoryFailed(f"after a short press 'manger' came {manger - veux} ms after 'veux'")
        p.kill()
    except Exception:
        p.kill()
        raise
    return p


def story_two_keys(s, binary):
    """Keypad 0 and Enter under one palm are one switch: on the tab they choose the tab and
    not its first text too; on a text they write it once."""
    s.set_num_lock(True)
    p = Program(s, binary, WORDS, 1, 1, "two_keys")
    try:
        seen = p.wait_for("onglet", "Mots")
        p.at(seen + 0.2, "KP_0 down on the tab", lambda: s.key("KP_0", True))
        p.wait_for("choix-onglet", "Mots", 5)
        seen = p.wait_for("texte", "Je")
        p.at(seen + 0.15, "KP_Enter down while KP_0 is held", lambda: s.key("KP_Enter", True))
        p.at(seen + 0.3, "KP_0 up", lambda: s.key("KP_0", False))
        p.at(seen + 0.45, "KP_Enter up", lambda: s.key("KP_Enter", False))
        seen = p.wait_for("texte", "veux")
        p.at(seen + 0.15, "KP_0 down on veux", lambda: s.key("KP_0", True))
        p.at(seen + 0.25, "KP_Enter down", lambda: s.key("KP_Enter", True))
        p.at(seen + 0.4, "KP_0 up", lambda: s.key("KP_0", False))
        p.at(seen + 0.5, "KP_Enter up", lambda: s.key("KP_Enter", False))
        p.wait_for("choix", "veux", 5)
        time.sleep(1.5)
        expect("choices", p.choices(), ["veux"])
        expect("tab choices", p.count("choix-onglet"), 1)
        expect("display", p.display_after_last(), "veux ")
        p.kill()
    except Exception:
        p.kill()
        raise
    return p


def story_release_elsewhere(s, binary):
    """The switch held while another window takes the keyboard, and let go there: the board
    does not take it for a switch still down; the next press acts, with another key or with
    the same one on the tab."""
    s.set_num_lock(True)
    p = Program(s, binary, WORDS, 1, 1, "release_elsewhere")
    other = s.other_window()
    try:
        seen = p.wait_for("onglet", "Mots")
        p.at(seen + 0.2, "KP_0 on the tab", lambda: s.tap("KP_0"))
        p.wait_for("choix-onglet", "Mots", 5)
        seen = p.wait_for("texte", "Je")
        p.at(seen + 0.1, "KP_0 down on Je", lambda: s.key("KP_0", True))
        p.at(seen + 0.15, "the other window takes the keyboard", lambda: s.focus(other))
        # Let go before the keyboard repeats it, once the board has learnt it lost the keyboard.
        p.at(seen + 0.7, "KP_0 up over the other window", lambda: s.key("KP_0", False))
        p.at(seen + 1.2, "the board takes the keyboard back", lambda: s.focus(p.window))
        time.sleep(0.3)
        p.skip_seen()
        p.pick("manger", "KP_1")
        p.wait_for("choix", "manger", 5)
        p.pick("RETOUR", "KP_2")
        p.wait_for("choix", "RETOUR", 5)
        p.at(time.monotonic() + 0.25, "KP_0 on the tab", lambda: s.tap("KP_0"))
        p.wait_for("choix-onglet", "Mots", 5)
        p.pick("Je", "KP_0")
        p.wait_for("choix", "Je", 5)
        time.sleep(0.5)
        expect("choices", p.choices(), ["manger", "RETOUR", "Je"])
        expect("display", p.display_after_last(), "manger Je ")
        p.kill()
    except Exception:
        p.kill()
        raise
    finally:
        other.destroy()
        s.d.sync()
    return p


def open_alphabet(s, p):
    """The only tab, "Alphabet", chosen with the switch when it is first lit."""
    seen = p.wait_for("onglet", "Alphabet")
    p.at(seen + 0.3, "KP_0 on the tab", lambda: s.tap("KP_0"))
    p.wait_for("choix-onglet", "Alphabet", 5)


def story_prediction(s, binary):
    """Word prediction with the real French model on "Alphabet" (linear scanning, 0.6 s): after
    "b" and "o" (written "Bo": the phrase starts there), the suggestions, scanned first, offer
    "Bonjour"; choosing it writes "Bonjour " in place of the letters, and one ANNULATION takes the
    whole word back."""
    s.set_num_lock(True)
    settings = {"textPaceMs": 600, "prediction": 1}
    p = Program(s, binary, [("Alphabet", ["b", "o", "n"])], 1, 1, "prediction", settings,
                model=True)
    try:
        open_alphabet(s, p)
        p.pick("b", "KP_0")
        p.wait_for("affichage", "B", 5)
        p.pick("o", "KP_0")
        p.wait_for("affichage", "Bo", 5)
        offered = p.wait_suggestion("Bonjour")
        if offered.index("Bonjour") >= 5:
            raise StoryFailed(f"'Bonjour' is not among the first five: {offered}")
        p.pick("Bonjour", "KP_0")
        p.wait_for("affichage", "Bonjour ", 5)
        p.pick("ANNULATION", "KP_0")
        p.wait_for("affichage", "", 5)
        time.sleep(0.5)
        expect("choices", p.choices(), ["b", "o", "Bonjour", "ANNULATION"])
        # After each choice the scan starts again at the suggestions, before the letters.
        lit = [d for _, e, d in p.entries() if e in ("texte", "choix")]
        after_o = lit[lit.index("o", lit.index("b") + 2) + 2]
        if after_o in ("b", "n"):
            raise StoryFailed(f"after 'o' the scan went on with the letters: {lit}")
        p.kill()
    except Exception:
        p.kill()
        raise
    return p


def picture_svg(colour):
    return (f"<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 72 72'>"
            f"<circle cx='36' cy='36' r='30' fill='{colour}'/></svg>").encode("ascii")


def story_picture_only(s, binary):
    """A tab of buttons that show their picture alone (the board's labels hidden): the switch
    chooses the tab, then the second picture, and the display area shows its text."""
    s.set_num_lock(True)
    tabs = [("Images", ["Boire", "Manger"])]
    settings = {"pictureLabel": "hidden", "textPaceMs": 700}
    pictures = {(0, 0): picture_svg("royalblue"), (0, 1): picture_svg("orange")}
    p = Program(s, binary, tabs, 1, 1, "picture_only", settings, pictures=pictures)
    try:
        seen = p.wait_for("onglet", "Images")
        p.at(seen + 0.3, "KP_0 on the tab", lambda: s.tap("KP_0"))
        p.wait_for("choix-onglet", "Images", 5)
        p.pick("Manger", "KP_1")
        p.wait_for("choix", "Manger", 5)
        p.wait_for("affichage", "Manger ", 5)
        expect("choices", p.choices(), ["Manger"])
        p.kill()
    except Exception:
        p.kill()
        raise
    return p


def story_accent_free(s, binary):
    """A word spelled without its accent finds the accented word: on a letter page without "è",
    the person spells "t", "r", "e", "s" (written "Tres", a capital at the phrase start); the
    suggestions offer "Très", and choosing it puts "Très " in the display area in place of the
    letters."""
    s.set_num_lock(True)
    settings = {"textPaceMs": 600, "prediction": 1}
    p = Program(s, binary, [("Alphabet", ["t", "r", "e", "s"])], 1, 1, "accent_free", settings,
                model=True)
    try:
        open_alphabet(s, p)
        for letter, shown in (("t", "T"), ("r", "Tr"), ("e", "Tre"), ("s", "Tres")):
            p.pick(letter, "KP_0")
            p.wait_for("affichage", shown, 5)
        offered = p.wait_suggestion("Très")
        if offered.index("Très") >= 5:
            raise StoryFailed(f"'Très' is not among the first five: {offered}")
        p.pick("Très", "KP_0")
        p.wait_for("affichage", "Très ", 5)
        expect("display", p.display_after_last(), "Très ")
        expect("choices", p.choices(), ["t", "r", "e", "s", "Très"])
        p.kill()
    except Exception:
        p.kill()
        raise
    return p


def story_sign(s, binary):
    """Where a phrase likely ends, its sign is offered: the person spells the first letters of
    "Merci" and of "beaucoup" until each is offered and chooses it, then chooses the "." offered
    after them; the display area shows "Merci beaucoup. ", the full stop against the word,
    without going to another page for it."""
    s.set_num_lock(True)
    settings = {"textPaceMs": 600, "prediction": 1}
    p = Program(s, binary, [("Alphabet", ["m", "e", "r", "c", "i", "b", "a", "u"])], 1, 1, "sign",
                settings, model=True)
    try:
        open_alphabet(s, p)
        chosen = []
        written = ""
        for word in ("Merci", "beaucoup"):
            typed = ""
            for letter in word.lower()[:4]:
                p.pick(letter, "KP_0")
                chosen.append(letter)
                typed += letter
                p.wait_for("affichage", written + (typed if written else typed.capitalize()), 5)
                try:
                    p.wait_suggestion(word, 3)
                    break
                except StoryFailed:
                    continue
            p.pick(word, "KP_0")
            chosen.append(word)
            written += word + " "
            p.wait_for("affichage", written, 5)
        p.wait_suggestion(".")
        p.pick(".", "KP_0")
        p.wait_for("affichage", "Merci beaucoup. ", 5)
        expect("display", p.display_after_last(), "Merci beaucoup. ")
        expect("choices", p.choices(), chosen + ["."])
        p.kill()
    except Exception:
        p.kill()
        raise
    return p


def story_let_go(s, binary):
    """On a board that replaces the words let go by (replacePassedOver=1): "Bonjour", offered
    after "b" and let go by for the letter "o", gives its slot to another word after "Bo"; the
    "o" taken back with ANNULATION offers it again."""
    s.set_num_lock(True)
    settings = {"textPaceMs": 600, "prediction": 1, "replacePassedOver": 1}
    p = Program(s, binary, [("Alphabet", ["b", "o", "n"])], 1, 1, "let_go", settings, model=True)
    try:
        open_alphabet(s, p)
        p.pick("b", "KP_0")
        p.wait_for("affichage", "B", 5)
        p.wait_suggestion("Bonjour")
        p.pick("o", "KP_0")
        p.wait_for("affichage", "Bo", 5)
        offered = p.next_suggestions()
        if "Bonjour" in offered or len(offered) < 5:
            raise StoryFailed(f"after 'Bo' the word let go by came back: {offered}")
        p.pick("ANNULATION", "KP_0")
        p.wait_for("affichage", "B", 5)
        p.wait_suggestion("Bonjour")
        p.pick("Bonjour", "KP_0")
        p.wait_for("affichage", "Bonjour ", 5)
        expect("choices", p.choices(), ["b", "o", "ANNULATION", "Bonjour"])
        p.kill()
    except Exception:
        p.kill()
        raise
    return p


STORIES = {
    "commands": story_commands,
    "navigation": story_navigation_keys,
    "held": story_held,
    "shortcuts": story_clicks_and_shortcuts,
    "acceptance": story_acceptance,
    "two_keys": story_two_keys,
    "release_elsewhere": story_release_elsewhere,
    "prediction": story_prediction,
    "picture_only": story_picture_only,
    "accent_free": story_accent_free,
    "sign": story_sign,
    "let_go": story_let_go,
}


def run_stories(stories, kind):
    """Runs the stories named on the command line (all by default) in a session of the window
    manager named first ("kiosk" or "openbox"), or in both side by side ("both"), each on a
    display of its own; prints one line a story and the journal of each failure."""
    wm, binary = sys.argv[1], sys.argv[2]
    names = sys.argv[3:] or list(stories)
    if wm == "both":
        kiosk = subprocess.Popen([sys.executable, sys.argv[0], "kiosk", binary] + names)
        time.sleep(1)  # the second session takes the next free display
        openbox = subprocess.Popen([sys.executable, sys.argv[0], "openbox", binary] + names)
        return 1 if (kiosk.wait() != 0) | (openbox.wait() != 0) else 0
    work = tempfile.mkdtemp(prefix=f"orivox-{kind}-{wm}-")
    session = Session(wm, work)
    failed = 0
    try:
        for name in names:
            started = time.monotonic()
            try:
                stories[name](session, binary)
                print(f"{wm} {name}: OK ({time.monotonic() - started:.0f} s)", flush=True)
            except HarnessLate as e:
                failed += 1
                print(f"{wm} {name}: FAIL (harness late, not a fault of the program): {e}", flush=True)
            except Exception as e:  # noqa: BLE001 - every failure is reported with its journal
                failed += 1
                print(f"{wm} {name}: FAIL: {e}", flush=True)
                journal = os.path.join(work, name, "journal.txt")
                if os.path.exists(journal):
                    print(open(journal, encoding="utf-8").read(), flush=True)
    finally:
        session.close()
    if failed == 0:
        shutil.rmtree(work, ignore_errors=True)
    else:
        print(f"kept for inspection: {work}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(run_stories(STORIES, "switch"))
