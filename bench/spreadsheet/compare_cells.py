#!/usr/bin/python3
"""Reads the cells of two workbooks' first sheets (zipfile and ElementTree, inline and shared strings)
and says whether they hold the same texts at the same references. Usage: compare_cells.py A.xlsx B.xlsx"""
import sys
import zipfile
import xml.etree.ElementTree as ET

NS = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"


def cells(path):
    with zipfile.ZipFile(path) as book:
        shared = []
        if "xl/sharedStrings.xml" in book.namelist():
            for si in ET.parse(book.open("xl/sharedStrings.xml")).getroot().iter(NS + "si"):
                shared.append("".join(t.text or "" for t in si.iter(NS + "t")))
        sheet = sorted(n for n in book.namelist() if n.startswith("xl/worksheets/sheet"))[0]
        out = {}
        for _, c in ET.iterparse(book.open(sheet)):
            if c.tag != NS + "c":
                continue
            kind = c.get("t")
            if kind == "inlineStr":
                text = "".join(t.text or "" for t in c.iter(NS + "t"))
            elif kind == "s":
                text = shared[int(c.find(NS + "v").text)]
            else:
                v = c.find(NS + "v")
                text = v.text if v is not None else ""
            if text:
                out[c.get("r")] = text
            c.clear()
        return out


a, b = cells(sys.argv[1]), cells(sys.argv[2])
if a == b:
    print(f"same cells: {len(a)} texts")
else:
    diff = [r for r in set(a) | set(b) if a.get(r) != b.get(r)]
    print(f"{len(diff)} cells differ, e.g. {sorted(diff)[:5]}")
    sys.exit(1)
