#!/usr/bin/env python3
"""A first run with scripts/run.sh, ended with Ctrl-C in the terminal.

A newcomer without a display runs the script: it makes its Wine prefix, starts an
Xvfb screen and opens Notepad beside the program. They stick a note on Notepad, type
into it and press Ctrl-C at once, well before the 5 s save: the terminal sends
SIGINT to the script's whole process group. The display and Wine stay up while the
program closes the normal way; its shutdown save writes the note, and the script
ends with the program's exit code 0, taking the display and Wine with it.
"""
import os
import re
import shutil
import signal
import subprocess
import threading
import time
from pathlib import Path

from vn_desktop import PROGRAM, SOURCE_DIR, Desktop, VantoryNote, expect, run_scenario
from vn_store import INDEX, STORE, read_index, rtf_text

TEXT = "Buy stamps"


class RunScript:
    """scripts/run.sh in a process group of its own, as a terminal starts a command."""

    def __init__(self, prefix):
        env = dict(os.environ, VN_RUN_PREFIX=str(prefix), VN_BUILD=str(PROGRAM.parent))
        env.pop("DISPLAY", None)
        self.process = subprocess.Popen(["bash", str(SOURCE_DIR / "scripts" / "run.sh"), "--no-build"], env=env,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT, text=True, start_new_session=True)
        self.output = []
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        for line in self.process.stdout:
            self.output.append(line)

    def display(self):
        for line in self.output:
            found = re.search(r"virtual screen (:\d+)", line)
            if found:
                return found.group(1)
        return None

    def ctrl_c(self):
        os.killpg(self.process.pid, signal.SIGINT)

    def end(self, prefix, xvfb):
        """After a failure: everything the script started goes."""
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
        env = dict(os.environ, WINEPREFIX=str(prefix))
        subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if xvfb and running(xvfb):
            os.kill(xvfb, signal.SIGTERM)


def child_xvfb(parent):
    """The X server that the process `parent` started, or None."""
    for entry in Path("/proc").iterdir():
        try:
            if entry.name.isdigit():
                stat = (entry / "stat").read_text()
                name, fields = stat[stat.index("(") + 1:stat.rindex(")")], stat[stat.rindex(")") + 2:].split()
                if name == "Xvfb" and int(fields[1]) == parent:
                    return int(entry.name)
        except OSError:
            pass
    return None


def running(pid):
    try:
        os.kill(pid, 0)
        return True
    except ProcessLookupError:
        return False


def session(desktop):
    prefix = Desktop.new_prefix()
    script = RunScript(prefix)
    xvfb = None
    try:
        display = desktop.wait_until(script.display, 90, "the script to name its virtual screen")
        desktop.attach(display, prefix)
        xvfb = child_xvfb(script.process.pid)
        expect(xvfb, "the script's X server is not its child")
        target = desktop.wait_until(lambda: [w for w in desktop.windows() if w.cls == "Notepad" and w.visible], 20,
                                    "the Notepad the script opens")[0]
        program = VantoryNote(desktop, None, "VantoryNote.exe").ready(timeout=20)
        desktop.screenshot("first-run")
        program.add_note(target, text=TEXT)
        last_key = time.time()
        script.ctrl_c()
        interrupted_after = time.time() - last_key

        try:
            code = script.process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the script did not end within 60 s of Ctrl-C: {''.join(script.output)}")
        expect(code == 0, f"the script ended with exit code {code}: {''.join(script.output)}")
        expect("Vantory Note ended (exit code 0)." in "".join(script.output), f"the script said {script.output}")

        index = desktop.data_folder / STORE / INDEX
        expect(index.is_file(), "Ctrl-C lost the note: nothing was saved")
        saved_after = index.stat().st_mtime - last_key
        expect(interrupted_after < 2, f"Ctrl-C came {interrupted_after:.1f} s after the last key (machine too busy)")
        expect(0 <= saved_after < 5, f"the store was written {saved_after:.1f} s after the last key, so not by the "
                                     "shutdown save")
        records = [r for r in read_index(index) if r]
        expect(len(records) == 1, f"the store holds {records}")
        body = rtf_text((desktop.data_folder / STORE / "0.txt").read_bytes())
        expect(body == TEXT, f"the saved note reads {body!r}")

        expect(not running(xvfb), f"the script left its X server on {display} running")
        left = desktop.processes()
        expect(not left, f"the script left Wine processes running: {left}")
    finally:
        script.end(prefix, xvfb)
        shutil.rmtree(prefix, ignore_errors=True)


run_scenario(session, open_desktop=False)
