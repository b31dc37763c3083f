#!/usr/bin/env python3
"""Takes docs/checklist.png: a note on Notepad used as a checklist, with one line in
a larger font and two lines ticked, on an Xvfb screen.

    cmake --build --preset win
    python3 docs/make_checklist_screenshot.py
"""
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "tests" / "e2e"))

from vn_desktop import Desktop  # noqa: E402

LINES = ["Shopping for the weekend", "Bread", "Apples", "Coffee beans", "Milk"]


def main():
    desktop = Desktop("checklist-picture")
    try:
        desktop.open()
        notepad = desktop.start_notepad()
        target = notepad.wait_for_window(cls="Notepad", visible=True)
        desktop.move(target, 60, 40)
        target = desktop.wait_until(lambda: [w for w in notepad.windows(cls="Notepad") if w.rect[:2] == (60, 40)],
                                    10, "Notepad in place")[0]
        program = desktop.start_vantory_note()
        program.main_window()
        desktop.wait_until(desktop.tray_icon_shown, 10, "the tray icon")
        program.open_tray_menu().choose("Add a Note")
        desktop.click((target.rect[0] + 300, target.rect[1] + 300))
        note = program.wait_for_window(5, "the note", cls="TFStickyNote", visible=True)
        desktop.click((note.rect[0] + 120, note.rect[1] + 150))
        desktop.xdotool("key", "ctrl+b")  # bold from here on, for the heading
        for i, line in enumerate(LINES):
            desktop.type_text(line)
            if i < len(LINES) - 1:
                desktop.xdotool("key", "Return")
            if i == 0:
                desktop.xdotool("key", "ctrl+b")
        # Taller, with the grip, so that the whole list shows.
        grip = (note.rect[0] + 417, note.rect[1] + 227)
        desktop.move_mouse(grip)
        desktop.xdotool("mousedown", 1)
        desktop.xdotool("mousemove", grip[0], grip[1] + 60)
        desktop.xdotool("mousemove", grip[0], grip[1] + 90)
        desktop.xdotool("mouseup", 1)
        # The first line in 14 point: select it, then Font.
        desktop.xdotool("key", "ctrl+Home")
        desktop.xdotool("key", "shift+End")
        desktop.click((note.rect[0] + 223, note.rect[1] + 92))
        dialog = desktop.wait_until(lambda: program.windows(cls="#32770", visible=True), 5, "the font dialog")[0]
        desktop.pick_font_size(dialog, "14")
        desktop.click_button(dialog, "OK")
        desktop.wait_until(lambda: not program.windows(cls="#32770", visible=True), 5, "the dialog to close")
        desktop.xdotool("key", "ctrl+End")
        desktop.xdotool("key", "End")
        time.sleep(0.5)
        boxes = {w.id - 1000: w for w in desktop.windows(children=True)
                 if w.pid == program.pid and w.cls.lower() == "button" and 1000 <= w.id < 1100 and w.visible}
        for line in (1, 3):
            desktop.click(boxes[line].center)
        desktop.click((note.rect[0] + 300, note.rect[1] + 200))  # the caret back into the body
        desktop.move_mouse((note.rect[2] + 200, note.rect[3] + 100))  # no button under the mouse
        time.sleep(0.5)
        shot = desktop.screenshot("checklist")
        note = desktop.window(note.hwnd)
        left, top, right, bottom = note.rect[0] - 10, note.rect[1] - 10, note.rect[2] + 10, note.rect[3] + 10
        subprocess.run(["convert", str(shot), "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
                        "-strip", "-colors", "64", f"PNG8:{HERE / 'checklist.png'}"], check=True)
        program.open_tray_menu().choose("Quit")
    finally:
        desktop.close()


main()
