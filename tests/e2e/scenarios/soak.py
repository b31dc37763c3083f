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
# Well above what three minutes of use can add: kernel handles and windows must not
# pile up with every step.
HANDLE_GROWTH_LIMIT = 10  # per minute, after the warm-up of a start


def session(desktop):
    print(f"seed {SEED}, {SECONDS:.0f} s")
    report = run(desktop, SECONDS, SEED)
    for row in summarize(report, warmup=30):
        print(row)
        if row["samples"] >= 4 and row["handles_per_min"] is not None:
            expect(row["handles_per_min"] < HANDLE_GROWTH_LIMIT,
                   f"kernel handles grew {row['handles_per_min']:.1f} a minute in run {row['life']}")
    used = set(report.steps)
    print(f"steps {report.steps}, checkpoints {report.checkpoints}, restarts {report.restarts}, kills {report.kills}")
    expect({"add_note", "type"} <= used, f"the run did too little: {report.steps}")


run_scenario(session)
