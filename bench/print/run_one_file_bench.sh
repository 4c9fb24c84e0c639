#!/usr/bin/env bash
# The wage table and the wage slips of a demo month (the default, narrow catalogue) printed as whole
# processes with the command's defaults: `slpayprn print wage-table|slips --one-file` against ReportLab
# (wage_pages.py, the same rows and pages) and LibreOffice (the same rows as CSV converted to PDF), and
# the job-a-page default and --per-employee of slpayprn. Medians of RUNS runs; wall time, CPU time (user +
# system) and peak resident memory from /usr/bin/time -v.
# Usage: bench/print/run_one_file_bench.sh BUILD_DIR [EMPLOYEES] [RUNS]
# Needs Debian's python3-reportlab and libreoffice-calc-nogui (yardsticks only: the product uses neither).
set -euo pipefail
build="${1:?build directory}"
source "$(dirname "$0")/../bench_build.sh"
bench_build "$build" slpayprn
employees="${2:-10000}"
runs="${3:-5}"
here="$(cd "$(dirname "$0")" && pwd)"
slpayprn="$build/bin/slpayprn"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" HOME="$work"

"$slpayprn" demo-db "$work/wage.db" --employees "$employees" > /dev/null 2>&1
/usr/bin/python3 "$here/wage_csv.py" "$work/wage.db" "$work/table.csv"
# LibreOffice makes its profile on the first run: not measured.
soffice --headless --convert-to pdf --outdir "$work/warm" "$work/table.csv" > /dev/null 2>&1 || true

measure() {  # one run: "wall cpu peakMB"; wall in milliseconds' precision (time -v gives hundredths)
    local start end wall cpu peak
    start=$(date +%s%N)
    /usr/bin/time -v "$@" > /dev/null 2> "$work/time" || { cat "$work/time" >&2; exit 1; }
    end=$(date +%s%N)
    wall=$(awk -v ns=$((end - start)) 'BEGIN {printf "%.3f", ns / 1e9}')
    cpu=$(awk '/User time|System time/ {s += $NF} END {printf "%.2f", s}' "$work/time")
    peak=$(grep 'Maximum resident set size' "$work/time" | awk '{print int($NF / 1024)}')
    echo "$wall $cpu $peak"
}

median() {  # column $1 of the lines on stdin
    sort -n -k"$1" | awk -v c="$1" '{v[NR] = $c} END {print v[int((NR + 1) / 2)]}'
}

run() {  # label, then the command; each run writes into a fresh folder $work/out
    local label="$1"
    shift
    : > "$work/runs"
    for _ in $(seq "$runs"); do
        rm -rf "$work/out"
        mkdir -p "$work/out"
        measure "$@" >> "$work/runs"
    done
    local files pages
    files=$(find "$work/out" -name '*.pdf' | wc -l)
    pages=$(pdfinfo "$(find "$work/out" -name '*.pdf' -print -quit)" 2> /dev/null | awk '/^Pages:/ {print $2}' || true)
    printf '%-36s wall %7.3f s  CPU %6.2f s  peak %4d MB  (%d files, first %s pages, %s)\n' "$label" \
        "$(median 1 < "$work/runs")" "$(median 2 < "$work/runs")" "$(median 3 < "$work/runs")" "$files" \
        "${pages:-?}" "$(du -sh "$work/out" | cut -f1)"
}

echo "== $employees employees, $runs runs each (load $(cut -d' ' -f1-3 /proc/loadavg))"
if [ "${ONLY_PER_EMPLOYEE:-0}" != 1 ]; then
run "slpayprn print wage-table --one-file" "$slpayprn" --db "$work/wage.db" print wage-table --one-file "$work/out/t.pdf"
run "ReportLab wage_pages.py table" /usr/bin/python3 "$here/wage_pages.py" "$work/wage.db" "$work/out/t.pdf" table
run "LibreOffice table.csv to PDF" soffice --headless --convert-to pdf --outdir "$work/out" "$work/table.csv"
run "slpayprn print slips --one-file" "$slpayprn" --db "$work/wage.db" print slips --one-file "$work/out/s.pdf"
run "ReportLab wage_pages.py slips" /usr/bin/python3 "$here/wage_pages.py" "$work/wage.db" "$work/out/s.pdf" slips
run "slpayprn print wage-table --pdf-dir" "$slpayprn" --db "$work/wage.db" print wage-table --pdf-dir "$work/out"
fi
if [ "${PER_EMPLOYEE:-1}" = 1 ]; then
    runs=1 run "slpayprn print slips --per-employee" "$slpayprn" --db "$work/wage.db" print slips --per-employee "$work/out"
fi
