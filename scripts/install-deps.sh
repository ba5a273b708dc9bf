#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need.
# Runs as root in CI; uses sudo otherwise.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
PACKAGES=(
  build-essential cmake ninja-build pkg-config git python3 ccache lld
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6sql6-sqlite libgl1-mesa-dev
  libdmtx-dev libxlsxwriter-dev libsqlite3-dev libfreetype-dev libfontconfig-dev zlib1g-dev fonts-wqy-microhei
  libzip-dev libgsf-1-dev
  libzbar-dev libqrencode-dev libpotrace-dev potrace
  libxcb-xkb-dev
  hershey-fonts-data fonts-dejavu-core qt6-image-formats-plugins
  xfonts-base xfonts-wqy fonts-arphic-gbsn00lp fonts-arphic-gkai00mp
  clang libclang-rt-14-dev
  xvfb xauth xdg-utils desktop-file-utils shared-mime-info
  locales
)
# A stamp keyed on this list says "all were installed"; it holds while the
# package database has not changed since. Otherwise one query asks for every
# package at once, and only the missing ones are installed.
STAMP_DIR=${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/vendrik
LIST_HASH=$(printf '%s\n' "${PACKAGES[@]}" | sha256sum | cut -c1-16)
STAMP="$STAMP_DIR/deps-$LIST_HASH"
DPKG_STATUS=/var/lib/dpkg/status
if [ -e "$STAMP" ] && [ "$STAMP" -nt "$DPKG_STATUS" ]; then
  exit 0
fi
installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${PACKAGES[@]}" 2>/dev/null | awk '$NF == "installed" { print $1 }' || true)
missing=()
for p in "${PACKAGES[@]}"; do
  grep -qxF "$p" <<<"$installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
mkdir -p "$STAMP_DIR" && rm -f "$STAMP_DIR"/deps-* && touch "$STAMP" || true
