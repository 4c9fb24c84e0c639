#!/usr/bin/python3
"""The wage table's rows as CSV for the LibreOffice yardstick: the same rows, texts and totals as
`slpayprn print wage-table` prints (the sequence number, every item in its format, the totals row last).
LibreOffice then lays them out and writes the PDF: soffice --headless --convert-to pdf FILE.csv.
A yardstick, not part of the product.

Usage: wage_csv.py DB OUT.csv [MONTH]
"""
import csv
import sqlite3
import sys


def number(text):
    try:
        return float(text)
    except (TypeError, ValueError):
        return 0.0


def main():
    db, out = sys.argv[1], sys.argv[2]
    month = sys.argv[3] if len(sys.argv) > 3 else "2000-04"
    con = sqlite3.connect(db)
    items = con.execute('select "项目名称", "小数位数" from "14工资输出及公式" where "工作年月"=? '
                        'order by "项目序号"', (month,)).fetchall()
    places = [int(i[1] or 0) for i in items]
    cols = ",".join('"%s"' % i[0] for i in items)
    rows = con.execute('select %s from "16工资输出数据" where "工作年月"=? order by "部门号", "工号"' % cols,
                       (month,)).fetchall()
    sums = [0.0] * len(items)
    with open(out, "w", newline="", encoding="utf-8") as f:
        w = csv.writer(f)
        w.writerow(["序号"] + [i[0] for i in items])
        for n, r in enumerate(rows):
            line = [n + 1]
            for k, v in enumerate(r):
                if places[k]:
                    sums[k] += number(v)
                    line.append("%.*f" % (places[k], number(v)))
                else:
                    line.append("" if v is None else v)
            w.writerow(line)
        w.writerow(["合计", "", "", "共%d人" % len(rows)] +
                   ["%.*f" % (places[k], sums[k]) if places[k] else "" for k in range(3, len(items))])


if __name__ == "__main__":
    main()
