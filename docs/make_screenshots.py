#!/usr/bin/env python3
"""Takes the README's user-guide pictures (docs/guide-*.png) on an Xvfb screen.

    cmake --build --preset win        # the program and its installer
    python3 docs/make_screenshots.py  # about a minute

It walks through what the guide describes, on a fresh Wine desktop: the installer's
pages, the tray menu, adding a note to Notepad and typing into it, moving, resizing
and tiling it, the data folder, Add/Remove Programs and the uninstaller. Each picture
is cropped to what it shows and stored with a small palette to keep it small.
"""
import getpass
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


def keep(desktop, name, box=None):
    """The screen, or the box (left, top, right, bottom) of it, as docs/guide-NAME.png."""
    shot = desktop.screenshot(name)
    left, top, right, bottom = box or (0, 0, WIDTH, HEIGHT)
    left, top = max(left, 0), max(top, 0)
    right, bottom = min(right, WIDTH), min(bottom, HEIGHT)
    subprocess.run(["convert", str(shot), "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
                    "-strip", "-colors", "64", f"PNG8:{HERE / f'guide-{name}.png'}"], check=True)


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
        time.sleep(0.5)
        keep(desktop, "note", around(desktop.window(target.hwnd), note))

        # Moving, resizing, the tile.
        drag(desktop, (note.rect[0] + 200, note.rect[1] + 45), (note.rect[0] + 420, note.rect[1] + 160))
        moved = desktop.wait_until(lambda: [w for w in program.notes(visible=True) if w.rect[0] > note.rect[0] + 100],
                                   5, "the note moved")[0]
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

        # Where the notes live: the data folder in the file browser, after the save.
        index = desktop.data_folder / "Information" / "Jotlets.txt"
        desktop.wait_until(index.exists, 15, "the save")
        program.open_tray_menu().choose("Quit")
        desktop.wait_until(lambda: not program.windows(cls="TFMain"), 15, "the program to quit")
        desktop.close_window("Notepad")
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
