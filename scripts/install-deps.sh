#!/usr/bin/env bash
# Installs every Debian package Depotrix needs to build, run and test.
set -euo pipefail
pkgs=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libqt6opengl6-dev libgl-dev
  libsqlite3-dev sqlite3 libxlsxwriter-dev libpq-dev
  postgresql postgresql-client
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-wqy-microhei fontconfig unzip
  poppler-utils qt6-translations-l10n
  desktop-file-utils libglib2.0-bin
  xvfb xauth qt6-qpa-plugins
  stress-ng
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
