#!/usr/bin/env python3
"""The recycle bin: the note's Delete button, the undo balloon, and a restart.

The person has a note on Notepad and one for a letter that is not open. They press
the note's Delete button: the note vanishes, the store drops it at once and the
recycle bin holds it, and a balloon says "Note deleted. Click here to bring it
back." A click on that balloon (posted, as Wine's tray never sends it) brings the
note back onto Notepad with its text, and the store holds it again. Deleted once
more, the note stays in the bin across Quit and a new start, and does not come back
by itself.
"""
import time
from pathlib import Path

from vn_desktop import expect, run_scenario
from vn_store import load

DELETE_BUTTON = (267, 80, 75, 24)  # left, top, width, height in the note
UNDO_TEXT = "Note deleted. Click here to bring it back."
TRAY_CALLBACK = 0x400 + 1  # WM_USER + 1
BALLOON_CLICK = 0x400 + 5  # NIN_BALLOONUSERCLICK


def in_bin(desktop):
    """The captions of the notes the bin's index holds: lines id|deleted|mark|fingerprint|exe|caption|...,
    where a mark "R" is a note on its way back to the store (settled with the next save)."""
    path = Path(desktop.data_folder) / "Recycle Bin" / "Deleted.txt"
    lines = path.read_text(encoding="utf-8").splitlines()[1:] if path.is_file() else []
    return [line.split("|")[5] for line in lines if line.split("|")[2] in ("-", "D")]


def captions(desktop):
    return sorted(n.record.caption for n in load(desktop.data_folder) or [])


def session(desktop):
    from vn_store import write_store
    write_store(desktop.data_folder, [
        ("notepad.exe", "Untitled - Notepad", "E2E-PC", "01.02.2024 10:00:00", "Old shopping list", ""),
        ("notepad.exe", "Letter.txt - Notepad", "E2E-PC", "02.02.2024 11:30:00", "Dear Sir", ""),
    ])
    desktop.open_notepad(foreground=True)
    program = desktop.start_vantory_note().ready()
    note = program.wait_for_window(10, "the note on Notepad", cls="TFStickyNote", visible=True)

    def press_delete(note):
        left, top, width, height = DELETE_BUTTON
        point = (note.rect[0] + left + width // 2, note.rect[1] + top + height // 2)
        desktop.wait_for_balloon_to_go(point)
        desktop.click(point)
        desktop.wait_until(lambda: not program.notes(visible=True), 2, "the note to vanish")
        desktop.wait_until(lambda: captions(desktop) == ["Letter.txt - Notepad"], 2, "the store without the note")
        expect(in_bin(desktop) == ["Untitled - Notepad"], f"the bin holds {in_bin(desktop)}")

    press_delete(note)
    desktop.wait_for_balloon(UNDO_TEXT)
    desktop.screenshot("undo-balloon")
    tray = [w for w in desktop.windows() if w.cls == "VnTrayIconWindow" and w.exe.lower() == "vantorynote.exe"]
    expect(len(tray) == 1, f"the tray icon's window: {tray}")
    desktop.act("post", str(tray[0].hwnd), str(TRAY_CALLBACK), "1", str(BALLOON_CLICK))
    back = desktop.wait_until(lambda: program.notes(visible=True), 5, "the note back on Notepad")[0]
    texts = program.note_texts()
    expect("Old shopping list" in texts, f"the note came back reading {texts}")
    desktop.wait_until(lambda: captions(desktop) == ["Letter.txt - Notepad", "Untitled - Notepad"], 2,
                       "the store holding the note again")
    expect(in_bin(desktop) == [], f"the bin still holds {in_bin(desktop)}")

    press_delete(back)
    program.quit()
    program = desktop.start_vantory_note().ready()
    time.sleep(2)  # a note that came back would show on Notepad within a second
    expect(not program.notes(visible=True), "the deleted note came back after a restart")
    expect(in_bin(desktop) == ["Untitled - Notepad"], f"over a restart the bin came to hold {in_bin(desktop)}")
    expect(captions(desktop) == ["Letter.txt - Notepad"], f"the store after a restart: {captions(desktop)}")
    program.quit()


run_scenario(session)
