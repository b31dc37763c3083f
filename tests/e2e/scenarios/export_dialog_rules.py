#!/usr/bin/env python3
"""The export dialog's rules as a person meets them.

Five notes are stored. The person opens "Export Notes", ticks a row and exports
over an existing archive, but answers No to the overwrite question and cancels:
the archive stays byte for byte, the dialog stays open. A target inside the
program's own store is refused with a message. "Import Notes" from the
tray meanwhile only brings the export dialog to the front. Then the person ticks
rows 1 and 3, clicks Delete and answers Yes: three unticked rows remain, Export
and Delete are disabled, and the store soon holds the three notes. Last, with the
delete question open, "Quit" from the tray ends the program with exit code 0, the
store saved and nothing deleted.
"""
import time

from vn_desktop import expect, run_scenario
from vn_store import load, write_store

NOTES = [("notepad.exe", f"note {n}.txt - Notepad", "PC-1", f"0{n + 1}.03.2024 09:00:00", f"Body {n}", "")
         for n in range(5)]


def rows(desktop, dialog):
    return desktop.list_view(desktop.child(dialog, "SysListView32"))["rows"]


def wait_checks(desktop, dialog, checks):
    return desktop.wait_until(lambda: (lambda r: r if [x["check"] for x in r] == checks else None)(
        rows(desktop, dialog)), 5, f"the rows' checks {checks}")


def question_box(desktop, program, caption):
    return program.wait_for_window(10, f"the question {caption!r}", cls="#32770", caption=caption, visible=True)


def session(desktop):
    write_store(desktop.data_folder, NOTES)
    existing = desktop.prefix / "drive_c" / "old.vnx"
    existing.write_bytes(b"PK\x05\x06" + bytes(18))  # an existing (empty) archive
    before = existing.read_bytes()
    program = desktop.start_vantory_note()
    program.main_window()

    dialog = program.open_export_dialog()
    desktop.click_export_check_box(rows(desktop, dialog)[0])
    wait_checks(desktop, dialog, [2, 1, 1, 1, 1])
    desktop.click_button(dialog, "Export")
    save = desktop.file_dialog(program, "Save As", desktop.windows_path(existing), "Save")
    overwrite = desktop.wait_until(lambda: [w for w in program.windows(cls="#32770", visible=True)
                                            if w.hwnd != save.hwnd and w.hwnd != dialog.hwnd], 10,
                                   "the overwrite question")[0]
    desktop.click_button(overwrite, "No")
    desktop.wait_until(lambda: not desktop.window(overwrite.hwnd), 5, "the overwrite question to go")
    desktop.click_button(save, "Cancel")
    desktop.wait_until(lambda: not desktop.window(save.hwnd), 5, "the save dialog to go")
    expect(existing.read_bytes() == before, "the existing archive changed after No")
    expect(desktop.window(dialog.hwnd).visible, "the export dialog closed after a cancelled save")
    wait_checks(desktop, dialog, [2, 1, 1, 1, 1])

    # The program's own folders are refused as a target, with a word why.
    desktop.click_button(dialog, "Export")
    user_folder = desktop.local_app_data.parent.parent.name
    refused = desktop.data_folder / "Information" / "here.vnx"
    save = desktop.file_dialog(program, "Save As",
                               f"C:\\users\\{user_folder}\\AppData\\Local\\Vantory Note\\Information\\here.vnx",
                               "Save")
    warning = desktop.wait_until(lambda: [w for w in program.windows(cls="#32770", visible=True)
                                          if w.caption == "Export Notes"], 10, "the refusal")[0]
    expect(any("cannot be exported" in t for t in desktop.texts_in(warning)),
           f"the refusal says {desktop.texts_in(warning)}")
    desktop.click_button(warning, "OK")
    desktop.wait_until(lambda: not desktop.window(warning.hwnd), 5, "the refusal to go")
    expect(not refused.exists() and not list((desktop.data_folder / "Information").glob("*.part")),
           "an archive was written into the store")
    expect(desktop.window(dialog.hwnd).visible, "the export dialog closed after the refusal")

    # "Import Notes" while exporting: no file dialog, the export dialog comes forward.
    desktop.bring_to_front(desktop.open_notepad()[1])
    program.open_tray_menu().choose("Import Notes")
    desktop.wait_until(lambda: desktop.window(dialog.hwnd).foreground, 5, "the export dialog in front")
    time.sleep(0.5)
    expect(not program.windows(cls="#32770", visible=True), "an import started while the export dialog showed")

    desktop.click_export_check_box(rows(desktop, dialog)[0])  # untick row 0
    desktop.click_export_check_box(rows(desktop, dialog)[1])
    desktop.click_export_check_box(rows(desktop, dialog)[3])
    wait_checks(desktop, dialog, [1, 2, 1, 2, 1])
    deleted = {rows(desktop, dialog)[i]["texts"][1] for i in (1, 3)}
    desktop.click_button(dialog, "Delete")
    desktop.click_button(question_box(desktop, program, "Confirm"), "Yes")
    left = desktop.wait_until(lambda: (lambda r: r if len(r) == 3 else None)(rows(desktop, dialog)), 5,
                              "three rows after the delete")
    expect(all(r["check"] == 1 for r in left), "rows stay ticked after a delete")
    expect(not deleted & {r["texts"][1] for r in left}, "a deleted note is still listed")
    for caption in ("Delete", "Export"):
        expect(not desktop.child(dialog, "Button", caption).enabled, f"{caption} is enabled after a delete")
    desktop.click_button(dialog, "Close")

    desktop.wait_until(lambda: (lambda n: n if n is not None and len(n) == 3 else None)(load(desktop.data_folder)),
                       15, "the store to hold three notes")

    # Quit while the delete question is open: the program ends the normal way and
    # deletes nothing.
    dialog = program.open_export_dialog()
    desktop.click_export_check_box(rows(desktop, dialog)[0])
    wait_checks(desktop, dialog, [2, 1, 1])
    desktop.click_button(dialog, "Delete")
    question_box(desktop, program, "Confirm")
    program.quit("Quit with the delete question open")
    stored = load(desktop.data_folder)
    expect(len(stored) == 3, f"the store holds {len(stored)} notes after Quit")


run_scenario(session)
