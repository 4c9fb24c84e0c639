#!/usr/bin/env bash
# The department payment tables of a demo month printed as whole processes: `slpayprn print payment`
# (every department of the list, one PDF file each, the command's defaults) against the ReportLab script
# pay_table.py drawing the same pages from the same rows. Medians of RUNS runs; wall time, CPU time
# (user + system) and peak resident memory from /usr/bin/time -v.
# Usage: bench/payment/run_payment_bench.sh BUILD_DIR [EMPLOYEES] [RUNS]
# Needs Debian's python3-reportlab (a yardstick only: the product does not use it).
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
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen

"$slpayprn" demo-db "$work/wage.db" --wide --employees "$employees" 2> /dev/null

measure() {  # one run: "wall cpu peakMB"
    /usr/bin/time -v "$@" > /dev/null 2> "$work/time" || { cat "$work/time" >&2; exit 1; }
    local wall cpu peak
    wall=$(grep 'Elapsed (wall clock)' "$work/time" | awk '{print $NF}' | awk -F: '{print ($1 * 60) + $2}')
    cpu=$(awk '/User time|System time/ {s += $NF} END {printf "%.2f", s}' "$work/time")
    peak=$(grep 'Maximum resident set size' "$work/time" | awk '{print int($NF / 1024)}')
    echo "$wall $cpu $peak"
}

median() {  # column $1 of the lines on stdin
    sort -n -k"$1" | awk -v c="$1" '{v[NR] = $c} END {print v[int((NR + 1) / 2)]}'
}

run() {  # label, then the command; each run writes into a fresh folder
    local label="$1"
    shift
    : > "$work/runs"
    for i in $(seq "$runs"); do
        rm -rf "$work/out"
        measure "$@" >> "$work/runs"
    done
    local files
    files=$(ls "$work/out" | wc -l)
    printf '%-22s wall %6.2f s  CPU %6.2f s  peak %4d MB  (%d files, %s)\n' "$label" \
        "$(median 1 < "$work/runs")" "$(median 2 < "$work/runs")" "$(median 3 < "$work/runs")" "$files" \
        "$(du -sh "$work/out" | cut -f1)"
}

echo "== $employees employees, $runs runs each (load $(cut -d' ' -f1-3 /proc/loadavg))"
run "slpayprn print payment" "$slpayprn" print payment --db "$work/wage.db" --pdf-dir "$work/out"
run "ReportLab pay_table.py" /usr/bin/python3 "$here/pay_table.py" "$work/wage.db" "$work/out"
