#!/usr/bin/env python3
"""A checklist on Notepad: boxes beside the typed lines, a tick that survives a restart,
and a note that comes back without taking the keyboard from the person.

The person sticks a note onto Notepad and types three lines and a line break: three
boxes show beside the lines, one below the other; the empty last line has none.
Once the typing is saved they tick the second box: the tick alone writes nothing.
They quit: the store holds "010". They type into Notepad and start the program
again: the note comes back with the second box ticked, Notepad's text is as they
left it, Notepad keeps the foreground, and what they type next goes on into Notepad.
"""
import time

from vn_desktop import body_point, expect, run_scenario
from vn_store import INDEX, STORE, read_index, rtf_text

LINES = ["one", "two", "three"]
FIRST_BOX = 1000  # the control id of the box of line 0


def boxes(desktop, program):
    """The note's check boxes by line: (window, visible)."""
    return {w.id - FIRST_BOX: w for w in desktop.windows(children=True)
            if w.pid == program.pid and w.cls.lower() == "button" and FIRST_BOX <= w.id < FIRST_BOX + 100}


def notepad_edit(desktop, notepad):
    return [w for w in desktop.windows(children=True) if w.pid == notepad.pid and w.cls == "Edit"][0]


def session(desktop):
    notepad, target = desktop.open_notepad()
    program = desktop.start_vantory_note().ready()
    note = program.add_note(target)
    desktop.click(body_point(note))
    for line in LINES:
        desktop.type_text(line)
        desktop.xdotool("key", "Return")

    shown = desktop.wait_until(lambda: [b for line, b in sorted(boxes(desktop, program).items()) if b.visible]
                               if len([b for b in boxes(desktop, program).values() if b.visible]) == 3 else None,
                               5, "three boxes beside the three lines")
    by_line = boxes(desktop, program)
    expect(sorted(line for line, b in by_line.items() if b.visible) == [0, 1, 2],
           f"boxes shown for lines {sorted(line for line, b in by_line.items() if b.visible)}")
    tops = [b.rect[1] for b in shown]
    expect(tops == sorted(tops) and len(set(tops)) == 3, f"the boxes' tops do not rise line by line: {tops}")
    editor = program.editors()[0]
    expect(all(b.rect[0] == editor.rect[0] - 17 and b.width == 13 and b.height == 13 for b in shown),
           f"the boxes are not 13 x 13 in the gutter left of the editor at {editor.rect}: {[b.rect for b in shown]}")
    desktop.screenshot("three-boxes")

    index = desktop.data_folder / STORE / INDEX
    desktop.wait_until(index.exists, 10, "the typing to be saved")
    saved = index.read_bytes()
    expect(read_index(index)[0].checks == "000", f"the saved check states are {read_index(index)[0].checks!r}")
    desktop.click(shown[1].center)
    desktop.wait_until(lambda: boxes(desktop, program)[1].checked, 5, "the second box to be ticked")
    time.sleep(6.5)
    expect(index.read_bytes() == saved, "ticking a box wrote the store")
    program.quit()
    record = read_index(index)[0]
    expect(record.checks == "010", f"quitting saved the check states {record.checks!r}")
    body = (desktop.data_folder / STORE / "0.txt").read_bytes()

    # The person works in Notepad when the program starts again.
    desktop.click((target.rect[0] + 100, target.rect[1] + 120))
    desktop.type_text("hello")
    edit = notepad_edit(desktop, notepad)
    desktop.wait_until(lambda: desktop.text_of(edit) == "hello", 5, "the text in Notepad")
    program = desktop.start_vantory_note()
    program.wait_for_window(10, "the note back on Notepad", cls="TFStickyNote", visible=True)
    desktop.wait_until(lambda: boxes(desktop, program).get(1) and boxes(desktop, program)[1].checked, 5,
                       "the second box ticked again")
    by_line = boxes(desktop, program)
    expect(not by_line[0].checked and not by_line[2].checked, "another box came back ticked")
    expect(sorted(line for line, b in by_line.items() if b.visible) == [0, 1, 2], "the boxes did not come back")
    expect(desktop.text_of(edit) == "hello", f"Notepad's text became {desktop.text_of(edit)!r}")
    expect(desktop.window(target.hwnd).foreground, "the note took the foreground from Notepad")
    desktop.type_text("abc")
    desktop.wait_until(lambda: desktop.text_of(edit) == "helloabc", 5,
                       f"the typing to reach Notepad (it has {desktop.text_of(edit)!r})")
    desktop.screenshot("back-ticked")
    program.quit()
    expect(read_index(index)[0].checks == "010", f"the second quit saved {read_index(index)[0].checks!r}")
    after = (desktop.data_folder / STORE / "0.txt").read_bytes()
    expect(rtf_text(after) == rtf_text(body), f"the body changed from {rtf_text(body)!r} to {rtf_text(after)!r}")


run_scenario(session)
