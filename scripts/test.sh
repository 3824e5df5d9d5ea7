#!/usr/bin/env bash
# Installs the dependencies, builds Depotrix with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test under CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
export DPX_BUILD_DIR=${DPX_BUILD_DIR:-build}
./scripts/build.sh -DDPX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"
# A private PostgreSQL server for the server engine's tests; a server that does not start fails the run.
pgdir=$(mktemp -d /tmp/dpxpg.XXXXXX)
pgserver=$PWD/tests/pgserver.sh
trap '"$pgserver" stop "$pgdir"' EXIT
DPX_PG_ADDRESS=$("$pgserver" start "$pgdir")
export DPX_PG_ADDRESS
(
  cd "$DPX_BUILD_DIR"
  export QT_QPA_PLATFORM=offscreen
  ctest --output-on-failure -j "$(nproc)" --timeout 900
)
# Pictures of the program on a virtual display, kept with the build's artifacts.
./scripts/screenshots.sh "$DPX_BUILD_DIR"
