#!/usr/bin/env python3
"""Compares two folders of word_boxes.sh: every page's words, their texts and boxes to 0.01 pt, and the
pictures of the pages (rules included) pixel for pixel.
Prints each difference and exits 1 when there is one. Texts holding the time of day (打印时间) may
differ in their digits between runs and are compared by their boxes only."""
import re
import sys
from pathlib import Path

WORD = re.compile(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>')
PAGE = re.compile(r'<page width="([\d.]+)" height="([\d.]+)">')


def read(path):
    pages = []
    for line in path.read_text(encoding="utf-8").splitlines():
        if m := PAGE.search(line):
            pages.append([tuple(map(float, m.groups()))])
        elif m := WORD.search(line):
            pages[-1].append((tuple(map(float, m.groups()[:4])), m.group(5)))
    return pages


def same_text(a, b):
    return a == b or re.sub(r"\d", "0", a) == re.sub(r"\d", "0", b) and ":" in a


def main(before, after):
    faults = 0
    names = sorted(p.name for p in Path(before).glob("*.html"))
    if not names:
        sys.exit(f"no word boxes in {before}")
    for name in names:
        a, b = read(Path(before) / name), read(Path(after) / name)
        if len(a) != len(b):
            print(f"{name}: {len(a)} pages before, {len(b)} after")
            faults += 1
            continue
        for n, (pa, pb) in enumerate(zip(a, b), 1):
            if len(pa) != len(pb):
                print(f"{name} page {n}: {len(pa) - 1} words before, {len(pb) - 1} after")
                faults += 1
                continue
            for wa, wb in zip(pa[1:], pb[1:]):
                if not same_text(wa[1], wb[1]) or any(abs(x - y) > 0.01 for x, y in zip(wa[0], wb[0])):
                    print(f"{name} page {n}: {wa} became {wb}")
                    faults += 1
        print(f"{name}: {sum(len(p) - 1 for p in a)} words, {len(a)} pages compared")
    renders = [Path(d) / "renders.md5" for d in (before, after)]
    if all(r.exists() for r in renders):
        a, b = (dict(line.split()[::-1] for line in r.read_text().splitlines()) for r in renders)
        for page in sorted(set(a) | set(b)):
            if a.get(page) != b.get(page):
                print(f"{page}: the rendered page differs")
                faults += 1
        print(f"{len(a)} rendered pages compared")
    print("different" if faults else "same", f"({faults} differences)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
