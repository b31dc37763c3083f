#!/usr/bin/env python3
"""The release as a Windows user gets it: the installer and the portable zip.

The portable zip holds the program and its tile picture. The installer file has the
program's icon and version 1.32. Run silently (/S) by a user without administrator
rights in a fresh Windows, it puts the program in
%LOCALAPPDATA%\\Programs\\Vantory Note, a Start-menu shortcut and a "Start with
Windows" shortcut in the Startup folder, both starting the program in its install
folder, and an Add/Remove Programs entry under HKCU. Started from the Start-menu
shortcut, the program shows its tray icon, and a note made on Notepad and shrunk to
its tile shows the tile picture, which the program reads from its current folder.
Installing again over the running program (an update) closes it the normal way
(exit code 0), so the note is saved; the Startup shortcut starts it again. The
silent uninstall, run right after typing into the note, closes the running program
the normal way (exit code 0, the text saved) and removes the program, the shortcuts
and the entry; the notes stay.
"""
import getpass
import re
import struct
import subprocess
import time
import zipfile

from vn_desktop import PROGRAM, SOURCE_DIR, VantoryNote, body_point, expect, run_scenario
from vn_shortcut import read_shortcut
from vn_store import INDEX, STORE, read_index, rtf_text

VERSION = "1.32"
SETUP = PROGRAM.parent / f"VantoryNote-{VERSION}-setup.exe"
PORTABLE = PROGRAM.parent / f"VantoryNote-{VERSION}-portable.zip"
TILE_PICTURE = SOURCE_DIR / "resources" / "hig.png"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantory Note"
TILE_GREY = "rgb(201,201,201)"  # the tile's own colour under a transparent picture
MINIMIZE_BUTTON = (380, 40)  # in the note, at its default size
TEXT = "Renew the parking permit"


def child(folder, name):
    """A folder entry by name, ignoring case as Windows does (Wine writes "StartUp")."""
    found = [p for p in folder.iterdir() if p.name.lower() == name.lower()] if folder.is_dir() else []
    return found[0] if found else folder / name


def registry_values(desktop, key):
    """The values of a registry key as {name: text}, or None when the key does not exist."""
    out = subprocess.run(["wine", "reg", "query", key], env=desktop.env, capture_output=True, text=True,
                         stdin=subprocess.DEVNULL, timeout=60)
    if out.returncode != 0:
        return None
    values = {}
    for line in out.stdout.splitlines():
        parts = line.strip().split("    ")
        if len(parts) == 3 and parts[1].startswith("REG_"):
            values[parts[0]] = parts[2]
    return values


def expected_tile():
    """hig.png as the tile draws it: over the tile's grey, 100 x 100, as RGB bytes."""
    return subprocess.run(["convert", str(TILE_PICTURE), "-background", TILE_GREY, "-flatten", "-crop",
                           "100x100+0+0", "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout


def share_like_picture(shot, picture, inset=8, tolerance=40):
    """The share of the tile's pixels (away from its rounded corners) that match the picture."""
    same = total = 0
    for y in range(inset, 100 - inset):
        for x in range(inset, 100 - inset):
            i = (y * 100 + x) * 3
            total += 1
            same += all(abs(shot[i + c] - picture[i + c]) <= tolerance for c in range(3))
    return same / total


def resource(path, *selector):
    """Raw bytes of resources of a Windows program (icoutils' wrestool)."""
    return subprocess.run(["wrestool", "-x", "--raw", *selector, str(path)], capture_output=True,
                          check=True).stdout


def icon_images(ico):
    """The images of an .ico file, in its order."""
    count = struct.unpack_from("<H", ico, 4)[0]
    images = []
    for i in range(count):
        size, offset = struct.unpack_from("<II", ico, 6 + 16 * i + 8)
        images.append(ico[offset:offset + size])
    return images


def check_setup_file():
    """The installer file itself shows the program's icon and says its version."""
    version = resource(SETUP, "--type=16").decode("utf-16-le", "replace")
    for name in ("ProductVersion", "FileVersion"):
        found = re.search(name + r"\x00+([0-9.]+)", version)
        expect(found and found.group(1) in (VERSION, VERSION + ".0.0"), f"the installer's {name} is "
               f"{found.group(1) if found else None}")
    want = icon_images((SOURCE_DIR / "resources" / "VantoryNote.ico").read_bytes())
    have = [resource(SETUP, "--type=3", f"--name={n}") for n in range(1, len(want) + 1)]
    expect(sorted(have) == sorted(want), "the installer does not show the program's icon")


def check_portable_zip():
    with zipfile.ZipFile(PORTABLE) as archive:
        expect(sorted(archive.namelist()) == ["VantoryNote.exe", "hig.png"],
               f"the portable zip holds {archive.namelist()}")
        expect(archive.testzip() is None, "the portable zip has a damaged entry")
        expect(archive.read("VantoryNote.exe") == PROGRAM.read_bytes(), "the zip's program is not the one built")
        expect(archive.read("hig.png") == TILE_PICTURE.read_bytes(), "the zip's hig.png is not the tile picture")


def session(desktop):
    check_portable_zip()
    check_setup_file()

    setup = desktop.start(SETUP, "/S")
    expect(setup.exit_code(timeout=120) == 0, "the silent install failed")
    install = desktop.local_app_data / "Programs" / "Vantory Note"
    profile_win = f"C:\\users\\{getpass.getuser()}\\AppData"
    install_win = profile_win + "\\Local\\Programs\\Vantory Note"
    program_win = install_win + "\\VantoryNote.exe"
    expect(install.is_dir(), f"nothing was installed in {install}")
    installed = sorted(p.name for p in install.iterdir())
    expect(installed == ["Uninstall.exe", "VantoryNote.exe", "hig.png"], f"the install folder holds {installed}")
    expect((install / "VantoryNote.exe").read_bytes() == PROGRAM.read_bytes(), "the installed program differs")

    programs = desktop.prefix / "drive_c" / "users" / getpass.getuser() / "AppData" / "Roaming" / "Microsoft" / \
        "Windows" / "Start Menu" / "Programs"
    start_menu = programs / "Vantory Note.lnk"
    startup = child(programs, "Startup") / "Vantory Note.lnk"
    for shortcut in (start_menu, startup):
        expect(shortcut.is_file(), f"no shortcut {shortcut}")
        link = read_shortcut(shortcut)
        expect(link.target.lower() == program_win.lower(), f"{shortcut.name} leads to {link.target!r}")
        expect(link.working_dir.lower() == install_win.lower(),
               f"{shortcut} starts in {link.working_dir!r}, not in the install folder")
        expect(link.icon_location.lower() == program_win.lower(), f"{shortcut} shows the icon of {link.icon_location!r}")

    entry = registry_values(desktop, UNINSTALL_KEY)
    expect(entry is not None, "no Add/Remove Programs entry under HKCU")
    for name, want in {"DisplayName": "Vantory Note", "DisplayVersion": VERSION, "InstallLocation": install_win,
                       "UninstallString": f'"{install_win}\\Uninstall.exe"',
                       "DisplayIcon": f"{program_win},0"}.items():
        expect(entry.get(name, "").lower() == want.lower(), f"the entry's {name} is {entry.get(name)!r}")

    # The Start-menu shortcut, opened through the shell as a click on it would. (With
    # /wait, `start` ends with the program and passes on its exit code.)
    opener = desktop.wine("start", "/wait",
                          profile_win + "\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Vantory Note.lnk")
    program = VantoryNote(desktop, opener, "VantoryNote.exe").ready(timeout=20)

    notepad, target = desktop.open_notepad()
    note = program.add_note(target)
    desktop.click((note.rect[0] + MINIMIZE_BUTTON[0], note.rect[1] + MINIMIZE_BUTTON[1]))
    tile = desktop.wait_until(lambda: program.notes(visible=True, width=100, height=100), 5, "the note's tile")[0]
    shot = desktop.capture((tile.rect[0], tile.rect[1], 100, 100))
    desktop.screenshot("tile")
    share = share_like_picture(shot, expected_tile())
    expect(share >= 0.9, f"the tile shows the picture in only {share:.0%} of its pixels (hig.png not found?)")

    # An update over the running program closes it the normal way (the note is saved)
    # and replaces its file.
    index = desktop.data_folder / STORE / INDEX
    update = desktop.start(SETUP, "/S")
    expect(update.exit_code(timeout=120) == 0, "the install over the running program failed")
    expect(not program.windows(cls="TFMain"), "the update left the old program running")
    code = program.exit_code()
    expect(code == 0, f"the update closed the program with exit code {code}")
    expect(index.is_file() and len([r for r in read_index(index) if r]) == 1,
           "the update did not let the program save its note")

    # The Startup shortcut, as the logon opens it; the note is back on Notepad.
    opener = desktop.wine("start", "/wait", profile_win + "\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\"
                          "Startup\\Vantory Note.lnk")
    program = VantoryNote(desktop, opener, "VantoryNote.exe")
    note = program.wait_for_window(20, "the note back on Notepad", cls="TFStickyNote", visible=True)
    desktop.click(body_point(note))
    desktop.type_text(TEXT)
    last_key = time.time()

    # Removed while it runs (well before the delayed save), as from Add/Remove
    # Programs: the uninstaller copies itself away and returns at once, so its work is
    # waited for.
    desktop.wine(f"{install_win}\\Uninstall.exe", "/S")
    desktop.wait_until(lambda: not install.exists(), 60, "the uninstaller to remove the install folder")
    expect(not program.windows(cls="TFMain"), "the program still runs after the uninstall")
    code = program.exit_code()
    expect(code == 0, f"the uninstall closed the program with exit code {code}")
    expect(not start_menu.exists() and not startup.exists(), "a shortcut is left after the uninstall")
    expect(registry_values(desktop, UNINSTALL_KEY) is None, "the Add/Remove Programs entry is left")
    expect(index.is_file(), f"the notes are gone: no {index}")
    records = [r for r in read_index(index) if r]
    expect([(r.exe, r.caption) for r in records] == [("notepad.exe", "Untitled - Notepad")],
           f"the kept store holds {records}")
    body = rtf_text((desktop.data_folder / STORE / "0.txt").read_bytes())
    expect(body == TEXT, f"the kept note reads {body!r}: the uninstaller did not let the program save")
    saved_after = index.stat().st_mtime - last_key
    expect(saved_after < 5, f"the note was saved {saved_after:.1f} s after the last key: by the delayed save, "
                            "not by a polite close")


run_scenario(session)
