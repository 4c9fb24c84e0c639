#!/usr/bin/env bash
# Two builds of the program on the same work, as whole processes with the commands' defaults:
# `print wage-table --one-file` and `print slips --one-file` of a `demo-db --wide` month, runs of the
# two alternating. Prints the median wall time, CPU time (user + system) and peak memory of each.
# Usage: bench/print/compare_programs.sh OLD/slpayprn NEW/slpayprn [EMPLOYEES] [RUNS]
set -euo pipefail
old="$(realpath "$1")"
new="$(realpath "$2")"
employees="${3:-10000}"
runs="${4:-7}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" HOME="$work" QT_QPA_PLATFORM=offscreen
"$new" demo-db "$work/wage.db" --employees "$employees" --wide > /dev/null

measure() {  # one run: "wall cpu peakMB"
    local start end
    start=$(date +%s%N)
    /usr/bin/time -v "$@" > /dev/null 2> "$work/time" || { cat "$work/time" >&2; exit 1; }
    end=$(date +%s%N)
    awk -v ns=$((end - start)) '/User time|System time/ {s += $NF} /Maximum resident/ {m = int($NF / 1024)}
        END {printf "%.3f %.2f %d\n", ns / 1e9, s, m}' "$work/time"
}
median() {  # column $1 of the lines on stdin
    sort -n -k"$1" | awk -v c="$1" '{v[NR] = $c} END {print v[int((NR + 1) / 2)]}'
}

printf '%-12s %-4s %8s %8s %8s\n' work build wall_s cpu_s peak_MB
for what in wage-table slips; do
    : > "$work/old" && : > "$work/new"
    for ((i = 0; i < runs; i++)); do
        measure "$old" --db "$work/wage.db" print "$what" --one-file "$work/out.pdf" >> "$work/old"
        measure "$new" --db "$work/wage.db" print "$what" --one-file "$work/out.pdf" >> "$work/new"
    done
    for b in old new; do
        printf '%-12s %-4s %8s %8s %8s\n' "$what" "$b" "$(median 1 < "$work/$b")" "$(median 2 < "$work/$b")" \
            "$(median 3 < "$work/$b")"
    done
done
