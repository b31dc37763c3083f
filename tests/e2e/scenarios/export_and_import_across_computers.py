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
first computer's owner label, and it is still there after a restart. Quit while
the open dialog of a second import is up ends the program cleanly.
"""
import subprocess
import zipfile
from pathlib import Path

from vn_desktop import Desktop, expect, run_scenario
from vn_store import load, load_settled, rtf_text, write_store

FIRST_PC = "FIRST-PC"
NOTES = [("notepad.exe", f"{name}.txt - Notepad", FIRST_PC, f"0{n + 1}.02.2024 10:00:00", f"Note {name}\nsecond line",
          "10") for n, name in enumerate("abc")]


def store_contents(desktop):
    """The stored notes, each record with its body. The save due 5 s after the start may
    rewrite the store during the export: the same notes, listed in reverse order."""
    return sorted((n.record.exe, n.record.caption, n.record.owner, n.record.time, n.record.checks, n.body)
                  for n in load_settled(desktop.data_folder))


def export_from_first_computer(desktop, out_folder):
    write_store(desktop.data_folder, NOTES)
    stored = store_contents(desktop)
    program = desktop.start_vantory_note()
    program.main_window()

    dialog = program.open_export_dialog()
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

    desktop.click_export_check_box(view["rows"][0])
    desktop.click_export_check_box(view["rows"][2])
    view = desktop.wait_until(lambda: (lambda v: v if [r["check"] for r in v["rows"]] == [2, 1, 2] else None)(
        desktop.list_view(list_view)), 5, "rows 0 and 2 ticked")
    for caption in ("Delete", "Export"):
        expect(desktop.child(dialog, "Button", caption).enabled, f"{caption} is disabled with two rows ticked")
    exported = {view["rows"][i]["texts"][1] for i in (0, 2)}

    desktop.click_button(dialog, "Export")
    target = out_folder / "travel.vnx"
    desktop.file_dialog(program, "Save As", desktop.windows_path(target), "Save")
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
    after = store_contents(desktop)
    expect(after == stored, f"the export changed the store from {stored} to {after}")
    program.quit("Quit on the first computer")
    return lines


def set_computer_name(desktop, name):
    for key in ("ComputerName", "ActiveComputerName"):
        subprocess.run(["wine", "reg", "add", f"HKLM\\System\\CurrentControlSet\\Control\\ComputerName\\{key}",
                        "/v", "ComputerName", "/d", name, "/f"], env=desktop.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    seen = desktop.act("computer-name")["name"]
    expect(seen == name, f"the prefix calls itself {seen!r}, not {name!r}")


def import_on_second_computer(desktop, archive, exported_lines):
    set_computer_name(desktop, "SECOND-PC")
    notepad, target = desktop.open_notepad(at=(100, 80))
    program = desktop.start_vantory_note()
    program.main_window()

    program.open_tray_menu().choose("Import Notes")
    desktop.file_dialog(program, "Select Vantory Note File to Import", desktop.windows_path(archive), "Open")
    dialog = program.wait_for_window(10, "the import dialog", cls="TDlgImport", visible=True)
    desktop.screenshot("import-dialog")
    expect(dialog.caption == "Import Notes", f"the dialog is titled {dialog.caption!r}")
    join = desktop.child(dialog, "Button", "Stick to Window")
    expect(not join.enabled, "Stick to Window is enabled with no row selected")
    list_view = desktop.child(dialog, "SysListView32")
    view = desktop.list_view(list_view)
    expect([c["text"] for c in view["columns"]] == ["Title", "Owner", "Date && Time Created"],
           f"the columns are {view['columns']}")
    expected_titles = [line.split("=")[0] for line in exported_lines]
    expect([r["texts"][0] for r in view["rows"]] == expected_titles, f"the rows are {view['rows']}")
    expect(all(r["texts"][1] == FIRST_PC for r in view["rows"]), "the owner column is not the first computer's")

    row = view["rows"][0]
    desktop.click(((row["rect"][0] + row["rect"][2]) // 2, (row["rect"][1] + row["rect"][3]) // 2))
    desktop.wait_until(lambda: desktop.child(dialog, "Button", "Stick to Window").enabled, 5,
                       "Stick to Window to be enabled")
    desktop.click_button(dialog, "Stick to Window")
    prompt = program.wait_for_window(10, "the Information prompt", cls="VnInformationWindow", visible=True)
    expect(prompt.caption == "Information", f"the prompt is titled {prompt.caption!r}")
    # The import dialog covers the middle of the screen: the click goes to Notepad's
    # part left of it.
    expect(dialog.rect[0] - target.rect[0] >= 40, f"the import dialog at {dialog.rect} covers Notepad at {target.rect}")
    desktop.click(((target.rect[0] + dialog.rect[0]) // 2, target.rect[1] + 150))
    note = program.wait_for_window(10, "the imported note on Notepad", cls="TFStickyNote", visible=True)
    expect(note.owner == target.hwnd, "the imported note is not on Notepad")
    desktop.wait_until(lambda: desktop.window(dialog.hwnd).foreground, 5, "the import dialog back in front")
    texts = program.note_texts()
    expect(any(t and t.startswith("Note ") for t in texts), f"the note does not show the archived body: {texts}")
    labels = desktop.texts_in(note)
    desktop.screenshot("imported-note")

    desktop.click_button(dialog, "Close")
    program.quit("Quit on the second computer")
    stored = load(desktop.data_folder)
    expect(len(stored) == 1, f"the second computer stores {len(stored)} notes")
    record = stored[0].record
    expect(record.owner == FIRST_PC, f"the imported note's owner is {record.owner!r}")
    expect(record.checks == "10", f"the imported note's ticks are {record.checks!r}")
    expect(rtf_text(stored[0].body).startswith("Note "), "the imported body was not stored")

    again = desktop.start_vantory_note()
    back = again.wait_for_window(15, "the imported note after a restart", cls="TFStickyNote", visible=True)
    expect(back.owner == target.hwnd, "after a restart the note is not on Notepad")
    # Quit while the open dialog of another import is up: the program ends the normal way.
    again.open_tray_menu().choose("Import Notes")
    again.wait_for_window(10, "the open dialog", cls="#32770", caption="Select Vantory Note File to Import",
                          visible=True)
    again.quit("Quit with the open dialog up")
    expect(len(load(desktop.data_folder)) == 1, "the store lost the imported note")


def session(desktop):
    out_folder = Path(desktop.prefix).parent / (Path(desktop.prefix).name + "-exports")
    out_folder.mkdir(parents=True)
    try:
        set_computer_name(desktop, FIRST_PC)
        lines = export_from_first_computer(desktop, out_folder)
        second = Desktop("second-computer")
        try:
            second.open()
            import_on_second_computer(second, out_folder / "travel.vnx", lines)
        except Exception:
            if second.display:
                second.screenshot("failure")
            raise
        finally:
            second.close()
    finally:
        for f in out_folder.iterdir():
            f.unlink()
        out_folder.rmdir()


run_scenario(session)
