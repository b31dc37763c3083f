#!/usr/bin/env python3
"""Start-up: the program settles in the notification area and says so.

A person starts Vantory Note for the first time. Nothing appears on the taskbar;
the tray gets the program's icon and a balloon says that the program is running.
With no notes yet, nothing is written to disk; when they quit, the save at exit
leaves the store folder holding only an empty index file.
"""
from vn_desktop import WS_EX_APPWINDOW, expect, run_scenario
from vn_store import INDEX, STORE


def session(desktop):
    note = desktop.start_vantory_note()

    balloon = desktop.wait_for_balloon("Vantory Note 1.32 is running. Right click on the icon for options.")
    expect(balloon.tip_title in ("", "Vantory Note 1.32"), f"the start-up balloon is titled {balloon.tip_title!r}")
    expect(desktop.tray_icon_shown(), "the notification area shows no icon")
    desktop.screenshot("balloon")

    main = note.main_window()
    expect(main.caption == "FMain" and not main.visible and main.width == 0 and main.height == 0,
           f"the main window is not a hidden zero-size window: {main}")
    application = [w for w in note.windows() if w.hwnd == main.owner]
    expect(application and not application[0].visible and application[0].caption == "Vantory Note",
           "the main window is not owned by the invisible application window")
    shown = [w for w in note.windows() if w.exstyle & WS_EX_APPWINDOW or w.visible and w.cls != "#32770"]
    expect(not shown, f"the program shows windows of its own at start: {[str(w) for w in shown]}")
    boxes = [w for w in note.windows() if w.cls == "#32770" and w.visible]
    expect(not boxes, "a message box came up at start (is the theme resource missing?)")
    expect(note.running(), "the program ended by itself")
    expect(desktop.local_app_data.is_dir(), f"no local application-data folder at {desktop.local_app_data}")
    expect(not desktop.data_folder.exists(), "the program wrote its data folder before any note existed")
    note.quit()
    store = desktop.data_folder / STORE
    written = sorted((p.name, p.stat().st_size) for p in store.iterdir()) if store.is_dir() else None
    expect(written == [(INDEX, 0)], f"Quit with no notes left the store folder holding {written}")


run_scenario(session)
