"""The program's note store as files in the Wine prefix, read and written the way the
program does it, so that a scenario can look at what a person's notes became on disk
and can lay out a store before a start.

The store is the folder "Information" of the data folder: "Jotlets.txt", one record
line a note (exe|caption=owner|time|Information\\N.txt|checks, CR LF after every line,
the ANSI code page or UTF-8 with a byte-order mark), and one RTF body file a note.
While a save runs, the new store is written into "Information.new" and swapped in by
renaming; a folder is complete when its "Jotlets.txt" exists. What a start loads is,
in this order, a complete "Information.new", a complete "Information", a complete
"Information.old".
"""

import time
from dataclasses import dataclass
from pathlib import Path

STORE, STAGING, BACKUP = "Information", "Information.new", "Information.old"
INDEX = "Jotlets.txt"


@dataclass
class Record:
    exe: str
    caption: str
    owner: str
    time: str
    body_file: str  # relative to the data folder: Information\\N.txt
    checks: str = ""

    @property
    def line(self):
        return f"{self.exe}|{self.caption}={self.owner}|{self.time}|{self.body_file}|{self.checks}"

    @property
    def identity(self):
        return (self.exe.lower(), self.caption.lower())


def split_value(value):
    """The value part's fields: "|" (or CR, LF) ends a field, a quote character
    protects "|" up to the same character again, empty fields vanish."""
    items, i, n = [], 0, len(value)
    while i < n:
        while i < n and value[i] in "\r\n":
            i += 1
        start = i
        while i < n and value[i] not in "|\r\n":
            if value[i] in "\"'":
                close = value.find(value[i], i + 1)
                i = n if close < 0 else close + 1
            else:
                i += 1
        if i > start:
            items.append(value[start:i])
        if i < n and value[i] == "|":
            i += 1
        elif i < n:
            i += 1
    return items


def parse_line(line):
    """A record line as a Record, or None when the store would skip it."""
    name, sep, value = line.partition("=")
    if not sep:
        return None
    parts = name.split("|")
    if parts and parts[-1] == "" and name.endswith("|"):
        parts = parts[:-1]
    if len(parts) != 2:
        return None
    fields = split_value(value) + ["", "", "", ""]
    return Record(parts[0], parts[1], fields[0], fields[1], fields[2], fields[3])


def decode_index(data):
    if data.startswith(b"\xef\xbb\xbf"):
        return data[3:].decode("utf-8")
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le")
    if data.startswith(b"\xfe\xff"):
        return data[2:].decode("utf-16-be")
    return data.decode("cp1252", "replace")  # the ANSI code page of the test prefix


def read_index(path):
    return [parse_line(line) for line in decode_index(Path(path).read_bytes()).splitlines()]


def folder_to_load(data_folder):
    """The store folder a start reads, by the rule above, or None."""
    for name in (STAGING, STORE, BACKUP):
        if (Path(data_folder) / name / INDEX).is_file():
            return Path(data_folder) / name
    return None


@dataclass
class Note:
    """A note as the store holds it: its record and its body (RTF bytes)."""

    record: Record
    body: bytes

    @property
    def text(self):
        return rtf_text(self.body)


def load(data_folder, folder=None):
    """The notes a start would load from the data folder: a list of Note, or None when
    there is no store. A record whose body file is missing loads with body None."""
    folder = Path(folder) if folder else folder_to_load(data_folder)
    if folder is None:
        return None
    notes = []
    for record in read_index(folder / INDEX):
        if record is None:
            continue
        # The body field names the store folder; it is read from the folder loaded.
        name = record.body_file.replace("\\", "/").split("/")[-1]
        body = folder / name
        notes.append(Note(record, body.read_bytes() if body.is_file() else None))
    return notes


def load_settled(data_folder, tries=20):
    """load(), read again while a save swaps the store's folders underneath the reader
    (a folder or file that was there a moment ago is gone)."""
    for _ in range(tries):
        try:
            return load(data_folder)
        except (FileNotFoundError, NotADirectoryError):
            time.sleep(0.1)
    raise AssertionError(f"the store in {data_folder} kept changing underneath the reader")


def rtf(text):
    """A body file as the rich-text control writes short plain paragraphs (one a line)."""
    escaped = text.replace("\\", "\\\\").replace("{", "\\{").replace("}", "\\}").replace("\n", "\\par\r\n")
    return ("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
            "\\viewkind4\\uc1\\pard\\f0\\fs20 " + escaped + "\\par\r\n}\r\n").encode("cp1252")


def rtf_text(body):
    """The plain text of an RTF body: control words and the font and colour tables
    dropped, \\par as a line break. Good enough for the short bodies of the tests."""
    if body is None:
        return None
    text = body.decode("cp1252", "replace")
    out, depth, skip_depth, i = [], 0, None, 0
    while i < len(text):
        c = text[i]
        if c == "{":
            depth += 1
            if skip_depth is None and (text.startswith("{\\fonttbl", i) or text.startswith("{\\colortbl", i)
                                       or text.startswith("{\\*", i) or text.startswith("{\\stylesheet", i)):
                skip_depth = depth
            i += 1
        elif c == "}":
            if skip_depth == depth:
                skip_depth = None
            depth -= 1
            i += 1
        elif c == "\\":
            if i + 1 < len(text) and text[i + 1] in "\\{}":
                if skip_depth is None:
                    out.append(text[i + 1])
                i += 2
                continue
            j = i + 1
            while j < len(text) and text[j].isalpha():
                j += 1
            word = text[i + 1:j]
            while j < len(text) and (text[j].isdigit() or text[j] == "-"):
                j += 1
            if j < len(text) and text[j] == " ":
                j += 1
            if skip_depth is None and word in ("par", "line"):
                out.append("\n")
            i = j
        elif c in "\r\n":
            i += 1
        else:
            # Outside the document's group nothing is text (the control ends its
            # stream with a NUL byte).
            if skip_depth is None and depth > 0:
                out.append(c)
            i += 1
    return "".join(out).strip("\n")


def write_store(data_folder, records_and_texts):
    """Lays out a store as the program writes it: every body file, then the index.
    `records_and_texts` is a list of (exe, caption, owner, time, text, checks)."""
    folder = Path(data_folder) / STORE
    folder.mkdir(parents=True, exist_ok=True)
    lines = []
    for n, (exe, caption, owner, time, text, checks) in enumerate(records_and_texts):
        (folder / f"{n}.txt").write_bytes(rtf(text))
        lines.append(Record(exe, caption, owner, time, f"{STORE}\\{n}.txt", checks).line)
    (folder / INDEX).write_bytes("".join(line + "\r\n" for line in lines).encode("cp1252"))
