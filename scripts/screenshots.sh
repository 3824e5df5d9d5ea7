#!/usr/bin/env bash
# Usage: scripts/screenshots.sh [BUILD_DIR]
# Pictures of Depotrix as a user sees it, taken on a virtual display (Xvfb): the main window
# after a login to the sample account set, a stock-in bill, the stock-in query, the
# in/out/stock report, a bill's grid with six-digit quantities, the stock-out picker with its
# batches, the material ledger and the first page of a bill printed to PDF (pdftoppm), written
# to BUILD_DIR/artifacts/screens. The build (scripts/build.sh,
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
pdftoppm -png -r 96 -f 1 -l 1 -singlefile "$out/bill_printed.pdf" "$out/bill_printed"
echo "$out/bill_printed.png"
