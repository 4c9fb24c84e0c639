#!/usr/bin/python3
"""The yardstick of the workbook export: openpyxl (Debian's python3-openpyxl) writing the same sheet as
`slpayprn grid employee --out x.xlsx` from the grid that `slpayprn grid employee` prints: every cell a
text at the same reference, the workbook's title and company "朔岚软件". In openpyxl's write-only mode,
its leanest. Usage: openpyxl_sheet.py GRID.tsv OUT.xlsx"""
import sys

from openpyxl import Workbook


def main(grid_path, out_path):
    book = Workbook(write_only=True)
    book.properties.title = "朔岚软件"
    book.properties.creator = "朔岚软件"
    sheet = book.create_sheet()
    with open(grid_path, encoding="utf-8", newline="\n") as grid:
        for line in grid:
            sheet.append([cell if cell else None for cell in line.rstrip("\n").split("\t")])
    book.save(out_path)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: openpyxl_sheet.py GRID.tsv OUT.xlsx")
    main(sys.argv[1], sys.argv[2])
