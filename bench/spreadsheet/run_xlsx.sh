#!/usr/bin/env bash
# The spreadsheet export as a clerk runs it: `slpayprn grid employee --out FILE.xlsx` on a demo month of
# EMPLOYEES employees (default 100,000), against the same grid written as tab-separated text and against
# the yardstick, openpyxl writing the same sheet from the grid (openpyxl_sheet.py; Debian's
# python3-openpyxl, a tool of this benchmark only). Whole processes taken in turn RUNS times (default 5);
# prints the median wall time, CPU time (user + system) and peak memory of each, and checks that both
# workbooks hold the same cells. BEFORE=DIR adds the build in DIR (built already) to the turns.
# Usage: [BEFORE=DIR] bench/spreadsheet/run_xlsx.sh BUILD_DIR [EMPLOYEES] [RUNS]
set -euo pipefail
build="${1:?build directory}"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../bench_build.sh"
bench_build "$build" slpayprn
employees="${2:-100000}"
runs="${3:-5}"
python3 -c 'import openpyxl' 2> /dev/null || {
    echo "openpyxl is missing: apt-get install python3-openpyxl" >&2
    exit 1
}
slpayprn="$build/bin/slpayprn"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"

"$slpayprn" demo-db "$work/w.db" --wide --employees "$employees" > /dev/null 2>&1
"$slpayprn" --db "$work/w.db" grid employee --out "$work/grid.tsv" > /dev/null 2>&1

declare -A commands=(
    [tsv]="$slpayprn --db $work/w.db grid employee --out $work/x.tsv"
    [xlsx]="$slpayprn --db $work/w.db grid employee --out $work/x.xlsx"
    [openpyxl]="python3 $here/openpyxl_sheet.py $work/grid.tsv $work/py.xlsx"
)
order=(tsv xlsx openpyxl)
if [ -n "${BEFORE:-}" ]; then
    commands[xlsx-before]="$BEFORE/bin/slpayprn --db $work/w.db grid employee --out $work/before.xlsx"
    order=(tsv xlsx-before xlsx openpyxl)
fi
for ((i = 0; i < runs; ++i)); do
    for k in "${order[@]}"; do
        # shellcheck disable=SC2086
        /usr/bin/time -f '%e %U %S %M' -o "$work/time" ${commands[$k]} > /dev/null 2> "$work/err" ||
            { cat "$work/err" >&2; exit 1; }
        echo "$k $(tail -1 "$work/time")" >> "$work/all"
    done
done
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
echo "== $employees employees, medians of $runs"
for k in "${order[@]}"; do
    wall="$(awk -v k="$k" '$1 == k {print $2}' "$work/all" | median)"
    cpu="$(awk -v k="$k" '$1 == k {print $3 + $4}' "$work/all" | median)"
    peak="$(awk -v k="$k" '$1 == k {print $5}' "$work/all" | median)"
    printf '%-12s %8s s wall %8s s CPU %6s MB\n' "$k" "$wall" "$cpu" "$((peak / 1024))"
done
echo "workbook: $(stat -c %s "$work/x.xlsx") bytes, openpyxl's: $(stat -c %s "$work/py.xlsx") bytes"
python3 "$here/compare_cells.py" "$work/x.xlsx" "$work/py.xlsx"
