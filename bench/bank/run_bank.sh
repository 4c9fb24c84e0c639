#!/usr/bin/env bash
# Bank payroll-card files for 100,000 employees, each format written by a whole process, against a plain
# Python 3 script writing the same 龙卡 lines in GBK (long_card.py). Prints the median of five runs:
# wall seconds and CPU seconds (user + system). Usage: bench/bank/run_bank.sh BUILD_DIR [EMPLOYEES]
set -euo pipefail
build="${1:?build directory (a Release build with slpayprn and bench_card_files)}"
employees="${2:-100000}"
here="$(cd "$(dirname "$0")" && pwd)"
python="$(command -v python3)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
cli="$build/bin/slpayprn"
bench="$build/bin/bench_card_files"

measure() {  # label, command...: median wall and CPU seconds of five runs
    local label="$1"
    shift
    local runs=()
    for _ in 1 2 3 4 5; do
        /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" > /dev/null 2> "$work/err" || { cat "$work/err" >&2; exit 1; }
        runs+=("$(awk '{printf "%.2f %.2f", $1, $2 + $3}' "$work/time")")
    done
    printf '%s\n' "${runs[@]}" | sort -n | sed -n 3p | awk -v l="$label" '{printf "%-44s %6.2f s wall %6.2f s CPU\n", l, $1, $2}'
}

db="$work/wage.db"
"$cli" demo-db "$db" --employees "$employees" > /dev/null
"$cli" --db "$db" grid card > "$work/grid.tsv" 2> /dev/null
echo "== $employees employees, $(($(wc -l < "$work/grid.tsv") - 1)) card holders"

declare -A names=([long]=中国建设银行龙卡 [post]=中国人民邮政储蓄卡 [pujiang]=中国工商银行浦江卡
                  [mudan]=中国工商银行牡丹卡 [baiyulan]=中国农业银行白玉兰卡)
# The demo's 19-digit card numbers do not fit the 白玉兰卡 (18 characters): a copy cut to 16 serves it.
awk -F'\t' 'BEGIN{OFS="\t"} NR>1{$3=substr($3,1,16)} {print}' "$work/grid.tsv" > "$work/grid16.tsv"

echo "-- from the database (slpayprn card: query, grid, check, file)"
for f in long post pujiang mudan; do
    measure "slpayprn card ${names[$f]}" "$cli" --db "$db" card --type "${names[$f]}" --out "$work/cli-$f"
done
measure "long_card.py DATABASE (sqlite3 module)" "$python" "$here/long_card.py" "$db" 2000-04 "$work/py-db"
cmp "$work/cli-long" "$work/py-db" && echo "   same bytes: slpayprn card and long_card.py"

echo "-- from the card grid (bench_card_files: read the grid, write the file)"
for f in long post pujiang mudan; do
    measure "bench_card_files $f" "$bench" "$work/grid.tsv" "$f" "$work/bench-$f"
done
measure "bench_card_files baiyulan (16-digit cards)" "$bench" "$work/grid16.tsv" baiyulan "$work/bench-baiyulan"
measure "long_card.py --grid" "$python" "$here/long_card.py" --grid "$work/grid.tsv" "$work/py-grid"
cmp "$work/bench-long" "$work/py-grid" && echo "   same bytes: bench_card_files long and long_card.py --grid"
cmp "$work/bench-long" "$work/cli-long" && echo "   same bytes: bench_card_files long and slpayprn card"
