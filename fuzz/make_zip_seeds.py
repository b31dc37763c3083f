#!/usr/bin/env python3
"""Writes small seed archives for the unpacker fuzzer into the folder given:
Python's zipfile in its variants, plus whatever of zip, 7z and bsdtar is installed."""
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
files = {
    "Jotlets.txt": b"notepad.exe|Untitled - Notepad=HOST|17.05.2024 13:45|Temp Export\\0.txt|10\r\n",
    "0.txt": b"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Segoe UI;}}\\f0\\fs18 milk\\par eggs\\par}",
    "3.txt": b"",
    "sub/a.txt": b"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "\u00fcber.txt": b"u",
}

for label, method in (("stored", zipfile.ZIP_STORED), ("deflated", zipfile.ZIP_DEFLATED)):
    with zipfile.ZipFile(os.path.join(out, "python-%s.zip" % label), "w", method) as z:
        z.writestr("sub/", b"")
        for name, data in files.items():
            z.writestr(name, data)
with zipfile.ZipFile(os.path.join(out, "python-comment.zip"), "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("a.txt", b"with a comment")
    z.comment = b"PK\x05\x06 in a comment"
link = zipfile.ZipInfo("link")
link.create_system = 3
link.external_attr = 0o120777 << 16
with zipfile.ZipFile(os.path.join(out, "python-link.zip"), "w") as z:
    z.writestr(link, b"../../etc/passwd")
with zipfile.ZipFile(os.path.join(out, "python-climb.zip"), "w") as z:
    z.writestr("ok.txt", b"ok")
    z.writestr("../evil.txt", b"evil")

src = tempfile.mkdtemp(prefix="vn-zip-seeds-")
try:
    for name, data in files.items():
        path = os.path.join(src, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as fh:
            fh.write(data)
    tools = [
        ("zip", ["zip", "-q", "-r", os.path.join(os.path.abspath(out), "zip.zip"), "."]),
        ("zip", ["zip", "-q", "-0", "-r", os.path.join(os.path.abspath(out), "zip-stored.zip"), "."]),
        ("7z", ["7z", "a", "-tzip", os.path.join(os.path.abspath(out), "7z.zip"), "."]),
        ("bsdtar", ["bsdtar", "--format", "zip", "-cf", os.path.join(os.path.abspath(out), "bsdtar.zip"), "."]),
    ]
    for tool, args in tools:
        if shutil.which(tool):
            subprocess.run(args, cwd=src, check=True, capture_output=True)
finally:
    shutil.rmtree(src, ignore_errors=True)
