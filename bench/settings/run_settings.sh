#!/usr/bin/env bash
# Reads settings files of many small sections through the command a clerk runs: `slpayprn card` on the
# demo month, with each of the three settings files (unit & "GZGL", unit & "GZ", "Sl_PAYPRN") holding
# SECTIONS sections of one key. Prints wall time and peak memory, against the same command with no
# settings at all. Usage: bench/settings/run_settings.sh BUILD_DIR [SECTIONS...]
set -euo pipefail
build="${1:?build directory}"
source "$(dirname "$0")/../bench_build.sh"
bench_build "$build" slpayprn
shift
counts=("$@")
[ $# -eq 0 ] && counts=(80000 200000)
slpayprn="$build/bin/slpayprn"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$work/data"

measure() {  # prints "wall seconds, peak MB" of a command
    /usr/bin/time -v "$@" > /dev/null 2> "$work/time" || { cat "$work/time" >&2; exit 1; }
    local wall peak
    wall=$(grep 'Elapsed (wall clock)' "$work/time" | awk '{print $NF}')
    peak=$(grep 'Maximum resident set size' "$work/time" | awk '{print $NF}')
    echo "$wall s, $((peak / 1024)) MB"
}

"$slpayprn" demo-db "$work/w.db" --wide > /dev/null 2>&1
card=(--db "$work/w.db" card --type 中国建设银行龙卡 --out "$work/card.txt")
XDG_CONFIG_HOME="$work/empty" "$slpayprn" "${card[@]}" > /dev/null 2>&1  # warm the caches
echo "no settings files: $(XDG_CONFIG_HOME="$work/empty" measure "$slpayprn" "${card[@]}")"
for n in "${counts[@]}"; do
    folder="$work/config-$n/Sl_PAYPRN"
    mkdir -p "$folder"
    for app in 0101GZGL 0101GZ Sl_PAYPRN; do
        awk -v n="$n" 'BEGIN { for (i = 0; i < n; i++) printf "[s%d]\nk=%d\n", i, i }' > "$folder/$app.ini"
    done
    bytes=$(stat -c %s "$folder/0101GZ.ini")
    echo "$n sections ($bytes bytes) in each of 3 files: $(XDG_CONFIG_HOME="$work/config-$n" measure "$slpayprn" "${card[@]}")"
done
