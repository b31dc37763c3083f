#!/usr/bin/env python3
"""Takes the README's user-guide pictures (docs/guide-*.png) on an Xvfb screen.

    cmake --build --preset win        # the program and its installer
    python3 docs/make_screenshots.py  # two to three minutes

It walks through what the guide describes, on a fresh Wine desktop: the installer's
pages, the tray menu, adding a note to Notepad, typing into it and ticking a line,
the font dialog and the right-click menu, moving, resizing and tiling the note,
exporting it and importing the archive onto a second Notepad, the data folder,
Add/Remove Programs and the uninstaller. Each picture is cropped to what it shows
and stored with a small palette to keep it small.
"""
import getpass
import shutil
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "tests" / "e2e"))

from vn_desktop import HEIGHT, PROGRAM, WIDTH, Desktop, VantoryNote  # noqa: E402

VERSION = "1.32"
SETUP = PROGRAM.parent / f"VantoryNote-{VERSION}-setup.exe"
APPDATA = f"C:\\users\\{getpass.getuser()}\\AppData"
LINES = ["Call the plumber", "Buy stamps", "Send the invoice to Anna"]
TICKED = 1  # "Buy stamps"
FONT_FACE_BOX = 0x470  # the face combo box of the system's font dialog (cmb1)


def keep(desktop, name, box=None, colors=64):
    """The screen, or the box (left, top, right, bottom) of it, as docs/guide-NAME.png."""
    shot = desktop.screenshot(name)
    left, top, right, bottom = box or (0, 0, WIDTH, HEIGHT)
    left, top = max(left, 0), max(top, 0)
    right, bottom = min(right, WIDTH), min(bottom, HEIGHT)
    subprocess.run(["convert", str(shot), "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
                    "-strip", "-colors", str(colors), f"PNG8:{HERE / f'guide-{name}.png'}"], check=True)


def around(*windows, margin=12):
    rects = [w.rect for w in windows]
    return (min(r[0] for r in rects) - margin, min(r[1] for r in rects) - margin,
            max(r[2] for r in rects) + margin, max(r[3] for r in rects) + margin)


def wizard(desktop, title):
    return desktop.wait_until(lambda: [w for w in desktop.windows() if w.cls == "#32770" and w.visible
                                       and w.caption.startswith(title)], 30, f"the window {title!r}")[0]


def press(desktop, dialog, caption):
    desktop.click_button(dialog, caption)
    time.sleep(0.8)  # the next page draws itself


def drag(desktop, start, end):
    desktop.xdotool("mousemove", "--sync", *start, "mousedown", 1)
    for i in range(1, 11):
        desktop.xdotool("mousemove", "--sync", start[0] + (end[0] - start[0]) * i // 10,
                        start[1] + (end[1] - start[1]) * i // 10)
    desktop.xdotool("mouseup", 1)


def check_boxes(desktop, program):
    """The note's visible check boxes by line: buttons with the ids 1000 + line."""
    return {w.id - 1000: w for w in desktop.windows(children=True)
            if w.pid == program.pid and w.cls.lower() == "button" and 1000 <= w.id < 1100 and w.visible}


def settled(desktop, window):
    """The window once it stopped moving: the program may still be working through
    the mouse moves of a drag when xdotool's mouseup has returned."""
    last = None
    for _ in range(20):
        now = desktop.window(window.hwnd)
        if last and now.rect == last.rect:
            return now
        last = now
        time.sleep(0.3)
    raise RuntimeError(f"{window} keeps moving")


def popup(desktop, cls):
    return desktop.wait_until(lambda: [w for w in desktop.windows() if w.cls == cls and w.visible], 10,
                              f"a window {cls!r}")[0]


def main():
    desktop = Desktop("docs")
    try:
        desktop.open()
        tray_corner = (WIDTH - 420, HEIGHT - 260, WIDTH, HEIGHT)

        # Installing.
        desktop.start(SETUP)
        setup = wizard(desktop, "Vantory Note 1.32 Setup")
        press(desktop, setup, "Next >")
        keep(desktop, "install", around(desktop.window(setup.hwnd), margin=0))
        press(desktop, setup, "Next >")
        press(desktop, setup, "Install")
        desktop.wait_until(lambda: [w for w in desktop.windows(children=True)
                                    if w.parent == setup.hwnd and w.caption == "&Finish"], 30, "the last page")
        press(desktop, setup, "Finish")  # "Start Vantory Note now" is ticked
        program = VantoryNote(desktop, None, "VantoryNote.exe")
        program.main_window(timeout=20)
        desktop.wait_until(desktop.tray_icon_shown, 10, "the tray icon")

        notepad = desktop.start_notepad()
        target = notepad.wait_for_window(cls="Notepad", visible=True)
        target = desktop.move_and_wait(notepad, target, 120, 90)

        # Adding a note.
        menu = program.open_tray_menu()
        desktop.move_mouse(menu.item_point("Add a Note"))
        time.sleep(0.8)
        keep(desktop, "tray-menu", tray_corner)
        menu.choose("Add a Note")
        desktop.wait_until(desktop.balloons, 5, "the picking balloon")
        time.sleep(0.5)
        keep(desktop, "pick", tray_corner)
        desktop.click((target.rect[0] + 300, target.rect[1] + 300))
        note = program.wait_for_window(5, "the note", cls="TFStickyNote", visible=True)

        # Typing.
        desktop.click((note.rect[0] + 120, note.rect[1] + 150))
        for i, line in enumerate(LINES):
            if i:
                desktop.xdotool("key", "Return")
            desktop.type_text(line)
        boxes = desktop.wait_until(lambda: (lambda b: b if len(b) == len(LINES) else None)(
            check_boxes(desktop, program)), 5, "a check box for every line")
        desktop.click(boxes[TICKED].center)
        desktop.wait_until(lambda: check_boxes(desktop, program)[TICKED].checked, 5, "the tick")
        desktop.click((note.rect[0] + 300, note.rect[1] + 200))  # the caret back into the text
        desktop.move_mouse((note.rect[2] + 200, note.rect[3] + 100))  # nothing lit up under the mouse
        time.sleep(0.5)
        keep(desktop, "note", around(desktop.window(target.hwnd), note))

        # The right-click menu of the text.
        desktop.right_click((note.rect[0] + 220, note.rect[1] + 170))
        menu = popup(desktop, "#32768")
        desktop.move_mouse((menu.rect[0] + 30, (menu.rect[1] + menu.rect[3]) // 2))  # over Copy
        time.sleep(0.5)
        note = desktop.window(note.hwnd)
        keep(desktop, "edit-menu", (note.rect[0], note.rect[1] + 70, max(note.rect[2], menu.rect[2]) + 12,
                                    max(note.rect[3], menu.rect[3]) + 12))
        desktop.xdotool("key", "Escape")
        desktop.wait_until(lambda: not [w for w in desktop.windows() if w.cls == "#32768" and w.visible], 5,
                           "the menu to close")

        # Fonts: the first line a size larger, through the Font button and its dialog.
        desktop.xdotool("key", "ctrl+Home")
        desktop.xdotool("key", "shift+End")
        desktop.click((note.rect[0] + 223, note.rect[1] + 92))  # Font
        dialog = program.wait_for_window(5, "the font dialog", cls="#32770", visible=True)
        # Wine has no Tahoma, the note's own face, so the dialog would open on the first
        # face of its list; a face picked by name shows a sensible sample.
        face = [w for w in desktop.windows(children=True) if w.parent == dialog.hwnd and w.id == FONT_FACE_BOX][0]
        face = [w for w in desktop.windows(children=True) if w.parent == face.hwnd and w.cls == "Edit"][0]
        desktop.click(face.center)
        desktop.xdotool("key", "End", "shift+Home")
        desktop.type_text("DejaVu Sans")
        desktop.pick_font_size(dialog, "14")
        time.sleep(0.5)
        keep(desktop, "font", around(desktop.window(dialog.hwnd), margin=0))
        desktop.click_button(dialog, "OK")
        desktop.wait_until(lambda: not program.windows(cls="#32770", visible=True), 5, "the font dialog to close")

        # Moving, resizing, the tile.
        drag(desktop, (note.rect[0] + 200, note.rect[1] + 45), (note.rect[0] + 420, note.rect[1] + 160))
        desktop.wait_until(lambda: desktop.window(note.hwnd).rect[0] > note.rect[0] + 100, 5, "the note moved")
        moved = settled(desktop, note)  # the grip is found from where the note came to rest
        grip = (moved.rect[2] - 33, moved.rect[3] - 47)
        drag(desktop, grip, (grip[0] + 160, grip[1] + 120))
        resized = desktop.wait_until(lambda: [w for w in program.notes(visible=True) if w.width > moved.width],
                                     5, "the note resized")[0]
        time.sleep(0.5)
        resized = desktop.window(resized.hwnd)
        keep(desktop, "move-resize", around(desktop.window(target.hwnd), resized))
        desktop.click((resized.rect[2] - 95 + 37, resized.rect[1] + 42))  # Minimize
        tile = desktop.wait_until(lambda: program.notes(visible=True, width=100, height=100), 5, "the tile")[0]
        time.sleep(0.5)
        keep(desktop, "tile", (tile.rect[0] - 60, tile.rect[1] - 40, tile.rect[2] + 60, tile.rect[3] + 40))

        # Export: tick the note, Export, save the archive.
        exports = desktop.prefix.parent / (desktop.prefix.name + "-exports")
        exports.mkdir()
        archive = exports / "My notes.vnx"
        try:
            dialog = program.open_export_dialog()
            rows = desktop.list_view(desktop.child(dialog, "SysListView32"))["rows"]
            desktop.click_export_check_box(rows[0])
            desktop.wait_until(lambda: desktop.child(dialog, "Button", "Export").enabled, 5, "Export enabled")
            time.sleep(0.5)
            keep(desktop, "export", around(desktop.window(dialog.hwnd), margin=0))
            desktop.click_button(dialog, "Export")
            desktop.file_dialog(program, "Save As", desktop.windows_path(archive), "Save")
            desktop.wait_until(lambda: not desktop.window(dialog.hwnd).visible, 10, "the export dialog to close")
            desktop.wait_until(archive.exists, 10, "the archive")

            # Import, as on the other computer: onto a Notepad of its own.
            other = desktop.start_notepad()
            second = other.wait_for_window(cls="Notepad", visible=True, hwnd=lambda hwnd: hwnd != target.hwnd)
            second = desktop.move_and_wait(other, second, 470, 30)
            program.open_tray_menu().choose("Import Notes")
            desktop.file_dialog(program, "Select Vantory Note File to Import", desktop.windows_path(archive), "Open")
            dialog = program.wait_for_window(10, "the import dialog", cls="TDlgImport", visible=True)
            row = desktop.list_view(desktop.child(dialog, "SysListView32"))["rows"][0]
            desktop.click(((row["rect"][0] + row["rect"][2]) // 2, (row["rect"][1] + row["rect"][3]) // 2))
            desktop.wait_until(lambda: desktop.child(dialog, "Button", "Stick to Window").enabled, 5,
                               "Stick to Window enabled")
            desktop.click_button(dialog, "Stick to Window")
            prompt = program.wait_for_window(10, "the Information prompt", cls="VnInformationWindow", visible=True)
            time.sleep(0.5)
            keep(desktop, "import", around(desktop.window(dialog.hwnd), prompt, margin=0), colors=32)
            desktop.click((second.rect[2] - 80, second.rect[1] + 120))  # right of the dialog
            imported = desktop.wait_until(lambda: [w for w in program.notes(visible=True) if w.owner == second.hwnd],
                                          10, "the imported note")[0]
            desktop.wait_until(lambda: desktop.window(dialog.hwnd).foreground, 5, "the import dialog back")
            desktop.click_button(dialog, "Close")
            desktop.wait_until(lambda: not desktop.window(dialog.hwnd).visible, 5, "the import dialog to close")
            desktop.bring_to_front(desktop.window(second.hwnd))  # closing the dialog activates the first Notepad
            desktop.move_mouse((10, HEIGHT - 100))
            time.sleep(0.5)
            keep(desktop, "imported", around(desktop.window(second.hwnd), desktop.window(imported.hwnd)))
        finally:
            shutil.rmtree(exports, ignore_errors=True)

        # Where the notes live: the data folder in the file browser, after the save.
        index = desktop.data_folder / "Information" / "Jotlets.txt"
        desktop.wait_until(index.exists, 15, "the save")
        program.open_tray_menu().choose("Quit")
        desktop.wait_until(lambda: not program.windows(cls="TFMain"), 15, "the program to quit")
        for left in (1, 0):  # the two Notepads, one after the other
            desktop.close_window("Notepad")
            desktop.wait_until(lambda: len([w for w in desktop.windows() if w.cls == "Notepad"]) == left,
                               10, "Notepad to close")
        folder = desktop.local_app_data / "Vantory Note"
        desktop.wine("explorer", APPDATA + "\\Local\\Vantory Note\\Information")
        browser = desktop.wait_until(lambda: [w for w in desktop.windows() if w.visible and w.cls == "ExplorerWClass"],
                                     20, f"the file browser on {folder}")[0]
        desktop.move(browser, 40, 40)
        time.sleep(1.5)
        keep(desktop, "data-folder", around(desktop.window(browser.hwnd), margin=0))
        desktop.close_window("ExplorerWClass")

        # Uninstalling: Add/Remove Programs, then the uninstaller.
        desktop.wine("control", "appwiz.cpl")
        programs = wizard(desktop, "Add/Remove Programs")
        time.sleep(1.5)
        keep(desktop, "remove", around(desktop.window(programs.hwnd), margin=0))
        desktop.close_window("#32770")
        desktop.wine(APPDATA + "\\Local\\Programs\\Vantory Note\\Uninstall.exe")
        uninstall = wizard(desktop, "Vantory Note 1.32 Uninstall")
        time.sleep(1)
        keep(desktop, "uninstall", around(desktop.window(uninstall.hwnd), margin=0))
        press(desktop, uninstall, "Uninstall")
        desktop.wait_until(lambda: not (desktop.local_app_data / "Programs" / "Vantory Note").exists(), 30,
                           "the uninstall")
    finally:
        desktop.close()
    print("pictures in", HERE)


main()
