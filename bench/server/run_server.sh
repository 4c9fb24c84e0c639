#!/usr/bin/env bash
# slpayprn grid employee and slpayprn card on 100,000 employees from PostgreSQL, against psql reading
# the same rows (the statements slpayprn sends, in grid_employee.sql and card.sql) into /dev/null.
# Whole processes; median of five runs after one warm-up; peak memory from /usr/bin/time.
#   bench/server/run_server.sh BUILD [URL]
# Without URL a throw-away cluster is started (tests/server/pg_cluster.sh) and the demo month written.
set -euo pipefail
BUILD="${1:?build folder}"
source "$(dirname "$0")/../bench_build.sh"
bench_build "$BUILD" slpayprn
here="$(cd "$(dirname "$0")" && pwd)"
bin="$BUILD/bin/slpayprn"
work=$(mktemp -d)
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
url="${2:-}"
if [ -z "$url" ]; then
  bash "$here/../../tests/server/pg_cluster.sh" start "$work/state"
  trap 'bash "$here/../../tests/server/pg_cluster.sh" stop "$work/state"; rm -rf "$work"' EXIT
  url=$(sed -n 's/^url //p' "$work/state")
  [ -n "$url" ] || { echo "no server: $(cat "$work/state")"; exit 1; }
  "$bin" demo-db "$url" --wide --employees 100000
fi
# psql takes the URL too; Qt's options= form is libpq's own.
measure() {  # label command...
  local times=() mem=0
  "${@:2}" >/dev/null 2>&1
  for i in 1 2 3 4 5; do
    /usr/bin/time -f '%e %M' -o "$work/t" "${@:2}" >/dev/null 2>&1
    read -r t m <"$work/t"
    times+=("$t"); [ "$m" -gt "$mem" ] && mem=$m
  done
  printf '%-34s median %s s, peak %d MB\n' "$1" "$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)" $((mem / 1024))
}
measure "psql grid query" psql -X -q -d "$url" -f "$here/grid_employee.sql" -o /dev/null
measure "slpayprn grid employee" "$bin" --db "$url" grid employee
measure "psql card query" psql -X -q -d "$url" -f "$here/card.sql" -o /dev/null
measure "slpayprn card (龙卡)" "$bin" --db "$url" card --type 中国建设银行龙卡 --out "$work/long.txt"
