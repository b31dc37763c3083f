#!/usr/bin/env python3
"""Typing into a note: the store is written 5 seconds after the last key.

The person sticks a note onto Notepad, clicks into its body and types two bursts of
text with a pause of 3 seconds between them. Nothing is written while they type;
5 seconds after the last key the store holds the note: "Jotlets.txt" in the data
folder's "Information" folder has its record line (notepad.exe, the caption, this
computer's name, the creation date and time, its body file, one check state per
line), and the body file holds the typed text as RTF. Quit leaves the note as saved.
"""
import re
import subprocess
import time

from vn_desktop import body_point, expect, run_scenario
from vn_store import INDEX, STORE, read_index, rtf_text

FIRST, SECOND = "Call the plumber", " on Monday"


def computer_name(desktop):
    out = subprocess.run(["wine", "cmd", "/c", "echo %COMPUTERNAME%"], env=desktop.env, capture_output=True,
                         text=True, stdin=subprocess.DEVNULL, timeout=30).stdout
    return out.strip()


def session(desktop):
    notepad, target = desktop.open_notepad()
    program = desktop.start_vantory_note().ready()
    note = program.add_note(target)
    made = time.localtime()

    desktop.click(body_point(note))
    desktop.type_text(FIRST)
    time.sleep(3)
    index = desktop.data_folder / STORE / INDEX
    expect(not index.exists(), "the store was written while the person was typing")
    desktop.type_text(SECOND)
    last_key = time.monotonic()
    desktop.screenshot("typed")

    desktop.wait_until(index.exists, 10, f"{index} to be written")
    saved_after = time.monotonic() - last_key
    expect(4.5 <= saved_after <= 7, f"the store was written {saved_after:.1f} s after the last key")

    records = read_index(index)
    expect(len(records) == 1 and records[0], f"the index holds {index.read_bytes()!r}")
    record = records[0]
    expect((record.exe, record.caption) == ("notepad.exe", "Untitled - Notepad"),
           f"the record is for {record.exe}|{record.caption}")
    expect(record.owner == computer_name(desktop), f"the owner label is {record.owner!r}")
    expect(re.search(r"\d{1,2}:\d{2}:\d{2}", record.time) and str(made.tm_year) in record.time,
           f"the time label {record.time!r} is no date and time of {made.tm_year}")
    expect(record.body_file == "Information\\0.txt", f"the body file is {record.body_file!r}")
    expect(record.checks == "0", f"the check states are {record.checks!r} for one line")
    expect(index.read_bytes().endswith(b"\r\n"), "the record line does not end in CR LF")

    body = (desktop.data_folder / STORE / "0.txt").read_bytes()
    expect(body.startswith(b"{\\rtf"), f"the body file is no RTF: {body[:40]!r}")
    expect(rtf_text(body) == FIRST + SECOND, f"the body file holds {rtf_text(body)!r}")
    program.quit()
    after = read_index(index)
    expect([(r.caption, r.body_file, r.checks) for r in after] == [(record.caption, record.body_file, record.checks)],
           f"after Quit the index holds {index.read_bytes()!r}")
    expect(rtf_text((desktop.data_folder / STORE / "0.txt").read_bytes()) == FIRST + SECOND,
           "after Quit the body file changed")


run_scenario(session)
