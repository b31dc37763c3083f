#!/usr/bin/env python3
"""Add a Note: pick the window with the mouse, cancel with a right click, or switch
to the window with the keyboard.

Notepad is open. The person chooses "Add a Note" in the tray menu; a balloon asks
for a left click. They change their mind and right-click the desktop: picking ends,
and a later left click on Notepad makes nothing. They choose "Add a Note" again and
left-click Notepad: a note appears on it, 5 pixels right of and below its corner.
Then, with a second Notepad document open, they choose "Add a Note" and switch to
that document with the keyboard instead of clicking: within a second the note is on
that window.
"""
import time

from vn_desktop import PICK_PROMPT, expect, run_scenario

NOTHING_HAPPENS = 1.6  # s: longer than the foreground check (1 s) and the capture (0.1 s) together


def choose_add_a_note(desktop, program):
    program.open_tray_menu().choose("Add a Note")
    desktop.wait_for_balloon(PICK_PROMPT)


def session(desktop):
    program = desktop.start_vantory_note().ready()
    notepad, target = desktop.open_notepad(at=(200, 100))
    inside_notepad = (target.rect[0] + 300, target.rect[1] + 300)

    # A right click anywhere cancels: here on the empty desktop.
    choose_add_a_note(desktop, program)
    desktop.screenshot("picking-balloon")
    desktop.right_click((1100, 300))
    desktop.xdotool("key", "Escape")  # in case the desktop opened a menu of its own
    desktop.click(inside_notepad)
    time.sleep(NOTHING_HAPPENS)
    expect(not program.notes(), f"a note appeared after picking was cancelled: {program.notes()}")

    # A left click on Notepad picks it.
    choose_add_a_note(desktop, program)
    desktop.click(inside_notepad)
    note = program.wait_for_window(5, "a note on Notepad", cls="TFStickyNote", visible=True)
    expect(note.caption == "notepad.exe - Untitled - Notepad", f"the note is titled {note.caption!r}")
    expect(note.owner == target.hwnd, "the note is not an owned window of Notepad")
    expect(note.rect[:2] == (205, 105), f"the note is at {note.rect[:2]}, not at Notepad's corner + (5, 5)")
    expect((note.width, note.height) == (450, 274), f"the note is {note.width} x {note.height}")
    desktop.screenshot("picked-notepad")

    # Switching to another window with the keyboard while picking.
    (desktop.prefix / "drive_c" / "Plan.txt").write_text("")
    plan, plan_window = desktop.open_notepad("C:\\Plan.txt", caption="Plan.txt - Notepad")
    desktop.bring_to_front(target)
    desktop.wait_until(lambda: desktop.window(target.hwnd).foreground, 5, "the first Notepad in front")
    choose_add_a_note(desktop, program)
    desktop.bring_to_front(plan_window)
    switched = time.monotonic()
    on_plan = program.wait_for_window(3, "a note on Plan.txt", cls="TFStickyNote", visible=True,
                                      caption="notepad.exe - Plan.txt - Notepad")
    took = time.monotonic() - switched
    expect(took <= 1.5, f"the note came {took:.2f} s after the switch")
    expect(on_plan.owner == plan_window.hwnd, "the note is not an owned window of Plan.txt")
    expect(len(program.notes()) == 2, f"the notes are {[str(w) for w in program.notes()]}")
    program.quit()


run_scenario(session)
