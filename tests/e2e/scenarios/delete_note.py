#!/usr/bin/env python3
"""Deleting a note with its Delete button.

The person has two notes: one on Notepad, one for a letter that is not open. They
press the Delete button of the note on Notepad: it vanishes at once and does not come
back. The store no longer holds it at once (it went to the recycle bin); the other
note is kept with its text. After Quit the deleted note stays deleted.
"""
import time

from vn_desktop import expect, run_scenario
from vn_store import load, write_store

DELETE_BUTTON = (267, 80, 75, 24)  # left, top, width, height in the note


def session(desktop):
    write_store(desktop.data_folder, [
        ("notepad.exe", "Untitled - Notepad", "E2E-PC", "01.02.2024 10:00:00", "Old shopping list", ""),
        ("notepad.exe", "Letter.txt - Notepad", "E2E-PC", "02.02.2024 11:30:00", "Dear Sir", ""),
    ])
    desktop.open_notepad(foreground=True)
    program = desktop.start_vantory_note()
    note = program.wait_for_window(10, "the note on Notepad", cls="TFStickyNote", visible=True)

    left, top, width, height = DELETE_BUTTON
    desktop.click((note.rect[0] + left + width // 2, note.rect[1] + top + height // 2))
    pressed = time.monotonic()
    desktop.wait_until(lambda: not program.notes(visible=True), 2, "the note to vanish")
    desktop.screenshot("deleted")

    def store_without_it():
        notes = load(desktop.data_folder)
        return notes is not None and [n.record.caption for n in notes] == ["Letter.txt - Notepad"] and notes
    notes = desktop.wait_until(store_without_it, 12, "the store without the deleted note")
    saved_after = time.monotonic() - pressed
    expect(saved_after <= 2, f"the store dropped the note {saved_after:.1f} s after Delete")
    expect(notes[0].text == "Dear Sir", f"the other note now reads {notes[0].text!r}")
    expect(not program.notes(visible=True), "the deleted note came back")
    expect(program.running(), "the program ended")
    program.quit()
    expect([n.record.caption for n in load(desktop.data_folder)] == ["Letter.txt - Notepad"],
           "the deleted note is back in the store after Quit")


run_scenario(session)
