#!/usr/bin/env bash
# Builds the program and starts it. Without a configured machine the simulated
# controller board is started on a pseudo-terminal and the program talks to it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD=${VENDRIK_BUILD_DIR:-build}
# Configured once; afterwards the build re-runs CMake itself when a list changed.
if [ ! -f "$BUILD/build.ninja" ] || ! grep -qsx 'CMAKE_BUILD_TYPE:STRING=RelWithDebInfo' "$BUILD/CMakeCache.txt"; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVENDRIK_BUILD_TESTS=OFF -DVENDRIK_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$BUILD" -j"$(nproc)"
# A machine's USB adapter (CH340/CH341 or Prolific), as the program finds it.
machine_attached() {
  local tty driver
  for tty in /sys/class/tty/ttyUSB*; do
    [ -e "$tty/device/driver" ] || continue
    driver=$(basename "$(readlink -f "$tty/device/driver")")
    case "$driver" in ch341-uart | ch341 | pl2303) return 0 ;; esac
  done
  return 1
}
SIM_PID=""
cleanup() { if [ -n "$SIM_PID" ]; then kill "$SIM_PID" 2>/dev/null || true; fi; }
trap cleanup EXIT
if [ -z "${VENDRIK_SERIAL_DEVICE:-}" ] && ! machine_attached && [ -x "$BUILD/tools/vendrik-boardsim" ]; then
  # No machine attached: a simulated USB controller board, with settings and
  # data folders of its own so a real machine's settings are never touched.
  export VENDRIK_CONFIG_DIR=${VENDRIK_CONFIG_DIR:-$HOME/.config/vendrik-simulated}
  export VENDRIK_DATA_DIR=${VENDRIK_DATA_DIR:-$HOME/.local/share/vendrik-simulated}
  mkdir -p "$VENDRIK_DATA_DIR"
  if [ ! -e "$VENDRIK_DATA_DIR/Zephyne.dat" ]; then
    # Board type 1 (USB controller board) at byte 64 of the 128-byte record.
    { head -c 64 /dev/zero; printf '\001'; head -c 63 /dev/zero; } >"$VENDRIK_DATA_DIR/Zephyne.dat"
  fi
  LINK_FILE=$(mktemp -u /tmp/vendrik-board.XXXXXX)
  "$BUILD/tools/vendrik-boardsim" --link "$LINK_FILE" --pace &
  SIM_PID=$!
  for _ in $(seq 50); do [ -e "$LINK_FILE" ] && break; sleep 0.1; done
  export VENDRIK_SERIAL_DEVICE="$LINK_FILE"
  echo "Simulated controller board on $VENDRIK_SERIAL_DEVICE"
fi
# The default stroke fonts (the main font of new texts and that of new VINs,
# and the big font both name for Chinese characters) and the dot fonts of the
# dot kinds go into the data folder's "Fonts" (where the program reads its
# fonts unless FontPath says otherwise); a font already there is left alone.
DATA_DIR=${VENDRIK_DATA_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/vendrik}
for FONT in KelTxt2.shx GOLD.shx Xc18.shx Dot5x7Font.dot HZK12 HZK16 HZK24F HZK24Z; do
  if [ -f "$BUILD/fonts/$FONT" ]; then
    mkdir -p "$DATA_DIR/Fonts"
    cp -n "$BUILD/fonts/$FONT" "$DATA_DIR/Fonts/" 2>/dev/null || true
  fi
done
"$BUILD/app/vendrik" "$@"
