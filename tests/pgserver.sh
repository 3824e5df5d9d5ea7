#!/usr/bin/env bash
# A private PostgreSQL server for the tests, on loopback and a free port, with its data in a
# temporary folder.
#   tests/pgserver.sh start FOLDER   initialises and starts the server; prints its address
#                                    (postgres://127.0.0.1:PORT) on standard output
#   tests/pgserver.sh stop FOLDER    stops it and removes the folder
# As root, the server runs as the system's postgres user (the server refuses to run as root).
set -euo pipefail
cmd=${1:?start or stop}
dir=${2:?folder}

bindir=""
for d in /usr/lib/postgresql/*/bin; do
  [ -x "$d/initdb" ] && bindir=$d
done
[ -n "$bindir" ] || { echo "pgserver: PostgreSQL server binaries not found (package postgresql)" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

case "$cmd" in
start)
  mkdir -p "$dir"
  if [ "$(id -u)" -eq 0 ]; then
    id postgres >/dev/null 2>&1 || useradd --system --home-dir /var/lib/postgresql --shell /bin/false postgres
    chown postgres "$dir"
  fi
  chmod 700 "$dir"
  as_owner "$bindir/initdb" -D "$dir/data" -U dpx --auth=trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 \
    || { cat "$dir/initdb.log" >&2; exit 1; }
  for attempt in $(seq 1 20); do
    port=$(( 20000 + (RANDOM % 20000) ))
    if as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start \
         -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=100" >/dev/null 2>&1; then
      echo "postgres://dpx@127.0.0.1:$port"
      exit 0
    fi
  done
  cat "$dir/server.log" >&2 || true
  echo "pgserver: the server did not start" >&2
  exit 1
  ;;
stop)
  if [ -d "$dir/data" ]; then
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start|stop FOLDER" >&2
  exit 2
  ;;
esac
