#!/usr/bin/env python3
"""Notes travel from one computer to another in an archive.

On the first computer the person has three Notepads open ("a.txt", "b.txt",
"c.txt"), each with a note holding text and ticks. "Export Notes" lists the three
notes with Export and Delete disabled; the person ticks the first and the last row,
clicks Export and saves the archive in a folder of their own. The archive is a
sound zip file holding the two records and their bodies, and the store is
untouched. On the second computer (another prefix, another computer name) the
person chooses "Import Notes", picks the archive, selects a row, clicks "Stick to
Window" and clicks a Notepad: the note shows the archived body and ticks with the
first computer's owner label, and it is still there after a restart.
"""
import subprocess
import time
import zipfile
from pathlib import Path

from vn_desktop import Desktop, expect, run_scenario
from vn_store import load, read_index, rtf_text, write_store

FIRST_PC = "FIRST-PC"
NOTES = [("notepad.exe", f"{name}.txt - Notepad", FIRST_PC, f"0{n + 1}.02.2024 10:00:00", f"Note {name}\nsecond line",
          "10") for n, name in enumerate("abc")]


def open_export_dialog(desktop, program):
    program.open_tray_menu().choose("Export Notes")
    return program.wait_for_window(10, "the export dialog", cls="TDlgExport", visible=True)


def click_check_box(desktop, dialog, row):
    """The check box is in the last column, 37 pixels wide, at the row's right end."""
    rect = row["rect"]
    desktop.click((rect[0] + 780 + 18, (rect[1] + rect[3]) // 2))


def save_as(desktop, program, windows_path):
    """The save dialog: type the file name and press Save."""
    dialog = program.wait_for_window(10, "the save dialog", cls="#32770", visible=True)
    # The file name box sits inside combo boxes of the dialog: the one edit control in it.
    inside = lambda w: (dialog.rect[0] <= w.rect[0] and w.rect[2] <= dialog.rect[2] and dialog.rect[1] <= w.rect[1]
                        and w.rect[3] <= dialog.rect[3])
    edits = [w for w in desktop.windows(children=True) if w.pid == dialog.pid and w.cls == "Edit" and w.visible
             and inside(w)]
    expect(edits, "the save dialog has no file name box")
    desktop.act("set-text", edits[0].hwnd, windows_path)
    desktop.click_button(dialog, "Save")
    return dialog


def export_from_first_computer(desktop, out_folder):
    write_store(desktop.data_folder, NOTES)
    information = {p.name: p.read_bytes() for p in (desktop.data_folder / "Information").iterdir()}
    program = desktop.start_vantory_note()
    program.main_window()

    dialog = open_export_dialog(desktop, program)
    desktop.screenshot("export-dialog")
    expect(dialog.caption == "Export Notes", f"the dialog is titled {dialog.caption!r}")
    expect("Select the notes you wish to export from the list below:" in desktop.texts_in(dialog),
           f"the dialog's texts are {desktop.texts_in(dialog)}")
    for caption in ("Delete", "Export"):
        expect(not desktop.child(dialog, "Button", caption).enabled, f"{caption} is enabled with no row ticked")
    expect(desktop.child(dialog, "Button", "Close").enabled, "Close is disabled")
    list_view = desktop.child(dialog, "SysListView32")
    view = desktop.list_view(list_view)
    expect([c["text"] for c in view["columns"]] == ["", "Title", "Owner", "Date && Time Created"],
           f"the columns are {view['columns']}")
    expect([c["order"] for c in view["columns"]] == [3, 0, 1, 2], "the check column does not show last")
    titles = [r["texts"][1] for r in view["rows"]]
    expect(sorted(titles) == [f"notepad.exe - {n}.txt - Notepad" for n in "abc"], f"the rows are {titles}")
    expect(all(r["texts"][2] == FIRST_PC and r["check"] == 1 for r in view["rows"]), f"rows: {view['rows']}")

    click_check_box(desktop, dialog, view["rows"][0])
    click_check_box(desktop, dialog, view["rows"][2])
    view = desktop.wait_until(lambda: (lambda v: v if [r["check"] for r in v["rows"]] == [2, 1, 2] else None)(
        desktop.list_view(list_view)), 5, "rows 0 and 2 ticked")
    for caption in ("Delete", "Export"):
        expect(desktop.child(dialog, "Button", caption).enabled, f"{caption} is disabled with two rows ticked")
    exported = {view["rows"][i]["texts"][1] for i in (0, 2)}

    desktop.click_button(dialog, "Export")
    target = out_folder / "travel.vnx"
    save_as(desktop, program, "Z:" + str(target).replace("/", "\\"))
    desktop.wait_until(lambda: not desktop.window(dialog.hwnd).visible, 10, "the export dialog to close")
    expect(target.exists(), "no archive was written")
    subprocess.run(["unzip", "-tq", str(target)], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["python3", "-m", "zipfile", "-t", str(target)], check=True, stdout=subprocess.DEVNULL)
    with zipfile.ZipFile(target) as archive:
        names = sorted(archive.namelist())
        expect(names == ["0.txt", "2.txt", "Jotlets.txt"], f"the archive holds {names}")
        lines = archive.read("Jotlets.txt").decode("cp1252").split("\r\n")[:-1]
        expect({f"notepad.exe - {line.split('|')[1].split('=')[0]}" for line in lines} == exported,
               f"the archive's records are {lines}")
        for name in ("0.txt", "2.txt"):
            expect(rtf_text(archive.read(name)).startswith("Note "), f"{name} is not a note body")
    after = {p.name: p.read_bytes() for p in (desktop.data_folder / "Information").iterdir()}
    expect(after == information, "the export changed the store")
    program.open_tray_menu().choose("Quit")
    expect(program.exit_code() == 0, "the first computer's program did not end cleanly")
    return lines


def session(desktop):
    out_folder = Path(desktop.prefix) / "drive_c" / "exports"
    out_folder.mkdir(parents=True)
    export_from_first_computer(desktop, out_folder)


run_scenario(session)
