#!/usr/bin/env bash
# A throw-away PostgreSQL cluster for the tests: initdb in a temporary folder, listening only on a Unix
# socket in that folder, trust authentication for the superuser "slp".
#   pg_cluster.sh start STATE_FILE   writes "url postgresql://slp@/postgres?host=DIR" (and "dir DIR") to
#                                    STATE_FILE, or "skip REASON" when no server can be started here;
#                                    exits 0 either way so that only the server tests are skipped
#   pg_cluster.sh stop STATE_FILE    stops the server and removes its folder
set -u
action="${1:?start or stop}"
state="${2:?state file}"

skip() {
  echo "skip $*" >"$state"
  echo "*** PostgreSQL tests will be SKIPPED: $*" >&2
  [ -n "${dir:-}" ] && rm -rf "$dir"
  exit 0
}

if [ "$action" = stop ]; then
  [ -f "$state" ] || exit 0
  dir=$(sed -n 's/^dir //p' "$state")
  bin=$(sed -n 's/^bin //p' "$state")
  if [ -n "$dir" ] && [ -d "$dir/data" ]; then
    run=()
    [ "$(id -u)" -eq 0 ] && run=(runuser -u postgres --)
    "${run[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1
  fi
  [ -n "$dir" ] && rm -rf "$dir"
  rm -f "$state"
  exit 0
fi

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bin" ] && [ -x "$bin/initdb" ] || skip "no PostgreSQL server installed (initdb not found under /usr/lib/postgresql)"
dir=$(mktemp -d /tmp/slp-pg.XXXXXX) || skip "cannot make a temporary folder"
run=()
if [ "$(id -u)" -eq 0 ]; then
  id postgres >/dev/null 2>&1 || skip "running as root and there is no postgres user to run the server"
  command -v runuser >/dev/null || skip "running as root and runuser is missing"
  chown postgres "$dir"
  run=(runuser -u postgres --)
fi
"${run[@]}" "$bin/initdb" -D "$dir/data" -U slp -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
  skip "initdb failed: $(tail -n 3 "$dir/initdb.log" | tr '\n' ' ')"
"${run[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
  -o "-k $dir -c listen_addresses= -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
  start >/dev/null 2>&1 || skip "the server did not start: $(tail -n 3 "$dir/server.log" | tr '\n' ' ')"
printf 'url postgresql://slp@/postgres?host=%s\ndir %s\nbin %s\n' "$dir" "$dir" "$bin" >"$state"
echo "PostgreSQL test cluster running in $dir"
