"""Hours of use in minutes: the real program under Wine, driven by mouse and keyboard
the way a person would, with a fixed random seed, and checked after every step.

Four Notepads sit in the four quarters of the desktop, each under a caption of its
own ("Soak 1 - Notepad" ...). The person adds notes to them, types, ticks boxes,
changes fonts, drags, resizes, shrinks notes to tiles and back, deletes notes, closes
Notepads and opens them again, retitles them, exports notes and imports them onto
another Notepad, quits and starts the program again, and now and then kills it
(kill -9). After every step:

- the program runs;
- at every checkpoint, once the delayed save is due, every note on screen with text
  is in the store with the text it shows (an empty new note is written with its
  first change), and every note the store held and nobody deleted is still there
  with its text (a hidden note cannot change);
- after a quit, the store holds the ticks the boxes showed;
- after a kill, the store a start would read still holds every saved note;
- the program's kernel handles, windows and private memory are sampled; after a
  warm-up their slope over time must stay near zero (the report gives it).

run(seconds, seed) returns the report as a dict; the scenario and the bench print it.
"""

import os
import random
import shutil
import statistics
import sys
import time
import zipfile
from dataclasses import dataclass, field
from pathlib import Path

from vn_desktop import HEIGHT, NOTE_FONT_BUTTON, WIDTH, ScenarioFailure, body_point, expect, note_point
from vn_store import load_settled, rtf_text

TARGETS = 4
QUARTER = (WIDTH // 2, (HEIGHT - 40) // 2)  # the taskbar keeps the bottom 40 px
NOTEPAD_SIZE = (QUARTER[0] - 20, QUARTER[1] - 20)
NOTE_MIN, NOTE_MAX = (362, 250), (600, 360)  # resizing keeps a note inside its quarter
FIRST_BOX = 1000
# How often the program is quit or killed, against 88 for everything else: often in
# the short run, so that both happen; rarely in the long one, so that the program
# runs long enough between starts for a slope of its handles and memory to show.
RESTARTS = float(os.environ.get("VN_SOAK_RESTARTS", "1.2"))
DRAG_STEPS = 4  # pointer moves of a drag, a tenth of a second apart
GRIP_DEAD_ZONE = 10
SCROLL_BAR = 18  # a horizontal scroll bar (the body area's, the export list's)
LIST_HEADER = 22  # the export list's column headers
SIZE_BOX = 0x472  # the font dialog's size combo box
WORDS = ("milk", "eggs", "call Ana", "Friday", "report", "42", "todo", "done", "bread", "fix bug", "x", "note")

# Buttons and grips in the note, from its top-left corner (default layout).
DELETE_BUTTON = (267 + 37, 80 + 12)
BACKGROUND = (12, 40)  # the yellow border left of the title: a drag handle


def minimize_button(note):
    return (note.width - 95 + 37, 30 + 12)


def grip(note):
    return (note.width - 43 + 10, note.height - 57 + 10)


def grip_result(size, delta):
    """The size a note ends at when its grip is dragged by `delta` in the drag's steps:
    each step is measured from the size the last step taken left, and a step of 10 px
    or less both ways is ignored (so the last one may be too)."""
    w, h = size
    for i in range(1, DRAG_STEPS + 1):
        step = (size[0] + delta[0] * i // DRAG_STEPS, size[1] + delta[1] * i // DRAG_STEPS)
        if abs(step[0] - w) > GRIP_DEAD_ZONE or abs(step[1] - h) > GRIP_DEAD_ZONE:
            w, h = step
    return w, h


def normal(text):
    """A body's text as the store's reader gives it: lines joined with LF, no final break."""
    return (text or "").replace("\r\n", "\n").replace("\r", "\n").strip("\n")


@dataclass
class Target:
    index: int
    caption: str
    program: object = None
    hwnd: int = 0

    @property
    def quarter(self):
        return ((self.index % 2) * QUARTER[0], (self.index // 2) * QUARTER[1])


@dataclass
class Sample:
    t: float
    life: int
    handles: int
    windows: int
    private: int
    rss: int
    gdi: int
    user: int
    notes: int
    boxes: int
    file_dialogs: int  # the system's file dialogs shown so far (see Soak.file_dialog)


@dataclass
class Report:
    seed: int
    seconds: float = 0
    steps: dict = field(default_factory=dict)
    checkpoints: int = 0
    restarts: int = 0
    kills: int = 0
    covered: int = 0  # times a note was under another window where the person was about to click
    balloon_waits: int = 0  # times a tray balloon lay there and the person waited for it to go
    samples: list = field(default_factory=list)
    left_out: list = field(default_factory=list)


class Soak:
    def __init__(self, desktop, seconds, seed, log=print):
        self.desktop = desktop
        self.seconds = seconds
        self.rng = random.Random(seed)
        self.report = Report(seed)
        self.log = log
        self.verbose = os.environ.get("VN_SOAK_VERBOSE") == "1"
        self.program = None
        self.life = 0
        self.life_started = 0
        self.targets = []
        self.next_caption = 1
        self.confirmed = {}  # caption -> text the store held at the last checkpoint
        self.deleted = set()
        self.seen = {}  # caption -> the text last seen on screen, saved or not yet
        self.last_change = 0
        self.exports = []
        self.file_dialogs = 0
        self.started = time.monotonic()
        self.out_folder = Path(desktop.prefix).parent / (Path(desktop.prefix).name + "-exports")
        self.out_folder.mkdir(parents=True, exist_ok=True)

    # --- the program ----------------------------------------------------------------

    def start_program(self):
        self.program = self.desktop.start_vantory_note().ready(timeout=30)
        self.life += 1
        self.life_started = time.monotonic()

    def alive(self):
        expect(self.program.running(), "the program ended by itself")
        expect(self.program.linux_pid() is not None, "the program's process is gone")

    def notes(self):
        """Note windows on screen, with their editor text and boxes, by target caption."""
        windows = self.desktop.windows(children=True)
        by_parent = {}
        for w in windows:
            by_parent.setdefault(w.parent, []).append(w)
        found = {}
        for w in windows:
            if w.cls != "TFStickyNote" or w.pid != self.program.pid or not w.visible:
                continue
            caption = w.caption.split(" - ", 1)[1] if " - " in w.caption else w.caption
            inside, stack = [], list(by_parent.get(w.hwnd, []))
            while stack:
                child = stack.pop()
                inside.append(child)
                stack.extend(by_parent.get(child.hwnd, []))
            editor = [c for c in inside if c.cls.lower().startswith("richedit")]
            boxes = {c.id - FIRST_BOX: c for c in inside
                     if c.cls.lower() == "button" and FIRST_BOX <= c.id < FIRST_BOX + 100}
            body = [c for c in inside if c.cls == "VnNoteScrollBox"]
            found[caption] = {"window": w, "editor": editor[0] if editor else None, "boxes": boxes,
                              "body": body[0] if body else None}
        return found

    def in_view(self, hwnd, point):
        """The pointer goes to a place, and true when the window is what lies there. A
        tray balloon there (the picking prompt, the start-up message: Wine shows one
        2 s after it is asked for, for 10 s) is waited out, as a person waits for it to
        go rather than click on it. The pointer's move also brings Wine's list of
        windows in line with the screen at that place."""
        self.desktop.move_mouse(point)
        if self.at_root(point) == hwnd:
            return True
        waited = self.desktop.wait_for_balloon_to_go(point)
        if waited:
            self.report.balloon_waits += 1
            self.log(f"[{time.monotonic() - self.started:6.0f} s] waited {waited:.1f} s for a tray balloon at {point}")
        return self.at_root(point) == hwnd

    def point_at_note(self, note_window, point):
        """The pointer goes to a place on a note, and the note has to be what is there
        before the person clicks, as they would see it. Under Wine a window another
        program activates (a Notepad picked with Alt+Tab, one opened again) lies above
        its note until the note's next tick stacks it back (half a second); a click
        meanwhile goes to that window, and the keys after it too."""
        on_top = lambda: self.at_root(point) == note_window.hwnd
        if self.in_view(note_window.hwnd, point):
            return
        self.report.covered += 1
        try:
            self.desktop.wait_until(on_top, 3, f"the note {note_window} on top at {point}")
        except ScenarioFailure as failure:
            raise ScenarioFailure(f"{failure}: {self.keyboard(point)}") from None

    def click_note(self, note_window, point):
        self.point_at_note(note_window, point)
        self.desktop.click(point)

    def at_root(self, point):
        return self.desktop.inspector.ask("focus", *point).get("at_root")

    def click_in_dialog(self, dialog, caption):
        """A dialog's button, as a person clicks it. Where another window covers it (the
        note of a Notepad picked over the import dialog, stacked above its Notepad) the
        person first clicks the dialog's title bar, which brings the dialog forward."""
        buttons = [w for w in self.desktop.windows(children=True)
                   if w.parent == dialog.hwnd and w.cls == "Button" and w.caption.replace("&", "") == caption]
        expect(buttons, f"{dialog} has no button {caption!r}")
        point = buttons[0].center
        if not self.in_view(dialog.hwnd, point):
            if not (now := self.desktop.window(dialog.hwnd)) or not now.visible:
                return  # closed meanwhile (by an earlier click that was slow to act)
            self.report.covered += 1
            for x in (dialog.rect[0] + 40, (dialog.rect[0] + dialog.rect[2]) // 2, dialog.rect[2] - 60):
                title = (x, dialog.rect[1] + 10)
                self.desktop.move_mouse(title)
                if self.at_root(title) == dialog.hwnd:
                    self.desktop.click(title)
                    break
            self.desktop.move_mouse(point)
            try:
                self.desktop.wait_until(lambda: self.at_root(point) == dialog.hwnd, 3, f"{caption!r} of {dialog} in view")
            except ScenarioFailure as failure:
                # Wine raises no window that is active already: a note stacked above its
                # Notepad after the import dialog came back to the front stays above
                # it. The dialog has the keyboard, and Esc is its Close.
                if caption in ("Close", "Cancel") and self.desktop.inspector.ask("focus", *point).get(
                        "foreground") == dialog.hwnd:
                    self.desktop.xdotool("key", "Escape")
                    return
                raise ScenarioFailure(f"{failure}: {self.keyboard(point)}") from None
        self.desktop.click(point)

    def keyboard(self, point):
        """Where the keys go and what is at a point, in words: for the failure message
        of a step whose typing did not arrive."""
        answer = self.desktop.inspector.ask("focus", *point)
        names = {w.hwnd: w for w in self.desktop.windows(children=True)}
        said = lambda key: f"{key} {names[answer[key]]}" if answer.get(key) in names else f"{key} {answer.get(key)}"
        return ", ".join(said(k) for k in ("foreground", "active", "focus", "capture", "at"))

    def text_on_screen(self, note):
        expect(note["editor"] is not None, f"the note {note['window']} has no editor")
        return normal(self.desktop.text_of(note["editor"]))

    def stored(self):
        """caption -> (text, checks) of the store a start would read."""
        notes = load_settled(self.desktop.data_folder) or []
        for n in notes:
            expect(n.body is not None, f"the body of {n.record.caption!r} is missing from the store")
        return {n.record.caption: (normal(rtf_text(n.body)), n.record.checks) for n in notes}

    def sample(self):
        answer = self.desktop.inspector.ask("resources", self.program.pid)
        expect(answer.get("ok"), f"the program's resources could not be read: {answer}")
        rss = 0
        pid = self.program.linux_pid()
        if pid:
            for line in Path(f"/proc/{pid}/status").read_text().splitlines():
                if line.startswith("RssAnon:"):
                    rss = int(line.split()[1]) * 1024
        on_screen = self.notes()
        s = Sample(time.monotonic(), self.life, answer["handles"], answer["windows"], answer["private"], rss,
                   answer["gdi"], answer["user"], len(on_screen),
                   sum(1 for n in on_screen.values() for b in n["boxes"].values()), self.file_dialogs)
        self.report.samples.append(s)
        return s

    # --- checkpoints ------------------------------------------------------------------

    def checkpoint(self):
        """After the delayed save is due: screen and store agree, nothing was lost."""
        self.alive()
        wait = self.last_change + 5.5 - time.monotonic()
        if wait > 0:
            time.sleep(wait)
        deadline = time.monotonic() + 10
        while True:
            on_screen = {c: self.text_on_screen(n) for c, n in self.notes().items()}
            store = self.stored()
            # A new note is written with the first change in it (or at exit): an empty
            # note on screen may be missing from the store.
            problems = [f"{c!r} shows {t!r} but the store has {store.get(c, ('(nothing)',))[0]!r}"
                        for c, t in on_screen.items() if store.get(c, (None,))[0] != t and (t or c in store)]
            problems += [f"{c!r} ({t!r}) was lost from the store" for c, t in self.confirmed.items()
                         if c not in store and c not in self.deleted]
            # A note typed into and hidden before its save is saved as it was last seen.
            problems += [f"{c!r} changed from {t!r} to {store[c][0]!r} while not on screen"
                         for c, t in self.confirmed.items()
                         if c in store and c not in on_screen and store[c][0] not in (t, self.seen.get(c))]
            problems += [f"the deleted note {c!r} is back in the store" for c in self.deleted if c in store]
            if not problems:
                break
            if time.monotonic() > deadline:
                raise ScenarioFailure("; ".join(problems))
            time.sleep(0.5)
        self.confirmed = {c: t for c, (t, _) in store.items()}
        self.seen.update(on_screen)
        self.report.checkpoints += 1
        s = self.sample()
        self.log(f"[{time.monotonic() - self.started:6.0f} s] checkpoint {self.report.checkpoints}: "
                 f"{len(store)} stored, {s.notes} shown, {s.boxes} boxes, handles {s.handles}, windows {s.windows}, "
                 f"private {s.private // 1024} KiB, anon RSS {s.rss // 1024} KiB")

    # --- targets ----------------------------------------------------------------------

    def open_target(self, target):
        before = {w.hwnd for w in self.desktop.windows() if w.cls == "Notepad"}
        notepad = self.desktop.start_notepad()
        window = self.desktop.wait_until(
            lambda: [w for w in self.desktop.windows() if w.cls == "Notepad" and w.visible and w.hwnd not in before],
            20, "a new Notepad")[0]
        target.program, target.hwnd = notepad, window.hwnd
        x, y = target.quarter
        self.desktop.act("move", window.hwnd, x + 4, y + 4, *NOTEPAD_SIZE)
        self.desktop.retitle(window, target.caption)
        self.desktop.wait_until(lambda: (self.desktop.window(window.hwnd) or window).caption == target.caption, 5,
                                f"Notepad titled {target.caption!r}")

    def new_caption(self):
        caption = f"Soak {self.next_caption} - Notepad"
        self.next_caption += 1
        return caption

    def target_window(self, target):
        return self.desktop.window(target.hwnd)

    def note_of(self, target):
        return self.notes().get(target.caption)

    # --- actions ----------------------------------------------------------------------

    def act_add_note(self):
        free = [t for t in self.targets if t.caption not in self.notes() and t.caption not in self.confirmed]
        if not free:
            return False
        target = self.rng.choice(free)
        self.program.add_note(self.target_window(target), at=(200, 200))
        self.deleted.discard(target.caption)  # a new note under the caption of a deleted one
        self.changed()
        return True

    def shown_note(self, minimized=None):
        notes = [(c, n) for c, n in self.notes().items()
                 if minimized is None or (n["window"].width <= 110) == minimized]
        return self.rng.choice(notes) if notes else (None, None)

    def act_type(self):
        caption, note = self.shown_note(minimized=False)
        if not note:
            return False
        w = note["window"]
        point = body_point(w)
        self.click_note(w, point)
        clicked = self.keyboard(point)
        self.desktop.xdotool("key", "ctrl+End")
        words = " ".join(self.rng.choice(WORDS) for _ in range(self.rng.randint(1, 3)))
        if self.rng.random() < 0.5:
            self.desktop.xdotool("key", "Return")
        before = self.text_on_screen(note)
        self.desktop.type_text(words)
        try:
            self.seen[caption] = self.desktop.wait_until(
                lambda: (lambda t: t if t.endswith(words) else None)(self.text_on_screen(self.notes()[caption])), 10,
                f"{words!r} in the note on {caption!r} (it had {before!r})")
        except ScenarioFailure as failure:
            raise ScenarioFailure(f"{failure}; the click at {point} into {note['editor']}: {clicked}; "
                                  f"now {self.keyboard(point)}") from None
        self.changed()
        return True

    def act_tick(self):
        caption, note = self.shown_note(minimized=False)
        if not note:
            return False
        # A box scrolled out of the body area, or under its scroll bar, is not there to click.
        body = note["body"].rect if note["body"] else note["window"].rect
        boxes = [b for b in note["boxes"].values()
                 if b.visible and body[1] <= b.rect[1] and b.rect[3] <= body[3] - SCROLL_BAR]
        if not boxes:
            return False
        box = self.rng.choice(boxes)
        was = box.checked
        self.click_note(note["window"], box.center)
        self.desktop.wait_until(lambda: self.notes()[caption]["boxes"][box.id - FIRST_BOX].checked != was, 5,
                                f"the box of line {box.id - FIRST_BOX} on {caption!r} to change")
        return True

    def act_font(self):
        caption, note = self.shown_note(minimized=False)
        if not note:
            return False
        w = note["window"]
        self.click_note(w, body_point(w))
        self.desktop.xdotool("key", "ctrl+End")
        self.click_note(w, note_point(w, NOTE_FONT_BUTTON))
        dialog = self.program.font_dialog()
        children = self.desktop.windows(children=True)
        combo = [c for c in children if c.parent == dialog.hwnd and c.id == SIZE_BOX]
        if combo and self.rng.random() < 0.8:
            size = [c for c in children if c.parent == combo[0].hwnd and c.cls == "Edit"]
            if size:
                self.desktop.click(size[0].center)
                for _ in range(self.rng.randint(1, 6)):
                    self.desktop.xdotool("key", self.rng.choice(["Down", "Up"]))
            self.click_in_dialog(dialog, "OK")
            self.changed()
        else:
            self.click_in_dialog(dialog, "Cancel")
        self.program.wait_for_font_dialog_to_close()
        return True

    def drag(self, note_window, start, delta):
        x, y = start
        self.point_at_note(note_window, start)
        # At a person's pace: a press, a few moves a tenth of a second apart, a release.
        self.desktop.xdotool("mousedown", 1)
        time.sleep(0.2)
        for i in range(1, DRAG_STEPS + 1):
            self.desktop.xdotool("mousemove", x + delta[0] * i // DRAG_STEPS, y + delta[1] * i // DRAG_STEPS)
            time.sleep(0.1)
        self.desktop.xdotool("mouseup", 1)

    def quarter_of(self, caption):
        return next(t for t in self.targets if t.caption == caption).quarter

    def act_drag(self):
        caption, note = self.shown_note()
        if not note:
            return False
        w = note["window"]
        qx, qy = self.quarter_of(caption)
        # A new place inside the note's quarter; a tile opens at its place with the
        # note's size, so it gets room for the largest note.
        width, height = (w.width, w.height) if w.width > 110 else NOTE_MAX
        nx = self.rng.randint(qx + 5, max(qx + 5, qx + QUARTER[0] - width - 10))
        ny = self.rng.randint(qy + 5, max(qy + 5, qy + QUARTER[1] - height - 10))
        self.drag(w, note_point(w, BACKGROUND), (nx - w.rect[0], ny - w.rect[1]))
        self.desktop.wait_until(lambda: abs(self.notes()[caption]["window"].rect[0] - nx) <= 3 and
                                abs(self.notes()[caption]["window"].rect[1] - ny) <= 3, 5,
                                f"the note on {caption!r} at ({nx}, {ny})")
        return True

    def act_resize(self):
        caption, note = self.shown_note(minimized=False)
        if not note:
            return False
        w = note["window"]
        qx, qy = self.quarter_of(caption)
        room = (min(NOTE_MAX[0], qx + QUARTER[0] - w.rect[0] - 5), min(NOTE_MAX[1], qy + QUARTER[1] - w.rect[1] - 5))
        if room[0] < NOTE_MIN[0] or room[1] < NOTE_MIN[1]:
            return False
        delta = (self.rng.randint(NOTE_MIN[0], room[0]) - w.width, self.rng.randint(NOTE_MIN[1], room[1]) - w.height)
        width, height = grip_result((w.width, w.height), delta)
        if (width, height) == (w.width, w.height):
            return False
        self.drag(w, note_point(w, grip(w)), delta)
        self.desktop.wait_until(lambda: abs(self.notes()[caption]["window"].width - width) <= 3 and
                                abs(self.notes()[caption]["window"].height - height) <= 3, 5,
                                f"the note on {caption!r} at {width} x {height}")
        return True

    def act_tile(self):
        caption, note = self.shown_note()
        if not note:
            return False
        w = note["window"]
        if w.width <= 110:
            self.point_at_note(w, (w.rect[0] + 50, w.rect[1] + 50))
            self.desktop.xdotool("click", "--repeat", 2, "--delay", 80, 1)
            self.desktop.wait_until(lambda: self.notes()[caption]["window"].width > 110, 5,
                                    f"the tile on {caption!r} to open")
        else:
            self.click_note(w, note_point(w, minimize_button(w)))
            self.desktop.wait_until(lambda: self.notes()[caption]["window"].width <= 110, 5,
                                    f"the note on {caption!r} to become a tile")
        return True

    def act_delete(self):
        caption, note = self.shown_note(minimized=False)
        if not note or len(self.notes()) < 2:
            return False
        w = note["window"]
        self.click_note(w, note_point(w, DELETE_BUTTON))
        self.desktop.wait_until(lambda: caption not in self.notes(), 5, f"the note on {caption!r} to go")
        self.deleted.add(caption)
        self.confirmed.pop(caption, None)
        self.changed()
        return True

    def act_close_and_reopen(self):
        target = self.rng.choice(self.targets)
        had_note = target.caption in self.notes()
        self.desktop.act("close-window", target.hwnd)
        self.desktop.wait_until(lambda: self.target_window(target) is None, 10, f"{target.caption!r} to close")
        self.desktop.wait_until(lambda: target.caption not in self.notes(), 5,
                                f"the note of the closed {target.caption!r} to hide")
        self.open_target(target)
        if had_note:
            self.desktop.wait_until(lambda: self.note_of(target), 10,
                                    f"the note to come back on the reopened {target.caption!r}")
        return True

    def act_retitle(self):
        """The Notepad opens another file: its note hides; now and then it comes back to
        the old title and the note with it."""
        target = self.rng.choice(self.targets)
        window = self.target_window(target)
        old = target.caption
        back = self.rng.random() < 0.5
        new = self.new_caption()
        had_note = old in self.notes()
        # A person opens a file in the Notepad they work in: it is in front. (The notes
        # see a window retitled in the background only within about 2 s.)
        self.desktop.bring_to_front(window)
        self.desktop.wait_until(lambda: (self.desktop.window(window.hwnd) or window).foreground, 5,
                                f"{old!r} in front")
        self.desktop.retitle(window, new)
        if had_note:
            self.desktop.wait_until(lambda: old not in self.notes(), 5, f"the note of {old!r} to hide")
        if back:
            self.desktop.retitle(self.target_window(target), old)
            if had_note or old in self.confirmed:
                self.desktop.wait_until(lambda: old in self.notes(), 5, f"the note of {old!r} to come back")
        else:
            target.caption = new
        return True

    def act_export(self):
        if not self.confirmed:
            return False
        dialog = self.program.open_export_dialog()
        list_view = self.desktop.child(dialog, "SysListView32")
        view = self.desktop.list_view(list_view)
        expect(len(view["rows"]) == len(self.notes_in_program()),
               f"the export dialog lists {len(view['rows'])} notes, the program has {len(self.notes_in_program())}")
        # With many notes the list scrolls: a row below its visible part (or under its
        # header or horizontal scroll bar) is not there to tick.
        top, bottom = list_view.rect[1] + LIST_HEADER, list_view.rect[3] - SCROLL_BAR
        rows = [r for r in view["rows"] if top <= r["rect"][1] and r["rect"][3] <= bottom]
        if not rows:
            self.click_in_dialog(dialog, "Close")
            return True
        self.desktop.click_export_check_box(self.rng.choice(rows))
        self.desktop.wait_until(lambda: self.desktop.child(dialog, "Button", "Export").enabled, 5, "Export enabled")
        archive = self.out_folder / f"soak{len(self.exports)}.vnx"
        self.click_in_dialog(dialog, "Export")
        self.file_dialog("Save As", archive, "Save")
        self.desktop.wait_until(lambda: not (self.desktop.window(dialog.hwnd) or dialog).visible or
                                self.desktop.window(dialog.hwnd) is None, 10, "the export dialog to close")
        self.desktop.wait_until(archive.exists, 5, "the archive")
        with zipfile.ZipFile(archive) as z:
            expect(z.testzip() is None, f"{archive.name} is damaged")
            names = z.namelist()
            expect("Jotlets.txt" in names and len(names) == 2, f"{archive.name} holds {names}")
        self.exports.append(archive)
        return True

    def file_dialog(self, title, path, button):
        """The system's Save As or Open dialog. Wine's file dialog keeps one kernel
        handle of the program for good each time it is shown (an export dialog opened
        and closed adds none; a Save As opened and cancelled adds one): the handle
        counts are judged net of these."""
        self.file_dialogs += 1
        self.desktop.file_dialog(self.program, title, self.desktop.windows_path(path), button)

    def notes_in_program(self):
        """Every note the program lists: those in the store plus those made since the save."""
        return set(self.confirmed) | set(self.notes())

    def act_import(self):
        free = [t for t in self.targets if t.caption not in self.notes() and t.caption not in self.confirmed]
        if not self.exports or not free:
            return False
        target = self.rng.choice(free)
        self.program.open_tray_menu().choose("Import Notes")
        self.file_dialog("Select Vantory Note File to Import", self.rng.choice(self.exports), "Open")
        dialog = self.program.wait_for_window(10, "the import dialog", cls="TDlgImport", visible=True)
        view = self.desktop.list_view(self.desktop.child(dialog, "SysListView32"))
        expect(len(view["rows"]) == 1, f"the archive lists {len(view['rows'])} rows")
        row = view["rows"][0]
        self.desktop.click(((row["rect"][0] + row["rect"][2]) // 2, (row["rect"][1] + row["rect"][3]) // 2))
        self.desktop.wait_until(lambda: self.desktop.child(dialog, "Button", "Stick to Window").enabled, 5,
                                "Stick to Window to be enabled")
        self.click_in_dialog(dialog, "Stick to Window")
        self.program.wait_for_window(10, "the Information prompt", cls="VnInformationWindow", visible=True)
        # The import dialog covers the middle of the screen: the person switches to the
        # Notepad with the keyboard (Alt+Tab), which picks it as a click would.
        self.desktop.bring_to_front(self.target_window(target))
        self.desktop.wait_until(lambda: self.note_of(target), 10, f"the imported note on {target.caption!r}")
        self.deleted.discard(target.caption)
        # The dialog comes back to the front after the pick. Close it and see it go: a
        # click that landed while it was still on its way would leave it open, and the
        # next step's keys would go to it instead of a note.
        for _ in range(3):
            shown = self.desktop.window(dialog.hwnd)
            if not shown or not shown.visible:
                break
            self.click_in_dialog(shown, "Close")
            try:
                self.desktop.wait_until(lambda: not (w := self.desktop.window(dialog.hwnd)) or not w.visible, 5,
                                        "the import dialog to close")
            except Exception:
                continue
        shown = self.desktop.window(dialog.hwnd)
        expect(not shown or not shown.visible, "the import dialog did not close")
        self.changed()
        return True

    def act_quit_and_restart(self):
        on_screen = {c: (self.text_on_screen(n), n["boxes"]) for c, n in self.notes().items()}
        self.program.quit(timeout=30)
        store = self.stored()
        for caption, (text, boxes) in on_screen.items():
            expect(caption in store, f"after Quit the note on {caption!r} is not in the store")
            expect(store[caption][0] == text, f"after Quit {caption!r} stores {store[caption][0]!r}, showed {text!r}")
            checks = store[caption][1]
            for line, box in boxes.items():
                if box.visible and line < len(checks):
                    expect((checks[line] == "1") == bool(box.checked),
                           f"after Quit {caption!r} stores ticks {checks!r}; box {line} showed {box.checked}")
        self.confirmed = {c: t for c, (t, _) in store.items()}
        self.report.restarts += 1
        self.start_program()
        self.notes_come_back()
        return True

    def act_kill(self):
        """kill -9 at a random moment, typing or saving; then a start."""
        saved = dict(self.confirmed)
        on_screen = {c: self.text_on_screen(n) for c, n in self.notes().items()}
        time.sleep(self.rng.uniform(0, 6))
        self.program.kill_hard()
        self.desktop.wait_until(lambda: not self.program.running(), 15, "the killed program to end")
        store = self.stored()
        for caption, text in saved.items():
            expect(caption in store, f"after kill -9 the saved note {caption!r} is gone")
            expect(store[caption][0] in (text, on_screen.get(caption), self.seen.get(caption)),
                   f"after kill -9 {caption!r} reads {store[caption][0]!r}, neither saved {text!r} "
                   f"nor shown {on_screen.get(caption)!r}")
        # A deletion is written with the delayed save: killed before it, the note is
        # back, which loses nothing.
        self.deleted -= set(store)
        self.report.kills += 1
        self.start_program()
        self.notes_come_back(store)
        self.confirmed = {c: t for c, (t, _) in store.items()}
        self.last_change = time.monotonic()
        return True

    def notes_come_back(self, store=None):
        """Every stored note whose Notepad is open shows again after a start."""
        store = self.stored() if store is None else store
        open_captions = {t.caption for t in self.targets}
        expected = {c for c in store if c in open_captions}
        self.desktop.wait_until(lambda: expected <= set(self.notes()), 15,
                                f"the notes of {sorted(expected)} back after the start")

    def changed(self):
        self.last_change = time.monotonic()

    # --- the run ----------------------------------------------------------------------

    ACTIONS = [
        ("add_note", 10), ("type", 30), ("tick", 10), ("font", 4), ("drag", 8), ("resize", 6), ("tile", 6),
        ("delete", 3), ("close_and_reopen", 4), ("retitle", 3), ("export", 2), ("import", 2),
        ("quit_and_restart", RESTARTS), ("kill", RESTARTS),
    ]

    def run(self):
        self.started = time.monotonic()
        for i in range(TARGETS):
            self.targets.append(Target(i, self.new_caption()))
            self.open_target(self.targets[-1])
        self.start_program()
        names = [a for a, _ in self.ACTIONS]
        weights = [w for _, w in self.ACTIONS]
        steps_since_checkpoint = 0
        while time.monotonic() - self.started < self.seconds:
            name = self.rng.choices(names, weights)[0]
            began = time.monotonic()
            done = getattr(self, "act_" + name)()
            if done:
                self.report.steps[name] = self.report.steps.get(name, 0) + 1
                self.alive()
                self.sample()
                steps_since_checkpoint += 1
                if self.verbose:
                    self.log(f"[{began - self.started:6.0f} s] {name} ({time.monotonic() - began:.1f} s)")
                    self.desktop.screenshot(f"step{sum(self.report.steps.values()):04}-{name}")
            if name in ("quit_and_restart", "kill") and done or steps_since_checkpoint >= 6:
                self.checkpoint()
                steps_since_checkpoint = 0
        self.checkpoint()
        self.act_quit_and_restart()
        self.checkpoint()
        self.program.quit("the last Quit", timeout=30)
        self.report.seconds = time.monotonic() - self.started
        return self.report


def slope_per_minute(points):
    """Least-squares slope of (t, value) points, per minute."""
    if len(points) < 3:
        return None
    ts = [t for t, _ in points]
    vs = [v for _, v in points]
    mt, mv = statistics.fmean(ts), statistics.fmean(vs)
    den = sum((t - mt) ** 2 for t in ts)
    return None if den == 0 else 60 * sum((t - mt) * (v - mv) for t, v in zip(ts, vs)) / den


def summarize(report, warmup=60):
    """Per program life (start to quit or kill), after `warmup` seconds: the slope of
    kernel handles, of windows less what the shown notes and boxes account for, and of
    private memory; and the life with the most samples as the headline."""
    lives = {}
    for s in report.samples:
        lives.setdefault(s.life, []).append(s)
    rows = []
    for life, samples in sorted(lives.items()):
        start = samples[0].t
        warm = [s for s in samples if s.t - start >= warmup] or samples[len(samples) // 2:]
        rows.append({
            "life": life,
            "samples": len(warm),
            "minutes": round((warm[-1].t - warm[0].t) / 60, 1) if warm else 0,
            "handles": (min(s.handles for s in warm), max(s.handles for s in warm)),
            "handles_per_min": slope_per_minute([(s.t, s.handles) for s in warm]),
            # less the one Wine's file dialog keeps each time
            "own_handles": (min(s.handles - s.file_dialogs for s in warm),
                            max(s.handles - s.file_dialogs for s in warm)),
            "own_handles_per_min": slope_per_minute([(s.t, s.handles - s.file_dialogs) for s in warm]),
            "extra_windows": (min(s.windows - 4 * s.notes - s.boxes for s in warm),
                              max(s.windows - 4 * s.notes - s.boxes for s in warm)),
            "private_kib": (min(s.private for s in warm) // 1024, max(s.private for s in warm) // 1024),
            "private_kib_per_min": (lambda v: v and v / 1024)(slope_per_minute([(s.t, s.private) for s in warm])),
            "rss_kib_per_min": (lambda v: v and v / 1024)(slope_per_minute([(s.t, s.rss) for s in warm])),
            "gdi": max(s.gdi for s in warm), "user": max(s.user for s in warm),
        })
    return rows


def run(desktop, seconds, seed, log=print):
    soak = Soak(desktop, seconds, seed, log)
    try:
        report = soak.run()
    finally:
        shutil.rmtree(soak.out_folder, ignore_errors=True)
        log(f"steps: {soak.report.steps}, checkpoints {soak.report.checkpoints}, restarts {soak.report.restarts}, "
            f"kills {soak.report.kills}, notes covered before a click {soak.report.covered} "
            f"(by a tray balloon {soak.report.balloon_waits}), {time.monotonic() - soak.started:.0f} s")
        if sys.exc_info()[0] is not None:
            for row in summarize(soak.report, warmup=30):
                log(row)
    return report
