#!/usr/bin/env python3
"""A screen reader on a note on Notepad, from a process of its own.

The person has a checklist note on Notepad, its first line ticked. Their screen reader
(here the inspection helper, asking as a reader does) reads the note: it is called
"Note on Untitled - Notepad"; the title, computer, time and tagline read as they are
drawn, and the five buttons and the grip are there with their names at the places
they are drawn; the tile's Restore button is hidden. The boxes read as the text of
their lines, the first one ticked. Through the reader they tick the second box (the
store holds "11" after Quit), shrink the note to a tile (only Restore is left to
read), restore it, and quit.
"""
from vn_desktop import expect, run_scenario
from vn_store import load, write_store

ROLE_STATICTEXT, ROLE_PUSHBUTTON, ROLE_GRIP, ROLE_CHECKBUTTON = 0x29, 0x2B, 0x04, 0x2C
STATE_CHECKED, STATE_INVISIBLE = 0x10, 0x8000
FIRST_BOX = 1000  # the control id of the box of line 0
MINIMIZE, SMALL = 13, 7  # child ids: the parts' numbers in the note
TAGLINE = "Vantory Notes - What notes were meant to be."


def parts(reading):
    """The drawn parts a reader finds: name -> (role, invisible, rect)."""
    return {c["name"]: (c["role"], bool(c["state"] & STATE_INVISIBLE), c["rect"])
            for c in reading["children"] if c.get("id")}


def boxes(desktop, program):
    return {w.id - FIRST_BOX: w for w in desktop.windows(children=True)
            if w.pid == program.pid and w.cls.lower() == "button" and FIRST_BOX <= w.id < FIRST_BOX + 100}


def session(desktop):
    write_store(desktop.data_folder, [
        ("notepad.exe", "Untitled - Notepad", "E2E-PC", "01.02.2024 10:00:00", "Buy stamps\nCall Anna", "10"),
    ])
    desktop.open_notepad(foreground=True)
    program = desktop.start_vantory_note()
    note = program.wait_for_window(10, "the note on Notepad", cls="TFStickyNote", visible=True)
    desktop.wait_until(lambda: boxes(desktop, program).get(0) and boxes(desktop, program)[0].checked, 5,
                       "the first box ticked")

    reading = desktop.act("accessible", note.hwnd)
    expect(reading["name"] == "Note on Untitled - Notepad", f"the note reads as {reading['name']!r}")
    found = parts(reading)
    left, top = note.rect[0], note.rect[1]
    expected = {
        "notepad.exe - Untitled - Notepad": (ROLE_STATICTEXT, False, [left + 32, top + 30, 305, 30]),
        "E2E-PC": (ROLE_STATICTEXT, False, None),
        "01.02.2024 10:00:00": (ROLE_STATICTEXT, False, None),
        "Save": (ROLE_PUSHBUTTON, False, [left + 24, top + 80, 75, 24]),
        "Import": (ROLE_PUSHBUTTON, False, [left + 105, top + 80, 75, 24]),
        "Font": (ROLE_PUSHBUTTON, False, [left + 186, top + 80, 75, 24]),
        "Delete": (ROLE_PUSHBUTTON, False, [left + 267, top + 80, 75, 24]),
        "Minimize": (ROLE_PUSHBUTTON, False, [left + 355, top + 30, 75, 24]),
        "Resize": (ROLE_GRIP, False, [left + 407, top + 217, 20, 20]),
        TAGLINE: (ROLE_STATICTEXT, False, [left, top + 248, 450, 18]),
        "Restore": (ROLE_PUSHBUTTON, True, [left, top, 100, 100]),
    }
    for name, (role, hidden, rect) in expected.items():
        expect(name in found, f"the reader finds no {name!r} among {sorted(found)}")
        expect(found[name][:2] == (role, hidden), f"{name!r} reads as role {found[name][0]:#x}, hidden "
               f"{found[name][1]} (expected {role:#x}, {hidden})")
        expect(rect is None or found[name][2] == rect, f"{name!r} is at {found[name][2]}, drawn at {rect}")
    expect(len(reading["children"]) == len(expected) + 2, "the body area and its panel are not among the children")

    by_line = boxes(desktop, program)
    for line, (name, ticked) in enumerate([("Buy stamps", True), ("Call Anna", False)]):
        box = desktop.act("accessible", by_line[line].hwnd)
        expect((box["name"], box["role"], bool(box["state"] & STATE_CHECKED)) == (name, ROLE_CHECKBUTTON, ticked),
               f"the box of line {line} reads as {box['name']!r}, role {box['role']:#x}, state {box['state']:#x}")
    desktop.act("accessible-press", by_line[1].hwnd, 0)
    desktop.wait_until(lambda: boxes(desktop, program)[1].checked, 5, "the second box ticked by the reader")
    box = desktop.act("accessible", by_line[1].hwnd)
    expect(box["state"] & STATE_CHECKED, "the reader does not read the second box as ticked")

    desktop.act("accessible-press", note.hwnd, MINIMIZE)
    desktop.wait_until(lambda: desktop.window(note.hwnd).width == 100, 5, "the note to become a tile")
    visible = [name for name, (_, hidden, _) in parts(desktop.act("accessible", note.hwnd)).items() if not hidden]
    expect(visible == ["Restore"], f"on the tile the reader finds {visible}")
    desktop.screenshot("tile")
    desktop.act("accessible-press", note.hwnd, SMALL)
    desktop.wait_until(lambda: desktop.window(note.hwnd).width == 450, 5, "the note to come back from the tile")

    program.quit()
    notes = load(desktop.data_folder)
    expect(notes[0].record.checks == "11", f"quitting saved the check states {notes[0].record.checks!r}")


run_scenario(session)
