#!/usr/bin/env bash
# Fills the employee grid from demo databases of 10,000 and 100,000 employees and compares with the
# sqlite3 command-line program reading the same rows. Usage: bench/run_wage_grid.sh BUILD_DIR [COUNTS...]
set -euo pipefail
build="${1:?build directory}"
source "$(dirname "$0")/bench_build.sh"
bench_build "$build" bench_wage_grid
shift
counts=("${@:-10000 100000}")
[ $# -eq 0 ] && counts=(10000 100000)
bench="$build/bin/bench_wage_grid"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

measure() {  # prints "wall seconds, peak MB" of a command
    /usr/bin/time -v "$@" > "$work/out" 2> "$work/time" || { cat "$work/time" >&2; exit 1; }
    local wall peak
    wall=$(grep 'Elapsed (wall clock)' "$work/time" | awk '{print $NF}')
    peak=$(grep 'Maximum resident set size' "$work/time" | awk '{print $NF}')
    echo "$wall s, $((peak / 1024)) MB"
}

for n in "${counts[@]}"; do
    db="$work/wage-$n.db"
    "$bench" create "$db" "$n"
    # The CLI lacks our text collation; without it the engine does the same reading and sorting.
    query="$("$bench" query "$db" | sed 's/ COLLATE slp_text//g')"
    sqlite3 "$db" "$query" > /dev/null   # warm the file cache for both
    echo "== $n employees"
    echo "sqlite3 CLI:     $(measure sqlite3 "$db" "$query")"
    echo "bench_wage_grid: $(measure "$bench" fill "$db")"
    cat "$work/out"
done
