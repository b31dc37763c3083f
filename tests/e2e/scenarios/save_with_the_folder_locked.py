#!/usr/bin/env python3
"""Saving while another program holds the notes' folder.

The person types into a note while the data folder is locked (no folder may be made
or renamed in it, as with a command prompt whose current folder it is): the notes
are still saved, in place, without a word. Then "Information" and its files are
locked too: the save fails, and a warning balloon says so once, with the reason.
Quit asks "Your latest changes could not be saved: ..." with Retry, Quit Anyway
and Cancel; Cancel keeps the program running. Quit again; Retry while still locked
asks again; Retry once the lock is gone saves and ends the program with exit code 0.
A new start shows every word typed.
"""
from vn_desktop import body_point, expect, run_scenario
from vn_lock import immutable, store_and_its_files
from vn_store import INDEX, STORE, read_index, rtf_text

FIRST, SECOND, THIRD = "Pay rent", " and gas", " and water"
READ_ONLY = "the folder is read-only"
CANNOT_SAVE = f"Vantory Note cannot save your notes right now: {READ_ONLY}. They are kept, and saved as soon as it can."
QUESTION = f"Your latest changes could not be saved: {READ_ONLY}."


def saved_text(desktop):
    """The one note's text in the store, or None while there is none (a swap may be
    under way)."""
    store = desktop.data_folder / STORE
    try:
        records = read_index(store / INDEX)
        if len(records) != 1 or not records[0]:
            return None
        return rtf_text((store / records[0].body_file.split("\\")[-1]).read_bytes())
    except OSError:
        return None


def question(desktop, program):
    box = program.wait_for_window(10, "the question at Quit", cls="#32770", caption="Vantory Note", visible=True)
    texts = [desktop.text_of(w) for w in desktop.windows(children=True) if w.parent == box.hwnd]
    expect(QUESTION in texts, f"the question reads {texts}")
    return box


def session(desktop):
    notepad, target = desktop.open_notepad()
    program = desktop.start_vantory_note().ready()
    note = program.add_note(target, text=FIRST)
    desktop.wait_until(lambda: saved_text(desktop) == FIRST, 15, "the first save")

    with immutable(desktop.data_folder):
        desktop.click(body_point(note))
        desktop.xdotool("key", "ctrl+End")
        desktop.type_text(SECOND)
        desktop.wait_until(lambda: saved_text(desktop) == FIRST + SECOND, 15, "the save in place")
        expect(not (desktop.data_folder / (STORE + ".new")).exists(), "a staging folder was made in a locked folder")
        expect(not [b for b in desktop.balloons() if b.tip_text == CANNOT_SAVE], "a save that worked was told as failed")

        with immutable(*store_and_its_files(desktop.data_folder)):
            desktop.click(body_point(note))
            desktop.xdotool("key", "ctrl+End")
            desktop.type_text(THIRD)
            desktop.wait_for_balloon(CANNOT_SAVE, timeout=15)
            desktop.screenshot("cannot-save")
            expect(saved_text(desktop) == FIRST + SECOND, "the locked store changed")

            program.open_tray_menu().choose("Quit")
            box = question(desktop, program)
            desktop.screenshot("question")
            desktop.click_button(box, "Cancel")
            desktop.wait_until(lambda: not desktop.window(box.hwnd), 10, "the question to go")
            expect(program.running(), "Cancel ended the program")

            program.open_tray_menu().choose("Quit")
            box = question(desktop, program)
            desktop.click_button(box, "Retry")
            box = question(desktop, program)  # still locked: asked again
            expect(program.running(), "a Retry that failed ended the program")
        # The lock is gone.
        desktop.click_button(box, "Retry")
        code = program.exit_code()
        expect(code == 0, f"Retry after the lock: exit code {code}")
    expect(saved_text(desktop) == FIRST + SECOND + THIRD, f"the store holds {saved_text(desktop)!r}")

    again = desktop.start_vantory_note().ready()
    desktop.wait_until(lambda: FIRST + SECOND + THIRD in again.note_texts(), 15, "the note back after a restart")
    again.quit("Quit after the restart")


run_scenario(session)
