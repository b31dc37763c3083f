#!/usr/bin/env python3
"""All Notes: every note within reach, found by a word, moved onto another window,
and a note added to the Notepad in front by a hotkey.

The person sticks notes with different words onto three Notepads and closes two of
them. All Notes from the tray menu lists all three: the one on the open Notepad "On
screen", the others "Waiting for its window". Typing a word of one note's text
leaves only that note, its matching line in the Text column. Stick to Window moves
that waiting note onto a new Notepad (the same prompt and click as Add a Note); after
a restart it is there, with its text. Win+Alt+N with a Notepad in front adds a note
to it at once; Win+Alt+F, a word, Down and Enter (Show) bring a note to the front
with the keyboard in it, so that typing goes on in the note; a double-click on the tray icon opens All Notes again and Esc closes
it. Delete in All Notes moves a note to the bin; Recycle Bin lists it and Restore
puts it back on its Notepad. Each session ends with Quit.
"""
from vn_desktop import expect, run_scenario
from vn_store import INDEX, STORE, read_index

WORDS = {"Alpha.txt": "apples and pears", "Beta.txt": "budget meeting", "Gamma.txt": "call the plumber"}
ALL_NOTES = "VantoryNote.AllNotes"


def open_named_notepad(desktop, name, at):
    (desktop.prefix / "drive_c" / name).write_text("")
    return desktop.open_notepad(f"C:\\{name}", caption=f"{name} - Notepad", at=at)


def open_all_notes(program):
    program.open_tray_menu().choose("All Notes")
    return program.wait_for_window(10, "the All Notes window", cls=ALL_NOTES, visible=True)


def rows(desktop, window):
    return [row["texts"] for row in desktop.list_view(desktop.child(window, "SysListView32"))["rows"]]


def wait_for_rows(desktop, window, probe, what):
    return desktop.wait_until(lambda: probe(rows(desktop, window)) and rows(desktop, window), 10, what)


def session(desktop):
    notepads = {}
    program = desktop.start_vantory_note().ready()
    for i, (name, words) in enumerate(WORDS.items()):
        notepads[name] = open_named_notepad(desktop, name, at=(60 + 220 * i, 60 + 40 * i))
        program.add_note(notepads[name][1], text=words)
        desktop.wait_until(lambda: words in program.note_texts(), 5, f"{words!r} in its note")
    program.quit()
    for name in ("Beta.txt", "Gamma.txt"):
        notepad, window = notepads.pop(name)
        desktop.act("close-window", window.hwnd)
        expect(notepad.exit_code() == 0, f"{name} did not close")

    program = desktop.start_vantory_note().ready()
    program.wait_for_window(10, "the note back on Alpha.txt", cls="TFStickyNote", visible=True)
    window = open_all_notes(program)
    expect(window.caption == "All Notes", f"the window is called {window.caption!r}")
    listed = wait_for_rows(desktop, window, lambda r: len(r) == 3 and all(row[1] for row in r),
                           "three notes with their text")
    states = {row[0]: (row[1], row[2]) for row in listed}
    expect(states == {"notepad.exe - Alpha.txt - Notepad": ("apples and pears", "On screen"),
                      "notepad.exe - Beta.txt - Notepad": ("budget meeting", "Waiting for its window"),
                      "notepad.exe - Gamma.txt - Notepad": ("call the plumber", "Waiting for its window")},
           f"All Notes lists {listed}")
    desktop.screenshot("all-notes")

    # The keyboard is in the search box: a word of one note's text finds only that note.
    desktop.type_text("PLUMB")
    found = wait_for_rows(desktop, window, lambda r: len(r) == 1, "one note found")
    expect(found[0][:2] == ["notepad.exe - Gamma.txt - Notepad", "call the plumber"], f"the search found {found}")
    desktop.screenshot("all-notes-search")

    # Stick to Window: the waiting note onto a new Notepad.
    delta, delta_window = open_named_notepad(desktop, "Delta.txt", at=(300, 320))
    desktop.bring_to_front(window)
    desktop.click_button(window, "Stick to Window")
    desktop.wait_until(lambda: [b for b in desktop.balloons() if b.tip_text.startswith("Select a window")], 10,
                       "the balloon asking to pick a window")
    # All Notes covers most of it: the person clicks the part below.
    desktop.click((delta_window.rect[0] + 100, delta_window.rect[3] - 40))
    program.wait_for_window(10, "the note on Delta.txt", cls="TFStickyNote", visible=True, owner=delta_window.hwnd)
    expect("call the plumber" in program.note_texts(), f"the notes read {program.note_texts()}")
    program.quit()
    records = {(r.exe, r.caption) for r in read_index(desktop.data_folder / STORE / INDEX)}
    expect(records == {("notepad.exe", "Alpha.txt - Notepad"), ("notepad.exe", "Beta.txt - Notepad"),
                       ("notepad.exe", "Delta.txt - Notepad")}, f"the store holds {records}")

    # After a restart the note is on Delta.txt; the hotkey adds one to Alpha.txt.
    program = desktop.start_vantory_note().ready()
    program.wait_for_window(10, "the moved note back on Delta.txt", cls="TFStickyNote", visible=True,
                            owner=delta_window.hwnd)
    alpha_window = notepads["Alpha.txt"][1]
    desktop.bring_to_front(alpha_window)
    desktop.wait_until(lambda: desktop.window(alpha_window.hwnd).foreground, 5, "Alpha.txt in front")
    desktop.xdotool("key", "super+alt+n")
    desktop.wait_until(lambda: len(program.notes(visible=True, owner=alpha_window.hwnd)) == 2, 5,
                       "a second note on Alpha.txt from Win+Alt+N")

    # From the keyboard alone: Win+Alt+F, a word, Down, Enter (Show), and what is
    # typed next goes into the note shown.
    desktop.xdotool("key", "super+alt+f")
    window = program.wait_for_window(10, "All Notes from Win+Alt+F", cls=ALL_NOTES, visible=True)
    desktop.wait_until(lambda: desktop.window(window.hwnd).foreground, 5, "All Notes in front")
    desktop.type_text("plumber")
    wait_for_rows(desktop, window, lambda r: len(r) == 1, "the note on Delta.txt found")
    desktop.xdotool("key", "Down")
    desktop.xdotool("key", "Return")
    desktop.type_text(" today")
    desktop.wait_until(lambda: any("plumber" in t and "today" in t for t in program.note_texts()), 5,
                       "the typing in the note shown")
    desktop.bring_to_front(window)
    desktop.xdotool("key", "Escape")
    desktop.wait_until(lambda: not program.windows(cls=ALL_NOTES, visible=True), 5, "All Notes to close on Esc")

    # A double-click on the tray icon opens All Notes; Esc closes it.
    desktop.double_click(desktop.tray_icon_point())
    window = program.wait_for_window(10, "All Notes from a double-click", cls=ALL_NOTES, visible=True)
    listed = wait_for_rows(desktop, window, lambda r: len(r) == 4, "four notes")
    desktop.xdotool("key", "Escape")
    desktop.wait_until(lambda: not program.windows(cls=ALL_NOTES, visible=True), 5, "All Notes to close on Esc")

    # A delete from All Notes goes to the bin; Recycle Bin and Restore bring the note
    # back onto its window.
    window = open_all_notes(program)
    desktop.type_text("apples")
    wait_for_rows(desktop, window, lambda r: len(r) == 1, "the note on Alpha.txt found")
    desktop.xdotool("key", "Down")
    desktop.xdotool("key", "Delete")
    desktop.wait_until(lambda: len(program.notes(visible=True, owner=alpha_window.hwnd)) == 1, 5,
                       "the deleted note gone from Alpha.txt")
    desktop.click_button(window, "Recycle Bin")
    binned = wait_for_rows(desktop, window, lambda r: len(r) == 1, "the deleted note in the bin")
    expect(binned[0][:2] == ["notepad.exe - Alpha.txt - Notepad", "apples and pears"], f"the bin lists {binned}")
    desktop.screenshot("all-notes-bin")
    desktop.click_button(window, "Restore")
    desktop.wait_until(lambda: len(program.notes(visible=True, owner=alpha_window.hwnd)) == 2, 10,
                       "the restored note back on Alpha.txt")
    expect("apples and pears" in program.note_texts(), f"the notes read {program.note_texts()}")

    program.quit()


run_scenario(session)
