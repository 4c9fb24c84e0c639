#!/usr/bin/python3
"""Yardstick for `slpayprn print wage-table|slips --one-file`: the same pages drawn with ReportLab.

Reads the same rows from the same SQLite wage database (the month's catalogue and its wage rows in the
order of the employee table: group code, then 工号) and writes one PDF file on A4 portrait: the wage
table (a framed table, 40 rows a page, the caption row on every page, the totals row and the closing
lines 财务主管: 复核: 制单: on the last page) or the wage slips (20 slips a page, each a caption line over a
value line, framed). Columns: the sequence number 3 characters wide, each item 打印宽度 / 2 characters
(the width of "我" at 9 points, 180 twips). Font: AR PL UMing for 宋体, embedded as a subset. Headers:
the title, 单位名称:, 发薪日期:, 共N页 第N页. A yardstick, not part of the product.

Usage: wage_pages.py DB OUT.pdf table|slips [MONTH]
"""
import sqlite3
import sys

from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.pdfgen import canvas

SONG = ("Song", "/usr/share/fonts/truetype/arphic/uming.ttc")
PAGE_W, PAGE_H = 11906, 16838  # A4, twips
ROW_H = 330.0
CHAR = 180.0  # "我" at 9 points


def number(text):
    try:
        return float(text)
    except (TypeError, ValueError):
        return 0.0


def main():
    db, out, kind = sys.argv[1], sys.argv[2], sys.argv[3]
    month = sys.argv[4] if len(sys.argv) > 4 else "2000-04"
    pdfmetrics.registerFont(TTFont(SONG[0], SONG[1], subfontIndex=1))
    con = sqlite3.connect(db)
    items = con.execute('select "项目名称", "小数位数", "打印宽度" from "14工资输出及公式" where "工作年月"=? '
                        'order by "项目序号"', (month,)).fetchall()
    names = ["序号"] + [i[0] for i in items]
    places = [None] + [int(i[1] or 0) for i in items]
    widths = [3 * CHAR] + [round((i[2] or 0) / 2) * CHAR for i in items]
    cols = ",".join('"%s"' % i[0] for i in items)
    rows = con.execute('select %s from "16工资输出数据" where "工作年月"=? order by "部门号", "工号"' % cols,
                       (month,)).fetchall()
    first_amount = next(k for k, p in enumerate(places) if p)
    sums = [sum(number(r[k - 1]) for r in rows) if k >= first_amount else 0 for k in range(len(names))]
    cells = []
    for n, r in enumerate(rows):
        line = [str(n + 1)]
        for k, v in enumerate(r, start=1):
            line.append("%.*f" % (places[k], number(v)) if places[k] else ("" if v is None else str(v)))
        cells.append(line)
    total = ["合计", "", "", "共%d人" % len(rows)] + ["%.*f" % (places[k], sums[k]) for k in range(4, len(names))]
    cells.append(total)
    table_w = sum(widths)
    left = (PAGE_W - table_w) / 2
    c = canvas.Canvas(out, pagesize=(PAGE_W / 20, PAGE_H / 20))
    c.setLineWidth(0.5)

    def text(x, top, s, align="left"):
        w = pdfmetrics.stringWidth(s, "Song", 9) * 20
        if align == "right":
            x -= w
        elif align == "centre":
            x -= w / 2
        c.drawString(x / 20, (PAGE_H - top - 200) / 20, s)

    def row(y, line):
        x = left
        for k, s in enumerate(line):
            if k == 0 or not places[k]:
                text(x + widths[k] / 2, y + 60, s, "centre")
            else:
                text(x + widths[k] - 40, y + 60, s, "right")
            x += widths[k]

    def frame(top, bottom):
        x = left
        c.line(x / 20, (PAGE_H - top) / 20, x / 20, (PAGE_H - bottom) / 20)
        for w in widths:
            x += w
            c.line(x / 20, (PAGE_H - top) / 20, x / 20, (PAGE_H - bottom) / 20)

    def rule(y):
        c.line(left / 20, (PAGE_H - y) / 20, (left + table_w) / 20, (PAGE_H - y) / 20)

    per_page = 40 if kind == "table" else 20
    pages = (len(cells) + per_page - 1) // per_page
    title = "工资签收联" if kind == "table" else "个人发放联"
    for page in range(pages):
        c.setFont("Song", 9)
        text(PAGE_W / 2, 500, title, "centre")
        text(left, 900, "单位名称:朔岚示范公司")
        text(left + table_w, 700, "共%d页 第%d页" % (pages, page + 1), "right")
        text(left + table_w, 900, "发薪日期:%s" % month[2:], "right")
        y = 1200.0
        chunk = cells[page * per_page:(page + 1) * per_page]
        if kind == "table":
            rule(y)
            row(y, names)
            y += ROW_H
            for line in chunk:
                rule(y)
                row(y, line)
                y += ROW_H
            rule(y)
            frame(1200, y)
        else:
            for line in chunk:
                rule(y)
                row(y, names)
                rule(y + ROW_H)
                row(y + ROW_H, line)
                rule(y + 2 * ROW_H)
                frame(y, y + 2 * ROW_H)
                y += 2 * ROW_H + 120
        if page == pages - 1:
            text(left, y + 200, "财务主管:")
            text(left + table_w / 3, y + 200, "复核:")
            text(left + 2 * table_w / 3, y + 200, "制单:")
        c.showPage()
    c.save()
    print(pages, "pages")


if __name__ == "__main__":
    main()
