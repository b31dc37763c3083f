#!/usr/bin/env python3
"""The main road: Add a Note, click Notepad, type, quit, start again, and the note is
back on Notepad.

The person sticks a note onto Notepad, types into it and quits from the tray menu
at once (no 5-second wait: quitting saves). They start the program again with
Notepad open: the note is back at Notepad's corner + (5, 5) with its text. They quit,
close Notepad and start the program once more: no note shows, it waits; when they
open Notepad, the note appears on it, and they quit.
"""
import time

from vn_desktop import expect, run_scenario
from vn_store import INDEX, STORE, read_index

TEXT = "Buy stamps"


def session(desktop):
    notepad, target = desktop.open_notepad(at=(120, 60))
    program = desktop.start_vantory_note().ready()
    program.add_note(target, text=TEXT)
    desktop.wait_until(lambda: TEXT in program.note_texts(), 5, "the typed text in the note")
    program.quit()

    records = read_index(desktop.data_folder / STORE / INDEX)
    expect([(r.exe, r.caption) for r in records] == [("notepad.exe", "Untitled - Notepad")],
           f"quitting saved {records}")
    expect(notepad.running() and desktop.window(target.hwnd), "Notepad went away with the program")

    # Start again with Notepad open: the note comes back on it.
    desktop.move(target, 300, 140)
    program = desktop.start_vantory_note()
    note = program.wait_for_window(10, "the note back on Notepad", cls="TFStickyNote", visible=True)
    expect(note.owner == target.hwnd, "the note is not an owned window of Notepad")
    expect(note.rect[:2] == (305, 145), f"the note is at {note.rect[:2]}, not at Notepad's corner + (5, 5)")
    expect(TEXT in program.note_texts(), f"the note reads {program.note_texts()}")
    desktop.screenshot("back-after-restart")
    program.quit()

    # Without Notepad the note waits.
    desktop.close_window("Notepad")
    expect(notepad.exit_code() == 0, "Notepad did not close")
    program = desktop.start_vantory_note().ready()
    time.sleep(1.2)  # a few tracking ticks
    expect(not program.notes(visible=True), "a note shows although its window is not there")
    notepad, target = desktop.open_notepad()
    note = program.wait_for_window(5, "the note on the new Notepad", cls="TFStickyNote", visible=True)
    expect(note.owner == target.hwnd, "the note is not an owned window of the new Notepad")
    expect(note.rect[:2] == (target.rect[0] + 5, target.rect[1] + 5),
           f"the note is at {note.rect[:2]}, Notepad at {target.rect[:2]}")
    expect(TEXT in program.note_texts(), f"the note reads {program.note_texts()}")
    program.quit()


run_scenario(session)
