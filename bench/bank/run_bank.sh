#!/usr/bin/env bash
# Bank payroll-card files for 100,000 employees, each format written by a whole process, against a plain
# Python 3 script writing the same 龙卡 lines in GBK (long_card.py); and the card query alone in the
# sqlite3 command-line program. Prints the medians of five runs: wall seconds and CPU seconds (user +
# system), to the millisecond. Usage: bench/bank/run_bank.sh BUILD_DIR [EMPLOYEES]
set -euo pipefail
build="${1:?build directory (a Release build with slpayprn, bench_card_files, bench_card_sql, slp_sqlite_helpers)}"
source "$(dirname "$0")/../bench_build.sh"
bench_build "$build" slpayprn bench_card_files bench_card_sql slp_sqlite_helpers
employees="${2:-100000}"
here="$(cd "$(dirname "$0")" && pwd)"
# The yardstick runs on the system's interpreter itself: a version manager's shim found first on PATH
# would add its own start to every run. PYTHON names another interpreter.
python="${PYTHON:-$(if [ -x /usr/bin/python3 ]; then echo /usr/bin/python3; else command -v python3; fi)}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cli="$build/bin/slpayprn"
bench="$build/bin/bench_card_files"

measure() {  # label, command...: median wall and CPU seconds of five runs
    local label="$1"
    shift
    local runs=()
    local TIMEFORMAT='%3R %3U %3S'
    for _ in 1 2 3 4 5; do
        { time "$@" > /dev/null 2> "$work/err"; } 2> "$work/time" || { cat "$work/err" >&2; exit 1; }
        runs+=("$(awk '{printf "%.3f %.3f", $1, $2 + $3}' "$work/time")")
    done
    # Each column's own median.
    local wall cpu
    wall="$(printf '%s\n' "${runs[@]}" | awk '{print $1}' | sort -n | sed -n 3p)"
    cpu="$(printf '%s\n' "${runs[@]}" | awk '{print $2}' | sort -n | sed -n 3p)"
    printf '%-46s %7.3f s wall %7.3f s CPU\n' "$label" "$wall" "$cpu"
}

one_run() {  # command...: "wall cpu" seconds of one run
    local TIMEFORMAT='%3R %3U %3S'
    { time "$@" > /dev/null 2> "$work/err"; } 2> "$work/time" || { cat "$work/err" >&2; exit 1; }
    awk '{printf "%.3f %.3f\n", $1, $2 + $3}' "$work/time"
}

alternate() {  # label A, label B, count, command A..., --, command B...: medians, taken in turn
    local la="$1" lb="$2" n="$3"
    shift 3
    local a=()
    while [ "$1" != "--" ]; do a+=("$1"); shift; done
    shift
    : > "$work/runs-a"
    : > "$work/runs-b"
    for _ in $(seq "$n"); do
        one_run "${a[@]}" >> "$work/runs-a"
        one_run "$@" >> "$work/runs-b"
    done
    local median="sort -n | awk '{v[NR] = \$1} END {print v[int((NR + 1) / 2)]}'"
    local wa ca wb cb
    wa="$(awk '{print $1}' "$work/runs-a" | eval "$median")"
    ca="$(awk '{print $2}' "$work/runs-a" | eval "$median")"
    wb="$(awk '{print $1}' "$work/runs-b" | eval "$median")"
    cb="$(awk '{print $2}' "$work/runs-b" | eval "$median")"
    printf '%-46s %7.3f s wall %7.3f s CPU\n' "$la" "$wa" "$ca"
    printf '%-46s %7.3f s wall %7.3f s CPU\n' "$lb" "$wb" "$cb"
    awk -v wa="$wa" -v ca="$ca" -v wb="$wb" -v cb="$cb" \
        'BEGIN {printf "   the first %.2f times as fast in CPU, %.2f times in wall time\n", cb / ca, wb / wa}'
}

db="$work/wage.db"
"$cli" demo-db "$db" --wide --employees "$employees" > /dev/null
"$cli" --db "$db" grid card > "$work/grid.tsv" 2> /dev/null
echo "== $employees employees, $(($(wc -l < "$work/grid.tsv") - 1)) card holders"

declare -A names=([long]=中国建设银行龙卡 [post]=中国人民邮政储蓄卡 [pujiang]=中国工商银行浦江卡
                  [mudan]=中国工商银行牡丹卡 [baiyulan]=中国农业银行白玉兰卡)
# The demo's 19-digit card numbers fit only the 龙卡's card field (the others refuse a file that would cut
# one): the other formats are measured on copies whose numbers fit, 16 characters for the 白玉兰卡, 8
# for the 邮政卡, 牡丹卡 and 浦江卡.
awk -F'\t' 'BEGIN{OFS="\t"} NR>1{$3=substr($3,1,16)} {print}' "$work/grid.tsv" > "$work/grid16.tsv"
awk -F'\t' 'BEGIN{OFS="\t"} NR>1{$3=substr($3,1,8)} {print}' "$work/grid.tsv" > "$work/grid8.tsv"
db8="$work/wage8.db"
cp "$db" "$db8"
sqlite3 "$db8" 'UPDATE "12个人信息" SET "信用卡号" = substr("信用卡号", 1, 8)'
declare -A dbs=([long]="$db" [post]="$db8" [pujiang]="$db8" [mudan]="$db8")
declare -A grids=([long]="$work/grid.tsv" [post]="$work/grid8.tsv" [pujiang]="$work/grid8.tsv" [mudan]="$work/grid8.tsv")

echo "   (python: $python, $("$python" --version 2>&1))"
measure "python3 -c pass (the interpreter's start)" "$python" -c pass
measure "slpayprn --help (the program's start)" "$cli" --help

echo "-- from the database (slpayprn card: query, grid, check, file)"
for f in long post pujiang mudan; do
    measure "slpayprn card ${names[$f]}" "$cli" --db "${dbs[$f]}" card --type "${names[$f]}" --out "$work/cli-$f"
done
measure "long_card.py DATABASE (sqlite3 module)" "$python" "$here/long_card.py" "$db" 2000-04 "$work/py-db"
cmp "$work/cli-long" "$work/py-db" && echo "   same bytes: slpayprn card and long_card.py"
echo "-- slpayprn card against long_card.py, in turn (medians of 11 runs each)"
alternate "slpayprn card 中国建设银行龙卡" "long_card.py DATABASE" 11 \
    "$cli" --db "$db" card --type 中国建设银行龙卡 --out "$work/cli-long" -- \
    "$python" "$here/long_card.py" "$db" 2000-04 "$work/py-db"

if command -v sqlite3 > /dev/null && [ -x "$build/bin/bench_card_sql" ]; then
    echo "-- the card query alone in the sqlite3 program (rows printed to /dev/null)"
    "$build/bin/bench_card_sql" "$db" > "$work/card.sql"
    measure "sqlite3: the translated card query" sqlite3 "$db" ".load $build/lib/slp_sqlite_helpers" \
        ".read $work/card.sql"
    amount="$(sqlite3 "$db" "SELECT 项目名称 FROM \"14工资输出及公式\" WHERE 工作年月 = '2000-04' ORDER BY 项目序号 DESC LIMIT 1")"
    cat > "$work/script.sql" << EOF
SELECT p."姓名", p."信用卡号", w."$amount" FROM "16工资输出数据" w JOIN "12个人信息" p ON w."工号" = p."工号"
WHERE CAST(w."$amount" AS REAL) > 0 AND w."工作年月" = '2000-04' AND CAST(p."信用卡号" AS REAL) > 0
ORDER BY w."工号";
EOF
    measure "sqlite3: long_card.py's query (CAST, bytes)" sqlite3 "$db" ".read $work/script.sql"
fi

echo "-- from the card grid (bench_card_files: read the grid, write the file)"
for f in long post pujiang mudan; do
    measure "bench_card_files $f" "$bench" "${grids[$f]}" "$f" "$work/bench-$f"
done
measure "bench_card_files baiyulan (16-digit cards)" "$bench" "$work/grid16.tsv" baiyulan "$work/bench-baiyulan"
measure "long_card.py --grid" "$python" "$here/long_card.py" --grid "$work/grid.tsv" "$work/py-grid"
cmp "$work/bench-long" "$work/py-grid" && echo "   same bytes: bench_card_files long and long_card.py --grid"
cmp "$work/bench-long" "$work/cli-long" && echo "   same bytes: bench_card_files long and slpayprn card"
