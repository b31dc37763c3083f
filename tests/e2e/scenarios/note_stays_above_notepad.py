#!/usr/bin/env python3
"""A note stays in sight on Notepad while the person works in Notepad.

The person has a note for Notepad. With Notepad open, Vantory Note starts and the
note appears above Notepad. The person clicks into Notepad to type, which brings
Notepad to the front: the note stays above it. They minimise Notepad with its title
bar button: the note goes with it. They restore Notepad from the taskbar: the note
is back in the same place, above Notepad. Quit then ends the program cleanly.
"""
from vn_desktop import run_scenario
from vn_store import write_store

TICK = 0.5  # s: the tracking tick


def above(desktop, upper, lower):
    order = [w.hwnd for w in desktop.windows()]
    return upper.hwnd in order and order.index(upper.hwnd) < order.index(lower.hwnd)


def session(desktop):
    write_store(desktop.data_folder, [("notepad.exe", "Untitled - Notepad", "E2E-PC", "01.02.2024 10:00:00",
                                       "Remember the milk", "")])
    notepad, target = desktop.open_notepad(foreground=True)
    program = desktop.start_vantory_note()
    note = program.wait_for_window(15, "the note on Notepad", cls="TFStickyNote", visible=True)
    desktop.wait_until(lambda: above(desktop, note, target), 2 * TICK, "the note above Notepad")

    desktop.click((target.rect[0] + 600, target.rect[1] + 400))
    desktop.wait_until(lambda: desktop.window(target.hwnd).foreground, 5, "Notepad in front")
    desktop.wait_until(lambda: above(desktop, note, target), 2 * TICK, "the note above Notepad after a click into it")
    desktop.screenshot("typing-in-notepad")

    desktop.minimize(target)
    desktop.wait_until(lambda: not program.notes(visible=True), 5, "the note to go with minimised Notepad")
    desktop.restore(target)
    desktop.wait_until(lambda: [w for w in program.notes(visible=True) if w.rect == note.rect], 5,
                       f"the note back on restored Notepad at {list(note.rect)}")
    desktop.wait_until(lambda: above(desktop, note, target), 2 * TICK, "the note above restored Notepad")
    program.quit()


run_scenario(session)
