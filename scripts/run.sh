#!/usr/bin/env bash
# Installs the dependencies, builds Depotrix and starts it from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
DPX_BUILD_DIR=build ./scripts/build.sh -DDPX_SANITIZE=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec ./build/bin/depotrix "$@"
