#!/usr/bin/env python3
"""A second start: it beeps, says the program is already running, and leaves.

The first instance is in the tray. The person starts the program again; a message
box tells them it is already running. They click OK: the second process ends with
exit code 0 and the first keeps running, untouched, until they quit it.
"""
from vn_desktop import expect, run_scenario


def session(desktop):
    first = desktop.start_vantory_note()
    first_main = first.main_window()

    second = desktop.start_vantory_note()
    box = desktop.wait_until(
        lambda: [w for w in desktop.windows() if w.cls == "#32770" and w.visible and w.exe == "VantoryNote.exe"
                 and w.pid != first.pid], 15, "the second instance's message box")[0]
    expect(box.caption == "Vantory Note", f"the message box is titled {box.caption!r}")
    expect("Vantory Note application is alreay running!" in desktop.texts_in(box),
           f"the message box says {desktop.texts_in(box)}")
    second_windows = [w for w in desktop.windows() if w.pid == box.pid and w.cls in ("TFMain", "VnTrayIconWindow")]
    expect(not second_windows, "the second instance made a controller or a tray icon of its own")
    desktop.screenshot("already-running")

    desktop.click_button(box, "OK")
    expect(second.exit_code() == 0, "the second instance did not end with exit code 0")

    expect(first.running(), "the first instance ended too")
    still = [w for w in first.windows() if w.cls == "TFMain"]
    expect(still and still[0].hwnd == first_main.hwnd, "the first instance's main window is gone")
    expect(desktop.tray_icon_shown(), "the first instance's tray icon is gone")
    first.quit()


run_scenario(session)
