#!/usr/bin/env python3
"""The main road: Add a Note, click Notepad, type, quit, start again, and the note is
back on Notepad.

The person sticks a note onto Notepad, types into it and quits from the tray menu
at once (no 5-second wait: quitting saves). They start the program again with
Notepad open: the note is back at Notepad's corner + (5, 5) with its text. They quit,
close Notepad and start the program once more: no note shows, it waits; when they
open Notepad, the note appears on it.
"""
import time

from vn_desktop import expect, run_scenario
from vn_store import INDEX, STORE, read_index

TEXT = "Buy stamps"


def note_text(desktop, program):
    """The texts of the program's visible note bodies."""
    editors = [w for w in desktop.windows(children=True) if w.cls.lower().startswith("richedit") and w.visible
               and w.pid == program.pid]
    return [desktop.text_of(w) for w in editors]


def quit(program):
    program.open_tray_menu().choose("Quit")
    expect(program.exit_code() == 0, "the program did not end with exit code 0")


def session(desktop):
    notepad = desktop.start_notepad()
    target = notepad.wait_for_window(cls="Notepad", visible=True)
    desktop.move(target, 120, 60)
    target = desktop.wait_until(lambda: [w for w in notepad.windows(cls="Notepad") if w.rect[:2] == (120, 60)],
                                10, "Notepad at (120, 60)")[0]

    program = desktop.start_vantory_note()
    program.main_window()
    desktop.wait_until(desktop.tray_icon_shown, 10, "the tray icon")
    program.open_tray_menu().choose("Add a Note")
    desktop.click((target.rect[0] + 300, target.rect[1] + 300))
    note = program.wait_for_window(5, "a note on Notepad", cls="TFStickyNote", visible=True)
    desktop.click((note.rect[0] + 120, note.rect[1] + 150))
    desktop.type_text(TEXT)
    desktop.wait_until(lambda: TEXT in note_text(desktop, program), 5, "the typed text in the note")
    quit(program)

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
    expect(TEXT in note_text(desktop, program), f"the note reads {note_text(desktop, program)}")
    desktop.screenshot("back-after-restart")
    quit(program)

    # Without Notepad the note waits.
    desktop.close_window("Notepad")
    expect(notepad.exit_code() == 0, "Notepad did not close")
    program = desktop.start_vantory_note()
    program.main_window()
    desktop.wait_until(desktop.tray_icon_shown, 10, "the tray icon")
    time.sleep(1.2)  # a few tracking ticks
    expect(not program.notes(visible=True), "a note shows although its window is not there")
    notepad = desktop.start_notepad()
    target = notepad.wait_for_window(cls="Notepad", visible=True)
    note = program.wait_for_window(5, "the note on the new Notepad", cls="TFStickyNote", visible=True)
    expect(note.owner == target.hwnd, "the note is not an owned window of the new Notepad")
    expect(note.rect[:2] == (target.rect[0] + 5, target.rect[1] + 5),
           f"the note is at {note.rect[:2]}, Notepad at {target.rect[:2]}")
    expect(TEXT in note_text(desktop, program), f"the note reads {note_text(desktop, program)}")


run_scenario(session)
