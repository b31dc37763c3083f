#!/usr/bin/env python3
"""A hostile archive brings nothing in.

The person has one note and a secret file next to the program's data folder.
Archives that climb out of the folder, name absolute paths, drives or devices,
carry a symbolic link, lie about their checksums or sizes, are no archive at all
or lack their index: "Import Notes" on each shows no import dialog and writes
nothing outside the scratch folder. An archive whose index names the secret file
or the store's own body files lists its rows, but "Stick to Window" starts no
picking for them. An archive chosen inside the scratch folder itself is still
read. Quit with the import dialog open ends the program with exit code 0; the
store holds its one note and no byte of the secret.
"""
import io
import struct
import time
import zipfile

from vn_desktop import expect, run_scenario
from vn_store import load, write_store

SECRET = b"the secret that must stay where it is"


def archive(entries, patch=None):
    """A zip file of (name, bytes) entries, written by Python's zipfile."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data, *link in entries:
            info = zipfile.ZipInfo(name)
            info.compress_type = zipfile.ZIP_DEFLATED
            if link:
                info.create_system = 3
                info.external_attr = 0o120777 << 16
            z.writestr(info, data)
    data = bytearray(buffer.getvalue())
    if patch:
        patch(data)
    return bytes(data)


def central_crc_wrong(data):
    at = data.rfind(b"PK\x01\x02")
    data[at + 16:at + 20] = struct.pack("<I", 0x12345678)


def local_size_huge(data):
    data[18:22] = struct.pack("<I", 0xFFFFFFF0)


INDEX = b"notepad.exe|Untitled - Notepad=EVIL|1/1/2024|Temp Export\\0.txt|1\r\n"
HOSTILE = {
    "climbing name": archive([("Jotlets.txt", INDEX), ("../../../escaped.txt", b"x")]),
    "absolute name": archive([("Jotlets.txt", INDEX), ("/escaped.txt", b"x")]),
    "drive name": archive([("Jotlets.txt", INDEX), ("C:/escaped.txt", b"x")]),
    "device name": archive([("Jotlets.txt", INDEX), ("CON", b"x")]),
    "symbolic link": archive([("0.txt", b"../../secret.txt", "link"), ("Jotlets.txt", INDEX)]),
    "wrong checksum": archive([("Jotlets.txt", INDEX)], central_crc_wrong),
    "size past the end": archive([("Jotlets.txt", INDEX)], local_size_huge),
    "cut short": archive([("Jotlets.txt", INDEX * 50)])[:60],
    "no archive at all": b"just some text\r\n",
    "empty file": b"",
    "no index file": archive([("0.txt", b"{\\rtf1 x}")]),
}

BAD_ROWS = ("..\\..\\secret.txt", "Information\\0.txt", "Temp Export\\..\\..\\secret.txt", "C:\\secret.txt")


def try_import(desktop, program, path):
    program.open_tray_menu().choose("Import Notes")
    # The prefix's own drive: Wine's file dialogs refuse its folders through Z:.
    chooser = desktop.file_dialog(program, "Select Vantory Note File to Import", f"C:\\archives\\{path.name}", "Open")
    desktop.wait_until(lambda: not (desktop.window(chooser.hwnd) or chooser).visible or
                       not desktop.window(chooser.hwnd), 5, f"the open dialog to take {path.name}")
    deadline = time.monotonic() + 1.5
    while time.monotonic() < deadline:
        shown = program.windows(cls="TDlgImport", visible=True)
        if shown:
            return shown[0]
        time.sleep(0.1)
    return None


def session(desktop):
    write_store(desktop.data_folder, [("notepad.exe", "Untitled - Notepad", "PC-1", "1/1/2024", "Mine", "")])
    secret = desktop.local_app_data.parent / "secret.txt"
    secret.write_bytes(SECRET)
    outside = [desktop.local_app_data.parent / "escaped.txt", desktop.local_app_data / "escaped.txt",
               desktop.data_folder / "escaped.txt", desktop.prefix / "drive_c" / "escaped.txt"]
    notepad, target = desktop.open_notepad()
    program = desktop.start_vantory_note()
    program.main_window()
    files = desktop.prefix / "drive_c" / "archives"
    files.mkdir()

    for n, (case, data) in enumerate(HOSTILE.items()):
        path = files / f"case{n}.vnx"
        path.write_bytes(data)
        dialog = try_import(desktop, program, path)
        expect(dialog is None, f"{case}: the import dialog showed")
        expect(not [p for p in outside if p.exists()], f"{case}: a file was written outside the scratch folder")
    expect(program.running, "a hostile archive ended the program")

    lines = b"".join(b"notepad.exe|Untitled - Notepad=EVIL|1/1/2024|" + row.encode() + b"|1\r\n" for row in BAD_ROWS)
    path = files / "bad-rows.vnx"
    path.write_bytes(archive([("Jotlets.txt", lines)]))
    dialog = try_import(desktop, program, path)
    expect(dialog is not None, "an archive with readable rows showed no import dialog")
    rows = desktop.list_view(desktop.child(dialog, "SysListView32"))["rows"]
    expect(len(rows) == len(BAD_ROWS), f"the dialog lists {len(rows)} rows")
    for row in rows:
        desktop.click(((row["rect"][0] + row["rect"][2]) // 2, (row["rect"][1] + row["rect"][3]) // 2))
        desktop.wait_until(lambda: desktop.child(dialog, "Button", "Stick to Window").enabled, 5,
                           "Stick to Window to be enabled")
        desktop.click_button(dialog, "Stick to Window")
        time.sleep(0.7)
        expect(not program.windows(cls="VnInformationWindow", visible=True),
               f"picking started for the row naming {row['texts']}")
    desktop.click((target.rect[0] + 200, target.rect[1] + 150))
    time.sleep(0.5)
    expect(not [n for n in program.notes() if n.owner == target.hwnd and n.visible and "EVIL" in
                desktop.texts_in(n)], "a hostile row became a note")

    # An archive chosen inside Temp Export itself is still read: the reset does not
    # take it away first.
    desktop.click_button(dialog, "Close")
    inside = desktop.data_folder / "Temp Export" / "inside.vnx"
    inside.write_bytes(archive([("Jotlets.txt", INDEX), ("0.txt", b"{\\rtf1 inside}")]))
    program.open_tray_menu().choose("Import Notes")
    user_folder = desktop.local_app_data.parent.parent.name
    desktop.file_dialog(program, "Select Vantory Note File to Import",
                        f"C:\\users\\{user_folder}\\AppData\\Local\\Vantory Note\\Temp Export\\inside.vnx", "Open")
    dialog = program.wait_for_window(10, "the import dialog for an archive inside Temp Export", cls="TDlgImport",
                                     visible=True)
    rows = desktop.list_view(desktop.child(dialog, "SysListView32"))["rows"]
    expect([r["texts"][1] for r in rows] == ["EVIL"], f"the archive inside Temp Export lists {rows}")

    # "Export Notes" while the import dialog shows only brings it forward.
    desktop.bring_to_front(target)
    program.open_tray_menu().choose("Export Notes")
    desktop.wait_until(lambda: desktop.window(dialog.hwnd).foreground, 5, "the import dialog in front")
    time.sleep(0.5)
    expect(not program.windows(cls="TDlgExport", visible=True), "the export dialog showed during an import")

    program.quit("Quit with the import dialog open")
    stored = load(desktop.data_folder)
    expect(len(stored) == 1 and stored[0].record.owner == "PC-1", f"the store holds {stored}")
    for f in (desktop.data_folder).rglob("*"):
        if f.is_file():
            expect(SECRET not in f.read_bytes(), f"the secret reached {f}")
    expect(secret.read_bytes() == SECRET, "the secret file changed")


run_scenario(session)
