#!/usr/bin/env bash
# The spreadsheet export as a clerk runs it: `slpayprn grid employee --out FILE.xlsx` on a demo month of
# EMPLOYEES employees (default 100,000), against the same grid written as tab-separated text. Prints wall
# time and peak memory of each whole process. Usage: bench/spreadsheet/run_xlsx.sh BUILD_DIR [EMPLOYEES]
set -euo pipefail
build="${1:?build directory}"
source "$(dirname "$0")/../bench_build.sh"
bench_build "$build" slpayprn
employees="${2:-100000}"
slpayprn="$build/bin/slpayprn"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"

measure() {  # prints "wall seconds, peak MB" of a command
    /usr/bin/time -v "$@" > /dev/null 2> "$work/time" || { cat "$work/time" >&2; exit 1; }
    local wall peak
    wall=$(grep 'Elapsed (wall clock)' "$work/time" | awk '{print $NF}')
    peak=$(grep 'Maximum resident set size' "$work/time" | awk '{print $NF}')
    echo "$wall s, $((peak / 1024)) MB"
}

"$slpayprn" demo-db "$work/w.db" --wide --employees "$employees" > /dev/null 2>&1
"$slpayprn" --db "$work/w.db" grid employee --out "$work/warm.tsv" > /dev/null 2>&1
echo "== $employees employees"
echo "grid employee --out x.tsv:  $(measure "$slpayprn" --db "$work/w.db" grid employee --out "$work/x.tsv")"
echo "grid employee --out x.xlsx: $(measure "$slpayprn" --db "$work/w.db" grid employee --out "$work/x.xlsx")"
echo "workbook: $(stat -c %s "$work/x.xlsx") bytes"
