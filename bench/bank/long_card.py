#!/usr/bin/env python3
"""The 中国建设银行龙卡 file of a month written by a plain Python script, as a yardstick for the
command line `slpayprn card --type 中国建设银行龙卡`: the same query meaning (card holders with a
positive amount and a card number of positive value, in 工号 order), the same lines, in GBK.

usage: long_card.py DATABASE MONTH OUT     (query the month, then write)
       long_card.py --grid GRID.tsv OUT     (the card grid as `slpayprn grid card` prints it)
"""
import sqlite3
import sys
from decimal import ROUND_HALF_UP, Decimal, InvalidOperation


def shown_amount(text):
    """The amount as the card grid shows it: two decimals, halves away from zero."""
    try:
        return str(Decimal(text.strip()).quantize(Decimal("0.01"), rounding=ROUND_HALF_UP))
    except (InvalidOperation, AttributeError):
        return text


def card_field(card):
    card = (card or "").strip(" ")
    return card.rjust(16)  # a longer number whole


def write_lines(rows, out):
    lines = [card_field(card) + ",," + (name or "") + ",," + shown_amount(value) + "\r\n"
             for name, card, value in rows]
    with open(out, "wb") as f:
        f.write("".join(lines).encode("gbk"))


def grid_rows(path):
    with open(path, encoding="utf-8") as f:
        next(f)  # the caption row
        for line in f:
            _, name, card, amount = line.rstrip("\n").split("\t")
            yield name, card, amount


def main(database, month, out):
    db = sqlite3.connect(database)
    items = db.execute('SELECT "项目名称" FROM "14工资输出及公式" WHERE "工作年月" = ? ORDER BY "项目序号"',
                       (month,)).fetchall()
    if not items:
        sys.exit("本月公式未设置!")
    amount = items[-1][0].replace('"', '""')
    rows = db.execute(
        f'SELECT p."姓名", p."信用卡号", w."{amount}" FROM "16工资输出数据" w '
        f'JOIN "12个人信息" p ON w."工号" = p."工号" '
        f'WHERE CAST(w."{amount}" AS REAL) > 0 AND w."工作年月" = ? AND CAST(p."信用卡号" AS REAL) > 0 '
        f'ORDER BY w."工号"', (month,))
    write_lines(rows, out)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    if sys.argv[1] == "--grid":
        write_lines(grid_rows(sys.argv[2]), sys.argv[3])
    else:
        main(*sys.argv[1:])
