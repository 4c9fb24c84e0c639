#!/usr/bin/env bash
# Prints demo months of 10,000 and 100,000 employees to PDF through the preview driver and the PDF spool
# printer, as whole processes, and reports wall time, peak memory and whether pdftotext reads the pages.
# Usage: bench/print/run_print_bench.sh BUILD_DIR [COUNTS...]   (a Release build gives the real figures)
set -euo pipefail
build="${1:?build directory}"
source "$(dirname "$0")/../bench_build.sh"
bench_build "$build" bench_print preview_screenshots
shift
counts=("$@")
[ $# -eq 0 ] && counts=(10000 100000)
bench="$build/bin/bench_print"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# 29 columns (sequence and 28 items) fit A3 landscape at 8 points; 40 lines a page, slips 20 a page.
paper=(--paper A3 --landscape --font 8)

measure() {  # prints "wall, CPU (user + system), peak MB, output" of a command
    /usr/bin/time -v "$@" > "$work/out" 2> "$work/time" || { cat "$work/time" >&2; exit 1; }
    local wall peak cpu
    wall=$(grep 'Elapsed (wall clock)' "$work/time" | awk '{print $NF}')
    peak=$(grep 'Maximum resident set size' "$work/time" | awk '{print $NF}')
    cpu=$(awk '/User time|System time/ {s += $NF} END {printf "%.2f", s}' "$work/time")
    echo "$wall wall, $cpu s CPU, $((peak / 1024)) MB; $(cat "$work/out")"
}

check() {  # the pages read back: captions, amounts, the head count of the totals row
    local text
    text=$(for f in "$1"/job-*.pdf; do pdftotext "$f" -; done)
    echo "  $(ls "$1" | wc -l) files, $(du -sh "$1" | cut -f1); pdftotext: $(grep -c '实发工资' <<< "$text") lines with 实发工资, $(grep -c -E '[0-9]+\.[0-9][0-9]' <<< "$text") with an amount, 共$2人: $(grep -c "共$2人" <<< "$text")"
}

for n in "${counts[@]}"; do
    db="$work/wage-$n.db"
    "$bench" create "$db" "$n" 2> /dev/null
    echo "== $n employees (load $(cut -d' ' -f1-3 /proc/loadavg))"
    for kind in table slips; do
        for mode in one-job job-a-page; do
            # A job a page is how the preview's 打印 sends pages; only the smaller month is run that way.
            [ "$mode" = job-a-page ] && [ "$n" -gt 10000 ] && continue
            out="$work/$kind-$mode"
            extra=()
            [ "$mode" = one-job ] && extra=(--one-job)
            echo "$kind, $mode: $(measure "$bench" "$kind" "$db" "$out" "${paper[@]}" "${extra[@]}")"
            check "$out" "$n"
            rm -rf "$out"
        done
    done
done
