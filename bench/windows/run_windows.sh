#!/usr/bin/env bash
# Opens every window of the component offscreen, as a host does, on a demo month of EMPLOYEES employees
# (default 100,000, the 28-item month): each opening a whole process of its own, the windows taken in
# turn RUNS times (default 5), so that a busy machine weighs on all of them alike. Prints, per window,
# the median milliseconds from the call to a responsive window, to its rows shown (a window reads its
# grid on a thread of its own while it takes input), and the median wall time and peak memory of the
# whole process (which ends once the rows show). With BEFORE=DIR (a build folder of another commit, built
# already, not rebuilt here) that build's openings alternate with these, and each row gives both.
# BUILT=1 takes BUILD_DIR as it is, without building.
# Usage: [BUILT=1] [BEFORE=DIR] bench/windows/run_windows.sh BUILD_DIR [EMPLOYEES] [RUNS]
set -euo pipefail
build="${1:?build directory}"
if [ -z "${BUILT:-}" ]; then
    source "$(dirname "$0")/../bench_build.sh"
    bench_build "$build" slpayprn bench_window_open
fi
employees="${2:-100000}"
runs="${3:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$build/bin/slpayprn" demo-db "$work/w.db" --wide --employees "$employees" > /dev/null
windows=(PFirst PSecond PThird Card PSEL table slips)
declare -A names=([PFirst]=个人发放联 [PSecond]=班组签收联 [PThird]=班组汇总联 [Card]=工资卡输出
                  [PSEL]=特殊打印设置 [table]=预览工资表 [slips]=预览个人发放联)
builds=(this)
declare -A dirs=([this]="$build")
if [ -n "${BEFORE:-}" ]; then
    builds=(before this)
    dirs[before]="$BEFORE"
fi
for ((i = 0; i < runs; ++i)); do
    for w in "${windows[@]}"; do
        for b in "${builds[@]}"; do
            /usr/bin/time -f '%e %M' -o "$work/time" "${dirs[$b]}/bin/bench_window_open" "$work/w.db" "$w" \
                > "$work/out" 2> "$work/err" || { cat "$work/err" >&2; exit 1; }
            ms="$(sed -n 's/.*responsive \([0-9]*\) ms.*/\1/p' "$work/out")"
            # Rows shown: a window reading its grid apart shows its rows after it is responsive; a
            # build that does not tell (or a preview) shows them when it is responsive.
            shown="$(sed -n 's/.*rows shown \([0-9]*\) ms.*/\1/p' "$work/out")"
            echo "$b $w $ms $(cat "$work/time") ${shown:-$ms}" >> "$work/all"
        done
    done
done
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
printf '%-7s %-8s %-16s %12s %12s %12s %10s\n' build member window responsive "rows shown" process peak
for w in "${windows[@]}"; do
    for b in "${builds[@]}"; do
        r="$(awk -v b="$b" -v w="$w" '$1 == b && $2 == w {print $3}' "$work/all" | median)"
        wall="$(awk -v b="$b" -v w="$w" '$1 == b && $2 == w {print $4}' "$work/all" | median)"
        peak="$(awk -v b="$b" -v w="$w" '$1 == b && $2 == w {print $5}' "$work/all" | median)"
        rows="$(awk -v b="$b" -v w="$w" '$1 == b && $2 == w {print $6}' "$work/all" | median)"
        printf '%-7s %-8s %-16s %9s ms %9s ms %10s s %7s MB\n' "$b" "$w" "${names[$w]}" "$r" "$rows" "$wall" \
            "$((peak / 1024))"
    done
done
