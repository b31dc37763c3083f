#!/usr/bin/env python3
"""Checks the documentation's references: README.md and every page under docs/.

- Every relative link and picture ([text](path), ![alt](path)) must name a file or
  folder that exists; a #fragment must name a heading of the page it points at.
- Every file path in backticks that starts with a source or repository folder
  (`store/note_store.cpp`, `src/app/`, `tests/e2e/vn_soak.py`, `note/note_*.h`)
  must match something: paths of src/ may leave out the leading "src/". Paths with
  a placeholder (`tests/unit/<subsystem>/`) are skipped.

Prints each broken reference as FILE:LINE: message and ends with 1 if there is one.
"""
import glob
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SRC_FOLDERS = ("app", "note", "attach", "store", "exchange", "platform")
REPO_FOLDERS = ("src", "tests", "bench", "fuzz", "scripts", "docs", "packaging", "resources", "cmake")

LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)\)")
CODE = re.compile(r"`([^`\s]+)`")
FENCE = re.compile(r"^\s*```")


def slug(heading):
    """The anchor a heading gets on the usual Markdown hosts."""
    text = re.sub(r"[^\w\- ]", "", heading.strip().lower())
    return text.replace(" ", "-")


def anchors(page):
    return {slug(line.lstrip("#")) for line in page.read_text(encoding="utf-8").splitlines()
            if line.startswith("#")}


def path_exists(text):
    text = text.rstrip(".,:;")
    first = text.split("/", 1)[0]
    if "/" not in text or "<" in text or first not in SRC_FOLDERS + REPO_FOLDERS:
        return True  # not a repository path
    bases = [ROOT] if first in REPO_FOLDERS else [ROOT / "src"]
    return any(glob.glob(str(base / text)) for base in bases)


def check(page):
    problems = []
    in_fence = False
    for number, line in enumerate(page.read_text(encoding="utf-8").splitlines(), 1):
        if FENCE.match(line):
            in_fence = not in_fence
            continue
        for target in LINK.findall(line):
            if re.match(r"[a-z]+:", target):
                continue  # a web address
            path, _, fragment = target.partition("#")
            resolved = (page.parent / path).resolve() if path else page
            if not resolved.exists():
                problems.append(f"{page.relative_to(ROOT)}:{number}: no such file: {target}")
            elif fragment and resolved.suffix == ".md" and fragment not in anchors(resolved):
                problems.append(f"{page.relative_to(ROOT)}:{number}: no such heading: {target}")
        if not in_fence:
            for code in CODE.findall(line):
                if not path_exists(code):
                    problems.append(f"{page.relative_to(ROOT)}:{number}: no such path: {code}")
    return problems


def main():
    pages = [ROOT / "README.md", *sorted((ROOT / "docs").rglob("*.md"))]
    problems = [p for page in pages for p in check(page)]
    for problem in problems:
        print(problem)
    print(f"{len(pages)} pages checked, {len(problems)} broken references")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
