#!/usr/bin/python3
"""Measures test code against product code, in non-blank non-comment lines and in their
non-whitespace characters (which packing more onto a line does not change), and prints the ratios.

Test code: tests/ and fuzz/ (code, not the fuzz corpora) and every script that exists only to test
or photograph the product. Product code: src/ and tools/. Counted plainly, so that a grep and tr
one-liner gets the same figures: the tracked C, C++, Python and shell files; a line whose first text
is // or # is a comment; the characters are the UTF-8 bytes left after removing spaces, tabs and line
ends.
Usage: scripts/count-lines.py [--files]
"""
import os
import subprocess
import sys

CODE = (".c", ".cc", ".cpp", ".cxx", ".h", ".hpp", ".hh", ".py", ".sh", ".bash")
TEST_SCRIPTS = ["scripts/site-server.py", "scripts/run-with-locked-folders.sh", "scripts/run-with-servers.sh",
                "scripts/run-at-dpi.sh", "scripts/run-unpacked.sh", "scripts/screenshots.sh"]


def count(path):
    """(lines, characters) of the code in one file."""
    lines = 0
    characters = 0
    with open(path, "rb") as f:
        for line in f:
            text = line.strip()
            if not text or text.startswith((b"//", b"#")):
                continue
            lines += 1
            characters += len(line.translate(None, b" \t\n"))
    return lines, characters


def tree(paths):
    listed = subprocess.run(["git", "ls-files", "--"] + paths, capture_output=True, text=True, check=True)
    files = [f for f in listed.stdout.splitlines() if f.endswith(CODE) and "/corpus/" not in f]
    return {f: count(f) for f in sorted(files)}


def share(test, product, column):
    t = sum(c[column] for c in test.values())
    p = sum(c[column] for c in product.values())
    return t, p, 100 * t / p


os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
test = tree(["tests", "fuzz"] + TEST_SCRIPTS)
product = tree(["src", "tools"])
if "--files" in sys.argv:
    for path, (lines, characters) in {**test, **product}.items():
        print(f"{lines:6} {characters:7} {path}")
for column, unit in [(0, "lines"), (1, "characters")]:
    t, p, percent = share(test, product, column)
    print(f"test code {t} {unit}, product code {p} {unit}: {percent:.1f}%")
