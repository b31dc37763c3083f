#!/usr/bin/env python3
"""Three minutes of a person's use, checked after every step (see vn_soak.py): notes
added to four Notepads, typed into, ticked, restyled, dragged, resized, tiled,
deleted; Notepads closed, reopened and retitled; notes exported and imported; the
program quit and started again and killed with kill -9. Every note on screen is in
the store after its save, nothing saved is lost by a kill, and the program's
handles, windows and memory do not grow without bound.

VN_SOAK_SECONDS (180) and VN_SOAK_SEED (1312) change the run; the seed is printed.
"""
import os

from vn_desktop import expect, run_scenario
from vn_soak import run, summarize

SECONDS = float(os.environ.get("VN_SOAK_SECONDS", "180"))
SEED = int(os.environ.get("VN_SOAK_SEED", "1312"))
# After a start's warm-up the program's kernel handles may step up once or twice (a
# system library loaded for the first font dialog, say), but must not pile up with
# every step.
HANDLE_GROWTH_LIMIT = 20


def session(desktop):
    print(f"seed {SEED}, {SECONDS:.0f} s")
    report = run(desktop, SECONDS, SEED)
    for row in summarize(report, warmup=30):
        print(row)
        low, high = row["own_handles"]
        expect(high - low <= HANDLE_GROWTH_LIMIT,
               f"kernel handles (less one a file dialog) went from {low} to {high} after the warm-up of run "
               f"{row['life']}")
    used = set(report.steps)
    print(f"steps {report.steps}, checkpoints {report.checkpoints}, restarts {report.restarts}, kills {report.kills}, "
          f"notes covered before a click {report.covered} (by a tray balloon {report.balloon_waits})")
    expect({"add_note", "type"} <= used, f"the run did too little: {report.steps}")


run_scenario(session)
