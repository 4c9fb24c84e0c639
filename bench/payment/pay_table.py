#!/usr/bin/python3
"""Yardstick for `slpayprn print payment`: the same department payment tables drawn with ReportLab.

Reads the same rows from the same SQLite wage database (the department list of the month, one table per
list entry in list order, the entry's code cut to the length of the first code of 11部门信息) and writes
one PDF file per department into OUT_DIR with the same layout: the title in 隶书 19, the head lines, the
column header row with 签  收, one row per employee (40 a page on A4 at rows of 360 twips), the totals
alternating lower and upper, the foot, horizontal rules only. Fonts: AR PL UMing for 宋体, AR PL UKai for
隶书, embedded as subsets as ReportLab does. A yardstick, not part of the product.

Usage: pay_table.py DB OUT_DIR [MONTH]
"""
import math
import os
import sqlite3
import sys
import time

from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.pdfgen import canvas

SONG = ("Song", "/usr/share/fonts/truetype/arphic/uming.ttc")
KAI = ("Kai", "/usr/share/fonts/truetype/arphic/ukai.ttc")
PAGE_W, PAGE_H = 11906, 16838  # A4, twips
ROW_H = 360.0


def leading_value(text):
    """The leading number of a text, 0 when there is none (the host's val)."""
    if text is None:
        return 0.0
    if isinstance(text, (int, float)):
        return float(text)
    s = str(text).strip()
    end = 0
    seen_digit = seen_dot = False
    for i, ch in enumerate(s):
        if ch.isdigit():
            seen_digit = True
            end = i + 1
        elif ch == "." and not seen_dot:
            seen_dot = True
        elif ch in "+-" and i == 0:
            continue
        else:
            break
    try:
        return float(s[:end]) if seen_digit else 0.0
    except ValueError:
        return 0.0


def fmt(value, pattern):
    if pattern == "0":
        return "%.0f" % value
    if pattern == "0.0":
        return "%.1f" % value
    if pattern == "0.00":
        return "%.2f" % value
    return ("%.15g" % value)


def fmt_text(text, pattern):
    """A stored text in an item's format: a number formatted, anything else as it is."""
    if not pattern:
        return text
    try:
        return fmt(float(text), pattern)
    except ValueError:
        return text


def main():
    db, out = sys.argv[1], sys.argv[2]
    month = sys.argv[3] if len(sys.argv) > 3 else "2000-04"
    os.makedirs(out, exist_ok=True)
    pdfmetrics.registerFont(TTFont(SONG[0], SONG[1], subfontIndex=1))
    pdfmetrics.registerFont(TTFont(KAI[0], KAI[1], subfontIndex=0))
    song = pdfmetrics.getFont(SONG[0]).face
    char_unit = (song.ascent - song.descent) / 1000.0 * 9 * 20  # height of "O" at 9 points, twips
    text_offset = (ROW_H - char_unit) / 2
    ascent9 = song.ascent / 1000.0 * 9 * 20
    kai = pdfmetrics.getFont(KAI[0]).face
    ascent19 = kai.ascent / 1000.0 * 19 * 20

    con = sqlite3.connect(db)
    items = con.execute(
        'select "项目名称", "小数位数", "打印宽度" from "14工资输出及公式" where "工作年月"=? order by "项目序号"',
        (month,)).fetchall()
    names = [i[0] for i in items]
    formats = [{0: "0", 1: "0.0", 2: "0.00"}.get(i[1], "") for i in items]
    widths = [round((i[2] or 0) / 2) * char_unit for i in items]
    first = con.execute('select length("部门号") from "11部门信息"').fetchone()
    code_len = first[0] if first else 0
    entries = con.execute('select "部门号", "部门名称" from "11部门信息" where "工作年月"=? order by "部门号"',
                          (month,)).fetchall()
    by_key = {code: name for code, name in entries}
    table_w = 2 * char_unit + sum(widths) + 6 * char_unit
    page_rows = max(int((PAGE_H - 900) // ROW_H) - 4, 2)
    cols = ",".join('"%s"' % n for n in names)
    now = time.strftime("%Y-%-m-%-d %-H:%M:%S")
    job = 0

    def w(text, font, size):
        return pdfmetrics.stringWidth(text, font, size) * 20

    for key, _ in entries:
        code = key[:code_len]
        rows = con.execute('select %s from "16工资输出数据" where "工作年月"=? and substr("部门号",1,?)=? '
                           'order by "部门号"' % cols, (month, code_len, code)).fetchall()
        if not rows:
            continue
        count = sum(1 for r in rows if r[1] is not None)
        sums = [sum(leading_value(r[k]) for r in rows) for k in range(len(names))]
        counted = math.ceil((len(rows) + 1) / (page_rows - 1))
        pages = min(counted, (len(rows) + page_rows - 1) // page_rows + 1)
        job += 1
        c = canvas.Canvas(os.path.join(out, "job-%04d.pdf" % job), pagesize=(PAGE_W / 20, PAGE_H / 20))

        def text(x, top, s, font="Song", size=9, ascent=ascent9):
            c.setFont(font, size)
            c.drawString(x / 20, (PAGE_H - top - ascent) / 20, s)

        def rule(y):
            c.line(0, (PAGE_H - y) / 20, table_w / 20, (PAGE_H - y) / 20)

        for page in range(1, pages + 1):
            title = "%s年%s月部门班组签收联" % (month[:4], month[5:])
            text((table_w - w(title, "Kai", 19)) / 2, 700 - 1.5 * w("提", "Kai", 19), title, "Kai", 19, ascent19)
            h = char_unit
            y1 = 700 - 2 * (h + 30)
            text(0, y1, "部门名称:" + by_key.get(code, ""))
            label = "共%d页   第%d页" % (pages, page)
            text(table_w - w(label, "Song", 9), y1, label)
            text(0, 700 - h - 30, "单位名称:朔岚示范公司    ")
            pay = "发薪日期:%s-25" % month
            text(table_w - w(pay, "Song", 9), 700 - h - 30, pay)
            y = 700.0
            rule(y)
            x = 0.0
            text(x + 2 * char_unit - w("序号", "Song", 9), y + text_offset, "序号")
            x += 2 * char_unit
            for k, n in enumerate(names):
                text(x + widths[k] - w(n, "Song", 9), y + text_offset, n)
                x += widths[k]
            text(x + (6 * char_unit - w("签  收", "Song", 9)) / 2, y + text_offset, "签  收")
            y += ROW_H
            rule(y)
            for r in range((page - 1) * page_rows, min(page * page_rows, len(rows))):
                x = 0.0
                s = str(r + 1)
                text(x + 2 * char_unit - w(s, "Song", 9), y + text_offset, s)
                x += 2 * char_unit
                for k, v in enumerate(rows[r]):
                    stored = "" if v is None else str(v)
                    s = fmt_text(stored, formats[k])
                    text(x + widths[k] - w(s, "Song", 9), y + text_offset, stored if formats[k] == "0" else s)
                    x += widths[k]
                y += ROW_H
                rule(y)
            if page == pages:
                x = 2 * char_unit + widths[0]
                text(x + 60, y + text_offset, "合计:%d" % count)
                x += widths[1]
                for k in range(2, len(names)):
                    s = fmt(sums[k], formats[k])
                    text(x + widths[k] - w(s, "Song", 9), y + 30 + (ROW_H if (k - 1) % 2 == 1 else 0), s)
                    x += widths[k]
                y += 2 * ROW_H
                rule(y)
            text(0, y + 60, "【朔岚软件】")
            stamp = "打印时间:" + now
            text(table_w - w(stamp, "Song", 9), y + 60, stamp)
            c.showPage()
        c.save()
    print(job, "files")


if __name__ == "__main__":
    main()
