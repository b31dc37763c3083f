#!/usr/bin/env python3
"""Power cuts during saves: no note is ever lost.

A person has 200 notes, none of whose windows is open. Again and again the program
starts, loads them, is asked to close (closing saves the whole store) and is killed
(kill -9, as abruptly as a power cut) at a random moment of that save. A save
writes only what the staging folder lacks: in every other round the staging folder
is taken away first (when it holds no complete store), so that half the saves write
every body and the other half move the bodies of the reversed list by renames. After every
kill the store on disk is complete: what the next start reads holds all 200 notes,
each with its own body and its check marks, the previous store or the new one. Some
rounds, and the last, are followed by a real start and a clean close, whose save
must again hold all 200 notes.

VN_KILL_ROUNDS (50) and VN_KILL_SEED (20240205) change the run; the seed is printed.
"""
import os
import random
import shutil
import signal
import time

from vn_desktop import PROGRAM, expect, run_scenario
from vn_store import BACKUP, INDEX, STAGING, STORE, folder_to_load, load, write_store

NOTES = 200
ROUNDS = int(os.environ.get("VN_KILL_ROUNDS", "50"))
SEED = int(os.environ.get("VN_KILL_SEED", "20240205"))
CLEAN_RESTART_EVERY = 10


def stored_notes():
    notes = []
    for i in range(NOTES):
        lines = [f"Kill test note {i:03}", "second line", "third line"]
        checks = format(i % 8, "03b")  # every pattern of three check marks
        notes.append(("killtest.exe", f"Window {i:03} - Kill Test", "E2E-PC", "05.02.2024 09:00:00",
                      "\n".join(lines), checks))
    return notes


def check_complete(desktop, expected, when):
    notes = load(desktop.data_folder)
    expect(notes is not None, f"{when}: no complete store on disk")
    got = {n.record.caption: n for n in notes}
    expect(len(notes) == NOTES and set(got) == set(expected),
           f"{when}: the store read from {folder_to_load(desktop.data_folder).name} has {len(notes)} notes, "
           f"missing {sorted(set(expected) - set(got))[:5]}")
    for caption, (text, checks) in expected.items():
        note = got[caption]
        expect(note.body is not None, f"{when}: the body file of {caption!r} is missing")
        expect(note.text == text, f"{when}: {caption!r} reads {note.text!r}, not {text!r}")
        expect(note.record.checks == checks, f"{when}: {caption!r} has check marks {note.record.checks!r}")


def moment(desktop, posted):
    """Where the kill landed: before the save wrote anything, in the middle, or after."""
    folder = desktop.data_folder
    touched = [p for name in (STORE, STAGING, BACKUP) if (folder / name).is_dir()
               for p in [folder / name, *(folder / name).iterdir()] if p.stat().st_mtime >= posted]
    if not touched:
        return "before"
    index = folder / STORE / INDEX
    if index.is_file() and index.stat().st_mtime >= posted and not (folder / STAGING / INDEX).exists():
        return "after"
    return "during"


def session(desktop):
    write_store(desktop.data_folder, stored_notes())
    expected = {n[1]: (n[4], n[5]) for n in stored_notes()}
    exe = desktop.program_windows_path
    inspector = desktop.inspector
    rng = random.Random(SEED)
    print(f"seed {SEED}, {ROUNDS} rounds")

    def start():
        answer = desktop.act("launch-ready", exe, 30000)
        return answer

    def clean_round(when):
        start()
        closed = desktop.act("close-wait", 30000)
        expect(closed["exit_code"] == 0, f"{when}: the program ended with {closed['exit_code']}")
        check_complete(desktop, expected, when)
        expect(not (desktop.data_folder / STAGING / INDEX).exists(), f"{when}: a clean quit left a staged store")
        return closed["exit_ms"]

    save_ms = clean_round("first start")
    print(f"a clean close with {NOTES} notes takes {save_ms:.0f} ms")
    # Kills are drawn from [0, window] after the close request. The machine's load
    # changes how long a save takes, so the window follows where the kills land:
    # narrower after one that came too late, wider after one that came too early.
    windows = {"write": max(save_ms, 50) / 1000.0, "move": max(save_ms, 50) / 1000.0}
    moments = {"before": 0, "during": 0, "after": 0}
    started = time.monotonic()
    for round_ in range(1, ROUNDS + 1):
        staging = desktop.data_folder / STAGING
        kind = "write" if round_ % 2 and not (staging / INDEX).exists() else "move"
        if kind == "write":
            shutil.rmtree(staging, ignore_errors=True)
        window = windows[kind]
        ready = start()
        pid = desktop.linux_pid(PROGRAM.name)
        expect(pid, f"round {round_}: no Linux process for the program")
        delay = rng.uniform(0, window)
        posted = time.time()
        desktop.act("close", "TFMain")
        time.sleep(delay)
        os.kill(pid, signal.SIGKILL)
        inspector.ask("wait-exit", 10000)
        landed = moment(desktop, posted)
        moments[landed] += 1
        windows[kind] *= {"before": 1.25, "during": 1.0, "after": 0.8}[landed]
        check_complete(desktop, expected, f"round {round_} (killed {delay * 1000:.0f} ms after the close request, "
                                          f"loaded in {ready['ready_ms']:.0f} ms)")
        if round_ % CLEAN_RESTART_EVERY == 0 or round_ == ROUNDS:
            clean_round(f"the start after round {round_}")
    print(f"{ROUNDS} kills in {time.monotonic() - started:.0f} s: {moments['before']} before the save wrote "
          f"anything, {moments['during']} during the save, {moments['after']} after it")
    expect(moments["during"] >= ROUNDS // 5, f"too few kills landed during a save: {moments}")


run_scenario(session)
