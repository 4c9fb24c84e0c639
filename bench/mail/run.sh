#!/usr/bin/env bash
# The electronic slips at scale: a demo month of N employees (default 10,000) mailed by
# "slpayprn mail slips" to the tests' SMTP server on loopback (aiosmtpd, STARTTLS and AUTH, keeping
# nothing but a count). Prints the wall time, the program's peak memory and messages a second.
# Usage: bench/mail/run.sh [BUILD_DIR] [EMPLOYEES]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
employees="${2:-10000}"
work="$(mktemp -d)"
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen
"$build/bin/slpayprn" demo-db "$work/w.db" --employees "$employees" >/dev/null

/usr/bin/time -f "%U %S" -o "$work/server.cpu" /usr/bin/python3 "$root/tests/mail/smtp_test_server.py" \
  --dir "$work/server" --count-only \
  < <(while [ ! -e "$work/stop" ]; do sleep 0.2; done) > "$work/server.out" &
server_pid=$!
for _ in $(seq 100); do grep -q READY "$work/server.out" 2>/dev/null && break; sleep 0.1; done
read -r _ port cert < "$work/server.out"
printf 's3cret-口令\n' > "$work/password"
chmod 600 "$work/password"

start=$(date +%s.%N)
/usr/bin/time -f "%M %U %S" -o "$work/rss" ${PERF_CMD:-} "$build/bin/slpayprn" --db "$work/w.db" mail slips \
  --smtp "smtp://127.0.0.1:$port" --user payroll --password-file "$work/password" --ca-file "$cert" \
  --from "工资组 <payroll@example.com>" > "$work/summary" 2> "$work/err" || true
end=$(date +%s.%N)
touch "$work/stop"
wait "$server_pid" || true
server_pid=""
sent=$(grep -o 'MESSAGES [0-9]*' "$work/server.out" | cut -d' ' -f2)
seconds=$(echo "$end - $start" | bc -l)
printf 'employees        %s\n' "$employees"
printf 'summary          %s\n' "$(cat "$work/summary")"
printf 'server received  %s messages\n' "$sent"
printf 'wall time        %.1f s\n' "$seconds"
read -r rss user sys < "$work/rss"
printf 'peak memory      %.0f MB (max RSS of slpayprn)\n' "$(echo "$rss / 1024" | bc -l)"
printf 'slpayprn CPU     %s s user, %s s system\n' "$user" "$sys"
read -r server_user server_sys < "$work/server.cpu"
printf 'server CPU       %s s user, %s s system (the test server, on the same machine)\n' "$server_user" "$server_sys"
printf 'messages/second  %.0f\n' "$(echo "$sent / $seconds" | bc -l)"
if [ -s "$work/err" ]; then echo "stderr:"; head -5 "$work/err"; fi
