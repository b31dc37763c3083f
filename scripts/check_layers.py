#!/usr/bin/env python3
"""Checks the shape rules of src/: includes point one way between its folders; no
portable file includes <windows.h> or a Win32 header of the program; no source file
is over 600 lines; the controller casts no note down; no object frees itself; a
window's device context is taken only through the platform's scope type. Prints
each line that breaks a rule and exits 1 if there is one."""
import re
import sys
from pathlib import Path

# What the files of each folder may include, besides their own folder.
ALLOWED = {
    "app": {"app", "exchange", "note", "attach", "store", "search", "platform"},
    "exchange": {"note", "store", "platform"},
    "note": {"attach", "store", "platform"},
    "attach": {"platform"},
    "search": {"platform"},
    "store": {"platform"},
    "platform": set(),
}
INCLUDE = re.compile(r'^\s*#\s*include\s+([<"])([^>"]+)[>"]')
MAX_LINES = 600
# (pattern, the folders it may appear in, what it breaks)
FORBIDDEN = [
    (re.compile(r"\bdynamic_cast\b"), {"attach", "exchange", "note", "platform", "store"},
     "the controller works through Jotlet's operations"),
    # A COM object of the platform layer ends with its last reference; nothing else frees itself.
    (re.compile(r"\bdelete\s+this\b"), {"platform"}, "notes are owned by the note list"),
    (re.compile(r"(?<![\w:])GetDC\s*\("), {"platform"}, "use WindowDc (platform/gdi_win.h)"),
]


def main():
    src = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src")
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or path.parent.parent != src:
            continue
        folder = path.parent.name
        portable = not path.stem.endswith("_win")
        lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
        if len(lines) > MAX_LINES:
            faults.append(f"{path.relative_to(src.parent)}: {len(lines)} lines (at most {MAX_LINES})")
        for number, line in enumerate(lines, 1):
            code = line.split("//", 1)[0]
            for pattern, allowed_in, why in FORBIDDEN:
                if folder not in allowed_in and pattern.search(code):
                    faults.append(f"{path.relative_to(src.parent)}:{number}: {line.strip()}  ({why})")
            m = INCLUDE.match(line)
            if not m:
                continue
            kind, name = m.groups()
            where = f"{path.relative_to(src.parent)}:{number}: {line.strip()}"
            if kind == '"' and "/" in name:
                target = name.split("/", 1)[0]
                if target in ALLOWED and target != folder and target not in ALLOWED.get(folder, set()):
                    faults.append(f"{where}  ({folder}/ may not include {target}/)")
                if portable and Path(name).stem.endswith("_win"):
                    faults.append(f"{where}  (a portable file includes the Win32 layer)")
            if portable and kind == "<" and name.lower() in ("windows.h", "windowsx.h", "commctrl.h", "shellapi.h"):
                faults.append(f"{where}  (a portable file includes a Windows header)")
    for fault in faults:
        print(fault)
    print(f"shape of src/: {len(faults)} lines against the rules")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
