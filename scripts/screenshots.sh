#!/usr/bin/env bash
# Usage: scripts/screenshots.sh [BUILD_DIR]
# Pictures of Depotrix as a user sees it, taken on a virtual display (Xvfb): the main window
# after a login to the sample account set, a stock-in bill, the stock-in query and the
# in/out/stock report, written to BUILD_DIR/artifacts/screens. The build (scripts/build.sh,
# default folder build/) must exist; the sample account set is registered in a copy of its
# program folder, so the build's own folder is left as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-${DPX_BUILD_DIR:-build}}" && pwd)
out="$build/artifacts/screens"
work=$(mktemp -d /tmp/dpxshots.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$build/bin/." "$work/"
rm -f "$work"/Database/*
./scripts/first-accountset.sh "$work" >/dev/null
mkdir -p "$out"
QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 \
  xvfb-run -a -s "-screen 0 1280x800x24" "$build/tests/dpx-shots" "$work" "$out"
