#!/usr/bin/env bash
# Installs the dependencies, builds Depotrix and starts it from its program folder (with the
# sample account set registered when the folder lists none).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
DPX_BUILD_DIR=build ./scripts/build.sh -DDPX_SANITIZE=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
# A first start lists the sample account set, so that there is something to log in to.
./scripts/first-accountset.sh build/bin
exec ./build/bin/depotrix "$@"
