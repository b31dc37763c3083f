#!/usr/bin/env python3
"""The archive code against real zip tools, in both directions.

  zip_peers.py write TOOL   archives packed by TOOL pass unzip, 7z, Python's zipfile
                            and bsdtar, and unpack with each of them to the same bytes
  zip_peers.py read TOOL    archives made here by Info-ZIP zip, Python's zipfile, 7z and
                            bsdtar unpack with TOOL to the same bytes

Every fixture is made in a scratch folder during the run.
"""
import os
import random
import shutil
import subprocess
import sys
import tempfile
import zipfile

ENV = dict(os.environ, LC_ALL="C.UTF-8", LANG="C.UTF-8")
failures = []


def run(args, cwd=None, stdin=None, check=True):
    result = subprocess.run(args, cwd=cwd, input=stdin, env=ENV, capture_output=True)
    if check and result.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (" ".join(map(str, args)), result.returncode,
                                                      (result.stdout + result.stderr).decode(errors="replace")))
    return result


def tree(root):
    """Relative path (bytes) -> content, or None for a folder."""
    found = {}
    for folder, dirs, files in os.walk(os.fsencode(root)):
        rel = os.path.relpath(folder, os.fsencode(root))
        for d in dirs:
            found[os.path.normpath(os.path.join(rel, d))] = None
        for f in files:
            with open(os.path.join(folder, f), "rb") as fh:
                found[os.path.normpath(os.path.join(rel, f))] = fh.read()
    return found


def files_of(t):
    return {k: v for k, v in t.items() if v is not None}


def check(label, condition, detail=""):
    print(("ok   " if condition else "FAIL ") + label)
    if not condition:
        failures.append(label)
        if detail:
            print("     " + detail)


def compare(label, got, expected):
    if got == expected:
        check(label, True)
        return
    missing = sorted(set(expected) - set(got))
    extra = sorted(set(got) - set(expected))
    differ = sorted(k for k in set(got) & set(expected) if got[k] != expected[k])
    check(label, False, "missing %r, unexpected %r, different %r" % (missing, extra, differ))


def make_notes(root):
    rnd = random.Random(6)
    os.makedirs(os.path.join(root, "sub", "deeper"))
    contents = {
        "Jotlets.txt": b"notepad.exe|Untitled - Notepad=HOST|17.05.2024 13:45|Temp Export\\0.txt|1010\r\n",
        "0.txt": b"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Segoe UI;}}\\f0\\fs18 milk\\par eggs\\par}" * 40,
        "3.txt": b"",
        "sub/a.txt": b"in a folder",
        "sub/deeper/noise.bin": bytes(rnd.getrandbits(8) for _ in range(150000)),
        "\u00dcn\u00efc\u00f8d\u00e9 \u20ac.txt": "unicode name".encode(),
        "large.rtf": b"".join(b"{\\b word%d} plain text \\par\r\n" % rnd.randrange(5000) for _ in range(40000)),
    }
    for name, data in contents.items():
        with open(os.path.join(root, name), "wb") as fh:
            fh.write(data)


def write_direction(tool, scratch):
    src = os.path.join(scratch, "src")
    make_notes(src)
    expected = files_of(tree(src))
    for method in ("8", "0"):
        archive = os.path.join(scratch, "ours%s.vnx" % method)
        run([tool, "pack", archive, src, method])
        tag = "method %s: " % method

        r = run(["unzip", "-tq", archive], check=False)
        check(tag + "unzip -tq", r.returncode == 0, r.stdout.decode(errors="replace"))
        r = run(["7z", "t", archive], check=False)
        check(tag + "7z t", r.returncode == 0 and b"Everything is Ok" in r.stdout, r.stdout.decode(errors="replace"))
        r = run([sys.executable, "-m", "zipfile", "-t", archive], check=False)
        check(tag + "python3 -m zipfile -t", r.returncode == 0 and r.stdout.strip() == b"Done testing",
              (r.stdout + r.stderr).decode(errors="replace"))
        for name, data in sorted(expected.items()):
            r = run(["bsdtar", "-xOf", archive, os.fsdecode(name)], check=False)
            check(tag + "bsdtar -xOf " + os.fsdecode(name), r.returncode == 0 and r.stdout == data)

        unpackers = {
            "unzip": lambda d: run(["unzip", "-q", archive, "-d", d]),
            "7z x": lambda d: run(["7z", "x", "-o" + d, archive]),
            "bsdtar -xf": lambda d: (os.makedirs(d), run(["bsdtar", "-xf", archive, "-C", d])),
            "python zipfile": lambda d: zipfile.ZipFile(archive).extractall(d),
        }
        for label, unpack in unpackers.items():
            out = os.path.join(scratch, "out-%s-%s" % (method, label.split()[0]))
            unpack(out)
            got, want = files_of(tree(out)), expected
            if label == "unzip":
                # Info-ZIP unzip translates every name of an entry made on MS-DOS (which
                # the archive says of itself) from the OEM code page, bit 11 or not: only
                # ASCII names, which are all the program writes, survive it.
                got = {k: v for k, v in got.items() if k.isascii()}
                want = {k: v for k, v in want.items() if k.isascii()}
            compare(tag + label + " gives the same files", got, want)


def read_direction(tool, scratch):
    src = os.path.join(scratch, "src")
    make_notes(src)
    expected = tree(src)

    def unpack_and_compare(label, archive, want, dirs=True):
        out = os.path.join(scratch, "out-" + label.replace(" ", "-").replace("/", "-"))
        r = run([tool, "unpack", archive, out], check=False)
        if r.returncode != 0:
            check(label, False, r.stderr.decode(errors="replace"))
            return
        got = tree(out)
        compare(label, got if dirs else files_of(got), want if dirs else files_of(want))

    z = os.path.join(scratch, "fixtures")
    os.makedirs(z)
    # Info-ZIP zip: deflated with folder entries, stored, with a comment.
    run(["zip", "-q", "-r", os.path.join(z, "zip-deflated.zip"), "."], cwd=src)
    unpack_and_compare("zip -r (deflated, folder entries)", os.path.join(z, "zip-deflated.zip"), expected)
    run(["zip", "-q", "-0", "-r", os.path.join(z, "zip-stored.zip"), "."], cwd=src)
    unpack_and_compare("zip -0 -r (stored)", os.path.join(z, "zip-stored.zip"), expected)
    shutil.copy(os.path.join(z, "zip-deflated.zip"), os.path.join(z, "zip-comment.zip"))
    run(["zip", "-q", "-z", os.path.join(z, "zip-comment.zip")], stdin=b"PK\x05\x06 exported notes\n.\n")
    unpack_and_compare("zip -z (with a comment)", os.path.join(z, "zip-comment.zip"), expected)

    # A name in code page 437 ("\x81" is u-umlaut there), as DOS-era tools wrote it.
    cp = os.path.join(scratch, "cp437")
    os.makedirs(cp)
    with open(os.path.join(os.fsencode(cp), b"\x81ber.txt"), "wb") as fh:
        fh.write(b"old name")
    run(["zip", "-q", os.path.join(z, "zip-cp437.zip"), os.fsdecode(b"\x81ber.txt")], cwd=cp)
    unpack_and_compare("zip with a code page 437 name", os.path.join(z, "zip-cp437.zip"),
                       {"\u00fcber.txt".encode(): b"old name"})

    # Python's zipfile: stored and deflated, UTF-8 names (bit 11 only where needed).
    for label, method in (("stored", zipfile.ZIP_STORED), ("deflated", zipfile.ZIP_DEFLATED)):
        archive = os.path.join(z, "python-%s.zip" % label)
        with zipfile.ZipFile(archive, "w", method) as zf:
            for name, data in files_of(expected).items():
                zf.writestr(os.fsdecode(name), data)
        unpack_and_compare("python zipfile " + label, archive, expected)

    # 7z, and bsdtar (data descriptors, bit 11 on names that are not ASCII, a "./" entry).
    run(["7z", "a", "-tzip", os.path.join(z, "7z.zip"), "."], cwd=src)
    unpack_and_compare("7z a -tzip", os.path.join(z, "7z.zip"), expected)
    run(["bsdtar", "--format", "zip", "-cf", os.path.join(z, "bsdtar.zip"), "."], cwd=src)
    unpack_and_compare("bsdtar --format zip", os.path.join(z, "bsdtar.zip"), expected)

    # A symbolic link stored by zip -y is refused, and nothing is written through it.
    ln = os.path.join(scratch, "links")
    os.makedirs(ln)
    os.symlink("../../../../etc/passwd", os.path.join(ln, "note.txt"))
    run(["zip", "-q", "-y", os.path.join(z, "zip-symlink.zip"), "note.txt"], cwd=ln)
    out = os.path.join(scratch, "out-symlink")
    r = run([tool, "unpack", os.path.join(z, "zip-symlink.zip"), out], check=False)
    check("zip -y symbolic link refused", r.returncode == 1 and r.stderr.strip() == b"Symbolic link in zip file",
          r.stderr.decode(errors="replace"))
    check("nothing unpacked of the link", tree(out) == {})


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("write", "read"):
        print(__doc__)
        return 2
    tool = os.path.abspath(sys.argv[2])
    scratch = tempfile.mkdtemp(prefix="vn-zip-peers-")
    try:
        (write_direction if sys.argv[1] == "write" else read_direction)(tool, scratch)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
