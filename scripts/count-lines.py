#!/usr/bin/python3
"""Counts non-blank, non-comment lines of test code against product code and prints the ratio.

Test code: tests/ and fuzz/ (every language; fuzz inputs are data, not code) and the screenshot
script. Product code: src/ and tools/. bench/ and the other scripts count on neither side.
Usage: scripts/count-lines.py [--files]
"""
import os
import sys

HASH_COMMENTS = (".py", ".sh", ".bash", ".txt", ".cmake")
CODE = (".cpp", ".h", ".rc", ".manifest", ".h.in", ".manifest.in") + HASH_COMMENTS


def count(path):
    hashes, lines, in_block = path.endswith(HASH_COMMENTS), 0, False
    for line in open(path, encoding="utf-8", errors="replace"):
        s = line.strip()
        if in_block:
            if "*/" not in s:
                continue
            in_block, s = False, s.split("*/", 1)[1].strip()
        if hashes and s.startswith("#") or not hashes and s.startswith("//"):
            continue
        if not hashes and s.startswith("/*"):
            in_block = "*/" not in s
            s = "" if in_block else s.split("*/", 1)[1].strip()
        lines += bool(s)
    return lines


def tree(paths):
    files = []
    for root in paths:
        if os.path.isfile(root):
            files.append(root)
        for folder, subfolders, names in os.walk(root):
            subfolders[:] = [d for d in subfolders if d != "corpus"]
            files += [os.path.join(folder, n) for n in names if n.endswith(CODE)]
    return {f: count(f) for f in sorted(files)}


os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
test, product = tree(["tests", "fuzz", "scripts/screenshots.sh"]), tree(["src", "tools"])
if "--files" in sys.argv:
    for path, lines in {**test, **product}.items():
        print(f"{lines:6} {path}")
t, p = sum(test.values()), sum(product.values())
print(f"test code {t} lines, product code {p} lines: {100 * t / p:.1f}%")
