#!/usr/bin/env bash
# Configures and builds Depotrix into build/ (or $DPX_BUILD_DIR).
# Extra CMake options may follow, e.g. scripts/build.sh -DDPX_SANITIZE=ON
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${DPX_BUILD_DIR:-build}
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${gen[@]}" "$@"
else
  cmake -S . -B "$dir" "$@" >/dev/null
fi
cmake --build "$dir" -j "$(nproc)"
