#!/usr/bin/env python3
"""Quit from the tray menu: the program ends cleanly.

The person right-clicks the tray icon, sees the menu "Add a Note", "Export Notes",
"Import Notes", "All Notes", "Quit", and clicks "Quit". The program ends with exit code 0, its
icon leaves the notification area, and a new start works at once (and quits as
cleanly).
"""
from vn_desktop import TRAY_MENU, expect, run_scenario


def session(desktop):
    note = desktop.start_vantory_note()
    note.main_window()

    menu = note.open_tray_menu()
    expect(menu.texts in (None, TRAY_MENU), f"the tray menu reads {menu.texts}")
    expect(menu.window.exe == "VantoryNote.exe", f"the menu belongs to {menu.window.exe}")
    desktop.screenshot("tray-menu")

    menu.choose("Quit")
    expect(note.exit_code() == 0, "the program did not end with exit code 0")
    desktop.wait_until(lambda: not desktop.tray_icon_shown(), 10, "the tray icon to leave")

    again = desktop.start_vantory_note().ready()
    expect(not [w for w in desktop.windows() if w.cls == "#32770" and w.visible],
           "a start after quitting was taken for a second instance")
    again.quit("Quit after the new start")


run_scenario(session)
