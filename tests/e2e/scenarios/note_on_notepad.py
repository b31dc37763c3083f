#!/usr/bin/env python3
"""A note lives on Notepad: it sits on it, goes and comes back with it.

The person has a note for Notepad from an earlier day. Notepad is open (moved away
from the corner of the screen); Vantory Note starts, and the note appears on
Notepad as an owned window of it, 5 pixels right of and below its top-left corner,
titled "notepad.exe - Untitled - Notepad", with its text. Closing Notepad hides the
note; starting Notepad again brings it back where it was. When Notepad's caption
changes (another document), the note hides within a second, and it returns with the
old caption. Quit then ends the program cleanly. (Staying above Notepad:
note_stays_above_notepad.)
"""
import time

from vn_desktop import expect, run_scenario
from vn_store import write_store

CAPTION = "Untitled - Notepad"
TITLE = "notepad.exe - Untitled - Notepad"
BODY = "Remember the milk"


def session(desktop):
    write_store(desktop.data_folder, [("notepad.exe", CAPTION, "E2E-PC", "01.02.2024 10:00:00", BODY, "")])

    notepad, target = desktop.open_notepad(at=(160, 120))
    program = desktop.start_vantory_note()
    note = program.wait_for_window(15, "the note on Notepad", cls="TFStickyNote", visible=True)
    expect(note.caption == TITLE, f"the note is titled {note.caption!r}")
    expect(note.owner == target.hwnd, f"the note is not an owned window of Notepad: {note}, owner {note.owner}")
    expect(note.rect[:2] == (165, 125), f"the note is at {note.rect[:2]}, not at Notepad's corner + (5, 5)")
    expect(program.note_texts() == [BODY], f"the note shows {program.note_texts()}, not its text {BODY!r}")
    desktop.screenshot("note-on-notepad")

    desktop.close_window("Notepad")
    expect(notepad.exit_code() == 0, "Notepad did not close")
    desktop.wait_until(lambda: not program.notes(visible=True), 5, "the note to hide with Notepad gone")
    desktop.screenshot("notepad-closed")

    notepad, target = desktop.open_notepad()
    again = program.wait_for_window(5, "the note back on the new Notepad", cls="TFStickyNote", visible=True)
    expect(again.owner == target.hwnd, "the note is not owned by the new Notepad")
    expect(again.rect == note.rect, f"the note came back at {again.rect}, not where it was ({note.rect})")

    desktop.retitle(target, "Letter.txt - Notepad")
    retitled = time.monotonic()
    desktop.wait_until(lambda: not program.notes(visible=True), 3, "the note to hide after the caption changed")
    hidden_after = time.monotonic() - retitled
    expect(hidden_after <= 1.0, f"the note hid {hidden_after:.2f} s after the caption changed")

    desktop.retitle(target, CAPTION)
    program.wait_for_window(5, "the note back with the old caption", cls="TFStickyNote", visible=True)
    program.quit()


run_scenario(session)
