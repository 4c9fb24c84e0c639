#!/usr/bin/env bash
# The month's work of a large unit, each command a whole process with its defaults, on a demo month of
# EMPLOYEES employees (default 1,000,000; the 28-item month): wall time, CPU time (user + system) and
# peak resident memory of each, from /usr/bin/time. DATABASE, when given, is used instead of making one
# (it must be such a demo month). BUILT=1 takes BUILD_DIR as it is, without building (for the binaries
# of an earlier commit).
# Usage: [BUILT=1] bench/million/run_million.sh BUILD_DIR [EMPLOYEES] [DATABASE]
set -euo pipefail
build="${1:?build directory}"
if [ -z "${BUILT:-}" ]; then
    source "$(dirname "$0")/../bench_build.sh"
    bench_build "$build" slpayprn
fi
employees="${2:-1000000}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cli="$build/bin/slpayprn"

measure() {  # label, command...: one line of wall, CPU and peak, and the exit status
    local label="$1"
    shift
    local rc=0
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" > /dev/null 2> "$work/err" || rc=$?
    awk -v l="$label" -v rc="$rc" 'END {printf "%-40s %8.2f s wall %8.2f s CPU %7d MB  exit %s\n", l, $1, $2 + $3, $4 / 1024, rc}' "$work/time"
    [ "$rc" = 0 ] || sed 's/^/    /' "$work/err" | tail -3
}

db="${3:-}"
if [ -z "$db" ]; then
    db="$work/w.db"
    measure "demo-db --employees $employees --wide" "$cli" demo-db "$db" --wide --employees "$employees"
fi
echo "== $employees employees"
measure "grid employee" "$cli" --db "$db" grid employee
measure "grid summary" "$cli" --db "$db" grid summary
for bank in 中国建设银行龙卡 中国人民邮政储蓄卡 中国工商银行浦江卡 中国工商银行牡丹卡 中国农业银行白玉兰卡; do
    measure "card --type $bank" "$cli" --db "$db" card --type "$bank" --out "$work/card.txt"
done
measure "print slips --one-file" "$cli" --db "$db" print slips --one-file "$work/slips.pdf"
measure "print wage-table --one-file" "$cli" --db "$db" print wage-table --one-file "$work/table.pdf"
measure "grid employee --out x.xlsx" "$cli" --db "$db" grid employee --out "$work/x.xlsx"
for f in slips table; do
    [ -f "$work/$f.pdf" ] && echo "$f.pdf: $(pdfinfo "$work/$f.pdf" 2> /dev/null | sed -n 's/^Pages: *//p') pages, $(stat -c %s "$work/$f.pdf") bytes"
done
true
