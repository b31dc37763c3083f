"""A Wine desktop on its own X display, used the way a person uses it.

A scenario gets a fresh Desktop: a throw-away Wine prefix, a private Xvfb display
and a virtual Windows desktop with a taskbar and a notification area. It starts
programs, looks at the windows through the inspection helper (vn_inspect.exe),
moves the mouse and clicks with xdotool, takes screenshots and reads the files the
program leaves in the user's local application-data folder.

    from vn_desktop import run_scenario

    def session(desktop):
        notepad, target = desktop.open_notepad(at=(200, 100))
        program = desktop.start_vantory_note().ready()
        note = program.add_note(target, text="Buy stamps")
        ...
        program.quit()

    run_scenario(session)

A scenario ends the program as a person does, with Quit from the tray menu (or as
Windows does, by asking it to close), and sees it end with exit code 0: run_scenario
fails a scenario that leaves the program running.

Window management a person does with the keyboard or the window frame (bringing a
window to the front, minimising, moving, a program retitling its window) goes
through the inspection helper as well; it also starts the program and tells when
it is ready (`launch_ready`), for timings.

Everything waits by polling with a deadline, never by fixed sleeps. Environment:
VN_EXE (the program), VN_INSPECT (vn_inspect.exe), VN_SOURCE_DIR, VN_ARTIFACTS
(screenshots and window dumps), VN_E2E_KEEP=1 keeps the prefix for a post-mortem.
"""

import getpass
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback
from dataclasses import dataclass, field
from pathlib import Path

WIDTH, HEIGHT = 1280, 800
TTS_BALLOON = 0x40
WS_EX_APPWINDOW = 0x40000
POLL = 0.15
SC_MINIMIZE, SC_RESTORE = 0xF020, 0xF120

SOURCE_DIR = Path(os.environ.get("VN_SOURCE_DIR", Path(__file__).resolve().parents[2]))
PROGRAM = Path(os.environ.get("VN_EXE", SOURCE_DIR / "build/win/VantoryNote.exe"))
INSPECT = Path(os.environ.get("VN_INSPECT", PROGRAM.parent / "vn_inspect.exe"))
ARTIFACTS = Path(os.environ.get("VN_ARTIFACTS", PROGRAM.parent / "e2e-artifacts"))
WINE_ROOT = Path(os.environ.get("VN_WINE_ROOT", f"/tmp/vn-wine-{os.getuid()}"))

# The tray menu, top to bottom.
TRAY_MENU = ["Add a Note", "Export Notes", "Import Notes", "All Notes", "Quit"]
PICK_PROMPT = ("Select a window to add a note to by left clicking on it.\r\n"
               "To cancel the operation, right click anywhere.")
# Places in a note, from its top-left corner (default layout).
NOTE_BODY = (120, 150)  # in the body area
NOTE_FONT_BUTTON = (186 + 37, 80 + 12)  # the middle of the Font button
EDIT_MENU = ["Cut", "Copy", "Paste"]  # a note's right-click menu
# A shell shows a balloon for 10 to 30 s whatever time the program asks for (Wine: 2 s
# after it is asked for, for 10 s) unless it is clicked; a person waits for one that
# lies over the place they want to click.
BALLOON_LIFE = 30


FONT_SIZE_BOX = 0x472  # the size combo box of the system's font dialog (cmb3)


class ScenarioFailure(AssertionError):
    pass


def expect(condition, message):
    """A check of the scenario; the message says what a person would have seen."""
    if not condition:
        raise ScenarioFailure(message)


@dataclass
class Window:
    """One window as the inspection helper saw it."""

    hwnd: int
    cls: str
    caption: str
    owner: int
    pid: int
    exe: str
    rect: tuple
    visible: bool
    style: int
    exstyle: int
    foreground: bool
    parent: int = 0
    id: int = 0
    checked: bool = None
    tip_title: str = None
    tip_text: str = None
    items: list = field(default_factory=list)

    @staticmethod
    def from_json(line):
        d = json.loads(line)
        return Window(hwnd=d["hwnd"], cls=d["class"], caption=d["caption"], owner=d["owner"], pid=d["pid"],
                      exe=d["exe"], rect=tuple(d["rect"]), visible=d["visible"], style=d["style"],
                      exstyle=d["exstyle"], foreground=d["foreground"], parent=d.get("parent", 0),
                      id=d.get("id", 0), checked=d.get("checked"),
                      tip_title=d.get("tip_title"), tip_text=d.get("tip_text"), items=d.get("items", []))

    @property
    def enabled(self):
        return not self.style & 0x08000000  # WS_DISABLED

    @property
    def width(self):
        return self.rect[2] - self.rect[0]

    @property
    def height(self):
        return self.rect[3] - self.rect[1]

    @property
    def center(self):
        return ((self.rect[0] + self.rect[2]) // 2, (self.rect[1] + self.rect[3]) // 2)

    def matches(self, **want):
        for key, value in want.items():
            if callable(value):
                if not value(getattr(self, key)):
                    return False
            elif getattr(self, key) != value:
                return False
        return True

    def __str__(self):
        return (f"{self.cls!r} {self.caption!r} of {self.exe} at {list(self.rect)}"
                f"{'' if self.visible else ' (hidden)'}")


class Inspector:
    """The inspection helper kept running (vn_inspect.exe --serve): one command a
    line, tab-separated, one JSON answer a line. Saves starting a Wine process for
    every look at the desktop."""

    def __init__(self, env):
        self.process = subprocess.Popen(["wine", str(INSPECT), "--serve"], env=env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                        encoding="utf-8", errors="replace")

    def lines(self, *command):
        """Sends a command; returns every line of its answer (the last one included)."""
        self.process.stdin.write("\t".join(map(str, command)) + "\n")
        self.process.stdin.flush()
        out = []
        while True:
            line = self.process.stdout.readline()
            if not line:
                raise ScenarioFailure(f"the inspection helper ended during {command}")
            out.append(line)
            if command[0] not in ("list", "list-children") or line.startswith('{"end"'):
                return out

    def ask(self, *command):
        return json.loads(self.lines(*command)[-1])

    def close(self):
        try:
            self.process.stdin.close()
            self.process.wait(timeout=10)
        except Exception:
            self.process.kill()


class Program:
    """A program started on the desktop with `wine`, which returns its exit code."""

    def __init__(self, desktop, process, exe_name):
        self.desktop = desktop
        self.process = process
        self.exe_name = exe_name
        self.pid = None  # the Windows process id, once one of its windows was seen

    def running(self):
        return self.process.poll() is None

    def exit_code(self, timeout=15):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            # A crashed program waits for Wine's crash dialog to be closed.
            crashed = [w for w in self.desktop.windows(children=True) if w.exe.lower() == "winedbg.exe"
                       and f"The program {self.exe_name} has encountered a serious problem".lower() in w.caption.lower()]
            raise ScenarioFailure(f"{self.exe_name} crashed (Wine's crash dialog is up)" if crashed else
                                  f"{self.exe_name} did not end within {timeout} s") from None

    def windows(self, **want):
        return [w for w in self.desktop.windows(children=want.pop("children", False))
                if w.exe.lower() == self.exe_name.lower() and (self.pid is None or w.pid == self.pid)
                and w.matches(**want)]

    def linux_pid(self):
        """The Linux process of this Windows program in this desktop's prefix (Wine
        runs each Windows process as one Linux process)."""
        return self.desktop.linux_pid(self.exe_name)

    def kill_hard(self):
        """kill -9, as abruptly as a power cut."""
        pid = self.linux_pid()
        if pid:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        return pid

    def wait_for_window(self, timeout=10, what=None, **want):
        found = self.desktop.wait_until(lambda: self.windows(**want), timeout,
                                        what or f"a window of {self.exe_name} with {want}")
        if self.pid is None:
            self.pid = found[0].pid
        return found[0]


class VantoryNote(Program):
    """The program under test, with what a person does to it."""

    def main_window(self, timeout=10):
        return self.wait_for_window(timeout, "the hidden main window", cls="TFMain")

    def ready(self, timeout=10):
        """Waits until the program sits in the tray: its main window exists and its icon
        shows. Returns the program."""
        self.main_window(timeout)
        self.desktop.wait_until(self.desktop.tray_icon_shown, timeout, "the tray icon")
        return self

    def quit(self, what="Quit from the tray menu", timeout=15):
        """Quit from the tray menu; the program must end with exit code 0."""
        self.open_tray_menu().choose("Quit")
        code = self.exit_code(timeout)
        expect(code == 0, f"{what}: the program ended with exit code {code}")

    def add_note(self, target, text=None, at=(300, 300), timeout=10):
        """Add a Note from the tray menu, then a left click `at` this point of the target
        window, as the balloon asks; returns the note that appears on the target. With
        `text`, the person then clicks into the note's body and types it."""
        desktop = self.desktop
        before = {b.hwnd for b in desktop.balloons()}
        self.open_tray_menu().choose("Add a Note")
        # The click before the prompt shows would be an ordinary click on the target.
        desktop.wait_until(lambda: [b for b in desktop.balloons() if b.tip_text == PICK_PROMPT and b.hwnd not in before],
                           10, "the balloon asking to pick a window")
        desktop.click((target.rect[0] + at[0], target.rect[1] + at[1]))
        note = self.wait_for_window(timeout, f"a note on {target}", cls="TFStickyNote", visible=True,
                                    owner=target.hwnd)
        if text is not None:
            desktop.click(body_point(note))
            desktop.type_text(text)
        return note

    def editors(self):
        """The rich-text editors of the program's shown notes."""
        return [w for w in self.windows(children=True) if w.cls.lower().startswith("richedit") and w.visible]

    def note_texts(self):
        """The texts of the program's shown notes."""
        return [self.desktop.text_of(w) for w in self.editors()]

    def notes(self, **want):
        """The note windows of the program, top of the z-order first."""
        return self.windows(cls="TFStickyNote", **want)

    def open_export_dialog(self):
        self.open_tray_menu().choose("Export Notes")
        return self.wait_for_window(10, "the export dialog", cls="TDlgExport", visible=True)

    def open_tray_menu(self):
        """Right-clicks the tray icon and waits for the program's menu. The program's
        windows exist a moment before its icon does; a click on the empty place would
        be lost, so the icon is waited for first."""
        self.desktop.wait_until(self.desktop.tray_icon_shown, 10, "the tray icon")
        self.desktop.right_click(self.desktop.tray_icon_point())
        return self.desktop.popup_menu(TRAY_MENU, "the tray menu")

    def font_dialog(self, timeout=10):
        """The system's font dialog, once a note's Font button has opened it."""
        return self.desktop.wait_until(lambda: self.windows(cls="#32770", visible=True), timeout, "the font dialog")[0]

    def open_font_dialog(self, note):
        """A click on the note's Font button; returns the font dialog."""
        self.desktop.click(note_point(note, NOTE_FONT_BUTTON))
        return self.font_dialog()

    def wait_for_font_dialog_to_close(self, timeout=10):
        self.desktop.wait_until(lambda: not self.windows(cls="#32770", visible=True), timeout,
                                "the font dialog to close")

    def close_font_dialog(self, dialog, button):
        """OK or Cancel in the font dialog, and the dialog gone."""
        self.desktop.click_button(dialog, button)
        self.wait_for_font_dialog_to_close()


def note_point(note, place):
    """A place in a note (NOTE_BODY ...) on the screen."""
    return (note.rect[0] + place[0], note.rect[1] + place[1])


def body_point(note):
    """A point inside a note's body area, where a click puts the caret."""
    return note_point(note, NOTE_BODY)


class Menu:
    """A popup menu on screen. Where the inspection helper can read its items (on
    Windows) they come with texts and rectangles; Wine keeps a menu's items inside
    its process, so there the rows are laid out from the menu's rectangle and the
    item texts the program is known to show."""

    FRAME = 3  # pixels of border above the first and below the last row

    def __init__(self, desktop, window, known_items):
        self.desktop = desktop
        self.window = window
        self.known_items = known_items

    @property
    def texts(self):
        """The item texts as read from the menu, or None where they cannot be read."""
        return [item["text"].replace("&", "") for item in self.window.items] if self.window.items else None

    def item_point(self, text):
        if self.window.items:
            for item in self.window.items:
                if item["text"].replace("&", "") == text:
                    left, top, right, bottom = item["rect"]
                    return ((left + right) // 2, (top + bottom) // 2)
            raise ScenarioFailure(f"the menu has no item {text!r}; it has {self.texts}")
        if text not in self.known_items:
            raise ScenarioFailure(f"{text!r} is not one of {self.known_items}")
        left, top, right, bottom = self.window.rect
        row = (bottom - top - 2 * self.FRAME) / len(self.known_items)
        index = self.known_items.index(text)
        return ((left + right) // 2, int(top + self.FRAME + row * (index + 0.5)))

    def choose(self, text):
        """Clicks the item with this text, in the middle of its row."""
        self.desktop.click(self.item_point(text))


class Desktop:
    def __init__(self, name):
        self.name = name
        self.prefix = None
        self.xvfb = None
        self.display = None
        self.env = None
        self.programs = []
        self.shots = 0
        self._inspector = None
        self.attached = False
        self.blank_tray = None

    # --- life ------------------------------------------------------------------------

    def open(self):
        self.prefix = self.new_prefix()
        self._start_xvfb()
        self.env = self._wine_env()
        # A persistent wine server keeps the desktop (and its taskbar) for the whole
        # session; otherwise it would end whenever no program runs for a moment.
        subprocess.run(["wineserver", "-p"], env=self.env, check=True, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._spawn(["wine", "explorer", f"/desktop=Default,{WIDTH}x{HEIGHT}"])
        self.wait_until(lambda: [w for w in self.windows() if w.cls == "Shell_TrayWnd" and w.visible], 30,
                        "the taskbar of the virtual desktop")
        self.blank_tray = self.capture(self.tray_icon_box())

    def attach(self, display, prefix):
        """Looks at a desktop that someone else runs (scripts/run.sh) on this display with
        this Wine prefix. Nothing is started here, and close() leaves that desktop alone."""
        self.display, self.prefix, self.attached = display, Path(prefix), True
        self.env = self._wine_env()
        self.wait_until(lambda: [w for w in self.windows() if w.cls == "Shell_TrayWnd" and w.visible], 30,
                        "the taskbar of the virtual desktop")

    @staticmethod
    def new_prefix():
        """A fresh Wine prefix: a copy of the template made once per machine."""
        subprocess.run(["bash", "-c", f"source '{SOURCE_DIR}/scripts/wine-env.sh' && vn_wine_template"],
                       check=True)
        prefix = Path(tempfile.mkdtemp(prefix="e2e.", dir=WINE_ROOT))
        Desktop._copy_prefix(WINE_ROOT / "template", prefix)
        return prefix

    def _wine_env(self):
        # No Mono or Gecko prompts, and no Linux menu entries for shortcuts that a
        # Windows program (an installer) makes.
        return dict(os.environ, WINEPREFIX=str(self.prefix), DISPLAY=self.display, WINEDEBUG="-all",
                    WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d", LANG=os.environ.get("LANG", "C.UTF-8"))

    def close(self):
        if self._inspector:
            self._inspector.close()
        if self.attached:
            return
        if self.env:
            subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
        for p in self.programs:
            try:
                p.wait(timeout=5)
            except subprocess.TimeoutExpired:
                p.kill()
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()
        if self.prefix and os.environ.get("VN_E2E_KEEP") != "1":
            if self.env:
                subprocess.run(["wineserver", "-w"], env=self.env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, timeout=30)
            shutil.rmtree(self.prefix, ignore_errors=True)

    @staticmethod
    def _copy_prefix(template, prefix):
        # The big files (the system's DLLs, some 600 MB) are only read: hard links
        # make the copy instant. Everything small (registry, .ini files, the user's
        # profile) may be rewritten in place by Wine, so it is a real copy.
        for folder, dirs, files in os.walk(template):
            rel = Path(folder).relative_to(template)
            target = prefix / rel
            target.mkdir(exist_ok=True)
            for name in dirs:
                source = Path(folder) / name
                if source.is_symlink():
                    os.symlink(os.readlink(source), target / name)
            dirs[:] = [d for d in dirs if not (Path(folder) / d).is_symlink()]
            for name in files:
                source = Path(folder) / name
                if source.is_symlink():
                    os.symlink(os.readlink(source), target / name)
                elif source.stat().st_size > 64 * 1024 and source.suffix != ".reg":
                    os.link(source, target / name)
                else:
                    shutil.copy2(source, target / name)
        # Every process of this prefix joins one virtual desktop of a fixed size, and
        # that desktop has a taskbar with a notification area (EnableShell).
        keys = {
            r"Software\\Wine\\Explorer": '"Desktop"="Default"',
            r"Software\\Wine\\Explorer\\Desktops": f'"Default"="{WIDTH}x{HEIGHT}"',
            r"Software\\Wine\\Explorer\\Desktops\\Default": '"EnableShell"=dword:00000001',
        }
        with open(prefix / "user.reg", "a", encoding="ascii") as reg:
            for key, value in keys.items():
                reg.write(f"\n[{key}] 1700000000\n{value}\n")

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{WIDTH}x{HEIGHT}x24",
                                      "-nolisten", "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise ScenarioFailure("Xvfb did not start")
                number += chunk
        self.display = ":" + number.decode().strip()

    def _spawn(self, args, cwd=None):
        p = subprocess.Popen(args, env=self.env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
        self.programs.append(p)
        return p

    # --- looking -----------------------------------------------------------------------

    @property
    def inspector(self):
        if self._inspector is None:
            self._inspector = Inspector(self.env)
        return self._inspector

    def windows(self, children=False):
        lines = self.inspector.lines("list-children" if children else "list")
        return [Window.from_json(line) for line in lines if line.startswith('{"hwnd"')]

    def wait_until(self, probe, timeout, what):
        """Polls `probe` until it gives something true, and returns that."""
        deadline = time.monotonic() + timeout
        while True:
            value = probe()
            if value:
                return value
            if time.monotonic() > deadline:
                raise ScenarioFailure(f"waited {timeout} s for {what}")
            time.sleep(POLL)

    def popup_menu(self, known_items, what="the menu"):
        """The popup menu that shows now (a right click opened it), with the items the
        program is known to put in it."""
        window = self.wait_until(lambda: [w for w in self.windows() if w.cls == "#32768" and w.visible], 10, what)[0]
        return Menu(self, window, known_items)

    def balloons(self):
        """Tray balloons on screen (the shell's balloon tooltips)."""
        return [w for w in self.windows() if w.cls == "tooltips_class32" and w.visible and w.style & TTS_BALLOON]

    def balloon_over(self, point):
        """The tray balloon a person sees at this point of the screen, or None."""
        x, y = point
        return next((b for b in self.balloons() if b.rect[0] <= x < b.rect[2] and b.rect[1] <= y < b.rect[3]), None)

    def wait_for_balloon_to_go(self, point, timeout=BALLOON_LIFE):
        """Where a tray balloon lies over the place a person is about to click, they wait
        until it has gone (a click would land on the balloon). Returns the seconds
        waited: 0 when none was in the way."""
        balloon = self.balloon_over(point)
        if not balloon:
            return 0
        began = time.monotonic()
        self.wait_until(lambda: not self.balloon_over(point), timeout, f"the balloon {balloon.tip_text!r} to go")
        return time.monotonic() - began

    def wait_for_balloon(self, text, timeout=10):
        """Waits for a tray balloon with this text. (Wine's balloons do not tell their
        title; the screenshot shows it.)"""
        return self.wait_until(lambda: [b for b in self.balloons() if b.tip_text == text], timeout,
                               f"a tray balloon saying {text!r}")[0]

    def tray_icon_point(self, index=0):
        """Where the index-th icon of the notification area sits (the first at the right)."""
        return (WIDTH - 11 - 18 * index, HEIGHT - 10)

    def tray_icon_box(self, index=0):
        x, y = self.tray_icon_point(index)
        return (x - 8, y - 8, 16, 16)

    def tray_icon_shown(self, index=0):
        """True when the icon's place in the notification area is not empty."""
        pixels = self.capture(self.tray_icon_box(index))
        if self.blank_tray is None:
            # A desktop seen only once it ran (attach): an empty place is all one colour.
            return len({pixels[i:i + 3] for i in range(0, len(pixels), 3)}) > 1
        return pixels != self.blank_tray

    # --- doing -------------------------------------------------------------------------

    def start(self, program, *args, exe_class=Program, cwd=None):
        program = Path(program)
        process = self._spawn(["wine", str(program), *args], cwd=cwd or program.parent)
        return exe_class(self, process, program.name)

    def wine(self, *args, cwd=None):
        """Starts a Wine command line on this desktop (`start FILE.lnk`, an uninstaller);
        returns its process without waiting."""
        return self._spawn(["wine", *map(str, args)], cwd=cwd)

    def start_vantory_note(self):
        """Starts the program from its build folder, as run.sh does (the tile picture is found there)."""
        return self.start(PROGRAM, exe_class=VantoryNote)

    def start_notepad(self, *args, cwd=None):
        """Wine's own Notepad: "Untitled - Notepad", or "NAME - Notepad" with a file."""
        program = self.start("notepad", *args, cwd=cwd or self.prefix)
        program.exe_name = "notepad.exe"
        return program

    def open_notepad(self, *args, at=None, **want):
        """Starts Notepad and waits for its window (one with `want`, such as its caption);
        with `at`, moves the window's top-left corner there. Returns the program and
        the window as it is then."""
        notepad = self.start_notepad(*args)
        window = notepad.wait_for_window(cls="Notepad", visible=True, **want)
        if at:
            window = self.move_and_wait(notepad, window, *at)
        return notepad, window

    def window(self, hwnd):
        """The window with this handle as it is now, or None."""
        found = [w for w in self.windows() if w.hwnd == hwnd]
        return found[0] if found else None

    def text_of(self, window):
        """An edit control's content (WM_GETTEXT), or None when it cannot be read."""
        answer = self.inspector.ask("text", window.hwnd)
        return answer.get("text") if answer.get("ok") else None

    def act(self, *command):
        answer = self.inspector.ask(*command)
        expect(answer.get("ok"), f"the inspection helper could not {command}: {answer}")
        return answer

    def bring_to_front(self, window):
        """What Alt+Tab does: the window becomes the foreground window."""
        self.act("foreground", window.hwnd)

    def minimize(self, window):
        """The title bar's minimise button of the window in front: the system command."""
        self.bring_to_front(window)
        self.act("syscommand", window.hwnd, SC_MINIMIZE)

    def restore(self, window):
        """A click on a minimised window's taskbar button: the system command."""
        self.act("syscommand", window.hwnd, SC_RESTORE)

    def move(self, window, left, top):
        self.act("move", window.hwnd, left, top)

    def move_and_wait(self, program, window, left, top):
        """Moves a window of the program and returns it as it is once it got there."""
        self.move(window, left, top)
        return self.wait_until(lambda: [w for w in program.windows(cls=window.cls) if w.rect[:2] == (left, top)],
                               10, f"{window} at ({left}, {top})")[0]

    def retitle(self, window, caption):
        """The window's program changes its caption (as an editor does on opening a file)."""
        self.act("set-text", window.hwnd, caption)

    def close_window(self, cls):
        """Asks the first window of this class to close (its close button, Alt+F4)."""
        self.act("close", cls)

    def type_text(self, text):
        """Types at the keyboard focus."""
        self.xdotool("type", "--delay", 40, text)

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True)

    def click(self, point, button=1):
        self.move_mouse(point)
        self.xdotool("click", button)

    def right_click(self, point):
        self.click(point, button=3)

    def double_click(self, point):
        self.move_mouse(point)
        self.xdotool("click", "--repeat", 2, "--delay", 80, 1)

    def move_mouse(self, point):
        # A synced move waits for a motion, which never comes when the pointer is
        # already there (xdotool then gives up after seconds): a step beside first.
        self.xdotool("mousemove", point[0] + 1, point[1] + 1)
        self.xdotool("mousemove", "--sync", point[0], point[1])

    def click_button(self, dialog, caption):
        """Clicks the button with this caption inside a dialog window."""
        buttons = [w for w in self.windows(children=True)
                   if w.parent == dialog.hwnd and w.cls == "Button" and w.caption.replace("&", "") == caption]
        expect(buttons, f"{dialog} has no button {caption!r}")
        self.click(buttons[0].center)

    def pick_font_size(self, dialog, size):
        """Picks a size in the system's font dialog the way a person does with the
        keyboard: into the size box, then Down until it shows `size` (the dialog
        takes a size from its list, not from text typed into the box)."""
        children = self.windows(children=True)
        combo = [w for w in children if w.parent == dialog.hwnd and w.id == FONT_SIZE_BOX][0]
        edit = [w for w in children if w.parent == combo.hwnd and w.cls == "Edit"][0]
        self.click(edit.center)
        for _ in range(30):
            if self.text_of(edit) == size:
                return
            self.xdotool("key", "Down")
        expect(self.text_of(edit) == size, f"the font dialog's sizes stop at {self.text_of(edit)!r}")

    def list_view(self, window):
        """A list view's columns and rows as the inspection helper reads them from the
        program: columns with text, display order and lParam; rows with texts, screen
        rectangle, check (1 unchecked, 2 checked, 0 none) and selected."""
        return self.act("listview", window.hwnd)

    def child(self, dialog, cls, caption=None):
        """The one child window of a dialog with this class (and caption)."""
        found = [w for w in self.windows(children=True) if w.parent == dialog.hwnd and w.cls.lower() == cls.lower()
                 and (caption is None or w.caption.replace("&", "") == caption)]
        expect(len(found) == 1, f"{dialog} has {len(found)} {cls} windows {caption or ''}")
        return found[0]

    def file_dialog(self, program, title, windows_path, button):
        """A common file dialog of the program: types the path into its file name box
        (an edit control inside combo boxes) and presses the button."""
        dialog = program.wait_for_window(10, title, cls="#32770", caption=title, visible=True)
        inside = lambda w: (dialog.rect[0] <= w.rect[0] and w.rect[2] <= dialog.rect[2]
                            and dialog.rect[1] <= w.rect[1] and w.rect[3] <= dialog.rect[3])
        edits = [w for w in self.windows(children=True)
                 if w.pid == dialog.pid and w.cls == "Edit" and w.visible and inside(w)]
        expect(edits, f"{title} has no file name box")
        self.act("set-text", edits[0].hwnd, windows_path)
        self.click_button(dialog, button)
        return dialog

    def click_export_check_box(self, row):
        """A row's check box in the export dialog: the last column, 37 pixels wide,
        right of the 780 pixels of the text columns."""
        rect = row["rect"]
        self.click((rect[0] + 780 + 18, (rect[1] + rect[3]) // 2))

    def processes(self):
        """(Linux pid, program file name in lower case) of every process of this
        desktop's Wine prefix: the Windows programs, the Wine server, the desktop."""
        found = []
        for entry in Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            try:
                cmdline = (entry / "cmdline").read_bytes().split(b"\0")[0].decode("utf-8", "replace")
                environ = (entry / "environ").read_bytes().split(b"\0")
            except OSError:
                continue
            if f"WINEPREFIX={self.prefix}".encode() in environ:
                found.append((int(entry.name), cmdline.replace("\\", "/").split("/")[-1].lower()))
        return found

    def linux_pid(self, name):
        """The Linux process of this prefix whose program file name starts with `name`
        ("VantoryNote.exe", "wineserver" for wineserver64), or None."""
        return next((pid for pid, program in self.processes() if program.startswith(name.lower())), None)

    def windows_path(self, path):
        """A Linux path as the program sees it (drive Z: is the Linux root)."""
        return "Z:" + str(path).replace("/", "\\")

    def texts_in(self, dialog):
        """Captions of a dialog's child windows (its static texts, buttons ...)."""
        return [w.caption for w in self.windows(children=True) if w.parent == dialog.hwnd]

    def capture(self, box):
        """The pixels of a screen rectangle (x, y, width, height) as bytes."""
        x, y, w, h = box
        out = subprocess.run(["import", "-display", self.display, "-window", "root", "-crop", f"{w}x{h}+{x}+{y}",
                              "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
        return out

    def screenshot(self, name):
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        path = ARTIFACTS / f"{self.name}-{name}.png"
        subprocess.run(["import", "-display", self.display, "-window", "root", str(path)], check=True)
        return path

    # --- files -------------------------------------------------------------------------

    @property
    def local_app_data(self):
        """The prefix's %LOCALAPPDATA% as a Linux path."""
        return self.prefix / "drive_c" / "users" / getpass.getuser() / "AppData" / "Local"

    @property
    def data_folder(self):
        return self.local_app_data / "Vantory Note"

    @property
    def program_windows_path(self):
        """The program as a Windows path (drive Z: is the Linux root)."""
        return "Z:" + str(PROGRAM).replace("/", "\\")


def run_scenario(session, open_desktop=True):
    """Runs one scenario on a fresh desktop (or, with open_desktop=False, on one that the
    session attaches to); on failure keeps a screenshot and the window list."""
    name = Path(sys.argv[0]).stem
    desktop = Desktop(name)
    started = time.monotonic()
    try:
        if open_desktop:
            desktop.open()
        session(desktop)
        if desktop.prefix and desktop.prefix.exists():
            desktop.wait_until(lambda: not desktop.linux_pid(PROGRAM.name), 5,
                               "the program to have ended: a scenario ends it as a person does (Quit from the "
                               "tray menu) and checks its exit code")
    except Exception as error:
        traceback.print_exc()
        try:
            if desktop.display:
                print("screenshot:", desktop.screenshot("failure"))
            if desktop.env:
                ARTIFACTS.mkdir(parents=True, exist_ok=True)
                dump = ARTIFACTS / f"{name}-failure-windows.txt"
                dump.write_text("\n".join(str(w) for w in desktop.windows(children=True) if w.visible))
                print("windows:", dump)
        except Exception:
            pass
        print(f"FAILED: {error}")
        sys.exit(1)
    finally:
        desktop.close()
    print(f"passed in {time.monotonic() - started:.1f} s")
