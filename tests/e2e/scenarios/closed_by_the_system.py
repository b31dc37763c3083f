#!/usr/bin/env python3
"""Closed from outside: a polite end request (a task manager, the session) lets the
program leave the normal way, with exit code 0 and its tray icon removed.
"""
import subprocess

from vn_desktop import expect, run_scenario


def session(desktop):
    note = desktop.start_vantory_note().ready()

    # taskkill without /f posts WM_CLOSE to every top-level window of the process.
    subprocess.run(["wine", "taskkill", "/im", "VantoryNote.exe"], env=desktop.env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
    expect(note.exit_code() == 0, "the program did not end with exit code 0")
    desktop.wait_until(lambda: not desktop.tray_icon_shown(), 10, "the tray icon to leave")


run_scenario(session)
