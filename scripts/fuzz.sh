#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang's libFuzzer and the address
# and undefined-behaviour sanitizers, then runs each for a while. Inputs that
# crash are left in the build folder: add them to the target's corpus folder
# so the replay tests keep reading them.
# Usage: scripts/fuzz.sh [seconds per target, default 90] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${VENDRIK_FUZZ_BUILD_DIR:-build-fuzz}
seconds=${1:-90}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in tests/fuzz/*/; do targets+=("$(basename "$dir")"); done
fi
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVENDRIK_SANITIZE=ON \
  -DVENDRIK_FUZZ=ON -DVENDRIK_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target "${targets[@]/%/_fuzz}"
status=0
for t in "${targets[@]}"; do
  work="$BUILD/fuzz-work/$t"
  mkdir -p "$work/new" "$work/data"
  echo "== $t: ${seconds} s"
  VENDRIK_DATA_DIR="$work/data" HOME="$work/data" "$BUILD/tests/fuzz/$t/${t}_fuzz" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/" "$work/new" "tests/fuzz/$t/corpus" 2>"$work/log" || {
    status=1
    tail -n 40 "$work/log"
  }
done
exit $status
