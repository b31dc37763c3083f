#!/usr/bin/env python3
"""Start-up and store save with 0, 100 and 1,000 stored notes, under Wine.

Runs on one desktop of the end-to-end harness (tests/e2e/vn_desktop.py). For every
note count and run, a fresh store of that many notes is laid out (none of their
windows exists, so every note waits unbound) as the program leaves a store it has
saved: "Information" and the staging folder "Information.new" with the bodies of
the save before and no index (VN_BENCH_NO_STAGING=1 leaves the staging folder out,
as in a store that only another program wrote: then the save writes and flushes
every body). The inspection helper, running inside Wine:
  - starts the program and times it until it is ready: its main window exists, its
    creation handler (tray icon, loading the store, mouse hook) has returned and its
    message loop answers a click on the tray icon with the tray menu;
  - then measures the processor time of the program and of the Wine server (which
    does the window searches) over 3 s of idling, when every unbound note's 500 ms
    tick looks for its window;
  - then asks it to close and times it to its end: the shutdown saves the whole
    store, so the difference to the empty store is the time of a store save.
Note counts are interleaved run by run, so that a noisy moment of the machine hits
all of them alike; the medians are reported.

    bench/startup_bench.py [RUNS]      (bench/startup_bench.sh builds first)
"""
import os
import shutil
import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from vn_desktop import Desktop  # noqa: E402
from vn_store import write_store  # noqa: E402

COUNTS = (0, 100, 1000)
IDLE_SECONDS = 3.0
BODY = ("Bench note {i}: a few lines of text as a person types them\n"
        "- first item of a list\n- second item of a list\n- third item, somewhat longer than the others")


def lay_out_store(desktop, count):
    shutil.rmtree(desktop.data_folder, ignore_errors=True)
    if count:
        write_store(desktop.data_folder, [("bench.exe", f"Bench window {i} - Editor", "BENCH-PC",
                                           "05.02.2024 09:00:00", BODY.format(i=i), "0100")
                                          for i in range(count)])
        if os.environ.get("VN_BENCH_NO_STAGING") != "1":
            staging = desktop.data_folder / "Information.new"
            shutil.copytree(desktop.data_folder / "Information", staging)
            (staging / "Jotlets.txt").unlink()


def cpu_seconds(pid):
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def linux_pid(desktop, name):
    """The Linux process of this desktop's prefix whose program name starts with `name`."""
    for entry in Path("/proc").iterdir():
        if entry.name.isdigit():
            try:
                cmdline = (entry / "cmdline").read_bytes().split(b"\0")[0].decode("utf-8", "replace")
                environ = (entry / "environ").read_bytes().split(b"\0")
            except OSError:
                continue
            if (cmdline.replace("\\", "/").split("/")[-1].lower().startswith(name)
                    and f"WINEPREFIX={desktop.prefix}".encode() in environ):
                return int(entry.name)
    return None


def one_run(desktop, count):
    lay_out_store(desktop, count)
    ready = desktop.act("launch-ready", desktop.program_windows_path, 60000)
    pids = [linux_pid(desktop, "vantorynote.exe"), linux_pid(desktop, "wineserver")]
    before = sum(map(cpu_seconds, pids))
    time.sleep(IDLE_SECONDS)
    idle_cpu = (sum(map(cpu_seconds, pids)) - before) / IDLE_SECONDS
    closed = desktop.act("close-wait", 60000)
    if closed["exit_code"] != 0:
        raise SystemExit(f"the program ended with exit code {closed['exit_code']}")
    return ready["ready_ms"], closed["exit_ms"], idle_cpu


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    desktop = Desktop("startup-bench")
    results = {count: [] for count in COUNTS}
    try:
        desktop.open()
        one_run(desktop, 0)  # warm-up: the program's and Wine's files into the cache
        for run in range(runs):
            for count in COUNTS:
                results[count].append(one_run(desktop, count))
                ready, closed, cpu = results[count][-1]
                print(f"run {run + 1}, {count:5} notes: ready {ready:7.1f} ms, close {closed:7.1f} ms, "
                      f"idle CPU (with the Wine server) {cpu * 100:5.1f} %", flush=True)
    finally:
        desktop.close()

    def median(count, k):
        return statistics.median(r[k] for r in results[count])

    print(f"\nmedians of {runs} runs (min-max)")
    print(f"{'notes':>6} {'start-up ms':>20} {'above empty':>12} {'close ms':>20} {'store save':>11} {'idle CPU':>9}")
    for count in COUNTS:
        ready = [r[0] for r in results[count]]
        closed = [r[1] for r in results[count]]
        print(f"{count:6} {median(count, 0):8.1f} ({min(ready):6.1f}-{max(ready):6.1f}) "
              f"{median(count, 0) - median(0, 0):12.1f} "
              f"{median(count, 1):8.1f} ({min(closed):6.1f}-{max(closed):6.1f}) "
              f"{median(count, 1) - median(0, 1):11.1f} {median(count, 2) * 100:8.1f}%")
    above = median(1000, 0) - median(0, 0)
    print(f"\nstart-up with 1,000 notes: {median(1000, 0) / median(0, 0):.2f} x the empty start, "
          f"{above:.0f} ms above it (goal: under 1000 ms above) -> {'met' if above < 1000 else 'MISSED'}")


if __name__ == "__main__":
    main()
