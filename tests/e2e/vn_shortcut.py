"""Windows shortcut files (.lnk, the Shell Link binary format) read far enough to tell
where a shortcut leads: its target, working folder, arguments, icon and comment.

    link = read_shortcut(path)
    link.target, link.working_dir

The target comes from the link-info block (the local path the shell resolved when it
saved the link); the strings follow in their fixed order, each present only when its
flag is set.
"""

import struct
from dataclasses import dataclass
from pathlib import Path

HEADER_SIZE = 0x4C
LINK_CLSID = bytes.fromhex("0114020000000000c000000000000046")
HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH = 0x1, 0x2, 0x4, 0x8
HAS_WORKING_DIR, HAS_ARGUMENTS, HAS_ICON_LOCATION, IS_UNICODE = 0x10, 0x20, 0x40, 0x80
VOLUME_ID_AND_LOCAL_BASE_PATH = 0x1


class ShortcutError(ValueError):
    pass


@dataclass
class Shortcut:
    target: str
    working_dir: str
    arguments: str
    icon_location: str
    icon_index: int
    description: str
    show_command: int


def _c_string(data, offset, unicode):
    if unicode:
        end = offset
        while data[end:end + 2] != b"\0\0":
            end += 2
            if end >= len(data):
                raise ShortcutError("an unterminated path in the link-info block")
        return data[offset:end].decode("utf-16-le")
    end = data.index(b"\0", offset)
    return data[offset:end].decode("cp1252", "replace")  # the ANSI code page of an English system


def _local_path(info):
    """The target path from a LinkInfo block: the local base path and the common suffix."""
    size, header_size, flags, _volume, base, _network, suffix = struct.unpack_from("<7I", info)
    if size > len(info) or not flags & VOLUME_ID_AND_LOCAL_BASE_PATH:
        raise ShortcutError("the link-info block names no local path")
    if header_size >= 0x24:
        base_u, suffix_u = struct.unpack_from("<2I", info, 28)
        return _c_string(info, base_u, True) + _c_string(info, suffix_u, True)
    return _c_string(info, base, False) + _c_string(info, suffix, False)


def read_shortcut(path):
    data = Path(path).read_bytes()
    if len(data) < HEADER_SIZE or struct.unpack_from("<I", data)[0] != HEADER_SIZE or data[4:20] != LINK_CLSID:
        raise ShortcutError(f"{path} is no shortcut file")
    flags = struct.unpack_from("<I", data, 20)[0]
    icon_index, show_command = struct.unpack_from("<iI", data, 56)
    offset = HEADER_SIZE
    if flags & HAS_ID_LIST:
        offset += 2 + struct.unpack_from("<H", data, offset)[0]
    target = ""
    if flags & HAS_LINK_INFO:
        info_size = struct.unpack_from("<I", data, offset)[0]
        target = _local_path(data[offset:offset + info_size])
        offset += info_size
    unicode = bool(flags & IS_UNICODE)
    strings = {}
    for flag in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR, HAS_ARGUMENTS, HAS_ICON_LOCATION):
        if flags & flag:
            count = struct.unpack_from("<H", data, offset)[0]
            size = count * (2 if unicode else 1)
            raw = data[offset + 2:offset + 2 + size]
            if len(raw) != size:
                raise ShortcutError(f"{path} ends inside its strings")
            text = raw.decode("utf-16-le") if unicode else raw.decode("cp1252", "replace")
            # Wine counts the terminating NUL in; Windows does not.
            strings[flag] = text[:-1] if text.endswith("\0") else text
            offset += 2 + size
    return Shortcut(target=target, working_dir=strings.get(HAS_WORKING_DIR, ""),
                    arguments=strings.get(HAS_ARGUMENTS, ""), icon_location=strings.get(HAS_ICON_LOCATION, ""),
                    icon_index=icon_index, description=strings.get(HAS_NAME, ""), show_command=show_command)
