#!/usr/bin/env python3
"""Closed from outside while the notes cannot be saved: a rescue copy.

"Information" and its files are locked, so no save can reach them. The person types
into a note, then the program is closed from outside (as the installer and a task
manager close it: nobody may be asked). It ends with exit code 0 and leaves a copy
of every note in the Documents folder, "Vantory Note rescue DATE TIME.vnx", an
archive whose index and body hold the note as typed. The next start says in a
balloon where the copy is, once.
"""
import subprocess
import zipfile

from vn_desktop import body_point, expect, run_scenario
from vn_lock import immutable, store_and_its_files
from vn_store import INDEX, decode_index, parse_line, rtf_text

FIRST, MORE = "Renew", " the passport"


def session(desktop):
    # Wine links the prefix's Documents to the Linux home folder: a folder of its
    # own keeps the copy inside the throw-away prefix.
    documents = desktop.local_app_data.parent.parent / "Documents"
    if documents.is_symlink():
        documents.unlink()
    documents.mkdir(exist_ok=True)

    notepad, target = desktop.open_notepad()
    program = desktop.start_vantory_note().ready()
    note = program.add_note(target, text=FIRST)
    desktop.wait_until(lambda: (desktop.data_folder / "Information" / INDEX).exists(), 15, "the first save")

    with immutable(*store_and_its_files(desktop.data_folder)):
        desktop.click(body_point(note))
        desktop.xdotool("key", "ctrl+End")
        desktop.type_text(MORE)
        # taskkill without /f posts WM_CLOSE, as the installer sends it.
        subprocess.run(["wine", "taskkill", "/im", "VantoryNote.exe"], env=desktop.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        code = program.exit_code()
        expect(code == 0, f"closed from outside: exit code {code}")

    copies = sorted(documents.glob("Vantory Note rescue *.vnx"))
    expect(len(copies) == 1, f"the Documents folder holds {[p.name for p in documents.iterdir()]}")
    with zipfile.ZipFile(copies[0]) as archive:
        records = [parse_line(line) for line in decode_index(archive.read(INDEX)).splitlines()]
        expect(len(records) == 1 and records[0].caption == "Untitled - Notepad", f"the copy's index: {records}")
        body = archive.read(records[0].body_file.split("\\")[-1])
    expect(rtf_text(body) == FIRST + MORE, f"the copy's body holds {rtf_text(body)!r}")

    windows_path = "C:\\users\\" + documents.parent.name + "\\Documents\\" + copies[0].name
    told = (f"Your notes could not be saved when Vantory Note was last closed. A copy of every note is in "
            f"{windows_path}: Import Notes reads it.")
    again = desktop.start_vantory_note().ready()
    desktop.wait_for_balloon(told, timeout=20)
    desktop.screenshot("rescue-told")
    again.quit("Quit after the restart")
    expect(not (desktop.data_folder / "Rescue copy.txt").exists(), "the rescue copy would be told again")


run_scenario(session)
