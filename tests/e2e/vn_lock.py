"""Locks on the data folder that Windows programs cause, made on the Linux side.

Wine renames a folder even while a file inside it is open, so a folder held by
another program cannot be shown with an open file. As root on ext4, the immutable
flag refuses what such a lock refuses: no entry of the folder may be added, removed
or renamed, and a flagged file may not be written. The flags are always taken back
(a `with` block), so that the prefix stays removable.
"""
import os
import subprocess
from contextlib import contextmanager
from pathlib import Path

from vn_desktop import expect


def _chattr(flag, paths):
    subprocess.run(["chattr", flag, *map(str, paths)], check=True, stdout=subprocess.DEVNULL)


@contextmanager
def immutable(*paths):
    """The files and folders, flagged immutable for the block; a folder's own files
    are not flagged unless they are listed."""
    expect(os.geteuid() == 0, "locking a folder needs root (chattr +i)")
    paths = [Path(p) for p in paths]
    flagged = []
    try:
        for path in paths:
            _chattr("+i", [path])
            flagged.append(path)
        yield
    finally:
        if flagged:
            _chattr("-i", flagged)


def store_and_its_files(data_folder, store="Information"):
    folder = Path(data_folder) / store
    return [folder, *sorted(folder.iterdir())]
