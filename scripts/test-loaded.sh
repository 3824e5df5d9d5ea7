#!/usr/bin/env bash
# Runs the whole test suite several times (three unless a number is given) on a loaded machine:
# stress-ng keeps twice as many CPU workers busy as the machine has cores for as long as the runs
# last, and is stopped at the end, also when a run fails or the script is interrupted. Builds as
# scripts/test.sh builds (into build/, or $DPX_BUILD_DIR), starts the private PostgreSQL server
# for the server engine's tests, keeps each run's CTest output in the build folder as
# test-loaded-N.log and prints each run's result. Exits non-zero when any run failed.
#   scripts/test-loaded.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
./scripts/install-deps.sh
export DPX_BUILD_DIR=${DPX_BUILD_DIR:-build}
./scripts/build.sh -DDPX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"
build=$(cd "$DPX_BUILD_DIR" && pwd)

pgdir=$(mktemp -d /tmp/dpxpg.XXXXXX)
pgserver=$PWD/tests/pgserver.sh
load=""
finish() {
  if [ -n "$load" ]; then
    # stress-ng leads a process group of its own: its workers go with it.
    kill -TERM -- "-$load" 2>/dev/null || true
    wait "$load" 2>/dev/null || true
  fi
  "$pgserver" stop "$pgdir"
}
trap finish EXIT
DPX_PG_ADDRESS=$("$pgserver" start "$pgdir")
export DPX_PG_ADDRESS

cores=$(nproc)
workers=$((2 * cores))
setsid stress-ng --cpu "$workers" --quiet &
load=$!
echo "load: stress-ng --cpu $workers on $cores cores"

failed=0
for run in $(seq 1 "$runs"); do
  log="$build/test-loaded-$run.log"
  start=$(date +%s)
  if (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$cores" --timeout 900) >"$log" 2>&1; then
    result=passed
  else
    result=FAILED
    failed=$((failed + 1))
  fi
  summary=$(grep -E 'tests passed|tests failed' "$log" | tail -1 || true)
  echo "run $run of $runs: $result in $(( $(date +%s) - start )) s: $summary (log: $log)"
  [ "$result" = passed ] || grep -E '^\s*[0-9]+ - ' "$log" || true
done
[ "$failed" -eq 0 ]
